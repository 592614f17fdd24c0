// Where a computer caster puts its bursts, rectangles, cones and discs.
#include "combat/turns/area_placement.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "combat/turns/best_square.h"
#include "combat/turns/placement_grids.h"
#include "combat/turns/support_grids.h"
#include "combat/turns/valuation_grid.h"
#include "combat/turns/tactics_fixture.h"
#include "engine/random.h"
#include "map/area_shapes.h"
#include "map/square_grids.h"
#include "rules/conditions.h"

namespace {

using tacticsfixture::TacticsTest;
constexpr int kCaster = 100, kFoe1 = 101, kFoe2 = 102, kFoe3 = 103, kFoe4 = 104, kFriend = 105;

class AreaPlacement : public TacticsTest {};

TEST_F(AreaPlacement, FireballCatchesTheMostFoesAndNoFriend) {
  OpenBattle(30, 24);
  turnsfixture::AddFighter(kCaster, 1, 6, 12);
  turnsfixture::AddFighter(kFoe1, 2, 14, 10);
  turnsfixture::AddFighter(kFoe2, 2, 15, 10);
  turnsfixture::AddFighter(kFoe3, 2, 14, 12);
  turnsfixture::AddFighter(kFoe4, 2, 20, 18);
  turnsfixture::AddFighter(kFriend, 1, 17, 14);
  turnsfixture::StartTurn(kCaster);
  FillAreaTargetWeights(kSpellFireball, kCaster);
  EXPECT_EQ(turnsfixture::Value(17, 12), 1) << "within 60 feet and in sight";
  EXPECT_EQ(turnsfixture::Value(20, 18), 0) << "beyond 60 feet";
  const GridSquare centre = FindCircle(kCaster, kSpellFireball);
  EXPECT_EQ(centre.x, 14) << "of the bursts that catch all three, the first centred on one of them";
  EXPECT_EQ(centre.y, 10);
  RasteriseBurst(kCaster, centre.x, centre.y, kSpellFireball);
  EXPECT_TRUE(Listed(kFoe1) && Listed(kFoe2) && Listed(kFoe3));
  EXPECT_FALSE(Listed(kFriend) || Listed(kCaster));
}

TEST_F(AreaPlacement, AFriendAmongTheFoesIsSparedUnlessTheCasterAcceptsHittingFriends) {
  OpenBattle(30, 24);
  turnsfixture::AddFighter(kCaster, 1, 6, 12);
  turnsfixture::AddFighter(kFoe1, 2, 12, 8);
  turnsfixture::AddFighter(kFoe2, 2, 13, 8);
  turnsfixture::AddFighter(kFoe3, 2, 18, 8);
  turnsfixture::AddFighter(kFriend, 1, 15, 8);
  turnsfixture::StartTurn(kCaster);
  FillAreaTargetWeights(kSpellFireball, kCaster);
  GridSquare centre = FindCircle(kCaster, kSpellFireball);
  RasteriseBurst(kCaster, centre.x, centre.y, kSpellFireball);
  EXPECT_TRUE(Listed(kFoe1) && Listed(kFoe2));
  EXPECT_FALSE(Listed(kFoe3) || Listed(kFriend));
  Creatures[kCaster].scriptWords[kScriptWordAcceptsAllies] = 1;
  FillAreaTargetWeights(kSpellFireball, kCaster);
  centre = FindCircle(kCaster, kSpellFireball);
  RasteriseBurst(kCaster, centre.x, centre.y, kSpellFireball);
  EXPECT_TRUE(Listed(kFoe1) && Listed(kFoe2) && Listed(kFoe3) && Listed(kFriend)) << "30 - 1 beats 20";
}

TEST_F(AreaPlacement, AFocusCreatureMustBeCaughtAndTiesGoToTheWeakerCentre) {
  OpenBattle(30, 24);
  turnsfixture::AddFighter(kCaster, 1, 4, 12);
  turnsfixture::AddFighter(kFoe1, 2, 12, 6);
  turnsfixture::AddFighter(kFoe2, 2, 12, 18);
  turnsfixture::StartTurn(kCaster);
  Creatures[kFoe1].hitPoints = 50;
  Creatures[kFoe2].hitPoints = 40;
  FillAreaTargetWeights(kSpellFireball, kCaster);
  GridSquare centre = FindCircle(kCaster, kSpellFireball);
  EXPECT_EQ(centre.x, 12) << "a burst centred on a foe beats equal ones";
  EXPECT_EQ(centre.y, 18) << "and of two such, the one on the foe with fewer hit points";
  // The focus creature (the readied fighter's target) must be caught, by a
  // burst and by a rectangle alike.
  DisruptionTarget = kFoe1;
  FillAreaTargetWeights(kSpellFireball, kCaster);
  centre = FindCircle(kCaster, kSpellFireball);
  RasteriseBurst(kCaster, centre.x, centre.y, kSpellFireball);
  EXPECT_TRUE(Listed(kFoe1));
  EXPECT_FALSE(Listed(kFoe2));
  DisruptionTarget = kFoe2;  // a rectangle would catch the first foe first
  FillAreaTargetWeights(kSpellLightningBolt, kCaster);
  ASSERT_TRUE(FindLineTarget(kSpellLightningBolt, kCaster));
  RasteriseRectangle(kSpellLightningBolt, kCaster, LineTargetFirstX, LineTargetFirstY, LineTargetSecondX,
                     LineTargetSecondY);
  EXPECT_TRUE(Listed(kFoe2));
  EXPECT_FALSE(Listed(kFoe1));
  DisruptionTarget = -1;
}

TEST_F(AreaPlacement, LightningBoltThroughTwoFoes) {
  OpenBattle(30, 20);
  turnsfixture::AddFighter(kCaster, 1, 4, 12);
  turnsfixture::AddFighter(kFoe1, 2, 10, 8);
  turnsfixture::AddFighter(kFoe2, 2, 16, 8);
  turnsfixture::StartTurn(kCaster);
  FillAreaTargetWeights(kSpellLightningBolt, kCaster);
  ASSERT_TRUE(FindLineTarget(kSpellLightningBolt, kCaster));
  EXPECT_EQ(LineTargetFirstX, 5);
  EXPECT_EQ(LineTargetFirstY, 8);
  EXPECT_EQ(LineTargetSecondX, 16);
  EXPECT_EQ(LineTargetSecondY, 8);

  // A friend on the line: refused unless the caster accepts hitting friends.
  turnsfixture::AddFighter(kFriend, 1, 13, 8);
  mapfixture::StartTestCombat();
  FillAreaTargetWeights(kSpellLightningBolt, kCaster);
  ASSERT_TRUE(FindLineTarget(kSpellLightningBolt, kCaster));
  EXPECT_FALSE(LineTargetFirstY == 8 && LineTargetFirstX <= 13 && LineTargetSecondX >= 13);
}

TEST_F(AreaPlacement, ARectangleWithoutASecondSideIsNeverPlaced) {
  OpenBattle(30, 20);
  turnsfixture::AddFighter(kCaster, 1, 4, 12);
  turnsfixture::AddFighter(kFoe1, 2, 10, 8);
  turnsfixture::StartTurn(kCaster);
  const int32_t side = SpellTable[kSpellLightningBolt].areaSize2;
  SpellTable[kSpellLightningBolt].areaSize2 = 4;  // under one square
  FillAreaTargetWeights(kSpellLightningBolt, kCaster);
  EXPECT_FALSE(FindLineTarget(kSpellLightningBolt, kCaster));
  EXPECT_EQ(LineTargetFirstX, -1);
  EXPECT_EQ(LineTargetSecondY, -1);
  SpellTable[kSpellLightningBolt].areaSize2 = side;
  // A far corner beyond the map's edge or on a wall is never tried.
  turnsfixture::NewBattle({"..........", "..........", "......####", ".........."});
  turnsfixture::AddFighter(kCaster, 1, 0, 0);
  turnsfixture::AddFighter(kFoe1, 2, 2, 2);
  turnsfixture::StartTurn(kCaster);
  FillAreaTargetWeights(kSpellLightningBolt, kCaster);
  EXPECT_FALSE(FindLineTarget(kSpellLightningBolt, kCaster)) << "twelve squares never fit on a map ten wide";
}

TEST_F(AreaPlacement, DispelIsPlacedOnlyWhenItIsWorthMoreThanTen) {
  OpenBattle(30, 20);
  turnsfixture::AddFighter(kCaster, 2, 5, 10);
  turnsfixture::AddFighter(kFoe1, 1, 20, 10);
  turnsfixture::StartTurn(kCaster);
  // One wall-of-force cell is worth 11.
  MagicAreaGrid[SquareIndex(9, 10)] = {kEffectSolid, 5, 0};
  DispelReason = 7;
  FillAreaTargetWeights(kSpellDispel, kCaster);
  const GridSquare centre = FindCircle(kCaster, kSpellDispel);
  ASSERT_NE(centre.x, -1);
  RasteriseBurst(kCaster, centre.x, centre.y, kSpellDispel);
  EXPECT_EQ(AreaMask[SquareIndex(9, 10)], 1);
  // A passing fire is worth nothing to reason 7, and without its barrier the
  // reason finds no centre.
  MagicAreaGrid[SquareIndex(9, 10)] = {kEffectFire, 5, 0};
  FillAreaTargetWeights(kSpellDispel, kCaster);
  EXPECT_EQ(FindCircle(kCaster, kSpellDispel).x, -1);
  // Reason 14 takes the fire (9): not above 10, not cast; two fires are.
  DispelReason = 14;
  FillAreaTargetWeights(kSpellDispel, kCaster);
  EXPECT_EQ(FindCircle(kCaster, kSpellDispel).x, -1);
  MagicAreaGrid[SquareIndex(9, 11)] = {kEffectFire, 5, 0};
  FillAreaTargetWeights(kSpellDispel, kCaster);
  EXPECT_NE(FindCircle(kCaster, kSpellDispel).x, -1);
  // A brazier's lasting fire is never counted.
  MagicAreaGrid[SquareIndex(9, 10)] = {kEffectFire, kDurationLasting, 0};
  MagicAreaGrid[SquareIndex(9, 11)] = {kEffectFire, kDurationLasting, 0};
  FillAreaTargetWeights(kSpellDispel, kCaster);
  EXPECT_EQ(FindCircle(kCaster, kSpellDispel).x, -1);
}

// The placements give the same answers when every burst and rectangle is
// drawn as when those that cannot win are passed over.
TEST_F(AreaPlacement, ShortcutsGiveTheAnswersOfDrawingEveryArea) {
  SeedRandomForTests(7);
  int placed = 0, grids = 0;
  for (int trial = 0; trial < 8; ++trial) {
    std::vector<std::string> rows(26, std::string(32, '.'));
    for (int k = 0; k < 30; ++k) rows[RandomUpTo(25)][RandomUpTo(31)] = '#';
    turnsfixture::NewBattle(rows);
    SeedRandomForTests(100 + trial);
    int id = kCaster;
    auto place = [&](int side) {
      for (;;) {
        const int x = static_cast<int>(RandomUpTo(31)), y = static_cast<int>(RandomUpTo(25));
        if (rows[y][x] != '.') continue;
        rows[y][x] = 'o';
        turnsfixture::AddFighter(id++, side, x, y);
        return;
      }
    };
    place(2);
    for (int k = 0; k < 12; ++k) place(k % 3 == 0 ? 2 : 1);
    turnsfixture::StartTurn(kCaster);
    for (int k = 0; k < 20; ++k) {
      const uint32_t kind = k % 2 ? kEffectFire : kEffectSolid;
      MagicAreaGrid[SquareIndex(RandomUpTo(31), RandomUpTo(25))] = {kind, 3, 0};
    }
    Creatures[kCaster].scriptWords[kScriptWordAcceptsAllies] = trial % 2;
    for (int spell : {kSpellFireball, kSpellWeb, kSpellMassCureLight, kSpellDispel}) {
      DispelReason = trial % 3 == 0 ? 7 : trial % 3 == 1 ? 14 : 4;
      GridSquare found[2];
      for (int shortcut = 0; shortcut < 2; ++shortcut) {
        PlacementShortcuts = static_cast<uint8_t>(shortcut);
        FillAreaTargetWeights(spell, kCaster);
        found[shortcut] = FindCircle(kCaster, spell);
      }
      placed += found[1].x != -1;
      EXPECT_EQ(found[0].x, found[1].x) << "trial " << trial << " spell " << spell;
      EXPECT_EQ(found[0].y, found[1].y) << "trial " << trial << " spell " << spell;
    }
    int32_t corners[2][4];
    for (int shortcut = 0; shortcut < 2; ++shortcut) {
      PlacementShortcuts = static_cast<uint8_t>(shortcut);
      FillAreaTargetWeights(kSpellLightningBolt, kCaster);
      FindLineTarget(kSpellLightningBolt, kCaster);
      const int32_t got[4] = {LineTargetFirstX, LineTargetFirstY, LineTargetSecondX, LineTargetSecondY};
      std::copy(got, got + 4, corners[shortcut]);
    }
    for (int k = 0; k < 4; ++k) EXPECT_EQ(corners[0][k], corners[1][k]) << "trial " << trial;
    placed += corners[1][0] != -1;

    // The good-square grid of a caster that may dispel the barriers and fires.
    MakeCaster(kCaster, 4, {kSpellDispel});
    // The nearest foe walled in by a barrier: the caster would dispel it.
    NearestFoe = kCaster + 1 + trial % 6;
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) {
        const int x = Creatures[NearestFoe].squareX + dx, y = Creatures[NearestFoe].squareY + dy;
        if ((dx || dy) && x >= 0 && y >= 0 && x < 32 && y < 26) MagicAreaGrid[SquareIndex(x, y)] = {kEffectSolid, 3, 0};
      }
    BuildOccupancyGrids(kCaster);
    static int32_t grid[2][kMapSquares];
    for (int shortcut = 0; shortcut < 2; ++shortcut) {
      PlacementShortcuts = static_cast<uint8_t>(shortcut);
      BuildGoodSquareGrid(kCaster, 0, trial % 4 + 1, -1, 0, kSpellFireball);
      std::copy(ValuationGrid, ValuationGrid + kMapSquares, grid[shortcut]);
    }
    grids += std::count_if(grid[1], grid[1] + kMapSquares, [](int32_t v) { return v >= 100; }) > 0;
    EXPECT_TRUE(std::equal(grid[0], grid[0] + kMapSquares, grid[1])) << "trial " << trial;
  }
  EXPECT_GT(placed, 14) << "most searches place their area";
  EXPECT_GT(grids, 2) << "some grids hold squares near dispellable cells";
}

