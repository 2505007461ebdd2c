#include "html/layout/TBlock.h"

#include <algorithm>

#include "html/layout/Backgrounds.h"
#include "html/layout/Borders.h"
#include "html/layout/IndentManager.h"
#include "html/layout/TSectionList.h"

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

int CombineMargins(int t, int m)
{
    if (t >= 0 && m >= 0)
        return std::max(t, m);
    if (t < 0 && m < 0)
        return std::min(t, m);
    return t + m;
}

} // namespace

TBlock::TBlock(TSectionList& document, TCellBasic& cell, TBlockStyle style, TCollapse collapse)
    : TSectionBase(&document), FStyle(std::move(style))
{
    TCellBasic& target = cell.BlockTarget();
    OwnerCell = &target;
    MyCell = std::make_unique<TBlockCell>(&document, target.Depth() + 1, &target);
    MyCell->OwnerBlock = this;
    MyCell->OwnerKind = CellOwnerOfTag(FStyle.tag);
    FTagClass = FStyle.tag + "." + FStyle.className;
    if (!FStyle.boxValues)
        FStyle.boxValues = FixedBoxValues(TMargArray{});
    if (FStyle.floatKind != TFloatKind::Left && FStyle.floatKind != TFloatKind::Right)
        FStyle.floatKind = TFloatKind::None;
    bool positioned = FStyle.position != TPositionKind::Static;
    ZIndex = positioned ? FStyle.zIndex * 10 : 0;
    if (FStyle.position == TPositionKind::Absolute && ZIndex == 0)
        ZIndex = 1;
    if (Floats() && ZIndex == 0)
        ZIndex = 1;
    if (!FStyle.id.empty())
        document.AddID(FStyle.id, this);
    if (collapse == TCollapse::Margins)
        CollapseMargins(target);
}

TBlock::TBlock(const TBlock& source, TSectionList& target)
    : TSectionBase(source, target), FStyle(source.FStyle), MargArray(source.MargArray),
      FTopMarginOverride(source.FTopMarginOverride), FBottomMarginTaken(source.FBottomMarginTaken),
      FTagClass(source.FTagClass)
{
    IsListBlock = source.IsListBlock;
    MyCell = std::make_unique<TBlockCell>(&target, source.MyCell->Depth(), nullptr);
    MyCell->OwnerBlock = this;
    MyCell->CloneSectionsFrom(*source.MyCell, target);
    if (!target.ShowImages)
        FStyle.backgroundImage.clear();
}

TBlock::~TBlock() = default;

std::unique_ptr<TSectionBase> TBlock::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new TBlock(*this, target));
}

TMargArray TBlock::ResolveBox(int widthBase, int heightBase) const
{
    TMargArray b = SanitizeBoxValues(FStyle.boxValues(widthBase, heightBase));
    if (FTopMarginOverride)
        b[BoxMarginTop] = *FTopMarginOverride;
    if (FBottomMarginTaken)
        b[BoxMarginBottom] = 0;
    return b;
}

int TBlock::CollapsedBottomMargin() const { return ResolveBox(400, 400)[BoxMarginBottom]; }
int TBlock::CollapsedTopMargin() const { return ResolveBox(400, 400)[BoxMarginTop]; }

