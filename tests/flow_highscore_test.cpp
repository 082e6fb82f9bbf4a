// The high-score table: where a finished game's score goes, and that it goes
// in once.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "platform/core/Application.h"

namespace kelvo {
namespace {

using test::CurrentTable;
using test::Table;
using Entry = Table::value_type;

void SetTable(Game& game, const Table& t) {
    for (int rank = 1; rank <= 10; ++rank) {
        game.TeamNames(rank) = t[static_cast<std::size_t>(rank - 1)].first;
        game.HighScores(rank) = t[static_cast<std::size_t>(rank - 1)].second;
    }
}

Table DefaultTable() {
    Table t;
    for (int rank = 1; rank <= 10; ++rank) t.emplace_back("Team " + std::to_string(rank), 51200 >> (rank - 1));
    return t;
}

void FinishGame(Game& game, std::int32_t score, const std::string& name) {
    game.Score = score;
    game.PlayerName = name;
    game.NewScore = platform::True;
}

struct HighScoreTable : ::testing::Test {
    Game game;
    HighScoreTable() { SetTable(game, DefaultTable()); }
};

// Game after game the table is what a plain sorted insertion keeps: the ten
// best, a later score above equal ones, the tenth dropping out.
TEST_F(HighScoreTable, KeepsTheTenBestWithTheLaterOfEqualScoresAbove) {
    Table all = DefaultTable();
    std::uint32_t seed = 12345;
    for (int round = 1; round <= 300; ++round) {
        seed = seed * 1103515245u + 12345u;
        const auto score = static_cast<std::int32_t>((seed >> 8) % 700) * 100 - 5000;
        const std::string name = "Game " + std::to_string(round);
        FinishGame(game, score, name);
        game.frmScoreK().InsertNewScore();
        EXPECT_EQ(game.NewScore, platform::False);
        all.insert(std::find_if(all.begin(), all.end(), [&](const Entry& e) { return score >= e.second; }),
                   Entry{name, score});
        all.resize(10);
        ASSERT_EQ(CurrentTable(game), all) << "game " << round << " scored " << score;
    }
}

}  // namespace
}  // namespace kelvo
