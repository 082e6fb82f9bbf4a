// Play on the main window: the satellite under the arrow keys, the beam under
// the mouse, the falling ships and missiles and their strikes on the
// satellite, the explosion, the star field, and the level that rises with the
// score.
//
// Every tick here runs often (the missiles every 10 ms) and stays cheap: it
// writes control properties, whose repaints the platform gathers to the
// screen's pace, and builds no text but the score caption.

#include <algorithm>
#include <cstdint>

#include "game/Captions.h"
#include "game/frmKelvo.h"
#include "platform/core/Random.h"
#include "sound/modSoundK.h"

namespace kelvo {

using namespace platform;

namespace {

// Whether the point lies in the sprite's box, all four edges inside.
bool BoxHolds(const Image& box, float x, float y) {
    return x >= box.Left && box.Left + box.Width >= x && y >= box.Top && box.Top + box.Height >= y;
}

// Whether two sprites' boxes overlap or touch.
bool BoxesMeet(const Image& a, const Image& b) {
    return a.Left + a.Width >= b.Left && b.Left + b.Width >= a.Left && a.Top + a.Height >= b.Top &&
           b.Top + b.Height >= a.Top;
}

template <class Sprites>
bool AllHidden(const Sprites& sprites) {
    for (const Image& sprite : sprites)
        if (sprite.Visible) return false;
    return true;
}

// Int(Rnd × count): an index from 0 to count - 1, drawn in single precision.
int DrawIndex(int count) { return static_cast<int>(Int(Rnd() * static_cast<float>(count))); }

// The passes of one enemy tick, `Level + Speed` of them (taken once), each over
// the enemies in index order. A flying enemy falls 30 twips. One at or past
// the window's bottom edge, flying or not, waits at the top edge again (same
// Left) and its escape costs `escapeCost` points. A flying one that
// `meetsSatellite` while the satellite is in play is wrecked where it is and
// explodes (`explodeOffset` left of it, 100 above), going on from whatever
// frame is next; the satellite and its beam vanish, so no other enemy strikes
// in this tick, and the caller's hull-loss step decides whether they return.
template <class Enemies, class Meets>
void FallPasses(FrmKelvo& k, Enemies& enemies, std::int32_t escapeCost, float explodeOffset, Meets meetsSatellite) {
    const int passes = k.Level + k.Speed;
    const float bottom = k.Height();
    for (int pass = 1; pass <= passes; ++pass) {
        for (Image& enemy : enemies) {
            if (enemy.Visible) enemy.Top = enemy.Top + 30;
            if (enemy.Top >= bottom) {
                enemy.Top = 0;
                enemy.Visible = false;
                k.Score = k.Score - escapeCost;
            }
            if (enemy.Visible && k.imgBlaster.Visible && meetsSatellite(enemy)) {
                enemy.Visible = false;
                k.imgExplode.Left = enemy.Left - explodeOffset;
                k.imgExplode.Top = enemy.Top - 100;
                PlayDestructSound();
                k.tmrBang.Interval = FrmKelvo::kStrikeBlastFrame;
                k.imgBlaster.Visible = false;
                k.linKelvo.Visible = false;
            }
        }
    }
}

}  // namespace

void FrmKelvo::connectPlayEvents() {
    lblMessage.MouseDown = [this](std::int16_t b, std::int16_t s, float x, float y) {
        lblMessage_MouseDown(b, s, x, y);
    };
    lblMessage.MouseUp = [this](std::int16_t b, std::int16_t s, float x, float y) { lblMessage_MouseUp(b, s, x, y); };
    lblScore.Change = [this] { lblScore_Change(); };
    tmrKelvo.Tick = [this] { tmrKelvo_Timer(); };
    tmrShip1.Tick = [this] { tmrShip1_Timer(); };
    tmrShip2.Tick = [this] { tmrShip2_Timer(); };
    tmrMissile1.Tick = [this] { tmrMissile1_Timer(); };
    tmrMissile2.Tick = [this] { tmrMissile2_Timer(); };
    tmrBang.Tick = [this] { tmrBang_Timer(); };
    tmrStars.Tick = [this] { tmrStars_Timer(); };
    tmrLevel.Tick = [this] { tmrLevel_Timer(); };
}

// --- The satellite ---------------------------------------------------------

// One whole step per key event, automatic repeats included, along one axis.
// The edge test looks at where the satellite is, not where the step would take
// it, so it stops at the first place at or past an edge. The beam moves with
// it, both ends, so a shown beam keeps its shape and a resting one its centre.
void FrmKelvo::Form_KeyDown(std::int16_t& KeyCode, std::int16_t /*Shift*/) {
    if (!imgBlaster.Visible || mnuPause.Checked) return;
    const double step = 150.0 / Satellite;
    auto move = [step](Prop<float>& sprite, Prop<float>& beamEnd, Prop<float>& satelliteEnd, double direction) {
        for (Prop<float>* coordinate : {&sprite, &beamEnd, &satelliteEnd})
            *coordinate = static_cast<float>(*coordinate + direction * step);
    };
    switch (KeyCode) {
    case keys::Left:
        if (imgBlaster.Left > 0) move(imgBlaster.Left, linKelvo.X1, linKelvo.X2, -1);
        break;
    case keys::Right:
        if (imgBlaster.Left + imgBlaster.Width < ScaleWidth()) move(imgBlaster.Left, linKelvo.X1, linKelvo.X2, +1);
        break;
    case keys::Up:
        if (imgBlaster.Top > 0) move(imgBlaster.Top, linKelvo.Y1, linKelvo.Y2, -1);
        break;
    case keys::Down:
        if (imgBlaster.Top + imgBlaster.Height < ScaleHeight()) move(imgBlaster.Top, linKelvo.Y1, linKelvo.Y2, +1);
        break;
    default: break;
    }
}

// --- The beam --------------------------------------------------------------

// Any button fires. The hit test is a point test at the press position: every
// visible ship and rocket missile (0 to 5; the fire-like 6 to 9 cannot be shot
// down) whose box holds it is wrecked and scores, ships first. The one
// explosion is moved by each hit, so it ends at the last target in that order.
void FrmKelvo::Form_MouseDown(std::int16_t /*Button*/, std::int16_t /*Shift*/, float X, float Y) {
    if (!imgBlaster.Visible || mnuPause.Checked) return;
    linKelvo.X1 = X;
    linKelvo.Y1 = Y;
    PlayKelvoSound();
    auto shootDown = [this](Image& target, float explodeOffset, std::int32_t points) {
        if (!target.Visible || !BoxHolds(target, linKelvo.X1, linKelvo.Y1)) return;
        target.Visible = false;
        imgExplode.Left = target.Left - explodeOffset;
        imgExplode.Top = target.Top - explodeOffset;
        tmrBang.Interval = kShotBlastFrame;
        PlayEnergyBangSound();
        Score = Score + points;
    };
    for (Image& ship : imgShip) shootDown(ship, 200, 100);
    for (int j = imgMissile.LBound(); j < imgMissile.LBound() + kRockets; ++j) shootDown(imgMissile(j), 500, 10);
    lblScore.Caption = PlainNumber(Score);  // also when nothing was hit
    tmrKelvo.Interval = kBeamShown;
}

// A release always puts the beam back to rest, paused or not.
void FrmKelvo::Form_MouseUp(std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*X*/, float /*Y*/) {
    tmrKelvo_Timer();
}

// The message band lies across the play field; presses on it count as presses
// on the window at the same place.
void FrmKelvo::lblMessage_MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    Form_MouseDown(Button, Shift, X, Y + lblMessage.Top);
}

