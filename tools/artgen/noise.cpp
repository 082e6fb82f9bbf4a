#include "noise.h"

#include <cmath>

namespace artgen {

std::uint64_t Rng::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

namespace {

std::uint32_t mixBits(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    std::uint32_t h = a * 0x8DA6B343u ^ b * 0xD8163841u ^ c * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// Sixteen fixed gradient directions: a table rather than sin/cos keeps the
// noise identical whatever maths library the tool is built against.
constexpr double kGradients[16][2] = {
    {1.0, 0.0},  {0.92388, 0.38268},   {0.70711, 0.70711},   {0.38268, 0.92388},
    {0.0, 1.0},  {-0.38268, 0.92388},  {-0.70711, 0.70711},  {-0.92388, 0.38268},
    {-1.0, 0.0}, {-0.92388, -0.38268}, {-0.70711, -0.70711}, {-0.38268, -0.92388},
    {0.0, -1.0}, {0.38268, -0.92388},  {0.70711, -0.70711},  {0.92388, -0.38268},
};

double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

double lerp(double a, double b, double t) { return a + (b - a) * t; }

}  // namespace

double Noise::corner(std::int64_t ix, std::int64_t iy, double dx, double dy) const {
    const std::uint32_t h = mixBits(static_cast<std::uint32_t>(ix), static_cast<std::uint32_t>(iy), seed_);
    const double* g = kGradients[h & 15u];
    return g[0] * dx + g[1] * dy;
}

double Noise::at(double x, double y) const {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<std::int64_t>(fx);
    const auto iy = static_cast<std::int64_t>(fy);
    const double dx = x - fx;
    const double dy = y - fy;
    const double u = fade(dx);
    const double v = fade(dy);
    const double top = lerp(corner(ix, iy, dx, dy), corner(ix + 1, iy, dx - 1.0, dy), u);
    const double bottom = lerp(corner(ix, iy + 1, dx, dy - 1.0), corner(ix + 1, iy + 1, dx - 1.0, dy - 1.0), u);
    // Gradient noise peaks near +-0.7; stretch it to use the whole range.
    return 1.4 * lerp(top, bottom, v);
}

double Noise::fbm(double x, double y, int octaves) const {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    double scale = 1.0;
    for (int i = 0; i < octaves; ++i) {
        // A different offset per octave keeps the layers from lining up at the origin.
        sum += weight * at(x * scale + 17.31 * i, y * scale - 9.73 * i);
        total += weight;
        weight *= 0.5;
        scale *= 2.0;
    }
    return sum / total;
}

}  // namespace artgen
