// The game screen's routines on the map's squares: opening a door, the room
// beyond a pushed creature, and a square to step to beside the target.
#include "map/map_record.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "rules/creature_record.h"
#include "rules/positions.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "screens/game/game_screen.h"
#include "screens/game/overlay_rules.h"
#include "screens/game/shared_routines.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"

namespace {

constexpr int32_t kDoorAlongX = 82, kDoorAlongY = 83;
constexpr int kDoorSound = 25;

void ClearDoorSquare(int x, int y) {
  CurrentMap.At(kLayerWalls, x, y) = 0;
  CurrentMap.At(kLayerEvents, x, y) = 0;
}

// The other half of a two-square door, when one lies beside the square.
void ClearOtherHalf(int x, int y, int dx, int dy, int32_t code) {
  if (CurrentMap.Inside(x - dx, y - dy) && CurrentMap.At(kLayerWalls, x - dx, y - dy) == code)
    ClearDoorSquare(x - dx, y - dy);
  else if (CurrentMap.Inside(x + dx, y + dy) && CurrentMap.At(kLayerWalls, x + dx, y + dy) == code)
    ClearDoorSquare(x + dx, y + dy);
}

}  // namespace

void ToggleDoorSquare(int x, int y) {
  if (!CurrentMap.Inside(x, y)) return;
  const int32_t code = CurrentMap.At(kLayerWalls, x, y);
  if (code == kDoorAlongX) ClearOtherHalf(x, y, 1, 0, code);
  if (code == kDoorAlongY) ClearOtherHalf(x, y, 0, 1, code);
  ClearDoorSquare(x, y);
  BuildOccupancyGrids(-1);
  VisionRefreshFlag = 1;
  RecheckSquareScripts = 0;
  RedrawPending = 1;
  PlayChannelSound(kFirstFreeChannelA, kDoorSound, 0, 1, 0, 100);
  for (int m = 0; m < 4 && m < kFighterSlots; ++m) FighterSlots[m].alert = 1;
}

namespace {

constexpr int kStepX[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
constexpr int kStepY[9] = {0, -1, -1, 0, 1, 1, 1, 0, -1};

// Whether a present creature of the map other than the two stands on (x, y).
bool OtherCreatureAt(int x, int y, int pusher, int target) {
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int c = FighterSlots[s].creature;
    if (c == pusher || c == target || !IsValidCreature(c) || Creatures[c].present != 1) continue;
    if (FootprintCovers(c, x, y)) return true;
  }
  return false;
}

// Inside the map, open (on the open-square flood) and holding no creature
// but the two.
bool RoomFor(int x, int y, int pusher, int target) {
  return CurrentMap.Inside(x, y) && BlockedGrid[SquareIndex(x, y)] == kSquareFlooded &&
         !OtherCreatureAt(x, y, pusher, target);
}

bool FootprintMovesFree(int creature, int dx, int dy, int pusher, int target) {
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
    for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y)
      if (!RoomFor(x + dx, y + dy, pusher, target)) return false;
  return true;
}

}  // namespace

bool IsFacingSquareFree(int pusher, int target) {
  if (!IsValidCreature(pusher) || !IsValidCreature(target)) return false;
  FaceTowardsCreature(pusher, target);
  const int facing = Creatures[pusher].facing;
  if (facing < 1 || facing > 8) return false;
  const int dx = kStepX[facing], dy = kStepY[facing];
  const CreatureRecord& t = Creatures[target];
  if (dx != 0 && dy != 0 && IsDiagonalStepBlocked(target, t.squareX + dx, t.squareY, t.squareX, t.squareY + dy))
    return false;
  const CreatureRecord& p = Creatures[pusher];
  const bool small = p.footprintWidth.current == 1 && p.footprintHeight.current == 1 &&
                     t.footprintWidth.current == 1 && t.footprintHeight.current == 1;
  if (small) {
    return RoomFor(t.squareX + dx, t.squareY + dy, pusher, target);
  }
  return FootprintMovesFree(pusher, dx, dy, pusher, target) && FootprintMovesFree(target, dx, dy, pusher, target);
}

bool FindStandableSquare(int creature) {
  if (!IsValidCreature(creature)) return false;
  static int32_t overlay[kMapSquares];
  AnyStepFlag = 0;
  BuildReachOverlay(overlay, creature);
  CreatureRecord& c = Creatures[creature];
  const int keepX = c.squareX, keepY = c.squareY;
  bool found = false;
  for (int x = 0; x < kMapSide && !found; ++x)
    for (int y = 0; y < kMapSide && !found; ++y) {
      const int32_t mark = overlay[SquareIndex(x, y)];
      if (mark < 25 || mark > 32) continue;
      c.squareX = x;
      c.squareY = y;
      found = AreAdjacent(creature, ActionTarget);
    }
  c.squareX = keepX;
  c.squareY = keepY;
  return found;
}
