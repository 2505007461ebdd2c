#pragma once
// The grid of a table: rows of cells with column and row spans, the column
// widths (from the cells' minimum and maximum widths, pixel widths and
// percentages), the row heights, placement, painting with HTML borders, and
// the position queries, answered by walking rows and cells.
//
// Construction API (the builder): ThtmlTable(document, spec); AddColumn for
// each COL element; AddRow for each finished row. The grid is built
// once, before the first measurement. The table block sets SetWidth and
// SpecHeight before each layout.
#include <memory>
#include <string>
#include <vector>

#include "html/layout/IndentManager.h"
#include "html/layout/TCellList.h"
#include "html/layout/TSectionBase.h"

// A column entry from COL or COLGROUP.
struct TColSpec {
    int width = 0;          // pixels, or tenths of a percent when percent
    bool percent = false;
    int vAlign = 0;         // 0 none, else a TCellVAlign code
    std::string align;      // lower-case text alignment, empty when none
};

// What the builder reads from the TABLE element.
struct TTableSpec {
    int border = 0;        // BORDER (1 without a value), clamped to 0..100
    int cellPadding = 1;   // at most 50
    int cellSpacing = 2;   // at most 40
    TColor light = ClNone; // BORDERCOLORLIGHT (or BORDERCOLOR); none: the system highlight
    TColor dark = ClNone;  // BORDERCOLORDARK (or BORDERCOLOR); none: the system shadow
    bool collapse = false; // border-collapse: collapse (no spacing, shared cell borders)
};

// Grid slots (cells and the places their spans cover) a table may have, and
// how many slot moves spreading its row spans may take.
constexpr size_t MaxGridSlots = size_t(1) << 22;
constexpr size_t MaxGridMoves = size_t(1) << 27;
// COL specifications kept per table.
constexpr int MaxColumnSpecs = 100;

class ThtmlTable : public TSectionBase {
public:
    ThtmlTable(TSectionList& document, const TTableSpec& spec);
    ~ThtmlTable() override;

    void AddRow(std::unique_ptr<TCellList> row);
    void AddColumn(const TColSpec& column);
    const std::vector<TColSpec>& Columns() const { return FColSpecs; }

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
    void Dump(std::string& out, int depth) const override;
    const char* KindName() const override { return "table"; }

    // Column widths for an available width (the given table width when set),
    // after the grid is built; exposed for tests.
    std::vector<int> ColumnWidths(TCanvas& canvas, int availWidth);
    int ColumnCount() const { return NumCols; }

    std::vector<std::unique_ptr<TCellList>> Rows;
    int BorderWidth = 0;
    int CellPadding = 1;
    int CellSpacing = 2;
    TColor Light = ClNone;
    TColor Dark = ClNone;
    bool Floating = false;
    bool Collapse = false; // cell borders collapsed
    // The table's own border when collapsed: the edge cells draw it (or
    // their own where theirs wins).
    TCellSides OuterSides{};
    int SetWidth = 0;     // table width the block gives (0: none)
    int SpecHeight = 0;   // table height the block gives (0: none)
    int TableWidth = 0;   // cellspacing + column widths of the last layout
    int TableHeight = 0;
    bool HasBackground = false;
    TColor Background = ClNone;
    std::vector<int> Widths, MaxWidths, MinWidths, Percents, Heights;

private:
    ThtmlTable(const ThtmlTable& source, TSectionList& target);
    struct Measure {
        std::vector<int> mins, maxs, percents;
        int totalMin = 0, totalMax = 0;
    };
    void BuildGrid();
    void PrepareCell(const TCellList& row, TCellObj& cell, size_t rowsLeft);
    // Collapsed borders: settles the sides every cell draws.
    void CollapseBorders();
    static size_t SpreadColumnSpans(TCellList& row, size_t slotsSoFar);
    void SpreadRowSpans(size_t slots);
    void MeasureCells(TCanvas& canvas);
    Measure Simple() const;
    Measure WithPercentages() const;
    bool UsePercentages() const { return !FHasPixelWidths || SetWidth > 0; }
    int NaturalWidth(const Measure& m) const;
    std::vector<int> AutoWidths(const Measure& m, int avail) const;
    std::vector<int> GivenWidths(const Measure& m, int avail) const;
    void FindRowHeights(TCanvas& canvas, int x, int y, int& cursor);
    void PlaceRows(TCanvas& canvas, int x, int y, int& cursor);
    int LayoutCell(TCanvas& canvas, TCellObj& cell, int x, int y, int width, int& cursor);
    int SpanWidth(size_t column, int span) const;
    int CellLeft(size_t column) const;
    void PaintCell(TPaintContext& pc, TCellObj& cell);
    bool RowStartsNewPage(TPaintContext& pc, const TCellList& row, size_t index) const;
    // Row tops and the lowest cell bottom of the rows so far, after layout,
    // so that painting and hit tests find their first row by binary search.
    void IndexRows(int y);
    static int CellBottom(const TCellObj& cell);
    size_t FirstRowReaching(int y) const;
    bool RowBelow(size_t row, int y) const;
    template <typename F> void ForEachCell(F&& f) const;
    TCellObj* CellAt(int x, int y) const;

    std::vector<TColSpec> FColSpecs;
    int NumCols = 0;
    bool FGridBuilt = false;
    bool FHasPixelWidths = false;
    std::vector<long long> FColumnEdges; // left edge of each column from the first (and the right end)
    // Per-cell minimum and maximum widths, in grid order, per layout pass.
    std::vector<int> FCellMin, FCellMax;
    int FMeasuredFor = -1;
    const TCanvas* FMeasuredOn = nullptr;
    int FMeasuredSetWidth = -1;
    std::vector<int> FCellCursor; // document position each cell's content starts at
    std::vector<int> FCellLaidY;  // Y and width each cell's content was last laid out at
    std::vector<int> FCellLaidW;
    std::vector<int> FCellLaidX;
    IndentManager FCellEdges; // float edges of the cell being laid out
    // Where absolutely positioned content of the cells is placed: the
    // containing block the table itself was laid out in.
    TLayoutArea FReference;
    std::vector<int> FRowTop;   // per row, from the last layout
    std::vector<int> FRowReach; // per row: the lowest bottom of its cells and those above
};
