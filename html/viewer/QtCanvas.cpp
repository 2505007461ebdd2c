#include "html/viewer/QtCanvas.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QPalette>
#include <QPolygon>
#include <QRawFont>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

#include "gfx/TJustifier.h"
#include "gfx/TextMeasure.h"
#include "html/viewer/QtColor.h"
#include "html/viewer/QtFont.h"

namespace {

// Runs longer than this are cut to the clip before they are drawn.
constexpr size_t LongRunChars = 512;

// The painter's whole device in its logical coordinates.
TRect WholeDeviceBox(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    const QRect whole(0, 0, device->width(), device->height());
    const QRect box = painter.worldTransform().inverted().mapRect(QRectF(whole)).toAlignedRect();
    return {box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
}

QRect QRectOf(const TRect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

// The outline of r as Qt draws a one-pixel pen: covering left..right-1.
QRect OutlineOf(const TRect& r) { return QRect(r.left, r.top, r.width() - 1, r.height() - 1); }

QPolygon PolygonOf(const std::vector<TPoint>& points)
{
    QPolygon polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const TPoint& p : points)
        polygon << QPoint(p.x, p.y);
    return polygon;
}

QPen PenOf(const TPen& pen)
{
    if (pen.style == TPenStyle::None || pen.color == ClNone)
        return Qt::NoPen;
    QPen qpen(QtColorOf(pen.color), std::max(0, pen.width));
    if (pen.style == TPenStyle::Dash)
        qpen.setStyle(Qt::DashLine);
    else if (pen.style == TPenStyle::Dot)
        qpen.setStyle(Qt::DotLine);
    return qpen;
}

QBrush BrushOf(const TBrush& brush)
{
    if (brush.style == TBrushStyle::Clear || brush.color == ClNone)
        return Qt::NoBrush;
    return QBrush(QtColorOf(brush.color));
}

// The angle of p seen from the centre of r, in sixteenths of a degree,
// counter-clockwise from three o'clock as Qt counts.
int AngleOf(const TRect& r, TPoint p)
{
    double cx = (r.left + r.right) / 2.0;
    double cy = (r.top + r.bottom) / 2.0;
    double degrees = std::atan2(cy - p.y, p.x - cx) * 180.0 / std::numbers::pi;
    return int(std::lround(degrees * 16));
}

// A masked picture converted to an image with alpha, and the pixels it was
// made from: a copy of the bitmap (other buffers) converts again.
struct TMaskedImage : TBitmap::TDrawForm {
    const uint32_t* pixels = nullptr;
    const uint8_t* mask = nullptr;
    int width = 0, height = 0;
    bool hasAlpha = false;
    QImage image;
    bool madeFrom(const TBitmap& b) const
    {
        return pixels == b.pixels.data() && mask == b.mask.data() && width == b.width && height == b.height &&
               hasAlpha == b.hasAlpha;
    }
};

// Masked pixels become fully transparent and the others opaque.
QImage ConvertMasked(const TBitmap& bitmap)
{
    // Pixels keep their own alpha only in pictures that have one.
    const uint32_t opaque = bitmap.hasAlpha ? 0u : 0xFF000000u;
    QImage image(bitmap.width, bitmap.height, QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < bitmap.width; ++x)
            row[x] = bitmap.transparentAt(x, y) ? 0u : (bitmap.at(x, y) | opaque);
    }
    return image;
}

// A picture Qt can draw. Without a mask the pixels are wrapped as they are;
// with one, the converted image is kept with the bitmap.
QImage ImageOf(const TBitmap& bitmap)
{
    const auto* bits = reinterpret_cast<const uchar*>(bitmap.pixels.data());
    if (!bitmap.hasMask())
        return QImage(bits, bitmap.width, bitmap.height, bitmap.width * 4,
                      bitmap.hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    auto kept = std::dynamic_pointer_cast<const TMaskedImage>(bitmap.drawForm);
    if (!kept || !kept->madeFrom(bitmap)) {
        auto made = std::make_shared<TMaskedImage>();
        made->pixels = bitmap.pixels.data();
        made->mask = bitmap.mask.data();
        made->width = bitmap.width;
        made->height = bitmap.height;
        made->hasAlpha = bitmap.hasAlpha;
        made->image = ConvertMasked(bitmap);
        bitmap.drawForm = made;
        kept = std::move(made);
    }
    return kept->image; // shared, not copied
}

} // namespace

TQtCanvas::TQtCanvas(QPainter& painter, TQtFontCache& fonts)
    : FPainter(painter), FFonts(fonts), FBase(painter.worldTransform())
{
}

void TQtCanvas::setFont(const TFontRef& font)
{
    FState.font = font;
    // Fonts of another canvas kind cannot be drawn here: text is then skipped.
    FState.qtFont = dynamic_cast<const TQtFont*>(font.get());
}

void TQtCanvas::setBackgroundMode(TBackgroundMode mode, TColor background)
{
    FState.backgroundMode = mode;
    FState.background = background;
}

void TQtCanvas::textOut(int x, int y, std::u16string_view text, int justifyExtra)
{
    const TQtFont* font = FState.qtFont;
    if (!font || text.empty())
        return;
    const TFontMetrics& metrics = font->metrics();
    int top = FState.align == TTextAlign::Baseline ? y - metrics.ascent : y;
    int baseline = top + metrics.ascent;

    TJustifier justifier(text, justifyExtra);
    FGlyphs.clear();
    FPositions.clear();
    FFallbacks.clear();
    // Of a long run only the glyphs that can reach the clip are drawn: a
    // line of megabytes would otherwise be shaped whole for the few hundred
    // characters a page or window shows. The margin keeps the overhang of
    // slanted and wide glyphs. A printed file keeps the text clipped in the
    // margins, as readers of the file extract it; only what lies beyond the
    // paper goes.
    int shownFrom = std::numeric_limits<int>::min(), shownTo = std::numeric_limits<int>::max();
    if (text.size() > LongRunChars) {
        const TRect clip = isPrinter() ? WholeDeviceBox(FPainter) : clipBox();
        const int margin = 2 * metrics.height + std::abs(FState.characterExtra);
        shownFrom = clip.left - margin;
        shownTo = clip.right + margin;
    }
    int pen = x;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (!IsPairTail(text, i) && c >= 32 && pen >= shownFrom && pen <= shownTo) {
            uint32_t glyph = IsHighSurrogate(c) ? 0 : font->glyphOf(c);
            if (glyph != 0) {
                FGlyphs.append(glyph);
                FPositions.append(QPointF(pen, baseline));
            } else {
                FFallbacks.push_back({i, pen});
            }
        }
        pen += font->unitWidth(text, i) + FState.characterExtra + justifier.after(c);
    }
    int width = pen - x;

