// The document builder: parse entries, the builder's common steps, the body
// loop and the element handler.
#include "html/build/DocumentBuilder.h"

#include <cctype>

#include "html/layout/TBlock.h"
#include "html/layout/TBodyBlock.h"
#include "html/layout/TPreFormated.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/build/DocumentBuilderInternal.h"
#include "html/build/PreservedWhiteSpace.h"
#include "html/style/StyleSheetParser.h"
#include "util/CodePage.h"

TBuildContext Build;

const TSymbolSet InlineSet = {
    BSy, BEndSy, ISy, IEndSy, BRSy, EmSy, EmEndSy, StrongSy, StrongEndSy, USy, UEndSy, CiteSy, VarSy, CiteEndSy,
    VarEndSy, TTSy, CodeSy, KbdSy, SampSy, TTEndSy, CodeEndSy, KbdEndSy, SampEndSy, ImageSy, ASy, AEndSy,
    UnknownTagSym, TextSym, InputSy, TextAreaSy, TextAreaEndSy, SelectSy, FontSy, FontEndSy, BaseFontSy, SubSy,
    SubEndSy, SupSy, SupEndSy, BigSy, BigEndSy, SmallSy, SmallEndSy, MapSy, PageSy, ScriptSy, ScriptEndSy, SSy,
    SEndSy, StrikeSy, StrikeEndSy, PanelSy, NoBrSy, NoBrEndSy, WbrSy, SpanSy, SpanEndSy, LabelSy, LabelEndSy};
const TSymbolSet CellTerminators = {TableEndSy, TDSy, TDEndSy, TRSy, TREndSy, THSy, THEndSy,
                                    CaptionSy, CaptionEndSy, ColSy, ColGroupSy};
const TSymbolSet ListItemTerminators = {OLEndSy, LISy, ULEndSy, DirEndSy, MenuEndSy, DLEndSy, DDSy, DTSy, EofSym};
const TSymbolSet BodyStartSet = {BodySy, PSy, HSy, HRSy, OLSy, ULSy, DirSy, MenuSy, DLSy, AddressSy,
                                 BlockQuoteSy, PreSy, ImageSy, TableSy, FormSy};

