#include "html/viewer/FrameCycling.h"

#include <QApplication>
#include <QShortcut>
#include <algorithm>
#include <vector>

#include "html/viewer/THTMLViewer.h"

namespace {

// Frames are made in the order the frame set lists them, and children keep
// that order.
void CollectViews(QWidget& parent, std::vector<THTMLViewer*>& views)
{
    for (QObject* child : parent.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || !widget->isVisible())
            continue;
        if (auto* view = dynamic_cast<THTMLViewer*>(widget)) {
            views.push_back(view);
            continue;
        }
        CollectViews(*widget, views);
    }
}

void MoveFocus(QWidget& root, int direction)
{
    THTMLViewer* next = NextFrameView(root, QApplication::focusWidget(), direction);
    if (next)
        next->setFocus(Qt::TabFocusReason);
}

} // namespace

THTMLViewer* NextFrameView(QWidget& root, const QWidget* current, int direction)
{
    std::vector<THTMLViewer*> views;
    CollectViews(root, views);
    if (views.empty())
        return nullptr;
    // The focus may sit on a control inside a frame: that frame is current.
    auto holds = [current](THTMLViewer* view) { return current && (view == current || view->isAncestorOf(current)); };
    auto at = std::find_if(views.begin(), views.end(), holds);
    int count = int(views.size());
    if (at == views.end())
        return direction > 0 ? views.front() : views.back();
    int index = int(at - views.begin());
    return views[size_t((index + (direction > 0 ? 1 : count - 1)) % count)];
}

void InstallFrameCycleKeys(QWidget& root)
{
    auto* forward = new QShortcut(QKeySequence(Qt::Key_F6), &root);
    QObject::connect(forward, &QShortcut::activated, &root, [&root] { MoveFocus(root, 1); });
    auto* backward = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), &root);
    QObject::connect(backward, &QShortcut::activated, &root, [&root] { MoveFocus(root, -1); });
}
