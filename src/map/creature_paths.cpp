#include "map/creature_paths.h"

#include <cstdlib>
#include <cstring>

#include "state/fighter_slots.h"
#include "rules/creature_record.h"

namespace {
constexpr int kSquarePixels = 24;
}

void ResetCreaturePath(int creature) {
  if (creature < 0 || creature >= kCreatureCount) return;
  CreatureRecord& c = Creatures[creature];
  const int slot = c.fighterSlot;
  if (slot >= 0 && slot < kFighterSlots) {
    FighterSlot& f = FighterSlots[slot];
    std::memset(f.pathX, 0, sizeof f.pathX);
    std::memset(f.pathY, 0, sizeof f.pathY);
    f.pathIndex = -1;
  }
  c.destinationX = -1;
  c.destinationY = -1;
  const int fromSquare = std::abs(c.pixelX - c.squareX * kSquarePixels) +
                         std::abs(c.pixelY - c.squareY * kSquarePixels);
  const int fromNext = std::abs(c.pixelX - c.nextX * kSquarePixels) +
                       std::abs(c.pixelY - c.nextY * kSquarePixels);
  if (fromNext < fromSquare) {
    c.squareX = c.nextX;
    c.squareY = c.nextY;
  }
  c.nextX = c.squareX;
  c.nextY = c.squareY;
  c.pixelX = c.squareX * kSquarePixels;
  c.pixelY = c.squareY * kSquarePixels;
}
