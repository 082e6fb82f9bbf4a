// From launch to play: the load's briefing, the satellite choice, the speed
// screen and the main window's set-up at load and at every activation.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "game/Captions.h"
#include "platform/Application.h"
#include "platform/Random.h"

namespace kelvo {
namespace {

using namespace platform;
using Harness = kelvo::test::GameHarness;
using test::ClickIntroBackground;
using test::ScriptStartUp;
using test::StartGame;

const std::vector<std::string> kTeams = {"Alpha Squadron", "Beta Squadron", "Gamma Team",   "Delta Force",
                                         "Epsilon Team",   "Nova Squadron", "Aurora Fleet", "Omnicron Command",
                                         "Sigma Corps",    "Omega Force"};

std::vector<std::string> TableNames() {
    std::vector<std::string> names;
    for (int k = 1; k <= 10; ++k) names.push_back(TeamNames(k));
    return names;
}

bool PlayTimersRunning(FrmKelvo& k) {
    return k.tmrShip1.Interval == 100 && k.tmrShip2.Interval == 100 && k.tmrMissile1.Interval == 10 &&
           k.tmrMissile2.Interval == 100 && k.tmrStars.Interval == 100;
}

// --- The whole path, for every class and speed ----------------------------------------

class EveryClassAndSpeed : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(EveryClassAndSpeed, StartUpEndsInARunningGameWithThatClassAndSpeed) {
    const auto [satellite, speed] = GetParam();
    Harness h;
    Program program;
    FrmKelvo& k = StartGame(h, satellite, speed);

    EXPECT_EQ(Satellite, satellite);
    EXPECT_EQ(Speed, speed);
    EXPECT_FALSE(frmIntroK().IsLoaded());
    EXPECT_FALSE(frmOptionsK().IsLoaded());
    ASSERT_TRUE(k.Visible());
    EXPECT_EQ(ActiveForm(), &k);
    EXPECT_EQ(Harness::windowTitle(k), "Orvane Game");
    EXPECT_EQ(Harness::windowMenuCount(k), 3);

