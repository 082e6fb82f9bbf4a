#include "platform/qt/TraceJournal.h"

#include "platform/core/Form.h"
#include "platform/core/Replay.h"
#include "platform/core/Timer.h"
#include "platform/qt/Trace.h"

namespace platform::qt {

bool TraceJournal::admit(const Input& input) {
    const bool admitted = inner_.admit(input);
    if (admitted && input.kind == Input::Tick && input.timer && trace::On()) {
        if (seen_.insert(input.timer).second)
            trace::TimerStarted(input.timer, names::TimerName(*input.timer), input.timer->Interval);
        trace::TimerTick(input.timer);
    }
    return admitted;
}

}  // namespace platform::qt
