#pragma once
// Bordered boxes: the four sides of a box drawn between its border-box and
// padding-box rectangles in the styles of the border-style names. Used by
// blocks, table cells and inline boxes.
#include <array>

#include "gfx/TCanvas.h"
#include "html/layout/LayoutTypes.h"

struct TBorderSides {
    std::array<TColor, 4> colors{};      // top, right, bottom, left
    std::array<TBorderKind, 4> styles{};
};

// A colour as drawn: system colours stay, the palette flag is dropped.
TColor DrawColor(TColor color);
// The darker shade of grooves, ridges, insets and outsets (75 % of each component).
TColor DarkerShade(TColor color);
void DrawBorders(TCanvas& canvas, const TRect& borderBox, const TRect& paddingBox, const TBorderSides& sides,
                 TColor background);
