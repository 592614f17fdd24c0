// The rain grid of the current map, built from the map's rain markers when
// the map becomes current. The recomputation gives the rain penalty to a
// creature that stands on a square marked 2.
#pragma once
#include <cstdint>

#include "map/map_record.h"

extern uint32_t RainShelterGrid[kMapSquares];

// Puts the words above back to their start-up values (a new game, and tests).
void ResetRainShelterState();
