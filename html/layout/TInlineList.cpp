#include "html/layout/TInlineList.h"

#include "html/layout/TSectionList.h"

int TInlineList::StartInline(int sourcePos, const TMargArray& box, const std::array<TBorderKind, 4>& styles)
{
    InlineRec r;
    r.StartSource = sourcePos;
    r.Box = SanitizeBoxValues(box);
    r.Styles = styles;
    FItems.push_back(r);
    FResolvedFor = -1;
    return int(FItems.size()) - 1;
}

void TInlineList::EndInline(int index, int sourcePos)
{
    if (index >= 0 && size_t(index) < FItems.size())
        FItems[size_t(index)].EndSource = sourcePos;
    FResolvedFor = -1;
}

void TInlineList::Resolve(const TSectionList& document)
{
    if (FResolvedFor == document.LayoutCounter)
        return;
    FResolvedFor = document.LayoutCounter;
    for (InlineRec& r : FItems) {
        r.StartDoc = document.DocPosOf(r.StartSource, false);
        r.EndDoc = document.DocPosOf(r.EndSource, true);
        if (r.StartDoc == r.EndDoc)
            --r.StartDoc;
        if (r.StartDoc < 0)
            r.StartDoc = 99999999;
        if (r.EndDoc < 0)
            r.EndDoc = 99999999;
    }
}
