// The builder's FONT and BASEFONT, BODY, LINK and
// META elements, and the head scan of frame-set documents.
#include <array>
#include <cctype>
#include <utility>

#include "util/Utilities.h"
#include "html/layout/TBodyBlock.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/build/DocumentBuilderInternal.h"
#include "html/style/StyleSheetParser.h"

namespace {

struct TCharsetName {
    const char* name;
    int charset;
};

constexpr int EucJpCharset = 30;
constexpr int Iso8859_2Charset = 31;

// Matched in this order by substring of the lower-case name.
constexpr std::array<TCharsetName, 46> CharsetTable = {{
    {"1252", 0}, {"8859-1", 0}, {"1253", 161}, {"8859-7", 161}, {"1250", 238}, {"8859-2", Iso8859_2Charset},
    {"1251", 204}, {"8859-5", 204}, {"koi", 204}, {"866", 204}, {"1254", 162}, {"8859-3", 162}, {"8859-9", 162},
    {"1257", 186}, {"8859-4", 186}, {"932", 128}, {"949", 129}, {"936", 134}, {"950", 136}, {"1255", 177},
    {"1256", 178}, {"1258", 163}, {"874", 222}, {"ansi", 0}, {"default", 1}, {"symbol", 2}, {"shiftjis", 128},
    {"shift_jis", 128}, {"x-sjis", 128}, {"hangeul", 129}, {"gb2312", 134}, {"big5", 136}, {"oem", 255},
    {"johab", 130}, {"hebrew", 177}, {"arabic", 178}, {"greek", 161}, {"turkish", 162}, {"vietnamese", 163},
    {"thai", 222}, {"easteurope", 238}, {"russian", 204}, {"euc-kr", 129}, {"5601", 129}, {"euc-jp", EucJpCharset},
    {"8859-15", 0},
}};

// Applies a table value to the top property set.
void ApplyCharset(int value, TProperties& props)
{
    if (value == Iso8859_2Charset) {
        props.setCharacterSet(238);
        props.setCodePage(28592);
    } else if (value == EucJpCharset) {
        ConvertDocumentFromEucJp();
        props.setCharacterSet(128);
    } else {
        props.setCharacterSet(value);
    }
}

std::optional<int> FontSizeOf(const std::string& text)
{
    std::string t(Trim(text));
    if (t.empty())
        return std::nullopt;
    bool relative = t[0] == '+' || t[0] == '-';
    size_t i = relative ? 1 : 0;
    long long n = 0;
    bool digits = false;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
        n = std::min<long long>(n * 10 + (t[i] - '0'), 1000);
        digits = true;
        ++i;
    }
    if (!digits)
        return std::nullopt;
    if (t[0] == '-')
        n = -n;
    if (relative)
        n += Build.baseFontSize;
    return int(std::clamp<long long>(n, 1, 7));
}

std::string ReadWholeFile(const std::string& name)
{
    return ReadFileBytes(name).value_or(std::string());
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

// A local file name without the "?query" or "#fragment" a URL may carry
// (version stamps such as "theme.css?v=3"); URLs are left whole.
std::string WithoutQuery(const std::string& href)
{
    if (href.find("://") != std::string::npos)
        return href;
    return href.substr(0, href.find_first_of("?#"));
}

void LoadStyleSheet(const std::string& linkHref)
{
    std::string text, basePath;
    if (ReadStyleSheet(linkHref, text, basePath))
        ParseStyleSheetText(*Build.styles, text, basePath, ReadStyleSheet, linkHref);
}

std::optional<TColor> ColorOfAttr(THtmlSymbol which)
{
    const TAttribute* a = Attr(which);
    return a ? ParseColor(a->Text) : std::nullopt;
}

} // namespace

bool ReadStyleSheet(const std::string& linkHref, std::string& text, std::string& basePath)
try {
    const THtmlParseEvents& ev = *Build.events;
    const std::string href = WithoutQuery(linkHref);
    bool loaded = false;
    if (ev.OnGetStream) {
        std::string name = ev.ExpandName ? ev.ExpandName(href) : href;
        std::unique_ptr<std::string> stream;
        ev.OnGetStream(name, stream);
        if (stream) {
            text = *stream;
            basePath = FolderOf(name);
            loaded = true;
        } else if (ev.ExpandName) {
            return false;
        }
    }
    if (!loaded) {
        std::string file = ev.HtmlToFileName ? ev.HtmlToFileName(href) : href;
        text = ReadWholeFile(file);
        basePath = FolderOf(file);
    }
    text = WithCrLf(text);
    return !text.empty();
} catch (...) {
    return false; // a sheet that cannot be read is left out
}

