#include "platform/qt/TextCache.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextOption>

#include <algorithm>
#include <cmath>

#include "platform/qt/QtSupport.h"

namespace platform::qt {
namespace {

// Beyond this many device pixels a glyph is no longer kept as a picture in
// the painter's glyph cache but filled as an outline (Qt's raster engine).
constexpr qreal kLargestCachedGlyph = 64;

// Lays the text out as QPainter::drawText(box, flags, text) does: lines as
// wide as the box when wrapping, one under another with the font's leading,
// each moved across by the alignment, and no more lines than fill the box.
void LayOut(TextCache::Text& t, const QFont& font) {
    QString text = CaptionText(t.caption);
    for (QChar& c : text) {
        if (c == u'\r' || c == u'\t') c = u' ';
        if (c == u'\n') c = QChar::LineSeparator;
    }
    const bool wrap = t.flags & Qt::TextWordWrap;
    QTextOption option;
    option.setAlignment(Qt::AlignLeft);  // each line is placed below
    option.setTextDirection(Qt::LeftToRight);
    t.layout.setText(text);
    t.layout.setFont(font);
    t.layout.setTextOption(option);
    t.layout.setCacheEnabled(true);
    const qreal lineWidth = wrap ? std::max<qreal>(0, t.box.width()) : 0x01000000;
    const qreal leading = QFontMetricsF(font).leading();
    qreal height = -leading;
    t.layout.beginLayout();
    for (;;) {
        QTextLine line = t.layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(lineWidth);
        height = std::ceil(height + leading);  // each line starts on a whole pixel
        qreal x = 0;
        if (t.flags & Qt::AlignRight)
            x = t.box.width() - line.horizontalAdvance();
        else if (t.flags & Qt::AlignHCenter)
            x = (t.box.width() - line.horizontalAdvance()) / 2;
        line.setPosition(QPointF(x, height));
        height += line.height();
        if (height >= t.box.height()) break;
    }
    t.layout.endLayout();

    t.outlined = font.pixelSize() * t.dpr > kLargestCachedGlyph;
    t.outline = QPainterPath();
    if (!t.outlined) return;
    t.outline.setFillRule(Qt::WindingFill);
    for (const QGlyphRun& run : t.layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> at = run.positions();
        for (qsizetype i = 0; i < glyphs.size(); ++i) t.outline.addPath(raw.pathForGlyph(glyphs[i]).translated(at[i]));
    }
}

}  // namespace

const TextCache::Text& TextCache::text(const Label& label, QSize box, int flags, qreal dpr) {
    auto& slot = texts_[&label];
    if (!slot) slot = std::make_unique<Text>();
    Text& t = *slot;
    if (t.caption == label.Caption.get() && t.font == label.Font.get() && t.box == box && t.flags == flags &&
        t.dpr == dpr)
        return t;
    t.caption = label.Caption;
    t.font = label.Font;
    t.box = box;
    t.flags = flags;
    t.dpr = dpr;
    t.layout.clearLayout();
    LayOut(t, ToQFont(t.font));
    return t;
}

}  // namespace platform::qt
