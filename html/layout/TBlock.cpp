#include "html/layout/TBlock.h"

#include <algorithm>

#include "html/layout/Backgrounds.h"
#include "html/layout/BlockSizing.h"
#include "html/layout/Borders.h"
#include "html/layout/FlexLayout.h"
#include "html/layout/IndentManager.h"
#include "html/layout/OverflowClip.h"
#include "html/layout/PositionedBox.h"
#include "html/layout/TSectionList.h"

namespace {

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
    : TSectionBase(&document), MyCell(&document, cell.BlockTarget().Depth() + 1, &cell.BlockTarget())
{
    if (!style.boxValues)
        style.boxValues = FixedBoxValues(TMargArray{});
    // An absolutely positioned box does not float.
    if ((style.floatKind != TFloatKind::Left && style.floatKind != TFloatKind::Right) ||
        style.position == TPositionKind::Absolute)
        style.floatKind = TFloatKind::None;
    // The ID is registered here and needed no more: dropped, it leaves the
    // style equal to its siblings'.
    if (!style.id.empty())
        document.AddID(style.id, this);
    style.id.clear();
    FStyle = ShareStyle(&document, std::move(style));
    MyCell.OwnerBlock = this;
    MyCell.OwnerKind = CellOwnerOfTag(FStyle->tag);
    bool positioned = FStyle->position != TPositionKind::Static;
    // Keys are z-index x 10: extreme values are clamped so that fits.
    constexpr int MaxZIndex = 100'000'000;
    ZIndex = positioned ? std::clamp(FStyle->zIndex, -MaxZIndex, MaxZIndex) * 10 : 0;
    if (FStyle->position == TPositionKind::Absolute && ZIndex == 0)
        ZIndex = 1;
    if (Floats() && ZIndex == 0)
        ZIndex = 1;
    if (collapse == TCollapse::Margins)
        CollapseMargins(cell.BlockTarget());
}

TBlock::TBlock(const TBlock& source, TSectionList& target)
    : TSectionBase(source, target), FStyle(source.FStyle), MyCell(&target, source.MyCell.Depth(), nullptr),
      FWidthBase(source.FWidthBase), FHeightBase(source.FHeightBase), FMarginTop(source.FMarginTop),
      FMarginBottom(source.FMarginBottom), FTopMarginOverride(source.FTopMarginOverride),
      FBottomMarginTaken(source.FBottomMarginTaken)
{
    IsListBlock = source.IsListBlock;
    MyCell.OwnerBlock = this;
    MyCell.CloneSectionsFrom(source.MyCell, target);
    if (!target.ShowImages && !FStyle->backgroundImage.empty())
        ChangeStyle([](TBlockStyle& s) { s.backgroundImage.clear(); });
}

std::shared_ptr<const TBlockStyle> TBlock::ShareStyle(TSectionList* document, TBlockStyle style)
{
    return document ? document->BlockStyles().Intern(std::move(style))
                    : std::make_shared<const TBlockStyle>(std::move(style));
}

void TBlock::SetHidden(bool hidden)
{
    if (FStyle->hidden != hidden)
        ChangeStyle([hidden](TBlockStyle& s) { s.hidden = hidden; });
}

TBlock::~TBlock() = default;

std::unique_ptr<TSectionBase> TBlock::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new TBlock(*this, target));
}

TMargArray TBlock::ResolveBox(int widthBase, int heightBase) const
{
    TMargArray b = SanitizeBoxValues(FStyle->boxValues(widthBase, heightBase));
    if (FTopMarginOverride != BoxNotSet)
        b[BoxMarginTop] = FTopMarginOverride;
    if (FBottomMarginTaken)
        b[BoxMarginBottom] = 0;
    if (FStyle->layout)
        ToContentBox(*FStyle->layout, b);
    return b;
}

int TBlock::CollapsedBottomMargin() const { return ResolveBox(400, 400)[BoxMarginBottom]; }
int TBlock::CollapsedTopMargin() const { return ResolveBox(400, 400)[BoxMarginTop]; }

