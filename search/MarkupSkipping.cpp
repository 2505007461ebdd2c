#include "search/MarkupSkipping.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr size_t npos = std::string_view::npos;

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// A tag name of at most eight letters, upper-cased, packed into one number so
// the names this code looks for compare without a string comparison.
constexpr uint64_t PackedName(std::string_view upper)
{
    uint64_t packed = 0;
    for (char c : upper)
        packed = packed << 8 | uint8_t(c);
    return packed;
}

constexpr uint64_t LongName = ~uint64_t(0); // no tag this code looks for

// The packed upper-cased name of the tag that starts at raw[pos] ("<b", "</b").
uint64_t TagNameAt(std::string_view raw, size_t pos)
{
    size_t start = pos + 1;
    if (start < raw.size() && raw[start] == '/')
        ++start;
    const auto isNameCharacter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    uint64_t packed = 0;
    size_t n = 0;
    for (size_t i = start; i < raw.size() && isNameCharacter(raw[i]); ++i, ++n) {
        if (n == 8)
            return LongName;
        packed = packed << 8 | uint8_t(AsciiUpper(raw[i])); // tag names are ASCII: no locale lookup
    }
    return packed;
}

// Tags that sit inside a word ("<b>c</b>at" reads "cat"); any other tag
// separates words.
bool IsInlineTag(uint64_t name)
{
    static constexpr auto inlineTags = [] {
        std::array<uint64_t, 23> tags = { PackedName("A"), PackedName("ABBR"), PackedName("B"), PackedName("BIG"),
            PackedName("CITE"), PackedName("CODE"), PackedName("DFN"), PackedName("EM"), PackedName("FONT"),
            PackedName("I"), PackedName("KBD"), PackedName("MARK"), PackedName("Q"), PackedName("S"),
            PackedName("SMALL"), PackedName("SPAN"), PackedName("STRIKE"), PackedName("STRONG"), PackedName("SUB"),
            PackedName("SUP"), PackedName("TT"), PackedName("U"), PackedName("VAR") };
        std::sort(tags.begin(), tags.end());
        return tags;
    }();
    return std::binary_search(inlineTags.begin(), inlineTags.end(), name);
}

// A script's, style's or title's content is no text of the page.
std::string_view HiddenContentTag(uint64_t name)
{
    if (name == PackedName("SCRIPT"))
        return "SCRIPT";
    if (name == PackedName("STYLE"))
        return "STYLE";
    if (name == PackedName("TITLE"))
        return "TITLE";
    return {};
}

// The next end tag "</NAME" (any letter case) at or after from.
size_t FindEndTag(std::string_view text, std::string_view upperName, size_t from)
{
    for (size_t pos = text.find("</", from); pos != npos; pos = text.find("</", pos + 2)) {
        if (pos + 2 + upperName.size() > text.size())
            return npos;
        size_t i = 0;
        while (i < upperName.size() && AsciiUpper(text[pos + 2 + i]) == upperName[i])
            ++i;
        if (i == upperName.size())
            return pos;
    }
    return npos;
}

} // namespace

TMarkupEnd SkipMarkup(std::string_view raw, size_t pos)
{
    if (raw.size() - pos >= 4 && raw[pos + 1] == '!' && raw[pos + 2] == '-' && raw[pos + 3] == '-') {
        const size_t end = raw.find("-->", pos + 4);
        return { end == npos ? raw.size() : end + 3, true };
    }
    const uint64_t name = TagNameAt(raw, pos);
    const bool opening = pos + 1 < raw.size() && raw[pos + 1] != '/';
    const size_t gt = raw.find('>', pos);
    if (gt == npos)
        return { raw.size(), false };
    const bool separates = !IsInlineTag(name);
    const std::string_view hidden = HiddenContentTag(name);
    if (!hidden.empty() && opening && raw[gt - 1] != '/') {
        const size_t close = FindEndTag(raw, hidden, gt + 1);
        return { close == npos ? raw.size() : close, separates };
    }
    return { gt + 1, separates };
}

bool SeparatesWords(std::string_view raw, size_t pos)
{
    if (raw.size() - pos >= 4 && raw[pos + 1] == '!' && raw[pos + 2] == '-' && raw[pos + 3] == '-')
        return true;
    return !IsInlineTag(TagNameAt(raw, pos));
}
