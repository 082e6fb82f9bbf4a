#include "fire.h"

#include <algorithm>
#include <array>

namespace artgen {

double clamp01(double x) { return std::clamp(x, 0.0, 1.0); }

double smoothstep(double edge0, double edge1, double x) {
    const double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

namespace {

struct Stop {
    double at;
    double r, g, b, a;
};

// Red never falls below green, nor green below blue: whatever the heat,
// flame stays warm.
constexpr std::array<Stop, 7> kFire = {{
    {0.00, 0.40, 0.03, 0.00, 0.00},
    {0.15, 0.60, 0.06, 0.02, 0.55},
    {0.35, 0.86, 0.16, 0.04, 0.95},
    {0.55, 1.00, 0.47, 0.07, 1.00},
    {0.75, 1.00, 0.80, 0.22, 1.00},
    {0.90, 1.00, 0.95, 0.60, 1.00},
    {1.00, 1.00, 1.00, 0.93, 1.00},
}};

}  // namespace

Rgba fireColour(double heat) {
    const double h = clamp01(heat);
    std::size_t i = 1;
    while (i + 1 < kFire.size() && kFire[i].at < h) ++i;
    const Stop& lo = kFire[i - 1];
    const Stop& hi = kFire[i];
    const double t = clamp01((h - lo.at) / (hi.at - lo.at));
    const double a = lo.a + (hi.a - lo.a) * t;
    return {(lo.r + (hi.r - lo.r) * t) * a, (lo.g + (hi.g - lo.g) * t) * a, (lo.b + (hi.b - lo.b) * t) * a, a};
}

Rgba plasmaColour(double heat) {
    // Flame's cold twin: the same ramp with red and blue exchanged runs from
    // deep blue through cyan to white.
    const Rgba warm = fireColour(heat);
    return {warm.b, warm.g, warm.r, warm.a};
}

}  // namespace artgen