namespace {

// Inline style elements: the tag name pushed for each start symbol.
bool IsFontStyleStart(THtmlSymbol sy)
{
    switch (sy) {
    case BSy: case ISy: case EmSy: case StrongSy: case USy: case CiteSy: case VarSy: case TTSy: case CodeSy:
    case KbdSy: case SampSy: case SSy: case StrikeSy: case SpanSy: case LabelSy: case SubSy: case SupSy:
    case BigSy: case SmallSy:
        return true;
    default:
        return false;
    }
}

bool IsFontStyleEnd(THtmlSymbol sy)
{
    switch (sy) {
    case BEndSy: case IEndSy: case EmEndSy: case StrongEndSy: case UEndSy: case CiteEndSy: case VarEndSy:
    case TTEndSy: case CodeEndSy: case KbdEndSy: case SampEndSy: case SEndSy: case StrikeEndSy: case SpanEndSy:
    case LabelEndSy: case SubEndSy: case SupEndSy: case BigEndSy: case SmallEndSy:
        return true;
    default:
        return false;
    }
}

// The tag name an inline element's style is found under: its own, or the
// name of the element read as it (BUTTON read as SPAN).
std::string InlineTagName(THtmlSymbol sy)
{
    return R().BlockTagName.empty() ? TagNameOf(sy) : R().BlockTagName;
}

TLinkInfo LinkInfoOf(const TUrlTarget& link)
{
    return {link.Url, link.Target, link.ID, link.TabIndex};
}

// A STYLE element's content read through the reader.
class TReaderStyleSource : public TStyleSource {
public:
    char next() override { return char(ReadChar()); }
    char peek() override
    {
        const TReaderState& s = R();
        if (s.ReadingInserted || s.DocPos >= s.Doc.size())
            return 0;
        char c = s.Doc[s.DocPos];
        return c == '\n' ? '\r' : c == '\t' ? ' ' : c;
    }
};

void StyleElement()
{
    TReaderStyleSource source;
    // A sheet for other media (print) is read past but its rules are not kept.
    TStyleList otherMedia;
    TStyleList& target = Build.styles->mediaApplies(MediaAttribute()) ? *Build.styles : otherMedia;
    char stop = ParseStyleSheet(target, char(R().Ch), source, {}, ReadStyleSheet);
    R().Ch = uint8_t(stop == EndOfSheet ? 0 : stop);
    R().UpCh = uint8_t(std::toupper(R().Ch));
    NextSymbol();
}

void TitleElement()
{
    Build.title.clear();
    NextSymbol();
    while (R().Sy == TextSym) {
        Build.title += Utf8Of(R().LCToken.S());
        NextSymbol();
    }
}

void BaseElement()
{
    if (const TAttribute* a = Attr(HrefSy))
        Build.base = a->Text;
    if (const TAttribute* a = Attr(TargetSy))
        Build.baseTarget = a->Text;
    NextSymbol();
}

void SoundElement()
{
    const TAttribute* src = Attr(SrcSy);
    if (src && Build.events->OnSound) {
        const TAttribute* loop = Attr(LoopSy);
        Build.events->OnSound(src->Text, loop ? loop->Value : 1, false);
    }
    NextSymbol();
}

// False when a floated element was read through its end symbol.
bool FontStyleStart()
{
    if (R().Sy == SubSy || R().Sy == SupSy || R().Sy == BigSy || R().Sy == SmallSy)
        EnsureSection();
    THtmlSymbol sy = R().Sy;
    const std::string tag = InlineTagName(sy);
    TProperties* props = PushTag(tag);
    HideIfDisplayNone(props);
    if (tag == "button")
        ButtonStart();
    if (props && FloatedInline(tag, sy, THtmlSymbol(sy + HtmlEndSy)))
        return false;
    if (props) {
        TColor bg = props->ownBackgroundColor();
        if (bg != ClNone)
            props->setBackground(bg);
        StartInlineBoxIfNeeded();
    }
    ChangeFont();
    return true;
}

} // namespace

bool AnchorStart()
{
    const TAttribute* href = Attr(HrefSy);
    std::string pseudo;
    if (href) {
        CloseLink();
        Build.linkOpen = true;
        const TAttribute* target = Attr(TargetSy);
        Build.link.Start(href->Text, target ? target->Text : std::string());
        Build.link.TabIndex = AttrValue(TabIndexSy, 0);
        pseudo = "link";
    }
    HideIfDisplayNone(PushTag("a", pseudo));
    StartInlineBoxIfNeeded();
    if (Build.section)
        ChangeFont();
    else
        StartSection();
    if (const TAttribute* name = Attr(NameSy)) {
        std::string n = name->Text;
        for (char& c : n)
            c = char(std::toupper(static_cast<unsigned char>(c)));
        if (!n.empty() && n[0] == '#')
            n.erase(0, 1);
        if (!n.empty()) {
            Build.doc->AddChPosID(n, R().SourcePos);
            Build.section->MarkAnchor();
        }
    }
    // Menus float their links, and lay them out as inline blocks (not in
    // PRE, which reads on character by character).
    if (!Build.inPre && FloatedInline("a", ASy, AEndSy))
        return false;
    if (href) {
        TLinkInfo info = LinkInfoOf(Build.link);
        Build.section->ChangeLink(TextStyleOf(Build.stack.Top()), &info);
    }
    return true;
}

// ---------------------------------------------------------------- common steps

TAttributeList& Attrs()
{
    if (!R().Attributes)
        R().Attributes = std::make_unique<TAttributeList>();
    return *R().Attributes;
}

const TAttribute* Attr(THtmlSymbol which) { return Attrs().Find(which); }

