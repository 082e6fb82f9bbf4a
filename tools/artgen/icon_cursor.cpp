// The window icon (a mottled red and yellow planet) and the aiming cursor.

#include "art.h"
#include "fire.h"
#include "kit.h"
#include "noise.h"

#include <cmath>

namespace artgen {
namespace {

void drawIcon(QPainter& p) {
    const QColor red(0xc4261a);
    const QColor orange(0xf07a1e);
    const QColor yellow(0xffd84a);
    const QColor rimLight(0xd8dce0);
    const QColor rimDark(0x70767e);
    const Noise mottle(1616);
    const Noise detail(1717);

    constexpr double cx = 8.0;
    constexpr double cy = 8.0;
    // A thin rim at every size: about a pixel on the small icons, a few on the
    // desktop sizes, rather than a band that grows with the picture.
    const double pixelsPerUnit = p.deviceTransform().m11();
    constexpr double rimOuter = 7.8;
    const double rimInner = rimOuter - 0.9 * std::pow(pixelsPerUnit, -0.6);

    paintField(p, QRectF(0, 0, 16, 16), [&](double x, double y) {
        const double dx = x - cx;
        const double dy = y - cy;
        const double rho = std::hypot(dx, dy);
        if (rho > rimOuter) return Rgba{};
        if (rho > rimInner) {
            // The rim is lit on the upper left like the disc inside it.
            const double lit = clamp01(0.5 - 0.5 * (dx + dy) / (rho * 1.4142));
            return premultiplied(mix(rimDark, rimLight, lit));
        }
        // Mottling: broad patches of red and yellow with finer streaks.
        const double n = mottle.fbm(x * 0.32, y * 0.32, 4) + 0.35 * detail.fbm(x * 0.9 + 2.0, y * 0.5, 3);
        const double t = smoothstep(-0.35, 0.45, n);
        QColor ground = t < 0.5 ? mix(red, orange, t * 2.0) : mix(orange, yellow, (t - 0.5) * 2.0);
        // Sphere lighting from the upper left.
        const double nx = dx / rimInner;
        const double ny = dy / rimInner;
        const double nz = std::sqrt(std::max(0.0, 1.0 - nx * nx - ny * ny));
        const double light = std::max(0.0, -0.5 * nx - 0.55 * ny + 0.67 * nz);
        const double shade = 0.35 + 0.75 * light;
        QColor lit = QColor::fromRgbF(static_cast<float>(std::min(1.0, ground.redF() * shade)),
                                      static_cast<float>(std::min(1.0, ground.greenF() * shade)),
                                      static_cast<float>(std::min(1.0, ground.blueF() * shade)));
        const double specular = std::pow(light, 24.0) * 0.6;
        return premultiplied(mix(lit, Qt::white, specular));
    });
}

// Rings centred on the hot spot pixel, in pixel-centre coordinates.
void drawCursor(QPainter& p) {
    const double cx = kCursorHotSpot.x() + 0.5;
    const double cy = kCursorHotSpot.y() + 0.5;
    const Rgba black = premultiplied(Qt::black);
    const Rgba white = premultiplied(Qt::white);

    paintField(p, QRectF(0, 0, 32, 32), [=](double x, double y) {
        const double rho = std::hypot(x - cx, y - cy);
        if (rho >= 12.5 && rho <= 14.5) return black;
        if (rho >= 11.0 && rho < 12.5) return white;
        // The centre ring is decided per whole pixel, with no soft edge, and
        // alternates black and white pixels so it shows on any background:
        // the toolkit cannot invert the screen under a colour cursor.
        const double px = std::floor(x);
        const double py = std::floor(y);
        const double pixelRho = std::hypot(px + 0.5 - cx, py + 0.5 - cy);
        if (pixelRho >= 1.5 && pixelRho <= 2.5) {
            const auto parity = static_cast<long>(px + py) % 2;
            return parity == 0 ? black : white;
        }
        return Rgba{};
    });
}

}  // namespace

PictureDef iconPicture() { return {"icon", {16, 16}, drawIcon}; }

PictureDef cursorPicture() { return {"cursor", {32, 32}, drawCursor}; }

}  // namespace artgen
