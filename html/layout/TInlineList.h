#pragma once
// Inline boxes: inline elements with a border style. The builder enters each
// with its source range and box values; after a layout the ranges are turned
// into document positions once, and each painted line makes a BorderRec for
// every box it shows a piece of.
#include <array>
#include <memory>
#include <vector>

#include "gfx/TCanvas.h"
#include "html/layout/LayoutTypes.h"

class TSectionList;

struct InlineRec {
    int StartSource = 0;
    int EndSource = 999999; // until the element closes
    int StartDoc = 99999999;
    int EndDoc = 99999999;
    TMargArray Box;         // resolved with 200 as the percentage base
    std::array<TBorderKind, 4> Styles{};
};

// One inline box's piece on one line.
struct BorderRec {
    const InlineRec* Box = nullptr;
    int Start = 0;           // characters of the line it covers [Start, End)
    int End = 0;
    bool OpenStart = false;  // continues from the previous line
    bool OpenEnd = false;    // continues into the next line
    TRect Rect;              // padding box in document pixels, set by painting
};

class TInlineList {
public:
    // Starts a box at a source position; answers its index for EndInline.
    int StartInline(int sourcePos, const TMargArray& box, const std::array<TBorderKind, 4>& styles);
    void EndInline(int index, int sourcePos);
    // Converts the source ranges to document positions once per layout.
    void Resolve(const TSectionList& document);
    bool Empty() const { return FItems.empty(); }
    const std::vector<InlineRec>& Items() const { return FItems; }
    // The resolved boxes that show a piece of document positions [start,
    // end), in the order they were entered (the order they paint in). A
    // long document has tens of thousands of boxes and every printed or
    // painted line asks, so this looks only near the range.
    void Overlapping(int start, int end, std::vector<const InlineRec*>& boxes) const;
    void Clear()
    {
        FItems.clear();
        FResolvedFor = -1;
        FByStart.clear();
        FReachUpTo.clear();
        FGroupReach.clear();
    }

private:
    void IndexByStart();

    std::vector<InlineRec> FItems;
    int FResolvedFor = -1;
    // Item indices by StartDoc; the furthest EndDoc of the boxes up to each
    // place in that order; and the furthest EndDoc of each group of
    // GroupSize places, so that one box spanning much of the document does
    // not make every query walk every box after it.
    std::vector<int> FByStart;
    std::vector<int> FReachUpTo;
    std::vector<int> FGroupReach;
};
