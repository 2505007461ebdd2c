#include "html/layout/BlockSizing.h"

#include <algorithm>

namespace {

// A limit as a content-box length, or fallback when it does not apply.
int ContentLimit(const TBoxLayoutStyle& style, const TBoxLength& limit, int base, int extras, int fallback)
{
    if (!limit.set || (limit.percent && base <= 0))
        return fallback;
    int v = limit.Resolve(base, fallback);
    if (style.borderBox)
        v -= extras;
    return std::max(0, v);
}

} // namespace

int ShrinkToFitWidth(int preferredMinimum, int preferred, int available)
{
    return std::max(0, std::min(std::max(preferredMinimum, available), preferred));
}

void ToContentBox(const TBoxLayoutStyle& style, TMargArray& m)
{
    if (!style.borderBox)
        return;
    if (m[BoxWidth] != BoxAuto) {
        long long horizontal = (long long)m[BoxBorderLeft] + m[BoxPaddingLeft] + m[BoxPaddingRight] + m[BoxBorderRight];
        m[BoxWidth] = ClampPixels(std::max(0LL, m[BoxWidth] - horizontal));
    }
    if (m[BoxHeight] > 0) {
        long long vertical = (long long)m[BoxBorderTop] + m[BoxPaddingTop] + m[BoxPaddingBottom] + m[BoxBorderBottom];
        // Stays positive: 0 means auto.
        m[BoxHeight] = ClampPixels(std::max(1LL, m[BoxHeight] - vertical));
    }
}

int LimitedWidth(const TBoxLayoutStyle& style, int width, int base, int extras)
{
    int upper = ContentLimit(style, style.maxWidth, base, extras, -1);
    if (upper >= 0)
        width = std::min(width, upper);
    return std::max(width, ContentLimit(style, style.minWidth, base, extras, 0));
}

int MaxHeightOf(const TBoxLayoutStyle& style, int base, int extras)
{
    return ContentLimit(style, style.maxHeight, base, extras, -1);
}

int LimitedHeight(const TBoxLayoutStyle& style, int height, int base, int extras)
{
    int upper = MaxHeightOf(style, base, extras);
    if (upper >= 0)
        height = std::min(height, upper);
    return std::max(height, ContentLimit(style, style.minHeight, base, extras, 0));
}
