#include "forms/Timer.h"

void Timer::SetInterval(int interval) {
    interval_ = interval;
    emit changed();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    emit changed();
}
