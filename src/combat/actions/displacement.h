// Keeping creatures off each other's squares and out of walls: marking the
// area a creature is to stand on, moving every other creature out of it to
// the nearest places where its whole footprint fits, growing a creature in
// place, and moving a creature whose own squares are blocked.
#pragma once
#include <cstdint>

#include "map/map_record.h"

// 1 marks a square of the area to be cleared of creatures; x * 60 + y.
extern int32_t DisplaceMask[kMapSquares];

// Clears the mask and marks the rectangle of width along x and depth along y
// from the creature's square; false (the mask partly marked) at the first
// square outside the map's width and height.
bool MarkTargetArea(int creature, int width, int depth);
// Moves every creature other than the one that stays off the marked area, each
// to the first fitting square of the nearest ring reachable through squares
// free of walls (lowest x, then lowest y, first). True when none is left
// there; false when one found no place (it and any later ones stay).
bool DisplaceFromArea(int stays);
// 1 when no marked square is a wall square.
int AreaHasNoWall();
// True when no marked square holds a wall-layer code or a creature of a side
// other than the given creature's (the party with its allies, or the enemies;
// a creature of any other side always counts as another side).
bool AreaFreeOfWallsAndFoes(int creature);
// True when the rectangle lies within the 60 by 60 grid and none of its squares is a wall square.
bool IsRectFreeOfWalls(int x, int y, int width, int depth);

// Whether a footprint of that size fits with its corner on the creature's
// square, or one square left, up-left or up of it, with no wall and no foe
// under it. The creature does not move.
bool CanGrowInPlace(int creature, int width, int depth);
// The same places in the same order; the first where the other creatures
// can also be moved away becomes the creature's square (they are moved).
// False, the creature where it was, when none.
bool NudgeOrDisplace(int creature, int width, int depth);
// RelocateIfBlocked, defined here, is declared by the formation
// (rules/formation.h), whose FinishPartyMoves settles the party with it.

// Puts the words above back to their start-up values (a new game, and tests).
void ResetDisplacementState();