class PlacementGrids : public TacticsTest {};

TEST_F(PlacementGrids, ConeOfColdFromTheSquareWhereItCatchesMost) {
  // From where it stands the caster's cone catches two of the three foes; a
  // step south lines them all up. A friend to the north spoils the aims north.
  OpenBattle(24, 24);
  turnsfixture::AddFighter(kCaster, 2, 10, 6);
  turnsfixture::AddFighter(kFoe1, 1, 11, 10);
  turnsfixture::AddFighter(kFoe2, 1, 12, 11);
  turnsfixture::AddFighter(kFoe3, 1, 13, 12);
  turnsfixture::AddFighter(kFriend, 2, 10, 3);
  MakeCaster(kCaster, 4, {kSpellConeOfCold});
  turnsfixture::StartTurn(kCaster);
  const int64_t best = BuildConeSpellGrid(kCaster, kSpellConeOfCold);
  ASSERT_NE(best, kNoSquare);
  EXPECT_EQ(SquareXOf(best), 10);
  EXPECT_EQ(SquareYOf(best), 7) << "the nearest of the squares whose cone catches all three";
  EXPECT_EQ(turnsfixture::Value(10, 6), 20) << "from where it stands the cone catches two";
  EXPECT_EQ(turnsfixture::Value(10, 5), 20) << "the northern aims would catch the friend";
  EXPECT_EQ(Creatures[kCaster].squareX, 10) << "the caster is put back";
  EXPECT_EQ(SpellCaster, kCaster);
}

