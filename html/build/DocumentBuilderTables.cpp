// The builder's table routine: rows, cells, column specifications and captions.
#include <algorithm>
#include <optional>

#include "html/layout/TBlock.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/layout/TTableAndCaptionBlock.h"
#include "html/layout/TTableBlock.h"
#include "html/build/DocumentBuilderInternal.h"
#include "html/build/TCellManager.h"

namespace {

// A WIDTH or HEIGHT attribute: pixels, or with "%" a percentage.
struct TLength {
    int value = 0;
    bool percent = false;
};

std::optional<TLength> LengthAttr(THtmlSymbol which)
{
    const TAttribute* a = Attr(which);
    if (!a)
        return std::nullopt;
    std::string t(Trim(a->Text));
    TLength l;
    try {
        l.value = t.empty() ? a->Value : std::stoi(t);
    } catch (...) {
        return std::nullopt;
    }
    l.percent = t.find('%') != std::string::npos;
    return l;
}

std::optional<TColor> ColorAttr(THtmlSymbol which)
{
    const TAttribute* a = Attr(which);
    if (!a)
        return std::nullopt;
    return ParseColor(a->Text);
}

TCellVAlign VAlignOf(const std::string& text, TCellVAlign fallback)
{
    std::string v = LowerCase(Trim(text));
    if (v == "top" || v == "baseline")
        return TCellVAlign::Top;
    if (v == "middle" || v == "center")
        return TCellVAlign::Middle;
    if (v == "bottom")
        return TCellVAlign::Bottom;
    return fallback;
}

// The style's width of an element: pixels, or a percentage in tenths.
std::optional<TLength> StyleWidth(const TProperties& props, int index)
{
    const std::string* s = AsText(props[index]);
    if (!s)
        return std::nullopt;
    std::string t = LowerCase(Trim(*s));
    if (t.empty() || t == "auto")
        return std::nullopt;
    TLength l;
    if (t.find('%') != std::string::npos) {
        l.percent = true;
        l.value = LengthToPixels(t, 100, 0, props.emSize(), props.exSize());
    } else {
        l.value = LengthToPixels(t, 0, 0, props.emSize(), props.exSize());
    }
    if (l.value <= 0)
        return std::nullopt;
    return l;
}

bool HasBorderStyles(const TBlockStyle& style) { return style.hasBorderStyle(); }

TTableSpec TableSpecOfAttributes()
{
    TTableSpec t;
    if (const TAttribute* b = Attr(BorderSy))
        t.border = std::clamp(b->Value, 0, 100);
    t.cellPadding = std::clamp(AttrValue(CellPaddingSy, 1), 0, 50);
    t.cellSpacing = std::clamp(AttrValue(CellSpacingSy, 2), 0, 40);
    if (auto c = ColorAttr(BorderColorSy))
        t.light = t.dark = *c;
    if (auto c = ColorAttr(BorderColorLightSy))
        t.light = *c;
    if (auto c = ColorAttr(BorderColorDarkSy))
        t.dark = *c;
    return t;
}

TTableBlockSpec BlockSpecOfAttributes(TProperties& props, TBlockStyle& style, const TTableSpec& table)
{
    TTableBlockSpec b;
    if (auto w = LengthAttr(WidthSy); w && w->value > 0) {
        b.widthIsPercent = w->percent;
        b.width = w->percent ? std::min(1000, w->value * 10) : w->value;
    }
    if (auto w = StyleWidth(props, piWidth)) {
        b.widthIsPercent = w->percent;
        b.width = w->percent ? std::min(1000, w->value * 10) : w->value;
    }
    if (auto h = StyleWidth(props, piHeight); h && !h->percent)
        b.height = h->value;
    else if (auto ha = LengthAttr(HeightSy); ha && !ha->percent && ha->value > 0)
        b.height = ha->value;
    b.hSpace = std::clamp(AttrValue(HSpaceSy, 0), 0, 40);
    b.vSpace = std::clamp(AttrValue(VSpaceSy, 0), 0, 200);
    if (auto c = ColorAttr(BgColorSy))
        b.background = *c;
    std::string align = LowerCase(AttrText(AlignSy));
    if (align == "center")
        b.centered = true;
    else if ((align == "left" || align == "right") && style.floatKind == TFloatKind::None)
        style.floatKind = align == "left" ? TFloatKind::Left : TFloatKind::Right;
    b.htmlBorder = table.border >= 1 && !HasBorderStyles(style);
    return b;
}

TCellSpec CellSpecOf(const TProperties& props, const TBlockStyle& style, TCellVAlign vAlign)
{
    TCellSpec c;
    c.vAlign = vAlign;
    int colSpan = AttrValue(ColSpanSy, 1), rowSpan = AttrValue(RowSpanSy, 1);
    c.colSpan = colSpan > 1 ? std::min(colSpan, MaxCellSpan) : 1;
    c.rowSpan = rowSpan > 1 ? std::min(rowSpan, MaxCellSpan) : 1;
    if (auto w = LengthAttr(WidthSy); w && w->value > 0) {
        if (w->percent) {
            if (w->value <= 100) {
                c.width = w->value * 10;
                c.widthIsPercent = true;
            }
        } else {
            c.width = w->value;
        }
    }
    if (auto w = StyleWidth(props, piWidth)) {
        c.widthIsPercent = w->percent;
        c.width = w->percent ? std::min(1000, w->value * 10) : w->value;
    }
    if (auto h = LengthAttr(HeightSy); h && h->value > 0) {
        if (h->percent)
            c.heightPercent = std::min(100, h->value);
        else
            c.height = h->value;
    }
    if (auto h = StyleWidth(props, piHeight)) {
        if (h->percent)
            c.heightPercent = std::min(100, h->value);
        else
            c.height = h->value;
    }
    if (auto v = props.verticalAlign()) {
        if (*v == TAlignment::Top)
            c.vAlign = TCellVAlign::Top;
        else if (*v == TAlignment::Middle)
            c.vAlign = TCellVAlign::Middle;
        else if (*v == TAlignment::Bottom)
            c.vAlign = TCellVAlign::Bottom;
    }
    TMargArray box = style.boxValues(0, 0);
    for (size_t i = 0; i < 4; ++i) {
        int prop = piPaddingTop + int(i);
        if (!IsEmpty(props[prop]) && !(AsInt(props[prop]) && *AsInt(props[prop]) == NotSet))
            c.padding[i] = std::max(0, box[BoxPaddingTop + int(i)]);
        c.borderStyles[i] = style.borderStyles[i];
        c.border[i] = std::max(0, box[BoxBorderTop + int(i)]);
        c.borderColors[i] = TColor(box[BoxBorderTopColor + int(i)]);
    }
    TColor styleBg = props.ownBackgroundColor();
    if (auto bg = ColorAttr(BgColorSy))
        c.background = *bg;
    if (styleBg != ClNone)
        c.background = styleBg;
    c.backgroundImage = style.backgroundImage.empty() ? AttrText(BackgroundSy) : style.backgroundImage;
    if (!style.backgroundImage.empty())
        c.backgroundPlacement = BackgroundPlacementOf(style);
    c.pageBreakBefore = style.pageBreakBefore;
    c.pageBreakAfter = style.pageBreakAfter;
    c.pageBreakInsideAvoid = style.pageBreakInsideAvoid;
    c.emSize = style.emSize;
    c.exSize = style.exSize;
    return c;
}

TRowSpec RowSpecOf(const TProperties& props)
{
    TRowSpec r;
    if (auto h = LengthAttr(HeightSy); h && h->value > 0) {
        if (h->percent)
            r.heightPercent = std::clamp(h->value, 0, 100);
        else
            r.height = h->value;
    }
    if (auto bg = ColorAttr(BgColorSy))
        r.background = *bg;
    if (TColor styleBg = props.ownBackgroundColor(); styleBg != ClNone)
        r.background = styleBg;
    r.backgroundImage = AttrText(BackgroundSy);
    r.pageBreakBefore = props.pageBreakBefore();
    r.pageBreakAfter = props.pageBreakAfter();
    r.pageBreakInsideAvoid = props.pageBreakInside();
    return r;
}

bool IsBlankText()
{
    const std::u16string& t = R().LCToken.S();
    return std::all_of(t.begin(), t.end(), [](char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; });
}

// Restores the table nesting level however the table ends.
struct TTableLevel {
    TTableLevel() { ++Build.tableLevel; }
    ~TTableLevel() { --Build.tableLevel; }
};

class TTableReader {
public:
    TTableReader();
    void Read();
    void Finish();

private:
    void Columns();
    void ColumnGroupDefaults(TColSpec& defaults, int& span);
    void StartRow(bool withAttributes);
    void FinishRow();
    void FinishCell();
    void Cell();
    void Caption();
    void Outside();
    void PopToRowBase();

