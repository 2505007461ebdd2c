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

namespace {

// True when no character of the document comes from the box's source range.
bool HoldsNoText(const TSectionList& document, const InlineRec& r)
{
    const TCellBasic& cell = document;
    const int first = cell.DocPosOf(r.StartSource, false);
    const int last = cell.DocPosOf(r.EndSource, true);
    return first < 0 || last < 0 || first > last;
}

} // namespace

void TInlineList::Resolve(const TSectionList& document)
{
    if (FResolvedFor == document.LayoutCounter)
        return;
    FResolvedFor = document.LayoutCounter;
    for (InlineRec& r : FItems) {
        if (HoldsNoText(document, r)) {
            // A box around nothing (a hidden element's, or one whose text was
            // all skipped) is drawn nowhere: resolved like the others, its
            // range would run from the next text to the document's end.
            r.StartDoc = r.EndDoc = 99999999;
            continue;
        }
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
