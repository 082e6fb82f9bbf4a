#include "game/Program.h"

#include <cstdio>

#include "game/frmKelvo.h"
#include "platform/core/Replay.h"

namespace kelvo {
namespace {

// The high-score table, names and scores, as one number.
std::uint64_t TableChecksum(const Game& g) {
    platform::StateHash h;
    for (int rank = g.TeamNames.LBound(); rank <= g.TeamNames.UBound(); ++rank) {
        h.add(g.TeamNames(rank));
        h.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(g.HighScores(rank))));
    }
    return h.value();
}

// What a recording checks besides the windows, and what --verify sums up.
platform::GameFacts Facts(const Game& g) {
    const FrmKelvo& k = g.frmKelvo();
    platform::GameFacts facts;
    facts.addState = [&g, &k](platform::StateHash& h) {
        for (std::int64_t v :
             {std::int64_t{g.Score}, std::int64_t{g.Speed}, std::int64_t{g.NewScore}, std::int64_t{g.Satellite},
              std::int64_t{g.BriefingPage}, std::int64_t{g.SpeedChoice}, std::int64_t{k.BangFrame},
              std::int64_t{k.Hull}, std::int64_t{k.Lives}, std::int64_t{k.Level}})
            h.add(static_cast<std::uint64_t>(v));
        h.add(g.PlayerName);
        h.add(TableChecksum(g));
    };
    facts.numbers = [&g, &k] {
        return std::vector<std::pair<std::string, std::int64_t>>{
            {"score", g.Score}, {"level", k.Level}, {"lives", k.Lives}, {"hull", k.Hull}};
    };
    facts.summary = [&g, &k] {
        char line[160];
        std::snprintf(line, sizeof line, "%d game%s, final score %d, level %d, high scores %016llx", k.GamesStarted,
                      k.GamesStarted == 1 ? "" : "s", g.Score, k.Level,
                      static_cast<unsigned long long>(TableChecksum(g)));
        return std::string(line);
    };
    return facts;
}

}  // namespace

Program::Program() { platform::SetGameFacts(Facts(game_)); }

Program::~Program() {
    game_.unloadAll();
    platform::SetGameFacts({});
}

void Program::start() { game_.frmKelvo().Show(); }

}  // namespace kelvo
