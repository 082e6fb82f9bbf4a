#include <QTimer>

#include <string>

#include "platform/Form.h"
#include "platform/Replay.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/Trace.h"

namespace platform::qt {
namespace {

// A timer as the benchmark's trace names it: its form and its place in the
// form's list of timers ("frmKelvo.5").
std::string TraceName(const Timer& timer) {
    const Form* form = names::TimerOwner(timer);
    return form ? form->name() + "." + std::to_string(names::TimerIndex(*form, timer)) : "timer";
}

}  // namespace

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
    if (trace::On()) trace::TimerStarted(&timer, TraceName(timer), intervalMs);
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
