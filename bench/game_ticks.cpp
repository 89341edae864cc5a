// Game ticks per second of the handheld in virtual time: long games with a
// player who mostly follows the item about to be judged and sometimes moves at
// random, so that games run for thousands of ticks before the fifth miss.

#include <benchmark/benchmark.h>

#include <random>

#include "headless.h"

using namespace zarvik;

namespace {

void playGames(benchmark::State& state) {
  int64_t ticks = 0, games = 0;
  uint32_t seed = 1;
  for (auto _ : state) {
    HeadlessHandheld sim({2026, 1, 1, 12, 0, 0}, seed);
    std::mt19937 player(seed++);
    Handheld& hh = sim.handheld;
    hh.Mode = ModeAllSegments;
    hh.Gam_Set_Mode();
    hh.Inp_game_a_down();
    hh.Inp_game_a_up();
    hh.Inp_game_a_down();
    hh.Inp_game_a_up();
    sim.wait(1800);
    int lane = hh.ActiveLane, misses = hh.MissCount;
    while (hh.Mode == ModeGameAPlay) {
      int target = hh.HeroPos;
      for (int l = 1; l <= 3; ++l)
        if (hh.ItemLanes[l - 1][4] == 1) target = l;
      if (player() % 64 == 0) target = int(player() % 3) + 1;
      if (target < hh.HeroPos) hh.Inp_left_down(), hh.Inp_left_up();
      if (target > hh.HeroPos) hh.Inp_right_down(), hh.Inp_right_up();
      sim.wait(5);  // at most one tick per step: ticks are 185 ms apart or more
      ticks += hh.ActiveLane != lane || hh.MissCount != misses;
      lane = hh.ActiveLane, misses = hh.MissCount;
    }
    ++games;
  }
  state.counters["ticks/s"] = benchmark::Counter(double(ticks), benchmark::Counter::kIsRate);
  state.counters["ticks/game"] = double(ticks) / double(games);
}
BENCHMARK(playGames)->Unit(benchmark::kMillisecond);

// The tick alone, without the scheduler and the player around it.
void gameTick(benchmark::State& state) {
  HeadlessHandheld sim({2026, 1, 1, 12, 0, 0}, 7);
  Handheld& hh = sim.handheld;
  hh.Mode = ModeGameBPlay;
  hh.Gam_Reset();
  for (auto _ : state) {
    hh.Timer_GameTimer();
    if (!hh.HeroMovable) {  // keep playing through misses
      hh.MissCount = 0;
      hh.Timer_RepriseTimer();
    }
    hh.HeroPos = hh.ActiveLane;
  }
  state.counters["ticks/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(gameTick);

}  // namespace

BENCHMARK_MAIN();
