// Lines between squares: the traced squares, lines of effect and cover.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "frontend/game_reset.h"
#include "state/threat_grids.h"
#include "map/line_of_effect.h"
#include "map/square_grids.h"
#include "map_fixture.h"

namespace {

using mapfixture::DrawMap;
using mapfixture::PlaceFighter;

std::vector<std::pair<int, int>> Trace(int x0, int y0, int x1, int y1) {
  int32_t xs[kMaxLineSquares], ys[kMaxLineSquares];
  const int n = TraceLineInto(x0, y0, x1, y1, xs, ys);
  std::vector<std::pair<int, int>> out;
  for (int i = 0; i < n; ++i) out.push_back({xs[i], ys[i]});
  return out;
}

using Squares = std::vector<std::pair<int, int>>;

TEST(TraceLine, BresenhamSquaresFromTheStart) {
  EXPECT_EQ(Trace(0, 0, 3, 1), (Squares{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
  // Traced from the other end the list still runs from its own start.
  EXPECT_EQ(Trace(3, 1, 0, 0), (Squares{{3, 1}, {2, 1}, {1, 0}, {0, 0}}));
  // A 45-degree line runs along y.
  EXPECT_EQ(Trace(2, 2, 5, 5), (Squares{{2, 2}, {3, 3}, {4, 4}, {5, 5}}));
  EXPECT_EQ(Trace(5, 2, 4, 6), (Squares{{5, 2}, {5, 3}, {4, 4}, {4, 5}, {4, 6}}));
  EXPECT_EQ(Trace(7, 7, 7, 7), (Squares{{7, 7}}));
}

TEST(TraceLine, TwoHundredSquaresAtMost) {
  int32_t xs[kMaxLineSquares], ys[kMaxLineSquares];
  EXPECT_EQ(TraceLineInto(0, 0, 199, 37, xs, ys), 200);
  EXPECT_EQ(xs[199], 199);
  EXPECT_EQ(ys[199], 37);
  EXPECT_EQ(TraceLineInto(0, 0, 200, 0, xs, ys), -1);
  EXPECT_EQ(TraceLineInto(5, 250, 5, 50, xs, ys), -1);

  FighterCount = 0;
  const int slot = PlaceFighter(12, 0, 0);
  FighterSlots[slot].pathX[150] = 77;
  EXPECT_EQ(TraceLine(0, 0, 0, 200, 12), -1);
  EXPECT_EQ(FighterSlots[slot].pathX[150], 77) << "nothing is written for a refused line";
  EXPECT_EQ(TraceLine(0, 0, 3, 1, 12), 4);
  EXPECT_EQ(FighterSlots[slot].pathX[2], 2);
  EXPECT_EQ(FighterSlots[slot].pathY[2], 1);
  EXPECT_EQ(FighterSlots[slot].pathX[150], 0) << "the rest of the lists is cleared";
  // No creature: slot 0.
  FighterSlots[0].pathY[1] = 9;
  EXPECT_EQ(TraceLine(4, 4, 4, 6, -1), 3);
  EXPECT_EQ(FighterSlots[0].pathY[1], 5);
}

TEST(LineOfEffect, DoorsStopItHedgesDoNot) {
  const struct {
    char between;
    bool free;
  } cases[] = {{'.', true}, {'+', false}, {'|', false}, {'#', false}, {'h', true}, {'-', false}};
  for (const auto& c : cases) {
    DrawMap({std::string("..") + c.between + ".."});
    int32_t solid = 5;
    EXPECT_EQ(HasLineOfEffect(0, 0, 4, 0, &solid), c.free) << c.between;
    EXPECT_EQ(solid, 0);
    EXPECT_EQ(HasLineOfEffectFrom(4, 0, 0, 0, -1), c.free) << c.between;
  }
  // The end square is not tested; the start square is.
  DrawMap({"..+"});
  EXPECT_TRUE(HasLineOfEffect(0, 0, 2, 0, nullptr));
  EXPECT_FALSE(HasLineOfEffect(2, 0, 0, 0, nullptr));
  EXPECT_TRUE(HasLineOfEffect(2, 0, 2, 0, nullptr)) << "one square needs no line";
  EXPECT_FALSE(HasLineOfEffect(0, 0, 0, 200, nullptr)) << "longer than 200 squares";
}

TEST(LineOfEffect, SolidAreaStopsItInCombatOnly) {
  DrawMap({"....."});
  MagicAreaGrid[SquareIndex(2, 0)] = {kEffectSolid, 4, 0};
  int32_t solid = 0;
  InCombat = 0;
  EXPECT_TRUE(HasLineOfEffect(0, 0, 4, 0, &solid));
  InCombat = 1;
  EXPECT_FALSE(HasLineOfEffect(0, 0, 4, 0, &solid));
  EXPECT_EQ(solid, 1);
  InCombat = 0;
  MagicAreaGrid[SquareIndex(2, 0)] = {};
}

TEST(LineOfEffect, AskingLeavesTheLeadersPathAlone) {
  DrawMap({"......"});
  FighterCount = 0;
  PlaceFighter(0, 0, 0);
  FighterSlots[0].pathIndex = 1;
  FighterSlots[0].pathX[0] = 1;
  FighterSlots[0].pathX[1] = 2;
  EXPECT_TRUE(HasLineOfEffect(5, 0, 0, 0, nullptr));
  EXPECT_EQ(FighterSlots[0].pathIndex, 1);
  EXPECT_EQ(FighterSlots[0].pathX[0], 1);
  EXPECT_EQ(FighterSlots[0].pathX[1], 2);
}

class Cover : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    DrawMap({
        "........",
        "........",
        "......#.",
    });
    PlaceFighter(0, 0, 0);    // archer
    PlaceFighter(30, 7, 0);   // target
    PlaceFighter(31, 3, 0);   // in the way
    PlaceFighter(32, 3, 1);   // beside the line
    mapfixture::StartTestCombat();
    BuildOccupancyGrids(0);
  }
  void TearDown() override { InCombat = 0; }
};

TEST_F(Cover, CreatureOnTheLineGivesCover) {
  EXPECT_TRUE(FindCover(0, 0, 7, 0, 0));
  EXPECT_EQ(CoverActive, 1);
  EXPECT_EQ(CoverSquareX, 3);
  EXPECT_EQ(CoverSquareY, 0);
  EXPECT_EQ(ArrowGrid[SquareIndex(3, 0)], 200);
  EXPECT_EQ(ArrowGrid[SquareIndex(2, 0)], 100);
  EXPECT_EQ(ArrowGrid[SquareIndex(7, 0)], 100);
  EXPECT_EQ(ArrowGrid[SquareIndex(3, 1)], 0);
}

TEST_F(Cover, ImprovedPreciseShotIgnoresCoverButNotWalls) {
  Creatures[0].feats[kFeatImprovedPreciseShot] = 1;
  EXPECT_TRUE(FindCover(0, 0, 7, 0, 0));
  EXPECT_EQ(CoverActive, 0);
  EXPECT_EQ(CoverSquareX, -1);
  EXPECT_EQ(CoverSquareY, -1);
  // A wall on the line stops it all the same, and is marked.
  Creatures[30].squareY = 2;
  Creatures[30].squareX = 7;
  CurrentMap.At(kLayerWalls, 6, 2) = 46;
  BuildOccupancyGrids(0);
  EXPECT_FALSE(FindCover(0, 0, 7, 2, 0));
  EXPECT_EQ(CoverActive, 0);
  EXPECT_FALSE(FindCover(0, 0, 6, 2, 0));
  EXPECT_EQ(ArrowGrid[SquareIndex(6, 2)], 200);
}

TEST_F(Cover, SquaresOutsideTheFloodBlockAndTheTargetGivesNoCover) {
  EXPECT_TRUE(FindCover(3, 1, 3, 0, 0)) << "the target's own square is no cover";
  EXPECT_EQ(CoverActive, 0);
  // Squares the flood did not reach stop the line.
  BlockedGrid[SquareIndex(5, 0)] = kSquareOpen;
  EXPECT_FALSE(FindCover(0, 0, 7, 0, 0));
  EXPECT_EQ(CoverActive, 1) << "cover found before the stop stays noted";
}


// Random rooms with walls, hedges and doors, squares the flood missed, and a
// crowd (some wide, two heaped on one square): every line the surveys answer
// is answered as WeighCoverLine answers it with the shooter standing at the
// line's start, whether the shooter stands in the turn order, and with or
// without "IMPROVED PRECISE SHOT".
TEST(CoverLineSurvey, AnswersAsTheWalkedLine) {
  std::mt19937 rng(31);
  auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  int answered = 0, together = 0, covered = 0, stopped = 0;
  for (int battle = 0; battle < 8; ++battle) {
    ResetGameState();
    std::vector<std::string> rows(24, std::string(24, '.'));
    const char walls[] = {'#', '#', 'h', '+', '-'};
    for (int k = 0; k < 50; ++k) rows[roll(24)][roll(24)] = walls[roll(5)];
    DrawMap(rows);
    FighterCount = 0;
    const int shooter = 0;
    PlaceFighter(shooter, 12, 12);
    for (int i = 1; i < 16; ++i) {
      const int size = roll(5) == 0 ? 2 : 1;
      PlaceFighter(10 + i, roll(23), roll(23), size, size);
    }
    Creatures[15].squareX = Creatures[14].squareX;  // heaped
    Creatures[15].squareY = Creatures[14].squareY;
    mapfixture::StartTestCombat();
    if (battle % 4 == 3) TurnOrder[0].creature = 99;  // the shooter out of the turn order
    Creatures[shooter].feats[kFeatImprovedPreciseShot] = battle % 4 == 2 ? 1 : 0;
    BuildOccupancyGrids(shooter);
    for (int k = 0; k < 12; ++k) BlockedGrid[SquareIndex(roll(24), roll(24))] = kSquareOpen;
    CoverLineSurvey survey;
    PrepareCoverLineSurvey(&survey, shooter);
    for (int k = 0; k < 400; ++k) {
      const int ax = roll(24), ay = roll(24), tx = roll(26) - 1, ty = roll(24);
      Creatures[shooter].squareX = ax;
      Creatures[shooter].squareY = ay;
      uint8_t quick = 7, walked = 9;
      const int open = SurveyCoverLine(survey, ax, ay, ax, ay, tx, ty, &quick);
      const bool wantOpen = WeighCoverLine(ax, ay, tx, ty, &walked);
      if (open < 0) continue;
      ++answered;
      ASSERT_EQ(open == 1, wantOpen) << battle << ": " << ax << "," << ay << " to " << tx << "," << ty;
      ASSERT_EQ(quick, walked) << battle << ": " << ax << "," << ay << " to " << tx << "," << ty;
    }
    // Every line to a target's square at once.
    for (int k = 0; k < 6; ++k) {
      const int bx = roll(24), by = roll(24), reach = 1 + roll(12), side = 2 * reach + 1;
      std::vector<uint8_t> lines(side * side);
      SurveyLinesTo(survey, bx, by, reach, lines.data());
      for (int fx = bx - reach; fx <= bx + reach; ++fx)
        for (int fy = by - reach; fy <= by + reach; ++fy) {
          if (fx < 0 || fy < 0 || fx >= kMapSide || fy >= kMapSide || (fx == bx && fy == by)) continue;
          if (SurveyedHolder(survey, SquareIndex(fx, fy)) != -1) continue;
          Creatures[shooter].squareX = fx;
          Creatures[shooter].squareY = fy;
          uint8_t cover = 0;
          const bool open = WeighCoverLine(fx, fy, bx, by, &cover);
          const uint8_t line = lines[(fx - bx + reach) * side + fy - by + reach];
          ++together;
          ASSERT_EQ((line & kLineStopped) == 0, open) << fx << "," << fy << " to " << bx << "," << by;
          if (!open) {
            ++stopped;
            continue;
          }
          ASSERT_EQ((line & kLineCovered) != 0, cover == 1) << fx << "," << fy << " to " << bx << "," << by;
          covered += cover;
        }
    }
  }
  EXPECT_GT(answered, 2000);
  EXPECT_GT(covered, 100) << "lines with cover were compared";
  EXPECT_GT(stopped, 100) << "stopped lines were compared";
  EXPECT_GT(together, 3000);
  InCombat = 0;
}

// The surveys leave to WeighCoverLine what they cannot see: another
// combatant on the shooter's square, the shooter on the target's, an end off
// the grid, a survey gone stale, and every line while they are switched off.
TEST(CoverLineSurvey, LeavesTheDoubtfulLinesToTheWalk) {
  ResetGameState();
  DrawMap({"........", "........"});
  FighterCount = 0;
  PlaceFighter(0, 0, 0, 2, 1);  // the shooter, two squares wide
  PlaceFighter(30, 7, 0);
  PlaceFighter(31, 2, 1);
  mapfixture::StartTestCombat();
  BuildOccupancyGrids(0);
  CoverLineSurvey survey;
  PrepareCoverLineSurvey(&survey, 0);
  uint8_t cover = 5;
  EXPECT_EQ(SurveyCoverLine(survey, 0, 0, 1, 0, 7, 0, &cover), 1);
  EXPECT_EQ(cover, 0);
  EXPECT_EQ(SurveyCoverLine(survey, 0, 0, 0, 1, 7, 0, &cover), 1) << "the line from below the shooter passes 31";
  EXPECT_EQ(cover, 1);
  cover = 5;
  EXPECT_EQ(SurveyCoverLine(survey, 1, 1, 2, 1, 7, 0, &cover), -1) << "31 stands on the shooter's end";
  EXPECT_EQ(SurveyCoverLine(survey, 6, 0, 6, 0, 7, 0, &cover), -1) << "the shooter covers the target's end";
  EXPECT_EQ(SurveyCoverLine(survey, 0, 0, 0, 0, 60, 0, &cover), -1);
  EXPECT_EQ(SurveyCoverLine(survey, 0, 0, -1, 0, 7, 0, &cover), -1);
  EXPECT_EQ(cover, 5) << "a line left to the walk leaves the cover alone";
  CoverLinesSurveyed = 0;
  EXPECT_EQ(SurveyCoverLine(survey, 0, 0, 1, 0, 7, 0, &cover), -1);
  CoverLinesSurveyed = 1;
  survey.stale = true;
  EXPECT_EQ(SurveyCoverLine(survey, 0, 0, 1, 0, 7, 0, &cover), -1);
  InCombat = 0;
}

}  // namespace

namespace {

// Lines asked of the cache on random maps (walls that stop lines, hedges that
// let them by, barriers of force, squares outside the flood; in combat and
// out) answer as the lines traced one by one: near pairs and far, on the map
// and off it, from a square to itself.
TEST(LineCache, AnswersAsTracingEachLine) {
  std::mt19937 rng(7);
  auto roll = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };
  static LineCache lines;
  int coverOpen = 0, effectFree = 0, asked = 0, differing = 0;
  for (int trial = 0; trial < 6; ++trial) {
    DrawMap(std::vector<std::string>(kMapSide, std::string(kMapSide, '.')));
    for (int k = 0; k < 120 + 60 * trial; ++k) CurrentMap.At(kLayerWalls, roll(kMapSide), roll(kMapSide)) = roll(3) ? 46 : 79;
    for (int sq = 0; sq < kMapSquares; ++sq)
      BlockedGrid[sq] = roll(30) == 0 ? kSquareBlocked : roll(30) == 0 ? 0 : kSquareFlooded;
    std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
    for (int k = 0; k < 80; ++k) MagicAreaGrid[SquareIndex(roll(kMapSide), roll(kMapSide))] = {kEffectSolid, 3, 0};
    InCombat = trial % 2;
    lines.Refresh();
    for (int k = 0; k < 20000; ++k) {
      const int reach = k % 5 == 0 ? 20 : LineCache::kReach;
      const int ax = roll(kMapSide + 4) - 2, ay = roll(kMapSide + 4) - 2;
      const int tx = ax + roll(2 * reach + 1) - reach, ty = ay + roll(2 * reach + 1) - reach;
      const bool cover = IsCoverLineOpen(ax, ay, tx, ty), effect = HasLineOfEffect(ax, ay, tx, ty, nullptr);
      if (lines.CoverLineOpen(ax, ay, tx, ty) != cover || lines.EffectLineFree(ax, ay, tx, ty) != effect) {
        if (differing++ == 0) ADD_FAILURE() << "trial " << trial << " (" << ax << "," << ay << ")-(" << tx << "," << ty << ")";
      }
      coverOpen += cover;
      effectFree += effect;
      ++asked;
    }
  }
  EXPECT_EQ(differing, 0);
  // Both answers are common, so both ways through the cache are weighed.
  EXPECT_GT(coverOpen, asked / 5);
  EXPECT_LT(coverOpen, asked * 4 / 5);
  EXPECT_GT(effectFree, asked / 5);
  EXPECT_LT(effectFree, asked * 4 / 5);
  InCombat = 0;
  std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
  std::memset(BlockedGrid, 0, sizeof BlockedGrid);
}

}  // namespace
