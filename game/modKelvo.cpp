#include "game/modKelvo.h"

namespace kelvo {

void ResetModuleVariables() {
    Score = 0;
    Speed = 0;
    PlayerName.clear();
    TeamNames.fill(std::string());
    HighScores.fill(0);
    NewScore = 0;
    Satellite = 0;
    BriefingPage = 0;
    SpeedChoice = 0;
}

}  // namespace kelvo
