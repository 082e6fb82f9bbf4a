#include "platform/core/Random.h"

#include <cstring>

#include "platform/core/Services.h"

namespace platform {
namespace {

std::uint64_t splitmix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

}  // namespace

RandomGenerator::RandomGenerator(std::uint64_t s) { seed(s); }

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

void RandomGenerator::Randomize() {
    SystemClock* clock = CurrentServices().clock;
    Randomize(clock ? clock->secondsSinceMidnight() : 0.0);
}

RandomGenerator& Generator() {
    static RandomGenerator generator;
    return generator;
}

}  // namespace platform
