#include <QFontDatabase>
#include <QFontMetricsF>
#include <QRectF>

#include <algorithm>
#include <cmath>

#include "platform/qt/QtSupport.h"
#include "platform/qt/QtText.h"

namespace platform::qt {

QString CaptionText(const std::string& caption) {
    QString text = Q(caption);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QFont ToQFont(const Font& font) {
    QFont f;
    f.setFamily(QFont::substitute(Q(font.Name)));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * 96.0 / 72.0))));
    const int weight = font.Bold ? std::max(700, font.Weight) : font.Weight;
    f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    return f;
}

// A form's font is drawn in the first of its substitutes that is installed,
// and only in that one: given a list of families, Qt asks fontconfig for the
// fallbacks of each font as it loads it; given one family, only when a
// character is missing from it.
void InstallFontSubstitutes(const Resources& resources) {
    for (const Resources::FontSubstitute& s : resources.fonts) {
        for (const std::string& name : s.substitutes) {
            if (QFontDatabase::hasFamily(Q(name))) {
                QFont::insertSubstitution(Q(s.family), Q(name));
                break;
            }
        }
    }
}

TextSize QtText::measure(const Font& font, const std::string& text, float wrapWidth) {
    const QFontMetricsF fm(ToQFont(font));
    const QString s = CaptionText(text);
    if (wrapWidth > 0) {
        const QRectF r = fm.boundingRect(QRectF(0, 0, wrapWidth / kTwipsPerPixel, 1e6),
                                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, s);
        return {wrapWidth, PixelsToTwips(std::ceil(r.height()))};
    }
    const QRectF r = fm.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, s);
    return {PixelsToTwips(std::ceil(r.width())), PixelsToTwips(std::ceil(std::max(r.height(), fm.height())))};
}

}  // namespace platform::qt
