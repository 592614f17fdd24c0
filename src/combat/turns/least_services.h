// Least versions of the computer fighters' services the casting steps call,
// standing until the target choice, the usefulness and immunity tests and the
// area placement of the computer-controlled fighters replace them.
#pragma once
#include <cstdint>

#include "rules/adjacency.h"  // GridSquare

// Whether the creature can cast now; outIndex (may be null) gets the index
// of the blocking condition entry, -1 none.
bool CanCastSpells(int creature, int* outIndex);

// A friend of the caster for the current spell / the enemy the current spell
// is best spent on; -1 none.
int ChooseSpellTarget();
int ChooseBestSpellTarget();

// Whether the target is immune to the current spell (its immunity codes at
// 1 or 5), and whether the effect would change nothing on it.
bool IsImmuneToSpell(int target);
bool IsEffectWastedOnTarget(int target);
bool IsMoraleEffectWasted(int target);
bool IsBreathEffectWasted(int target);

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

// The two immunity codes of the acting creature's special attack.
int BreathWeaponImmunityCode1();
int BreathWeaponImmunityCode2();

// --- Least versions of the neighbouring Parts of the computer fighters' turn
// (special tactics and attacks, spells for situations, spell choice, good
// squares, spell target candidates, fire on the next step), standing until
// their own work replaces them. The decision calls them in its order. Each
// "Try" returns true when the decision is over for this frame (it committed,
// or it returns to decide again on the next frame).

// The good-square grid of a caster (mode -1 plain, 1 touch range, 2 keep the
// distance, 3 the alarm) for a target within a squared range (-1 any).
int BuildGoodSquareGrid(int creature, int mode, int target, int squaredRange);
// Lists the combatants within reach of the creature into the candidate list
// (class 1 squared distance below 3; 2, 3 and 4 below 10, 50 and 145 with a
// clear line). True when any was listed.
bool ListCombatantsInReach(int creature, int reachClass);

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
// The spell branch of plan 5 (counterspell and readied actions, the casting
// square, the spell search and its fall-back to weapons).
void RunSpellBranch();
