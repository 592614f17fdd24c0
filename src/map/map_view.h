// What the map view asks of the map model: the rain on the fighters, taking
// an object off a square's stack, and the party's Turn Undead uses refilled
// on entering a map. (The map view's own words are in state/map_view_state.h
// and the camera's in state/camera.h.)
#pragma once
#include <cstdint>

#include "state/camera.h"
#include "state/map_view_state.h"

// Applies the rain condition to every fighter (on rain maps by the sheltered squares).
void UpdatePartyAreaCondition();
// Removes the object at a level 0 to 3 of a square's stack, in the current map
// and its stored copy, shifting the higher levels down; false for a level above 3.
bool RemoveCellObject(int level, int x, int y);
// Refills the Turn Undead uses per day of the four party members, and of
// every other creature (4 to 2,099; after a load).
void ResetPartyTurnUndeadUses();
void ResetTurnUndeadUses();
