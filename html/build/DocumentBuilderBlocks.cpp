// The builder's block elements: paragraphs, headings, lists and list items,
// block containers, line breaks and preformatted text.
#include <algorithm>
#include <cctype>

#include "html/layout/TBlock.h"
#include "html/layout/TBlockLI.h"
#include "html/layout/TImageObj.h"
#include "html/layout/TPreFormated.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/build/DocumentBuilderInternal.h"

namespace {

bool IsListStart(THtmlSymbol sy) { return sy == OLSy || sy == ULSy || sy == DirSy || sy == MenuSy || sy == DLSy; }

THtmlSymbol ListEndOf(THtmlSymbol sy)
{
    switch (sy) {
    case OLSy: return OLEndSy;
    case ULSy: return ULEndSy;
    case DirSy: return DirEndSy;
    case MenuSy: return MenuEndSy;
    case DLSy: return DLEndSy;
    case AddressSy: return AddressEndSy;
    default: return BlockQuoteEndSy;
    }
}

// The end tag that closes an empty list pops the set named after it.
bool IsEmptyListEnd(THtmlSymbol sy)
{
    return sy == OLEndSy || sy == ULEndSy || sy == DirEndSy || sy == MenuEndSy || sy == DLEndSy || sy == BlockQuoteEndSy;
}

TListKind KindOf(THtmlSymbol sy)
{
    switch (sy) {
    case OLSy: return TListKind::Ordered;
    case DLSy: return TListKind::Definition;
    case ULSy: case DirSy: case MenuSy: return TListKind::Unordered;
    default: return TListKind::Stray;
    }
}

// Reads symbols as in a list item's content; false at a symbol that ends it.
bool ListItemContent(TListKind kind, const TSymbolSet& terminators)
{
    THtmlSymbol sy = R().Sy;
    if (sy == PSy) {
        if (kind == TListKind::Stray)
            return false;
        Paragraph({});
    } else if (InlineSet.Has(sy) || sy == BRSy || sy == HSy) {
        if (sy == UnknownTagSym)
            NextSymbol();
        else
            ElementHandler(terminators);
    } else if (IsListStart(sy)) {
        ListElement(terminators);
        NextSymbol();
    } else if (sy == AddressSy || sy == BlockQuoteSy || sy == CenterSy || sy == FormSy || sy == DivSy) {
        BlockContainer(terminators);
    } else if (sy == TableSy) {
        ElementHandler(terminators);
    } else {
        return false;
    }
    return true;
}

// display: inline or inline-block: the element flows with the text around it.
bool IsDisplayedInline(const TProperties& props)
{
    const std::string* display = AsText(props[piDisplay]);
    if (!display)
        return false;
    const std::string value = LowerCase(Trim(*display));
    return value == "inline" || value == "inline-block";
}

// display: inline alone (an inline block is a box of its own).
bool IsShownInline(const TProperties& props)
{
    const std::string* display = AsText(props[piDisplay]);
    return props.isSetHere(piDisplay) && display && LowerCase(Trim(*display)) == "inline";
}

// A paragraph's inline content, up to a symbol that ends it.
void ParagraphContent(const TSymbolSet& terminators)
{
    while (!terminators.Has(R().Sy) && InlineSet.Has(R().Sy)) {
        if (R().Sy == UnknownTagSym)
            NextSymbol();
        else
            ElementHandler(terminators);
    }
}

// The content of a list item shown inline, added to the current section.
void InlineListItem(TListKind kind, const TSymbolSet& terminators)
{
    EnsureSection();
    ChangeFont();
    NextSymbol();
    while (R().Sy != EofSym && !(terminators.Has(R().Sy) && R().Sy != TableSy) && ListItemContent(kind, terminators)) {
    }
}

} // namespace

// ---------------------------------------------------------------- paragraphs

bool SkipSpacesAfterTag()
{
    const int before = R().SourcePos;
    SkipSpaces();
    return R().SourcePos != before;
}

void SkipContentSpaces()
{
    if (SkipSpacesAfterTag())
        Build.stack.NoteContent();
}