std::string AttrText(THtmlSymbol which)
{
    const TAttribute* a = Attr(which);
    return a ? a->Text : std::string();
}

int AttrValue(THtmlSymbol which, int fallback)
{
    const TAttribute* a = Attr(which);
    if (!a)
        return fallback;
    if (a->Value != 0 || a->Text.empty())
        return a->Value;
    try {
        return std::stoi(a->Text);
    } catch (...) {
        return fallback;
    }
}

TProperties* PushTag(const std::string& tag, const std::string& pseudo)
{
    TAttributeList& a = Attrs();
    std::u16string title;
    std::string t = a.TheTitle();
    if (!t.empty())
        title = CodePage::ToUtf16(CodePage::Utf8, t);
    TProperties* props = Build.stack.Push(*Build.styles, tag, a.TheClass(), a.TheID(),
                                          a.StyleText() ? a.TheStyle() : nullptr, title, pseudo, &a, R().TagPos);
    FollowWhiteSpace();
    return props;
}

void FollowWhiteSpace()
{
    R().KeepWhite = !Build.inPre && WhiteSpaceOf(Build.stack.Top()) != TWhiteSpace::Normal;
}

void PopTag(const std::string& tag)
{
    int box = Build.stack.Pop(*Build.styles, tag);
    if (box >= 0)
        Build.doc->InlineList->EndInline(box, R().SourcePos);
    FollowWhiteSpace();
}

void HideIfDisplayNone(const TProperties* props)
{
    if (props && props->isSetHere(piDisplay) && props->displayNone())
        Build.stack.MarkHiddenInline();
}

void StartInlineBoxIfNeeded()
{
    TProperties& p = Build.stack.Top();
    if (!p.hasVisibleBorder())
        return;
    TBlockStyle style = BlockStyleOf(p);
    int index = Build.doc->InlineList->StartInline(R().TagPos, style.boxValues(200, 200), style.borderStyles);
    Build.stack.SetInlineBox(index);
}

void ChangeFont()
{
    if (Build.section)
        Build.section->ChangeFont(TextStyleOf(Build.stack.Top()));
}

void StartSection()
{
    CloseSection();
    TLinkInfo info = LinkInfoOf(Build.link);
    TTextStyle style = TextStyleOf(Build.stack.Top());
    // text-indent moves the first line of a block: the block's first section.
    const TFirstLine firstLine =
        Build.cell && Build.cell->Sections.empty() ? TFirstLine::Indented : TFirstLine::Normal;
    if (Build.inPre)
        Build.section = std::make_unique<TPreFormated>(*Build.doc, style, Build.linkOpen ? &info : nullptr);
    else
        Build.section = std::make_unique<TSection>(*Build.doc, style, Build.linkOpen ? &info : nullptr, firstLine);
    Build.section->SetNoBreak(Build.noBreak);
}

void EnsureSection()
{
    if (!Build.section)
        StartSection();
}

void CloseSection()
{
    if (Build.section && Build.cell)
        Build.cell->AddSection(std::move(Build.section));
    if (Build.section)
        DropSection();
}

void DropSection()
{
    if (Build.section && Build.doc)
        Build.doc->ForgetSection(*Build.section);
    Build.section.reset();
}

TBlock* EnterBlock(std::unique_ptr<TBlock> block)
{
    TBlock* raw = block.get();
    Build.cell->AddSection(std::move(block));
    Build.cell = &raw->Content();
    return raw;
}

void LeaveBlock(TBlock* block, TCellBasic* parent)
{
    CloseSection();
    HideIfEmpty(block);
    Build.cell = parent;
}

void HideIfEmpty(TBlock* block)
{
    if (block && block->Content().Empty())
        block->SetHidden(true);
}

void CloseLink()
{
    if (!Build.linkOpen)
        return;
    Build.link.Clear();
    Build.linkOpen = false;
    PopTag("a");
    if (Build.section)
        Build.section->ChangeLink(TextStyleOf(Build.stack.Top()), nullptr);
}