TEST_F(PlacementGrids, AnAdjacentAwakeEnemyMakesTheCasterStepAway) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kCaster, 2, 10, 10);
  turnsfixture::AddFighter(kFoe1, 1, 10, 11);
  turnsfixture::AddFighter(kFoe2, 1, 10, 14);
  MakeCaster(kCaster, 4, {kSpellConeOfCold});
  turnsfixture::StartTurn(kCaster);
  BuildConeSpellGrid(kCaster, kSpellConeOfCold);
  EXPECT_EQ(turnsfixture::Value(10, 10), kUnfit) << "the own square beside an awake foe loses 9 and is dropped";
  Creatures[kFoe1].conditions[0] = {kCondSleeping, 5, 0, 0, 0};
  BuildConeSpellGrid(kCaster, kSpellConeOfCold);
  EXPECT_NE(turnsfixture::Value(10, 10), kUnfit) << "a sleeping foe threatens no one";
}

TEST_F(PlacementGrids, NothingWorthAConeOrADiscLeavesTheCasterWhereItIs) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kCaster, 2, 3, 3);
  turnsfixture::AddFighter(kFoe1, 1, 18, 18);
  MakeCaster(kCaster, 3, {kSpellConeOfCold, kSpellPrayer});
  turnsfixture::StartTurn(kCaster);
  EXPECT_EQ(BuildConeSpellGrid(kCaster, kSpellConeOfCold), kNoSquare);
  SpellInProgress = kSpellPrayer;
  EXPECT_EQ(BuildDiscSpellGrid(kCaster), kNoSquare);
}

