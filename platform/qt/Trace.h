#pragma once
// Timings for the benchmark (bench/). With KELVO_TRACE naming a file, the Qt
// platform writes to it, one line an event, when each paint begins and ends,
// each mouse press as it arrives, and each start and tick of a timer; the
// benchmark works out paint times, repaint rates, timer rates, the first frame
// and press-to-paint times from them. Without KELVO_TRACE nothing is recorded.
//
// Times are nanoseconds of CLOCK_MONOTONIC, the clock every process of the
// machine shares, so that the benchmark can set them against its own.
//
// Lines:  paint <begin> <end>
//         press <at> <1 if it asked for a repaint, else 0>
//         start <timer> <name> <period ms> <at>
//         tick <timer> <at>

#include <cstdint>
#include <string>

namespace platform::qt::trace {

// Whether KELVO_TRACE names a file (read once, at the first call).
bool On();
std::int64_t Now();

void Paint(std::int64_t begin, std::int64_t end);
void Press(std::int64_t at, bool repaintAsked);
// `timer` only tells one timer from another; `name` says whose it is.
void TimerStarted(const void* timer, const std::string& name, int periodMs);
void TimerTick(const void* timer);

}  // namespace platform::qt::trace
