#pragma once
// The marked stretches of a shown document: every match of the words a
// reader searched for, painted on a bright background. They belong to the
// screen only: the copy a document is printed from starts without them.
#include <cstddef>
#include <utility>
#include <vector>

// How a character is marked: not, as one of the matches, or as the match
// the reader stepped to.
enum class THighlightMark { None, Match, Current };

class THighlightRanges {
public:
    using TRange = std::pair<int, int>; // document positions [first, second)

    // Takes the ranges in any order; overlapping and touching ones are joined,
    // empty ones dropped.
    void Assign(std::vector<TRange> ranges);
    void Clear()
    {
        FRanges.clear();
        FCurrent = NoCurrent;
    }
    bool Empty() const { return FRanges.empty(); }
    size_t Count() const { return FRanges.size(); }
    const std::vector<TRange>& Ranges() const { return FRanges; }

    // The range shown as the one stepped to (an index into Ranges()).
    void SetCurrent(size_t index) { FCurrent = index; }
    size_t Current() const { return FCurrent; }
    static constexpr size_t NoCurrent = size_t(-1);

    // How the character at pos is marked, and the first position after pos
    // at which that answer changes (INT_MAX when it never does).
    THighlightMark MarkAt(int pos, int& changesAt) const;

private:
    std::vector<TRange> FRanges; // sorted, apart
    size_t FCurrent = NoCurrent;
};
