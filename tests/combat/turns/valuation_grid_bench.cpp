// Speed of the computer fighters' grids: each builder for a fighter among 40
// on a 60 x 60 map with walls (rooms along the middle, scattered pillars),
// and the placements of area spells and special attacks.
#include <benchmark/benchmark.h>

#include "combat/turns/area_placement.h"
#include "combat/turns/melee_grid.h"
#include "combat/turns/placement_grids.h"
#include "combat/turns/support_grids.h"
#include "combat/turns/position_grids.h"
#include "combat/turns/turns_fixture.h"
#include "map/area_shapes.h"
#include "map/path_finding.h"
#include "map/reach_flood.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "state/current_cast.h"

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

// The same with a path search for every wanted square (no flood).
void BM_MeleeGridSearchingEachSquare(benchmark::State& state) {
  Battle();
  ReachByFlood = 0;
  for (auto _ : state) benchmark::DoNotOptimize(BuildMeleeValuationGrid(kActing, -1, 0, 0, 1));
  ReachByFlood = 1;
}
BENCHMARK(BM_MeleeGridSearchingEachSquare)->Unit(benchmark::kMicrosecond);

void BM_WithdrawGrid(benchmark::State& state) {
  Battle();
  for (auto _ : state) benchmark::DoNotOptimize(BuildWithdrawValuationGrid(kActing, 0));
}
BENCHMARK(BM_WithdrawGrid)->Unit(benchmark::kMicrosecond);

// The flood that settles most squares of a reachability pass at once.
void BM_ReachFlood(benchmark::State& state) {
  Battle();
  static int32_t wanted[kMapSquares];
  for (int32_t& w : wanted) w = 1;  // every square: the whole map is flooded
  for (auto _ : state) benchmark::DoNotOptimize(FloodReach(kActing, 20, 10, wanted));
}
BENCHMARK(BM_ReachFlood)->Unit(benchmark::kMicrosecond);

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

void BM_RangedGridSearchingEachSquare(benchmark::State& state) {
  Battle();
  GiveBow();
  ReachByFlood = 0;
  for (auto _ : state) benchmark::DoNotOptimize(BuildRangedValuationGrid(kActing));
  ReachByFlood = 1;
}
BENCHMARK(BM_RangedGridSearchingEachSquare)->Unit(benchmark::kMicrosecond);

// The archer as its decision sets it up: the bow's profile entry chosen.
void BM_RangedGridAimed(benchmark::State& state) {
  Battle();
  GiveBow();
  RangedProfileEntry = 1;
  for (auto _ : state) benchmark::DoNotOptimize(BuildRangedValuationGrid(kActing));
  RangedProfileEntry = -1;
}
BENCHMARK(BM_RangedGridAimed)->Unit(benchmark::kMicrosecond);

// The same with every saving of the grids turned off: shots, recomputations
// and the occupancy grid of the path search.
void BM_RangedGridAimedPlain(benchmark::State& state) {
  Battle();
  GiveBow();
  RangedProfileEntry = 1;
  ShotsRemembered = 0;
  for (auto _ : state) benchmark::DoNotOptimize(BuildRangedValuationGrid(kActing));
  ShotsRemembered = 1;
  RangedProfileEntry = -1;
}
BENCHMARK(BM_RangedGridAimedPlain)->Unit(benchmark::kMicrosecond);

}  // namespace

