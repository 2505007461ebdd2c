#include "html/layout/TTableBlock.h"

#include <algorithm>

#include "html/layout/IndentManager.h"
#include "html/layout/TSectionList.h"

namespace {
constexpr TColor SystemHighlight = ClSystemBase + 20;
constexpr TColor SystemShadow = ClSystemBase + 16;
} // namespace

TBlockStyle TTableBlock::TableStyle(TBlockStyle style, const TTableBlockSpec& spec, const TTableSpec& table)
{
    // The table block sizes itself (ContentWidth): its box width is auto.
    TBoxResolver inner = style.boxValues ? style.boxValues : FixedBoxValues(TMargArray{});
    int border = spec.htmlBorder ? std::clamp(table.border, 0, 100) : -1;
    TColor background = spec.background;
    style.boxValues = [inner, border, background](int widthBase, int heightBase) {
        TMargArray b = inner(widthBase, heightBase);
        if (b[BoxWidth] != BoxAuto) {
            b[BoxWidth] = BoxAuto;
            ++b.autoCount;
        }
        b.widthIsPercent = false;
        if (border >= 0)
            for (int i : {BoxBorderTop, BoxBorderRight, BoxBorderBottom, BoxBorderLeft})
                b[i] = border;
        if (TColor(b[BoxBackgroundColor]) == ClNone)
            b[BoxBackgroundColor] = int(background);
        return b;
    };
    if (spec.htmlBorder)
        style.borderStyles.fill(TBorderKind::Outset);
    if (style.tag.empty())
        style.tag = "table";
    return style;
}

TTableBlock::TTableBlock(TSectionList& document, TCellBasic& cell, TBlockStyle style, const TTableSpec& table,
                         const TTableBlockSpec& spec)
    : TBlock(document, cell, TableStyle(std::move(style), spec, table), TCollapse::None), FSpec(spec)
{
    auto grid = std::make_unique<ThtmlTable>(document, table);
    FTable = grid.get();
    FTable->Floating = Floats();
    FTable->HasBackground = spec.background != ClNone;
    FTable->Background = spec.background;
    if (table.collapse)
        HandBorderToCells();
    MyCell.AddSection(std::move(grid));
}

void TTableBlock::HandBorderToCells()
{
    const TMargArray b = ResolveBox(0, 0);
    for (size_t i = 0; i < 4; ++i) {
        TBorderSide& side = FTable->OuterSides[i];
        side.style = FStyle->borderStyles[i];
        side.width = side.style == TBorderKind::None ? 0 : b[BoxBorderTop + int(i)];
        side.color = TColor(b[BoxBorderTopColor + int(i)]);
    }
    ChangeStyle([](TBlockStyle& s) {
        s.borderStyles.fill(TBorderKind::None);
        TBoxResolver own = s.boxValues;
        s.boxValues = [own](int widthBase, int heightBase) {
            TMargArray m = own(widthBase, heightBase);
            for (int i : {BoxBorderTop, BoxBorderRight, BoxBorderBottom, BoxBorderLeft})
                m[i] = 0;
            return m;
        };
    });
}

TTableBlock::TTableBlock(const TTableBlock& source, TSectionList& target)
    : TBlock(source, target), FSpec(source.FSpec), FInsideCaption(source.FInsideCaption)
{
    FTable = MyCell.Sections.empty() ? nullptr : dynamic_cast<ThtmlTable*>(MyCell.Sections.front().get());
}

std::unique_ptr<TSectionBase> TTableBlock::CloneInto(TSectionList& target) const
{
    return std::unique_ptr<TSectionBase>(new TTableBlock(*this, target));
}

void TTableBlock::SetInsideCaption()
{
    FInsideCaption = true;
    if (Floats())
        ChangeStyle([](TBlockStyle& s) { s.floatKind = TFloatKind::None; });
    FSpec.centered = false;
    FSpec.rightAligned = false;
    if (FTable)
        FTable->Floating = false;
}

int TTableBlock::LayOut(TCanvas& canvas, const TLayoutArea& area, IndentManager& im, int& maxWidth, int& cursor)
{
    if (Floats() || IsAbsolute())
        return TBlock::LayOut(canvas, area, im, maxWidth, cursor);
    // A table in the flow starts right of the left floats and ends left of the right ones.
    TLayoutArea a = area;
    a.x = std::max(area.x, im.LeftIndent(area.y));
    a.width = std::max(0, std::min(AddDoc(area.x, area.width), im.RightSide(area.y)) - a.x);
    int height = TBlock::LayOut(canvas, a, im, maxWidth, cursor);
    maxWidth = AddDoc(maxWidth, a.x - area.x);
    return height;
}

