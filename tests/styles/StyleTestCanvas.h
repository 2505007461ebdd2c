#pragma once
// The fixed-metrics canvas as the style tests' screen. It counts the fonts
// asked for (to see the property set's font cache at work) and, like a
// platform without that character set, answers character set 99 with 0.
#include "gfx/TFixedCanvas.h"

class TStyleTestCanvas : public TFixedCanvas {
public:
    int fontsCreated = 0;

    TFontRef createFont(const TFontSpec& spec) override
    {
        ++fontsCreated;
        TFontSpec asked = spec;
        if (asked.charset == 99)
            asked.charset = 0;
        return TFixedCanvas::createFont(asked);
    }
};