void TBlock::CollapseMargins(TCellBasic& cell)
{
    TMargArray b = ResolveBox(400, 400);
    bool explicitTop = b.topMarginExplicit;
    int top = b[BoxMarginTop];
    if (FStyle.position == TPositionKind::Absolute) {
        if (!explicitTop)
            FTopMarginOverride = 0;
        return;
    }
    if (Floats())
        return;
    TSectionBase* prev = nullptr;
    for (auto it = cell.Sections.rbegin(); it != cell.Sections.rend(); ++it)
        if (!(*it)->IsAbsolute()) {
            prev = it->get();
            break;
        }
    if (auto* block = dynamic_cast<TBlock*>(prev)) {
        if (block->IsTableBlock() && block->Floats()) {
            if (!explicitTop)
                FTopMarginOverride = 0;
            return;
        }
        int bottom = block->CollapsedBottomMargin();
        block->FBottomMarginTaken = true;
        FTopMarginOverride = CombineMargins(top, bottom);
    } else if (prev) {
        if (cell.OwnerKind == TCellOwner::ListItem && !explicitTop && (StartsWith(FTagClass, "ul.") || StartsWith(FTagClass, "ol.")))
            FTopMarginOverride = 0;
    } else if (!explicitTop) {
        FTopMarginOverride = 0;
    } else if (cell.OwnerKind == TCellOwner::Document || cell.OwnerKind == TCellOwner::Body) {
        int ownerTop = cell.OwnerBlock ? cell.OwnerBlock->CollapsedTopMargin() : 0;
        FTopMarginOverride = std::max(0, top - ownerTop);
    }
}

int TBlock::ClearOffset(const IndentManager& im, int y) const
{
    int bottom = y;
    switch (FStyle.clear) {
    case TClearKind::Left:
        bottom = im.LeftFloatBottom(y);
        break;
    case TClearKind::Right:
        bottom = im.RightFloatBottom(y);
        break;
    case TClearKind::Both:
        bottom = im.LowestFloatBottom(y);
        break;
    case TClearKind::None:
        break;
    }
    return std::max(0, bottom - y);
}

int TBlock::HorizontalExtras() const
{
    const TMargArray& m = MargArray;
    return m[BoxBorderLeft] + m[BoxPaddingLeft] + m[BoxPaddingRight] + m[BoxBorderRight];
}

int TBlock::ContentWidth(TCanvas& canvas, int availWidth, int autoCount, int)
{
    TMargArray& m = MargArray;
    int e = HorizontalExtras();
    int minW = 0, maxW = 0;
    MyCell->MeasureWidths(canvas, minW, maxW);
    auto marginOr0 = [&](int i) { return m[i] == BoxAuto ? 0 : m[i]; };
    auto autoWidth = [&]() {
        long long room = (long long)availWidth - e - marginOr0(BoxMarginLeft) - marginOr0(BoxMarginRight);
        if (IsAbsolute())
            return std::max(minW, int(std::min<long long>(maxW, room - FLeftOffset)));
        return std::max(minW, ClampPixels(room));
    };
    int w = m[BoxWidth];
    bool widthAuto = w == BoxAuto;
    switch (autoCount) {
    case 0:
        w = std::max(w, minW);
        break;
    case 1:
        if (widthAuto) {
            w = autoWidth();
        } else {
            w = std::max(w, minW);
            if (m[BoxMarginRight] != BoxAuto)
                m[BoxMarginLeft] = ClampPixels(std::max(0LL, (long long)availWidth - e - m[BoxMarginRight] - w));
            else if (!Floats())
                m[BoxMarginRight] = ClampPixels(std::max(0LL, (long long)availWidth - e - m[BoxMarginLeft] - w));
            else
                m[BoxMarginRight] = 0;
        }
        break;
    case 2:
        if (widthAuto) {
            if (m[BoxMarginLeft] == BoxAuto)
                m[BoxMarginLeft] = 0;
            if (m[BoxMarginRight] == BoxAuto)
                m[BoxMarginRight] = 0;
            w = autoWidth();
        } else {
            w = std::max(w, minW);
            m[BoxMarginLeft] = m[BoxMarginRight] = ClampPixels(std::max(0LL, (long long)availWidth - w - e) / 2);
        }
        break;
    default:
        m[BoxMarginLeft] = m[BoxMarginRight] = 0;
        w = autoWidth();
        break;
    }
    for (int i : {BoxMarginLeft, BoxMarginRight})
        if (m[i] == BoxAuto)
            m[i] = 0;
    return ClampPixels(w);
}

