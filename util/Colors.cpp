#include "util/Colors.h"

#include <array>
#include <cstdio>
#include <strings.h>

#include "util/TIniFile.h"

namespace {

struct ColorName {
    const char* name;
    TColor value;
};

constexpr std::array<ColorName, 41> colorNames = {{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clScrollBar", ClSystemBase + 0},
    {"clBackground", ClSystemBase + 1},
    {"clActiveCaption", ClSystemBase + 2},
    {"clInactiveCaption", ClSystemBase + 3},
    {"clMenu", ClSystemBase + 4},
    {"clWindow", ClSystemBase + 5},
    {"clWindowFrame", ClSystemBase + 6},
    {"clMenuText", ClSystemBase + 7},
    {"clWindowText", ClSystemBase + 8},
    {"clCaptionText", ClSystemBase + 9},
    {"clActiveBorder", ClSystemBase + 10},
    {"clInactiveBorder", ClSystemBase + 11},
    {"clAppWorkSpace", ClSystemBase + 12},
    {"clHighlight", ClSystemBase + 13},
    {"clHighlightText", ClSystemBase + 14},
    {"clBtnFace", ClSystemBase + 15},
    {"clBtnShadow", ClSystemBase + 16},
    {"clGrayText", ClSystemBase + 17},
    {"clBtnText", ClSystemBase + 18},
    {"clInactiveCaptionText", ClSystemBase + 19},
    {"clBtnHighlight", ClSystemBase + 20},
    {"cl3DDkShadow", ClSystemBase + 21},
    {"cl3DLight", ClSystemBase + 22},
    {"clInfoText", ClSystemBase + 23},
    {"clInfoBk", ClSystemBase + 24},
}};

} // namespace

std::string ColorToString(TColor color)
{
    for (const auto& entry : colorNames) {
        if (entry.value == color)
            return entry.name;
    }
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", unsigned(color));
    return text;
}

std::optional<TColor> StringToColor(std::string_view text)
{
    for (const auto& entry : colorNames) {
        if (text.size() == std::char_traits<char>::length(entry.name)
            && ::strncasecmp(text.data(), entry.name, text.size()) == 0)
            return entry.value;
    }
    auto number = ParseIntegerText(text);
    if (!number || *number < -2147483648LL || *number > 0xFFFFFFFFLL)
        return std::nullopt;
    return TColor(uint32_t(*number));
}
