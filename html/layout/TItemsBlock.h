#pragma once
// A block whose content sections are items placed side by side rather than
// stacked: the common ground of flex and grid containers. It lays each
// item out where the arrangement puts it (so paint, search, selection and
// printing see the items where they are drawn), stretches or aligns items
// across a line, and hit-tests by the item's column as well as its rows.
//
// Items are the content sections in document order; an absolutely
// positioned block stays out of the arrangement. Each item lays its own
// content out between its own edges: floats inside an item stay inside it.
#include <memory>
#include <vector>

#include "html/layout/IndentManager.h"
#include "html/layout/TBlock.h"

class TItemsBlock : public TBlock {
public:
    using TBlock::TBlock;
    int PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit) override;

protected:
    TItemsBlock(const TItemsBlock& source, TSectionList& target) : TBlock(source, target) {}

    // What the arrangement knows of an item before laying it out.
    struct TItem {
        TSectionBase* section = nullptr;
        size_t index = 0;          // in the content cell
        const TFlexStyle* flex = nullptr; // the item's own values (defaults for text)
        TMargArray box;            // its box values (zero for text)
        bool isBlock = false;
        int minWidth = 0;          // margin-box widths of the content
        int maxWidth = 0;
        // Margins, borders and paddings of both sides.
        int HorizontalExtras() const;
        int VerticalExtras() const;
        bool WidthAuto() const { return !isBlock || box[BoxWidth] == BoxAuto; }
        bool HeightAuto() const { return !isBlock || box[BoxHeight] <= 0; }
    };

    // The in-flow items in order-modified document order, measured against
    // the content width; starts a layout of the items.
    std::vector<TItem> CollectItems(TCanvas& canvas, const TLayoutArea& inner);
    // The narrowest and widest margin-box widths of an item: as a block
    // measures itself, except that a width of its own does not keep it
    // from shrinking down to its content.
    static void MeasureItem(TCanvas& canvas, TSectionBase& section, int& minWidth, int& maxWidth);
    // Lays item out with its margin box at (x, y) and the margin-box width;
    // answers the margin-box height, floats inside included.
    int LayOutItem(TCanvas& canvas, const TItem& item, const TLayoutArea& inner, int x, int y, int width, int& cursor,
                   int relayouts);
    // Whether the item is laid out a second time, lower, once its line's
    // height is known: items centred or at the end of the cross axis, a few
    // containers deep at most. Their first layout only measures them: it
    // aligns nothing inside (alignment never changes a height), so however
    // deeply such containers nest, each item is laid out a bounded number
    // of times.
    bool AlignsLater(const TItem& item, const TLayoutArea& inner) const;
    // The relayout count of a layout that only measures.
    static constexpr int MeasuringPass = 1 << 20;
    // Aligns the items of one line of cross size lineHeight laid out at y:
    // stretches those that stretch and lays out again those AlignsLater.
    void AlignLine(TCanvas& canvas, const std::vector<const TItem*>& line, const TLayoutArea& inner, int y,
                   int lineHeight, int& cursor);
    // Makes an item's box height tall (its content stays at the top).
    void ExtendItem(const TItem& item, int height);
    // Lays the out-of-flow blocks out and ends the content layout; answers
    // nothing, the block reads the cell.
    void FinishItems(TCanvas& canvas, const TLayoutArea& inner, IndentManager& im, int startCursor, int& cursor,
                     int bottom, int& maxWidth);
    // The alignment of an item across the line.
    TFlexAlign AlignOf(const TItem& item) const;

private:
    // The X range of each content section as laid out, by index.
    struct TSpan {
        int left = 0;
        int right = 0;
        bool placed = false;
    };
    std::vector<TSpan> FSpans;
    // Heights of the last layout of each item, by index.
    std::vector<int> FHeights;
    IndentManager FItemEdges;
};

// How many containers deep items are laid out again to centre them; deeper
// ones stay at the start of their line.
constexpr int MaxAlignRelayouts = 4;
