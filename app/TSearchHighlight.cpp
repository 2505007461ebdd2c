#include "app/TSearchHighlight.h"

#include <algorithm>

#include "html/layout/THighlightRanges.h"
#include "html/viewer/THTMLViewer.h"

size_t TSearchHighlight::Apply(const THighlightRequest& request, const std::vector<THTMLViewer*>& viewers,
                               THighlightScroll scroll)
{
    Clear();
    for (THTMLViewer* viewer : viewers) {
        if (!viewer)
            continue;
        std::vector<std::pair<int, int>> ranges = MatchRanges(viewer->SectionList(), request);
        if (ranges.empty())
            continue;
        FViews.push_back({viewer, ranges.size()});
        viewer->SetHighlights(std::move(ranges));
    }
    if (Active() && scroll == THighlightScroll::ToFirst)
        Show(0);
    return Count();
}

void TSearchHighlight::Clear()
{
    for (TMarkedView& view : FViews)
        if (view.viewer)
            view.viewer->SetHighlights({});
    FViews.clear();
    FCurrent = NoCurrent;
}

size_t TSearchHighlight::Count() const
{
    size_t count = 0;
    for (const TMarkedView& view : FViews)
        if (view.viewer)
            count += view.count;
    return count;
}

bool TSearchHighlight::Step(THighlightStep step)
{
    const size_t count = Count();
    if (count == 0)
        return false;
    if (FCurrent >= count) // none shown yet: the first or the last
        Show(step == THighlightStep::Next ? 0 : count - 1);
    else
        Show(step == THighlightStep::Next ? (FCurrent + 1) % count : (FCurrent + count - 1) % count);
    return true;
}

void TSearchHighlight::Show(size_t index)
{
    FCurrent = index;
    // The frame that holds the match shows it; the others show none current.
    size_t first = 0;
    for (TMarkedView& view : FViews) {
        if (!view.viewer)
            continue;
        const bool here = index >= first && index < first + view.count;
        view.viewer->ShowHighlight(here ? index - first : THighlightRanges::NoCurrent);
        first += view.count;
    }
}
