// Play: the satellite under the arrow keys, the beam under the mouse, the
// ships and missiles that fall, escape, launch and strike, the explosion, the
// star field, the score caption and the level it raises, and the sounds.

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "game/Captions.h"
#include "platform/Application.h"
#include "platform/Random.h"

namespace kelvo {
namespace {

using platform::Image;
using platform::Int;
using platform::Timer;
using Harness = kelvo::test::GameHarness;
namespace keys = platform::keys;

std::string SoundFile(const char* name) { return platform::AppPath() + platform::kPathSeparator + name; }

// A running game with the enemies and stars held still; a test starts the
// timers it watches, which then tick in step from that moment.
struct Play : ::testing::Test {
    Harness h;
    Program program;
    FrmKelvo& k;
    explicit Play(int satellite = 1, int speed = 1) : k(test::StartGame(h, satellite, speed)) {
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
    // Stands in for the life-lost sequence, counting its ticks.
    int lifeLost = 0;
    void CountLifeLost() {
        k.tmrLost.Tick = [this] {
            ++lifeLost;
            k.tmrLost.Interval = 0;
        };
    }
    float X2() const { return k.linKelvo.X2; }
    float Y2() const { return k.linKelvo.Y2; }
};

struct HeavyStation : Play {
    HeavyStation() : Play(3, 1) {}
};
struct MediumSatellite : Play {
    MediumSatellite() : Play(2, 2) {}
};
struct SatelliteClass : Play, ::testing::WithParamInterface<int> {
    SatelliteClass() : Play(GetParam()) {}
};

// --- The satellite -------------------------------------------------------------------------

TEST_F(Play, ClassOneStepsAHundredAndFiftyWithTheBeamAndStopsAtTheFirstPlacePastTheLeftEdge) {
    Park(30, 3000);
    h.press(k, 1500, 1500);  // a shown beam moves as a whole
    h.key(k, keys::Left);
    EXPECT_FLOAT_EQ(k.imgBlaster.Left, -120);
    EXPECT_FLOAT_EQ(k.linKelvo.X1, 1500 - 150);
    EXPECT_FLOAT_EQ(k.linKelvo.X2, -120 + 180);
    h.release(k, 1500, 1500);
    h.key(k, keys::Left, /*autoRepeat=*/true);
    EXPECT_FLOAT_EQ(k.imgBlaster.Left, -120);
    h.key(k, keys::Right, true);
    EXPECT_FLOAT_EQ(k.imgBlaster.Left, 30);
    EXPECT_FLOAT_EQ(k.linKelvo.X1, 30 + 180);

    Park(0, 0);  // exactly on the edge: moving needs more than 0
    h.key(k, keys::Left);
    h.key(k, keys::Up);
    EXPECT_FLOAT_EQ(k.imgBlaster.Left, 0);
    EXPECT_FLOAT_EQ(k.imgBlaster.Top, 0);
}

TEST_P(SatelliteClass, StepsByClassAndStopsLessThanAStepPastTheRightAndBottomEdges) {
    const float step = 150.0f / static_cast<float>(GetParam());
    const float sw = k.ScaleWidth(), sh = k.ScaleHeight(), w = k.imgBlaster.Width, hgt = k.imgBlaster.Height;
    Park(sw - w - 130, sh - hgt - 130);
    const float x2 = X2(), y2 = Y2();
    h.key(k, keys::Right);
    EXPECT_FLOAT_EQ(k.imgBlaster.Left, sw - w - 130 + step);
    for (int i = 0; i < 5; ++i) {
        h.key(k, keys::Right, true);
        h.key(k, keys::Down, i > 0);
    }
    // 130 short of each edge: whole steps of 150, 75 or 50 end 20 past it.
    EXPECT_FLOAT_EQ(k.imgBlaster.Left + w, sw + 20);
    EXPECT_FLOAT_EQ(k.imgBlaster.Top + hgt, sh + 20);
    EXPECT_FLOAT_EQ(X2(), x2 + 150);
    EXPECT_FLOAT_EQ(Y2(), y2 + 150);
}

INSTANTIATE_TEST_SUITE_P(Classes, SatelliteClass, ::testing::Values(1, 2, 3));

TEST_F(Play, KeysDoNothingWhilePausedOrHiddenAndOnlyArrowsEverMove) {
    Park(3000, 3000);
    auto stays = [&](int key) {
        h.key(k, key);
        return k.imgBlaster.Left == 3000 && k.imgBlaster.Top == 3000;
    };
    k.mnuPause.Checked = true;
    for (int key : {keys::Left, keys::Right, keys::Up, keys::Down}) EXPECT_TRUE(stays(key)) << "paused " << key;
    k.mnuPause.Checked = false;
    k.imgBlaster.Visible = false;
    for (int key : {keys::Left, keys::Right, keys::Up, keys::Down}) EXPECT_TRUE(stays(key)) << "hidden " << key;
    k.imgBlaster.Visible = true;
    for (int key : {int{keys::Space}, int{keys::Return}, int{'A'}, 118}) EXPECT_TRUE(stays(key)) << key;
}

// --- The beam ----------------------------------------------------------------------------------

TEST_F(Play, APressDrawsTheBeamToThePointerUntilReleaseOrAHundredMilliseconds) {
    const float x2 = X2(), y2 = Y2();
    h.press(k, 3000, 1500, 2);  // any button fires
    EXPECT_FLOAT_EQ(k.linKelvo.X1, 3000);
    EXPECT_FLOAT_EQ(k.linKelvo.Y1, 1500);
    EXPECT_EQ(k.tmrKelvo.Interval, 100);
    EXPECT_EQ(h.sounds(), std::vector<std::string>{SoundFile("Kelvo.WAV")});
    EXPECT_EQ(k.lblScore.Caption.get(), "0") << "rewritten in the plain form even without a hit";
    h.release(k, 3000, 1500, 2);
    EXPECT_FLOAT_EQ(k.linKelvo.X1, x2);
    EXPECT_FLOAT_EQ(k.linKelvo.Y1, y2);
    EXPECT_EQ(k.tmrKelvo.Interval, 0);

    h.press(k, 3000, 1500);
    h.advance(99);
    EXPECT_FLOAT_EQ(k.linKelvo.X1, 3000);
    h.advance(1);
    EXPECT_FLOAT_EQ(k.linKelvo.X1, x2);
    EXPECT_EQ(k.tmrKelvo.Interval, 0);
}

TEST_F(Play, AShipIsHitOnAllFourEdgesOfItsBoxAndMissedJustOutside) {
    Image& ship = k.imgShip(0);  // 960 x 600
    const float l = 1500, t = 1200, r = l + ship.Width, b = t + ship.Height, mx = 1980, my = 1500;
    auto hits = [&](float x, float y, bool realPress) {
        Fly(ship, l, t);
        if (realPress)
            h.click(k, x, y);
        else
            k.Form_MouseDown(1, 0, x, y);  // a twip is finer than a pointer's pixel
        return !ship.Visible;
    };
    EXPECT_TRUE(hits(l, my, true));
    EXPECT_TRUE(hits(r, my, true));
    EXPECT_TRUE(hits(mx, t, true));
    EXPECT_TRUE(hits(mx, b, true));
    EXPECT_FALSE(hits(l - 1, my, false));
    EXPECT_FALSE(hits(r + 1, my, false));
    EXPECT_FALSE(hits(mx, t - 1, false));
    EXPECT_FALSE(hits(mx, b + 1, false));
    EXPECT_EQ(Score, 400);
}

TEST_F(Play, EveryTargetUnderThePointerGoesAndTheExplosionEndsAtTheLast) {
    Fly(k.imgShip(2), 1500, 1200);
    Fly(k.imgShip(5), 1800, 1500);
    h.click(k, 2100, 1650);
    EXPECT_FALSE(k.imgShip(2).Visible);
    EXPECT_FALSE(k.imgShip(5).Visible);
    EXPECT_EQ(Score, 200);
    EXPECT_FLOAT_EQ(k.imgExplode.Left, 1800 - 200);
    EXPECT_FLOAT_EQ(k.imgExplode.Top, 1500 - 200);
    EXPECT_EQ(k.tmrBang.Interval, 10);

    h.clearSounds();
    Fly(k.imgShip(3), 4500, 1500);
    Fly(k.imgMissile(1), 4800, 1600);
    for (int j = 6; j <= 9; ++j) Fly(k.imgMissile(j), 4800, 1500);  // fire-like: never shot down
    h.press(k, 4830, 1800);
    EXPECT_FALSE(k.imgShip(3).Visible);
    EXPECT_FALSE(k.imgMissile(1).Visible);
    for (int j = 6; j <= 9; ++j) EXPECT_TRUE(k.imgMissile(j).Visible) << j;
    EXPECT_EQ(Score, 310);
    EXPECT_EQ(k.lblScore.Caption.get(), "310");
    EXPECT_FLOAT_EQ(k.imgExplode.Left, 4800 - 500);
    EXPECT_FLOAT_EQ(k.imgExplode.Top, 1600 - 500);
    const std::string bang = SoundFile("EnergyBang.WAV");
    EXPECT_EQ(h.sounds(), (std::vector<std::string>{SoundFile("Kelvo.WAV"), bang, bang}));
}

TEST_F(Play, APressOnTheMessageBandCountsAsOneOnTheWindowThere) {
    // The ship's right edge is in its hit box but off its picture: the press
    // lands on the band, which passes it on in window coordinates.
    const float y = 15.0f * static_cast<float>(static_cast<int>(k.lblMessage.Top / 15) + 20);
    Fly(k.imgShip(4), 1500, y - 300);
    h.press(k, 1500 + 960, y);
    EXPECT_FLOAT_EQ(k.linKelvo.X1, 2460);
    EXPECT_FLOAT_EQ(k.linKelvo.Y1, y);
    EXPECT_FALSE(k.imgShip(4).Visible);
    h.release(k, 1500 + 960, y);
    EXPECT_FLOAT_EQ(k.linKelvo.Y1, Y2());
    EXPECT_EQ(k.tmrKelvo.Interval, 0);
}

TEST_F(Play, PressesOnTheSatelliteLabelsPanelOrAShownExplosionFireNothing) {
    k.imgExplode.Picture = k.imgBlastC(3).Picture;
    k.imgExplode.Visible = true;
    for (platform::RectControl* c :
         std::vector<platform::RectControl*>{&k.imgBlaster, &k.lblScore, &k.lblLevel, &k.framLives, &k.imgExplode})
        h.press(k, c->Left + c->Width / 2, c->Top + c->Height / 2);
    EXPECT_TRUE(h.sounds().empty());
    EXPECT_EQ(k.tmrKelvo.Interval, 0);
    EXPECT_FLOAT_EQ(k.linKelvo.X1, X2());
}

TEST_F(Play, PressesWhilePausedOrHiddenDoNothingAndAReleaseStillRestsTheBeam) {
    Fly(k.imgShip(1), 1500, 1500);
    k.mnuPause.Checked = true;
    h.press(k, 1800, 1800);
    k.mnuPause.Checked = false;
    k.imgBlaster.Visible = false;
    h.press(k, 1800, 1800);
    EXPECT_TRUE(k.imgShip(1).Visible);
    EXPECT_TRUE(h.sounds().empty());
    EXPECT_FLOAT_EQ(k.linKelvo.X1, X2());

    k.linKelvo.X1 = 42;  // a beam left showing
    k.tmrKelvo.Interval = 100;
    h.release(k, 1800, 1800);
    EXPECT_FLOAT_EQ(k.linKelvo.X1, X2());
    EXPECT_EQ(k.tmrKelvo.Interval, 0);
}

// --- Ships and missiles ---------------------------------------------------------------------

TEST_F(MediumSatellite, AFlyingShipFallsThirtyPerPassLevelPlusSpeedPassesATick) {
    Fly(k.imgShip(0), 1500, 600);
    Fly(k.imgShip(1), 3000, 600, false);  // a waiting ship never moves
    k.tmrShip1.Interval = 100;
    h.advance(100);
    EXPECT_FLOAT_EQ(k.imgShip(0).Top, 600 + 3 * 30);
    EXPECT_FLOAT_EQ(k.imgShip(1).Top, 600);
}

TEST_F(Play, ShipsAndMissilesLeavingTheBottomCostAHundredAndTenAndWaitAtTheTopAtTheSameLeft) {
    k.tmrShip1.Interval = 100;
    h.advance(100);
    EXPECT_EQ(k.lblScore.Caption.get(), " 0") << "spaced form, even for 0";
    Fly(k.imgShip(2), 2500, k.Height() - 30);
    Fly(k.imgShip(6), 4000, k.Height() + 500, false);  // hidden but past the edge: taken back too
    Fly(k.imgMissile(8), 3000, k.Height() - 30);
    k.tmrMissile1.Interval = 10;
    h.advance(100);
    for (Image* e : {&k.imgShip(2), &k.imgShip(6), &k.imgMissile(8)}) {
        EXPECT_FLOAT_EQ(e->Top, 0);
        EXPECT_FALSE(e->Visible);
    }
    EXPECT_FLOAT_EQ(k.imgShip(2).Left, 2500);
    EXPECT_EQ(Score, -210);
    EXPECT_EQ(k.lblScore.Caption.get(), "-210");
}

TEST_F(HeavyStation, TheFirstShipWhoseBoxHoldsTheSatellitesCentreStrikesEdgesIncluded) {
    Image& ship = k.imgShip(3);                 // 900 x 510
    Fly(k.imgShip(0), X2() + 1, Y2() - 30);     // its left edge just right of the centre
    Fly(ship, X2() - ship.Width, Y2() - 30);    // right edge on the centre, top there after one fall
    Fly(k.imgShip(5), X2() - 100, Y2() - 100);  // met later in the same tick: no second strike
    k.tmrShip1.Interval = 100;
    h.advance(100);
    EXPECT_TRUE(k.imgShip(0).Visible);
    EXPECT_FALSE(ship.Visible);
    EXPECT_TRUE(k.imgShip(5).Visible);
    EXPECT_FLOAT_EQ(k.imgExplode.Left, X2() - ship.Width - 200);
    EXPECT_FLOAT_EQ(k.imgExplode.Top, Y2() - 100);
    EXPECT_EQ(k.tmrBang.Interval, 30);
    EXPECT_EQ(h.sounds(), std::vector<std::string>{SoundFile("Destruct.WAV")});
    EXPECT_EQ(k.Hull, 1);
    EXPECT_TRUE(k.imgBlaster.Visible && k.linKelvo.Visible) << "a surviving satellite never leaves the screen";
    EXPECT_FLOAT_EQ(k.shpHPBar.Width, k.shpHPBorder.Width / 3);
}

TEST_F(Play, AUsedUpHullStopsAtZeroHidesTheSatelliteAndArmsTheLifeLostTimerOnce) {
    CountLifeLost();
    Fly(k.imgShip(5), X2() - 100, Y2() - 100);
    k.tmrShip1.Interval = 100;
    h.advance(100);
    EXPECT_EQ(k.Hull, 0);
    EXPECT_EQ(k.tmrLost.Interval, 1000);
    EXPECT_FALSE(k.imgBlaster.Visible || k.linKelvo.Visible);
    EXPECT_FLOAT_EQ(k.shpHPBar.Width, 0);
    Fly(k.imgShip(7), X2() - 100, Y2() - 300);  // meets the hidden satellite's centre: nothing
    h.advance(100);
    EXPECT_TRUE(k.imgShip(7).Visible);
    EXPECT_EQ(h.sounds().size(), 1u);
    h.advance(900);
    EXPECT_EQ(lifeLost, 1) << "later ticks must not re-arm the timer";
}

TEST_F(Play, ShipsLaunchOneAtATimeAndTheFleetReformsOnlyWhenNoneFlies) {
    auto lefts = [&] {
        std::vector<float> v;
        for (int i = 0; i <= 8; ++i) v.push_back(k.imgShip(i).Left);
        return v;
    };
    const std::vector<float> design = lefts();
    k.tmrShip2.Interval = 100;
    h.advance(100);  // all wait at the top: the drawn one flies, nothing re-forms
    int flying = 0;
    for (int i = 0; i <= 8; ++i) flying += k.imgShip(i).Visible ? 1 : 0;
    EXPECT_EQ(flying, 1);
    EXPECT_EQ(lefts(), design);

    for (int i = 0; i <= 8; ++i) Fly(k.imgShip(i), design[i], 500, i == 4);  // one flies, the rest wrecked
    h.advance(300);
    EXPECT_EQ(lefts(), design);
    for (int i = 0; i <= 8; ++i) EXPECT_FLOAT_EQ(k.imgShip(i).Top, 500);

    k.imgShip(4).Visible = false;
    h.advance(100);
    for (int i = 0; i <= 8; ++i) {
        EXPECT_TRUE(k.imgShip(i).Top == 0 && !k.imgShip(i).Visible) << i;
        EXPECT_GE(k.imgShip(i).Left, 1);
        EXPECT_LT(k.imgShip(i).Left, static_cast<float>(Int(k.ScaleWidth() - 1000)) + 1);
    }
    EXPECT_NE(lefts(), design);
}

TEST_F(MediumSatellite, MissilesStrikeWhenTheirBoxTouchesTheSatellitesOnlyTheFirstInATick) {
    CountLifeLost();
    const float top = k.imgBlaster.Top;
    Image& first = Fly(k.imgMissile(2), k.imgBlaster.Left, top - k.imgMissile(2).Height - 30);
    Image& second = Fly(k.imgMissile(3), k.imgBlaster.Left - k.imgMissile(3).Width, top);  // touches the left side
    k.tmrMissile1.Interval = 10;
    h.advance(10);
    EXPECT_FALSE(first.Visible);
    EXPECT_TRUE(second.Visible);
    EXPECT_FLOAT_EQ(k.imgExplode.Left, first.Left - 500);
    EXPECT_FLOAT_EQ(k.imgExplode.Top, top - first.Height - 100);
    EXPECT_EQ(k.tmrBang.Interval, 30);
    EXPECT_EQ(k.Hull, 1);
    EXPECT_FLOAT_EQ(k.shpHPBar.Width, k.shpHPBorder.Width / 2);
    EXPECT_TRUE(k.imgBlaster.Visible);
    h.advance(10);  // the second one, still touching, strikes now
    EXPECT_FALSE(second.Visible);
    EXPECT_EQ(k.Hull, 0);
    EXPECT_EQ(k.tmrLost.Interval, 1000);
    EXPECT_EQ(h.sounds(), std::vector<std::string>(2, SoundFile("Destruct.WAV")));
    h.advance(1000);
    EXPECT_EQ(lifeLost, 1) << "later ticks must not re-arm the timer";
}

TEST_F(HeavyStation, AMissileStrikesWhenItsBoxTouchesAnySideOfTheSatellitesAndMissesOneTwipAway) {
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
    EXPECT_TRUE(strikes(l, t - m.Height - 30));
    EXPECT_FALSE(strikes(l, t - m.Height - 61));
    EXPECT_TRUE(strikes(l, b - 30));
    EXPECT_FALSE(strikes(l, b - 29));
    EXPECT_TRUE(strikes(l - m.Width, t));
    EXPECT_FALSE(strikes(l - m.Width - 1, t));
    EXPECT_TRUE(strikes(r, t));
    EXPECT_FALSE(strikes(r + 1, t));
}

TEST_F(Play, MissilesDropFromFlyingShipsAndReArmOnlyWhenNoneFlies) {
    for (int i = 0; i <= 8; ++i) Fly(k.imgShip(i), 1200.0f * static_cast<float>(i), 600);
    // The same draws from the same state: reseed, missile; reseed, ship; place.
    platform::RandomGenerator replay = platform::Generator();
    replay.Randomize();
    const int m = static_cast<int>(Int(replay.Rnd() * 10.0));
    replay.Randomize();
    const Image& ship = k.imgShip(static_cast<int>(Int(replay.Rnd() * 9.0)));
    const float r = replay.Rnd();
    k.tmrMissile2.Interval = 100;
    h.advance(100);
    for (int j = 0; j <= 9; ++j) EXPECT_EQ(k.imgMissile(j).Visible, j == m) << j;
    EXPECT_FLOAT_EQ(k.imgMissile(m).Top, 600);
    EXPECT_FLOAT_EQ(k.imgMissile(m).Left, static_cast<float>(Int(ship.Width) * r + ship.Left + 1));

    // Spent missiles with one still flying: nothing is launched or re-armed.
    for (int j = 0; j <= 9; ++j) Fly(k.imgMissile(j), 100, 900, j == 0);
    h.advance(300);
    for (int j = 0; j <= 9; ++j) EXPECT_TRUE(k.imgMissile(j).Top == 900 && k.imgMissile(j).Visible == (j == 0)) << j;
    // None flying and no ship to drop from: all wait at the top again.
    k.imgMissile(0).Visible = false;
    for (int i = 0; i <= 8; ++i) k.imgShip(i).Visible = false;
    h.advance(100);
    for (int j = 0; j <= 9; ++j) EXPECT_TRUE(k.imgMissile(j).Top == 0 && !k.imgMissile(j).Visible) << j;
}

// --- Explosion and stars --------------------------------------------------------------------

TEST_F(Play, AnExplosionShowsItsFramesInTurnARestartGoesOnFromTheCurrentOneAndTheLastNeverShows) {
    Fly(k.imgShip(0), 1500, 1500);
    h.click(k, 1800, 1800);  // the beam starts it, 10 ms a frame
    for (int frame = 0; frame <= 9; ++frame) {
        h.advance(10);
        EXPECT_TRUE(k.imgExplode.Visible && k.imgExplode.Picture == k.imgBlastC(frame).Picture.get()) << frame;
    }
    Fly(k.imgShip(1), 6000, 1500);
    h.click(k, 6300, 1800);
    EXPECT_FLOAT_EQ(k.imgExplode.Left, 6000 - 200);
    for (int frame = 10; frame <= 14; ++frame) {
        h.advance(10);
        EXPECT_TRUE(k.imgExplode.Visible && k.imgExplode.Picture == k.imgBlastC(frame).Picture.get()) << frame;
    }
    h.advance(10);
    EXPECT_FALSE(k.imgExplode.Visible) << "the last frame never reaches the screen";
    EXPECT_EQ(k.tmrBang.Interval, 0);
    EXPECT_EQ(k.BangFrame, 0);
}

// The white pixels of the window's drawing surface.
std::set<std::pair<int, int>> WhitePoints(const FrmKelvo& k) {
    std::set<std::pair<int, int>> white;
    for (int y = 0; y < static_cast<int>(k.ScaleHeight()) / 15; ++y)
        for (int x = 0; x < static_cast<int>(k.ScaleWidth()) / 15; ++x)
            if (k.Point(static_cast<float>(x * 15 + 7), static_cast<float>(y * 15 + 7)) == platform::colors::White)
                white.insert({x, y});
    return white;
}

TEST_F(Play, EachStarTickDrawsAFreshThousandWhitePointsOverTheWholeWindow) {
    k.tmrStars.Interval = 100;
    h.advance(100);
    const auto first = WhitePoints(k);
    EXPECT_GE(first.size(), 990u);  // a few may share a pixel or fall just past the edge
    EXPECT_LE(first.size(), 1000u);
    const int w = static_cast<int>(k.ScaleWidth()) / 15, hgt = static_cast<int>(k.ScaleHeight()) / 15;
    int nearRight = 0, nearBottom = 0;
    for (auto [x, y] : first) {
        nearRight += x >= w * 19 / 20 ? 1 : 0;
        nearBottom += y >= hgt * 19 / 20 ? 1 : 0;
    }
    EXPECT_GT(nearRight, 10);
    EXPECT_GT(nearBottom, 10);

    h.advance(100);
    const auto second = WhitePoints(k);
    EXPECT_GE(second.size(), 990u);
    int kept = 0;
    for (const auto& p : first) kept += second.count(p) ? 1 : 0;
    EXPECT_LT(kept, 30) << "the previous field is wiped";
}

// --- Score and level ------------------------------------------------------------------------

TEST_F(Play, ReachingAThresholdRaisesTheLevelOnceAnnouncesItAndClearsTheScreen) {
    Score = 989;
    Fly(k.imgMissile(0), 1500, 1500);
    h.click(k, 1530, 1530);
    EXPECT_EQ(Score, 999);
    EXPECT_EQ(k.Level, 1);

    Fly(k.imgShip(0), 1500, 3000);
    for (int i = 1; i <= 8; ++i) Fly(k.imgShip(i), 1000.0f * static_cast<float>(i), 600);
    for (int j = 0; j <= 9; ++j) Fly(k.imgMissile(j), 300.0f * static_cast<float>(j), 900);
    k.tmrLevel.Interval = 0;
    h.click(k, 1800, 3300);  // 1099
    EXPECT_EQ(k.Level, 2);
    EXPECT_EQ(k.lblMessage.Caption.get(), "LEVEL 2");
    EXPECT_EQ(k.lblLevel.Caption.get(), "LEVEL 2");
    EXPECT_EQ(k.tmrLevel.Interval, 2000);
    for (int i = 0; i <= 8; ++i) EXPECT_TRUE(!k.imgShip(i).Visible && k.imgShip(i).Top == 0) << "ship " << i;
    for (int j = 0; j <= 9; ++j) EXPECT_TRUE(!k.imgMissile(j).Visible && k.imgMissile(j).Top == 0) << "missile " << j;

    // Falling back under the threshold and rising over it again: no second rise.
    for (std::int32_t score : {900, 1000}) {
        Score = score;
        k.lblScore.Caption = PlainNumber(Score);
        k.lblScore.Caption = SpacedNumber(Score);
    }
    EXPECT_EQ(k.Level, 2);

    h.advance(2000);
    EXPECT_EQ(k.lblMessage.Caption.get(), "");
    EXPECT_EQ(k.tmrLevel.Interval, 0);
    EXPECT_EQ(k.lblLevel.Caption.get(), "LEVEL 2");
}

TEST_F(Play, LevelThresholdsGoOnPastSixteenAndNegativeScoresNeverRaise) {
    auto levelAt = [&](std::int16_t level, std::int32_t score) {
        k.Level = level;
        Score = score;
        k.lblScore.Caption = PlainNumber(score);
        return k.Level;
    };
    EXPECT_EQ(levelAt(1, -5000), 1);
    EXPECT_EQ(levelAt(3, 4999), 3);
    EXPECT_EQ(levelAt(3, 5000), 4);
    EXPECT_EQ(levelAt(16, 30999), 16);
    EXPECT_EQ(levelAt(16, 31000), 17);
    EXPECT_EQ(levelAt(17, 32999), 17);
    EXPECT_EQ(levelAt(17, 33000), 18);
    EXPECT_EQ(levelAt(40, 79000), 41);
    EXPECT_EQ(k.lblLevel.Caption.get(), "LEVEL 41");
}

}  // namespace
}  // namespace kelvo
