// Where a computer-controlled caster puts an area spell: the squares it may
// aim at are marked in the valuation grid, then each is tried by drawing the
// area there and counting who it would catch (the centre of a burst, or the
// two corners of a rectangle).
#pragma once
#include <cstdint>

#include "rules/adjacency.h"  // GridSquare
#include "state/current_cast.h"

// DispelReason, why the caster looks for a dispel centre, is kept with the
// current cast (state/current_cast.h).

// The square the walk was about to enter when a caster stopped to deal with
// the fire on it (dispel reason 8); (-1, -1) none.
extern GridSquare MagicFireStepSquare;

// The rectangle FindLineTarget found: its first and second corner, -1 in all
// four when none.
extern int32_t LineTargetFirstX, LineTargetFirstY, LineTargetSecondX, LineTargetSecondY;

// 1 (the start-up value): a burst or rectangle that cannot beat the best one
// found so far is passed over without being drawn, and the good-square grid
// looks for dispellable cells only within a dispel's reach of each square.
// 0: every one is drawn and every cell looked at; the tests set it to show
// that both ways give the same answers.
extern uint8_t PlacementShortcuts;

// Marks 1 in the valuation grid on every floor square the caster could aim
// the spell at: a free line from its nearest footprint square and, unless
// the spell's range is unlimited (spell -1 too), within its squared reach.
// Every other square 0. True.
bool FillAreaTargetWeights(int spell, int caster);

// The best centre of a burst of the spell among the marked squares, (-1, -1)
// when none will do. Squares whose burst misses the script-set target are
// unmarked.
GridSquare FindCircle(int caster, int spell);

// The best rectangle of the spell placed by its first corner on a marked
// square, in both orientations; true with the corners stored above.
bool FindLineTarget(int spell, int caster);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetAreaPlacementState();