int TTableBlock::ContentWidth(TCanvas& canvas, TMargArray& m, int availWidth, int)
{
    if (FInsideCaption) {
        m[BoxMarginLeft] = m[BoxMarginRight] = 0;
    } else {
        for (int i : {BoxMarginLeft, BoxMarginRight})
            if (m[i] == BoxAuto)
                m[i] = 0;
        if (Floats() && m[BoxMarginLeft] == 0 && m[BoxMarginRight] == 0) {
            m[BoxMarginLeft] = m[BoxMarginRight] = std::clamp(FSpec.hSpace, 0, 40);
            m[BoxMarginTop] = m[BoxMarginBottom] = std::clamp(FSpec.vSpace, 0, 200);
        }
    }
    int extras = HorizontalExtras(m);
    int room = std::max(0, availWidth - m[BoxMarginLeft] - m[BoxMarginRight] - extras);
    int given = 0;
    if (FSpec.width > 0)
        given = FSpec.widthIsPercent ? int((long long)(FPercentBase > 0 ? FPercentBase : availWidth) * std::min(FSpec.width, 1000) / 1000)
                                     : std::min(FSpec.width, MaxBoxPixels);
    int height = FSpec.height > 0 ? FSpec.height : std::max(0, m[BoxHeight]);
    FTable->SpecHeight = std::max(0, height - m[BoxBorderTop] - m[BoxBorderBottom] - m[BoxPaddingTop] - m[BoxPaddingBottom]);
    int width;
    if (given > 0) {
        FTable->SetWidth = std::max(0, given - extras);
        int mn = 0, mx = 0;
        FTable->MeasureWidths(canvas, mn, mx);
        width = std::max(FTable->SetWidth, mn);
    } else {
        FTable->SetWidth = 0;
        int mn = 0, mx = 0;
        FTable->MeasureWidths(canvas, mn, mx);
        width = std::max(mn, std::min(mx, room));
    }
    if (!Floats() && !FInsideCaption && m[BoxMarginLeft] == 0 && m[BoxMarginRight] == 0) {
        int free = std::max(0, availWidth - width - extras);
        if (FSpec.centered)
            m[BoxMarginLeft] = free / 2;
        else if (FSpec.rightAligned)
            m[BoxMarginLeft] = free;
    }
    return width;
}

void TTableBlock::MeasureWidths(TCanvas& canvas, int& minWidth, int& maxWidth)
{
    TBlock::MeasureWidths(canvas, minWidth, maxWidth);
    if (FSpec.width > 0 && !FSpec.widthIsPercent) {
        minWidth = std::max(minWidth, std::min(FSpec.width, MaxBoxPixels));
        maxWidth = std::max(maxWidth, minWidth);
    }
}

void TTableBlock::ListPositions()
{
    if (FTable)
        FTable->ListPositions();
}

void TTableBlock::PaintBorders(TCanvas& canvas, const TMargArray& box, const TRect& borderBox, const TRect& paddingBox)
{
    if (!FSpec.htmlBorder || !FTable) {
        TBlock::PaintBorders(canvas, box, borderBox, paddingBox);
        return;
    }
    // A raised frame: light above and left, dark below and right.
    TColor light = FTable->Light == ClNone ? SystemHighlight : FTable->Light;
    TColor dark = FTable->Dark == ClNone ? SystemShadow : FTable->Dark;
    int n = std::min(paddingBox.top - borderBox.top, std::max(0, borderBox.width() / 2));
    for (int i = 0; i < n; ++i) {
        TRect r{borderBox.left + i, borderBox.top + i, borderBox.right - i, borderBox.bottom - i};
        if (r.isEmpty())
            break;
        canvas.fillRect({r.left, r.top, r.right, r.top + 1}, light);
        canvas.fillRect({r.left, r.top, r.left + 1, r.bottom}, light);
        canvas.fillRect({r.left, r.bottom - 1, r.right, r.bottom}, dark);
        canvas.fillRect({r.right - 1, r.top, r.right, r.bottom}, dark);
    }
}
