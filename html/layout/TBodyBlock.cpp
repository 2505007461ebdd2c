#include "html/layout/TBodyBlock.h"

#include <algorithm>

#include "html/layout/Backgrounds.h"
#include "html/layout/BlockSizing.h"
#include "html/layout/IndentManager.h"
#include "html/layout/TSectionList.h"

namespace {
TBlockStyle WithoutBackgroundImage(TBlockStyle style, TSectionList& document)
{
    document.BackgroundImage = style.backgroundImage;
    document.BackgroundPlacement = BackgroundPlacementOf(style);
    document.BackgroundFixed = style.backgroundFixed;
    style.backgroundImage.clear();
    return style;
}
} // namespace

TBodyBlock::TBodyBlock(TSectionList& document, TCellBasic& cell, TBlockStyle style)
    : TBlock(document, cell, WithoutBackgroundImage(std::move(style), document))
{
    TColor bg = TColor(ResolveBox(0, 0)[BoxBackgroundColor]);
    if (bg != ClNone)
        document.SetBackground(bg);
}

std::unique_ptr<TSectionBase> TBodyBlock::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new TBodyBlock(*this, target));
}

int TBodyBlock::SettleBodyWidth(TMargArray& m, int availWidth) const
{
    bool leftAuto = m[BoxMarginLeft] == BoxAuto, rightAuto = m[BoxMarginRight] == BoxAuto;
    for (int i : {BoxMarginLeft, BoxMarginRight})
        if (m[i] == BoxAuto)
            m[i] = 0;
    int extras = HorizontalExtras(m);
    int room = std::max(0, ClampPixels((long long)availWidth - extras - m[BoxMarginLeft] - m[BoxMarginRight]));
    int width = m[BoxWidth] == BoxAuto ? room : std::max(0, m[BoxWidth]);
    if (FStyle->layout)
        width = LimitedWidth(*FStyle->layout, width, availWidth, extras);
    if (width == room)
        return room;
    // A body narrower than the window: auto margins take the rest.
    long long rest = std::max(0LL, (long long)availWidth - extras - width);
    if (leftAuto && rightAuto)
        m[BoxMarginLeft] = ClampPixels(rest / 2);
    else if (leftAuto)
        m[BoxMarginLeft] = ClampPixels(std::max(0LL, rest - m[BoxMarginRight]));
    return width;
}

int TBodyBlock::LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    StartCurs = cursor;
    LayoutY = FBlockY = area.y;
    ClearAddon = 0;
    TMargArray m = ResolveBox(area.width, area.height);
    NewWidth = SettleBodyWidth(m, area.width);
    int leftExtras = m[BoxMarginLeft] + m[BoxBorderLeft] + m[BoxPaddingLeft];
    DrawTop = AddDoc(area.y, m[BoxMarginTop]);
    ContentLeft = AddDoc(area.x, leftExtras);
    int contentTop = AddDoc(area.y, m[BoxMarginTop] + m[BoxBorderTop] + m[BoxPaddingTop]);
    YValue = contentTop;
    KeepBox(m, area.width, area.height);
    MyCell.IMgr = &im;
    TSectionBase* savedOwner = im.CurrentID;
    im.CurrentID = this;
    int leftEdge = im.PushLeft(ContentLeft, contentTop, this);
    int rightEdge = im.PushRight(AddDoc(ContentLeft, NewWidth), contentTop, this);
    TLayoutArea inner;
    inner.x = ContentLeft;
    inner.y = contentTop;
    inner.width = NewWidth;
    inner.height = std::max(0, area.height - m[BoxMarginTop] - m[BoxMarginBottom]);
    inner.containingHeight = inner.height;
    int contentMax = 0;
    MyCell.DoLayout(canvas, inner, im, contentMax, cursor);
    Len = cursor - StartCurs;
    int textBot = std::max(contentTop, MyCell.TextBot);
    if (m[BoxHeight] > 0)
        textBot = std::max(textBot, AddDoc(contentTop, m[BoxHeight]));
    ContentBot = AddDoc(textBot, m[BoxBorderBottom] + m[BoxPaddingBottom] + m[BoxMarginBottom]);
    DrawBot = AddDoc(std::max(textBot, MyCell.tcDrawBot), m[BoxBorderBottom] + m[BoxPaddingBottom]);
    MyCell.tcDrawTop = 0;
    MyCell.tcDrawBot = 999000;
    im.PopLeft(leftEdge);
    im.PopRight(rightEdge);
    im.CurrentID = savedOwner;
    SectionHeight = AddDoc(DrawBot, m[BoxMarginBottom]) - area.y;
    DrawHeight = std::max(SectionHeight, im.LowestFloatBottom(area.y) - area.y);
    maxWidth = std::max(area.width, ClampDoc((long long)std::max(contentMax, NewWidth) + leftExtras + m[BoxMarginRight]));
    // Hit tests reach the body everywhere (its title shows anywhere).
    DrawTop = std::min(DrawTop, 0);
    DrawBot = std::max(AddDoc(area.y, DrawHeight), 999000);
    BuildPaintOrder();
    return SectionHeight;
}

int TBodyBlock::Paint(TPaintContext& pc, IndentManager&, int, int, int)
{
    SetTitleRect({-DocumentLimit, -DocumentLimit, DocumentLimit, DocumentLimit});
    PaintContent(pc);
    return DrawTop + SectionHeight;
}
