#include "html/viewer/TAccessibleText.h"

#include <QTextBoundaryFinder>
#include <algorithm>

#include "html/layout/TSectionList.h"
#include "html/viewer/TAccessibleDocument.h"
#include "html/viewer/TAccessibleMap.h"
#include "html/viewer/THTMLViewer.h"

namespace {

QString ToQString(const std::u16string& text) { return QString::fromStdU16String(text); }

constexpr int BoundaryWindow = 4096;

// Word and sentence ends inside one paragraph: [start, end) of the unit at
// index (the paragraph's own offsets); a unit runs up to the next boundary.
bool BoundaryUnit(QTextBoundaryFinder::BoundaryType type, const QString& paragraph, int index, int& start, int& end)
{
    QTextBoundaryFinder finder(type, paragraph);
    finder.setPosition(std::clamp(index, 0, int(paragraph.size())));
    int after = finder.isAtBoundary() && index < paragraph.size() ? finder.toNextBoundary() : -1;
    if (after < 0) {
        finder.setPosition(std::clamp(index, 0, int(paragraph.size())));
        after = finder.toNextBoundary();
    }
    finder.setPosition(std::clamp(index, 0, int(paragraph.size())));
    int before = finder.isAtBoundary() ? index : finder.toPreviousBoundary();
    if (before < 0 || after < 0)
        return false;
    start = before;
    end = after;
    return true;
}

} // namespace

const TAccessibleMap* TAccessibleText::Map() const
{
    TAccessibleDocument* document = TextDocument();
    return document ? document->Map() : nullptr;
}

int TAccessibleText::characterCount() const
{
    auto [first, last] = TextRange();
    return std::max(0, last - first);
}

QString TAccessibleText::text(int startOffset, int endOffset) const
{
    const TAccessibleMap* map = Map();
    if (!map)
        return {};
    auto [first, last] = TextRange();
    int start = std::clamp(first + startOffset, first, last);
    int end = endOffset < 0 ? last : std::clamp(first + endOffset, start, last);
    return ToQString(map->Text(start, end));
}

bool TAccessibleText::UnitAt(int offset, QAccessible::TextBoundaryType type, int& start, int& end) const
{
    const TAccessibleMap* map = Map();
    auto [first, last] = TextRange();
    if (!map || first >= last)
        return false;
    int at = std::clamp(first + offset, first, last - 1);
    int unitStart = at, unitEnd = at + 1;
    switch (type) {
    case QAccessible::CharBoundary: break;
    case QAccessible::LineBoundary:
        if (!map->LineAt(at, unitStart, unitEnd))
            map->ParagraphAt(at, unitStart, unitEnd);
        break;
    case QAccessible::ParagraphBoundary: map->ParagraphAt(at, unitStart, unitEnd); break;
    case QAccessible::NoBoundary:
        unitStart = first;
        unitEnd = last;
        break;
    case QAccessible::WordBoundary:
    case QAccessible::SentenceBoundary: {
        int paragraphStart = 0, paragraphEnd = 0;
        map->ParagraphAt(at, paragraphStart, paragraphEnd);
        // Words and sentences are looked for near the offset: a paragraph
        // may hold megabytes.
        paragraphStart = std::max(paragraphStart, at - BoundaryWindow);
        paragraphEnd = std::min(paragraphEnd, at + BoundaryWindow);
        QString paragraph = ToQString(map->Text(paragraphStart, paragraphEnd));
        auto finderType =
            type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word : QTextBoundaryFinder::Sentence;
        int localStart = 0, localEnd = 0;
        if (BoundaryUnit(finderType, paragraph, at - paragraphStart, localStart, localEnd)) {
            unitStart = paragraphStart + localStart;
            unitEnd = paragraphStart + localEnd;
        }
        break;
    }
    }
    start = std::max(unitStart, first) - first;
    end = std::min(unitEnd, last) - first;
    return start < end;
}

QString TAccessibleText::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                      int* endOffset) const
{
    int start = 0, end = 0;
    if (offset == -2)
        offset = cursorPosition();
    if (offset < 0 || offset >= characterCount() || !UnitAt(offset, boundaryType, start, end)) {
        *startOffset = *endOffset = std::max(0, std::min(offset, characterCount()));
        return {};
    }
    *startOffset = start;
    *endOffset = end;
    return text(start, end);
}

