#pragma once
// Style module: property indices and names, the value type of a property,
// the value parsers (colours, font sizes, lengths, font families) and the
// module state shared by every property set (screen, reference font size,
// colour cache, sequence counter).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>

#include "util/Colors.h"

class TCanvas;

// The properties, in their fixed order.
enum TPropIndex : int {
    piFontFamily, piFontSize, piFontStyle, piFontWeight, piTextAlign, piTextDecoration,
    piLetterSpacing, piBorderStyle, piColor, piBackgroundColor, piBorderColor,
    piMarginTop, piMarginRight, piMarginBottom, piMarginLeft,
    piPaddingTop, piPaddingRight, piPaddingBottom, piPaddingLeft,
    piBorderTopWidth, piBorderRightWidth, piBorderBottomWidth, piBorderLeftWidth,
    piBorderTopColor, piBorderRightColor, piBorderBottomColor, piBorderLeftColor,
    piBorderTopStyle, piBorderRightStyle, piBorderBottomStyle, piBorderLeftStyle,
    piWidth, piHeight, piTop, piLeft, piVisibility, piLineHeight, piBackgroundImage,
    piBackgroundPosition, piBackgroundRepeat, piBackgroundAttachment, piVerticalAlign,
    piPosition, piZIndex, piListStyleType, piListStyleImage, piFloat, piClear,
    piTextIndent, piPageBreakBefore, piPageBreakAfter, piPageBreakInside,
    piTextTransform, piFontVariant, piDisplay,
    // ---- Box layout of today's pages: offsets from the right and bottom,
    // size limits, box sizing, overflow and wrapping (none is inherited but
    // white-space and overflow-wrap).
    piRight, piBottom, piMinWidth, piMaxWidth, piMinHeight, piMaxHeight, piBoxSizing, piOverflow,
    piWhiteSpace, piOverflowWrap,
    // ---- end of box layout properties
    // ---- How boxes are arranged: flexible boxes and grids (the container's
    // direction, wrapping, alignment, gaps and columns, the item's flexing,
    // order and own alignment) and collapsed table borders. None is
    // inherited: each is read on the element that gives it.
    piFlexDirection, piFlexWrap, piFlexGrow, piFlexShrink, piFlexBasis, piJustifyContent, piAlignItems,
    piAlignSelf, piOrder, piRowGap, piColumnGap, piGridTemplateColumns, piBorderCollapse, piAlignContent,
    // ---- end of arrangement properties
};
constexpr int PropCount = 79;
// The first of the box layout properties above; every property from there on
// (the box layout and the arrangement properties) belongs to today's sheets.
constexpr int FirstLayoutProp = piRight;
// The first and last of the arrangement properties above.
constexpr int FirstArrangementProp = piFlexDirection;
constexpr int LastArrangementProp = piAlignContent;
// Properties 11..34 (margins through left) start as, and are reset to, NotSet.
constexpr int FirstBoxProp = piMarginTop;
constexpr int LastBoxProp = piLeft;
// Box values cover 9..34 (background-color through left).
constexpr int FirstBoxValue = piBackgroundColor;
constexpr int BoxValueCount = LastBoxProp - FirstBoxValue + 1;

extern const std::array<std::string_view, PropCount> PropertyNames;
// Index of an exact property name, or -1.
int PropertyIndex(std::string_view name);

// Special integers.
constexpr int NotSet = -12345678;
constexpr int AutoValue = -12348765;
constexpr int DefaultParagraphMargin = -12348766;
constexpr int DefaultParagraphMarginPixels = 14;

// visibility and text-transform codes.
constexpr int VisibilityVisible = 2;
constexpr int VisibilityHidden = 1;
constexpr int TransformNone = 0;
constexpr int TransformUpper = 1;
constexpr int TransformLower = 2;

// A property value: not given, the CSS text, an integer (pixels, colours,
// codes) or a real (font sizes in points).
using TPropValue = std::variant<std::monostate, std::string, int, double>;
inline bool IsEmpty(const TPropValue& v) { return std::holds_alternative<std::monostate>(v); }
inline const std::string* AsText(const TPropValue& v) { return std::get_if<std::string>(&v); }
inline const int* AsInt(const TPropValue& v) { return std::get_if<int>(&v); }
inline const double* AsReal(const TPropValue& v) { return std::get_if<double>(&v); }

