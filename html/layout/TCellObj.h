#pragma once
// One table cell: its spans, the sizes the table gives it, its paddings and
// borders, its background, and the content cell (a TCell with its own float
// edges) that the builder fills.
//
// Construction API (the builder): fill a TCellSpec from the cell's attributes
// and style, create the cell with the document and the cell that holds the
// table (block nesting continues from there), then add sections to Content().
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "html/layout/Backgrounds.h"
#include "html/layout/CollapsedBorders.h"
#include "html/layout/LayoutTypes.h"
#include "html/layout/TCell.h"

class TSectionList;

// Column and row spans are kept below this: one attribute must not make the
// grid take gigabytes.
constexpr int MaxCellSpan = 1000;

// Vertical alignment codes of cells.
enum class TCellVAlign : uint8_t { Top = 1, Middle = 2, Baseline = 3, Bottom = 4 };

// What the builder reads from a TD or TH and its style.
struct TCellSpec {
    static constexpr int NotGiven = -1;
    int colSpan = 1;
    int rowSpan = 1;
    int width = 0;               // pixels, or tenths of a percent when widthIsPercent
    bool widthIsPercent = false;
    int height = 0;              // pixels
    int heightPercent = 0;       // 0..100
    TCellVAlign vAlign = TCellVAlign::Middle;
    std::array<int, 4> padding{NotGiven, NotGiven, NotGiven, NotGiven}; // top, right, bottom, left
    std::array<int, 4> border{};                                        // widths where a style is given
    std::array<TBorderKind, 4> borderStyles{};
    std::array<TColor, 4> borderColors{ClNone, ClNone, ClNone, ClNone};
    TColor background = ClNone;
    std::string backgroundImage;
    TBackgroundPlacement backgroundPlacement;
    bool pageBreakBefore = false;
    bool pageBreakAfter = false;
    bool pageBreakInsideAvoid = false;
    int emSize = 16;
    int exSize = 8;
};

class TCellObj {
public:
    // depth and parent: where the content cell continues the block nesting.
    TCellObj(TSectionList& document, const TCellSpec& spec, int depth = 0, TCellBasic* parent = nullptr);
    TCellObj(const TCellObj& source, TSectionList& target);
    TCellObj& operator=(const TCellObj&) = delete;

    TCell& Content() { return FCell; }
    const TCell& Content() const { return FCell; }
    // What the builder read. Only cells with paddings, borders or page
    // breaks of their own keep a copy; the others answer the default cell style
    // (their spans, sizes and background are the fields below).
    const TCellSpec& Spec() const;
    bool HasBorderStyle() const;

    // Settles paddings and borders for the table's cellpadding and border.
    void Prepare(int cellPadding, bool tableBorder);
    // Paddings and border widths (top, right, bottom, left): all 0 until
    // Prepare. They follow from the table's settings and, for the few cells
    // with their own, the spec, so a cell does not store them.
    std::array<int, 4> Padding() const;
    std::array<int, 4> Border() const;
    int HzSpace() const;
    int VrSpace() const;
    // The cell's own four sides as the conflict rules of collapsed borders
    // compare them: its style's, or the one-pixel frame of a bordered table.
    TCellSides OwnSides(TColor frameColor) const;
    // In a table with collapsed borders: the sides the cell draws (Border()
    // answers their widths from then on); null in other tables.
    void SetCollapsedSides(const TCellSides& sides);
    const TCellSides* CollapsedSides() const { return FOwn ? FOwn->collapsed.get() : nullptr; }

private:
    TCell FCell;

public:
    // Small types, so that the cell with its content cell fits a smaller
    // allocation: a table has a cell for every grid slot.
    int16_t ColSpan = 1;  // at most MaxCellSpan
    int16_t RowSpan = 1;
    TCellVAlign VAlign = TCellVAlign::Middle;
    int8_t SpecHtPercent = 0; // 0..100
    bool SpecWdPercent : 1 = false;

private:
    // What Prepare was told (cellpadding is at most 50).
    bool FTableBorder : 1 = false;
    bool FPrepared : 1 = false;
    uint8_t FCellPadding = 0;

public:
    int Ht = 0;           // allotted height (rows spanned)
    int Wd = 0;           // allotted width (columns spanned)
    int CellHeight = 0;   // content height of the last layout
    int YIndent = 0;      // vertical offset of the content
    int Index = -1;       // position among the table's cells in grid order
    int X = 0;            // border box left of the last layout, document pixels
    int Y = 0;            // border box top
    int SpecWd = 0;
    int SpecHt = 0;
    TColor Background = ClNone;

    // The picture tiled over the padding box: the cell's own or its row's.
    struct TBackgroundPicture {
        std::string name;
        TBackgroundPlacement placement;
    };
    const TBackgroundPicture* BackgroundPicture() const;
    void SetBackgroundPicture(const std::string& name, const TBackgroundPlacement& placement);
    void DropBackgroundPicture();

private:
    // What few cells have lives out of line, in one piece: a picture, and
    // the spec of a cell with paddings, borders or breaks of its own.
    struct TOwnData {
        std::unique_ptr<const TCellSpec> spec;
        std::unique_ptr<TBackgroundPicture> picture;
        std::unique_ptr<TCellSides> collapsed;
        bool Empty() const { return !spec && !picture && !collapsed; }
    };
    TOwnData& Own();
    void TrimOwn();
    std::unique_ptr<TOwnData> FOwn;
};
