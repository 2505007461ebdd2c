#include "html/layout/LayoutTypes.h"

TMargArray SanitizeBoxValues(TMargArray b)
{
    for (int i = BoxMarginTop; i < MargArrayCount; ++i) {
        bool colour = i >= BoxBorderTopColor && i <= BoxBorderLeftColor;
        if (colour || b[i] == BoxAuto)
            continue;
        b[i] = ClampPixels(b[i]);
    }
    // Borders and paddings cannot be negative.
    for (int i = BoxPaddingTop; i <= BoxBorderLeft; ++i)
        if (b[i] < 0)
            b[i] = 0;
    return b;
}
