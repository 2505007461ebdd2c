#include "html/style/StyleValues.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <vector>

#include "gfx/TCanvas.h"
#include "html/style/ValueFunctions.h"

const std::array<std::string_view, PropCount> PropertyNames = {
    "font-family", "font-size", "font-style", "font-weight", "text-align", "text-decoration",
    "letter-spacing", "border-style", "color", "background-color", "border-color",
    "margin-top", "margin-right", "margin-bottom", "margin-left",
    "padding-top", "padding-right", "padding-bottom", "padding-left",
    "border-top-width", "border-right-width", "border-bottom-width", "border-left-width",
    "border-top-color", "border-right-color", "border-bottom-color", "border-left-color",
    "border-top-style", "border-right-style", "border-bottom-style", "border-left-style",
    "width", "height", "top", "left", "visibility", "line-height", "background-image",
    "background-position", "background-repeat", "background-attachment", "vertical-align",
    "position", "z-index", "list-style-type", "list-style-image", "float", "clear",
    "text-indent", "page-break-before", "page-break-after", "page-break-inside",
    "text-transform", "font-variant", "display",
    // ---- box layout properties
    "right", "bottom", "min-width", "max-width", "min-height", "max-height", "box-sizing", "overflow",
    "white-space", "overflow-wrap",
    // ---- end of box layout properties
    // ---- arrangement properties
    "flex-direction", "flex-wrap", "flex-grow", "flex-shrink", "flex-basis", "justify-content", "align-items",
    "align-self", "order", "row-gap", "column-gap", "grid-template-columns", "border-collapse", "align-content",
    // ---- end of arrangement properties
};

const std::array<std::string_view, 10> ListStyleNames = {
    "blank", "circle", "decimal", "disc", "lower-alpha", "lower-roman", "none", "square", "upper-alpha", "upper-roman",
};

const std::array<std::string_view, 9> BorderStyleNames = {
    "none", "solid", "inset", "outset", "groove", "ridge", "dashed", "dotted", "double",
};

int PropertyIndex(std::string_view name)
{
    for (int i = 0; i < PropCount; ++i)
        if (PropertyNames[i] == name)
            return i;
    // ---- box layout properties: older and one-axis names of the same values
    if (name == "word-wrap")
        return piOverflowWrap;
    if (name == "overflow-x")
        return piOverflow;
    // ---- end of box layout properties
    // ---- arrangement properties: the older grid names of the gaps
    if (name == "grid-row-gap")
        return piRowGap;
    if (name == "grid-column-gap")
        return piColumnGap;
    // ---- end of arrangement properties
    return -1;
}

std::optional<TBorderStyle> BorderStyleOf(std::string_view name)
{
    for (size_t i = 0; i < BorderStyleNames.size(); ++i)
        if (BorderStyleNames[i] == name)
            return TBorderStyle(i);
    return std::nullopt;
}

std::string LowerCase(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return result;
}