int TBlock::LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    StartCurs = cursor;
    LayoutY = area.y;
    if (FStyle.displayNone) {
        SectionHeight = DrawHeight = ContentBot = DrawBot = 0;
        DrawTop = YValue = area.y;
        Len = 0;
        maxWidth = 0;
        return 0;
    }
    ClearAddon = ClearOffset(im, area.y);
    maxWidth = area.width;
    MargArray = ResolveBox(area.width, area.height);
    TMargArray& m = MargArray;
    bool positioned = FStyle.position != TPositionKind::Static;
    FTopOffset = m[BoxTop] == BoxAuto || !positioned ? 0 : m[BoxTop];
    FLeftOffset = m[BoxLeft] == BoxAuto || !positioned ? 0 : m[BoxLeft];
    int x = area.x, y = area.y;
    if (IsAbsolute()) {
        x = AddDoc(area.refX, FLeftOffset);
        y = AddDoc(area.refY, FTopOffset);
    }
    FBlockY = y;
    NewWidth = ContentWidth(canvas, area.width, m.autoCount, area.height);
    int extras = HorizontalExtras() + m[BoxMarginLeft] + m[BoxMarginRight];
    if (m.widthIsPercent)
        NewWidth = std::max(0, std::min(NewWidth, area.width - extras));

    MyCell->IMgr = &im;
    TSectionBase* savedOwner = im.CurrentID;
    im.CurrentID = this;

    int y0 = AddDoc(ClearAddon, y);
    DrawTop = m[BoxMarginTop] <= 0 ? AddDoc(y0, m[BoxMarginTop]) : y0;
    int leftExtras = m[BoxMarginLeft] + m[BoxBorderLeft] + m[BoxPaddingLeft];
    if (FStyle.floatKind == TFloatKind::Left)
        Indent = std::max(im.LeftIndent(y0), x) + leftExtras - x;
    else if (FStyle.floatKind == TFloatKind::Right)
        Indent = std::min(im.RightSide(y0), AddDoc(x, area.width)) - x - m[BoxMarginRight] - m[BoxBorderRight] -
                 m[BoxPaddingRight] - NewWidth;
    else
        Indent = leftExtras;
    x = AddDoc(x, Indent);
    if (IsListBlock) {
        int least = AddDoc(im.LeftIndent(y0), 35);
        if (x < least) {
            int d = least - x;
            Indent += d;
            x += d;
            NewWidth = std::max(0, NewWidth - d);
        }
    }
    ContentLeft = x;
    int contentTop = AddDoc(y0, m[BoxMarginTop] + m[BoxBorderTop] + m[BoxPaddingTop]);
    YValue = contentTop;
    int leftEdge = im.PushLeft(x, contentTop, this);
    int rightEdge = im.PushRight(AddDoc(x, NewWidth), contentTop, this);

    TLayoutArea inner;
    inner.x = x;
    inner.y = contentTop;
    inner.width = NewWidth;
    inner.refX = area.refX;
    inner.refY = area.refY;
    if (FStyle.position == TPositionKind::Relative) {
        inner.refY = AddDoc(contentTop, FTopOffset);
    } else if (IsAbsolute()) {
        inner.refY = AddDoc(area.refY, FTopOffset + m[BoxMarginTop] + m[BoxBorderTop]);
        inner.refX = AddDoc(area.refX, FLeftOffset + m[BoxMarginLeft] + m[BoxBorderLeft]);
    }
    int ownHeight = m[BoxHeight];
    inner.height = ownHeight > 0 ? ownHeight : area.height > 0 ? area.height : area.containingHeight;
    inner.containingHeight = inner.height;
    int contentMax = 0;
    MyCell->DoLayout(canvas, inner, im, contentMax, cursor);
    Len = cursor - StartCurs;
    maxWidth = ClampDoc((long long)extras + contentMax);
    if (positioned)
        maxWidth = ClampDoc((long long)maxWidth + FLeftOffset - m[BoxMarginRight]);

    TextBot = std::max(contentTop, MyCell->TextBot);
    if (FStyle.position == TPositionKind::Relative)
        TextBot = std::max(contentTop, MyCell->TextBot - FTopOffset);
    if (ownHeight > 0)
        TextBot = std::max(TextBot, AddDoc(contentTop, ownHeight));
    ContentBot = AddDoc(TextBot, m[BoxBorderBottom] + m[BoxPaddingBottom] + m[BoxMarginBottom]);
    DrawBot = AddDoc(std::max(TextBot, MyCell->tcDrawBot), m[BoxBorderBottom] + m[BoxPaddingBottom]);
    SectionHeight = ContentBot - area.y;

    im.PopLeft(leftEdge);
    im.PopRight(rightEdge);
    im.CurrentID = savedOwner;

    if (Floats() || IsAbsolute()) {
        DrawHeight = IsAbsolute() ? 0 : SectionHeight;
        if (FStyle.floatKind == TFloatKind::Left)
            im.AddLeftFloat(AddDoc(x, NewWidth + m[BoxPaddingRight] + m[BoxBorderRight] + m[BoxMarginRight]), area.y,
                            DrawBot, this);
        else if (FStyle.floatKind == TFloatKind::Right)
            im.AddRightFloat(x - leftExtras, area.y, DrawBot, this);
        SectionHeight = 0;
    } else {
        DrawHeight = std::max(SectionHeight, im.LowestFloatBottom(area.y) - area.y);
    }
    BuildPaintOrder();
    return SectionHeight;
}

