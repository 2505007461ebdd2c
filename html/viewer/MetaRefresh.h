#pragma once
// The content of a refresh meta tag: "5; url=next.htm".
#include <optional>
#include <string>
#include <string_view>

struct TMetaRefresh {
    int delay = 0;   // seconds, at least 1
    std::string url; // empty: the document itself
};

// Delay = the number before the first ";" (or the whole content), 0 counting
// as 1; no value when that is not a number. URL = the text after "url="
// (any case), trimmed.
std::optional<TMetaRefresh> ParseMetaRefresh(std::string_view content);