TEST_F(PlacementGrids, PrayerMovesTheClericAmongItsFriendsAndFoes) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kCaster, 1, 2, 10);
  turnsfixture::AddFighter(kFoe1, 2, 8, 9);
  turnsfixture::AddFighter(kFoe2, 2, 8, 11);
  turnsfixture::AddFighter(kFriend, 1, 6, 10);
  MakeCaster(kCaster, 3, {kSpellPrayer});
  turnsfixture::StartTurn(kCaster);
  SpellInProgress = kSpellPrayer;
  const int64_t best = BuildDiscSpellGrid(kCaster);
  ASSERT_NE(best, kNoSquare);
  RasteriseBurst(kCaster, SquareXOf(best), SquareYOf(best), kSpellPrayer);
  EXPECT_TRUE(Listed(kFoe1) && Listed(kFoe2) && Listed(kFriend));
  // Everyone already Unlucky: the prayer is wasted on all of them.
  for (int c : {kCaster, kFoe1, kFoe2, kFriend}) Creatures[c].conditions[0] = {kCondUnlucky, 5, 0, 0, 0};
  EXPECT_EQ(BuildDiscSpellGrid(kCaster), kNoSquare);
}


// Everything a placement grid gives and leaves behind: the grid and its
// answer, the area drawn last, the area target list, the creatures' marks
// and their timer, and the caster's facing.
struct PlacementTrace {
  std::vector<int32_t> grid, listed, marks;
  std::vector<uint8_t> area;
  int64_t best;
  int32_t timer, facing;
  bool operator==(const PlacementTrace&) const = default;
};

