// The seeded random-input soak: plays the whole game, every window, headless
// on the stepped clock, with random keys, presses and releases anywhere, F2 and
// F3, every menu command, the close buttons and name boxes answered with
// awkward names or cancelled, and checks the game's invariants after every
// event.
//
//   kelvo_soak [--seed S] [--events N] [--run R] [--long]
//
// Plays runs of R events (20 000 unless told) from seeds S, S + 1, ... until N
// events are played (20 000 unless told; --long: 10 million). Each run starts
// a fresh program on a fresh harness, recorded into kelvo_soak_replay.rec: a
// failure prints the `--seed S --events E` that replays it alone and keeps the
// recording for `kelvo --verify` (or `--replay`, on screen). After a crash,
// the last "run with seed" line names the run.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../TestSupport.h"
#include "game/Captions.h"
#include "platform/core/Application.h"

namespace kelvo {
namespace {

using platform::Form;
using platform::MenuItem;
using platform::testing::Harness;
namespace keys = platform::keys;

using test::CurrentTable;
using test::Table;

// How the table may change from one event to the next: New Game empties the
// names, then the load deals the ten default teams out at the default scores;
// a finished game enters its name and score above the first entry it reaches.
bool AllowedChange(const Game& game, const Table& before, const Table& after) {
    bool cleared = true, dealt = true;
    std::multiset<std::string> names;
    for (int r = 0; r < 10; ++r) {
        cleared = cleared && after[r].first.empty() && after[r].second == before[r].second;
        dealt = dealt && after[r].second == (51200 >> r);
        names.insert(after[r].first);
    }
    dealt = dealt && names == test::DefaultTeams();
    Table entered = before;
    auto at = std::find_if(entered.begin(), entered.end(), [&game](const auto& e) { return e.second <= game.Score; });
    entered.insert(at, {game.PlayerName, game.Score});
    entered.pop_back();
    return cleared || dealt || after == entered;
}

constexpr const char* kReplay = "kelvo_soak_replay.rec";

class Soak {
public:
    Soak(std::uint64_t seed, std::int64_t events) : h_(seed), random_(seed), seed_(seed), limit_(events) {}

    void run() {
        h_.onModal([this](Form& f) { step(&f); });
        // The player may take a while over a dialog; the game's timers go on meanwhile.
        h_.onDialog([this](const Harness::DialogCall& d) {
            if (d.kind == "InputBox") answerName();
            if (Pick(3) == 0) wait();  // `d` may be gone after this
        });
        while (event_ < limit_) {
            if (program_ && AnyLoaded()) {
                step(nullptr);
                continue;
            }
            // The program's start: a fresh program, its main window shown.
            h_.stopRecording();
            program_.reset();
            held_.reset();  // forms are compared by address: a new program's may reuse the old ones'
            h_.record(kReplay);
            program_.emplace();
            table_ = CurrentTable(game());
            program_->start();
            h_.processEvents();
            check(true);
        }
        h_.stopRecording();
        std::remove(kReplay);
        if (!program_) return;
        program_->game().unloadAll();
        h_.processEvents();
        check(true);
    }

private:
    int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
    // An index drawn with these weights.
    int Weighted(std::initializer_list<int> weights) {
        int total = 0, i = 0;
        for (int w : weights) total += w;
        int roll = Pick(total);
        for (int w : weights) {
            if (roll < w) break;
            roll -= w;
            ++i;
        }
        return i;
    }
    float Anywhere(float size) { return std::floor(std::uniform_real_distribution<float>(0, size)(random_)); }

    Game& game() { return program_->game(); }
    std::vector<Form*> Forms() {
        return {&game().frmKelvo(), &game().frmIntroK(), &game().frmOptionsK(), &game().frmScoreK()};
    }
    bool AnyLoaded() {
        auto forms = Forms();
        return std::any_of(forms.begin(), forms.end(), [](Form* f) { return f->IsLoaded(); });
    }

    // The name box: cancelled, confirmed as it is, or with an awkward name typed in.
    void answerName() {
        std::string name;
        switch (Pick(9)) {
        case 0: h_.answerInputBox(std::nullopt); return;
        case 1: return;
        case 2: name.clear(); break;
        case 3:
            name.resize(100000);
            for (char& c : name) c = static_cast<char>('A' + Pick(58));
            break;
        case 4: {
            static constexpr char kControls[] = "\x01\x02\t\x1b\x7f Ace\0 of\r\nSpace";
            name.assign(kControls, sizeof kControls - 1);
            break;
        }
        case 5: name = "\u202E\u05E9\u05DC\u05D5\u05DD \u0645\u0631\u062D\u0628\u0627 Ace"; break;  // right to left
        case 6: name = "\U0001F680\U0001F47E \U0001F469\u200D\U0001F680\uFE0F"; break;              // emoji
        case 7: name = "\xFF\xFE\xC3 broken \xE2\x82"; break;                                       // not UTF-8
        default: name = "Ace " + std::to_string(Pick(1000)); break;
        }
        h_.answerInputBox(name);
    }

