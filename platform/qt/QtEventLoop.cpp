#include <QApplication>
#include <QBackingStore>
#include <QEventLoop>
#include <QScreen>
#include <QThread>

#include <algorithm>

#include "platform/core/Form.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/QtEventLoop.h"

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

}  // namespace platform::qt
