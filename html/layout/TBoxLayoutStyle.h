#pragma once
// The box layout values of today's style sheets that a block reads beside
// its 26 box values: offsets from the right and bottom, size limits, the
// border-box sizing, fixed positioning and overflow. Pages of the HTML 4
// era give none of them, so a block holds them only when some is given.
#include <cstdint>

// A length given in the style: pixels, or a percentage (in hundredths of a
// percent) of a base the layout knows; unset for auto and none.
struct TBoxLength {
    int value = 0;
    bool percent = false;
    bool set = false;
    // Pixels against base (clamped to the safe pixel range); fallback when unset.
    int Resolve(int base, int fallback) const;
    friend bool operator==(const TBoxLength&, const TBoxLength&) = default;
};

// overflow: visible, hidden, or auto and scroll (clipped; the content is
// reached by dragging the selection, which scrolls the viewer, or by the
// text export, which sees all of it).
enum class TOverflowKind : uint8_t { Visible, Hidden, Scroll };

struct TBoxLayoutStyle {
    TBoxLength right, bottom;
    TBoxLength minWidth, maxWidth, minHeight, maxHeight;
    bool borderBox = false; // box-sizing: border-box
    bool fixed = false;     // position: fixed, laid out as absolute against the viewport
    TOverflowKind overflow = TOverflowKind::Visible;

    // No value differs from what a block without these properties does.
    bool IsDefault() const { return *this == TBoxLayoutStyle{}; }
    bool Clips() const { return overflow != TOverflowKind::Visible; }
    friend bool operator==(const TBoxLayoutStyle&, const TBoxLayoutStyle&) = default;
};
