#include "html/layout/TItemsBlock.h"

#include <algorithm>
#include <climits>

#include "html/layout/TSectionList.h"

int TItemsBlock::TItem::HorizontalExtras() const
{
    auto margin = [&](int i) { return box[i] == BoxAuto ? 0 : box[i]; };
    return ClampPixels((long long)margin(BoxMarginLeft) + margin(BoxMarginRight) + box[BoxBorderLeft] +
                       box[BoxBorderRight] + box[BoxPaddingLeft] + box[BoxPaddingRight]);
}

int TItemsBlock::TItem::VerticalExtras() const
{
    return ClampPixels((long long)box[BoxMarginTop] + box[BoxMarginBottom] + box[BoxBorderTop] + box[BoxBorderBottom] +
                       box[BoxPaddingTop] + box[BoxPaddingBottom]);
}

std::vector<TItemsBlock::TItem> TItemsBlock::CollectItems(TCanvas& canvas, const TLayoutArea& inner)
{
    static const TFlexStyle defaults;
    std::vector<TItem> items;
    const TSectionVector& sections = MyCell.Sections;
    // Until an item is placed (and for positioned blocks) it answers hit
    // tests across the whole width, as in a block.
    FSpans.assign(sections.size(), TSpan{INT_MIN / 2, INT_MAX / 2, false});
    FHeights.assign(sections.size(), 0);
    items.reserve(sections.size());
    for (size_t i = 0; i < sections.size(); ++i) {
        TSectionBase& s = *sections[i];
        if (s.IsAbsolute())
            continue;
        TItem item;
        item.section = &s;
        item.index = i;
        item.flex = &defaults;
        item.box = TMargArray{};
        if (auto* block = dynamic_cast<TBlock*>(&s)) {
            if (block->Style().displayNone)
                continue;
            item.isBlock = true;
            item.flex = &block->Style().Flex();
            item.box = SanitizeBoxValues(block->Style().boxValues(inner.width, inner.height));
        }
        MeasureItem(canvas, s, item.minWidth, item.maxWidth);
        items.push_back(item);
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const TItem& a, const TItem& b) { return a.flex->order < b.flex->order; });
    return items;
}

void TItemsBlock::MeasureItem(TCanvas& canvas, TSectionBase& section, int& minWidth, int& maxWidth)
{
    section.MeasureWidths(canvas, minWidth, maxWidth);
    auto* block = dynamic_cast<TBlock*>(&section);
    if (!block)
        return;
    const TMargArray box = SanitizeBoxValues(block->Style().boxValues(0, 0));
    if (box[BoxWidth] == BoxAuto || box[BoxWidth] <= 0)
        return;
    // An item given a width may still shrink down to its content.
    TItem item;
    item.box = box;
    int contentMin = 0, contentMax = 0;
    block->Content().MeasureWidths(canvas, contentMin, contentMax);
    minWidth = std::min(minWidth, ClampPixels((long long)contentMin + item.HorizontalExtras()));
}

int TItemsBlock::LayOutItem(TCanvas& canvas, const TItem& item, const TLayoutArea& inner, int x, int y, int width,
                            int& cursor, int relayouts)
{
    width = std::max(0, width);
    FItemEdges.Reset(x, width);
    FItemEdges.CurrentID = this;
    // The item sees the container's content area (heights, and the box its
    // absolutely positioned content is placed in) at its own place and width.
    TLayoutArea a = inner;
    a.x = x;
    a.y = y;
    a.width = width;
    a.usedWidth = item.isBlock ? width : -1;
    a.relayouts = relayouts;
    if (item.isBlock && Style().Flex().display == TBoxDisplay::Flex)
        a.percentBase = inner.width;
    int itemMax = 0;
    int h = item.section->LayOut(canvas, a, FItemEdges, itemMax, cursor);
    h = std::max({h, item.section->DrawHeight, item.section->SectionHeight, 0});
    FSpans[item.index] = TSpan{x, AddDoc(x, width), true};
    FHeights[item.index] = h;
    return h;
}

