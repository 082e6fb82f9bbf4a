#include "screens/Sparkles.h"

#include "platform/core/Random.h"

namespace kelvo {

using namespace platform;

Color DrawSparkles(Form& form) {
    form.DrawWidth = 1;
    form.Cls();
    Color colour = 0;
    for (int i = 1; i <= kFieldPoints; ++i) {
        const float r1 = Rnd();
        const std::int32_t x = CInt(static_cast<float>(Int(form.ScaleWidth() + 1.0f)) * r1);
        const float r2 = Rnd();
        const std::int32_t y = CInt(static_cast<float>(Int(form.ScaleHeight() + 1.0f)) * r2);
        const float r3 = Rnd(), r4 = Rnd(), r5 = Rnd();
        colour = RGB(CInt(r3 * 255.0f + 1.0f), CInt(r4 * 255.0f + 1.0f), CInt(r5 * 255.0f + 1.0f));
        form.PSet(static_cast<float>(x), static_cast<float>(y), colour);
    }
    return colour;
}

}  // namespace kelvo
