#include "platform/qt/FormWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>

#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/qt/QtSupport.h"

namespace platform {

std::unique_ptr<WindowHost> CreateWindowHost(Form& form) { return std::make_unique<qt::FormWindow>(form); }

void DisposeWindowHost(std::unique_ptr<WindowHost> host) {
    if (!host) return;
    auto* w = static_cast<qt::FormWindow*>(host.release());
    w->detach();
    w->QWidget::hide();
    w->deleteLater();
}

namespace qt {
namespace {

constexpr int kFrameRepaintMs = 16;  // about the refresh rate of a screen

QRect PixelRect(const RectControl& c, QPointF origin) {
    return QRect(static_cast<int>(origin.x()) + TwipsToPixels(c.Left),
                 static_cast<int>(origin.y()) + TwipsToPixels(c.Top), TwipsToPixels(c.Width), TwipsToPixels(c.Height));
}

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

}  // namespace

// --- FormWindow -------------------------------------------------------------

FormWindow::FormWindow(Form& form) : form_(&form) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    surface_ = new Surface(*this);
}

FormWindow::~FormWindow() = default;

int FormWindow::menuBarHeight() const { return menuBar_ ? menuBar_->sizeHint().height() : 0; }

// What the window system adds around the client area (nothing before the
// window has been shown, or without a window manager).
QSize FormWindow::frameExtra() const {
    if (const QWindow* w = windowHandle()) {
        const QMargins m = w->frameMargins();
        return QSize(m.left() + m.right(), m.top() + m.bottom());
    }
    const QRect fg = frameGeometry(), g = geometry();
    return QSize(std::max(0, fg.width() - g.width()), std::max(0, fg.height() - g.height()));
}

void FormWindow::relayout() {
    const int mb = menuBarHeight();
    if (menuBar_) menuBar_->setGeometry(0, 0, width(), mb);
    surface_->setGeometry(0, mb, width(), std::max(0, height() - mb));
    const qreal dpr = devicePixelRatioF();
    const QSize want(static_cast<int>(std::ceil(surface_->width() * dpr)),
                     static_cast<int>(std::ceil(surface_->height() * dpr)));
    if (points_.size() != want) {
        QImage next(want, QImage::Format_RGB32);
        next.fill(ToQColor(back_));
        if (!points_.isNull()) {
            QPainter p(&next);
            p.drawImage(0, 0, points_);
        }
        next.setDevicePixelRatio(dpr);
        points_ = next;
    }
    surface_->scheduleRepaint();
}

void FormWindow::applyDesign() {
    if (!form_) return;
    const Form::Design& d = form_->design();
    Qt::WindowFlags flags = Qt::Window;
    if (d.frameless) flags |= Qt::FramelessWindowHint;
    setWindowFlags(flags);
    create();  // the native window now, so that its frame is known before the first show
    setWindowIcon(IconFor(d.icon));
    surface_->setCursor(CursorFor(d.mouseIcon));
    resize(TwipsToPixels(d.clientWidth), TwipsToPixels(d.clientHeight) + menuBarHeight());
    relayout();
}

void FormWindow::show(bool modal) {
    setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    if (!placed_ && form_ && form_->design().position == StartUpPosition::CenterScreen) {
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            const QRect avail = s->geometry();
            const QSize outer = size() + frameExtra();
            move(avail.x() + (avail.width() - outer.width()) / 2, avail.y() + (avail.height() - outer.height()) / 2);
        }
    }
    placed_ = true;
    QWidget::show();
    raise();
    surface_->setFocus();
}

void FormWindow::hide() { QWidget::hide(); }

void FormWindow::raise() {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) QWidget::raise();  // nothing to stack there
    activateWindow();
}

float FormWindow::left() const { return PixelsToTwips(frameGeometry().x()); }
float FormWindow::top() const { return PixelsToTwips(frameGeometry().y()); }
float FormWindow::outerWidth() const { return PixelsToTwips(width() + frameExtra().width()); }
float FormWindow::outerHeight() const { return PixelsToTwips(height() + frameExtra().height()); }

void FormWindow::setOuterWidth(float twips) {
    resize(std::max(1, TwipsToPixels(twips) - frameExtra().width()), height());
    relayout();
}

void FormWindow::setOuterHeight(float twips) {
    resize(width(), std::max(1, TwipsToPixels(twips) - frameExtra().height()));
    relayout();
}

