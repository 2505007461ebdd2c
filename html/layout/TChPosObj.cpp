#include "html/layout/TChPosObj.h"

#include "html/layout/TSectionList.h"

int TChPosObj::YPosition() const
{
    if (!FDocument)
        return 0;
    int pos = FDocument->DocPosOf(FChPos, false);
    int x = 0, y = 0;
    if (pos >= 0 && FDocument->MeasuringCanvas() && FDocument->CaretXY(*FDocument->MeasuringCanvas(), pos, x, y))
        return y;
    return 0;
}
