#include "html/build/TCellManager.h"

#include <algorithm>

void TCellManager::NextRow()
{
    ++FRow;
    FColumn = 0;
}

int TCellManager::PlaceCell(int colSpan, int rowSpan, int trackedColumns)
{
    if (FRow < 0)
        NextRow();
    colSpan = std::clamp(colSpan, 1, 1000);
    rowSpan = std::clamp(rowSpan, 1, 1000);
    const int tracked = std::max(trackedColumns, 0);
    while (FColumn < tracked && size_t(FColumn) < FBusyUntil.size() && FBusyUntil[size_t(FColumn)] > FRow)
        ++FColumn;
    const int column = FColumn;
    if (column >= tracked)
        return column;
    const size_t end = size_t(std::min(column + colSpan, tracked));
    if (FBusyUntil.size() < end)
        FBusyUntil.resize(end, 0);
    for (size_t i = size_t(column); i < end; ++i)
        FBusyUntil[i] = FRow + rowSpan;
    FColumn = std::min(column + colSpan, tracked);
    return column;
}
