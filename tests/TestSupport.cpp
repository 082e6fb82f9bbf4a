#include "TestSupport.h"

namespace kelvo::test {

using platform::Form;

void ClickIntroBackground(platform::testing::Harness& h) {
    FrmIntroK& intro = frmIntroK();
    h.click(intro, 45, intro.ScaleHeight() - 45);
}

void ScriptStartUp(platform::testing::Harness& h, int satellite, int speed) {
    h.onModal([&h, satellite, speed](Form& f) {
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
    });
}

FrmKelvo& StartGame(platform::testing::Harness& h, int satellite, int speed) {
    ScriptStartUp(h, satellite, speed);
    frmKelvo().Show();
    h.processEvents();
    return frmKelvo();
}

}  // namespace kelvo::test