    if (FState.backgroundMode == TBackgroundMode::Opaque)
        fillRect({x, top, x + width, top + metrics.height}, FState.background);
    FPainter.setPen(QtColorOf(FState.textColor));
    if (!FGlyphs.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(font->rawFont());
        run.setGlyphIndexes(FGlyphs);
        run.setPositions(FPositions);
        FPainter.drawGlyphRun(QPointF(0, 0), run);
    }
    if (!FFallbacks.empty()) {
        // Characters the face lacks go through Qt's font fallback one by one,
        // still at the measured positions.
        FPainter.setFont(font->qfont());
        for (const TFallback& f : FFallbacks) {
            qsizetype length = IsHighSurrogate(text[f.index]) && f.index + 1 < text.size() ? 2 : 1;
            FPainter.drawText(QPointF(f.x, baseline),
                              QString(reinterpret_cast<const QChar*>(text.data() + f.index), length));
        }
    }
    drawDecorations(x, baseline, width);
}

void TQtCanvas::drawDecorations(int x, int baseline, int width)
{
    TFontStyles style = FState.font->spec().style;
    if (!(style & (fsUnderline | fsStrikeOut)))
        return;
    const QRawFont& raw = FState.qtFont->rawFont();
    double thickness = std::max(1.0, std::round(raw.lineThickness()));
    QColor color = QtColorOf(FState.textColor);
    if (style & fsUnderline) {
        double position = std::max(1.0, std::round(raw.underlinePosition()));
        FPainter.fillRect(QRectF(x, baseline + position - thickness / 2, width, thickness), color);
    }
    if (style & fsStrikeOut) {
        double position = std::round(raw.xHeight() / 2);
        FPainter.fillRect(QRectF(x, baseline - position - thickness / 2, width, thickness), color);
    }
}

