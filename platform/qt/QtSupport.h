#pragma once
// Qt-side helpers shared by the platform's Qt files.

#include <QColor>
#include <QFont>
#include <QString>

#include <string>

#include "platform/core/Controls.h"
#include "platform/core/Units.h"

namespace platform::qt {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }

inline QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
inline Color FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

// Captions use CRLF between lines.
QString CaptionText(const std::string& caption);

// The font of a control at 96 dots per inch, like the twips. The design's
// font names reach installed fonts through the substitutes the game hands
// over at start-up (QtServices).
QFont ToQFont(const Font& font);

}  // namespace platform::qt