void AnchorEnd()
{
    if (Build.linkOpen) {
        CloseLink();
        return;
    }
    // An anchor without HREF (<a id=x></a>) was pushed too: left on the
    // stack, every such anchor would deepen it until it is full and later
    // elements lose their styles.
    PopTag("a");
    ChangeFont();
}

void ApplyAlign(TProperties* props)
{
    const TAttribute* a = Attr(AlignSy);
    if (!props || !a)
        return;
    std::string v = LowerCase(Trim(a->Text));
    if (v == "middle")
        v = "center";
    if (v == "left" || v == "center" || v == "right" || v == "justify")
        props->assign(piTextAlign, v);
}

void AddToken()
{
    const TokenObj& t = R().LCToken;
    if (t.Empty())
        return;
    Build.stack.NoteContent();
    if (Build.stack.InsideHiddenInline()) {
        R().LCToken.Clear();
        return;
    }
    EnsureSection();
    const std::span<const int> sources(t.I().data(), t.I().size());
    if (R().KeepWhite)
        AddPreservedText(*Build.section, t.S(), sources, WhiteSpaceOf(Build.stack.Top()));
    else
        Build.section->AddText(t.S(), sources);
    R().LCToken.Clear();
}

void SkipToNext() { NextSymbol(); }

// ---------------------------------------------------------------- body loop

void BodyLoop(const TSymbolSet& terminators)
{
    while (!terminators.Has(R().Sy) && R().Sy != EofSym) {
        THtmlSymbol sy = R().Sy;
        switch (sy) {
        case TitleSy:
            TitleElement();
            break;
        case BodySy:
            if (Build.body && Build.body->Content().Empty() && Build.tableLevel == 0)
                BodyElement();
            NextSymbol();
            break;
        case PSy:
            Paragraph(terminators);
            break;
        case BaseSy:
            BaseElement();
            break;
        case OLSy: case ULSy: case DirSy: case MenuSy: case DLSy:
            ListElement(terminators);
            if (!terminators.Has(R().Sy))
                NextSymbol();
            break;
        case LISy:
            ListItem(TListKind::Stray, 1, '1', false, terminators);
            break;
        case DDSy: case DTSy:
            ListItem(TListKind::Definition, 1, '1', false, terminators);
            break;
        case AddressSy: case BlockQuoteSy: case CenterSy: case FormSy: case DivSy:
            BlockContainer(terminators);
            break;
        case LinkSy:
            LinkElement();
            break;
        case FormEndSy:
            FormEnd();
            NextSymbol();
            break;
        case BgSoundSy:
            SoundElement();
            break;
        case MetaSy:
            MetaElement();
            break;
        case StyleSy:
            StyleElement();
            break;
        default:
            if (InlineSet.Has(sy) || sy == HSy || sy == HEndSy || sy == HRSy || sy == PreSy || sy == TableSy)
                ElementHandler(terminators);
            else
                NextSymbol();
        }
    }
}

// ---------------------------------------------------------------- element handler