void TBlock::BuildPaintOrder()
{
    if (FPaintOrderBuilt && FPaintOrder.size() == MyCell->Sections.size())
        return;
    FPaintOrder.clear();
    for (auto& s : MyCell->Sections)
        FPaintOrder.push_back(s.get());
    std::stable_sort(FPaintOrder.begin(), FPaintOrder.end(),
                     [](const TSectionBase* a, const TSectionBase* b) { return a->ZIndex < b->ZIndex; });
    FDocumentOrder = std::all_of(FPaintOrder.begin(), FPaintOrder.end(), [](const TSectionBase* s) { return s->ZIndex == 0; });
    FPaintOrderBuilt = true;
}

void TBlock::MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth)
{
    if (FStyle.displayNone) {
        minWidth = maxWidth = 0;
        return;
    }
    int counter = Owner() ? Owner()->LayoutCounter : 0;
    if (FMeasuredFor != counter || FMeasuredOn != &canvas) {
        TMargArray m = ResolveBox(0, 0);
        int cmin = 0, cmax = 0;
        MyCell->MeasureWidths(canvas, cmin, cmax);
        auto side = [&](int margin, int border, int padding) {
            return (m[margin] == BoxAuto ? 0 : m[margin]) + m[border] + m[padding];
        };
        long long sides = (long long)side(BoxMarginLeft, BoxBorderLeft, BoxPaddingLeft) +
                          side(BoxMarginRight, BoxBorderRight, BoxPaddingRight);
        int width = m[BoxWidth] == BoxAuto ? 0 : m[BoxWidth];
        FMinWidth = ClampDoc(sides + std::max(cmin, width));
        FMaxWidth = width < 1 ? ClampDoc(sides + cmax) : FMinWidth;
        FMeasuredFor = counter;
        FMeasuredOn = &canvas;
    }
    minWidth = FMinWidth;
    maxWidth = FMaxWidth;
}

TRect TBlock::BorderBox() const
{
    const TMargArray& m = MargArray;
    TRect r;
    r.left = ContentLeft - m[BoxPaddingLeft] - m[BoxBorderLeft];
    r.right = AddDoc(ContentLeft, NewWidth + m[BoxPaddingRight] + m[BoxBorderRight]);
    r.top = AddDoc(FBlockY, ClearAddon + m[BoxMarginTop]);
    if (FStyle.position == TPositionKind::Relative)
        r.bottom = ContentBot - m[BoxMarginBottom];
    else if (Floats())
        r.bottom = DrawBot;
    else
        r.bottom = ContentBot - m[BoxMarginBottom];
    return r;
}

