// The grids come out the same whether the path search reads the occupancy
// grid and the scoring remembers recomputations, or everything is worked out
// afresh: random battles on random maps, every builder, both ways.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <utility>

#include "combat/turns/melee_grid.h"
#include "combat/turns/position_grids.h"
#include "combat/turns/target_choice.h"
#include "combat/turns/turns_fixture.h"
#include "map/path_finding.h"
#include "map/rain_shelter.h"
#include "map/reach_flood.h"
#include "rules/item_tables.h"
#include "state/game_screen_words.h"
#include "rules/recompute_creature.h"
#include "combat/resolution/attack_resolution.h"
#include "map/line_of_effect.h"
#include "state/threat_grids.h"
#include "rules/feat_ids.h"
#include "rules/conditions.h"
#include "combat/actions/roll_previews.h"
#include "engine/settings.h"

namespace {

constexpr int kFirst = 100;

// A random square of an n by n corner of the map. Every draw is its own
// statement, so that a battle is laid out the same whatever order a compiler
// gives to a call's arguments: the row (y) is drawn before the column (x), the
// order these battles were first laid out in.
template <class Roll>
std::pair<int, int> DrawSquare(Roll& roll, int n) {
  const int y = roll(n);
  const int x = roll(n);
  return {x, y};
}

std::vector<int32_t> Grid() { return std::vector<int32_t>(ValuationGrid, ValuationGrid + kMapSquares); }

// What a builder leaves behind besides the grid: the shown chance, the
// adjacency marks and list, the arrows and the attack label.
std::vector<int32_t> LeftBehind() {
  std::vector<int32_t> v(AdjacencyGrid, AdjacencyGrid + kMapSquares);
  v.insert(v.end(), AdjacentCreatureList, AdjacentCreatureList + kAdjacentListSize);
  v.insert(v.end(), ArrowGrid, ArrowGrid + kMapSquares);
  v.push_back(ShownAttackChance);
  for (char ch : AttackLabel) v.push_back(ch);
  return v;
}

TEST(GridSameness, EveryBuilderGivesTheSameGridWithAndWithoutItsSavings) {
  std::mt19937 rng(99);
  auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  for (int battle = 0; battle < 3; ++battle) {
    std::vector<std::string> rows(30, std::string(30, '.'));
    for (int k = 0; k < 60; ++k) {
      const auto [x, y] = DrawSquare(roll, 30);
      rows[y][x] = '#';
    }
    turnsfixture::NewBattle(rows);
    for (int k = 0; k < 15; ++k) {
      const auto [x, y] = DrawSquare(roll, 30);
      const uint32_t strength = static_cast<uint32_t>(1 + roll(6));
      MagicAreaGrid[SquareIndex(x, y)] = {strength, 3, 0};
    }
    // Tall grass here and there (small creatures hide in it), and in the last
    // battle a storm.
    for (int k = 0; k < 40; ++k) {
      const auto [x, y] = DrawSquare(roll, 30);
      CurrentMap.At(kLayerFloor, x, y) = 123;
    }
    StormActive = battle == 2 ? 1 : 0;
    CurrentMap.rain = battle == 2 ? 1 : 0;
    for (int k = 0; k < 200; ++k) {
      const auto [x, y] = DrawSquare(roll, 30);
      RainShelterGrid[SquareIndex(x, y)] = 2;
    }
    for (int i = 0; i < 12; ++i) {
      const int size = roll(5) == 0 ? 2 : 1;
      const auto [x, y] = DrawSquare(roll, 29);
      turnsfixture::AddFighter(kFirst + i, i % 2 ? 1 : 2, x, y, size);
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
      const std::vector<int32_t> quickLeft = LeftBehind();
      const int target = ChooseMeleeTarget(kFirst, 0);
      PathLookupByScan = 1;
      RecomputeRemembers = 0;
      ShotsRemembered = 0;
      BlowsRemembered = 0;
      ProfilesKept = 0;
      builders[b]();
      const std::vector<int32_t> plain = Grid();
      EXPECT_EQ(LeftBehind(), quickLeft) << "battle " << battle << " builder " << b;
      EXPECT_EQ(ChooseMeleeTarget(kFirst, 0), target);
      PathLookupByScan = 0;
      RecomputeRemembers = 1;
      ShotsRemembered = 1;
      BlowsRemembered = 1;
      ProfilesKept = 1;
      EXPECT_EQ(quick, plain) << "battle " << battle << " builder " << b;
    }
  }
  CraftedWeapons[20] = {};
  StormActive = 0;
  std::memset(RainShelterGrid, 0, sizeof RainShelterGrid);
}

}  // namespace

