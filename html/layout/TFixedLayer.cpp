#include "html/layout/TFixedLayer.h"

#include <algorithm>

#include "html/layout/TBlock.h"

void TFixedLayer::Add(TBlock* box)
{
    auto after = std::upper_bound(FBoxes.begin(), FBoxes.end(), box->ZIndex,
                                  [](int z, const TBlock* b) { return z < b->ZIndex; });
    FBoxes.insert(after, box);
}

void TFixedLayer::Paint(TPaintContext& pc) const
{
    for (TBlock* box : FBoxes)
        box->PaintFixed(pc);
}

TBlock* TFixedLayer::BoxAt(int x, int windowY) const
{
    for (auto it = FBoxes.rbegin(); it != FBoxes.rend(); ++it)
        if ((*it)->LaidOutBorderBox().contains(x, windowY))
            return *it;
    return nullptr;
}
