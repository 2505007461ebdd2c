#pragma once
// The block-level box: margins, borders, paddings, width and height resolved
// from the style at every layout; vertical margins collapsed with the
// previous block when it is created; floats, clear, absolute and relative
// positioning, z-order, background and borders.
//
// Construction API (the builder): TBlock(document, cell, style) where cell is
// the cell the block will be added to (margins collapse against its last
// section, so create the block just before adding it); then add the block to
// that cell with AddSection and fill Content() with the element's sections.
#include <memory>
#include <string>
#include <vector>

#include "html/layout/TBlockCell.h"
#include "html/layout/TBlockStyle.h"
#include "html/layout/TSectionBase.h"

// Table blocks keep their margins as given.
enum class TCollapse : uint8_t { Margins, None };

class TBlock : public TSectionBase {
public:
    TBlock(TSectionList& document, TCellBasic& cell, TBlockStyle style, TCollapse collapse = TCollapse::Margins);
    ~TBlock() override;

    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    void CopySelection() override;
    int LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor) override;
    int Paint(TPaintContext& pc, IndentManager& im, int x, int xRef, int yRef) override;
    int LinkAt(TCanvas& canvas, int x, int y, TLinkHit& hit) override;
    bool ObjectAt(int x, int y, TFloatingObj*& obj, int& xObj, int& yObj) override;
    int PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit) override;
    int FindText(int from, const std::u16string& text, bool matchCase) override;
    int FindTextBack(int from, const std::u16string& text, bool matchCase) override;
    void VisitText(const TTextVisitor& visit) override;
    int SourcePosOf(int pos) const override;
    int DocPosOf(int sourcePos, bool previous) const override;
    bool CaretXY(TCanvas& canvas, int pos, int& x, int& y) override;
    bool CharAt(int pos, char16_t& ch, TIDObject*& obj) override;
    void MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth) override;
    void ListPositions() override;
    void Dump(std::string& out, int depth) const override;
    const char* KindName() const override { return "block"; }
    bool IsAbsolute() const override { return FStyle->position == TPositionKind::Absolute; }
    // position: fixed (laid out as absolute against the viewport).
    bool IsFixed() const { return FStyle->layout && FStyle->layout->fixed; }
    // Paints a fixed box at its place in the window (pc scrolled anywhere).
    void PaintFixed(TPaintContext& pc);
    // The border box of the last layout, document pixels (unshifted).
    TRect LaidOutBorderBox() const { return FLaidOut ? BorderBox(LaidOutBox()) : TRect{}; }

    // Draws the borders between the border box and the padding box; box
    // holds the box values of the last layout.
    virtual void PaintBorders(TCanvas& canvas, const TMargArray& box, const TRect& borderBox, const TRect& paddingBox);
    // The content width for the available width, with the box values m of
    // this layout (m.autoCount autos among the side margins and the width);
    // settles auto margins in m on the way.
    virtual int ContentWidth(TCanvas& canvas, TMargArray& m, int availWidth, int availHeight);
    // Table blocks answer true (margin collapsing leaves them alone).
    virtual bool IsTableBlock() const { return false; }

    TBlockCell& Content() { return MyCell; }
    const TBlockCell& Content() const { return MyCell; }
    // Shared with the blocks made from equal styles: never changed in place.
    const TBlockStyle& Style() const { return *FStyle; }
    bool Floats() const { return FStyle->floatKind != TFloatKind::None; }
    bool Hidden() const { return FStyle->hidden; }
    void SetHidden(bool hidden);
    // The selector text "tag.class".
    std::string TagClass() const { return FStyle->tag + "." + FStyle->className; }
    // Resolved margins as margin collapsing sees them (percent base 400).
    int CollapsedBottomMargin() const;
    int CollapsedTopMargin() const;

    int NewWidth = 0;    // content width
    int ClearAddon = 0;  // extra space pushed down by clear

