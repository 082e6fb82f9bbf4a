// The course of a game: the end of the game, Reset, the pause, the menu
// commands, the high-score window left open, New Game and Exit; and the
// high-score table, where a finished game's score goes, once.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/core/Application.h"

namespace kelvo {
namespace {

using platform::Form;
using platform::MenuItem;
namespace keys = platform::keys;

class GameFlow : public ::testing::Test {
protected:
    test::GameHarness h;
    Program program;
    Game& game = program.game();
    FrmKelvo& k = test::StartGame(h, program, 2, 1);

    // The hull used up, as a strike leaves it; ships and missiles held still
    // so that nothing else touches the satellite.
    void LoseSatellite() {
        for (platform::Timer* t : {&k.tmrShip1, &k.tmrShip2, &k.tmrMissile1, &k.tmrMissile2}) t->Interval = 0;
        k.Hull = 0;
        k.shpHPBar.Width = 0;
        k.imgBlaster.Visible = false;
        k.linKelvo.Visible = false;
        k.tmrLost.Interval = 1000;
    }
    void LoseAllLives() {
        for (int life = 1; life <= 3; ++life) {
            LoseSatellite();
            h.advance(1000);
        }
    }
    std::vector<bool> LifeIcons() const { return {k.imgLife(0).Visible, k.imgLife(1).Visible, k.imgLife(2).Visible}; }
    bool NoPlayTimerRuns() {
        for (platform::Timer* t : {&k.tmrShip1, &k.tmrShip2, &k.tmrMissile1, &k.tmrMissile2, &k.tmrStars})
            if (h.clock().isRunning(*t)) return false;
        return true;
    }
    bool Paused() {
        return k.mnuPause.Checked && h.menuChecked(k, k.mnuPause) && k.lblMessage.Caption == "[PAUSED]" &&
               !k.KeyPreview && NoPlayTimerRuns();
    }
    bool Running() { return !k.mnuPause.Checked && !h.menuChecked(k, k.mnuPause) && test::PlayTimersRunning(k); }
    void ExpectEverythingEnded() {
        for (Form* f :
             std::vector<Form*>{&game.frmKelvo(), &game.frmIntroK(), &game.frmOptionsK(), &game.frmScoreK()}) {
            EXPECT_FALSE(f->IsLoaded()) << f->name();
            for (platform::Timer* t : f->timers()) EXPECT_FALSE(h.clock().isRunning(*t)) << f->name();
        }
        EXPECT_EQ(h.formWindowCount(), 0);
    }
};

// --- A lost satellite and the end of the game ------------------------------------------

TEST_F(GameFlow, TheThirdLossFreezesTheFieldAsksTheNameAndShowsTheScoreInPlace) {
    h.advance(2000);  // the start's announcement is over
    k.imgShip(3).Visible = true;
    game.Score = 6400;
    std::string behindTheBox;
    h.onDialog([&](const platform::testing::Harness::DialogCall&) {
        behindTheBox = k.lblMessage.Caption;
        EXPECT_TRUE(NoPlayTimerRuns());
        EXPECT_FALSE(k.imgShip(3).Visible || k.imgLife(0).Visible);
    });
    LoseAllLives();
    EXPECT_EQ(behindTheBox, "GAME OVER!");
    ASSERT_EQ(h.dialogs().size(), 1u);
    EXPECT_EQ(h.dialogs()[0].text, "Please Enter Your Name");
    EXPECT_EQ(h.dialogs()[0].title, "High Score");
    EXPECT_EQ(h.dialogs()[0].defaultText, "Space Ace");
    FrmScoreK& s = game.frmScoreK();
    EXPECT_TRUE(s.Visible() && !s.IsModal());
    EXPECT_EQ(s.lblName(4).Caption.get(), "Space Ace");
    EXPECT_EQ(s.lblScore(4).Caption.get(), "6400");
    h.advance(1000);  // frozen for good
    EXPECT_TRUE(NoPlayTimerRuns());
    EXPECT_FALSE(h.clock().isRunning(k.tmrLost));
}

TEST_F(GameFlow, ResetAfterTheEndStartsAFreshGameAndKeepsTheTable) {
    game.Score = 6400;
    LoseAllLives();
    h.shortcut(k, keys::F3);  // paused for good
    k.imgShip(2).Visible = true;
    k.imgShip(2).Top = 3000;
    k.Level = 4;
    const float left = k.imgBlaster.Left;
    h.shortcut(k, keys::F2);
    EXPECT_EQ(k.Lives, 3);
    EXPECT_EQ(k.Level, 1);
    EXPECT_EQ(k.Hull, 2);
    EXPECT_EQ(LifeIcons(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(k.shpHPBar.Width, k.shpHPBorder.Width);
    EXPECT_TRUE(k.imgBlaster.Visible && k.linKelvo.Visible);
    EXPECT_EQ(k.imgBlaster.Left, left);
    EXPECT_EQ(game.Score, 0);
    EXPECT_EQ(k.lblScore.Caption.get(), "0");
    EXPECT_EQ(k.lblMessage.Caption.get(), "LEVEL 1");
    EXPECT_TRUE(Running());
    EXPECT_TRUE(k.imgShip(2).Top == 0 && k.imgShip(2).Visible) << "enemies jump to the top edge, still flying";
    EXPECT_EQ(game.TeamNames(4), "Space Ace");
}

// --- The pause ----------------------------------------------------------------------------

TEST_F(GameFlow, OpeningAnyMenuPausesAndPauseChosenFromItResumes) {
    for (MenuItem* menu : {&k.mnuGame, &k.mnuOptions, &k.mnuHelp}) {
        h.openMenu(k, *menu);
        h.closeMenus(k);
        EXPECT_TRUE(Paused()) << menu->Caption.get();
        h.shortcut(k, keys::F3);
    }
    h.chooseMenu(k, k.mnuGame, k.mnuPause);  // the opening pauses, the choice toggles back
    EXPECT_TRUE(Running());
    EXPECT_TRUE(k.KeyPreview);
    EXPECT_EQ(k.lblMessage.Caption.get(), "");
}

// The high-score window stays open beside a new round; clicking it and back
// into the main window must not start a paused game behind "[PAUSED]".
TEST_F(GameFlow, APauseSurvivesAClickIntoTheHighScoreWindowAndBack) {
    LoseAllLives();
    h.activate(k);
    h.shortcut(k, keys::F2);
    h.shortcut(k, keys::F3);
    h.activate(game.frmScoreK());
    h.activate(k);
    ASSERT_EQ(platform::ActiveForm(), &k);
    EXPECT_TRUE(Paused());
    h.shortcut(k, keys::F3);
    EXPECT_TRUE(Running());
}

// --- Commands that open a window --------------------------------------------------------

TEST_F(GameFlow, AboutShowsElevenLinesWhilePlayIsFrozenThenResumes) {
    bool frozenWhileOpen = false;
    h.onDialog([&](const platform::testing::Harness::DialogCall&) { frozenWhileOpen = Paused(); });
    h.chooseMenu(k, k.mnuHelp, k.mnuAbout);
    ASSERT_EQ(h.dialogs().size(), 1u);
    EXPECT_EQ(h.dialogs()[0].title, "About");
    const std::string& text = h.dialogs()[0].text;
    EXPECT_EQ(text.rfind("Kelvo: Orvane Arcade Game\r\n\r\nVersion 1.0\r\n\r\n", 0), 0u);
    int lines = 1;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 11);
    EXPECT_TRUE(frozenWhileOpen);
    EXPECT_TRUE(Running());
}

TEST_F(GameFlow, IntroductionAndInstructionsShowTheirPageAndResumeAfterTheClick) {
    for (MenuItem* item : {&k.mnuIntro, &k.mnuInstruct}) {
        std::string shown;
        h.onModal([&](Form&) {
            shown = game.frmIntroK().lblScroll.Caption;
            test::ClickIntroBackground(h, game.frmIntroK());
        });
        h.chooseMenu(k, k.mnuHelp, *item);
        EXPECT_EQ(shown, item == &k.mnuIntro ? FrmIntroK::kStoryText : FrmIntroK::kInstructionsText);
        EXPECT_FALSE(game.frmIntroK().IsLoaded());
        EXPECT_TRUE(Running());
    }
}

TEST_F(GameFlow, ViewScoreShowsTheTableModallyThenResumes) {
    game.Score = 70000;  // a game under way does not enter the table
    std::string shown;
    h.onModal([&](Form& f) {
        shown = game.frmScoreK().lblScore(1).Caption.get() + (f.IsModal() && Paused() ? "" : " (not frozen)");
        h.click(game.frmScoreK().cmdDone);
    });
    h.chooseMenu(k, k.mnuGame, k.mnuScore);
    EXPECT_EQ(shown, "51200");
    EXPECT_TRUE(Running());
}

// --- The high-score window left open after a game ------------------------------------------

TEST_F(GameFlow, ViewScoreWithTheWindowOpenBringsItToTheFront) {
    LoseAllLives();
    h.activate(k);
    h.onModal([](Form& f) {
        ADD_FAILURE() << f.name() << " opened modally";
        f.Unload();
    });
    h.chooseMenu(k, k.mnuGame, k.mnuScore);
    EXPECT_EQ(platform::ActiveForm(), &game.frmScoreK());
}

TEST_F(GameFlow, AGameOverWithTheOldWindowInFrontStillEntersTheScore) {
    LoseAllLives();
    ASSERT_EQ(platform::ActiveForm(), &game.frmScoreK());
    h.shortcut(k, keys::F2);
    game.Score = 25600;
    h.answerInputBox("Second Game");
    LoseAllLives();
    EXPECT_EQ(game.frmScoreK().lblName(2).Caption.get(), "Second Game");
}

TEST_F(GameFlow, AGameEndingUnderViewScoreEntersTheScoreInTheOpenWindowOnce) {
    LoseSatellite();
    h.advance(1000);
    LoseSatellite();
    h.advance(1000);
    game.Score = 12800;
    LoseSatellite();
    std::vector<std::string> rows;
    h.onModal([&](Form&) {
        if (rows.empty()) h.advance(1000);  // the last life goes while the table is open
        rows.push_back(game.frmScoreK().lblName(3).Caption.get());
        h.click(game.frmScoreK().cmdDone);
    });
    h.chooseMenu(k, k.mnuGame, k.mnuScore);
    EXPECT_EQ(rows, std::vector<std::string>{"Space Ace"});
    EXPECT_EQ(game.HighScores(4), 12800);
    EXPECT_TRUE(k.mnuPause.Checked && NoPlayTimerRuns()) << "no resuming after the table";
}

// --- New Game and the end of the program --------------------------------------------------

TEST_F(GameFlow, NewGameLeadsThroughTheBriefingToAFreshGameWithTheDefaultTable) {
    game.Score = 60000;
    game.PlayerName = "Space Ace";
    game.frmScoreK().InsertNewScore();
    game.Score = 4500;
    k.Lives = 1;
    h.shortcut(k, keys::F3);
    bool oldGameGone = true;
    const auto startUp = test::StartUpScript(h, game, 3, 2);
    h.onModal([&](Form& f) {
        oldGameGone = oldGameGone && !k.Visible() && !h.clock().isRunning(k.tmrStars);
        startUp(f);
    });
    h.chooseMenu(k, k.mnuGame, k.mnuNew);
    EXPECT_TRUE(oldGameGone);
    EXPECT_EQ(platform::ActiveForm(), &k);
    EXPECT_EQ(game.Satellite, 3);
    EXPECT_EQ(game.Speed, 2);
    EXPECT_EQ(game.Score, 0);
    EXPECT_EQ(k.Lives, 3);
    EXPECT_EQ(k.lblLevel.Caption.get(), "LEVEL 1");
    EXPECT_TRUE(Running());
    EXPECT_EQ(test::TableTeams(game), test::DefaultTeams());
    EXPECT_EQ(game.HighScores(1), 51200);
    EXPECT_EQ(h.formWindowCount(), 1) << "the old window is gone";
}

TEST_F(GameFlow, ClosingNewGamesBriefingEndsTheProgramWithTheOldTableWindowToo) {
    LoseAllLives();
    ASSERT_TRUE(game.frmScoreK().Visible());
    h.onModal([&](Form& f) { h.close(f); });
    h.chooseMenu(k, k.mnuGame, k.mnuNew);
    ExpectEverythingEnded();
}

TEST_F(GameFlow, ExitWithTheTableWindowOpenEndsEverything) {
    LoseAllLives();
    h.chooseMenu(k, k.mnuGame, k.mnuExit);
    ExpectEverythingEnded();
}

TEST_F(GameFlow, TheCloseButtonEndsEverythingAsExitDoes) {
    game.frmScoreK().Show();
    h.processEvents();
    h.close(k);
    ExpectEverythingEnded();
}

// --- The high-score table ----------------------------------------------------------------

// Game after game the table is what a plain sorted insertion keeps: the ten
// best, a later score above equal ones, the tenth dropping out.
TEST(HighScoreTable, KeepsTheTenBestWithTheLaterOfEqualScoresAbove) {
    Game game;
    test::Table all;
    for (int rank = 1; rank <= 10; ++rank) {
        all.emplace_back("Team " + std::to_string(rank), 51200 >> (rank - 1));
        game.TeamNames(rank) = all.back().first;
        game.HighScores(rank) = all.back().second;
    }
    std::uint32_t seed = 12345;
    for (int round = 1; round <= 300; ++round) {
        seed = seed * 1103515245u + 12345u;
        const auto score = static_cast<std::int32_t>((seed >> 8) % 700) * 100 - 5000;
        game.Score = score;
        game.PlayerName = "Game " + std::to_string(round);
        game.NewScore = platform::True;
        game.frmScoreK().InsertNewScore();
        EXPECT_EQ(game.NewScore, platform::False);
        all.insert(std::find_if(all.begin(), all.end(), [&](const auto& e) { return score >= e.second; }),
                   {game.PlayerName, score});
        all.resize(10);
        ASSERT_EQ(test::CurrentTable(game), all) << "game " << round << " scored " << score;
    }
}

}  // namespace
}  // namespace kelvo
