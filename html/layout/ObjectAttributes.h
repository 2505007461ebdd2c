#pragma once
#include "util/Utilities.h"
// Reading the attributes of images, panels, rules and form controls.
#include <optional>
#include <string>
#include <string_view>

#include "html/parse/TAttributeList.h"

// The attribute's text, or empty.
std::string AttrText(const TAttributeList& attrs, THtmlSymbol which);
bool HasAttr(const TAttributeList& attrs, THtmlSymbol which);
// The leading integer of the attribute's text (sign allowed, spaces skipped);
// nothing when absent or unreadable.
std::optional<int> AttrInt(const TAttributeList& attrs, THtmlSymbol which);
// The leading integer of a text, saturated to the int range.
std::optional<int> LeadingInt(std::string_view text);

// A WIDTH or HEIGHT: pixels, or a percentage when written with "%".
struct TAttrLength {
    int value = 0;
    bool percent = false;
};
std::optional<TAttrLength> AttrLength(const TAttributeList& attrs, THtmlSymbol which);

std::string UpperTrim(std::string_view text);
std::string LowerText(std::string_view text);
