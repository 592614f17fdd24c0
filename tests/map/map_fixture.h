// Small maps drawn as text for the map tests, and creatures placed on them.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "state/fighter_slots.h"
#include "state/turn_order.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "screens/game/view_window.h"

namespace mapfixture {

// Rows are y (north first), characters x. Walls layer: '#' stone wall 46,
// '+' door along x 82, '|' door along y 83, 'h' hedge 79, '-' code -1,
// anything else open (0).
inline void DrawMap(const std::vector<std::string>& rows, int lit = 1) {
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  CurrentMap.height = static_cast<int32_t>(rows.size());
  CurrentMap.width = static_cast<int32_t>(rows[0].size());
  CurrentMap.lit = lit;
  for (int y = 0; y < CurrentMap.height; ++y) {
    for (int x = 0; x < CurrentMap.width; ++x) {
      int32_t code = 0;
      switch (rows[y][x]) {
        case '#': code = 46; break;
        case '+': code = 82; break;
        case '|': code = 83; break;
        case 'h': code = 79; break;
        case '-': code = -1; break;
        default: break;
      }
      CurrentMap.At(kLayerWalls, x, y) = code;
    }
  }
}

// Puts a creature on (x, y) with a w x h footprint into the next fighter slot.
inline int PlaceFighter(int creature, int x, int y, int w = 1, int h = 1, int sight = 60) {
  CreatureRecord& c = Creatures[creature];
  std::memset(&c, 0, sizeof c);
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.footprintWidth = {w, w};
  c.footprintHeight = {h, h};
  c.sight = sight;
  c.present = 1;
  c.leader = -1;
  const int slot = FighterCount++;
  FighterSlots[slot].creature = creature;
  FighterSlots[slot].alert = 1;
  c.fighterSlot = slot;
  return slot;
}

// Starts a battle with the placed fighters in the turn order.
inline void StartTestCombat() {
  InCombat = 1;
  TurnEntryCount = FighterCount;
  // Fresh entries: no marks left over from an earlier battle.
  for (int s = 0; s < FighterCount; ++s) {
    TurnOrder[s] = {};
    TurnOrder[s].creature = FighterSlots[s].creature;
  }
}

// The view's step of the game's frame: the view moves toward what it
// follows; with nothing to follow, no movement is under way.
inline void StepCamera() {
  if (FollowTarget != -1)
    CameraFollowActor();
  else
    ViewScrolling = 0;
}

}  // namespace mapfixture
