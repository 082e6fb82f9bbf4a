// What each tick procedure costs in the worst case: play at level 16 and
// speed 3 (nineteen passes a tick) with every ship and missile flying, and the
// briefing with its growing title and moving story; and a repaint of each
// screen. tmrMissile1 and the story's tmrText tick every 10 ms, so theirs must
// stay far below that. Run by hand for figures (bench/perf.py prints them with
// the real-time runs); CTest only checks that it runs.

#include <benchmark/benchmark.h>

#include "TestSupport.h"

namespace {

using namespace kelvo;
using Harness = kelvo::test::GameHarness;

constexpr std::int16_t kWorstLevel = 16;
constexpr std::int16_t kWorstSpeed = 3;

// Sends every ship and missile that is not flying back into flight from the
// top edge, so that each tick works on all nineteen enemies.
void KeepEveryEnemyFlying(FrmKelvo& k) {
    for (platform::Image& ship : k.imgShip)
        if (!ship.Visible) ship.Top = 0, ship.Visible = true;
    for (platform::Image& missile : k.imgMissile)
        if (!missile.Visible) missile.Top = 0, missile.Visible = true;
}

// A game in full flight at its worst, timers stopped so that only the
// benchmarked procedure runs. The satellite is out of the way, so that
// nothing strikes and every tick runs its full course.
struct WorstGame {
    Harness h;
    Program program;
    FrmKelvo& k = test::StartGame(h, program);
    WorstGame() {
        for (platform::Timer* t : k.timers()) t->Interval = 0;
        k.Level = kWorstLevel;
        k.Speed = kWorstSpeed;
        k.imgBlaster.Visible = false;
        KeepEveryEnemyFlying(k);
        k.DrawStarField();
    }
};

// The briefing as the program shows it at start, its timers stopped.
struct Briefing {
    Harness h;
    Program program;
    FrmIntroK& intro = program.game().frmIntroK();
    Briefing() {
        intro.Show();
        h.processEvents();
        for (platform::Timer* t : intro.timers()) t->Interval = 0;
    }
};

void BM_tmrShip1(benchmark::State& state) {
    WorstGame w;
    for (auto _ : state) {
        w.k.tmrShip1_Timer();
        KeepEveryEnemyFlying(w.k);
    }
}
BENCHMARK(BM_tmrShip1);

void BM_tmrShip2(benchmark::State& state) {
    WorstGame w;
    for (auto _ : state) w.k.tmrShip2_Timer();
}
BENCHMARK(BM_tmrShip2);

void BM_tmrMissile1(benchmark::State& state) {
    WorstGame w;
    for (auto _ : state) {
        w.k.tmrMissile1_Timer();
        KeepEveryEnemyFlying(w.k);
    }
}
BENCHMARK(BM_tmrMissile1);

void BM_tmrMissile2(benchmark::State& state) {
    WorstGame w;
    for (auto _ : state) w.k.tmrMissile2_Timer();
}
BENCHMARK(BM_tmrMissile2);

void BM_tmrBang(benchmark::State& state) {
    WorstGame w;
    for (auto _ : state) w.k.tmrBang_Timer();
}
BENCHMARK(BM_tmrBang);

void BM_tmrStars(benchmark::State& state) {
    WorstGame w;
    for (auto _ : state) w.k.tmrStars_Timer();
}
BENCHMARK(BM_tmrStars);

void BM_tmrKelvo(benchmark::State& state) {
    WorstGame w;
    for (auto _ : state) {
        w.k.linKelvo.X1 = 100;  // a beam to end
        w.k.tmrKelvo_Timer();
    }
}
BENCHMARK(BM_tmrKelvo);

void BM_tmrLevel(benchmark::State& state) {
    WorstGame w;
    for (auto _ : state) {
        w.k.lblMessage.Caption = "Level 16";
        w.k.tmrLevel_Timer();
    }
}
BENCHMARK(BM_tmrLevel);

void BM_RepaintPlayField(benchmark::State& state) {
    WorstGame w;
    for (auto _ : state) Harness::render(w.k);
}
BENCHMARK(BM_RepaintPlayField);

void BM_tmrTitle(benchmark::State& state) {
    Briefing b;
    for (auto _ : state) b.intro.tmrTitle_Timer();  // grows through its whole cycle and starts again
}
BENCHMARK(BM_tmrTitle);

void BM_tmrText(benchmark::State& state) {
    Briefing b;
    b.intro.Form_Activate();  // the story, moving up from the bottom edge
    for (auto _ : state) b.intro.tmrText_Timer();
}
BENCHMARK(BM_tmrText);

void BM_tmrColours(benchmark::State& state) {
    Briefing b;
    for (auto _ : state) b.intro.tmrColours_Timer();
}
BENCHMARK(BM_tmrColours);

void BM_RepaintBriefing(benchmark::State& state) {
    Briefing b;
    b.intro.Form_Activate();
    b.intro.tmrColours_Timer();
    for (int i = 0; i < 200; ++i) b.intro.tmrTitle_Timer();  // a title past the glyph cache's sizes
    for (auto _ : state) Harness::render(b.intro);
}
BENCHMARK(BM_RepaintBriefing);

}  // namespace

BENCHMARK_MAIN();
