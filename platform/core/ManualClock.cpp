#include "platform/core/ManualClock.h"

#include <algorithm>

namespace platform {

ManualClock::~ManualClock() {
    auto entries = std::move(entries_);
    for (auto& [timer, entry] : entries) timer->serviceGone();
}

void ManualClock::start(Timer& timer, int intervalMs) {
    entries_[&timer] = Entry{intervalMs, now_ + intervalMs, nextOrder_++};
}

void ManualClock::stop(Timer& timer) { entries_.erase(&timer); }

void ManualClock::advance(std::int64_t ms) {
    const std::int64_t target = now_ + ms;
    for (;;) {
        Timer* next = nullptr;
        const Entry* best = nullptr;
        for (auto& [timer, entry] : entries_) {
            if (entry.due > target) continue;
            if (!best || entry.due < best->due || (entry.due == best->due && entry.order < best->order)) {
                best = &entry;
                next = timer;
            }
        }
        if (!next) break;
        now_ = best->due;
        Entry& e = entries_[next];
        e.due += e.period;
        e.order = nextOrder_++;
        next->fire();  // may stop, restart or destroy any timer
    }
    // A tick may advance the clock itself (a test looking on while a dialog
    // is open): time never runs back.
    now_ = std::max(now_, target);
}

}  // namespace platform
