#pragma once
// Where positioned boxes go. An absolutely positioned box is placed in its
// containing block (the padding box of the nearest positioned ancestor, else
// the initial containing block; the viewport for position: fixed) by its
// left, right and width, and its top, bottom and height; a relatively
// positioned box is shifted by its offsets after layout, keeping its space.
#include "html/layout/LayoutTypes.h"
#include "html/layout/TBoxLayoutStyle.h"

// A containing block's padding box in document pixels; a height of 0 is not
// known yet (a block whose height its content decides).
struct TContainingBlock {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The four offsets, BoxAuto where auto.
struct TBoxOffsets {
    int left = BoxAuto;
    int right = BoxAuto;
    int top = BoxAuto;
    int bottom = BoxAuto;
};

// The containing block absolutely positioned content of area is placed in.
TContainingBlock ContainingBlockOf(const TLayoutArea& area);

// left and top from the box values, right and bottom from the layout
// style, percentages against the containing block.
TBoxOffsets ResolveOffsets(const TMargArray& m, const TBoxLayoutStyle& style, const TContainingBlock& cb);

// The shift of a relatively positioned box: left wins over right, top over bottom.
void RelativeShift(const TBoxOffsets& o, int& dx, int& dy);

// Settles what an absolutely positioned box's left, right and width leave
// to each other before its width is worked out: with both sides given and
// an auto width, the width fills the space between them. Answers the
// available width a shrink-to-fit width is measured against.
int SettleAbsoluteWidth(TMargArray& m, const TBoxOffsets& o, const TContainingBlock& cb);

// The left offset (from the containing block's left to the margin box) of
// an absolutely positioned box with this content width; staticX is where
// the box would have been in the flow.
int AbsoluteLeft(const TMargArray& m, const TBoxOffsets& o, const TContainingBlock& cb, int contentWidth, int staticX);

// The height an absolutely positioned box with top and bottom given and an
// auto height gets from its containing block, or 0 (auto) otherwise.
int AbsoluteHeight(const TMargArray& m, const TBoxOffsets& o, const TContainingBlock& cb);

// Whether the box hangs from the bottom of its containing block: its top
// follows from its height, known only after its layout.
bool HangsFromBottom(const TBoxOffsets& o, const TContainingBlock& cb);
// The top offset of a box hanging from the bottom with this margin box height.
int BottomAnchoredTop(const TBoxOffsets& o, const TContainingBlock& cb, int marginBoxHeight);
