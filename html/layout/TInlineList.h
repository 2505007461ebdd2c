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
    void Clear()
    {
        FItems.clear();
        FResolvedFor = -1;
    }

private:
    std::vector<InlineRec> FItems;
    int FResolvedFor = -1;
};
