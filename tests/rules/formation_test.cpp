#include "rules/formation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "state/fighter_slots.h"
#include "state/turn_order.h"
#include "map/map_record.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "state/party_leader.h"

namespace {

void OpenMap(int w, int h) {
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  CurrentMap.width = w;
  CurrentMap.height = h;
}

int Place(int id, int x, int y) {
  CreatureRecord& c = Creatures[id];
  std::memset(&c, 0, sizeof c);
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.pixelX = 24 * x;
  c.pixelY = 24 * y;
  c.footprintWidth = c.footprintHeight = {1, 1};
  c.present = 1;
  c.facing = 1;
  c.destinationX = c.destinationY = -1;
  const int slot = FighterCount++;
  FighterSlots[slot].creature = id;
  FighterSlots[slot].pathIndex = -1;
  c.fighterSlot = slot;
  return slot;
}

// The party in slots 0 to 3 at (1, 1); then the creatures of the test.
void Start(int w = 20, int h = 20) {
  FighterCount = 0;
  InCombat = 0;
  TurnEntryCount = 0;
  PartyLeader = 0;
  OpenMap(w, h);
  for (int i = 0; i < 4; ++i) Place(i, 1, 1);
}

TEST(Formation, OffsetsTurnWithTheLeadersFacing) {
  struct Case {
    int dx, dy, facing, x, y;
  } cases[] = {
      {1, 1, 2, 0, 1},  {1, 1, 4, -1, 0}, {0, 2, 3, -2, 0}, {0, 2, 1, 0, 2},  {0, 2, 5, 0, -2},
      {0, 2, 7, 2, 0},  {0, 2, 2, -1, 1}, {0, 2, 8, 1, 1},  {0, 2, 6, 1, -1}, {2, 1, 4, -2, 1},
      {1, 0, 9, 1, 0},
  };
  for (const Case& k : cases) {
    int x = 99, y = 99;
    TurnFormationOffset(k.dx, k.dy, k.facing, &x, &y);
    EXPECT_EQ(x, k.x) << k.dx << "," << k.dy << " facing " << k.facing;
    EXPECT_EQ(y, k.y) << k.dx << "," << k.dy << " facing " << k.facing;
  }
  const int thirds[][2] = {{4, 1}, {5, 2}, {-4, -1}, {-5, -2}, {6, 2}, {-6, -2}, {0, 0}};
  for (auto [v, want] : thirds) EXPECT_EQ(FormationThird(v), want) << v;
}

TEST(Formation, AFollowerHeadsForItsTurnedPlace) {
  Start();
  Place(10, 10, 10);  // the leader
  Place(11, 12, 12);
  Creatures[10].facing = 3;
  Creatures[10].leader = 10;
  Creatures[11].leader = 10;
  Creatures[11].formationX = 0;
  Creatures[11].formationY = 2;
  BuildOccupancyGrids(10);
  EXPECT_EQ(MoveFollowersInFormation(), 1);
  EXPECT_EQ(Creatures[11].destinationX, 8);
  EXPECT_EQ(Creatures[11].destinationY, 10);
  EXPECT_EQ(Creatures[11].formationWords[kTurnedOffsetXWord], -2);
  EXPECT_EQ(Creatures[11].formationWords[kTurnedOffsetYWord], 0);
}

TEST(Formation, FollowersThatArePassedOver) {
  struct Case {
    const char* what;
    int leader, facing, hold, present, leaderPresent, offsetY;
  } cases[] = {
      {"its own leader", 11, 1, 0, 1, 1, 2},
      {"holding", 10, 1, 1, 1, 1, 2},
      {"not present", 10, 1, 0, 0, 1, 2},
      {"leader beyond the table", 5000, 1, 0, 1, 1, 2},
      {"leader below 0", -7, 1, 0, 1, 1, 2},
      {"leader not present", 10, 1, 0, 1, 0, 2},
  };
  for (const Case& k : cases) {
    Start();
    Place(10, 10, 3);
    Place(11, 12, 12);
    Creatures[10].facing = k.facing;
    Creatures[10].present = k.leaderPresent;
    Creatures[11].leader = k.leader;
    Creatures[11].formationY = k.offsetY;
    Creatures[11].formationWords[kHoldFlagWord] = k.hold;
    Creatures[11].present = k.present;
    BuildOccupancyGrids(10);
    MoveFollowersInFormation();
    EXPECT_EQ(FighterSlots[5].pathIndex, -1) << k.what;
    EXPECT_EQ(Creatures[11].destinationX, -1) << k.what;
  }
}

TEST(Formation, NoPathToThePlaceFallsBackOnTheLeader) {
  Start();
  Place(10, 10, 10);
  Place(11, 14, 10);
  Creatures[11].leader = 10;
  Creatures[11].formationY = 2;  // (10, 12): walled in below
  CurrentMap.At(kLayerWalls, 10, 12) = 46;
  BuildOccupancyGrids(10);
  MoveFollowersInFormation();
  EXPECT_EQ(Creatures[11].destinationX, 10);
  EXPECT_EQ(Creatures[11].destinationY, 10);
  EXPECT_EQ(Creatures[11].formationWords[kTurnedOffsetXWord], 0);
  EXPECT_EQ(Creatures[11].formationWords[kTurnedOffsetYWord], 0);
}

TEST(Formation, APlaceOffTheMapFallsBackOnTheLeader) {
  struct Case {
    int offsetX, offsetY;
  } cases[] = {{0, -15}, {0, 30}, {-20, 0}, {25, 2}};
  for (const Case& k : cases) {
    Start();
    Place(10, 10, 3);
    Place(11, 12, 12);
    Creatures[11].leader = 10;
    Creatures[11].formationX = k.offsetX;
    Creatures[11].formationY = k.offsetY;
    BuildOccupancyGrids(10);
    MoveFollowersInFormation();
    EXPECT_EQ(FighterSlots[5].pathIndex, 1) << k.offsetX << "," << k.offsetY;
    EXPECT_EQ(Creatures[11].destinationX, 10) << k.offsetX << "," << k.offsetY;
    EXPECT_EQ(Creatures[11].destinationY, 3) << k.offsetX << "," << k.offsetY;
    EXPECT_EQ(Creatures[11].formationWords[kTurnedOffsetXWord], 0);
    EXPECT_EQ(Creatures[11].formationWords[kTurnedOffsetYWord], 0);
  }
}

TEST(Formation, FollowersKeepFormationBehindALeaderWalkingAFoundPath) {
  Start(30, 20);
  Place(10, 3, 10);
  Place(11, 3, 12);
  Place(12, 4, 12);
  Creatures[10].leader = 10;
  for (int f : {11, 12}) Creatures[f].leader = 10;
  Creatures[11].formationX = 0;
  Creatures[11].formationY = 2;
  Creatures[12].formationX = 1;
  Creatures[12].formationY = 2;
  for (int y = 5; y < 15; ++y) CurrentMap.At(kLayerWalls, 15, y) = 46;  // a wall to walk around
  BuildOccupancyGrids(10);
  ASSERT_EQ(FindCreaturePath(10, 3, 10, 25, 10, 0, 0, 0, 0, nullptr, nullptr), kPathFound);
  std::vector<std::pair<int, int>> path;
  for (int i = 0; i < PathLength; ++i) path.push_back({PathOutX[i], PathOutY[i]});
  // The leader walks its path square by square; each follower walks to the
  // square it is sent to before the next step.
  CreatureRecord& leader = Creatures[10];
  for (auto [x, y] : path) {
    leader.nextX = x;
    leader.nextY = y;
    SetCreatureFacing(10);
    MoveFollowersInFormation();
    for (int f : {11, 12}) {
      CreatureRecord& c = Creatures[f];
      FighterSlot& s = FighterSlots[c.fighterSlot];
      if (s.pathIndex != -1) {
        c.squareX = c.nextX = c.destinationX;
        c.squareY = c.nextY = c.destinationY;
        s.pathIndex = -1;
      }
    }
    leader.squareX = x;
    leader.squareY = y;
  }
  EXPECT_EQ(leader.squareX, 25);
  EXPECT_EQ(leader.squareY, 10);
  // Each follower stands on its offset turned by the leader's last facing.
  for (int f : {11, 12}) {
    int tx = 0, ty = 0;
    TurnFormationOffset(Creatures[f].formationX, Creatures[f].formationY, leader.facing, &tx, &ty);
    EXPECT_EQ(Creatures[f].squareX, 25 + tx) << f << " facing " << leader.facing;
    EXPECT_EQ(Creatures[f].squareY, 10 + ty) << f << " facing " << leader.facing;
  }
  EXPECT_NE(Creatures[11].squareX * 100 + Creatures[11].squareY, Creatures[12].squareX * 100 + Creatures[12].squareY);
}

TEST(Formation, FinishingPartyMovesPutsThePartyInFormation) {
  Start();
  CreatureRecord& lead = Creatures[0];
  lead.squareX = lead.nextX = 8;
  lead.squareY = lead.nextY = 8;
  lead.facing = 5;  // down: offsets (0, 1) turn to (0, -1)
  for (int m = 1; m < 4; ++m) {
    Creatures[m].formationX = m - 2;
    Creatures[m].formationY = 1;
    Creatures[m].facing = 2;
  }
  BuildOccupancyGrids(0);
  EXPECT_TRUE(FinishPartyMoves());
  const int want[4][2] = {{8, 8}, {9, 7}, {8, 7}, {7, 7}};
  for (int m = 0; m < 4; ++m) {
    EXPECT_EQ(Creatures[m].squareX, want[m][0]) << m;
    EXPECT_EQ(Creatures[m].squareY, want[m][1]) << m;
    EXPECT_EQ(Creatures[m].pixelX, 24 * want[m][0]) << m;
    EXPECT_EQ(Creatures[m].facing, 5) << m;
    EXPECT_EQ(FighterSlots[m].pathIndex, -1) << m;
  }
}

// A member sent toward the leader's square (its own place walled off) never
// comes to rest on a held square: beside the leader it stays where it
// stands, facing as it did; one left on the leader's square walks off to a
// free square beside it.
TEST(Formation, AMemberWhosePlaceIsWalledOffStopsBesideTheLeaderNotOnIt) {
  struct Case {
    int x, y;
    bool walks;
  } cases[] = {{11, 10, false}, {10, 10, true}};
  for (const Case& k : cases) {
    Start();
    auto stand = [](int id, int x, int y) {
      CreatureRecord& c = Creatures[id];
      c.squareX = c.nextX = x;
      c.squareY = c.nextY = y;
      c.pixelX = 24 * x;
      c.pixelY = 24 * y;
    };
    stand(0, 10, 10);
    stand(1, k.x, k.y);
    Creatures[1].formationX = -1;  // (9, 11): a wall
    Creatures[1].formationY = 1;
    Creatures[1].facing = 3;  // away from the leader
    Creatures[2].present = Creatures[3].present = 0;
    CurrentMap.At(kLayerWalls, 9, 11) = 46;
    BuildOccupancyGrids(0);
    MovePartyInFormation();
    const CreatureRecord& c = Creatures[1];
    EXPECT_EQ(FighterSlots[1].pathIndex != -1, k.walks) << k.x;
    if (k.walks) {
      EXPECT_EQ(std::max(std::abs(c.destinationX - 10), std::abs(c.destinationY - 10)), 1) << "beside the leader";
      EXPECT_NE(CurrentMap.At(kLayerWalls, c.destinationX, c.destinationY), 46);
    } else {
      EXPECT_EQ(c.nextX, k.x);
      EXPECT_EQ(c.destinationX, -1);
      EXPECT_EQ(c.facing, 3);
    }
  }
}

class Patrol : public ::testing::Test {
 protected:
  void SetUp() override {
    Start();
    slot_ = Place(10, 5, 5);
    const int points[5][3] = {{2, 2, 11}, {8, 2, 12}, {8, 8, 13}, {2, 8, 14}, {5, 10, 15}};
    std::memcpy(Creatures[10].patrol, points, sizeof points);
    BuildOccupancyGrids(10);
  }
  int slot_ = 0;
};

TEST_F(Patrol, WaypointFiveWrapsToOne) {
  Creatures[10].patrolIndex = 5;
  AdvancePatrolWaypoint(slot_);
  EXPECT_EQ(Creatures[10].patrolIndex, 1);
  EXPECT_EQ(Creatures[10].waypointValue, 11);
  EXPECT_EQ(Creatures[10].destinationX, 2);
  EXPECT_EQ(FighterSlots[slot_].pathIndex, 1);
}

TEST_F(Patrol, AnUnsetWaypointSendsThePatrolBackToOne) {
  Creatures[10].patrol[2][kWaypointX] = -1;
  Creatures[10].patrolIndex = 2;
  AdvancePatrolWaypoint(slot_);
  EXPECT_EQ(Creatures[10].patrolIndex, 1);
  Creatures[10].patrolIndex = 0;  // outside 1 to 5
  FighterSlots[slot_].pathIndex = -1;
  AdvancePatrolWaypoint(slot_);
  EXPECT_EQ(Creatures[10].patrolIndex, 1);
}

TEST_F(Patrol, AnUnreachableWaypointIsSkipped) {
  CurrentMap.At(kLayerWalls, 8, 2) = 46;  // waypoint 2 is a wall now
  BuildOccupancyGrids(10);
  Creatures[10].patrolIndex = 1;
  AdvancePatrolWaypoint(slot_);
  EXPECT_EQ(Creatures[10].patrolIndex, 3);
  EXPECT_EQ(Creatures[10].waypointValue, 13);
  EXPECT_EQ(Creatures[10].destinationX, 8);
  EXPECT_EQ(Creatures[10].destinationY, 8);
}

TEST_F(Patrol, APatrolWithNoWaypointInReachStopsAfterOnePass) {
  // Walled into its own square: every waypoint is tried once, then it stands.
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy)
      if (dx || dy) CurrentMap.At(kLayerWalls, 5 + dx, 5 + dy) = 46;
  BuildOccupancyGrids(10);
  Creatures[10].patrolIndex = 2;
  FighterSlots[slot_].pathIndex = 1;  // a stale path
  const int closedBefore = PathOnClosed;
  EXPECT_EQ(AdvancePatrolWaypoint(slot_), 1);
  EXPECT_EQ(PathOnClosed - closedBefore, 2 * 5) << "five searches, one per waypoint";
  EXPECT_EQ(Creatures[10].patrolIndex, 2);
  EXPECT_EQ(FighterSlots[slot_].pathIndex, -1);
  EXPECT_EQ(Creatures[10].destinationX, -1);
}

}  // namespace