void FrmKelvo::lblMessage_MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    Form_MouseUp(Button, Shift, X, Y + lblMessage.Top);
}

// A shown beam ends after 100 ms if the button is still held.
void FrmKelvo::tmrKelvo_Timer() {
    linKelvo.X1 = linKelvo.X2;
    linKelvo.Y1 = linKelvo.Y2;
    tmrKelvo.Interval = 0;
}

// --- Ships -------------------------------------------------------------------

// A ship strikes when the satellite's centre (the beam's satellite end) lies
// in its box; the damage of a strike is taken once, after the last pass.
void FrmKelvo::tmrShip1_Timer() {
    FallPasses(*this, imgShip, 100, 200,
               [this](const Image& ship) { return BoxHolds(ship, linKelvo.X2, linKelvo.Y2); });
    if (tmrLost.Interval == 0 && !imgBlaster.Visible) LoseHull(2);
    lblScore.Caption = SpacedNumber(Score);
}

// Launches the drawn ship if it waits at the top edge. A wrecked ship comes
// back only with the whole fleet, which re-forms at the top at new random
// places once none is flying.
void FrmKelvo::tmrShip2_Timer() {
    Randomize();
    const int n = DrawIndex(kShips);
    if (imgShip(n).Top == 0) {
        imgShip(n).Visible = true;
        return;
    }
    if (!AllHidden(imgShip)) return;
    for (Image& ship : imgShip) {
        ship.Top = 0;
        const float r = Rnd();
        ship.Left = static_cast<float>(Int(ScaleWidth() - 1000) * r + 1);
    }
}

