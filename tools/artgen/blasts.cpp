// The explosion: sixteen 100x77 frames shown one per tick. A spark low in
// the middle swells into a white-hot fireball (1-5), cools to orange while
// drifting right (6-9), then tears into orange smoke and embers that drift
// to the upper right until only a few specks are left (10-15).

#include "art.h"
#include "fire.h"
#include "kit.h"
#include "noise.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace artgen {
namespace {

constexpr int kFrames = 16;

// The fireball of one frame.
struct Ball {
    double x, y;     // centre
    double radius;   // vertical radius; the ball is a little wider than tall
    double heat;     // 1: white-hot core, lower: cooler colours throughout
    double erosion;  // 0: solid, 1: torn away completely
};

// Frame 0 is only a spark and has no ball.
constexpr std::array<Ball, kFrames> kBalls = {{
    {50, 58, 0, 0, 0},
    {50, 54, 10, 1.00, 0.00},
    {50, 49, 19, 1.00, 0.00},
    {49, 45, 26, 1.00, 0.00},
    {49, 42, 30, 0.97, 0.00},
    {49, 40, 32, 0.92, 0.03},
    {52, 38, 32, 0.74, 0.10},
    {55, 36, 31, 0.62, 0.17},
    {58, 34, 30, 0.52, 0.25},
    {61, 32, 29, 0.44, 0.33},
    {63, 30, 28, 0.36, 0.40},
    {65, 28, 27, 0.30, 0.50},
    {67, 26, 26, 0.25, 0.60},
    {69, 24, 25, 0.20, 0.70},
    {71, 22, 24, 0.15, 0.80},
    {73, 20, 23, 0.10, 1.10},
}};

const QColor kSmokeLight(0xe8802a);
const QColor kSmokeDark(0x6a2a10);

Rgba ballColour(const Ball& b, int frame, const Noise& billows, const Noise& tears, double x, double y) {
    const double dx = (x - b.x) / (b.radius * 1.22);
    const double dy = (y - b.y) / b.radius;
    const double rho = std::hypot(dx, dy);
    if (rho > 1.35) return {};
    const double drift = frame * 0.22;
    const double billow = billows.fbm(x * 0.075 - drift, y * 0.075 + drift * 0.5, 4);
    const double body = 1.0 - rho + 0.22 * billow;  // above 0 inside the cloud
    if (body <= 0.0) return {};
    // Tearing: as the cloud thins, only the wisps where the second noise runs
    // high survive, so it breaks up all over rather than shrinking to a blob.
    const double wisp = 0.5 + 0.5 * tears.fbm(x * 0.07 - drift, y * 0.07 + drift * 0.3, 4);
    const double threshold = b.erosion * 0.75;
    const double keep = b.erosion > 0.0 ? smoothstep(threshold, threshold + 0.18, wisp) : 1.0;
    if (keep <= 0.0) return {};

    const double heat = b.heat * (0.55 + 0.8 * std::min(body, 1.0)) + 0.1 * billow;
    const Rgba fire = fireColour(heat);
    // Cooling fire turns into orange smoke: blend by how far the ball has cooled.
    const double smokiness = clamp01((0.8 - b.heat) * 1.6) * (1.0 - clamp01(heat));
    const Rgba smoke = premultiplied(mix(kSmokeDark, kSmokeLight, clamp01(body * 2.2 + 0.2 * billow)),
                                     0.85 * smoothstep(0.0, 0.35, body));
    const Rgba c{fire.r + (smoke.r - fire.r) * smokiness, fire.g + (smoke.g - fire.g) * smokiness,
                 fire.b + (smoke.b - fire.b) * smokiness, fire.a + (smoke.a - fire.a) * smokiness};
    return scaled(c, smoothstep(0.0, 0.12, body) * keep);
}

void drawSpark(QPainter& p, QPointF centre) {
    const QColor yellow(0xffe04a);
    glow(p, centre, 7.0, QColor(0xff9a2a), 0.6);
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(centre);
        p.rotate(45.0 * i + 22.5);
        const double length = i % 2 == 0 ? 5.5 : 3.5;
        const QPainterPath ray = polygonPath({{0, -length}, {0.9, 0}, {0, length}, {-0.9, 0}});
        fillOutlined(p, ray, yellow, yellow, 0.0);
        p.restore();
    }
    glow(p, centre, 3.0, QColor(0xfffbe0), 1.0);
}

// Embers thrown out by the blast: they appear once the ball has formed and
// drift up and to the right, each burning out at its own time.
struct Ember {
    double x, y;    // where it starts, at frame kEmberStart
    double vx, vy;  // pixels per frame
    double life;    // frames it burns
    double size;
};

constexpr int kEmberStart = 6;

std::vector<Ember> makeEmbers() {
    Rng rng(1515);
    std::vector<Ember> embers;
    for (int i = 0; i < 26; ++i) {
        Ember e{};
        // Thrown from the upper and right side of the cooling ball.
        const double angle = rng.range(-2.4, 0.5);
        const double distance = rng.range(14.0, 30.0);
        e.x = 52.0 + std::cos(angle) * distance * 1.2;
        e.y = 38.0 + std::sin(angle) * distance;
        // A handful drift slowly and burn to the last frame.
        const bool lasting = i < 5;
        e.vx = lasting ? rng.range(0.4, 1.0) : rng.range(0.8, 2.2);
        e.vy = lasting ? rng.range(-0.9, -0.3) : rng.range(-1.8, -0.4);
        e.life = lasting ? 10.0 : rng.range(3.0, 8.0);
        e.size = rng.range(0.55, 1.1);
        embers.push_back(e);
    }
    return embers;
}

void drawEmbers(QPainter& p, const std::vector<Ember>& embers, int frame) {
    const double age = frame - kEmberStart;
    if (age < 0.0) return;
    const QColor hot(0xffd24a);
    const QColor cool(0xff6a1a);
    for (const Ember& e : embers) {
        if (age > e.life) continue;
        const QPointF at(e.x + e.vx * age, e.y + e.vy * age);
        if (!QRectF(1.0, 1.0, 98.0, 75.0).contains(at)) continue;
        const double fade = 1.0 - age / (e.life + 1.0);
        const QColor colour = mix(cool, hot, fade);
        glow(p, at, e.size * 2.8, colour, 0.5 * fade + 0.2);
        fillOutlined(p, ellipsePath(at, e.size, e.size), mix(colour, Qt::white, 0.4 * fade), colour, 0.0);
    }
}

void drawBlast(QPainter& p, int frame) {
    const Ball& b = kBalls[static_cast<std::size_t>(frame)];
    if (frame == 0) {
        drawSpark(p, {b.x, b.y});
        return;
    }
    const Noise billows(4040);
    const Noise tears(4141);
    paintField(p, QRectF(0, 0, 100, 77),
               [&](double x, double y) { return ballColour(b, frame, billows, tears, x, y); });
    static const std::vector<Ember> embers = makeEmbers();
    drawEmbers(p, embers, frame);
}

}  // namespace

std::vector<PictureDef> blastPictures() {
    std::vector<PictureDef> frames;
    for (int i = 0; i < kFrames; ++i) {
        const std::string name = QString::asprintf("blast%02d", i).toStdString();
        frames.push_back({name, {100, 77}, [i](QPainter& p) { drawBlast(p, i); }});
    }
    return frames;
}

}  // namespace artgen
