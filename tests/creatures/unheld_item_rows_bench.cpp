// What a full item table costs the making of armed foes: 36 orc knights,
// each given a longsword and a shortbow (and armour), made while every
// generated row is in use and held on the floor of the current map, so that
// none of them gets an item. Made one by one, as scripts make creatures, and
// as one group, as a group of the road is made; "looks" counts the looks over
// every holder each making of the 36 costs. Run from the game's working
// folder (build/game).
#include <benchmark/benchmark.h>

#include <cstring>

#include "creatures/create_creature.h"
#include "creatures/creature_kinds.h"
#include "creatures/unheld_item_rows.h"
#include "engine/random.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/encounters.h"

namespace {

constexpr int kMap = 5;
constexpr int kFoes = 36;

bool FillTheTable() {
  if (LoadItemTable() != 1 || LoadSpellTable() != 1 ||
      LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", "FullVersion") != 1)
    return false;
  std::memset(Creatures, 0, sizeof Creatures);
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  CurrentMapNumber = kMap;
  for (int row = kFirstGeneratedItemRow; row <= kLastGeneratedItemRow; ++row) {
    std::strcpy(CraftedWeapons[row].name, "Held");
    CurrentMap.layers[kLayerObjects0][row - kFirstGeneratedItemRow] = row;
  }
  return true;
}

// The foes' ids free again, as before a group is met.
void ClearTheFoes() {
  std::memset(&Creatures[kFirstEncounterCreature], 0, sizeof(CreatureRecord) * kFoes);
  SeedRandomForTests(7);
}

void MakeTheFoes() {
  for (int i = 0; i < kFoes; ++i)
    CreateCreature(kMap, 10 + i % 6, 10 + i / 6, kFirstEncounterCreature + i, kKindOrc, kClassKnight, 0, 0, 0, 0, 0,
                   0, kWeaponLongsword, 0, kWeaponShortbow);
}

// Argument 0: each foe its own making, as a script makes them one after
// another; 1: the foes made as one group, as a group met on the road is.
void BM_ThirtySixArmedFoesWithTheTableFull(benchmark::State& state) {
  if (!FillTheTable()) {
    state.SkipWithError("the item tables could not be loaded (run from build/game)");
    return;
  }
  const bool asOneGroup = state.range(0) != 0;
  const int before = GeneratedRowLooks();
  for (auto _ : state) {
    state.PauseTiming();
    ClearTheFoes();
    state.ResumeTiming();
    if (asOneGroup) {
      const CreatureMaking group;
      MakeTheFoes();
    } else {
      MakeTheFoes();
    }
  }
  state.counters["looks"] = benchmark::Counter(GeneratedRowLooks() - before, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ThirtySixArmedFoesWithTheTableFull)->ArgName("as_one_group")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