// The hull-loss step after a strike, shared by ships (2 points) and missiles
// (1 point). Never runs while the life-lost sequence is under way.
void FrmKelvo::LoseHull(std::int16_t loss) {
    Hull = static_cast<std::int16_t>(std::max(Hull - loss, 0));
    if (Hull == 0) {
        tmrLost.Interval = kSatelliteAway;
    } else {
        imgBlaster.Visible = true;
        linKelvo.Visible = true;
    }
    shpHPBar.Width = shpHPBorder.Width / static_cast<float>(Satellite) * static_cast<float>(Hull);
}

// --- Missiles ----------------------------------------------------------------

// A missile strikes when its box meets the satellite's, edges touching included.
void FrmKelvo::tmrMissile1_Timer() {
    FallPasses(*this, imgMissile, 10, 500, [this](const Image& missile) { return BoxesMeet(missile, imgBlaster); });
    if (tmrLost.Interval == 0 && !imgBlaster.Visible) LoseHull(1);
    lblScore.Caption = SpacedNumber(Score);
}

// Drops the drawn missile, if it waits at the top edge, from the drawn ship,
// if that one flies: from the ship's top edge, somewhere across its width.
// Spent missiles come back only when none is in flight.
void FrmKelvo::tmrMissile2_Timer() {
    Randomize();
    const int m = DrawIndex(kMissiles);
    Randomize();
    const int s = DrawIndex(kShips);
    Image& missile = imgMissile(m);
    const Image& ship = imgShip(s);
    if (missile.Top == 0 && ship.Visible) {
        missile.Top = ship.Top;
        missile.Visible = true;
        const float r = Rnd();
        missile.Left = static_cast<float>(Int(ship.Width) * r + ship.Left + 1);
        return;
    }
    if (!AllHidden(imgMissile)) return;
    for (Image& spent : imgMissile) spent.Top = 0;
}

// --- Explosion and stars -----------------------------------------------------

// Shows the next frame. The sixteenth tick loads the last frame and hides the
// sprite at once, so that frame never reaches the screen, and ends with the
// counter back at 0. A start during an explosion moves it but goes on from
// the current frame.
void FrmKelvo::tmrBang_Timer() {
    imgExplode.Visible = true;
    imgExplode.Picture = imgBlastC(BangFrame).Picture;
    BangFrame = static_cast<std::int16_t>(BangFrame + 1);
    if (BangFrame > imgBlastC.UBound()) {
        BangFrame = 0;
        imgExplode.Visible = false;
        tmrBang.Interval = 0;
    }
}

void FrmKelvo::tmrStars_Timer() { DrawStarField(); }

// --- Score and level -----------------------------------------------------------

// Runs on every change of the score caption's text. Leaving level n takes
// (2n - 1) x 1000 points, worked out in 32 bits so that the rule goes on past
// level 16. One level per change at most; a falling score never lowers it.
// The enemies vanish to wait at the top edge: not wrecked, not counted.
void FrmKelvo::lblScore_Change() {
    const std::int32_t threshold = (2 * std::int32_t{Level} - 1) * 1000;
    if (Score < threshold) return;
    Level = static_cast<std::int16_t>(Level + 1);
    lblMessage.Caption = LevelCaption(Level);
    lblLevel.Caption = LevelCaption(Level);
    tmrLevel.Interval = kLevelShown;
    for (Image& ship : imgShip) {
        ship.Top = 0;
        ship.Visible = false;
    }
    for (Image& missile : imgMissile) {
        missile.Top = 0;
        missile.Visible = false;
    }
}

// Takes the level announcement away, whatever the message line shows by then.
void FrmKelvo::tmrLevel_Timer() {
    lblMessage.Caption = "";
    tmrLevel.Interval = 0;
}

}  // namespace kelvo
