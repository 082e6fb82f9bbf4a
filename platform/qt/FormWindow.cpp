#include "platform/qt/FormWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Form.h"
#include "platform/qt/MenuBar.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/QtWindows.h"
#include "platform/qt/Surface.h"

namespace platform::qt {

FormWindow::FormWindow(Form& form, QtWindows& windows)
    : form_(&form), windows_(windows), menuBar_(std::make_unique<MenuBar>(*this)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    surface_ = new Surface(*this, windows.pictures());
    windows_.added(*this);
}

FormWindow::~FormWindow() {
    if (listed_) windows_.removed(*this);
}

bool FormWindow::fullScreen() const { return form_ && form_->design().fullScreen; }

// Nothing before the window has been shown, or without a window manager.
QSize FormWindow::frameExtra() const {
    if (fullScreen()) return QSize(0, 0);
    if (const QWindow* w = windowHandle()) {
        const QMargins m = w->frameMargins();
        return QSize(m.left() + m.right(), m.top() + m.bottom());
    }
    const QRect fg = frameGeometry(), g = geometry();
    return QSize(std::max(0, fg.width() - g.width()), std::max(0, fg.height() - g.height()));
}

MenuBar& FormWindow::menuBar() const {
    buildDueMenus();
    return *menuBar_;
}

qreal FormWindow::scale() const { return windows_.scale(); }

int FormWindow::toPixels(float twips) const { return qRound(twips / kTwipsPerPixel * scale()); }
float FormWindow::toTwips(qreal pixels) const { return PixelsToTwips(pixels / scale()); }

void FormWindow::relayout() {
    const int mb = menuBar_->height();
    menuBar_->setWidth(width());
    surface_->setGeometry(0, mb, width(), std::max(0, height() - mb));
    points_.resize((QSizeF(surface_->size()) / scale()).toSize(), devicePixelRatioF() * scale());
    surface_->scheduleRepaint();
}

// A full-screen form gets its final size here, before its load reads it, so
// nothing is laid out twice: the screen's, or the fixed size of the window
// the player asked for.
void FormWindow::applyDesign() {
    if (!form_) return;
    const Form::Design& d = form_->design();
    setWindowFlags(Qt::Window);
    if (d.fullScreen) {
        setGeometry(windows_.stage());
        if (windows_.windowed()) setFixedSize(windows_.stage().size());
    } else {
        buildDueMenus();
        resize(toPixels(d.clientWidth), toPixels(d.clientHeight) + menuBar_->height());
    }
    create();  // the native window now, so that its frame is known before the first show
    surface_->setCursor(windows_.pictures().cursor(d.mouseIcon));
    relayout();
}

void FormWindow::place() {
    const QRect stage = windows_.stage(), free = windows_.available();
    const QSize outer = size() + frameExtra();
    QPoint at = stage.center() - QPoint(outer.width() / 2, outer.height() / 2);
    // Kept inside the free area; a window larger than it keeps its top left
    // corner, and so its title bar, on the screen.
    at.setX(std::max(free.left(), std::min(at.x(), free.right() + 1 - outer.width())));
    at.setY(std::max(free.top(), std::min(at.y(), free.bottom() + 1 - outer.height())));
    move(at);
}

void FormWindow::show(bool modal) {
    buildDueMenus();
    setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
    if (!placed_ && form_) {
        // Read when first wanted: the main window loads before the briefing
        // but is seen only after it.
        setWindowIcon(windows_.pictures().icon(form_->design().icon));
        if (fullScreen()) {
            setGeometry(windows_.stage());
        } else {
            // Above the window it was opened from, or else above the stage.
            const Form* owner = ActiveForm();
            const FormWindow* parent = owner && owner != form_ ? windows_.windowOf(*owner) : nullptr;
            if (parent && parent->windowHandle()) windowHandle()->setTransientParent(parent->windowHandle());
            if (form_->design().position == StartUpPosition::CenterScreen) place();
        }
    }
    placed_ = true;
    if (fullScreen() && !windows_.windowed())
        showFullScreen();
    else
        QWidget::show();
    raise();
    surface_->setFocus();
}

void FormWindow::hide() { QWidget::hide(); }

void FormWindow::raise() {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) QWidget::raise();  // nothing to stack there
    activateWindow();
}

// A full-screen form's position is that of its stage: 0, 0.
float FormWindow::left() const {
    return toTwips(fullScreen() ? geometry().x() - windows_.stage().x() : frameGeometry().x());
}
float FormWindow::top() const {
    return toTwips(fullScreen() ? geometry().y() - windows_.stage().y() : frameGeometry().y());
}
float FormWindow::outerWidth() const { return toTwips(width() + frameExtra().width()); }
float FormWindow::outerHeight() const { return toTwips(height() + frameExtra().height()); }

void FormWindow::setOuterWidth(float twips) {
    resize(std::max(1, toPixels(twips) - frameExtra().width()), height());
    relayout();
}

void FormWindow::setOuterHeight(float twips) {
    resize(width(), std::max(1, toPixels(twips) - frameExtra().height()));
    relayout();
}

float FormWindow::clientWidth() const {
    buildDueMenus();
    return toTwips(surface_->width());
}

float FormWindow::clientHeight() const {
    buildDueMenus();
    return toTwips(surface_->height());
}

void FormWindow::clear(Color back) {
    points_.clear(back);
    surface_->scheduleRepaint();
}

void FormWindow::plot(float x, float y, Color color, int widthPx) {
    points_.plot(x, y, color, widthPx);
    surface_->scheduleRepaint();
}

Color FormWindow::pointAt(float x, float y) const { return points_.pointAt(x, y); }

void FormWindow::controlChanged(Control& control) { surface_->controlChanged(control); }

void FormWindow::requestRepaint() { surface_->repaintAll(); }

void FormWindow::titleChanged() {
    if (form_) setWindowTitle(Q(form_->Caption));
}

// A window that has not been seen builds its bar only when it shows or its
// client area is measured: the main window loads before the briefing but is
// seen only after it, and measuring its menus' text would hold up the
// briefing's first frame.
void FormWindow::menusChanged() {
    if (!form_) return;
    if (!menuBar_->bar() && !placed_) {
        menusDue_ = true;
        return;
    }
    syncMenus();
}

void FormWindow::syncMenus() {
    menusDue_ = false;
    const int before = menuBar_->height();
    menuBar_->update(*form_);
    if (menuBar_->height() != before) relayout();
}

void FormWindow::buildDueMenus() const {
    // Reading the client area may lay the window out: what was put off is
    // done now, as it would have been at load.
    if (menusDue_ && form_) const_cast<FormWindow*>(this)->syncMenus();
}

bool FormWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && form_) form_->activatedByUser();
    return QWidget::event(e);
}

void FormWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    relayout();
}

void FormWindow::closeEvent(QCloseEvent* e) {
    e->ignore();  // the form decides
    if (form_) form_->closeRequested();
}

}  // namespace platform::qt
