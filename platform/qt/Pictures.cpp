// The one place that reads the game's pictures, icons and cursors.

#include <QFile>
#include <QImageReader>

#include "platform/qt/QtServices.h"
#include "platform/qt/QtSupport.h"

namespace platform::qt {

QString QtPictures::picturePath(const std::string& name, bool dense) const {
    return QStringLiteral("%1/%2%3.png")
        .arg(Q(resources_.pictures), Q(name), dense ? QStringLiteral("@2x") : QString());
}

Picture QtPictures::load(std::string_view name) {
    const std::string key(name);
    const QString path = picturePath(key, false);
    auto it = sizes_.find(path);
    if (it == sizes_.end()) it = sizes_.insert(path, QImageReader(path).size());
    if (!it->isValid()) return {};
    return Picture{key, it->width(), it->height()};
}

QPixmap QtPictures::pixmap(const Picture& picture, qreal dpr) {
    const bool dense = dpr > 1.01;
    QString path = picturePath(picture.name, dense);
    if (dense && !QFile::exists(path)) path = picturePath(picture.name, false);
    auto it = pixmaps_.find(path);
    if (it == pixmaps_.end()) {
        QPixmap pm(path);
        if (path.endsWith(QLatin1String("@2x.png"))) pm.setDevicePixelRatio(2.0);
        it = pixmaps_.insert(path, pm);
    }
    return *it;
}

QIcon QtPictures::icon(const std::string& name) const {
    QIcon icon;
    if (name.empty()) return icon;
    for (int size : resources_.iconSizes) {
        const QString path = QStringLiteral("%1/%2%3.png").arg(Q(resources_.icons), Q(name)).arg(size);
        if (QFile::exists(path)) icon.addFile(path, QSize(size, size));
    }
    return icon;
}

QCursor QtPictures::cursor(const std::string& name) const {
    if (name.empty()) return QCursor(Qt::ArrowCursor);
    for (const Resources::Cursor& c : resources_.cursorList) {
        if (c.name != name) continue;
        const QString base = QStringLiteral("%1/%2").arg(Q(resources_.cursors), Q(name));
        QPixmap dense(base + QStringLiteral("@2x.png"));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(2.0);
            return QCursor(dense, c.hotX, c.hotY);
        }
        const QPixmap plain(base + QStringLiteral(".png"));
        if (!plain.isNull()) return QCursor(plain, c.hotX, c.hotY);
    }
    return QCursor(Qt::CrossCursor);  // a game cursor that is missing still aims
}

}  // namespace platform::qt
