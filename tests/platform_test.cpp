// What the platform layer promises the game: timers on a stepped clock, modal
// forms, twips, the drawing surface, control events and mouse routing.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/Form.h"
#include "platform/ManualClock.h"
#include "platform/Random.h"
#include "platform/testing/Harness.h"

namespace {

using namespace platform;
using Harness = kelvo::test::GameHarness;

class TestForm final : public Form {
public:
    TestForm() : Form("testForm") {
        lbl.Click = [this] { log.push_back("label click"); };
        lbl.MouseDown = [this](std::int16_t, std::int16_t, float x, float y) {
            log.push_back("label down " + std::to_string(int(x)) + "," + std::to_string(int(y)));
        };
        btn.Click = [this] { log.push_back("button click"); };
        opt1.Click = [this] { log.push_back("opt1 click"); };
        opt2.Click = [this] { log.push_back("opt2 click"); };
        lbl.Change = [this] { log.push_back("change " + lbl.Caption.get()); };
    }

    Label lbl{*this};
    Image img{*this};
    Image emptyImg{*this};
    Shape shp{*this};
    Line lin{*this};
    Frame fra{*this};
    CommandButton btn{*this, &fra};
    OptionButton opt1{*this, &fra};
    OptionButton opt2{*this, &fra};
    OptionButton loneOpt{*this};
    Timer tmrA, tmrB;

    std::vector<std::string> log;
    int activations = 0;

