#include "platform/qt/PointSurface.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "platform/qt/QtSupport.h"

namespace platform::qt {
namespace {

// Far more points than the game draws between two clears (a thousand), few
// enough that painting them stays cheaper than copying a screen-sized image.
constexpr std::size_t kMostSquares = 20000;

void Fill(QImage& image, const QRect& r, QRgb rgb) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line + r.left(), line + r.right() + 1, rgb);
    }
}

}  // namespace

void PointSurface::resize(QSize size, qreal dpr) {
    const QSize want(static_cast<int>(std::ceil(size.width() * dpr)), static_cast<int>(std::ceil(size.height() * dpr)));
    if (want == size_ && dpr == dpr_) return;
    size_ = want;
    dpr_ = dpr;
    const QRect area(QPoint(0, 0), size_);
    if (!image_.isNull()) {
        // Device pixels stay where they are; what lies past the new edges goes.
        QImage next(want, QImage::Format_RGB32);
        next.fill(ToQColor(back_));
        const int w = std::min(next.width(), image_.width()), h = std::min(next.height(), image_.height());
        for (int y = 0; y < h; ++y)
            std::memcpy(next.scanLine(y), image_.constScanLine(y), static_cast<std::size_t>(w) * sizeof(QRgb));
        next.setDevicePixelRatio(dpr);
        image_ = next;
    } else {
        for (Square& s : squares_) s.device &= area;
        std::erase_if(squares_, [](const Square& s) { return s.device.isEmpty(); });
    }
    changed(area);
}

void PointSurface::clear(Color back) {
    back_ = back;
    squares_.clear();
    image_ = QImage();
    changed(QRect(QPoint(0, 0), size_));
}

void PointSurface::plot(float x, float y, Color color, int widthPx) {
    const double px = x / kTwipsPerPixel, py = y / kTwipsPerPixel;
    const int size = std::max(1, widthPx);
    // The point's pixel square, centred on the position for wider points.
    const int x0 = static_cast<int>(std::floor((px - (size - 1) / 2.0) * dpr_));
    const int y0 = static_cast<int>(std::floor((py - (size - 1) / 2.0) * dpr_));
    const int n = static_cast<int>(std::lround(size * dpr_));
    const QRect square = QRect(x0, y0, n, n) & QRect(QPoint(0, 0), size_);
    if (square.isEmpty()) return;
    if (!image_.isNull()) {
        Fill(image_, square, ToQColor(color).rgb());
    } else {
        squares_.push_back({square, color});
        if (squares_.size() > kMostSquares) toImage();
    }
    changed(square);
}

Color PointSurface::pointAt(float x, float y) const {
    const int px = static_cast<int>(std::floor(x / kTwipsPerPixel * dpr_)),
              py = static_cast<int>(std::floor(y / kTwipsPerPixel * dpr_));
    if (px < 0 || py < 0 || px >= size_.width() || py >= size_.height()) return static_cast<Color>(-1);
    toImage();  // a caller that reads one colour tends to read many
    return FromQColor(QColor(image_.pixel(px, py)));
}

void PointSurface::toImage() const {
    if (!image_.isNull() || size_.isEmpty()) return;
    image_ = QImage(size_, QImage::Format_RGB32);
    image_.fill(ToQColor(back_));
    for (const Square& s : squares_) Fill(image_, s.device, ToQColor(s.color).rgb());
    image_.setDevicePixelRatio(dpr_);
    squares_.clear();
    squares_.shrink_to_fit();
}

void PointSurface::paint(QPainter& p, const QRect& area) const {
    if (!image_.isNull()) {
        p.drawImage(area, image_, QRectF(area.x() * dpr_, area.y() * dpr_, area.width() * dpr_, area.height() * dpr_));
        return;
    }
    p.fillRect(area, ToQColor(back_));
    const QRect device =
        QRectF(area.x() * dpr_, area.y() * dpr_, area.width() * dpr_, area.height() * dpr_).toAlignedRect();
    const bool whole = dpr_ == 1.0;
    for (const Square& s : squares_) {
        if (!s.device.intersects(device)) continue;
        if (whole)
            p.fillRect(s.device, ToQColor(s.color));
        else
            p.fillRect(
                QRectF(s.device.x() / dpr_, s.device.y() / dpr_, s.device.width() / dpr_, s.device.height() / dpr_),
                ToQColor(s.color));
    }
}

QRect PointSurface::clientRect(const QRect& device) const {
    return QRectF(device.x() / dpr_, device.y() / dpr_, device.width() / dpr_, device.height() / dpr_).toAlignedRect();
}

void PointSurface::changed(const QRect& device) { changed_ |= device; }

QRect PointSurface::takeChanged() const { return clientRect(std::exchange(changed_, QRect())); }

}  // namespace platform::qt
