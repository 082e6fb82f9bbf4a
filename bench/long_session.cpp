// One long game played like a player, written as a recording: the briefing,
// the satellite and speed choices, then arrow keys a few times a second, the
// beam pressed at ships now and then and released, the occasional pause (F3)
// and resume, the name box answered at a game over and a New Game from the
// Game menu, until the game time is up. bench/perf.py measures the file's
// size and how long `kelvo --verify` takes on it.
//
//   kelvo_long_session OUT.rec [--minutes M] [--seed S]
//
// M is 10 unless told, S is 1; the same S plays the same game.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/core/Application.h"

namespace {

using kelvo::FrmKelvo;
using platform::Image;
using platform::testing::Harness;
namespace keys = platform::keys;

struct Counts {
    long keys = 0, presses = 0, pauses = 0, gamesOver = 0, newGames = 0, bestScore = 0, topLevel = 0;
};

class Player {
public:
    Player(Harness& h, std::uint64_t seed) : h_(h), random_(seed) {}

    void play(kelvo::Program& program, std::int64_t gameMs) {
        FrmKelvo& k = kelvo::test::StartGame(h_, program, 1 + pick(3), 1 + pick(2));
        while (elapsed_ < gameMs) {
            if (!k.IsLoaded()) break;  // the player left the game (never meant to happen here)
            if (platform::ActiveForm() != &k) h_.activate(k);
            if (k.Lives <= 0) {
                gameOver(k);
                continue;
            }
            if (k.mnuPause.Checked) {  // a short break, then on
                wait(2000 + pick(4000));
                h_.shortcut(k, keys::F3);
                continue;
            }
            const int roll = pick(100);
            if (roll < 30)
                fire(k);
            else if (roll < 31) {
                h_.shortcut(k, keys::F3);
                ++counts_.pauses;
            } else {
                static constexpr std::int16_t kArrows[] = {keys::Left, keys::Right, keys::Up, keys::Down};
                const std::int16_t key = kArrows[pick(4)];
                const int held = pick(4);  // a tap, or held for a few repeats
                h_.key(k, key);
                for (int i = 0; i < held; ++i) {
                    wait(33);
                    h_.key(k, key, true);
                }
                counts_.keys += 1 + held;
            }
            wait(120 + pick(300));
        }
    }

    const Counts& counts() const { return counts_; }
    std::int64_t elapsed() const { return elapsed_; }

private:
    int pick(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }

    void wait(std::int64_t ms) {
        h_.advance(ms);
        elapsed_ += ms;
    }

    // The beam at a flying ship (or at empty space when none flies), held a little.
    void fire(FrmKelvo& k) {
        std::vector<Image*> flying;
        for (Image& ship : k.imgShip)
            if (ship.Visible) flying.push_back(&ship);
        float x = static_cast<float>(1000 + pick(8000)), y = static_cast<float>(500 + pick(4000));
        if (!flying.empty()) {
            const Image& ship = *flying[static_cast<std::size_t>(pick(static_cast<int>(flying.size())))];
            x = ship.Left + ship.Width / 2 + static_cast<float>(pick(200) - 100);
            y = ship.Top + ship.Height / 2 + static_cast<float>(pick(200) - 100);
        }
        h_.press(k, x, y);
        wait(40 + pick(80));
        h_.release(k, x, y);
        ++counts_.presses;
    }

    // The name box is answered as it opens; a look at the table, then a new game.
    void gameOver(FrmKelvo& k) {
        ++counts_.gamesOver;
        counts_.bestScore = std::max<long>(counts_.bestScore, k.Score);
        counts_.topLevel = std::max<long>(counts_.topLevel, k.Level);
        wait(3000 + pick(3000));
        if (platform::ActiveForm() != &k) h_.activate(k);
        h_.onModal(kelvo::test::StartUpScript(h_, k.game, 1 + pick(3), 1 + pick(2)));
        h_.chooseMenu(k, k.mnuGame, k.mnuNew);
        ++counts_.newGames;
    }

    Harness& h_;
    std::mt19937_64 random_;
    std::int64_t elapsed_ = 0;
    Counts counts_;
};

[[noreturn]] void Usage() {
    std::fprintf(stderr, "usage: kelvo_long_session OUT.rec [--minutes M] [--seed S]\n");
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    std::string out;
    double minutes = 10;
    std::uint64_t seed = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--minutes") == 0 && i + 1 < argc)
            minutes = std::atof(argv[++i]);
        else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (argv[i][0] != '-' && out.empty())
            out = argv[i];
        else
            Usage();
    }
    if (out.empty() || !(minutes > 0)) Usage();

    Harness h(kelvo::GameResources(), seed);
    h.onDialog([&h](const Harness::DialogCall& d) {
        if (d.kind == "InputBox") h.answerInputBox("Long Haul");
    });
    h.record(out);
    Player player(h, seed);
    {
        kelvo::Program program;
        player.play(program, static_cast<std::int64_t>(minutes * 60'000));
        h.stopRecording();
    }
    const Counts& c = player.counts();
    std::printf(
        "%s: %.1f min of game time, %ld keys, %ld beam presses, %ld pauses, %ld games over (best score %ld, top level "
        "%ld), %ld new games\n",
        out.c_str(), static_cast<double>(player.elapsed()) / 60'000, c.keys, c.presses, c.pauses, c.gamesOver,
        c.bestScore, c.topLevel, c.newGames);
    return 0;
}
