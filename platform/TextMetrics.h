#pragma once
// Size of a caption in a font, for labels that fit themselves to their text.

#include <string>

#include "platform/Controls.h"

namespace platform {

struct TextSize {
    float width = 0;   // twips
    float height = 0;  // twips
};

// With wrapWidth > 0 the text wraps at that width (twips) and the width
// returned is wrapWidth; otherwise it is laid out on its own lines.
TextSize MeasureText(const Font& font, const std::string& text, float wrapWidth);

}  // namespace platform
