// Keeping creatures off each other's squares: marking the area a creature
// stands on and moving every other creature out of it to the nearest places
// where its whole footprint fits.
#pragma once
#include <cstdint>

#include "map/map_record.h"

// 1 marks a square of the area to be cleared of creatures; x * 60 + y.
extern int32_t DisplaceMask[kMapSquares];

// Clears the mask and marks the rectangle of width along x and depth along y
// from the creature's square; false (the mask partly marked) when the
// rectangle leaves the map.
bool MarkTargetArea(int creature, int width, int depth);
// Moves every creature other than the one that stays off the marked area, each
// to the first fitting square of the nearest ring reachable through squares
// free of walls (lowest x, then lowest y, first). True when none is left there.
bool DisplaceFromArea(int stays);
// 1 when no marked square is a wall.
int AreaHasNoWall();
// Gives the creature a place of width x depth at its square or one step up
// or left of it (in that order) where no wall stands, moving the others off
// it; true when found (the creature moves there), false with its square unchanged.
bool NudgeOrDisplace(int creature, int width, int depth);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetDisplacementState();
