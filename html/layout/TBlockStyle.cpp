#include "html/layout/TBlockStyle.h"

bool TBlockStyle::hasBorderStyle() const
{
    for (TBorderKind k : borderStyles)
        if (k != TBorderKind::None)
            return true;
    return false;
}

TBoxResolver FixedBoxValues(const TMargArray& values)
{
    return [values](int, int) { return values; };
}
