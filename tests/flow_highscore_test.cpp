// The high-score table and its screen: where a finished game's score goes,
// that it goes in only once, and how the screen shows the table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "platform/Application.h"

namespace kelvo {
namespace {

using Harness = kelvo::test::GameHarness;

constexpr const char* kTeams[10] = {"Alpha Squadron", "Beta Squadron", "Gamma Team",   "Delta Force",
                                    "Epsilon Team",   "Nova Squadron", "Aurora Fleet", "Omnicron Command",
                                    "Sigma Corps",    "Omega Force"};

using Entry = std::pair<std::string, std::int32_t>;
using Table = std::vector<Entry>;

// The default scores, each name at the rank of its seeding order.
Table DefaultTable() {
    Table t;
    for (int rank = 1; rank <= 10; ++rank) t.emplace_back(kTeams[rank - 1], 51200 >> (rank - 1));
    return t;
}

void SetTable(const Table& t) {
    for (int rank = 1; rank <= 10; ++rank) std::tie(TeamNames(rank), HighScores(rank)) = t[rank - 1];
}

Table CurrentTable() {
    Table t;
    for (int rank = 1; rank <= 10; ++rank) t.emplace_back(TeamNames(rank), HighScores(rank));
    return t;
}

void FinishGame(std::int32_t score, const std::string& name) {
    Score = score;
    PlayerName = name;
    NewScore = platform::True;
}

void EnterScore(std::int32_t score, const std::string& name) {
    FinishGame(score, name);
    InsertNewScore();
}

class HighScoreTable : public ::testing::Test {
protected:
    void SetUp() override { SetTable(DefaultTable()); }
    void TearDown() override { ResetModuleVariables(); }
};

TEST_F(HighScoreTable, AScoreGoesAboveEqualScoresAndPushesTheTenthOut) {
    EnterScore(6400, "Space Ace");
    Table want = DefaultTable();
    want.insert(want.begin() + 3, Entry{"Space Ace", 6400});
    want.pop_back();
    EXPECT_EQ(CurrentTable(), want);
    EXPECT_EQ(NewScore, platform::False);

    SetTable(DefaultTable());
    for (int rank = 4; rank <= 7; ++rank) HighScores(rank) = 1000;
    EnterScore(1000, "Tie");
    EXPECT_EQ(TeamNames(3), "Gamma Team");
    EXPECT_EQ(TeamNames(4), "Tie");
    EXPECT_EQ(TeamNames(5), "Delta Force");
    EXPECT_EQ(TeamNames(8), "Aurora Fleet");
}

TEST_F(HighScoreTable, AScoreEqualToTheTenthEntersTenth) {
    EnterScore(100, "Space Ace");
    Table want = DefaultTable();
    want.back() = {"Space Ace", 100};
    EXPECT_EQ(CurrentTable(), want);
}

TEST_F(HighScoreTable, ScoresBelowTheTenthLeaveTheTableAsItWas) {
    for (std::int32_t score : {99, 0, -10, -2147483647 - 1}) {
        EnterScore(score, "Space Ace");
        EXPECT_EQ(CurrentTable(), DefaultTable()) << score;
        EXPECT_EQ(NewScore, platform::False) << score;
    }
}

TEST_F(HighScoreTable, AScoreAboveTheFirstTakesFirstPlace) {
    EnterScore(51201, "Space Ace");
    Table want = DefaultTable();
    want.insert(want.begin(), Entry{"Space Ace", 51201});
    want.pop_back();
    EXPECT_EQ(CurrentTable(), want);
}

TEST_F(HighScoreTable, TwoIdenticalGamesGiveTwoEntriesTheLaterAbove) {
    EnterScore(800, "Space Ace");
    EnterScore(800, "Space Ace");
    EnterScore(800, "Later");
    EXPECT_EQ(TeamNames(7), "Later");
    EXPECT_EQ(TeamNames(8), "Space Ace");
    EXPECT_EQ(TeamNames(9), "Space Ace");
    EXPECT_EQ(TeamNames(10), "Aurora Fleet");
    EXPECT_EQ(HighScores(10), 800);
}

TEST_F(HighScoreTable, NamesAreStoredExactlyAsTyped) {
    const std::vector<std::string> names = {"",
                                            std::string(400, 'W'),
                                            "Zo\xC3\xAB \xC3\x85ngstr\xC3\xB6m",
                                            "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD8\xB3\xD9\x84\xD8\xA7\xD9\x85",
                                            "\xF0\x9F\x9A\x80\xF0\x9F\x91\xBE",
                                            "  spaced  "};
    for (std::size_t i = 0; i < names.size(); ++i) EnterScore(60000 + static_cast<std::int32_t>(i), names[i]);
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(TeamNames(static_cast<int>(names.size() - i)), names[i]);
}

// Game after game, the table is what a plain sorted insertion keeps: the ten
// best, the later of equal scores first.
TEST_F(HighScoreTable, ManyGamesKeepTheTenBestInOrder) {
    Table all = DefaultTable();
    std::uint32_t seed = 12345;
    for (int game = 1; game <= 300; ++game) {
        seed = seed * 1103515245u + 12345u;
        const auto score = static_cast<std::int32_t>((seed >> 8) % 700) * 100 - 5000;
        const std::string name = "Game " + std::to_string(game);
        EnterScore(score, name);
        all.insert(std::find_if(all.begin(), all.end(), [&](const Entry& e) { return score >= e.second; }),
                   Entry{name, score});
        all.resize(10);
        ASSERT_EQ(CurrentTable(), all) << "game " << game << " scored " << score;
    }
}

// --- The screen ---------------------------------------------------------------

class HighScoreScreen : public ::testing::Test {
protected:
    Harness h;
    Program program;
    FrmScoreK& s = frmScoreK();