void Paragraph(const TSymbolSet& terminators)
{
    if (terminators.Has(PSy))
        return;
    // White space after the last start tag is the paragraph's content.
    bool spaced = SkipSpacesAfterTag();
    TAttributeList kept = Attrs();
    NextSymbol();
    while (R().Sy == PSy || R().Sy == PEndSy) {
        if (R().Sy == PSy) {
            kept = Attrs();
            spaced = SkipSpacesAfterTag();
        } else {
            SkipSpaces();
        }
        NextSymbol();
    }
    TAttributeList current = Attrs();
    Attrs() = kept;
    TProperties* props = PushTag("p");
    if (spaced)
        Build.stack.NoteContent();
    ApplyAlign(props);
    Attrs() = current;
    if (props && IsShownInline(*props)) {
        // A run-in paragraph ("Note: ..."): its text joins the line.
        EnsureSection();
        ChangeFont();
        ParagraphContent(terminators);
        PopTag("p");
        ChangeFont();
        if (R().Sy == PEndSy)
            NextSymbol();
        return;
    }
    CloseSection();
    TCellBasic* parent = Build.cell;
    TBlock* block = EnterBlock(NewBlock());
    StartSection();
    ParagraphContent(terminators);
    CloseSection();
    PopTag("p");
    Build.cell = parent;
    (void)block;
    if (R().Sy == PEndSy)
        NextSymbol();
}

void Heading(const TSymbolSet& terminators)
{
    int level = R().HeadingLevel;
    if (level < 1 || level > 6) {
        NextSymbol();
        return;
    }
    CloseSection();
    TProperties* props = PushTag("h" + std::to_string(level));
    ApplyAlign(props);
    SkipContentSpaces();
    NextSymbol();
    if (R().Sy == CenterSy) {
        if (props)
            props->assign(piTextAlign, std::string("center"));
        NextSymbol();
    }
    TCellBasic* parent = Build.cell;
    TBlock* block = EnterBlock(NewBlock());
    StartSection();
    while (!terminators.Has(R().Sy) && (InlineSet.Has(R().Sy) || R().Sy == PSy || R().Sy == DivSy)) {
        if (R().Sy == PSy || R().Sy == DivSy) {
            if (R().Sy == PSy && terminators.Has(PSy))
                break;
            NextSymbol(); // a P or DIV inside a heading adds nothing of its own
        } else {
            ElementHandler(terminators);
        }
    }
    CloseSection();
    PopTag("h" + std::to_string(level));
    Build.cell = parent;
    (void)block;
    if (R().Sy == HEndSy)
        NextSymbol();
}

void LineBreak(const TSymbolSet& terminators)
{
    if (terminators.Has(BRSy))
        return;
    Build.stack.NoteContent();
    const TAttribute* clear = Attr(ClearSy);
    if (!clear) {
        EnsureSection();
        Build.section->AddChar(BreakChar, R().TagPos);
    }
    CloseSection();
    StartSection();
    if (clear) {
        std::string v = LowerCase(Trim(clear->Text));
        TClearKind kind = v == "left" ? TClearKind::Left : v == "right" ? TClearKind::Right
                          : v == "all" || v == "both" ? TClearKind::Both : TClearKind::None;
        Build.section->SetClear(kind);
    }
    NextSymbol();
}

// ---------------------------------------------------------------- lists

namespace {

// A list inside another list's item continues that item: it keeps the
// paragraph spacing of a top-level list only where a style sheet asks for it.
void DropDefaultListMargins(TProperties& props)
{
    for (int side : {piMarginTop, piMarginBottom})
        if (const int* v = AsInt(props[side]); v && *v == DefaultParagraphMargin)
            props.setValue(side, 0);
}

// The default style's list indent (its left margin), in pixels.
constexpr int DefaultListIndent = 35;

// A list whose style sheet sets its left margin or padding takes its indent
// from them alone, as a browser whose default indent is the list's padding
// does: the default margin becomes that padding unless the sheet gives one.
// False for lists left to the default indent.
bool TakeStyledListIndent(TProperties& props)
{
    bool ownMargin = AsText(props[piMarginLeft]) != nullptr;
    bool ownPadding = AsText(props[piPaddingLeft]) != nullptr;
    if (!ownMargin && !ownPadding)
        return false;
    if (!ownMargin)
        props.setValue(piMarginLeft, 0);
    if (!ownPadding)
        props.setValue(piPaddingLeft, DefaultListIndent);
    return true;
}

} // namespace

// List numbers stay within this (either sign), so counting on from a START
// or VALUE near the integer limit never overflows.
constexpr int MaxListNumber = 1'000'000'000;