std::string_view Trim(std::string_view text)
{
    // Control characters count as white space, as in the CSS texts we read.
    size_t first = 0;
    while (first < text.size() && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    size_t last = text.size();
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.substr(first, last - first);
}

std::string_view Unquote(std::string_view text)
{
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        return text.substr(1, text.size() - 2);
    return text;
}

TStyleModule& StyleModule()
{
    static TStyleModule module;
    return module;
}

void SetStyleScreen(TCanvas* screen)
{
    TStyleModule& module = StyleModule();
    module.screen = screen;
    module.resolvedFamilies.clear();
    module.pixelsPerInch = screen ? screen->pixelsPerInchY() : 96;
    if (module.pixelsPerInch <= 0)
        module.pixelsPerInch = 96;
}

int FontPixelsOf(double points)
{
    const TStyleModule& module = StyleModule();
    return std::max(1, int(std::nearbyint(module.pixelsPerInch * points * module.zoom / (72.0 * 100))));
}

// ---------------------------------------------------------------- colours

namespace {

struct TNamedColor {
    std::string_view name;
    TColor value;
};

// Named colours as 0xRRGGBB, converted to our 0x00BBGGRR when the list is built.
constexpr TNamedColor WebColors[] = {
    {"aliceblue", 0xF0F8FF},
    {"antiquewhite", 0xFAEBD7},
    {"aqua", 0x00FFFF},
    {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF},
    {"beige", 0xF5F5DC},
    {"bisque", 0xFFE4C4},
    {"black", 0x000000},
    {"blanchedalmond", 0xFFEBCD},
    {"blue", 0x0000FF},
    {"blueviolet", 0x8A2BE2},
    {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887},
    {"cadetblue", 0x5F9EA0},
    {"chartreuse", 0x7FFF00},
    {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50},
    {"cornflowerblue", 0x6495ED},
    {"cornsilk", 0xFFF8DC},
    {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF},
    {"darkblue", 0x00008B},
    {"darkcyan", 0x008B8B},
    {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9},
    {"darkgreen", 0x006400},
    {"darkgrey", 0xA9A9A9},
    {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B},
    {"darkolivegreen", 0x556B2F},
    {"darkorange", 0xFF8C00},
    {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000},
    {"darksalmon", 0xE9967A},
    {"darkseagreen", 0x8FBC8F},
    {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F},
    {"darkslategrey", 0x2F4F4F},
    {"darkturquoise", 0x00CED1},
    {"darkviolet", 0x9400D3},
    {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF},
    {"dimgray", 0x696969},
    {"dimgrey", 0x696969},
    {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222},
    {"floralwhite", 0xFFFAF0},
    {"forestgreen", 0x228B22},
    {"fuchsia", 0xFF00FF},
    {"gainsboro", 0xDCDCDC},
    {"ghostwhite", 0xF8F8FF},
    {"gold", 0xFFD700},
    {"goldenrod", 0xDAA520},
    {"gray", 0x808080},
    {"grey", 0x808080},
    {"green", 0x008000},
    {"greenyellow", 0xADFF2F},
    {"honeydew", 0xF0FFF0},
    {"hotpink", 0xFF69B4},
    {"indianred", 0xCD5C5C},
    {"indigo", 0x4B0082},
    {"ivory", 0xFFFFF0},
    {"khaki", 0xF0E68C},
    {"lavender", 0xE6E6FA},
    {"lavenderblush", 0xFFF0F5},
    {"lawngreen", 0x7CFC00},
    {"lemonchiffon", 0xFFFACD},
    {"lightblue", 0xADD8E6},
    {"lightcoral", 0xF08080},
    {"lightcyan", 0xE0FFFF},
    {"lightgoldenrodyellow", 0xFAFAD2},
    {"lightgray", 0xD3D3D3},
    {"lightgreen", 0x90EE90},
    {"lightgrey", 0xD3D3D3},
    {"lightpink", 0xFFB6C1},
    {"lightsalmon", 0xFFA07A},
    {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA},
    {"lightslategray", 0x778899},
    {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xB0C4DE},
    {"lightyellow", 0xFFFFE0},
    {"lime", 0x00FF00},
    {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6},
    {"magenta", 0xFF00FF},
    {"maroon", 0x800000},
    {"mediumaquamarine", 0x66CDAA},
    {"mediumblue", 0x0000CD},
    {"mediumorchid", 0xBA55D3},
    {"mediumpurple", 0x9370DB},
    {"mediumseagreen", 0x3CB371},
    {"mediumslateblue", 0x7B68EE},
    {"mediumspringgreen", 0x00FA9A},
    {"mediumturquoise", 0x48D1CC},
    {"mediumvioletred", 0xC71585},
    {"midnightblue", 0x191970},
    {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1},
    {"moccasin", 0xFFE4B5},
    {"navajowhite", 0xFFDEAD},
    {"navy", 0x000080},
    {"oldlace", 0xFDF5E6},
    {"olive", 0x808000},
    {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500},
    {"orangered", 0xFF4500},
    {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA},
    {"palegreen", 0x98FB98},
    {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xDB7093},
    {"papayawhip", 0xFFEFD5},
    {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F},
    {"pink", 0xFFC0CB},
    {"plum", 0xDDA0DD},
    {"powderblue", 0xB0E0E6},
    {"purple", 0x800080},
    {"red", 0xFF0000},
    {"rosybrown", 0xBC8F8F},
    {"royalblue", 0x4169E1},
    {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072},
    {"sandybrown", 0xF4A460},
    {"seagreen", 0x2E8B57},
    {"seashell", 0xFFF5EE},
    {"sienna", 0xA0522D},
    {"silver", 0xC0C0C0},
    {"skyblue", 0x87CEEB},
    {"slateblue", 0x6A5ACD},
    {"slategray", 0x708090},
    {"slategrey", 0x708090},
    {"snow", 0xFFFAFA},
    {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4},
    {"tan", 0xD2B48C},
    {"teal", 0x008080},
    {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0},
    {"violet", 0xEE82EE},
    {"wheat", 0xF5DEB3},
    {"white", 0xFFFFFF},
    {"whitesmoke", 0xF5F5F5},
    {"yellow", 0xFFFF00},
    {"yellowgreen", 0x9ACD32},
};

// The CSS 2 system colours, as system colour numbers.
constexpr TNamedColor SystemColorNames[] = {
    {"background", 1}, {"activecaption", 2}, {"inactivecaption", 3}, {"menu", 4}, {"window", 5},
    {"windowframe", 6}, {"menutext", 7}, {"windowtext", 8}, {"captiontext", 9}, {"activeborder", 10},
    {"inactiveborder", 11}, {"appworkspace", 12}, {"highlight", 13}, {"highlighttext", 14},
    {"buttonface", 15}, {"buttonshadow", 16}, {"graytext", 17}, {"buttontext", 18},
    {"inactivecaptiontext", 19}, {"buttonhighlight", 20}, {"threeddarkshadow", 21},
    {"threedlightshadow", 20}, {"infotext", 23}, {"infobackground", 24}, {"scrollbar", 0},
    {"threedface", 15}, {"threedhighlight", 22}, {"threedshadow", 16},
};

const std::vector<TNamedColor>& NamedColors()
{
    static const std::vector<TNamedColor> list = [] {
        std::vector<TNamedColor> colors;
        for (const TNamedColor& c : WebColors)
            colors.push_back({c.name, RGBColor(int(c.value >> 16), int((c.value >> 8) & 0xFF), int(c.value & 0xFF))});
        colors.push_back({"transparent", ClNone});
        for (const TNamedColor& c : SystemColorNames)
            colors.push_back({c.name, ClSystemBase + c.value});
        std::sort(colors.begin(), colors.end(), [](const TNamedColor& a, const TNamedColor& b) { return a.name < b.name; });
        return colors;
    }();
    return list;
}

std::optional<TColor> LookUpNamedColor(std::string_view name)
{
    const auto& colors = NamedColors();
    auto it = std::lower_bound(colors.begin(), colors.end(), name,
                               [](const TNamedColor& c, std::string_view n) { return c.name < n; });
    if (it != colors.end() && it->name == name)
        return it->value;
    return std::nullopt;
}

// Reads a leading decimal number (sign, digits, point, digits; no exponent).
// Returns the number of characters used, 0 when there is no number.
size_t ReadNumber(std::string_view text, double& value)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    double result = 0;
    bool digits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        result = result * 10 + (text[i] - '0');
        digits = true;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        size_t afterPoint = i + 1;
        double scale = 0.1;
        while (afterPoint < text.size() && std::isdigit(static_cast<unsigned char>(text[afterPoint]))) {
            result += (text[afterPoint] - '0') * scale;
            scale /= 10;
            digits = true;
            ++afterPoint;
        }
        if (digits)
            i = afterPoint;
    }
    if (!digits)
        return 0;
    // Endless digit runs in bad input stay finite.
    result = std::min(result, 1.0e30);
    value = negative ? -result : result;
    return i;
}