    void SetUp() override { SetTable(DefaultTable()); }

    void ShowScreen() {
        s.Show();
        h.processEvents();
    }
};

TEST_F(HighScoreScreen, AWaitingScoreIsInPlaceAtOnceAndEnteredOnlyOnce) {
    TeamNames.fill("");  // the main window's load deals its names into empty slots
    test::StartGame(h);
    SetTable(DefaultTable());
    FinishGame(6400, "Space Ace");
    ShowScreen();
    EXPECT_EQ(s.lblName(4).Caption.get(), "Space Ace");
    EXPECT_EQ(s.lblScore(4).Caption.get(), "6400");
    EXPECT_EQ(s.lblName(5).Caption.get(), "Delta Force");
    EXPECT_EQ(s.lblScore(10).Caption.get(), "200");

    // To the main window and back: activated again, nothing entered again.
    frmKelvo().Show();
    h.processEvents();
    ASSERT_EQ(platform::ActiveForm(), &frmKelvo());
    ShowScreen();
    ASSERT_EQ(platform::ActiveForm(), &s);
    EXPECT_EQ(s.lblName(6).Caption.get(), "Epsilon Team");
    EXPECT_EQ(HighScores(5), 6400);
    EXPECT_EQ(HighScores(6), 3200);
}

TEST_F(HighScoreScreen, WithNoGameWaitingItShowsTheTableUnchanged) {
    Score = 30000;  // a game under way
    ShowScreen();
    EXPECT_EQ(CurrentTable(), DefaultTable());
    for (int rank = 1; rank <= 10; ++rank) {
        EXPECT_EQ(s.lblName(rank).Caption.get(), kTeams[rank - 1]);
        EXPECT_EQ(s.lblScore(rank).Caption.get(), std::to_string(51200 >> (rank - 1)));
    }
}

TEST_F(HighScoreScreen, NamesOfAnyLengthOrScriptKeepTheirBoxes) {
    const std::string longName(300, 'M'), rtl = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", emoji = "\xF0\x9F\x9A\x80 Ace";
    EnterScore(60000, longName);
    EnterScore(25600, rtl);
    FinishGame(3200, emoji);
    ShowScreen();
    EXPECT_EQ(s.lblName(1).Caption.get(), longName);
    EXPECT_EQ(s.lblName(3).Caption.get(), rtl);
    EXPECT_EQ(s.lblName(7).Caption.get(), emoji);
    for (int rank = 1; rank <= 10; ++rank) {
        EXPECT_EQ(s.lblName(rank).Top, 660.0f + 420.0f * static_cast<float>(rank - 1));
        EXPECT_EQ(s.lblName(rank).Width, 2595.0f);
        EXPECT_EQ(s.lblName(rank).Height, 315.0f);
        EXPECT_EQ(s.lblScore(rank).Left, 3300.0f);
    }
}

TEST_F(HighScoreScreen, TitleButtonAndBorderTakeOneNewColourEveryTenthOfASecond) {
    ShowScreen();
    std::vector<platform::Color> seen;
    for (int tick = 1; tick <= 10; ++tick) {
        h.advance(100);
        EXPECT_EQ(s.cmdDone.BackColor, s.lblTitle.ForeColor);
        EXPECT_EQ(s.shpBorder.BorderColor, s.lblTitle.ForeColor);
        seen.push_back(s.lblTitle.ForeColor);
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_GE(std::unique(seen.begin(), seen.end()) - seen.begin(), 8);
}

TEST_F(HighScoreScreen, DoneClosesItAndTheNextShowingStartsFromItsDesign) {
    ShowScreen();
    h.advance(300);
    h.click(s.cmdDone);
    EXPECT_FALSE(s.IsLoaded());
    EXPECT_FALSE(h.clock().isRunning(s.tmrColours));

    ShowScreen();
    EXPECT_EQ(s.lblTitle.ForeColor, platform::colors::Yellow);
    EXPECT_EQ(s.cmdDone.BackColor, platform::colors::Yellow);
    EXPECT_EQ(s.shpBorder.BorderColor, platform::colors::LightCyan);
    EXPECT_TRUE(h.clock().isRunning(s.tmrColours));
}

}  // namespace
}  // namespace kelvo
