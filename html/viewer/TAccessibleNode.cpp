#include "html/viewer/TAccessibleNode.h"

#include <QTimer>
#include <QWidget>

#include "html/layout/TCellObj.h"
#include "html/layout/TFloatingObj.h"
#include "html/layout/TFontObj.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/TAccessibleDocument.h"
#include "html/viewer/TAccessibleMap.h"
#include "html/viewer/THTMLViewer.h"

namespace {

// Names of items are their text on one line, as a reader speaks it.
constexpr int LongestName = 400;

QString NameFromText(const QString& text)
{
    QString name = text;
    name.replace(QChar(0xFFFC), QChar(u' '));
    return name.simplified().left(LongestName);
}

} // namespace

TAccessibleNode::TAccessibleNode(THTMLViewer& viewer, int generation, int item)
    : FViewer(&viewer), FGeneration(generation), FItem(item)
{
}

TAccessibleDocument* TAccessibleNode::TextDocument() const
{
    if (!FViewer)
        return nullptr;
    auto* document = dynamic_cast<TAccessibleDocument*>(QAccessible::queryAccessibleInterface(FViewer));
    return document && document->IsCurrent(FGeneration) ? document : nullptr;
}

const TAccessibleItem* TAccessibleNode::Item() const
{
    TAccessibleDocument* document = TextDocument();
    const TAccessibleMap* map = document ? document->Map() : nullptr;
    // Map() may have made a new map: the generation says whether ours is it.
    if (!map || !document->IsCurrent(FGeneration) || FItem >= int(map->Items().size()))
        return nullptr;
    return &map->Items()[size_t(FItem)];
}

bool TAccessibleNode::isValid() const { return Item() != nullptr; }

QWindow* TAccessibleNode::window() const
{
    TAccessibleDocument* document = TextDocument();
    return document ? document->window() : nullptr;
}

std::pair<int, int> TAccessibleNode::TextRange() const
{
    const TAccessibleItem* item = Item();
    return item ? std::pair{item->textStart, item->textEnd} : std::pair{0, 0};
}

QAccessibleInterface* TAccessibleNode::parent() const
{
    const TAccessibleItem* item = Item();
    if (!item)
        return nullptr;
    TAccessibleDocument* document = TextDocument();
    return item->parent < 0 ? document : document->ItemInterface(item->parent);
}

int TAccessibleNode::childCount() const
{
    const TAccessibleItem* item = Item();
    return item ? int(item->children.size()) : 0;
}

QAccessibleInterface* TAccessibleNode::child(int index) const
{
    const TAccessibleItem* item = Item();
    if (!item || index < 0 || index >= int(item->children.size()))
        return nullptr;
    return TextDocument()->ItemInterface(item->children[size_t(index)]);
}

int TAccessibleNode::indexOfChild(const QAccessibleInterface* child) const
{
    const TAccessibleItem* item = Item();
    if (!item || !child)
        return -1;
    for (int i = 0; i < int(item->children.size()); ++i)
        if (TextDocument()->ItemInterface(item->children[size_t(i)]) == child)
            return i;
    return -1;
}

QAccessibleInterface* TAccessibleNode::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i)
        if (QAccessibleInterface* c = child(i); c && c->rect().contains(x, y))
            return c;
    return nullptr;
}

QString TAccessibleNode::text(QAccessible::Text t) const
{
    const TAccessibleItem* item = Item();
    if (!item)
        return {};
    TAccessibleDocument* document = TextDocument();
    switch (t) {
    case QAccessible::Name:
        if (item->kind == TAccessibleKind::Picture)
            return QString::fromStdString(item->picture->Alt.empty() ? item->picture->Title : item->picture->Alt);
        if (item->kind == TAccessibleKind::Table)
            return {};
        return NameFromText(text(0, characterCount()));
    case QAccessible::Description:
    case QAccessible::Value:
        if (item->kind == TAccessibleKind::Link)
            return QString::fromStdString(document->Viewer().ExpandLinkName(item->link->Link().url));
        if (item->kind == TAccessibleKind::Picture && t == QAccessible::Description)
            return QString::fromStdString(item->picture->Title);
        return {};
    default: return {};
    }
}

QRect TAccessibleNode::DocumentRect() const
{
    const TAccessibleItem* item = Item();
    if (!item)
        return {};
    switch (item->kind) {
    case TAccessibleKind::Picture:
        return QRect(item->picture->DrawX, item->picture->DrawYY, item->picture->ObjWidth, item->picture->ObjHeight);
    case TAccessibleKind::Cell: return QRect(item->cell->X, item->cell->Y, item->cell->Wd, item->cell->Ht);
    case TAccessibleKind::Heading:
    case TAccessibleKind::ListItem:
        return QRect(item->blockLeft, item->blockTop, item->blockWidth, item->blockHeight);
    default: break;
    }
    // Links and tables: the boxes of the characters and children they cover.
    const TAccessibleMap* map = TextDocument()->Map();
    TSectionList& doc = TextDocument()->Viewer().SectionList();
    QRect bounds;
    TAccessibleCharBox box;
    if (item->textEnd > item->textStart) {
        if (map->CharBox(doc, item->textStart, box))
            bounds |= QRect(box.x, box.y, box.width, box.height);
        if (map->CharBox(doc, item->textEnd - 1, box))
            bounds |= QRect(box.x, box.y, box.width, box.height);
    }
    for (int childItem : item->children)
        if (map->Items()[size_t(childItem)].kind == TAccessibleKind::Cell) {
            const TCellObj* cell = map->Items()[size_t(childItem)].cell;
            bounds |= QRect(cell->X, cell->Y, cell->Wd, cell->Ht);
        }
    return bounds;
}

