#include "html/layout/TPreFormated.h"

#include <algorithm>

#include "html/layout/IndentManager.h"

std::unique_ptr<TSectionBase> TPreFormated::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new TPreFormated(*this, target));
}

int TPreFormated::LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    if (FWrapsPreformatted)
        return TSection::LayOut(canvas, area, im, maxWidth, cursor);
    // The line is never cut: its width is answered as the widest it needs.
    int savedWidth = im.Width;
    im.Width = 32000;
    int h = TSection::LayOut(canvas, area, im, maxWidth, cursor);
    im.Width = savedWidth;
    int textWidth = Buff.empty() ? 0 : StretchWidth(canvas, 0, int(Buff.size()));
    maxWidth = std::max(maxWidth, textWidth);
    return h;
}

void TPreFormated::MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth)
{
    if (FWrapsPreformatted) {
        TSection::MeasureWidths(canvas, minWidth, maxWidth);
        return;
    }
    if (!FWidthsKnown) {
        FMaxWidth = Buff.empty() ? 0 : StretchWidth(canvas, 0, int(Buff.size()));
        FMinWidth = std::min(2000, FMaxWidth);
        FWidthsKnown = true;
    }
    minWidth = FMinWidth;
    maxWidth = FMaxWidth;
}