int RgbComponent(std::string_view part)
{
    part = Trim(part);
    double value = 0;
    size_t used = ReadNumber(part, value);
    bool wholeInteger = used == part.size() && part.find('.') == std::string_view::npos;
    if (part.find('%') != std::string_view::npos)
        value = used ? std::nearbyint(value * 255 / 100) : 0;
    else if (!wholeInteger)
        value = 0; // not an integer text
    return int(std::clamp(value, 0.0, 255.0));
}

// An alpha value: a number from 0 to 1 or a percentage.
double AlphaComponent(std::string_view part)
{
    part = Trim(part);
    double value = 1;
    if (!ReadNumber(part, value))
        return 1;
    if (part.find('%') != std::string_view::npos)
        value /= 100;
    return std::clamp(value, 0.0, 1.0);
}

// A colour seen through: laid over the white page it is mostly shown on
// (tints of code blocks, muted text); fully transparent is no colour.
TColor OverWhite(int red, int green, int blue, double alpha)
{
    if (alpha <= 0)
        return ClNone;
    auto mix = [alpha](int c) { return int(std::lround(c * alpha + 255 * (1 - alpha))); };
    return RGBColor(mix(red), mix(green), mix(blue)) | ClPaletteFlag;
}

// rgb() and rgba(), with commas or with spaces and a slash before the alpha.
TColor ParseRgbFunction(std::string_view text)
{
    size_t open = text.find('(');
    size_t close = text.find(')', open == std::string_view::npos ? 0 : open);
    std::string inside;
    if (open != std::string_view::npos)
        inside = text.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
    const bool commas = inside.find(',') != std::string::npos;
    for (char& c : inside)
        if (c == '/' || (!commas && c == ' '))
            c = ',';
    std::vector<std::string_view> parts;
    std::string_view rest = inside;
    while (parts.size() < 4) {
        size_t comma = rest.find(',');
        std::string_view part = Trim(rest.substr(0, comma));
        if (!part.empty())
            parts.push_back(part);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    int rgb[3] = {0, 0, 0};
    for (size_t i = 0; i < 3 && i < parts.size(); ++i)
        rgb[i] = RgbComponent(parts[i]);
    if (parts.size() == 4) {
        const double alpha = AlphaComponent(parts[3]);
        if (alpha < 1)
            return OverWhite(rgb[0], rgb[1], rgb[2], alpha);
    }
    return RGBColor(rgb[0], rgb[1], rgb[2]) | ClPaletteFlag;
}

std::optional<TColor> ParseHexColor(std::string_view text)
{
    size_t hash = text.rfind('#');
    if (hash != std::string_view::npos)
        text.remove_prefix(hash + 1);
    text = Trim(text);
    std::string digits;
    if (text.size() >= 1 && text.size() <= 4) { // RGB and RGBA: each digit twice
        for (char c : text)
            digits.append(2, c);
    } else {
        digits = text;
    }
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    if (digits.size() == 8) // RRGGBBAA
        return OverWhite(int(value >> 24), int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), (value & 0xFF) / 255.0);
    // RRGGBB to our blue-green-red order.
    return RGBColor(int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF)) | ClPaletteFlag;
}

