#pragma once
// The main window: the play field with the satellite, the beam, the enemy
// ships and missiles, the explosion, the labels, the lives panel, the timers
// that drive play and the menu bar.

#include <cstdint>

#include "game/modKelvo.h"

namespace kelvo {

using platform::CommandButton;
using platform::ControlArray;
using platform::Frame;
using platform::Image;
using platform::Label;
using platform::Line;
using platform::MenuItem;
using platform::Shape;
using platform::Timer;

class FrmKelvo final : public GameForm {
public:
    explicit FrmKelvo(Game& owner);
    ~FrmKelvo() override;

    // --- Controls ----------------------------------------------------------
    Timer tmrLevel;
    Timer tmrKelvo;
    Frame framLives{*this};
    Shape shpHPBorder{*this, &framLives};
    Shape shpHPBar{*this, &framLives};
    ControlArray<Image, 0, 2> imgLife{*this, &framLives};
    Timer tmrLost;
    Timer tmrStars;
    Timer tmrMissile2;
    Timer tmrMissile1;
    Timer tmrBang;
    Timer tmrShip2;
    Timer tmrShip1;
    Image imgExplode{*this};
    Label lblLevel{*this};
    Label lblMessage{*this};
    ControlArray<Image, 0, 15> imgBlastC{*this};
    ControlArray<Image, 0, 9> imgMissile{*this};
    ControlArray<Image, 0, 8> imgShip{*this};
    static constexpr int kShips = decltype(imgShip)::Count();
    static constexpr int kMissiles = decltype(imgMissile)::Count();
    static constexpr int kRockets = 6;  // imgMissile 0 to 5 are rockets, which the beam brings down
    ControlArray<Image, 1, 3> imgSatellite{*this};
    Line linKelvo{*this};
    Image imgBlaster{*this};
    Label lblScore{*this};

    MenuItem mnuGame{"&Game"};
    MenuItem mnuNew{"&New Game "};
    MenuItem mnuReset{"&Reset", MenuItem::Shortcut::F2};
    MenuItem mnuPause{"&Pause", MenuItem::Shortcut::F3};
    MenuItem mnuScore{"&View Score"};
    MenuItem mnudash1{"-"};
    MenuItem mnuExit{"&Exit"};
    MenuItem mnuOptions{"&Options"};
    MenuItem mnuSpeed{"&Speed"};
    MenuItem mnuHelp{"&Help"};
    MenuItem mnuIntro{"&Introduction"};
    MenuItem mnuInstruct{"&Instructions"};
    MenuItem mnudash{"-"};
    MenuItem mnuAbout{"&About"};

    // --- Timer periods, milliseconds -----------------------------------------
    static constexpr int kShipPeriod = 100;         // tmrShip1 moves the ships, tmrShip2 launches them
    static constexpr int kMissileMovePeriod = 10;   // tmrMissile1
    static constexpr int kMissileDropPeriod = 100;  // tmrMissile2
    static constexpr int kStarsPeriod = 100;        // tmrStars
    static constexpr int kBeamShown = 100;          // tmrKelvo: a held beam ends after this
    static constexpr int kShotBlastFrame = 10;      // tmrBang for a target the beam wrecks
    static constexpr int kStrikeBlastFrame = 30;    // tmrBang for an enemy that strikes the satellite
    static constexpr int kLevelShown = 2000;        // tmrLevel: the level announcement
    static constexpr int kSatelliteAway = 1000;     // tmrLost: a lost satellite is gone this long

    // --- Variables of the window --------------------------------------------
    std::int16_t BangFrame = 0;     // next explosion frame to show, 0 to 15
    std::int16_t Hull = 0;          // hull points left, 0 to Satellite
    std::int16_t Lives = 0;         // lives left, 0 to 3
    std::int16_t Level = 0;         // the current level, from 1
    std::int32_t GamesStarted = 0;  // games begun since the program started (a recording's summary)

    // --- Event procedures --------------------------------------------------
    // Start-up and set-up (frmKelvo.cpp).
    void Form_Load() override;
    void Form_Activate() override;

    // Play (frmKelvo_Play.cpp): the satellite, the beam, enemies, explosions,
    // stars, score and levels.
    void Form_KeyDown(std::int16_t& KeyCode, std::int16_t Shift) override;
    void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) override;
    void Form_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y) override;
    void lblMessage_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void lblMessage_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void tmrKelvo_Timer();
    void tmrShip1_Timer();
    void tmrShip2_Timer();
    void tmrMissile1_Timer();
    void tmrMissile2_Timer();
    void tmrBang_Timer();
    void tmrStars_Timer();
    void lblScore_Change();
    void tmrLevel_Timer();

    // Game flow (frmKelvo_Flow.cpp): lives, game over, new game, reset,
    // pause and the menu commands.
    void tmrLost_Timer();
    void mnuNew_Click();
    void mnuReset_Click();
    void mnuPause_Click();
    void mnuGame_Click();
    void mnuOptions_Click();
    void mnuHelp_Click();
    void mnuScore_Click();
    void mnuExit_Click();
    void mnuSpeed_Click();
    void mnuIntro_Click();
    void mnuInstruct_Click();
    void mnuAbout_Click();
    void Form_CloseRequested() override;

    // One thousand white points scattered over the play field, on a clean surface.
    void DrawStarField();

protected:
    void InitializeComponent() override;

private:
    // The hull loses `loss` points after a strike (never below 0): at 0 the
    // satellite stays away and the life-lost sequence begins, otherwise it is
    // back at once; the hull bar follows.
    void LoseHull(std::int16_t loss);
    // Freezes play: "[PAUSED]", enemy and star timers stopped, the pause mark set.
    void PauseGame();
    // The enemy and star timers, always started (at their running periods) and
    // stopped together, in this order.
    void RunPlayTimers(bool run);

    // Each part of the window connects its own event procedures (constructor).
    void connectPlayEvents();
    void connectFlowEvents();
};

}  // namespace kelvo
