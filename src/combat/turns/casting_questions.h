// Questions the casting steps and the computer fighters' spell choice ask:
// whether a creature can cast now, the spells cast on a group, the squared
// reach of a spell's range kind and whether a square can be walked to this
// turn. This header also gathers the turn's own services those callers use
// (target choice, usefulness tests, grids, orders and predicates).
#pragma once
#include <cstdint>

#include "combat/turns/adjacency_queries.h"
#include "combat/turns/best_square.h"
#include "combat/turns/computer_decision.h"  // DisruptionTarget
#include "combat/turns/decision_words.h"     // WeakestEnemy
#include "combat/turns/melee_grid.h"
#include "combat/turns/spell_targets.h"
#include "combat/turns/spell_usefulness.h"
#include "combat/turns/tactics.h"  // CpuMoveIssued, HazardKindToLeave
#include "combat/turns/target_choice.h"
#include "combat/turns/valuation_grid.h"
#include "creatures/control_tendencies.h"  // HighestUsableSpellLevel
#include "combat/turns/computer_decision.h"  // CpuMoveIssued, HazardKindToLeave
#include "combat/turns/computer_orders.h"    // SendCpuMoving, IssueEscape, ReloadCrossbowIfNeeded
#include "combat/turns/tactical_predicates.h"
#include "combat/turns/turn_routines.h"      // PresentFrameNow
#include "rules/adjacency.h"  // GridSquare

// The conditions that keep a creature from casting, in the order they are looked for.
constexpr uint32_t kCastingBlockers[] = {97, 89, 85, 84, 157, 86, 82, 118, 100, 98, 122,
                                         123, 115, 95, 103, 94, 87, 88, 104, 148, 114};
// Whether the creature can cast now; outIndex (may be null) gets the index
// of the blocking condition entry, -1 none.
bool CanCastSpells(int creature, int* outIndex);

// Spells 107, 119, 133, 144, 162, 109, 120, 134, 145, 161.
bool IsGroupSpell10(int spell);
// The squared reach of the spell's range kind: personal 0, touch 2,
// 15 feet 9, 35 feet 49, 60 feet 144; -1 unlimited.
int RangeClassSquared(int spell);
// The same squared reach for a range kind itself.
int32_t RangeKindReach(int32_t range);


// Puts this file's words back to their start-up values (a new game, and
// tests); it keeps none at present.
void ResetCastingQuestionsState();

// Whether a path to (x, y) can be walked with the moves left this turn.
bool IsReachableThisTurn(int creature, int x, int y);
