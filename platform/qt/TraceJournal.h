#pragma once
// A replay hands the game its recorded ticks itself, so no Qt timer runs and
// platform/qt/QtTimers.cpp writes no timer lines. This journal, around the
// replay's, writes them instead: a start line the first time a timer ticks,
// then a tick line for each tick the game takes, under the name QtTimers.cpp
// gives (the form's name, a dot and the timer's place in its list).

#include <string>
#include <unordered_set>

#include "platform/core/Journal.h"

namespace platform::qt {

class TraceJournal final : public Journal {
public:
    explicit TraceJournal(Journal& inner) : inner_(inner) {}
    bool admit(const Input& input) override;
    void handled(const Input& input) override { inner_.handled(input); }
    void checkpoint() override { inner_.checkpoint(); }

private:
    Journal& inner_;
    std::unordered_set<const Timer*> seen_;
};

}  // namespace platform::qt
