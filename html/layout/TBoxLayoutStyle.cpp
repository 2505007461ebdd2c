#include "html/layout/TBoxLayoutStyle.h"

#include "html/layout/LayoutTypes.h"

int TBoxLength::Resolve(int base, int fallback) const
{
    if (!set)
        return fallback;
    if (!percent)
        return ClampPixels(value);
    return ClampPixels((long long)base * value / 10000);
}