namespace {

// Everything a ranged grid leaves behind besides the grid: the shown chance,
// the cover words and the arrow marks, the candidate list, the attack label,
// the situation labels and the shooter's record.
struct RangedTrace {
  std::vector<int32_t> grid, arrows, candidates;
  int32_t chance, coverX, coverY;
  uint8_t cover;
  std::string label;
  std::vector<std::string> situations;
  std::vector<unsigned char> shooter;
  bool operator==(const RangedTrace&) const = default;
};

RangedTrace TraceRangedGrid(int shooter) {
  BuildRangedValuationGrid(shooter);
  RangedTrace t;
  t.grid = Grid();
  t.arrows.assign(ArrowGrid, ArrowGrid + kMapSquares);
  t.candidates.assign(TargetCandidateList, TargetCandidateList + kCandidateListSize);
  t.chance = ShownAttackChance;
  t.cover = CoverActive;
  t.coverX = CoverSquareX;
  t.coverY = CoverSquareY;
  t.label = AttackLabel;
  for (const SituationLabel& l : SituationLabels) t.situations.emplace_back(l.text, strnlen(l.text, sizeof l.text));
  // Evaluations made after the grid write their texts again.
  EXPECT_EQ(EvaluationTextsWritten, 1);
  EXPECT_EQ(ProfileCaptionsWritten, 1);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&Creatures[shooter]);
  t.shooter.assign(bytes, bytes + sizeof(CreatureRecord));
  return t;
}

