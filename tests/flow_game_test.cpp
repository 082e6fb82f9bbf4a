// The course of a game on the main window: a lost satellite, the end of the
// game, Reset, the pause and its gates, the menu commands, New Game and Exit.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "game/Captions.h"
#include "platform/Application.h"

namespace kelvo {
namespace {

using platform::Form;
using platform::MenuItem;
using Harness = kelvo::test::GameHarness;
namespace keys = platform::keys;

class GameFlow : public ::testing::Test {
protected:
    Harness h;
    Program program;
    FrmKelvo& k = test::StartGame(h, 2, 1);

    // The hull used up, as a strike leaves it; ships and missiles held still
    // so that nothing else touches the satellite (the stars go on).
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
            if (t->Interval != 0 || h.clock().isRunning(*t)) return false;
        return true;
    }
    bool Paused() {
        return k.mnuPause.Checked && h.menuChecked(k, k.mnuPause) && k.lblMessage.Caption == "[PAUSED]" &&
               !k.KeyPreview && NoPlayTimerRuns();
    }
    bool Running() {
        return !k.mnuPause.Checked && !h.menuChecked(k, k.mnuPause) && k.tmrShip1.Interval == 100 &&
               k.tmrShip2.Interval == 100 && k.tmrMissile1.Interval == 10 && k.tmrMissile2.Interval == 100 &&
               k.tmrStars.Interval == 100 && h.clock().isRunning(k.tmrShip2) && h.clock().isRunning(k.tmrMissile1);
    }

    // Where the flying enemies are, to see whether play moves.
    std::vector<float> Field() {
        std::vector<float> v;
        for (int i = 0; i <= 8; ++i) v.push_back(k.imgShip(i).Visible ? k.imgShip(i).Top : -1.0f);
        for (int i = 0; i <= 9; ++i) v.push_back(k.imgMissile(i).Visible ? k.imgMissile(i).Top : -1.0f);
        return v;
    }

