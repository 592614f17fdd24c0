#include "rules/positions.h"

#include <cstdlib>

#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "rules/adjacency.h"
#include "engine/graphics.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "state/camera.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"

namespace {

int CreatureOfSlot(int slot) {
  if (slot < 0 || slot >= kFighterSlots) return -1;
  const int creature = FighterSlots[slot].creature;
  return IsValidCreature(creature) ? creature : -1;
}

void Trace(const char* text) {
  if (DebugMode) LogMessage("%s\r", text);
}

bool OnMap(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

// The columns x0..x0+w-1 and x1..x1+v-1 share one.
bool RangesShare(int x0, int w, int x1, int v) { return x0 < x1 + v && x1 < x0 + w; }

bool InRange(int value, int first, int extent) { return value >= first && value < first + extent; }

// Facing by the signs of the step from (fx, fy) to (tx, ty); 0 for equal squares.
// The traces are those of the routine asking, in the order right, left,
// below, above, right-below, left-below, right-above, left-above.
int32_t FacingBySigns(int fx, int fy, int tx, int ty, const char* const traces[8]) {
  const int dx = tx - fx, dy = ty - fy;
  int which;
  if (dy == 0 && dx > 0) which = 0;
  else if (dy == 0 && dx < 0) which = 1;
  else if (dx == 0 && dy > 0) which = 2;
  else if (dx == 0 && dy < 0) which = 3;
  else if (dx > 0 && dy > 0) which = 4;
  else if (dx < 0 && dy > 0) which = 5;
  else if (dx > 0 && dy < 0) which = 6;
  else if (dx < 0 && dy < 0) which = 7;
  else return 0;
  static const int32_t kFacings[8] = {kFaceRight, kFaceLeft, kFaceDown, kFaceUp,
                                      kFaceDownRight, kFaceDownLeft, kFaceUpRight, kFaceUpLeft};
  if (traces[which]) Trace(traces[which]);
  return kFacings[which];
}

// A creature on ring or neighbour code c faces: 1 -> 4, 2 -> 6, 3 -> 2,
// 4 -> 8, 5 -> 3, 6 -> 7, 7 -> 5, 8 -> 1.
int32_t FacingFromRingCode(int32_t code) {
  static const int32_t kFacings[9] = {0, kFaceDownRight, kFaceDownLeft, kFaceUpRight, kFaceUpLeft,
                                      kFaceRight, kFaceLeft, kFaceDown, kFaceUp};
  return code >= 1 && code <= 8 ? kFacings[code] : 0;
}

}  // namespace

int CreatureDistanceFeet(int a, int b) {
  if (!IsValidCreature(a) || !IsValidCreature(b)) return 0;
  const GridSquare t = NearestFootprintSquare(b, Creatures[a].squareX, Creatures[a].squareY);
  const GridSquare s = NearestFootprintSquare(a, t.x, t.y);
  return DistanceFeet(s.x, s.y, t.x, t.y);
}

int DistanceToCreatureFeet(int creature, int x, int y) {
  const GridSquare s = NearestFootprintSquare(creature, x, y);
  return DistanceFeet(s.x, s.y, x, y);
}

int SquaredDistance(int x1, int y1, int x2, int y2) {
  return (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2);
}

int FootprintDistance(int slot) {
  const int a = CreatureOfSlot(slot), b = CreatureOfSlot(SelectedFighterSlot);
  if (a == -1 || b == -1) return 2000000;
  const CreatureRecord& ca = Creatures[a];
  const CreatureRecord& cb = Creatures[b];
  // The smallest gap over every pair of columns, then of rows (1,000 when a
  // footprint has none).
  auto smallestGap = [](int a0, int an, int b0, int bn) {
    int best = 1000;
    for (int i = a0; i < a0 + an; ++i)
      for (int j = b0; j < b0 + bn; ++j) {
        const int gap = std::abs(i - j);
        if (gap < best) best = gap;
      }
    return best;
  };
  const int gx = smallestGap(ca.squareX, ca.footprintWidth.current, cb.squareX, cb.footprintWidth.current);
  const int gy = smallestGap(ca.squareY, ca.footprintHeight.current, cb.squareY, cb.footprintHeight.current);
  return gx * gx + gy * gy;
}

int32_t SideCodeOfFacing(int32_t facing) { return 76 + (((3 - facing) % 8) + 8) % 8; }

int FaceTowardsSquare(int creature, int x, int y) {
  if (!IsValidCreature(creature)) return 0;
  CreatureRecord& c = Creatures[creature];
  const GridSquare n = NearestFootprintSquare(creature, x, y);
  const int cw = c.footprintWidth.current, ch = c.footprintHeight.current;
  SideCode = -1;

  const int other = CreatureAtSquare(x, y, creature);
  if (other != -1) {
    const CreatureRecord& o = Creatures[other];
    if (RangesShare(c.squareX, cw, o.squareX, o.footprintWidth.current)) {
      SideCode = n.y < y ? 82 : 78;
      Trace("Case 1 ");
    } else if (RangesShare(c.squareY, ch, o.squareY, o.footprintHeight.current)) {
      SideCode = n.x < x ? 76 : 80;
      Trace("Case 4 ");
    }
  } else if (InRange(x, c.squareX, cw)) {
    SideCode = n.y < y ? 82 : 78;
  } else if (InRange(y, c.squareY, ch)) {
    SideCode = n.x < x ? 76 : 80;
  }

  int32_t facing = 0;
  MarkNeighbourDirections(x, y);
  const int32_t code = OnMap(n.x, n.y) ? NeighbourGrid[SquareIndex(n.x, n.y)] : 0;
  if (code != 0) {
    static const char* const kCaseOfCode[9] = {nullptr,    "Case 9 ",  "Case 10 ", "Case 11 ", "Case 12 ",
                                               "Case 15 ", "Case 16 ", "Case 13 ", "Case 14 "};
    Trace(kCaseOfCode[code]);
    facing = FacingFromRingCode(code);
  } else {
    static const char* const kCases[8] = {"Case 17 ", "Case 18 ", "Case 19 ", "Case 20 ",
                                          nullptr,    "Case 22 ", nullptr,    "Case 24 "};
    facing = FacingBySigns(n.x, n.y, x, y, kCases);
  }
  if (facing == 0) return 0;
  c.facing = facing;
  if (SideCode == -1) SideCode = SideCodeOfFacing(facing);
  return 1;
}

int FaceTowardsCreature(int creature, int target) {
  if (!IsValidCreature(creature) || !IsValidCreature(target)) return 0;
  CreatureRecord& c = Creatures[creature];
  const CreatureRecord& t = Creatures[target];
  const GridSquare a = NearestFootprintSquare(creature, t.squareX, t.squareY);
  const GridSquare b = NearestFootprintSquare(target, c.squareX, c.squareY);
  SideCode = -1;
  if (RangesShare(c.squareX, c.footprintWidth.current, t.squareX, t.footprintWidth.current))
    SideCode = a.y < b.y ? 82 : 78;
  else if (RangesShare(c.squareY, c.footprintHeight.current, t.squareY, t.footprintHeight.current))
    SideCode = a.x < b.x ? 76 : 80;

  int32_t facing = 0;
  MarkAdjacentSquares(target);
  const int32_t code = OnMap(a.x, a.y) ? AdjacencyGrid[SquareIndex(a.x, a.y)] : 0;
  if (code != 0) {
    static const char* const kShotOfCode[9] = {nullptr,     "Shoot #5",  "Shoot #6", "Shoot #7", "Shoot #8",
                                               "Shoot #11", "Shoot #12", "Shoot #9", "Shoot #10"};
    Trace(kShotOfCode[code]);
    facing = FacingFromRingCode(code);
  } else {
    static const char* const kShots[8] = {"Shoot #13", "Shoot #14", "Shoot #15", "Shoot #16",
                                          "Shoot #17", "Shoot #18", "Shoot #19", "Shoot #20"};
    facing = FacingBySigns(a.x, a.y, b.x, b.y, kShots);
  }
  if (facing == 0) return 0;
  c.facing = facing;
  if (SideCode == -1) SideCode = SideCodeOfFacing(facing);
  return 1;
}

bool IsFighterOnScreen(int slot) {
  const int creature = CreatureOfSlot(slot);
  if (creature == -1) return false;
  const CreatureRecord& c = Creatures[creature];
  const int viewWidth = ViewWidth(), viewHeight = ViewHeight();
  if (c.pixelX + kSquarePixels * c.footprintWidth.current < ViewOriginX) return false;
  if (c.pixelX > ViewOriginX + viewWidth) return false;
  if (c.pixelY + kSquarePixels * c.footprintHeight.current < ViewOriginY) return false;
  if (c.pixelY > ViewOriginY + viewHeight) return false;
  return c.present != 0;
}

int FootprintOnMarkedSquare(int creature) {
  if (!IsValidCreature(creature) || CurrentMapNumber < 0 || CurrentMapNumber >= kStoredMapCount) return 0;
  const CreatureRecord& c = Creatures[creature];
  const uint32_t* memory = MapMemory[CurrentMapNumber];
  auto explored = [&](int x, int y) { return OnMap(x, y) ? memory[SquareIndex(x, y)] : 0u; };
  auto fog = [&](int x, int y) { return OnMap(x, y) ? FogGrid[SquareIndex(x, y)] : 0u; };

  if (c.footprintWidth.current == 1 && c.footprintHeight.current == 1) {
    if (explored(c.squareX, c.squareY) == 0 && explored(c.nextX, c.nextY) == 0) return 0;
    return fog(c.squareX, c.squareY) > 1 || fog(c.nextX, c.nextY) > 1 ? 2 : 1;
  }
  // Seen when the next square or a footprint square holds exactly 1; the fog
  // of the next square counts whichever of them was seen.
  bool seen = explored(c.nextX, c.nextY) == 1;
  bool fogged = fog(c.nextX, c.nextY) > 1;
  for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
    for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y) {
      if (explored(x, y) != 1) continue;
      seen = true;
      if (fog(x, y) > 1) fogged = true;
    }
  if (!seen) return 0;
  return fogged ? 2 : 1;
}

