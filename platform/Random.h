#pragma once
// The program-wide random generator: draws uniform in [0, 1), a reseed from the
// time of day that folds the clock reading into the current state (so draws made
// under one unchanged clock reading still differ), and a fixed seed for tests.

#include <cstdint>
#include <functional>

namespace platform {

class RandomGenerator {
public:
    explicit RandomGenerator(std::uint64_t seed = 0x4B656C766FULL);

    // One draw, single precision, 0 <= r < 1.
    float Rnd();

    // Folds `seconds` (since midnight, with fraction) into the current state.
    void Randomize(double seconds);
    // Folds the current time of day into the state.
    void Randomize();

    // Restarts the sequence from a fixed seed (tests).
    void seed(std::uint64_t seed);

    // Where Randomize() reads the time of day; tests can pin it.
    void setTimeOfDaySource(std::function<double()> source);

private:
    std::uint64_t next();

    std::uint64_t state_[2]{};
    std::function<double()> timeOfDay_;
};

// The one generator the whole game draws from.
RandomGenerator& Generator();

inline float Rnd() { return Generator().Rnd(); }
inline void Randomize() { Generator().Randomize(); }

// Seconds since local midnight, with fraction.
double SecondsSinceMidnight();

}  // namespace platform