void TQtCanvas::fillRect(const TRect& r, TColor color)
{
    if (color != ClNone && !r.isEmpty())
        FPainter.fillRect(QRectOf(r), QtColorOf(color));
}

void TQtCanvas::frameRect(const TRect& r, TColor color)
{
    if (r.isEmpty())
        return;
    fillRect({r.left, r.top, r.right, r.top + 1}, color);
    fillRect({r.left, r.bottom - 1, r.right, r.bottom}, color);
    fillRect({r.left, r.top + 1, r.left + 1, r.bottom - 1}, color);
    fillRect({r.right - 1, r.top + 1, r.right, r.bottom - 1}, color);
}

void TQtCanvas::usePenAndBrush()
{
    FPainter.setPen(PenOf(FState.pen));
    FPainter.setBrush(BrushOf(FState.brush));
}

void TQtCanvas::rectangle(const TRect& r)
{
    if (r.isEmpty())
        return;
    if (FState.brush.style == TBrushStyle::Solid)
        fillRect(r, FState.brush.color);
    FPainter.setPen(PenOf(FState.pen));
    FPainter.setBrush(Qt::NoBrush);
    FPainter.drawRect(OutlineOf(r));
}

void TQtCanvas::drawEdge(const TRect& r, TEdgeKind kind)
{
    // Two bevels, outer then inner, each lit on the top and left sides.
    constexpr TColor Light = ClSystemBase + 22, Highlight = ClSystemBase + 20;
    constexpr TColor Shadow = ClSystemBase + 16, DarkShadow = ClSystemBase + 21;
    struct TBevel {
        TColor topLeft, bottomRight;
    };
    const TBevel raised[2] = {{Light, DarkShadow}, {Highlight, Shadow}};
    const TBevel sunken[2] = {{Shadow, Highlight}, {DarkShadow, Light}};
    const TBevel* bevels = kind == TEdgeKind::Raised ? raised : sunken;
    TRect box = r;
    for (int i = 0; i < 2 && !box.isEmpty(); ++i) {
        fillRect({box.left, box.top, box.right - 1, box.top + 1}, bevels[i].topLeft);
        fillRect({box.left, box.top + 1, box.left + 1, box.bottom - 1}, bevels[i].topLeft);
        fillRect({box.left, box.bottom - 1, box.right, box.bottom}, bevels[i].bottomRight);
        fillRect({box.right - 1, box.top, box.right, box.bottom - 1}, bevels[i].bottomRight);
        box = {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    }
}

void TQtCanvas::line(int x1, int y1, int x2, int y2)
{
    FPainter.setPen(PenOf(FState.pen));
    FPainter.drawLine(x1, y1, x2, y2);
}

void TQtCanvas::polyline(const std::vector<TPoint>& points)
{
    FPainter.setPen(PenOf(FState.pen));
    FPainter.drawPolyline(PolygonOf(points));
}

void TQtCanvas::polygon(const std::vector<TPoint>& points)
{
    usePenAndBrush();
    FPainter.drawPolygon(PolygonOf(points));
}

void TQtCanvas::ellipse(const TRect& r)
{
    usePenAndBrush();
    FPainter.drawEllipse(OutlineOf(r));
}

void TQtCanvas::arc(const TRect& r, TPoint start, TPoint end)
{
    int from = AngleOf(r, start);
    int span = AngleOf(r, end) - from;
    while (span <= 0)
        span += 360 * 16;
    FPainter.setPen(PenOf(FState.pen));
    FPainter.drawArc(OutlineOf(r), from, span);
}

void TQtCanvas::drawFocusRect(const TRect& r)
{
    FPainter.setPen(QPen(QGuiApplication::palette().color(QPalette::WindowText), 0, Qt::DotLine));
    FPainter.setBrush(Qt::NoBrush);
    FPainter.drawRect(OutlineOf(r));
}

void TQtCanvas::drawBitmap(const TRect& dest, const TBitmap& bitmap)
{
    drawBitmapPart(dest, bitmap, {0, 0, bitmap.width, bitmap.height});
}

void TQtCanvas::drawBitmapPart(const TRect& dest, const TBitmap& bitmap, const TRect& source)
{
    if (bitmap.isEmpty() || dest.isEmpty() || source.isEmpty())
        return;
    FPainter.drawImage(QRectOf(dest), ImageOf(bitmap), QRectOf(source));
}

void TQtCanvas::save()
{
    FPainter.save();
    FSaved.push_back(FState);
}

void TQtCanvas::restore()
{
    if (FSaved.empty())
        return;
    FPainter.restore();
    FState = std::move(FSaved.back());
    FSaved.pop_back();
}

void TQtCanvas::intersectClip(const TRect& r)
{
    FPainter.setClipRect(QRectOf(r), FPainter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void TQtCanvas::selectDeviceClip(const TRect& deviceRect)
{
    FPainter.setWorldTransform(FBase);
    FPainter.setClipRect(QRectOf(deviceRect), Qt::ReplaceClip);
    applyMapping();
}

TRect TQtCanvas::clipBox() const
{
    if (!FPainter.hasClipping())
        return WholeDeviceBox(FPainter);
    const QRect box = FPainter.clipBoundingRect().toAlignedRect();
    return {box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
}



int TQtCanvas::pixelsPerInchX() const { return FPainter.device()->logicalDpiX(); }

int TQtCanvas::pixelsPerInchY() const { return FPainter.device()->logicalDpiY(); }

int TQtCanvas::colorDepth() const { return FPainter.device()->depth(); }

bool TQtCanvas::isPrinter() const
{
    return FPainter.device()->devType() == QInternal::Printer;
}

void TQtCanvas::setMapping(TPoint windowOrg, TPoint windowExt, TPoint viewportOrg, TPoint viewportExt)
{
    FState.windowOrg = windowOrg;
    FState.windowExt = {windowExt.x ? windowExt.x : 1, windowExt.y ? windowExt.y : 1};
    FState.viewportOrg = viewportOrg;
    FState.viewportExt = {viewportExt.x ? viewportExt.x : 1, viewportExt.y ? viewportExt.y : 1};
    applyMapping();
}

void TQtCanvas::setOrigin(TPoint origin)
{
    FState.windowOrg = origin;
    applyMapping();
}

void TQtCanvas::applyMapping()
{
    double sx = double(FState.viewportExt.x) / FState.windowExt.x;
    double sy = double(FState.viewportExt.y) / FState.windowExt.y;
    double dx = FState.viewportOrg.x - FState.windowOrg.x * sx;
    double dy = FState.viewportOrg.y - FState.windowOrg.y * sy;
    FPainter.setWorldTransform(QTransform(sx, 0, 0, sy, dx, dy) * FBase);
}

void DrawSunkenOutline(QPainter& painter, const QRect& r, const QColor& dark, const QColor& light)
{
    painter.setPen(dark);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(light);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
}
