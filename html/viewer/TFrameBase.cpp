#include "html/viewer/TFrameBase.h"

#include <QMouseEvent>
#include <QPainter>

#include "html/viewer/QtCanvas.h"
#include "html/viewer/TSubFrameSet.h"

TFrameBase::TFrameBase(QWidget* parent, TFrameSet* master, TSubFrameSet* owner)
    : QWidget(parent), MasterSet(master), OwnerSet(owner)
{
    setMouseTracking(true);
}

void TFrameBase::paintEvent(QPaintEvent*)
{
    if (BevelWidth <= 0)
        return;
    QPainter painter(this);
    QColor dark = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
    for (int i = 0; i < BevelWidth; ++i)
        DrawSunkenOutline(painter, rect().adjusted(i, i, -i, -i), dark, light);
}

bool TFrameBase::ForwardToOwner(QMouseEvent* event)
{
    TSubFrameSet* set = OwnerSet;
    if (!set)
        return false;
    QPoint p = event->position().toPoint();
    bool nearEdge = p.x() < 3 || p.y() < 3 || p.x() >= width() - 3 || p.y() >= height() - 3;
    if (!nearEdge && !set->Dragging())
        return false;
    set->BorderMouse(event->type(), mapTo(set, p), event->button());
    return true;
}

void TFrameBase::mousePressEvent(QMouseEvent* event)
{
    if (!ForwardToOwner(event))
        QWidget::mousePressEvent(event);
}

void TFrameBase::mouseMoveEvent(QMouseEvent* event)
{
    if (!ForwardToOwner(event)) {
        unsetCursor();
        QWidget::mouseMoveEvent(event);
    }
}

void TFrameBase::mouseReleaseEvent(QMouseEvent* event)
{
    if (!ForwardToOwner(event))
        QWidget::mouseReleaseEvent(event);
}
