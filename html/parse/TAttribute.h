#pragma once
// One attribute of the current tag.
#include "html/parse/THtmlSymbol.h"

#include <cstdint>
#include <string>

class TAttribute {
public:
    TAttribute() = default;
    TAttribute(THtmlSymbol which, int32_t value, std::string name, std::string text)
        : Which(which), Value(value), Name(std::move(name)), Text(std::move(text))
    {
    }

    THtmlSymbol Which = UnknownAttrSym;
    int32_t Value = 0;   // the value as an integer (1 for a bare BORDER), else 0
    std::string Name;    // as read, upper-case
    std::string Text;    // the value with its character references decoded
};
