#include "html/layout/TCell.h"

#include <algorithm>

TCell::TCell(TSectionList* owner, int depth, TCellBasic* parent) : TCellBasic(owner, depth, parent) {}

int TCell::DoLayout(TCanvas& canvas, IndentManager& edges, int y, int width, int availHeight, int& maxWidth,
                    int& cursor, int x, const TLayoutArea* positioned)
{
    width = std::max(0, width);
    edges.Reset(x, width);
    edges.CurrentID = nullptr;
    int left = edges.PushLeft(x, y);
    int right = edges.PushRight(x + width, y);
    TLayoutArea area;
    area.x = x;
    area.y = y;
    if (positioned) {
        area.refX = positioned->refX;
        area.refY = positioned->refY;
        area.refWidth = positioned->refWidth;
        area.refHeight = positioned->refHeight;
    }
    area.width = width;
    area.height = availHeight;
    area.containingHeight = availHeight;
    int height = LayoutSections(canvas, area, edges, maxWidth, cursor);
    edges.PopLeft(left);
    edges.PopRight(right);
    return std::max(height, edges.LowestFloatBottom(y) - y);
}

int TCell::Paint(TPaintContext& pc, int x, int xRef, int yRef)
{
    tcContentX = x;
    return TCellBasic::Paint(pc, x, xRef, yRef);
}
