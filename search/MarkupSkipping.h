#pragma once
// Steps over one piece of a page's markup: a tag, a comment, or a tag with
// the content no reader sees (script, style, title).
#include <cstddef>
#include <string_view>

struct TMarkupEnd {
    size_t end;     // the first byte after the markup; the end of the bytes for a tag they cut short
    bool separates; // whether it separates words ("<b>c</b>at" reads "cat", "<p>c</p>at" does not)
};

// The markup that starts at raw[pos] (a '<').
TMarkupEnd SkipMarkup(std::string_view raw, size_t pos);

// Where the markup that starts at raw[pos] ends, the same as SkipMarkup but
// quicker: most tags need no name read.
size_t MarkupEnd(std::string_view raw, size_t pos);
// Whether the markup that starts at raw[pos] separates words.
bool SeparatesWords(std::string_view raw, size_t pos);
