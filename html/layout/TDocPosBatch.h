#pragma once
// Many source positions turned into document positions in one walk of the
// document, with the answers TSectionList::DocPosOf gives one at a time. A
// long page has tens of thousands of inline boxes; asking for each alone
// walks the document from its top every time.
#include <cstddef>
#include <utility>
#include <vector>

class TCellBasic;
class TSectionBase;
class TSectionList;

class TDocPosBatch {
public:
    // document.DocPosOf(p, previous) for every p of sourcePositions.
    static std::vector<int> Resolve(const TSectionList& document, const std::vector<int>& sourcePositions,
                                    bool previous);
    // The same, but -1 where no section holds the position (as the cells'
    // own DocPosOf answers) instead of the document's end.
    static std::vector<int> Find(const TSectionList& document, const std::vector<int>& sourcePositions,
                                 bool previous);

private:
    explicit TDocPosBatch(bool previous) : FPrevious(previous) {}
    void Cell(const TCellBasic& cell);
    void Section(const TSectionBase& section);
    void Ask(const TSectionBase& section);
    bool Done() const { return FNext == FQueue.size(); }

    bool FPrevious;
    // (source position, index of the question), in the order the walk
    // answers them: ascending going forward, descending going backward.
    std::vector<std::pair<int, size_t>> FQueue;
    size_t FNext = 0;
    std::vector<int> FAnswers;
};
