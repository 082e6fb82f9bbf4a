#pragma once
// Drawing helpers shared by all sprites. Light falls from the upper left in
// every picture; the gradients and bevels below assume it.

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRadialGradient>

#include <initializer_list>

namespace artgen {

// The four tones of one painted surface, from lit to outline.
struct Tone {
    QColor light;
    QColor base;
    QColor shade;
    QColor outline;
};

QColor mix(const QColor& a, const QColor& b, double t);
QColor withAlpha(const QColor& c, double alpha);

QPainterPath polygonPath(std::initializer_list<QPointF> points);
// A closed outline symmetric about the vertical line x = axis. `rightHalf`
// runs from a point on the axis, down the right-hand side, to another point
// on the axis; the left side is its reflection.
QPainterPath mirroredPolygon(double axis, std::initializer_list<QPointF> rightHalf);
// The reflection of `path` in the line x = axis.
QPainterPath reflected(const QPainterPath& path, double axis);
// `half` together with its reflection, as one outline.
QPainterPath withReflection(const QPainterPath& half, double axis);
QPainterPath ellipsePath(QPointF centre, double rx, double ry);

// Evenly spaced colour stops along the line from `from` to `to`.
QLinearGradient ramp(QPointF from, QPointF to, std::initializer_list<QColor> colours);
// The tone's light -> base -> shade along a diagonal across `rect`.
QLinearGradient litAcross(const QRectF& rect, const Tone& tone);
// Light on the left, shade on the right: a cylinder or hull seen from above.
QLinearGradient cylinderAcross(double left, double right, const Tone& tone);
// A ball lit from the upper left.
QRadialGradient sphereShading(QPointF centre, double radius, const Tone& tone);

// Fills `path` and traces its edge in `outline`.
void fillOutlined(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& outline, double width = 1.0);
// Catches the light on the upper-left inner rim of `path` and shades the
// lower-right one: what makes a flat shape read as a raised plate.
void bevel(QPainter& p, const QPainterPath& path, double width, const QColor& lit, const QColor& shadow);
// The width of a bevel and the colours of its lit and shaded rims.
struct Rim {
    double width;
    QColor lit;
    QColor shadow;
};
// A hull part: filled, bevelled, then outlined.
void part(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& outline, const Rim& rim,
          double outlineWidth = 1.0);
// The usual hull part: the tone's gradient, a bevel in its own colours and
// its outline.
void plate(QPainter& p, const QPainterPath& path, const Tone& tone, double bevelWidth = 0.8);

void line(QPainter& p, QPointF a, QPointF b, const QColor& colour, double width = 1.0);
// A soft halo of `colour` fading to nothing at `radius`.
void glow(QPainter& p, QPointF centre, double radius, const QColor& colour, double strength = 0.8);
// A running light: halo, coloured bulb and a white glint.
void lamp(QPainter& p, QPointF centre, double radius, const QColor& colour);
// A small white reflection.
void glint(QPainter& p, QPointF centre, double rx, double ry, double alpha = 0.85);
// A glass canopy or dome filling `path`, dark at the bottom, with a glint.
void glass(QPainter& p, const QPainterPath& path, const QColor& colour, const QColor& outline);

}  // namespace artgen
