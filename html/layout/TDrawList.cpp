#include "html/layout/TDrawList.h"

#include "html/layout/TFloatingObj.h"

void TDrawList::DrawAll(TCanvas& canvas)
{
    // An object's drawing may queue pictures of its own content: they are
    // drawn in this pass too.
    for (size_t i = 0; i < FItems.size(); ++i) {
        const TImageRec r = FItems[i];
        r.obj->Draw(canvas, r.x, r.y);
    }
    FItems.clear();
}

void TDrawList::DrawFrom(TCanvas& canvas, size_t first)
{
    for (size_t i = first; i < FItems.size(); ++i) {
        const TImageRec r = FItems[i];
        r.obj->Draw(canvas, r.x, r.y);
    }
    if (first < FItems.size())
        FItems.resize(first);
}
