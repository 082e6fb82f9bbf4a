#include <QApplication>
#include <QEventLoop>
#include <QScreen>

#include <algorithm>

#include "platform/Form.h"
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

int QtEventLoop::exec() {
    quitting_ = false;
    return QCoreApplication::exec();
}

void QtEventLoop::quit() {
    quitting_ = true;
    QCoreApplication::quit();  // every loop, nested ones too
}

std::unique_ptr<WindowHost> QtWindows::createWindow(Form& form) {
    return std::make_unique<FormWindow>(form, pictures_);
}

void QtWindows::disposeWindow(std::unique_ptr<WindowHost> window) {
    if (FormWindow* w = FormWindow::owning(window.get())) {
        window.release();
        w->detach();
        w->hide();
        w->deleteLater();
    }
}

float QtWindows::screenWidth() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? PixelsToTwips(s->geometry().width()) : 0.0f;
}

float QtWindows::screenHeight() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? PixelsToTwips(s->geometry().height()) : 0.0f;
}

}  // namespace platform::qt
