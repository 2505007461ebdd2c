#pragma once
// TAccessibleNode: one item of a document's accessible map — a link (its
// text, its location and a press action), a heading (its level), a list
// item, a table and its cells (their row and column), or a picture (its
// ALT text). Each covers a stretch of the document's text and offers it.
//
// A node answers for the map it was made from; once the document is laid
// out again or replaced it is no longer valid (the document drops it).
#include <QAccessibleInterface>
#include <QPointer>

#include "html/viewer/TAccessibleText.h"

class TAccessibleDocument;
struct TAccessibleItem;
class THTMLViewer;

class TAccessibleNode : public QAccessibleInterface,
                        public TAccessibleText,
                        public QAccessibleActionInterface,
                        public QAccessibleTableInterface,
                        public QAccessibleTableCellInterface,
                        public QAccessibleValueInterface {
public:
    TAccessibleNode(THTMLViewer& viewer, int generation, int item);

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    using TAccessibleText::text;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleActionInterface (links)
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    // QAccessibleTableInterface (tables)
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // QAccessibleTableCellInterface (cells)
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override;
    int rowExtent() const override;
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleValueInterface (headings: their level, for bridges that
    // pass no object attributes)
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 6; }
    QVariant minimumValue() const override { return 1; }
    QVariant minimumStepSize() const override { return 1; }

protected:
    TAccessibleDocument* TextDocument() const override;
    std::pair<int, int> TextRange() const override;
    QString RangeAttributes() const override;

private:
    const TAccessibleItem* Item() const;
    QRect DocumentRect() const;

    QPointer<QWidget> FViewer;
    int FGeneration;
    int FItem;
};