std::optional<TColor> ParseColorUncached(const std::string& text, THashRule hash)
{
    bool hasHash = text.find('#') != std::string::npos;
    if (text.empty())
        return std::nullopt;
    if (text[0] != '#' && text.find("rgb(") == std::string::npos)
        if (auto named = LookUpNamedColor(text))
            return named;
    if (text.find("rgb") != std::string::npos)
        return ParseRgbFunction(text);
    if (!hasHash && hash == THashRule::Required)
        return std::nullopt;
    return ParseHexColor(text);
}

} // namespace

int NamedColorCount() { return int(NamedColors().size()); }

std::optional<TColor> ParseColor(std::string_view text, THashRule hash)
{
    TStyleModule& module = StyleModule();
    std::string key = LowerCase(Trim(text));
    // The same colour text usually comes many times in a row. The rule is part
    // of the key: "bad" is a colour only when no "#" is required.
    if (module.colorCached && key == module.lastColorText && hash == module.lastColorHash)
        return module.lastColor;
    std::optional<TColor> result = ParseColorUncached(key, hash);
    module.lastColorText = std::move(key);
    module.lastColorHash = hash;
    module.lastColor = result;
    module.colorCached = true;
    return result;
}

// ---------------------------------------------------------------- sizes

namespace {

struct TNumberAndUnit {
    double value = 0;
    bool hasNumber = false;
    std::string unit;
};

TNumberAndUnit SplitNumber(std::string_view text)
{
    TNumberAndUnit result;
    text = Trim(text);
    size_t used = ReadNumber(text, result.value);
    result.hasNumber = used > 0;
    result.unit = LowerCase(Trim(text.substr(used)));
    return result;
}

} // namespace

