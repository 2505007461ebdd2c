#pragma once
// Cuts the passages of a hit from its visible text while that text is still
// being read: the caller appends to Text() and asks Settled() whether the
// passages can no longer change, so most pages are read only as far as their
// first few matches. The passages are those of the whole text.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "search/ContextPassages.h"
#include "search/TTextMatcher.h"

class TPassageCutter {
public:
    // The rules' character sets are borrowed and must outlive the cutter.
    TPassageCutter(const std::vector<std::string>& searchStrings, const TPassageRules& rules);

    // The visible text read so far; the caller only appends to it.
    std::u32string& Text() { return FText; }
    // Looks at what was appended; true when more text could change no
    // passage. textEnded: nothing more will be appended.
    bool Settled(bool textEnded);
    // The passages (after Settled).
    std::vector<TPassage> Passages() const;
    // Text was left out here: the text appended next followed later.
    void MarkGap() { FGaps.push_back(FText.size()); }
    // Whether nothing but a new match could add to the passages: every
    // window made is settled, no match found is left over, and the end of the
    // text holds no start of one.
    bool AwaitsNextMatch() const;
    // Whether the passages are those of the text with nothing left out: the
    // window of the first match after each gap lies wholly after it.
    bool GapsLeftNoMark() const;

private:
    using TWindow = std::pair<size_t, size_t>;

    void FindNewMatches(bool textEnded);
    std::vector<TWindow> Windows() const;
    bool IsSettled(TWindow window) const;
    TWindow WindowAround(const TTextMatch& m, size_t from) const;
    TWindow TrimmedToWords(const TTextMatch& m, size_t start, size_t end) const;
    TPassage MakePassage(TWindow window) const;

    TPassageRules FRules;
    TTextMatcher FMatcher;
    std::u32string FText;
    std::u32string FFolded;         // FText in the form comparisons use
    size_t FSearched = 0;           // matches starting before this are all known
    std::vector<size_t> FBudget;    // matches still taken of each string
    std::vector<TTextMatch> FMatches;
    std::vector<size_t> FGaps;      // places in FText where text was left out
};
