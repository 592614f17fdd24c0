// The heaviest map view: a 60 by 60 map with every layer filled, forty
// fighters in view, magic areas, a missile and floating texts, in the
// 960x720 (b) window; the whole game screen frame timed, frame by frame,
// drawn whole and as the game draws it, beside a plain copy of a whole
// picture in the same run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <vector>

#include "combat/resolution/combat_sequencer.h"
#include "engine/graphics.h"
#include "engine/static_layers.h"
#include "map/square_grids.h"
#include "screens/game/floating_texts.h"
#include "screens/game/game_screen.h"
#include "state/combat_action.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"
#include "map_scene.h"
#include "shell/frame.h"

namespace {

// Every layer filled: ground everywhere, a floor decoration on every square,
// walls and doors of buildings, features and objects, square events and
// items lying about; in view a pond of animated water, tall grass, torches
// on the walls, glowing stones, braziers and a campfire.
void FillEveryLayer() {
  mapscene::LayOutMap(1);
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      const int k = (x * 7 + y * 13) % 23;
      CurrentMap.At(kLayerGround, x, y) = 1 + (x + y) % 3;
      CurrentMap.At(kLayerFloor, x, y) = 200 + k;
      if (x % 11 == 0 && y % 5 != 2) CurrentMap.At(kLayerWalls, x, y) = 46 + x % 10;
      if (x % 11 == 0 && y % 5 == 2) CurrentMap.At(kLayerWalls, x, y) = 82;
      if (k == 11) CurrentMap.At(kLayerWalls, x, y) = 91 + x % 8;
      if (k == 13) CurrentMap.At(kLayerWalls, x, y) = 100 + y % 13;
      if (x % 9 == 4 && y % 9 == 4) CurrentMap.At(kLayerWalls, x, y) = 60;
      CurrentMap.At(kLayerEvents, x, y) = k % 4;
      for (int level = 0; level < 4; ++level)
        CurrentMap.At(kLayerObjects0 + level, x, y) = k % 6 == level ? 5001 + k : 0;
    }
  // A pond, tall grass, torches along a wall, glowing stones, braziers, a campfire.
  for (int x = 26; x < 30; ++x)
    for (int y = 12; y < 15; ++y) CurrentMap.At(kLayerFloor, x, y) = 600 + (x + y) % 18;
  for (int i = 0; i < 12; ++i) CurrentMap.At(kLayerFloor, 12 + (i * 5) % 18, 13 + (i * 7) % 12) = 123 + i % 2;
  for (int y = 11; y < 26; y += 3) CurrentMap.At(kLayerFloor, 22, y) = 306 + 14 * (y % 5);
  CurrentMap.At(kLayerFloor, 14, 24) = 4001;
  CurrentMap.At(kLayerFloor, 29, 20) = 4003;
  CurrentMap.At(kLayerFloor, 18, 11) = 2015;
  CurrentMap.At(kLayerFloor, 25, 25) = 2016;
  CurrentMap.At(kLayerWalls, 20, 20) = 90;
  CurrentMap.At(kLayerFloor, 20, 20) = 320;
}

void PlaceFortyFighters() {
  InCombat = 1;
  TurnEntryCount = 0;
  for (int i = 0; i < 40; ++i) {
    const int id = i < 4 ? i : 600 + i;
    const bool large = i % 10 == 9;
    mapscene::Place(id, 11 + (i % 8) * 2, 12 + (i / 8) * 3, large ? 38 : 1 + i % 24, large ? 5 : 1, large ? 2 : 1,
                    large ? 48 : 24, large ? 48 : 24);
    Creatures[id].facing = 1 + i % 8;
    Creatures[id].displayWords[kDisplayAnimationFrame] = i % 4;
    if (i < 4) Creatures[id].allegiance = kAllegianceParty;
    TurnOrder[TurnEntryCount++].creature = id;
  }
  CombatAction.currentEntry = 0;
  for (int i = 0; i < 8; ++i) ShowFloatingText(600 + 4 + i, "Critical hit");
}

