#include "platform/qt/QtServices.h"

#include <QApplication>

#include "platform/Application.h"
#include "platform/qt/QtProgram.h"
#include "platform/qt/QtSupport.h"

namespace platform::qt {

QtServices::QtServices(const Resources& resources) : pictures(resources) { InstallFontSubstitutes(resources); }

Services QtServices::services() {
    return Services{.timers = &timers,
                    .windows = &windows,
                    .events = &events,
                    .text = &text,
                    .pictures = &pictures,
                    .dialogs = &dialogs,
                    .sound = &sound,
                    .appPath = S(QCoreApplication::applicationDirPath())};
}

int RunProgram(int argc, char** argv, const ProgramInfo& info, const Resources& resources,
               const std::function<void()>& start, const std::function<void()>& finish) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(info.name));
    QApplication::setApplicationVersion(QString::fromUtf8(info.version));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(info.desktopId));
    app.setQuitOnLastWindowClosed(false);  // the game ends when its last form unloads
    QtServices qt(resources);
    InstallServices(qt.services());
    const int code = platform::RunProgram(start);
    if (finish) finish();
    InstallServices({});
    return code;
}

}  // namespace platform::qt
