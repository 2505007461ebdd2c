#include "html/viewer/TBasicReader.h"

#include <memory>

#include "html/layout/TBlockStyle.h"
#include "html/layout/TBodyBlock.h"
#include "html/layout/TPreFormated.h"
#include "html/layout/TSection.h"
#include "html/layout/TSectionList.h"
#include "html/reader/Readhtml.h"
#include "html/viewer/LinkNames.h"
#include "util/Exception.h"

namespace {

std::unique_ptr<TDocumentReader>& ReaderSlot()
{
    static std::unique_ptr<TDocumentReader> reader = std::make_unique<TBasicReader>();
    return reader;
}

std::string Attr(THtmlSymbol which)
{
    const TAttribute* a = ReadState.Attributes ? ReadState.Attributes->Find(which) : nullptr;
    return a ? a->Text : std::string();
}

TMargArray NoBox(const TDocumentDefaults& defaults = {})
{
    TMargArray b;
    b[BoxMarginLeft] = b[BoxMarginRight] = defaults.marginWidth;
    b[BoxMarginTop] = b[BoxMarginBottom] = defaults.marginHeight;
    b[BoxWidth] = BoxAuto;
    b[BoxTop] = BoxAuto;
    b[BoxLeft] = BoxAuto;
    b.autoCount = 1;
    b.topMarginExplicit = true;
    return b;
}

// Font heights are negative pixel sizes for a 96 pixels-per-inch screen.
int PointsToHeight(int points) { return -(96 * points + 36) / 72; }

TTextStyle MakeStyle(const TSectionList& doc, int points, TFontStyles style, bool fixedPitch,
                     const TDocumentDefaults& defaults)
{
    TTextStyle s;
    s.font.spec.name = fixedPitch ? defaults.preFontName : doc.FontName;
    s.font.spec.height = PointsToHeight(points);
    s.font.spec.style = style;
    s.font.spec.charset = defaults.charSet;
    s.font.color = defaults.fontColor;
    s.hasLinkFonts = true;
    TColor colors[4] = {doc.LinkColor, doc.VisitedColor, doc.HoverColor, doc.HoverColor};
    for (size_t i = 0; i < 4; ++i) {
        s.linkFonts[i] = s.font;
        s.linkFonts[i].color = colors[i];
        s.linkFonts[i].spec.style = TFontStyles(defaults.linkUnderline ? style | fsUnderline : style);
    }
    return s;
}

// Builds the flow of one document from the symbols of the tokenizer.
class TBasicBuilder {
public:
    TBasicBuilder(TSectionList& doc, const TReaderEvents& events, TReaderResult& result)
        : FDoc(doc), FEvents(events), FResult(result)
    {
        TBlockStyle body;
        body.boxValues = FixedBoxValues(NoBox(events.defaults));
        body.tag = "body";
        auto block = std::make_unique<TBodyBlock>(doc, doc, body);
        FBody = &block->Content();
        doc.AddSection(std::move(block));
    }

    void Run()
    {
        NextSymbol();
        while (ReadState.Sy != EofSym)
            Symbol();
        Close();
    }

private:
    void Symbol()
    {
        THtmlSymbol sy = ReadState.Sy;
        switch (sy) {
        case TextSym:
            Text();
            break;
        case TitleSy:
            Title();
            return;
        case StyleSy:
            while (ReadState.Sy != StyleEndSy && ReadState.Sy != EofSym)
                NextSymbol();
            break;
        case ScriptSy:
            ReadScript();
            break;
        case BaseSy:
            FResult.base = Attr(HrefSy);
            FResult.baseTarget = Attr(TargetSy);
            break;
        case MetaSy:
            if (FEvents.onMeta)
                FEvents.onMeta(Attr(HttpEqSy), Attr(NameSy), Attr(ContentSy));
            break;
        case LinkSy:
            if (FEvents.onLink)
                FEvents.onLink(Attr(RelSy), Attr(RevSy), Attr(HrefSy));
            break;
        case BgSoundSy:
            if (FEvents.onSound)
                FEvents.onSound(Attr(SrcSy), 1);
            break;
        case ASy:
            Anchor();
            break;
        case AEndSy:
            FLink = TLinkInfo{};
            Restyle();
            break;
        case BSy: case StrongSy: case THSy:
            ++FBold;
            Restyle();
            break;
        case BEndSy: case StrongEndSy: case THEndSy:
            FBold = std::max(0, FBold - 1);
            Restyle();
            break;
        case ISy: case EmSy: case CiteSy: case VarSy:
            ++FItalic;
            Restyle();
            break;
        case IEndSy: case EmEndSy: case CiteEndSy: case VarEndSy:
            FItalic = std::max(0, FItalic - 1);
            Restyle();
            break;
        case HSy:
            Close();
            FHeading = ReadState.HeadingLevel;
            break;
        case HEndSy:
            Close();
            FHeading = 0;
            break;
        case PreSy:
            Close();
            FPre = true;
            break;
        case PreEndSy:
            Close();
            FPre = false;
            break;
        case BRSy:
            if (FSection)
                FSection->AddChar(BreakChar, ReadState.TagPos);
            break;
        default:
            if (IsBlockBreak(sy))
                Close();
            break;
        }
        NextSymbol();
    }