void AddAreasAndMissile() {
  // A web, a wall of fire and a swarm of insects, three by three squares each.
  for (int x = 12; x < 15; ++x)
    for (int y = 12; y < 15; ++y) MagicAreaGrid[SquareIndex(x, y)] = {kEffectWeb, 5, 0};
  for (int x = 20; x < 23; ++x)
    for (int y = 16; y < 19; ++y) MagicAreaGrid[SquareIndex(x, y)] = {kEffectFire, 5, 2};
  for (int x = 24; x < 27; ++x)
    for (int y = 20; y < 23; ++y) MagicAreaGrid[SquareIndex(x, y)] = {kEffectInsectPlague, 5, 0};
  SpellInProgress = 0;
  SpellCaster = 0;
  CastingUse.missileFlying = 1;
  MissileState.inFlight = 1;
  MissileState.pixelX = 24 * 20;
  MissileState.pixelY = 24 * 18;
  MissileState.frame = 90;
}

double ThreadMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One frame of the game screen, timed as the CPU time of the frame's thread
// (time the thread spends waiting for a processor does not count): drawn
// whole (the device forgets the picture it holds, as after a scroll of the
// view), or as the game draws it after the frame before (the animation
// counters moved on, only what changed drawn again).
double FrameMilliseconds(bool whole) {
  if (whole)
    Graphics.device->ForgetShownPicture();
  else
    AdvanceAnimationCounters();
  const double start = ThreadMilliseconds();
  BeginScene();
  DrawGameScreenForWindow();
  EndScene();
  return ThreadMilliseconds() - start;
}

void BM_HeaviestMapViewFrame(benchmark::State& state, bool whole) {
  if (!harness::StartGame()) {
    state.SkipWithError("the game did not start (run from build/game)");
    return;
  }
  harness::ChooseMenu(1002);  // the 960x720 (b) window: 480 by 360 at scale 2
  harness::StepFrames(1);
  FillEveryLayer();
  PlaceFortyFighters();
  AddAreasAndMissile();
  ScreenMode = kModeExploring;
  ViewOriginX = 24 * 10;
  ViewOriginY = 24 * 10;
  FirstVisibleX = FirstVisibleY = 10;
  SquareOffsetX = SquareOffsetY = 0;
  FocusSquareX = 20;
  FocusSquareY = 18;
  std::vector<double> times;
  for (auto _ : state) {
    if (state.iterations() % 50 == 0) {
      for (int i = 0; i < 8; ++i) ShowFloatingText(600 + 4 + i, "Critical hit");
    }
    times.push_back(FrameMilliseconds(whole));
  }
  std::sort(times.begin(), times.end());
  if (!times.empty()) {
    state.counters["median_ms"] = times[times.size() / 2];
    state.counters["p99_ms"] = times[std::min(times.size() - 1, times.size() * 99 / 100)];
    state.counters["redrawn"] = StaticLayersDrawn();
  }
}
BENCHMARK_CAPTURE(BM_HeaviestMapViewFrame, Whole, true)->Unit(benchmark::kMillisecond)->Iterations(2000);
BENCHMARK_CAPTURE(BM_HeaviestMapViewFrame, AsPlayed, false)->Unit(benchmark::kMillisecond)->Iterations(2000);

// The reference of the same run: one plain copy of a whole 960x720 picture
// (the least a frame that changes everything costs), timed the same way.
void BM_CopyOfAWholePicture(benchmark::State& state) {
  std::vector<uint32_t> from(960 * 720, 0xFF102030u), to(960 * 720);
  std::vector<double> times;
  for (auto _ : state) {
    const double start = ThreadMilliseconds();
    std::copy(from.begin(), from.end(), to.begin());
    benchmark::DoNotOptimize(to.data());
    times.push_back(ThreadMilliseconds() - start);
  }
  std::sort(times.begin(), times.end());
  state.counters["median_ms"] = times[times.size() / 2];
  state.counters["p99_ms"] = times[std::min(times.size() - 1, times.size() * 99 / 100)];
}
BENCHMARK(BM_CopyOfAWholePicture)->Unit(benchmark::kMillisecond)->Iterations(2000);

}  // namespace

