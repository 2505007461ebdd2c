#pragma once
// What flexible boxes and grids read from an element's style: how a flex or
// grid container arranges its children, and how a child takes part as an
// item. Pages of the HTML 4 era give none of it, so a block holds one only
// when its style gives some (TBlockStyle::flex).
#include <cstdint>
#include <vector>

// How a block arranges its content.
enum class TBoxDisplay : uint8_t { Block, Flex, Grid };
// align-items and align-self (baseline is read as start); Auto on an item
// takes the container's align-items.
enum class TFlexAlign : uint8_t { Auto, Stretch, Start, End, Center };
enum class TFlexJustify : uint8_t { Start, End, Center, SpaceBetween, SpaceAround, SpaceEvenly };
enum class TFlexLines : uint8_t { Stretch, Start, End, Center, SpaceBetween, SpaceAround, SpaceEvenly };
// flex-basis: auto (the width, else the content), content, or a length.
enum class TFlexBasisKind : uint8_t { Auto, Content, Pixels, Percent };

// One column of grid-template-columns.
enum class TGridTrackKind : uint8_t { Pixels, Percent, Fraction, Auto };
struct TGridTrack {
    TGridTrackKind kind = TGridTrackKind::Auto;
    double value = 0;   // pixels, percent or fr
    int minPixels = 0;  // the lower bound of minmax() (pixels)
    friend bool operator==(const TGridTrack&, const TGridTrack&) = default;
};

// Every number is clamped when it is read, so layout meets no NaN, no
// infinity and no factor whose sums could overflow.
constexpr double MaxFlexFactor = 1e6;
constexpr int MaxFlexOrder = 1000000;
constexpr int MaxGridTracks = 1000;

struct TFlexStyle {
    // The container.
    TBoxDisplay display = TBoxDisplay::Block;
    bool column = false;   // flex-direction column or column-reverse
    bool reverse = false;  // row-reverse or column-reverse
    bool wrap = false;     // flex-wrap wrap or wrap-reverse
    TFlexJustify justify = TFlexJustify::Start;
    TFlexAlign alignItems = TFlexAlign::Stretch;
    // align-content: how wrapped lines share a taller container's free
    // space (normal and stretch grow the lines alike).
    TFlexLines alignContent = TFlexLines::Stretch;
    int rowGap = 0;        // pixels
    int columnGap = 0;
    std::vector<TGridTrack> columns;
    // repeat(auto-fill | auto-fit, track): as many of the track as fit.
    bool autoRepeat = false;
    TGridTrack repeatTrack;
    // The item.
    double grow = 0;
    double shrink = 1;
    TFlexBasisKind basisKind = TFlexBasisKind::Auto;
    double basis = 0;      // pixels or percent
    int order = 0;
    TFlexAlign alignSelf = TFlexAlign::Auto;

    bool IsContainer() const { return display != TBoxDisplay::Block; }
    friend bool operator==(const TFlexStyle&, const TFlexStyle&) = default;
};
