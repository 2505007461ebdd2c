#include "html/layout/TCell.h"

#include <algorithm>

TCell::TCell(TSectionList* owner, int depth, TCellBasic* parent) : TCellBasic(owner, depth, parent) {}

int TCell::DoLayout(TCanvas& canvas, int y, int width, int availHeight, int& maxWidth, int& cursor, int x)
{
    width = std::max(0, width);
    IM.Reset(x, width);
    IM.CurrentID = nullptr;
    int left = IM.PushLeft(x, y);
    int right = IM.PushRight(x + width, y);
    TLayoutArea area;
    area.x = x;
    area.y = y;
    area.refX = area.refY = 1000;
    area.width = width;
    area.height = availHeight;
    area.containingHeight = availHeight;
    int height = LayoutSections(canvas, area, IM, maxWidth, cursor);
    IM.PopLeft(left);
    IM.PopRight(right);
    height = std::max(height, IM.LowestFloatBottom(y) - y);
    // The edges matter only while laying out; a table of thousands of cells
    // should not keep their lists.
    IM = IndentManager();
    return height;
}

int TCell::Paint(TPaintContext& pc, int x, int xRef, int yRef)
{
    tcContentX = x;
    return TCellBasic::Paint(pc, x, xRef, yRef);
}
