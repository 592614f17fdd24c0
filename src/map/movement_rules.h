// Movement words and rules of the combat actions that the path finder and the
// map model use: which sides are enemies, the feet a step costs, and the
// flags of a walk toward a creature.
#pragma once
#include <cstdint>

// 1 = path searches end on a square touching the creature on the goal.
extern uint8_t SeekAdjacent;
// The two walk-to-interaction bytes (talk, open) set with SeekAdjacent.
extern uint8_t WalkToInteraction[2];
// Set to 1 by map switching, 0 on a world-map arrival encounter.
extern uint8_t MapEntryFlag;

// A creature is never its own enemy; sides 1, 5 and 6 form one team against
// side 2; any other side is hostile to all.
bool AreEnemies(int a, int b);
// Feet of one step between adjacent squares: 5 straight, 7 diagonal, doubled
// on floor codes 123 and 124.
int CalculateMoveCost(int toY, int creature, int fromX, int fromY, int toX, uint32_t option);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetMovementRulesState();
