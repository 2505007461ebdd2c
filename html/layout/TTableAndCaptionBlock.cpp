#include "html/layout/TTableAndCaptionBlock.h"

#include <algorithm>

#include "html/layout/TSectionList.h"

TBlockStyle TTableAndCaptionBlock::CaptionStyle(TBlockStyle style)
{
    // The frame, paddings and background belong to the table block inside.
    TBoxResolver inner = style.boxValues ? style.boxValues : FixedBoxValues(TMargArray{});
    style.boxValues = [inner](int widthBase, int heightBase) {
        TMargArray b = inner(widthBase, heightBase);
        for (int i = BoxPaddingTop; i <= BoxBorderLeft; ++i)
            b[i] = 0;
        b[BoxBackgroundColor] = int(ClNone);
        if (b[BoxWidth] != BoxAuto) {
            b[BoxWidth] = BoxAuto;
            ++b.autoCount;
        }
        b.widthIsPercent = false;
        b[BoxHeight] = 0;
        return b;
    };
    style.borderStyles.fill(TBorderKind::None);
    style.backgroundImage.clear(); // the caption stands outside the table's picture
    style.id.clear(); // the table block carries the ID
    style.tag = "table";
    return style;
}

TTableAndCaptionBlock::TTableAndCaptionBlock(TSectionList& document, TCellBasic& cell, TBlockStyle style)
    : TBlock(document, cell, CaptionStyle(std::move(style)), TCollapse::None)
{
}

TTableAndCaptionBlock::TTableAndCaptionBlock(const TTableAndCaptionBlock& source, TSectionList& target)
    : TBlock(source, target), FCaptionAbove(source.FCaptionAbove), FCentered(source.FCentered),
      FRightAligned(source.FRightAligned)
{
    for (auto& s : MyCell.Sections) {
        if (auto* t = dynamic_cast<TTableBlock*>(s.get()))
            FTable = t;
        else if (auto* b = dynamic_cast<TBlock*>(s.get()))
            FCaption = b;
    }
}

std::unique_ptr<TSectionBase> TTableAndCaptionBlock::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new TTableAndCaptionBlock(*this, target));
}

void TTableAndCaptionBlock::SetParts(std::unique_ptr<TTableBlock> table, std::unique_ptr<TBlock> caption,
                                     bool captionAbove)
{
    FTable = table.get();
    FCaption = caption.get();
    FCaptionAbove = captionAbove;
    if (FTable) {
        FCentered = FTable->Spec().centered;
        FRightAligned = FTable->Spec().rightAligned;
        FTable->SetInsideCaption();
    }
    if (captionAbove)
        MyCell.AddSection(std::move(caption));
    MyCell.AddSection(std::move(table));
    if (!captionAbove)
        MyCell.AddSection(std::move(caption));
}

int TTableAndCaptionBlock::ContentWidth(TCanvas& canvas, TMargArray& m, int availWidth, int)
{
    bool noMargins = true;
    for (int i : {BoxMarginLeft, BoxMarginRight}) {
        if (m[i] == BoxAuto)
            m[i] = 0;
        noMargins = noMargins && m[i] == 0;
    }
    int room = std::max(0, availWidth - m[BoxMarginLeft] - m[BoxMarginRight]);
    int width = 0;
    if (FTable) {
        int tmin = 0, tmax = 0;
        FTable->MeasureWidths(canvas, tmin, tmax);
        const TTableBlockSpec& spec = FTable->Spec();
        FTable->SetPercentBase(room);
        if (spec.width > 0 && spec.widthIsPercent)
            width = std::max(tmin, int((long long)room * std::min(spec.width, 1000) / 1000));
        else
            width = std::max(tmin, std::min(tmax, room));
    }
    if (FCaption) {
        int cmin = 0, cmax = 0;
        FCaption->MeasureWidths(canvas, cmin, cmax);
        width = std::max(width, cmin);
    }
    if (!Floats() && noMargins && width < availWidth) {
        if (FCentered)
            m[BoxMarginLeft] = (availWidth - width) / 2;
        else if (FRightAligned)
            m[BoxMarginLeft] = availWidth - width;
    }
    return width;
}

int TTableAndCaptionBlock::DocPosOf(int sourcePos, bool previous) const
{
    const TSectionBase* first = FTable;
    const TSectionBase* second = FCaption;
    if (previous)
        std::swap(first, second);
    for (const TSectionBase* s : {first, second})
        if (s) {
            int p = s->DocPosOf(sourcePos, previous);
            if (p >= 0)
                return p;
        }
    return -1;
}
