// The fuzz target: any bytes, run as a recording through the reader and the
// whole game, as --verify runs a file. Whatever the bytes, the run ends with
// an outcome: no crash, no hang, nothing the sanitizers object to.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/Program.h"
#include "platform/core/Application.h"
#include "platform/core/ReplayFile.h"
#include "platform/core/Replayer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace platform;
    replay::Reader reader;
    if (!reader.openBytes(std::vector<unsigned char>(data, data + size))) return 0;
    std::unique_ptr<kelvo::Program> program;
    Replayer replayer(reader);
    InstallServices(replayer.services());
    SetJournal(&replayer);
    RunProgram([&program] {
        program = std::make_unique<kelvo::Program>();
        program->start();
    });
    (void)replayer.report();
    program.reset();
    SetJournal(nullptr);
    InstallServices({});
    return 0;
}