float FormWindow::clientWidth() const { return PixelsToTwips(surface_->width()); }
float FormWindow::clientHeight() const { return PixelsToTwips(surface_->height()); }

void FormWindow::clear(Color back) {
    back_ = back;
    points_.fill(ToQColor(back));
    surface_->scheduleRepaint();
}

void FormWindow::plot(float x, float y, Color color, int widthPx) {
    const qreal dpr = points_.devicePixelRatio();
    const double px = x / kTwipsPerPixel, py = y / kTwipsPerPixel;
    const int size = std::max(1, widthPx);
    // The point's pixel square, centred on the position for wider points.
    const int x0 = static_cast<int>(std::floor((px - (size - 1) / 2.0) * dpr));
    const int y0 = static_cast<int>(std::floor((py - (size - 1) / 2.0) * dpr));
    const int n = static_cast<int>(std::lround(size * dpr));
    const QRgb rgb = ToQColor(color).rgb();
    for (int yy = std::max(0, y0); yy < std::min(points_.height(), y0 + n); ++yy) {
        auto* line = reinterpret_cast<QRgb*>(points_.scanLine(yy));
        for (int xx = std::max(0, x0); xx < std::min(points_.width(), x0 + n); ++xx) line[xx] = rgb;
    }
    surface_->scheduleRepaint();
}

Color FormWindow::pointAt(float x, float y) const {
    const qreal dpr = points_.devicePixelRatio();
    const int px = static_cast<int>(std::floor(x / kTwipsPerPixel * dpr)),
              py = static_cast<int>(std::floor(y / kTwipsPerPixel * dpr));
    if (px < 0 || py < 0 || px >= points_.width() || py >= points_.height()) return static_cast<Color>(-1);
    return FromQColor(QColor(points_.pixel(px, py)));
}

void FormWindow::requestRepaint() { surface_->scheduleRepaint(); }

void FormWindow::titleChanged() {
    if (form_) setWindowTitle(Q(form_->Caption));
}

void FormWindow::buildMenus() {
    if (!form_ || form_->menus().empty()) return;
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    for (MenuItem* top : form_->menus()) {
        QMenu* menu = menuBar_->addMenu(Q(top->Caption));
        menus_.insert(top, menu);
        // Opening a top-level menu, by mouse or access key, is its Click.
        QObject::connect(menu, &QMenu::aboutToShow, this, [this, top] {
            if (form_ && top->Click) top->Click();
        });
        for (MenuItem* item : top->items()) {
            if (item->isSeparator()) {
                actions_.insert(item, menu->addSeparator());
                continue;
            }
            QAction* a = menu->addAction(Q(item->Caption));
            if (item->shortcut == MenuItem::Shortcut::F2) a->setShortcut(QKeySequence(Qt::Key_F2));
            if (item->shortcut == MenuItem::Shortcut::F3) a->setShortcut(QKeySequence(Qt::Key_F3));
            a->setShortcutContext(Qt::WindowShortcut);
            QObject::connect(a, &QAction::triggered, this, [this, a, item] {
                a->setChecked(item->Checked);  // the game, not the toolkit, owns the check mark
                if (form_ && item->Click) item->Click();
            });
            actions_.insert(item, a);
        }
    }
    relayout();
}

void FormWindow::syncMenus() {
    for (auto it = menus_.cbegin(); it != menus_.cend(); ++it) {
        it.value()->setTitle(Q(it.key()->Caption));
        it.value()->menuAction()->setVisible(it.key()->Visible);
        it.value()->setEnabled(it.key()->Enabled);
    }
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        const MenuItem* item = it.key();
        QAction* a = it.value();
        if (!a->isSeparator()) {
            a->setText(Q(item->Caption));
            // Only a checked item shows a mark; an unchecked one shows no empty box.
            a->setCheckable(item->Checked);
            a->setChecked(item->Checked);
            a->setEnabled(item->Enabled);
        }
        a->setVisible(item->Visible);
    }
}

void FormWindow::menusChanged() {
    if (!menuBar_) buildMenus();
    syncMenus();
}

bool FormWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && form_) detail::formActivatedByUser(*form_);
    return QWidget::event(e);
}

void FormWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    relayout();
}

