#pragma once
// Reads the box layout properties of today's style sheets (right, bottom,
// min- and max- sizes, box-sizing, position: fixed, overflow) from an
// element's property set into the block's layout style.
#include <memory>

#include "html/layout/TBoxLayoutStyle.h"
#include "html/layout/TTextStyle.h"

class TProperties;

// Null when the element gives none of them, so blocks of pages that use
// none share their styles as before.
std::shared_ptr<const TBoxLayoutStyle> BoxLayoutStyleOf(const TProperties& props);

// white-space and overflow-wrap (word-wrap) into the text style. inPre: the
// text is a PRE element's, whose lines the reader keeps.
void ReadTextWrapping(const TProperties& props, bool inPre, TTextStyle& style);
