#pragma once
// Finds the grid column of each cell while a table is read, so that the
// table's COL specifications reach the right cells: cells spanning rows
// keep their columns taken in the rows below.
#include <vector>

class TCellManager {
public:
    // Starts the next row.
    void NextRow();
    // The column of the next cell of the current row; takes colSpan columns
    // for rowSpan rows.
    int PlaceCell(int colSpan, int rowSpan);

private:
    // For each column, the row index from which it is free again.
    std::vector<int> FBusyUntil;
    int FRow = -1;
    int FColumn = 0;
};
