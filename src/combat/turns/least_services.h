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
#include "combat/turns/computer_decision.h"  // CpuMoveIssued, HazardKindToLeave
#include "combat/turns/computer_orders.h"    // SendCpuMoving, IssueEscape, ReloadCrossbowIfNeeded
#include "combat/turns/tactical_predicates.h"
#include "combat/turns/turn_routines.h"      // PresentFrameNow
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


// Puts the words above back to their start-up values (a new game, and tests).
void ResetTurnLeastServicesState();


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

// --- Least versions of the special tactics and attacks and the spells for
// situations of the computer fighters, standing until their own work
// replaces them. The decision calls them in its order. Each "Try" returns
// true when the decision is over for this frame (it committed, or it returns
// to decide again on the next frame).

// Spells for situations: dispels, hazard reactions and the support spells of
// clerics, in their order.
bool RunSituationalSpells();
// Waking a sleeping ally, leaving a hazard area, sounding the alarm, turning
// undead, the breath weapon.
bool TryWakeSleeper();
bool TryLeaveHazardArea();
bool TrySoundAlarm();
bool TryTurnUndead();
bool TryBreathWeapon();
// The action check of a planned script-set spell, spell-like ability or wand
// (plan 5 when it passes); true when the decision returns.
bool CheckItemSpellActions();
// Plan 0 with a ranged attack and no adjacent enemy; false when the plan
// became 2 and the dispatch goes on.
bool RunRangedApproach();
// The ranged attack of plan 2 and the melee attack of plan 1.
void RunRangedAttack();
void RunMeleeAttack();
// The charge and the bull-rush approach of the approach chain.
bool TryCharge();
bool TryBullRushApproach();
// The attack issue (plan 1, action code 4 with the full-round action or an
// attack begun, else 2 with a standard action, else the end of the turn) and
// the shot issue (plan 2, codes 10 and 8).
void IssueMeleeAttack(int target);
void IssueShot(int target);
