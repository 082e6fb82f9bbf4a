#include "kit.h"

#include <QTransform>
#include <QVector>

#include <algorithm>

namespace artgen {

QColor mix(const QColor& a, const QColor& b, double t) {
    const double u = 1.0 - t;
    return QColor::fromRgbF(
        static_cast<float>(a.redF() * u + b.redF() * t), static_cast<float>(a.greenF() * u + b.greenF() * t),
        static_cast<float>(a.blueF() * u + b.blueF() * t), static_cast<float>(a.alphaF() * u + b.alphaF() * t));
}

QColor withAlpha(const QColor& c, double alpha) {
    QColor result = c;
    result.setAlphaF(static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
    return result;
}

QPainterPath polygonPath(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QVector<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath mirroredPolygon(double axis, std::initializer_list<QPointF> rightHalf) {
    QVector<QPointF> points(rightHalf);
    // Walk back up the left side, skipping the two points on the axis.
    for (auto it = rightHalf.end() - 2; it != rightHalf.begin(); --it)
        points.push_back(QPointF(2.0 * axis - it->x(), it->y()));
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QPainterPath reflected(const QPainterPath& path, double axis) {
    return QTransform(-1.0, 0.0, 0.0, 1.0, 2.0 * axis, 0.0).map(path);
}

QPainterPath withReflection(const QPainterPath& half, double axis) {
    return half.united(reflected(half, axis)).simplified();
}

QPainterPath ellipsePath(QPointF centre, double rx, double ry) {
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

QLinearGradient ramp(QPointF from, QPointF to, std::initializer_list<QColor> colours) {
    QLinearGradient gradient(from, to);
    const auto last = static_cast<double>(colours.size() - 1);
    int i = 0;
    for (const QColor& c : colours) gradient.setColorAt(last > 0 ? i++ / last : 0.0, c);
    return gradient;
}

QLinearGradient litAcross(const QRectF& rect, const Tone& tone) {
    return ramp(rect.topLeft(), rect.bottomRight(), {tone.light, tone.base, tone.shade});
}

QLinearGradient cylinderAcross(double left, double right, const Tone& tone) {
    QLinearGradient gradient(QPointF(left, 0.0), QPointF(right, 0.0));
    gradient.setColorAt(0.0, tone.base);
    gradient.setColorAt(0.3, tone.light);
    gradient.setColorAt(0.65, tone.base);
    gradient.setColorAt(1.0, tone.shade);
    return gradient;
}

QRadialGradient sphereShading(QPointF centre, double radius, const Tone& tone) {
    const QPointF focus = centre + QPointF(-0.4 * radius, -0.45 * radius);
    QRadialGradient gradient(centre, radius, focus);
    gradient.setColorAt(0.0, tone.light);
    gradient.setColorAt(0.55, tone.base);
    gradient.setColorAt(1.0, tone.shade);
    return gradient;
}

void fillOutlined(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& outline, double width) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    if (width > 0.0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(outline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
    }
    p.restore();
}

void bevel(QPainter& p, const QPainterPath& path, double width, const QColor& lit, const QColor& shadow) {
    // The part of the shape a copy shifted towards the lower right leaves
    // uncovered is its upper-left rim, and the other way round.
    const QPainterPath litRim = path.subtracted(path.translated(width, width));
    const QPainterPath shadowRim = path.subtracted(path.translated(-width, -width));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(lit);
    p.drawPath(litRim);
    p.setBrush(shadow);
    p.drawPath(shadowRim);
    p.restore();
}

void part(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& outline, const Rim& rim,
          double outlineWidth) {
    fillOutlined(p, path, fill, outline, 0.0);
    bevel(p, path, rim.width, rim.lit, rim.shadow);
    fillOutlined(p, path, Qt::NoBrush, outline, outlineWidth);
}

void plate(QPainter& p, const QPainterPath& path, const Tone& tone, double bevelWidth) {
    part(p, path, litAcross(path.boundingRect(), tone), tone.outline,
         {bevelWidth, withAlpha(tone.light, 0.9), withAlpha(tone.shade.darker(130), 0.8)});
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& colour, double width) {
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(a, b);
    p.restore();
}

void glow(QPainter& p, QPointF centre, double radius, const QColor& colour, double strength) {
    QRadialGradient gradient(centre, radius);
    gradient.setColorAt(0.0, withAlpha(colour, strength));
    gradient.setColorAt(0.4, withAlpha(colour, strength * 0.45));
    gradient.setColorAt(1.0, withAlpha(colour, 0.0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void lamp(QPainter& p, QPointF centre, double radius, const QColor& colour) {
    glow(p, centre, radius * 2.6, colour, 0.55);
    QRadialGradient bulb(centre, radius, centre - QPointF(radius * 0.35, radius * 0.35));
    bulb.setColorAt(0.0, mix(colour, Qt::white, 0.75));
    bulb.setColorAt(0.6, colour);
    bulb.setColorAt(1.0, colour.darker(140));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(bulb);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

void glint(QPainter& p, QPointF centre, double rx, double ry, double alpha) {
    QRadialGradient gradient(centre, std::max(rx, ry));
    gradient.setColorAt(0.0, withAlpha(Qt::white, alpha));
    gradient.setColorAt(0.6, withAlpha(Qt::white, alpha * 0.6));
    gradient.setColorAt(1.0, withAlpha(Qt::white, 0.0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawEllipse(centre, rx, ry);
    p.restore();
}

void glass(QPainter& p, const QPainterPath& path, const QColor& colour, const QColor& outline) {
    const QRectF r = path.boundingRect();
    QLinearGradient gradient(r.topLeft(), r.bottomRight());
    gradient.setColorAt(0.0, mix(colour, Qt::white, 0.55));
    gradient.setColorAt(0.45, colour);
    gradient.setColorAt(1.0, colour.darker(260));
    fillOutlined(p, path, gradient, outline, 0.8);
    glint(p, r.topLeft() + QPointF(r.width() * 0.32, r.height() * 0.3), r.width() * 0.16, r.height() * 0.13);
}

}  // namespace artgen
