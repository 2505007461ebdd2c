#include "html/layout/TGridBlock.h"

#include <algorithm>

#include "html/layout/GridLayout.h"

std::unique_ptr<TSectionBase> TGridBlock::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new TGridBlock(*this, target));
}

void TGridBlock::LayoutContent(TCanvas& canvas, const TLayoutArea& inner, IndentManager& im, int& maxWidth,
                               int& cursor)
{
    const int start = cursor;
    const TFlexStyle& fs = Style().Flex();
    std::vector<TItem> items = CollectItems(canvas, inner);
    const std::vector<TGridTrack> tracks = GridTracksAt(fs, inner.width, fs.columnGap);
    const size_t columns = tracks.size();
    std::vector<int> minContent(columns, 0), maxContent(columns, 0);
    for (size_t k = 0; k < items.size(); ++k) {
        minContent[k % columns] = std::max(minContent[k % columns], items[k].minWidth);
        maxContent[k % columns] = std::max(maxContent[k % columns], items[k].maxWidth);
    }
    const std::vector<int> widths = SizeGridColumns(tracks, inner.width, fs.columnGap, minContent, maxContent);
    std::vector<int> lefts(columns);
    long long x = inner.x;
    for (size_t c = 0; c < columns; ++c) {
        lefts[c] = ClampDoc(x);
        x += (long long)widths[c] + fs.columnGap;
    }
    int y = inner.y;
    for (size_t row = 0; row * columns < items.size(); ++row) {
        const size_t begin = row * columns, end = std::min(items.size(), begin + columns);
        std::vector<size_t> byIndex;
        for (size_t k = begin; k < end; ++k)
            byIndex.push_back(k);
        // Document positions run through the row as in the source.
        std::sort(byIndex.begin(), byIndex.end(), [&](size_t a, size_t b) { return items[a].index < items[b].index; });
        std::vector<const TItem*> line;
        int rowHeight = 0;
        for (size_t k : byIndex) {
            const size_t c = k - begin;
            int relayouts = AlignsLater(items[k], inner) ? MeasuringPass : inner.relayouts;
            rowHeight = std::max(rowHeight, LayOutItem(canvas, items[k], inner, lefts[c], y, widths[c], cursor, relayouts));
            line.push_back(&items[k]);
        }
        AlignLine(canvas, line, inner, y, rowHeight, cursor);
        y = AddDoc(y, rowHeight + (end < items.size() ? fs.rowGap : 0));
    }
    FinishItems(canvas, inner, im, start, cursor, y, maxWidth);
}

void TGridBlock::MeasureContent(TCanvas& canvas, int& minWidth, int& maxWidth)
{
    const TFlexStyle& fs = Style().Flex();
    std::vector<int> mins, maxes;
    for (auto& s : MyCell.Sections) {
        if (s->IsAbsolute())
            continue;
        if (auto* block = dynamic_cast<TBlock*>(s.get()); block && block->Style().displayNone)
            continue;
        int mn = 0, mx = 0;
        MeasureItem(canvas, *s, mn, mx);
        mins.push_back(mn);
        maxes.push_back(mx);
    }
    // The columns as listed (an auto-filled repeat counts once).
    const std::vector<TGridTrack> tracks = GridTracksAt(TFlexStyle{.columns = fs.columns}, 0, 0);
    const size_t columns = fs.columns.empty() && fs.autoRepeat ? 1 : tracks.size();
    long long minSum = 0, maxSum = 0;
    for (size_t c = 0; c < columns; ++c) {
        int mn = 0, mx = 0;
        for (size_t k = c; k < mins.size(); k += columns) {
            mn = std::max(mn, mins[k]);
            mx = std::max(mx, maxes[k]);
        }
        if (c < tracks.size() && tracks[c].kind == TGridTrackKind::Pixels)
            mn = mx = int(tracks[c].value);
        minSum += mn;
        maxSum += mx;
    }
    const long long gaps = columns > 1 ? (long long)(columns - 1) * fs.columnGap : 0;
    minWidth = ClampPixels(minSum + gaps);
    maxWidth = ClampPixels(maxSum + gaps);
}
