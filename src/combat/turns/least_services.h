// Least versions of the computer fighters' services the casting steps and the
// spell choice call, standing until the area placement, the valuation grids,
// the decision's survey and the spell-level tests of the computer-controlled
// fighters replace them. The target choice and the usefulness tests are in
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
#include "combat/turns/target_choice.h"
#include "combat/turns/valuation_grid.h"
#include "creatures/control_tendencies.h"  // HighestUsableSpellLevel
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
// crossbow reload (1 when it took the action).
extern uint8_t CpuMoveIssued;
int SendCpuMoving(int creature, int x, int y, int noStep);
int IssueEscape();
int ReloadCrossbowIfNeeded(int creature);
// Draws and presents a frame in the middle of a long search.
void PresentFrameNow();
// Whether a path to (x, y) can be walked with the moves left this turn.
bool IsReachableThisTurn(int creature, int x, int y);

// The good-square grid of a caster (stance -1 its own, 1 touch range, 2 keep
// the distance, 3 the alarm) with a target zone (target -1 none), and the
// cure grid.
int BuildGoodSquareGrid(int creature, int stepOnly, int stance, int target, int radiusSquared, int spell);
int BuildCureValuationGrid(int creature);
// Where a caster best stands to release a cone or line, or a burst round
// itself (the current spell): the square, packed, or -1.
int64_t BuildConeSpellGrid(int creature, int spell);
int64_t BuildDiscSpellGrid(int creature);
// The magic-area kind the fighter wants to leave (0 none).
extern int32_t HazardKindToLeave;

// Area placement for the spell search (least versions): marks the squares the
// caster can reach with the spell; the best burst centre ((-1, -1) none); the
// best rectangle (false none).
bool FillAreaTargetWeights(int spell, int caster);
GridSquare FindCircle(int caster, int spell);
bool FindLineTarget(int spell, int caster);

// The arcane choices at the start of the spell search (false light, dispels):
// 1 when one was cast, 2 when a spell was forced into the found list, 0 none.
int TryArcaneSpellChoices(int fighter);
// The melee attack of the full path on an adjacent enemy; the escape of a
// paralysed or grappling fighter. True when an order was given.
bool AttackAdjacentEnemy(int fighter);
