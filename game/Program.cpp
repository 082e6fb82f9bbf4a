#include "game/Program.h"

#include <cassert>
#include <cstdio>

#include "game/frmKelvo.h"
#include "game/modKelvo.h"
#include "platform/core/Replay.h"
#include "screens/frmIntroK.h"
#include "screens/frmOptionsK.h"
#include "screens/frmScoreK.h"

namespace kelvo {
namespace {
Program* g_program = nullptr;

// The high-score table, names and scores, as one number.
std::uint64_t TableChecksum() {
    platform::StateHash h;
    for (int rank = TeamNames.LBound(); rank <= TeamNames.UBound(); ++rank) {
        h.add(TeamNames(rank));
        h.add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(HighScores(rank))));
    }
    return h.value();
}

// What a recording checks besides the windows, and what --verify sums up.
platform::GameFacts Facts(FrmKelvo& k) {
    platform::GameFacts facts;
    facts.addState = [&k](platform::StateHash& h) {
        for (std::int64_t v :
             {std::int64_t{Score}, std::int64_t{Speed}, std::int64_t{NewScore}, std::int64_t{Satellite},
              std::int64_t{BriefingPage}, std::int64_t{SpeedChoice}, std::int64_t{k.BangFrame}, std::int64_t{k.Hull},
              std::int64_t{k.Lives}, std::int64_t{k.Level}})
            h.add(static_cast<std::uint64_t>(v));
        h.add(PlayerName);
        h.add(TableChecksum());
    };
    facts.numbers = [&k] {
        return std::vector<std::pair<std::string, std::int64_t>>{
            {"score", Score}, {"level", k.Level}, {"lives", k.Lives}, {"hull", k.Hull}};
    };
    facts.summary = [&k] {
        char line[160];
        std::snprintf(line, sizeof line, "%d game%s, final score %d, level %d, high scores %016llx", k.GamesStarted,
                      k.GamesStarted == 1 ? "" : "s", Score, k.Level, static_cast<unsigned long long>(TableChecksum()));
        return std::string(line);
    };
    return facts;
}

}  // namespace

Program::Program() {
    assert(!g_program && "one Program at a time");
    g_program = this;
    ResetModuleVariables();
    frmKelvo_ = std::make_unique<FrmKelvo>();
    frmIntroK_ = std::make_unique<FrmIntroK>();
    frmOptionsK_ = std::make_unique<FrmOptionsK>();
    frmScoreK_ = std::make_unique<FrmScoreK>();
    platform::SetGameFacts(Facts(*frmKelvo_));
}

Program::~Program() {
    unloadAll();
    platform::SetGameFacts({});
    g_program = nullptr;
}

void Program::unloadAll() {
    frmKelvo_->Unload();
    frmIntroK_->Unload();
    frmOptionsK_->Unload();
    frmScoreK_->Unload();
}

FrmKelvo& frmKelvo() { return g_program->kelvo(); }
FrmIntroK& frmIntroK() { return g_program->intro(); }
FrmOptionsK& frmOptionsK() { return g_program->options(); }
FrmScoreK& frmScoreK() { return g_program->score(); }

}  // namespace kelvo