void TBlock::CollapseMargins(TCellBasic& cell)
{
    TMargArray b = ResolveBox(400, 400);
    bool explicitTop = b.topMarginExplicit;
    int top = b[BoxMarginTop];
    if (FStyle->position == TPositionKind::Absolute) {
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
        if (cell.OwnerKind == TCellOwner::ListItem && !explicitTop && (FStyle->tag == "ul" || FStyle->tag == "ol"))
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
    switch (FStyle->clear) {
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

int TBlock::HorizontalExtras(const TMargArray& m)
{
    return m[BoxBorderLeft] + m[BoxPaddingLeft] + m[BoxPaddingRight] + m[BoxBorderRight];
}

int TBlock::ContentWidth(TCanvas& canvas, TMargArray& m, int availWidth, int)
{
    int e = HorizontalExtras(m);
    int minW = 0, maxW = 0;
    MeasureContent(canvas, minW, maxW);
    auto marginOr0 = [&](int i) { return m[i] == BoxAuto ? 0 : m[i]; };
    auto autoWidth = [&]() {
        long long room = (long long)availWidth - e - marginOr0(BoxMarginLeft) - marginOr0(BoxMarginRight);
        if (IsAbsolute() || Floats())
            return ShrinkToFitWidth(minW, maxW, ClampPixels(room));
        // Content wider than the room overflows the block instead of widening it.
        return std::max(0, ClampPixels(room));
    };
    if (FStyle->layout)
        SettleWidthLimits(m, availWidth, autoWidth());
    int w = m[BoxWidth];
    bool widthAuto = w == BoxAuto;
    switch (m.autoCount) {
    case 0:
        break;
    case 1:
        if (widthAuto) {
            w = autoWidth();
        } else {
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

void TBlock::SettleWidthLimits(TMargArray& m, int availWidth, int autoWidth) const
{
    const TBoxLayoutStyle& limits = *FStyle->layout;
    int extras = HorizontalExtras(m);
    if (m[BoxWidth] != BoxAuto) {
        m[BoxWidth] = LimitedWidth(limits, m[BoxWidth], availWidth, extras);
        return;
    }
    // A limit that binds makes the width a given one, so auto margins centre it.
    int limited = LimitedWidth(limits, autoWidth, availWidth, extras);
    if (limited != autoWidth) {
        m[BoxWidth] = limited;
        --m.autoCount;
    }
}

int TBlock::SettleHeight(int contentHeight, int ownHeight, int heightBase, const TMargArray& m) const
{
    const TBoxLayoutStyle& style = FStyle->Layout();
    int height = contentHeight;
    if (ownHeight > 0)
        height = style.Clips() ? ownHeight : std::max(height, ownHeight);
    if (!FStyle->layout)
        return height;
    int extras = m[BoxBorderTop] + m[BoxPaddingTop] + m[BoxPaddingBottom] + m[BoxBorderBottom];
    return LimitedHeight(style, height, heightBase, extras);
}

int TBlock::LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    StartCurs = cursor;
    LayoutY = area.y;
    if (FStyle->displayNone) {
        SectionHeight = DrawHeight = ContentBot = DrawBot = 0;
        DrawTop = YValue = area.y;
        Len = 0;
        maxWidth = 0;
        return 0;
    }
    ClearAddon = ClearOffset(im, area.y);
    maxWidth = area.width;
    const int percentBase = area.percentBase >= 0 ? area.percentBase : area.width;
    TMargArray m = ResolveBox(percentBase, area.height);
    if (area.usedWidth >= 0)
        GiveUsedWidth(m, area.usedWidth);
    bool positioned = FStyle->position != TPositionKind::Static;
    int x = area.x, y = area.y;
    TContainingBlock cb;
    TBoxOffsets offsets;
    if (positioned) {
        cb = IsFixed() && Owner() ? Owner()->Viewport() : ContainingBlockOf(area);
        if (IsAbsolute()) {
            // Percentages of top and left are of the containing block (a
            // fixed box's is the window), not of the flow around.
            const TMargArray againstBlock = ResolveBox(cb.width, cb.height);
            m[BoxTop] = againstBlock[BoxTop];
            m[BoxLeft] = againstBlock[BoxLeft];
        }
        offsets = ResolveOffsets(m, FStyle->Layout(), cb);
        if (IsAbsolute() && cb.height <= 0 && FStyle->Layout().bottom.set && Owner() && FForcedTop == BoxNotSet)
            ++Owner()->WaitingForHeight;
    }
    FLeftOffset = FTopOffset = 0;
    if (FStyle->position == TPositionKind::Relative)
        RelativeShift(offsets, FLeftOffset, FTopOffset);
    int widthRoom = area.width;
    if (IsAbsolute()) {
        widthRoom = SettleAbsoluteWidth(m, offsets, cb);
        if (int height = AbsoluteHeight(m, offsets, cb))
            m[BoxHeight] = height;
    }
    NewWidth = ContentWidth(canvas, m, area.usedWidth >= 0 ? percentBase : widthRoom, area.height);
    int extras = HorizontalExtras(m) + m[BoxMarginLeft] + m[BoxMarginRight];
    if (m.widthIsPercent)
        NewWidth = std::max(0, std::min(NewWidth, widthRoom - extras));
    if (IsAbsolute()) {
        FLeftOffset = AbsoluteLeft(m, offsets, cb, NewWidth, area.x);
        FTopOffset = FForcedTop != BoxNotSet ? FForcedTop : offsets.top != BoxAuto ? offsets.top : area.y - cb.y;
        x = AddDoc(cb.x, FLeftOffset);
        y = AddDoc(cb.y, FTopOffset);
        RegisterFixed();
    }
    FBlockY = y;

    KeepBox(m, percentBase, area.height);
    // An absolutely positioned box lays its content out apart from the
    // edges and floats around it.
    IndentManager& edges = IsAbsolute() ? OwnEdges(x, NewWidth) : im;
    MyCell.IMgr = &edges;
    TSectionBase* savedOwner = edges.CurrentID;
    edges.CurrentID = this;

    int y0 = AddDoc(ClearAddon, y);
    DrawTop = m[BoxMarginTop] <= 0 ? AddDoc(y0, m[BoxMarginTop]) : y0;
    int leftExtras = m[BoxMarginLeft] + m[BoxBorderLeft] + m[BoxPaddingLeft];
    int indent = leftExtras; // content X relative to the X laid out at
    if (FStyle->floatKind == TFloatKind::Left)
        indent = std::max(im.LeftIndent(y0), x) + leftExtras - x;
    else if (FStyle->floatKind == TFloatKind::Right)
        indent = std::min(im.RightSide(y0), AddDoc(x, area.width)) - x - m[BoxMarginRight] - m[BoxBorderRight] -
                 m[BoxPaddingRight] - NewWidth;
    x = AddDoc(x, indent);
    if (IsListBlock) {
        int least = AddDoc(im.LeftIndent(y0), 35);
        if (x < least) {
            int d = least - x;
            x += d;
            NewWidth = std::max(0, NewWidth - d);
        }
    }
    ContentLeft = x;
    int contentTop = AddDoc(y0, m[BoxMarginTop] + m[BoxBorderTop] + m[BoxPaddingTop]);
    YValue = contentTop;
    int leftEdge = edges.PushLeft(x, contentTop, this);
    int rightEdge = edges.PushRight(AddDoc(x, NewWidth), contentTop, this);

    TLayoutArea inner;
    inner.x = x;
    inner.y = contentTop;
    inner.width = NewWidth;
    inner.refX = area.refX;
    inner.refY = area.refY;
    inner.refWidth = area.refWidth;
    inner.refHeight = area.refHeight;
    int ownHeight = m[BoxHeight];
    if (positioned) {
        // Absolutely positioned content inside goes in this block's padding
        // box (a relative block's shift moves it along at paint).
        inner.refX = x - m[BoxPaddingLeft];
        inner.refY = contentTop - m[BoxPaddingTop];
        inner.refWidth = ClampPixels((long long)NewWidth + m[BoxPaddingLeft] + m[BoxPaddingRight]);
        inner.refHeight = ownHeight > 0 ? ClampPixels((long long)ownHeight + m[BoxPaddingTop] + m[BoxPaddingBottom]) : 0;
    }
    inner.height = ownHeight > 0 ? ownHeight : area.height > 0 ? area.height : area.containingHeight;
    inner.containingHeight = inner.height;
    inner.relayouts = area.relayouts;
    int contentMax = 0;
    const int contentCursor = cursor;
    const int waitingBefore = Owner() ? Owner()->WaitingForHeight : 0;
    LayoutContent(canvas, inner, edges, contentMax, cursor);
    if (positioned && ownHeight <= 0 && Owner() && Owner()->WaitingForHeight > waitingBefore) {
        // Boxes inside hang from this block's bottom: now that the content
        // gave the height, they are placed against it.
        int contentHeight = std::max(0, MyCell.TextBot - contentTop);
        contentHeight = SettleHeight(contentHeight, ownHeight, area.height, m);
        inner.refHeight = std::max(1, ClampPixels((long long)contentHeight + m[BoxPaddingTop] + m[BoxPaddingBottom]));
        cursor = contentCursor;
        contentMax = 0;
        LayoutContent(canvas, inner, edges, contentMax, cursor);
        Owner()->WaitingForHeight = waitingBefore;
    }
    Len = cursor - StartCurs;
    const bool clips = FStyle->Layout().Clips();
    if (clips)
        contentMax = NewWidth; // what overflows is clipped and widens nothing
    maxWidth = ClampDoc((long long)extras + contentMax);
    if (positioned)
        maxWidth = ClampDoc((long long)maxWidth + FLeftOffset - m[BoxMarginRight]);

    // (A relative block's content is laid out where the flow has it: its
    // shift is applied at paint.)
    int textBot = std::max(contentTop, MyCell.TextBot);
    textBot = AddDoc(contentTop, SettleHeight(textBot - contentTop, ownHeight, area.height, m));
    ContentBot = AddDoc(textBot, m[BoxBorderBottom] + m[BoxPaddingBottom] + m[BoxMarginBottom]);
    int drawnBot = clips ? textBot : std::max(textBot, MyCell.tcDrawBot);
    DrawBot = AddDoc(drawnBot, m[BoxBorderBottom] + m[BoxPaddingBottom]);
    SectionHeight = ContentBot - area.y;

    edges.PopLeft(leftEdge);
    edges.PopRight(rightEdge);
    edges.CurrentID = savedOwner;

    if (Floats() || IsAbsolute()) {
        DrawHeight = IsAbsolute() ? 0 : SectionHeight;
        if (FStyle->floatKind == TFloatKind::Left)
            im.AddLeftFloat(AddDoc(x, NewWidth + m[BoxPaddingRight] + m[BoxBorderRight] + m[BoxMarginRight]), area.y,
                            DrawBot, this);
        else if (FStyle->floatKind == TFloatKind::Right)
            im.AddRightFloat(x - leftExtras, area.y, DrawBot, this);
        SectionHeight = 0;
    } else {
        DrawHeight = std::max(SectionHeight, im.LowestFloatBottom(area.y) - area.y);
    }
    BuildPaintOrder();
    if (IsAbsolute() && FForcedTop == BoxNotSet && HangsFromBottom(offsets, cb))
        return HangFromBottom(canvas, area, im, maxWidth, cursor, BottomAnchoredTop(offsets, cb, ContentBot - y));
    return SectionHeight;
}

int TBlock::HangFromBottom(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor,
                           int top)
{
    // Its height known, the box is laid out again at its place: bounded, so
    // boxes hanging inside hanging boxes do not double the work at each level.
    constexpr int MaxNestedPasses = 3;
    TSectionList* doc = Owner();
    if (top == FTopOffset || !doc || doc->HangingPasses >= MaxNestedPasses)
        return SectionHeight;
    ++doc->HangingPasses;
    FForcedTop = top;
    cursor = StartCurs;
    int height = LayOut(canvas, area, im, maxWidth, cursor);
    FForcedTop = BoxNotSet;
    --doc->HangingPasses;
    return height;
}

IndentManager& TBlock::OwnEdges(int x, int width)
{
    if (!FOwnEdges)
        FOwnEdges = std::make_unique<IndentManager>();
    FOwnEdges->Reset(x, width);
    return *FOwnEdges;
}

void TBlock::RegisterFixed()
{
    TSectionList* doc = Owner();
    if (!IsFixed() || !doc || FFixedFor == doc->LayoutCounter)
        return;
    FFixedFor = doc->LayoutCounter;
    doc->FixedBoxes.Add(this);
}

void TBlock::KeepBox(const TMargArray& m, int widthBase, int heightBase)
{
    FWidthBase = widthBase;
    FHeightBase = heightBase;
    FMarginTop = m[BoxMarginTop];
    FMarginBottom = m[BoxMarginBottom];
}

TMargArray TBlock::LaidOutBox() const
{
    if (!FLaidOut)
        return {};
    // The resolver answers what it answered at layout; only the side
    // margins (which paint does not read) and the vertical margins of
    // floating tables were settled after it.
    TMargArray m = ResolveBox(FWidthBase, FHeightBase);
    m[BoxMarginTop] = FMarginTop;
    m[BoxMarginBottom] = FMarginBottom;
    return m;
}

void TBlock::BuildPaintOrder()
{
    const TSectionVector& sections = MyCell.Sections;
    FLaidOut = true;
    if (FPaintOrder && FPaintOrder->size() == sections.size())
        return;
    FPaintOrder.reset();
    if (std::all_of(sections.begin(), sections.end(), [](const auto& s) { return s->ZIndex == 0; }))
        return; // document order
    FPaintOrder = std::make_unique<std::vector<TSectionBase*>>();
    FPaintOrder->reserve(sections.size());
    for (auto& s : sections)
        FPaintOrder->push_back(s.get());
    std::stable_sort(FPaintOrder->begin(), FPaintOrder->end(),
                     [](const TSectionBase* a, const TSectionBase* b) { return a->ZIndex < b->ZIndex; });
}

template <typename Hit> bool TBlock::HitTopmost(int y, Hit hit) const
{
    if (!FLaidOut)
        return false;
    auto reaches = [&](TSectionBase* s) { return s->DrawTop <= y && y < s->DrawBot && hit(*s); };
    if (FPaintOrder)
        return std::any_of(FPaintOrder->rbegin(), FPaintOrder->rend(), reaches);
    return std::any_of(MyCell.Sections.rbegin(), MyCell.Sections.rend(), [&](const auto& s) { return reaches(s.get()); });
}

void TBlock::MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth)
{
    if (FStyle->displayNone) {
        minWidth = maxWidth = 0;
        return;
    }
    int counter = Owner() ? Owner()->LayoutCounter : 0;
    if (FMeasuredFor != counter || FMeasuredOn != &canvas) {
        TMargArray m = ResolveBox(0, 0);
        int cmin = 0, cmax = 0;
        MeasureContent(canvas, cmin, cmax);
        auto side = [&](int margin, int border, int padding) {
            return (m[margin] == BoxAuto ? 0 : m[margin]) + m[border] + m[padding];
        };
        long long sides = (long long)side(BoxMarginLeft, BoxBorderLeft, BoxPaddingLeft) +
                          side(BoxMarginRight, BoxBorderRight, BoxPaddingRight);
        if (FStyle->layout) {
            cmin = LimitedWidth(*FStyle->layout, cmin, 0, HorizontalExtras(m));
            cmax = LimitedWidth(*FStyle->layout, cmax, 0, HorizontalExtras(m));
        }
        int width = m[BoxWidth] == BoxAuto ? 0 : m[BoxWidth];
        FMinWidth = ClampDoc(sides + std::max(cmin, width));
        FMaxWidth = width < 1 ? ClampDoc(sides + cmax) : FMinWidth;
        FMeasuredFor = counter;
        FMeasuredOn = &canvas;
    }
    minWidth = FMinWidth;
    maxWidth = FMaxWidth;
}

TRect TBlock::BorderBox(const TMargArray& m) const
{
    TRect r;
    r.left = ContentLeft - m[BoxPaddingLeft] - m[BoxBorderLeft];
    r.right = AddDoc(ContentLeft, NewWidth + m[BoxPaddingRight] + m[BoxBorderRight]);
    r.top = AddDoc(FBlockY, ClearAddon + m[BoxMarginTop]);
    if (FStyle->position == TPositionKind::Relative)
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
    int d = DrawTop, h = SectionHeight, dh = DrawHeight, tm = FMarginTop;
    if (FStyle->pageBreakBefore && !pc.nothingPrinted) {
        if (pageTop < d + tm) {
            pc.pageBottom = std::min(pc.pageBottom, d + tm);
            return false;
        }
    } else if (FStyle->pageBreakInsideAvoid) {
        if (pc.clip.top < d - pc.yOffset && pc.pageBottom < d + dh && dh - tm < pageHeight) {
            pc.pageBottom = std::min(pc.pageBottom, d + tm);
            return false;
        }
    } else if (FStyle->pageBreakAfter) {
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
    if (IsFixed() && !pc.printing && !pc.paintingFixed)
        return after; // the document paints it in the window
    if (FStyle->displayNone || !PrintFits(pc) || FStyle->hidden)
        return after;
    bool relative = FStyle->position == TPositionKind::Relative;
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

void TBlock::PaintFixed(TPaintContext& pc)
{
    if (FStyle->displayNone || FStyle->hidden)
        return;
    TPaintContext fixed = pc;
    fixed.shiftY += pc.yOffset; // laid out against the window's top, not the document's
    fixed.paintingFixed = true;
    DrawBlock(fixed);
}

void TBlock::DrawBlock(TPaintContext& pc)
{
    const TMargArray m = LaidOutBox();
    TRect box = BorderBox(m);
    TRect shifted{box.left + pc.shiftX, box.top + pc.shiftY, box.right + pc.shiftX, box.bottom + pc.shiftY};
    SetTitleRect(shifted);
    TRect win{shifted.left, pc.WindowY(box.top), shifted.right, pc.WindowY(box.bottom)};
    TRect padding{win.left + m[BoxBorderLeft], win.top + m[BoxBorderTop], win.right - m[BoxBorderRight],
                  win.bottom - m[BoxBorderBottom]};
    bool reaches = win.bottom > pc.clip.top && win.top < pc.clip.bottom;
    if (reaches) {
        TColor bg = TColor(m[BoxBackgroundColor]);
        bool paintBackground = pc.PaintsBackgrounds();
        if (bg != ClNone && paintBackground && !padding.isEmpty())
            pc.canvas.fillRect(padding, DrawColor(bg));
        if (!FStyle->backgroundImage.empty() && Owner())
            PaintBlockBackground(pc, *Owner(), FStyle->backgroundImage, padding, BackgroundPlacementOf(*FStyle));
        if (FStyle->hasBorderStyle())
            PaintBorders(pc.canvas, m, win, padding);
    }
    if (FStyle->Layout().Clips())
        PaintClipped(pc, Owner(), padding, [&] { PaintContent(pc); });
    else
        PaintContent(pc);
}

void TBlock::PaintContent(TPaintContext& pc)
{
    if (!MyCell.IMgr)
        return;
    if (!FPaintOrder) {
        // Plain document order: the cell's band index finds the visible sections.
        MyCell.Paint(pc, ContentLeft, 0, 0);
        return;
    }
    int top = pc.clip.top + pc.yOffset - pc.shiftY;
    int bottom = std::max(pc.clip.bottom + pc.yOffset, pc.pageBottom) - pc.shiftY;
    for (TSectionBase* s : *FPaintOrder)
        if (s->DrawBot > top && s->DrawTop <= bottom)
            s->Paint(pc, *MyCell.IMgr, ContentLeft, 0, 0);
}

void TBlock::PaintBorders(TCanvas& canvas, const TMargArray& m, const TRect& borderBox, const TRect& paddingBox)
{
    TBorderSides sides;
    for (int i = 0; i < 4; ++i) {
        sides.colors[size_t(i)] = TColor(m[BoxBorderTopColor + i]);
        sides.styles[size_t(i)] = FStyle->borderStyles[size_t(i)];
    }
    DrawBorders(canvas, borderBox, paddingBox, sides, TColor(m[BoxBackgroundColor]));
}

int TBlock::LinkAt(TCanvas& canvas, int x, int y, TLinkHit& hit)
{
    if (FStyle->displayNone)
        return 0;
    if (FTitleRect && FTitleRect->contains(x, y)) {
        hit.title = FStyle->title;
        hit.flags |= HitTitle;
    }
    Unshift(x, y);
    if (OutsideClip(x, y))
        return 0;
    return MyCell.LinkAt(canvas, x, y, hit);
}

bool TBlock::OutsideClip(int x, int y) const
{
    if (!FStyle->Layout().Clips() || !FLaidOut)
        return false;
    const TMargArray m = LaidOutBox();
    TRect box = BorderBox(m);
    TRect padding{box.left + m[BoxBorderLeft], box.top + m[BoxBorderTop], box.right - m[BoxBorderRight],
                  box.bottom - m[BoxBorderBottom]};
    return !padding.contains(x, y);
}

bool TBlock::ObjectAt(int x, int y, TFloatingObj*& obj, int& xObj, int& yObj)
{
    Unshift(x, y);
    if (FStyle->displayNone || OutsideClip(x, y))
        return false;
    return HitTopmost(y, [&](TSectionBase& s) { return s.ObjectAt(x, y, obj, xObj, yObj); });
}

int TBlock::PositionAt(TCanvas& canvas, int x, int y, TCaretHit& hit)
{
    if (FStyle->displayNone)
        return -1;
    Unshift(x, y);
    int pos = -1;
    bool found = HitTopmost(y, [&](TSectionBase& s) {
        pos = s.PositionAt(canvas, x, y, hit);
        return pos >= 0;
    });
    return found ? pos : -1;
}

int TBlock::FindText(int from, const std::u16string& text, bool matchCase)
{
    return FStyle->displayNone ? -1 : MyCell.FindText(from, text, matchCase);
}

int TBlock::FindTextBack(int from, const std::u16string& text, bool matchCase)
{
    return FStyle->displayNone ? -1 : MyCell.FindTextBack(from, text, matchCase);
}

void TBlock::VisitText(const TTextVisitor& visit)
{
    if (!FStyle->displayNone)
        MyCell.VisitText(visit);
}

int TBlock::SourcePosOf(int pos) const { return FStyle->displayNone ? -1 : MyCell.SourcePosOf(pos); }

int TBlock::DocPosOf(int sourcePos, bool previous) const
{
    return FStyle->displayNone ? -1 : MyCell.DocPosOf(sourcePos, previous);
}

bool TBlock::CaretXY(TCanvas& canvas, int pos, int& x, int& y)
{
    if (FStyle->displayNone || !MyCell.CaretXY(canvas, pos, x, y))
        return false;
    if (FStyle->position == TPositionKind::Relative) {
        x = AddDoc(x, FLeftOffset);
        y = AddDoc(y, FTopOffset);
    }
    return true;
}

void TBlock::Unshift(int& x, int& y) const
{
    // A relative block's content is painted shifted from where it was laid out.
    if (FStyle->position == TPositionKind::Relative) {
        x = AddDoc(x, -FLeftOffset);
        y = AddDoc(y, -FTopOffset);
    }
}

bool TBlock::CharAt(int pos, char16_t& ch, TIDObject*& obj)
{
    return !FStyle->displayNone && MyCell.CharAt(pos, ch, obj);
}

void TBlock::CopySelection()
{
    if (FStyle->displayNone)
        return;
    MyCell.CopySelection();
    TSectionList* doc = Owner();
    if (doc && doc->CurrentSelBuffer() && FStyle->tag == "p" && StartCurs + Len < doc->SelE)
        doc->CurrentSelBuffer()->AddLineBreak();
}

void TBlock::ListPositions() { MyCell.ListPositions(); }

void TBlock::SetTitleRect(const TRect& rect)
{
    if (FStyle->title.empty())
        return;
    if (!FTitleRect)
        FTitleRect = std::make_unique<TRect>();
    *FTitleRect = rect;
}

void TBlock::DumpBox(std::string& out, int depth, const char* kind) const
{
    DumpIndent(out, depth);
    out += kind;
    out += ' ';
    out += FStyle->tag.empty() ? "-" : FStyle->tag;
    out += " x=" + std::to_string(ContentLeft) + " y=" + std::to_string(YValue) + " w=" + std::to_string(NewWidth) +
           " h=" + std::to_string(SectionHeight);
    if (Floats() || IsAbsolute())
        out += " dh=" + std::to_string(DrawBot - DrawTop);
    out += '\n';
    MyCell.Dump(out, depth + 1);
}

void TBlock::Dump(std::string& out, int depth) const { DumpBox(out, depth, KindName()); }
