#pragma once
// The points a form draws with PSet, beneath the controls, over the whole
// client area in its back colour.
//
// The game draws a thousand points on a cleared surface ten times a second,
// so the surface keeps them as a list of small squares in device pixels and
// paints the back colour and then each square, in the order drawn: no
// screen-sized image is kept, cleared or copied, and resizing costs nothing.
// Reading a colour back (Point), or a list grown far beyond a screenful,
// turns the list into an image, which the next clear lets go again.

#include <QImage>
#include <QRect>

#include <vector>

#include "platform/core/Units.h"

class QPainter;

namespace platform::qt {

class PointSurface {
public:
    // Fits the surface to a client area of `size` pixels at a device pixel
    // ratio; points already drawn stay where they are, the parts of them
    // beyond the new edges are gone.
    void resize(QSize size, qreal devicePixelRatio);
    void clear(Color back);
    // One point of `widthPx` pixels, centred on (x, y) in twips; points off
    // the surface are dropped.
    void plot(float x, float y, Color color, int widthPx);
    // The colour at (x, y) in twips; -1 off the surface.
    Color pointAt(float x, float y) const;

    // Paints the part of the surface inside `area` (pixels of the client
    // area) at the painter's origin, covering every pixel of it.
    void paint(QPainter& painter, const QRect& area) const;
    // The part of the client area (pixels) that changed since the last call.
    QRect takeChanged() const;

private:
    struct Square {
        QRect device;  // device pixels, inside the surface
        Color color;
    };
    void toImage() const;
    QRect clientRect(const QRect& device) const;
    void changed(const QRect& device);

    QSize size_;  // device pixels
    qreal dpr_ = 1.0;
    Color back_ = 0;
    // Either the squares drawn since the last clear, or (image_ not null) all
    // of it as an image; mutable because reading a colour may turn one into
    // the other.
    mutable std::vector<Square> squares_;
    mutable QImage image_;
    // Device pixels; taken by the window's repaint through the read-only
    // surface the window hands out.
    mutable QRect changed_;
};

}  // namespace platform::qt
