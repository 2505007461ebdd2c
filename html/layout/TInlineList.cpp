#include "html/layout/TInlineList.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <numeric>

#include "html/layout/TDocPosBatch.h"
#include "html/layout/TSectionList.h"

int TInlineList::StartInline(int sourcePos, const TMargArray& box, const std::array<TBorderKind, 4>& styles)
{
    InlineRec r;
    r.StartSource = sourcePos;
    r.Box = SanitizeBoxValues(box);
    r.Styles = styles;
    FItems.push_back(r);
    FResolvedFor = -1;
    return int(FItems.size()) - 1;
}

void TInlineList::EndInline(int index, int sourcePos)
{
    if (index >= 0 && size_t(index) < FItems.size())
        FItems[size_t(index)].EndSource = sourcePos;
    FResolvedFor = -1;
}

void TInlineList::Resolve(const TSectionList& document)
{
    if (FResolvedFor == document.LayoutCounter)
        return;
    FResolvedFor = document.LayoutCounter;
    std::vector<int> starts, ends;
    starts.reserve(FItems.size());
    ends.reserve(FItems.size());
    for (const InlineRec& r : FItems) {
        starts.push_back(r.StartSource);
        ends.push_back(r.EndSource);
    }
    starts = TDocPosBatch::Find(document, starts, false);
    ends = TDocPosBatch::Find(document, ends, true);
    for (size_t i = 0; i < FItems.size(); ++i) {
        InlineRec& r = FItems[i];
        if (starts[i] < 0 || ends[i] < 0 || starts[i] > ends[i]) {
            // A box around nothing (a hidden element's, or one whose text was
            // all skipped) is drawn nowhere: resolved like the others, its
            // range would run from the next text to the document's end.
            r.StartDoc = r.EndDoc = 99999999;
            continue;
        }
        r.StartDoc = starts[i];
        r.EndDoc = ends[i];
        if (r.StartDoc == r.EndDoc)
            --r.StartDoc;
        if (r.StartDoc < 0)
            r.StartDoc = 99999999;
        if (r.EndDoc < 0)
            r.EndDoc = 99999999;
    }
    IndexByStart();
}

namespace {
constexpr size_t GroupSize = 32;
}

void TInlineList::IndexByStart()
{
    FByStart.resize(FItems.size());
    std::iota(FByStart.begin(), FByStart.end(), 0);
    std::stable_sort(FByStart.begin(), FByStart.end(),
                     [this](int a, int b) { return FItems[size_t(a)].StartDoc < FItems[size_t(b)].StartDoc; });
    FReachUpTo.resize(FByStart.size());
    FGroupReach.assign((FByStart.size() + GroupSize - 1) / GroupSize, std::numeric_limits<int>::min());
    int reach = std::numeric_limits<int>::min();
    for (size_t i = 0; i < FByStart.size(); ++i) {
        const int end = FItems[size_t(FByStart[i])].EndDoc;
        reach = std::max(reach, end);
        FReachUpTo[i] = reach;
        FGroupReach[i / GroupSize] = std::max(FGroupReach[i / GroupSize], end);
    }
}

void TInlineList::Overlapping(int start, int end, std::vector<const InlineRec*>& boxes) const
{
    boxes.clear();
    // Every box before `from` ends at or before start; every box from `to`
    // on starts at or after end.
    const size_t from = size_t(std::upper_bound(FReachUpTo.begin(), FReachUpTo.end(), start) - FReachUpTo.begin());
    const size_t to = size_t(std::partition_point(FByStart.begin(), FByStart.end(),
                                                  [&](int i) { return FItems[size_t(i)].StartDoc < end; }) -
                             FByStart.begin());
    for (size_t i = from; i < to;) {
        if (i % GroupSize == 0 && FGroupReach[i / GroupSize] <= start) {
            i += GroupSize;
            continue;
        }
        if (FItems[size_t(FByStart[i])].EndDoc > start)
            boxes.push_back(&FItems[size_t(FByStart[i])]);
        ++i;
    }
    std::sort(boxes.begin(), boxes.end(), std::less<const InlineRec*>());
}
