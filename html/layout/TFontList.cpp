#include "html/layout/TFontList.h"

#include <algorithm>

size_t TFontList::IndexAt(int pos) const
{
    // The last run starting at or before pos (the first when none does).
    size_t low = 0, high = Count();
    while (high - low > 1) {
        size_t mid = (low + high) / 2;
        if ((*this)[mid].Pos <= pos)
            low = mid;
        else
            high = mid;
    }
    return low;
}

TFontObj* TFontList::GetFontObjAt(int pos) const { return Empty() ? nullptr : &(*this)[IndexAt(pos)]; }

int TFontList::GetFontCountAt(int pos, int end) const
{
    if (Empty())
        return end - pos;
    size_t i = IndexAt(pos) + 1;
    while (i < Count() && (*this)[i].Pos <= pos)
        ++i;
    int next = i < Count() ? (*this)[i].Pos : end;
    return std::min(next, end) - pos;
}
