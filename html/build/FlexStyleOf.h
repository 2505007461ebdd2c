#pragma once
// Reads the flexible box and grid properties of an element's property set
// (display: flex or grid, the container's and the item's values) into the
// block's flex style.
#include <memory>
#include <string_view>
#include <vector>

#include "html/layout/TFlexStyle.h"

class TProperties;

// Null when the element gives none of them, so blocks of pages that use
// none share their styles as before.
std::shared_ptr<const TFlexStyle> FlexStyleOf(const TProperties& props);

// grid-template-columns: lengths, percentages, fr, auto, minmax() and
// repeat() (a count, or auto-fill and auto-fit of one track). False when the
// list holds nothing this reader knows: the grid then stacks its cells.
bool ReadGridColumns(std::string_view text, int emSize, int exSize, TFlexStyle& style);
