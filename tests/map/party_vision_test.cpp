// Party vision: the sight window, shadows behind walls, sight radius, what the
// party uncovers and what other fighters remember, and the fog edges.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "map/party_vision.h"
#include "map/square_grids.h"
#include "map_fixture.h"

namespace {

using mapfixture::DrawMap;
using mapfixture::PlaceFighter;

std::vector<std::string> OpenMap(int w, int h) { return std::vector<std::string>(h, std::string(w, '.')); }

uint8_t Mask(int dx, int dy) { return SightMask[dx + 6][dy + 6]; }

void ResetVision() {
  FighterCount = 0;
  InCombat = 0;
  CurrentMapNumber = 9;
  std::memset(MapMemory[9], 0, sizeof MapMemory[9]);
  for (int s = 0; s < 8; ++s) {
    std::memset(FighterSlots[s].secondGrid, 0, sizeof FighterSlots[s].secondGrid);
    FighterSlots[s].gridFlag = 0;
    FighterSlots[s].unseenSquares = 0;
  }
  InitSightRayTables();
}

TEST(SightTables, BlockerOrderRunsRingByRing) {
  InitSightRayTables();
  const int ringSizes[6] = {8, 16, 24, 32, 28, 20};
  int i = 0;
  std::set<std::pair<int, int>> seen;
  for (int r = 1; r <= 6; ++r) {
    for (int k = 0; k < ringSizes[r - 1]; ++k, ++i) {
      const SightOffset o = SightBlockerOrder[i];
      EXPECT_EQ(std::max(std::abs(o.dx), std::abs(o.dy)), r) << "entry " << i;
      EXPECT_LE(SightTemplate[o.dx + 6][o.dy + 6], 6) << "entry " << i;
      EXPECT_TRUE(seen.insert({o.dx, o.dy}).second) << "entry " << i;
    }
  }
  EXPECT_EQ(i, kSightBlockers);
  EXPECT_EQ(SightBlockerOrder[0].dx, 1);
  EXPECT_EQ(SightBlockerOrder[0].dy, 0);
  EXPECT_EQ(SightBlockerOrder[2].dx, 0);  // then west along y = -1
  EXPECT_EQ(SightBlockerOrder[2].dy, -1);
  EXPECT_EQ(SightBlockerOrder[7].dx, 1);
  EXPECT_EQ(SightBlockerOrder[7].dy, 1);
  EXPECT_EQ(SightBlockerOrder[8].dx, 2);
  EXPECT_EQ(SightBlockerOrder[8].dy, 1);
}

TEST(SightWindow, WallToTheNorthIsSeenAndHidesTheSquaresBehindIt) {
  ResetVision();
  auto rows = OpenMap(20, 20);
  rows[9][10] = '#';
  DrawMap(rows);
  const int slot = PlaceFighter(0, 10, 10);
  BuildOccupancyGrids(0);
  MarkSightTemplate(slot, 6);
  EXPECT_EQ(Mask(0, -1), 3);
  const std::pair<int, int> hidden[] = {{0, -2}, {1, -2}, {-1, -2}, {2, -3}, {-2, -3}, {0, -6}, {3, -5}, {-3, -5}};
  for (auto [dx, dy] : hidden) EXPECT_EQ(Mask(dx, dy), 2) << dx << "," << dy;
  const std::pair<int, int> clear[] = {{0, 2}, {3, -2}, {-3, -2}, {1, 0}, {-6, 0}, {4, -4}};
  for (auto [dx, dy] : clear) EXPECT_EQ(Mask(dx, dy), 1) << dx << "," << dy;
  EXPECT_EQ(Mask(6, -6), 5) << "outside the rings";

  ComputeFighterSight(slot, 6);
  EXPECT_EQ(FighterSlots[slot].visible[SquareIndex(10, 9)], 1);
  EXPECT_EQ(FighterSlots[slot].visible[SquareIndex(10, 8)], 2);
  EXPECT_EQ(FighterSlots[slot].visible[SquareIndex(10, 12)], 1);
}

TEST(SightWindow, EachQuadrantMirrorsTheBaseShadow) {
  // A blocker at (1, -1) and its three mirror images hide the mirrored squares.
  const struct {
    int sx, sy;
  } quadrants[] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
  for (const auto& q : quadrants) {
    ResetVision();
    auto rows = OpenMap(20, 20);
    rows[10 - q.sy][10 + q.sx] = '#';
    DrawMap(rows);
    const int slot = PlaceFighter(0, 10, 10);
    BuildOccupancyGrids(0);
    MarkSightTemplate(slot, 6);
    EXPECT_EQ(Mask(q.sx, -q.sy), 3);
    EXPECT_EQ(Mask(3 * q.sx, -5 * q.sy), 2) << q.sx << "," << q.sy;
    EXPECT_EQ(Mask(2 * q.sx, -2 * q.sy), 2) << q.sx << "," << q.sy;
    EXPECT_EQ(Mask(-q.sx, q.sy), 1) << q.sx << "," << q.sy;
  }
}

TEST(SightWindow, NearWallShadowsAFarWall) {
  ResetVision();
  auto rows = OpenMap(20, 20);
  rows[10][11] = '#';  // (1, 0)
  rows[10][13] = '#';  // (3, 0), in its shadow
  DrawMap(rows);
  const int slot = PlaceFighter(0, 10, 10);
  BuildOccupancyGrids(0);
  MarkSightTemplate(slot, 6);
  EXPECT_EQ(Mask(1, 0), 3);
  EXPECT_EQ(Mask(3, 0), 2) << "a hidden wall is not a blocker";
  EXPECT_EQ(Mask(4, 3), 2) << "the near wall shades both sides of its axis";
}

TEST(SightRadius, UnlitMapsShortenThirtyFootSight) {
  const struct {
    int sight, lit, light, seesFar, seesNear;
  } cases[] = {
      {30, 0, 0, 4, 4},  // 30 feet in the dark: 4 squares
      {35, 0, 0, 6, 6},  // radius 7, clamped to 6
      {30, 1, 0, 6, 6},  // a lit map
      {30, 0, 1, 6, 6},  // carrying a light
      {20, 0, 0, 4, 4},
      {10, 1, 0, 2, 2},
  };
  for (const auto& c : cases) {
    ResetVision();
    DrawMap(OpenMap(30, 30), c.lit);
    const int slot = PlaceFighter(1, 15, 15, 1, 1, c.sight);
    if (c.light) Creatures[1].conditions[0] = {142, 10, 18, 0, 0};
    BuildOccupancyGrids(1);
    ComputeFighterSight(slot, SightRadiusOfSlot(slot));
    const int32_t* v = FighterSlots[slot].visible;
    EXPECT_EQ(v[SquareIndex(15 + c.seesFar, 15)], 1) << c.sight << " feet, lit " << c.lit;
    EXPECT_EQ(v[SquareIndex(15 + c.seesFar + 1, 15)], 2) << c.sight << " feet, lit " << c.lit;
    EXPECT_EQ(v[SquareIndex(15, 15 - c.seesNear)], 1) << c.sight << " feet, lit " << c.lit;
  }
  // Only party members lose sight in the dark.
  ResetVision();
  DrawMap(OpenMap(30, 30), 0);
  for (int i = 0; i < 4; ++i) PlaceFighter(i, 1, 1 + i);
  const int monster = PlaceFighter(30, 15, 15, 1, 1, 30);
  EXPECT_EQ(SightRadiusOfSlot(monster), 6);
}

TEST(FighterSight, LargeCreatureSeesTheUnionOfItsSquares) {
  ResetVision();
  auto rows = OpenMap(24, 24);
  const std::pair<int, int> walls[] = {{9, 9}, {12, 10}, {11, 13}, {8, 12}, {10, 6}, {14, 12}};
  for (auto [x, y] : walls) rows[y][x] = '#';
  DrawMap(rows);
  const int big = PlaceFighter(40, 10, 10, 2, 2, 60);
  const int probe = PlaceFighter(41, 0, 0, 1, 1, 60);
  BuildOccupancyGrids(40);
  std::vector<int32_t> expected(kMapSquares, 2);
  for (int fx = 10; fx <= 11; ++fx) {
    for (int fy = 10; fy <= 11; ++fy) {
      Creatures[41].squareX = fx;
      Creatures[41].squareY = fy;
      ComputeFighterSight(probe, 6);
      for (int i = 0; i < kMapSquares; ++i)
        if (FighterSlots[probe].visible[i] == 1) expected[i] = 1;
    }
  }
  ComputeFighterSight(big, 6);
  for (int i = 0; i < kMapSquares; ++i) ASSERT_EQ(FighterSlots[big].visible[i], expected[i]) << "square " << i;
  EXPECT_EQ(Creatures[40].squareX, 10) << "put back on its own square";
  EXPECT_EQ(Creatures[40].squareY, 10);
}

TEST(Exploring, PartyUncoversTheMapAndCountsDown) {
  ResetVision();
  DrawMap(OpenMap(5, 5));
  for (int i = 0; i < 4; ++i) PlaceFighter(i, 2, 2);
  CountFighterSquares(0);
  EXPECT_EQ(FighterSlots[0].unseenSquares, 25);
  EXPECT_EQ(FighterSlots[3].gridFlag, 0);
  BuildOccupancyGrids(0);
  ComputeFighterSight(0, 6);
  for (int x = 0; x < 5; ++x)
    for (int y = 0; y < 5; ++y) EXPECT_EQ(MapMemory[9][SquareIndex(x, y)], 1u);
  EXPECT_EQ(MapMemory[9][SquareIndex(5, 2)], 0u) << "beyond the map's width";
  EXPECT_EQ(FighterSlots[0].unseenSquares, 0);
  for (int s = 0; s < 4; ++s) EXPECT_EQ(FighterSlots[s].gridFlag, 1);
  CountFighterSquares(2);
  EXPECT_EQ(FighterSlots[0].unseenSquares, 0);
  EXPECT_EQ(FighterSlots[1].gridFlag, 1);
}

TEST(Exploring, LoneExploredSquaresAreForgottenUntilTheMapIsKnown) {
  ResetVision();
  DrawMap(OpenMap(30, 10));
  PlaceFighter(0, 2, 5);
  MapMemory[9][SquareIndex(25, 5)] = 1;  // far away, nothing explored round it
  CountFighterSquares(0);
  const int before = FighterSlots[0].unseenSquares;
  BuildOccupancyGrids(0);
  ComputeFighterSight(0, 1);
  EXPECT_EQ(MapMemory[9][SquareIndex(25, 5)], 0u);
  EXPECT_EQ(MapMemory[9][SquareIndex(3, 5)], 1u);
  // Radius 1 sees the viewer's square and its four sides; one square is forgotten.
  EXPECT_EQ(FighterSlots[0].unseenSquares, before - 5 + 1);
}

TEST(Remembering, OtherFightersRememberKindsAndShareWithTheirGroup) {
  ResetVision();
  DrawMap({
      "......",
      ".#+...",
      "......",
  });
  CurrentMap.At(kLayerWalls, 3, 1) = 74;
  CurrentMap.At(kLayerWalls, 4, 1) = 73;
  CurrentMap.At(kLayerWalls, 5, 1) = 40;
  for (int i = 0; i < 4; ++i) PlaceFighter(i, 0, 0);
  const int orc = PlaceFighter(50, 2, 2);
  const int friendOfOrc = PlaceFighter(51, 0, 2);
  const int stranger = PlaceFighter(52, 5, 2);
  Creatures[50].leader = 50;
  Creatures[51].leader = 50;
  CountFighterSquares(orc);
  CountFighterSquares(friendOfOrc);
  EXPECT_EQ(FighterSlots[orc].unseenSquares, 18);
  BuildOccupancyGrids(50);
  ComputeFighterSight(orc, 2);
  const int32_t* grid = FighterSlots[orc].secondGrid;
  EXPECT_EQ(grid[SquareIndex(1, 1)], kRememberedFeature);
  EXPECT_EQ(grid[SquareIndex(2, 1)], kRememberedDoor);
  EXPECT_EQ(grid[SquareIndex(3, 1)], kRememberedWall74);
  EXPECT_EQ(grid[SquareIndex(4, 1)], kRememberedWall73);
  EXPECT_EQ(grid[SquareIndex(2, 2)], kRememberedFloor);
  EXPECT_EQ(grid[SquareIndex(2, 0)], kRememberedNever) << "behind the door";
  EXPECT_EQ(grid[SquareIndex(5, 1)], kRememberedNever) << "outside radius 2";
  EXPECT_EQ(FighterSlots[friendOfOrc].secondGrid[SquareIndex(2, 1)], kRememberedDoor);
  EXPECT_EQ(FighterSlots[stranger].secondGrid[SquareIndex(2, 1)], kRememberedNever);
  EXPECT_EQ(FighterSlots[orc].unseenSquares, 18 - 10);
  ComputeFighterSight(stranger, 6);
  EXPECT_EQ(FighterSlots[stranger].secondGrid[SquareIndex(5, 1)], kRememberedFloor) << "code 40 is not above 43";
}

TEST(Remembering, FreshRecordsShareNothingAndNeverTouchThePartysCount) {
  ResetVision();
  DrawMap(OpenMap(8, 3));
  for (int i = 0; i < 4; ++i) PlaceFighter(i, 0, 0);
  for (int i = 0; i < 4; ++i) Creatures[i].leader = 0;  // the party follows creature 0
  const int wolf = PlaceFighter(60, 6, 1);
  const int rat = PlaceFighter(61, 1, 2);
  const int scout = PlaceFighter(62, 3, 2);
  Creatures[60].leader = 0;  // a fresh record: leader 0 without an offset is no leader
  Creatures[61].leader = 0;
  Creatures[62].leader = 0;
  Creatures[62].formationX = 1;  // leader 0 with an offset does follow creature 0
  CountFighterSquares(0);
  CountFighterSquares(wolf);
  CountFighterSquares(rat);
  CountFighterSquares(scout);
  const int partyBefore = FighterSlots[0].unseenSquares;
  BuildOccupancyGrids(60);
  ComputeFighterSight(wolf, 1);
  EXPECT_EQ(FighterSlots[wolf].secondGrid[SquareIndex(6, 1)], kRememberedFloor);
  EXPECT_EQ(FighterSlots[rat].secondGrid[SquareIndex(6, 1)], kRememberedNever);
  EXPECT_EQ(FighterSlots[scout].secondGrid[SquareIndex(6, 1)], kRememberedNever);
  EXPECT_EQ(FighterSlots[0].secondGrid[SquareIndex(6, 1)], 0);
  EXPECT_EQ(FighterSlots[0].unseenSquares, partyBefore);
  EXPECT_EQ(FighterSlots[0].gridFlag, 0);

  // A follower of the party's creature 0 shares with another follower, still
  // not with the party's own slots.
  Creatures[61].formationY = 1;
  ComputeFighterSight(scout, 1);
  EXPECT_EQ(FighterSlots[rat].secondGrid[SquareIndex(3, 1)], kRememberedFloor);
  EXPECT_EQ(FighterSlots[wolf].secondGrid[SquareIndex(3, 1)], kRememberedNever);
  EXPECT_EQ(FighterSlots[0].secondGrid[SquareIndex(3, 1)], 0);
  EXPECT_EQ(FighterSlots[0].unseenSquares, partyBefore);
}

TEST(Refresh, AlertFightersEveryFrameAndEveryoneOnARefresh) {
  ResetVision();
  DrawMap(OpenMap(10, 10));
  PlaceFighter(0, 1, 1);
  const int idle = PlaceFighter(60, 8, 8);
  FighterSlots[idle].alert = 0;
  for (int i = 0; i < kMapSquares; ++i) FighterSlots[idle].visible[i] = 7;
  BuildOccupancyGrids(0);
  VisionRefreshFlag = 0;
  EXPECT_EQ(UpdatePartyVision(), 1);
  EXPECT_EQ(FighterSlots[idle].visible[SquareIndex(8, 8)], 7);
  EXPECT_EQ(MapMemory[9][SquareIndex(1, 1)], 1u);
  VisionRefreshFlag = 1;
  UpdatePartyVision();
  EXPECT_EQ(VisionRefreshFlag, 0);
  EXPECT_EQ(FighterSlots[idle].visible[SquareIndex(8, 8)], 1);
}

// In combat a computer fighter's sight is computed again only when it could
// have changed: moving, a new member of its group, a new sight-blocking
// square, another radius asked for by someone else.
TEST(Refresh, InCombatSightFollowsWhatItRestsOn) {
  ResetVision();
  DrawMap(OpenMap(20, 12));
  for (int i = 0; i < 4; ++i) PlaceFighter(i, 0, i);
  const int orc = PlaceFighter(50, 5, 5, 1, 1, 30);
  const int friendOfOrc = PlaceFighter(51, 15, 5, 1, 1, 30);
  const int loner = PlaceFighter(52, 15, 11, 1, 1, 30);
  Creatures[50].leader = Creatures[51].leader = 50;
  Creatures[52].leader = 52;
  BuildOccupancyGrids(0);
  mapfixture::StartTestCombat();
  UpdatePartyVision();
  auto seen = [](int slot, int x, int y) { return FighterSlots[slot].visible[SquareIndex(x, y)]; };
  auto remembers = [](int slot, int x, int y) { return FighterSlots[slot].secondGrid[SquareIndex(x, y)] != 0; };
  ASSERT_EQ(seen(orc, 11, 5), 1);
  ASSERT_FALSE(remembers(loner, 5, 5));

  Creatures[50].squareX = 4;
  UpdatePartyVision();
  EXPECT_EQ(seen(orc, 11, 5), 2) << "out of reach after the step";
  EXPECT_EQ(seen(orc, 10, 5), 1);

  Creatures[52].leader = 50;  // the loner joins the orc's group and learns what it saw
  UpdatePartyVision();
  EXPECT_TRUE(remembers(loner, 5, 5));

  CurrentMap.At(kLayerWalls, 5, 5) = 46;
  BuildOccupancyGrids(0);
  UpdatePartyVision();
  EXPECT_EQ(seen(orc, 5, 5), 1) << "the wall itself is seen";
  EXPECT_EQ(seen(orc, 7, 5), 2) << "hidden behind the new wall";

  ComputeFighterSight(orc, 1);
  UpdatePartyVision();
  EXPECT_EQ(seen(orc, 4, 8), 1) << "its own radius again";
  EXPECT_EQ(seen(friendOfOrc, 15, 8), 1);
  InCombat = 0;
}

TEST(Fog, EdgeCodesOfExploredSquares) {
  const struct {
    bool n, e, s, w, ne, se, sw, nw;
    uint32_t code;
  } cases[] = {
      {1, 1, 1, 1, 1, 1, 1, 1, 0},  {1, 1, 1, 1, 1, 1, 1, 0, 24}, {1, 1, 1, 1, 0, 1, 1, 1, 25},
      {1, 1, 1, 1, 1, 0, 1, 1, 26}, {1, 1, 1, 1, 1, 1, 0, 1, 27}, {1, 1, 1, 1, 1, 0, 0, 1, 20},
      {1, 1, 1, 1, 1, 1, 0, 0, 21}, {1, 1, 1, 1, 0, 1, 1, 0, 22}, {1, 1, 1, 1, 0, 0, 1, 1, 23},
      {1, 1, 1, 1, 1, 0, 0, 0, 16}, {1, 1, 1, 1, 0, 1, 0, 0, 17}, {1, 1, 1, 1, 0, 0, 1, 0, 18},
      {1, 1, 1, 1, 0, 0, 0, 1, 19}, {1, 1, 1, 1, 0, 0, 0, 0, 11}, {1, 1, 1, 1, 1, 0, 1, 0, 46},
      {1, 1, 1, 1, 0, 1, 0, 1, 47}, {0, 1, 1, 1, 1, 1, 1, 1, 12}, {1, 1, 0, 1, 1, 1, 1, 1, 14},
      {0, 1, 0, 1, 1, 1, 1, 1, 44}, {0, 0, 1, 1, 1, 1, 1, 1, 40},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FogEdgeCode(c.n, c.e, c.s, c.w, c.ne, c.se, c.sw, c.nw), c.code) << c.code;
  // Every pattern gets a code in 0 or 11-47.
  for (int bits = 0; bits < 256; ++bits) {
    const uint32_t code = FogEdgeCode(bits & 1, bits & 2, bits & 4, bits & 8, bits & 16, bits & 32, bits & 64,
                                      bits & 128);
    EXPECT_TRUE(code == 0 || (code >= 11 && code <= 47)) << bits;
  }
}

TEST(Fog, MapVisibilityFromExploredSquares) {
  ResetVision();
  DrawMap({
      "....",
      ".#..",
      "....",
  });
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 3; ++y) MapMemory[9][SquareIndex(x, y)] = 1;
  MapMemory[9][SquareIndex(3, 2)] = 0;
  FogGrid[SquareIndex(1, 1)] = 99;
  BuildMapVisibility();
  EXPECT_EQ(FogGrid[SquareIndex(0, 0)], 0u) << "the map edge counts as explored";
  EXPECT_EQ(FogGrid[SquareIndex(3, 2)], 1u);
  EXPECT_EQ(FogGrid[SquareIndex(1, 1)], 99u) << "stone walls keep their own picture";
  EXPECT_EQ(FogGrid[SquareIndex(2, 1)], 26u) << "only the south-east corner unexplored";
  EXPECT_EQ(FogGrid[SquareIndex(3, 1)], 14u) << "the south side unexplored";
  // Darkness counts as unexplored in combat.
  MagicAreaGrid[SquareIndex(0, 2)] = {kEffectDarkness, 3, 0};
  InCombat = 1;
  BuildMapVisibility();
  EXPECT_EQ(FogGrid[SquareIndex(0, 2)], 1u);
  // Still in combat: darkness counting down its rounds leaves the fog; the
  // darkness ended, the square is explored again.
  MagicAreaGrid[SquareIndex(0, 2)].roundsLeft = 2;
  BuildMapVisibility();
  EXPECT_EQ(FogGrid[SquareIndex(0, 2)], 1u);
  MagicAreaGrid[SquareIndex(0, 2)] = {};
  BuildMapVisibility();
  EXPECT_EQ(FogGrid[SquareIndex(0, 2)], 0u);
  InCombat = 0;
}

}  // namespace
