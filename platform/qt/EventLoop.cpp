#include <QApplication>
#include <QBackingStore>
#include <QEventLoop>
#include <QScreen>
#include <QThread>

#include <algorithm>

#include "platform/core/Form.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/QtServices.h"

namespace platform::qt {

void QtEventLoop::post(std::function<void()> task) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

bool QtEventLoop::runModal(Form& form) {
    QEventLoop loop;
    modal_.push_back({&form, &loop});
    const int code = loop.exec();
    std::erase_if(modal_, [&](const Modal& m) { return m.loop == &loop; });
    return code == 0 && !quitting_ && !QCoreApplication::closingDown();
}

void QtEventLoop::endModal(Form& form) {
    for (const Modal& m : modal_)
        if (m.form == &form) m.loop->quit();
}

void QtEventLoop::processEvents() { QCoreApplication::processEvents(); }

// The program may end before its loop starts (its start-up window closed
// during the start-up form's load); the loop then does not start at all.
int QtEventLoop::exec() { return quitting_ ? 0 : QCoreApplication::exec(); }

void QtEventLoop::quit() {
    quitting_ = true;
    QCoreApplication::quit();  // every loop, nested ones too
}

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
