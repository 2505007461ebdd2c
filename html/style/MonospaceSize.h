#pragma once
// The smaller default size of monospace text. Only text whose family is
// exactly the generic monospace (or the default sheet's own fixed-pitch font)
// gets it, and only where its parent's text is not monospace already: a
// named font before "monospace" keeps the size, and CODE inside PRE is not
// made smaller a second time.
#include <optional>
#include <string_view>

#include "html/style/StyleValues.h"

struct TMonospaceContext {
    std::string_view tag;
    const TPropValue& family;
    const TPropValue* parentFamily; // null at the top
    bool sizeSetHere;               // a rule or STYLE attribute gave the size
    std::string_view preFontName;   // the default sheet's fixed-pitch font
};

// The font size text to use instead of the inherited size, or nothing.
std::optional<TPropValue> MonospaceDefaultSize(const TMonospaceContext& context, double defaultPoints);

// Whether a font-family value is the default monospace family.
bool IsDefaultMonospace(const TPropValue& family, std::string_view preFontName);
