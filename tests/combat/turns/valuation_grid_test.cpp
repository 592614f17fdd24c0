// The common passes of the valuation grid and the best square read from it.
#include "combat/turns/valuation_grid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "combat/turns/best_square.h"
#include "combat/turns/turns_fixture.h"
#include "map/fighter_tests.h"
#include "map/path_finding.h"
#include "map/reach_flood.h"
#include "rules/conditions.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"

namespace {

using turnsfixture::Value;
constexpr int kMe = 100, kFoe = 101, kFoe2 = 102, kFoe3 = 103;

TEST(ValuationGrid, CrowdingLeavesFourteenWantedSquaresAndCutsTheWeakOnesOfFifteen) {
  turnsfixture::NewBattle({"..........", "..........", ".........."});
  turnsfixture::AddFighter(kMe, 2, 0, 0);
  turnsfixture::StartTurn(kMe);
  for (int n : {14, 15}) {
    std::memset(ValuationGrid, 0, sizeof ValuationGrid);
    // 3, 6, ... along x = 9, and 40 at (9, 0).
    for (int i = 1; i < n; ++i) ValuationGrid[SquareIndex(9, i)] = 3 * i;
    ValuationGrid[SquareIndex(9, 0)] = 40;
    // Unreachable squares keep their worth: no drop, no one-move rule.
    ScoreGridReachability(kMe, 0, 0, 0, 0);
    if (n == 14) {
      EXPECT_EQ(Value(9, 1), 3) << "14 positive squares: no crowding";
    } else {
      // The maximum is 42: below 21 becomes -1, 21 and above stay.
      EXPECT_EQ(Value(9, 6), -1);
      EXPECT_EQ(Value(9, 7), 21);
    }
  }
}

TEST(ValuationGrid, WalkCostsFollowTheRecordedTallies) {
  // A plain re-computation of the walk penalty from the path records of a few squares.
  turnsfixture::NewBattle({
      "..........",
      "..........",
      "..........",
      "..........",
  });
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::AddFighter(kFoe, 1, 1, 0);
  turnsfixture::AddFighter(kFoe2, 1, 1, 3);
  Creatures[kMe].hitPoints = 41;
  turnsfixture::StartTurn(kMe);
  MagicAreaGrid[SquareIndex(5, 1)] = {kEffectWeb, 3, 0};
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  const int squares[][2] = {{9, 1}, {6, 1}, {5, 1}, {2, 2}, {0, 2}};
  for (auto& s : squares) ValuationGrid[SquareIndex(s[0], s[1])] = 500;
  ScoreGridReachability(kMe, 0, 1, 0, 0);
  for (auto& s : squares) {
    const uint32_t* r = ReachRecords[SquareIndex(s[0], s[1])];
    ASSERT_NE(static_cast<int32_t>(r[6]), -1) << s[0] << "," << s[1];
    const int attacks = static_cast<int32_t>(r[0]);
    int penalty = attacks * 9;
    if (attacks > 1) penalty = 85;  // 41 hit points without Mobility
    const bool neighbour = std::abs(s[0] - 0) <= 1 && std::abs(s[1] - 1) <= 1;
    if (neighbour) penalty = 0;      // a free five-foot step
    // The fighter stands threatened, so webs on the way weigh 75 each.
    const int expected = 500 - penalty - static_cast<int32_t>(r[4]) * 75;
    const int32_t got = Value(s[0], s[1]);
    EXPECT_TRUE(got == expected || got == expected + 1) << s[0] << "," << s[1] << " got " << got;
  }
}

TEST(ValuationGrid, HeavyThreatAtFortyOneHitPoints) {
  // Two attacks on the walk: 85 without Mobility, 2 x 6 with it.
  turnsfixture::NewBattle({".......", ".......", "......."});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::AddFighter(kFoe, 1, 0, 0);
  turnsfixture::AddFighter(kFoe2, 1, 1, 2);
  Creatures[kMe].hitPoints = 41;
  turnsfixture::StartTurn(kMe);
  for (int mobility : {0, 1}) {
    Creatures[kMe].feats[kFeatMobility] = mobility;
    std::memset(ValuationGrid, 0, sizeof ValuationGrid);
    ValuationGrid[SquareIndex(6, 1)] = 200;
    ScoreGridReachability(kMe, 0, 1, 0, 0);
    const uint32_t* r = ReachRecords[SquareIndex(6, 1)];
    const int attacks = static_cast<int32_t>(r[0]);
    if (attacks != 2) GTEST_SKIP() << "the path provoked " << attacks;
    // The single best square also wins the tie-break.
    EXPECT_EQ(Value(6, 1), mobility ? 200 - 12 + 1 : 200 - 85 + 1);
  }
}

TEST(ValuationGrid, FireAndWebUnderTheFootprintBothPay) {
  turnsfixture::NewBattle({".....", ".....", "....."});
  turnsfixture::AddFighter(kMe, 2, 0, 0, 2);
  turnsfixture::StartTurn(kMe);
  MagicAreaGrid[SquareIndex(3, 1)] = {kEffectFire, 3, 0};
  MagicAreaGrid[SquareIndex(2, 2)] = {kEffectWeb, 3, 0};
  MagicAreaGrid[SquareIndex(0, 2)] = {kEffectInsectPlague, 3, 0};
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  ValuationGrid[SquareIndex(2, 1)] = 200;  // footprint (2..3, 1..2): fire and web
  ValuationGrid[SquareIndex(0, 1)] = 200;  // footprint (0..1, 1..2): plague
  ValuationGrid[SquareIndex(1, 0)] = kUnfit;
  ScoreGridAdjustments(kMe);
  EXPECT_EQ(Value(2, 1), 200 - 100 - 30);
  EXPECT_EQ(Value(0, 1), 200 - 5);
  EXPECT_EQ(Value(1, 0), kUnfit);
  // A creature not hurt by fire pays only for the web.
  Creatures[kMe].kind = 1;
  ValuationGrid[SquareIndex(2, 1)] = 200;
  ScoreGridAdjustments(kMe);
  EXPECT_EQ(Value(2, 1), 200 - 30);
}

TEST(BestSquare, NoWorthyMaximumGivesNoSquare) {
  turnsfixture::NewBattle({".....", ".....", "....."});
  turnsfixture::AddFighter(kMe, 2, 0, 0);
  turnsfixture::StartTurn(kMe);
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  uint8_t kept = 7;
  EXPECT_EQ(ExtractBestSquare(kMe, 0, &kept), kNoSquare);
  EXPECT_EQ(kept, 0);
  // A maximum no better than the fighter's own square.
  ValuationGrid[SquareIndex(0, 0)] = 9;
  ValuationGrid[SquareIndex(4, 2)] = 9;
  EXPECT_EQ(ExtractBestSquare(kMe, 0, nullptr), kNoSquare);
}

TEST(BestSquare, EqualMaximaAtEqualCostGoToTheFirstInXMajorOrderAndTheWalkIsKept) {
  turnsfixture::NewBattle({".....", ".....", "....."});
  turnsfixture::AddFighter(kMe, 2, 2, 1);
  turnsfixture::StartTurn(kMe);
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  ValuationGrid[SquareIndex(4, 1)] = 30;  // ten feet to the right
  ValuationGrid[SquareIndex(0, 1)] = 30;  // ten feet to the left, met first
  uint8_t kept = 0;
  const int64_t s = ExtractBestSquare(kMe, 0, &kept);
  EXPECT_EQ(SquareXOf(s), 0);
  EXPECT_EQ(SquareYOf(s), 1);
  EXPECT_EQ(kept, 1);
  EXPECT_EQ(Creatures[kMe].destinationX, 0);
}

TEST(BestSquare, TooFarAwayStopsAtTheLastSquareWithinTheMoves) {
  turnsfixture::NewBattle({"...............", "...............", "..............."});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::StartTurn(kMe, 30);
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  ValuationGrid[SquareIndex(14, 1)] = 30;
  const int64_t s = ExtractBestSquare(kMe, 0, nullptr);
  ASSERT_NE(s, kNoSquare);
  EXPECT_EQ(SquareXOf(s), 6) << "30 feet are six straight steps";
  EXPECT_EQ(SquareYOf(s), 1);
}

TEST(BestSquare, ACasterWalkingBackPassesSquaresBesideEnemies) {
  turnsfixture::NewBattle({"...............", "...............", "..............."});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::AddFighter(kFoe, 1, 7, 0);
  Creatures[kMe].creatureClass = 4;
  Creatures[kMe].spellsLeft[0] = 1;
  Creatures[kMe].knownSpells[1] = 1;
  SpellTable[1].level = 1;
  turnsfixture::StartTurn(kMe, 30);
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  ValuationGrid[SquareIndex(14, 1)] = 30;
  const int64_t s = ExtractBestSquare(kMe, 0, nullptr);
  ASSERT_NE(s, kNoSquare);
  // (6, 1) lies beside the enemy at (7, 0): the caster stops one square short.
  EXPECT_EQ(SquareXOf(s), 5);
  SpellTable[1].level = 0;
}

}  // namespace

