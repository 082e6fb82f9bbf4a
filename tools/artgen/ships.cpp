// The nine enemy craft. They fall from the top of the screen, so every one
// is drawn nose down (ship0 flies in diagonally, nose to the lower right).

#include "art.h"
#include "kit.h"

#include <QTransform>

#include <cmath>
#include <numbers>

namespace artgen {
namespace {

const QColor kLampYellow(0xffd83a);
const QColor kCyanGlass(0x3fd8f0);
const QColor kHoverGlow(0x9fe8ff);

const Tone kSteel{QColor(0xe4e8ee), QColor(0xa5acb7), QColor(0x5c6370), QColor(0x1c2029)};
const Tone kDarkSteel{QColor(0xaab1bc), QColor(0x6c7380), QColor(0x3b404b), QColor(0x15181e)};

// A hover craft's downward glow: a flat soft ellipse.
void hoverGlow(QPainter& p, QPointF centre, double rx, double ry) {
    p.save();
    p.translate(centre);
    p.scale(1.0, ry / rx);
    glow(p, QPointF(0, 0), rx, kHoverGlow, 0.7);
    p.restore();
}

// A tapering spike from `base` to `tip`, `width` wide at the base, glowing
// in its own colour: the lances of ship1 and ship5.
void lance(QPainter& p, QPointF base, QPointF tip, double width, const Tone& tone) {
    const QPointF along = tip - base;
    const double length = std::hypot(along.x(), along.y());
    const QPointF unit = along / length;
    const QPointF side(-unit.y() * width * 0.5, unit.x() * width * 0.5);
    for (double t : {0.35, 0.7, 0.95}) glow(p, base + along * t, width * 1.5, tone.base, 0.35);
    const QPainterPath spike = polygonPath({base + side, base + unit * width * 0.6 + side * 1.25, tip,
                                            base + unit * width * 0.6 - side * 1.25, base - side});
    fillOutlined(p, spike, ramp(base + side, base - side, {tone.light, tone.base, tone.shade}), tone.outline, 0.8);
    line(p, base + unit * 1.0 + side * 0.25, tip - along * 0.12, withAlpha(Qt::white, 0.85), width * 0.18);
}

// ship0: pale pink shuttle-like fighter, seen from above at an angle, nose
// to the lower right, trailing a long antenna.
void drawShip0(QPainter& p) {
    const Tone pink{QColor(0xfff3f6), QColor(0xf4c7d3), QColor(0xc98ba0), QColor(0x58283c)};
    const Tone farPink{QColor(0xe8b3c2), QColor(0xd096a8), QColor(0xa06478), QColor(0x58283c)};
    const QColor cockpit(0x5a4aa8);
    const QColor engine(0x8ae0ff);
    const QColor antenna(0xd6a8b8);
    const QColor antennaTip(0xff4d6a);

    const QTransform frame = QTransform().translate(31.0, 21.5).rotate(26.0);
    const QPointF mastFoot = frame.map(QPointF(5.0, -4.6));
    const QPointF mastTip(28.5, 1.6);

    // The antenna rises from the far side of the hull, so it goes down first.
    line(p, mastFoot, mastTip, pink.outline, 1.3);
    line(p, mastFoot, mastTip, antenna, 0.6);
    lamp(p, mastTip, 1.3, antennaTip);

    p.save();
    p.setTransform(frame, true);
    // Local frame: nose towards +x, the near (lit) side towards +y.
    const QPainterPath farWing = polygonPath({{-11, -3.5}, {-18, -9}, {-13.5, -9.5}, {1, -4}});
    fillOutlined(p, farWing, litAcross(farWing.boundingRect(), farPink), farPink.outline, 0.9);

    QPainterPath body;
    body.moveTo(-23, -4.5);
    body.lineTo(6, -5);
    body.cubicTo(15, -5.2, 22, -3, 26.5, 0.6);
    body.cubicTo(22, 3.8, 15, 5.2, 6, 5);
    body.lineTo(-23, 4.5);
    body.closeSubpath();
    part(p, body, ramp({0, -5}, {0, 5}, {pink.light, pink.base, pink.shade}), pink.outline,
         {0.9, withAlpha(Qt::white, 0.8), withAlpha(pink.shade.darker(130), 0.7)});
    line(p, {-20, 0.8}, {14, 0.8}, withAlpha(pink.shade, 0.9), 0.7);

    const QPainterPath fin = polygonPath({{-22.5, -4.2}, {-26.5, -10.5}, {-21.5, -11}, {-13, -4.6}});
    plate(p, fin, pink, 0.7);

    const QPainterPath engines = polygonPath({{-26, -3.5}, {-22.5, -4}, {-22.5, 4}, {-26, 3.5}});
    fillOutlined(p, engines, ramp({0, -4}, {0, 4}, {pink.shade, farPink.shade, pink.outline}), pink.outline, 0.8);
    for (double y : {-1.8, 1.8}) {
        glow(p, {-27.2, y}, 2.6, engine, 0.9);
        fillOutlined(p, ellipsePath({-26.4, y}, 0.8, 1.3), QColor(0xfff4ff), engine, 0.4);
    }

    const QPainterPath nearWing = polygonPath({{-17, 3}, {-23.5, 13.5}, {-16, 14}, {5, 4.2}});
    plate(p, nearWing, pink, 0.9);
    line(p, {-17.5, 9.5}, {-6, 5.5}, withAlpha(pink.shade, 0.9), 0.6);

    QPainterPath canopy;
    canopy.moveTo(12, -4.4);
    canopy.cubicTo(17, -4.6, 21, -3, 23.5, -0.8);
    canopy.lineTo(13, -0.4);
    canopy.closeSubpath();
    glass(p, canopy, cockpit, pink.outline);
    p.restore();
}

// ship1: red and orange insect-like craft with two violet lances.
void drawShip1(QPainter& p) {
    const Tone red{QColor(0xff7a5a), QColor(0xd8261c), QColor(0x8a0e12), QColor(0x3a0508)};
    const Tone orange{QColor(0xffe07a), QColor(0xff9a1e), QColor(0xc24e0a), QColor(0x4a1a04)};
    const Tone violet{QColor(0xf2d8ff), QColor(0xb060ff), QColor(0x6a20b0), QColor(0x2a0848)};
    const QColor wingMembrane(0xff8a2a);
    const QColor wingVein(0x9a2a0a);
    const QColor eye(0xfff27a);
    const double cx = 30.0;

    // Wings first: two pairs spread behind the thorax, translucent so the
    // veins read as membrane.
    auto wing = [&](QPointF centre, double rx, double ry, double angle) {
        for (double side : {-1.0, 1.0}) {
            p.save();
            p.translate(cx + side * (centre.x() - cx), centre.y());
            p.rotate(side * angle);
            const QPainterPath shape = ellipsePath({0, 0}, rx, ry);
            // Bright at the root, deepening to red at the tip.
            QLinearGradient fill(QPointF(-side * rx, -ry * 0.5), QPointF(side * rx, ry * 0.5));
            fill.setColorAt(0.0, withAlpha(orange.light, 0.95));
            fill.setColorAt(0.45, withAlpha(wingMembrane, 0.92));
            fill.setColorAt(1.0, withAlpha(red.base, 0.92));
            fillOutlined(p, shape, fill, red.outline, 0.8);
            bevel(p, shape, 0.7, withAlpha(Qt::white, 0.45), withAlpha(red.outline, 0.4));
            line(p, {side * -rx * 0.9, 0}, {side * rx * 0.85, 0}, wingVein, 0.6);
            line(p, {side * -rx * 0.4, 0}, {side * rx * 0.55, -ry * 0.7}, wingVein, 0.5);
            line(p, {side * -rx * 0.2, 0}, {side * rx * 0.6, ry * 0.6}, wingVein, 0.5);
            p.restore();
        }
    };
    wing({13.5, 12.5}, 14.0, 5.5, -28.0);
    wing({16.0, 25.0}, 11.5, 4.2, 16.0);

    // Six legs from the thorax.
    for (double side : {-1.0, 1.0}) {
        for (int i = 0; i < 3; ++i) {
            const QPointF hip(cx + side * 4.5, 21.0 + 3.0 * i);
            const QPointF knee(cx + side * (11.0 + i), 23.0 + 4.0 * i);
            const QPointF foot(cx + side * (13.0 + 2.0 * i), 30.0 + 3.5 * i);
            line(p, hip, knee, red.outline, 1.6);
            line(p, knee, foot, red.outline, 1.3);
            line(p, hip, knee, red.shade, 0.7);
        }
    }

    lance(p, {cx - 2.8, 31.5}, {cx - 8.0, 44.7}, 3.8, violet);
    lance(p, {cx + 2.8, 31.5}, {cx + 8.0, 44.7}, 3.8, violet);

    // Abdomen, banded in orange.
    const QPainterPath abdomen = ellipsePath({cx, 10.5}, 7.5, 10.0);
    fillOutlined(p, abdomen, sphereShading({cx, 10.5}, 10.0, red), red.outline, 0.0);
    p.save();
    p.setClipPath(abdomen);
    for (int i = 0; i < 4; ++i) {
        const double y = 3.5 + 4.2 * i;
        QPainterPath band;
        band.moveTo(cx - 9, y);
        band.quadTo(cx, y + 2.2, cx + 9, y);
        band.lineTo(cx + 9, y + 1.6);
        band.quadTo(cx, y + 3.8, cx - 9, y + 1.6);
        band.closeSubpath();
        fillOutlined(p, band, ramp({cx - 8, 0}, {cx + 8, 0}, {orange.light, orange.base, orange.shade}), orange.outline,
                     0.0);
    }
    p.restore();
    bevel(p, abdomen, 0.8, withAlpha(Qt::white, 0.45), withAlpha(red.outline, 0.5));
    fillOutlined(p, abdomen, Qt::NoBrush, red.outline);

    const QPainterPath thorax = ellipsePath({cx, 22.5}, 6.5, 5.0);
    plate(p, thorax, red);
    line(p, {cx, 18.5}, {cx, 26.5}, withAlpha(orange.base, 0.9), 1.0);

    const QPainterPath head = ellipsePath({cx, 30.5}, 5.5, 4.2);
    fillOutlined(p, head, sphereShading({cx, 30.5}, 5.5, orange), orange.outline);
    for (double side : {-1.0, 1.0}) {
        const QPointF c(cx + side * 3.2, 31.0);
        fillOutlined(p, ellipsePath(c, 2.0, 2.2), sphereShading(c, 2.2, {Qt::white, eye, orange.shade, red.outline}),
                     red.outline, 0.6);
        glint(p, c + QPointF(-0.6, -0.7), 0.7, 0.6);
    }
}

// ship2: a flat blue pod on a cushion of air, a row of yellow lights along
// its front skirt.
void drawShip2(QPainter& p) {
    const Tone blue{QColor(0x9ad0ff), QColor(0x2f7fe0), QColor(0x184a9a), QColor(0x07163a)};
    const Tone skirt{QColor(0x4a8ae0), QColor(0x1d4fa6), QColor(0x0e2a66), QColor(0x07163a)};
    const QColor canopy(0x1aa8d8);

    hoverGlow(p, {32, 38.5}, 26, 5.5);

    QPainterPath side;
    side.addRoundedRect(QRectF(2.5, 13, 59, 25), 12.5, 12.5);
    plate(p, side, skirt, 0.7);

    QPainterPath deck;
    deck.addRoundedRect(QRectF(2.5, 6, 59, 24), 12, 12);
    part(p, deck, ramp({0, 6}, {0, 30}, {blue.light, blue.base, blue.shade}), blue.outline,
         {1.0, withAlpha(Qt::white, 0.75), withAlpha(blue.outline, 0.45)});

    // A raised spine with a canopy, and pontoon seams down the sides.
    QPainterPath spine;
    spine.addRoundedRect(QRectF(17, 10, 30, 12), 6, 6);
    plate(p, spine, blue, 0.7);
    QPainterPath window;
    window.addRoundedRect(QRectF(23, 12, 18, 7), 3.5, 3.5);
    glass(p, window, canopy, blue.outline);
    for (double x : {11.0, 53.0}) {
        line(p, {x, 11}, {x, 25}, withAlpha(blue.shade, 0.9), 0.8);
        line(p, {x + 0.9, 11}, {x + 0.9, 25}, withAlpha(blue.light, 0.8), 0.5);
    }

    // Lights along the skirt, following its curve.
    const double xs[] = {9.5, 20.0, 32.0, 44.0, 54.5};
    const double ys[] = {30.5, 33.5, 34.2, 33.5, 30.5};
    for (int i = 0; i < 5; ++i) lamp(p, {xs[i], ys[i]}, 1.6, kLampYellow);
}

// ship3: a grey delta-wing jet fighter, nose down.
void drawShip3(QPainter& p) {
    const QColor canopy(0x2a5ad0);
    const QColor exhaust(0xff9a30);
    const QColor marking(0xd83a2a);
    const double cx = 30.0;

    for (double x : {cx - 2.6, cx + 2.6}) glow(p, {x, 1.8}, 3.4, exhaust, 0.9);

    const QPainterPath wing = mirroredPolygon(cx, {{cx, 8}, {38, 8}, {44, 5}, {57.5, 5}, {59.5, 7.5}, {cx, 27.5}});
    plate(p, wing, kSteel, 0.9);
    // Panel lines and flaps along the trailing edge.
    for (double side : {-1.0, 1.0}) {
        line(p, {cx + side * 8, 9}, {cx + side * 24, 9}, withAlpha(kSteel.shade, 0.9), 0.6);
        line(p, {cx + side * 13, 9}, {cx + side * 13, 5.5}, withAlpha(kSteel.shade, 0.8), 0.5);
        line(p, {cx + side * 21, 9}, {cx + side * 21, 5.5}, withAlpha(kSteel.shade, 0.8), 0.5);
        line(p, {cx + side * 9, 14}, {cx + side * 22, 10.5}, withAlpha(kSteel.light, 0.8), 0.5);
        lamp(p, {cx + side * 26.5, 6.6}, 0.9, marking);
    }

    // Twin fins, seen edge-on from above.
    for (double side : {-1.0, 1.0}) {
        const QPainterPath tailFin =
            polygonPath({{cx + side * 7, 1.5}, {cx + side * 8.8, 1.5}, {cx + side * 9.6, 12}, {cx + side * 7.8, 12}});
        plate(p, tailFin, kDarkSteel, 0.5);
    }

    const QPainterPath body =
        mirroredPolygon(cx, {{cx, 0.6}, {33.8, 0.8}, {35.4, 4}, {35.4, 15}, {34.4, 24}, {32.4, 30}, {cx, 33.6}});
    part(p, body, cylinderAcross(24.6, 35.4, kSteel), kSteel.outline,
         {0.7, withAlpha(Qt::white, 0.6), withAlpha(kSteel.outline, 0.4)});
    for (double x : {cx - 2.6, cx + 2.6})
        fillOutlined(p, ellipsePath({x, 1.6}, 1.7, 1.2), QColor(0x30343c), kSteel.outline, 0.5);

    const QPainterPath glassPath = ellipsePath({cx, 23.5}, 2.6, 5.2);
    glass(p, glassPath, canopy, kSteel.outline);
    line(p, {cx, 30.5}, {cx, 33.2}, withAlpha(kSteel.shade, 0.9), 0.6);
}

// ship4: a blue U-shaped hover craft, the bend of the U leading.
void drawShip4(QPainter& p) {
    const Tone blue{QColor(0x8ac4ff), QColor(0x2a6ed8), QColor(0x143c8a), QColor(0x061430)};
    const Tone trim{QColor(0xc8e4ff), QColor(0x6aa8f0), QColor(0x2a5aa8), QColor(0x061430)};
    const QColor pad(0x102040);
    const double cx = 32.0;

    hoverGlow(p, {cx, 40}, 26, 7);

    QPainterPath outer;
    outer.addRoundedRect(QRectF(2, 2, 60, 26), 5, 5);
    outer = outer.united(ellipsePath({cx, 22}, 30, 24));
    QPainterPath inner;
    inner.addRect(QRectF(20, -2, 24, 20));
    inner = inner.united(ellipsePath({cx, 18}, 12, 10));
    const QPainterPath hull = outer.subtracted(inner);
    part(p, hull, litAcross(hull.boundingRect(), blue), blue.outline,
         {1.4, withAlpha(blue.light, 0.95), withAlpha(blue.outline, 0.5)});

    // A light trim stripe running round the U.
    QPainterPath stripe;
    stripe.moveTo(10.5, 8);
    stripe.lineTo(10.5, 22);
    stripe.cubicTo(10.5, 34, 20, 40, cx, 40);
    stripe.cubicTo(44, 40, 53.5, 34, 53.5, 22);
    stripe.lineTo(53.5, 8);
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(trim.outline, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(stripe);
    p.setPen(QPen(ramp({0, 8}, {64, 40}, {trim.light, trim.base, trim.shade}), 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(stripe);
    p.restore();

    // Lift fans in each arm.
    for (double x : {10.5, 53.5}) {
        fillOutlined(p, ellipsePath({x, 15}, 4.6, 4.6), pad, blue.outline, 0.8);
        glow(p, {x, 15}, 4.2, kHoverGlow, 0.9);
        fillOutlined(p, ellipsePath({x, 15}, 1.3, 1.3), trim.base, blue.outline, 0.5);
    }

    const QPainterPath dome = ellipsePath({cx, 35}, 6.5, 4.2);
    glass(p, dome, kCyanGlass, blue.outline);

    for (double x : {6.5, 15.0, 49.0, 57.5}) lamp(p, {x, 4.6}, 1.4, kLampYellow);
    for (double side : {-1.0, 1.0}) {
        lamp(p, {cx + side * 24.5, 33.5}, 1.5, kLampYellow);
        lamp(p, {cx + side * 14.5, 42.0}, 1.5, kLampYellow);
    }
}

// A crab's open pincer: a palm at `palm` with a large outer finger and a
// smaller inner one closing towards the middle below it. side is -1 for the
// left claw, +1 for the right.
QPainterPath pincer(QPointF palm, double side) {
    auto at = [&](double dx, double dy) { return palm + QPointF(side * dx, dy); };
    QPainterPath claw = ellipsePath(palm, 5.2, 4.8);
    QPainterPath outer;
    outer.moveTo(at(5.0, -0.5));
    outer.cubicTo(at(6.5, 6.0), at(2.5, 10.5), at(-4.0, 11.5));
    outer.cubicTo(at(-0.5, 8.5), at(1.0, 5.5), at(0.0, 2.0));
    outer.closeSubpath();
    QPainterPath inner;
    inner.moveTo(at(-5.0, -1.0));
    inner.cubicTo(at(-8.0, 2.0), at(-8.5, 5.5), at(-7.5, 7.5));
    inner.cubicTo(at(-6.0, 5.5), at(-4.0, 4.0), at(-1.5, 3.0));
    inner.closeSubpath();
    return claw.united(outer).united(inner);
}

// ship5: a red crab-like alien craft, a cyan lance between its claws.
void drawShip5(QPainter& p) {
    const Tone red{QColor(0xff8a6a), QColor(0xd8281e), QColor(0x7a0a10), QColor(0x330408)};
    const Tone cyan{QColor(0xeaffff), QColor(0x30e2f2), QColor(0x0a86a8), QColor(0x03303e)};
    const QColor eye(0xffe84a);
    const double cx = 32.0;

    // Legs: two-tone jointed strokes.
    for (double side : {-1.0, 1.0}) {
        const double hipY[] = {13.0, 18.0, 23.0};
        const QPointF knees[] = {{22, 4}, {26, 14}, {24, 25}};
        const QPointF feet[] = {{30.5, 8}, {31.2, 21}, {29.5, 31}};
        for (int i = 0; i < 3; ++i) {
            const QPointF hip(cx + side * 14.0, hipY[i]);
            const QPointF knee(cx + side * knees[i].x(), knees[i].y());
            const QPointF foot(cx + side * feet[i].x(), feet[i].y());
            line(p, hip, knee, red.outline, 2.6);
            line(p, knee, foot, red.outline, 2.0);
            line(p, hip, knee, red.base, 1.3);
            line(p, knee, foot, red.shade, 1.0);
        }
    }

    // Arms and pincers.
    for (double side : {-1.0, 1.0}) {
        const QPointF shoulder(cx + side * 12.0, 26.0);
        const QPointF elbow(cx + side * 19.0, 30.5);
        line(p, shoulder, elbow, red.outline, 3.6);
        line(p, shoulder, elbow, red.base, 2.2);
        const QPainterPath claw = pincer({cx + side * 21.0, 33.5}, side);
        part(p, claw, sphereShading({cx + side * 20.0, 35.0}, 9.0, red), red.outline,
             {0.7, withAlpha(red.light, 0.8), withAlpha(red.outline, 0.5)});
    }

    lance(p, {cx, 28.0}, {cx, 47.6}, 4.6, cyan);

    const QPainterPath shell = ellipsePath({cx, 19}, 18.5, 12.5);
    fillOutlined(p, shell, sphereShading({cx, 19}, 19.0, red), red.outline, 0.0);
    bevel(p, shell, 0.9, withAlpha(red.light, 0.8), withAlpha(red.outline, 0.5));
    // Grooves either side of the carapace's crown, and warts along its rim.
    for (double side : {-1.0, 1.0}) {
        QPainterPath groove;
        groove.moveTo(cx + side * 8.0, 9.5);
        groove.quadTo(cx + side * 4.5, 17.0, cx + side * 9.0, 25.0);
        p.save();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(red.light, 0.55), 0.6));
        p.drawPath(groove.translated(-0.6, -0.5));
        p.setPen(QPen(withAlpha(red.shade, 0.6), 0.7));
        p.drawPath(groove);
        p.restore();
        for (const QPointF& wart : {QPointF(15.0, 17.0), QPointF(13.0, 12.5), QPointF(11.5, 22.5)})
            fillOutlined(p, ellipsePath({cx + side * wart.x(), wart.y()}, 1.1, 0.9), red.shade, red.outline, 0.0);
    }
    fillOutlined(p, shell, Qt::NoBrush, red.outline);
    glint(p, {25, 12}, 4.0, 2.4, 0.5);

    // Eyes on stalks.
    for (double side : {-1.0, 1.0}) {
        const QPointF base(cx + side * 4.5, 29.0);
        const QPointF ball(cx + side * 6.5, 33.5);
        line(p, base, ball, red.outline, 1.8);
        fillOutlined(p, ellipsePath(ball, 1.9, 1.9),
                     sphereShading(ball, 2.0, {Qt::white, eye, eye.darker(160), red.outline}), red.outline, 0.6);
        fillOutlined(p, ellipsePath(ball + QPointF(0, 0.5), 0.7, 0.9), red.outline, red.outline, 0.0);
    }
}

// One of ship6's side panels, its left edge at x0: louvred vents between
// four rivets.
void armourPanel(QPainter& p, double x0) {
    const Tone panel{QColor(0xb8c0c6), QColor(0x767f88), QColor(0x3c434a), QColor(0x181c20)};
    const QColor vent(0x24292e);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(x0, 8, 13.5, 32), 2.5, 2.5);
    plate(p, shape, panel, 1.0);
    for (int i = 0; i < 5; ++i) {
        const double y = 14.5 + 4.2 * i;
        line(p, {x0 + 3, y}, {x0 + 10.5, y}, vent, 1.4);
        line(p, {x0 + 3, y + 0.9}, {x0 + 10.5, y + 0.9}, withAlpha(panel.light, 0.7), 0.5);
    }
    for (double y : {10.5, 37.5})
        for (double x : {x0 + 2.5, x0 + 11.0})
            fillOutlined(p, ellipsePath({x, y}, 0.8, 0.8), panel.light, panel.outline, 0.4);
}

// ship6: a grey armoured platform with a turret, armour panels on both sides.
void drawShip6(QPainter& p) {
    const Tone armour{QColor(0xd2d8dc), QColor(0x8c959c), QColor(0x4c545c), QColor(0x181c20)};
    const QColor warning(0xff5a2a);
    const double cx = 32.0;

    // Struts between the hull and the panels.
    for (double side : {-1.0, 1.0}) {
        for (double y : {16.0, 30.0}) {
            const QPainterPath strut = polygonPath(
                {{cx + side * 14, y}, {cx + side * 19, y}, {cx + side * 19, y + 3.5}, {cx + side * 14, y + 3.5}});
            plate(p, strut, kDarkSteel, 0.5);
        }
    }
    armourPanel(p, 1.5);
    armourPanel(p, 49.0);

    const QPainterPath hull =
        mirroredPolygon(cx, {{cx, 2.5}, {42, 2.5}, {47.5, 8}, {47.5, 40}, {42, 45.5}, {cx, 45.5}});
    plate(p, hull, armour, 1.2);
    const QPainterPath deck = mirroredPolygon(cx, {{cx, 7}, {40, 7}, {43, 10}, {43, 38}, {40, 41}, {cx, 41}});
    fillOutlined(p, deck, litAcross(deck.boundingRect(), {armour.base, armour.light, armour.shade, armour.outline}),
                 withAlpha(armour.shade, 0.9), 0.7);
    bevel(p, deck, 0.6, withAlpha(armour.shade, 0.8), withAlpha(Qt::white, 0.5));
    for (double y : {12.5, 35.5}) line(p, {23, y}, {41, y}, withAlpha(armour.shade, 0.9), 0.6);

    // Turret and barrel pointing down at the player.
    const QPainterPath barrel = polygonPath({{30.4, 26}, {33.6, 26}, {33.6, 43}, {30.4, 43}});
    fillOutlined(p, barrel, cylinderAcross(30.4, 33.6, kDarkSteel), kDarkSteel.outline, 0.7);
    fillOutlined(p, polygonPath({{29.6, 42}, {34.4, 42}, {34.4, 45}, {29.6, 45}}),
                 cylinderAcross(29.6, 34.4, kDarkSteel), kDarkSteel.outline, 0.7);
    const QPainterPath turret = ellipsePath({cx, 23}, 7.5, 7.5);
    fillOutlined(p, turret, sphereShading({cx, 23}, 7.5, armour), armour.outline);
    fillOutlined(p, ellipsePath({cx, 23}, 3.0, 3.0), sphereShading({cx, 23}, 3.0, kDarkSteel), armour.outline, 0.6);

    for (double side : {-1.0, 1.0}) lamp(p, {cx + side * 9.5, 4.8}, 1.1, warning);
}

// ship7: a white shuttle, nose down, cyan cockpit windows.
void drawShip7(QPainter& p) {
    const Tone white{QColor(0xffffff), QColor(0xe8ecf2), QColor(0xa8b2c2), QColor(0x2a3140)};
    const QColor heatShield(0x3a3f4a);
    const QColor exhaust(0x8ad0ff);
    const double cx = 32.0;

    for (double x : {cx - 3.0, cx, cx + 3.0}) glow(p, {x, 1.5}, 3.2, exhaust, 0.9);

    const QPainterPath wing = mirroredPolygon(
        cx, {{cx, 6}, {40, 6}, {58.5, 7.5}, {61, 10.5}, {46.5, 24}, {41, 32.5}, {38, 37.5}, {cx, 37.5}});
    plate(p, wing, white, 0.9);
    // Dark heat-resistant leading edges.
    p.save();
    p.setClipPath(wing);
    for (double side : {-1.0, 1.0}) {
        QPainterPath edge;
        edge.moveTo(cx + side * 29, 10.5);
        edge.lineTo(cx + side * 14.5, 24);
        edge.lineTo(cx + side * 9, 32.5);
        edge.lineTo(cx + side * 6, 37.5);
        p.setPen(QPen(heatShield, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(edge);
        line(p, {cx + side * 22, 8}, {cx + side * 22, 12.5}, withAlpha(white.shade, 0.9), 0.5);
        line(p, {cx + side * 10, 8}, {cx + side * 27, 8}, withAlpha(white.shade, 0.9), 0.5);
    }
    p.restore();
    fillOutlined(p, wing, Qt::NoBrush, white.outline);

    // Engine bells and the orbital manoeuvring pods.
    for (double x : {cx - 3.0, cx, cx + 3.0})
        fillOutlined(p, ellipsePath({x, 2.4}, 1.6, 1.6), heatShield, white.outline, 0.5);
    for (double side : {-1.0, 1.0}) {
        QPainterPath pod;
        pod.addRoundedRect(QRectF(cx + side * 6.8 - 1.8, 2.5, 3.6, 8), 1.8, 1.8);
        plate(p, pod, white, 0.5);
    }

    QPainterPath body;
    body.moveTo(cx - 5.2, 3);
    body.lineTo(cx + 5.2, 3);
    body.lineTo(cx + 5.6, 7);
    body.lineTo(cx + 5.6, 33);
    body.cubicTo(cx + 5.6, 40.5, cx + 3.4, 45.5, cx, 47.6);
    body.cubicTo(cx - 3.4, 45.5, cx - 5.6, 40.5, cx - 5.6, 33);
    body.lineTo(cx - 5.6, 7);
    body.closeSubpath();
    fillOutlined(p, body, cylinderAcross(cx - 5.6, cx + 5.6, white), white.outline, 0.0);
    p.save();
    p.setClipPath(body);
    fillOutlined(p, ellipsePath({cx, 47.5}, 4.0, 3.0), heatShield, heatShield, 0.0);
    p.restore();
    fillOutlined(p, body, Qt::NoBrush, white.outline);
    // Payload bay doors.
    for (double x : {cx - 2.4, cx + 2.4}) line(p, {x, 9}, {x, 31}, withAlpha(white.shade, 0.95), 0.6);
    for (double y : {16.0, 23.5}) line(p, {cx - 2.4, y}, {cx + 2.4, y}, withAlpha(white.shade, 0.8), 0.5);

    // The vertical tail, seen from above as a thin blade along the spine.
    const QPainterPath tail =
        polygonPath({{cx - 1.0, 1.0}, {cx + 1.0, 1.0}, {cx + 1.0, 14}, {cx, 16.5}, {cx - 1.0, 14}});
    plate(p, tail, {white.light, white.shade, QColor(0x7a8494), white.outline}, 0.4);

    const QPainterPath windows = polygonPath({{cx - 4.2, 35.5}, {cx + 4.2, 35.5}, {cx + 3.2, 40.2}, {cx - 3.2, 40.2}});
    glass(p, windows, kCyanGlass, white.outline);
    line(p, {cx, 35.8}, {cx, 40}, withAlpha(white.outline, 0.7), 0.5);
}

// ship8: a classic grey flying saucer with a cyan dome and yellow rim lights.
void drawShip8(QPainter& p) {
    const Tone hull{QColor(0xf0f3f6), QColor(0xa8afb8), QColor(0x565d68), QColor(0x1a1e26)};
    const Tone belly{QColor(0x8a919c), QColor(0x5a616c), QColor(0x30353e), QColor(0x1a1e26)};
    const double cx = 32.0;

    hoverGlow(p, {cx, 41}, 15, 5.5);

    const QPainterPath under = ellipsePath({cx, 32.5}, 21, 8.5);
    fillOutlined(p, under, ramp({0, 26}, {0, 41}, {belly.light, belly.base, belly.shade}), belly.outline);
    fillOutlined(p, ellipsePath({cx, 37.5}, 7, 2.6), ramp({0, 35}, {0, 40}, {QColor(0xeaffff), kHoverGlow}),
                 belly.outline, 0.6);

    const QPainterPath disc = ellipsePath({cx, 27.5}, 31, 9.5);
    QLinearGradient discFill(QPointF(0, 18), QPointF(0, 37));
    discFill.setColorAt(0.0, hull.light);
    discFill.setColorAt(0.45, hull.base);
    discFill.setColorAt(0.62, hull.shade);
    discFill.setColorAt(0.75, hull.base);
    discFill.setColorAt(1.0, hull.shade);
    fillOutlined(p, disc, discFill, hull.outline);
    // Upper deck ring.
    const QPainterPath deck = ellipsePath({cx, 25}, 22, 5.5);
    fillOutlined(p, deck, ramp({0, 19.5}, {0, 30.5}, {hull.light, hull.base}), withAlpha(hull.shade, 0.9), 0.7);
    glint(p, {18, 23.5}, 6.0, 1.6, 0.6);

    // The dome: a glass half-bubble on a collar.
    QPainterPath dome;
    dome.moveTo(cx - 12, 25);
    dome.cubicTo(cx - 12, 9, cx + 12, 9, cx + 12, 25);
    dome.cubicTo(cx + 8, 27.5, cx - 8, 27.5, cx - 12, 25);
    dome.closeSubpath();
    QRadialGradient domeFill(QPointF(cx - 4, 15), 16);
    domeFill.setColorAt(0.0, QColor(0xe8ffff));
    domeFill.setColorAt(0.35, kCyanGlass);
    domeFill.setColorAt(1.0, QColor(0x0a5a78));
    fillOutlined(p, dome, domeFill, hull.outline, 0.9);
    glint(p, {cx - 5, 16}, 2.6, 3.2, 0.9);
    glint(p, {cx + 6, 20}, 1.0, 1.2, 0.5);

    // Rim lights round the near half of the disc.
    for (int i = 0; i < 7; ++i) {
        const double a = std::numbers::pi * (0.1 + 0.8 * i / 6.0);
        const QPointF c(cx + 27.0 * std::cos(a), 29.5 + 6.0 * std::sin(a));
        lamp(p, c, 1.2 + 0.5 * std::sin(a), kLampYellow);
    }
}

}  // namespace

std::vector<PictureDef> shipPictures() {
    return {
        {"ship0", {64, 40}, drawShip0}, {"ship1", {60, 45}, drawShip1}, {"ship2", {64, 45}, drawShip2},
        {"ship3", {60, 34}, drawShip3}, {"ship4", {64, 48}, drawShip4}, {"ship5", {64, 48}, drawShip5},
        {"ship6", {64, 48}, drawShip6}, {"ship7", {64, 48}, drawShip7}, {"ship8", {64, 48}, drawShip8},
    };
}

}  // namespace artgen
