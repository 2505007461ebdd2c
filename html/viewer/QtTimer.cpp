#include "html/viewer/QtTimer.h"

#include <QDebug>
#include <exception>

TQtTimer::TQtTimer()
{
    QObject::connect(&FTimer, &QTimer::timeout, [this] {
        // Exceptions never leave a Qt slot.
        try {
            fire();
        } catch (const std::exception& e) {
            qWarning("timer handler failed: %s", e.what());
        }
    });
}

void TQtTimer::setInterval(int milliseconds)
{
    FInterval = milliseconds;
    update();
}

void TQtTimer::setEnabled(bool enabled)
{
    FEnabled = enabled;
    update();
}

void TQtTimer::update()
{
    if (FEnabled && FInterval > 0)
        FTimer.start(FInterval);
    else
        FTimer.stop();
}
