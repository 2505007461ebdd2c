#pragma once
// Passages of a hit's visible text around the first matches of the search
// strings, with the matched words marked, as the results page shows them
// under each hit. Cut from the bytes the matcher already holds: nothing is
// read again.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "search/Matcher.h"

struct TPassage {
    std::string Text; // UTF-8 plain text
    // Byte ranges [first, second) of Text that are matches, in order, apart.
    std::vector<std::pair<size_t, size_t>> Matches;
};

struct TPassageRules {
    bool CaseSense = false;
    // Whether letters outside ASCII also match in their other case (the
    // search that seeks every stored form); else they compare as they are.
    bool FoldAllLetters = true;
    TWordRules Word;
    size_t MaxPassages = 3;
    size_t Width = 160; // characters of a passage, about
};

// What a reader sees of the bytes, as UTF-8: with markup, the text between
// tags without comments, scripts and styles; references decoded; every run
// of white space one space.
std::string VisibleText(std::string_view raw, int codePage, bool markup);

// Up to MaxPassages passages of the visible text around the first matches of
// the search strings (in the order they occur), each cut at word boundaries
// ("..." where the text goes on), every match inside marked.
std::vector<TPassage> FindPassages(
    std::string_view visible, const std::vector<std::string>& searchStrings, const TPassageRules& rules);

// The passages of a page's (or text file's) bytes: FindPassages over their
// visible text, reading only as much of the bytes as they need. `upper`, when
// given, is the bytes with their ASCII letters upper-cased (the same length),
// which spares upper-casing them again.
std::vector<TPassage> PagePassages(std::string_view raw, int codePage, bool markup,
    const std::vector<std::string>& searchStrings, const TPassageRules& rules, std::string_view upper = {});
