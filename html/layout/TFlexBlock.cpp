#include "html/layout/TFlexBlock.h"

#include <algorithm>

std::unique_ptr<TSectionBase> TFlexBlock::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new TFlexBlock(*this, target));
}

int TFlexBlock::DefiniteHeight() const { return std::max(0, ResolveBox(FWidthBase, FHeightBase)[BoxHeight]); }

int TFlexBlock::AutomaticMinimum(const TItem& item, int available, long long basisExtras)
{
    const auto* block = dynamic_cast<const TBlock*>(item.section);
    const TBoxLayoutStyle* layout = block ? block->Style().layout.get() : nullptr;
    if (!layout)
        return item.minWidth;
    // A min-width of its own, or content clipped to the box, lets the item
    // shrink below its widest word or line (a code column beside a sidebar
    // then wraps in the window instead of pushing past its right edge).
    if (layout->minWidth.set)
        return ClampPixels(layout->minWidth.Resolve(available, 0) + basisExtras);
    if (layout->Clips())
        return ClampPixels(basisExtras);
    // An item never needs more room than its max-width gives it, however
    // wide a line of its content.
    if (layout->maxWidth.set)
        return ClampPixels(std::min<long long>(item.minWidth, layout->maxWidth.Resolve(available, 0) + basisExtras));
    return item.minWidth;
}

TFlexItemSize TFlexBlock::RowSizeOf(const TItem& item, int available) const
{
    const TFlexStyle& f = *item.flex;
    TFlexItemSize size;
    const long long extras = item.HorizontalExtras();
    // A border-box basis holds the borders and paddings already.
    const auto* block = dynamic_cast<const TBlock*>(item.section);
    auto margin = [&](int i) { return item.box[i] == BoxAuto ? 0LL : (long long)item.box[i]; };
    const long long basisExtras = block && block->Style().Layout().borderBox
                                      ? margin(BoxMarginLeft) + margin(BoxMarginRight)
                                      : extras;
    switch (f.basisKind) {
    case TFlexBasisKind::Pixels:
        size.base = ClampPixels((long long)f.basis + basisExtras);
        break;
    case TFlexBasisKind::Percent:
        size.base = ClampPixels((long long)(double(available) * f.basis / 100) + basisExtras);
        break;
    case TFlexBasisKind::Content:
        size.base = item.maxWidth;
        break;
    case TFlexBasisKind::Auto:
        size.base = item.WidthAuto() ? item.maxWidth : ClampPixels(item.box[BoxWidth] + extras);
        break;
    }
    size.minSize = AutomaticMinimum(item, available, basisExtras);
    size.grow = f.grow;
    size.shrink = f.shrink;
    if (item.isBlock) {
        const bool reverse = Style().Flex().reverse;
        const bool left = item.box[BoxMarginLeft] == BoxAuto, right = item.box[BoxMarginRight] == BoxAuto;
        size.autoStart = reverse ? right : left;
        size.autoEnd = reverse ? left : right;
    }
    return size;
}

int TFlexBlock::LayOutLine(TCanvas& canvas, const std::vector<TItem>& items, const std::vector<TFlexItemSize>& sizes,
                           size_t begin, size_t end, const TLayoutArea& inner, int y, int minHeight, int& cursor)
{
    const TFlexStyle& fs = Style().Flex();
    const std::vector<TFlexItemSize> lineSizes(sizes.begin() + std::ptrdiff_t(begin), sizes.begin() + std::ptrdiff_t(end));
    const std::vector<int> main = ResolveFlexibleLengths(lineSizes, inner.width, fs.columnGap);
    const std::vector<int> offsets = PlaceFlexLine(lineSizes, main, inner.width, fs.columnGap, fs.justify, fs.reverse);
    // Laid out in document order, so that document positions run on
    // through the line as they do in the source.
    std::vector<size_t> byIndex(end - begin);
    for (size_t k = 0; k < byIndex.size(); ++k)
        byIndex[k] = k;
    std::sort(byIndex.begin(), byIndex.end(),
              [&](size_t a, size_t b) { return items[begin + a].index < items[begin + b].index; });
    std::vector<const TItem*> line;
    int lineHeight = minHeight;
    for (size_t k : byIndex) {
        const TItem& item = items[begin + k];
        int relayouts = AlignsLater(item, inner) ? MeasuringPass : inner.relayouts;
        int h = LayOutItem(canvas, item, inner, AddDoc(inner.x, offsets[k]), y, main[k], cursor, relayouts);
        lineHeight = std::max(lineHeight, h);
        line.push_back(&item);
    }
    AlignLine(canvas, line, inner, y, lineHeight, cursor);
    return lineHeight;
}

