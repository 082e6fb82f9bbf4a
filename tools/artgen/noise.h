#pragma once
// Deterministic randomness for the art and the sounds. Every generator is
// seeded with a fixed number, so each run writes byte-identical files; none
// of it depends on the standard library's distributions, which differ
// between library versions.

#include <cstdint>

namespace artgen {

// splitmix64: small, fast and the same on every platform.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next();
    // Uniform in [0, 1).
    double uniform();
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Uniform in [-1, 1).
    double signedUnit() { return range(-1.0, 1.0); }

private:
    std::uint64_t state_;
};

// Smooth 2-D gradient noise. at() is roughly in [-1, 1]; the lattice has one
// cell per unit, so scale the coordinates to choose the grain.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : seed_(seed) {}

    double at(double x, double y) const;
    // `octaves` layers, each twice as fine and half as strong, normalised
    // back to roughly [-1, 1].
    double fbm(double x, double y, int octaves) const;

private:
    double corner(std::int64_t ix, std::int64_t iy, double dx, double dy) const;

    std::uint32_t seed_;
};

}  // namespace artgen