void FormWindow::closeEvent(QCloseEvent* e) {
    e->ignore();  // the form decides
    if (form_) form_->Form_CloseRequested();
}

// --- Surface ----------------------------------------------------------------

Surface::Surface(FormWindow& window) : QWidget(&window), window_(window) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    sincePaint_.start();
}

void Surface::scheduleRepaint() {
    if (repaintQueued_) return;
    repaintQueued_ = true;
    const auto wait = std::max<qint64>(0, kFrameRepaintMs - sincePaint_.elapsed());
    QTimer::singleShot(static_cast<int>(wait), Qt::PreciseTimer, this, [this] {
        repaintQueued_ = false;
        update();
    });
}

void Surface::paintEvent(QPaintEvent*) {
    sincePaint_.restart();
    QPainter p(this);
    p.drawImage(QPoint(0, 0), window_.points_);
    Form* form = window_.form_;
    if (!form) return;
    const auto& order = form->controls();
    for (Control* c : order)
        if (!c->container() && !dynamic_cast<Frame*>(c) && c->Visible) paintControl(p, *c, QPointF());
    // Frames are windows of their own, above every other control.
    for (Control* c : order) {
        auto* frame = dynamic_cast<Frame*>(c);
        if (!frame || !frame->Visible) continue;
        paintControl(p, *frame, QPointF());
        const QRect fr = PixelRect(*frame, QPointF());
        p.save();
        p.setClipRect(fr);
        for (Control* child : order)
            if (child->container() == frame && child->Visible) paintControl(p, *child, fr.topLeft());
        p.restore();
    }
}

