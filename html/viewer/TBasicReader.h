#pragma once
#include "html/viewer/TDocumentReader.h"

// The reader used while no document builder is installed: text runs in
// paragraphs and headings, bold and italic, links and named anchors, the head
// elements. Tables, lists, styles, images and forms are read as plain flow.
class TBasicReader : public TDocumentReader {
public:
    void ParseHtml(const std::string& text, TSectionList& document, const TReaderEvents& events,
                   TReaderResult& result) override;
    void ParseText(const std::string& text, TSectionList& document, const TDocumentDefaults& defaults,
                           TReaderResult& result) override;
    bool IsFrameSet(const std::string& text) override { return ScanIsFrameSet(text); }
    void ParseFrameSet(const std::string& text, TFrameSetEvents& events, TReaderResult& result) override
    {
        ScanFrameSet(text, events, result);
    }
};
