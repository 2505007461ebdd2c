#pragma once
// What the viewers ask of the HTML reader: fill a document from HTML or plain
// text, and examine and scan frame-set documents. The document builder
// reader (TBuilderReader) is installed by default; tests may install another
// with SetDocumentReader.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TSectionList;
class TAttributeList;

// The viewer's defaults for what the document does not set itself (the
// document's own font name, size and link colours are in TSectionList).
struct TDocumentDefaults {
    std::string preFontName = "Courier New";
    int marginWidth = 10;
    int marginHeight = 5;
    int charSet = 1;
    unsigned fontColor = 0;
    bool linkUnderline = true;
    // The space the document is laid out in, for @media width queries.
    int viewportWidth = 800;
    int viewportHeight = 600;
    // Read for the printed page (@media print) rather than the screen.
    bool print = false;
};

// Events the reader raises while it reads a document; each is optional.
struct TReaderEvents {
    TDocumentDefaults defaults;
    std::function<void(const std::string& httpEquiv, const std::string& name, const std::string& content)> onMeta;
    std::function<void(const std::string& source, int loop)> onSound;
    std::function<void(const std::string& name, const std::string& language, const std::string& script)> onScript;
    std::function<void(const std::string& rel, const std::string& rev, const std::string& href)> onLink;
    // The file name of a name the document refers to (style sheets).
    std::function<std::string(const std::string& name)> fileName;
    // Raised again and again while a long document is read: the bytes of
    // the text built so far and in all.
    std::function<void(std::int64_t done, std::int64_t total)> onProgress;
};

// What the reader found in the head.
struct TReaderResult {
    std::string title;
    std::string base;
    std::string baseTarget;
    // What the reader made that must live as long as the document (anchor
    // targets, the style list).
    std::shared_ptr<void> keepAlive;
    // Whether the document's style sheets give other rules at another width
    // (it must then be built again); null when no rule reads the width.
    std::function<bool(int width)> mediaChangesAt;
    // Whether the sheets give other rules on the printed page (media types
    // or widths): printing must then read the document again.
    bool printChangesRules = false;
};

// The frame-set head scan reports the structure through these.
struct TFrameSetEvents {
    TReaderEvents reader;
    std::function<void(const TAttributeList& attributes)> onFrameSet; // a FRAMESET start (nested ones too)
    std::function<void(const TAttributeList& attributes)> onFrame;
    std::function<void()> onFrameSetEnd;
};

class TDocumentReader {
public:
    virtual ~TDocumentReader() = default;
    // Whether an HTML document is being read now. The reader keeps its state
    // at module level, and a long read lets events through (onProgress):
    // nothing those events start may read another document meanwhile.
    bool Reading() const { return FReading; }
    // Parses the HTML text into the (cleared) document.
    virtual void ParseHtml(const std::string& text, TSectionList& document, const TReaderEvents& events,
                           TReaderResult& result) = 0;
    // Shows the text as it is, in the fixed-pitch font.
    virtual void ParseText(const std::string& text, TSectionList& document, const TDocumentDefaults& defaults,
                           TReaderResult& result) = 0;
    // True when a FRAMESET start tag comes before anything of a body.
    virtual bool IsFrameSet(const std::string& text) = 0;
    // Reports the head (title, base, meta) and the FRAMESET structure.
    virtual void ParseFrameSet(const std::string& text, TFrameSetEvents& events, TReaderResult& result) = 0;

protected:
    bool FReading = false;
};

TDocumentReader& DocumentReader();
void SetDocumentReader(std::unique_ptr<TDocumentReader> reader);
