#include "html/viewer/ViewerAccessibility.h"

#include <QAccessible>
#include <mutex>

#include "html/viewer/TAccessibleDocument.h"
#include "html/viewer/THTMLViewer.h"

namespace {

QAccessibleInterface* ViewerInterface(const QString& className, QObject* object)
{
    // The viewer has no meta-object of its own: Qt asks first with its base's name.
    if (className != QLatin1String("QWidget"))
        return nullptr;
    auto* viewer = dynamic_cast<THTMLViewer*>(object);
    return viewer ? new TAccessibleDocument(*viewer) : nullptr;
}

} // namespace

void InstallViewerAccessibility(THTMLViewer& viewer)
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(ViewerInterface); });
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* early = QAccessible::queryAccessibleInterface(&viewer);
    if (early && !dynamic_cast<TAccessibleDocument*>(early))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(early));
}

void AnnounceDocumentLoaded(THTMLViewer& viewer)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent nameChanged(&viewer, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
    QAccessibleEvent loaded(&viewer, QAccessible::DocumentLoadComplete);
    QAccessible::updateAccessibility(&loaded);
    QAccessibleEvent reordered(&viewer, QAccessible::DocumentContentChanged);
    QAccessible::updateAccessibility(&reordered);
    AnnounceCaretMoved(viewer);
}

void AnnounceScrolled(THTMLViewer& viewer)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent scrolled(&viewer, QAccessible::ScrollingEnd);
    QAccessible::updateAccessibility(&scrolled);
    QAccessibleEvent shown(&viewer, QAccessible::VisibleDataChanged);
    QAccessible::updateAccessibility(&shown);
}

void AnnounceCaretMoved(THTMLViewer& viewer)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* document = QAccessible::queryAccessibleInterface(&viewer);
    QAccessibleTextInterface* text = document ? document->textInterface() : nullptr;
    if (!text)
        return;
    QAccessibleTextCursorEvent moved(&viewer, text->cursorPosition());
    QAccessible::updateAccessibility(&moved);
    int start = 0, end = 0;
    text->selection(0, &start, &end);
    QAccessibleTextSelectionEvent selected(&viewer, start, end);
    QAccessible::updateAccessibility(&selected);
}