// Archers of every kind (wide ones, point-blank and precise shooters, a
// blinded one) among crowds that give cover, on grass and in the open: the
// remembered shots give the grid and leave the battle exactly as the shots
// evaluated one by one do.
TEST(GridSameness, RangedGridRemembersShotsWithoutChangingTheGridOrWhatItLeaves) {
  std::mt19937 rng(2024);
  auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  CraftedWeaponRecord& bow = CraftedWeapons[20];
  for (int battle = 0; battle < 6; ++battle) {
    std::vector<std::string> rows(30, std::string(30, '.'));
    for (int k = 0; k < 40; ++k) {
      const auto [x, y] = DrawSquare(roll, 30);
      rows[y][x] = '#';
    }
    turnsfixture::NewBattle(rows);
    for (int k = 0; k < 60; ++k) {
      const auto [x, y] = DrawSquare(roll, 30);
      CurrentMap.At(kLayerFloor, x, y) = 123;
    }
    for (int i = 0; i < 14; ++i) {
      const int size = i == 0 ? 1 + battle % 2 : roll(5) == 0 ? 2 : 1;
      const auto [x, y] = DrawSquare(roll, 28);
      turnsfixture::AddFighter(kFirst + i, i % 2 ? 1 : 2, x, y, size);
      Creatures[kFirst + i].size.current = roll(2) ? 2 : 3;  // small ones hide in the grass
      Creatures[kFirst + i].hitPoints = 10 + roll(90);
      Creatures[kFirst + i].creatureClass = 1 + roll(5);
      Creatures[kFirst + i].dexterity = {8 + roll(10), 8 + roll(10)};
    }
    std::memset(&bow, 0, sizeof bow);
    bow.itemType = 32;
    bow.handling = 4;
    bow.proficiency = 1;
    bow.dieCount = 1;
    bow.dieSides = 6;
    bow.critLow = 20;
    bow.critMultiplier = 3;
    bow.range = 30 + 10 * roll(6);
    CreatureRecord& archer = Creatures[kFirst];
    archer.equipment[kSlotRanged - 1] = 20;
    archer.feats[kFeatPointBlankShot] = battle % 3 != 0 ? 1 : 0;
    archer.feats[kFeatPreciseShot] = battle == 3 ? 1 : 0;
    archer.feats[kFeatImprovedPreciseShot] = battle == 4 ? 1 : 0;
    archer.baseAttack = {1 + roll(10), 1 + roll(10)};
    if (battle == 5) AddCondition(kFirst, kCondBlinded, 10, 0, 31, 0);
    turnsfixture::StartTurn(kFirst, 30 + 30 * roll(2));
    RangedProfileEntry = 1;
    OptionWords[kOptionDisplayExpandedTooltip] = 1;
    ShotsRemembered = 1;
    const RangedTrace quick = TraceRangedGrid(kFirst);
    ShotTextsSkipped = 0;
    const RangedTrace texts = TraceRangedGrid(kFirst);
    ShotTextsSkipped = 1;
    ShotsRemembered = 0;
    const RangedTrace plain = TraceRangedGrid(kFirst);
    ShotsRemembered = 1;
    EXPECT_EQ(quick.grid, plain.grid) << "battle " << battle;
    EXPECT_TRUE(quick == plain) << "battle " << battle;
    EXPECT_TRUE(quick == texts) << "battle " << battle;
    EXPECT_FALSE(quick.label.empty()) << "battle " << battle;
    // An evaluation without its texts answers the same chance; one outside a
    // grid, or one asked for its profile, writes them all.
    for (int e = kFirst + 1; e < kFirst + 14; e += 2) {
      EvaluationTextsWritten = 0;
      const int bare = ResolveAttack(kFirst, e, 1, 0, 1, 0, 0, nullptr);
      EXPECT_EQ(AttackLabel[0], '\0');
      AttackProfile asked{};
      const int withProfile = ResolveAttack(kFirst, e, 1, 0, 1, 0, 0, &asked);
      EXPECT_NE(asked.entries[1].attackRoll.caption[0], '\0');
      EvaluationTextsWritten = 1;
      AttackProfile shown{};
      EXPECT_EQ(ResolveAttack(kFirst, e, 1, 0, 1, 0, 0, &shown), bare) << "battle " << battle;
      EXPECT_EQ(withProfile, bare);
      EXPECT_STREQ(AttackLabel, quick.label.c_str());
      EXPECT_STREQ(shown.entries[1].attackRoll.caption, asked.entries[1].attackRoll.caption);
    }
    // The shots are really weighed: some square is worth shooting from.
    EXPECT_GT(*std::max_element(plain.grid.begin(), plain.grid.end()), 0) << "battle " << battle;
  }
  RangedProfileEntry = -1;
  OptionWords[kOptionDisplayExpandedTooltip] = DefaultOptionWords[kOptionDisplayExpandedTooltip];
  bow = {};
}

}  // namespace

