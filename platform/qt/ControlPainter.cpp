#include "platform/qt/ControlPainter.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "platform/qt/QtSupport.h"
#include "platform/qt/QtWindows.h"

namespace platform::qt {
namespace {

// Beyond this many device pixels a glyph is no longer kept as a picture in
// the painter's glyph cache but filled as an outline (Qt's raster engine).
constexpr qreal kLargestCachedGlyph = 64;

// A raised or sunken 3-D edge like a classic push button's.
void Bevel(QPainter& p, const QRect& r, bool sunken) {
    const QColor light(255, 255, 255), mid(128, 128, 128), dark(0, 0, 0);
    const QColor tl1 = sunken ? dark : light, br1 = sunken ? light : dark;
    const QColor tl2 = sunken ? mid : QColor(223, 223, 223), br2 = sunken ? QColor(223, 223, 223) : mid;
    p.setPen(tl1);
    p.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
    p.drawLine(r.topLeft(), r.bottomLeft() - QPoint(0, 1));
    p.setPen(br1);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    const QRect in = r.adjusted(1, 1, -1, -1);
    p.setPen(tl2);
    p.drawLine(in.topLeft(), in.topRight() - QPoint(1, 0));
    p.drawLine(in.topLeft(), in.bottomLeft() - QPoint(0, 1));
    p.setPen(br2);
    p.drawLine(in.bottomLeft(), in.bottomRight());
    p.drawLine(in.topRight(), in.bottomRight());
}

int HorizontalFlag(Alignment a) {
    switch (a) {
    case Alignment::RightJustify: return Qt::AlignRight;
    case Alignment::Center: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

int LabelFlags(const Label& lbl) {
    return HorizontalFlag(lbl.Align) | Qt::AlignTop | (lbl.WordWrap ? Qt::TextWordWrap : 0);
}

// Where a label's text goes inside its rectangle: within the border, if it has one.
QRect LabelTextRect(const Label& lbl, const QRect& r) { return lbl.BorderSingle ? r.adjusted(2, 1, -2, -1) : r; }

QRect PixelRect(const RectControl& c, QPoint origin) {
    return QRect(origin.x() + TwipsToPixels(c.Left), origin.y() + TwipsToPixels(c.Top), TwipsToPixels(c.Width),
                 TwipsToPixels(c.Height));
}

// Where a frame's caption goes, over its top edge; a long one reaches past the frame.
QRect FrameCaptionRect(const Frame& frame, const QRect& r) {
    const QString caption = CaptionText(frame.Caption);
    if (caption.isEmpty()) return QRect();
    const QFontMetrics fm(ToQFont(frame.Font));
    return QRect(r.left() + 6, r.top(), fm.horizontalAdvance(caption) + 4, fm.height());
}

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

QRect QtControlPainter::pixelRect(const RectControl& c) const { return PixelRect(c, origin_); }

void QtControlPainter::enterFrame(const Frame& frame) {
    const QRect r = pixelRect(frame);
    p_.save();
    p_.setClipRect(r);
    origin_ = r.topLeft();
    clip_ = area_ & r;
}

void QtControlPainter::leaveFrame() {
    p_.restore();
    origin_ = QPoint();
    clip_ = area_;
}

void QtControlPainter::visit(Image& img) {
    if (img.Picture.get().empty()) return;
    const QPixmap& pm = pictures_.pixmap(img.Picture, p_.device()->devicePixelRatioF());
    const QPoint at = pixelRect(img).topLeft();
    if (outside(QRect(at, pm.deviceIndependentSize().toSize()))) return;
    p_.drawPixmap(at, pm);
}

void QtControlPainter::visit(Label& lbl) {
    const QRect r = pixelRect(lbl);
    if (outside(r)) return;
    if (!lbl.Transparent) p_.fillRect(r, ToQColor(lbl.BackColor));
    if (lbl.BorderSingle) Bevel(p_, r, true);
    const QRect textRect = LabelTextRect(lbl, r);
    if (lbl.Caption.get().empty() || outside(textRect)) return;
    const TextCache::Text& text = texts_.text(lbl, textRect.size(), LabelFlags(lbl), p_.device()->devicePixelRatioF());
    p_.save();
    p_.setClipRect(textRect, Qt::IntersectClip);  // long text stays inside the border
    if (text.outlined) {
        p_.setRenderHint(QPainter::Antialiasing, true);
        p_.fillPath(text.outline.translated(textRect.topLeft()), ToQColor(lbl.ForeColor));
    } else {
        p_.setPen(ToQColor(lbl.ForeColor));
        text.layout.draw(&p_, textRect.topLeft());
    }
    p_.restore();
}

void QtControlPainter::visit(Shape& shp) {
    const QRect r = pixelRect(shp);
    if (outside(r)) return;
    if (shp.FillSolid) p_.fillRect(r, ToQColor(shp.FillColor));
    if (shp.BorderSolid && r.width() > 0 && r.height() > 0) {
        const int w = std::max(1, static_cast<int>(shp.BorderWidth));
        QPen pen(ToQColor(shp.BorderColor), w);
        pen.setJoinStyle(Qt::MiterJoin);
        p_.setPen(pen);
        p_.setBrush(Qt::NoBrush);
        const qreal inset = w / 2.0;
        p_.drawRect(QRectF(r).adjusted(inset, inset, -inset, -inset));
    }
}

void QtControlPainter::visit(Line& line) {
    const int w = std::max(1, static_cast<int>(line.BorderWidth));
    p_.save();
    p_.setRenderHint(QPainter::Antialiasing, w > 1);
    p_.setPen(QPen(ToQColor(line.BorderColor), w, Qt::SolidLine, Qt::RoundCap));
    const qreal off = (w % 2) ? 0.5 : 0.0;
    auto at = [this, off](float x, float y) {
        return QPointF(origin_.x() + x / qreal{kTwipsPerPixel} + off, origin_.y() + y / qreal{kTwipsPerPixel} + off);
    };
    p_.drawLine(at(line.X1, line.Y1), at(line.X2, line.Y2));
    p_.restore();
}

void QtControlPainter::visit(Frame& frame) {
    const QRect r = pixelRect(frame);
    if (outside(r)) return;
    p_.fillRect(r, ToQColor(frame.BackColor));
    const QFont f = ToQFont(frame.Font);
    const QFontMetrics fm(f);
    const int top = r.top() + fm.height() / 2;
    const QRect box(r.left(), top, r.width() - 1, r.bottom() - top - 1);
    p_.setPen(QColor(128, 128, 128));
    p_.drawRect(box);
    p_.setPen(QColor(255, 255, 255));
    p_.drawRect(box.translated(1, 1));
    const QString caption = CaptionText(frame.Caption);
    if (!caption.isEmpty()) {
        const QRect cap = FrameCaptionRect(frame, r);
        p_.fillRect(cap, ToQColor(frame.BackColor));
        p_.setFont(f);
        p_.setPen(ToQColor(frame.ForeColor));
        p_.drawText(cap, Qt::AlignCenter, caption);
    }
}

void QtControlPainter::visit(CommandButton& btn) {
    const QRect r = pixelRect(btn);
    if (outside(r)) return;
    const bool pressed = pressed_ == &btn;
    p_.fillRect(r, ToQColor(btn.BackColor));
    Bevel(p_, r, pressed);
    p_.setFont(ToQFont(btn.Font));
    p_.setPen(ToQColor(btn.Enabled ? btn.ForeColor : 0x808080));
    p_.drawText(r.translated(pressed ? 1 : 0, pressed ? 1 : 0), Qt::AlignCenter | Qt::TextShowMnemonic,
                CaptionText(btn.Caption));
}

void QtControlPainter::visit(OptionButton& opt) {
    const QRect r = pixelRect(opt);
    if (outside(r)) return;
    const bool down = opt.Value || pressed_ == &opt;
    p_.fillRect(r, ToQColor(opt.BackColor));
    if (opt.Value) {
        // A selected graphical button shows a fine light checker over its colour,
        // like a latched push button.
        p_.fillRect(r.adjusted(2, 2, -2, -2), QBrush(QColor(255, 255, 255, 110), Qt::Dense4Pattern));
    }
    Bevel(p_, r, down);
    const QPoint shift(down ? 1 : 0, down ? 1 : 0);
    p_.setFont(ToQFont(opt.Font));
    const QFontMetrics fm(p_.font());
    // The caption sits under the picture, or in the middle without one.
    const bool hasPicture = !opt.Picture.get().empty();
    const QRect textRect = hasPicture ? QRect(r.left(), r.bottom() - fm.height() - 3, r.width(), fm.height()) : r;
    if (hasPicture) {
        const QPixmap& pm = pictures_.pixmap(opt.Picture, p_.device()->devicePixelRatioF());
        const QSizeF ps = pm.deviceIndependentSize();
        const int areaTop = r.top() + 3, areaBottom = textRect.top();
        const QPointF at(r.left() + (r.width() - ps.width()) / 2.0,
                         areaTop + std::max(0.0, (areaBottom - areaTop - ps.height()) / 2.0));
        p_.drawPixmap(at + shift, pm);
    }
    p_.setPen(ToQColor(opt.ForeColor));
    p_.drawText(textRect.translated(shift), Qt::AlignCenter | Qt::TextShowMnemonic, CaptionText(opt.Caption));
}

// --- Scenes ------------------------------------------------------------------

namespace {

// A control's looks as bytes: everything its painting above reads.
class Look {
public:
    template <class T>
    Look& operator<<(const T& v) requires std::is_trivially_copyable_v<T> {
        bytes_.append(reinterpret_cast<const char*>(&v), sizeof v);
        return *this;
    }
    Look& operator<<(const std::string& s) { return *this << s.size(), bytes_.append(s), *this; }
    Look& operator<<(const Font& f) { return *this << f.Name << f.Size << f.Bold << f.Weight; }
    Look& operator<<(const Picture& p) { return *this << p.name << p.widthPx << p.heightPx; }
    Look& operator<<(const QRect& r) { return *this << r.x() << r.y() << r.width() << r.height(); }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

}  // namespace

class SceneRecorder final : public ControlPainter {
public:
    SceneRecorder(Scene& scene, const Control* pressed) : scene_(scene), pressed_(pressed) {}

    void visit(Image& c) override {
        const QRect r = rect(c);
        Look look;
        look << r << c.Picture.get();
        // A picture is drawn at its own size, whatever the control's.
        add(c, r | QRect(r.topLeft(), QSize(c.Picture.get().widthPx, c.Picture.get().heightPx)), look);
    }
    void visit(Label& c) override {
        Look look;
        look << c.Caption.get() << c.ForeColor.get() << c.BackColor.get() << c.Transparent.get() << c.Align.get()
             << c.BorderSingle.get() << c.WordWrap.get() << c.Font.get();
        add(c, rect(c), look);
    }
    void visit(Shape& c) override {
        Look look;
        look << c.BorderColor.get() << c.BorderSolid.get() << c.BorderWidth.get() << c.FillColor.get()
             << c.FillSolid.get();
        add(c, rect(c), look);
    }
    void visit(Line& c) override {
        Look look;
        look << c.X1.get() << c.Y1.get() << c.X2.get() << c.Y2.get() << c.BorderWidth.get() << c.BorderColor.get();
        const QPointF a(c.X1 / qreal{kTwipsPerPixel}, c.Y1 / qreal{kTwipsPerPixel}),
            b(c.X2 / qreal{kTwipsPerPixel}, c.Y2 / qreal{kTwipsPerPixel});
        const int reach = std::max(1, static_cast<int>(c.BorderWidth)) + 2;  // the pen's round caps and smoothing
        const QRect r =
            QRectF(a, b).normalized().toAlignedRect().translated(origin_).adjusted(-reach, -reach, reach, reach);
        add(c, r, look);
    }
    void visit(Frame& c) override {
        Look look;
        look << c.Caption.get() << c.BackColor.get() << c.ForeColor.get() << c.Font.get();
        add(c, rect(c) | FrameCaptionRect(c, rect(c)), look);
    }
    void visit(CommandButton& c) override {
        Look look;
        look << c.Caption.get() << c.BackColor.get() << c.ForeColor.get() << c.Font.get() << c.Enabled.get()
             << (pressed_ == &c);
        add(c, rect(c), look);
    }
    void visit(OptionButton& c) override {
        Look look;
        look << c.Caption.get() << c.Picture.get() << c.BackColor.get() << c.ForeColor.get() << c.Font.get()
             << static_cast<bool>(c.Value) << (pressed_ == &c);
        add(c, rect(c), look);
    }
    void enterFrame(const Frame& frame) override {
        frame_ = PixelRect(frame, QPoint());
        origin_ = frame_.topLeft();
        inFrame_ = true;
    }
    void leaveFrame() override {
        origin_ = QPoint();
        inFrame_ = false;
    }

private:
    QRect rect(const RectControl& c) const { return PixelRect(c, origin_); }
    void add(const Control& c, QRect r, Look& look) {
        if (inFrame_) r &= frame_;
        look << r;
        // A pixel around it: a frame's white edge lies one pixel past its right side.
        scene_.items_.push_back({&c, r.adjusted(-1, -1, 1, 1), look.take()});
    }

    Scene& scene_;
    const Control* pressed_;
    QPoint origin_;
    QRect frame_;
    bool inFrame_ = false;
};

Scene Scene::of(Form& form, const Control* pressed) {
    Scene scene;
    SceneRecorder recorder(scene, pressed);
    form.paint(recorder);
    return scene;
}

QRegion Scene::changes(const Scene& next) const {
    QRegion region;
    std::unordered_map<const Control*, std::size_t> before;
    for (std::size_t i = 0; i < items_.size(); ++i) before.emplace(items_[i].control, i);
    std::vector<bool> kept(items_.size(), false);
    std::size_t last = 0;
    bool sameOrder = true;
    for (const Item& now : next.items_) {
        const auto it = before.find(now.control);
        if (it == before.end()) {  // newly shown
            region += now.rect;
            continue;
        }
        const Item& then = items_[it->second];
        kept[it->second] = true;
        sameOrder = sameOrder && it->second >= last;
        last = it->second;
        if (then.look == now.look) continue;
        region += then.rect;
        region += now.rect;
    }
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (!kept[i]) region += items_[i].rect;  // hidden since
    if (!sameOrder)                              // what lies above what has changed
        for (const Item& item : next.items_) region += item.rect;
    return region;
}

}  // namespace platform::qt