namespace {

TEST(ValuationGrid, OneMoveBonusFollowsTheSquaresOwnWalkNotTheLastSearch) {
  // A corridor: the far square is searched first and its walk, beyond the
  // moves left, crosses the near square, which reuses that record. The near
  // square is within one move and gains the bonus all the same.
  turnsfixture::NewBattle({"####################", "....................", "####################"});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::StartTurn(kMe, 60);  // speed 30: one move is 30 feet
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  ValuationGrid[SquareIndex(15, 1)] = 100;  // 75 feet away: beyond the moves left
  ValuationGrid[SquareIndex(3, 1)] = 100;   // 15 feet away
  ValuationGrid[SquareIndex(8, 1)] = 100;   // 40 feet away: within the moves, not one move
  ScoreGridReachability(kMe, 1, 1, 0, 0);
  EXPECT_EQ(static_cast<int32_t>(ReachRecords[SquareIndex(3, 1)][6]), 15);
  EXPECT_EQ(Value(3, 1), 100 + 16 + 1) << "one move away, and the cheapest of the best";
  EXPECT_EQ(Value(8, 1), 100);
  EXPECT_EQ(Value(15, 1), 100);
}

}  // namespace

namespace {

// The pass with the flood and with a search for every square: same grid and
// same records on the wanted squares.
void ExpectSameWithAndWithoutFlood(int mover, const std::vector<std::pair<int, int>>& wanted) {
  std::vector<int32_t> grids[2];
  std::vector<uint32_t> records[2];
  for (int flood : {1, 0}) {
    ReachByFlood = static_cast<uint8_t>(flood);
    std::memset(ValuationGrid, 0, sizeof ValuationGrid);
    for (auto [x, y] : wanted) ValuationGrid[SquareIndex(x, y)] = 100;
    ScoreGridReachability(mover, 0, 1, 0, 0);
    grids[flood].assign(ValuationGrid, ValuationGrid + kMapSquares);
    // All but the note of attacks provoked on the square itself, which only
    // searches crossing the square write and the pass never reads.
    for (auto [x, y] : wanted)
      for (int k = 0; k < kTallyWords; ++k)
        if (k != 1) records[flood].push_back(ReachRecords[SquareIndex(x, y)][k]);
  }
  ReachByFlood = 1;
  EXPECT_EQ(grids[0], grids[1]);
  EXPECT_EQ(records[0], records[1]);
}

TEST(ReachFlood, EquallyCheapWalksPastDifferentEnemiesLeaveTheSquareToItsSearch) {
  // A pillar between the mover and the square: round it by the top, past
  // one enemy, or by the bottom, past two others.
  turnsfixture::NewBattle({"........", "........", "..#.....", "........", "........"});
  turnsfixture::AddFighter(kMe, 2, 0, 2);
  turnsfixture::AddFighter(kFoe, 1, 2, 0);
  turnsfixture::AddFighter(kFoe2, 1, 2, 4);
  turnsfixture::AddFighter(kFoe3, 1, 3, 4);
  turnsfixture::StartTurn(kMe);
  static int32_t wanted[kMapSquares];
  std::fill(wanted, wanted + kMapSquares, 0);
  wanted[SquareIndex(4, 2)] = wanted[SquareIndex(3, 1)] = wanted[SquareIndex(7, 2)] = wanted[SquareIndex(7, 0)] = 100;
  ASSERT_TRUE(FloodReach(kMe, 0, 2, wanted));
  EXPECT_FALSE(FloodSettles(4, 2)) << "one attack or two, depending on the way round";
  EXPECT_TRUE(FloodSettles(7, 0)) << "straight along the top: one way only";
  ForgetFlood();
  ExpectSameWithAndWithoutFlood(kMe, {{4, 2}, {3, 1}, {7, 2}, {7, 0}});
}

TEST(ReachFlood, EquallyCheapWalksPastAsManyEnemiesEachRecordAlike) {
  // Round the pillar by the top past one enemy, or by the bottom past the
  // other: one attack either way, on every square beyond the pillar.
  turnsfixture::NewBattle({"..........", "..........", "..#.......", "..........", ".........."});
  turnsfixture::AddFighter(kMe, 2, 0, 2);
  turnsfixture::AddFighter(kFoe, 1, 2, 0);
  turnsfixture::AddFighter(kFoe2, 1, 2, 4);
  turnsfixture::StartTurn(kMe);
  static int32_t wanted[kMapSquares];
  std::fill(wanted, wanted + kMapSquares, 0);
  std::vector<std::pair<int, int>> squares;
  for (int x = 0; x < 10; ++x)
    for (int y = 0; y < 5; ++y)
      if (x != 0 && x != 2) squares.push_back({x, y});
  for (auto [x, y] : squares) wanted[SquareIndex(x, y)] = 100;
  ASSERT_TRUE(FloodReach(kMe, 0, 2, wanted));
  for (auto [x, y] : {std::pair{4, 2}, {5, 2}, {9, 2}}) {
    EXPECT_TRUE(FloodSettles(x, y)) << x << " one enemy or the other strikes, one attack either way";
    uint32_t rec[kTallyWords] = {};
    FloodRecord(x, y, rec);
    EXPECT_EQ(rec[0], 1u) << x;
  }
  ForgetFlood();
  ExpectSameWithAndWithoutFlood(kMe, squares);
}

TEST(ReachFlood, WalksTheFloodCanTellStandForTheirSearches) {
  // Crowds among pillars, grass and webs: many squares are reached by equally
  // cheap walks that record otherwise. Where the search's own order picks one
  // walk, or every walk it may pick records alike, the flood stands for it.
  std::mt19937 rng(7);
  auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  int told[2] = {0, 0};  // by a one-square mover, by a large one
  for (int battle = 0; battle < 6; ++battle) {
    std::vector<std::string> rows(30, std::string(30, '.'));
    for (int k = 0; k < 60; ++k) rows[roll(30)][roll(30)] = '#';
    rows[15][15] = '.';
    turnsfixture::NewBattle(rows);
    for (int k = 0; k < 150; ++k) CurrentMap.At(kLayerFloor, roll(30), roll(30)) = 123;
    for (int k = 0; k < 10; ++k) MagicAreaGrid[SquareIndex(roll(30), roll(30))] = {kEffectWeb, 3, 10};
    turnsfixture::AddFighter(kMe, 2, 15, 15, battle % 3 == 2 ? 2 : 1);
    for (int i = 0; i < 24; ++i) {
      const int x = roll(30), y = roll(30);
      if (rows[y][x] == '.' && std::max(std::abs(x - 15), std::abs(y - 15)) > 2)
        turnsfixture::AddFighter(kFoe + 10 + i, 1, x, y);
    }
    turnsfixture::StartTurn(kMe);
    static int32_t wanted[kMapSquares];
    std::fill(wanted, wanted + kMapSquares, 0);
    std::vector<std::pair<int, int>> squares;
    for (int x = 0; x < 30; ++x)
      for (int y = 0; y < 30; ++y)
        if (roll(2) == 0 && FootprintFitsAt(x, y, kMe, 0)) {
          squares.push_back({x, y});
          wanted[SquareIndex(x, y)] = 100;
        }
    ASSERT_TRUE(FloodReach(kMe, 15, 15, wanted));
    for (auto [x, y] : squares) told[battle % 3 == 2] += !FloodSettles(x, y) && FloodWalk(x, y, nullptr, nullptr);
    ForgetFlood();
    ExpectSameWithAndWithoutFlood(kMe, squares);
  }
  EXPECT_GT(told[0], 10);
  EXPECT_GT(told[1], 3);
}

TEST(ReachFlood, AWantedDoorwayOnTheWayIsSearchedByItsOwnRules) {
  // The mover's walk to h goes round below and in through the doorway d; a
  // search for d itself may cut through the side room R (and runs after h's,
  // d being nearer).
  turnsfixture::NewBattle({
      "..RRRRd.g#",  // the mover at (0, 0); R is open floor of the side room; g is h
      ".#####.###",
      "..........",
  });
  turnsfixture::AddFighter(kMe, 2, 0, 0);
  turnsfixture::StartTurn(kMe);
  std::fill(RegionGrid, RegionGrid + kMapSquares, -1);
  for (int x = 2; x <= 5; ++x) RegionGrid[SquareIndex(x, 0)] = 3;
  RegionGrid[SquareIndex(6, 0)] = kDoorwayRegion;
  static int32_t wanted[kMapSquares];
  std::fill(wanted, wanted + kMapSquares, 0);
  wanted[SquareIndex(6, 0)] = wanted[SquareIndex(8, 0)] = 100;
  ASSERT_TRUE(FloodReach(kMe, 0, 0, wanted));
  EXPECT_FALSE(FloodSettles(6, 0)) << "the doorway follows other rules";
  EXPECT_FALSE(FloodSettles(8, 0)) << "its walk crosses the wanted doorway";
  ForgetFlood();
  ExpectSameWithAndWithoutFlood(kMe, {{6, 0}, {8, 0}});
  EXPECT_GT(static_cast<int32_t>(ReachRecords[SquareIndex(6, 0)][6]), 30) << "the doorway kept the walk round below";
}

}  // namespace

