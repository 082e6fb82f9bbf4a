#pragma once
// Runs a program on Qt. Plain C++: the program's main includes this and no Qt.

#include <functional>

#include "platform/core/Resources.h"

namespace platform::qt {

struct ProgramInfo {
    const char* name = "";  // shown by the desktop, e.g. in the task switcher
    const char* version = "";
    const char* desktopId = "";    // the desktop entry's name without ".desktop"
    const char* description = "";  // one line, for --help
};

// Reads the whole command line before anything needs a display (--help,
// --version, --windowed WIDTHxHEIGHT, --mute, and of Qt's options --platform
// NAME and --display DISPLAY; anything else ends the program with status 2 and
// one line saying why), makes the application object (a display that cannot
// be opened ends the program with one line and status 1, as does one that goes
// away later) and every Qt service, installs them with the game's resources,
// calls `start` (which shows the start-up form) and runs the event loop until
// no form is left loaded, or SIGTERM, SIGINT or SIGHUP unload them all;
// `finish` runs while Qt is still there. Returns the exit code.
int RunQtProgram(int argc, char** argv, const ProgramInfo& info, const Resources& resources,
                 const std::function<void()>& start, const std::function<void()>& finish);

}  // namespace platform::qt
