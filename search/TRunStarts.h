#pragma once
// Starts of text runs a skim of a page passed, a few spread over the last
// stretch of text: enough to go back a stretch of text without keeping all.
#include <array>
#include <cstddef>

class TRunStarts {
public:
    // from: where the runs begin; spacing: how far apart in bytes of text
    // the kept starts lie.
    TRunStarts(size_t from, size_t spacing);

    // A run starts at rawPos with textBefore bytes of text passed before it.
    // (Inline: a skim notes every run of text it passes.)
    void Note(size_t rawPos, size_t textBefore)
    {
        // The latest start is always kept; the ones before lie apart.
        if (FCount > 1 && textBefore - Run(FCount - 2).textBefore < FSpacing) {
            At(FCount - 1) = { rawPos, textBefore };
            return;
        }
        NoteApart(rawPos, textBefore);
    }
    // The latest start at least `context` bytes of text before textAt; where
    // the runs began if none is kept.
    size_t Before(size_t textAt, size_t context) const;

private:
    void NoteApart(size_t rawPos, size_t textBefore);

    struct TRun {
        size_t rawPos = 0;
        size_t textBefore = 0;
    };
    TRun& At(size_t i) { return FRuns[(FFirst + i) % FRuns.size()]; }
    const TRun& Run(size_t i) const { return FRuns[(FFirst + i) % FRuns.size()]; }

    size_t FFrom;
    size_t FSpacing;
    std::array<TRun, 32> FRuns {};
    size_t FFirst = 0;
    size_t FCount = 0;
};
