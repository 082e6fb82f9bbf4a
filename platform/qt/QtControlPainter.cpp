#include "platform/qt/QtControlPainter.h"

#include <algorithm>

#include "platform/qt/QtSupport.h"
#include "platform/qt/QtWindows.h"

namespace platform::qt {
namespace {

// A raised or sunken 3-D edge like a classic push button's.
void Bevel(QPainter& p, const QRect& r, bool sunken) {
    const QColor light(255, 255, 255), mid(128, 128, 128), dark(0, 0, 0), pale(223, 223, 223);
    // Two rings, the outer one and the one inside it: top and left, then bottom and right.
    const auto ring = [&p](const QRect& q, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(q.topLeft(), q.topRight() - QPoint(1, 0));
        p.drawLine(q.topLeft(), q.bottomLeft() - QPoint(0, 1));
        p.setPen(bottomRight);
        p.drawLine(q.bottomLeft(), q.bottomRight());
        p.drawLine(q.topRight(), q.bottomRight());
    };
    ring(r, sunken ? dark : light, sunken ? light : dark);
    ring(r.adjusted(1, 1, -1, -1), sunken ? mid : pale, sunken ? pale : mid);
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

QRect RectOf(const RectControl& c, QPoint origin) {
    return QRect(origin.x() + TwipsToPixels(c.Left), origin.y() + TwipsToPixels(c.Top), TwipsToPixels(c.Width),
                 TwipsToPixels(c.Height));
}

}  // namespace

QRect QtControlPainter::pixelRect(const RectControl& c) const { return RectOf(c, origin_); }

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
    if (!caption.isEmpty()) {  // over the top edge, clipped to the frame as its controls are
        const QRect cap(r.left() + 6, r.top(), fm.horizontalAdvance(caption) + 4, fm.height());
        p_.save();
        p_.setClipRect(r, Qt::IntersectClip);
        p_.fillRect(cap, ToQColor(frame.BackColor));
        p_.setFont(f);
        p_.setPen(ToQColor(frame.ForeColor));
        p_.drawText(cap, Qt::AlignCenter, caption);
        p_.restore();
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

}  // namespace platform::qt
