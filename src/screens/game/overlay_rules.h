// The map view's decisions about what to show: the one condition shown for
// a creature, the squares a creature may take one step to, and one step of
// the tint toward its lighting row.
#pragma once
#include <cstdint>

// The condition shown for a creature: the highest active one of the main
// list, else of the second tier, else of the third; -1 when none.
int PickShownEffect(int creature);

// Set by BuildReachOverlay when some step is possible; the caller clears it.
extern uint8_t AnyStepFlag;
// Clears the grid (3,600 squares, x * 60 + y) and marks the square beside
// the creature's footprint in each direction it can step one square: 28
// north, 27 west, 25 east, 26 south, 32 north-west, 31 south-west, 29
// north-east, 30 south-east (with no grid, only AnyStepFlag). True.
bool BuildReachOverlay(int32_t* grid, int creature);
// The compass direction (1 north, clockwise to 8 north-west) of a step mark
// of the overlay above; -1 for any other value.
int StepMarkDirection(int32_t mark);
// Whether the creature can take one step in any direction.
bool HasReachableSquare(int creature);
