#pragma once
// Qt-side helpers shared by the platform's Qt files.

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

#include <string>

#include "platform/Controls.h"
#include "platform/Units.h"

namespace platform::qt {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }

inline QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
inline Color FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// Captions use CRLF between lines.
QString CaptionText(const std::string& caption);

// The font of a control, with the design's font names mapped to the fonts
// the program ships with.
QFont ToQFont(const Font& font);
void InstallFontSubstitutes();

// Pixels of a picture at a device pixel ratio (crisp on high-density screens).
QPixmap PixmapFor(const Picture& picture, qreal devicePixelRatio);
QIcon IconFor(const std::string& name);
QCursor CursorFor(const std::string& name);

}  // namespace platform::qt
