#include <QInputDialog>
#include <QMessageBox>

#include "platform/core/Application.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/QtWindows.h"

namespace platform::qt {
namespace {

// Dialogs open over the program's active window.
QWidget* DialogParent(const QtWindows& windows) {
    const Form* f = ActiveForm();
    return f ? windows.windowOf(*f) : nullptr;
}

}  // namespace

void QtDialogs::msgBoxInformation(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Information, Q(title), CaptionText(text), QMessageBox::Ok, DialogParent(windows_));
    box.exec();
}

std::string QtDialogs::inputBox(const std::string& prompt, const std::string& title, const std::string& def) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(DialogParent(windows_), Q(title), Q(prompt), QLineEdit::Normal, Q(def), &ok);
    return ok ? S(text) : std::string();
}

}  // namespace platform::qt