// The placement and support grids of the computer fighters' tactics: the
// same battle, the acting fighter a caster or a healer or a dragon, with
// passing fires and a solid wall of force on the map for the dispel searches.
namespace {

void TacticsBattle() {
  static bool loaded = LoadSpellTable() == 1;
  (void)loaded;
  Battle();
  for (int y = 14; y < 20; ++y) MagicAreaGrid[SquareIndex(24, y)] = {kEffectFire, 5, 0};
  for (int x = 10; x < 16; ++x) MagicAreaGrid[SquareIndex(x, 16)] = {kEffectSolid, 5, 0};
  CreatureRecord& c = Creatures[kActing];
  c.creatureClass = 4;
  c.level = c.effectiveLevel = c.casterLevelAdjust = 9;
  for (int level = 0; level < 9; ++level) c.spellsLeft[level] = 2;
  for (int spell : {kSpellDispel, kSpellFireball, kSpellLightningBolt, kSpellConeOfCold}) c.knownSpells[spell] = 1;
  NearestFoe = kActing + 1;
  BuildOccupancyGrids(kActing);
}

void BM_GoodSquareGrid(benchmark::State& state) {
  TacticsBattle();
  for (auto _ : state) benchmark::DoNotOptimize(BuildGoodSquareGrid(kActing, 0, 3, -1, 0, kSpellFireball));
}
BENCHMARK(BM_GoodSquareGrid)->Unit(benchmark::kMicrosecond);

void BM_CureGrid(benchmark::State& state) {
  TacticsBattle();
  CreatureRecord& c = Creatures[kActing];
  c.creatureClass = 3;
  for (int spell : {kSpellCureLightWounds, kSpellCureSeriousWounds, kSpellMassCureLight, kSpellRemoveParalysis,
                    kSpellRemoveCurse, kSpellFreedomOfMovement, kSpellHeal})
    c.knownSpells[spell] = 1;
  for (int i = 2; i < 40; i += 2) Creatures[kActing + i].hitPoints = 20;
  for (auto _ : state) benchmark::DoNotOptimize(BuildCureValuationGrid(kActing, 0));
}
BENCHMARK(BM_CureGrid)->Unit(benchmark::kMicrosecond);

void BM_ConeSpellGrid(benchmark::State& state) {
  TacticsBattle();
  for (auto _ : state) benchmark::DoNotOptimize(BuildConeSpellGrid(kActing, kSpellConeOfCold));
}
BENCHMARK(BM_ConeSpellGrid)->Unit(benchmark::kMicrosecond);

void BM_BreathGrid(benchmark::State& state) {
  TacticsBattle();
  Creatures[kActing].special[kSpecialAttackKind] = 1;
  for (auto _ : state) benchmark::DoNotOptimize(BuildConeSpellGrid(kActing, kSpellSpecialAttack));
}
BENCHMARK(BM_BreathGrid)->Unit(benchmark::kMicrosecond);

void BM_DiscSpellGrid(benchmark::State& state) {
  TacticsBattle();
  SpellInProgress = kSpellPrayer;
  for (auto _ : state) benchmark::DoNotOptimize(BuildDiscSpellGrid(kActing));
  SpellInProgress = -1;
}
BENCHMARK(BM_DiscSpellGrid)->Unit(benchmark::kMicrosecond);

void BM_BurstPlacement(benchmark::State& state) {
  TacticsBattle();
  for (auto _ : state) {
    FillAreaTargetWeights(kSpellFireball, kActing);
    benchmark::DoNotOptimize(FindCircle(kActing, kSpellFireball));
  }
}
BENCHMARK(BM_BurstPlacement)->Unit(benchmark::kMicrosecond);

void BM_DispelPlacement(benchmark::State& state) {
  TacticsBattle();
  DispelReason = 14;
  for (auto _ : state) {
    FillAreaTargetWeights(kSpellDispel, kActing);
    benchmark::DoNotOptimize(FindCircle(kActing, kSpellDispel));
  }
  DispelReason = 0;
}
BENCHMARK(BM_DispelPlacement)->Unit(benchmark::kMicrosecond);

void BM_LinePlacement(benchmark::State& state) {
  TacticsBattle();
  for (auto _ : state) {
    FillAreaTargetWeights(kSpellLightningBolt, kActing);
    benchmark::DoNotOptimize(FindLineTarget(kSpellLightningBolt, kActing));
  }
}
BENCHMARK(BM_LinePlacement)->Unit(benchmark::kMicrosecond);

}  // namespace
