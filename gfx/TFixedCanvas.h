#pragma once
// A canvas with exact, font-independent metrics that records what is drawn.
// Layout tests and `quillon-render --fixed-metrics` use it, so the numbers
// below are a contract: change them only together with every golden file.
//
// Fonts. Let h = |spec.height| (0 means 16) be the character height.
//   internal leading  = h / 8
//   height            = h + h / 8               (ascent + descent)
//   descent           = h / 4
//   ascent            = height - descent
//   external leading  = h / 16
//   unit width w      = max(1, h / 2), plus 1 when bold
//   every character with a code up to 2FFF hex is w wide; characters above
//   2FFF (ideographs, and every surrogate pair) are 2w wide. A surrogate pair
//   puts its 2w on the high half and 0 on the low half.
//   average char width = w, maximum char width = 2w.
//   The family does not matter, except that "Symbol" obtains character set 2;
//   any other font obtains the character set asked for.
//   Example, h = 16: height 18, ascent 14, descent 4, internal leading 2,
//   external leading 1, "Hello" 40 pixels wide (45 bold).
// Installed families: "Times New Roman", "Arial", "Courier New", "Symbol"
//   (any letter case), plus those added with addInstalledFamily.
// Text cell of textOut: width = the measured width (+ character extra per
//   16-bit unit + justification extra), height = the font height; its top is y
//   (top alignment) or y - ascent (baseline alignment).
// Device: 96 x 96 pixels per inch, 24-bit colour, 1024 x 768 pixels, not a
//   printer, unless TDevice says otherwise.
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "gfx/TCanvas.h"

// The exact fixed metrics of one font spec.
class TFixedFont : public TFont {
public:
    explicit TFixedFont(TFontSpec spec);
    const TFontMetrics& metrics() const override { return FMetrics; }
    int textWidth(std::u16string_view text) const override;
    int fitCount(std::u16string_view text, int maxWidth, std::vector<int>* extents = nullptr) const override;
    int fitCountWithExtra(std::u16string_view text, int maxWidth, std::vector<int>* extents,
                          int characterExtra) const override;
    // Width of the 16-bit unit at index i of text (0 for the low half of a pair).
    int unitWidth(std::u16string_view text, size_t i) const;
    int unit() const { return FUnit; }

private:
    TFontMetrics FMetrics;
    int FUnit = 1;
};

enum class TDrawKind : uint8_t {
    Text,
    FillRect,
    FrameRect,
    Rectangle,
    Edge,
    Line,
    Polyline,
    Polygon,
    Ellipse,
    Arc,
    FocusRect,
    Bitmap,
};

// One recorded drawing call with the canvas state it was drawn with.
struct TDrawCall {
    TDrawKind kind = TDrawKind::Text;
    TRect rect;                 // logical: shape bounds, text cell, bitmap destination
    TRect device;               // rect mapped to device pixels
    std::vector<TPoint> points; // line ends, polyline and polygon points, arc start and end
    std::u16string text;
    TFontSpec font;             // the selected font (text only)
    TColor color = 0;           // text colour, fill or frame colour, else the pen colour
    TPen pen;
    TBrush brush;
    TBackgroundMode backgroundMode = TBackgroundMode::Transparent;
    TColor background = 0xFFFFFF;
    int justifyExtra = 0;
    int characterExtra = 0;
    TEdgeKind edge = TEdgeKind::Raised;
    TRect source;               // bitmaps: the source part
    bool masked = false;        // bitmaps: drawn through a mask
    TRect clip;                 // logical clip box at the time of the call
};

class TFixedCanvas : public TCanvas {
public:
    struct TDevice {
        int pixelsPerInchX = 96;
        int pixelsPerInchY = 96;
        int colorDepth = 24;
        bool printer = false;
        int width = 1024;
        int height = 768;
    };
    TFixedCanvas() : TFixedCanvas(TDevice{}) {}
    explicit TFixedCanvas(const TDevice& device);

    TFontRef createFont(const TFontSpec& spec) override;
    bool fontInstalled(std::string_view family) const override;
    void addInstalledFamily(std::string family);
    void setFont(const TFontRef& font) override { FState.font = font; }
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

    void save() override { FSaved.push_back(FState); }
    void restore() override;
    void intersectClip(const TRect& r) override;
    void selectDeviceClip(const TRect& deviceRect) override;
    void removeClip() override { FState.hasClip = false; }
    TRect clipBox() const override;

    int pixelsPerInchX() const override { return FDevice.pixelsPerInchX; }
    int pixelsPerInchY() const override { return FDevice.pixelsPerInchY; }
    int colorDepth() const override { return FDevice.colorDepth; }
    bool isPrinter() const override { return FDevice.printer; }
    void setMapping(TPoint windowOrg, TPoint windowExt, TPoint viewportOrg, TPoint viewportExt) override;
    void setOrigin(TPoint origin) override { FState.windowOrg = origin; }
    TPoint origin() const override { return FState.windowOrg; }

    // Logical to device pixels and back, with the current mapping.
    TPoint toDevice(TPoint logical) const;
    TPoint toLogical(TPoint device) const;
    TRect toDevice(const TRect& logical) const;
    TRect toLogical(const TRect& device) const;

    // What was drawn, in order.
    const std::vector<TDrawCall>& calls() const { return FCalls; }
    void clearCalls() { FCalls.clear(); }
    // The text calls only, their texts joined by "|" (a quick look for tests).
    std::u16string drawnText() const;
    // How many distinct fonts createFont has made.
    size_t fontCount() const { return FFonts.size(); }

private:
    struct TState {
        TFontRef font;
        TColor textColor = 0;
        TBackgroundMode backgroundMode = TBackgroundMode::Transparent;
        TColor background = 0xFFFFFF;
        int characterExtra = 0;
        TTextAlign align = TTextAlign::Top;
        TPen pen;
        TBrush brush;
        bool hasClip = false;
        TRect clip; // device pixels
        TPoint windowOrg{0, 0};
        TPoint windowExt{1, 1};
        TPoint viewportOrg{0, 0};
        TPoint viewportExt{1, 1};
    };
    using TFontKey = std::tuple<std::string, int, TFontStyles, int>;

    TDrawCall& record(TDrawKind kind, const TRect& rect);
    TDrawCall& recordPoints(TDrawKind kind, const std::vector<TPoint>& points);
    TRect deviceClip() const;

    TDevice FDevice;
    TState FState;
    std::vector<TState> FSaved;
    std::map<TFontKey, TFontRef> FFonts;
    std::vector<std::string> FFamilies;
    std::vector<TDrawCall> FCalls;
};
