// The player's three satellite classes.

#include "art.h"
#include "kit.h"

#include <cmath>

namespace artgen {
namespace {

const Tone kSphereGrey{QColor(0xf4f6f8), QColor(0xa8aeb6), QColor(0x4e545c), QColor(0x1a1d22)};
const QColor kSightRed(0xff2a2a);

// A four-sided star point pointing away from `centre` along `direction`.
void starPoint(QPainter& p, QPointF tip, QPointF direction, double length, double width) {
    const QColor yellow(0xfff05a);
    const QColor orange(0xff8a1a);
    const QPointF side(-direction.y() * width, direction.x() * width);
    const QPointF base = tip - direction * length;
    const QPainterPath spike = polygonPath({tip, base + side, base - direction * 0.8, base - side});
    glow(p, base, length * 0.9, orange, 0.6);
    QLinearGradient fill(base, tip);
    fill.setColorAt(0.0, orange);
    fill.setColorAt(0.55, yellow);
    fill.setColorAt(1.0, QColor(0xfffbe0));
    fillOutlined(p, spike, fill, QColor(0x7a3004), 0.6);
}

// satellite1: a small grey sphere under a red sight, four bright points round it.
void drawSatellite1(QPainter& p) {
    const QPointF c(12.0, 12.5);
    starPoint(p, {12.0, 0.4}, {0, -1}, 4.6, 2.0);
    starPoint(p, {12.0, 24.6}, {0, 1}, 4.6, 2.0);
    starPoint(p, {0.4, 12.5}, {-1, 0}, 4.6, 2.0);
    starPoint(p, {23.6, 12.5}, {1, 0}, 4.6, 2.0);

    fillOutlined(p, ellipsePath(c, 6.6, 6.6), sphereShading(c, 6.6, kSphereGrey), kSphereGrey.outline, 0.9);
    glint(p, c + QPointF(-2.4, -2.6), 1.8, 1.4);

    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(kSightRed.darker(250), 0.6), 1.8));
    p.drawEllipse(c, 3.6, 3.6);
    p.setPen(QPen(kSightRed, 0.9));
    p.drawEllipse(c, 3.6, 3.6);
    p.restore();
    for (const QPointF& d : {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1)}) {
        line(p, c + d * 1.3, c + d * 7.4, withAlpha(kSightRed.darker(250), 0.6), 1.7);
        line(p, c + d * 1.3, c + d * 7.4, kSightRed, 0.8);
    }
}

const Tone kBusGrey{QColor(0x8a909a), QColor(0x4c525c), QColor(0x262a32), QColor(0x0e1014)};

// A round rod: dark edges with a lit core.
void rod(QPainter& p, QPointF a, QPointF b, const Tone& tone) {
    line(p, a, b, tone.outline, 2.2);
    line(p, a, b, tone.light, 0.8);
}

// One cream solar wing with its grid of cells, its left edge at x0.
void solarWing(QPainter& p, double x0) {
    const Tone cream{QColor(0xfffaea), QColor(0xeee2c0), QColor(0xbba97e), QColor(0x4a3c20)};
    const QColor cellLine(0x8a7448);
    QPainterPath wing;
    wing.addRect(QRectF(x0, 13.5, 20, 13));
    plate(p, wing, cream, 0.8);
    for (int i = 1; i < 5; ++i) line(p, {x0 + 4.0 * i, 14}, {x0 + 4.0 * i, 26}, cellLine, 0.7);
    for (double y : {17.0, 23.0}) line(p, {x0 + 0.5, y}, {x0 + 19.5, y}, withAlpha(cellLine, 0.6), 0.5);
    line(p, {x0 + 0.5, 20.0}, {x0 + 19.5, 20.0}, cellLine, 0.8);
    glint(p, {x0 + 6, 16.5}, 4.5, 1.2, 0.55);
}

// A dish hanging from a short mast at x = cx, its hollow turned down and a
// little towards the viewer.
void dish(QPainter& p, double cx) {
    const Tone metal{QColor(0xf0f2f4), QColor(0xb4bac2), QColor(0x6a707a), QColor(0x1a1d22)};
    rod(p, {cx, 28}, {cx, 35}, kBusGrey);
    QPainterPath back;
    back.moveTo(cx - 13, 38);
    back.cubicTo(cx - 10, 32, cx + 10, 32, cx + 13, 38);
    back.closeSubpath();
    fillOutlined(p, back, ramp({cx - 10, 32}, {cx + 12, 38}, {metal.light, metal.base, metal.shade}), metal.outline);
    const QPainterPath hollow = ellipsePath({cx, 38.5}, 13.0, 4.0);
    fillOutlined(p, hollow, ramp({cx - 6, 34.5}, {cx + 4, 42.5}, {metal.shade, metal.base, metal.light}), metal.outline,
                 0.9);
    // The feed, held at the focus by three struts.
    for (double dx : {-10.5, 0.0, 10.5}) line(p, {cx + dx, dx == 0.0 ? 38.5 : 39.5}, {cx, 45.6}, metal.outline, 0.7);
    fillOutlined(p, ellipsePath({cx, 45.8}, 1.5, 1.5), sphereShading({cx, 45.8}, 1.5, metal), metal.outline, 0.5);
}

