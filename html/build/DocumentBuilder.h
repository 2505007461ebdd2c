#pragma once
// The document builder: reads one HTML or text document with the reader and
// fills a TSectionList with blocks, text sections and tables, applying the
// style sheets; it also gathers the title, base URL and base target and
// reports META, LINK, BGSOUND, SCRIPT and include directives to the viewer.
//
// Use (the viewer):
//     TStyleList styles;
//     THtmlParseSettings settings;            // fonts, colours, margins
//     THtmlParseEvents events;                // any of them may be empty
//     THtmlParseResult r = HtmlParseString(text, document, styles, settings, events);
//     document.LayOut(canvas, 0, width, height, maxWidth);
// The result keeps the anchor targets registered in the document; keep it as
// long as the document. Not re-entrant: no parse from inside an event.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html/parse/HtmlReader.h"
#include "html/style/TStyleList.h"

class TSectionList;

// BGSOUND: source, LOOP (1 when absent), Terminate.
using TSoundType = std::function<void(const std::string& Src, int Loop, bool Terminate)>;
// META: HTTP-EQUIV, NAME and CONTENT, each empty when absent.
using TMetaType = std::function<void(const std::string& HttpEq, const std::string& Name, const std::string& Content)>;
// LINK: REL, REV and HREF.
using TLinkType = std::function<void(const std::string& Rel, const std::string& Rev, const std::string& Href)>;
// A style sheet asked for by LINK: the handler sets Stream to its text, or
// leaves it empty when it has none.
using TGetStreamEvent = std::function<void(const std::string& Src, std::unique_ptr<std::string>& Stream)>;

struct THtmlParseEvents {
    TIncludeType OnInclude;
    TSoundType OnSound;
    TMetaType OnMeta;
    TLinkType OnLink;
    TScriptEvent OnScript;
    TGetStreamEvent OnGetStream;
    // Raised as the reader moves through the document (every 4096 bytes).
    TProgressEvent OnProgress;
    // The viewer's name expansion for stream requests (may be empty).
    std::function<std::string(const std::string& name)> ExpandName;
    // The viewer's file name of a link target (relative names against the
    // document's folder); empty: the name as given.
    std::function<std::string(const std::string& name)> HtmlToFileName;
    // The document is shown by the frame-set viewer (META character sets are
    // then left alone).
    bool FrameSetViewer = false;
};

struct THtmlParseSettings {
    TStyleDefaults defaults;   // fonts, colours, default margins
    int marginWidth = 10;      // BODY margins when the document gives none
    int marginHeight = 5;
};

struct THtmlParseResult {
    std::string title;
    std::string base;
    std::string baseTarget;
    std::vector<std::string> mapNames;  // image maps the document defines
};

// Builds an HTML document into document (which should be empty).
THtmlParseResult HtmlParseString(std::string_view text, TSectionList& document, TStyleList& styles,
                                 const THtmlParseSettings& settings, const THtmlParseEvents& events = {});
// Builds a plain text document: one preformatted section per line.
void HtmlParseTextString(std::string_view text, TSectionList& document, TStyleList& styles,
                         const THtmlParseSettings& settings);

// What the frame-set head scan reports to the frame-set viewer.
struct TFrameSetHost {
    std::function<void(const TAttributeList& attributes)> beginFrameSet;
    std::function<void(const TAttributeList& attributes)> addFrame;
    std::function<void()> endFrameSet;
    TSoundType OnSound;
    TMetaType OnMeta;
    TScriptEvent OnScript;
};
struct TFrameSetHead {
    std::string title;
    std::string base;
    std::string baseTarget;
};
// Reads the head and the FRAMESET structure of a frame-set document.
TFrameSetHead FrameParseString(std::string_view text, const TFrameSetHost& host);
// True when a FRAMESET start tag comes before any body-start tag.
bool IsFrameSetString(std::string_view text);
