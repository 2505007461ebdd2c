#pragma once
// What images, panels and form controls take from their element's style,
// after their attributes. The builder fills it from the element's property
// set (ObjectStyleOf in ObjectStyleAdapter.h); tests fill it directly.
#include <array>
#include <optional>
#include <string>

#include "html/layout/LayoutTypes.h"

// A length as the style gives it: not set, pixels, a percentage or auto.
struct TStyleLength {
    enum class Kind : uint8_t { NotSet, Pixels, Percent, Auto };
    Kind kind = Kind::NotSet;
    int value = 0;

    bool IsSet() const { return kind != Kind::NotSet; }
    bool IsPercent() const { return kind == Kind::Percent; }
    // Pixels, a percentage of base, or 0 for auto and not set.
    int Resolve(int base) const
    {
        switch (kind) {
        case Kind::Pixels:
            return value;
        case Kind::Percent:
            return int((long long)value * base / 100);
        default:
            return 0;
        }
    }
    static TStyleLength Pixels(int v) { return {Kind::Pixels, v}; }
    static TStyleLength Percent(int v) { return {Kind::Percent, v}; }
    static TStyleLength Auto() { return {Kind::Auto, 0}; }
};

enum TObjectSide : int { SideLeft, SideRight, SideTop, SideBottom };

struct TObjectStyle {
    std::optional<TVAlign> verticalAlign;
    TFloatKind floatKind = TFloatKind::None;
    std::string title;
    std::array<TStyleLength, 4> margins{}; // left, right, top, bottom
    TStyleLength width;
    TStyleLength height;
    bool hasBorderStyle = false;
    // The style's border, top, right, bottom, left. A floating picture draws
    // it around itself; an inline one is framed with the text around it.
    std::array<int, 4> borderWidths{};
    std::array<TColor, 4> borderColors{};
    std::array<TBorderKind, 4> borderStyles{};
    // Form controls: the window's font and colours.
    TFontSpec font;
    TColor color = 0;
    TColor background = ClNone;
    // Form controls: the code page of the element's text. Values written in
    // the page are read with it, and typed text is submitted in it.
    int codePage = 65001;
};
