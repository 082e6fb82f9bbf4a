#pragma once
// The game's pictures, icon, cursor and fonts, as the platform is to find them.

#include "platform/core/Resources.h"

namespace kelvo {

platform::Resources GameResources();

}  // namespace kelvo
