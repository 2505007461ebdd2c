// The builder's entry for HTML documents: one reading, and a second one
// when the first met rules that read what came after an element before the
// builder had read it.
#include "html/build/DocumentBuilder.h"

#include "html/build/DocumentBuilderInternal.h"
#include "html/layout/TSectionList.h"

namespace {

// Above this size a document is read once: a second reading doubles the time
// a big document takes to open, for rules that mostly set a margin or a
// border on a last item. Such rules are then judged as if more siblings and
// content followed.
constexpr size_t SecondReadingLimit = size_t(4) << 20;

// A second reading raises only the events whose answers build the document;
// the viewer has heard the others in the first.
THtmlParseEvents SecondReadingEvents(const THtmlParseEvents& events)
{
    THtmlParseEvents quiet;
    quiet.OnInclude = events.OnInclude;
    quiet.OnGetStream = events.OnGetStream;
    quiet.OnProgress = events.OnProgress;
    quiet.ExpandName = events.ExpandName;
    quiet.HtmlToFileName = events.HtmlToFileName;
    quiet.FrameSetViewer = events.FrameSetViewer;
    return quiet;
}

} // namespace

THtmlParseResult HtmlParseString(std::string_view text, TSectionList& document, TStyleList& styles,
                                 const THtmlParseSettings& settings, const THtmlParseEvents& events)
{
    Build.laterSiblings.Reset();
    // A document too big for a second reading learns nothing it could use.
    Build.learnLaterSiblings = text.size() <= SecondReadingLimit;
    THtmlParseResult result = ReadHtmlDocument(text, document, styles, settings, events);
    if (Build.laterSiblings.GuessedWrong()) {
        // Styles of elements were made guessing that more siblings or some
        // content would follow, and some guess was wrong: read again,
        // knowing. Elements are told apart by where their tags stand, so the
        // answers hold for the tree the builder makes, whatever the markup.
        Build.laterSiblings.StartSecondReading();
        document.ClearDocument();
        result = ReadHtmlDocument(text, document, styles, settings, SecondReadingEvents(events));
    }
    Build.laterSiblings.Reset();
    Build.learnLaterSiblings = false;
    return result;
}