std::vector<std::pair<int, int>> TFlexBlock::SpreadLines(TCanvas& canvas, const std::vector<TItem>& items,
                                                         const std::vector<TFlexItemSize>& sizes,
                                                         const std::vector<size_t>& starts, const TLayoutArea& inner,
                                                         int definite, int& cursor)
{
    const TFlexStyle& fs = Style().Flex();
    const size_t count = starts.size();
    // The rows' own heights first, measured where they would stack.
    TLayoutArea measuring = inner;
    measuring.relayouts = MeasuringPass;
    const int start = cursor;
    std::vector<int> heights;
    long long used = (long long)fs.rowGap * (long long)(count - 1);
    for (size_t l = 0; l < count; ++l) {
        const size_t end = l + 1 < count ? starts[l + 1] : items.size();
        heights.push_back(LayOutLine(canvas, items, sizes, starts[l], end, measuring, inner.y, 0, cursor));
        used += heights.back();
    }
    cursor = start;
    const long long free = (long long)definite - used;
    if (free <= 0)
        return {};
    std::vector<std::pair<int, int>> places(count);
    if (fs.alignContent == TFlexLines::Stretch) {
        long long top = 0;
        for (size_t l = 0; l < count; ++l) {
            long long share = free / (long long)count + (l + 1 == count ? free % (long long)count : 0);
            places[l] = {ClampPixels(top), ClampPixels(heights[l] + share)};
            top += heights[l] + share + fs.rowGap;
        }
        return places;
    }
    const std::vector<TFlexItemSize> lines(count);
    const std::vector<int> offsets =
        PlaceFlexLine(lines, heights, definite, fs.rowGap, TFlexJustify(int(fs.alignContent) - 1), false);
    for (size_t l = 0; l < count; ++l)
        places[l] = {offsets[l], heights[l]};
    return places;
}

int TFlexBlock::LayOutRows(TCanvas& canvas, const std::vector<TItem>& items, const TLayoutArea& inner, int& cursor)
{
    const TFlexStyle& fs = Style().Flex();
    std::vector<TFlexItemSize> sizes;
    sizes.reserve(items.size());
    for (const TItem& item : items)
        sizes.push_back(RowSizeOf(item, inner.width));
    const std::vector<size_t> starts = BreakFlexLines(sizes, inner.width, fs.columnGap, fs.wrap);
    const int ownHeight = DefiniteHeight();
    std::vector<std::pair<int, int>> places;
    if (starts.size() > 1 && ownHeight > 0 && inner.relayouts < MaxAlignRelayouts)
        places = SpreadLines(canvas, items, sizes, starts, inner, ownHeight, cursor);
    const int definite = starts.size() == 1 ? ownHeight : 0;
    int y = inner.y;
    int bottom = inner.y;
    for (size_t l = 0; l < starts.size(); ++l) {
        const size_t begin = starts[l], end = l + 1 < starts.size() ? starts[l + 1] : items.size();
        int minHeight = definite;
        if (!places.empty()) {
            y = AddDoc(inner.y, places[l].first);
            minHeight = places[l].second;
        }
        const int lineHeight = LayOutLine(canvas, items, sizes, begin, end, inner, y, minHeight, cursor);
        bottom = std::max(bottom, AddDoc(y, lineHeight));
        y = AddDoc(y, lineHeight + (l + 1 < starts.size() ? fs.rowGap : 0));
    }
    return std::max(bottom, AddDoc(inner.y, places.empty() ? definite : ownHeight));
}

std::pair<int, int> TFlexBlock::ColumnPlaceOf(const TItem& item, int available) const
{
    TFlexAlign align = AlignOf(item);
    int width;
    if (!item.WidthAuto())
        width = ClampPixels((long long)item.box[BoxWidth] + item.HorizontalExtras());
    else if (align == TFlexAlign::Stretch)
        width = available;
    else // shrink to fit
        width = std::min(item.maxWidth, std::max(item.minWidth, available));
    int free = std::max(0, available - width);
    int x = align == TFlexAlign::Center ? free / 2 : align == TFlexAlign::End ? free : 0;
    return {width, x};
}

