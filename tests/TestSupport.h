#pragma once
// Starting the game in tests the way a player does: through the briefing, the
// satellite choice and the speed screen, with simulated clicks.

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "game/GameResources.h"
#include "game/Program.h"
#include "game/frmKelvo.h"
#include "platform/testing/Harness.h"
#include "screens/frmIntroK.h"
#include "screens/frmOptionsK.h"
#include "screens/frmScoreK.h"

namespace kelvo::test {

// The harness with the game's pictures and fonts.
struct GameHarness : platform::testing::Harness {
    explicit GameHarness(std::uint64_t seed = 1) : Harness(GameResources(), seed) {}
};

// A modal script that clicks through the start-up screens: story,
// instructions, satellite `satellite` (1 to 3), ENTER, speed `speed` (1 to 3),
// OK. Any other modal window is unloaded.
std::function<void(platform::Form&)> StartUpScript(platform::testing::Harness& h, Game& game, int satellite, int speed);

// Starts the program's game as the program does and plays the start-up
// screens through; returns once the main window is up and active.
FrmKelvo& StartGame(platform::testing::Harness& h, Program& program, int satellite = 1, int speed = 1);

// A click on the briefing's background, away from its frame and buttons.
void ClickIntroBackground(platform::testing::Harness& h, FrmIntroK& intro);

// The five play timers at their running periods.
bool PlayTimersRunning(const FrmKelvo& k);

// The ten default team names, as a set.
std::multiset<std::string> DefaultTeams();
std::multiset<std::string> TableTeams(const Game& game);

// The high-score table, best first.
using Table = std::vector<std::pair<std::string, std::int32_t>>;
Table CurrentTable(const Game& game);

}  // namespace kelvo::test
