// What the map view asks of the map model: the rain on the fighters, taking
// an object off a square's stack, and the party's Turn Undead uses refilled
// on entering a map. (The map view's own words are in state/map_view_state.h
// and the camera's in state/camera.h.)
#pragma once
#include <cstdint>

#include "state/camera.h"
#include "state/map_view_state.h"

// The rain penalty: while a storm rains on a map open to the weather, every
// fighter with a footprint square where the rain falls gets a fresh lasting
// "Lower_Range_Attack_(Rain)" (value 4); otherwise every fighter loses it.
void UpdatePartyAreaCondition();
// Removes the object at a level 0 to 3 of a square's stack, in the current map
// and its stored copy, shifting the higher levels down; false for a level above 3.
bool RemoveCellObject(int level, int x, int y);
// Refills the Turn Undead uses per day of the four party members, or of every
// other creature record: a Cleric's Charisma / 2 - 4, at least 1; 0 for others.
void ResetPartyTurnUndeadUses();
void ResetTurnUndeadUses();
