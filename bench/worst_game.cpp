// The game as the program runs it (the same start as main.cpp, the real Qt
// services), held in its worst case for the benchmark: once play begins, every
// missile tick plays at level KELVO_WORST_LEVEL (16 unless set) and speed
// KELVO_WORST_SPEED (3), sends every ship and missile that is not flying back
// into flight from the top edge, and keeps three lives, so that the game never
// ends while it is measured. Strikes on the satellite and the benchmark's own
// presses bring the explosions. Nothing of the game's logic is changed: the
// set-up only writes what a player's game would come to.

#include <cstdlib>
#include <memory>
#include <string>

#include "game/GameResources.h"
#include "game/Program.h"
#include "game/frmKelvo.h"
#include "game/modKelvo.h"
#include "platform/qt/QtProgram.h"

namespace {

std::int16_t FromEnvironment(const char* name, std::int16_t fallback) {
    const char* value = std::getenv(name);
    return value && *value ? static_cast<std::int16_t>(std::atoi(value)) : fallback;
}

void HoldWorstCase(kelvo::FrmKelvo& k, std::int16_t level, std::int16_t speed) {
    auto tick = k.tmrMissile1.Tick;
    k.tmrMissile1.Tick = [&k, tick, level, speed] {
        k.Level = level;
        k.Speed = speed;
        if (k.Lives < 3) k.Lives = 3;
        tick();
        auto relaunch = [](platform::Image& enemy) {
            if (enemy.Visible) return;
            enemy.Top = 0;
            enemy.Visible = true;
        };
        for (platform::Image& ship : k.imgShip) relaunch(ship);
        for (platform::Image& missile : k.imgMissile) relaunch(missile);
    };
}

}  // namespace

int main(int argc, char** argv) {
    std::unique_ptr<kelvo::Program> program;
    return platform::qt::RunQtProgram(
        argc, argv, {.name = "Kelvo", .version = "bench", .desktopId = "org.kelvo.Kelvo"}, kelvo::GameResources(),
        [&] {
            program = std::make_unique<kelvo::Program>();
            HoldWorstCase(program->game().frmKelvo(), FromEnvironment("KELVO_WORST_LEVEL", 16),
                          FromEnvironment("KELVO_WORST_SPEED", 3));
            program->start();
        },
        [&] { program.reset(); });
}
