#pragma once
// The game's timers on precise Qt timers.

#include <unordered_map>

#include "platform/core/Services.h"

class QTimer;

namespace platform::qt {

// Precise timers: coarse ones drift by up to a few percent, which shows in the
// pace of the enemies.
class QtTimers final : public TimerService {
public:
    ~QtTimers() override;
    void start(Timer& timer, int intervalMs) override;
    void stop(Timer& timer) override;
    void forget(Timer& timer) override;

private:
    std::unordered_map<Timer*, QTimer*> timers_;
};

}  // namespace platform::qt
