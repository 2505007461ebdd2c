#pragma once
// TCaretBrowser: reading a document with a text caret (F7 turns it on and
// off). The arrows, Home and End move the caret through the laid-out text,
// Ctrl+Home and Ctrl+End to the document's ends, and with Shift they select
// from where the selection began, so text is chosen and copied without a
// mouse.
//
// It moves through the document's accessible text (TAccessibleMap), made
// when the caret first moves after a layout and only while the caret is on.
#include <memory>

class QKeyEvent;
class TAccessibleMap;
class THTMLViewer;

class TCaretBrowser {
public:
    explicit TCaretBrowser(THTMLViewer& viewer);
    ~TCaretBrowser();

    bool On() const { return FOn; }
    void SetOn(bool on);
    // Handles F7 and, while on, the caret keys; false for other keys.
    bool HandleKey(const QKeyEvent& event);
    // The document was replaced: the caret starts at its beginning.
    void DocumentChanged();

private:
    const TAccessibleMap& Map();
    // Text offsets of the caret's neighbours.
    int LineEdge(int offset, int direction);
    int NextLine(int offset, int direction);
    void MoveTo(int offset, bool extend);

    THTMLViewer& FViewer;
    bool FOn = false;
    int FAnchor = -1; // document position where Shift selection began
    std::unique_ptr<TAccessibleMap> FMap;
    int FMapVersion = -1;
    // Where the caret was last put, as a text offset: the end of a paragraph
    // and the start of the next are one document position, two offsets.
    int FOffset = -1;
    int FOffsetPosition = -1;
};
