#include "html/reader/TChPosObj.h"

namespace {
TChPosObj::TYPositionFinder& Finder()
{
    static TChPosObj::TYPositionFinder finder = nullptr;
    return finder;
}
} // namespace

int TChPosObj::YPosition() const
{
    TYPositionFinder finder = Finder();
    return finder != nullptr ? finder(FDocument, FChPos) : 0;
}

void TChPosObj::SetYPositionFinder(TYPositionFinder finder)
{
    Finder() = finder;
}