    TCellBasic* FSavedCell;
    bool FSavedNoBreak;
    int FSavedListLevel;
    std::unique_ptr<TTableBlock> FBlock;
    std::unique_ptr<TTableAndCaptionBlock> FCaptionBlock;
    std::unique_ptr<TBlock> FCaption;
    bool FCaptionAbove = true;
    std::unique_ptr<TCellList> FRow;
    std::unique_ptr<TCellObj> FCell;
    std::optional<TCellManager> FManager;
    size_t FRowBase = 0;
    size_t FRowHeight = 0; // stack height with the row's "tr"
    TCellVAlign FRowVAlign = TCellVAlign::Middle;
    bool FCellsStarted = false;
    bool FFinished = false;
};

TTableReader::TTableReader()
    : FSavedCell(Build.cell), FSavedNoBreak(Build.noBreak), FSavedListLevel(Build.listLevel)
{
    std::optional<TAlignment> enclosing = Build.stack.Top().textAlign();
    TProperties* props = PushTag("table");
    TProperties& p = props ? *props : Build.stack.Top();
    TBlockStyle style = BlockStyleOf(p);
    // BACKGROUND tiles its picture from the top left, unless the style gave one.
    if (style.backgroundImage.empty())
        style.backgroundImage = AttrText(BackgroundSy);
    TTableSpec table = TableSpecOfAttributes();
    if (const std::string* collapse = AsText(p[piBorderCollapse]))
        table.collapse = LowerCase(Trim(*collapse)) == "collapse";
    TTableBlockSpec spec = BlockSpecOfAttributes(p, style, table);
    if (!spec.centered && style.floatKind == TFloatKind::None && enclosing) {
        spec.centered = *enclosing == TAlignment::Middle;
        spec.rightAligned = *enclosing == TAlignment::Right;
    }
    FBlock = std::make_unique<TTableBlock>(*Build.doc, *FSavedCell, style, table, spec);
    Build.cell = nullptr;
    FRowBase = Build.stack.Height();
}

void TTableReader::PopToRowBase()
{
    Build.stack.PopTo(FRowBase, [](int box) { Build.doc->InlineList->EndInline(box, R().SourcePos); });
    FollowWhiteSpace();
}

void TTableReader::FinishCell()
{
    if (!Build.cell)
        return;
    CloseSection();
    if (FCell && Build.cell == &FCell->Content() && FRow)
        FRow->Add(std::move(FCell));
    FCell.reset();
    Build.cell = nullptr;
}

void TTableReader::FinishRow()
{
    FinishCell();
    if (FRow)
        FBlock->Table().AddRow(std::move(FRow));
    FRow.reset();
    PopToRowBase();
}

void TTableReader::StartRow(bool withAttributes)
{
    TAttributeList kept = Attrs();
    if (!withAttributes)
        Attrs().Clear();
    TProperties* props = PushTag("tr");
    if (props && withAttributes)
        ApplyAlign(props);
    FRow = std::make_unique<TCellList>(withAttributes ? RowSpecOf(props ? *props : Build.stack.Top()) : TRowSpec{});
    FRowVAlign = withAttributes ? VAlignOf(AttrText(VAlignSy), TCellVAlign::Middle) : TCellVAlign::Middle;
    FRowHeight = Build.stack.Height();
    if (FManager)
        FManager->NextRow();
    Attrs() = kept;
}

void TTableReader::ColumnGroupDefaults(TColSpec& defaults, int& span)
{
    std::string align = LowerCase(AttrText(AlignSy));
    if (align == "middle" || align == "absmiddle")
        align = "center";
    if (align == "center" || align == "left" || align == "right" || align == "justify")
        defaults.align = align;
    std::string v = LowerCase(AttrText(VAlignSy));
    if (v == "top")
        defaults.vAlign = 1;
    else if (v == "middle" || v == "center")
        defaults.vAlign = 2;
    else if (v == "baseline")
        defaults.vAlign = 3;
    else if (v == "bottom")
        defaults.vAlign = 4;
    if (auto w = LengthAttr(WidthSy); w && w->value > 0) {
        if (!w->percent) {
            defaults.width = w->value;
            defaults.percent = false;
        } else if (w->value <= 100) {
            defaults.width = w->value * 10;
            defaults.percent = true;
        }
    }
    span = std::max(1, AttrValue(SpanSy, span));
}

void TTableReader::Columns()
{
    bool used = !FCellsStarted;
    TColSpec groupDefaults;
    int groupSpan = 1;
    auto addCols = [&](const TColSpec& spec, int span) {
        if (!used)
            return;
        for (int i = 0; i < span && FBlock->Table().Columns().size() < size_t(MaxColumnSpecs); ++i)
            FBlock->Table().AddColumn(spec);
    };
    if (R().Sy == ColGroupSy) {
        ColumnGroupDefaults(groupDefaults, groupSpan);
        NextSymbol();
        bool anyCol = false;
        while (R().Sy == ColSy || (R().Sy == TextSym && IsBlankText())) {
            if (R().Sy == ColSy) {
                TColSpec spec = groupDefaults;
                int span = 1;
                ColumnGroupDefaults(spec, span);
                addCols(spec, span);
                anyCol = true;
            }
            NextSymbol();
        }
        if (!anyCol)
            addCols(groupDefaults, groupSpan);
        if (R().Sy == ColGroupEndSy)
            NextSymbol();
    } else {
        TColSpec spec;
        int span = 1;
        ColumnGroupDefaults(spec, span);
        addCols(spec, span);
        NextSymbol();
    }
    if (used && !FBlock->Table().Columns().empty() && !FManager)
        FManager.emplace();
}

void TTableReader::Cell()
{
    THtmlSymbol sy = R().Sy;
    CloseLink();
    Build.listLevel = 0;
    FCellsStarted = true;
    if (FRow) {
        FinishCell();
        Build.stack.PopTo(FRowHeight, [](int box) { Build.doc->InlineList->EndInline(box, R().SourcePos); });
        FollowWhiteSpace();
    } else {
        StartRow(false);
    }
    TProperties* props = PushTag(sy == THSy ? "th" : "td");
    TProperties& p = props ? *props : Build.stack.Top();
    TCellVAlign vAlign = VAlignOf(AttrText(VAlignSy), FRowVAlign);
    if (FManager) {
        const auto& cols = FBlock->Table().Columns();
        int column = FManager->PlaceCell(AttrValue(ColSpanSy, 1), AttrValue(RowSpanSy, 1), int(cols.size()));
        if (column >= 0 && size_t(column) < cols.size()) {
            if (!cols[size_t(column)].align.empty())
                p.assign(piTextAlign, cols[size_t(column)].align);
            if (cols[size_t(column)].vAlign > 0)
                vAlign = TCellVAlign(cols[size_t(column)].vAlign == 3 ? 1 : cols[size_t(column)].vAlign);
        }
    }
    ApplyAlign(props);
    if (const std::string* align = AsText(p[piTextAlign]); align && LowerCase(Trim(*align)) == "none")
        p.assign(piTextAlign, std::string(sy == THSy ? "center" : "left"));
    TBlockStyle style = BlockStyleOf(p);
    TCellSpec spec = CellSpecOf(p, style, vAlign);
    FCell = std::make_unique<TCellObj>(*Build.doc, spec, FSavedCell->Depth() + 2, FSavedCell);
    Build.cell = &FCell->Content();
    Build.noBreak = Attr(NoWrapSy) && (spec.width == 0 || spec.widthIsPercent);
    SkipContentSpaces();
    NextSymbol();
    StartSection();
    BodyLoop(CellTerminators);
}

void TTableReader::Caption()
{
    CloseLink();
    Build.noBreak = false;
    FinishCell();
    FCaptionAbove = LowerCase(Trim(AttrText(AlignSy))) != "bottom";
    TProperties* props = PushTag("caption");
    if (!FCaptionBlock) {
        FCaptionBlock = std::make_unique<TTableAndCaptionBlock>(*Build.doc, *FSavedCell, FBlock->Style());
        FCaption = std::make_unique<TBlock>(*Build.doc, FCaptionBlock->Content(),
                                            BlockStyleOf(props ? *props : Build.stack.Top()));
    }
    Build.cell = &FCaption->Content();
    NextSymbol();
    StartSection();
    BodyLoop(CellTerminators);
    CloseSection();
    Build.cell = nullptr;
    PopTag("caption");
    if (R().Sy == CaptionEndSy)
        NextSymbol();
}

void TTableReader::Outside()
{
    // Content outside the cells is shown before the table.
    Build.cell = FSavedCell;
    StartSection();
    BodyLoop(CellTerminators);
    CloseSection();
    Build.cell = nullptr;
}

void TTableReader::Read()
{
    NextSymbol();
    while (R().Sy != TableEndSy && R().Sy != CaptionEndSy && R().Sy != EofSym) {
        switch (R().Sy) {
        case ColSy:
        case ColGroupSy:
            Columns();
            break;
        case TRSy:
            CloseLink();
            FinishRow();
            StartRow(true);
            NextSymbol();
            break;
        case TDSy:
        case THSy:
            Cell();
            break;
        case TDEndSy:
        case THEndSy:
            FinishCell();
            NextSymbol();
            break;
        case TREndSy:
            CloseLink();
            if (FRow)
                FinishRow();
            NextSymbol();
            break;
        case CaptionSy:
            Caption();
            break;
        case UnknownTagSym:
            NextSymbol();
            break;
        case TextSym:
            if (IsBlankText()) {
                NextSymbol();
                break;
            }
            Outside();
            break;
        default:
            Outside();
        }
    }
}

void TTableReader::Finish()
{
    if (FFinished)
        return;
    FFinished = true;
    CloseLink();
    FinishRow();
    PopToRowBase();
    if (FCaptionBlock) {
        FCaptionBlock->SetParts(std::move(FBlock), std::move(FCaption), FCaptionAbove);
        FSavedCell->AddSection(std::move(FCaptionBlock));
    } else {
        FSavedCell->AddSection(std::move(FBlock));
    }
    Build.cell = FSavedCell;
    PopTag("table");
    Build.noBreak = FSavedNoBreak;
    Build.listLevel = FSavedListLevel;
}

} // namespace

void Table()
{
    TTableLevel level;
    TDepthGuard guard;
    if (Build.tableLevel > MaxTableNesting || !guard.Entered() || !Build.cell) {
        NextSymbol();
        return;
    }
    CloseLink();
    CloseSection();
    TTableReader reader;
    try {
        reader.Read();
    } catch (...) {
        // Keep what was read: the table goes into the document.
        reader.Finish();
        throw;
    }
    reader.Finish();
    NextSymbol();
}