namespace {

TEST(ReachFlood, EquallyCheapWalksThroughAndRoundAFireLeaveTheSquareToItsSearch) {
  // A fire that costs this fighter nothing to cross (no brazier): round the
  // pillar by the top through the fire, or by the bottom outside it.
  turnsfixture::NewBattle({"........", "........", "..#.....", "........", "........"});
  turnsfixture::AddFighter(kMe, 2, 0, 2);
  Creatures[kMe].kind = 88;
  turnsfixture::StartTurn(kMe);
  MagicAreaGrid[SquareIndex(2, 1)] = {kEffectFire, 3, 0};
  static int32_t wanted[kMapSquares];
  std::fill(wanted, wanted + kMapSquares, 0);
  wanted[SquareIndex(4, 2)] = wanted[SquareIndex(3, 1)] = wanted[SquareIndex(3, 3)] = wanted[SquareIndex(7, 4)] = 100;
  ASSERT_TRUE(FloodReach(kMe, 0, 2, wanted));
  EXPECT_FALSE(FloodSettles(4, 2)) << "one way round enters the fire, the other does not";
  ASSERT_TRUE(FloodSettles(3, 1));
  uint32_t rec[kTallyWords] = {};
  FloodRecord(3, 1, rec);
  EXPECT_EQ(rec[2], 1u) << "one way only, through the fire";
  ForgetFlood();
  ExpectSameWithAndWithoutFlood(kMe, {{4, 2}, {3, 1}, {3, 3}, {7, 4}});
}

TEST(ReachFlood, WalksAlongTheMapsEdgesRecordAsTheirSearches) {
  // The whole map: the flood never steps off one edge onto the other side.
  std::vector<std::string> rows(kMapSide, std::string(kMapSide, '.'));
  for (int y = 0; y < kMapSide - 2; ++y) rows[y][30] = '#';
  turnsfixture::NewBattle(rows);
  turnsfixture::AddFighter(kMe, 2, 0, 0);
  turnsfixture::AddFighter(kFoe, 1, kMapSide - 1, 1);
  turnsfixture::StartTurn(kMe);
  ExpectSameWithAndWithoutFlood(kMe, {{0, kMapSide - 1}, {kMapSide - 1, 0}, {kMapSide - 1, kMapSide - 1},
                                      {29, 0}, {31, 0}, {kMapSide - 2, 2}, {5, kMapSide - 1}});
}

TEST(RoomRules, TheStepCostsOfTheWholeMapAreEachSquaresOwn) {
  turnsfixture::NewBattle({"..........", ".##.......", "....#.....", ".........."});
  turnsfixture::AddFighter(kMe, 2, 0, 0);
  turnsfixture::AddFighter(kFoe, 1, 5, 2);
  turnsfixture::StartTurn(kMe);
  MagicAreaGrid[SquareIndex(7, 1)] = {kEffectWeb, 3, 10};
  ASSERT_TRUE(BeginRoomRules(kMe, 0, 0));
  static int16_t all[kMapSquares];
  RoomStepExtraCosts(all);
  int unfit = 0, dearer = 0;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      ASSERT_EQ(all[SquareIndex(x, y)], RoomStepExtraCost(x, y)) << x << "," << y;
      unfit += all[SquareIndex(x, y)] < 0;
      dearer += all[SquareIndex(x, y)] > 0;
    }
  EndRoomRules();
  EXPECT_GT(unfit, 0) << "walls and the enemy's square";
  EXPECT_GT(dearer, 0) << "the web and the enemy's reach";
}

}  // namespace