// Colours.
enum class THashRule : uint8_t { Optional, Required };
// Parses a colour text (names, #rgb, #rrggbb, rgb(), bare hex when allowed).
std::optional<TColor> ParseColor(std::string_view text, THashRule hash = THashRule::Optional);
// Number of entries in the named colour list.
int NamedColorCount();

// Font sizes are kept within 0..MaxFontPoints.
constexpr double MaxFontPoints = 5000;
// Font size text to points, against the parent's size in points.
double FontSizeToPoints(std::string_view text, double parentPoints);
// Length text to pixels. Numbers without a unit are multiples of base when
// unitless is Multiple (line-height), else pixels.
enum class TUnitless : uint8_t { Pixels, Multiple };
int LengthToPixels(std::string_view text, int percentBase, int defaultValue, int emSize, int exSize,
                   TUnitless unitless = TUnitless::Pixels);

// False for a declaration whose value this reader cannot use (an unknown
// unit, a keyword that is not a size, newer CSS functions such as var()):
// such a declaration is dropped rather than stored, so the value it would
// have replaced stays in force.
bool IsUsableDeclaration(int index, std::string_view value);
// "inherit", "initial" and "unset": values the cascade resolves for any property.
bool IsCascadeKeyword(std::string_view value);

// serif, monospace, sans-serif, cursive to the fonts asked for; others unchanged.
std::string_view GenericFamilyFont(std::string_view family);
// Code page of a character set, or nullopt when the set is not listed.
std::optional<int> CodePageOfCharset(int charset);

// FONT SIZE 1..7 in points for normal and PRE text, for a default size in points.
enum class TFontTable : uint8_t { Normal, Pre };
double FontSizeTable(TFontTable table, int size, double defaultPoints);

// List style names (list-style-type codes are their positions).
enum class TListStyle : uint8_t { Blank, Circle, Decimal, Disc, LowerAlpha, LowerRoman, None, Square, UpperAlpha, UpperRoman };
extern const std::array<std::string_view, 10> ListStyleNames;
// Border style names, codes 0..8.
enum class TBorderStyle : uint8_t { None, Solid, Inset, Outset, Groove, Ridge, Dashed, Dotted, Double };
extern const std::array<std::string_view, 9> BorderStyleNames;
std::optional<TBorderStyle> BorderStyleOf(std::string_view name);

// Text helpers shared by the style classes and the sheet parser.
std::string LowerCase(std::string_view text);
std::string_view Trim(std::string_view text);
// Without one pair of matching surrounding quotes (double or single).
std::string_view Unquote(std::string_view text);
inline bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// The module state: one per process, as the reader is not re-entrant.
struct TStyleModule {
    TCanvas* screen = nullptr;     // fonts are created and measured on it
    int pixelsPerInch = 96;        // of the screen
    double defaultFontSize = 12;   // D, the reference for font size keywords
    double rootFontSize = 12;      // points of the document's root element, what "rem" is
    int zoom = 100;                // percent the reader magnifies every font by
    int nextSequence = 0;          // property set sequence numbers
    uint64_t nextStamp = 0;        // property set stamps and style list generations
    // One-entry colour cache.
    std::string lastColorText;
    THashRule lastColorHash = THashRule::Optional;
    std::optional<TColor> lastColor;
    bool colorCached = false;
    // Font-family lists already resolved against the screen's fonts: a sheet
    // names the same long list for thousands of elements, and asking the
    // screen for every entry each time costs more than the cascade.
    // Emptied whenever the screen is set and when a document starts.
    std::unordered_map<std::string, std::string> resolvedFamilies;
};
TStyleModule& StyleModule();
// The viewer's screen: fonts are created on it and its resolution used.
void SetStyleScreen(TCanvas* screen);
// The pixel height of a font of this many points on the screen, at the zoom.
int FontPixelsOf(double points);
