#pragma once
// A list item block with its marker: a bullet, a number, a letter, a roman
// numeral or an image, drawn left of the content at the first line's
// baseline.
//
// Construction API: TBlockLI(document, cell, style, kind, nesting level,
// numbering type letter of the OL ('1', 'a', 'A', 'i', 'I'), plain flag of
// the UL, item number).
#include <memory>
#include <string>

#include "html/layout/TBlock.h"

class TFloatingObj;

class TBlockLI : public TBlock {
public:
    TBlockLI(TSectionList& document, TCellBasic& cell, TBlockStyle style, TListKind kind, int level, char numbering,
             bool plain, int number);
    ~TBlockLI() override;
    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    int LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor) override;
    int Paint(TPaintContext& pc, IndentManager& im, int x, int xRef, int yRef) override;
    const char* KindName() const override { return "li"; }

    TListMarker Marker() const { return FMarker; }
    // The text of a numbered marker ("3.", "c.", "xi."), empty for bullets.
    std::u16string MarkerText() const;
    // A list-style-image, once it is loaded (dropped when it cannot be).
    void SetMarkerImage(std::unique_ptr<TFloatingObj> image);
    // Baseline of the first line, or -1 when the item has no line.
    int MarkerY() const { return FFirstLineBaseline; }

private:
    TBlockLI(const TBlockLI& source, TSectionList& target);
    void PaintMarker(TPaintContext& pc);

    // The small fields first: they fill the end of the block's fields.
    TListKind FKind;
    TListMarker FMarker = TListMarker::Disc;
    bool FMarkerImageSized = false;
    int FNumber = 1;
    int FFirstLineBaseline = -1;
    std::unique_ptr<TFloatingObj> FMarkerImage;
};
