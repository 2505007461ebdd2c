#pragma once
// A grid container (display: grid or inline-grid): its items fill the
// columns of grid-template-columns row by row, in order; each row is as
// tall as its tallest item and the items stretch (or align) across it.
// Placement by line numbers or areas is not read: such items are placed
// in order like the others, and a grid without columns stacks its items.
#include "html/layout/TItemsBlock.h"

class TGridBlock : public TItemsBlock {
public:
    using TItemsBlock::TItemsBlock;
    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    const char* KindName() const override { return "grid"; }

protected:
    TGridBlock(const TGridBlock& source, TSectionList& target) : TItemsBlock(source, target) {}
    void LayoutContent(TCanvas& canvas, const TLayoutArea& inner, IndentManager& im, int& maxWidth,
                       int& cursor) override;
    void MeasureContent(TCanvas& canvas, int& minWidth, int& maxWidth) override;
};