void ElementHandler(const TSymbolSet& terminators)
{
    THtmlSymbol sy = R().Sy;
    if (IsFontStyleStart(sy)) {
        if (!FontStyleStart())
            return;
    } else if (IsFontStyleEnd(sy)) {
        const std::string tag = InlineTagName(sy);
        if (tag == "button")
            ButtonEnd();
        PopTag(tag);
        ChangeFont();
    } else {
        switch (sy) {
        case BRSy:
            LineBreak(terminators);
            return;
        case HSy:
            Heading(terminators);
            return;
        case PreSy:
            Preformatted();
            return;
        case TableSy:
            Table();
            return;
        case ASy:
            if (!AnchorStart())
                return; // a boxed link was read through its end
            break;
        case AEndSy:
            AnchorEnd();
            break;
        case TextSym:
            AddToken();
            break;
        case FontSy: case BaseFontSy:
            FontElement(Build.inPre ? TFontTable::Pre : TFontTable::Normal);
            ChangeFont();
            break;
        case FontEndSy:
            PopTag("font");
            ChangeFont();
            break;
        case InputSy: case SelectSy: case TextAreaSy:
            if (FormControl())
                return;
            break;
        case ImageSy: case PanelSy:
            ImageElement();
            break;
        case HRSy:
            RuleElement();
            break;
        case PageSy:
            PageBreak();
            break;
        case MapSy:
            ImageMap();
            return;
        case ScriptSy:
            ReadScript();
            break;
        case NoBrSy: case NoBrEndSy:
            AddToken();
            Build.noBreak = sy == NoBrSy;
            if (Build.section)
                Build.section->SetNoBreak(Build.noBreak);
            break;
        case WbrSy:
            Build.stack.NoteContent();
            EnsureSection();
            Build.section->AddChar(u' ', R().TagPos);
            break;
        default:
            break;
        }
    }
    NextSymbol();
}

// ---------------------------------------------------------------- entries

namespace {

void ResetContext(TSectionList& document, TStyleList& styles, const THtmlParseSettings& settings,
                  const THtmlParseEvents& events, THtmlParseResult* result)
{
    Build.doc = &document;
    Build.styles = &styles;
    Build.events = &events;
    Build.settings = settings;
    Build.result = result;
    Build.section.reset();
    Build.link.Clear();
    Build.linkOpen = false;
    Build.button = nullptr;
    Build.listLevel = Build.tableLevel = Build.depth = 0;
    Build.noBreak = Build.inPre = false;
    Build.baseFontSize = 3;
    Build.title.clear();
    Build.base.clear();
    Build.baseTarget.clear();
    styles.initializeDefaults(settings.defaults);
    Build.stack.Reset(*styles.defaultProperties());
    Build.stack.UseLaterSiblings(Build.learnLaterSiblings ? &Build.laterSiblings : nullptr);
    R().Attributes = std::make_unique<TAttributeList>();
    Build.readerIDs.clear();
    R().OnIDAttribute = [](const std::string& name, int32_t sourcePos) { Build.readerIDs.emplace_back(name, sourcePos); };
    R().TopCodePage = [] { return Build.stack.Height() ? Build.stack.Top().codePage() : 0; };
}

void AddBody()
{
    auto body = std::make_unique<TBodyBlock>(*Build.doc, *Build.doc, BlockStyleOf(Build.stack.Top()));
    Build.body = body.get();
    Build.doc->AddSection(std::move(body));
    Build.cell = &Build.body->Content();
}

// Every ID of the document is an in-page target. Blocks, sections, pictures
// and controls have registered their own by now and keep them (they know
// their place better than a character does); any other element (A, SPAN, B,
// TR...) is found at the character where its tag stands. With the same ID
// twice, the first stays.
void RegisterReaderIDs()
{
    for (const auto& [name, sourcePos] : Build.readerIDs)
        if (!Build.doc->FindID(name))
            Build.doc->AddChPosID(name, sourcePos);
    std::vector<std::pair<std::string, int32_t>>().swap(Build.readerIDs);
}

void FinishBuild()
{
    CloseSection();
    RegisterReaderIDs();
    R().OnIDAttribute = nullptr;
    Build.stack.Clear();
    Build.link.Clear();
    Build.cell = nullptr;
    Build.body = nullptr;
    R().Attributes.reset();
    R().TopCodePage = nullptr;
    R().OnInclude = nullptr;
    R().OnScript = nullptr;
    R().OnProgress = nullptr;
    ReleaseDocument();
}

int CountLinks()
{
    int count = 0;
    try {
        R().PreScan = true;
        NextSymbol();
        while (R().Sy != EofSym && count <= 400) {
            if (R().Sy == ASy && Attr(HrefSy))
                ++count;
            NextSymbol();
        }
    } catch (...) {
    }
    R().PreScan = false;
    return count;
}

} // namespace