namespace {

// Inside the box strictly, or past one of its edges in the direction of flight.
bool MissileReachedBox(int left, int top, int right, int bottom) {
  const MissileStateWords& m = MissileState;
  if (m.pixelX > left && m.pixelX < right && m.pixelY > top && m.pixelY < bottom) return true;
  if (m.pixelX > right && m.velocityX > 0) return true;
  if (m.pixelX < left && m.velocityX < 0) return true;
  if (m.pixelY > bottom && m.velocityY > 0) return true;
  if (m.pixelY < top && m.velocityY < 0) return true;
  MissileState.aimX = (left + right) / 2;
  MissileState.aimY = (top + bottom) / 2;
  return false;
}

}  // namespace

bool MissileReachedSquare() {
  const int left = kSquarePixels * MissileState.targetX, top = kSquarePixels * MissileState.targetY;
  return MissileReachedBox(left, top, left + kSquarePixels, top + kSquarePixels);
}

bool MissileReachedCreature(int creature) {
  if (!IsValidCreature(creature)) return true;
  const CreatureRecord& c = Creatures[creature];
  const int figureWidth = c.figureSize[0].current, figureHeight = c.figureSize[1].current;
  const int left = c.pixelX + (kSquarePixels * c.footprintWidth.current - figureWidth) / 2 + 2;
  const int top = c.pixelY + (kSquarePixels * c.footprintHeight.current - figureHeight) / 2 + 2;
  return MissileReachedBox(left, top, left + figureWidth - 4, top + figureHeight - 4);
}

