// Map switching: storing the map being left, copying the target map in,
// preparing its squares (floor picture variants, multi-square pictures, rain
// shelter), placing the party and monster groups, and resting.
#pragma once
#include <cstdint>

#include "map/map_record.h"
#include "state/map_view_state.h"

// Numbers of multi-square pictures: word 0 for floor codes 3000-3999, word 2 for 4000-4004.
extern uint32_t ObjectBlockCells[kMapSquares][4];
// 1 on the squares of 4 x 4 blocks used by the monster groups placed on entry.
extern uint32_t SpawnBlockGrid[kMapSquares];
// 1 when the map just left had no rain.
extern uint8_t LeavingRainFlag;
// Set by world-map travel: direction 1, 3, 5 or 7 (0 none) and the arrival side code.
extern int32_t WorldTravelDirection;
extern int32_t ArrivalSideCode;
// The spell waiting to be cast and its caster, -1 none: the current cast's
// SpellInProgress and SpellCaster (state/current_cast.h) under the names map
// switching clears them by.
extern int32_t &PendingSpell, &PendingSpellCaster;
// The facing the last map switch gave the party (1 to 8).
extern int32_t MapEntryFacing;
// Resting: the game screen's rest fade and day clock under the names the
// rest sets them by (a rest fades to black and wakes at 480 minutes), and
// the rest-key latch.
extern uint32_t& RestingFlag;
extern uint32_t& RestTimer;
extern uint8_t RestKeyLatch;

// The battlefields of the road, maps 0 to 4: the world map's meetings are
// fought there, and whatever the party leaves on them is gone when it goes.
constexpr int kLastRoadBattlefield = 4;

int SwitchLocalMap(int map, int x, int y, int facing, uint8_t keepTint, uint8_t noEncounter);
// The same switch to a map where the party's fallen lie on `fallen` (x -1:
// nowhere), a rest where the party stands or a game taken up: they are laid
// before the party settles, so that nobody settles on one.
int SwitchLocalMapWithFallen(int map, int x, int y, int facing, uint8_t keepTint, uint8_t noEncounter,
                             const FallenPlace (&fallen)[kFallenPlaceCount]);
void NormaliseMapCells();
void RemapMapCellCodes();
void ClearFloorItemsOnLeave();
void ClearSharedGroupFlags();
// The party has left the current map for the world map: on a battlefield of
// the road the encounter creatures still standing there (a group run away
// from or left behind) leave it for good, their generated items' rows given
// back, and the fighter table is built without them.
void TakeOffLeftEncounter();
void RestPartyOnMap();

// The base code a floor picture variant folds back to (the code itself when it is none).
int32_t FloorVariantBase(int32_t code);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetMapSwitchingState();