int CharsetOfName(const std::string& lowerName)
{
    for (const TCharsetName& entry : CharsetTable)
        if (lowerName.find(entry.name) != std::string::npos)
            return entry.charset;
    return -1;
}

// ---------------------------------------------------------------- FONT

void FontElement(TFontTable table)
{
    bool isFont = R().Sy == FontSy;
    std::optional<double> points;
    if (const TAttribute* size = Attr(SizeSy)) {
        if (auto step = FontSizeOf(size->Text)) {
            if (!isFont)
                Build.baseFontSize = *step;
            points = FontSizeTable(table, *step, StyleModule().defaultFontSize);
        }
    }
    std::optional<TColor> color = ColorOfAttr(ColorSy);
    std::string face = isFont ? AttrText(FaceSy) : std::string();
    int charset = Attr(CharSetSy) ? CharsetOfName(LowerCase(AttrText(CharSetSy))) : -1;
    TProperties* props = PushTag("font");
    if (!props)
        return;
    StartInlineBoxIfNeeded();
    if (points)
        props->assign(piFontSize, *points);
    if (color)
        props->assign(piColor, int(PaletteRelative(*color)));
    if (!face.empty())
        props->assign(piFontFamily, face);
    if (charset >= 0)
        ApplyCharset(charset, *props);
}

// ---------------------------------------------------------------- LINK and META

std::string MediaAttribute()
{
    for (const TAttribute& a : Attrs())
        if (a.Name == "MEDIA")
            return a.Text;
    return {};
}

void LinkElement()
{
    std::string href = AttrText(HrefSy), rel = AttrText(RelSy), rev = AttrText(RevSy);
    // A DISABLED sheet waits for a script to switch it on (theme choosers).
    if (LowerCase(rel) == "stylesheet" && !href.empty() && !Attr(DisabledSy) &&
        Build.styles->mediaApplies(MediaAttribute())) {
        try {
            LoadStyleSheet(href);
        } catch (...) {
            // A sheet that cannot be read or parsed is left out.
        }
    }
    if (Build.events->OnLink)
        Build.events->OnLink(rel, rev, href);
    NextSymbol();
}

void MetaElement()
{
    std::string httpEq = AttrText(HttpEqSy), name = AttrText(NameSy), content = AttrText(ContentSy);
    if (!Build.events->FrameSetViewer && LowerCase(httpEq) == "content-type") {
        std::string lower = LowerCase(content);
        int charset = CharsetOfName(lower);
        if (charset >= 0) {
            ApplyCharset(charset, Build.stack.Top());
        } else if (lower.find("utf-8") != std::string::npos) {
            Build.stack.Top().setCharacterSet(0);
            Build.stack.Top().setCodePage(65001);
        }
    }
    if (Build.events->OnMeta)
        Build.events->OnMeta(httpEq, name, content);
    NextSymbol();
}

// ---------------------------------------------------------------- BODY

void BodyElement()
{
    DropSection();
    TProperties* props = PushTag("body");
    if (!props)
        return;
    if (auto c = ColorOfAttr(TextSym))
        props->assign(piColor, int(PaletteRelative(*c)));
    if (auto c = ColorOfAttr(BgColorSy))
        props->assign(piBackgroundColor, int(PaletteRelative(*c)));
    if (const TAttribute* bg = Attr(BackgroundSy))
        props->assign(piBackgroundImage, "url(" + bg->Text + ")");
    if (LowerCase(AttrText(BGPropertiesSy)) == "fixed")
        props->assign(piBackgroundAttachment, std::string("fixed"));
    if (auto c = ColorOfAttr(LinkSy))
        Build.styles->setLinkColor("link", *c);
    if (auto c = ColorOfAttr(VLinkSy))
        Build.styles->setLinkColor("visited", *c);
    if (auto c = ColorOfAttr(OLinkSy)) {
        Build.styles->setLinkColor("hover", *c);
        Build.styles->setHoverUsed();
    }
    int mw = Build.settings.marginWidth, mh = Build.settings.marginHeight;
    for (THtmlSymbol s : {MarginWidthSy, LeftMarginSy})
        if (Attr(s))
            mw = std::clamp(AttrValue(s, mw), 0, 200);
    for (THtmlSymbol s : {MarginHeightSy, TopMarginSy})
        if (Attr(s))
            mh = std::clamp(AttrValue(s, mh), 0, 200);
    props->assign(piMarginLeft, mw);
    props->assign(piMarginRight, mw);
    props->assign(piMarginTop, mh);
    props->assign(piMarginBottom, mh);
    // The empty body block is replaced by one with these values.
    auto& sections = Build.doc->Sections;
    for (auto it = sections.begin(); it != sections.end(); ++it)
        if (it->get() == Build.body) {
            sections.erase(it);
            break;
        }
    TBlockStyle style = BlockStyleOf(*props);
    auto body = std::make_unique<TBodyBlock>(*Build.doc, *Build.doc, style);
    Build.body = body.get();
    Build.doc->AddSection(std::move(body));
    Build.cell = &Build.body->Content();
    EnterBodyItems(style);
    StartSection();
}

