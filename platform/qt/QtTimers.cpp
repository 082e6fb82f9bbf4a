#include <QTimer>

#include <string>

#include "platform/core/Form.h"
#include "platform/core/Replay.h"
#include "platform/qt/QtTimers.h"
#include "platform/qt/Trace.h"

namespace platform::qt {

// A stopped timer keeps its QTimer for its next start; only a running one is
// sure to be alive (it tells forget() before it goes).
QtTimers::~QtTimers() {
    for (auto& [timer, q] : timers_) {
        if (q->isActive()) timer->serviceGone();
        delete q;
    }
}

void QtTimers::start(Timer& timer, int intervalMs) {
    auto& q = timers_[&timer];
    if (!q) {
        q = new QTimer;
        q->setTimerType(Qt::PreciseTimer);
        QObject::connect(q, &QTimer::timeout, [&timer] {
            if (trace::On()) trace::TimerTick(&timer);
            timer.fire();
        });
    }
    if (trace::On()) trace::TimerStarted(&timer, names::TimerName(timer), intervalMs);
    q->start(intervalMs);
}

void QtTimers::stop(Timer& timer) {
    auto it = timers_.find(&timer);
    if (it != timers_.end()) it->second->stop();
}

void QtTimers::forget(Timer& timer) {
    auto it = timers_.find(&timer);
    if (it == timers_.end()) return;
    it->second->stop();
    it->second->deleteLater();  // it may be emitting right now
    timers_.erase(it);
}

}  // namespace platform::qt
