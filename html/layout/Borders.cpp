#include "html/layout/Borders.h"

#include <algorithm>
#include <vector>

namespace {

enum Side { Top, Right, Bottom, Left };

TColor Shade(TColor c, TBorderKind style, Side side)
{
    // Inset and groove look sunken: their top and left sides are dark; outset
    // and ridge the other way round.
    bool topLeft = side == Top || side == Left;
    switch (style) {
    case TBorderKind::Inset:
    case TBorderKind::Groove:
        return topLeft ? DarkerShade(c) : c;
    case TBorderKind::Outset:
    case TBorderKind::Ridge:
        return topLeft ? c : DarkerShade(c);
    default:
        return c;
    }
}

// The trapezoid between the outer and the inner rectangle on one side.
std::vector<TPoint> SideArea(const TRect& o, const TRect& i, Side side)
{
    switch (side) {
    case Top:
        return {{o.left, o.top}, {o.right, o.top}, {i.right, i.top}, {i.left, i.top}};
    case Right:
        return {{o.right, o.top}, {o.right, o.bottom}, {i.right, i.bottom}, {i.right, i.top}};
    case Bottom:
        return {{o.right, o.bottom}, {o.left, o.bottom}, {i.left, i.bottom}, {i.right, i.bottom}};
    default:
        return {{o.left, o.bottom}, {o.left, o.top}, {i.left, i.top}, {i.left, i.bottom}};
    }
}

int Thickness(const TRect& o, const TRect& i, Side side)
{
    switch (side) {
    case Top:
        return i.top - o.top;
    case Right:
        return o.right - i.right;
    case Bottom:
        return o.bottom - i.bottom;
    default:
        return i.left - o.left;
    }
}

// The outer rectangle moved inwards by an amount per side.
TRect Between(const TRect& o, const std::array<int, 4>& amount)
{
    return {o.left + amount[Left], o.top + amount[Top], o.right - amount[Right], o.bottom - amount[Bottom]};
}

void FillSide(TCanvas& canvas, const TRect& o, const TRect& i, Side side, TColor color)
{
    int t = Thickness(o, i, side);
    if (t <= 0)
        return;
    canvas.setPen({color, 1, TPenStyle::Solid});
    if (t == 1) {
        auto pts = SideArea(o, i, side);
        // One pixel: a line along the outer edge.
        int x1 = pts[0].x, y1 = pts[0].y, x2 = pts[1].x, y2 = pts[1].y;
        if (side == Right)
            x1 = x2 = x1 - 1;
        if (side == Bottom)
            y1 = y2 = y1 - 1;
        canvas.line(x1, y1, x2, y2);
        return;
    }
    canvas.setBrush({color, TBrushStyle::Solid});
    canvas.polygon(SideArea(o, i, side));
}

} // namespace

TColor DrawColor(TColor color)
{
    if (IsSystemColor(color) || color == ClNone)
        return color;
    return color & 0xFFFFFF;
}

TColor DarkerShade(TColor color)
{
    TColor c = DrawColor(color);
    if (IsSystemColor(c))
        return c;
    return RGBColor(RedOf(c) * 3 / 4, GreenOf(c) * 3 / 4, BlueOf(c) * 3 / 4);
}

void DrawBorders(TCanvas& canvas, const TRect& borderBox, const TRect& paddingBox, const TBorderSides& sides,
                 TColor background)
{
    auto clampY = [](TRect r) {
        r.top = std::clamp(r.top, -200, 5000);
        r.bottom = std::clamp(r.bottom, -200, 5000);
        return r;
    };
    TRect o = clampY(borderBox), in = clampY(paddingBox);
    for (int s = Top; s <= Left; ++s) {
        Side side = Side(s);
        TBorderKind style = sides.styles[size_t(s)];
        if (style == TBorderKind::None || Thickness(o, in, side) <= 0)
            continue;
        TColor color = DrawColor(sides.colors[size_t(s)]);
        TColor bg = DrawColor(background);
        switch (style) {
        case TBorderKind::Dotted:
        case TBorderKind::Dashed: {
            if (bg != ClNone)
                FillSide(canvas, o, in, side, bg);
            int t = Thickness(o, in, side);
            canvas.setPen({color, t, style == TBorderKind::Dotted ? TPenStyle::Dot : TPenStyle::Dash});
            auto pts = SideArea(o, in, side);
            // The pen runs along the middle of the side.
            TPoint a{(pts[0].x + pts[3].x) / 2, (pts[0].y + pts[3].y) / 2};
            TPoint b{(pts[1].x + pts[2].x) / 2, (pts[1].y + pts[2].y) / 2};
            canvas.line(a.x, a.y, b.x, b.y);
            break;
        }
        case TBorderKind::Double: {
            if (bg != ClNone)
                FillSide(canvas, o, in, side, bg);
            std::array<int, 4> t{}, outer{}, inner{};
            for (int k = 0; k < 4; ++k) {
                t[size_t(k)] = Thickness(o, in, Side(k));
                outer[size_t(k)] = t[size_t(k)] / 3 + (t[size_t(k)] % 3 == 2 ? 1 : 0);
                inner[size_t(k)] = t[size_t(k)] - t[size_t(k)] / 3;
            }
            FillSide(canvas, o, Between(o, outer), side, color);
            FillSide(canvas, Between(o, inner), in, side, color);
            break;
        }
        case TBorderKind::Groove:
        case TBorderKind::Ridge: {
            std::array<int, 4> half{};
            for (int k = 0; k < 4; ++k)
                half[size_t(k)] = Thickness(o, in, Side(k)) / 2;
            TRect mid = Between(o, half);
            TBorderKind first = style == TBorderKind::Groove ? TBorderKind::Inset : TBorderKind::Outset;
            TBorderKind second = style == TBorderKind::Groove ? TBorderKind::Outset : TBorderKind::Inset;
            FillSide(canvas, o, mid, side, Shade(color, first, side));
            FillSide(canvas, mid, in, side, Shade(color, second, side));
            break;
        }
        default:
            FillSide(canvas, o, in, side, Shade(color, style, side));
            break;
        }
    }
}
