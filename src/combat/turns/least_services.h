// Least versions of the computer fighters' services the casting steps and the
// spell choice call, standing until the decision's survey, its predicates
// and the spell-level tests of the computer-controlled fighters replace them. The target choice and the usefulness tests are in
// spell_targets.h and spell_usefulness.h.
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
#include "rules/adjacency.h"  // GridSquare

// Whether the creature can cast now; outIndex (may be null) gets the index
// of the blocking condition entry, -1 none.
bool CanCastSpells(int creature, int* outIndex);

// Spells 107, 119, 133, 144, 162, 109, 120, 134, 145, 161.
bool IsGroupSpell10(int spell);
// The squared reach of the spell's range kind: personal 0, touch 2, 15 feet
// 9, 35 feet 49, 60 feet 144; -1 unlimited.
int RangeClassSquared(int spell);

// Spells left at a level from 1 to its highest, or an innate spell with uses left.
bool CanStillCastSpells(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetTurnLeastServicesState();

// Tactical predicates of the decision (least versions):
// the entries of the turn order on the creature's side (itself left out), and
// of those the ones readied against spellcasting (plans 9, 22, 23); whether
// one of them is not helpless.
int CountAllies(int creature);
int CountAlliesHoldingReady(int creature);
bool HasAllyNotHelpless(int creature);
// The favourite spells of a level group 2 to 9.
bool IsSpellInLevelGroup(int spell, int group);
// The spells the search may turn against a caster it means to disrupt.
bool IsAiSpellListed(int spell);
// Shortens a found-spell list: the four elemental summonings in a row, the
// fire and ice shields, and the two giant forms each become one drawn at
// random. The new count.
int CollapseIconRuns(int count, int32_t* list);
// The creature its script names as the target of the preprogrammed spell it
// plans (spell target kinds 3, 4 and 9), when in the turn order; -1 none.
int ScriptedSpellTarget(int creature);
// The enemies the caster may target with the spell all stand farther than
// two squared units (none nearer); only for spells it would likely cast
// defensively.
bool HasOnlyDistantTargets(int caster, int spell, int extra);

// Issuing a computer fighter's orders (least versions): a move along a path
// to (x, y) (1), an escape attempt (1 issued, 0 the turn is over), a
// crossbow reload (1 when it took the action). The move and the reload are
// in least_decision_services.cpp; CpuMoveIssued is the tactics' word.
int SendCpuMoving(int creature, int x, int y, int noStep);
int IssueEscape();
int ReloadCrossbowIfNeeded(int creature);
// Draws and presents a frame in the middle of a long search.
void PresentFrameNow();
// Whether a path to (x, y) can be walked with the moves left this turn.
bool IsReachableThisTurn(int creature, int x, int y);
