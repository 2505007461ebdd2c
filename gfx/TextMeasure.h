#pragma once
// Measuring from per-unit advances, shared by the fonts of every canvas so
// that all of them count the same way. unitWidth(text, i) answers the advance
// of the 16-bit unit at i.
#include <string_view>
#include <vector>

inline bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
// Whether the unit at i is the second half of a surrogate pair.
inline bool IsPairTail(std::u16string_view text, size_t i)
{
    return IsLowSurrogate(text[i]) && i > 0 && IsHighSurrogate(text[i - 1]);
}

template <class UnitWidth>
int SumUnitWidths(std::u16string_view text, const UnitWidth& unitWidth)
{
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i)
        width += unitWidth(text, i);
    return width;
}

// The fitting count of TFont::fitCount: extents get every fitting unit and the
// first one that does not fit.
template <class UnitWidth>
int FitUnits(std::u16string_view text, int maxWidth, std::vector<int>* extents, int characterExtra,
             const UnitWidth& unitWidth)
{
    if (extents)
        extents->clear();
    int width = 0;
    int fitting = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        width += unitWidth(text, i) + characterExtra;
        if (extents)
            extents->push_back(width);
        if (width > maxWidth)
            break;
        fitting = int(i) + 1;
    }
    return fitting;
}