    // One event on the innermost modal form, or else on a visible window.
    void step(Form* modal) {
        ++event_;
        Form* target = modal;
        if (!target) {
            std::vector<Form*> shown;
            for (Form* f : Forms())
                if (f->Visible()) shown.push_back(f);
            if (!shown.empty()) target = shown[static_cast<std::size_t>(Pick(static_cast<int>(shown.size())))];
        }
        if (!target) {
            wait();
        } else {
            if (platform::ActiveForm() != target) h_.activate(*target);  // the player clicks into it first
            act(*target);
        }
        check(modal == nullptr);
    }

    void wait() { h_.advance(1 + Pick(1 << Pick(12))); }

    void act(Form& f) {
        // Wait, arrow key, press, release, click on a control, other key, F3 or F2, menu, a look at
        // every window (a repaint now, whatever its pace), close button.
        const int kind = &f == &game().frmKelvo() ? Weighted({3500, 3000, 1300, 1000, 600, 300, 150, 150, 300, 2})
                                                  : Weighted({2500, 300, 1500, 1000, 3000, 1000, 0, 0, 300, 50});
        switch (kind) {
        case 0: wait(); break;
        case 1: h_.key(f, static_cast<std::int16_t>(keys::Left + Pick(4)), Pick(2) == 0); break;
        case 2: press(f); break;
        case 3: release(f); break;
        case 4: clickControl(f); break;
        case 5: {
            static constexpr int kKeys[] = {keys::Return, keys::Escape, keys::Space, 'O', 'D', 'N', 'Q', keys::F2};
            h_.key(f, kKeys[Pick(8)], Pick(4) == 0, Pick(2) == 0);
            break;
        }
        case 6: h_.shortcut(f, Pick(10) == 0 ? keys::F2 : keys::F3); break;
        case 7: menu(); break;
        case 8:
            for (Form* shown : Forms())
                if (shown->Visible()) Harness::render(*shown);
            break;
        default: h_.close(f); break;
        }
    }

    void press(Form& f) {
        if (held_) release(f);
        const float x = Anywhere(f.ScaleWidth()), y = Anywhere(f.ScaleHeight());
        const int button = 1 << Pick(3);
        h_.press(f, x, y, button);
        if (Pick(2) == 0)
            h_.release(f, x, y, button);  // a click
        else
            held_ = {&f, button};
    }

    // A held button lets go; one held down on another window is forgotten, as
    // a window system drops it when a modal window comes up.
    void release(Form& f) {
        if (held_ && held_->first == &f)
            h_.release(f, Anywhere(f.ScaleWidth()), Anywhere(f.ScaleHeight()), held_->second);
        held_.reset();
    }

    // On the main window, half the time at an enemy: scores, and so levels, need hits.
    void clickControl(Form& f) {
        std::vector<platform::RectControl*> shown;
        FrmKelvo& k = game().frmKelvo();
        if (&f == &k && Pick(2) == 0) {
            for (platform::Image& ship : k.imgShip)
                if (ship.Visible) shown.push_back(&ship);
            for (platform::Image& missile : k.imgMissile)
                if (missile.Visible) shown.push_back(&missile);
        }
        if (shown.empty())
            for (platform::Control* c : f.controls())
                if (auto* r = dynamic_cast<platform::RectControl*>(c); r && r->Visible) shown.push_back(r);
        if (!shown.empty()) h_.click(*shown[static_cast<std::size_t>(Pick(static_cast<int>(shown.size())))]);
    }

    void menu() {
        FrmKelvo& k = game().frmKelvo();
        const std::pair<MenuItem*, MenuItem*> commands[] = {
            {&k.mnuGame, &k.mnuNew},      {&k.mnuGame, &k.mnuReset},    {&k.mnuGame, &k.mnuPause},
            {&k.mnuGame, &k.mnuScore},    {&k.mnuOptions, &k.mnuSpeed}, {&k.mnuHelp, &k.mnuIntro},
            {&k.mnuHelp, &k.mnuInstruct}, {&k.mnuHelp, &k.mnuAbout},    {&k.mnuGame, &k.mnuExit}};
        // New, Reset and Exit are rare, or no game would last to its end.
        const int n = Weighted({5, 5, 20, 15, 15, 10, 10, 15, 2, 10});
        if (n == 9) {  // a menu opened and closed again
            MenuItem* tops[] = {&k.mnuGame, &k.mnuOptions, &k.mnuHelp};
            h_.openMenu(k, *tops[Pick(3)]);
            h_.closeMenus(k);
            return;
        }
        h_.chooseMenu(k, *commands[n].first, *commands[n].second);
    }

