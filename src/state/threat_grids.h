// The side-threat grid of the computer's decisions: threat marks of each side,
// the path finder's arrows and the cover test's walked line share it.
#pragma once
#include <cstdint>

// 3,600 cells, x * 60 + y.
extern int32_t ArrowGrid[3600];
// The creature whose path search laid the threat marks and arrows that
// ArrowGrid holds; kArrowGridStepMarks while it holds the five-foot step's
// squares (each marked with its step's own code); -1 while it holds anything
// else (a line of fire, nothing yet).
extern int32_t ArrowGridMover;
constexpr int32_t kArrowGridStepMarks = -2;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetThreatGridsState();
