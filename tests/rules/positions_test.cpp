#include "rules/positions.h"

#include <gtest/gtest.h>

#include <cstring>

#include "combat/actions/combat_actions.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"
#include "engine/graphics.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "rules/creature_record.h"
#include "screens/game/game_screen.h"
#include "state/map_view_state.h"

namespace {

void Place(int id, int x, int y, int size = 1) {
  CreatureRecord& c = Creatures[id];
  std::memset(&c, 0, sizeof c);
  std::snprintf(c.name, sizeof c.name, "Creature %d", id);
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.pixelX = 24 * x;
  c.pixelY = 24 * y;
  c.footprintWidth = {size, size};
  c.footprintHeight = {size, size};
  c.figureSize[0] = {24 * size, 24 * size};
  c.figureSize[1] = {24 * size, 24 * size};
  c.facing = 5;
  c.present = 1;
  c.allegiance = kAllegianceEnemy;
}

void SetSlot(int slot, int creature) {
  FighterSlots[slot].creature = creature;
  if (FighterCount <= slot) FighterCount = slot + 1;
}

}  // namespace

TEST(Distances, FeetBetweenSquares) {
  const struct { int x1, y1, x2, y2, feet; } cases[] = {
      {0, 0, 3, 3, 21}, {0, 0, 4, 1, 22}, {0, 0, 0, 0, 0}, {0, 0, 1, 1, 7},
      {0, 0, 2, 2, 14}, {0, 0, 2, 1, 12}, {5, 5, 0, 5, 25}, {7, 3, 3, 7, 28},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DistanceFeet(c.x1, c.y1, c.x2, c.y2), c.feet) << c.x1 << "," << c.y1 << "-" << c.x2 << "," << c.y2;
    EXPECT_EQ(DistanceFeet(c.x2, c.y2, c.x1, c.y1), c.feet);
  }
  EXPECT_EQ(SquaredDistance(1, 2, 4, 6), 25);
}

TEST(Distances, BetweenFootprints) {
  Place(10, 10, 10, 2);
  Place(11, 13, 11);
  EXPECT_EQ(CreatureDistanceFeet(10, 11), 10);
  EXPECT_EQ(CreatureDistanceFeet(11, 10), 10);
  EXPECT_EQ(DistanceToCreatureFeet(10, 13, 11), 10);
  EXPECT_EQ(DistanceToCreatureFeet(10, 11, 11), 0);
  Place(12, 14, 14, 3);
  // (11,11) to (14,14): three diagonal steps.
  EXPECT_EQ(CreatureDistanceFeet(10, 12), 21);
  EXPECT_EQ(CreatureDistanceFeet(12, 10), 21);
}

TEST(Distances, FootprintGapToTheSelectedFighter) {
  Place(1, 10, 10, 2);
  Place(2, 14, 11);
  Place(3, 11, 5, 3);
  SetSlot(0, 1);
  SetSlot(1, 2);
  SetSlot(2, 3);
  SelectedFighterSlot = 0;
  EXPECT_EQ(FootprintDistance(1), 9);  // columns 10-11 and 14: gap 3; rows overlap
  EXPECT_EQ(FootprintDistance(2), 9);  // columns overlap; rows 5-7 and 10-11: gap 3
  EXPECT_EQ(FootprintDistance(0), 0);
  Creatures[2].footprintHeight.current = 0;
  EXPECT_EQ(FootprintDistance(1), 1000000 + 9);
}

TEST(Facing, TowardsSquares) {
  const struct { int tx, ty, facing; } cases[] = {
      {11, 10, 3}, {10, 9, 1}, {11, 11, 4}, {9, 11, 6}, {9, 9, 8},  // neighbours
      {15, 11, 4},                                                  // five right, one down: by signs
      {10, 20, 5}, {3, 10, 7}, {13, 4, 2},
  };
  for (const auto& c : cases) {
    Place(1, 10, 10);
    EXPECT_EQ(FaceTowardsSquare(1, c.tx, c.ty), 1);
    EXPECT_EQ(Creatures[1].facing, c.facing) << c.tx << "," << c.ty;
  }
}

TEST(Facing, OwnSquareLeavesTheFacing) {
  Place(1, 10, 10, 2);
  Creatures[1].facing = 6;
  EXPECT_EQ(FaceTowardsSquare(1, 11, 11), 0);
  EXPECT_EQ(FaceTowardsSquare(1, 10, 10), 0);
  EXPECT_EQ(Creatures[1].facing, 6);
}

