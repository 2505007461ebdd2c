#pragma once
#include "html/layout/TSection.h"

// A pre-formatted line: no white-space clean-up and never broken (unless its
// style wraps it at spaces, as white-space: pre-wrap does); it may reach
// beyond the right edge of its cell.
class TPreFormated : public TSection {
public:
    using TSection::TSection;
    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    int LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor) override;
    void MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth) override;
    const char* KindName() const override { return "pre"; }

protected:
    bool Preformatted() const override { return true; }

private:
    TPreFormated(const TPreFormated& source, TSectionList& target) : TSection(source, target) {}
};