void Surface::paintControl(QPainter& p, Control& c, QPointF origin) {
    if (auto* img = dynamic_cast<Image*>(&c)) {
        if (img->Picture.get().empty()) return;
        const QRect r = PixelRect(*img, origin);
        p.drawPixmap(r.topLeft(), PixmapFor(img->Picture, devicePixelRatioF()));
        return;
    }
    if (auto* lbl = dynamic_cast<Label*>(&c)) {
        const QRect r = PixelRect(*lbl, origin);
        if (!lbl->Transparent) p.fillRect(r, ToQColor(lbl->BackColor));
        QRect textRect = r;
        if (lbl->BorderSingle) {
            Bevel(p, r, true);
            textRect = r.adjusted(2, 1, -2, -1);
        }
        p.setFont(ToQFont(lbl->Font));
        p.setPen(ToQColor(lbl->ForeColor));
        int flags = HorizontalFlag(lbl->Align) | Qt::AlignTop;
        if (lbl->WordWrap) flags |= Qt::TextWordWrap;
        p.save();
        p.setClipRect(textRect);  // long text stays inside the border
        p.drawText(textRect, flags, CaptionText(lbl->Caption));
        p.restore();
        return;
    }
    if (auto* shp = dynamic_cast<Shape*>(&c)) {
        const QRect r = PixelRect(*shp, origin);
        if (shp->FillSolid) p.fillRect(r, ToQColor(shp->FillColor));
        if (shp->BorderSolid && r.width() > 0 && r.height() > 0) {
            const int w = std::max(1, static_cast<int>(shp->BorderWidth));
            QPen pen(ToQColor(shp->BorderColor), w);
            pen.setJoinStyle(Qt::MiterJoin);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            const qreal inset = w / 2.0;
            p.drawRect(QRectF(r).adjusted(inset, inset, -inset, -inset));
        }
        return;
    }
    if (auto* line = dynamic_cast<Line*>(&c)) {
        const int w = std::max(1, static_cast<int>(line->BorderWidth));
        QPen pen(ToQColor(line->BorderColor), w, Qt::SolidLine, Qt::RoundCap);
        p.save();
        p.setRenderHint(QPainter::Antialiasing, w > 1);
        p.setPen(pen);
        const qreal off = (w % 2) ? 0.5 : 0.0;
        const QPointF a(origin.x() + line->X1 / kTwipsPerPixel + off, origin.y() + line->Y1 / kTwipsPerPixel + off);
        const QPointF b(origin.x() + line->X2 / kTwipsPerPixel + off, origin.y() + line->Y2 / kTwipsPerPixel + off);
        p.drawLine(a, b);
        p.restore();
        return;
    }
    if (auto* frame = dynamic_cast<Frame*>(&c)) {
        const QRect r = PixelRect(*frame, origin);
        p.fillRect(r, ToQColor(frame->BackColor));
        const QFont f = ToQFont(frame->Font);
        const QFontMetrics fm(f);
        const int top = r.top() + fm.height() / 2;
        const QRect box(r.left(), top, r.width() - 1, r.bottom() - top - 1);
        p.setPen(QColor(128, 128, 128));
        p.drawRect(box);
        p.setPen(QColor(255, 255, 255));
        p.drawRect(box.translated(1, 1));
        const QString caption = CaptionText(frame->Caption);
        if (!caption.isEmpty()) {
            const int tw = fm.horizontalAdvance(caption) + 4;
            const QRect cap(r.left() + 6, r.top(), tw, fm.height());
            p.fillRect(cap, ToQColor(frame->BackColor));
            p.setFont(f);
            p.setPen(ToQColor(frame->ForeColor));
            p.drawText(cap, Qt::AlignCenter, caption);
        }
        return;
    }
    const bool isPressed = pressActive_ && pressed_ == &c;
    if (auto* btn = dynamic_cast<CommandButton*>(&c)) {
        const QRect r = PixelRect(*btn, origin);
        p.fillRect(r, ToQColor(btn->BackColor));
        Bevel(p, r, isPressed);
        p.setFont(ToQFont(btn->Font));
        p.setPen(ToQColor(btn->Enabled ? btn->ForeColor : 0x808080));
        p.drawText(r.translated(isPressed ? 1 : 0, isPressed ? 1 : 0), Qt::AlignCenter | Qt::TextShowMnemonic,
                   CaptionText(btn->Caption));
        return;
    }
    if (auto* opt = dynamic_cast<OptionButton*>(&c)) {
        const QRect r = PixelRect(*opt, origin);
        const bool down = opt->Value || isPressed;
        p.fillRect(r, ToQColor(opt->BackColor));
        if (opt->Value) {
            // A selected graphical button shows a fine light checker over its colour,
            // like a latched push button.
            p.fillRect(r.adjusted(2, 2, -2, -2), QBrush(QColor(255, 255, 255, 110), Qt::Dense4Pattern));
        }
        Bevel(p, r, down);
        const QPoint shift(down ? 1 : 0, down ? 1 : 0);
        p.setFont(ToQFont(opt->Font));
        const QFontMetrics fm(p.font());
        // The caption sits under the picture, or in the middle without one.
        const QRect textRect =
            opt->Picture.get().empty() ? r : QRect(r.left(), r.bottom() - fm.height() - 3, r.width(), fm.height());
        if (!opt->Picture.get().empty()) {
            const QPixmap pm = PixmapFor(opt->Picture, devicePixelRatioF());
            const QSizeF ps = pm.deviceIndependentSize();
            const int areaTop = r.top() + 3, areaBottom = textRect.top();
            const QPointF at(r.left() + (r.width() - ps.width()) / 2.0,
                             areaTop + std::max(0.0, (areaBottom - areaTop - ps.height()) / 2.0));
            p.drawPixmap(at + shift, pm);
        }
        p.setPen(ToQColor(opt->ForeColor));
        p.drawText(textRect.translated(shift), Qt::AlignCenter | Qt::TextShowMnemonic, CaptionText(opt->Caption));
    }
}

// Where a press goes: into a frame, to the topmost control that catches the
// mouse there, or to the form (its background, or a disabled control).
Control* Surface::controlAt(float x, float y, bool& toForm) const {
    toForm = false;
    Form* form = window_.form_;
    if (!form) return nullptr;
    const auto& order = form->controls();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        auto* frame = dynamic_cast<Frame*>(*it);
        if (!frame || !frame->Visible || !frame->contains(x, y)) continue;
        const float lx = x - frame->Left, ly = y - frame->Top;
        for (auto ch = order.rbegin(); ch != order.rend(); ++ch) {
            Control* c = *ch;
            if (c->container() != frame || !c->Visible || !c->catchesMouse() || !c->contains(lx, ly)) continue;
            return c->Enabled ? c : frame;
        }
        return frame;
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        Control* c = *it;
        if (c->container() || dynamic_cast<Frame*>(c) || !c->Visible || !c->catchesMouse() || !c->contains(x, y))
            continue;
        if (c->Enabled) return c;
        break;
    }
    toForm = true;
    return nullptr;
}

