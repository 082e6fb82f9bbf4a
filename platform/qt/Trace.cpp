#include "platform/qt/Trace.h"

#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace platform::qt::trace {
namespace {

// Line-buffered, so that every event is on disk when the benchmark ends the
// program however it ends it; a line every few milliseconds costs little.
std::FILE* File() {
    static std::FILE* file = [] {
        const char* path = std::getenv("KELVO_TRACE");
        if (!path || !*path) return static_cast<std::FILE*>(nullptr);
        std::FILE* f = std::fopen(path, "w");
        if (f) std::setvbuf(f, nullptr, _IOLBF, 1 << 16);
        return f;
    }();
    return file;
}

// Small numbers stand for timers in the file; the same timer keeps its number.
long long IdOf(const void* timer) {
    static std::map<const void*, long long> ids;
    auto [it, added] = ids.try_emplace(timer, static_cast<long long>(ids.size()));
    return it->second;
}

}  // namespace

bool On() {
    static const bool on = File() != nullptr;
    return on;
}

std::int64_t Now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

void Paint(std::int64_t begin, std::int64_t end) {
    if (On()) std::fprintf(File(), "paint %lld %lld\n", static_cast<long long>(begin), static_cast<long long>(end));
}

void Press(std::int64_t at, bool repaintAsked) {
    if (On()) std::fprintf(File(), "press %lld %d\n", static_cast<long long>(at), repaintAsked ? 1 : 0);
}

void TimerStarted(const void* timer, const std::string& name, int periodMs) {
    if (On())
        std::fprintf(File(), "start %lld %s %d %lld\n", IdOf(timer), name.c_str(), periodMs,
                     static_cast<long long>(Now()));
}

void TimerTick(const void* timer) {
    if (On()) std::fprintf(File(), "tick %lld %lld\n", IdOf(timer), static_cast<long long>(Now()));
}

}  // namespace platform::qt::trace
