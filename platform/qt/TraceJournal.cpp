#include "platform/qt/TraceJournal.h"

#include "platform/Form.h"
#include "platform/Timer.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/Trace.h"

namespace platform::qt {
namespace {

// As Timers.cpp names a timer in the trace.
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
