#include "platform/qt/TraceJournal.h"

#include "platform/Form.h"
#include "platform/Replay.h"
#include "platform/Timer.h"
#include "platform/qt/Trace.h"

namespace platform::qt {
namespace {

// As Timers.cpp names a timer in the trace.
std::string TraceName(const Timer& timer) {
    const Form* form = names::TimerOwner(timer);
    return form ? form->name() + "." + std::to_string(names::TimerIndex(*form, timer)) : "timer";
}

}  // namespace

bool TraceJournal::admit(const Input& input) {
    const bool admitted = inner_.admit(input);
    if (admitted && input.kind == Input::Tick && input.timer && trace::On()) {
        if (seen_.insert(input.timer).second)
            trace::TimerStarted(input.timer, TraceName(*input.timer), input.timer->Interval);
        trace::TimerTick(input.timer);
    }
    return admitted;
}

}  // namespace platform::qt
