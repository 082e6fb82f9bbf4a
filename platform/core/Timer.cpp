#include "platform/core/Timer.h"

#include "platform/core/Journal.h"
#include "platform/core/Services.h"

namespace platform {

Timer::~Timer() {
    if (service_) service_->forget(*this);
}

void Timer::propertyChanged(int) {
    if (service_) {
        service_->stop(*this);
        service_ = nullptr;
    }
    if (Interval > 0 && CurrentServices().timers) {
        service_ = CurrentServices().timers;
        service_->start(*this, Interval);
    }
}

void Timer::fire() {
    if (Interval <= 0 || !Tick) return;
    Input tick;
    tick.timer = this;
    const InputScope scope(tick);
    if (scope.admitted()) Tick();
}

}  // namespace platform