namespace {

// Archers among crowds in walled rooms with hedges and doors, magic areas
// about, wide targets and heaps of fighters on one square, ranges short and
// beyond what the lines are surveyed together for, a wide or precise archer,
// and in one battle targets whose records have not settled (the first shot
// evaluated at each changes its footprint): the lines surveyed for the whole
// grid and the squares taking the worth of squares that looked up the same
// shots give the grid, and leave the battle, exactly as the shots looked up
// square by square, the lines walked one by one and the shots evaluated one
// by one do.
TEST(GridSameness, RangedGridSurveysItsLinesWithoutChangingTheGridOrWhatItLeaves) {
  std::mt19937 rng(4242);
  auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  CraftedWeaponRecord& bow = CraftedWeapons[20];
  constexpr int kCount = 18;
  int unsettledChanged = 0;
  for (int battle = 0; battle < 8; ++battle) {
    std::vector<std::string> rows(32, std::string(32, '.'));
    const char walls[] = {'#', '#', '#', 'h', '+'};
    for (int k = 0; k < 70; ++k) rows[roll(32)][roll(32)] = walls[roll(5)];
    turnsfixture::NewBattle(rows);
    for (int k = 0; k < 25; ++k)
      MagicAreaGrid[SquareIndex(roll(32), roll(32))] = {static_cast<uint32_t>(1 + roll(7)), 3, 0};
    for (int k = 0; k < 30; ++k) CurrentMap.At(kLayerFloor, roll(32), roll(32)) = 123;
    for (int i = 0; i < kCount; ++i) {
      const int size = i == 0 ? 1 + (battle == 5) : roll(4) == 0 ? 2 : 1;
      turnsfixture::AddFighter(kFirst + i, i % 2 ? 1 : 2, roll(30), roll(30), size);
      Creatures[kFirst + i].hitPoints = 10 + roll(90);
      Creatures[kFirst + i].dexterity = {8 + roll(10), 8 + roll(10)};
    }
    Creatures[kFirst + 3].squareX = Creatures[kFirst + 5].squareX;  // two foes heaped on one square
    Creatures[kFirst + 3].squareY = Creatures[kFirst + 5].squareY;
    if (battle == 6) {
      // Not yet recomputed: foes drawn wider, the archer drawn narrower, than they are.
      for (int i = 1; i < kCount; i += 2) Creatures[kFirst + i].footprintWidth.current = 2;
      Creatures[kFirst].footprintWidth.base = 2;
    }
    std::memset(&bow, 0, sizeof bow);
    bow.itemType = 32;
    bow.handling = 4;
    bow.proficiency = 1;
    bow.dieCount = 1;
    bow.dieSides = 6;
    bow.critLow = 20;
    bow.critMultiplier = 3;
    bow.range = battle == 7 ? 200 : battle == 4 ? 150 : 40 + 10 * roll(8);
    CreatureRecord& archer = Creatures[kFirst];
    archer.equipment[kSlotRanged - 1] = 20;
    archer.feats[kFeatPointBlankShot] = 1;
    archer.feats[kFeatImprovedPreciseShot] = battle == 3 ? 1 : 0;
    turnsfixture::StartTurn(kFirst, 30 + 30 * roll(2));
    RangedProfileEntry = 1;
    std::vector<CreatureRecord> before(Creatures + kFirst, Creatures + kFirst + kCount);
    OptionWords[kOptionDisplayExpandedTooltip] = battle % 2;
    auto trace = [&](uint8_t shots, uint8_t lines, uint8_t skipped, uint8_t texts = 1) {
      std::copy(before.begin(), before.end(), Creatures + kFirst);
      ShotsRemembered = shots;
      CoverLinesSurveyed = lines;
      ShotsSkipped = skipped;
      ShotTextsSkipped = texts;
      const RangedTrace t = TraceRangedGrid(kFirst);
      ShotsRemembered = 1;
      CoverLinesSurveyed = 1;
      ShotsSkipped = 1;
      ShotTextsSkipped = 1;
      return t;
    };
    const RangedTrace quick = trace(1, 1, 1);
    if (battle == 6) {
      EXPECT_EQ(Creatures[kFirst].footprintWidth.current, 2) << "the archer was recomputed";
    }
    for (int i = 0; i < kCount; ++i)
      unsettledChanged += Creatures[kFirst + i].footprintWidth.current != before[i].footprintWidth.current;
    const RangedTrace looked = trace(1, 1, 0);
    const RangedTrace walked = trace(1, 0, 0);
    const RangedTrace plain = trace(0, 1, 1);
    const RangedTrace written = trace(1, 1, 1, 0);
    const RangedTrace writtenAll = trace(1, 0, 0, 0);
    EXPECT_TRUE(quick == written) << "battle " << battle;
    EXPECT_TRUE(walked == writtenAll) << "battle " << battle;
    EXPECT_EQ(quick.grid, looked.grid) << "battle " << battle;
    EXPECT_TRUE(quick == looked) << "battle " << battle;
    EXPECT_EQ(quick.grid, walked.grid) << "battle " << battle;
    EXPECT_TRUE(quick == walked) << "battle " << battle;
    EXPECT_EQ(quick.grid, plain.grid) << "battle " << battle;
    EXPECT_TRUE(quick == plain) << "battle " << battle;
    EXPECT_GT(*std::max_element(plain.grid.begin(), plain.grid.end()), 0) << "battle " << battle;
  }
  EXPECT_GT(unsettledChanged, 0) << "a target's footprint changed while the grid was scored";
  RangedProfileEntry = -1;
  OptionWords[kOptionDisplayExpandedTooltip] = DefaultOptionWords[kOptionDisplayExpandedTooltip];
  bow = {};
}

}  // namespace

