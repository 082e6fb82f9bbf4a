#pragma once
// Text measured with Qt's fonts.

#include <string>

#include "platform/core/Resources.h"
#include "platform/core/Services.h"

namespace platform::qt {

class QtText final : public TextMeasurer {
public:
    TextSize measure(const Font& font, const std::string& text, float wrapWidth) override;
};
// Maps the design's font names to the installed fonts the game names.
void InstallFontSubstitutes(const Resources& resources);

}  // namespace platform::qt
