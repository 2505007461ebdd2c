#pragma once
// The block around a table: its outer box, float, margins, HSPACE and
// VSPACE, BGCOLOR, and the HTML border (a raised 3-D frame of BORDER pixels).
// Its content cell holds the ThtmlTable.
//
// Construction API (the builder): TTableBlock(document, cell, style, table
// spec); fill Table() with rows; add the block to cell (or to a
// TTableAndCaptionBlock).
#include "html/layout/TBlock.h"
#include "html/layout/ThtmlTable.h"

// What the builder reads from TABLE for the block.
struct TTableBlockSpec {
    int width = 0;             // pixels, or tenths of a percent when widthIsPercent; 0 none
    bool widthIsPercent = false;
    int height = 0;            // pixels; 0 none
    int hSpace = 0;
    int vSpace = 0;
    TColor background = ClNone; // BGCOLOR
    bool centered = false;      // ALIGN=CENTER, or a centred context
    bool rightAligned = false;  // a right-aligned context
    bool htmlBorder = false;    // BORDER >= 1 without border styles from the style sheet
};

class TTableBlock : public TBlock {
public:
    TTableBlock(TSectionList& document, TCellBasic& cell, TBlockStyle style, const TTableSpec& table,
                const TTableBlockSpec& spec);
    std::unique_ptr<TSectionBase> CloneInto(TSectionList& target) const override;
    int LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor) override;
    int ContentWidth(TCanvas& canvas, TMargArray& m, int availWidth, int availHeight) override;
    void PaintBorders(TCanvas& canvas, const TMargArray& box, const TRect& borderBox, const TRect& paddingBox) override;
    void MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth) override;
    void ListPositions() override;
    bool IsTableBlock() const override { return true; }
    const char* KindName() const override { return "tableblock"; }

    ThtmlTable& Table() { return *FTable; }
    const TTableBlockSpec& Spec() const { return FSpec; }
    // Inside a caption block the table neither floats nor centres.
    void SetInsideCaption();
    bool InsideCaption() const { return FInsideCaption; }
    // Inside a caption block: the width percentages are of this width.
    void SetPercentBase(int width) { FPercentBase = width; }

private:
    TTableBlock(const TTableBlock& source, TSectionList& target);
    static TBlockStyle TableStyle(TBlockStyle style, const TTableBlockSpec& spec, const TTableSpec& table);
    // Collapsed borders: the table's border joins the cells' (the edge
    // cells draw the winner) and the block draws none of its own.
    void HandBorderToCells();
    ThtmlTable* FTable = nullptr;
    TTableBlockSpec FSpec;
    bool FInsideCaption = false;
    int FPercentBase = 0;
};
