#pragma once
// A created platform font with the metrics the layout needs.
#include <string>

#include "gfx/TCanvas.h"

class TMyFont {
public:
    // The platform font and what it was asked for with.
    TFontRef font;
    std::string name;
    int height = 0; // character height in pixels
    TFontStyles style = 0;
    TColor color = 0;
    int charset = 1;

    // Measured when the font was made.
    TColor bgColor = ClNone;
    int fontHeight = 0;        // ascent + descent
    int descent = 0;
    int externalLeading = 0;
    int maxCharWidth = 0;
    int obtainedCharset = 1;   // the character set actually obtained
    int charExtra = 0;         // letter spacing in pixels

    // Makes this the font of the canvas, with its colour and letter spacing.
    void selectInto(TCanvas& canvas) const;
};
