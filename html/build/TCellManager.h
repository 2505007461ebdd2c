#pragma once
// Finds the grid column of each cell while a table is read, so that the
// table's COL specifications reach the right cells: cells spanning rows
// keep their columns taken in the rows below.
//
// Only the columns a COL element describes are tracked: a cell that starts
// past them gets no COL values whatever its exact column, so wide column
// spans cost no memory.
#include <cstddef>
#include <vector>

class TCellManager {
public:
    // Starts the next row.
    void NextRow();
    // The column of the next cell of the current row; takes colSpan columns
    // for rowSpan rows. Any answer at or past trackedColumns (the number of
    // specified columns) stands for "beyond them".
    int PlaceCell(int colSpan, int rowSpan, int trackedColumns);
    // How many columns are being tracked.
    size_t TrackedColumns() const { return FBusyUntil.size(); }

private:
    // For each tracked column, the row index from which it is free again.
    std::vector<int> FBusyUntil;
    int FRow = -1;
    int FColumn = 0;
};