namespace {

TEST(ReachabilityPass, SquaresBelowFourteenAreDroppedBeforeAndAsTheyAreWeighed) {
  // A corridor with a web: a square worth 20 beyond it falls to 6 and is
  // dropped; one worth 13 is dropped at once; one worth 100 keeps 86.
  turnsfixture::NewBattle({"##########", "..........", "##########"});
  turnsfixture::AddFighter(kMe, 2, 0, 1);
  turnsfixture::StartTurn(kMe);
  MagicAreaGrid[SquareIndex(3, 1)] = {kEffectWeb, 3, 10};
  for (int flood : {1, 0}) {
    ReachByFlood = static_cast<uint8_t>(flood);
    std::memset(ValuationGrid, 0, sizeof ValuationGrid);
    ValuationGrid[SquareIndex(2, 1)] = 13;
    ValuationGrid[SquareIndex(6, 1)] = 20;
    ValuationGrid[SquareIndex(8, 1)] = 100;
    ScoreGridReachability(kMe, 0, 1, 0, 1);
    EXPECT_EQ(Value(2, 1), kUnfit);
    EXPECT_EQ(Value(6, 1), kUnfit) << "one web on the way";
    EXPECT_EQ(Value(8, 1), 100 - 14 + 1) << "one web on the way, and the best";
  }
  ReachByFlood = 1;
}

}  // namespace

