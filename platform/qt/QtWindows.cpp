#include <QApplication>
#include <QBackingStore>
#include <QEventLoop>
#include <QScreen>
#include <QThread>

#include <algorithm>

#include "platform/core/Form.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/QtWindows.h"

namespace platform::qt {

QtWindows::QtWindows(QtPictures& pictures, std::optional<QSize> windowed)
    : pictures_(pictures), windowed_(windowed), screen_(QGuiApplication::primaryScreen()) {}

QRect QtWindows::available() const { return screen_ ? screen_->availableGeometry() : QRect(0, 0, 640, 480); }

QRect QtWindows::stage() const {
    if (!windowed_) return screen_ ? screen_->geometry() : QRect(0, 0, 640, 480);
    QRect r(QPoint(), (QSizeF(*windowed_) * factor_).toSize());
    r.moveCenter(available().center());
    return r;
}

std::unique_ptr<WindowHost> QtWindows::createWindow(Form& form) { return std::make_unique<FormWindow>(form, *this); }

// A window disposed of inside a nested event loop (a dialog's or a modal
// form's) may have an event of its own still under way further down the
// stack: a menu of it that opened the dialog, say, when the session ends with
// the dialog open. Such a window is only hidden then, and deleted once the
// program is back in its main loop.
//
// A hidden window keeps its backing store (as large as the screen for the
// full-screen forms) until it is deleted, which for a parked one can be after
// a whole briefing and the next main window: its store shrinks to a pixel at
// once, so that the memory of no more than one such store is in use.
void QtWindows::disposeWindow(std::unique_ptr<WindowHost> window) {
    if (FormWindow* w = owning(window.get())) {
        window.release();
        w->detach();
        w->hide();
        if (QBackingStore* store = w->backingStore()) {
            store->resize(QSize(1, 1));
            store->beginPaint(QRegion());
            store->endPaint();
        }
        parked_.emplace_back(w);
    }
    if (QThread::currentThread()->loopLevel() > 1) return;
    for (const QPointer<FormWindow>& w : parked_)
        if (w) w->deleteLater();
    parked_.clear();
}

QtWindows::~QtWindows() {
    for (const QPointer<FormWindow>& w : parked_) delete w.data();
    for (FormWindow* w : live_) w->orphan();  // windows a test left behind go after this
}

FormWindow* QtWindows::windowOf(const Form& form) const {
    for (FormWindow* w : live_)
        if (w->form() == &form) return w;
    return nullptr;
}

FormWindow* QtWindows::owning(const WindowHost* host) const {
    for (FormWindow* w : live_)
        if (static_cast<const WindowHost*>(w) == host) return w;
    return nullptr;
}

qreal QtWindows::scale() const {
    constexpr QSize kNeeded(640, 480);
    const QSizeF s = QSizeF(stage().size()) / factor_;
    return factor_ * std::min({1.0, s.width() / kNeeded.width(), s.height() / kNeeded.height()});
}

float QtWindows::screenWidth() const { return PixelsToTwips(stage().width() / scale()); }
float QtWindows::screenHeight() const { return PixelsToTwips(stage().height() / scale()); }

}  // namespace platform::qt
