#pragma once
// Steps over one piece of a page's markup: a tag, a comment, or a tag with
// the content no reader sees (script, style, title).
#include <cstddef>
#include <string_view>

#include "search/ByteFinding.h"

struct TMarkupEnd {
    size_t end;     // the first byte after the markup; the end of the bytes for a tag they cut short
    bool separates; // whether it separates words ("<b>c</b>at" reads "cat", "<p>c</p>at" does not)
};

// The markup that starts at raw[pos] (a '<').
TMarkupEnd SkipMarkup(std::string_view raw, size_t pos);

// Where the markup that starts at raw[pos] ends, the same as SkipMarkup but
// quicker: most tags need no name read. Stepping over tags is most of what a
// skim of a page does, so this is inline.
inline size_t MarkupEnd(std::string_view raw, size_t pos)
{
    // Only comments and the tags whose content is hidden (SCRIPT, STYLE,
    // TITLE) end anywhere but at the next '>'.
    const char first = pos + 1 < raw.size() ? char(raw[pos + 1] | 0x20) : '\0';
    const char second = pos + 2 < raw.size() ? char(raw[pos + 2] | 0x20) : '\0';
    if (first == '!' || (first == 's' && (second == 'c' || second == 't')) || (first == 't' && second == 'i'))
        return SkipMarkup(raw, pos).end;
    const size_t gt = FindByteFrom(raw, pos, '>');
    return gt == std::string_view::npos ? raw.size() : gt + 1;
}
// Whether the markup that starts at raw[pos] separates words.
bool SeparatesWords(std::string_view raw, size_t pos);