    // The class decides the picture, beam, hull and the lives panel's icons.
    const float w = satellite == 1 ? 360 : 960, hgt = satellite == 1 ? 375 : 720;
    EXPECT_EQ(k.imgBlaster.Picture.get(), k.imgSatellite(satellite).Picture.get());
    EXPECT_FLOAT_EQ(k.imgBlaster.Width, w);
    EXPECT_FLOAT_EQ(k.imgBlaster.Height, hgt);
    EXPECT_EQ(k.linKelvo.BorderWidth, satellite);
    EXPECT_EQ(k.Hull, satellite);
    for (int i = 0; i <= 2; ++i) {
        EXPECT_TRUE(k.imgLife(i).Visible);
        EXPECT_FLOAT_EQ(k.imgLife(i).Width, w);
        EXPECT_FLOAT_EQ(k.imgLife(i).Left, 50 + w * static_cast<float>(i));
    }
    EXPECT_FLOAT_EQ(k.framLives.Width, 50 + 3 * w + 50);
    EXPECT_FLOAT_EQ(k.shpHPBar.Width, k.shpHPBorder.Width);
    EXPECT_TRUE(PlayTimersRunning(k));
    EXPECT_EQ(k.lblMessage.Caption.get(), "LEVEL 1");
    EXPECT_EQ(k.lblLevel.Caption.get(), "LEVEL 1");
    EXPECT_EQ(k.lblScore.Caption.get(), "0");
    EXPECT_EQ(k.Lives, 3);
    EXPECT_EQ(k.Level, 1);
}

INSTANTIATE_TEST_SUITE_P(StartUp, EveryClassAndSpeed,
                         ::testing::Combine(::testing::Values(1, 2, 3), ::testing::Values(1, 2, 3)));

// --- Load --------------------------------------------------------------------------------

TEST(Load, TheMainWindowIsNotVisibleWhileTheBriefingRunsAndNoTimerTicks) {
    Harness h;
    Program program;
    bool checked = false;
    h.onModal([&](Form& f) {
        if (&f == &frmIntroK() && !checked) {
            checked = true;
            EXPECT_FALSE(frmKelvo().Visible());
            EXPECT_EQ(Satellite, 0);
            EXPECT_EQ(Speed, 0);
            for (Timer* t : frmKelvo().timers()) EXPECT_EQ(t->Interval, 0);
        }
        if (&f == &frmIntroK() && !frmIntroK().fraSat.Visible) return ClickIntroBackground(h);
        if (&f == &frmIntroK()) return h.click(frmIntroK().cmdEnter);
        h.click(frmOptionsK().cmdOk);
    });
    frmKelvo().Show();
    h.processEvents();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(frmKelvo().Visible());
}

TEST(Load, FillsTheDefaultTableWithTheTeamsInARandomOrder) {
    Harness h;
    Program program;
    StartGame(h);
    const std::vector<int> scores = {51200, 25600, 12800, 6400, 3200, 1600, 800, 400, 200, 100};
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(HighScores(k), scores[static_cast<std::size_t>(k - 1)]);
    std::vector<std::string> names = TableNames(), expected = kTeams;
    std::sort(names.begin(), names.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected) << "every team exactly once";
}

TEST(Load, TwoStartsNormallyGiveDifferentNameOrders) {
    Harness h;  // the clock reading is pinned: only the folding reseed can tell the starts apart
    std::set<std::vector<std::string>> orders;
    for (int run = 0; run < 5; ++run) {
        Program program;
        StartGame(h);
        orders.insert(TableNames());
    }
    EXPECT_GT(orders.size(), 1u);
}

TEST(Load, PlacesTheMessageBandAndTheSatelliteFromTheWindowsOuterSize) {
    Harness h;
    Program program;
    FrmKelvo& k = StartGame(h, 3, 1);
    EXPECT_FLOAT_EQ(k.Width(), ScreenWidth());
    EXPECT_FLOAT_EQ(k.Height(), ScreenHeight());
    EXPECT_FLOAT_EQ(k.lblMessage.Left, 0);
    EXPECT_FLOAT_EQ(k.lblMessage.Top, k.ScaleHeight() / 2 - 1000);
    EXPECT_FLOAT_EQ(k.lblMessage.Width, k.ScaleWidth());
    EXPECT_FLOAT_EQ(k.lblMessage.Height, k.Height() / 2 - 1000);
    // The corner is placed with the design height (375) before the class picture grows the image.
    EXPECT_FLOAT_EQ(k.imgBlaster.Left, k.Width() / 2);
    EXPECT_FLOAT_EQ(k.imgBlaster.Top, k.Height() - 1875);
    EXPECT_EQ(k.tmrLevel.Interval, 2000);
}

// --- Activation ---------------------------------------------------------------------------

TEST(Activation, LaysOutTheScoreAndLivesPanelFromLiveSizesAndRestsTheBeamOnTheCentre) {
    Harness h;
    Program program;
    FrmKelvo& k = StartGame(h, 2, 1);
    EXPECT_FLOAT_EQ(k.lblScore.Left, k.ScaleWidth() - 2175 - 100);
    EXPECT_FLOAT_EQ(k.lblScore.Top, k.ScaleHeight() - 495 - 500);
    EXPECT_FLOAT_EQ(k.shpHPBorder.Top, 240 + 720 + 10);
    EXPECT_FLOAT_EQ(k.shpHPBorder.Width, 50 + 3 * 960 - 60);
    EXPECT_FLOAT_EQ(k.framLives.Height, k.shpHPBorder.Top + 135 + 50);
    EXPECT_FLOAT_EQ(k.framLives.Top, k.ScaleHeight() - k.framLives.Height - 500);
    const float cx = k.imgBlaster.Left + k.imgBlaster.Width / 2, cy = k.imgBlaster.Top + k.imgBlaster.Height / 2;
    EXPECT_FLOAT_EQ(k.linKelvo.X1, cx);
    EXPECT_FLOAT_EQ(k.linKelvo.X2, cx);
    EXPECT_FLOAT_EQ(k.linKelvo.Y1, cy);
    EXPECT_FLOAT_EQ(k.linKelvo.Y2, cy);
}

TEST(Activation, PaintsAThousandStarsOnAFreshSurface) {
    Harness h;
    Program program;
    FrmKelvo& k = StartGame(h);
    // Replay the draws the activation made, from the same generator state.
    Generator().seed(99);
    k.PSet(15, 15, colors::Red);  // left over from before: the activation wipes it
    RandomGenerator replay(99);
    k.Form_Activate();
    int white = 0;
    for (int i = 0; i < 1000; ++i) {
        const float r1 = replay.Rnd();
        const int x = CInt(static_cast<float>(Int(k.ScaleWidth() + 1.0f)) * r1);
        const float r2 = replay.Rnd();
        const int y = CInt(static_cast<float>(Int(k.ScaleHeight() + 1.0f)) * r2);
        const Color c = k.Point(static_cast<float>(x), static_cast<float>(y));
        if (c == colors::White)
            ++white;
        else
            EXPECT_EQ(c, static_cast<Color>(-1)) << "only points just past the edge may be missing";
    }
    EXPECT_GT(white, 990);
    EXPECT_NE(k.Point(15, 15), colors::Red);
}

TEST(Activation, StarsCoverAWindowWiderThanSixteenBitCoordinatesReach) {
    Harness h;
    Program program;
    FrmKelvo& k = StartGame(h);
    k.setWidth(45000);  // 3000 pixels: today's wide screens
    k.setHeight(36000);
    ASSERT_GT(k.ScaleWidth(), 32767);
    k.DrawStarField();
    int farRight = 0, farDown = 0;
    for (float x = 32775; x < k.ScaleWidth(); x += 15)
        for (float y = 0; y < k.ScaleHeight(); y += 15) {
            if (k.Point(x, y) != colors::White) continue;
            ++farRight;
            if (y > 32767) ++farDown;
        }
    // A quarter of the width lies past 32767 twips: about a quarter of the stars.
    EXPECT_GT(farRight, 150);
    EXPECT_GT(farDown, 10);
}

TEST(Activation, ComingBackMidGameRefillsTheHullAndRestartsThePlayTimers) {
    Harness h;
    Program program;
    FrmKelvo& k = StartGame(h, 3, 1);
    k.Hull = 1;
    k.shpHPBar.Width = k.shpHPBorder.Width / 3;
    for (Timer* t : {&k.tmrShip1, &k.tmrShip2, &k.tmrMissile1, &k.tmrMissile2, &k.tmrStars}) t->Interval = 0;
    h.onModal([](Form& f) { f.Unload(); });
    frmOptionsK().Show(vbModal);  // any screen over the main window
    h.processEvents();
    EXPECT_EQ(k.Hull, 3);
    EXPECT_FLOAT_EQ(k.shpHPBar.Width, k.shpHPBorder.Width);
    EXPECT_TRUE(PlayTimersRunning(k));
}

TEST(Activation, ComingBackWhileTheSatelliteIsAwayLeavesTheBarAndTimersAlone) {
    Harness h;
    Program program;
    FrmKelvo& k = StartGame(h, 2, 1);
    k.imgBlaster.Visible = false;
    k.Hull = 0;
    k.shpHPBar.Width = 0;
    for (Timer* t : {&k.tmrShip1, &k.tmrShip2, &k.tmrMissile1, &k.tmrMissile2, &k.tmrStars}) t->Interval = 0;
    h.onModal([](Form& f) { f.Unload(); });
    frmOptionsK().Show(vbModal);
    h.processEvents();
    EXPECT_EQ(k.Hull, 2) << "the hull is refilled all the same";
    EXPECT_FLOAT_EQ(k.shpHPBar.Width, 0);
    EXPECT_EQ(k.tmrShip1.Interval, 0);
    EXPECT_EQ(k.tmrStars.Interval, 0);
}

// --- Briefing ---------------------------------------------------------------------------------

TEST(Briefing, AtStartUpClicksLeadFromStoryToInstructionsToTheChoice) {
    Harness h;
    Program program;
    std::vector<std::string> seen;
    h.onModal([&](Form& f) {
        FrmIntroK& intro = frmIntroK();
        if (&f != &intro) {
            f.Unload();
            return;
        }
        const bool story = intro.lblScroll.ForeColor == colors::Red;
        if (story) {
            EXPECT_EQ(intro.lblScroll.Caption.get(), FrmIntroK::kStoryText);
            EXPECT_FLOAT_EQ(intro.lblScroll.Top, intro.ScaleHeight());
            seen.push_back("story");
            h.advance(1000);  // the text scrolls up meanwhile
            EXPECT_LT(intro.lblScroll.Top, intro.ScaleHeight());
            ClickIntroBackground(h);
            EXPECT_FLOAT_EQ(intro.lblScroll.Top, intro.ScaleHeight()) << "the instructions start at the bottom";
            return;
        }
        if (!intro.fraSat.Visible) {
            EXPECT_EQ(intro.lblScroll.Caption.get(), FrmIntroK::kInstructionsText);
            seen.push_back("instructions");
            h.click(intro, intro.lblTitle.Left + 15, intro.lblTitle.Top + 15);  // the title counts as background
            return;
        }
        seen.push_back("choice");
        EXPECT_EQ(Satellite, 1);
        EXPECT_EQ(intro.optSatellite(1).BackColor.get(), colors::Cyan);
        EXPECT_EQ(intro.optSatellite(2).BackColor.get(), colors::Navy);
        EXPECT_EQ(intro.optSatellite(3).BackColor.get(), colors::Navy);
        EXPECT_EQ(intro.lblChoice.Caption.get(), "Light Point Defense Beacon:\r\nfast and small, easily damaged");
        EXPECT_TRUE(intro.lblChoice.Visible);
        h.click(intro.optSatellite(3));
        EXPECT_EQ(Satellite, 3);
        EXPECT_FLOAT_EQ(intro.lblChoice.Top, 2400);
        ClickIntroBackground(h);  // the background selects the light satellite anew
        EXPECT_EQ(Satellite, 1);
        EXPECT_FLOAT_EQ(intro.lblChoice.Top, 240);
        intro.Unload();
    });
    frmIntroK().Show(vbModal);
    EXPECT_EQ(seen, (std::vector<std::string>{"story", "instructions", "choice"}));
}

TEST(Briefing, FromTheHelpMenuOneClickAnywhereClosesIt) {
    Harness h;
    Program program;
    StartGame(h);
    for (int page : {0, 1}) {
        BriefingPage = static_cast<std::int16_t>(page);
        SpeedChoice = 1;
        Color shown = 0;
        h.onModal([&](Form&) {
            shown = frmIntroK().lblScroll.ForeColor;
            h.click(frmIntroK().lblScroll);
        });
        frmIntroK().Show(vbModal);
        EXPECT_FALSE(frmIntroK().IsLoaded());
        EXPECT_EQ(SpeedChoice, 0);
        EXPECT_EQ(shown, page == 0 ? colors::Red : colors::Yellow);
    }
}

TEST(Briefing, TextThatLeavesTheTopComesBackFromTheBottom) {
    Harness h;
    Program program;
    h.onModal([&](Form&) {
        FrmIntroK& intro = frmIntroK();
        EXPECT_GT(intro.lblScroll.Height, 1000) << "the whole story, wrapped";
        float lastBottom = intro.lblScroll.Top + intro.lblScroll.Height;
        int ticks = 0;
        for (; ticks < 100000; ++ticks) {
            h.clock().advance(10);
            if (intro.lblScroll.Top == intro.ScaleHeight()) break;  // back at the bottom edge
            EXPECT_FLOAT_EQ(intro.lblScroll.Top + intro.lblScroll.Height, lastBottom - 20);
            lastBottom = intro.lblScroll.Top + intro.lblScroll.Height;
        }
        EXPECT_GE(lastBottom, 0) << "it restarted before the whole block had left the top";
        EXPECT_LT(lastBottom, 20);
        intro.Unload();
    });
    frmIntroK().Show(vbModal);
}

TEST(Briefing, TheTitleGrowsToItsLimitAndStartsAgainSmall) {
    Harness h;
    Program program;
    h.onModal([&](Form&) {
        FrmIntroK& intro = frmIntroK();
        int largest = 0, resets = 0, previous = intro.TitleSize;
        for (int tick = 0; tick < 3000 && resets < 2; ++tick) {
            h.clock().advance(100);
            ASSERT_LE(intro.TitleSize, FrmIntroK::kTitleSizeLimit);
            ASSERT_GE(intro.TitleStep, 1);
            largest = std::max<int>(largest, intro.TitleSize);
            if (intro.TitleSize < previous) {
                ++resets;
                EXPECT_EQ(intro.TitleSize, 8);
                EXPECT_EQ(intro.TitleStep, 1);
                EXPECT_FLOAT_EQ(intro.lblTitle.FontSize(), 8);
            }
            previous = intro.TitleSize;
        }
        EXPECT_EQ(resets, 2);
        EXPECT_GT(largest, 100);
        intro.Unload();
    });
    frmIntroK().Show(vbModal);
}

TEST(Briefing, TheBorderTakesTheColourOfTheLastSparkle) {
    Harness h;
    Program program;
    h.onModal([&](Form&) {
        FrmIntroK& intro = frmIntroK();
        intro.tmrTitle.Interval = 0;  // only the sparkles draw from the generator now
        intro.tmrText.Interval = 0;
        Generator().seed(5);
        RandomGenerator replay(5);
        h.clock().advance(100);
        float x = 0, y = 0;
        Color last = 0;
        for (int i = 0; i < 1000; ++i) {
            x = static_cast<float>(CInt(static_cast<float>(Int(intro.ScaleWidth() + 1.0f)) * replay.Rnd()));
            y = static_cast<float>(CInt(static_cast<float>(Int(intro.ScaleHeight() + 1.0f)) * replay.Rnd()));
            const float r = replay.Rnd(), g = replay.Rnd(), b = replay.Rnd();
            last = RGB(CInt(r * 255 + 1), CInt(g * 255 + 1), CInt(b * 255 + 1));
        }
        EXPECT_EQ(intro.shpBorder.BorderColor.get(), last);
        if (x < intro.ScaleWidth() && y < intro.ScaleHeight()) {
            EXPECT_EQ(intro.Point(x, y), last);
        }
        intro.Unload();
    });
    frmIntroK().Show(vbModal);
}

// --- Speed screen ---------------------------------------------------------------------------

TEST(SpeedScreen, PreselectsTheKeptSpeedAndSlowBeforeAnyChoice) {
    Harness h;
    Program program;
    for (auto [kept, slow, medium, fast] :
         {std::tuple{0, true, false, false}, std::tuple{3, false, false, true}, std::tuple{2, false, true, false}}) {
        Speed = static_cast<std::int16_t>(kept);
        SpeedChoice = 1;
        h.onModal([&](Form&) {
            FrmOptionsK& o = frmOptionsK();
            EXPECT_EQ(bool(o.optSlow.Value), slow);
            EXPECT_EQ(bool(o.optMedium.Value), medium);
            EXPECT_EQ(bool(o.optFast.Value), fast);
            EXPECT_EQ(Speed, kept == 0 ? 1 : kept) << "the preselection writes the speed back";
            EXPECT_TRUE(o.fraDiff.Visible);
            EXPECT_TRUE(o.cmdOk.Visible);
            o.Unload();
        });
        frmOptionsK().Show(vbModal);
    }
}

TEST(SpeedScreen, AChoiceCountsAtOnceAndTheBackgroundDoesNotCloseIt) {
    Harness h;
    Program program;
    SpeedChoice = 1;
    Speed = 3;
    int round = 0;
    h.onModal([&](Form&) {
        FrmOptionsK& o = frmOptionsK();
        if (round++ == 0) {
            h.click(o.optMedium);
            EXPECT_EQ(Speed, 2);
            h.click(o, 150, 150);  // background
            EXPECT_TRUE(o.IsLoaded());
            return;
        }
        h.click(o.cmdOk);
    });
    frmOptionsK().Show(vbModal);
    EXPECT_FALSE(frmOptionsK().IsLoaded());
    EXPECT_EQ(Speed, 2);
}

TEST(SpeedScreen, SparklesColourTheTitleTheButtonAndTheBorderAlike) {
    Harness h;
    Program program;
    SpeedChoice = 1;
    h.onModal([&](Form&) {
        FrmOptionsK& o = frmOptionsK();
        const Color before = o.cmdOk.BackColor;
        h.advance(100);
        EXPECT_EQ(o.lblTitle.ForeColor.get(), o.cmdOk.BackColor.get());
        EXPECT_EQ(o.shpBorder.BorderColor.get(), o.cmdOk.BackColor.get());
        EXPECT_NE(o.cmdOk.BackColor.get(), before);
        EXPECT_EQ(o.optSlow.BackColor.get(), colors::Green) << "the option buttons keep their colours";
        o.Unload();
    });
    frmOptionsK().Show(vbModal);
}

TEST(SpeedScreen, OkAtStartUpClosesTheBriefingTooButFromTheMenuOnlyItself) {
    Harness h;
    Program program;
    FrmKelvo& k = StartGame(h);  // start-up: OK closed both (checked in the start-up tests too)
    ASSERT_TRUE(k.Visible());
    SpeedChoice = 1;
    h.onModal([&](Form& f) {
        ASSERT_EQ(&f, &frmOptionsK());
        h.click(frmOptionsK().cmdOk);
    });
    frmOptionsK().Show(vbModal);
    EXPECT_FALSE(frmOptionsK().IsLoaded());
    EXPECT_TRUE(k.Visible());
}

}  // namespace
}  // namespace kelvo
