#pragma once
// One table row: its cells in column order (empty grid slots and the places
// covered by a span hold no cell), its specified height, background and
// page-break flags, and the heights layout gives it.
#include <memory>
#include <string>
#include <vector>

#include "html/layout/TCellObj.h"

// What the builder reads from a TR and its style.
struct TRowSpec {
    int height = 0;            // pixels
    int heightPercent = 0;     // 0..100
    TColor background = ClNone;
    std::string backgroundImage;
    bool pageBreakBefore = false;
    bool pageBreakAfter = false;
    bool pageBreakInsideAvoid = false;
};

class TCellList {
public:
    explicit TCellList(const TRowSpec& spec = {});
    TCellList(const TCellList& source, TSectionList& target);
    TCellList& operator=(const TCellList&) = delete;

    // Appends a cell; the row's height and page breaks go into it.
    void Add(std::unique_ptr<TCellObj> cell);
    // Inserts count placeholders (no cell) at a column; a shorter row is
    // first filled with placeholders up to the column.
    void InsertPlaceholders(size_t column, size_t count);

    std::vector<std::unique_ptr<TCellObj>> Cells;
    int SpecHt = 0;
    int SpecHtPercent = 0;
    TColor Background = ClNone;
    std::string BackgroundImage;
    bool BreakBefore = false;
    bool BreakAfter = false;
    bool KeepTogether = false;
    int RowHeight = 0;     // set by layout
    int SpannedHeight = 0; // tallest height of the cells starting in this row
};
