#pragma once
// A printed page break (the PAGE element): while printing, a break more
// than 5 pixels below the page top and above both the clip bottom and the
// current page bottom ends the page there. The builder adds it to the cell
// like any section: cell.AddSection(std::make_unique<TPage>(document)).
#include "html/layout/TSectionBase.h"

class TPage : public TSectionBase {
public:
    static constexpr int MinimumDistance = 5;

    explicit TPage(TSectionList& document) : TSectionBase(&document) {}

    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    int LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor) override;
    int Paint(TPaintContext& pc, IndentManager& im, int x, int xRef, int yRef) override;
    const char* KindName() const override { return "page"; }

private:
    TPage(const TPage& source, TSectionList& target) : TSectionBase(source, target) {}
};
