#include "platform/Timer.h"

namespace platform {
namespace {
TimerService* g_override = nullptr;
}

TimerService& QtTimerServiceInstance();  // platform/qt

TimerService& CurrentTimerService() { return g_override ? *g_override : QtTimerServiceInstance(); }
void SetTimerService(TimerService* service) { g_override = service; }

Timer::~Timer() {
    if (service_) service_->forget(*this);
}

void Timer::propertyChanged(int) {
    if (service_) {
        service_->stop(*this);
        service_ = nullptr;
    }
    if (Interval > 0) {
        service_ = &CurrentTimerService();
        service_->start(*this, Interval);
    }
}

void Timer::fire() {
    if (Interval > 0 && Tick) Tick();
}

}  // namespace platform
