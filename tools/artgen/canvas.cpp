#include "canvas.h"

#include <QTransform>

#include <algorithm>
#include <cmath>

namespace artgen {

QImage renderPicture(const PictureDef& def, int scale) {
    QImage image(def.size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    def.draw(painter);
    painter.end();
    return image;
}

bool savePng(const QImage& image, const QString& path) {
    return image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG");
}

Rgba premultiplied(const QColor& colour, double alpha) {
    const double a = std::clamp(colour.alphaF() * alpha, 0.0, 1.0);
    return {colour.redF() * a, colour.greenF() * a, colour.blueF() * a, a};
}

Rgba over(const Rgba& top, const Rgba& bottom) {
    const double k = 1.0 - top.a;
    return {top.r + bottom.r * k, top.g + bottom.g * k, top.b + bottom.b * k, top.a + bottom.a * k};
}

Rgba scaled(const Rgba& c, double factor) { return {c.r * factor, c.g * factor, c.b * factor, c.a * factor}; }

namespace {

int toByte(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); }

}  // namespace

void paintField(QPainter& painter, const QRectF& area, const Field& field) {
    const QTransform toDevice = painter.deviceTransform();
    const QTransform toPicture = toDevice.inverted();
    const QRect bounds(0, 0, painter.device()->width(), painter.device()->height());
    const QRect target = toDevice.mapRect(area).toAlignedRect().intersected(bounds);
    if (target.isEmpty()) return;

    constexpr int kSamples = 4;
    QImage layer(target.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < target.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < target.width(); ++x) {
            Rgba sum;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const QPointF device(target.x() + x + (sx + 0.5) / kSamples,
                                         target.y() + y + (sy + 0.5) / kSamples);
                    const QPointF p = toPicture.map(device);
                    const Rgba c = field(p.x(), p.y());
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                    sum.a += c.a;
                }
            }
            const Rgba mean = scaled(sum, 1.0 / (kSamples * kSamples));
            const double a = std::clamp(mean.a, 0.0, 1.0);
            // Premultiplied storage needs every channel at most alpha.
            line[x] =
                qRgba(toByte(std::min(mean.r, a)), toByte(std::min(mean.g, a)), toByte(std::min(mean.b, a)), toByte(a));
        }
    }
    painter.save();
    painter.resetTransform();
    painter.drawImage(target.topLeft(), layer);
    painter.restore();
}

}  // namespace artgen
