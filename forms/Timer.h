#pragma once

#include "forms/Event.h"

#include <QObject>

// An invisible clock element. While Enabled it raises OnTimer (its Timer event) every Interval
// milliseconds; what actually keeps time is the platform the timer is bound to, which listens
// to changed. A headless run binds nothing, so ticks happen only when someone raises OnTimer.
class Timer : public QObject {
    Q_OBJECT
public:
    Timer(int interval, bool enabled) : interval_(interval), enabled_(enabled) {}

    int Interval() const { return interval_; }
    void SetInterval(int interval);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    Event OnTimer;

signals:
    void changed();

private:
    int interval_;
    bool enabled_;
};