// A one-square fighter's areas, grass and squares off the map weigh as any
// fighter's do: each kind on its own square, against the same squares scored
// for a fighter whose braziers make every square be looked at in full.
TEST(ValuationGrid, EachKindOfAreaUnderOneSquareWeighsAsInFull) {
  turnsfixture::NewBattle({".....", ".....", ".....", ".....", "....."});
  turnsfixture::AddFighter(kMe, 2, 0, 0);
  turnsfixture::StartTurn(kMe);
  const uint32_t kinds[] = {kEffectInsectPlague, kEffectSilence, kEffectDarkness, kEffectEntangle,
                            kEffectWeb,          kEffectFire,    kEffectSolid};
  for (int k = 0; k < 7; ++k) MagicAreaGrid[SquareIndex(1 + k / 3, 1 + k % 3)] = {kinds[k], 3, 0};
  for (int x : {1, 3}) CurrentMap.At(kLayerFloor, x, 3) = 123;  // grass in the dark and in the open
  auto scored = [](int32_t kind) {
    Creatures[kMe].kind = kind;
    std::memset(ValuationGrid, 0, sizeof ValuationGrid);
    for (int x = 0; x < 5; ++x)
      for (int y = 0; y < 5; ++y) ValuationGrid[SquareIndex(x, y)] = 100;
    ValuationGrid[SquareIndex(7, 7)] = 100;  // off the map
    ScoreGridAdjustments(kMe);
    return std::vector<int32_t>(ValuationGrid, ValuationGrid + kMapSquares);
  };
  const std::vector<int32_t> hurt = scored(0);
  EXPECT_EQ(hurt[SquareIndex(1, 1)], 100 - 5);
  EXPECT_EQ(hurt[SquareIndex(2, 1)], 100 - 10);
  EXPECT_EQ(hurt[SquareIndex(2, 2)], 100 - 30);
  EXPECT_EQ(hurt[SquareIndex(2, 3)], 100 - 100);
  EXPECT_EQ(hurt[SquareIndex(1, 3)], 100 + 4 - 30);  // a fighter that needs its sight
  EXPECT_EQ(hurt[SquareIndex(3, 3)], 100 + 4);
  EXPECT_EQ(hurt[SquareIndex(7, 7)], 100);
  EXPECT_EQ(scored(1), scored(88));
}

