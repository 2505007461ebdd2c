#pragma once
// A flex container (display: flex or inline-flex): its items go in rows
// (flex-direction row, wrapping into more rows with flex-wrap) or in one
// column, grow and shrink by their flex factors, are spread along the line
// by justify-content and aligned across it by align-items and align-self.
// Rows of items in a flex-wrap container, and columns, are not balanced
// against each other (align-content is not read).
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
    // Lays the items out one below the other; answers the Y below them.
    int LayOutColumn(TCanvas& canvas, std::vector<TItem> items, const TLayoutArea& inner, int& cursor);
    // The item along a row: flex base size, minimum, factors, auto margins.
    TFlexItemSize RowSizeOf(const TItem& item, int available) const;
    // The width of an item in a column and its X offset.
    std::pair<int, int> ColumnPlaceOf(const TItem& item, int available) const;
    // The container's own content height, 0 when it has none.
    int DefiniteHeight() const;
};
