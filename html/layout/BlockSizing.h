#pragma once
// How wide and tall a block's content box is once today's sizing properties
// have their say: shrink-to-fit widths of floats and absolutely positioned
// boxes, box-sizing: border-box, and the min- and max- limits.
#include "html/layout/LayoutTypes.h"
#include "html/layout/TBoxLayoutStyle.h"

// The shrink-to-fit width: the preferred width, but no wider than the
// available width unless the preferred minimum width asks for more.
int ShrinkToFitWidth(int preferredMinimum, int preferred, int available);

// The box values with border-box widths and heights turned into content
// box ones (never below 0).
void ToContentBox(const TBoxLayoutStyle& style, TMargArray& m);

// A content width within min-width and max-width (min-width wins), both
// resolved against base; extras are the horizontal borders and paddings a
// border-box limit includes.
int LimitedWidth(const TBoxLayoutStyle& style, int width, int base, int extras);
// Likewise for heights; a base of 0 (not known) drops percentage limits.
int LimitedHeight(const TBoxLayoutStyle& style, int height, int base, int extras);
// max-height, or -1 when none applies.
int MaxHeightOf(const TBoxLayoutStyle& style, int base, int extras);