namespace {

// Clawing fighters in crowded rooms with walls, their chances near the line
// where a blow counts as sure, so that flanking, a surrounded target and a
// wall corner between the two each decide it: the remembered blows give the
// grid, and leave behind, what evaluating every blow does; so does the
// fighter's profile kept while its record stays the same.
TEST(GridSameness, MeleeGridRemembersBlowsWithoutChangingTheGridOrWhatItLeaves) {
  std::mt19937 rng(77);
  auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  int differing = 0;
  for (int battle = 0; battle < 8; ++battle) {
    std::vector<std::string> rows(16, std::string(16, '.'));
    for (int k = 0; k < 30; ++k) {
      const auto [x, y] = DrawSquare(roll, 16);
      rows[y][x] = '#';
    }
    turnsfixture::NewBattle(rows);
    for (int k = 0; k < 20; ++k) {
      const auto [x, y] = DrawSquare(roll, 16);
      CurrentMap.At(kLayerFloor, x, y) = 123;
    }
    for (int i = 0; i < 16; ++i) {
      const int size = roll(6) == 0 ? 2 : 1;
      const auto [x, y] = DrawSquare(roll, 15);
      turnsfixture::AddFighter(kFirst + i, i % 3 ? 1 : 2, x, y, size);
      CreatureRecord& c = Creatures[kFirst + i];
      c.naturalAttacks[0] = {2, 1, 20, 1, 1, 4, 0, 0, 0};  // a claw
      c.baseAttack = {roll(5), roll(5)};
      c.dexterity = {8 + roll(8), 8 + roll(8)};
      c.size.current = roll(2) ? 2 : 3;
      c.hitPoints = 20 + roll(80);
    }
    turnsfixture::StartTurn(kFirst, 60);
    BlowsRemembered = 1;
    BuildMeleeValuationGrid(kFirst, -1, battle % 2, 0, 1);
    const std::vector<int32_t> quick = Grid(), quickLeft = LeftBehind();
    BlowsRemembered = 0;
    ProfilesKept = 0;
    BuildMeleeValuationGrid(kFirst, -1, battle % 2, 0, 1);
    BlowsRemembered = 1;
    ProfilesKept = 1;
    EXPECT_EQ(quick, Grid()) << "battle " << battle;
    EXPECT_EQ(quickLeft, LeftBehind()) << "battle " << battle;
    differing += *std::max_element(quick.begin(), quick.end()) > 0 ? 1 : 0;
  }
  EXPECT_GT(differing, 4) << "squares worth standing on were scored";
}

}  // namespace

