#pragma once
#include "html/layout/IndentManager.h"
#include "html/layout/TCellBasic.h"

// A cell that starts its own float edges: the document and table cells.
class TCell : public TCellBasic {
public:
    explicit TCell(TSectionList* owner, int depth = 0, TCellBasic* parent = nullptr);
    // Lays out the content in [x, x + width) from Y with the float edges in
    // edges, which are reset first; answers the height (at least down to the
    // lowest float). Edges are needed only while a cell is laid out, so the
    // cells of a table take turns with the table's one set.
    // Absolutely positioned content goes in the containing block of
    // positioned (its ref fields), else in the initial containing block.
    int DoLayout(TCanvas& canvas, IndentManager& edges, int y, int width, int availHeight, int& maxWidth, int& cursor,
                 int x = 0, const TLayoutArea* positioned = nullptr);
    int Paint(TPaintContext& pc, int x, int xRef, int yRef) override;

    int tcContentX = 0; // X where painting last started
};
