// Making room on the map: the area a creature is to stand on, whether walls
// or other creatures hold it, and putting a creature onto it.
#pragma once
#include <cstdint>

#include "map/map_record.h"

// 1 marks a square of the area to be cleared of creatures; x * 60 + y.
extern int32_t DisplaceMask[kMapSquares];

// Clears the mask and marks the rectangle of width (along x) and depth
// (along y) from the creature's square; false at the first square outside the map.
bool MarkTargetArea(int creature, int width, int depth);
// True when no creature but the one that stays is left on the marked area.
// (Moving the others to free squares comes with the movement rules; until
// then nobody is moved.)
bool DisplaceFromArea(int stays);
// 1 when no marked square is a wall.
int AreaHasNoWall();
// Gives the creature a place of width x depth at its square or one step up
// or left of it where no wall and no other creature stands; true when found
// (the creature moves there), false with its square unchanged.
bool NudgeOrDisplace(int creature, int width, int depth);
