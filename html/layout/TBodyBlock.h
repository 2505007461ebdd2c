#pragma once
#include "html/layout/TBlock.h"

// The body element's block. Its background goes to the document; it paints
// no background or borders of its own, and it answers hit tests everywhere so
// that its title shows anywhere in the document.
class TBodyBlock : public TBlock {
public:
    TBodyBlock(TSectionList& document, TCellBasic& cell, TBlockStyle style);
    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    int LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor) override;
    int Paint(TPaintContext& pc, IndentManager& im, int x, int xRef, int yRef) override;
    const char* KindName() const override { return "body"; }

private:
    // The content width; a width or max-width narrower than the window
    // leaves the rest to auto margins (centring the body when both are).
    int SettleBodyWidth(TMargArray& m, int availWidth) const;
    TBodyBlock(const TBodyBlock& source, TSectionList& target) : TBlock(source, target) {}
};
