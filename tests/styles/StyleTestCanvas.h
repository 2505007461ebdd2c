#pragma once
// A canvas double for the style tests: fonts have exact, known metrics
// (internal leading = height / 4), a few font names count as installed, and
// a font named "Symbol" reports the symbol character set.
#include <set>
#include <string>

#include "gfx/TCanvas.h"
#include "html/reader/StyleUn.h"

class TStyleTestFont : public TFont {
public:
    explicit TStyleTestFont(const TFontSpec& spec) : TFont(spec)
    {
        FMetrics.internalLeading = spec.height / 4;
        FMetrics.height = spec.height + FMetrics.internalLeading;
        FMetrics.descent = FMetrics.height / 5;
        FMetrics.ascent = FMetrics.height - FMetrics.descent;
        FMetrics.maxCharWidth = spec.height;
        FMetrics.aveCharWidth = spec.height / 2;
        FMetrics.charset = LowerCase(spec.name) == "symbol" ? 2 : spec.charset == 99 ? 0 : spec.charset;
    }
    const TFontMetrics& metrics() const override { return FMetrics; }
    int textWidth(std::u16string_view text) const override { return int(text.size()) * FMetrics.aveCharWidth; }
    int fitCount(std::u16string_view text, int, std::vector<int>*) const override { return int(text.size()); }

private:
    TFontMetrics FMetrics;
};

class TStyleTestCanvas : public TCanvas {
public:
    // Lower-case: font names are matched ignoring case, as the platform does.
    std::set<std::string> installed = {"times new roman", "courier new", "arial", "symbol"};
    int fontsCreated = 0;

    TFontRef createFont(const TFontSpec& spec) override
    {
        ++fontsCreated;
        return std::make_shared<TStyleTestFont>(spec);
    }
    bool fontInstalled(std::string_view family) const override { return installed.count(LowerCase(family)) > 0; }
    void setFont(const TFontRef&) override {}
    void setTextColor(TColor) override {}
    void setBackgroundMode(TBackgroundMode, TColor) override {}
    void setCharacterExtra(int) override {}
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
    TRect clipBox() const override { return {}; }
    int pixelsPerInchX() const override { return 96; }
    int pixelsPerInchY() const override { return 96; }
    int colorDepth() const override { return 24; }
    bool isPrinter() const override { return false; }
    void setMapping(TPoint, TPoint, TPoint, TPoint) override {}
    void setOrigin(TPoint) override {}
    TPoint origin() const override { return {}; }
};