namespace {

// What a pass leaves of the fighter's path, with the flood and without.
struct LeftPath {
  int32_t nextX, nextY, destX, destY, pathIndex, cost, length;
  uint8_t shown;
  bool operator==(const LeftPath&) const = default;
};

LeftPath PassLeaves(int mover, const std::vector<std::pair<int, int>>& wanted, int flood) {
  CreatureRecord& c = Creatures[mover];
  c.nextX = c.destinationX = 7;  // left over from some earlier walk
  c.nextY = c.destinationY = 1;
  FighterSlots[c.fighterSlot].pathIndex = 3;
  PathShown = 1;
  PathCostFeet = 55;
  PathLength = 3;
  ReachByFlood = static_cast<uint8_t>(flood);
  std::memset(ValuationGrid, 0, sizeof ValuationGrid);
  for (auto [x, y] : wanted) ValuationGrid[SquareIndex(x, y)] = 100;
  ScoreGridReachability(mover, 0, 1, 0, 0);
  ReachByFlood = 1;
  return {c.nextX, c.nextY, c.destinationX, c.destinationY, FighterSlots[c.fighterSlot].pathIndex,
          PathCostFeet, PathLength, PathShown};
}

TEST(ReachFlood, SquaresNoWalkReachesLeaveWhatTheirSearchesWould) {
  // A walled-off pocket and a square a friend stands on: no walk gets there.
  turnsfixture::NewBattle({"......#...", "......#...", "......#...", "......#..."});
  std::fill(RegionGrid, RegionGrid + kMapSquares, 0);
  turnsfixture::AddFighter(kMe, 2, 0, 0);
  turnsfixture::AddFighter(kFoe, 2, 3, 3);
  turnsfixture::StartTurn(kMe);
  const std::vector<std::pair<int, int>> pocket = {{7, 0}, {8, 1}, {9, 2}, {8, 3}, {9, 0}};
  for (int open : {0, 1}) {
    // With an open square among them, the last search is that square's; the
    // friend's square still abandoned the walk the fighter had.
    std::vector<std::pair<int, int>> wanted = pocket;
    wanted.push_back({3, 3});
    if (open) wanted.push_back({2, 1});
    const LeftPath quick = PassLeaves(kMe, wanted, 1), plain = PassLeaves(kMe, wanted, 0);
    EXPECT_TRUE(quick == plain) << open;
    EXPECT_EQ(quick.nextX, 0) << open;
  }
}

}  // namespace

