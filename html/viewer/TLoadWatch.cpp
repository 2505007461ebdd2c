#include "html/viewer/TLoadWatch.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <cstdio>

namespace {

constexpr qint64 PumpEveryMs = 100;

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

std::string Megabytes(std::int64_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", double(bytes) / double(1 << 20));
    return text;
}

} // namespace

std::string TLoadWatch::StatusText(TLoadStage stage, std::int64_t done, std::int64_t total)
{
    if (stage == TLoadStage::LayingOut)
        return "Laying out... " + std::to_string(done) + "%";
    return std::string(stage == TLoadStage::Reading ? "Reading " : "Building ") + Megabytes(done) + " of " +
           Megabytes(total) + " MB (Esc stops)";
}

TLoadWatch::TLoadWatch(TReport report) : FReport(std::move(report))
{
    FSinceStart.start();
    FSincePump.start();
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

TLoadWatch::~TLoadWatch()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void TLoadWatch::Step(TLoadStage stage, std::int64_t done, std::int64_t total)
{
    if (FSincePump.elapsed() < PumpEveryMs || !QCoreApplication::instance())
        return;
    if (FReport && (FReported || FSinceStart.elapsed() >= QuietMs)) {
        FReported = true;
        FReport(stage, done, total);
    }
    QCoreApplication::processEvents();
    FSincePump.restart();
}

bool TLoadWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsUserInput(event->type()))
        return QObject::eventFilter(watched, event);
    // A key reaches the window first and then the widget with the focus:
    // the first one seen counts.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        FCancelled = true;
    return true;
}
