#include "html/layout/TPage.h"

std::unique_ptr<TSectionBase> TPage::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new TPage(*this, target));
}

int TPage::LayOut(TCanvas&, const TLayoutArea& area, IndentManager&, int& maxWidth, int& cursor)
{
    StartCurs = cursor;
    Len = 0;
    YValue = LayoutY = DrawTop = ContentBot = DrawBot = area.y;
    ContentLeft = area.x;
    SectionHeight = DrawHeight = 0;
    maxWidth = 0;
    return 0;
}

int TPage::Paint(TPaintContext& pc, IndentManager&, int, int, int)
{
    if (!pc.printing)
        return YValue;
    int pageTop = pc.clip.top + pc.yOffset;
    int clipBottom = pc.clip.bottom + pc.yOffset;
    if (YValue > pageTop + MinimumDistance && YValue < clipBottom && YValue < pc.pageBottom)
        pc.pageBottom = YValue;
    return YValue;
}
