#pragma once
// A table with its caption: one block holding the caption block and the
// table block, the caption above or below.
//
// Construction API (the builder): create it with the table block's style
// (it floats for the table), then SetParts once the caption is read.
#include "html/layout/TTableBlock.h"

class TTableAndCaptionBlock : public TBlock {
public:
    TTableAndCaptionBlock(TSectionList& document, TCellBasic& cell, TBlockStyle style);
    // Takes both blocks; the caption goes first when above.
    void SetParts(std::unique_ptr<TTableBlock> table, std::unique_ptr<TBlock> caption, bool captionAbove);
    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    int ContentWidth(TCanvas& canvas, TMargArray& m, int availWidth, int availHeight) override;
    int DocPosOf(int sourcePos, bool previous) const override;
    bool IsTableBlock() const override { return true; }
    const char* KindName() const override { return "captionblock"; }

    TTableBlock* TableBlock() const { return FTable; }
    TBlock* Caption() const { return FCaption; }
    bool CaptionAbove() const { return FCaptionAbove; }

private:
    TTableAndCaptionBlock(const TTableAndCaptionBlock& source, TSectionList& target);
    static TBlockStyle CaptionStyle(TBlockStyle style);
    TTableBlock* FTable = nullptr;
    TBlock* FCaption = nullptr;
    bool FCaptionAbove = true;
    bool FCentered = false;
    bool FRightAligned = false;
};