    static bool IsBlockBreak(THtmlSymbol sy)
    {
        switch (sy) {
        case PSy: case PEndSy: case DivSy: case DivEndSy: case LISy: case DTSy: case DDSy: case HRSy:
        case TRSy: case TREndSy: case TableSy: case TableEndSy: case BlockQuoteSy: case BlockQuoteEndSy:
        case CenterSy: case CenterEndSy: case ULSy: case ULEndSy: case OLSy: case OLEndSy: case DLSy:
        case DLEndSy: case AddressSy: case AddressEndSy: case FormSy: case FormEndSy: case TDSy: case CaptionSy:
            return true;
        default:
            return false;
        }
    }

    TTextStyle CurrentStyle() const
    {
        static const int headingPoints[7] = {0, 24, 18, 14, 12, 10, 8};
        int points = FHeading > 0 && FHeading <= 6 ? headingPoints[FHeading] : FDoc.FontSize;
        TFontStyles style = TFontStyles((FBold || FHeading ? fsBold : 0) | (FItalic ? fsItalic : 0));
        return MakeStyle(FDoc, points, style, FPre, FEvents.defaults);
    }

    TSection& Section()
    {
        if (!FSection) {
            auto s = FPre ? std::make_unique<TPreFormated>(FDoc, CurrentStyle(), FLink.empty() ? nullptr : &FLink)
                          : std::make_unique<TSection>(FDoc, CurrentStyle(), FLink.empty() ? nullptr : &FLink);
            FSection = s.get();
            FOpen = std::move(s);
        }
        return *FSection;
    }

    void Restyle()
    {
        if (FSection)
            FSection->ChangeLink(CurrentStyle(), FLink.empty() ? nullptr : &FLink);
    }

    void Close()
    {
        if (FOpen) {
            FBody->AddSection(std::move(FOpen));
            FSection = nullptr;
        }
    }

    void Text()
    {
        const std::u16string& text = ReadState.LCToken.S();
        if (!FSection) {
            size_t first = text.find_first_not_of(u" \r\n");
            if (first == std::u16string::npos && !FPre)
                return;
        }
        const auto& idx = ReadState.LCToken.I();
        std::vector<int> sources(idx.begin(), idx.end());
        Section().AddText(text, sources);
    }

    void Title()
    {
        std::u16string title;
        NextSymbol();
        while (ReadState.Sy == TextSym) {
            title += ReadState.LCToken.S();
            NextSymbol();
        }
        std::string utf8;
        for (char16_t c : title) {
            if (c < 0x80)
                utf8 += char(c);
            else if (c < 0x800) {
                utf8 += char(0xC0 | (c >> 6));
                utf8 += char(0x80 | (c & 0x3F));
            } else {
                utf8 += char(0xE0 | (c >> 12));
                utf8 += char(0x80 | ((c >> 6) & 0x3F));
                utf8 += char(0x80 | (c & 0x3F));
            }
        }
        FResult.title = TrimText(utf8);
    }

    void Anchor()
    {
        std::string name = Attr(NameSy);
        if (name.empty())
            name = Attr(IDSy);
        if (!name.empty()) {
            TSection& s = Section();
            s.MarkAnchor();
            FDoc.AddID(UpperCase(name), &s);
        }
        std::string href = Attr(HrefSy);
        if (!href.empty()) {
            FLink.url = href;
            FLink.target = Attr(TargetSy);
            FLink.id = ++FLinkCount;
            Section().ChangeLink(CurrentStyle(), &FLink);
        }
    }

    TSectionList& FDoc;
    const TReaderEvents& FEvents;
    TReaderResult& FResult;
    TCellBasic* FBody = nullptr;
    std::unique_ptr<TSection> FOpen;
    TSection* FSection = nullptr;
    TLinkInfo FLink;
    int FLinkCount = 0;
    int FBold = 0;
    int FItalic = 0;
    int FHeading = 0;
    bool FPre = false;
};

} // namespace

TDocumentReader& DocumentReader() { return *ReaderSlot(); }

void SetDocumentReader(std::unique_ptr<TDocumentReader> reader)
{
    if (reader)
        ReaderSlot() = std::move(reader);
}

void TBasicReader::ParseHtml(const std::string& text, TSectionList& document, const TReaderEvents& events,
                             TReaderResult& result)
{
    struct Release {
        ~Release() { ReleaseDocument(); }
    } release;
    InstallDocument(text);
    ReadState.IDNames = nullptr;
    TBasicBuilder builder(document, events, result);
    try {
        builder.Run();
    } catch (const Exception&) {
        // what was read so far stays shown
    }
}

void TBasicReader::ParseText(const std::string& text, TSectionList& document, const TDocumentDefaults& defaults,
                             TReaderResult&)
{
    TBlockStyle body;
    body.boxValues = FixedBoxValues(NoBox(defaults));
    body.tag = "body";
    auto block = std::make_unique<TBodyBlock>(document, document, body);
    TCellBasic& cell = block->Content();
    document.AddSection(std::move(block));
    auto section = std::make_unique<TPreFormated>(document, MakeStyle(document, document.FontSize, 0, true, defaults));
    std::u16string line;
    std::vector<int> sources;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        line.push_back(c == '\n' || c == '\r' ? BreakChar : c == '\t' ? u' ' : char16_t(c));
        sources.push_back(int(i));
    }
    section->AddText(line, sources);
    cell.AddSection(std::move(section));
}