// satellite2: a dark grey bus with two long cream solar wings and a dish
// slung underneath.
void drawSatellite2(QPainter& p) {
    const double cx = 32.0;
    rod(p, {5, 20}, {59, 20}, kBusGrey);
    solarWing(p, 1.0);
    solarWing(p, 43.0);
    dish(p, cx);

    const QPainterPath body = mirroredPolygon(cx, {{cx, 8}, {37, 8}, {41, 12}, {41, 28}, {37, 31.5}, {cx, 31.5}});
    plate(p, body, kBusGrey, 1.0);
    const QPainterPath hatch = mirroredPolygon(cx, {{cx, 12}, {35, 12}, {37, 14}, {37, 24}, {35, 26}, {cx, 26}});
    fillOutlined(p, hatch,
                 litAcross(hatch.boundingRect(), {kBusGrey.base, kBusGrey.shade, kBusGrey.outline, kBusGrey.outline}),
                 withAlpha(kBusGrey.light, 0.6), 0.5);
    line(p, {cx, 8}, {cx, 2.5}, kBusGrey.light, 0.7);
    lamp(p, {cx, 2.3}, 1.1, QColor(0xff4040));
    lamp(p, {cx - 5.5, 28.5}, 0.8, QColor(0x60ff80));
}

// satellite3: a dark, spiky battle station: two arms carrying upright prongs
// and a long spine below.
void drawSatellite3(QPainter& p) {
    const Tone hull{QColor(0x7a7f92), QColor(0x40434f), QColor(0x1e2028), QColor(0x07080b)};
    const Tone spike{QColor(0x8a90a4), QColor(0x3a3d4a), QColor(0x15161c), QColor(0x050608)};
    const QColor energy(0xff3a5a);
    const QColor eye(0xff6a2a);
    const double cx = 32.0;

    // A sharp upright prong standing on the arm at `x`, a red light at its point.
    auto prong = [&](double x, double top, double width) {
        const QPainterPath path = polygonPath(
            {{x - width, 22}, {x - width * 0.45, top + 5}, {x, top}, {x + width * 0.45, top + 5}, {x + width, 22}});
        part(p, path, cylinderAcross(x - width, x + width, spike), spike.outline,
             {0.5, withAlpha(spike.light, 0.9), withAlpha(spike.outline, 0.6)}, 0.8);
        lamp(p, {x, top + 2.2}, 0.7, energy);
    };

    // Spine first: it runs down behind the core.
    const QPainterPath spine =
        polygonPath({{cx - 3.5, 26}, {cx + 3.5, 26}, {cx + 1.8, 38}, {cx, 47.7}, {cx - 1.8, 38}});
    plate(p, spine, spike, 0.6);
    for (double y : {32.0, 37.0}) {
        const QPainterPath barb = mirroredPolygon(cx, {{cx, y}, {cx + 5.5, y + 2.5}, {cx, y + 3}});
        plate(p, barb, spike, 0.4);
    }

    for (double side : {-1.0, 1.0}) {
        prong(cx + side * 23.0, 1.0, 3.2);
        prong(cx + side * 14.0, 5.0, 2.8);
        // The arm with a downward barb at its end.
        const QPainterPath arm = polygonPath({{cx + side * 5, 18.5},
                                              {cx + side * 29, 20},
                                              {cx + side * 31.5, 22.5},
                                              {cx + side * 28, 28},
                                              {cx + side * 26, 24.5},
                                              {cx + side * 5, 26}});
        plate(p, arm, hull, 0.8);
        lamp(p, {cx + side * 18.5, 23.0}, 0.9, energy);
    }

    const QPainterPath core =
        mirroredPolygon(cx, {{cx, 10.5}, {cx + 5, 12}, {cx + 9, 17}, {cx + 9, 25}, {cx + 5, 30}, {cx, 31}});
    plate(p, core, hull, 1.0);
    const QPainterPath crown = polygonPath({{cx - 3, 12}, {cx, 4}, {cx + 3, 12}});
    plate(p, crown, spike, 0.5);
    lamp(p, {cx, 21}, 2.4, eye);
}

}  // namespace

std::vector<PictureDef> satellitePictures() {
    return {
        {"satellite1", {24, 25}, drawSatellite1},
        {"satellite2", {64, 48}, drawSatellite2},
        {"satellite3", {64, 48}, drawSatellite3},
    };
}

}  // namespace artgen