bool TBlock::PrintFits(TPaintContext& pc) const
{
    if (!pc.printing || IsAbsolute())
        return true;
    int pageTop = pc.clip.top + pc.yOffset;
    int pageHeight = pc.clip.bottom - pc.clip.top;
    int d = DrawTop, h = SectionHeight, dh = DrawHeight, tm = MargArray[BoxMarginTop];
    if (FStyle.pageBreakBefore && !pc.nothingPrinted) {
        if (pageTop < d + tm) {
            pc.pageBottom = std::min(pc.pageBottom, d + tm);
            return false;
        }
    } else if (FStyle.pageBreakInsideAvoid) {
        if (pc.clip.top < d - pc.yOffset && pc.pageBottom < d + dh && dh - tm < pageHeight) {
            pc.pageBottom = std::min(pc.pageBottom, d + tm);
            return false;
        }
    } else if (FStyle.pageBreakAfter) {
        if (pageTop < d + h && d + h < pc.pageBottom)
            pc.pageBottom = d + h;
    } else if (IsTableBlock()) {
        if (pc.clip.top + pageHeight * 2 / 3 < d - pc.yOffset && pc.pageBottom < d + dh && dh < pageHeight) {
            pc.pageBottom = std::min(pc.pageBottom, d);
            return false;
        }
    }
    return true;
}

int TBlock::Paint(TPaintContext& pc, IndentManager&, int, int, int)
{
    int after = DrawTop + SectionHeight;
    if (FStyle.displayNone || !PrintFits(pc) || FStyle.hidden)
        return after;
    bool relative = FStyle.position == TPositionKind::Relative;
    if (relative) {
        pc.shiftX += FLeftOffset;
        pc.shiftY += FTopOffset;
    }
    DrawBlock(pc);
    if (relative) {
        pc.shiftX -= FLeftOffset;
        pc.shiftY -= FTopOffset;
    }
    return after;
}

void TBlock::DrawBlock(TPaintContext& pc)
{
    TRect box = BorderBox();
    MyRect = {box.left + pc.shiftX, box.top + pc.shiftY, box.right + pc.shiftX, box.bottom + pc.shiftY};
    TRect win{MyRect.left, pc.WindowY(box.top), MyRect.right, pc.WindowY(box.bottom)};
    const TMargArray& m = MargArray;
    TRect padding{win.left + m[BoxBorderLeft], win.top + m[BoxBorderTop], win.right - m[BoxBorderRight],
                  win.bottom - m[BoxBorderBottom]};
    bool reaches = win.bottom > pc.clip.top && win.top < pc.clip.bottom;
    if (reaches) {
        TColor bg = TColor(m[BoxBackgroundColor]);
        bool paintBackground = !pc.printing || pc.printBackground;
        if (bg != ClNone && paintBackground && !padding.isEmpty())
            pc.canvas.fillRect(padding, DrawColor(bg));
        if (!FStyle.backgroundImage.empty() && Owner())
            PaintBlockBackground(pc, *Owner(), FStyle.backgroundImage, padding, BackgroundPlacementOf(FStyle));
        if (FStyle.hasBorderStyle())
            PaintBorders(pc.canvas, win, padding);
    }
    PaintContent(pc);
}

void TBlock::PaintContent(TPaintContext& pc)
{
    if (!MyCell->IMgr)
        return;
    if (FDocumentOrder) {
        // Plain document order: the cell's band index finds the visible sections.
        MyCell->Paint(pc, ContentLeft, 0, 0);
        return;
    }
    int top = pc.clip.top + pc.yOffset - pc.shiftY;
    int bottom = std::max(pc.clip.bottom + pc.yOffset, pc.pageBottom) - pc.shiftY;
    for (TSectionBase* s : FPaintOrder)
        if (s->DrawBot > top && s->DrawTop <= bottom)
            s->Paint(pc, *MyCell->IMgr, ContentLeft, 0, 0);
}