namespace {
// Position relative to a control, in twips.
QPointF LocalTwips(const Control& c, float x, float y) {
    float ox = 0, oy = 0;
    if (const Frame* f = c.container()) {
        ox += f->Left;
        oy += f->Top;
    }
    if (const auto* rc = dynamic_cast<const RectControl*>(&c)) {
        ox += rc->Left;
        oy += rc->Top;
    }
    return QPointF(x - ox, y - oy);
}
}  // namespace

void Surface::mousePressEvent(QMouseEvent* e) {
    Form* form = window_.form_;
    if (!form) return;
    const float x = PixelsToTwips(std::floor(e->position().x())), y = PixelsToTwips(std::floor(e->position().y()));
    const std::int16_t button = ButtonCode(e->button()), shift = ShiftState(e->modifiers());
    bool toForm = false;
    Control* target = controlAt(x, y, toForm);
    pressActive_ = true;
    pressToForm_ = toForm;
    pressed_ = target;
    if (toForm) {
        form->Form_MouseDown(button, shift, x, y);
    } else if (target) {
        if (target->MouseDown) {
            const QPointF l = LocalTwips(*target, x, y);
            target->MouseDown(button, shift, static_cast<float>(l.x()), static_cast<float>(l.y()));
        }
        scheduleRepaint();
    }
}

void Surface::mouseReleaseEvent(QMouseEvent* e) {
    if (!pressActive_) return;
    pressActive_ = false;
    QPointer<Surface> self(this);
    Form* form = window_.form_;
    if (!form) return;
    const float x = PixelsToTwips(std::floor(e->position().x())), y = PixelsToTwips(std::floor(e->position().y()));
    const std::int16_t button = ButtonCode(e->button()), shift = ShiftState(e->modifiers());
    bool toFormNow = false;
    Control* now = controlAt(x, y, toFormNow);
    if (pressToForm_) {
        form->Form_MouseUp(button, shift, x, y);
        if (self && window_.form_ == form && toFormNow) form->Form_Click();
        return;
    }
    Control* target = pressed_;
    pressed_ = nullptr;
    scheduleRepaint();
    if (!target) return;
    if (target->MouseUp) {
        const QPointF l = LocalTwips(*target, x, y);
        target->MouseUp(button, shift, static_cast<float>(l.x()), static_cast<float>(l.y()));
    }
    if (!self || window_.form_ != form || now != target) return;
    if (auto* opt = dynamic_cast<OptionButton*>(target))
        opt->Value = true;  // raises its Click
    else if (target->Click)
        target->Click();
}

Control* Surface::defaultButton() const {
    Form* form = window_.form_;
    if (!form) return nullptr;
    CommandButton* best = nullptr;
    for (Control* c : form->controls()) {
        auto* b = dynamic_cast<CommandButton*>(c);
        if (!b || !b->Visible || !b->Enabled || (b->container() && !b->container()->Visible)) continue;
        if (!best || b->TabIndex < best->TabIndex) best = b;
    }
    return best;
}

Control* Surface::buttonWithAccessKey(char key) const {
    Form* form = window_.form_;
    if (!form || key == 0) return nullptr;
    for (Control* c : form->controls()) {
        if (!c->Visible || !c->Enabled || (c->container() && !c->container()->Visible)) continue;
        if (c->accessKey() == key) return c;
    }
    return nullptr;
}

void Surface::keyPressEvent(QKeyEvent* e) {
    Form* form = window_.form_;
    if (!form) return;
    std::int16_t code = KeyCodeOf(e->key());
    const std::int16_t shift = ShiftState(e->modifiers());
    // Alt and a button's access letter press that button.
    if ((shift & 4) && code >= 'A' && code <= 'Z') {
        if (Control* c = buttonWithAccessKey(static_cast<char>(code))) {
            if (auto* opt = dynamic_cast<OptionButton*>(c))
                opt->Value = true;
            else if (c->Click)
                c->Click();
            return;
        }
    }
    if (code == keys::Return && !e->isAutoRepeat()) {
        if (Control* c = defaultButton()) {
            if (c->Click) c->Click();
            return;
        }
    }
    if (code == 0) {
        QWidget::keyPressEvent(e);
        return;
    }
    form->Form_KeyDown(code, shift);
}

}  // namespace qt
}  // namespace platform