QRect TAccessibleNode::rect() const
{
    TAccessibleDocument* document = TextDocument();
    return document ? document->ScreenRect(DocumentRect()) : QRect();
}

QAccessible::Role TAccessibleNode::role() const
{
    const TAccessibleItem* item = Item();
    if (!item)
        return QAccessible::NoRole;
    switch (item->kind) {
    case TAccessibleKind::Link: return QAccessible::Link;
    case TAccessibleKind::Heading: return QAccessible::Heading;
    case TAccessibleKind::ListItem: return QAccessible::ListItem;
    case TAccessibleKind::Table: return QAccessible::Table;
    case TAccessibleKind::Cell: return QAccessible::Cell;
    case TAccessibleKind::Picture: return QAccessible::Graphic;
    case TAccessibleKind::Control: break;
    }
    return QAccessible::NoRole;
}

QAccessible::State TAccessibleNode::state() const
{
    QAccessible::State state;
    const TAccessibleItem* item = Item();
    if (!item) {
        state.invalid = true;
        return state;
    }
    state.readOnly = true;
    if (item->kind == TAccessibleKind::Link) {
        state.linked = true;
        state.focusable = true;
        state.traversed = item->link->Visited();
        state.focused = item->link->Focused;
    }
    if (TAccessibleDocument* document = TextDocument()) {
        QRect shown = document->rect();
        QRect own = rect();
        state.offscreen = !own.isEmpty() && !shown.intersects(own);
    }
    return state;
}

void* TAccessibleNode::interface_cast(QAccessible::InterfaceType type)
{
    const TAccessibleItem* item = Item();
    if (!item)
        return nullptr;
    switch (type) {
    case QAccessible::TextInterface:
        return item->kind == TAccessibleKind::Picture ? nullptr : static_cast<QAccessibleTextInterface*>(this);
    case QAccessible::ActionInterface:
        return item->kind == TAccessibleKind::Link ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    case QAccessible::TableInterface:
        return item->kind == TAccessibleKind::Table ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
    case QAccessible::TableCellInterface:
        return item->kind == TAccessibleKind::Cell ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    case QAccessible::ValueInterface:
        return item->kind == TAccessibleKind::Heading ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
    default: return nullptr;
    }
}

QStringList TAccessibleNode::actionNames() const
{
    const TAccessibleItem* item = Item();
    if (!item || item->kind != TAccessibleKind::Link)
        return {};
    return {pressAction()};
}

void TAccessibleNode::doAction(const QString& actionName)
{
    const TAccessibleItem* item = Item();
    if (!item || item->kind != TAccessibleKind::Link || actionName != pressAction())
        return;
    // Following the link replaces the document this node belongs to: do it
    // once the question that asked for it has been answered.
    auto* viewer = static_cast<THTMLViewer*>(FViewer.data());
    TLinkInfo link = item->link->Link();
    QTimer::singleShot(0, viewer, [viewer, link] { viewer->ActivateLink(link); });
}

QStringList TAccessibleNode::keyBindingsForAction(const QString& actionName) const
{
    return actionName == pressAction() ? QStringList{QStringLiteral("Return")} : QStringList{};
}

QAccessibleInterface* TAccessibleNode::cellAt(int row, int column) const
{
    const TAccessibleItem* item = Item();
    if (!item || item->kind != TAccessibleKind::Table)
        return nullptr;
    int cell = TextDocument()->Map()->CellAt(FItem, row, column);
    return cell < 0 ? nullptr : TextDocument()->ItemInterface(cell);
}

int TAccessibleNode::rowCount() const
{
    const TAccessibleItem* item = Item();
    return item && item->kind == TAccessibleKind::Table ? item->row : 0;
}

int TAccessibleNode::columnCount() const
{
    const TAccessibleItem* item = Item();
    return item && item->kind == TAccessibleKind::Table ? item->column : 0;
}

int TAccessibleNode::rowIndex() const
{
    const TAccessibleItem* item = Item();
    return item ? item->row : -1;
}

int TAccessibleNode::columnIndex() const
{
    const TAccessibleItem* item = Item();
    return item ? item->column : -1;
}

int TAccessibleNode::rowExtent() const
{
    const TAccessibleItem* item = Item();
    return item ? item->rowSpan : 1;
}

int TAccessibleNode::columnExtent() const
{
    const TAccessibleItem* item = Item();
    return item ? item->columnSpan : 1;
}

QVariant TAccessibleNode::currentValue() const
{
    const TAccessibleItem* item = Item();
    return item && item->kind == TAccessibleKind::Heading ? QVariant(item->level) : QVariant();
}

QString TAccessibleNode::RangeAttributes() const
{
    const TAccessibleItem* item = Item();
    if (item && item->kind == TAccessibleKind::Heading)
        return QStringLiteral("level:%1;").arg(item->level);
    return {};
}