    [[noreturn]] void fail(const std::string& what) {
        std::fprintf(stderr, "soak: FAILED at event %lld of the run with seed %llu: %s\n",
                     static_cast<long long>(event_), static_cast<unsigned long long>(seed_), what.c_str());
        std::fprintf(stderr, "soak: reproduce with: kelvo_soak --seed %llu --events %lld\n",
                     static_cast<unsigned long long>(seed_), static_cast<long long>(event_));
        h_.stopRecording();
        std::fprintf(stderr, "soak: the program up to the failure: kelvo --verify (or --replay) %s\n", kReplay);
        std::fflush(stderr);
        std::_Exit(1);  // from inside the game's own event procedures: no unwinding through them
    }

    void check(bool topLevel) {
        FrmKelvo& k = game().frmKelvo();
        const bool inPlay = k.Visible() && k.imgBlaster.Visible;
        if (k.Visible() && (k.Hull < 0 || k.Hull > game().Satellite))
            fail("hull " + std::to_string(k.Hull) + " outside 0 to " + std::to_string(game().Satellite));
        if (inPlay) {
            for (int i = 0; i < 3; ++i)
                if (k.imgLife(i).Visible != (i < k.Lives))
                    fail("life icon " + std::to_string(i) + " with " + std::to_string(k.Lives) + " lives");
            const float bar = k.shpHPBorder.Width / static_cast<float>(game().Satellite) * static_cast<float>(k.Hull);
            if (std::abs(k.shpHPBar.Width - bar) > 0.5f)
                fail("hull bar " + std::to_string(k.shpHPBar.Width) + " wide for hull " + std::to_string(k.Hull));
        }
        if (platform::ActiveForm() == &k && (game().Satellite < 1 || game().Satellite > 3))
            fail("main window active with satellite class " + std::to_string(game().Satellite));
        const bool over = k.Lives <= 0 && !k.imgBlaster.Visible;  // below 0 if the name took over a second
        if (over || k.mnuPause.Checked)
            for (platform::Timer* t : {&k.tmrShip1, &k.tmrShip2, &k.tmrMissile1, &k.tmrMissile2, &k.tmrStars})
                if (h_.clock().isRunning(*t))
                    fail(over ? "a play timer runs after the game is over" : "a play timer runs while paused");
        int loaded = 0;
        for (Form* f : Forms()) {
            loaded += f->IsLoaded() ? 1 : 0;
            if (f->IsLoaded()) continue;
            if (f->window()) fail(f->name() + " unloaded but has a window");
            for (platform::Timer* t : f->timers())
                if (h_.clock().isRunning(*t)) fail(f->name() + " unloaded but one of its timers runs");
        }
        if (topLevel && Harness::formWindowCount() != loaded)
            fail(std::to_string(Harness::formWindowCount()) + " windows for " + std::to_string(loaded) +
                 " loaded forms");
        for (int r = 1; r < 10; ++r)
            if (game().HighScores(r) < game().HighScores(r + 1))
                fail("high score " + std::to_string(r) + " below the next one");
        if (Table now = CurrentTable(game()); now != table_) {
            if (!AllowedChange(game(), table_, now))
                fail("the high-score table changed other than by an entry or a new deal");
            table_ = std::move(now);
        }
        FrmScoreK& s = game().frmScoreK();
        if (platform::ActiveForm() == &s)
            for (int r = 1; r <= 10; ++r)
                if (s.lblName(r).Caption.get() != game().TeamNames(r) ||
                    s.lblScore(r).Caption.get() != PlainNumber(game().HighScores(r)))
                    fail("high-score window row " + std::to_string(r) + " differs from the table");
    }

    test::GameHarness h_;
    std::optional<Program> program_;
    std::mt19937_64 random_;
    std::uint64_t seed_;
    std::int64_t limit_, event_ = 0;
    Table table_;
    std::optional<std::pair<Form*, int>> held_;
};

}  // namespace
}  // namespace kelvo

int main(int argc, char** argv) {
    std::uint64_t seed = 1;
    std::int64_t events = 20000, run = 20000;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool value = i + 1 < argc;
        if (a == "--seed" && value)
            seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--events" && value)
            events = std::strtoll(argv[++i], nullptr, 10);
        else if (a == "--run" && value)
            run = std::max<std::int64_t>(1, std::strtoll(argv[++i], nullptr, 10));
        else if (a == "--long")
            events = 10'000'000;
        else {
            std::fprintf(stderr, "usage: kelvo_soak [--seed S] [--events N] [--run R] [--long]\n");
            return 2;
        }
    }
    std::int64_t played = 0;
    for (std::uint64_t s = seed; played < events; ++s) {
        std::printf("soak: run with seed %llu\n", static_cast<unsigned long long>(s));
        std::fflush(stdout);
        const std::int64_t n = std::min(run, events - played);
        kelvo::Soak(s, n).run();  // a run plays exactly its events
        played += n;
    }
    std::printf("soak: passed: %lld events\n", static_cast<long long>(played));
    std::fflush(stdout);  // before the leak check at exit, which ends the program at once if it finds any
    return 0;
}
