#include <QFontMetricsF>
#include <QRectF>

#include <cmath>

#include "platform/TextMetrics.h"
#include "platform/qt/QtSupport.h"

namespace platform {
namespace qt {

QString CaptionText(const std::string& caption) {
    QString text = Q(caption);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

// Fonts come from Debian packages that the set-up installs, so the text looks
// the same on every machine: a plain sans serif for the classic dialog font
// (fonts-liberation) and, for the title, OCR-A (fonts-ocr-a), whose
// machine-readable look is close to the computer display face it stands for.
void InstallFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("Westminster"),
        {QStringLiteral("OCRA"), QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
}

QFont ToQFont(const Font& font) {
    QFont f(Q(font.Name));
    // Points at 96 dots per inch, like the twips.
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.Size * 96.0 / 72.0))));
    const int weight = font.Bold ? std::max(700, font.Weight) : font.Weight;
    f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    return f;
}

}  // namespace qt

TextSize MeasureText(const Font& font, const std::string& text, float wrapWidth) {
    const QFontMetricsF fm(qt::ToQFont(font));
    const QString s = qt::CaptionText(text);
    if (wrapWidth > 0) {
        const QRectF r = fm.boundingRect(QRectF(0, 0, wrapWidth / kTwipsPerPixel, 1e6),
                                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, s);
        return {wrapWidth, PixelsToTwips(std::ceil(r.height()))};
    }
    const QRectF r = fm.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, s);
    return {PixelsToTwips(std::ceil(r.width())), PixelsToTwips(std::ceil(std::max(r.height(), fm.height())))};
}

}  // namespace platform
