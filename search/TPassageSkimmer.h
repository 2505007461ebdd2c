#pragma once
// Where the reading of a page for its passages may begin, and where it may
// go on after the text around a match: most pages hold a long head and
// navigation before their first match, and stretches of text between their
// matches, and reading those into visible text costs far more than stepping
// over their markup to the next place a search string is spelled out.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "search/TOpenWord.h"

inline constexpr size_t NoSpelledMatch = std::string_view::npos;
// Longer strings are not looked for in the bytes.
inline constexpr size_t LongestSkimmedString = 200;

class TPassageSkimmer {
public:
    // Only strings of plain ASCII (no markup, references or white space) can
    // be looked for in the bytes; with any other the skimmer is disabled.
    // Without caseSense the bytes compare in either ASCII case. The bytes
    // are borrowed and must outlive the skimmer.
    TPassageSkimmer(std::string_view raw, bool markup, const std::vector<std::string>& searchStrings, bool caseSense,
        size_t context);

    bool Enabled() const { return FEnabled; }
    // The bytes with their ASCII letters upper-cased, held by the caller:
    // without caseSense they are searched instead of upper-casing slices.
    void UseUpperCased(std::string_view upper) { FUpper = upper; }
    // From `from` (a place in the text between tags): a place in that text
    // that leaves at least `context` bytes of text before the next place one
    // of the strings is spelled out in the text (`from` itself when there is
    // less), or NoSpelledMatch when no string is spelled out after `from`.
    size_t ReadingStart(size_t from);
    // Whether the last ReadingStart stepped over any text other than white
    // space (else only markup lay between).
    bool LeftOutText() const { return FLeftOutText; }

private:
    size_t NextSpelled(size_t from);
    size_t MarkupReadingStart(size_t from);
    size_t PlainReadingStart(size_t from);
    size_t StartBefore(size_t start, size_t firstText);

    std::string_view FRaw;
    std::string_view FUpper;
    bool FMarkup;
    bool FCaseSense;
    bool FEnabled;
    size_t FContext;
    std::vector<std::string> FStrings; // in the form the bytes are compared in
    size_t FLongest = 0;
    bool FLeftOutText = false;
    TOpenWord FOpenWord;               // reads FStrings, so declared after it
    static constexpr size_t Slice = 4096;
    std::array<char, Slice + LongestSkimmedString> FSlice {}; // a slice upper-cased
    size_t FSliceHeld = size_t(-1);                             // which one
};