THtmlParseResult ReadHtmlDocument(std::string_view text, TSectionList& document, TStyleList& styles,
                                  const THtmlParseSettings& settings, const THtmlParseEvents& events)
{
    THtmlParseResult result;
    ResetContext(document, styles, settings, events, &result);
    try {
        InstallDocumentView(text);
        if (R().BaseCharSet >= 0)
            Build.stack.Top().setCharacterSet(R().BaseCharSet);
        if (R().BaseCodePage != 0)
            Build.stack.Top().setCodePage(R().BaseCodePage);
        AddBody();
        StartSection();
        document.ManyLinks = CountLinks() > 400;
        RestartReading();
        R().OnInclude = events.OnInclude;
        R().OnScript = events.OnScript;
        R().OnProgress = events.OnProgress;
        NextSymbol();
        BodyLoop({});
    } catch (const Exception&) {
        // The build ends quietly; what was built stays.
    }
    result.title = Build.title;
    result.base = Build.base;
    result.baseTarget = Build.baseTarget;
    FinishBuild();
    return result;
}

void HtmlParseTextString(std::string_view text, TSectionList& document, TStyleList& styles,
                         const THtmlParseSettings& settings)
{
    THtmlParseEvents none;
    ResetContext(document, styles, settings, none, nullptr);
    try {
        AddBody();
        PushTag("pre");
        Build.inPre = true;
        StartSection();
        // No markup. The bytes are read as an HTML page without a declared
        // character set is: UTF-8 when they are valid UTF-8 with some
        // non-ASCII byte, else the ANSI code page.
        std::u16string chunk;
        std::vector<int> positions;
        auto flush = [&] {
            if (!chunk.empty()) {
                EnsureSection();
                Build.section->AddText(chunk, positions);
                chunk.clear();
                positions.clear();
            }
        };
        const std::string_view body = text.substr(0, text.find('\0'));
        size_t start = 0;
        int codePage = CodePage::Ansi;
        if (body.starts_with("\xEF\xBB\xBF")) {
            codePage = CodePage::Utf8;
            start = 3;
        } else if (CodePage::LooksLikeUtf8(body)) {
            codePage = CodePage::Utf8;
        }
        // Line by line: a character never spans a line end, and the
        // converted text of a large file is never held whole.
        std::vector<size_t> firstByte;
        while (start <= body.size()) {
            const size_t lineEnd = std::min(body.find_first_of("\r\n", start), body.size());
            const std::u16string line = CodePage::ToUtf16(codePage, body.substr(start, lineEnd - start), &firstByte);
            for (size_t k = 0; k < line.size(); ++k) {
                const char16_t c = line[k];
                const int at = int(start + firstByte[k]);
                if (c == u'\b') {
                    // Overstrike (manual pages): the last character struck shows.
                    if (!chunk.empty()) {
                        chunk.pop_back();
                        positions.pop_back();
                    }
                } else if (c == u'\t') {
                    // To the next tab stop, every eight columns.
                    const size_t column = (Build.section ? Build.section->Text().size() : 0) + chunk.size();
                    chunk.append(8 - column % 8, u' ');
                    positions.insert(positions.end(), 8 - column % 8, at);
                } else {
                    chunk.push_back(c);
                    positions.push_back(at);
                }
                if (chunk.size() > 200)
                    flush();
            }
            if (lineEnd >= body.size())
                break;
            start = lineEnd + (body[lineEnd] == '\r' && lineEnd + 1 < body.size() && body[lineEnd + 1] == '\n' ? 2 : 1);
            flush();
            EnsureSection();
            StartSection();
        }
        flush();
        CloseSection();
        PopTag("pre");
    } catch (const Exception&) {
    }
    Build.inPre = false;
    FinishBuild();
}
