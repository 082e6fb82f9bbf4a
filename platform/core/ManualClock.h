#pragma once
// A clock that only moves when told to: tests advance it and every due tick
// fires, in time order (ties in the order the timers were started).

#include <cstdint>
#include <map>

#include "platform/core/Timer.h"

namespace platform {

class ManualClock : public TimerService {
public:
    ManualClock() = default;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;
    ~ManualClock() override;

    void start(Timer& timer, int intervalMs) override;
    void stop(Timer& timer) override;

    // Moves time forward by `ms`, firing every tick that falls due on the way.
    void advance(std::int64_t ms);

    std::int64_t now() const { return now_; }
    bool isRunning(const Timer& timer) const { return entries_.count(const_cast<Timer*>(&timer)) != 0; }

private:
    struct Entry {
        int period;
        std::int64_t due;
        std::uint64_t order;
    };
    std::map<Timer*, Entry> entries_;
    std::int64_t now_ = 0;
    std::uint64_t nextOrder_ = 0;
};

}  // namespace platform
