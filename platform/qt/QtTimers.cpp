// Precise Qt timers behind the game's Timer controls (coarse timers drift by
// up to a few percent, which shows in the pace of the enemies).

#include <QTimer>

#include <memory>
#include <unordered_map>

#include "platform/Timer.h"

namespace platform {
namespace {

class QtTimerService final : public TimerService {
public:
    void start(Timer& timer, int intervalMs) override {
        auto& q = timers_[&timer];
        if (!q) {
            q = new QTimer;
            q->setTimerType(Qt::PreciseTimer);
            QObject::connect(q, &QTimer::timeout, [&timer] { timer.fire(); });
        }
        q->start(intervalMs);
    }
    void stop(Timer& timer) override {
        auto it = timers_.find(&timer);
        if (it != timers_.end()) it->second->stop();
    }
    void forget(Timer& timer) override {
        auto it = timers_.find(&timer);
        if (it == timers_.end()) return;
        it->second->stop();
        it->second->deleteLater();  // it may be emitting right now
        timers_.erase(it);
    }

private:
    std::unordered_map<Timer*, QTimer*> timers_;
};

}  // namespace

TimerService& QtTimerServiceInstance() {
    static auto* service = new QtTimerService;  // lives as long as the program
    return *service;
}

}  // namespace platform
