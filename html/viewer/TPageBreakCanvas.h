#pragma once
// A canvas that draws nothing: the page-break pass paints every page through
// it to learn where each page ends. Fonts and measuring go to the canvas the
// pages are laid out and printed with, so every measure is the same as when
// the page is painted for real.
#include "gfx/TCanvas.h"

class TPageBreakCanvas : public TCanvas {
public:
    explicit TPageBreakCanvas(TCanvas& measuring) : FMeasuring(measuring) {}

    TFontRef createFont(const TFontSpec& spec) override { return FMeasuring.createFont(spec); }
    bool fontInstalled(std::string_view family) const override { return FMeasuring.fontInstalled(family); }
    void setFont(const TFontRef& font) override { FMeasuring.setFont(font); }
    const TFontRef& font() const override { return FMeasuring.font(); }
    void setTextColor(TColor) override {}
    void setBackgroundMode(TBackgroundMode, TColor) override {}
    void setCharacterExtra(int pixels) override { FMeasuring.setCharacterExtra(pixels); }
    int characterExtra() const override { return FMeasuring.characterExtra(); }
    void textOut(int, int, std::u16string_view, int) override {}

    void setPen(const TPen&) override {}
    void setBrush(const TBrush&) override {}
    void fillRect(const TRect&, TColor) override {}
    void frameRect(const TRect&, TColor) override {}
    void rectangle(const TRect&) override {}
    void drawEdge(const TRect&, TEdgeKind) override {}
    void line(int, int, int, int) override {}
    void polyline(const std::vector<TPoint>&) override {}
    void polygon(const std::vector<TPoint>&) override {}
    void ellipse(const TRect&) override {}
    void arc(const TRect&, TPoint, TPoint) override {}

    void drawBitmap(const TRect&, const TBitmap&) override {}
    void drawBitmapPart(const TRect&, const TBitmap&, const TRect&) override {}

    void save() override {}
    void restore() override {}
    void intersectClip(const TRect&) override {}
    TRect clipBox() const override { return {-(1 << 29), -(1 << 29), 1 << 29, 1 << 29}; }

    int pixelsPerInchX() const override { return FMeasuring.pixelsPerInchX(); }
    int pixelsPerInchY() const override { return FMeasuring.pixelsPerInchY(); }
    int colorDepth() const override { return FMeasuring.colorDepth(); }
    bool isPrinter() const override { return FMeasuring.isPrinter(); }
    void setMapping(TPoint windowOrg, TPoint, TPoint, TPoint) override { FOrigin = windowOrg; }
    void setOrigin(TPoint origin) override { FOrigin = origin; }
    TPoint origin() const override { return FOrigin; }

private:
    TCanvas& FMeasuring;
    TPoint FOrigin;
};
