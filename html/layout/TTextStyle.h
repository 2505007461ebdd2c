#pragma once
// What a text section and each of its font runs read from the style in
// effect. The builder fills it from the property set on top of its stack.
#include <array>
#include <string>

#include "html/layout/LayoutTypes.h"

class TFormControlObj;

enum class TTextTransform : uint8_t { None = 0, Upper = 1, Lower = 2 };

struct TTextStyle {
    TTextFont font;
    // Fonts of a link in the states normal, visited, hover, visited+hover;
    // used when the run is part of a link.
    std::array<TTextFont, 4> linkFonts{};
    bool hasLinkFonts = false;
    // Small-caps: lower-case letters are drawn upper-cased in this font.
    bool smallCaps = false;
    TTextFont smallFont;
    TVAlign verticalShift = TVAlign::None; // Sub or Super shift the run
    TTextAlignKind align = TTextAlignKind::Left;
    TTextTransform transform = TTextTransform::None;
    int lineHeight = -1;          // pixels; negative means normal
    int textIndent = 0;           // first-line indent in pixels
    int textIndentPercent = -1;   // when >= 0 the indent is this percentage (at most 90)
    TClearKind clear = TClearKind::None;
    // white-space: nowrap (and pre outside PRE): no line breaks; pre-wrap,
    // pre-line or normal inside PRE: its lines wrap at spaces.
    bool noWrap = false;
    bool wrapsPreformatted = false;
    // overflow-wrap: break-word: a word wider than the line is cut.
    bool breakWord = false;
    // The BUTTON whose content the text is: a click on it clicks the button.
    TFormControlObj* control = nullptr;
    std::string title;
    std::string id;

    // The font of a link run for its state.
    const TTextFont& linkFont(bool visited, bool hover) const
    {
        return linkFonts[size_t((hover ? 2 : 0) + (visited ? 1 : 0))];
    }
};
