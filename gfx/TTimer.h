#pragma once
#include <functional>

// A repeating timer on the GUI thread. It fires onTimer every interval
// milliseconds while enabled; changing the interval restarts the wait.
class TTimer {
public:
    virtual ~TTimer() = default;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;

    std::function<void()> onTimer;

protected:
    void fire()
    {
        if (onTimer)
            onTimer();
    }
};

// A timer that never runs by itself: tests call tick() to make it fire.
class TManualTimer : public TTimer {
public:
    void setInterval(int milliseconds) override { FInterval = milliseconds; }
    int interval() const override { return FInterval; }
    void setEnabled(bool enabled) override { FEnabled = enabled; }
    bool enabled() const override { return FEnabled; }
    // Fires once when enabled (as the real timer would after its interval);
    // answers whether it fired.
    bool tick()
    {
        if (!FEnabled)
            return false;
        fire();
        return true;
    }

private:
    int FInterval = 1000;
    bool FEnabled = false;
};
