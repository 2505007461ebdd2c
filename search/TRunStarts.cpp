#include "search/TRunStarts.h"

#include <algorithm>

TRunStarts::TRunStarts(size_t from, size_t spacing)
    : FFrom(from)
    , FSpacing(std::max<size_t>(spacing, 1))
{
}

void TRunStarts::NoteApart(size_t rawPos, size_t textBefore)
{
    FRuns[(FFirst + FCount) % FRuns.size()] = { rawPos, textBefore };
    if (FCount < FRuns.size())
        ++FCount;
    else
        FFirst = (FFirst + 1) % FRuns.size();
}

size_t TRunStarts::Before(size_t textAt, size_t context) const
{
    for (size_t i = FCount; i-- > 0;) {
        const TRun& run = Run(i);
        if (run.textBefore + context <= textAt)
            return run.rawPos;
    }
    return FFrom;
}
