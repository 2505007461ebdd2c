#pragma once
#include "html/viewer/TDocumentReader.h"

class TCanvas;

// The viewers' reader: the document builder with its style sheets, and its
// frame-set head scan.
class TBuilderReader : public TDocumentReader {
public:
    void ParseHtml(const std::string& text, TSectionList& document, const TReaderEvents& events,
                   TReaderResult& result) override;
    void ParseText(const std::string& text, TSectionList& document, const TDocumentDefaults& defaults,
                   TReaderResult& result) override;
    bool IsFrameSet(const std::string& text) override;
    void ParseFrameSet(const std::string& text, TFrameSetEvents& events, TReaderResult& result) override;
};

// The canvas fonts are resolved with while documents are built.
void SetReaderScreen(TCanvas* canvas);
