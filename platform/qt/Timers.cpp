#include <QTimer>

#include <string>

#include "platform/Form.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/Trace.h"

namespace platform::qt {
namespace {

// A timer as the benchmark's trace names it: its form and its place in the
// form's list of timers ("frmKelvo.5").
std::string TraceName(const Timer& timer) {
    for (const FormWindow* w : FormWindow::instances()) {
        const Form* form = w->form();
        if (!form) continue;
        const auto& list = form->timers();
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i] == &timer) return form->name() + "." + std::to_string(i);
    }
    return "timer";
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