TEST(Facing, LargeCreatureTurnsFromItsNearestSquare) {
  Place(1, 10, 10, 2);
  // Square right of the lower row: the nearest square (11,11) is its left neighbour.
  EXPECT_EQ(FaceTowardsSquare(1, 12, 11), 1);
  EXPECT_EQ(Creatures[1].facing, 3);
  // A square in the footprint's columns: 82 below, 78 above.
  EXPECT_EQ(FaceTowardsSquare(1, 10, 14), 1);
  EXPECT_EQ(Creatures[1].facing, 5);
  EXPECT_EQ(SideCode, 82);
  EXPECT_EQ(FaceTowardsSquare(1, 11, 3), 1);
  EXPECT_EQ(SideCode, 78);
  // In its rows: 76 to the right, 80 to the left.
  EXPECT_EQ(FaceTowardsSquare(1, 15, 10), 1);
  EXPECT_EQ(SideCode, 76);
  EXPECT_EQ(FaceTowardsSquare(1, 2, 11), 1);
  EXPECT_EQ(SideCode, 80);
  // Diagonal: side code from the facing.
  EXPECT_EQ(FaceTowardsSquare(1, 15, 15), 1);
  EXPECT_EQ(Creatures[1].facing, 4);
  EXPECT_EQ(SideCode, 83);
}

TEST(Facing, TowardsCreatures) {
  const struct { int tx, ty, size, facing; } cases[] = {
      {11, 10, 1, 3}, {9, 9, 1, 8}, {10, 13, 1, 5}, {16, 11, 1, 4},
      {12, 9, 2, 3},   // 2 by 2 target to the right, rows shared: on its left column
      {8, 12, 2, 6},   // 2 by 2 target down-left, its upper-right corner touches
      {10, 4, 3, 1},
  };
  for (const auto& c : cases) {
    Place(1, 10, 10);
    Place(2, c.tx, c.ty, c.size);
    EXPECT_EQ(FaceTowardsCreature(1, 2), 1);
    EXPECT_EQ(Creatures[1].facing, c.facing) << c.tx << "," << c.ty;
  }
  Place(1, 10, 10);
  Place(2, 10, 10);
  Creatures[1].facing = 2;
  EXPECT_EQ(FaceTowardsCreature(1, 2), 0);
  EXPECT_EQ(Creatures[1].facing, 2);
}

TEST(Facing, DebugTraces) {
  Place(1, 10, 10);
  DebugMode = 0;
  MessageLogText[0] = 0;
  FaceTowardsSquare(1, 11, 11);
  EXPECT_EQ(std::strstr(MessageLogText, "Case"), nullptr);
  DebugMode = 1;
  FaceTowardsSquare(1, 11, 11);  // neighbour code 1 around the target
  EXPECT_NE(std::strstr(MessageLogText, "Case 9 \r"), nullptr);
  FaceTowardsSquare(1, 20, 10);
  EXPECT_NE(std::strstr(MessageLogText, "Case 17 \r"), nullptr);
  Place(2, 10, 12);
  FaceTowardsCreature(1, 2);
  EXPECT_NE(std::strstr(MessageLogText, "Shoot #15\r"), nullptr);
  Place(2, 10, 11);
  FaceTowardsCreature(1, 2);
  EXPECT_NE(std::strstr(MessageLogText, "Shoot #9\r"), nullptr);
  DebugMode = 0;
}

TEST(Screen, FighterOnScreen) {
  Place(1, 10, 10);
  SetSlot(0, 1);
  ViewOriginX = 0;
  ViewOriginY = 0;
  WindowedFlag = 1;
  // The 480 by 360 view only in the "960x720 (b)" window, not in full screen.
  const struct { int px, py, windowed, size; bool on; } cases[] = {
      {320, 0, 1, 1, true}, {321, 0, 1, 1, false}, {-24, 0, 1, 1, true}, {-25, 0, 1, 1, false},
      {0, 241, 1, 3, true}, {0, 241, 0, 3, false},
  };
  for (const auto& c : cases) {
    Creatures[1].pixelX = c.px;
    Creatures[1].pixelY = c.py;
    WindowedFlag = static_cast<uint8_t>(c.windowed);
    WindowSize = static_cast<uint32_t>(c.size);
    EXPECT_EQ(IsFighterOnScreen(0), c.on) << c.px << "," << c.py;
  }
  WindowedFlag = 1;
  WindowSize = 1;
  Creatures[1].pixelX = 10;
  Creatures[1].present = 0;
  EXPECT_FALSE(IsFighterOnScreen(0));
}

