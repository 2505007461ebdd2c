#pragma once
// Media lists and queries (a LINK or STYLE MEDIA attribute, @media and
// @import conditions) evaluated against the medium a document is laid out
// for: the screen at the viewer's width, or the printed page.
#include <string_view>

struct TMediaContext {
    int width = 800;      // pixels the document is laid out in
    int height = 600;
    bool print = false;   // laid out for the printed page
    double emPixels = 16; // the size an "em" of a query stands for
};

struct TMediaVerdict {
    bool applies = false;
    // A feature of the list reads the width (or the orientation, which
    // follows it): the verdict may change when the viewer is resized.
    bool widthDependent = false;
};

// A comma-separated media query list: it applies when one of its queries
// does. An empty list applies everywhere; a query that cannot be read
// applies nowhere.
TMediaVerdict EvaluateMediaList(std::string_view list, const TMediaContext& context);
