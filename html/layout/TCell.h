#pragma once
#include "html/layout/IndentManager.h"
#include "html/layout/TCellBasic.h"

// A cell with its own float edges: the document and table cells.
class TCell : public TCellBasic {
public:
    explicit TCell(TSectionList* owner, int depth = 0, TCellBasic* parent = nullptr);
    // Lays out the content in [x, x + width) from Y; answers the height
    // (at least down to the lowest float).
    int DoLayout(TCanvas& canvas, int y, int width, int availHeight, int& maxWidth, int& cursor, int x = 0);
    int Paint(TPaintContext& pc, int x, int xRef, int yRef) override;

    IndentManager IM;
    int tcContentX = 0; // X where painting last started
};
