#include "html/viewer/TAccessibleDocument.h"

#include <QFileInfo>
#include <QTimer>
#include <vector>

#include "html/layout/TSectionList.h"
#include "html/viewer/TAccessibleMap.h"
#include "html/viewer/TAccessibleNode.h"
#include "html/viewer/THTMLViewer.h"
#include "html/viewer/TPaintPanel.h"

namespace {

void DeleteInterfaces(const std::vector<QAccessible::Id>& ids)
{
    for (QAccessible::Id id : ids)
        if (QAccessible::accessibleInterface(id))
            QAccessible::deleteAccessibleInterface(id);
}

} // namespace

TAccessibleDocument::TAccessibleDocument(THTMLViewer& viewer) : QAccessibleWidget(&viewer, QAccessible::Document) {}

TAccessibleDocument::~TAccessibleDocument()
{
    std::vector<QAccessible::Id> ids;
    for (auto& [item, id] : FItemIds)
        ids.push_back(id);
    DeleteInterfaces(ids);
}

THTMLViewer& TAccessibleDocument::Viewer() const { return *static_cast<THTMLViewer*>(widget()); }

QWidget* TAccessibleDocument::Surface() const
{
    for (QObject* child : widget()->children())
        if (auto* panel = dynamic_cast<TPaintPanel*>(child))
            return panel;
    return widget();
}

void TAccessibleDocument::DropItems() const
{
    // Nodes may be answering a question right now (one asked for the map):
    // they go once it is answered; until then they say they are invalid.
    std::vector<QAccessible::Id> ids;
    for (auto& [item, id] : FItemIds)
        ids.push_back(id);
    FItemIds.clear();
    if (!ids.empty())
        QTimer::singleShot(0, widget(), [ids] { DeleteInterfaces(ids); });
}

const TAccessibleMap* TAccessibleDocument::Map() const
{
    THTMLViewer& viewer = Viewer();
    if (viewer.Processing()) {
        if (FMap) {
            DropItems();
            FMap.reset();
            ++FGeneration;
        }
        return nullptr;
    }
    if (!FMap || FLayoutVersion != viewer.LayoutVersion()) {
        DropItems();
        FMap = std::make_unique<TAccessibleMap>(viewer.SectionList());
        FLayoutVersion = viewer.LayoutVersion();
        ++FGeneration;
    }
    return FMap.get();
}

std::pair<int, int> TAccessibleDocument::TextRange() const
{
    const TAccessibleMap* map = Map();
    return {0, map ? map->TextLength() : 0};
}

void* TAccessibleDocument::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString TAccessibleDocument::text(QAccessible::Text t) const
{
    THTMLViewer& viewer = Viewer();
    switch (t) {
    case QAccessible::Name:
        if (!viewer.DocumentTitle().empty())
            return QString::fromStdString(viewer.DocumentTitle());
        return QFileInfo(QString::fromStdString(viewer.CurrentFile())).fileName();
    case QAccessible::Description: return QString::fromStdString(viewer.CurrentFile());
    default: return QAccessibleWidget::text(t);
    }
}

QAccessible::State TAccessibleDocument::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    state.busy = Viewer().Processing();
    return state;
}

int TAccessibleDocument::childCount() const
{
    const TAccessibleMap* map = Map();
    return map ? int(map->TopItems().size()) : 0;
}

QAccessibleInterface* TAccessibleDocument::child(int index) const
{
    const TAccessibleMap* map = Map();
    if (!map || index < 0 || index >= int(map->TopItems().size()))
        return nullptr;
    return ItemInterface(map->TopItems()[size_t(index)]);
}

