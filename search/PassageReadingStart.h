#pragma once
// Where the reading of a page for its passages may begin: most pages hold a
// long head and navigation before their first match, and reading them into
// visible text costs far more than stepping over their markup.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

inline constexpr size_t NoSpelledMatch = std::string_view::npos;

// A place in the text between tags (0 = the start) that leaves at least
// `context` bytes of text before the first place where one of the search
// strings is spelled out in the text, or NoSpelledMatch when none is. Only
// strings of plain ASCII (no markup, references or white space) are looked
// for; with any other the answer is 0. Without caseSense the
// bytes compare in either ASCII case.
size_t PassageReadingStart(std::string_view raw, bool markup, const std::vector<std::string>& searchStrings,
    bool caseSense, size_t context);
