#include "html/layout/TBlockCell.h"

#include <algorithm>

#include "html/layout/TSectionBase.h"

int TBlockCell::DoLayout(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    return LayoutSections(canvas, area, im, maxWidth, cursor);
}

void TBlockCell::FinishPlaced(const TLayoutArea& area, IndentManager& im, int startCursor, int cursor, int bottom)
{
    StartY = area.y;
    StartCurs = startCursor;
    Len = cursor - startCursor;
    IMgr = &im;
    TextBot = std::max(area.y, bottom);
    tcDrawTop = 990000;
    tcDrawBot = 0;
    for (const auto& s : Sections) {
        tcDrawTop = std::min(tcDrawTop, s->DrawTop);
        tcDrawBot = std::max(tcDrawBot, s->DrawBot);
    }
    BuildPaintIndex();
}
