// Enemy missiles, all falling straight down, point at the bottom.
// missile0-5 are hard-bodied rockets (metal, fins, a small exhaust); the
// player can shoot them down. missile6-9 are pure fire with no body at all,
// and cannot be shot down: they must never be mistaken for rockets.

#include "art.h"
#include "fire.h"
#include "kit.h"
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace artgen {
namespace {

// An exhaust flame streaming up from `nozzle`, hottest at the nozzle.
void exhaust(QPainter& p, QPointF nozzle, double halfWidth, double length, std::uint32_t seed) {
    const Noise noise(seed);
    const QRectF area(nozzle.x() - halfWidth * 2.0, nozzle.y() - length, halfWidth * 4.0, length + 1.0);
    paintField(p, area, [=](double x, double y) {
        const double along = (nozzle.y() - y) / length;  // 0 at the nozzle, 1 at the flame's end
        if (along < -0.05 || along > 1.0) return Rgba{};
        const double width = halfWidth * (1.0 - 0.75 * std::clamp(along, 0.0, 1.0));
        const double across = std::abs(x - nozzle.x()) / width;
        const double flicker = 0.15 * noise.at(x * 0.8, y * 0.5);
        return fireColour((1.0 - across) * (1.05 - along) + flicker);
    });
}

// A rocket, nose down. Lengths are in picture pixels, y growing downwards.
struct Rocket {
    struct Body {
        double centreX;
        double width;
        double tail;       // y of the tail end
        double noseStart;  // y where the nose cone begins
        double tip;        // y of the point
    } body;
    struct Fins {
        double span;  // 0: no fins
        double top;
        double bottom;
    } fins;
    struct Paint {
        Tone body;
        Tone nose;
        Tone fins;
    } paint;
    struct Flame {
        double length;  // 0: no visible exhaust
        std::uint32_t seed;
    } flame;
};

// An ogive from the body's full width at noseStart to the point at tip.
QPainterPath noseCone(const Rocket::Body& b) {
    const double h = b.width * 0.5;
    const double x = b.centreX;
    const double length = b.tip - b.noseStart;
    QPainterPath path;
    path.moveTo(x - h, b.noseStart);
    path.lineTo(x + h, b.noseStart);
    path.cubicTo(x + h, b.noseStart + length * 0.5, x + h * 0.3, b.tip - length * 0.15, x, b.tip);
    path.cubicTo(x - h * 0.3, b.tip - length * 0.15, x - h, b.noseStart + length * 0.5, x - h, b.noseStart);
    path.closeSubpath();
    return path;
}

void drawRocket(QPainter& p, const Rocket& r) {
    const Rocket::Body& b = r.body;
    const double h = b.width * 0.5;
    const double left = b.centreX - h;
    const double right = b.centreX + h;
    const double outline = std::min(1.0, b.width * 0.22);

    if (r.flame.length > 0.0) exhaust(p, {b.centreX, b.tail + 0.5}, h * 0.9, r.flame.length, r.flame.seed);

    if (r.fins.span > 0.0) {
        const double s = r.fins.span * 0.5;
        const double x = b.centreX;
        const double sweep = r.fins.top + (r.fins.bottom - r.fins.top) * 0.45;
        const QPainterPath fins = mirroredPolygon(
            x, {{x, r.fins.top}, {x + s, r.fins.top}, {x + s, sweep}, {x + h, r.fins.bottom}, {x, r.fins.bottom}});
        fillOutlined(p, fins, cylinderAcross(x - s, x + s, r.paint.fins), r.paint.fins.outline, outline);
    }

    const QPainterPath body = polygonPath({{left, b.tail}, {right, b.tail}, {right, b.noseStart}, {left, b.noseStart}});
    fillOutlined(p, body, cylinderAcross(left, right, r.paint.body), r.paint.body.outline, 0.0);
    const QPainterPath nose = noseCone(b);
    fillOutlined(p, nose, cylinderAcross(left, right, r.paint.nose), r.paint.nose.outline, 0.0);
    fillOutlined(p, body.united(nose), Qt::NoBrush, r.paint.body.outline, outline);
    // A glint running down the lit side.
    const double glintX = left + b.width * 0.32;
    line(p, {glintX, b.tail + 1.0}, {glintX, b.noseStart + 1.0}, withAlpha(Qt::white, 0.55),
         std::max(0.4, b.width * 0.12));
}

const Tone kRocketWhite{QColor(0xffffff), QColor(0xdfe4ea), QColor(0x8a94a4), QColor(0x262b36)};
const Tone kRocketRed{QColor(0xff9a8a), QColor(0xe0302a), QColor(0x8a1010), QColor(0x3a0808)};
const Tone kRocketGrey{QColor(0xe2e6ea), QColor(0x9aa2ac), QColor(0x545b66), QColor(0x1c2028)};
const Tone kRocketDarkGrey{QColor(0xb0b6be), QColor(0x6c737e), QColor(0x3a4048), QColor(0x15181e)};
const Tone kRocketOrange{QColor(0xffe0a0), QColor(0xff8a1e), QColor(0xb04a08), QColor(0x401804)};
const Tone kRocketYellow{QColor(0xfff6b0), QColor(0xffd02a), QColor(0xb08a0a), QColor(0x3a2a04)};
const Tone kRocketOlive{QColor(0xc8d2a8), QColor(0x7c8a5a), QColor(0x434c2e), QColor(0x181c10)};

void drawMissile0(QPainter& p) {
    drawRocket(p, {{2.5, 3.0, 4.0, 20.5, 27.8}, {5.0, 4.0, 10.0}, {kRocketWhite, kRocketRed, kRocketRed}, {4.0, 101}});
}

void drawMissile1(QPainter& p) {
    const Rocket r{
        {3.0, 3.6, 5.0, 21.0, 27.8}, {6.0, 5.0, 10.5}, {kRocketGrey, kRocketGrey, kRocketDarkGrey}, {5.0, 102}};
    drawRocket(p, r);
    // The painted tail end.
    const QPainterPath tail = polygonPath({{1.2, 5.0}, {4.8, 5.0}, {4.8, 8.5}, {1.2, 8.5}});
    fillOutlined(p, tail, cylinderAcross(1.2, 4.8, kRocketOrange), kRocketOrange.outline, 0.6);
}

void drawMissile2(QPainter& p) {
    drawRocket(p,
               {{2.5, 3.0, 3.5, 21.5, 28.8}, {5.0, 3.5, 9.0}, {kRocketOlive, kRocketYellow, kRocketOlive}, {3.5, 103}});
    line(p, {1.1, 13.0}, {3.9, 13.0}, kRocketYellow.base, 0.8);
}

// missile3: a rocket wrapped in a burst of fire, a blue plasma trail behind.
void drawMissile3(QPainter& p) {
    const Noise noise(303);
    const QPointF burst(12.0, 41.0);
    paintField(p, QRectF(0, 0, 24, 59), [&](double x, double y) {
        // The trail: a tapering blue streak from the top down to the burst.
        const double t = clamp01(y / 36.0);
        const double wobble = 1.2 * noise.at(0.5, y * 0.12);
        const double trailWidth = 1.2 + 3.8 * t;
        const double across = std::abs(x - 12.0 - wobble * (1.0 - t)) / trailWidth;
        const double trailHeat = (1.0 - across) * (0.25 + 0.75 * t) + 0.12 * noise.at(x * 0.6, y * 0.3);
        const Rgba trail = y < 44.0 ? plasmaColour(trailHeat) : Rgba{};

        // The burst: a ball of flame with ragged tongues.
        const double dx = x - burst.x();
        const double dy = (y - burst.y()) * 0.7;
        const double rho = std::hypot(dx, dy);
        const double angle = std::atan2(dy, dx);
        const double edge = 9.5 + 2.6 * noise.at(std::cos(angle) * 1.6 + 5.0, std::sin(angle) * 1.6) +
                            1.8 * std::pow(0.5 + 0.5 * std::cos(7.0 * angle), 3.0);
        const double fireHeat = (1.0 - rho / edge) * 1.25 + 0.2 * noise.fbm(x * 0.3, y * 0.3, 3);
        return over(fireColour(fireHeat), trail);
    });

    drawRocket(
        p, {{12.0, 5.0, 30.5, 49.0, 58.6}, {10.0, 30.5, 37.5}, {kRocketGrey, kRocketRed, kRocketDarkGrey}, {0.0, 0}});

    // Flames licking over the rocket, so it sits inside the burst rather than on it.
    paintField(p, QRectF(2, 28, 20, 26), [&](double x, double y) {
        const double dx = x - burst.x();
        const double dy = (y - burst.y()) * 0.7;
        const double rho = std::hypot(dx, dy);
        const double tongues = noise.fbm(x * 0.45 + 3.0, y * 0.25, 3);
        return scaled(fireColour((1.0 - rho / 9.5) * 1.1 + 0.45 * tongues),
                      0.8 * smoothstep(0.8, 2.8, std::abs(dx) + 2.5 * tongues));
    });
}

void drawMissile4(QPainter& p) {
    drawRocket(
        p, {{5.5, 5.0, 9.0, 33.0, 41.8}, {11.0, 9.0, 19.0}, {kRocketGrey, kRocketGrey, kRocketDarkGrey}, {9.0, 104}});
    for (double y : {20.5, 31.0}) line(p, {3.3, y}, {7.7, y}, withAlpha(kRocketGrey.outline, 0.8), 0.6);
}

void drawMissile5(QPainter& p) {
    drawRocket(p, {{6.5, 9.0, 1.5, 33.5, 46.8}, {0.0, 0.0, 0.0}, {kRocketGrey, kRocketGrey, kRocketGrey}, {0.0, 0}});
    // Nozzle plate and body bands.
    fillOutlined(p, polygonPath({{3.5, 0.5}, {9.5, 0.5}, {10.0, 2.2}, {3.0, 2.2}}),
                 cylinderAcross(3, 10, kRocketDarkGrey), kRocketDarkGrey.outline, 0.6);
    for (double y : {8.0, 26.0}) {
        fillOutlined(p, polygonPath({{2.0, y}, {11.0, y}, {11.0, y + 2.0}, {2.0, y + 2.0}}),
                     cylinderAcross(2, 11, kRocketDarkGrey), kRocketDarkGrey.outline, 0.5);
    }
    line(p, {4.2, 16.5}, {8.8, 16.5}, kRocketRed.base, 1.0);
}

// A falling drop of fire: a round head at the bottom, a tail streaming up.
struct Drop {
    QPointF head;
    double radius;
    double tailTop;
    double roughness;  // how ragged the edge flickers
    double heat;       // how hot the core burns
    double halo;       // strength of the glow around it
    std::uint32_t seed;
};

Field dropField(const Drop& d) {
    const Noise noise(d.seed);
    return [=](double x, double y) {
        const double t = clamp01((y - d.tailTop) / (d.head.y() - d.tailTop));  // 0 at the tail's end
        const double sway = 0.9 * noise.at(3.0, y * 0.15) * (1.0 - t);
        const double dx = x - d.head.x() - sway;
        double halfWidth;
        double outside;  // distance outside the outline, for the halo
        if (y >= d.head.y()) {
            const double rho = std::hypot(dx, y - d.head.y());
            halfWidth = std::sqrt(std::max(0.0, d.radius * d.radius - (y - d.head.y()) * (y - d.head.y())));
            outside = rho - d.radius;
        } else {
            halfWidth = d.radius * std::pow(t, 1.4);
            outside = std::abs(dx) - halfWidth;
        }
        const double flicker = d.roughness * noise.fbm(x * 0.4, y * 0.28, 3);
        const double inside = halfWidth > 0.01 ? 1.0 - std::abs(dx) / halfWidth : -1.0;
        const double coreDistance = std::hypot(dx, (y - d.head.y() - d.radius * 0.1) * 0.8) / d.radius;
        const double heat = std::max(inside, 0.0) * (0.6 + 0.4 * t) * 0.75 + d.heat * (1.0 - coreDistance) + flicker;
        Rgba flame = fireColour(inside > 0.0 ? heat : heat + inside);
        // The halo dies out well inside the picture, leaving its corners clear.
        const double haloAlpha = d.halo * t * std::exp(-std::max(outside, 0.0) / (d.radius * 0.3)) *
                                 (1.0 - smoothstep(d.radius * 0.35, d.radius * 0.75, outside));
        const Rgba halo = scaled(premultiplied(QColor(0xff8a20)), haloAlpha * clamp01(y - d.tailTop + 2.0));
        return over(flame, halo);
    };
}

void drawMissile6(QPainter& p) {
    paintField(p, QRectF(0, 0, 15, 25), dropField({{7.5, 17.5}, 6.2, 0.5, 0.3, 0.25, 0.0, 606}));
}

// missile7: a round burst of fire with tongues all round.
void drawMissile7(QPainter& p) {
    const Noise noise(707);
    paintField(p, QRectF(0, 0, 30, 30), [&](double x, double y) {
        const double dx = x - 15.0;
        const double dy = y - 15.0;
        const double rho = std::hypot(dx, dy);
        const double angle = std::atan2(dy, dx);
        const double wobble = noise.at(std::cos(angle) * 1.3 + 7.0, std::sin(angle) * 1.3);
        const double spikes = std::pow(0.5 + 0.5 * std::cos(9.0 * angle + 1.4 * wobble), 2.0);
        const double edge = 9.0 + 4.8 * spikes + 1.4 * wobble;
        const double heat = 1.1 * (1.0 - rho / edge) + 0.18 * noise.fbm(x * 0.3, y * 0.3, 3) + 0.12;
        return fireColour(rho < edge ? std::max(heat, 0.16) : heat);
    });
}

// missile8: a tall column of flame, its leading end at the bottom.
void drawMissile8(QPainter& p) {
    const Noise noise(808);
    paintField(p, QRectF(0, 0, 24, 79), [&](double x, double y) {
        const double t = y / 79.0;  // 0 at the top (the flame's tail)
        const double centre = 12.0 + 1.8 * noise.at(1.5, y * 0.06) * (1.0 - t);
        double halfWidth = 3.0 + 7.5 * std::pow(t, 0.7);
        if (y > 70.0)  // round off the leading end
            halfWidth *= std::sqrt(std::max(0.0, 1.0 - std::pow((y - 70.0) / 9.0, 2.0)));
        const double across = std::abs(x - centre) / std::max(halfWidth, 0.01);
        const double tongues = noise.fbm(x * 0.22, y * 0.09 - 3.0, 4);
        const double heat = (1.0 - across) * (0.45 + 0.6 * t) + 0.35 * tongues + 0.08;
        return fireColour(heat);
    });
}

void drawMissile9(QPainter& p) {
    paintField(p, QRectF(0, 0, 14, 30), dropField({{7.0, 22.0}, 5.3, 1.0, 0.1, 0.8, 0.45, 909}));
}

}  // namespace

std::vector<PictureDef> missilePictures() {
    return {
        {"missile0", {5, 28}, drawMissile0},  {"missile1", {6, 28}, drawMissile1},
        {"missile2", {5, 29}, drawMissile2},  {"missile3", {24, 59}, drawMissile3},
        {"missile4", {11, 42}, drawMissile4}, {"missile5", {13, 47}, drawMissile5},
        {"missile6", {15, 25}, drawMissile6}, {"missile7", {30, 30}, drawMissile7},
        {"missile8", {24, 79}, drawMissile8}, {"missile9", {14, 30}, drawMissile9},
    };
}

}  // namespace artgen
