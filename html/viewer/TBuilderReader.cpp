#include "html/viewer/TBuilderReader.h"

#include "html/layout/TSectionList.h"
#include "html/build/DocumentBuilder.h"
#include "html/style/StyleValues.h"

namespace {

std::unique_ptr<TDocumentReader>& ReaderSlot()
{
    static std::unique_ptr<TDocumentReader> reader = std::make_unique<TBuilderReader>();
    return reader;
}

THtmlParseSettings SettingsFor(const TSectionList& document, const TDocumentDefaults& d)
{
    THtmlParseSettings settings;
    TStyleDefaults& s = settings.defaults;
    s.fontName = document.FontName;
    s.preFontName = d.preFontName;
    s.marginWidth = d.marginWidth;
    s.marginHeight = d.marginHeight;
    s.charset = d.charSet;
    s.underlineLinks = d.linkUnderline;
    s.hoverColor = document.HoverColor;
    s.visitedColor = document.VisitedColor;
    s.linkColor = document.LinkColor;
    s.textColor = d.fontColor;
    s.defaultFontSize = document.FontSize;
    s.zoom = document.Zoom;
    s.viewportWidth = d.viewportWidth;
    s.viewportHeight = d.viewportHeight;
    s.print = d.print;
    settings.marginWidth = d.marginWidth;
    settings.marginHeight = d.marginHeight;
    return settings;
}

// What a built document keeps: its style list and anchor targets.
struct TBuiltDocument {
    TStyleList styles;
    THtmlParseResult result;
};

} // namespace

TDocumentReader& DocumentReader() { return *ReaderSlot(); }

void SetDocumentReader(std::unique_ptr<TDocumentReader> reader)
{
    if (reader)
        ReaderSlot() = std::move(reader);
}

void SetReaderScreen(TCanvas* canvas) { SetStyleScreen(canvas); }

void TBuilderReader::ParseHtml(const std::string& text, TSectionList& document, const TReaderEvents& events,
                               TReaderResult& result)
{
    auto built = std::make_shared<TBuiltDocument>();
    THtmlParseEvents e;
    e.OnMeta = events.onMeta;
    if (events.onSound)
        e.OnSound = [f = events.onSound](const std::string& src, int loop, bool) { f(src, loop); };
    e.OnScript = events.onScript;
    e.OnLink = events.onLink;
    e.HtmlToFileName = events.fileName;
    if (events.onProgress)
        e.OnProgress = events.onProgress;
    struct TReadingScope {
        bool& reading;
        explicit TReadingScope(bool& flag) : reading(flag) { reading = true; }
        ~TReadingScope() { reading = false; }
    } scope(FReading);
    built->result = HtmlParseString(text, document, built->styles, SettingsFor(document, events.defaults), e);
    result.title = built->result.title;
    result.base = built->result.base;
    result.baseTarget = built->result.baseTarget;
    if (built->styles.widthDependent()) {
        result.mediaChangesAt = [weak = std::weak_ptr<TBuiltDocument>(built)](int width) {
            auto document = weak.lock();
            return document && document->styles.mediaChangesAt(width);
        };
    }
    result.printChangesRules = built->styles.mediumChangesRules();
    result.keepAlive = built;
}

void TBuilderReader::ParseText(const std::string& text, TSectionList& document, const TDocumentDefaults& defaults,
                               TReaderResult& result)
{
    auto built = std::make_shared<TBuiltDocument>();
    HtmlParseTextString(text, document, built->styles, SettingsFor(document, defaults));
    result.keepAlive = built;
}

bool TBuilderReader::IsFrameSet(const std::string& text) { return IsFrameSetString(text); }

void TBuilderReader::ParseFrameSet(const std::string& text, TFrameSetEvents& events, TReaderResult& result)
{
    TFrameSetHost host;
    host.beginFrameSet = events.onFrameSet;
    host.addFrame = events.onFrame;
    host.endFrameSet = events.onFrameSetEnd;
    host.OnMeta = events.reader.onMeta;
    if (events.reader.onSound)
        host.OnSound = [f = events.reader.onSound](const std::string& src, int loop, bool) { f(src, loop); };
    host.OnScript = events.reader.onScript;
    TFrameSetHead head = FrameParseString(text, host);
    result.title = head.title;
    result.base = head.base;
    result.baseTarget = head.baseTarget;
}
