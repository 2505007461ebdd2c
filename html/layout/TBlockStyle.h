#pragma once
// What a block box reads from its element's style when it is created. The
// builder fills it from the element's property set; the box values are
// resolved again at every layout through boxValues, because percentages
// depend on the space the block gets.
//
// Blocks share their style: equal styles (siblings in long lists) are kept
// once per document (TBlockStylePool), so a style never changes once a block
// has it; a block that needs a different one takes a changed copy.
#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "html/layout/LayoutTypes.h"
#include "html/layout/TBoxLayoutStyle.h"
#include "html/layout/TFlexStyle.h"

struct TBlockStyle {
    TBoxResolver boxValues;   // required; see TBoxResolver
    std::array<TBorderKind, 4> borderStyles{}; // top, right, bottom, left
    TFloatKind floatKind = TFloatKind::None;
    TClearKind clear = TClearKind::None;
    TPositionKind position = TPositionKind::Static;
    bool hidden = false;      // visibility: hidden
    bool displayNone = false;
    int zIndex = 0;
    int emSize = 16;
    int exSize = 8;
    std::string tag;          // lower-case tag name ("p", "ul", "default", ...)
    std::string className;
    std::string id;           // registered by the block when it is made, then dropped
    std::string title;
    std::string backgroundImage;
    int backgroundPosX = 0;
    int backgroundPosY = 0;
    bool backgroundPosXPercent = false; // left, centre and right are 0, 50 and 100 percent
    bool backgroundPosYPercent = false;
    uint8_t backgroundRepeat = 3;        // 0 none, 1 horizontal, 2 vertical, 3 both
    bool backgroundFixed = false;        // the body's picture stays while the document scrolls
    bool pageBreakBefore = false;
    bool pageBreakAfter = false;
    bool pageBreakInsideAvoid = false;
    int listStyleType = -1;   // a TListMarker code, -1 when the style gives none
    std::string listStyleImage;
    TTextFont font;           // the element's font (list markers use it)
    // Offsets from the right and bottom, size limits, box sizing, overflow:
    // null when the style gives none of them (never an all-default value).
    std::shared_ptr<const TBoxLayoutStyle> layout;

    // The box layout values, the defaults when none is given.
    const TBoxLayoutStyle& Layout() const;

    // Flex and grid container and item values: null when the style gives
    // none of them.
    std::shared_ptr<const TFlexStyle> flex;

    // The flex and grid values, the defaults when none is given.
    const TFlexStyle& Flex() const;

    // The border-style flag: some side draws a border.
    bool hasBorderStyle() const;
    // Whether another block may share this style: its box values are fixed.
    bool Shareable() const;
    // Equal in every field; only shareable styles are ever equal.
    bool SameAs(const TBlockStyle& other) const;
    // A hash consistent with SameAs.
    size_t Hash() const;
};

// The resolver of box values that depend on no base. A type of its own so
// that styles holding equal fixed values compare equal.
struct TFixedBoxValues {
    TMargArray values;
    TMargArray operator()(int, int) const { return values; }
};

// A resolver answering the same values for every base (tests, fixed boxes).
TBoxResolver FixedBoxValues(const TMargArray& values);
