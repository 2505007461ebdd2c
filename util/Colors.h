#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// 0x00BBGGRR; 0x02000000 marks a palette-relative colour; 0x80000000 + n is
// system colour n; ClNone means no colour.
using TColor = uint32_t;
constexpr TColor ClNone = 0x1FFFFFFF;
constexpr TColor ClPaletteFlag = 0x02000000;
constexpr TColor ClSystemBase = 0x80000000;

constexpr TColor RGBColor(int r, int g, int b)
{
    return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int RedOf(TColor c) { return int(c & 0xFF); }
constexpr int GreenOf(TColor c) { return int((c >> 8) & 0xFF); }
constexpr int BlueOf(TColor c) { return int((c >> 16) & 0xFF); }
constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000) == ClSystemBase; }

// The settings file's colour text: an identifier ("clRed", "clBtnFace") when the
// value has one, else "$" + eight upper-case hex digits.
std::string ColorToString(TColor color);
// Reads an identifier (any letter case) or an integer text (decimal or "$" hex).
std::optional<TColor> StringToColor(std::string_view text);
