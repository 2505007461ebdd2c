#include "app/WindowPlacement.h"

#include <algorithm>

QRect FirstStartBounds(const QRect& available)
{
    QSize size(available.width() * 4 / 5, available.height() * 4 / 5);
    QRect bounds(QPoint(0, 0), size);
    bounds.moveCenter(available.center());
    return bounds;
}

namespace {

long long OverlapArea(const QRect& a, const QRect& b)
{
    QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : (long long)common.width() * common.height();
}

} // namespace

QRect PlaceOnScreens(const QRect& wanted, const QList<QRect>& availableAreas, const QSize& minimum)
{
    if (availableAreas.isEmpty())
        return wanted;
    QRect area = availableAreas.front();
    long long best = 0;
    for (const QRect& candidate : availableAreas) {
        long long overlap = OverlapArea(wanted, candidate);
        if (overlap > best) {
            best = overlap;
            area = candidate;
        }
    }
    int width = std::clamp(wanted.width(), minimum.width(), std::max(minimum.width(), area.width()));
    int height = std::clamp(wanted.height(), minimum.height(), std::max(minimum.height(), area.height()));
    int left = std::clamp(wanted.left(), area.left(), std::max(area.left(), area.right() - width + 1));
    int top = std::clamp(wanted.top(), area.top(), std::max(area.top(), area.bottom() - height + 1));
    return { left, top, width, height };
}
