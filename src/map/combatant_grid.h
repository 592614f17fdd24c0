// Which combatants of the turn order stand on each square: the path search
// asks this for every square it tries, so it reads a grid instead of walking
// the turn order. The grid follows the fighters by itself: SyncCombatantGrid
// compares every turn-order entry with the footprint it was last stamped
// with and restamps the entries whose creature moved, changed size, joined or
// left, so a fighter that walks, a creature placed on a square for a test,
// and a turn order rebuilt at the start of a battle are all seen at the next
// sync (one comparison per entry, nothing rebuilt when nothing changed).
#pragma once
#include <cstdint>

#include "map/map_record.h"

// Brings the grid up to the turn order and the creatures' current squares.
void SyncCombatantGrid();
// While one creature is followed, a sync looks at its entries alone: for work
// that moves only that creature (a computer fighter placed on square after
// square while its grid is scored) and changes no other creature nor the
// turn order. Following nests; following a second creature inside follows
// everyone again.
void FollowOnlyCreature(int creature);
void FollowAllCreatures();
// How many turn-order entries cover (x, y) (a creature listed twice counts
// twice), and the creature of the first entry in turn order covering it that
// is neither except1 nor except2 (-1 none). Each brings the grid up to date
// before it answers, so that a creature placed, moved, added or removed since
// is seen. (x, y) must lie on the 60 x 60 grid.
int CombatantCountOn(int x, int y);
int OtherCombatantOn(int x, int y, int except1, int except2);

// The same answers read without bringing the grid up to date, for the work
// that asks them square after square: only inside an operation that called
// SyncCombatantGrid itself at its start and moves, adds and removes no
// combatant until its last answer. (Inline: the path search asks for every
// square it tries, most of them uncovered; the count per square is
// CombatantCountGrid, by SquareIndex, and OtherCombatantOnCovered looks
// through the entries of a covered square.)
extern uint8_t CombatantCountGrid[kMapSquares];
int OtherCombatantOnCovered(int x, int y, int except1, int except2);
inline int CombatantCountOnSynced(int x, int y) { return CombatantCountGrid[SquareIndex(x, y)]; }
inline int OtherCombatantOnSynced(int x, int y, int except1, int except2) {
  return CombatantCountGrid[SquareIndex(x, y)] == 0 ? -1 : OtherCombatantOnCovered(x, y, except1, except2);
}

// How many times a sync has found a turn-order entry changed (a creature
// moved, changed size, joined or left), emptying the grid counting as one:
// what was worked out from the combatants' squares under one count still
// holds under the same count after a sync. (While one creature is followed,
// a sync sees that creature's changes alone.)
uint32_t CombatantGridChanges();

// Empties the grid (a new game, and tests).
void ResetCombatantGridState();
