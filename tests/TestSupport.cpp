#include "TestSupport.h"

namespace kelvo::test {

using platform::Form;

void ClickIntroBackground(platform::testing::Harness& h, FrmIntroK& intro) {
    h.click(intro, 45, intro.ScaleHeight() - 45);
}

std::function<void(Form&)> StartUpScript(platform::testing::Harness& h, Game& game, int satellite, int speed) {
    return [&h, &game, satellite, speed](Form& f) {
        if (&f == &game.frmIntroK()) {
            FrmIntroK& intro = game.frmIntroK();
            if (!intro.fraSat.Visible) {
                ClickIntroBackground(h, intro);  // story -> instructions -> choice
                return;
            }
            h.click(intro.optSatellite(satellite));
            h.click(intro.cmdEnter);
            return;
        }
        if (&f == &game.frmOptionsK()) {
            FrmOptionsK& o = game.frmOptionsK();
            if (speed == 1) h.click(o.optSlow);
            if (speed == 2) h.click(o.optMedium);
            if (speed == 3) h.click(o.optFast);
            h.click(o.cmdOk);
            return;
        }
        f.Unload();  // any other modal window: close it
    };
}

FrmKelvo& StartGame(platform::testing::Harness& h, Program& program, int satellite, int speed) {
    h.onModal(StartUpScript(h, program.game(), satellite, speed));
    program.start();
    h.processEvents();
    return program.game().frmKelvo();
}

bool PlayTimersRunning(const FrmKelvo& k) {
    return k.tmrShip1.Interval == 100 && k.tmrShip2.Interval == 100 && k.tmrMissile1.Interval == 10 &&
           k.tmrMissile2.Interval == 100 && k.tmrStars.Interval == 100;
}

std::multiset<std::string> DefaultTeams() {
    return {"Alpha Squadron", "Beta Squadron", "Gamma Team",       "Delta Force", "Epsilon Team",
            "Nova Squadron",  "Aurora Fleet",  "Omnicron Command", "Sigma Corps", "Omega Force"};
}

std::multiset<std::string> TableTeams(const Game& game) {
    std::multiset<std::string> names;
    for (int rank = 1; rank <= 10; ++rank) names.insert(game.TeamNames(rank));
    return names;
}

Table CurrentTable(const Game& game) {
    Table t;
    for (int rank = 1; rank <= 10; ++rank) t.emplace_back(game.TeamNames(rank), game.HighScores(rank));
    return t;
}

}  // namespace kelvo::test
