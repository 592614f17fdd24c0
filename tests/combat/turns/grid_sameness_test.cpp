// The grids come out the same whether the path search reads the occupancy
// grid and the scoring remembers recomputations, or everything is worked out
// afresh: random battles on random maps, every builder, both ways.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "combat/turns/melee_grid.h"
#include "combat/turns/position_grids.h"
#include "combat/turns/target_choice.h"
#include "combat/turns/turns_fixture.h"
#include "map/path_finding.h"
#include "map/rain_shelter.h"
#include "rules/item_tables.h"
#include "state/game_screen_words.h"
#include "rules/recompute_creature.h"

namespace {

constexpr int kFirst = 100;

std::vector<int32_t> Grid() { return std::vector<int32_t>(ValuationGrid, ValuationGrid + kMapSquares); }

TEST(GridSameness, EveryBuilderGivesTheSameGridWithAndWithoutItsSavings) {
  std::mt19937 rng(99);
  auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  for (int battle = 0; battle < 3; ++battle) {
    std::vector<std::string> rows(30, std::string(30, '.'));
    for (int k = 0; k < 60; ++k) rows[roll(30)][roll(30)] = '#';
    turnsfixture::NewBattle(rows);
    for (int k = 0; k < 15; ++k)
      MagicAreaGrid[SquareIndex(roll(30), roll(30))] = {static_cast<uint32_t>(1 + roll(6)), 3, 0};
    // Tall grass here and there (small creatures hide in it), and in the last
    // battle a storm.
    for (int k = 0; k < 40; ++k) CurrentMap.At(kLayerFloor, roll(30), roll(30)) = 123;
    StormActive = battle == 2 ? 1 : 0;
    CurrentMap.rain = battle == 2 ? 1 : 0;
    for (int k = 0; k < 200; ++k) RainShelterGrid[SquareIndex(roll(30), roll(30))] = 2;
    for (int i = 0; i < 12; ++i) {
      turnsfixture::AddFighter(kFirst + i, i % 2 ? 1 : 2, roll(29), roll(29), roll(5) == 0 ? 2 : 1);
      Creatures[kFirst + i].hitPoints = 20 + roll(80);
      Creatures[kFirst + i].creatureClass = 1 + roll(5);
    }
    // Bows for half of them, so that shots are weighed too.
    CraftedWeaponRecord& bow = CraftedWeapons[20];
    std::memset(&bow, 0, sizeof bow);
    bow.itemType = 32;
    bow.handling = 4;
    bow.proficiency = 1;
    bow.dieCount = 1;
    bow.dieSides = 6;
    bow.critLow = 20;
    bow.critMultiplier = 3;
    bow.range = 60;
    for (int i = 0; i < 12; i += 2) Creatures[kFirst + i].equipment[kSlotRanged - 1] = 20;
    turnsfixture::StartTurn(kFirst, 30 + 30 * roll(2));
    BuildOccupancyGrids(kFirst);
    std::vector<std::function<void()>> builders = {
        [] { BuildMeleeValuationGrid(kFirst, -1, 0, 0, 1); },
        [] { BuildMeleeValuationGrid(kFirst, -1, 1, 0, 1); },
        [] { BuildWithdrawValuationGrid(kFirst, 0); },
        [] { BuildWhirlwindValuationGrid(kFirst, 1); },
        [] { BuildRangedValuationGrid(kFirst); },
    };
    for (size_t b = 0; b < builders.size(); ++b) {
      PathLookupByScan = 0;
      RecomputeRemembers = 1;
      builders[b]();
      const std::vector<int32_t> quick = Grid();
      const int target = ChooseMeleeTarget(kFirst, 0);
      PathLookupByScan = 1;
      RecomputeRemembers = 0;
      builders[b]();
      const std::vector<int32_t> plain = Grid();
      EXPECT_EQ(ChooseMeleeTarget(kFirst, 0), target);
      PathLookupByScan = 0;
      RecomputeRemembers = 1;
      EXPECT_EQ(quick, plain) << "battle " << battle << " builder " << b;
    }
  }
  CraftedWeapons[20] = {};
  StormActive = 0;
  std::memset(RainShelterGrid, 0, sizeof RainShelterGrid);
}

}  // namespace
