#pragma once
// The game as the program runs it: a fresh Game, what a recording checks of
// it, and the main window as the start-up window.

#include "game/modKelvo.h"

namespace kelvo {

// The program has one; each test, soak run and replay makes its own. One at a
// time: a recording checks the game of the Program that exists.
class Program {
public:
    Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    Game& game() { return game_; }

    // Shows the main window, whose load leads through the briefing into play.
    void start();

private:
    Game game_;
};

}  // namespace kelvo
