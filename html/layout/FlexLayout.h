#pragma once
// The arithmetic of flexible boxes, apart from the layout objects: breaking
// items into lines, resolving their flexible lengths and spreading the free
// space along a line. Sizes are outer (margin-box) pixels along the main
// axis. Every result stays within the safe pixel range whatever the factors.
#include <cstddef>
#include <vector>

#include "html/layout/LayoutTypes.h"
#include "html/layout/TFlexStyle.h"

// One item as the line arithmetic sees it.
struct TFlexItemSize {
    int base = 0;          // the flex base size
    int minSize = 0;       // it never shrinks below this
    double grow = 0;
    double shrink = 1;
    bool autoStart = false; // an auto margin before it (along the main axis)
    bool autoEnd = false;   // an auto margin after it
    // The base clamped by the minimum.
    int Hypothetical() const { return base < minSize ? minSize : base; }
};

// The index of the first item of each line: items go on one line while
// their hypothetical sizes and the gaps between them fit in available; a
// line holds at least one item.
std::vector<size_t> BreakFlexLines(const std::vector<TFlexItemSize>& items, int available, int gap, bool wrap);

// The main sizes of the items of one line, grown or shrunk by their
// factors to fill available less the gaps.
std::vector<int> ResolveFlexibleLengths(const std::vector<TFlexItemSize>& items, int available, int gap);

// The offsets from the main start of items of sizes `sizes` on a line of
// length available: auto margins take the free space first, then
// justify-content spreads it. Reversed lines are mirrored.
std::vector<int> PlaceFlexLine(const std::vector<TFlexItemSize>& items, const std::vector<int>& sizes, int available,
                               int gap, TFlexJustify justify, bool reverse);

// Box values of an item a container gives a margin-box width: the width
// fills it less the margins, borders and paddings; auto margins are 0 (the
// container placed the item with them).
void GiveUsedWidth(TMargArray& m, int usedWidth);