QString TAccessibleText::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                          int* endOffset) const
{
    int start = 0, end = 0;
    if (offset == -2)
        offset = cursorPosition();
    int at = std::min(offset, characterCount());
    if (at > 0 && UnitAt(at - 1, boundaryType, start, end) && end > at)
        at = start; // offset lies inside that unit: take the one before it
    if (at <= 0 || !UnitAt(at - 1, boundaryType, start, end)) {
        *startOffset = *endOffset = 0;
        return {};
    }
    *startOffset = start;
    *endOffset = end;
    return text(start, end);
}

QString TAccessibleText::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                         int* endOffset) const
{
    int start = 0, end = 0;
    if (offset == -2)
        offset = cursorPosition();
    int count = characterCount();
    if (offset < 0 || offset >= count || !UnitAt(offset, boundaryType, start, end) || end >= count ||
        !UnitAt(end, boundaryType, start, end)) {
        *startOffset = *endOffset = count;
        return {};
    }
    *startOffset = start;
    *endOffset = end;
    return text(start, end);
}

int TAccessibleText::selectionCount() const
{
    int start = 0, end = 0;
    selection(0, &start, &end);
    return start < end ? 1 : 0;
}

void TAccessibleText::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    TAccessibleDocument* document = TextDocument();
    const TAccessibleMap* map = Map();
    if (selectionIndex != 0 || !map)
        return;
    TSectionList& doc = document->Viewer().SectionList();
    if (doc.SelE <= doc.SelB)
        return;
    auto [first, last] = TextRange();
    int start = std::clamp(map->TextOffset(doc.SelB), first, last);
    int end = std::clamp(map->TextOffset(doc.SelE), first, last);
    if (start < end) {
        *startOffset = start - first;
        *endOffset = end - first;
    }
}

void TAccessibleText::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    TAccessibleDocument* document = TextDocument();
    const TAccessibleMap* map = Map();
    if (selectionIndex != 0 || !map)
        return;
    auto [first, last] = TextRange();
    int start = std::clamp(first + std::min(startOffset, endOffset), first, last);
    int end = std::clamp(first + std::max(startOffset, endOffset), first, last);
    document->Select(map->DocPosition(start), map->DocPosition(end), map->DocPosition(end));
}

void TAccessibleText::addSelection(int startOffset, int endOffset)
{
    // The document has one selection: a new one replaces it.
    setSelection(0, startOffset, endOffset);
}

void TAccessibleText::removeSelection(int selectionIndex)
{
    TAccessibleDocument* document = TextDocument();
    if (selectionIndex != 0 || !document)
        return;
    int caret = document->Viewer().SectionList().CaretPos;
    document->Select(caret, caret, caret);
}

int TAccessibleText::cursorPosition() const
{
    TAccessibleDocument* document = TextDocument();
    const TAccessibleMap* map = Map();
    if (!map)
        return 0;
    int caret = document->Viewer().SectionList().CaretPos;
    auto [first, last] = TextRange();
    return std::clamp(map->TextOffset(std::max(caret, 0)), first, last) - first;
}

void TAccessibleText::setCursorPosition(int position)
{
    TAccessibleDocument* document = TextDocument();
    const TAccessibleMap* map = Map();
    if (!map)
        return;
    auto [first, last] = TextRange();
    int docPosition = map->DocPosition(std::clamp(first + position, first, last));
    document->Select(docPosition, docPosition, docPosition);
}

QRect TAccessibleText::characterRect(int offset) const
{
    TAccessibleDocument* document = TextDocument();
    const TAccessibleMap* map = Map();
    auto [first, last] = TextRange();
    TAccessibleCharBox box;
    if (!map || offset < 0 || first + offset >= last ||
        !map->CharBox(document->Viewer().SectionList(), first + offset, box))
        return {};
    return document->ScreenRect(QRect(box.x, box.y, box.width, box.height));
}

int TAccessibleText::offsetAtPoint(const QPoint& point) const
{
    TAccessibleDocument* document = TextDocument();
    const TAccessibleMap* map = Map();
    if (!map)
        return -1;
    int position = document->PositionAtScreen(point);
    if (position < 0)
        return -1;
    auto [first, last] = TextRange();
    int offset = map->TextOffset(position);
    return offset >= first && offset < last ? offset - first : -1;
}

void TAccessibleText::scrollToSubstring(int startIndex, int /*endIndex*/)
{
    TAccessibleDocument* document = TextDocument();
    const TAccessibleMap* map = Map();
    auto [first, last] = TextRange();
    TAccessibleCharBox box;
    if (map && map->CharBox(document->Viewer().SectionList(), std::clamp(first + startIndex, first, last), box))
        document->ShowDocumentY(box.y);
}

QString TAccessibleText::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    if (offset < 0 || offset > characterCount())
        *startOffset = *endOffset = -1;
    return RangeAttributes();
}
