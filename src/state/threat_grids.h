// The side-threat grid of the computer's decisions: threat marks of each side,
// the path finder's arrows and the cover test's walked line share it.
#pragma once
#include <cstdint>

// 3,600 cells, x * 60 + y.
extern int32_t ArrowGrid[3600];

// Puts the words above back to their start-up values (a new game, and tests).
void ResetThreatGridsState();