void AdvanceMissileFlight() {
  MissileStateWords& m = MissileState;
  ++m.steps;
  m.pixelX = m.originX + static_cast<int32_t>(m.steps * m.velocityX);
  m.pixelY = m.originY + static_cast<int32_t>(m.steps * m.velocityY);
}

bool IsPastSquareInFacing() { return IsPastSquareInFacing(CurrentFighter()); }

bool IsPastSquareInFacing(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const int sx = kSquarePixels * c.squareX, sy = kSquarePixels * c.squareY;
  const bool up = c.pixelY < sy - 8, down = c.pixelY > sy + 8;
  const bool left = c.pixelX < sx - 8, right = c.pixelX > sx + 8;
  switch (c.facing) {
    case kFaceUp: return up;
    case kFaceDown: return down;
    case kFaceLeft: return left;
    case kFaceRight: return right;
    case kFaceUpRight: return right && up;
    case kFaceDownRight: return right && down;
    case kFaceDownLeft: return left && down;
    case kFaceUpLeft: return left && up;
    default: return false;
  }
}

int SnapToTargetSquare(int slot) {
  const int creature = CreatureOfSlot(slot);
  if (creature == -1) return 0;
  CreatureRecord& c = Creatures[creature];
  const int tx = kSquarePixels * c.nextX, ty = kSquarePixels * c.nextY;
  if (c.pixelX == tx && c.pixelY == ty) return 1;
  const int px = c.pixelX, py = c.pixelY;
  bool arrived = false;
  switch (c.facing) {
    case kFaceUp: arrived = py <= ty; break;
    case kFaceDown: arrived = py >= ty; break;
    case kFaceLeft: arrived = px <= tx; break;
    case kFaceRight: arrived = px >= tx; break;
    case kFaceUpRight: arrived = px >= tx && py <= ty; break;
    case kFaceUpLeft: arrived = px <= tx && py <= ty; break;
    case kFaceDownLeft: arrived = px <= tx && py >= ty; break;
    case kFaceDownRight: arrived = px >= tx && py >= ty; break;
    default: break;
  }
  if (!arrived) return 0;
  c.pixelX = tx;
  c.pixelY = ty;
  return 1;
}
