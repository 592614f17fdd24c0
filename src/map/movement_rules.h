// Movement words and rules of the combat actions that the path finder and the
// map model use: which sides are enemies, the feet a step costs, the corners
// a one-square creature may not cut diagonally, and the flags of a walk
// toward a creature.
#pragma once
#include <cstdint>

// 1 = path searches end on a square touching the creature on the goal.
extern uint8_t SeekAdjacent;
// The two walk-to-interaction bytes (talk, open) set with SeekAdjacent.
extern uint8_t WalkToInteraction[2];
// Set to 1 by map switching, 0 on a world-map arrival encounter.
extern uint8_t MapEntryFlag;

// A creature is never its own enemy; sides 1, 5 and 6 form one team against
// side 2; any other side (a talker) is hostile to all.
bool AreEnemies(int a, int b);

// Feet of one step of the creature from the left square onto the entered one:
// 0 for the same square, 7 diagonal, else 5. With the rules applied the cost
// doubles in a hindering or web area (a fire elemental is not held by webs)
// or, for a creature smaller than large outside them, on difficult ground
// (floor codes 123 and 124), unless the creature moves freely; and it
// doubles again (half again with Blind-Fight) for a creature that cannot see
// without being blinded or true-seeing, or that goes by hearing and is
// silenced without being deafened.
int CalculateMoveCost(int creature, int enteredX, int enteredY, int leftX, int leftY, uint32_t applyRules);

// Whether the square stops passage: in combat a solid barrier; otherwise any
// wall code but the corner pieces that TouchesBlockCode lets through.
bool IsSquareObstructed(int x, int y);
// A diagonal step whose two corner squares are A and B: refused when either
// corner is not floor and is obstructed. Never refused for a creature wider
// or deeper than one square (creature -1 skips that test), nor when the two
// corners share a row or column (the step is not diagonal).
bool IsDiagonalStepBlocked(int creature, int ax, int ay, int bx, int by);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetMovementRulesState();
