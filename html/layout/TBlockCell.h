#pragma once
#include "html/layout/TCellBasic.h"

// The content cell of a block: it lays out with the indent manager the block
// gives it.
class TBlockCell : public TCellBasic {
public:
    using TCellBasic::TCellBasic;
    // Lays the content out in area with the block's indent manager.
    int DoLayout(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor);
    // Ends a layout in which the owner placed the sections itself (flex and
    // grid containers): the cell's extents from its sections, bottom the Y
    // below the content, and the band index for paint and hit tests.
    void FinishPlaced(const TLayoutArea& area, IndentManager& im, int startCursor, int cursor, int bottom);
};
