#include "combat/actions/displacement.h"

#include <cstring>
#include <functional>

#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/reset_words.h"
#include "map/fighter_tests.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "rules/formation.h"
#include "rules/positions.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

int32_t DisplaceMask[kMapSquares] = {};

namespace {

constexpr int32_t kParked = 1000;

int Width(const CreatureRecord& c) { return c.footprintWidth.current > 0 ? c.footprintWidth.current : 1; }
int Depth(const CreatureRecord& c) { return c.footprintHeight.current > 0 ? c.footprintHeight.current : 1; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

// 1 the party with its allies, 2 the enemies, 0 any other side.
int SideOf(int creature) {
  const int32_t a = Creatures[creature].allegiance;
  if (IsPartyAllegiance(a)) return 1;
  return a == kAllegianceEnemy ? 2 : 0;
}

// Puts the creature on the square with its pixel position and previous square.
void PlaceCreature(int creature, int x, int y) {
  CreatureRecord& c = Creatures[creature];
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.pixelX = x * kSquarePixels;
  c.pixelY = y * kSquarePixels;
}

// Spreads out from the start square in rings through squares free of walls and
// returns the first square that passes the test (x-major within each ring).
bool RingSearch(int startX, int startY, const std::function<bool(int, int)>& fits, int* outX, int* outY) {
  static uint8_t cells[kMapSquares];
  std::memset(cells, 0, sizeof cells);
  if (!OnGrid(startX, startY)) return false;
  cells[SquareIndex(startX, startY)] = 1;
  const int width = CurrentMap.width < kMapSide ? CurrentMap.width : kMapSide;
  const int height = CurrentMap.height < kMapSide ? CurrentMap.height : kMapSide;
  for (;;) {
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        if (cells[SquareIndex(x, y)] != 1) continue;
        for (int dx = -1; dx <= 1; ++dx)
          for (int dy = -1; dy <= 1; ++dy) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
            if (cells[SquareIndex(nx, ny)] == 0 && CurrentMap.At(kLayerWalls, nx, ny) == 0)
              cells[SquareIndex(nx, ny)] = 2;
          }
      }
    bool candidates = false;
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        uint8_t& cell = cells[SquareIndex(x, y)];
        if (cell != 2) continue;
        candidates = true;
        if (fits(x, y)) {
          *outX = x;
          *outY = y;
          return true;
        }
        cell = 1;
      }
    if (!candidates) return false;
  }
}

// The present creatures of the fighter table standing on (x, y).
int CountPresentOn(int x, int y, int* first) {
  int n = 0;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int c = FighterSlots[s].creature;
    if (!IsValidCreature(c) || Creatures[c].present != 1 || !FootprintCovers(c, x, y)) continue;
    if (n++ == 0 && first) *first = c;
  }
  return n;
}

// The first marked square, x-major, on which a creature other than the one
// that stays is found; -1 when none.
int NextOccupant(int stays) {
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      if (DisplaceMask[SquareIndex(x, y)] != 1) continue;
      const int other = CreatureAtSquare(x, y, stays);
      if (other != -1 && other != stays) return other;
    }
  return -1;
}

// Where a displaced creature may go: all floor, off the marked area, and
// holding no creature but itself; nor where the creature that stays will
// stand again (it is set aside while the area is cleared, so its squares
// would look free).
bool FitsOffTheArea(int creature, int x, int y, int stays, int32_t staysX, int32_t staysY) {
  const CreatureRecord& c = Creatures[creature];
  if (!RectIsAllFloor(x, y, Width(c), Depth(c))) return false;
  const bool overStays = IsValidCreature(stays) && x < staysX + Width(Creatures[stays]) && staysX < x + Width(c) &&
                         y < staysY + Depth(Creatures[stays]) && staysY < y + Depth(c);
  if (overStays) return false;
  for (int fx = x; fx < x + Width(c); ++fx)
    for (int fy = y; fy < y + Depth(c); ++fy) {
      if (DisplaceMask[SquareIndex(fx, fy)] == 1) return false;
      if (CreatureAtSquare(fx, fy, creature) != -1) return false;
    }
  return true;
}

// The corner places a grown footprint is tried at, in order.
constexpr int kAnchorX[4] = {0, -1, -1, 0};
constexpr int kAnchorY[4] = {0, 0, -1, -1};

}  // namespace

bool MarkTargetArea(int creature, int width, int depth) {
  std::memset(DisplaceMask, 0, sizeof DisplaceMask);
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + width; ++x)
    for (int y = c.squareY; y < c.squareY + depth; ++y) {
      if (!OnGrid(x, y) || !CurrentMap.Inside(x, y)) return false;
      DisplaceMask[SquareIndex(x, y)] = 1;
    }
  return true;
}

