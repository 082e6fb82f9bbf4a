#include "platform/qt/QtServices.h"

#include <QApplication>
#include <QDir>

#include "platform/qt/QtSupport.h"

namespace platform::qt {

namespace {

// App.Path: the folder of the program file, where a build tree keeps the
// program's data files. An installed program finds them in the data folder that
// the install layout puts at KELVO_DATA_FROM_PROGRAM from its own folder.
QString ProgramDataFolder() {
    const QString dir = QCoreApplication::applicationDirPath();
#ifdef KELVO_DATA_FROM_PROGRAM
    const QString installed = QDir::cleanPath(dir + "/" KELVO_DATA_FROM_PROGRAM);
    if (QDir(installed).exists()) return installed;
#endif
    return dir;
}

}  // namespace

QtServices::QtServices(const Resources& resources, std::optional<QSize> windowed)
    : pictures(resources), windows(pictures, windowed), dialogs(windows) {
    InstallFontSubstitutes(resources);
}

Services QtServices::services() {
    return Services{.timers = &timers,
                    .windows = &windows,
                    .events = &events,
                    .text = &text,
                    .pictures = &pictures,
                    .dialogs = &dialogs,
                    .sound = &sound,
                    .clock = &clock,
                    .appPath = S(ProgramDataFolder())};
}

}  // namespace platform::qt