namespace {

double FontSizeUnclamped(std::string_view text, double parentPoints)
{
    const double d = StyleModule().defaultFontSize;
    const double ppi = StyleModule().pixelsPerInch;
    TNumberAndUnit n = SplitNumber(text);
    const std::string& u = n.unit;
    if (n.hasNumber) {
        if (u == "in") return n.value * 72;
        if (u == "cm") return n.value * 72 / 2.54;
        if (u == "mm") return n.value * 72 / 25.4;
        if (u == "pt") return n.value;
        if (u == "px" || u.empty()) return n.value * 72 / ppi;
        if (u == "pc") return n.value * 12;
        if (u == "em") return parentPoints * n.value;
        if (u == "rem") return StyleModule().rootFontSize * n.value;
        if (u == "ex") return parentPoints * n.value / 2;
        if (u == "%") return parentPoints * n.value / 100;
        return d;
    }
    if (u == "smaller") return parentPoints * 0.75;
    if (u == "larger") return parentPoints * 1.25;
    if (u == "xx-small") return d / 1.5;
    if (u == "x-small") return d / 1.2;
    if (u == "small") return d;
    if (u == "medium") return d * 1.2;
    if (u == "large") return d * 1.5;
    if (u == "x-large") return d * 2;
    if (u == "xx-large") return d * 3;
    return d;
}

} // namespace

double FontSizeToPoints(std::string_view text, double parentPoints)
{
    // Bad input must not give a size that breaks font creation.
    double points = Trim(text).starts_with("calc(")
                        ? EvaluateCalc(text, [parentPoints](double v, std::string_view u) -> std::optional<double> {
                              if (u == "%")
                                  return parentPoints * v / 100;
                              return FontSizeUnclamped(std::to_string(v) + std::string(u), parentPoints);
                          }).value_or(StyleModule().defaultFontSize)
                        : FontSizeUnclamped(text, parentPoints);
    if (!std::isfinite(points))
        return StyleModule().defaultFontSize;
    return std::clamp(points, 0.0, MaxFontPoints);
}

namespace {

// A number with a unit in pixels; nothing for an unknown unit.
std::optional<double> UnitPixels(double v, std::string_view u, int percentBase, int emSize, int exSize,
                                 TUnitless unitless)
{
    const double p = StyleModule().pixelsPerInch;
    if (u.empty()) return unitless == TUnitless::Multiple ? v * percentBase : v;
    if (u == "in") return v * p;
    if (u == "cm") return v * p / 2.54;
    if (u == "mm") return v * p / 25.4;
    if (u == "pt") return v * p / 72;
    if (u == "px") return v;
    if (u == "pc") return v * p / 6;
    if (u == "em") return v * emSize;
    if (u == "rem") return v * FontPixelsOf(StyleModule().rootFontSize);
    if (u == "ex") return v * exSize;
    if (u == "%") return percentBase * v / 100;
    return std::nullopt;
}

} // namespace

int LengthToPixels(std::string_view text, int percentBase, int defaultValue, int emSize, int exSize, TUnitless unitless)
{
    if (Trim(text).empty())
        return 0;
    std::optional<double> pixels;
    if (Trim(text).starts_with("calc(")) {
        pixels = EvaluateCalc(text, [&](double v, std::string_view u) {
            return UnitPixels(v, u, percentBase, emSize, exSize, TUnitless::Pixels);
        });
    } else {
        TNumberAndUnit n = SplitNumber(text);
        pixels = UnitPixels(n.value, n.unit, percentBase, emSize, exSize, unitless);
    }
    // Absurd lengths from bad input must not overflow the integer.
    if (!pixels || !std::isfinite(*pixels))
        return defaultValue;
    return int(std::nearbyint(std::clamp(*pixels, -1.0e8, 1.0e8))); // the default rounding mode sends halves to even
}

