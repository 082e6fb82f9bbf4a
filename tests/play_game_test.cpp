// Play: the satellite under the arrow keys, the beam under the mouse, ships and
// missiles striking the satellite, the star field, and the level that the score
// raises. How enemies fall, escape and launch, and the explosion's frames, are
// played through in the kept recordings (tests/recordings).

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "game/Captions.h"
#include "platform/core/Application.h"

namespace kelvo {
namespace {

using platform::Image;
using platform::Timer;
namespace keys = platform::keys;

std::string SoundFile(const char* name) { return platform::AppPath() + platform::kPathSeparator + name; }

// A running game with the enemies and stars held still; a test starts the
// timers it watches, which then tick in step from that moment.
struct Play : ::testing::Test {
    test::GameHarness h;
    Program program;
    Game& game = program.game();
    FrmKelvo& k;
    explicit Play(int satellite = 1, int speed = 1) : k(test::StartGame(h, program, satellite, speed)) {
        for (Timer* t : {&k.tmrShip1, &k.tmrShip2, &k.tmrMissile1, &k.tmrMissile2, &k.tmrStars}) t->Interval = 0;
        h.clearSounds();
    }
    // The satellite at (left, top) with the beam at rest on its centre.
    void Park(float left, float top) {
        k.imgBlaster.Left = left;
        k.imgBlaster.Top = top;
        k.linKelvo.X1 = k.linKelvo.X2 = left + k.imgBlaster.Width / 2;
        k.linKelvo.Y1 = k.linKelvo.Y2 = top + k.imgBlaster.Height / 2;
    }
    Image& Fly(Image& sprite, float left, float top, bool visible = true) {
        sprite.Left = left;
        sprite.Top = top;
        sprite.Visible = visible;
        return sprite;
    }
    float X2() const { return k.linKelvo.X2; }
    float Y2() const { return k.linKelvo.Y2; }
};

struct HeavyStation : Play {
    HeavyStation() : Play(3, 1) {}
};
struct SatelliteClass : Play, ::testing::WithParamInterface<int> {
    SatelliteClass() : Play(GetParam()) {}
};

// --- The satellite -----------------------------------------------------------------

// The edge test looks at where the satellite is: it stops at the first place
// at or past an edge, and a satellite exactly on an edge moves no further.
TEST_P(SatelliteClass, StepsByClassWithTheBeamUntilItReachesAnEdge) {
    const float step = 150.0f / static_cast<float>(GetParam());
    const float right = k.ScaleWidth() - k.imgBlaster.Width, bottom = k.ScaleHeight() - k.imgBlaster.Height;
    auto moved = [&](float left, float top, int key, bool autoRepeat = false) {
        Park(left, top);
        k.linKelvo.X1 = 1500;  // a shown beam moves as a whole
        k.linKelvo.Y1 = 1500;
        h.key(k, key, autoRepeat);
        const float dx = k.imgBlaster.Left - left, dy = k.imgBlaster.Top - top;
        EXPECT_FLOAT_EQ(k.linKelvo.X1 - 1500, dx);
        EXPECT_FLOAT_EQ(k.linKelvo.Y2 - (top + k.imgBlaster.Height / 2), dy);
        return dx + dy;
    };
    EXPECT_FLOAT_EQ(moved(right - 1, 0, keys::Right), step);
    EXPECT_FLOAT_EQ(moved(0, bottom - 1, keys::Down, true), step);
    EXPECT_FLOAT_EQ(moved(1, 1, keys::Left), -step);
    EXPECT_FLOAT_EQ(moved(1, 1, keys::Up), -step);
    // Exactly on an edge: no further.
    EXPECT_FLOAT_EQ(moved(right, 0, keys::Right) + moved(0, bottom, keys::Down), 0);
    EXPECT_FLOAT_EQ(moved(0, 1, keys::Left) + moved(1, 0, keys::Up), 0);
}

INSTANTIATE_TEST_SUITE_P(Classes, SatelliteClass, ::testing::Values(1, 2, 3));

TEST_F(Play, KeysMoveNothingWhilePausedOrWithTheSatelliteAwayAndOnlyArrowsMove) {
    Park(3000, 3000);
    k.mnuPause.Checked = true;
    h.key(k, keys::Left);
    k.mnuPause.Checked = false;
    k.imgBlaster.Visible = false;
    h.key(k, keys::Up);
    k.imgBlaster.Visible = true;
    for (int key : {int{keys::Space}, int{keys::Return}, int{'A'}}) h.key(k, key);
    EXPECT_FLOAT_EQ(k.imgBlaster.Left, 3000);
    EXPECT_FLOAT_EQ(k.imgBlaster.Top, 3000);
}

// --- The beam ----------------------------------------------------------------------------

TEST_F(Play, AShipIsHitOnAllFourEdgesOfItsBoxAndMissedJustOutside) {
    Image& ship = k.imgShip(0);  // 960 x 600
    const float l = 1500, t = 1200, r = l + ship.Width, b = t + ship.Height, mx = 1980, my = 1500;
    auto hits = [&](float x, float y) {
        Fly(ship, l, t);
        k.Form_MouseDown(1, 0, x, y);  // a twip is finer than a pointer's pixel
        return !ship.Visible;
    };
    EXPECT_TRUE(hits(l, my) && hits(r, my) && hits(mx, t) && hits(mx, b));
    EXPECT_FALSE(hits(l - 1, my) || hits(r + 1, my) || hits(mx, t - 1) || hits(mx, b + 1));
    EXPECT_EQ(game.Score, 400);
}

TEST_F(Play, EveryShipAndRocketUnderThePointerGoesButFireCannotBeShot) {
    Fly(k.imgShip(3), 4500, 1500);
    Fly(k.imgShip(5), 4400, 1600);
    Fly(k.imgMissile(1), 4800, 1600);
    for (int j = 6; j <= 9; ++j) Fly(k.imgMissile(j), 4800, 1500);
    h.press(k, 4830, 1800, 2);  // any button fires
    EXPECT_FALSE(k.imgShip(3).Visible || k.imgShip(5).Visible || k.imgMissile(1).Visible);
    for (int j = 6; j <= 9; ++j) EXPECT_TRUE(k.imgMissile(j).Visible) << j;
    EXPECT_EQ(game.Score, 210);
    EXPECT_EQ(k.lblScore.Caption.get(), "210");
    // The one explosion ends at the last target, ships before rockets.
    EXPECT_FLOAT_EQ(k.imgExplode.Left, 4800 - 500);
    EXPECT_FLOAT_EQ(k.imgExplode.Top, 1600 - 500);
    EXPECT_EQ(k.tmrBang.Interval, 10);
    const std::string bang = SoundFile("EnergyBang.WAV");
    EXPECT_EQ(h.sounds(), (std::vector<std::string>{SoundFile("Kelvo.WAV"), bang, bang, bang}));
}

TEST_F(Play, PressesOnTheSatelliteTheScoreOrThePanelFireNothing) {
    for (platform::RectControl* c : std::vector<platform::RectControl*>{&k.imgBlaster, &k.lblScore})
        h.press(k, c->Left + c->Width / 2, c->Top + c->Height / 2);
    h.press(k, k.framLives.Left + 30, k.framLives.Top + 120);  // the panel itself, beside its icons
    EXPECT_TRUE(h.sounds().empty());
}

TEST_F(Play, PressesWhilePausedOrAwayFireNothingAndAReleaseStillRestsTheBeam) {
    Fly(k.imgShip(1), 1500, 1500);
    k.mnuPause.Checked = true;
    h.press(k, 1800, 1800);
    k.mnuPause.Checked = false;
    k.imgBlaster.Visible = false;
    h.press(k, 1800, 1800);
    EXPECT_TRUE(k.imgShip(1).Visible);
    EXPECT_TRUE(h.sounds().empty());
    k.linKelvo.X1 = 42;  // a beam left showing
    h.release(k, 1800, 1800);
    EXPECT_FLOAT_EQ(k.linKelvo.X1, X2());
}

// --- Ships and missiles ---------------------------------------------------------------

TEST_F(HeavyStation, TheFirstShipWhoseBoxHoldsTheSatellitesCentreStrikesEdgesIncluded) {
    Image& ship = k.imgShip(3);                 // 900 x 510
    Fly(k.imgShip(0), X2() + 1, Y2() - 30);     // its left edge just right of the centre
    Fly(ship, X2() - ship.Width, Y2() - 30);    // right edge on the centre, top there after one fall
    Fly(k.imgShip(5), X2() - 100, Y2() - 100);  // met later in the same tick: no second strike
    k.tmrShip1.Interval = 100;
    h.advance(100);
    EXPECT_TRUE(k.imgShip(0).Visible && k.imgShip(5).Visible);
    EXPECT_FALSE(ship.Visible);
    EXPECT_FLOAT_EQ(k.imgExplode.Left, X2() - ship.Width - 200);
    EXPECT_FLOAT_EQ(k.imgExplode.Top, Y2() - 100);
    EXPECT_EQ(k.tmrBang.Interval, 30);
    EXPECT_EQ(h.sounds(), std::vector<std::string>{SoundFile("Destruct.WAV")});
    EXPECT_EQ(k.Hull, 1);
    EXPECT_TRUE(k.imgBlaster.Visible && k.linKelvo.Visible) << "a surviving satellite never leaves the screen";
    EXPECT_FLOAT_EQ(k.shpHPBar.Width, k.shpHPBorder.Width / 3);
}

TEST_F(Play, AUsedUpHullHidesTheSatelliteAndArmsTheLifeLostTimerOnce) {
    int armed = 0;
    k.tmrLost.Tick = [&] {
        ++armed;
        k.tmrLost.Interval = 0;
    };
    Fly(k.imgShip(5), X2() - 100, Y2() - 100);
    k.tmrShip1.Interval = 100;
    h.advance(100);
    EXPECT_EQ(k.Hull, 0);
    EXPECT_FALSE(k.imgBlaster.Visible || k.linKelvo.Visible);
    EXPECT_FLOAT_EQ(k.shpHPBar.Width, 0);
    Fly(k.imgShip(7), X2() - 100, Y2() - 300);  // meets the hidden satellite's centre: nothing
    h.advance(1000);
    EXPECT_TRUE(k.imgShip(7).Visible);
    EXPECT_EQ(armed, 1);
}

TEST_F(HeavyStation, AMissileStrikesWhenItsBoxTouchesTheSatellitesOnAnySide) {
    Image& m = k.imgMissile(4);  // 165 x 630
    const float l = k.imgBlaster.Left, t = k.imgBlaster.Top, r = l + k.imgBlaster.Width, b = t + k.imgBlaster.Height;
    auto strikes = [&](float left, float top) {  // placed before a tick of two 30-twip passes
        k.Hull = 3;
        Fly(m, left, top);
        h.advance(10);
        const bool struck = !m.Visible;
        Fly(m, 0, 0, false);
        return struck;
    };
    k.tmrMissile1.Interval = 10;
    EXPECT_TRUE(strikes(l, t - m.Height - 60) && strikes(l, b - 30) && strikes(l - m.Width, t) && strikes(r, t));
    EXPECT_FALSE(strikes(l, t - m.Height - 61) || strikes(l, b - 29) || strikes(l - m.Width - 1, t) ||
                 strikes(r + 1, t));
}

// --- Explosion, stars, level -----------------------------------------------------------

// Stars cover the whole window, also past 32767 twips, where 16-bit
// coordinates would end.
TEST_F(Play, EachStarTickWipesTheFieldAndDrawsAThousandPointsOverTheWholeWindow) {
    k.setWidth(45000);  // 3000 pixels
    k.setHeight(36000);
    auto whitePoints = [&] {
        std::vector<std::pair<float, float>> white;
        for (float y = 7; y < k.ScaleHeight(); y += 15)
            for (float x = 7; x < k.ScaleWidth(); x += 15)
                if (k.Point(x, y) == platform::colors::White) white.emplace_back(x, y);
        return white;
    };
    k.tmrStars.Interval = 100;
    h.advance(100);
    const auto first = whitePoints();
    EXPECT_GE(first.size(), 990u);  // a few share a pixel or fall just past the edge
    EXPECT_LE(first.size(), 1000u);
    EXPECT_GT(std::count_if(first.begin(), first.end(), [](auto p) { return p.first > 32767 && p.second > 32767; }), 5);
    h.advance(100);
    int kept = 0;
    for (auto [x, y] : first) kept += k.Point(x, y) == platform::colors::White ? 1 : 0;
    EXPECT_LT(kept, 30) << "the previous field is wiped";
}

TEST_F(Play, ReachingAThresholdRaisesTheLevelOnceAnnouncesItAndClearsTheScreen) {
    game.Score = 999;
    Fly(k.imgShip(0), 1500, 3000);
    Fly(k.imgMissile(7), 300, 900);
    k.tmrLevel.Interval = 0;
    h.click(k, 1800, 3300);
    EXPECT_EQ(k.Level, 2);
    EXPECT_EQ(k.lblMessage.Caption.get(), "LEVEL 2");
    EXPECT_EQ(k.lblLevel.Caption.get(), "LEVEL 2");
    EXPECT_TRUE(!k.imgMissile(7).Visible && k.imgMissile(7).Top == 0);
    // Falling back under the threshold and rising over it again: no second rise.
    for (std::int32_t score : {900, 1000}) {
        game.Score = score;
        k.lblScore.Caption = PlainNumber(game.Score);
    }
    EXPECT_EQ(k.Level, 2);
    h.advance(2000);
    EXPECT_EQ(k.lblMessage.Caption.get(), "");
    EXPECT_EQ(k.tmrLevel.Interval, 0);
}

TEST_F(Play, LevelThresholdsGoOnPastSixteenAndNegativeScoresNeverRaise) {
    auto levelAt = [&](std::int16_t level, std::int32_t score) {
        k.Level = level;
        game.Score = score;
        k.lblScore.Caption = PlainNumber(score);
        return k.Level;
    };
    EXPECT_EQ(levelAt(1, -5000), 1);
    EXPECT_EQ(levelAt(3, 4999), 3);
    EXPECT_EQ(levelAt(3, 5000), 4);
    EXPECT_EQ(levelAt(17, 32999), 17);
    EXPECT_EQ(levelAt(17, 33000), 18);
}

}  // namespace
}  // namespace kelvo