void ListElement(const TSymbolSet& terminators)
{
    THtmlSymbol sy = R().Sy;
    TDepthGuard guard;
    if (!guard.Entered()) {
        NextSymbol();
        return;
    }
    int number = 1;
    char numbering = '1';
    bool plain = false;
    if (sy == OLSy) {
        int start = AttrValue(StartSy, 1);
        number = start >= 0 ? std::min(start, MaxListNumber) : 1;
        std::string type = AttrText(TypeSy);
        if (!type.empty())
            numbering = type[0];
    } else if (sy == ULSy) {
        std::string type = LowerCase(AttrText(TypeSy));
        plain = Attr(PlainSy) || type == "none" || type == "plain";
    }
    CloseSection();
    std::string tag = TagNameOf(sy);
    TProperties* props = PushTag(tag);
    bool counts = sy == OLSy || sy == ULSy || sy == DirSy || sy == MenuSy;
    if (props && counts && Build.listLevel > 0)
        DropDefaultListMargins(*props);
    bool styledIndent = props && counts && TakeStyledListIndent(*props);
    TCellBasic* parent = Build.cell;
    auto made = NewBlock();
    made->IsListBlock = sy != DLSy && sy != AddressSy && sy != BlockQuoteSy && !styledIndent;
    TBlock* block = EnterBlock(std::move(made));
    NextSymbol();
    if (IsEmptyListEnd(R().Sy)) {
        PopTag(TagNameOf(THtmlSymbol(R().Sy - HtmlEndSy)));
        Build.cell = parent;
        return;
    }
    if (counts)
        ++Build.listLevel;
    THtmlSymbol ownEnd = ListEndOf(sy);
    TListKind kind = KindOf(sy);
    while (R().Sy != ownEnd && R().Sy != EofSym && !terminators.Has(R().Sy)) {
        THtmlSymbol s = R().Sy;
        if (s == PSy) {
            Paragraph(terminators);
        } else if (IsListStart(s)) {
            ListElement(terminators);
            NextSymbol();
        } else if (s == LISy || s == DDSy || s == DTSy) {
            if (s == LISy) {
                int value = AttrValue(ValueSy, 0);
                if (value != 0)
                    number = std::clamp(value, -MaxListNumber, MaxListNumber);
            }
            ListItem(kind, number, numbering, plain, terminators);
            number = std::min(number + 1, MaxListNumber);
        } else if (s == AddressSy || s == BlockQuoteSy) {
            BlockContainer(terminators);
        } else if (s == CenterSy || s == DivSy || s == FormSy) {
            BlockContainer(terminators + ListItemTerminators);
        } else if (s == HSy || s == HRSy || s == PreSy || s == TableSy || InlineSet.Has(s)) {
            ElementHandler(terminators);
        } else {
            NextSymbol();
        }
    }
    if (counts)
        --Build.listLevel;
    CloseSection();
    HideIfEmpty(block);
    PopTag(tag);
    Build.cell = parent;
}

void ListItem(TListKind kind, int number, char numbering, bool plain, const TSymbolSet& terminators)
{
    THtmlSymbol sy = R().Sy;
    TDepthGuard guard;
    if (!guard.Entered()) {
        NextSymbol();
        return;
    }
    std::string tag = sy == DDSy ? "dd" : sy == DTSy ? "dt" : "li";
    if (sy == LISy) {
        // Navigation bars style their items inline: the item's content joins
        // the list's text flow, without a marker or a block of its own.
        TProperties* props = PushTag(tag);
        if (props && IsInlineBlock(*props)) {
            // Menus of items side by side: each item a box in the line.
            InlineBlockElement(tag, [&] {
                while (R().Sy != EofSym && !(terminators.Has(R().Sy) && R().Sy != TableSy) &&
                       ListItemContent(kind, terminators)) {
                }
            });
            return;
        }
        if (props && IsDisplayedInline(*props)) {
            InlineListItem(kind, terminators);
            PopTag(tag);
            ChangeFont();
            return;
        }
        // Pushed again below: one item, one child of its list.
        if (props)
            Build.stack.Unpush();
    }
    CloseSection();
    PushTag(tag);
    TCellBasic* parent = Build.cell;
    TBlockStyle style = BlockStyleOf(Build.stack.Top());
    if (InItemsContainer())
        style.floatKind = TFloatKind::None; // an item of a flex or grid list
    const std::string markerImage = style.listStyleImage;
    auto item = std::make_unique<TBlockLI>(*Build.doc, *Build.cell, std::move(style), kind, Build.listLevel,
                                           numbering, plain, number);
    if (!markerImage.empty() && markerImage != "none" && Build.doc->ShowImages) {
        TAttributeList attrs;
        attrs.Add(TAttribute(SrcSy, 0, "SRC", markerImage));
        item->SetMarkerImage(std::make_unique<TImageObj>(*Build.doc, attrs));
    }
    EnterBlock(std::move(item));
    StartSection();
    SkipContentSpaces();
    NextSymbol();
    while (R().Sy != EofSym && !(terminators.Has(R().Sy) && R().Sy != TableSy) && ListItemContent(kind, terminators)) {
    }
    CloseSection();
    PopTag(tag);
    Build.cell = parent;
}

