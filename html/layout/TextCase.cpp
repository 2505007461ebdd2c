#include "html/layout/TextCase.h"

char16_t LowerChar(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9) ||
        (c >= 0x410 && c <= 0x42F))
        return char16_t(c + 32);
    if (c >= 0x400 && c <= 0x40F)
        return char16_t(c + 80);
    return c;
}

char16_t UpperChar(char16_t c)
{
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F))
        return char16_t(c - 32);
    if (c >= 0x450 && c <= 0x45F)
        return char16_t(c - 80);
    return c;
}

bool IsLowerLetter(char16_t c) { return UpperChar(c) != c; }

std::u16string LowerText(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& c : out)
        c = LowerChar(c);
    return out;
}
