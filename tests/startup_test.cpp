// From launch to play: the load's briefing, the satellite choice, the speed
// screen and the main window's set-up.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "TestSupport.h"

namespace kelvo {
namespace {

using platform::testing::Harness;
using test::StartGame;

TEST(StartUp, ClicksThroughToARunningGameWithTheChosenClassAndSpeed) {
    Harness h;
    Program program;
    FrmKelvo& k = StartGame(h, 2, 3);
    EXPECT_TRUE(k.Visible());
    EXPECT_FALSE(frmIntroK().IsLoaded());
    EXPECT_FALSE(frmOptionsK().IsLoaded());
    EXPECT_EQ(Satellite, 2);
    EXPECT_EQ(Speed, 3);
    EXPECT_EQ(k.tmrShip1.Interval, 100);
    EXPECT_EQ(k.tmrMissile1.Interval, 10);
}

}  // namespace
}  // namespace kelvo
