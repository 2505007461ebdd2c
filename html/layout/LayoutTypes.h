#pragma once
// Small value types and constants shared by the layout objects: the codes of
// floats, clears, positioning, alignment and borders, the 26 box values of a
// block, and the argument bundles of layout, paint and hit tests.
#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "gfx/TCanvas.h"
#include "util/Colors.h"

class IndentManager;
class TFontObj;
class TFormControlObj;

// Receives the text of one text section: the document position of its first
// character and its characters (placeholders for pictures and controls
// included, so positions count on).
using TTextVisitor = std::function<void(int position, std::u16string_view text)>;

// Style integers with a meaning of their own.
constexpr int BoxNotSet = -12345678;
constexpr int BoxAuto = -12348765;
// Y of a section that was never laid out.
constexpr int NotLaidOutY = 999999999;
// Bottom of an edge that is still open.
constexpr int OpenEdgeBottom = 9999999;

// Every resolved length is kept within this many pixels, and every running
// position within DocumentLimit, so sums of a handful of them never overflow
// an int however absurd the style values are.
constexpr int MaxBoxPixels = 1000000;
constexpr int DocumentLimit = 1000000000;

inline int ClampPixels(long long v)
{
    return int(v < -MaxBoxPixels ? -MaxBoxPixels : v > MaxBoxPixels ? MaxBoxPixels : v);
}
inline int ClampDoc(long long v)
{
    return int(v < -DocumentLimit ? -DocumentLimit : v > DocumentLimit ? DocumentLimit : v);
}
// a + b, saturated at the document limit.
inline int AddDoc(int a, int b) { return ClampDoc((long long)a + b); }

// Blocks nest at most this deep in the layout tree. A block created deeper is
// placed in the cell at this depth, after its ancestors' content so far, so
// every recursive walk (layout, paint, search, clone, destruction) stays
// within a bounded stack however deeply the source nests its elements.
constexpr int MaxBlockNesting = 200;

enum class TFloatKind : uint8_t { None = 0, Left = 5, Right = 6 };
enum class TClearKind : uint8_t { None = 0, Left = 1, Right = 2, Both = 3 };
enum class TPositionKind : uint8_t { Static = 0, Absolute = 1, Relative = 2 };
// Vertical alignment codes of images, controls and sub/superscript runs.
enum class TVAlign : uint8_t { None = 0, Top = 1, Middle = 2, Baseline = 3, Bottom = 4, Sub = 8, Super = 9 };
enum class TTextAlignKind : uint8_t { Left = 1, Center = 2, Right = 3, Justify = 4 };
// Border style codes in the order of the style names.
enum class TBorderKind : uint8_t { None, Solid, Inset, Outset, Groove, Ridge, Dashed, Dotted, Double };
// List marker styles, in the order of the list-style-type names.
enum class TListMarker : uint8_t { Blank, Circle, Decimal, Disc, LowerAlpha, LowerRoman, None, Square, UpperAlpha, UpperRoman };
enum class TListKind : uint8_t { Ordered = 1, Unordered = 2, Definition = 3, Stray = 4 };

// Indices of the 26 box values.
enum TBoxIndex : int {
    BoxBackgroundColor, BoxBorderColor,
    BoxMarginTop, BoxMarginRight, BoxMarginBottom, BoxMarginLeft,
    BoxPaddingTop, BoxPaddingRight, BoxPaddingBottom, BoxPaddingLeft,
    BoxBorderTop, BoxBorderRight, BoxBorderBottom, BoxBorderLeft,
    BoxBorderTopColor, BoxBorderRightColor, BoxBorderBottomColor, BoxBorderLeftColor,
    BoxBorderTopStyle, BoxBorderRightStyle, BoxBorderBottomStyle, BoxBorderLeftStyle,
    BoxWidth, BoxHeight, BoxTop, BoxLeft,
};
constexpr int MargArrayCount = 26;