namespace {

// What a reachability pass gives and leaves: the grid, the walk records of
// the wanted squares (all but the note of attacks provoked on the square
// itself), and what its path searches leave on the battle.
struct ReachTrace {
  std::vector<int32_t> grid, records, arrows;
  std::vector<int32_t> slotPath, walk;
  int32_t pathIndex, destX, destY, nextX, nextY, cost, length;
  uint8_t shown;
  std::vector<uint8_t> marks;
  bool operator==(const ReachTrace&) const = default;
};

ReachTrace TraceReach(int mover, const std::vector<int32_t>& start, const uint8_t* flags) {
  std::copy(start.begin(), start.end(), ValuationGrid);
  ScoreGridReachability(mover, flags[0], flags[1], flags[2], flags[3]);
  ReachTrace t;
  t.grid = Grid();
  // The squares the pass weighs: wanted after the crowding rule (and, when
  // asked, worth 14 or more); the records of the others are never read.
  int positive = 0;
  int32_t best = -1;
  for (int32_t v : start) {
    positive += v > 0 ? 1 : 0;
    best = std::max(best, v);
  }
  for (int sq = 0; sq < kMapSquares; ++sq) {
    const bool crowded = positive > 14 && start[sq] < best / 2;
    if (start[sq] < (flags[3] ? 14 : 1) || crowded) continue;
    for (int k = 0; k < kTallyWords; ++k)
      if (k != 1) t.records.push_back(static_cast<int32_t>(ReachRecords[sq][k]));
  }
  t.arrows.assign(ArrowGrid, ArrowGrid + kMapSquares);
  const CreatureRecord& c = Creatures[mover];
  const FighterSlot& s = FighterSlots[c.fighterSlot];
  t.slotPath.assign(s.pathX, s.pathX + kPathLength);
  t.slotPath.insert(t.slotPath.end(), s.pathY, s.pathY + kPathLength);
  t.walk.assign(PathOutX, PathOutX + PathLength);
  t.walk.insert(t.walk.end(), PathOutY, PathOutY + PathLength);
  t.pathIndex = s.pathIndex;
  t.destX = c.destinationX;
  t.destY = c.destinationY;
  t.nextX = c.nextX;
  t.nextY = c.nextY;
  t.cost = PathCostFeet;
  t.length = PathLength;
  t.shown = PathShown;
  for (int i = 0; i < TurnEntryCount; ++i) t.marks.push_back(TurnOrder[i].threatMark);
  return t;
}

// Random battles on walled maps with a side room and its doorway, fire (some
// of it braziers), webs, entangling and blocking areas, difficult ground,
// enemies that may or may not strike, and movers of one and of four squares:
// the pass gives the same grid, the same records and leaves the battle the
// same whether the flood settles squares or every square is searched.
TEST(GridSameness, ReachabilityGivesTheSameWithAndWithoutTheFlood) {
  std::mt19937 rng(4242);
  auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  int settledBattles = 0;
  for (int battle = 0; battle < 40; ++battle) {
    std::vector<std::string> rows(30, std::string(30, '.'));
    for (int k = 0; k < 50 + roll(60); ++k) rows[roll(30)][roll(30)] = '#';
    turnsfixture::NewBattle(rows);
    const uint32_t kinds[] = {kEffectFire, kEffectWeb, kEffectEntangle, kEffectSolid, kEffectDarkness, kEffectSilence};
    for (int k = 0; k < roll(25); ++k)
      MagicAreaGrid[SquareIndex(roll(30), roll(30))] = {kinds[roll(6)], static_cast<uint32_t>(roll(3) == 0 ? 1000 : 3), 0};
    // Patches of entangling growth that slow a walk under any square of a footprint.
    for (int k = 0; k < 40; ++k) MagicAreaGrid[SquareIndex(roll(30), roll(30))] = {kEffectEntangle, 3, 0};
    for (int k = 0; k < roll(40); ++k) CurrentMap.At(kLayerFloor, roll(30), roll(30)) = 123;
    const int moverSize = battle % 4 == 3 ? 2 : 1;
    // In some battles the mover starts in the side room drawn below.
    const int mx = battle % 4 == 2 ? 2 + roll(8) : roll(28), my = battle % 4 == 2 ? 2 + roll(6) : roll(28);
    turnsfixture::AddFighter(kFirst, 2, mx, my, moverSize);
    for (int i = 1; i < 14; ++i) {
      // The first two stand beside the mover: walks that pass them cost no
      // more than walks that keep away, yet provoke them.
      const int x = i < 3 ? std::clamp(mx + (i == 1 ? -1 : 1 + moverSize - 1), 0, 29) : roll(29);
      const int y = i < 3 ? std::clamp(my + roll(3) - 1, 0, 29) : roll(29);
      turnsfixture::AddFighter(kFirst + i, roll(3) ? 1 : 2, x, y, roll(5) == 0 ? 2 : 1);
      Creatures[kFirst + i].attacksOfOpportunityLeft = roll(6) == 0 ? 0 : 1;
    }
    Creatures[kFirst].hitPoints = 20 + roll(100);
    Creatures[kFirst].feats[kFeatMobility] = roll(2);
    if (roll(3) == 0) Creatures[kFirst].kind = 88;
    turnsfixture::StartTurn(kFirst, 30 + 15 * roll(4));
    for (int i = 0; i < TurnEntryCount; ++i) TurnOrder[i].opportunityMark = roll(5) == 0 ? 1 : 0;
    // A side room in the corner behind a doorway, in half the battles the
    // mover's own.
    if (battle % 4 != 1) {
      for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 10; ++y) RegionGrid[SquareIndex(x, y)] = BlockedGrid[SquareIndex(x, y)] == 1 ? -1 : 3;
      RegionGrid[SquareIndex(12, 4)] = kDoorwayRegion;
      RegionGrid[SquareIndex(5, 10)] = kDoorwayRegion;
    }
    // The wanted squares: about a third of the map, in the room and out of it.
    std::vector<int32_t> start(kMapSquares, 0);
    for (int x = 0; x < 30; ++x)
      for (int y = 0; y < 30; ++y) {
        const int r = roll(9);
        start[SquareIndex(x, y)] = r < 3 ? 1 + roll(200) : r == 3 ? kUnfit : 0;
      }
    // Whether the flood settles any wanted square here (the test would say
    // nothing if it never did).
    if (FloodReach(kFirst, Creatures[kFirst].squareX, Creatures[kFirst].squareY, start.data())) {
      int settled = 0;
      for (int sq = 0; sq < kMapSquares; ++sq) settled += start[sq] >= 1 && FloodSettles(sq / kMapSide, sq % kMapSide);
      settledBattles += settled > 20 ? 1 : 0;
      ForgetFlood();
    }
    // The state the pass may leave changed, put back before each run.
    const CreatureRecord mover = Creatures[kFirst];
    const FighterSlot slot = FighterSlots[mover.fighterSlot];
    std::vector<TurnOrderEntry> order(TurnOrder, TurnOrder + TurnEntryCount);
    auto restore = [&] {
      Creatures[kFirst] = mover;
      FighterSlots[mover.fighterSlot] = slot;
      std::copy(order.begin(), order.end(), TurnOrder);
      std::fill(ArrowGrid, ArrowGrid + kMapSquares, -1);
      PathShown = 0;
      PathCostFeet = 0;
      PathLength = 0;
    };
    for (int options = 0; options < 3; ++options) {
      const uint8_t flags[3][4] = {{1, 1, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}};
      restore();
      ReachByFlood = 1;
      const ReachTrace quick = TraceReach(kFirst, start, flags[options]);
      restore();
      ReachByFlood = 0;
      const ReachTrace plain = TraceReach(kFirst, start, flags[options]);
      ReachByFlood = 1;
      EXPECT_EQ(quick.grid, plain.grid) << "battle " << battle << " options " << options;
      EXPECT_EQ(quick.records, plain.records) << "battle " << battle << " options " << options;
      EXPECT_TRUE(quick == plain) << "battle " << battle << " options " << options;
      // A decision weighing the same wanted squares again takes what its first
      // pass recorded, runs only the last search again, and leaves the same.
      restore();
      KeepReachPasses(true);
      TraceReach(kFirst, start, flags[options]);
      restore();
      const int32_t stamps = PathOnClosed;
      const ReachTrace again = TraceReach(kFirst, start, flags[options]);
      const int32_t searches = (PathOnClosed - stamps) / 2;
      EXPECT_TRUE(again == plain) << "battle " << battle << " options " << options;
      if (flags[options][3] == 0) {
        EXPECT_LE(searches, 1) << "battle " << battle << " options " << options;
      }
      // Once a fighter has stepped aside and a square burns, nothing kept serves.
      CreatureRecord& other = Creatures[kFirst + 3 + options];
      const int32_t ox = other.squareX;
      other.squareX = (ox + 7) % 29;
      const SquareEffectCell cell = MagicAreaGrid[SquareIndex(mx, (my + 2) % 30)];
      MagicAreaGrid[SquareIndex(mx, (my + 2) % 30)] = {kEffectFire, 3, 0};
      restore();
      const ReachTrace moved = TraceReach(kFirst, start, flags[options]);
      KeepReachPasses(false);
      restore();
      EXPECT_TRUE(moved == TraceReach(kFirst, start, flags[options])) << "battle " << battle << " options " << options;
      other.squareX = ox;
      MagicAreaGrid[SquareIndex(mx, (my + 2) % 30)] = cell;
    }
  }
  EXPECT_GE(settledBattles, 15) << "the flood settled many wanted squares in most battles";
}

}  // namespace