TEST(Screen, FootprintOnMarkedSquare) {
  CurrentMapNumber = 3;
  std::memset(MapMemory[3], 0, sizeof MapMemory[3]);
  std::memset(FogGrid, 0, sizeof FogGrid);
  Place(1, 10, 10);
  EXPECT_EQ(FootprintOnMarkedSquare(1), 0);
  Creatures[1].nextX = 11;
  MapMemory[3][SquareIndex(11, 10)] = 1;
  EXPECT_EQ(FootprintOnMarkedSquare(1), 1);
  FogGrid[SquareIndex(10, 10)] = 12;
  EXPECT_EQ(FootprintOnMarkedSquare(1), 2);

  Place(2, 20, 20, 2);
  EXPECT_EQ(FootprintOnMarkedSquare(2), 0);
  MapMemory[3][SquareIndex(21, 21)] = 1;
  EXPECT_EQ(FootprintOnMarkedSquare(2), 1);
  FogGrid[SquareIndex(20, 21)] = 30;  // fog on a footprint square not explored: not counted
  EXPECT_EQ(FootprintOnMarkedSquare(2), 1);
  FogGrid[SquareIndex(21, 21)] = 30;
  EXPECT_EQ(FootprintOnMarkedSquare(2), 2);

  // The next square's fog counts once the creature is seen through a
  // footprint square, even when the next square itself is unexplored.
  FogGrid[SquareIndex(20, 21)] = FogGrid[SquareIndex(21, 21)] = 0;
  Creatures[2].nextX = 22;
  FogGrid[SquareIndex(22, 20)] = 5;
  EXPECT_EQ(FootprintOnMarkedSquare(2), 2);
  MapMemory[3][SquareIndex(21, 21)] = 0;
  EXPECT_EQ(FootprintOnMarkedSquare(2), 0);
}

TEST(Missiles, ReachingASquare) {
  MissileState = {};
  MissileState.targetX = 5;
  MissileState.targetY = 5;
  const struct { int px, py; double vx, vy; bool reached; } cases[] = {
      {130, 130, 1, 0, true},     // inside
      {120, 130, 1, 0, false},    // on the left edge: not strictly inside
      {119, 130, -2, 0, true},    // moving left, overshot the left edge
      {119, 130, 2, 0, false},    // still coming from the left
      {145, 130, 2, 0, true},     // past the right edge moving right
      {130, 145, 0, 3, true},
      {130, 100, 0, -3, true},
      {130, 100, 0, 3, false},
  };
  for (const auto& c : cases) {
    MissileState.pixelX = c.px;
    MissileState.pixelY = c.py;
    MissileState.velocityX = c.vx;
    MissileState.velocityY = c.vy;
    MissileState.aimX = MissileState.aimY = 0;
    EXPECT_EQ(MissileReachedSquare(), c.reached) << c.px << "," << c.py;
    if (!c.reached) {
      EXPECT_EQ(MissileState.aimX, 132);
      EXPECT_EQ(MissileState.aimY, 132);
    }
  }
}

TEST(Walking, PastSquareAndSnap) {
  Place(1, 10, 10);
  TurnEntryCount = 1;
  TurnOrder[0].creature = 1;
  CombatAction.currentEntry = 0;
  const struct { int facing, dx, dy; bool past; } cases[] = {
      {1, 0, -9, true}, {1, 0, -8, false}, {3, 9, 0, true}, {2, 9, -9, true}, {2, 9, 0, false}, {6, -9, 9, true},
  };
  for (const auto& c : cases) {
    Creatures[1].facing = c.facing;
    Creatures[1].pixelX = 240 + c.dx;
    Creatures[1].pixelY = 240 + c.dy;
    EXPECT_EQ(IsPastSquareInFacing(), c.past) << c.facing << " " << c.dx << "," << c.dy;
  }
  CombatAction.currentEntry = -1;
  EXPECT_FALSE(IsPastSquareInFacing());

  SetSlot(0, 1);
  Creatures[1].nextX = 11;
  Creatures[1].nextY = 11;
  Creatures[1].facing = 4;
  Creatures[1].pixelX = 250;
  Creatures[1].pixelY = 260;
  EXPECT_EQ(SnapToTargetSquare(0), 0);
  Creatures[1].pixelX = 265;
  EXPECT_EQ(SnapToTargetSquare(0), 0);  // right far enough, not down
  Creatures[1].pixelY = 266;
  EXPECT_EQ(SnapToTargetSquare(0), 1);
  EXPECT_EQ(Creatures[1].pixelX, 264);
  EXPECT_EQ(Creatures[1].pixelY, 264);
  EXPECT_EQ(SnapToTargetSquare(0), 1);
  Creatures[1].nextX = 11;
  Creatures[1].nextY = 10;
  Creatures[1].facing = 1;
  Creatures[1].pixelY = 241;
  EXPECT_EQ(SnapToTargetSquare(0), 0);
  Creatures[1].pixelY = 239;
  EXPECT_EQ(SnapToTargetSquare(0), 1);
  EXPECT_EQ(Creatures[1].pixelY, 240);
}
