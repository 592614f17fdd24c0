#include "combat/actions/displacement.h"

#include <cstring>

#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "rules/positions.h"

int32_t DisplaceMask[kMapSquares] = {};

bool MarkTargetArea(int creature, int width, int depth) {
  std::memset(DisplaceMask, 0, sizeof DisplaceMask);
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  for (int x = c.squareX; x < c.squareX + width; ++x) {
    for (int y = c.squareY; y < c.squareY + depth; ++y) {
      if (x < 0 || y < 0 || x >= CurrentMap.width || y >= CurrentMap.height || x >= kMapSide || y >= kMapSide)
        return false;
      DisplaceMask[SquareIndex(x, y)] = 1;
    }
  }
  return true;
}

bool DisplaceFromArea(int stays) {
  for (int i = 0; i < kMapSquares; ++i) {
    if (DisplaceMask[i] != 1) continue;
    const int other = CreatureAtSquare(i / kMapSide, i % kMapSide, stays);
    if (other != -1) return false;
  }
  return true;
}

int AreaHasNoWall() {
  for (int i = 0; i < kMapSquares; ++i)
    if (DisplaceMask[i] == 1 && CurrentMap.At(kLayerWalls, i / kMapSide, i % kMapSide) != 0) return 0;
  return 1;
}

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
