// The main adventure's roads as a party of the first levels meets them: on
// each battlefield of the road, a group on foot must walk round to the side
// the party comes in by (more than a double move of thirty feet, so that the
// group's first move brings no blow and no charge, even against a party
// caught running away, which the group surprises), yet a creature of two by
// two squares still finds its way; and the world map keeps the harder
// encounter table off the roads between the first places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <memory>
#include <vector>

#include "adventure/encounter_tables.h"
#include "map/map_record.h"

namespace {

constexpr char kAdventure[] = "FullVersion";
constexpr int kBattlefields = 5;
// The party's entry square (the first of its two columns and rows) and the
// anchor the group met there is placed round.
struct Meeting {
  int partyX, partyY, anchorX, anchorY;
};
constexpr Meeting kMeetings[4] = {{9, 9, 15, 15}, {9, 16, 15, 8}, {16, 16, 8, 8}, {16, 9, 8, 15}};
// A double move of thirty feet, in squares.
constexpr int kDoubleMove = 12;

std::unique_ptr<MapRecord> ReadStoredMap(const char* stem) {
  auto map = std::make_unique<MapRecord>();
  char path[260];
  std::snprintf(path, sizeof path, "SaveGame\\%s\\0\\Maps\\%s.dat", kAdventure, stem);
  EXPECT_EQ(ReadMapFile(path, map.get()), kMapFileRead) << path;
  return map;
}

// The fewest steps (diagonals as one) for a creature of size by size
// squares from its top-left square (x, y) to any square whose footprint
// covers a goal square; -1 when none. Diagonal steps past a blocked corner
// are taken only by one-square walkers.
int Steps(const MapRecord& map, int size, int x, int y, const std::vector<bool>& goal) {
  auto fits = [&](int fx, int fy) {
    for (int i = fx; i < fx + size; ++i)
      for (int j = fy; j < fy + size; ++j)
        if (i < 0 || j < 0 || i >= map.width || j >= map.height || map.At(kLayerWalls, i, j) > 0) return false;
    return true;
  };
  auto covers = [&](int fx, int fy) {
    for (int i = fx; i < fx + size; ++i)
      for (int j = fy; j < fy + size; ++j)
        if (goal[SquareIndex(i, j)]) return true;
    return false;
  };
  std::vector<int> dist(kMapSquares, -1);
  std::deque<std::pair<int, int>> open{{x, y}};
  dist[SquareIndex(x, y)] = 0;
  while (!open.empty()) {
    const auto [cx, cy] = open.front();
    open.pop_front();
    if (covers(cx, cy)) return dist[SquareIndex(cx, cy)];
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) {
        const int nx = cx + dx, ny = cy + dy;
        if ((dx == 0 && dy == 0) || !fits(nx, ny) || dist[SquareIndex(nx, ny)] != -1) continue;
        if (size > 1 && dx != 0 && dy != 0 && (!fits(cx + dx, cy) || !fits(cx, cy + dy))) continue;
        dist[SquareIndex(nx, ny)] = dist[SquareIndex(cx, cy)] + 1;
        open.emplace_back(nx, ny);
      }
  }
  return -1;
}

}  // namespace

TEST(RoadBattlefields, AGroupWalksRoundToThePartyAndLargeCreaturesFindTheWay) {
  for (int n = 0; n < kBattlefields; ++n) {
    char stem[8];
    std::snprintf(stem, sizeof stem, "Map%d", n);
    const auto map = ReadStoredMap(stem);
    for (const Meeting& m : kMeetings) {
      std::vector<bool> party(kMapSquares, false);
      for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) party[SquareIndex(m.partyX + i, m.partyY + j)] = true;
      // Every square of the group's block, and a large creature from its first table-L square.
      for (const SquareOffset& a : PlacementTableA) {
        const int x = m.anchorX + a.dx, y = m.anchorY + a.dy;
        EXPECT_GT(Steps(*map, 1, x, y, party), kDoubleMove) << stem << " from " << x << "," << y;
      }
      EXPECT_GT(Steps(*map, 2, m.anchorX, m.anchorY, party), 0) << stem << " large from " << m.anchorX << ","
                                                                << m.anchorY;
    }
  }
}

TEST(RoadBattlefields, TheRoadsBetweenTheFirstPlacesCarryTheFirstTable) {
  const auto world = ReadStoredMap("WorldMap");
  // Harrowmere, the Fenwood, the Kings' Barrow, Greyfold and the hermit's
  // tower: every square within five of them, and of the straight roads
  // between them, carries region 1 or 2.
  const int places[5][2] = {{4, 19}, {5, 19}, {13, 15}, {21, 21}, {9, 5}};
  int harder = 0;
  for (const auto& from : places)
    for (const auto& to : places)
      for (int t = 0; t <= 16; ++t) {
        const int cx = from[0] + (to[0] - from[0]) * t / 16, cy = from[1] + (to[1] - from[1]) * t / 16;
        for (int x = std::max(0, cx - 5); x <= cx + 5 && x < world->width; ++x)
          for (int y = std::max(0, cy - 5); y <= cy + 5 && y < world->height; ++y) {
            const int region = world->At(kLayerEvents, x, y);
            if (region != 1 && region != 2 && harder++ == 0) ADD_FAILURE() << "region " << region << " on " << x << "," << y;
          }
      }
  EXPECT_EQ(harder, 0);
}