// ---------------------------------------------------------------- containers

void BlockContainer(const TSymbolSet& terminators)
{
    THtmlSymbol sy = R().Sy;
    TDepthGuard guard;
    if (!guard.Entered()) {
        NextSymbol();
        return;
    }
    switch (sy) {
    case AddressSy:
    case BlockQuoteSy: {
        ListElement(terminators + TSymbolSet{AddressEndSy, BlockQuoteEndSy});
        if (R().Sy == AddressEndSy || R().Sy == BlockQuoteEndSy)
            NextSymbol();
        break;
    }
    case CenterSy: {
        CloseSection();
        Attrs().Clear();
        PushTag("center");
        NextSymbol();
        BodyLoop(terminators + TSymbolSet{CenterEndSy});
        CloseSection();
        PopTag("center");
        if (R().Sy == CenterEndSy)
            NextSymbol();
        break;
    }
    case FormSy: {
        TSymbolSet inner = terminators + TSymbolSet{FormSy, FormEndSy};
        while (R().Sy == FormSy) {
            CloseSection();
            PushTag("form");
            TCellBasic* parent = Build.cell;
            TBlock* block = EnterBlock(NewBlock());
            FormStart();
            NextSymbol();
            BodyLoop(inner);
            CloseSection();
            PopTag("form");
            LeaveBlock(block, parent);
        }
        if (R().Sy == FormEndSy) {
            FormEnd();
            NextSymbol();
        }
        break;
    }
    default: { // DIV, and the newer sectioning elements read as DIV
        const std::string tag = R().BlockTagName.empty() ? std::string("div") : R().BlockTagName;
        TProperties* props = PushTag(tag);
        ApplyAlign(props);
        auto fill = [&] {
            TCellBasic* parent = Build.cell;
            TBlock* block = EnterBlock(NewBlock());
            StartSection();
            NextSymbol();
            BodyLoop(terminators + TSymbolSet{DivEndSy});
            CloseSection();
            PopTag(tag);
            LeaveBlock(block, parent);
        };
        if (props && IsInlineBlock(*props)) {
            InlineBlockBox(fill);
        } else if (props && LineHasText() && (props->displayNone() || IsPositionedOut(*props))) {
            // A hidden or absolutely positioned block inside a line of text
            // (a navigation bar's drop-down menu) leaves the line whole.
            OutOfLineBlock(fill);
        } else {
            CloseSection();
            fill();
            StartSection();
        }
        if (R().Sy == DivEndSy)
            NextSymbol();
    }
    }
}

// ---------------------------------------------------------------- PRE

