#include "html/layout/THighlightRanges.h"

#include <algorithm>
#include <climits>

void THighlightRanges::Assign(std::vector<TRange> ranges)
{
    std::sort(ranges.begin(), ranges.end());
    FRanges.clear();
    FCurrent = NoCurrent;
    for (const TRange& r : ranges) {
        if (r.second <= r.first)
            continue;
        if (!FRanges.empty() && r.first <= FRanges.back().second)
            FRanges.back().second = std::max(FRanges.back().second, r.second);
        else
            FRanges.push_back(r);
    }
}

THighlightMark THighlightRanges::MarkAt(int pos, int& changesAt) const
{
    // The first range that ends after pos.
    const auto it = std::upper_bound(FRanges.begin(), FRanges.end(), pos,
                                     [](int p, const TRange& r) { return p < r.second; });
    if (it == FRanges.end()) {
        changesAt = INT_MAX;
        return THighlightMark::None;
    }
    if (it->first <= pos) {
        changesAt = it->second;
        return size_t(it - FRanges.begin()) == FCurrent ? THighlightMark::Current : THighlightMark::Match;
    }
    changesAt = it->first;
    return THighlightMark::None;
}
