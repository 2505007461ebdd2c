#pragma once
// Keeps the window alive while a long load runs on the GUI thread: pending
// events other than user input (repaints, the window manager's pings,
// timers, a second copy's hand-over) are handled, at most every 100 ms.
// What they start must respect the viewers' busy state; user input waits
// until the load is done.
#include <QElapsedTimer>

class TEventPump {
public:
    TEventPump();
    void operator()();

private:
    QElapsedTimer FSinceLast;
};
