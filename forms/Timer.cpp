#include "forms/Timer.h"

void Timer::SetInterval(int interval) {
    interval_ = interval;
    if (onChange)
        onChange();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (onChange)
        onChange();
}
