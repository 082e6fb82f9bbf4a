// The one place that loads the game's pictures, icon and cursor from the
// resources compiled into the program.

#include <QFile>
#include <QHash>
#include <QImageReader>

#include "platform/Picture.h"
#include "platform/qt/QtSupport.h"

namespace platform {
namespace {

QString PicturePath(const std::string& name, bool hiDpi) {
    return QStringLiteral(":/pictures/%1%2.png").arg(qt::Q(name), hiDpi ? QStringLiteral("@2x") : QString());
}

// The reticle's hot spot: the centre of its rings.
constexpr int kCursorHotSpot = 15;

}  // namespace

Picture LoadPicture(std::string_view name) {
    static QHash<QString, QSize> sizes;
    const std::string key(name);
    const QString path = PicturePath(key, false);
    auto it = sizes.find(path);
    if (it == sizes.end()) it = sizes.insert(path, QImageReader(path).size());
    if (!it->isValid()) return {};
    return Picture{key, it->width(), it->height()};
}

namespace qt {

QPixmap PixmapFor(const Picture& picture, qreal dpr) {
    static QHash<QString, QPixmap> cache;
    const bool hiDpi = dpr > 1.01;
    QString path = PicturePath(picture.name, hiDpi);
    if (hiDpi && !QFile::exists(path)) path = PicturePath(picture.name, false);
    auto it = cache.find(path);
    if (it == cache.end()) {
        QPixmap pm(path);
        if (path.contains(QLatin1String("@2x"))) pm.setDevicePixelRatio(2.0);
        it = cache.insert(path, pm);
    }
    return *it;
}

QIcon IconFor(const std::string& name) {
    QIcon icon;
    if (name.empty()) return icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString path = QStringLiteral(":/icon/%1%2.png").arg(Q(name)).arg(size);
        if (QFile::exists(path)) icon.addFile(path, QSize(size, size));
    }
    return icon;
}

QCursor CursorFor(const std::string& name) {
    if (name.empty()) return QCursor(Qt::ArrowCursor);
    QPixmap pm(QStringLiteral(":/cursor/%1.png").arg(Q(name)));
    if (pm.isNull()) return QCursor(Qt::CrossCursor);
    const QString hi = QStringLiteral(":/cursor/%1@2x.png").arg(Q(name));
    if (QFile::exists(hi)) {
        QPixmap pm2(hi);
        pm2.setDevicePixelRatio(2.0);
        return QCursor(pm2, kCursorHotSpot, kCursorHotSpot);
    }
    return QCursor(pm, kCursorHotSpot, kCursorHotSpot);
}

}  // namespace qt
}  // namespace platform
