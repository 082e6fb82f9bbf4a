#include "TestSupport.h"

namespace kelvo::test {

using platform::Form;

void ClickIntroBackground(platform::testing::Harness& h) {
    FrmIntroK& intro = frmIntroK();
    h.click(intro, 45, intro.ScaleHeight() - 45);
}

std::function<void(Form&)> StartUpScript(platform::testing::Harness& h, int satellite, int speed) {
    return [&h, satellite, speed](Form& f) {
        if (&f == &frmIntroK()) {
            FrmIntroK& intro = frmIntroK();
            if (!intro.fraSat.Visible) {
                ClickIntroBackground(h);  // story -> instructions -> choice
                return;
            }
            h.click(intro.optSatellite(satellite));
            h.click(intro.cmdEnter);
            return;
        }
        if (&f == &frmOptionsK()) {
            FrmOptionsK& o = frmOptionsK();
            if (speed == 1) h.click(o.optSlow);
            if (speed == 2) h.click(o.optMedium);
            if (speed == 3) h.click(o.optFast);
            h.click(o.cmdOk);
            return;
        }
        f.Unload();  // any other modal window: close it
    };
}

FrmKelvo& StartGame(platform::testing::Harness& h, int satellite, int speed) {
    h.onModal(StartUpScript(h, satellite, speed));
    frmKelvo().Show();
    h.processEvents();
    return frmKelvo();
}

bool PlayTimersRunning(const FrmKelvo& k) {
    return k.tmrShip1.Interval == 100 && k.tmrShip2.Interval == 100 && k.tmrMissile1.Interval == 10 &&
           k.tmrMissile2.Interval == 100 && k.tmrStars.Interval == 100;
}

std::multiset<std::string> DefaultTeams() {
    return {"Alpha Squadron", "Beta Squadron", "Gamma Team",       "Delta Force", "Epsilon Team",
            "Nova Squadron",  "Aurora Fleet",  "Omnicron Command", "Sigma Corps", "Omega Force"};
}

std::multiset<std::string> TableTeams() {
    std::multiset<std::string> names;
    for (int rank = 1; rank <= 10; ++rank) names.insert(TeamNames(rank));
    return names;
}

}  // namespace kelvo::test
