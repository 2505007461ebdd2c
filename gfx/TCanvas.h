#pragma once
// The drawing services the HTML engine needs, as a thin abstract interface.
// The Qt implementation draws on widgets, images and printers; the fixed-metrics
// implementation (TFixedCanvas) gives exact, font-independent numbers for tests.
// No toolkit type appears here.
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "images/TBitmap.h"
#include "util/Colors.h"

struct TPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// What a font is asked for with. Height is the character height in pixels
// (cell height minus internal leading, as the em size of the document). The
// style code computes it as minus (pixels per inch x points / 72), so a
// negative height is read as its magnitude; 0 asks for the default of 16.
struct TFontSpec {
    std::string name = "Times New Roman";
    int height = 16;
    TFontStyles style = 0;
    int charset = 1; // Windows character set number (1 = default)
    friend bool operator==(const TFontSpec&, const TFontSpec&) = default;
};

struct TFontMetrics {
    int height = 0;           // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int maxCharWidth = 0;
    int aveCharWidth = 0;
    int charset = 1;          // the character set actually obtained
};

// A created font. Measuring never allocates: implementations cache per font.
class TFont {
public:
    virtual ~TFont() = default;
    const TFontSpec& spec() const { return FSpec; }
    virtual const TFontMetrics& metrics() const = 0;
    // Width in pixels of a run of 16-bit text.
    virtual int textWidth(std::u16string_view text) const = 0;
    // How many leading characters fit in maxWidth. When extents is not null it
    // receives the width of the first 1, 2, ... characters: for every fitting
    // character and for the first one that does not fit (measuring may stop
    // there). A surrogate pair is one character: its high half carries the
    // whole width and the low half adds 0, so a fitting count never splits a pair.
    virtual int fitCount(std::u16string_view text, int maxWidth, std::vector<int>* extents = nullptr) const = 0;
    // The same with characterExtra pixels after every 16-bit unit, as when the
    // font is selected on a canvas with that character extra. This default
    // measures the whole text; the canvases' own fonts stop early.
    virtual int fitCountWithExtra(std::u16string_view text, int maxWidth, std::vector<int>* extents,
                                  int characterExtra) const;

protected:
    explicit TFont(TFontSpec spec) : FSpec(std::move(spec)) {}
    TFontSpec FSpec;
};
using TFontRef = std::shared_ptr<const TFont>;

enum class TPenStyle : uint8_t { Solid, Dash, Dot, None };
enum class TBrushStyle : uint8_t { Solid, Clear };
enum class TBackgroundMode : uint8_t { Transparent, Opaque };
enum class TEdgeKind : uint8_t { Raised, Sunken };
// Which point of the text textOut's (x, y) names.
enum class TTextAlign : uint8_t { Top, Baseline };

struct TPen {
    TColor color = 0;
    int width = 1;
    TPenStyle style = TPenStyle::Solid;
};

struct TBrush {
    TColor color = 0xFFFFFF;
    TBrushStyle style = TBrushStyle::Solid;
};

// A surface to draw on: screen band, image or printer page.
// The few operations with a default body were added after the first
// test doubles were written; the real canvases implement them all.
class TCanvas {
public:
    virtual ~TCanvas() = default;

    // Fonts and text.
    // Fonts are cached: asking twice for the same description answers the same font.
    virtual TFontRef createFont(const TFontSpec& spec) = 0;
    // Whether a family name resolves to an installed face (directly or through
    // a metric-compatible alias); font-family lists take the first such name.
    virtual bool fontInstalled(std::string_view family) const = 0;
    virtual void setFont(const TFontRef& font) = 0;
    virtual const TFontRef& font() const;
    virtual void setTextColor(TColor color) = 0;
    virtual void setBackgroundMode(TBackgroundMode mode, TColor background = 0xFFFFFF) = 0;
    // Extra pixels after every character while this font is selected (letter spacing).
    virtual void setCharacterExtra(int pixels) = 0;
    virtual int characterExtra() const { return 0; }
    virtual void setTextAlign(TTextAlign) {}
    // Draws text at (x, y), which is the top-left or the left end of the baseline
    // as the text alignment says. justifyExtra pixels are spread over the break
    // characters (spaces, 32 and 160) of the run: each gets extra / breaks, the
    // first extra % breaks one more. An opaque background fills the text cell
    // (the drawn width x the font height) first.
    virtual void textOut(int x, int y, std::u16string_view text, int justifyExtra = 0) = 0;

