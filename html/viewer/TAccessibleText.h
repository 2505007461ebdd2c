#pragma once
// TAccessibleText: the text interface over a stretch of a document's
// accessible text (the whole document, or the part one link, heading or
// cell covers). Offsets are local to the stretch; the caret and the
// selection are the document's own, shown where they fall inside it.
#include <QAccessibleTextInterface>
#include <utility>

class TAccessibleDocument;
class TAccessibleMap;

class TAccessibleText : public QAccessibleTextInterface {
public:
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

protected:
    // The document the stretch belongs to (null once it is gone).
    virtual TAccessibleDocument* TextDocument() const = 0;
    // The stretch: [first, second) in the document's accessible text.
    virtual std::pair<int, int> TextRange() const = 0;
    // "name:value;" pairs that hold for the whole stretch.
    virtual QString RangeAttributes() const { return {}; }

private:
    const TAccessibleMap* Map() const;
    // The unit (character, word, sentence, line, paragraph) holding a
    // local offset, as local offsets; false when there is none.
    bool UnitAt(int offset, QAccessible::TextBoundaryType type, int& start, int& end) const;
};
