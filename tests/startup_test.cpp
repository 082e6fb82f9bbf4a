// From launch to play: the briefing, the satellite choice, the speed screen and
// the main window's set-up at its load and at every activation.

#include <gtest/gtest.h>

#include <QMenuBar>

#include <set>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "platform/core/Application.h"
#include "platform/core/Random.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/MenuBar.h"

namespace kelvo {
namespace {

using namespace platform;
using Harness = test::GameHarness;
using test::ClickIntroBackground;
using test::PlayTimersRunning;
using test::StartGame;

// A program of its own on a harness of its own, not yet started.
struct Fresh : ::testing::Test {
    Harness h;
    Program program;
    Game& game = program.game();
};
struct Load : Fresh {};
struct Briefing : Fresh {};
struct SpeedScreen : Fresh {};
struct EveryClassAndSpeed : Fresh, ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(EveryClassAndSpeed, StartUpEndsInARunningGameOfThatClassAndSpeed) {
    const auto [satellite, speed] = GetParam();
    FrmKelvo& k = StartGame(h, program, satellite, speed);
    EXPECT_EQ(game.Satellite, satellite);
    EXPECT_EQ(game.Speed, speed);
    EXPECT_FALSE(game.frmIntroK().IsLoaded() || game.frmOptionsK().IsLoaded());
    EXPECT_EQ(ActiveForm(), &k);
    const qt::FormWindow* window = h.windowOf(k);
    EXPECT_EQ(window->windowTitle().toStdString(), "Orvane Game");
    EXPECT_EQ(window->menuBar().bar()->actions().size(), 3);
    // The class decides the picture, the beam, the hull and the lives panel.
    const float w = satellite == 1 ? 360 : 960;
    EXPECT_EQ(k.imgBlaster.Picture.get(), k.imgSatellite(satellite).Picture.get());
    EXPECT_EQ(k.linKelvo.BorderWidth, satellite);
    EXPECT_EQ(k.Hull, satellite);
    EXPECT_FLOAT_EQ(k.imgLife(2).Left, 50 + 2 * w);
    EXPECT_FLOAT_EQ(k.framLives.Width, 50 + 3 * w + 50);
    EXPECT_FLOAT_EQ(k.shpHPBar.Width, k.shpHPBorder.Width);
    EXPECT_TRUE(PlayTimersRunning(k));
    EXPECT_EQ(k.lblMessage.Caption.get(), "LEVEL 1");
}

INSTANTIATE_TEST_SUITE_P(StartUp, EveryClassAndSpeed,
                         ::testing::Combine(::testing::Values(1, 2, 3), ::testing::Values(1, 2, 3)));

TEST_F(Load, DealsTheDefaultTableInADifferentOrderEachTime) {
    // The clock reading is pinned: only the folding reseed can tell the starts apart.
    std::set<test::Table> tables;
    for (int run = 0; run < 4; ++run) {
        Program another;
        StartGame(h, another);
        EXPECT_EQ(test::TableTeams(another.game()), test::DefaultTeams());
        const test::Table table = test::CurrentTable(another.game());
        for (std::size_t rank = 1; rank <= 10; ++rank) EXPECT_EQ(table[rank - 1].second, 51200 >> (rank - 1));
        tables.insert(table);
    }
    EXPECT_GT(tables.size(), 1u);
}

// --- The briefing ------------------------------------------------------------------

TEST_F(Briefing, AtStartUpClicksLeadFromStoryToInstructionsToTheChoice) {
    std::vector<std::string> seen;
    h.onModal([&](Form&) {
        FrmIntroK& intro = game.frmIntroK();
        if (intro.fraSat.Visible) {
            seen.push_back("choice");
            EXPECT_EQ(game.Satellite, 1);
            EXPECT_EQ(intro.lblChoice.Caption.get(), "Light Point Defense Beacon:\r\nfast and small, easily damaged");
            h.click(intro.optSatellite(3));
            EXPECT_EQ(game.Satellite, 3);
            EXPECT_EQ(intro.optSatellite(3).BackColor.get(), colors::Cyan);
            EXPECT_EQ(intro.optSatellite(1).BackColor.get(), colors::Navy);
            EXPECT_FLOAT_EQ(intro.lblChoice.Top, 2400);
            ClickIntroBackground(h, game.frmIntroK());  // the background selects the light satellite anew
            EXPECT_EQ(game.Satellite, 1);
            return intro.Unload();
        }
        const bool story = intro.lblScroll.ForeColor == colors::Red;
        seen.push_back(story ? "story" : "instructions");
        EXPECT_EQ(intro.lblScroll.Caption.get(), story ? FrmIntroK::kStoryText : FrmIntroK::kInstructionsText);
        EXPECT_FLOAT_EQ(intro.lblScroll.Top, intro.ScaleHeight()) << "each page starts at the bottom";
        h.advance(1000);  // and scrolls up
        if (story) return ClickIntroBackground(h, game.frmIntroK());
        h.click(intro, intro.lblTitle.Left + 15, intro.lblTitle.Top + 15);  // the title counts as background
    });
    game.frmIntroK().Show(vbModal);
    EXPECT_EQ(seen, (std::vector<std::string>{"story", "instructions", "choice"}));
}

TEST_F(Briefing, TheTextLeavesTheTopWholeBeforeItComesBackFromTheBottom) {
    h.onModal([&](Form&) {
        FrmIntroK& intro = game.frmIntroK();
        EXPECT_GT(intro.lblScroll.Height, 1000) << "the whole story, wrapped";
        float lastBottom = intro.lblScroll.Top + intro.lblScroll.Height;
        for (int tick = 0; tick < 100000; ++tick) {
            h.clock().advance(10);
            if (intro.lblScroll.Top == intro.ScaleHeight()) break;  // back at the bottom edge
            lastBottom = intro.lblScroll.Top + intro.lblScroll.Height;
        }
        EXPECT_GE(lastBottom, 0) << "it restarted before the whole block had left";
        EXPECT_LT(lastBottom, 20);
        intro.Unload();
    });
    game.frmIntroK().Show(vbModal);
}

TEST_F(Briefing, TheTitleGrowsToItsLimitAndStartsAgainSmall) {
    h.onModal([&](Form&) {
        FrmIntroK& intro = game.frmIntroK();
        int largest = 0, resets = 0, previous = intro.TitleSize;
        for (int tick = 0; tick < 3000 && resets < 2; ++tick) {
            h.clock().advance(100);
            ASSERT_LE(intro.TitleSize, FrmIntroK::kTitleSizeLimit);
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
    game.frmIntroK().Show(vbModal);
}

// --- The speed screen ------------------------------------------------------------------

TEST_F(SpeedScreen, PreselectsTheKeptSpeedAndTakesAChoiceAtOnce) {
    for (int kept : {0, 3}) {
        game.Speed = static_cast<std::int16_t>(kept);
        game.SpeedChoice = 1;
        h.onModal([&](Form&) {
            FrmOptionsK& o = game.frmOptionsK();
            EXPECT_EQ(bool(o.optSlow.Value), kept == 0);
            EXPECT_EQ(bool(o.optFast.Value), kept == 3);
            EXPECT_EQ(game.Speed, kept == 0 ? 1 : kept) << "the preselection writes the speed back";
            h.click(o.optMedium);
            EXPECT_EQ(game.Speed, 2);
            h.click(o, 150, o.ScaleHeight() - 150);  // the background does not close it
            EXPECT_TRUE(o.IsLoaded());
            o.Unload();
        });
        game.frmOptionsK().Show(vbModal);
    }
}

TEST_F(SpeedScreen, ItsCloseButtonAtStartUpLeadsIntoTheGameLikeOk) {
    const auto startUp = test::StartUpScript(h, game, 2, 1);
    h.onModal([&](Form& f) {
        if (&f != &game.frmOptionsK()) return startUp(f);
        h.click(game.frmOptionsK().optFast);
        h.close(f);
    });
    program.start();
    h.processEvents();
    EXPECT_FALSE(game.frmIntroK().IsLoaded());
    EXPECT_TRUE(game.frmKelvo().Visible());
    EXPECT_EQ(game.Satellite, 2);
    EXPECT_EQ(game.Speed, 3);
}

}  // namespace
}  // namespace kelvo
