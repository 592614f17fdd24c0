// The party's walk on the map: the four walk-to flags (open a door, listen at
// a door, take the stairs, rest at a campfire) with their squares, the
// pending pick-up the leader walks to, gathering on the leading character and
// cancelling the walk.
#pragma once
#include <cstdint>

// The four walk-to flags, set when the selected member is sent walking toward
// a door, stairs or campfire out of reach; the walk carries the interaction
// out on arrival next to the square.
enum PartyWalkFlag : int {
  kWalkToOpenDoor = 0,
  kWalkToListenDoor = 1,
  kWalkToStairs = 2,
  kWalkToCampfire = 3,
};
extern uint8_t PartyWalking[4];
struct WalkSquare {
  int32_t x = -1, y = -1;
};
extern WalkSquare PartyWalkSquare[4];

// The pending walk-to pick-up: its flag and five words (the member named by
// the order, the square, the object level 0 to 3 or 99999 for all four, the
// object code).
constexpr int32_t kPickUpAllLevels = 99999;
struct PendingPickUpWords {
  uint8_t pending = 0;
  int32_t picker = -1;
  int32_t x = -1, y = -1;
  int32_t level = 0;
  int32_t object = 0;
};
extern PendingPickUpWords PendingPickUp;

// Puts the square (and next square) of all four party creatures on the leading character's square, or with
// presentOnly of those present on the map only. True.
bool GatherPartyOnLeader(bool presentOnly = false);
// Clears the walk-to flags and the pending pick-up and resets the paths of
// the four party creatures. True.
bool CancelPartyWalk();
// Clears the walk-to flags and the pending pick-up (the paths are kept).
void CancelPendingWalk();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetPartyWalkState();
