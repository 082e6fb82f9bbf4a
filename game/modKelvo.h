#pragma once
// The game's shared variables: every screen reads and writes them directly.
// They live for the whole run; nothing is saved.

#include <array>
#include <cstdint>
#include <string>

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

inline std::int32_t Score = 0;              // the player's points; may go negative
inline std::int16_t Speed = 0;              // 1 slow, 2 medium, 3 fast; 0 before the speed screen
inline std::string PlayerName;              // typed at game over
inline RankArray<std::string> TeamNames;    // the high-score table's names
inline RankArray<std::int32_t> HighScores;  // and their scores
inline std::int16_t NewScore = 0;           // True (-1) while a finished game waits for the table
inline std::int16_t Satellite = 0;          // class 1 light, 2 medium, 3 heavy
inline std::int16_t BriefingPage = 0;       // 0 the story, 1 the instructions
inline std::int16_t SpeedChoice = 0;        // 1 when the speed screen offers the choice

// Puts every shared variable back to its value at program start.
void ResetModuleVariables();

}  // namespace kelvo
