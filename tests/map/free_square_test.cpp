// Putting items on the ground: the nearest square with an empty object level.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "map/free_square.h"
#include "map/map_fixture.h"

namespace {

void FillLevels(MapRecord& map, int x, int y) {
  for (int level = 0; level < kObjectLevels; ++level) map.At(kFirstObjectLayer + level, x, y) = 5100 + level;
}

void ExpectSquare(FreeSquare s, int x, int y, int layer) {
  EXPECT_EQ(s.x, x);
  EXPECT_EQ(s.y, y);
  EXPECT_EQ(s.layer, layer);
}

TEST(FreeSquare, StartSquareGivesItsLowestFreeLevel) {
  CurrentMapNumber = 3;
  mapfixture::DrawMap({".....", ".....", "....."});
  ExpectSquare(FindFreeSquareNear(-1, 2, 1), 2, 1, 4);
  CurrentMap.At(kLayerObjects0, 2, 1) = 5001;
  CurrentMap.At(kLayerObjects2, 2, 1) = 5002;
  ExpectSquare(FindFreeSquareNear(3, 2, 1), 2, 1, 5);
}

TEST(FreeSquare, NearestRingThenSmallestXThenY) {
  CurrentMapNumber = 0;
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  CurrentMap.width = CurrentMap.height = 20;
  FillLevels(CurrentMap, 10, 10);
  ExpectSquare(FindFreeSquareNear(-1, 10, 10), 9, 9, 4);
  // With the first ring full, the second ring's smallest x and y wins, not
  // the square straight below.
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) FillLevels(CurrentMap, 10 + dx, 10 + dy);
  ExpectSquare(FindFreeSquareNear(-1, 10, 10), 8, 8, 4);
}

TEST(FreeSquare, NeverBehindAWall) {
  CurrentMapNumber = 0;
  // The start's room is closed; the square right of the wall is nearer than
  // any free square of the room, but cannot be reached.
  mapfixture::DrawMap({
      "#######",
      "#..#...",
      "#..#...",
      "####...",
  });
  for (int x = 1; x <= 2; ++x)
    for (int y = 1; y <= 2; ++y) FillLevels(CurrentMap, x, y);
  ExpectSquare(FindFreeSquareNear(-1, 2, 1), -1, -1, -1);
  CurrentMap.At(kLayerObjects3, 1, 2) = 0;
  ExpectSquare(FindFreeSquareNear(-1, 2, 1), 1, 2, 7);
  // Diagonal steps pass between two walled sides.
  mapfixture::DrawMap({".#.", "..#", "..."});
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 3; ++y)
      if (!(x == 2 && y == 0)) FillLevels(CurrentMap, x, y);
  ExpectSquare(FindFreeSquareNear(-1, 1, 1), 2, 0, 4);
}

TEST(FreeSquare, WalledStartOnlyASeedOnTheCurrentMap) {
  CurrentMapNumber = 2;
  mapfixture::DrawMap({"...", ".#.", "..."});
  ExpectSquare(FindFreeSquareNear(-1, 1, 1), 0, 0, 4);
  // A stored map gives the walled start itself.
  std::memcpy(&StoredMaps[5], &CurrentMap, sizeof CurrentMap);
  ExpectSquare(FindFreeSquareNear(5, 1, 1), 1, 1, 4);
}

TEST(FreeSquare, SearchesTheWholeGridButNeverLeavesIt) {
  CurrentMapNumber = 0;
  mapfixture::DrawMap({".."});
  FillLevels(CurrentMap, 0, 0);
  FillLevels(CurrentMap, 1, 0);
  FillLevels(CurrentMap, 0, 1);
  // Beyond the header's width and height the squares are open and searched.
  ExpectSquare(FindFreeSquareNear(-1, 0, 0), 1, 1, 4);
  // A corner of the grid: the search stays inside.
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  FillLevels(CurrentMap, 59, 59);
  ExpectSquare(FindFreeSquareNear(-1, 59, 59), 58, 58, 4);
  // Starts and map numbers outside the maps find nothing.
  ExpectSquare(FindFreeSquareNear(-1, 60, 3), -1, -1, -1);
  ExpectSquare(FindFreeSquareNear(-1, -1, 3), -1, -1, -1);
  ExpectSquare(FindFreeSquareNear(41, 3, 3), -1, -1, -1);
}

TEST(FreeSquare, SetMapSquareValueWritesTheFoundLevel) {
  CurrentMapNumber = 1;
  mapfixture::DrawMap({"...", "...", "..."});
  FillLevels(CurrentMap, 1, 1);
  EXPECT_EQ(SetMapSquareValue(-1, 1, 1, 5432), 1);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 0, 0), 5432);
  std::memset(&StoredMaps[7], 0, sizeof StoredMaps[7]);
  EXPECT_EQ(SetMapSquareValue(7, 4, 4, 5433), 1);
  EXPECT_EQ(StoredMaps[7].At(kLayerObjects0, 4, 4), 5433);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 4, 4), 0);
  // Nothing free in a closed cell.
  mapfixture::DrawMap({"###", "#.#", "###"});
  FillLevels(CurrentMap, 1, 1);
  static MapRecord before;
  before = CurrentMap;
  EXPECT_EQ(SetMapSquareValue(-1, 1, 1, 5434), 0);
  EXPECT_EQ(std::memcmp(&before, &CurrentMap, sizeof before), 0);
}

TEST(FreeSquare, OneSearchHandsOutTheLevelsThatSearchesOneByOneWouldFill) {
  CurrentMapNumber = 4;
  mapfixture::DrawMap({"##########", "#..#.....#", "#.##.#...#", "#....#.#.#", "##...#...#", "#........#", "##########"});
  FillLevels(CurrentMap, 3, 3);
  CurrentMap.At(kLayerObjects1, 4, 3) = 5100;
  CurrentMap.At(kLayerObjects0, 1, 1) = 5100;
  std::vector<FreeSquare> all(kMapSquares * kObjectLevels);
  const int found = FindFreeSquaresNear(-1, 2, 3, static_cast<int>(all.size()), all.data());
  for (int i = 0; i < found; ++i) {
    const FreeSquare one = FindFreeSquareNear(-1, 2, 3);
    ExpectSquare(all[i], one.x, one.y, one.layer);
    CurrentMap.At(one.layer, one.x, one.y) = 5200;
  }
  EXPECT_GT(found, 100);
  EXPECT_EQ(FindFreeSquareNear(-1, 2, 3).layer, -1) << "every free level was handed out";
  EXPECT_EQ(FindFreeSquaresNear(-1, 2, 3, 5, all.data()), 0);
}

}  // namespace