// The box values of an element resolved against a width and height base.
struct TMargArray {
    TMargArray() { v[BoxBackgroundColor] = v[BoxBorderColor] = int(ClNone); }
    std::array<int, MargArrayCount> v{};
    int autoCount = 0;              // autos among margin-left, width and margin-right
    bool topMarginExplicit = false; // the top margin was given, not the paragraph default
    bool widthIsPercent = false;    // width came from a percentage
    int& operator[](int i) { return v[size_t(i)]; }
    int operator[](int i) const { return v[size_t(i)]; }
};
// Resolves the box values with the given percentage bases. The builder wraps
// the element's property set in one; tests give fixed values.
using TBoxResolver = std::function<TMargArray(int widthBase, int heightBase)>;

// Clamps lengths (not colours, not auto) into the safe pixel range.
TMargArray SanitizeBoxValues(TMargArray b);

// A link as the text section keeps it.
struct TLinkInfo {
    std::string url;
    std::string target;
    int id = 0;       // shared by all runs of one link
    int tabIndex = 0; // positive: the link is a keyboard stop
    bool empty() const { return url.empty(); }
};

// Font of a text run.
struct TTextFont {
    TFontSpec spec;
    TColor color = 0;
    TColor background = ClNone;
    int letterSpacing = 0;
    bool invisible = false; // visibility: hidden or opacity: 0: the run keeps its space, nothing is drawn
    friend bool operator==(const TTextFont&, const TTextFont&) = default;
};

// Where a section is laid out.
struct TLayoutArea {
    int x = 0;
    int y = 0;
    int refX = 0;           // origin of absolutely positioned content
    int refY = 0;
    int refWidth = 0;       // size of the box they are placed in (0: not known)
    int refHeight = 0;
    int width = 0;          // available width
    int height = 0;         // available height (0: unknown)
    int containingHeight = 0;
    // Set by flex and grid containers for their items: the margin-box width
    // the item gets (-1: the block sizes itself), and how many containers
    // around are laying their items out once more to align them.
    int usedWidth = -1;
    int relayouts = 0;
    // Flex items resolve their percentages against the container, not the
    // width their line gives them (-1: against width).
    int percentBase = -1;
};

// The reader's own colours, used in place of the document's when the reader
// asks for them (low vision, high contrast): text and links in these, and no
// background colours or pictures of the document's.
struct TReaderColors {
    TColor text = 0;
    TColor link = 0;
    TColor visited = 0;
};

// What a paint pass draws with. Passed down the tree instead of any global
// printing mode.
struct TPaintContext {
    TCanvas& canvas;
    TRect clip;               // in window pixels
    int yOffset = 0;          // document Y at the window top
    bool printing = false;
    bool printBackground = true;
    bool printMonochrome = false;
    int pageBottom = 0;       // document Y where the printed page ends (moved up by breaks)
    bool nothingPrinted = true;
    // Caret: drawn at this document position when >= 0 and nothing is selected.
    int caretPos = -1;
    // Shift of relatively positioned content being painted.
    int shiftX = 0;
    int shiftY = 0;
    // The document's fixed boxes are being painted at their place in the window.
    bool paintingFixed = false;
    // The reader's colours replace the document's (null: the document's own).
    const TReaderColors* readerColors = nullptr;
    // Window Y of a document Y.
    int WindowY(int docY) const { return docY - yOffset + shiftY; }
    // Whether the document's background colours and pictures are painted.
    bool PaintsBackgrounds() const { return !readerColors && (!printing || printBackground); }
};

enum TLinkHitFlag : int { HitLink = 1, HitControl = 2, HitTitle = 4 };
struct TLinkHit {
    int flags = 0;
    TLinkInfo link;
    TFormControlObj* control = nullptr;
    std::string title;
    TFontObj* run = nullptr;  // the link run under the point
};

struct TCaretHit {
    int x = 0;
    int y = 0;
    int height = 0;
    bool inText = false;
};

// Indentation prefix of the layout dump.
inline void DumpIndent(std::string& out, int depth) { out.append(size_t(depth) * 2, ' '); }
