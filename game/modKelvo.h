#pragma once
// The game's shared variables and its four windows. A Game lasts for one run
// of the game; nothing is saved. Every window holds the game it belongs to
// and reads and writes the variables by their names (`Score = Score + 10`).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/core/Form.h"

namespace kelvo {

// Indexed 1 to 10 like the ranks they hold: `TeamNames(1)` is the best.
template <class T>
class RankArray {
public:
    T& operator()(int rank) { return items_.at(static_cast<std::size_t>(rank - 1)); }
    const T& operator()(int rank) const { return items_.at(static_cast<std::size_t>(rank - 1)); }
    void fill(const T& v) { items_.fill(v); }
    static constexpr int LBound() { return 1; }
    static constexpr int UBound() { return 10; }

private:
    std::array<T, UBound()> items_{};
};

class FrmKelvo;
class FrmIntroK;
class FrmOptionsK;
class FrmScoreK;

// Each Program makes a fresh one; nothing of a game outlives it.
class Game {
public:
    Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    ~Game();

    std::int32_t Score = 0;              // the player's points; may go negative
    std::int16_t Speed = 0;              // 1 slow, 2 medium, 3 fast; 0 before the speed screen
    std::string PlayerName;              // typed at game over
    RankArray<std::string> TeamNames;    // the high-score table's names
    RankArray<std::int32_t> HighScores;  // and their scores
    std::int16_t NewScore = 0;           // True (-1) while a finished game waits for the table
    std::int16_t Satellite = 0;          // class 1 light, 2 medium, 3 heavy
    std::int16_t BriefingPage = 0;       // 0 the story, 1 the instructions
    std::int16_t SpeedChoice = 0;        // 1 when the speed screen offers the choice

    // One of each window, made with the game and kept as long as it.
    FrmKelvo& frmKelvo() const { return *frmKelvo_; }
    FrmIntroK& frmIntroK() const { return *frmIntroK_; }
    FrmOptionsK& frmOptionsK() const { return *frmOptionsK_; }
    FrmScoreK& frmScoreK() const { return *frmScoreK_; }

    // Unloads every window that is loaded.
    void unloadAll();

private:
    std::unique_ptr<FrmKelvo> frmKelvo_;
    std::unique_ptr<FrmIntroK> frmIntroK_;
    std::unique_ptr<FrmOptionsK> frmOptionsK_;
    std::unique_ptr<FrmScoreK> frmScoreK_;
};

// A window of the game: the game's variables and the other windows under
// their own names.
class GameForm : public platform::Form {
public:
    Game& game;
    std::int32_t& Score = game.Score;
    std::int16_t& Speed = game.Speed;
    std::string& PlayerName = game.PlayerName;
    RankArray<std::string>& TeamNames = game.TeamNames;
    RankArray<std::int32_t>& HighScores = game.HighScores;
    std::int16_t& NewScore = game.NewScore;
    std::int16_t& Satellite = game.Satellite;
    std::int16_t& BriefingPage = game.BriefingPage;
    std::int16_t& SpeedChoice = game.SpeedChoice;

    FrmKelvo& frmKelvo() const { return game.frmKelvo(); }
    FrmIntroK& frmIntroK() const { return game.frmIntroK(); }
    FrmOptionsK& frmOptionsK() const { return game.frmOptionsK(); }
    FrmScoreK& frmScoreK() const { return game.frmScoreK(); }

protected:
    GameForm(std::string name, Game& owner) : Form(std::move(name)), game(owner) {}
};

}  // namespace kelvo