int TFlexBlock::LayOutColumn(TCanvas& canvas, std::vector<TItem> items, const TLayoutArea& inner, int& cursor)
{
    const TFlexStyle& fs = Style().Flex();
    if (fs.reverse)
        std::reverse(items.begin(), items.end());
    const int definite = DefiniteHeight();
    double growSum = 0;
    for (const TItem& item : items)
        growSum += item.flex->grow;
    // With a height of its own the column spreads its free space: the items
    // are measured first, then laid out where they go.
    const bool spreads = definite > 0 && inner.relayouts < MaxAlignRelayouts &&
                         (growSum > 0 || fs.justify != TFlexJustify::Start || fs.reverse);
    std::vector<std::pair<int, int>> places;
    std::vector<int> heights;
    int y = inner.y;
    for (size_t k = 0; k < items.size(); ++k) {
        places.push_back(ColumnPlaceOf(items[k], inner.width));
        int h = LayOutItem(canvas, items[k], inner, AddDoc(inner.x, places[k].second), y, places[k].first, cursor,
                           spreads ? MeasuringPass : inner.relayouts);
        heights.push_back(h);
        y = AddDoc(y, h + (k + 1 < items.size() ? fs.rowGap : 0));
    }
    if (!spreads)
        return std::max(y, AddDoc(inner.y, definite));
    long long used = 0;
    for (size_t k = 0; k < items.size(); ++k)
        used += heights[k] + (k ? fs.rowGap : 0);
    const double free = std::max(0.0, double(definite) - double(used));
    std::vector<TFlexItemSize> sizes(items.size());
    std::vector<int> grown(items.size());
    for (size_t k = 0; k < items.size(); ++k) {
        double share = growSum > 0 ? free * items[k].flex->grow / std::max(1.0, growSum) : 0;
        grown[k] = ClampPixels((long long)heights[k] + (long long)share);
    }
    TFlexJustify justify = fs.justify;
    if (fs.reverse && justify == TFlexJustify::Start)
        justify = TFlexJustify::End;
    else if (fs.reverse && justify == TFlexJustify::End)
        justify = TFlexJustify::Start;
    const std::vector<int> offsets = PlaceFlexLine(sizes, grown, definite, fs.rowGap, justify, false);
    int bottom = AddDoc(inner.y, definite);
    for (size_t k = 0; k < items.size(); ++k) {
        int itemCursor = items[k].section->StartCurs;
        int top = AddDoc(inner.y, offsets[k]);
        LayOutItem(canvas, items[k], inner, AddDoc(inner.x, places[k].second), top, places[k].first, itemCursor,
                   inner.relayouts + 1);
        cursor = std::max(cursor, itemCursor);
        if (grown[k] > heights[k] && items[k].HeightAuto())
            ExtendItem(items[k], grown[k]);
        bottom = std::max(bottom, AddDoc(top, grown[k]));
    }
    return bottom;
}

void TFlexBlock::LayoutContent(TCanvas& canvas, const TLayoutArea& inner, IndentManager& im, int& maxWidth,
                               int& cursor)
{
    const int start = cursor;
    std::vector<TItem> items = CollectItems(canvas, inner);
    int bottom = Style().Flex().column ? LayOutColumn(canvas, std::move(items), inner, cursor)
                                       : LayOutRows(canvas, items, inner, cursor);
    FinishItems(canvas, inner, im, start, cursor, bottom, maxWidth);
}

void TFlexBlock::MeasureContent(TCanvas& canvas, int& minWidth, int& maxWidth)
{
    const TFlexStyle& fs = Style().Flex();
    long long minSum = 0, maxSum = 0;
    int minMax = 0, maxMax = 0, count = 0;
    for (auto& s : MyCell.Sections) {
        if (s->IsAbsolute())
            continue;
        int mn = 0, mx = 0;
        MeasureItem(canvas, *s, mn, mx);
        if (auto* block = dynamic_cast<TBlock*>(s.get())) {
            if (block->Style().displayNone)
                continue;
            // An item of a fixed basis asks for that width, whatever its content.
            const TFlexStyle& f = block->Style().Flex();
            if (f.basisKind == TFlexBasisKind::Pixels && f.grow == 0)
                mx = std::max(mn, int(f.basis));
        }
        minSum += mn;
        maxSum += mx;
        minMax = std::max(minMax, mn);
        maxMax = std::max(maxMax, mx);
        ++count;
    }
    const long long gaps = count > 1 ? (long long)(count - 1) * fs.columnGap : 0;
    if (fs.column) {
        minWidth = minMax;
        maxWidth = maxMax;
    } else {
        minWidth = fs.wrap ? minMax : ClampPixels(minSum + gaps);
        maxWidth = ClampPixels(maxSum + gaps);
    }
}