protected:
    TBlock(const TBlock& source, TSectionList& target);
    // Lays the content cell out in inner; flex and grid containers place
    // their items themselves.
    virtual void LayoutContent(TCanvas& canvas, const TLayoutArea& inner, IndentManager& im, int& maxWidth,
                               int& cursor)
    {
        MyCell.DoLayout(canvas, inner, im, maxWidth, cursor);
    }
    // The narrowest and widest widths of the content.
    virtual void MeasureContent(TCanvas& canvas, int& minWidth, int& maxWidth)
    {
        MyCell.MeasureWidths(canvas, minWidth, maxWidth);
    }
    // Box values for the bases, with the collapsed margins applied.
    TMargArray ResolveBox(int widthBase, int heightBase) const;
    // Keeps what paint needs to have the box values m of this layout again.
    void KeepBox(const TMargArray& m, int widthBase, int heightBase);
    // The box values of the last layout (those paint reads).
    TMargArray LaidOutBox() const;
    int ClearOffset(const IndentManager& im, int y) const;
    static int HorizontalExtras(const TMargArray& m);
    // Applies min-width and max-width to the width in m; autoWidth is what
    // an auto width would be.
    void SettleWidthLimits(TMargArray& m, int availWidth, int autoWidth) const;
    // The content box height for the content's height and the block's own
    // (0: auto), within min-height and max-height.
    int SettleHeight(int contentHeight, int ownHeight, int heightBase, const TMargArray& m) const;
    // Clipping blocks: the point lies outside the padding box of the last layout.
    bool OutsideClip(int x, int y) const;
    // Lays a box hanging from its containing block's bottom out again with
    // this top offset, now that its height is known.
    int HangFromBottom(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor, int top);
    // Fixed boxes are listed in the document, which paints them in the window.
    void RegisterFixed();
    // The edges an absolutely positioned box lays its content out with.
    IndentManager& OwnEdges(int x, int width);
    // A point where a relative block is painted to where its content was laid out.
    void Unshift(int& x, int& y) const;
    // The rectangles of the last layout, in document pixels.
    TRect BorderBox(const TMargArray& m) const;
    // Paints background, borders and the content in paint order.
    void DrawBlock(TPaintContext& pc);
    void PaintContent(TPaintContext& pc);
    // False when printing decides the block goes on the next page.
    bool PrintFits(TPaintContext& pc) const;
    void BuildPaintOrder();
    void DumpBox(std::string& out, int depth, const char* kind) const;
    // Where the title shows: the border box of the last paint, document pixels.
    void SetTitleRect(const TRect& rect);
    // Gives this block a changed copy of its style (the style is shared).
    template <typename Change> void ChangeStyle(Change change)
    {
        TBlockStyle style = *FStyle;
        change(style);
        FStyle = ShareStyle(Owner(), std::move(style));
    }

    // The fields are in an order that leaves no gaps: a page has tens of
    // thousands of blocks.
    int FBlockY = 0;       // Y the box was laid out at (after positioning)
    std::shared_ptr<const TBlockStyle> FStyle;
    TBlockCell MyCell;
    // The bases of the last layout, and its vertical margins (tables that
    // float settle theirs in ContentWidth).
    int FWidthBase = 0, FHeightBase = 0;
    int FMarginTop = 0, FMarginBottom = 0;
    int FTopMarginOverride = BoxNotSet; // set by margin collapsing
    int FTopOffset = 0;    // resolved top and left of positioned blocks
    int FLeftOffset = 0;
    int FForcedTop = BoxNotSet; // the top offset of a second pass (boxes hanging from the bottom)
    int FFixedFor = -1;         // the layout pass that listed this fixed box
    // MeasureWidths is asked by every ancestor; keep it per layout pass.
    int FMeasuredFor = -1;
    int FMinWidth = 0, FMaxWidth = 0;
    const TCanvas* FMeasuredOn = nullptr;
    // Sections by z-order key; none while every key is 0 (document order).
    std::unique_ptr<std::vector<TSectionBase*>> FPaintOrder;
    std::unique_ptr<TRect> FTitleRect; // blocks with a title only
    std::unique_ptr<IndentManager> FOwnEdges; // absolutely positioned blocks only
    bool FBottomMarginTaken = false; // the next block took it
    bool FLaidOut = false;

public:
    // Set by the builder for OL, UL, DIR and MENU blocks.
    bool IsListBlock = false;

private:
    static std::shared_ptr<const TBlockStyle> ShareStyle(TSectionList* document, TBlockStyle style);
    void CollapseMargins(TCellBasic& cell);
    // The section at or above y that answers hit(section), topmost first.
    template <typename Hit> bool HitTopmost(int y, Hit hit) const;
};
