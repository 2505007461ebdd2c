#pragma once
// What a block box reads from its element's style when it is created. The
// builder fills it from the element's property set; the box values are
// resolved again at every layout through boxValues, because percentages
// depend on the space the block gets.
#include <array>
#include <string>

#include "html/layout/LayoutTypes.h"

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
    std::string id;
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

    // The border-style flag: some side draws a border.
    bool hasBorderStyle() const;
};

// A resolver answering the same values for every base (tests, fixed boxes).
TBoxResolver FixedBoxValues(const TMargArray& values);
