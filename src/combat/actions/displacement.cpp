#include "combat/actions/displacement.h"

#include <cstring>

#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/reset_words.h"
#include "state/turn_order.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "rules/positions.h"

int32_t DisplaceMask[kMapSquares] = {};

namespace {

constexpr int32_t kParked = 1000;

bool FitsAt(int creature, int x, int y) {
  const CreatureRecord& c = Creatures[creature];
  for (int fx = x; fx < x + c.footprintWidth.current; ++fx)
    for (int fy = y; fy < y + c.footprintHeight.current; ++fy) {
      if (!CurrentMap.Inside(fx, fy) || CurrentMap.At(kLayerWalls, fx, fy) != 0) return false;
      if (DisplaceMask[SquareIndex(fx, fy)] == 1) return false;
      const int holder = CreatureAtSquare(fx, fy, creature);
      if (holder != -1) return false;
    }
  return true;
}

// The ring search from the creature's square; true with the place found.
bool FindPlace(int creature, int* outX, int* outY) {
  static uint8_t cells[kMapSquares];
  std::memset(cells, 0, sizeof cells);
  const CreatureRecord& c = Creatures[creature];
  if (!CurrentMap.Inside(c.squareX, c.squareY)) return false;
  cells[SquareIndex(c.squareX, c.squareY)] = 1;
  for (;;) {
    for (int x = 0; x < CurrentMap.width; ++x)
      for (int y = 0; y < CurrentMap.height; ++y) {
        if (cells[SquareIndex(x, y)] != 1) continue;
        for (int dx = -1; dx <= 1; ++dx)
          for (int dy = -1; dy <= 1; ++dy) {
            const int nx = x + dx, ny = y + dy;
            if (!CurrentMap.Inside(nx, ny) || cells[SquareIndex(nx, ny)] != 0) continue;
            if (CurrentMap.At(kLayerWalls, nx, ny) == 0) cells[SquareIndex(nx, ny)] = 2;
          }
      }
    bool candidates = false;
    for (int x = 0; x < CurrentMap.width; ++x)
      for (int y = 0; y < CurrentMap.height; ++y) {
        uint8_t& cell = cells[SquareIndex(x, y)];
        if (cell != 2) continue;
        candidates = true;
        if (FitsAt(creature, x, y)) {
          *outX = x;
          *outY = y;
          return true;
        }
        cell = 1;
      }
    if (!candidates) return false;
  }
}

}  // namespace

bool MarkTargetArea(int creature, int width, int depth) {
  std::memset(DisplaceMask, 0, sizeof DisplaceMask);
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + width; ++x)
    for (int y = c.squareY; y < c.squareY + depth; ++y) {
      if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return false;
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
  for (int x = 0; x < kMapSide && cleared; ++x)
    for (int y = 0; y < kMapSide && cleared; ++y) {
      if (DisplaceMask[SquareIndex(x, y)] != 1) continue;
      const int other = CreatureAtSquare(x, y, stays);
      if (other == -1) continue;
      if (DebugMode == 1 && InCombat == 1) LogMessage("Displacing %s from target area.", Creatures[other].name);
      int nx = 0, ny = 0;
      if (!FindPlace(other, &nx, &ny)) {
        if (DebugMode == 1) LogMessage("No more squares to consider");
        cleared = false;
        break;
      }
      if (DebugMode == 1) LogMessage("Found new place %i %i", nx, ny);
      CreatureRecord& o = Creatures[other];
      o.squareX = o.nextX = nx;
      o.squareY = o.nextY = ny;
      o.pixelX = nx * 24;
      o.pixelY = ny * 24;
      --y;  // look at this square again: another creature may stand there too
    }
  if (parked) {
    Creatures[stays].squareX = keepX;
    Creatures[stays].squareY = keepY;
  }
  return cleared;
}

int AreaHasNoWall() {
  for (int i = 0; i < kMapSquares; ++i)
    if (DisplaceMask[i] == 1 && CurrentMap.At(kLayerWalls, i / kMapSide, i % kMapSide) != 0) return 0;
  return 1;
}

// (The anchors are tried as the displacement rules give them; whether every
// other creature could be moved off is what DisplaceFromArea reports.)
bool NudgeOrDisplace(int creature, int width, int depth) {
  if (!IsValidCreature(creature)) return false;
  CreatureRecord& c = Creatures[creature];
  const int x = c.squareX, y = c.squareY;
  static const int kAnchorX[4] = {0, -1, -1, 0}, kAnchorY[4] = {0, 0, -1, -1};
  for (int a = 0; a < 4; ++a) {
    c.squareX = x + kAnchorX[a];
    c.squareY = y + kAnchorY[a];
    if (MarkTargetArea(creature, width, depth) && AreaHasNoWall() && DisplaceFromArea(creature)) {
      c.nextX = c.squareX;
      c.nextY = c.squareY;
      c.pixelX = c.squareX * kSquarePixels;
      c.pixelY = c.squareY * kSquarePixels;
      return true;
    }
  }
  c.squareX = x;
  c.squareY = y;
  return false;
}

void ResetDisplacementState() {
  ResetWords(DisplaceMask);
}
