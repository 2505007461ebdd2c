#pragma once
// The block of an HR element, holding its THorzLine.
//
// Construction API (the builder, at HR):
//   auto hr = std::make_unique<THRBlock>(document, cell, blockStyle, attrs,
//                                        properties.ownColor(), styleTextAlign);
//   cell.AddSection(std::move(hr));
// SIZE (1..20, else 2), COLOR, NOSHADE, ALIGN ("left", "right", else centre)
// and WIDTH (pixels or a percentage up to 100) are read here and go into the
// block's width and height; a colour or text-align from the style wins.
#include <optional>

#include "html/layout/TBlock.h"
#include "html/layout/THorzLine.h"

class TAttributeList;

class THRBlock : public TBlock {
public:
    THRBlock(TSectionList& document, TCellBasic& cell, TBlockStyle style, const TAttributeList& attrs,
             TColor styleColor = ClNone, std::optional<TRuleAlign> styleAlign = std::nullopt);

    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    int ContentWidth(TCanvas& canvas, TMargArray& m, int availWidth, int availHeight) override;
    const char* KindName() const override { return "hr"; }

    TRuleAlign Align = TRuleAlign::Center;
    THorzLine* Line() const { return FLine; }

private:
    THRBlock(const THRBlock& source, TSectionList& target);
    THorzLine* FLine = nullptr;
};