void TBlock::PaintBorders(TCanvas& canvas, const TRect& borderBox, const TRect& paddingBox)
{
    const TMargArray& m = MargArray;
    TBorderSides sides;
    for (int i = 0; i < 4; ++i) {
        sides.colors[size_t(i)] = TColor(m[BoxBorderTopColor + i]);
        sides.styles[size_t(i)] = FStyle.borderStyles[size_t(i)];
    }
    DrawBorders(canvas, borderBox, paddingBox, sides, TColor(m[BoxBackgroundColor]));
}

int TBlock::LinkAt(TCanvas& canvas, int x, int y, TLinkHit& hit)
{
    if (FStyle.displayNone)
        return 0;
    if (!FStyle.title.empty() && MyRect.contains(x, y)) {
        hit.title = FStyle.title;
        hit.flags |= HitTitle;
    }
    return MyCell->LinkAt(canvas, x, y, hit);
}

bool TBlock::ObjectAt(int x, int y, TFloatingObj*& obj, int& xObj, int& yObj)
{
    if (FStyle.displayNone)
        return false;
    for (auto it = FPaintOrder.rbegin(); it != FPaintOrder.rend(); ++it)
        if ((*it)->DrawTop <= y && y < (*it)->DrawBot && (*it)->ObjectAt(x, y, obj, xObj, yObj))
            return true;
    return false;
}

int TBlock::PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit)
{
    if (FStyle.displayNone)
        return -1;
    for (auto it = FPaintOrder.rbegin(); it != FPaintOrder.rend(); ++it)
        if ((*it)->DrawTop <= y && y < (*it)->DrawBot) {
            int pos = (*it)->PositionAt(canvas, x, y, hit);
            if (pos >= 0)
                return pos;
        }
    return -1;
}

int TBlock::FindText(int from, const std::u16string& text, bool matchCase)
{
    return FStyle.displayNone ? -1 : MyCell->FindText(from, text, matchCase);
}

int TBlock::FindTextBack(int from, const std::u16string& text, bool matchCase)
{
    return FStyle.displayNone ? -1 : MyCell->FindTextBack(from, text, matchCase);
}

int TBlock::SourcePosOf(int pos) const { return FStyle.displayNone ? -1 : MyCell->SourcePosOf(pos); }

int TBlock::DocPosOf(int sourcePos, bool previous) const
{
    return FStyle.displayNone ? -1 : MyCell->DocPosOf(sourcePos, previous);
}

bool TBlock::CaretXY(TCanvas& canvas, int pos, int& x, int& y)
{
    return !FStyle.displayNone && MyCell->CaretXY(canvas, pos, x, y);
}

bool TBlock::CharAt(int pos, char16_t& ch, TIDObject*& obj)
{
    return !FStyle.displayNone && MyCell->CharAt(pos, ch, obj);
}

void TBlock::CopySelection()
{
    if (FStyle.displayNone)
        return;
    MyCell->CopySelection();
    TSectionList* doc = Owner();
    if (doc && doc->CurrentSelBuffer() && StartsWith(FTagClass, "p.") && StartCurs + Len < doc->SelE)
        doc->CurrentSelBuffer()->AddLineBreak();
}

void TBlock::ListPositions() { MyCell->ListPositions(); }

void TBlock::DumpBox(std::string& out, int depth, const char* kind) const
{
    DumpIndent(out, depth);
    out += kind;
    out += ' ';
    out += FStyle.tag.empty() ? "-" : FStyle.tag;
    out += " x=" + std::to_string(ContentLeft) + " y=" + std::to_string(YValue) + " w=" + std::to_string(NewWidth) +
           " h=" + std::to_string(SectionHeight);
    if (Floats() || IsAbsolute())
        out += " dh=" + std::to_string(DrawBot - DrawTop);
    out += '\n';
    MyCell->Dump(out, depth + 1);
}

void TBlock::Dump(std::string& out, int depth) const { DumpBox(out, depth, KindName()); }