// ---------------------------------------------------------------- frame sets

namespace {

class TFrameScan {
public:
    explicit TFrameScan(const TFrameSetHost* host) : FHost(host) {}
    // Reads head elements up to the next FRAMESET (true) or a body-start
    // symbol or the end (false).
    bool Head(TFrameSetHead* head);
    void FrameSet();

private:
    void SkipNoFrames();
    const TFrameSetHost* FHost;
};

void TFrameScan::SkipNoFrames()
{
    while (R().Sy != NoFramesEndSy && R().Sy != EofSym)
        NextSymbol();
}

bool TFrameScan::Head(TFrameSetHead* head)
{
    NextSymbol();
    while (R().Sy != EofSym && !BodyStartSet.Has(R().Sy)) {
        switch (R().Sy) {
        case FrameSetSy:
            return true;
        case TitleSy:
            if (head)
                head->title.clear();
            NextSymbol();
            while (R().Sy == TextSym) {
                if (head)
                    head->title += Utf8Of(R().LCToken.S());
                NextSymbol();
            }
            continue;
        case BaseSy:
            if (head) {
                if (const TAttribute* a = Attr(HrefSy))
                    head->base = a->Text;
                if (const TAttribute* a = Attr(TargetSy))
                    head->baseTarget = a->Text;
            }
            break;
        case MetaSy:
            if (FHost && FHost->OnMeta)
                FHost->OnMeta(AttrText(HttpEqSy), AttrText(NameSy), AttrText(ContentSy));
            break;
        case BgSoundSy:
            if (FHost && FHost->OnSound && Attr(SrcSy))
                FHost->OnSound(AttrText(SrcSy), Attr(LoopSy) ? Attr(LoopSy)->Value : 1, false);
            break;
        case ScriptSy:
            ReadScript();
            break;
        case NoFramesSy:
            SkipNoFrames();
            break;
        default:
            break;
        }
        NextSymbol();
    }
    return false;
}

void TFrameScan::FrameSet()
{
    TDepthGuard guard;
    if (!guard.Entered())
        return;
    if (FHost->beginFrameSet)
        FHost->beginFrameSet(Attrs());
    NextSymbol();
    while (R().Sy != FrameSetEndSy && R().Sy != EofSym) {
        switch (R().Sy) {
        case FrameSetSy:
            FrameSet();
            break;
        case FrameSy:
            if (FHost->addFrame)
                FHost->addFrame(Attrs());
            break;
        case NoFramesSy:
            SkipNoFrames();
            break;
        case ScriptSy:
            ReadScript();
            break;
        default:
            break;
        }
        NextSymbol();
    }
    if (FHost->endFrameSet)
        FHost->endFrameSet();
}

void StartScan(std::string_view text)
{
    Build.stack.ResetEmpty();
    Build.depth = 0;
    R().Attributes = std::make_unique<TAttributeList>();
    R().OnIDAttribute = nullptr;
    R().TopCodePage = nullptr;
    R().OnInclude = nullptr;
    InstallDocumentView(text, BomHandling::Ignore);
}

void EndScan()
{
    Build.stack.Clear();
    R().Attributes.reset();
    R().OnScript = nullptr;
    ReleaseDocument();
}

} // namespace

TFrameSetHead FrameParseString(std::string_view text, const TFrameSetHost& host)
{
    TFrameSetHead head;
    try {
        StartScan(text);
        R().OnScript = host.OnScript;
        TFrameScan scan(&host);
        if (scan.Head(&head)) {
            scan.FrameSet();
            // Pages put META refresh and BGSOUND after the frame set too; the
            // scan goes on for them, passing over any further frame set.
            while (scan.Head(&head)) {
            }
        }
    } catch (const Exception&) {
    }
    EndScan();
    return head;
}

bool IsFrameSetString(std::string_view text)
{
    bool result = false;
    try {
        StartScan(text);
        TFrameScan scan(nullptr);
        result = scan.Head(nullptr);
    } catch (...) {
        result = false;
    }
    EndScan();
    return result;
}
