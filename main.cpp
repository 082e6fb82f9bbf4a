// Kelvo: defend the sector with your satellite.

#include <memory>

#include "game/GameResources.h"
#include "game/Program.h"
#include "platform/qt/QtProgram.h"

int main(int argc, char** argv) {
    std::unique_ptr<kelvo::Program> program;
    return platform::qt::RunQtProgram(
        argc, argv, {KELVO_APP_NAME, KELVO_APP_VERSION, KELVO_APP_ID, KELVO_APP_DESCRIPTION}, kelvo::GameResources(),
        [&] {
            program = std::make_unique<kelvo::Program>();
            program->start();  // the main window is the start-up window
        },
        [&] { program.reset(); });
}
