#pragma once
// Starting the game in tests the way a player does: through the briefing, the
// satellite choice and the speed screen, with simulated clicks.

#include <cstdint>

#include "game/Program.h"
#include "game/Resources.h"
#include "game/frmKelvo.h"
#include "game/modKelvo.h"
#include "platform/testing/Harness.h"
#include "screens/frmIntroK.h"
#include "screens/frmOptionsK.h"
#include "screens/frmScoreK.h"

namespace kelvo::test {

// The harness with the game's pictures and fonts.
struct GameHarness : platform::testing::Harness {
    explicit GameHarness(std::uint64_t seed = 1) : Harness(GameResources(), seed) {}
};

// Clicks through the start-up screens whenever one of them is open modally:
// story, instructions, satellite `satellite` (1 to 3), ENTER, speed `speed`
// (1 to 3, 0 to leave the preselection), OK.
void ScriptStartUp(platform::testing::Harness& h, int satellite, int speed);

// Shows the main window as the program does at start and plays the start-up
// screens through; returns once the main window is up and active.
FrmKelvo& StartGame(platform::testing::Harness& h, int satellite = 1, int speed = 1);

// A click on the briefing's background, away from its frame and buttons.
void ClickIntroBackground(platform::testing::Harness& h);

}  // namespace kelvo::test
