#pragma once
// The points a form draws with PSet: an image in device pixels beneath the
// controls, as large as the client area.

#include <QImage>

#include "platform/Units.h"

namespace platform::qt {

class PointSurface {
public:
    // Fits the surface to a client area of `size` pixels at a device pixel
    // ratio; points already drawn stay where they are.
    void resize(QSize size, qreal devicePixelRatio);
    void clear(Color back);
    // One point of `widthPx` pixels, centred on (x, y) in twips; points off
    // the surface are dropped.
    void plot(float x, float y, Color color, int widthPx);
    // The colour at (x, y) in twips; -1 off the surface.
    Color pointAt(float x, float y) const;
    const QImage& image() const { return image_; }

private:
    QImage image_;
    Color back_ = 0;
};

}  // namespace platform::qt
