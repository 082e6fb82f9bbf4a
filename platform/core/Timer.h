#pragma once
// Periodic timers with a millisecond Interval: 0 stopped, above 0 running.
// Writing Interval (even the same value) restarts the period. Ticks arrive on
// the user-interface thread, one at a time.

#include <functional>

#include "platform/core/Property.h"

namespace platform {

class Timer;

// Drives timers: precise Qt timers in the program, a stepped clock in tests.
// The installed one (Services.h) starts each timer; a running timer stays
// with the service that started it.
class TimerService {
public:
    virtual ~TimerService() = default;
    virtual void start(Timer& timer, int intervalMs) = 0;  // (re)starts the period
    virtual void stop(Timer& timer) = 0;
    // The timer is going away for good.
    virtual void forget(Timer& timer) { stop(timer); }
};

class Timer : private PropertyOwner {
public:
    Timer() = default;
    explicit Timer(std::function<void()> onTick) : Tick(std::move(onTick)) {}
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    Prop<int, true> Interval{this, 0, 0};

    // The Timer event.
    std::function<void()> Tick;

    // Called by the service at the end of each period.
    void fire();
    // Called by a service that is going away while it still holds this timer.
    void serviceGone() {
        service_ = nullptr;
        Interval.setQuietly(0);
    }

private:
    void propertyChanged(int id) override;

    TimerService* service_ = nullptr;  // the one that holds this timer while it runs
};

}  // namespace platform
