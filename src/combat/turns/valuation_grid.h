// The valuation grid of the computer fighters: one score per square of the
// local map (x * 60 + y), -100 where the fighter may not stand, the highest
// value wins; and the passes every grid builder runs over it: the squares the
// fighter does not fit on, the weights of terrain and magic areas, and the
// cost of getting there (path, attacks of opportunity, fire and web).
#pragma once
#include <cstdint>

#include "map/map_record.h"
#include "map/path_finding.h"

constexpr int32_t kUnfit = -100;

extern int32_t ValuationGrid[kMapSquares];

// The path records of the last reachability pass: per square, the tallies of
// the path that reached it (PathTallyRecord words), first and last word -1
// where no path was worked out.
extern PathTallyRecord ReachRecords[kMapSquares];

// Every square not yet -100 on which FootprintFitsAt (x, y, creature, 0)
// fails becomes -100. Returns 1.
int MarkUnfitSquares(int creature);
// The largest value of the grid, never below -1.
int32_t ValuationGridMaximum();
// Terrain and magic-area weights on the squares that are neither -100 nor 0.
// Returns 1.
int ScoreGridAdjustments(int creature);
// Crowding, the cost of the walk to each wanted square (path, attacks of
// opportunity, fire and web), one-move reach and the tie-break among the
// best squares. The flags are 0 or 1. Returns 1.
int ScoreGridReachability(int creature, uint8_t preferOneMove, uint8_t dropUnreachable, uint8_t oneMoveOnly,
                          uint8_t dropBelowFourteen);
// While a decision keeps them (true from its start to its end), a pass over
// the same wanted squares, by the same fighter on the same square over the
// same battle, takes what an earlier pass of the decision recorded instead of
// searching again. Each call forgets the passes kept.
void KeepReachPasses(bool keep);

// A straight neighbour of the square, or a diagonal one whose two corner
// squares are open (flood-open, or free of solid areas in combat and of walls
// that TouchesBlockCode does not free); always true for a fighter wider or
// taller than one square. The test of free five-foot steps.
bool IsFreeStepSquare(int creature, int fromX, int fromY, int x, int y);
// The creature holds a castable spell (HighestUsableSpellLevel from level 1).
bool IsCaster(int creature);
// Fire_Resistance active, derived fire resistance above 0, or fire response 4.
bool IsFireSafe(int creature);

// The squares on which the creature's footprint, placed with its upper-left
// square there, could cover a square of the box [x0, x1] x [y0, y1]: the box
// grown left and up by the footprint, clipped to the grid. The scans of the
// rings round an enemy look there alone.
struct SquareBox {
  int x0, y0, x1, y1;
};
SquareBox FootprintReach(int creature, int x0, int y0, int x1, int y1);
// The box of the ring round the creature's footprint, grown by more squares.
SquareBox RingBox(int creature, int more);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetValuationGridState();
