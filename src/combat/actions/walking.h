// Walking out of combat: every frame each creature of the map moves along its
// path square by square; patrols go on to their next waypoint, wanderers pick
// squares that show them what they have not seen; creatures that leave the
// map leave it; and the party leader carries out its pending interactions
// (pick up, rest, take the stairs, listen at or open a door) on arrival.
#pragma once
#include <cstdint>

#include "state/fighter_slots.h"

// Set for each fighter slot whose creature arrived on a square this frame.
extern uint8_t MovedThisFrame[kFighterSlots];
// Set while a listening script runs at a door.
extern uint8_t ListeningAtDoor;

// One frame of walking (screen mode 0 only).
void WalkingStep();

// A wandering creature chooses and paths to a square that shows it squares
// it has not explored; false when it stands still for a while instead.
bool ExploreStep(int creature);
// How many squares the creature would newly see standing on (x, y): what it
// would see is marked in its slot's seen-squares grid (1 seen, 2 not) and
// the seen squares not yet in its explored grid are counted. It stays where it is.
int CountNewlySeenSquares(int x, int y, int creature);

// Plays the stairs sound (sample 1 on the first free channel, at the ambient
// volume), cancels the pending walk and goes to the map: 99 opens the local
// map view of the current one, any other number switches to that map with the
// party on (x, y) facing so. True.
bool ChangeMapWithSound(int map, int x, int y, int facing);
// Runs the script of an item ("Scripts\<adventure>\Item_<n>.mls"), keeping the screen mode.
void RunItemScript(int32_t item);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetWalkingState();
