// The course of a game on the main window: a lost satellite and the end of the
// game, New Game, Reset, the pause, and the menu commands around them.
//
// The pause flag of the whole game is mnuPause.Checked. Opening any top-level
// menu pauses; each command that opens a window or a message over the game
// calls mnuPause_Click once that has closed, which resumes play when the
// satellite is on screen and leaves it paused otherwise.

#include <cstdint>
#include <string>

#include "game/Captions.h"
#include "game/frmKelvo.h"
#include "platform/core/Application.h"
#include "platform/core/Journal.h"
#include "screens/frmIntroK.h"
#include "screens/frmOptionsK.h"
#include "screens/frmScoreK.h"

namespace kelvo {

using namespace platform;

namespace {

// The About message: eleven lines, the blank ones included, joined with CRLF.
constexpr const char* kAboutText =
    "Kelvo: Orvane Arcade Game\r\n"
    "\r\n"
    "Version 1.0\r\n"
    "\r\n"
    "Programmed in C++ for the Linux desktop\r\n"
    "\r\n"
    "Ships, satellites and explosions drawn for this game\r\n"
    "\r\n"
    "Sound effects made for this game\r\n"
    "\r\n"
    "Thank you for defending Sector 108!";

}  // namespace

void FrmKelvo::connectFlowEvents() {
    tmrLost.Tick = [this] { tmrLost_Timer(); };
    mnuGame.Click = [this] { mnuGame_Click(); };
    mnuNew.Click = [this] { mnuNew_Click(); };
    mnuReset.Click = [this] { mnuReset_Click(); };
    mnuPause.Click = [this] { mnuPause_Click(); };
    mnuScore.Click = [this] { mnuScore_Click(); };
    mnuExit.Click = [this] { mnuExit_Click(); };
    mnuOptions.Click = [this] { mnuOptions_Click(); };
    mnuSpeed.Click = [this] { mnuSpeed_Click(); };
    mnuHelp.Click = [this] { mnuHelp_Click(); };
    mnuIntro.Click = [this] { mnuIntro_Click(); };
    mnuInstruct.Click = [this] { mnuInstruct_Click(); };
    mnuAbout.Click = [this] { mnuAbout_Click(); };
}

// One second after the hull was used up: the satellite returns with a full
// hull and one life fewer, or the game ends. Always stops its own timer, last,
// so a tick arriving while the name box is open (Lives below 0) only does that.
void FrmKelvo::tmrLost_Timer() {
    Lives = static_cast<std::int16_t>(Lives - 1);
    if (Lives == 0) {
        RunPlayTimers(false);
        for (Image& ship : imgShip) ship.Visible = false;
        for (Image& missile : imgMissile) missile.Visible = false;
        imgLife(Lives).Visible = false;
        lblMessage.Caption = "GAME OVER!";
        Checkpoint();  // a recording checks the game here
        PlayerName = InputBox("Please Enter Your Name", "High Score", "Space Ace");
        NewScore = True;
        frmScoreK().Show();  // its activation enters the score
    } else if (Lives > 0) {
        Hull = Satellite;
        imgBlaster.Visible = true;
        linKelvo.Visible = true;
        imgLife(Lives).Visible = false;
        shpHPBar.Width = shpHPBorder.Width;
    }
    tmrLost.Interval = 0;
}

// Unloads this window from inside its own menu and loads it afresh: the load
// runs the briefing, the satellite choice and the speed screen modally and
// deals the default table out again, which needs every name slot empty.
void FrmKelvo::mnuNew_Click() {
    Unload();
    TeamNames.fill("");
    BriefingPage = 0;
    SpeedChoice = 1;
    Score = 0;
    Show();
    if (!IsLoaded()) return;  // the player ended the program from the briefing
    Level = 1;
    lblMessage.Caption = LevelCaption(1);
    lblLevel.Caption = LevelCaption(1);
    tmrLevel.Interval = kLevelShown;
}

// Play starts again at once with the same class and speed, three lives and a
// score of 0; the table, NewScore, the satellite's place and a pending tmrLost
// are kept (that one still takes a life when it fires).
void FrmKelvo::mnuReset_Click() {
    DrawStarField();
    for (Image& ship : imgShip) ship.Top = 0;
    for (Image& missile : imgMissile) missile.Top = 0;
    imgBlaster.Visible = true;
    linKelvo.Visible = true;
    Lives = 3;
    Level = 1;
    Hull = Satellite;
    shpHPBar.Width = shpHPBorder.Width;
    for (Image& life : imgLife) life.Visible = true;
    Score = 0;
    mnuPause.Checked = false;
    lblScore.Caption = PlainNumber(Score);
    RunPlayTimers(true);
    lblLevel.Caption = LevelCaption(1);
    lblMessage.Caption = LevelCaption(1);
    tmrLevel.Interval = kLevelShown;
    ++GamesStarted;
}

// A toggle. Resuming needs the satellite on screen: while it is away (the
// second after a loss, or after the game is over) the game stays paused.
void FrmKelvo::mnuPause_Click() {
    if (!mnuPause.Checked) {
        PauseGame();
    } else if (imgBlaster.Visible) {
        lblMessage.Caption = "";
        RunPlayTimers(true);
        KeyPreview = true;
        mnuPause.Checked = false;
    }
}

void FrmKelvo::PauseGame() {
    lblMessage.Caption = "[PAUSED]";
    RunPlayTimers(false);
    KeyPreview = false;
    mnuPause.Checked = true;
}

void FrmKelvo::mnuGame_Click() { PauseGame(); }
void FrmKelvo::mnuOptions_Click() { PauseGame(); }
void FrmKelvo::mnuHelp_Click() { PauseGame(); }

// After a game over the high-score window may already be open without
// waiting; showing it again only brings it to the front.
void FrmKelvo::mnuScore_Click() {
    frmScoreK().Show(vbModal);
    mnuPause_Click();
}

void FrmKelvo::mnuSpeed_Click() {
    SpeedChoice = 1;
    frmOptionsK().Show(vbModal);
    mnuPause_Click();
}

void FrmKelvo::mnuIntro_Click() {
    BriefingPage = 0;
    SpeedChoice = 0;
    frmIntroK().Show(vbModal);
    mnuPause_Click();
}

void FrmKelvo::mnuInstruct_Click() {
    BriefingPage = 1;
    SpeedChoice = 0;
    frmIntroK().Show(vbModal);
    mnuPause_Click();
}

void FrmKelvo::mnuAbout_Click() {
    MsgBoxInformation(kAboutText, "About");
    mnuPause_Click();
}

// Without asking; the program ends once no window is left loaded.
void FrmKelvo::mnuExit_Click() {
    frmKelvo().Unload();
    frmIntroK().Unload();
    frmOptionsK().Unload();
    frmScoreK().Unload();
}

// The window manager's close button ends the program, as Exit does.
void FrmKelvo::Form_CloseRequested() { mnuExit_Click(); }

}  // namespace kelvo
