#pragma once
// Letter case of document text (Latin, Latin-1, Greek and Cyrillic letters),
// for text-transform, small caps and case-insensitive search.
#include <string>
#include <string_view>

char16_t LowerChar(char16_t c);
char16_t UpperChar(char16_t c);
bool IsLowerLetter(char16_t c);
std::u16string LowerText(std::u16string_view text);
