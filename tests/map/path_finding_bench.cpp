// Speed of the path search on an open 60 x 60 map: a one-square mover from
// corner to corner (alone, and against a plain A* in the same run: the
// `ratio` counter), a 2 x 2 mover around a wall, and a search with no path
// that explores the whole map.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"
#include "map/map_record.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"

namespace {

constexpr int kMover = 10;

void OpenMap() {
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  CurrentMap.width = CurrentMap.height = 60;
  CurrentMap.lit = 1;
  InCombat = 0;
  TurnEntryCount = 0;
  FighterCount = 1;
  CreatureRecord& c = Creatures[kMover];
  std::memset(&c, 0, sizeof c);
  c.present = 1;
  c.leader = -1;
  c.fighterSlot = 0;
  c.footprintWidth = c.footprintHeight = {1, 1};
  FighterSlots[0].creature = kMover;
}

void Place(int x, int y, int size) {
  CreatureRecord& c = Creatures[kMover];
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.footprintWidth = c.footprintHeight = {size, size};
}

void BM_CornerToCorner(benchmark::State& state) {
  OpenMap();
  Place(0, 0, 1);
  BuildOccupancyGrids(kMover);
  for (auto _ : state) {
    int r = FindCreaturePath(kMover, 0, 0, 59, 59, 0, 0, 0, 0, nullptr, nullptr);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_CornerToCorner);

// A plain A* over the same squares, the reference the search is measured
// against: steps of 10 and 14 over the open squares (a diagonal step never
// cuts a blocked corner), the octile distance to the goal, the standard
// library's binary heap of open squares whose stale entries are passed over,
// work arrays of its own for each search, and the path written out first step
// to goal.
// Its code starts on a cache line, as the game's search does, so that the
// ratio does not move with the size of unrelated code.
[[gnu::noinline, gnu::aligned(64)]] int PlainAStar(int fromX, int fromY, int toX, int toY, int32_t* outX, int32_t* outY) {
  using Entry = std::pair<int32_t, int32_t>;  // F, square
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
  std::vector<int32_t> g(kMapSquares, INT32_MAX);
  std::vector<int16_t> parent(kMapSquares, -1);
  std::vector<bool> closed(kMapSquares, false);
  auto blocked = [](int x, int y) {
    return x < 0 || y < 0 || x >= kMapSide || y >= kMapSide || BlockedGrid[SquareIndex(x, y)] == kSquareBlocked;
  };
  auto h = [toX, toY](int x, int y) {
    const int dx = std::abs(x - toX), dy = std::abs(y - toY);
    return 10 * std::max(dx, dy) + 4 * std::min(dx, dy);
  };
  const int start = SquareIndex(fromX, fromY), goal = SquareIndex(toX, toY);
  g[start] = 0;
  open.push({h(fromX, fromY), start});
  while (!open.empty()) {
    const int u = open.top().second;
    open.pop();
    if (closed[u]) continue;
    closed[u] = true;
    if (u == goal) {
      int length = 0;
      for (int v = goal; v != start; v = parent[v]) ++length;
      int i = length;
      for (int v = goal; v != start; v = parent[v]) {
        --i;
        outX[i] = v / kMapSide;
        outY[i] = v % kMapSide;
      }
      return length;
    }
    const int ux = u / kMapSide, uy = u % kMapSide;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int x = ux + dx, y = uy + dy;
        if ((dx == 0 && dy == 0) || blocked(x, y)) continue;
        if (dx != 0 && dy != 0 && (blocked(x, uy) || blocked(ux, y))) continue;
        const int v = SquareIndex(x, y);
        const int32_t cost = g[u] + (dx != 0 && dy != 0 ? 14 : 10);
        if (closed[v] || cost >= g[v]) continue;
        g[v] = cost;
        parent[v] = static_cast<int16_t>(u);
        open.push({cost + h(x, y), v});
      }
  }
  return -1;
}

int64_t CpuNanos() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// The corner-to-corner search against the plain A*, in turns of a hundred
// searches each so that both meet the same load: the processor time of
// one search of each, and the search's time as a share of the plain one's.
void BM_CornerToCornerAgainstPlainAStar(benchmark::State& state) {
  OpenMap();
  Place(0, 0, 1);
  BuildOccupancyGrids(kMover);
  static int32_t x[kMapSquares], y[kMapSquares];
  int64_t game = 0, plain = 0, searches = 0;
  for (auto _ : state) {
    int64_t t0 = CpuNanos();
    for (int k = 0; k < 100; ++k)
      benchmark::DoNotOptimize(FindCreaturePath(kMover, 0, 0, 59, 59, 0, 0, 0, 0, nullptr, nullptr));
    int64_t t1 = CpuNanos();
    for (int k = 0; k < 100; ++k) benchmark::DoNotOptimize(PlainAStar(0, 0, 59, 59, x, y));
    int64_t t2 = CpuNanos();
    game += t1 - t0;
    plain += t2 - t1;
    searches += 100;
  }
  if (searches == 0 || plain == 0) return;
  state.counters["search_ns"] = static_cast<double>(game) / static_cast<double>(searches);
  state.counters["plain_ns"] = static_cast<double>(plain) / static_cast<double>(searches);
  state.counters["ratio"] = static_cast<double>(game) / static_cast<double>(plain);
}
BENCHMARK(BM_CornerToCornerAgainstPlainAStar)->Unit(benchmark::kMicrosecond);

void BM_TwoByTwoAroundAWall(benchmark::State& state) {
  OpenMap();
  // A wall across the middle with a gap at its far end.
  for (int x = 0; x < 50; ++x) CurrentMap.At(kLayerWalls, x, 30) = 46;
  Place(5, 5, 2);
  BuildOccupancyGrids(kMover);
  for (auto _ : state) {
    int r = FindCreaturePath(kMover, 5, 5, 5, 50, 0, 0, 0, 0, nullptr, nullptr);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_TwoByTwoAroundAWall);

void BM_NoPath(benchmark::State& state) {
  OpenMap();
  // The goal is walled in: every other square of the map is explored.
  for (int x = 56; x < 60; ++x) CurrentMap.At(kLayerWalls, x, 56) = 46;
  for (int y = 56; y < 60; ++y) CurrentMap.At(kLayerWalls, 56, y) = 46;
  Place(0, 0, 1);
  BuildOccupancyGrids(kMover);
  for (auto _ : state) {
    int r = FindCreaturePath(kMover, 0, 0, 58, 58, 0, 0, 0, 0, nullptr, nullptr);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_NoPath);

}  // namespace

// The same searches in a battle: 40 fighters stand on the map, half of each
// side, so every step of the search meets the occupancy and threat tests and
// pays the combat costs of the valuation grids' searches.
namespace {

constexpr int kBattleFighters = 40;

void BattleMap(int moverSize) {
  OpenMap();
  // The goal is walled in, as in the plain no-path search.
  for (int x = 56; x < 60; ++x) CurrentMap.At(kLayerWalls, x, 56) = 46;
  for (int y = 56; y < 60; ++y) CurrentMap.At(kLayerWalls, 56, y) = 46;
  Place(0, 0, moverSize);
  Creatures[kMover].allegiance = 2;
  Creatures[kMover].speed = {30, 30};
  Creatures[kMover].hitPoints = Creatures[kMover].maxHitPoints = 20;
  TurnOrder[0] = {};
  TurnOrder[0].creature = kMover;
  for (int i = 1; i < kBattleFighters; ++i) {
    const int id = 100 + i;
    CreatureRecord& c = Creatures[id];
    std::memset(&c, 0, sizeof c);
    c.present = 1;
    c.leader = -1;
    c.footprintWidth = c.footprintHeight = {1, 1};
    c.squareX = c.nextX = 6 + 6 * (i % 8);
    c.squareY = c.nextY = 6 + 9 * (i / 8);
    c.allegiance = i % 2 ? 1 : 2;
    c.hitPoints = c.maxHitPoints = 20;
    c.attacksOfOpportunityLeft = 1;
    c.fighterSlot = i;
    FighterSlots[i].creature = id;
    TurnOrder[i] = {};
    TurnOrder[i].creature = id;
  }
  FighterCount = kBattleFighters;
  TurnEntryCount = kBattleFighters;
  InCombat = 1;
  CombatAction = {};
  CombatAction.movesLeft = 60;
  BuildOccupancyGrids(kMover);
}

void BM_BattleNoPath(benchmark::State& state) {
  BattleMap(1);
  for (auto _ : state) {
    int r = FindCreaturePath(kMover, 0, 0, 58, 58, 1, 1, 0, 0, nullptr, nullptr);
    benchmark::DoNotOptimize(r);
  }
  InCombat = 0;
}
BENCHMARK(BM_BattleNoPath)->Unit(benchmark::kMicrosecond);

void BM_BattleNoPathTwoByTwo(benchmark::State& state) {
  BattleMap(2);
  for (auto _ : state) {
    int r = FindCreaturePath(kMover, 0, 0, 57, 57, 1, 1, 0, 0, nullptr, nullptr);
    benchmark::DoNotOptimize(r);
  }
  InCombat = 0;
}
BENCHMARK(BM_BattleNoPathTwoByTwo)->Unit(benchmark::kMicrosecond);

// The goal beyond a wall across the whole map: too wide a pocket to tell at
// once, so the search floods the start's side of the wall.
void BM_BattleNoPathBeyondAWall(benchmark::State& state) {
  BattleMap(static_cast<int>(state.range(0)));
  for (int k = 56; k < 60; ++k) CurrentMap.At(kLayerWalls, k, 56) = CurrentMap.At(kLayerWalls, 56, k) = 0;
  for (int x = 0; x < 60; ++x) CurrentMap.At(kLayerWalls, x, 50) = 46;
  BuildOccupancyGrids(kMover);
  const int goal = 59 - static_cast<int>(state.range(0));
  for (auto _ : state) {
    int r = FindCreaturePath(kMover, 0, 0, goal, goal, 1, 1, 0, 0, nullptr, nullptr);
    benchmark::DoNotOptimize(r);
  }
  InCombat = 0;
}
BENCHMARK(BM_BattleNoPathBeyondAWall)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
