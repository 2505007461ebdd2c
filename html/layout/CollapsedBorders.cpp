#include "html/layout/CollapsedBorders.h"

namespace {

int StyleRank(TBorderKind kind)
{
    switch (kind) {
    case TBorderKind::Double: return 8;
    case TBorderKind::Solid: return 7;
    case TBorderKind::Dashed: return 6;
    case TBorderKind::Dotted: return 5;
    case TBorderKind::Ridge: return 4;
    case TBorderKind::Outset: return 3;
    case TBorderKind::Groove: return 2;
    case TBorderKind::Inset: return 1;
    case TBorderKind::None: return 0;
    }
    return 0;
}

bool Shows(const TBorderSide& side) { return side.style != TBorderKind::None && side.width > 0; }

} // namespace

const TBorderSide& WinningBorder(const TBorderSide& first, const TBorderSide& second)
{
    if (!Shows(second))
        return first;
    if (!Shows(first))
        return second;
    if (first.width != second.width)
        return first.width > second.width ? first : second;
    return StyleRank(second.style) > StyleRank(first.style) ? second : first;
}
