// Speed of the computer fighters' grids: each builder for a fighter among 40
// on a 60 x 60 map with walls (rooms along the middle, scattered pillars).
#include <benchmark/benchmark.h>

#include "combat/turns/melee_grid.h"
#include "combat/turns/position_grids.h"
#include "combat/turns/turns_fixture.h"
#include "map/path_finding.h"
#include "rules/item_tables.h"

namespace {

constexpr int kActing = 100;

void Battle() {
  std::vector<std::string> rows(60, std::string(60, '.'));
  for (int x = 0; x < 60; ++x)
    if (x % 12 != 5) rows[30][x] = '#';
  for (int y = 8; y < 52; y += 11)
    for (int x = 8; x < 52; x += 13) rows[y][x] = '#';
  turnsfixture::NewBattle(rows);
  turnsfixture::AddFighter(kActing, 2, 20, 10);
  for (int i = 1; i < 40; ++i)
    turnsfixture::AddFighter(kActing + i, i % 2 ? 1 : 2, 4 + 7 * (i % 8), 4 + 11 * (i / 8));
  turnsfixture::StartTurn(kActing);
}

void BM_MeleeGrid(benchmark::State& state) {
  Battle();

  for (auto _ : state) benchmark::DoNotOptimize(BuildMeleeValuationGrid(kActing, -1, 0, 0, 1));
}
BENCHMARK(BM_MeleeGrid)->Unit(benchmark::kMicrosecond);

void BM_WithdrawGrid(benchmark::State& state) {
  Battle();
  for (auto _ : state) benchmark::DoNotOptimize(BuildWithdrawValuationGrid(kActing, 0));
}
BENCHMARK(BM_WithdrawGrid)->Unit(benchmark::kMicrosecond);

void BM_WhirlwindGrid(benchmark::State& state) {
  Battle();
  for (auto _ : state) benchmark::DoNotOptimize(BuildWhirlwindValuationGrid(kActing, 1));
}
BENCHMARK(BM_WhirlwindGrid)->Unit(benchmark::kMicrosecond);

// An archer: a bow of 100 feet and arrows.
void GiveBow() {
  CraftedWeaponRecord& bow = CraftedWeapons[20];
  std::memset(&bow, 0, sizeof bow);
  bow.itemType = 32;
  bow.handling = 4;
  bow.proficiency = 1;
  bow.dieCount = 1;
  bow.dieSides = 6;
  bow.critLow = 20;
  bow.critMultiplier = 3;
  bow.range = 100;
  Creatures[kActing].equipment[kSlotRanged - 1] = 20;
}

void BM_RangedGrid(benchmark::State& state) {
  Battle();
  GiveBow();
  for (auto _ : state) benchmark::DoNotOptimize(BuildRangedValuationGrid(kActing));
}
BENCHMARK(BM_RangedGrid)->Unit(benchmark::kMicrosecond);

}  // namespace
