#pragma once
// TAccessibleDocument: a viewer as assistive technologies see it — a
// document whose text is the shown document's text in reading order, with
// the caret and selection, and whose children are its links, headings, list
// items, tables, pictures and form controls.
//
// Qt makes it only when something asks for the viewer's accessible
// interface (an assistive technology, or a test); the map of the document
// is made at the first question after a layout and dropped with the next.
#include <QAccessibleWidget>
#include <map>
#include <memory>

#include "html/viewer/TAccessibleText.h"

class TAccessibleMap;
class THTMLViewer;

class TAccessibleDocument : public QAccessibleWidget, public TAccessibleText {
public:
    explicit TAccessibleDocument(THTMLViewer& viewer);
    ~TAccessibleDocument() override;

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    using TAccessibleText::text;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    THTMLViewer& Viewer() const;
    // The map of the document as laid out now; null while it is being read.
    const TAccessibleMap* Map() const;
    // Whether the map a node was made from is still the current one.
    bool IsCurrent(int generation) const { return generation == FGeneration && FMap; }
    int Generation() const { return FGeneration; }
    // The interface of an item of the map (the real widget's for controls).
    QAccessibleInterface* ItemInterface(int item) const;
    int IndexAmongSiblings(int item) const;
    // Document pixels to the screen, and a screen point to a document position.
    QRect ScreenRect(const QRect& documentRect) const;
    int PositionAtScreen(const QPoint& point) const;
    void ShowDocumentY(int y);
    void Select(int selStart, int selEnd, int caret);

protected:
    TAccessibleDocument* TextDocument() const override { return const_cast<TAccessibleDocument*>(this); }
    std::pair<int, int> TextRange() const override;

private:
    void DropItems() const;
    QWidget* Surface() const;

    mutable std::unique_ptr<TAccessibleMap> FMap;
    mutable int FLayoutVersion = -1;
    mutable int FGeneration = 0;
    // Interfaces made for items so far (Qt owns them once registered).
    mutable std::map<int, unsigned> FItemIds;
};
