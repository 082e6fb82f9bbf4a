// Kelvo: defend the sector with your satellite.

#include <memory>

#include "game/Program.h"
#include "game/frmKelvo.h"
#include "platform/Application.h"

int main(int argc, char** argv) {
    std::unique_ptr<kelvo::Program> program;
    return platform::RunProgram(
        argc, argv,
        [&] {
            program = std::make_unique<kelvo::Program>();
            kelvo::frmKelvo().Show();  // the main window is the start-up window
        },
        [&] { program.reset(); });
}
