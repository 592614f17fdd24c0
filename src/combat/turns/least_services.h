// Least versions of the computer fighters' services the casting steps and the
// spell choice call, standing until the area placement, the valuation grids,
// the decision's survey and the spell-level tests of the computer-controlled
// fighters replace them. The target choice and the usefulness tests are in
// spell_targets.h and spell_usefulness.h.
#pragma once
#include <cstdint>

#include "combat/turns/spell_targets.h"
#include "combat/turns/spell_usefulness.h"
#include "rules/adjacency.h"  // GridSquare

// Whether the creature can cast now; outIndex (may be null) gets the index
// of the blocking condition entry, -1 none.
bool CanCastSpells(int creature, int* outIndex);

// Valuation of squares for an area spell of the current caster; the best
// centre of a burst ((-1, -1) none) / the best end of a line (false none).
void FillAreaTargetWeights();
GridSquare FindCircle();
bool FindLineTarget(int32_t* outX, int32_t* outY);

// Spells 107, 119, 133, 144, 162, 109, 120, 134, 145, 161.
bool IsGroupSpell10(int spell);
// The squared reach of the spell's range kind: personal 0, touch 2, 15 feet
// 9, 35 feet 49, 60 feet 144; -1 unlimited.
int RangeClassSquared(int spell);

// The melee valuation of the squares for a creature and the best square of
// it ((-1, -1) when none stands out).
void BuildMeleeValuationGrid(int creature, int caster);
GridSquare ExtractBestSquare(int creature);

// The decision's survey: the caster the fighter means to disrupt (the focus
// creature, -1 none) and the enemy with the fewest hit points (-1 none).
extern int32_t DisruptionTarget;
extern int32_t WeakestEnemy;

// A spell the creature can cast now at a level from start (1 when -1) up to
// its highest spell level: spells left at the level and a known spell of it.
bool HighestUsableSpellLevel(int start, int creature);
// Spells left at a level from 1 to its highest, or an innate spell with uses left.
bool CanStillCastSpells(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetTurnLeastServicesState();