    void ExpectEverythingEnded() {
        for (Form* f : std::vector<Form*>{&frmKelvo(), &frmIntroK(), &frmOptionsK(), &frmScoreK()}) {
            EXPECT_FALSE(f->IsLoaded()) << f->name();
            for (platform::Timer* t : f->timers()) EXPECT_FALSE(h.clock().isRunning(*t)) << f->name();
        }
        EXPECT_EQ(Harness::formWindowCount(), 0);
    }
};

// --- A lost satellite and the end of the game ------------------------------------

TEST_F(GameFlow, ALostLifeBringsTheSatelliteBackAfterOneSecondWhereItWas) {
    k.imgBlaster.Left = 4000;
    k.imgBlaster.Top = 3000;
    LoseSatellite();
    h.advance(999);
    EXPECT_FALSE(k.imgBlaster.Visible);
    EXPECT_EQ(LifeIcons(), (std::vector<bool>{true, true, true}));

    h.advance(1);
    EXPECT_EQ(k.Lives, 2);
    EXPECT_TRUE(k.imgBlaster.Visible && k.linKelvo.Visible);
    EXPECT_EQ(k.Hull, 2);
    EXPECT_EQ(k.shpHPBar.Width, k.shpHPBorder.Width);
    EXPECT_EQ(LifeIcons(), (std::vector<bool>{true, true, false}));
    EXPECT_EQ(k.imgBlaster.Left, 4000.0f);
    EXPECT_EQ(k.imgBlaster.Top, 3000.0f);
    EXPECT_FALSE(h.clock().isRunning(k.tmrLost));

    LoseSatellite();
    h.advance(1000);
    EXPECT_EQ(LifeIcons(), (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(k.imgBlaster.Visible);
    EXPECT_TRUE(h.dialogs().empty());
    EXPECT_FALSE(frmScoreK().IsLoaded());
}

TEST_F(GameFlow, TheThirdLossFreezesTheFieldAsksTheNameAndShowsTheScoreInPlace) {
    h.advance(2000);  // the start's announcement is over
    k.imgShip(3).Visible = true;
    k.imgMissile(7).Visible = true;
    Score = 6400;
    std::vector<std::string> behindTheBox;
    h.onDialog([&](const Harness::DialogCall&) {
        behindTheBox.push_back(k.lblMessage.Caption);
        EXPECT_TRUE(NoPlayTimerRuns());
        EXPECT_FALSE(k.imgShip(3).Visible || k.imgMissile(7).Visible || k.imgLife(0).Visible);
        EXPECT_FALSE(frmScoreK().IsLoaded());
    });
    LoseAllLives();

    EXPECT_EQ(behindTheBox, std::vector<std::string>{"GAME OVER!"});
    ASSERT_EQ(h.dialogs().size(), 1u);
    EXPECT_EQ(h.dialogs()[0].kind, "InputBox");
    EXPECT_EQ(h.dialogs()[0].text, "Please Enter Your Name");
    EXPECT_EQ(h.dialogs()[0].title, "High Score");
    EXPECT_EQ(h.dialogs()[0].defaultText, "Space Ace");
    EXPECT_EQ(PlayerName, "Space Ace");
    EXPECT_EQ(LifeIcons(), (std::vector<bool>{false, false, false}));
    EXPECT_FALSE(k.imgBlaster.Visible);
    EXPECT_FALSE(h.clock().isRunning(k.tmrLost));

    FrmScoreK& s = frmScoreK();
    EXPECT_TRUE(s.Visible());
    EXPECT_FALSE(s.IsModal());
    EXPECT_EQ(NewScore, platform::False);
    EXPECT_EQ(s.lblName(4).Caption.get(), "Space Ace");
    EXPECT_EQ(s.lblScore(4).Caption.get(), "6400");

    h.advance(1000);  // frozen for good; the sparks go on
    EXPECT_FALSE(k.imgShip(3).Visible);
    EXPECT_TRUE(NoPlayTimerRuns());
    EXPECT_EQ(k.lblMessage.Caption.get(), "GAME OVER!");
    EXPECT_TRUE(h.clock().isRunning(s.tmrColours));
}

TEST_F(GameFlow, CancellingTheNameBoxEntersTheScoreWithoutAName) {
    Score = 3000;
    h.answerInputBox(std::nullopt);
    LoseAllLives();
    EXPECT_EQ(PlayerName, "");
    EXPECT_EQ(HighScores(6), 3000);
    EXPECT_EQ(frmScoreK().lblName(6).Caption.get(), "");
    EXPECT_EQ(frmScoreK().lblScore(6).Caption.get(), "3000");
}

TEST_F(GameFlow, AScoreTooLowStillAsksTheNameAndShowsTheTableUnchanged) {
    const std::string tenth = TeamNames(10);
    Score = -250;
    LoseAllLives();
    EXPECT_EQ(h.dialogs().size(), 1u);
    EXPECT_TRUE(frmScoreK().Visible());
    EXPECT_EQ(frmScoreK().lblName(10).Caption.get(), tenth);
    EXPECT_EQ(frmScoreK().lblScore(10).Caption.get(), "100");
}

TEST_F(GameFlow, APendingLevelAnnouncementWipesGameOverWhenItEnds) {
    LoseSatellite();
    h.advance(1000);
    LoseSatellite();
    h.advance(1000);
    Score = 1000;
    k.lblScore.Caption = SpacedNumber(Score);  // level 2, announced for two seconds
    ASSERT_EQ(k.lblMessage.Caption.get(), "LEVEL 2");
    LoseSatellite();
    h.advance(1000);
    EXPECT_EQ(k.lblMessage.Caption.get(), "GAME OVER!");
    h.advance(1000);
    EXPECT_EQ(k.lblMessage.Caption.get(), "");
}

// --- Reset ----------------------------------------------------------------------

TEST_F(GameFlow, ResetAfterTheEndStartsAFreshGameAndKeepsTheTable) {
    Score = 6400;
    LoseAllLives();
    h.openMenu(k, k.mnuGame);  // paused, for good
    h.closeMenus(k);
    k.imgShip(2).Visible = true;
    k.imgShip(2).Top = 3000;
    k.imgMissile(0).Top = 2000;
    k.Level = 4;
    k.lblLevel.Caption = LevelCaption(4);
    const float left = k.imgBlaster.Left, top = k.imgBlaster.Top;

    h.shortcut(k, keys::F2);
    EXPECT_EQ(k.Lives, 3);
    EXPECT_EQ(k.Level, 1);
    EXPECT_EQ(k.Hull, 2);
    EXPECT_EQ(LifeIcons(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(k.shpHPBar.Width, k.shpHPBorder.Width);
    EXPECT_TRUE(k.imgBlaster.Visible && k.linKelvo.Visible);
    EXPECT_EQ(k.imgBlaster.Left, left);
    EXPECT_EQ(k.imgBlaster.Top, top);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(k.lblScore.Caption.get(), "0");
    EXPECT_EQ(k.lblLevel.Caption.get(), "LEVEL 1");
    EXPECT_EQ(k.lblMessage.Caption.get(), "LEVEL 1");
    EXPECT_TRUE(Running());
    EXPECT_EQ(k.imgShip(2).Top, 0.0f);  // enemies jump to the top edge, still flying
    EXPECT_TRUE(k.imgShip(2).Visible);
    EXPECT_EQ(k.imgMissile(0).Top, 0.0f);
    EXPECT_EQ(TeamNames(4), "Space Ace");
    EXPECT_TRUE(frmScoreK().Visible());

    h.advance(2000);
    EXPECT_EQ(k.lblMessage.Caption.get(), "");
}

TEST_F(GameFlow, ResetWithinTheLostSecondStillCostsOneOfTheFreshLives) {
    LoseSatellite();
    h.advance(1000);
    LoseSatellite();
    h.advance(500);
    h.shortcut(k, keys::F2);
    EXPECT_EQ(k.Lives, 3);
    EXPECT_TRUE(k.imgBlaster.Visible);
    h.advance(500);
    EXPECT_EQ(k.Lives, 2);
    EXPECT_EQ(LifeIcons(), (std::vector<bool>{true, true, false}));
    EXPECT_TRUE(k.imgBlaster.Visible);
}

// --- Pause ----------------------------------------------------------------------

TEST_F(GameFlow, F3FreezesPlayAndASecondF3ReleasesIt) {
    h.advance(3000);
    ASSERT_TRUE(Running());
    h.shortcut(k, keys::F3);
    EXPECT_TRUE(Paused());
    const auto frozen = Field();
    h.advance(1000);
    EXPECT_EQ(Field(), frozen);

    h.shortcut(k, keys::F3);
    EXPECT_TRUE(Running());
    EXPECT_TRUE(k.KeyPreview);
    EXPECT_EQ(k.lblMessage.Caption.get(), "");
    h.advance(1000);
    EXPECT_NE(Field(), frozen);
}

TEST_F(GameFlow, APendingAnnouncementWipesPausedButThePauseHolds) {
    h.shortcut(k, keys::F3);
    h.advance(2000);
    EXPECT_EQ(k.lblMessage.Caption.get(), "");
    EXPECT_TRUE(k.mnuPause.Checked);
    EXPECT_TRUE(NoPlayTimerRuns());
}

TEST_F(GameFlow, APauseInTheLostSecondHoldsUntilTheSatelliteIsBack) {
    LoseSatellite();
    h.advance(200);
    h.shortcut(k, keys::F3);
    h.shortcut(k, keys::F3);  // refused while the satellite is away
    EXPECT_TRUE(Paused());
    h.advance(800);
    EXPECT_TRUE(k.imgBlaster.Visible);
    EXPECT_TRUE(Paused());
    h.shortcut(k, keys::F3);
    EXPECT_TRUE(Running());
}

TEST_F(GameFlow, OpeningAnyMenuPausesAndPauseChosenFromItResumes) {
    for (MenuItem* menu : {&k.mnuGame, &k.mnuOptions, &k.mnuHelp}) {
        h.openMenu(k, *menu);
        h.closeMenus(k);
        EXPECT_TRUE(Paused()) << menu->Caption.get();
        h.shortcut(k, keys::F3);
        ASSERT_TRUE(Running());
    }
    h.chooseMenu(k, k.mnuGame, k.mnuPause);  // the opening pauses, the choice toggles back
    EXPECT_TRUE(Running());
    EXPECT_EQ(k.lblMessage.Caption.get(), "");
}

TEST_F(GameFlow, AfterTheEndAMenuShowsPausedForGood) {
    LoseAllLives();
    h.openMenu(k, k.mnuOptions);
    h.closeMenus(k);
    EXPECT_EQ(k.lblMessage.Caption.get(), "[PAUSED]");
    h.shortcut(k, keys::F3);
    h.chooseMenu(k, k.mnuHelp, k.mnuAbout);  // tries to resume after the box, and cannot
    EXPECT_TRUE(Paused());
}

// --- Commands that open a window -------------------------------------------------

TEST_F(GameFlow, AboutShowsElevenLinesWhilePlayIsFrozenThenResumes) {
    bool frozenWhileOpen = false;
    h.onDialog([&](const Harness::DialogCall&) { frozenWhileOpen = Paused(); });
    h.chooseMenu(k, k.mnuHelp, k.mnuAbout);
    ASSERT_EQ(h.dialogs().size(), 1u);
    EXPECT_EQ(h.dialogs()[0].kind, "MsgBox");
    EXPECT_EQ(h.dialogs()[0].title, "About");

    std::vector<std::string> lines;
    const std::string& text = h.dialogs()[0].text;
    for (std::size_t from = 0, at = 0; at != std::string::npos; from = at + 2) {
        at = text.find("\r\n", from);
        lines.push_back(text.substr(from, at == std::string::npos ? at : at - from));
    }
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "Kelvo: Orvane Arcade Game");
    EXPECT_EQ(lines[2], "Version 1.0");
    for (std::size_t i = 0; i < 11; ++i) {
        EXPECT_EQ(lines[i].empty(), i % 2 == 1) << "line " << i + 1;
        EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos);
    }
    EXPECT_TRUE(frozenWhileOpen);
    EXPECT_TRUE(Running());
}

TEST_F(GameFlow, SpeedIsChosenWhilePlayIsFrozenAndAppliesOnResume) {
    bool frozenWhileOpen = false;
    h.onModal([&](Form& f) {
        ASSERT_EQ(&f, &frmOptionsK());
        FrmOptionsK& o = frmOptionsK();
        frozenWhileOpen = Paused() && o.IsModal() && o.fraDiff.Visible && o.optSlow.Value;
        h.click(o.optFast);
        h.click(o.cmdOk);
    });
    h.chooseMenu(k, k.mnuOptions, k.mnuSpeed);
    EXPECT_TRUE(frozenWhileOpen);
    EXPECT_EQ(Speed, 3);
    EXPECT_TRUE(Running());

    // A ship now falls Level + Speed = 4 steps of 30 twips a tick.
    k.tmrShip2.Interval = 0;
    for (int i = 0; i <= 8; ++i) k.imgShip(i).Visible = i == 0;
    k.imgShip(0).Top = 300;
    h.advance(100);
    EXPECT_EQ(k.imgShip(0).Top, 300.0f + 4 * 30);
}

TEST_F(GameFlow, IntroductionAndInstructionsShowTheirPageAndOneClickClosesThem) {
    for (MenuItem* item : {&k.mnuIntro, &k.mnuInstruct}) {
        std::vector<std::string> shown;
        h.onModal([&](Form& f) {
            ASSERT_EQ(&f, &frmIntroK());
            shown.push_back(frmIntroK().lblScroll.Caption.get() + (Paused() ? "" : " (not paused)"));
            test::ClickIntroBackground(h);
        });
        h.chooseMenu(k, k.mnuHelp, *item);
        const char* page = item == &k.mnuIntro ? FrmIntroK::kStoryText : FrmIntroK::kInstructionsText;
        EXPECT_EQ(shown, std::vector<std::string>{page});
        EXPECT_FALSE(frmIntroK().IsLoaded());
        EXPECT_FALSE(frmOptionsK().IsLoaded());
        EXPECT_EQ(Satellite, 2);
        EXPECT_TRUE(Running());
    }
}

TEST_F(GameFlow, ViewScoreShowsTheTableModallyThenResumes) {
    Score = 70000;  // a game under way does not enter the table
    std::string shown;
    h.onModal([&](Form& f) {
        ASSERT_EQ(&f, &frmScoreK());
        shown = frmScoreK().lblScore(1).Caption.get() + (Paused() && f.IsModal() ? "" : " (not frozen)");
        h.click(frmScoreK().cmdDone);
    });
    h.chooseMenu(k, k.mnuGame, k.mnuScore);
    EXPECT_EQ(shown, "51200");
    EXPECT_FALSE(frmScoreK().IsLoaded());
    EXPECT_TRUE(Running());
}

// --- The high-score screen left open after a game ----------------------------------

TEST_F(GameFlow, ViewScoreWithTheScreenOpenBringsItToTheFront) {
    LoseAllLives();
    k.Show();  // back to the main window
    h.processEvents();
    ASSERT_EQ(platform::ActiveForm(), &k);
    h.onModal([](Form& f) {
        ADD_FAILURE() << f.name() << " opened modally";
        f.Unload();
    });
    h.chooseMenu(k, k.mnuGame, k.mnuScore);
    EXPECT_EQ(platform::ActiveForm(), &frmScoreK());
    EXPECT_FALSE(frmScoreK().IsModal());
    EXPECT_TRUE(Paused());
}

TEST_F(GameFlow, AGameOverWhileTheOldScreenIsInFrontStillEntersTheScore) {
    LoseAllLives();
    ASSERT_EQ(platform::ActiveForm(), &frmScoreK());
    h.shortcut(k, keys::F2);
    Score = 25600;
    h.answerInputBox("Second Game");
    LoseAllLives();
    EXPECT_EQ(NewScore, platform::False);
    EXPECT_EQ(frmScoreK().lblName(2).Caption.get(), "Second Game");
}

TEST_F(GameFlow, AGameEndingUnderViewScoreEntersTheScoreInTheOpenScreen) {
    LoseSatellite();
    h.advance(1000);
    LoseSatellite();
    h.advance(1000);
    Score = 12800;
    LoseSatellite();
    std::vector<std::string> rows;
    h.onModal([&](Form& f) {
        if (rows.empty()) h.advance(1000);  // the last life goes while the table is open
        rows.push_back(frmScoreK().lblName(3).Caption.get() + (f.IsModal() ? "" : " (no longer modal)"));
        h.click(frmScoreK().cmdDone);
    });
    h.chooseMenu(k, k.mnuGame, k.mnuScore);
    EXPECT_EQ(rows, std::vector<std::string>{"Space Ace"});
    EXPECT_EQ(HighScores(4), 12800);  // entered once
    EXPECT_FALSE(frmScoreK().IsLoaded());
    EXPECT_EQ(k.lblMessage.Caption.get(), "GAME OVER!");
    EXPECT_TRUE(k.mnuPause.Checked);  // and no resuming after the table
    EXPECT_TRUE(NoPlayTimerRuns());
}

// --- New Game and Exit --------------------------------------------------------------

TEST_F(GameFlow, NewGameLeadsThroughTheBriefingBackToARunningGameWithTheDefaultTable) {
    Score = 60000;  // a game well under way, with an entry of its own
    PlayerName = "Space Ace";
    InsertNewScore();
    Score = 4500;
    k.Level = 3;
    k.Lives = 1;
    k.imgLife(2).Visible = false;
    h.shortcut(k, keys::F3);

    std::string firstPage;
    bool oldGameGone = true;
    h.onModal([&](Form& f) {
        oldGameGone = oldGameGone && !k.Visible() && !h.clock().isRunning(k.tmrStars);
        if (&f == &frmOptionsK()) {
            h.click(frmOptionsK().optMedium);
            return h.click(frmOptionsK().cmdOk);
        }
        FrmIntroK& intro = frmIntroK();
        if (firstPage.empty()) firstPage = intro.lblScroll.Caption;
        if (!intro.fraSat.Visible) return test::ClickIntroBackground(h);
        h.click(intro.optSatellite(3));
        h.click(intro.cmdEnter);
    });
    h.chooseMenu(k, k.mnuGame, k.mnuNew);
    h.processEvents();

    EXPECT_EQ(firstPage, FrmIntroK::kStoryText);
    EXPECT_TRUE(oldGameGone);
    ASSERT_TRUE(k.Visible());
    EXPECT_EQ(platform::ActiveForm(), &k);
    EXPECT_EQ(Satellite, 3);
    EXPECT_EQ(Speed, 2);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(k.lblScore.Caption.get(), "0");
    EXPECT_EQ(k.Lives, 3);
    EXPECT_EQ(k.Level, 1);
    EXPECT_EQ(k.Hull, 3);
    EXPECT_EQ(LifeIcons(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(k.lblMessage.Caption.get(), "LEVEL 1");
    EXPECT_EQ(k.lblLevel.Caption.get(), "LEVEL 1");
    EXPECT_TRUE(Running());

    std::multiset<std::string> names;
    for (int rank = 1; rank <= 10; ++rank) {
        EXPECT_EQ(HighScores(rank), 51200 >> (rank - 1));
        names.insert(TeamNames(rank));
    }
    EXPECT_EQ(names, (std::multiset<std::string>{"Alpha Squadron", "Beta Squadron", "Gamma Team", "Delta Force",
                                                 "Epsilon Team", "Nova Squadron", "Aurora Fleet", "Omnicron Command",
                                                 "Sigma Corps", "Omega Force"}));

    EXPECT_EQ(Harness::formWindowCount(), 1);  // the old window is gone
    const auto start = Field();
    h.advance(2000);
    EXPECT_NE(Field(), start);
    EXPECT_EQ(k.lblMessage.Caption.get(), "");
}

TEST_F(GameFlow, EndingTheProgramFromNewGamesBriefingLeavesNothingRunning) {
    h.onModal([&](Form& f) { h.close(f); });
    h.chooseMenu(k, k.mnuGame, k.mnuNew);
    ExpectEverythingEnded();
}

TEST_F(GameFlow, ExitWithTheScreenOpenEndsEverything) {
    LoseAllLives();
    ASSERT_TRUE(frmScoreK().Visible());
    h.chooseMenu(k, k.mnuGame, k.mnuExit);
    ExpectEverythingEnded();
}

TEST_F(GameFlow, TheCloseButtonEndsEverythingAsExitDoes) {
    frmScoreK().Show();
    h.processEvents();
    h.close(k);
    ExpectEverythingEnded();
}

}  // namespace
}  // namespace kelvo
