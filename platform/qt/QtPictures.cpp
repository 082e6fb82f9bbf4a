// The one place that reads the game's pictures, icons and cursors.

#include <QFile>
#include <QImageReader>

#include "platform/qt/QtPictures.h"
#include "platform/qt/QtSupport.h"

namespace platform::qt {
namespace {

// Every picture, icon and cursor of the game is a PNG. Read as one, Qt goes
// straight to its PNG reader instead of loading each image plugin it has
// (SVG, JPEG, GIF, ICO) to ask whether it reads the file.
QImage ReadPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QSize PngSize(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.size();
}

QPixmap PngPixmap(const QString& path) { return QPixmap::fromImage(ReadPng(path)); }

}  // namespace

QString QtPictures::picturePath(const std::string& name, bool dense) const {
    return QStringLiteral("%1/%2%3.png")
        .arg(Q(resources_.pictures), Q(name), dense ? QStringLiteral("@2x") : QString());
}

Picture QtPictures::load(std::string_view name) {
    const std::string key(name);
    const QString path = picturePath(key, false);
    auto it = sizes_.find(path);
    if (it == sizes_.end()) it = sizes_.insert(path, PngSize(path));
    if (!it->isValid()) return {};
    return Picture{key, it->width(), it->height()};
}

const QPixmap& QtPictures::pixmap(const Picture& picture, qreal dpr) {
    const bool dense = dpr > 1.01;
    auto& pixmaps = dense ? dense_ : plain_;
    auto it = pixmaps.find(picture.name);
    if (it == pixmaps.end()) {
        QString path = picturePath(picture.name, dense);
        if (dense && !QFile::exists(path)) path = picturePath(picture.name, false);
        QPixmap pm = PngPixmap(path);
        if (path.endsWith(QLatin1String("@2x.png"))) pm.setDevicePixelRatio(2.0);
        it = pixmaps.emplace(picture.name, pm).first;
    }
    return it->second;
}

// Every window of a form asks again at each load (New Game loads the main
// window afresh); one icon and one cursor of each name serve them all, so
// their pictures are read once and not kept again for each window.
QIcon QtPictures::icon(const std::string& name) const {
    auto [it, added] = icons_.try_emplace(name);
    if (!added || name.empty()) return it->second;
    for (int size : resources_.iconSizes) {
        const QString path = QStringLiteral("%1/%2%3.png").arg(Q(resources_.icons), Q(name)).arg(size);
        if (const QImage image = ReadPng(path); image.size() == QSize(size, size))
            it->second.addPixmap(QPixmap::fromImage(image));
    }
    return it->second;
}

QCursor QtPictures::cursor(const std::string& name) const {
    auto it = cursors_.find(name);
    if (it == cursors_.end()) it = cursors_.emplace(name, readCursor(name)).first;
    return it->second;
}

QCursor QtPictures::readCursor(const std::string& name) const {
    if (name.empty()) return QCursor(Qt::ArrowCursor);
    for (const Resources::Cursor& c : resources_.cursorList) {
        if (c.name != name) continue;
        const QString base = QStringLiteral("%1/%2").arg(Q(resources_.cursors), Q(name));
        QPixmap dense = PngPixmap(base + QStringLiteral("@2x.png"));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(2.0);
            return QCursor(dense, c.hotX, c.hotY);
        }
        const QPixmap plain = PngPixmap(base + QStringLiteral(".png"));
        if (!plain.isNull()) return QCursor(plain, c.hotX, c.hotY);
    }
    return QCursor(Qt::CrossCursor);  // a game cursor that is missing still aims
}

}  // namespace platform::qt
