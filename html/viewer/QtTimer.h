#pragma once
#include <QTimer>

#include "gfx/TTimer.h"

// TTimer on a QTimer. As with the engine's own timers, an interval of 0 or
// less never fires.
class TQtTimer : public TTimer {
public:
    TQtTimer();
    void setInterval(int milliseconds) override;
    int interval() const override { return FInterval; }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return FEnabled; }

private:
    void update();
    QTimer FTimer;
    int FInterval = 1000;
    bool FEnabled = false;
};
