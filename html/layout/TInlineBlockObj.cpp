#include "html/layout/TInlineBlockObj.h"

#include <algorithm>

#include "html/layout/BlockSizing.h"
#include "html/layout/TBlock.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"

namespace {

// Where the characters of an inline block are counted from until its
// section hands it positions: past any document's own text.
constexpr int DetachedPositions = 1 << 29;

// The baseline of the last line of text in cell laid out in the flow, or -1.
int LastBaseline(const TCellBasic& cell)
{
    for (auto it = cell.Sections.rbegin(); it != cell.Sections.rend(); ++it) {
        if (const auto* section = dynamic_cast<const TSection*>(it->get())) {
            const TLineList& lines = section->Lines();
            for (size_t i = lines.size(); i-- > 0;)
                if (lines[i].Ln > 0)
                    return lines[i].Baseline();
        } else if (const auto* block = dynamic_cast<const TBlock*>(it->get())) {
            const TBlockStyle& style = block->Style();
            if (style.displayNone || block->Floats() || block->IsAbsolute() || style.Layout().Clips())
                continue;
            if (int baseline = LastBaseline(block->Content()); baseline >= 0)
                return baseline;
        }
    }
    return -1;
}

} // namespace

TInlineBlockObj::TInlineBlockObj(TSectionList& document, int depth)
    : FDocument(&document), FHolder(&document, depth), FFirstPos(DetachedPositions)
{
    VertAlign = TVAlign::Baseline;
    FHolder.OwnerKind = TCellOwner::Other;
}

TInlineBlockObj::TInlineBlockObj(const TInlineBlockObj& source, TSectionList& target)
    : TFloatingObj(source), FDocument(&target), FHolder(&target, source.FHolder.Depth()), FMinWidth(source.FMinWidth),
      FFirstPos(source.FFirstPos), FTextLength(source.FTextLength)
{
    FHolder.CloneSectionsFrom(source.FHolder, target);
}

TInlineBlockObj::~TInlineBlockObj() = default;

std::unique_ptr<TFloatingObj> TInlineBlockObj::Clone(TSectionList& target) const
{
    return std::unique_ptr<TFloatingObj>(new TInlineBlockObj(*this, target));
}

TBlock* TInlineBlockObj::Block() const
{
    return FHolder.Sections.empty() ? nullptr : dynamic_cast<TBlock*>(FHolder.Sections.front().get());
}

void TInlineBlockObj::SizeFor(TCanvas& canvas, int lineWidth, int availHeight)
{
    TBlock* block = Block();
    if (!block || block->Style().displayNone) {
        ObjWidth = ObjHeight = BelowBaseline = FMinWidth = 0;
        return;
    }
    int minWidth = 0, maxWidth = 0;
    block->MeasureWidths(canvas, minWidth, maxWidth);
    FMinWidth = minWidth;
    // A line width of 0 asks for the widths the object would like (measuring).
    const int width = lineWidth > 0 ? ShrinkToFitWidth(minWidth, maxWidth, lineWidth) : maxWidth;
    TLayoutArea area;
    area.width = width;
    area.usedWidth = width;
    area.height = availHeight;
    area.containingHeight = availHeight;
    FEdges.Reset(0, width);
    // The content's first line is not the first line of a list item around it.
    int* waitingMarker = FDocument->ListItemMarkerY;
    FDocument->ListItemMarkerY = nullptr;
    int contentMax = 0;
    int cursor = FFirstPos;
    block->LayOut(canvas, area, FEdges, contentMax, cursor);
    FTextLength = std::max(0, cursor - FFirstPos);
    FDocument->ListItemMarkerY = waitingMarker;
    ObjWidth = width;
    ObjHeight = std::max(0, block->SectionHeight);
    const int baseline = block->Style().Layout().Clips() ? -1 : LastBaseline(block->Content());
    BelowBaseline = baseline < 0 ? 0 : std::clamp(ObjHeight - baseline, 0, ObjHeight);
}

void TInlineBlockObj::Draw(TCanvas& canvas, int x, int y)
{
    TBlock* block = Block();
    if (!block || ObjWidth <= 0)
        return;
    // The content was laid out from (0, 0): painted as if the window's top
    // were y pixels above it and shifted right by x.
    TPaintContext pc{canvas};
    pc.yOffset = -y;
    pc.shiftX = x;
    const int reach = std::max(ObjHeight, block->DrawBot);
    pc.clip = TRect{x, y, AddDoc(x, ObjWidth), AddDoc(y, reach)};
    pc.pageBottom = reach;
    canvas.save();
    block->Paint(pc, FEdges, 0, 0, 0);
    canvas.restore();
}

int TInlineBlockObj::LinkAt(int x, int y, TLinkHit& hit)
{
    TBlock* block = Block();
    TCanvas* canvas = FDocument->MeasuringCanvas();
    if (!block || !canvas)
        return 0;
    return block->LinkAt(*canvas, x, y, hit);
}

void TInlineBlockObj::CopyText(int from, int to)
{
    TBlock* block = Block();
    const int first = std::max(from, FFirstPos), end = std::min(to, FFirstPos + FTextLength);
    if (!block || first >= end)
        return;
    // The block copies what the document's selection covers: narrowed to
    // this text for the time, so that no line break follows its end.
    const int selB = FDocument->SelB, selE = FDocument->SelE;
    FDocument->SelB = first;
    FDocument->SelE = end;
    block->CopySelection();
    FDocument->SelB = selB;
    FDocument->SelE = selE;
}

int TInlineBlockObj::FindText(int from, const std::u16string& text, bool matchCase)
{
    TBlock* block = Block();
    return block && FTextLength > 0 ? block->FindText(std::max(from, FFirstPos), text, matchCase) : -1;
}

int TInlineBlockObj::FindTextBack(int from, const std::u16string& text, bool matchCase)
{
    TBlock* block = Block();
    if (!block || FTextLength <= 0)
        return -1;
    return block->FindTextBack(std::min(from, FFirstPos + FTextLength), text, matchCase);
}

void TInlineBlockObj::VisitText(const TTextVisitor& visit)
{
    if (TBlock* block = Block(); block && FTextLength > 0)
        block->VisitText(visit);
}

void TInlineBlockObj::Dump(std::string& out, int depth) const
{
    DumpIndent(out, depth);
    out += "inline-block w=" + std::to_string(ObjWidth) +
           " h=" + std::to_string(ObjHeight) + " below=" + std::to_string(BelowBaseline) + "\n";
    if (TBlock* block = Block())
        block->Dump(out, depth + 1);
}
