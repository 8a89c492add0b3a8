#pragma once

#include <functional>

// An invisible clock element. While Enabled it raises OnTimer (its Timer event) every Interval
// milliseconds; what actually keeps time is the platform the timer is bound to, which listens
// through onChange. A headless run binds nothing, so ticks happen only when someone calls OnTimer.
class Timer {
public:
    Timer(int interval, bool enabled) : interval_(interval), enabled_(enabled) {}
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int Interval() const { return interval_; }
    void SetInterval(int interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    std::function<void()> OnTimer;
    std::function<void()> onChange;

private:
    int interval_;
    bool enabled_;
};
