#pragma once
#include <cctype>
#include <string>
#include <string_view>

// The text with its ASCII letters in lower case; other bytes unchanged.
inline std::string AsciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}