namespace {

bool IsLengthUnit(std::string_view unit)
{
    for (std::string_view known : {"", "in", "cm", "mm", "pt", "px", "pc", "em", "rem", "ex", "%"})
        if (unit == known)
            return true;
    return false;
}

bool IsFontSizeValue(std::string_view value)
{
    TNumberAndUnit n = SplitNumber(value);
    if (n.hasNumber)
        return IsLengthUnit(n.unit);
    for (std::string_view keyword : {"smaller", "larger", "xx-small", "x-small", "small", "medium", "large",
                                     "x-large", "xx-large"})
        if (n.unit == keyword)
            return true;
    return false;
}

bool IsLengthValue(std::string_view value, std::initializer_list<std::string_view> keywords)
{
    TNumberAndUnit n = SplitNumber(value);
    if (n.hasNumber)
        return IsLengthUnit(n.unit);
    for (std::string_view keyword : keywords)
        if (n.unit == keyword)
            return true;
    return false;
}

// Functions we read: url() and the rgb() colours. Anything else (var(),
// calc(), hsl() ...) is newer CSS we cannot evaluate.
bool HasOnlyKnownFunctions(std::string_view value)
{
    for (size_t open = value.find('('); open != std::string_view::npos; open = value.find('(', open + 1)) {
        size_t start = open;
        while (start > 0 && (std::isalnum(static_cast<unsigned char>(value[start - 1])) || value[start - 1] == '-'))
            --start;
        std::string name = LowerCase(value.substr(start, open - start));
        if (name != "url" && name != "rgb" && name != "rgba")
            return false;
    }
    return true;
}

// A calc() where the property takes a length (or a font size).
bool IsCalcValue(int index, std::string_view value)
{
    switch (index) {
    case piFontSize:
    case piMarginTop: case piMarginRight: case piMarginBottom: case piMarginLeft:
    case piWidth: case piHeight: case piTop: case piLeft:
    case piPaddingTop: case piPaddingRight: case piPaddingBottom: case piPaddingLeft:
    case piBorderTopWidth: case piBorderRightWidth: case piBorderBottomWidth: case piBorderLeftWidth:
    case piLineHeight: case piLetterSpacing: case piTextIndent:
        return IsCalcOf(value, {"in", "cm", "mm", "pt", "px", "pc", "em", "rem", "ex", "%"});
    default:
        return false;
    }
}

} // namespace

bool IsCascadeKeyword(std::string_view value) { return value == "inherit" || value == "initial" || value == "unset"; }

bool IsUsableDeclaration(int index, std::string_view value)
{
    value = Trim(value);
    if (value.empty())
        return false;
    if (IsCascadeKeyword(value) || Contains(value, "var("))
        return true; // resolved by the cascade for each element
    // ---- arrangement properties: track lists have functions of their own
    if (index == piGridTemplateColumns)
        return !Contains(value, "calc(");
    // ---- end of arrangement properties
    if (value.starts_with("calc("))
        return IsCalcValue(index, value);
    if (!HasOnlyKnownFunctions(value) || value == "revert")
        return false;
    switch (index) {
    case piFontSize:
        return IsFontSizeValue(value);
    case piMarginTop: case piMarginRight: case piMarginBottom: case piMarginLeft:
    case piWidth: case piHeight: case piTop: case piLeft:
        return IsLengthValue(value, {"auto"});
    case piPaddingTop: case piPaddingRight: case piPaddingBottom: case piPaddingLeft:
        return IsLengthValue(value, {});
    case piBorderTopWidth: case piBorderRightWidth: case piBorderBottomWidth: case piBorderLeftWidth:
        return IsLengthValue(value, {"thin", "medium", "thick"});
    case piLineHeight: case piLetterSpacing:
        return IsLengthValue(value, {"normal"});
    case piTextIndent:
        return IsLengthValue(value, {});
    // ---- box layout properties
    case piRight: case piBottom: case piMinWidth: case piMinHeight:
        return IsLengthValue(value, {"auto"});
    case piMaxWidth: case piMaxHeight:
        return IsLengthValue(value, {"none"});
    // ---- end of box layout properties
    // ---- arrangement properties
    case piFlexBasis:
        return IsLengthValue(value, {"auto", "content"});
    case piRowGap: case piColumnGap:
        return IsLengthValue(value, {"normal"});
    // ---- end of arrangement properties
    default:
        return true;
    }
}

std::string_view GenericFamilyFont(std::string_view family)
{
    if (family == "serif") return "Times New Roman";
    if (family == "monospace") return "Courier New";
    if (family == "sans-serif") return "Arial";
    if (family == "cursive") return "Lucida Handwriting";
    return family;
}

std::optional<int> CodePageOfCharset(int charset)
{
    static constexpr std::pair<int, int> Table[] = {
        {0, 1252}, {1, 0}, {2, 0}, {77, 2}, {128, 932}, {129, 949}, {130, 1361}, {134, 936}, {136, 950},
        {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251},
        {222, 874}, {238, 1250}, {255, 1},
    };
    for (auto [set, page] : Table)
        if (set == charset)
            return page;
    return std::nullopt;
}

double FontSizeTable(TFontTable table, int size, double defaultPoints)
{
    static constexpr double Normal[7] = {8, 10, 12, 14, 18, 24, 36};
    static constexpr double Pre[7] = {7, 8, 10, 12, 15, 20, 30};
    size = std::clamp(size, 1, 7);
    const double* base = table == TFontTable::Pre ? Pre : Normal;
    return base[size - 1] * defaultPoints / 12;
}
