#include "html/layout/TDrawList.h"

#include "html/layout/TFloatingObj.h"

void TDrawList::DrawAll(TCanvas& canvas)
{
    for (const TImageRec& r : FItems)
        r.obj->Draw(canvas, r.x, r.y);
    FItems.clear();
}
