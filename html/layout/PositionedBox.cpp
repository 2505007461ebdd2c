#include "html/layout/PositionedBox.h"

#include <algorithm>

namespace {

int MarginOr0(const TMargArray& m, int i) { return m[i] == BoxAuto ? 0 : m[i]; }

long long HorizontalBox(const TMargArray& m, int contentWidth)
{
    return (long long)MarginOr0(m, BoxMarginLeft) + m[BoxBorderLeft] + m[BoxPaddingLeft] + contentWidth +
           m[BoxPaddingRight] + m[BoxBorderRight] + MarginOr0(m, BoxMarginRight);
}

} // namespace

TContainingBlock ContainingBlockOf(const TLayoutArea& area)
{
    TContainingBlock cb;
    cb.x = area.refX;
    cb.y = area.refY;
    cb.width = area.refWidth > 0 ? area.refWidth : std::max(0, area.width);
    cb.height = std::max(0, area.refHeight);
    return cb;
}

TBoxOffsets ResolveOffsets(const TMargArray& m, const TBoxLayoutStyle& style, const TContainingBlock& cb)
{
    TBoxOffsets o;
    o.left = m[BoxLeft];
    o.top = m[BoxTop];
    o.right = style.right.Resolve(cb.width, BoxAuto);
    // A percentage of a height not known yet is auto.
    if (!(style.bottom.percent && cb.height <= 0))
        o.bottom = style.bottom.Resolve(cb.height, BoxAuto);
    return o;
}

void RelativeShift(const TBoxOffsets& o, int& dx, int& dy)
{
    dx = o.left != BoxAuto ? o.left : o.right != BoxAuto ? -o.right : 0;
    dy = o.top != BoxAuto ? o.top : o.bottom != BoxAuto ? -o.bottom : 0;
}

int SettleAbsoluteWidth(TMargArray& m, const TBoxOffsets& o, const TContainingBlock& cb)
{
    long long room = cb.width;
    if (o.left != BoxAuto)
        room -= o.left;
    if (o.right != BoxAuto)
        room -= o.right;
    if (m[BoxWidth] == BoxAuto && o.left != BoxAuto && o.right != BoxAuto) {
        for (int i : {BoxMarginLeft, BoxMarginRight})
            if (m[i] == BoxAuto) {
                m[i] = 0;
                --m.autoCount;
            }
        m[BoxWidth] = ClampPixels(std::max(0LL, room - HorizontalBox(m, 0)));
        --m.autoCount;
    }
    return ClampPixels(std::max(0LL, room));
}

int AbsoluteLeft(const TMargArray& m, const TBoxOffsets& o, const TContainingBlock& cb, int contentWidth, int staticX)
{
    if (o.left != BoxAuto)
        return o.left;
    if (o.right != BoxAuto)
        return ClampPixels((long long)cb.width - o.right - HorizontalBox(m, contentWidth));
    return ClampPixels((long long)staticX - cb.x);
}

int AbsoluteHeight(const TMargArray& m, const TBoxOffsets& o, const TContainingBlock& cb)
{
    if (m[BoxHeight] > 0 || o.top == BoxAuto || o.bottom == BoxAuto || cb.height <= 0)
        return 0;
    long long h = (long long)cb.height - o.top - o.bottom - m[BoxMarginTop] - m[BoxMarginBottom] - m[BoxBorderTop] -
                  m[BoxPaddingTop] - m[BoxPaddingBottom] - m[BoxBorderBottom];
    return ClampPixels(std::max(1LL, h)); // 0 would mean auto
}

bool HangsFromBottom(const TBoxOffsets& o, const TContainingBlock& cb)
{
    return o.top == BoxAuto && o.bottom != BoxAuto && cb.height > 0;
}

int BottomAnchoredTop(const TBoxOffsets& o, const TContainingBlock& cb, int marginBoxHeight)
{
    return ClampPixels((long long)cb.height - o.bottom - marginBoxHeight);
}
