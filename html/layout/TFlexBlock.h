#pragma once
// A flex container (display: flex or inline-flex): its items go in rows
// (flex-direction row, wrapping into more rows with flex-wrap) or in one
// column, grow and shrink by their flex factors, are spread along the line
// by justify-content and aligned across it by align-items and align-self.
// Rows of a flex-wrap container share the free height of a container with a
// height of its own by align-content.
#include "html/layout/FlexLayout.h"
#include "html/layout/TItemsBlock.h"

class TFlexBlock : public TItemsBlock {
public:
    using TItemsBlock::TItemsBlock;
    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    const char* KindName() const override { return "flex"; }

protected:
    TFlexBlock(const TFlexBlock& source, TSectionList& target) : TItemsBlock(source, target) {}
    void LayoutContent(TCanvas& canvas, const TLayoutArea& inner, IndentManager& im, int& maxWidth,
                       int& cursor) override;
    void MeasureContent(TCanvas& canvas, int& minWidth, int& maxWidth) override;

private:
    // Lays the items out in rows from inner.y; answers the Y below them.
    int LayOutRows(TCanvas& canvas, const std::vector<TItem>& items, const TLayoutArea& inner, int& cursor);
    // Lays items [begin, end) out as one row at y, at least minHeight high;
    // answers the row's height.
    int LayOutLine(TCanvas& canvas, const std::vector<TItem>& items, const std::vector<TFlexItemSize>& sizes,
                   size_t begin, size_t end, const TLayoutArea& inner, int y, int minHeight, int& cursor);
    // The top (from inner.y) and height of each row when rows share a
    // definite height by align-content; empty when they stack as they are.
    std::vector<std::pair<int, int>> SpreadLines(TCanvas& canvas, const std::vector<TItem>& items,
                                                 const std::vector<TFlexItemSize>& sizes,
                                                 const std::vector<size_t>& starts, const TLayoutArea& inner,
                                                 int definite, int& cursor);
    // Lays the items out one below the other; answers the Y below them.
    int LayOutColumn(TCanvas& canvas, std::vector<TItem> items, const TLayoutArea& inner, int& cursor);
    // The item along a row: flex base size, minimum, factors, auto margins.
    TFlexItemSize RowSizeOf(const TItem& item, int available) const;
    // The narrowest margin-box width a row item shrinks to: its content's
    // narrowest, unless its own min-width or clipping says otherwise.
    static int AutomaticMinimum(const TItem& item, int available, long long basisExtras);
    // The width of an item in a column and its X offset.
    std::pair<int, int> ColumnPlaceOf(const TItem& item, int available) const;
    // The container's own content height, 0 when it has none.
    int DefiniteHeight() const;
};
