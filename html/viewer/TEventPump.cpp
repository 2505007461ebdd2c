#include "html/viewer/TEventPump.h"

#include <QCoreApplication>

namespace {

constexpr qint64 PumpEveryMs = 100;

} // namespace

TEventPump::TEventPump() { FSinceLast.start(); }

void TEventPump::operator()()
{
    if (FSinceLast.elapsed() < PumpEveryMs || !QCoreApplication::instance())
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    FSinceLast.restart();
}
