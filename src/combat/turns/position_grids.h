// The grids of a computer fighter that keeps its distance: withdrawing from
// its enemies (or, planning a whirlwind, standing by helpless allies), and
// shooting from where good targets are in the open.
#pragma once
#include <cstdint>

// Each returns 1. stepOnly 1 limits the fighter to its five-foot step.
int BuildWithdrawValuationGrid(int creature, uint8_t stepOnly);
int BuildWhirlwindValuationGrid(int creature, uint8_t stepOnly);
int BuildRangedValuationGrid(int creature);

// 1: while a ranged grid is scored, the chance of a shot at a target is
// evaluated once for every square that reads the same to the evaluation, and
// the targets' lines are weighed without marking them. 0: every square's
// shots and lines are worked out in full (the tests compare both ways).
extern uint8_t ShotsRemembered;
// 1: remembering, a one-square archer's square that looks up, target by
// target, the very shots a square scored before it looked up (all kept)
// takes that square's worth, and each such shot is looked up once. 0: every
// square looks its shots up one by one (the tests compare both ways).
extern uint8_t ShotsSkipped;
// 1 (the default): while shots are remembered, the shots evaluated as a grid
// is scored write no attack label, situation labels or profile captions
// (EvaluationTextsWritten 0): the last shot is evaluated again for real once
// the grid is scored. 0: every evaluation writes them (the tests compare both
// ways).
extern uint8_t ShotTextsSkipped;