namespace {

struct TPreState {
    size_t height = 0;
    TBlock* paragraph = nullptr;   // a P inside the PRE
    TCellBasic* paragraphParent = nullptr;
    TBlock* form = nullptr;
    TCellBasic* formParent = nullptr;
};

void PreNewLine()
{
    CloseSection();
    StartSection();
}

void PreFlush()
{
    if (R().Collection.Count())
        R().LCToken.AddString(R().Collection, CurrentCodePage());
    R().Collection.Clear();
    AddToken();
}

// A tab in preformatted text moves to the next multiple of eight columns
// (each line of PRE text is a section of its own).
void PreTab()
{
    constexpr size_t TabWidth = 8;
    PreFlush();
    const size_t column = Build.section ? Build.section->Text().size() : 0;
    for (size_t i = column % TabWidth; i < TabWidth; ++i)
        R().Collection.Add(' ', R().SourcePos);
}

void SkipCRAfterTag()
{
    if (R().Ch == CR)
        NextChar();
}

void PreCloseParagraph(TPreState& st)
{
    if (!st.paragraph)
        return;
    CloseSection();
    PopTag("p");
    Build.cell = st.paragraphParent;
    st.paragraph = nullptr;
}

void PreDispatch(TPreState& st)
{
    THtmlSymbol sy = R().Sy;
    switch (sy) {
    case PSy: {
        PreFlush();
        if (st.paragraph)
            PreCloseParagraph(st);
        CloseSection();
        PushTag("p");
        st.paragraphParent = Build.cell;
        st.paragraph = EnterBlock(NewBlock());
        SkipCRAfterTag();
        StartSection();
        return;
    }
    case PEndSy:
        PreFlush();
        PreCloseParagraph(st);
        StartSection();
        return;
    case BRSy:
        PreFlush();
        PreNewLine();
        SkipCRAfterTag();
        return;
    case FontSy: case BaseFontSy:
        PreFlush();
        FontElement(TFontTable::Pre);
        ChangeFont();
        return;
    case FontEndSy:
        PreFlush();
        if (Build.stack.Height() > st.height)
            PopTag("font");
        ChangeFont();
        return;
    case FormSy:
        PreFlush();
        PreCloseParagraph(st);
        CloseSection();
        PushTag("form");
        st.formParent = Build.cell;
        st.form = EnterBlock(NewBlock());
        FormStart();
        StartSection();
        return;
    case FormEndSy:
        PreFlush();
        PreCloseParagraph(st);
        FormEnd();
        if (st.form) {
            CloseSection();
            PopTag("form");
            Build.cell = st.formParent;
            st.form = nullptr;
        }
        StartSection();
        return;
    case ScriptSy:
        PreFlush();
        ReadScript();
        return;
    case TextAreaSy: case SelectSy: case InputSy:
        PreFlush();
        FormControl();
        return;
    case TextSym: // a lone "<"
        R().LCToken.Clear();
        R().Collection.Add('<', R().TagPos);
        return;
    default:
        break;
    }
    switch (sy) {
    case BSy: case BEndSy: case ISy: case IEndSy: case EmSy: case EmEndSy: case StrongSy: case StrongEndSy:
    case USy: case UEndSy: case CiteSy: case CiteEndSy: case VarSy: case VarEndSy: case TTSy: case TTEndSy:
    case CodeSy: case CodeEndSy: case KbdSy: case KbdEndSy: case SampSy: case SampEndSy: case SubSy: case SubEndSy:
    case SupSy: case SupEndSy: case BigSy: case BigEndSy: case SmallSy: case SmallEndSy: case SSy: case SEndSy:
    case StrikeSy: case StrikeEndSy: case SpanSy: case SpanEndSy: case LabelSy: case LabelEndSy:
    case ASy: case AEndSy: case ImageSy: case PanelSy: case InputSy: case PageSy: {
        PreFlush();
        // As in the element handler, but reading goes on with the characters
        // after the tag.
        EnsureSection();
        if (sy == PageSy) {
            PageBreak();
            StartSection();
            return;
        }
        if (sy == ASy) {
            AnchorStart();
            return;
        }
        if (sy == AEndSy) {
            AnchorEnd();
            return;
        }
        if (sy == ImageSy || sy == PanelSy) {
            ImageElement();
            return;
        }
        std::string name = TagNameOf(sy);
        if (sy >= HtmlEndSy && sy <= LabelEndSy) {
            PopTag(name);
        } else {
            TProperties* props = PushTag(name);
            if (props)
                StartInlineBoxIfNeeded();
        }
        ChangeFont();
        return;
    }
    case MapSy:
        PreFlush();
        ImageMap();
        return;
    default:
        return; // anything else in PRE is ignored
    }
}

} // namespace

void Preformatted()
{
    CloseSection();
    TPreState st;
    PushTag("pre");
    st.height = Build.stack.Height() - 1;
    TCellBasic* parent = Build.cell;
    TBlock* block = EnterBlock(NewBlock());
    bool wasPre = Build.inPre;
    Build.inPre = true;
    StartSection();
    R().LCToken.Clear();
    R().Collection.Clear();
    SkipCRAfterTag();
    for (;;) {
        uint8_t c = R().Ch;
        if (c == 0)
            break;
        if (c == CR) {
            PreFlush();
            PreNewLine();
            NextChar();
        } else if (c == '<') {
            PreFlush();
            ReadTag();
            THtmlSymbol sy = R().Sy;
            if (sy == PreEndSy || sy == TDEndSy || sy == THEndSy || sy == EofSym)
                break;
            PreDispatch(st);
        } else if (c == '&') {
            ReadReferenceInText();
        } else if (c <= 8) {
            NextChar();
        } else if (c == ' ' && R().TabRead) {
            PreTab();
            NextChar();
        } else {
            R().Collection.Add(char(c), R().SourcePos);
            NextChar();
        }
    }
    PreFlush();
    PreCloseParagraph(st);
    if (st.form) {
        CloseSection();
        Build.cell = st.formParent;
    }
    CloseSection();
    Build.stack.PopTo(st.height, [](int box) { Build.doc->InlineList->EndInline(box, R().SourcePos); });
    Build.inPre = wasPre;
    FollowWhiteSpace();
    Build.cell = parent;
    (void)block;
    NextSymbol();
}
