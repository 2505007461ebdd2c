#include "html/layout/ObjectAttributes.h"

#include "util/AsciiCase.h"

#include <algorithm>
#include <cctype>
#include <climits>

std::string AttrText(const TAttributeList& attrs, THtmlSymbol which)
{
    const TAttribute* a = attrs.Find(which);
    return a ? a->Text : std::string();
}

bool HasAttr(const TAttributeList& attrs, THtmlSymbol which) { return attrs.Find(which) != nullptr; }

std::optional<int> LeadingInt(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i])))
        return std::nullopt;
    long long v = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        v = std::min<long long>(v * 10 + (text[i] - '0'), INT_MAX);
    return int(negative ? -v : v);
}

std::optional<int> AttrInt(const TAttributeList& attrs, THtmlSymbol which)
{
    const TAttribute* a = attrs.Find(which);
    if (!a)
        return std::nullopt;
    return LeadingInt(a->Text);
}

std::optional<TAttrLength> AttrLength(const TAttributeList& attrs, THtmlSymbol which)
{
    const TAttribute* a = attrs.Find(which);
    if (!a)
        return std::nullopt;
    auto v = LeadingInt(a->Text);
    if (!v)
        return std::nullopt;
    return TAttrLength{*v, a->Text.find('%') != std::string::npos};
}

std::string UpperTrim(std::string_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1])))
        --e;
    std::string out(text.substr(b, e - b));
    for (char& c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string LowerText(std::string_view text) { return AsciiLower(text); }

