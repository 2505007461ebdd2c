#include "html/build/TCellManager.h"

#include <algorithm>

void TCellManager::NextRow()
{
    ++FRow;
    FColumn = 0;
}

int TCellManager::PlaceCell(int colSpan, int rowSpan)
{
    if (FRow < 0)
        NextRow();
    colSpan = std::clamp(colSpan, 1, 1000);
    rowSpan = std::clamp(rowSpan, 1, 1000);
    while (size_t(FColumn) < FBusyUntil.size() && FBusyUntil[size_t(FColumn)] > FRow)
        ++FColumn;
    int column = FColumn;
    size_t end = size_t(column + colSpan);
    if (FBusyUntil.size() < end)
        FBusyUntil.resize(end, 0);
    for (size_t i = size_t(column); i < end; ++i)
        FBusyUntil[i] = FRow + rowSpan;
    FColumn = column + colSpan;
    return column;
}
