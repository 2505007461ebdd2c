#include "gfx/TFixedCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gfx/TJustifier.h"
#include "gfx/TextMeasure.h"

namespace {

bool SameTextIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDivRound(int a, int b, int c)
{
    return c == 0 ? 0 : int(std::lround(double(a) * b / c));
}

TRect Normalized(TPoint a, TPoint b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

TRect Intersection(const TRect& a, const TRect& b)
{
    TRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
    if (r.isEmpty())
        return {r.left, r.top, r.left, r.top};
    return r;
}

TRect BoundsOf(const std::vector<TPoint>& points)
{
    if (points.empty())
        return {};
    TRect r{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const TPoint& p : points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

} // namespace

// ---------------------------------------------------------------- TFixedFont

TFixedFont::TFixedFont(TFontSpec spec) : TFont(std::move(spec))
{
    int h = std::abs(FSpec.height);
    if (h == 0)
        h = 16;
    FUnit = std::max(1, h / 2) + ((FSpec.style & fsBold) ? 1 : 0);
    FMetrics.internalLeading = h / 8;
    FMetrics.height = h + h / 8;
    FMetrics.descent = h / 4;
    FMetrics.ascent = FMetrics.height - FMetrics.descent;
    FMetrics.externalLeading = h / 16;
    FMetrics.aveCharWidth = FUnit;
    FMetrics.maxCharWidth = 2 * FUnit;
    FMetrics.charset = SameTextIgnoringCase(FSpec.name, "Symbol") ? 2 : FSpec.charset;
}

int TFixedFont::unitWidth(std::u16string_view text, size_t i) const
{
    if (IsPairTail(text, i))
        return 0;
    return text[i] > 0x2FFF ? 2 * FUnit : FUnit;
}

int TFixedFont::textWidth(std::u16string_view text) const
{
    return SumUnitWidths(text, [this](std::u16string_view t, size_t i) { return unitWidth(t, i); });
}

int TFixedFont::fitCount(std::u16string_view text, int maxWidth, std::vector<int>* extents) const
{
    return fitCountWithExtra(text, maxWidth, extents, 0);
}

int TFixedFont::fitCountWithExtra(std::u16string_view text, int maxWidth, std::vector<int>* extents,
                                  int characterExtra) const
{
    return FitUnits(text, maxWidth, extents, characterExtra,
                    [this](std::u16string_view t, size_t i) { return unitWidth(t, i); });
}

// -------------------------------------------------------------- TFixedCanvas

TFixedCanvas::TFixedCanvas(const TDevice& device)
    : FDevice(device), FFamilies{"Times New Roman", "Arial", "Courier New", "Symbol"}
{
}

TFontRef TFixedCanvas::createFont(const TFontSpec& spec)
{
    TFontKey key{spec.name, std::abs(spec.height), spec.style, spec.charset};
    auto found = FFonts.find(key);
    if (found != FFonts.end())
        return found->second;
    TFontRef font = std::make_shared<TFixedFont>(spec);
    FFonts.emplace(std::move(key), font);
    return font;
}

bool TFixedCanvas::fontInstalled(std::string_view family) const
{
    return std::any_of(FFamilies.begin(), FFamilies.end(),
                       [family](const std::string& known) { return SameTextIgnoringCase(known, family); });
}

void TFixedCanvas::addInstalledFamily(std::string family) { FFamilies.push_back(std::move(family)); }

void TFixedCanvas::setBackgroundMode(TBackgroundMode mode, TColor background)
{
    FState.backgroundMode = mode;
    FState.background = background;
}

void TFixedCanvas::textOut(int x, int y, std::u16string_view text, int justifyExtra)
{
    int width = 0;
    int height = 0;
    int ascent = 0;
    if (FState.font) {
        // A run without breaks takes no justification pixels.
        TJustifier justifier(text, justifyExtra);
        width = textExtent(text);
        for (char16_t c : text)
            width += justifier.after(c);
        height = FState.font->metrics().height;
        ascent = FState.font->metrics().ascent;
    }
    int top = FState.align == TTextAlign::Baseline ? y - ascent : y;
    TDrawCall& call = record(TDrawKind::Text, {x, top, x + width, top + height});
    call.text = std::u16string(text);
    if (FState.font)
        call.font = FState.font->spec();
    call.color = FState.textColor;
    call.justifyExtra = justifyExtra;
}

void TFixedCanvas::fillRect(const TRect& r, TColor color) { record(TDrawKind::FillRect, r).color = color; }

void TFixedCanvas::frameRect(const TRect& r, TColor color) { record(TDrawKind::FrameRect, r).color = color; }

void TFixedCanvas::rectangle(const TRect& r) { record(TDrawKind::Rectangle, r); }

void TFixedCanvas::drawEdge(const TRect& r, TEdgeKind kind) { record(TDrawKind::Edge, r).edge = kind; }

void TFixedCanvas::line(int x1, int y1, int x2, int y2) { recordPoints(TDrawKind::Line, {{x1, y1}, {x2, y2}}); }

void TFixedCanvas::polyline(const std::vector<TPoint>& points) { recordPoints(TDrawKind::Polyline, points); }

void TFixedCanvas::polygon(const std::vector<TPoint>& points) { recordPoints(TDrawKind::Polygon, points); }

void TFixedCanvas::ellipse(const TRect& r) { record(TDrawKind::Ellipse, r); }

void TFixedCanvas::arc(const TRect& r, TPoint start, TPoint end)
{
    record(TDrawKind::Arc, r).points = {start, end};
}

void TFixedCanvas::drawFocusRect(const TRect& r) { record(TDrawKind::FocusRect, r); }

void TFixedCanvas::drawBitmap(const TRect& dest, const TBitmap& bitmap)
{
    drawBitmapPart(dest, bitmap, {0, 0, bitmap.width, bitmap.height});
}

void TFixedCanvas::drawBitmapPart(const TRect& dest, const TBitmap& bitmap, const TRect& source)
{
    TDrawCall& call = record(TDrawKind::Bitmap, dest);
    call.source = source;
    call.masked = bitmap.hasMask();
}

void TFixedCanvas::restore()
{
    if (FSaved.empty())
        return;
    FState = std::move(FSaved.back());
    FSaved.pop_back();
}

void TFixedCanvas::intersectClip(const TRect& r)
{
    FState.clip = Intersection(deviceClip(), toDevice(r));
    FState.hasClip = true;
}

void TFixedCanvas::selectDeviceClip(const TRect& deviceRect)
{
    FState.clip = deviceRect;
    FState.hasClip = true;
}

TRect TFixedCanvas::deviceClip() const
{
    return FState.hasClip ? FState.clip : TRect{0, 0, FDevice.width, FDevice.height};
}

TRect TFixedCanvas::clipBox() const { return toLogical(deviceClip()); }

void TFixedCanvas::setMapping(TPoint windowOrg, TPoint windowExt, TPoint viewportOrg, TPoint viewportExt)
{
    FState.windowOrg = windowOrg;
    FState.windowExt = {windowExt.x ? windowExt.x : 1, windowExt.y ? windowExt.y : 1};
    FState.viewportOrg = viewportOrg;
    FState.viewportExt = {viewportExt.x ? viewportExt.x : 1, viewportExt.y ? viewportExt.y : 1};
}

TPoint TFixedCanvas::toDevice(TPoint p) const
{
    return {MulDivRound(p.x - FState.windowOrg.x, FState.viewportExt.x, FState.windowExt.x) + FState.viewportOrg.x,
            MulDivRound(p.y - FState.windowOrg.y, FState.viewportExt.y, FState.windowExt.y) + FState.viewportOrg.y};
}

TPoint TFixedCanvas::toLogical(TPoint p) const
{
    return {MulDivRound(p.x - FState.viewportOrg.x, FState.windowExt.x, FState.viewportExt.x) + FState.windowOrg.x,
            MulDivRound(p.y - FState.viewportOrg.y, FState.windowExt.y, FState.viewportExt.y) + FState.windowOrg.y};
}

TRect TFixedCanvas::toDevice(const TRect& r) const
{
    return Normalized(toDevice(TPoint{r.left, r.top}), toDevice(TPoint{r.right, r.bottom}));
}

TRect TFixedCanvas::toLogical(const TRect& r) const
{
    return Normalized(toLogical(TPoint{r.left, r.top}), toLogical(TPoint{r.right, r.bottom}));
}

std::u16string TFixedCanvas::drawnText() const
{
    std::u16string all;
    for (const TDrawCall& call : FCalls) {
        if (call.kind != TDrawKind::Text)
            continue;
        if (!all.empty())
            all += u'|';
        all += call.text;
    }
    return all;
}

TDrawCall& TFixedCanvas::record(TDrawKind kind, const TRect& rect)
{
    TDrawCall& call = FCalls.emplace_back();
    call.kind = kind;
    call.rect = rect;
    call.device = toDevice(rect);
    call.color = FState.pen.color;
    call.pen = FState.pen;
    call.brush = FState.brush;
    call.backgroundMode = FState.backgroundMode;
    call.background = FState.background;
    call.characterExtra = FState.characterExtra;
    call.clip = clipBox();
    return call;
}

TDrawCall& TFixedCanvas::recordPoints(TDrawKind kind, const std::vector<TPoint>& points)
{
    TDrawCall& call = record(kind, BoundsOf(points));
    call.points = points;
    return call;
}
