#pragma once
// A picture is a drawing function in its own 1x pixel coordinates; it is
// rendered at any whole scale from that one source, so the @2x files are
// drawn crisp rather than enlarged.

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>

#include <functional>
#include <string>

namespace artgen {

struct PictureDef {
    std::string name;                     // file name without extension, e.g. "ship3"
    QSize size;                           // pixels at scale 1
    std::function<void(QPainter&)> draw;  // paints in scale-1 pixel coordinates
};

// A transparent image of def.size * scale with the picture painted on it.
QImage renderPicture(const PictureDef& def, int scale);

// Writes a PNG; false if the file could not be written.
bool savePng(const QImage& image, const QString& path);

// A premultiplied colour with components in [0, 1].
struct Rgba {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 0.0;
};

Rgba premultiplied(const QColor& colour, double alpha = 1.0);
// `top` composited over `bottom`.
Rgba over(const Rgba& top, const Rgba& bottom);
Rgba scaled(const Rgba& c, double factor);

// A colour for each point in picture coordinates: how glows, fire, smoke and
// the planet are drawn, where vector shapes would look stiff.
using Field = std::function<Rgba(double x, double y)>;

// Paints `field` over `area` (picture coordinates), evaluated at the
// resolution the painter draws at, 4x4 samples per device pixel. The sample
// grid is symmetric inside each pixel, so a field symmetric about a pixel
// centre renders exactly symmetric.
void paintField(QPainter& painter, const QRectF& area, const Field& field);

}  // namespace artgen
