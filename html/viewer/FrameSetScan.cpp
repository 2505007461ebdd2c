// The frame-set head scan: what comes before the body of a document, and the
// FRAMESET structure when it has one.
#include "html/reader/Readhtml.h"
#include "html/viewer/TDocumentReader.h"
#include "util/Exception.h"

#include <cstdint>

namespace {

std::string Attr(THtmlSymbol which)
{
    const TAttribute* a = ReadState.Attributes ? ReadState.Attributes->Find(which) : nullptr;
    return a ? a->Text : std::string();
}

std::string ToUtf8Text(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80)
            out += char(c);
        else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool IsBlank(const std::u16string& text)
{
    for (char16_t c : text)
        if (c > ' ' && c != 0xA0)
            return false;
    return true;
}

// Reads up to (and past) the end symbol or the end of input.
void SkipTo(THtmlSymbol end)
{
    while (ReadState.Sy != end && ReadState.Sy != EofSym)
        NextSymbol();
}

// Symbols that may stand before the body without starting it.
bool IsHeadSymbol(THtmlSymbol sy)
{
    switch (sy) {
    case HtmlSy: case HtmlEndSy: case HeadSy: case HeadEndSy: case TitleSy: case TitleEndSy:
    case BaseSy: case MetaSy: case LinkSy: case StyleSy: case StyleEndSy: case ScriptSy: case ScriptEndSy:
    case BgSoundSy: case NoFramesSy: case NoFramesEndSy: case FrameSetSy: case FrameSetEndSy: case FrameSy:
    case UnknownTagSym:
        return true;
    default:
        return false;
    }
}

bool IsBodyStart()
{
    if (ReadState.Sy == TextSym)
        return !IsBlank(ReadState.LCToken.S());
    return !IsHeadSymbol(ReadState.Sy);
}

struct TScanner {
    TFrameSetEvents* events = nullptr; // null: the test only
    TReaderResult* result = nullptr;

    void ReadTitle()
    {
        std::u16string title;
        NextSymbol();
        while (ReadState.Sy == TextSym) {
            title += ReadState.LCToken.S();
            NextSymbol();
        }
        if (result)
            result->title = ToUtf8Text(title);
    }

    void HeadElement()
    {
        switch (ReadState.Sy) {
        case TitleSy:
            ReadTitle();
            return; // the symbol after the title is current
        case BaseSy:
            if (result) {
                result->base = Attr(HrefSy);
                result->baseTarget = Attr(TargetSy);
            }
            break;
        case MetaSy:
            if (events && events->reader.onMeta)
                events->reader.onMeta(Attr(HttpEqSy), Attr(NameSy), Attr(ContentSy));
            break;
        case BgSoundSy:
            if (events && events->reader.onSound) {
                const TAttribute* loop = ReadState.Attributes ? ReadState.Attributes->Find(LoopSy) : nullptr;
                events->reader.onSound(Attr(SrcSy), loop ? loop->Value : 1);
            }
            break;
        case NoFramesSy:
            SkipTo(NoFramesEndSy);
            break;
        case StyleSy:
            SkipTo(StyleEndSy);
            break;
        case ScriptSy:
            ReadScript();
            break;
        default:
            break;
        }
        NextSymbol();
    }

    void FrameSet()
    {
        if (events && events->onFrameSet)
            events->onFrameSet(*ReadState.Attributes);
        NextSymbol();
        while (ReadState.Sy != FrameSetEndSy && ReadState.Sy != EofSym) {
            if (ReadState.Sy == FrameSetSy) {
                FrameSet();
                continue;
            }
            if (ReadState.Sy == FrameSy && events && events->onFrame)
                events->onFrame(*ReadState.Attributes);
            else if (ReadState.Sy == NoFramesSy)
                SkipTo(NoFramesEndSy);
            else if (ReadState.Sy == ScriptSy)
                ReadScript();
            NextSymbol();
        }
        if (events && events->onFrameSetEnd)
            events->onFrameSetEnd();
        NextSymbol();
    }

    // Answers true at the first FRAMESET (after reading it when scanning).
    bool Run(bool scanFrameSet)
    {
        NextSymbol();
        while (ReadState.Sy != EofSym && !IsBodyStart()) {
            if (ReadState.Sy == FrameSetSy) {
                if (!scanFrameSet)
                    return true;
                FrameSet();
                return true;
            }
            HeadElement();
        }
        return false;
    }
};

// Installs the text, runs the scan and always releases the reader.
bool RunScan(const std::string& text, TScanner& scanner, bool scanFrameSet)
{
    struct Release {
        TScriptEvent saved = ReadState.OnScript;
        ~Release()
        {
            ReadState.OnScript = saved;
            ReleaseDocument();
        }
    } release;
    ReadState.OnScript = nullptr;
    if (scanner.events && scanner.events->reader.onScript)
        ReadState.OnScript = scanner.events->reader.onScript;
    InstallDocument(text, BomHandling::Ignore);
    ReadState.IDNames = nullptr;
    return scanner.Run(scanFrameSet);
}

} // namespace

bool ScanIsFrameSet(const std::string& text)
{
    try {
        TScanner scanner;
        return RunScan(text, scanner, false);
    } catch (const Exception&) {
        return false;
    }
}

void ScanFrameSet(const std::string& text, TFrameSetEvents& events, TReaderResult& result)
{
    try {
        TScanner scanner{&events, &result};
        RunScan(text, scanner, true);
    } catch (const Exception&) {
        // a document that cannot be read ends the scan quietly
    }
}
