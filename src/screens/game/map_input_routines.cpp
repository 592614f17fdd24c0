// Walks the map view's mouse and keys order: to a square beside a blocked
// one, and on from the next square of a walk under way; the quiet flags of
// the scene and the explored squares.
#include "screens/game/map_input_routines.h"

#include "combat/actions/start_of_combat.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/party_vision.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "screens/game/frame_words.h"
#include "screens/game/map_input.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"

bool SceneFlagsClear() { return AllEnemiesAlert == 0 && RecheckSquareScripts == 0; }

bool SquareExplored(int x, int y) {
  if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return false;
  if (CurrentMapNumber < 0 || CurrentMapNumber >= kStoredMapCount) return true;
  return MapMemory[CurrentMapNumber][SquareIndex(x, y)] != 0;
}

bool WalkBesideSquare(int creature, int x, int y, int costFlag, int moveCostOption) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  SeekAdjacent = 1;
  const int found = FindCreaturePath(creature, c.squareX, c.squareY, x, y, static_cast<uint8_t>(costFlag),
                                     static_cast<uint32_t>(moveCostOption), 0, 0, nullptr, nullptr);
  SeekAdjacent = 0;
  if (found != kPathFound) return false;
  // The walk stops on the last square before the blocked one.
  CreatureRecord& w = Creatures[creature];
  if (w.destinationX == x && w.destinationY == y && PathLength >= 2) {
    w.destinationX = PathOutX[PathLength - 2];
    w.destinationY = PathOutY[PathLength - 2];
  }
  return true;
}

void RedirectWalk() {
  const int m = static_cast<int>(SelectedMember);
  if (!IsValidCreature(m)) return;
  CreatureRecord& c = Creatures[m];
  const int slot = GetFighterSlot(m);
  if (slot < 0 || slot >= kFighterSlots) return;
  const int32_t nextX = c.nextX, nextY = c.nextY, facing = c.facing;
  if (nextX == MapCursorX && nextY == MapCursorY) {
    // The walk ends on the square it is entering.
    c.destinationX = nextX;
    c.destinationY = nextY;
    FighterSlots[slot].pathIndex = -1;
    return;
  }
  const int found = FindCreaturePath(m, nextX, nextY, MapCursorX, MapCursorY, 0, 0, 0, 0, nullptr, nullptr);
  // The figure keeps stepping onto the square it was entering; the new path
  // starts from there.
  c.nextX = nextX;
  c.nextY = nextY;
  c.facing = facing;
  if (found == kPathFound) FighterSlots[slot].pathIndex = 0;
}