    // Measures with the selected font and character extra (no justification).
    int textExtent(std::u16string_view text) const;
    int textFitCount(std::u16string_view text, int maxWidth, std::vector<int>* extents = nullptr) const;

    // Pens, brushes and shapes.
    virtual void setPen(const TPen& pen) = 0;
    virtual void setBrush(const TBrush& brush) = 0;
    virtual void fillRect(const TRect& r, TColor color) = 0;
    virtual void frameRect(const TRect& r, TColor color) = 0;
    virtual void rectangle(const TRect& r) = 0; // pen outline, brush fill
    virtual void drawEdge(const TRect& r, TEdgeKind kind) = 0;
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    virtual void polyline(const std::vector<TPoint>& points) = 0;
    virtual void polygon(const std::vector<TPoint>& points) = 0;
    virtual void ellipse(const TRect& r) = 0;
    // Counter-clockwise from the ray through start to the ray through end, on the
    // ellipse bounded by r.
    virtual void arc(const TRect& r, TPoint start, TPoint end) = 0;
    // The dotted rectangle that marks keyboard focus.
    virtual void drawFocusRect(const TRect&) {}

    // Pictures: stretched into dest; pixels marked in the bitmap's mask are left untouched.
    virtual void drawBitmap(const TRect& dest, const TBitmap& bitmap) = 0;
    virtual void drawBitmapPart(const TRect& dest, const TBitmap& bitmap, const TRect& source) = 0;

    // Clipping (intersected with the current clip); save/restore keep the
    // whole drawing state (clip, font, pen, brush, text settings).
    virtual void save() = 0;
    virtual void restore() = 0;
    virtual void intersectClip(const TRect& r) = 0;
    // Replaces the clip with a rectangle in device pixels (printing works out its
    // printable area there), or removes it.
    virtual void selectDeviceClip(const TRect&) {}
    virtual void removeClip() {}
    // The clip in logical units; the whole surface when nothing clips.
    virtual TRect clipBox() const = 0;

    // Device facts and mapping.
    virtual int pixelsPerInchX() const = 0;
    virtual int pixelsPerInchY() const = 0;
    virtual int colorDepth() const = 0;
    virtual bool isPrinter() const = 0;
    // Maps logical units to device units: device = (logical - windowOrg) * viewportExt / windowExt + viewportOrg.
    virtual void setMapping(TPoint windowOrg, TPoint windowExt, TPoint viewportOrg, TPoint viewportExt) = 0;
    void resetMapping() { setMapping({0, 0}, {1, 1}, {0, 0}, {1, 1}); }
    // The window origin alone: the logical point that lands on the viewport origin.
    virtual void setOrigin(TPoint origin) = 0;
    virtual TPoint origin() const = 0;
};

inline int TCanvas::textExtent(std::u16string_view text) const
{
    const TFontRef& f = font();
    return f ? f->textWidth(text) + characterExtra() * int(text.size()) : 0;
}

inline int TCanvas::textFitCount(std::u16string_view text, int maxWidth, std::vector<int>* extents) const
{
    const TFontRef& f = font();
    if (!f) {
        if (extents)
            extents->clear();
        return 0;
    }
    return f->fitCountWithExtra(text, maxWidth, extents, characterExtra());
}

inline const TFontRef& TCanvas::font() const
{
    static const TFontRef none;
    return none;
}

inline int TFont::fitCountWithExtra(std::u16string_view text, int maxWidth, std::vector<int>* extents,
                                    int characterExtra) const
{
    std::vector<int> local;
    std::vector<int>& widths = extents ? *extents : local;
    fitCount(text, INT_MAX, &widths);
    int fitting = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        widths[i] += characterExtra * int(i + 1);
        if (widths[i] > maxWidth) {
            widths.resize(i + 1);
            break;
        }
        fitting = int(i) + 1;
    }
    return fitting;
}