QAccessibleInterface* TAccessibleDocument::ItemInterface(int item) const
{
    const TAccessibleMap* map = Map();
    if (!map || item < 0 || item >= int(map->Items().size()))
        return nullptr;
    const TAccessibleItem& entry = map->Items()[size_t(item)];
    if (entry.kind == TAccessibleKind::Control)
        return QAccessible::queryAccessibleInterface(entry.widget);
    auto found = FItemIds.find(item);
    if (found != FItemIds.end())
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(found->second))
            return known;
    auto* node = new TAccessibleNode(Viewer(), FGeneration, item);
    FItemIds[item] = QAccessible::registerAccessibleInterface(node);
    return node;
}

int TAccessibleDocument::IndexAmongSiblings(int item) const
{
    const TAccessibleMap* map = Map();
    if (!map)
        return -1;
    const std::vector<int>& siblings = map->ChildrenOf(map->Items()[size_t(item)].parent);
    auto it = std::find(siblings.begin(), siblings.end(), item);
    return it == siblings.end() ? -1 : int(it - siblings.begin());
}

int TAccessibleDocument::indexOfChild(const QAccessibleInterface* child) const
{
    const TAccessibleMap* map = Map();
    if (!map || !child)
        return -1;
    if (QWidget* widget = qobject_cast<QWidget*>(child->object())) {
        int item = map->ItemOfWidget(widget);
        return item >= 0 && map->Items()[size_t(item)].parent < 0 ? IndexAmongSiblings(item) : -1;
    }
    for (auto& [item, id] : FItemIds)
        if (QAccessible::accessibleInterface(id) == child)
            return map->Items()[size_t(item)].parent < 0 ? IndexAmongSiblings(item) : -1;
    return -1;
}

QAccessibleInterface* TAccessibleDocument::childAt(int x, int y) const
{
    // Children of large documents are many: only look at those on the screen.
    const TAccessibleMap* map = Map();
    if (!map || !rect().contains(x, y))
        return nullptr;
    for (int item : map->TopItems()) {
        const TAccessibleItem& entry = map->Items()[size_t(item)];
        if (entry.kind == TAccessibleKind::Control) {
            if (entry.widget->isVisible() && entry.widget->rect().contains(entry.widget->mapFromGlobal(QPoint(x, y))))
                return QAccessible::queryAccessibleInterface(entry.widget);
            continue;
        }
        int position = PositionAtScreen(QPoint(x, y));
        int offset = position < 0 ? -1 : map->TextOffset(position);
        if (offset >= entry.textStart && offset < entry.textEnd)
            return ItemInterface(item);
    }
    return nullptr;
}

QRect TAccessibleDocument::ScreenRect(const QRect& documentRect) const
{
    if (documentRect.isNull())
        return {};
    THTMLViewer& viewer = Viewer();
    QPoint origin = Surface()->mapToGlobal(QPoint(-viewer.HScrollBarPosition(), -viewer.VScrollBarPosition()));
    return documentRect.translated(origin);
}

int TAccessibleDocument::PositionAtScreen(const QPoint& point) const
{
    THTMLViewer& viewer = Viewer();
    QPoint local = Surface()->mapFromGlobal(point);
    if (!Surface()->rect().contains(local))
        return -1;
    TCaretHit hit;
    return viewer.SectionList().PositionAt(viewer.MeasuringCanvas(), local.x() + viewer.HScrollBarPosition(),
                                           local.y() + viewer.VScrollBarPosition(), hit);
}

void TAccessibleDocument::ShowDocumentY(int y)
{
    THTMLViewer& viewer = Viewer();
    int top = viewer.VScrollBarPosition();
    if (y < top || y >= top + viewer.SurfaceHeight() - 20)
        viewer.SetVScrollBarPosition(std::max(0, y - viewer.SurfaceHeight() / 3));
}

void TAccessibleDocument::Select(int selStart, int selEnd, int caret)
{
    TSectionList& doc = Viewer().SectionList();
    doc.SelB = std::min(selStart, selEnd);
    doc.SelE = std::max(selStart, selEnd);
    doc.CaretPos = caret;
    if (doc.Host.invalidate)
        doc.Host.invalidate();
}
