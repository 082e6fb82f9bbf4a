#pragma once
// Every Qt service, one of each. The program installs them all (QtProgram.h);
// the test harness all but the clock, the dialogs and the sound.

#include <optional>

#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtPictures.h"
#include "platform/qt/QtSound.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtTimers.h"
#include "platform/qt/QtWindows.h"

namespace platform::qt {

// Every Qt service. Needs the QApplication; installs the game's font substitutes.
class QtServices {
public:
    explicit QtServices(const Resources& resources, std::optional<QSize> windowed = {});
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    // All of them, with the program's folder.
    Services services();

    QtPictures pictures;
    QtWindows windows;  // before the dialogs, which open over its windows
    QtText text;
    QtTimers timers;
    QtDialogs dialogs;
    QtClock clock;
    QtSound sound;
    QtEventLoop events;
};

}  // namespace platform::qt
