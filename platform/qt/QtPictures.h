#pragma once
// The game's pictures, icons and cursors on Qt.

#include <QCursor>
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>

#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/core/Resources.h"
#include "platform/core/Services.h"

namespace platform::qt {

// The game's pictures, icons and cursors, read from where the game's
// resources say they are, each read once.
class QtPictures final : public PictureLoader {
public:
    explicit QtPictures(const Resources& resources) : resources_(resources) {}
    Picture load(std::string_view name) override;
    // The picture's pixels for a screen of that device pixel ratio. Every
    // repaint asks for each sprite, so after the first time this is one
    // look-up by name.
    const QPixmap& pixmap(const Picture& picture, qreal devicePixelRatio);
    QIcon icon(const std::string& name) const;
    QCursor cursor(const std::string& name) const;

private:
    QString picturePath(const std::string& name, bool dense) const;
    QCursor readCursor(const std::string& name) const;
    Resources resources_;
    QHash<QString, QSize> sizes_;
    mutable std::unordered_map<std::string, QIcon> icons_;
    mutable std::unordered_map<std::string, QCursor> cursors_;
    // By picture name: as drawn on ordinary screens, and on dense ones (the
    // @2x picture where there is one).
    std::unordered_map<std::string, QPixmap> plain_, dense_;
};

}  // namespace platform::qt