namespace {

// A record not yet written, as a pass starts with.
void ClearRecordsOf(PathTallyRecord* records) {
  for (int sq = 0; sq < kMapSquares; ++sq) {
    std::fill(records[sq], records[sq] + kTallyWords, 0u);
    records[sq][0] = records[sq][kTallyWords - 1] = static_cast<uint32_t>(-1);
  }
}

TEST(ReachFlood, ADoubtfulSquareHoldingWhatTheWalksRecordLeavesThemTold) {
  // The wanted squares taken farthest first as a pass takes them, each search
  // writing its walk's records on the way. Where equally cheap walks cross
  // different doubtful squares, a square that already holds what a walk would
  // write there no longer tells them apart: the flood then writes exactly
  // what the search itself writes.
  std::mt19937 rng(11);
  auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  static PathTallyRecord records[kMapSquares], byFlood[kMapSquares], bySearch[kMapSquares];
  int heldTold = 0, compared = 0;
  for (int battle = 0; battle < 12; ++battle) {
    // A wall across the field with a gap, webs and rough ground past it: the
    // walks beyond come through the gap over or round a web, and the far
    // squares, searched first, have crossed the near ones.
    std::vector<std::string> rows(24, std::string(24, '.'));
    for (int y = 0; y < 24; ++y) rows[y][8] = '#';
    const int gap = 8 + roll(8);
    rows[gap][8] = rows[gap + 1][8] = '.';
    for (int k = 0; k < 20; ++k) rows[roll(24)][10 + roll(14)] = '#';
    turnsfixture::NewBattle(rows);
    for (int k = 0; k < 60; ++k) CurrentMap.At(kLayerFloor, 9 + roll(15), roll(24)) = 123;
    for (int k = 0; k < 12; ++k) MagicAreaGrid[SquareIndex(9 + roll(4), gap - 3 + roll(8))] = {kEffectWeb, 3, 10};
    turnsfixture::AddFighter(kMe, 2, 3, 12, battle % 3 == 2 ? 2 : 1);
    for (int i = 0; i < 12; ++i) {
      const int x = 12 + roll(12), y = roll(24);
      if (rows[y][x] == '.') turnsfixture::AddFighter(kFoe + 10 + i, 1, x, y);
    }
    turnsfixture::StartTurn(kMe);
    static int32_t wanted[kMapSquares];
    std::fill(wanted, wanted + kMapSquares, 0);
    std::vector<std::pair<int, int>> squares;
    for (int ring = 23; ring >= 1; --ring)
      for (int x = std::max(0, 3 - ring); x <= std::min(23, 3 + ring); ++x)
        for (int y = std::max(0, 12 - ring); y <= std::min(23, 12 + ring); ++y)
          if (std::max(std::abs(x - 3), std::abs(y - 12)) == ring && x > 8 && FootprintFitsAt(x, y, kMe, 0)) {
            squares.push_back({x, y});
            wanted[SquareIndex(x, y)] = 100;
          }
    BeginSearchSeries();
    ASSERT_TRUE(FloodReach(kMe, 3, 12, wanted));
    ClearRecordsOf(records);
    for (auto [x, y] : squares) {
      const uint32_t* own = records[SquareIndex(x, y)];
      if (FloodSettles(x, y) || !(own[0] == static_cast<uint32_t>(-1) && own[kTallyWords - 1] == own[0])) continue;
      // As the pass would: the flood's walk when it can tell it, else the search.
      std::memcpy(byFlood, records, sizeof records);
      std::memcpy(bySearch, records, sizeof records);
      uint32_t floodOut[kTallyWords] = {}, searchOut[kTallyWords] = {};
      const bool told = FloodWalk(x, y, byFlood, floodOut);
      const bool found = FindCreaturePath(kMe, 3, 12, x, y, 1, 1, 0, 0, searchOut, bySearch) == kPathFound;
      if (told) {
        ASSERT_TRUE(found) << x << "," << y;
        heldTold += !FloodWalk(x, y, nullptr, nullptr);
        EXPECT_EQ(std::vector<uint32_t>(floodOut, floodOut + kTallyWords),
                  std::vector<uint32_t>(searchOut, searchOut + kTallyWords))
            << x << "," << y;
        // Every wanted square the flood does not settle holds the same (a
        // settled one holds the flood's record, or nothing until its turn).
        for (auto [u, v] : squares) {
          const int sq = SquareIndex(u, v);
          if (FloodSettles(u, v)) continue;
          for (int k = 0; k < kTallyWords; ++k) {
            if (k == 1) continue;
            EXPECT_EQ(byFlood[sq][k], bySearch[sq][k]) << x << "," << y << " at " << u << "," << v;
          }
        }
        ++compared;
      }
      std::memcpy(records, bySearch, sizeof records);
    }
    EndSearchSeries();
    ForgetFlood();
  }
  EXPECT_GT(compared, 60);
  EXPECT_GT(heldTold, 5) << "walks told only because a square held their record";
}

}  // namespace

