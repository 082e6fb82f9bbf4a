#include "platform/Random.h"

#include <chrono>
#include <cstring>
#include <ctime>

namespace platform {
namespace {

std::uint64_t splitmix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

RandomGenerator::RandomGenerator(std::uint64_t s) : timeOfDay_(SecondsSinceMidnight) { seed(s); }

void RandomGenerator::seed(std::uint64_t s) {
    state_[0] = splitmix(s);
    state_[1] = splitmix(s);
}

// xoroshiro128+: small, fast and uniform enough for a game.
std::uint64_t RandomGenerator::next() {
    const std::uint64_t s0 = state_[0];
    std::uint64_t s1 = state_[1];
    const std::uint64_t result = s0 + s1;
    s1 ^= s0;
    state_[0] = ((s0 << 24) | (s0 >> 40)) ^ s1 ^ (s1 << 16);
    state_[1] = (s1 << 37) | (s1 >> 27);
    return result;
}

float RandomGenerator::Rnd() {
    // 24 random bits fill a float's mantissa exactly, so the result never rounds up to 1.
    return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f);
}

void RandomGenerator::Randomize(double seconds) {
    const auto reading = static_cast<float>(seconds);  // the clock is read in single precision
    std::uint32_t bits = 0;
    std::memcpy(&bits, &reading, sizeof bits);
    std::uint64_t mix = bits;
    state_[0] ^= splitmix(mix);
    state_[1] ^= splitmix(mix);
    if (state_[0] == 0 && state_[1] == 0) state_[1] = 1;  // the all-zero state would stick
    next();
}

void RandomGenerator::Randomize() { Randomize(timeOfDay_()); }

void RandomGenerator::setTimeOfDaySource(std::function<double()> source) {
    timeOfDay_ = source ? std::move(source) : std::function<double()>(SecondsSinceMidnight);
}

RandomGenerator& Generator() {
    static RandomGenerator generator(
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return generator;
}

double SecondsSinceMidnight() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    const double frac =
        static_cast<double>(duration_cast<microseconds>(now.time_since_epoch()).count() % 1000000) / 1e6;
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + frac;
}

}  // namespace platform
