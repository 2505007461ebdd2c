#pragma once
// The canvas on Qt: draws through an active QPainter on a widget, a QImage or
// a QPrinter (PDF output works headless). The painter's transform when the
// canvas is made is the base the window/viewport mapping is put on.
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QTransform>
#include <vector>

#include "gfx/TCanvas.h"
#include "html/viewer/QtFontCache.h"

class TQtFont;

class TQtCanvas : public TCanvas {
public:
    explicit TQtCanvas(QPainter& painter, TQtFontCache& fonts = TQtFontCache::shared());

    TFontRef createFont(const TFontSpec& spec) override { return FFonts.font(spec); }
    bool fontInstalled(std::string_view family) const override { return FFonts.installed(family); }
    void setFont(const TFontRef& font) override;
    const TFontRef& font() const override { return FState.font; }
    void setTextColor(TColor color) override { FState.textColor = color; }
    void setBackgroundMode(TBackgroundMode mode, TColor background = 0xFFFFFF) override;
    void setCharacterExtra(int pixels) override { FState.characterExtra = pixels; }
    int characterExtra() const override { return FState.characterExtra; }
    void setTextAlign(TTextAlign align) override { FState.align = align; }
    void textOut(int x, int y, std::u16string_view text, int justifyExtra = 0) override;

    void setPen(const TPen& pen) override { FState.pen = pen; }
    void setBrush(const TBrush& brush) override { FState.brush = brush; }
    void fillRect(const TRect& r, TColor color) override;
    void frameRect(const TRect& r, TColor color) override;
    void rectangle(const TRect& r) override;
    void drawEdge(const TRect& r, TEdgeKind kind) override;
    void line(int x1, int y1, int x2, int y2) override;
    void polyline(const std::vector<TPoint>& points) override;
    void polygon(const std::vector<TPoint>& points) override;
    void ellipse(const TRect& r) override;
    void arc(const TRect& r, TPoint start, TPoint end) override;
    void drawFocusRect(const TRect& r) override;

    void drawBitmap(const TRect& dest, const TBitmap& bitmap) override;
    void drawBitmapPart(const TRect& dest, const TBitmap& bitmap, const TRect& source) override;

    void save() override;
    void restore() override;
    void intersectClip(const TRect& r) override;
    void selectDeviceClip(const TRect& deviceRect) override;
    void removeClip() override { FPainter.setClipping(false); }
    TRect clipBox() const override;

    int pixelsPerInchX() const override;
    int pixelsPerInchY() const override;
    int colorDepth() const override;
    bool isPrinter() const override;
    void setMapping(TPoint windowOrg, TPoint windowExt, TPoint viewportOrg, TPoint viewportExt) override;
    void setOrigin(TPoint origin) override;
    TPoint origin() const override { return FState.windowOrg; }

    QPainter& painter() { return FPainter; }

private:
    struct TState {
        TFontRef font;
        const TQtFont* qtFont = nullptr;
        TColor textColor = 0;
        TBackgroundMode backgroundMode = TBackgroundMode::Transparent;
        TColor background = 0xFFFFFF;
        int characterExtra = 0;
        TTextAlign align = TTextAlign::Top;
        TPen pen;
        TBrush brush;
        TPoint windowOrg{0, 0};
        TPoint windowExt{1, 1};
        TPoint viewportOrg{0, 0};
        TPoint viewportExt{1, 1};
    };
    struct TFallback {
        size_t index;
        int x;
    };
    void applyMapping();
    void usePenAndBrush();
    void drawDecorations(int x, int baseline, int width);

    QPainter& FPainter;
    TQtFontCache& FFonts;
    QTransform FBase;
    TState FState;
    std::vector<TState> FSaved;
    // Reused by textOut so that drawing text does not allocate once warm.
    QList<quint32> FGlyphs;
    QList<QPointF> FPositions;
    std::vector<TFallback> FFallbacks;
};

// A sunken one-pixel outline of r: top and left in dark, bottom and right in
// light (frame and viewer borders).
void DrawSunkenOutline(QPainter& painter, const QRect& r, const QColor& dark, const QColor& light);
