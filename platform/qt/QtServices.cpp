#include "platform/qt/QtServices.h"

#include <QApplication>

#include "platform/qt/QtSupport.h"

namespace platform::qt {

QtServices::QtServices(const Resources& resources, std::optional<QSize> windowed)
    : pictures(resources), windows(pictures, windowed) {
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
                    .appPath = S(QCoreApplication::applicationDirPath())};
}

}  // namespace platform::qt
