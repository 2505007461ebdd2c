#include "html/layout/TDrawList.h"

#include "html/layout/TFloatingObj.h"

void TDrawList::DrawAll(TCanvas& canvas)
{
    for (const TImageRec& r : FItems)
        r.obj->Draw(canvas, r.x, r.y);
    FItems.clear();
}

void TDrawList::DrawFrom(TCanvas& canvas, size_t first)
{
    for (size_t i = first; i < FItems.size(); ++i)
        FItems[i].obj->Draw(canvas, FItems[i].x, FItems[i].y);
    if (first < FItems.size())
        FItems.resize(first);
}