PlacementTrace TracePlacement(const std::function<int64_t()>& build) {
  AreaMarkTimer = 0;
  SeedRandomForTests(5);
  PlacementTrace t;
  t.best = build();
  t.grid.assign(ValuationGrid, ValuationGrid + kMapSquares);
  t.listed.assign(AreaTargetList, AreaTargetList + kAreaTargetCount);
  t.marks.assign(CreatureMarks, CreatureMarks + 2100);
  t.area.assign(AreaMask, AreaMask + kMapSquares);
  t.timer = AreaMarkTimer;
  t.facing = Creatures[kCaster].facing;
  return t;
}

// Casters small and large among walls, barriers and fires, friends and foes
// (some undead, some hurt): weighing each cone and disc by the creatures it
// would list gives what drawing every one gives, down to what is left drawn.
TEST_F(PlacementGrids, WeighingShapesByWhoTheyListGivesWhatDrawingEveryShapeGives) {
  SeedRandomForTests(11);
  int scored = 0;
  for (int trial = 0; trial < 6; ++trial) {
    std::vector<std::string> rows(28, std::string(28, '.'));
    for (int k = 0; k < 60; ++k) rows[RandomUpTo(27)][RandomUpTo(27)] = '#';
    turnsfixture::NewBattle(rows);
    for (int k = 0; k < 12; ++k)
      MagicAreaGrid[SquareIndex(RandomUpTo(27), RandomUpTo(27))] = {k % 2 ? kEffectFire : kEffectSolid, 3, 0};
    const int size = trial % 3 == 2 ? 2 : 1;
    int id = kCaster;
    while (id < kCaster + 16) {
      const int x = static_cast<int>(RandomUpTo(26)), y = static_cast<int>(RandomUpTo(26));
      bool free = true;
      for (int dx = 0; dx < 2; ++dx)
        for (int dy = 0; dy < 2; ++dy) free &= rows[y + dy][x + dx] == '.';
      if (!free) continue;
      for (int dx = 0; dx < 2; ++dx)
        for (int dy = 0; dy < 2; ++dy) rows[y + dy][x + dx] = 'o';
      turnsfixture::AddFighter(id, id == kCaster || RandomUpTo(2) ? 2 : 1, x, y, id == kCaster ? size : 1);
      if (RandomUpTo(4) == 0) Creatures[id].type = 8;
      Creatures[id].hitPoints = 30 + static_cast<int>(RandomUpTo(70));
      ++id;
    }
    CreatureRecord& c = Creatures[kCaster];
    c.size.current = 3 + trial % 3;
    c.special[kSpecialAttackKind] = trial % 2 ? 1 : 7;  // a cone of fire, or a line
    c.scriptWords[kScriptWordAcceptsAllies] = trial % 2;
    MakeCaster(kCaster, 3, {kSpellConeOfCold, kSpellPrayer});
    turnsfixture::StartTurn(kCaster, trial % 2 ? 30 : 60);
    std::vector<std::function<int64_t()>> builders;
    for (int spell : std::initializer_list<int>{kSpellConeOfCold, kSpellBurningHands, kSpellTurnUndead, kSpellSpecialAttack,
                      kSpellLightningBolt})
      builders.push_back([spell] { return BuildConeSpellGrid(kCaster, spell); });
    for (int spell : {kSpellBane, kSpellBless, kSpellPrayer, kSpellInvisibilityPurge, kSpellEntangle})
      builders.push_back([spell] {
        SpellInProgress = spell;
        return BuildDiscSpellGrid(kCaster);
      });
    // Burning hands spreading round corners over the floor in the second half.
    SpellTable[kSpellBurningHands].areaWord = trial >= 3 ? 1 : 0;
    for (size_t b = 0; b < builders.size(); ++b) {
      PlacementShortcuts = 1;
      const PlacementTrace quick = TracePlacement(builders[b]);
      PlacementShortcuts = 0;
      const PlacementTrace drawn = TracePlacement(builders[b]);
      EXPECT_EQ(quick.grid, drawn.grid) << "trial " << trial << " builder " << b;
      EXPECT_TRUE(quick == drawn) << "trial " << trial << " builder " << b;
      scored += *std::max_element(drawn.grid.begin(), drawn.grid.end()) >= 10;
    }
    SpellTable[kSpellBurningHands].areaWord = 0;
  }
  SpellInProgress = -1;
  EXPECT_GT(scored, 30) << "most grids find shapes worth casting";
}

}  // namespace
