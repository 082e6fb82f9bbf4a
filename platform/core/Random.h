#pragma once
// The program-wide random generator: draws uniform in [0, 1), a reseed from the
// time of day that folds the clock reading into the current state (so draws made
// under one unchanged clock reading still differ), and a fixed seed for tests.
// It reads the time of day, and its first seed, from the installed clock
// (Services.h), never from the system itself.

#include <cstdint>

namespace platform {

class RandomGenerator {
public:
    explicit RandomGenerator(std::uint64_t seed = 0x4B656C766FULL);

    // One draw, single precision, 0 <= r < 1.
    float Rnd();

    // Folds `seconds` (since midnight, with fraction) into the current state.
    void Randomize(double seconds);
    // Folds the installed clock's time of day into the state.
    void Randomize();

    // Restarts the sequence from a fixed seed (tests).
    void seed(std::uint64_t seed);

    // The state, for a checksum of the game's.
    std::uint64_t digest() const { return state_[0] ^ (state_[1] * 0x9E3779B97F4A7C15ULL); }

private:
    std::uint64_t next();

    std::uint64_t state_[2]{};
};

// The one generator the whole game draws from.
RandomGenerator& Generator();

inline float Rnd() { return Generator().Rnd(); }
inline void Randomize() { Generator().Randomize(); }

}  // namespace platform