    void Form_Load() override { log.push_back("load"); }
    void Form_Activate() override { ++activations; }
    void Form_Click() override { log.push_back("form click"); }
    void Form_MouseDown(std::int16_t b, std::int16_t, float x, float y) override {
        log.push_back("form down " + std::to_string(b) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
    }
    void Form_MouseUp(std::int16_t, std::int16_t, float, float) override { log.push_back("form up"); }
    void Form_KeyDown(std::int16_t& key, std::int16_t) override { log.push_back("key " + std::to_string(key)); }

protected:
    void InitializeComponent() override {
        setDesign({.clientWidth = 6000,
                   .clientHeight = 4500,
                   .position = StartUpPosition::CenterScreen,
                   .icon = "",
                   .mouseIcon = "",
                   .frameless = false});
        setTimers({&tmrA, &tmrB});
        BackColor = colors::Black;
        lbl.Move(150, 150, 1500, 300);
        lbl.Caption = "";
        img.Picture = LoadPicture("ship3");
        img.Move(3000, 150, 900, 510);
        emptyImg.Move(3000, 1500, 900, 510);
        shp.Move(150, 1500, 1500, 300);
        lin.X1 = 150;
        lin.Y1 = 2250;
        lin.X2 = 1500;
        lin.Y2 = 2250;
        fra.Move(1500, 3000, 3000, 1200);
        btn.Move(150, 300, 900, 450);
        btn.Caption = "&Go";
        opt1.Move(1200, 300, 600, 450);
        opt2.Move(1950, 300, 600, 450);
        loneOpt.Move(4500, 150, 600, 450);
        opt1.Value = false;
        opt2.Value = false;
    }
};

// --- Timers ---------------------------------------------------------------------

TEST(Timers, TickEveryIntervalOnlyWhileTheIntervalIsAboveZero) {
    Harness h;
    int ticks = 0;
    Timer t([&] { ++ticks; });
    h.advance(1000);
    EXPECT_EQ(ticks, 0) << "a timer with Interval 0 is idle";
    t.Interval = 100;
    h.advance(350);
    EXPECT_EQ(ticks, 3);
    t.Interval = 0;
    h.advance(1000);
    EXPECT_EQ(ticks, 3);
}

TEST(Timers, WritingTheIntervalRestartsThePeriodEvenWithTheSameValue) {
    Harness h;
    int ticks = 0;
    Timer t([&] { ++ticks; });
    t.Interval = 100;
    h.advance(90);
    t.Interval = 100;  // restart
    h.advance(90);
    EXPECT_EQ(ticks, 0);
    h.advance(10);
    EXPECT_EQ(ticks, 1);
}

TEST(Timers, DueTicksFireInTimeOrderAndAStoppedTimerMissesItsTurn) {
    Harness h;
    std::vector<std::string> order;
    Timer slow, fast, victim;
    slow.Tick = [&] { order.push_back("slow"); };
    fast.Tick = [&] {
        order.push_back("fast");
        victim.Interval = 0;  // stopped before its own tick comes due at the same moment
    };
    victim.Tick = [&] { order.push_back("victim"); };
    slow.Interval = 30;
    fast.Interval = 20;
    victim.Interval = 40;
    h.advance(40);
    EXPECT_EQ(order, (std::vector<std::string>{"fast", "slow", "fast"}));
}

TEST(Timers, ATickThatRestartsItsOwnTimerWaitsAFullNewPeriod) {
    Harness h;
    int ticks = 0;
    Timer t;
    t.Tick = [&] {
        ++ticks;
        t.Interval = 50;
    };
    t.Interval = 10;
    h.advance(10);
    EXPECT_EQ(ticks, 1);
    h.advance(49);
    EXPECT_EQ(ticks, 1);
    h.advance(1);
    EXPECT_EQ(ticks, 2);
}

// --- Forms: loading, modal showing, activation ------------------------------------

TEST(Forms, ShowLoadsWithDesignValuesAndActivatesOnce) {
    Harness h;
    TestForm f;
    f.Show();
    h.processEvents();
    EXPECT_TRUE(f.IsLoaded());
    EXPECT_TRUE(f.Visible());
    EXPECT_EQ(f.log.front(), "load");
    EXPECT_EQ(f.activations, 1);
    f.Show();  // already the active form
    h.processEvents();
    EXPECT_EQ(f.activations, 1);
    f.Unload();
    EXPECT_FALSE(f.IsLoaded());
}

TEST(Forms, UnloadStopsTheFormsTimersAndTheNextShowStartsFromTheDesign) {
    Harness h;
    TestForm f;
    f.Show();
    f.tmrA.Interval = 10;
    f.lbl.Caption = "changed";
    f.Unload();
    int ticks = 0;
    f.tmrA.Tick = [&] { ++ticks; };
    h.advance(100);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(f.tmrA.Interval, 0);
    f.Show();
    EXPECT_EQ(f.lbl.Caption.get(), "");
}

TEST(Forms, ModalShowReturnsOnlyAfterTheFormIsUnloadedWhileTimersKeepTicking) {
    Harness h;
    TestForm owner, dialog;
    owner.Show();
    h.processEvents();
    int ticks = 0;
    owner.tmrA.Tick = [&] { ++ticks; };
    owner.tmrA.Interval = 100;
    int rounds = 0;
    h.onModal([&](Form& f) {
        ASSERT_EQ(&f, &dialog);
        EXPECT_TRUE(dialog.Visible());
        h.advance(250);  // time passes while the modal form is open
        if (++rounds == 2) dialog.Unload();
    });
    dialog.Show(vbModal);
    EXPECT_EQ(rounds, 2);
    EXPECT_FALSE(dialog.IsLoaded());
    EXPECT_EQ(ticks, 5);
    h.processEvents();
    EXPECT_EQ(owner.activations, 2) << "the owner becomes active again when the modal form closes";
}

TEST(Forms, NestedModalFormsUnwindInOrder) {
    Harness h;
    TestForm outer, inner;
    std::vector<std::string> steps;
    h.onModal([&](Form& f) {
        if (&f == &outer) {
            steps.push_back("outer open");
            inner.Show(vbModal);
            steps.push_back("inner returned");
            return;
        }
        steps.push_back("inner open");
        inner.Unload();
        outer.Unload();  // closing both from the inner one, as an OK button may
    });
    outer.Show(vbModal);
    steps.push_back("outer returned");
    EXPECT_EQ(steps, (std::vector<std::string>{"outer open", "inner open", "inner returned", "outer returned"}));
}

TEST(Forms, SizesAreTwipsAtFifteenPerPixel) {
    Harness h;
    TestForm f;
    f.Show();
    EXPECT_FLOAT_EQ(f.ScaleWidth(), 6000);
    EXPECT_FLOAT_EQ(f.ScaleHeight(), 4500);
    f.setWidth(7515);
    EXPECT_FLOAT_EQ(f.Width(), 7515);
    EXPECT_EQ(static_cast<int>(f.ScaleWidth()) % kTwipsPerPixel, 0);
    EXPECT_GT(ScreenWidth(), 0);
    EXPECT_EQ(static_cast<int>(ScreenWidth()) % kTwipsPerPixel, 0);
}

// --- Drawing surface ----------------------------------------------------------------

TEST(Surface, PointsAreDrawnBeneathAndClearedByCls) {
    Harness h;
    TestForm f;
    f.Show();
    f.PSet(600, 600, colors::White);
    EXPECT_EQ(f.Point(600, 600), colors::White);
    EXPECT_EQ(f.Point(630, 600), colors::Black);
    f.Cls();
    EXPECT_EQ(f.Point(600, 600), colors::Black);
}

TEST(Surface, PointsOutsideTheAreaAreDroppedWithoutError) {
    Harness h;
    TestForm f;
    f.Show();
    f.PSet(f.ScaleWidth() + 1, 100, colors::White);
    f.PSet(-15, -15, colors::White);
    f.PSet(1e9f, 1e9f, colors::White);
    EXPECT_EQ(f.Point(f.ScaleWidth() + 1, 100), static_cast<Color>(-1));
    EXPECT_EQ(f.Point(f.ScaleWidth() - 15, 90), colors::Black) << "the last column is untouched";
}

// --- Controls ---------------------------------------------------------------------------

TEST(Controls, ChangeIsRaisedWhenTheCaptionTextChangesOnly) {
    Harness h;
    TestForm f;
    f.Show();
    f.log.clear();
    f.lbl.Caption = "0";
    f.lbl.Caption = "0";
    f.lbl.Caption = " 0";
    EXPECT_EQ(f.log, (std::vector<std::string>{"change 0", "change  0"}));
}

TEST(Controls, AnImageTakesThePicturesNaturalSize) {
    Harness h;
    TestForm f;
    f.Show();
    f.emptyImg.Picture = LoadPicture("satellite2");
    EXPECT_FLOAT_EQ(f.emptyImg.Width, 960);
    EXPECT_FLOAT_EQ(f.emptyImg.Height, 720);
    EXPECT_TRUE(LoadPicture("no such picture").empty());
}

TEST(Controls, AWordWrappingAutoSizeLabelKeepsItsWidthAndGrowsDownwards) {
    Harness h;
    TestForm f;
    f.Show();
    f.lbl.WordWrap = true;
    f.lbl.AutoSize = true;
    f.lbl.Caption = "one";
    const float oneLine = f.lbl.Height;
    f.lbl.Caption = "a caption long enough to wrap over several lines of this narrow label";
    EXPECT_FLOAT_EQ(f.lbl.Width, 1500);
    EXPECT_GT(f.lbl.Height, 2 * oneLine);
}

TEST(Controls, OptionButtonsFormAGroupAndSettingValueRaisesClick) {
    Harness h;
    TestForm f;
    f.Show();
    f.log.clear();
    f.loneOpt.Value = true;  // another container: another group
    f.opt1.Value = true;
    EXPECT_TRUE(f.opt1.Value);
    EXPECT_TRUE(f.loneOpt.Value);
    f.opt2.Value = true;
    EXPECT_FALSE(f.opt1.Value);
    EXPECT_TRUE(f.opt2.Value);
    EXPECT_TRUE(f.loneOpt.Value);
    EXPECT_EQ(f.log, (std::vector<std::string>{"opt1 click", "opt2 click"}));
    h.click(f.opt1);  // a click selects too
    EXPECT_TRUE(f.opt1.Value);
    EXPECT_FALSE(f.opt2.Value);
}

// --- Mouse routing -------------------------------------------------------------------------

TEST(MouseRouting, PressesGoToTheFormOnItsBackgroundAndThroughLinesShapesEmptyAndDisabledImages) {
    Harness h;
    TestForm f;
    f.Show();
    f.log.clear();
    h.click(f, 4500, 2400);  // background
    h.click(f, 300, 1590);   // shape
    h.click(f, 300, 2250);   // line
    h.click(f, 3150, 1650);  // image without a picture
    f.img.Enabled = false;
    h.click(f, 3150, 300);  // disabled image
    EXPECT_EQ(f.log, (std::vector<std::string>{"form down 1 4500,2400", "form up", "form click", "form down 1 300,1590",
                                               "form up", "form click", "form down 1 300,2250", "form up", "form click",
                                               "form down 1 3150,1650", "form up", "form click", "form down 1 3150,300",
                                               "form up", "form click"}));
}

TEST(MouseRouting, EnabledControlsTakeTheirPressesWithControlRelativePositions) {
    Harness h;
    TestForm f;
    f.Show();
    f.log.clear();
    h.click(f, 3150, 300);   // enabled image with a picture: no handler, nothing happens
    h.click(f, 450, 300);    // label
    h.click(f, 4400, 3150);  // the frame's own background
    h.click(f.btn);
    h.press(f, 600, 300, 2);  // any button
    h.release(f, 600, 300, 2);
    EXPECT_EQ(f.log, (std::vector<std::string>{"label down 300,150", "label click", "button click",
                                               "label down 450,150", "label click"}));
}

TEST(MouseRouting, AHiddenFrameHidesItsControlsFromTheMouse) {
    Harness h;
    TestForm f;
    f.Show();
    f.fra.Visible = false;
    f.log.clear();
    h.click(f.btn);
    EXPECT_EQ(f.log, (std::vector<std::string>{"form down 1 2100,3525", "form up", "form click"}));
}

// --- Keyboard ----------------------------------------------------------------------------------

TEST(Keyboard, KeyDownComesOncePerPressAndPerRepeatWithArrowCodes) {
    Harness h;
    TestForm f;
    f.Show();
    f.log.clear();
    h.key(f, keys::Left);
    h.key(f, keys::Left, true);
    h.key(f, keys::Up);
    h.key(f, keys::Right);
    h.key(f, keys::Down);
    h.key(f, 'G', false, true);  // Alt+G: the button's access key
    EXPECT_EQ(f.log, (std::vector<std::string>{"key 37", "key 37", "key 38", "key 39", "key 40", "button click"}));
}

// --- Random numbers -------------------------------------------------------------------------

TEST(Random, DrawsAreInTheUnitIntervalAndSpreadOverIt) {
    RandomGenerator g(7);
    int buckets[10] = {};
    for (int i = 0; i < 100000; ++i) {
        const float r = g.Rnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        ++buckets[static_cast<int>(r * 10)];
    }
    for (int b : buckets) EXPECT_NEAR(b, 10000, 600);
}

TEST(Random, ASeedRepeatsTheSequence) {
    RandomGenerator a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 10; ++i) {
        const float ra = a.Rnd();
        EXPECT_EQ(ra, b.Rnd());
        differs = differs || ra != c.Rnd();
    }
    EXPECT_TRUE(differs);
}

TEST(Random, AReseedUnderOneClockReadingFoldsIntoTheStateInsteadOfRestarting) {
    RandomGenerator g(1);
    std::set<float> seen;
    for (int i = 0; i < 20; ++i) {
        g.Randomize(43200.25);  // the same clock reading every time
        seen.insert(g.Rnd());
    }
    EXPECT_EQ(seen.size(), 20u) << "draws after equal reseeds must still differ";
}

}  // namespace
