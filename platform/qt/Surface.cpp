#include "platform/qt/Surface.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/core/Form.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/QtControlPainter.h"
#include "platform/qt/Trace.h"

namespace platform::qt {
namespace {

constexpr int kFrameRepaintMs = 16;  // about the refresh rate of a screen

std::int16_t ShiftState(Qt::KeyboardModifiers m) {
    std::int16_t s = 0;
    if (m & Qt::ShiftModifier) s |= 1;
    if (m & Qt::ControlModifier) s |= 2;
    if (m & Qt::AltModifier) s |= 4;
    return s;
}

std::int16_t ButtonCode(Qt::MouseButton b) {
    switch (b) {
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 1;
    }
}

// Key codes as the game knows them: arrows 37 to 40, F1 112 on, letters 65 to 90.
std::int16_t KeyCodeOf(int key) {
    switch (key) {
    case Qt::Key_Left: return keys::Left;
    case Qt::Key_Up: return keys::Up;
    case Qt::Key_Right: return keys::Right;
    case Qt::Key_Down: return keys::Down;
    case Qt::Key_Return:
    case Qt::Key_Enter: return keys::Return;
    case Qt::Key_Escape: return keys::Escape;
    case Qt::Key_Space: return keys::Space;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<std::int16_t>(112 + (key - Qt::Key_F1));
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<std::int16_t>(key);
    return 0;
}

// A pointer position in twips: the pixel it lies in.
float Twips(qreal px) { return PixelsToTwips(std::floor(px)); }

}  // namespace

Surface::Surface(FormWindow& window, QtPictures& pictures) : QWidget(&window), window_(window), pictures_(pictures) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    pace_.setSingleShot(true);
    pace_.setTimerType(Qt::PreciseTimer);
    connect(&pace_, &QTimer::timeout, this, [this] { repaintChanges(); });
    sincePaint_.start();
}

void Surface::scheduleRepaint() {
    ++repaintRequests_;
    if (repaintQueued_) return;
    repaintQueued_ = true;
    pace_.start(static_cast<int>(std::max<qint64>(0, kFrameRepaintMs - sincePaint_.elapsed())));
}

void Surface::controlChanged(Control& control) {
    changed_.push_back(&control);
    scheduleRepaint();
}

void Surface::repaintAll() {
    all_ = true;
    scheduleRepaint();
}

void Surface::repaintChanges() {
    pace_.stop();
    repaintQueued_ = false;
    QRegion region = window_.points().takeChanged();
    // A window cut off from its form may outlive the form's controls.
    for (Control* c : window_.form() ? changed_ : std::vector<Control*>()) {
        const auto [before, now] = c->takeChange();
        region += QRect(before.left, before.top, before.width, before.height);
        region += QRect(now.left, now.top, now.width, now.height);
    }
    changed_.clear();
    if (std::exchange(all_, false) || !window_.form()) {
        update();
        return;
    }
    const qreal scale = window_.scale();
    const QRect drawn(QPoint(0, 0), (QSizeF(size()) / scale).toSize());  // the game's pixels
    QRegion changed;
    for (const QRect& r : region.intersected(drawn))
        changed += scale == 1.0 ? r : QRectF(r.topLeft() * scale, QSizeF(r.size()) * scale).toAlignedRect();
    if (changed.isEmpty()) return;
    // Over half the area, one rectangle paints faster than many.
    qint64 covered = 0;
    for (const QRect& r : changed) covered += qint64{r.width()} * r.height();
    if (covered * 2 > qint64{width()} * height())
        update();
    else
        update(changed);
}

// Input is answered at once: the repaint it asked for goes out now, unpaced.
void Surface::afterInput() {
    if (repaintQueued_) repaintChanges();
}

void Surface::paintEvent(QPaintEvent* e) {
    const std::int64_t begin = trace::On() ? trace::Now() : 0;
    sincePaint_.restart();
    QPainter p(this);
    QRect area = e->rect();
    if (const qreal scale = window_.scale(); scale != 1.0) {
        p.scale(scale, scale);
        area = QRectF(QPointF(area.topLeft()) / scale, QSizeF(area.size()) / scale).toAlignedRect();
    }
    window_.points().paint(p, area);
    if (Form* form = window_.form()) {
        QtControlPainter painter(p, pictures_, texts_, form->pressedControl(), area);
        form->paint(painter);
    }
    if (trace::On()) trace::Paint(begin, trace::Now());
}

// A procedure run by the input may unload the form and so let this window go.
void Surface::mousePressEvent(QMouseEvent* e) {
    const std::int64_t at = trace::On() ? trace::Now() : 0;
    const auto requestsBefore = repaintRequests_;
    const QPointer<Surface> alive(this);
    if (Form* form = window_.form())
        form->mouseDown(ButtonCode(e->button()), ShiftState(e->modifiers()), Twips(e->position().x() / window_.scale()),
                        Twips(e->position().y() / window_.scale()));
    if (!alive) return;
    if (trace::On()) trace::Press(at, repaintRequests_ != requestsBefore);
    afterInput();
}

void Surface::mouseReleaseEvent(QMouseEvent* e) {
    const QPointer<Surface> alive(this);
    if (Form* form = window_.form())
        form->mouseUp(ButtonCode(e->button()), ShiftState(e->modifiers()), Twips(e->position().x() / window_.scale()),
                      Twips(e->position().y() / window_.scale()));
    if (alive) afterInput();
}

void Surface::keyPressEvent(QKeyEvent* e) {
    const QPointer<Surface> alive(this);
    Form* form = window_.form();
    if (!form || !form->keyDown(KeyCodeOf(e->key()), ShiftState(e->modifiers()), e->isAutoRepeat())) {
        if (alive) QWidget::keyPressEvent(e);
    }
    if (alive) afterInput();
}

}  // namespace platform::qt
