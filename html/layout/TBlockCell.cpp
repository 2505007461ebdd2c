#include "html/layout/TBlockCell.h"

int TBlockCell::DoLayout(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    return LayoutSections(canvas, area, im, maxWidth, cursor);
}
