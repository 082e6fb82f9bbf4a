// The work behind one frame of play. tmrMissile1 ticks every 10 ms, so its tick
// must stay far below that; the star field and a repaint come ten and up to
// sixty times a second.

#include <benchmark/benchmark.h>

#include "TestSupport.h"

namespace {

using namespace kelvo;
using Harness = kelvo::test::GameHarness;

// A game in full flight: every ship and missile on screen, timers stopped so
// that only the benchmarked procedure runs.
FrmKelvo& StartBusyGame(Harness& h) {
    test::StartGame(h);
    FrmKelvo& k = frmKelvo();
    for (platform::Timer* t : k.timers()) t->Interval = 0;
    k.imgBlaster.Visible = false;  // nothing strikes: the tick runs its full course every time
    for (int i = 0; i <= 8; ++i) k.imgShip(i).Visible = true;
    for (int i = 0; i <= 9; ++i) k.imgMissile(i).Visible = true;
    return k;
}

void BM_MissileTick(benchmark::State& state) {
    Harness h;
    Program program;
    FrmKelvo& k = StartBusyGame(h);
    k.Level = 5;  // eight passes a tick
    Speed = 3;
    for (auto _ : state) {
        k.tmrMissile1_Timer();
        for (int i = 0; i <= 9; ++i)
            if (!k.imgMissile(i).Visible) k.imgMissile(i).Visible = true;
    }
}
BENCHMARK(BM_MissileTick);

void BM_ShipTick(benchmark::State& state) {
    Harness h;
    Program program;
    FrmKelvo& k = StartBusyGame(h);
    for (auto _ : state) {
        k.tmrShip1_Timer();
        for (int i = 0; i <= 8; ++i)
            if (!k.imgShip(i).Visible) k.imgShip(i).Visible = true;
    }
}
BENCHMARK(BM_ShipTick);

void BM_StarField(benchmark::State& state) {
    Harness h;
    Program program;
    FrmKelvo& k = StartBusyGame(h);
    for (auto _ : state) k.DrawStarField();
}
BENCHMARK(BM_StarField);

void BM_RepaintPlayField(benchmark::State& state) {
    Harness h;
    Program program;
    FrmKelvo& k = StartBusyGame(h);
    k.DrawStarField();
    for (auto _ : state) Harness::render(k);
}
BENCHMARK(BM_RepaintPlayField);

}  // namespace

BENCHMARK_MAIN();
