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
// where the line puts the object. Its characters take the document positions
// that follow the characters of the section it stands in (the section hands
// out the first before each layout); the section copies and finds them in
// reading order, as if they stood at the object's placeholder.
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

    // Document positions of its text: from first on, taken at the next layout.
    void SetFirstTextPosition(int first) { FFirstPos = first; }
    int TextLength() const { return FTextLength; }
    bool HoldsPosition(int pos) const { return pos >= FFirstPos && pos - FFirstPos < FTextLength; }
    // Adds to the document's selection buffer the part of its text in [from, to).
    void CopyText(int from, int to);
    // The first match at or after from, or the last one ending before it.
    int FindText(int from, const std::u16string& text, bool matchCase);
    int FindTextBack(int from, const std::u16string& text, bool matchCase);
    // Each text section inside, with its first document position.
    void VisitText(const TTextVisitor& visit);

private:
    TInlineBlockObj(const TInlineBlockObj& source, TSectionList& target);
    TBlock* Block() const;
    // Distance from the top of the margin box to the baseline.
    int BaselineOf(const TBlock& block) const;

    TSectionList* FDocument;
    TCell FHolder;
    IndentManager FEdges;
    int FMinWidth = 0;
    int FFirstPos;
    int FTextLength = 0;
};
