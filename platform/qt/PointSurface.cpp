#include "platform/qt/PointSurface.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/qt/QtSupport.h"

namespace platform::qt {

void PointSurface::resize(QSize size, qreal dpr) {
    const QSize want(static_cast<int>(std::ceil(size.width() * dpr)), static_cast<int>(std::ceil(size.height() * dpr)));
    if (image_.size() == want && image_.devicePixelRatio() == dpr) return;
    QImage next(want, QImage::Format_RGB32);
    next.fill(ToQColor(back_));
    if (!image_.isNull()) {
        QPainter p(&next);
        p.drawImage(0, 0, image_);
    }
    next.setDevicePixelRatio(dpr);
    image_ = next;
}

void PointSurface::clear(Color back) {
    back_ = back;
    image_.fill(ToQColor(back));
}

void PointSurface::plot(float x, float y, Color color, int widthPx) {
    const qreal dpr = image_.devicePixelRatio();
    const double px = x / kTwipsPerPixel, py = y / kTwipsPerPixel;
    const int size = std::max(1, widthPx);
    // The point's pixel square, centred on the position for wider points.
    const int x0 = static_cast<int>(std::floor((px - (size - 1) / 2.0) * dpr));
    const int y0 = static_cast<int>(std::floor((py - (size - 1) / 2.0) * dpr));
    const int n = static_cast<int>(std::lround(size * dpr));
    const QRgb rgb = ToQColor(color).rgb();
    for (int yy = std::max(0, y0); yy < std::min(image_.height(), y0 + n); ++yy) {
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(yy));
        for (int xx = std::max(0, x0); xx < std::min(image_.width(), x0 + n); ++xx) line[xx] = rgb;
    }
}

Color PointSurface::pointAt(float x, float y) const {
    const qreal dpr = image_.devicePixelRatio();
    const int px = static_cast<int>(std::floor(x / kTwipsPerPixel * dpr)),
              py = static_cast<int>(std::floor(y / kTwipsPerPixel * dpr));
    if (px < 0 || py < 0 || px >= image_.width() || py >= image_.height()) return static_cast<Color>(-1);
    return FromQColor(QColor(image_.pixel(px, py)));
}

}  // namespace platform::qt
