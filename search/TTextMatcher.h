#pragma once
// The search strings sought in text as a reader sees it (decoded characters,
// not the bytes of the file), under the search's rules: letter case, whole
// words, and, when every stored form is sought, the other case of letters
// outside ASCII. Passages on the results page and the marks in an opened
// page find the same words this way.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "search/Matcher.h"

struct TTextMatchRules {
    bool CaseSense = false;
    // Whether letters outside ASCII also match in their other case (the
    // search that seeks every stored form); else they compare as they are.
    bool FoldAllLetters = true;
    TWordRules Word;
};

struct TTextMatch {
    size_t pos;
    size_t length;
};

class TTextMatcher {
public:
    // The strings are UTF-8 (a byte that is not UTF-8 is read as
    // Windows-1252); empty ones are never found. The rules' character sets
    // are borrowed and must outlive the matcher.
    TTextMatcher(const std::vector<std::string>& searchStrings, const TTextMatchRules& rules);

    // The text brought to the form comparisons use (same length).
    std::u32string Fold(std::u32string text);
    // Appends the text in folded form to folded.
    void AppendFolded(std::u32string_view text, std::u32string& folded) const;

    // The matches in folded text that start in [from, to): at most `limit`
    // per string, ordered by position, the longer first where two start
    // together. The text's first and last characters stand on word
    // boundaries, so a caller looking at a piece of a longer text gives it a
    // character of context on each side.
    std::vector<TTextMatch> Find(std::u32string_view folded, size_t from, size_t to, size_t limit) const;
    // The same, for a caller that looks at a growing text a piece at a time:
    // budget[i] is how many more matches of the i-th string it takes, and
    // goes down by those found.
    std::vector<TTextMatch> Find(std::u32string_view folded, size_t from, size_t to, std::vector<size_t>& budget) const;
    size_t StringCount() const { return FNeedles.size(); }

    // Whether a string starts at or after `from` in the folded text, whole or
    // cut short by its end, word boundaries aside: what more text could
    // still make a match of.
    bool MayStartAt(std::u32string_view folded, size_t from) const;

    // The length of the longest string, in characters.
    size_t LongestString() const { return FLongest; }
    bool Empty() const { return FLongest == 0; }

private:
    char32_t FoldOne(char32_t c) const;
    bool StandsOnBoundaries(std::u32string_view text, const TTextMatch& m) const;

    TTextMatchRules FRules;
    std::vector<std::u32string> FNeedles;
    size_t FLongest = 0;
    bool FAsciiNeedles = true; // every string is ASCII
};

// The code points of UTF-8 text (a byte that is not UTF-8 read as Windows-1252).
std::u32string CodePointsOf(std::string_view utf8);
