#pragma once
// Colour ramps for everything that burns or glows: fire missiles, the
// explosion, engine flames and the plasma trail.

#include "canvas.h"

namespace artgen {

double smoothstep(double edge0, double edge1, double x);
double clamp01(double x);

// Flame at `heat` in [0, 1]: nothing at 0, then dull red, red, orange,
// yellow and white-hot at 1. Alpha rises with heat, so a field can fade a
// flame out simply by cooling it.
Rgba fireColour(double heat);
// The same idea in cold colours: deep blue, cyan, white.
Rgba plasmaColour(double heat);

}  // namespace artgen
