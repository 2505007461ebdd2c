#include "html/layout/FlexLayout.h"

#include <algorithm>
#include <cmath>

namespace {

int ToPixels(double v)
{
    if (!std::isfinite(v))
        return 0;
    return ClampPixels((long long)std::llround(std::clamp(v, -double(MaxBoxPixels), double(MaxBoxPixels))));
}

long long GapsOf(size_t count, int gap) { return count > 1 ? (long long)(count - 1) * gap : 0; }

} // namespace

std::vector<size_t> BreakFlexLines(const std::vector<TFlexItemSize>& items, int available, int gap, bool wrap)
{
    std::vector<size_t> starts;
    if (items.empty())
        return starts;
    starts.push_back(0);
    if (!wrap)
        return starts;
    long long used = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        long long size = items[i].Hypothetical();
        bool lineStart = starts.back() == i;
        if (!lineStart && used + gap + size > available) {
            starts.push_back(i);
            used = size;
        } else {
            used += (lineStart ? 0 : gap) + size;
        }
    }
    return starts;
}

std::vector<int> ResolveFlexibleLengths(const std::vector<TFlexItemSize>& items, int available, int gap)
{
    const size_t n = items.size();
    std::vector<double> target(n);
    std::vector<bool> frozen(n, false);
    double hypotheticalSum = 0;
    for (size_t i = 0; i < n; ++i)
        hypotheticalSum += items[i].Hypothetical();
    const double space = double(available) - double(GapsOf(n, gap));
    const bool growing = hypotheticalSum < space;
    for (size_t i = 0; i < n; ++i) {
        const TFlexItemSize& it = items[i];
        target[i] = it.Hypothetical();
        double factor = growing ? it.grow : it.shrink;
        // Items that cannot flex, or that the minimum already holds larger
        // than the base when shrinking, keep their hypothetical size.
        if (factor <= 0 || (!growing && it.base < it.minSize) || (growing && it.base > it.Hypothetical()))
            frozen[i] = true;
    }
    // Each round freezes at least one item that its minimum stopped, so it
    // ends after at most n rounds.
    for (size_t round = 0; round <= n; ++round) {
        double used = 0, factors = 0, scaledShrink = 0;
        bool anyOpen = false;
        for (size_t i = 0; i < n; ++i) {
            if (frozen[i]) {
                used += target[i];
            } else {
                anyOpen = true;
                used += items[i].base;
                factors += growing ? items[i].grow : items[i].shrink;
                scaledShrink += items[i].shrink * std::max(0, items[i].base);
            }
        }
        if (!anyOpen)
            break;
        double free = space - used;
        // Factors summing below 1 take only that share of the free space.
        if (factors < 1)
            free *= factors;
        double violation = 0;
        for (size_t i = 0; i < n; ++i) {
            if (frozen[i])
                continue;
            const TFlexItemSize& it = items[i];
            double size = it.base;
            if (growing && factors > 0)
                size += free * it.grow / factors;
            else if (!growing && scaledShrink > 0)
                size += free * (it.shrink * std::max(0, it.base)) / scaledShrink;
            double clamped = std::max(size, double(it.minSize));
            violation += clamped - size;
            target[i] = clamped;
        }
        if (violation <= 0)
            break;
        for (size_t i = 0; i < n; ++i)
            if (!frozen[i] && target[i] <= items[i].minSize)
                frozen[i] = true;
    }
    std::vector<int> sizes(n);
    for (size_t i = 0; i < n; ++i)
        sizes[i] = std::max(0, ToPixels(target[i]));
    return sizes;
}

std::vector<int> PlaceFlexLine(const std::vector<TFlexItemSize>& items, const std::vector<int>& sizes, int available,
                               int gap, TFlexJustify justify, bool reverse)
{
    const size_t n = items.size();
    std::vector<int> offsets(n);
    if (n == 0)
        return offsets;
    long long used = GapsOf(n, gap);
    int autoMargins = 0;
    for (size_t i = 0; i < n; ++i) {
        used += sizes[i];
        autoMargins += int(items[i].autoStart) + int(items[i].autoEnd);
    }
    const double free = double(available) - double(used);
    double lead = 0, between = gap, perMargin = 0;
    if (autoMargins > 0 && free > 0) {
        perMargin = free / autoMargins;
    } else if (free > 0 || justify == TFlexJustify::Center || justify == TFlexJustify::End) {
        switch (justify) {
        case TFlexJustify::Start: break;
        case TFlexJustify::End: lead = free; break;
        case TFlexJustify::Center: lead = free / 2; break;
        case TFlexJustify::SpaceBetween:
            if (n > 1)
                between += free / double(n - 1);
            break;
        case TFlexJustify::SpaceAround:
            lead = free / double(n) / 2;
            between += free / double(n);
            break;
        case TFlexJustify::SpaceEvenly:
            lead = free / double(n + 1);
            between += free / double(n + 1);
            break;
        }
    }
    double pos = lead;
    for (size_t i = 0; i < n; ++i) {
        if (items[i].autoStart)
            pos += perMargin;
        offsets[i] = ToPixels(pos);
        pos += sizes[i];
        if (items[i].autoEnd)
            pos += perMargin;
        pos += between;
    }
    if (reverse)
        for (size_t i = 0; i < n; ++i)
            offsets[i] = ClampPixels((long long)available - offsets[i] - sizes[i]);
    return offsets;
}

void GiveUsedWidth(TMargArray& m, int usedWidth)
{
    for (int side : {BoxMarginLeft, BoxMarginRight})
        if (m[side] == BoxAuto)
            m[side] = 0;
    long long extras = (long long)m[BoxMarginLeft] + m[BoxMarginRight] + m[BoxBorderLeft] + m[BoxBorderRight] +
                       m[BoxPaddingLeft] + m[BoxPaddingRight];
    m[BoxWidth] = ClampPixels(std::max(0LL, (long long)usedWidth - extras));
    m.autoCount = 0;
    m.widthIsPercent = false;
}
