#include "html/viewer/TPaintPanel.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "html/viewer/THTMLViewer.h"

TPaintPanel::TPaintPanel(THTMLViewer& viewer) : QWidget(&viewer), FViewer(viewer)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TPaintPanel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    FViewer.PaintPanel(painter, event->rect());
}

void TPaintPanel::mousePressEvent(QMouseEvent* event) { FViewer.PanelMousePress(event); }
void TPaintPanel::mouseMoveEvent(QMouseEvent* event) { FViewer.PanelMouseMove(event); }
void TPaintPanel::mouseReleaseEvent(QMouseEvent* event) { FViewer.PanelMouseRelease(event); }
void TPaintPanel::mouseDoubleClickEvent(QMouseEvent* event) { FViewer.PanelMouseDoubleClick(event); }
