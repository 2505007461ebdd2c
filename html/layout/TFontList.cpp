#include "html/layout/TFontList.h"

#include <algorithm>

TFontObj& TFontList::Add(std::unique_ptr<TFontObj> run)
{
    FRuns.push_back(std::move(run));
    return *FRuns.back();
}

size_t TFontList::IndexAt(int pos) const
{
    auto it = std::upper_bound(FRuns.begin(), FRuns.end(), pos,
                               [](int p, const std::unique_ptr<TFontObj>& r) { return p < r->Pos; });
    return it == FRuns.begin() ? 0 : size_t(it - FRuns.begin()) - 1;
}

TFontObj* TFontList::GetFontObjAt(int pos) const { return FRuns.empty() ? nullptr : FRuns[IndexAt(pos)].get(); }

int TFontList::GetFontCountAt(int pos, int end) const
{
    if (FRuns.empty())
        return end - pos;
    size_t i = IndexAt(pos) + 1;
    while (i < FRuns.size() && FRuns[i]->Pos <= pos)
        ++i;
    int next = i < FRuns.size() ? FRuns[i]->Pos : end;
    return std::min(next, end) - pos;
}