namespace {

TEST(ReachFlood, TheLeastFeetOfTheCheapestWalksBoundEverySearchOfTheRoom) {
  // The survey's bound: a search of the fighter's room, to a square or
  // seeking a creature beside it, walks no fewer feet than the least feet of
  // the cheapest walks to where it stops, and finds nothing where no walk gets.
  std::mt19937 rng(5);
  auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  int tight = 0, sought = 0;
  for (int battle = 0; battle < 6; ++battle) {
    std::vector<std::string> rows(20, std::string(20, '.'));
    for (int y = 0; y < 20; ++y) rows[y][7] = '#';
    rows[4 + roll(12)][7] = '.';
    for (int k = 0; k < 25; ++k) rows[roll(20)][roll(20)] = '#';
    rows[10][3] = '.';
    turnsfixture::NewBattle(rows);
    for (int k = 0; k < 60; ++k) CurrentMap.At(kLayerFloor, roll(20), roll(20)) = 123;
    for (int k = 0; k < 15; ++k) MagicAreaGrid[SquareIndex(roll(20), roll(20))] = {kEffectWeb, 3, 10};
    for (int k = 0; k < 4; ++k) MagicAreaGrid[SquareIndex(roll(20), roll(20))] = {kEffectFire, 3, 10};
    turnsfixture::AddFighter(kMe, 2, 3, 10);
    for (int i = 0; i < 14; ++i) {
      const int x = roll(20), y = roll(20);
      if (rows[y][x] == '.' && !(x == 3 && y == 10)) turnsfixture::AddFighter(kFoe + 10 + i, roll(3) ? 1 : 2, x, y);
    }
    turnsfixture::StartTurn(kMe);
    ASSERT_TRUE(FloodLeastFeet(kMe, 3, 10));
    for (int x = 0; x < 20; ++x)
      for (int y = 0; y < 20; ++y) {
        const int32_t least = FloodLeastFeetTo(x, y);
        const bool found = FindCreaturePath(kMe, 3, 10, x, y, 1, 1, 0, 0, nullptr, nullptr) == kPathFound;
        if (found) {
          ASSERT_GE(least, 0) << x << "," << y;
          EXPECT_GE(PathCostFeet, least) << x << "," << y;
          tight += PathCostFeet == least && least > 0;
        } else if (!(x == 3 && y == 10)) {
          EXPECT_TRUE(least < 0 || PathLength > kPathLength) << x << "," << y << " a walk gets there";
        }
      }
    for (int i = 0; i < 14; ++i) {
      const int o = kFoe + 10 + i;
      if (!IsValidCreature(o) || Creatures[o].squareX < 0) continue;
      const GridSquare goal = NearestFootprintSquare(o, 3, 10);
      int32_t least = -1;
      for (int x = goal.x - 1; x <= goal.x + 1; ++x)
        for (int y = goal.y - 1; y <= goal.y + 1; ++y)
          if (const int32_t walk = FloodLeastFeetTo(x, y); walk >= 0) least = least < 0 ? walk : std::min(least, walk);
      SeekAdjacent = 1;
      const bool found = FindCreaturePath(kMe, 3, 10, goal.x, goal.y, 1, 1, 0, 0, nullptr, nullptr) == kPathFound;
      SeekAdjacent = 0;
      if (!found) continue;
      ASSERT_GE(least, 0) << "creature " << o;
      EXPECT_GE(PathCostFeet, least) << "creature " << o;
      ++sought;
    }
  }
  EXPECT_GT(tight, 100) << "the bound is met by the walks it bounds";
  EXPECT_GT(sought, 20);
}

}  // namespace
