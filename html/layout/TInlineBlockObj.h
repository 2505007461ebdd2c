#pragma once
// An element shown as display: inline-block: a block of its own, as wide as
// its content asks (shrink-to-fit), that stands in a line of text as one
// unit, the way a picture does. Its baseline is the baseline of its last
// line of text, or its bottom margin edge when it has none or clips its
// content.
//
// Construction API (the builder): create the object, add the element's block
// to Holder() and fill the block, then hand the object to the text section
// with TSection::AddImage.
//
// The content is laid out with its top left at (0, 0) and painted shifted to
// where the line puts the object. Its characters take document positions of
// their own, past any position of the document's text, so selection and
// find in the text around never reach into it.
#include <memory>

#include "html/layout/IndentManager.h"
#include "html/layout/TCell.h"
#include "html/layout/TFloatingObj.h"

class TBlock;

class TInlineBlockObj : public TFloatingObj {
public:
    // depth: the nesting of the cell the object's line stands in.
    TInlineBlockObj(TSectionList& document, int depth);
    ~TInlineBlockObj() override;

    TCellBasic& Holder() { return FHolder; }

    void SizeFor(TCanvas& canvas, int lineWidth, int availHeight) override;
    void Draw(TCanvas& canvas, int x, int y) override;
    std::unique_ptr<TFloatingObj> Clone(TSectionList& target) const override;
    int LinkAt(int x, int y, TLinkHit& hit) override;
    int PreferredMinimumWidth() const override { return FMinWidth; }
    void Dump(std::string& out, int depth) const override;

private:
    TInlineBlockObj(const TInlineBlockObj& source, TSectionList& target);
    TBlock* Block() const;
    // Distance from the top of the margin box to the baseline.
    int BaselineOf(const TBlock& block) const;

    TSectionList* FDocument;
    TCell FHolder;
    IndentManager FEdges;
    int FMinWidth = 0;
};