TFlexAlign TItemsBlock::AlignOf(const TItem& item) const
{
    TFlexAlign self = item.flex->alignSelf;
    return self == TFlexAlign::Auto ? Style().Flex().alignItems : self;
}

bool TItemsBlock::AlignsLater(const TItem& item, const TLayoutArea& inner) const
{
    TFlexAlign align = AlignOf(item);
    return (align == TFlexAlign::Center || align == TFlexAlign::End) && inner.relayouts < MaxAlignRelayouts;
}

void TItemsBlock::AlignLine(TCanvas& canvas, const std::vector<const TItem*>& line, const TLayoutArea& inner, int y,
                            int lineHeight, int& cursor)
{
    for (const TItem* item : line) {
        TSectionBase& s = *item->section;
        int h = FHeights[item->index];
        TFlexAlign align = AlignOf(*item);
        if (align == TFlexAlign::Stretch && item->isBlock && item->HeightAuto() && h < lineHeight) {
            ExtendItem(*item, lineHeight);
        } else if (AlignsLater(*item, inner)) {
            int shift = std::max(0, lineHeight - h);
            if (align == TFlexAlign::Center)
                shift /= 2;
            TSpan span = FSpans[item->index];
            int itemCursor = s.StartCurs;
            LayOutItem(canvas, *item, inner, span.left, AddDoc(y, shift), span.right - span.left, itemCursor,
                       inner.relayouts + 1);
            cursor = std::max(cursor, itemCursor);
        }
    }
}

void TItemsBlock::ExtendItem(const TItem& item, int height)
{
    TSectionBase& s = *item.section;
    const int extra = height - FHeights[item.index];
    if (extra <= 0 || !item.isBlock)
        return;
    s.ContentBot = AddDoc(s.ContentBot, extra);
    s.DrawBot = AddDoc(s.DrawBot, extra);
    s.SectionHeight = AddDoc(s.SectionHeight, extra);
    s.DrawHeight = std::max(s.DrawHeight, s.SectionHeight);
    FHeights[item.index] = height;
}

void TItemsBlock::FinishItems(TCanvas& canvas, const TLayoutArea& inner, IndentManager& im, int startCursor,
                              int& cursor, int bottom, int& maxWidth)
{
    // Positioned blocks take their place from their own offsets, as in a block.
    for (auto& s : MyCell.Sections) {
        if (!s->IsAbsolute())
            continue;
        TLayoutArea a = inner;
        a.usedWidth = -1;
        int sectionMax = 0;
        s->LayOut(canvas, a, im, sectionMax, cursor);
    }
    maxWidth = inner.width;
    for (const TSpan& span : FSpans)
        if (span.placed)
            maxWidth = std::max(maxWidth, span.right - inner.x);
    MyCell.FinishPlaced(inner, im, startCursor, cursor, bottom);
}

int TItemsBlock::PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit)
{
    const TSectionVector& sections = MyCell.Sections;
    if (Style().displayNone || FSpans.size() != sections.size())
        return TBlock::PositionAt(canvas, x, y, hit);
    // The item under the point, else the nearest one beside it in its row.
    TSectionBase* nearest = nullptr;
    long long nearestDistance = LLONG_MAX;
    for (size_t i = sections.size(); i-- > 0;) {
        TSectionBase& s = *sections[i];
        if (!(s.DrawTop <= y && y < s.DrawBot))
            continue;
        const TSpan span = FSpans[i];
        long long distance = x < span.left ? (long long)span.left - x : x >= span.right ? (long long)x - span.right + 1 : 0;
        if (distance == 0) {
            int pos = s.PositionAt(canvas, x, y, hit);
            if (pos >= 0)
                return pos;
        } else if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = &s;
        }
    }
    return nearest ? nearest->PositionAt(canvas, x, y, hit) : -1;
}