bool DisplaceFromArea(int stays) {
  const bool parked = IsValidCreature(stays);
  int32_t keepX = 0, keepY = 0;
  if (parked) {
    keepX = Creatures[stays].squareX;
    keepY = Creatures[stays].squareY;
    Creatures[stays].squareX = Creatures[stays].squareY = kParked;
  }
  bool cleared = true;
  for (int other = NextOccupant(stays); other != -1; other = NextOccupant(stays)) {
    if (DebugMode == 1 && InCombat == 1) LogMessage("Displacing %s from target area.", Creatures[other].name);
    int x = 0, y = 0;
    const CreatureRecord& o = Creatures[other];
    const int kept = parked ? stays : -1;
    const auto fits = [other, kept, keepX, keepY](int cx, int cy) {
      return FitsOffTheArea(other, cx, cy, kept, keepX, keepY);
    };
    if (!RingSearch(o.squareX, o.squareY, fits, &x, &y)) {
      if (DebugMode == 1) LogMessage("No more squares to consider");
      cleared = false;
      break;
    }
    if (DebugMode == 1) LogMessage("Found new place %i %i", x, y);
    PlaceCreature(other, x, y);
  }
  if (parked) {
    Creatures[stays].squareX = keepX;
    Creatures[stays].squareY = keepY;
  }
  return cleared;
}

int AreaHasNoWall() {
  for (int i = 0; i < kMapSquares; ++i)
    if (DisplaceMask[i] == 1 && BlockedGrid[i] == kSquareBlocked) return 0;
  return 1;
}

bool AreaFreeOfWallsAndFoes(int creature) {
  if (!IsValidCreature(creature)) return false;
  const int side = SideOf(creature);
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      if (DisplaceMask[SquareIndex(x, y)] != 1) continue;
      if (CurrentMap.At(kLayerWalls, x, y) != 0) return false;
      for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
        const int o = FighterSlots[s].creature;
        if (!IsValidCreature(o) || o == creature || Creatures[o].present != 1 || !FootprintCovers(o, x, y)) continue;
        const int otherSide = SideOf(o);
        if (otherSide == 0 || otherSide != side) return false;
      }
    }
  return true;
}

bool IsRectFreeOfWalls(int x, int y, int width, int depth) {
  for (int i = x; i < x + width; ++i)
    for (int j = y; j < y + depth; ++j)
      if (!OnGrid(i, j) || BlockedGrid[SquareIndex(i, j)] == kSquareBlocked) return false;
  return true;
}

bool CanGrowInPlace(int creature, int width, int depth) {
  if (!IsValidCreature(creature)) return false;
  CreatureRecord& c = Creatures[creature];
  const int x = c.squareX, y = c.squareY;
  bool fits = false;
  for (int a = 0; a < 4 && !fits; ++a) {
    c.squareX = x + kAnchorX[a];
    c.squareY = y + kAnchorY[a];
    fits = MarkTargetArea(creature, width, depth) && AreaFreeOfWallsAndFoes(creature);
  }
  c.squareX = x;
  c.squareY = y;
  return fits;
}

bool NudgeOrDisplace(int creature, int width, int depth) {
  if (!IsValidCreature(creature)) return false;
  CreatureRecord& c = Creatures[creature];
  const int x = c.squareX, y = c.squareY;
  for (int a = 0; a < 4; ++a) {
    c.squareX = x + kAnchorX[a];
    c.squareY = y + kAnchorY[a];
    if (MarkTargetArea(creature, width, depth) && AreaFreeOfWallsAndFoes(creature) && DisplaceFromArea(creature)) {
      PlaceCreature(creature, c.squareX, c.squareY);
      return true;
    }
  }
  c.squareX = x;
  c.squareY = y;
  return false;
}

bool RelocateIfBlocked(int creature, bool bodiesHold) {
  if (!IsValidCreature(creature)) return true;
  const CreatureRecord& c = Creatures[creature];
  int blockedX = -1, blockedY = -1;
  for (int x = c.squareX; x < c.squareX + Width(c) && blockedX == -1; ++x)
    for (int y = c.squareY; y < c.squareY + Depth(c); ++y) {
      if (!OnGrid(x, y)) continue;
      if (CountFightersOnSquare(x, y) > 1 || CurrentMap.At(kLayerWalls, x, y) > 0 ||
          (bodiesHold && FallenMemberLiesIn(x, y, 1, 1))) {
        blockedX = x;
        blockedY = y;
        break;
      }
    }
  if (blockedX == -1) return true;
  auto fits = [creature, bodiesHold](int x, int y) {
    const CreatureRecord& r = Creatures[creature];
    if (!RectIsAllFloor(x, y, Width(r), Depth(r))) return false;
    if (bodiesHold && FallenMemberLiesIn(x, y, Width(r), Depth(r))) return false;
    for (int fx = x; fx < x + Width(r); ++fx)
      for (int fy = y; fy < y + Depth(r); ++fy) {
        int first = -1;
        const int n = CountPresentOn(fx, fy, &first);
        if (n > 1 || (n == 1 && first != creature)) return false;
      }
    return true;
  };
  int x = 0, y = 0;
  if (RingSearch(blockedX, blockedY, fits, &x, &y)) PlaceCreature(creature, x, y);
  return true;
}

void ResetDisplacementState() {
  ResetWords(DisplaceMask);
}
