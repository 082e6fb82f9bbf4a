#pragma once
// The flickering background of the secondary screens.

#include "platform/core/Form.h"

namespace kelvo {

// Points scattered at each drawing of the star field and of the sparkles.
inline constexpr int kFieldPoints = 1000;

// Wipes the form's surface and scatters 1000 points of random colours over it.
// Returns the colour of the last point, which the screens give to their title,
// button and border.
platform::Color DrawSparkles(platform::Form& form);

}  // namespace kelvo
