// Resolving one attack of one creature on another with one entry of its
// attack profile: the attack roll against armour class with concealment,
// cover, critical threats, confirmation and fortification; the miss texts and
// sounds; on a hit the damage, the weapon's magic and special abilities and
// the natural attack's effects. The same operation computes the chance to hit
// without rolling anything (evaluation), and resolves grapple rolls.
#pragma once
#include <cstdint>

#include "rules/attack_profile.h"
#include "rules/modifier_list.h"

// Results of ResolveAttack besides the fall results of the target (10 no
// change, 11 died, 12 unconscious, 13 petrified) and, in evaluation, the
// chance in percent.
enum AttackResult : int32_t {
  kAttackTargetAbsent = 1,
  kAttackBadEntry = 2,
  kAttackTargetDead = 3,
  kAttackMissed = 4,
  kAttackHoldWon = 10,
};

// The short name of the weapon used, shown by the game screen.
extern char AttackLabel[16];
// -1 at the start of each attack; a grapple evaluation keeps its chance here.
extern int32_t ShownHitChance;
// The creature a stray arrow went to, -1 none.
extern int32_t StrayArrowTarget;
// 1 when the attacker is not the acting fighter (an attack of opportunity or a readied attack).
extern uint8_t OutOfTurnAttack;
// The damage roll of the target's energy defence against a melee attacker.
extern ModifierList EnergyDefenseRoll;
// 1 (the default): an evaluation writes what the screen shows of it, the
// attack label, the situation labels and the captions of its profile. 0: it
// answers the chance alone, for work that evaluates shot after shot and makes
// its last evaluation again for real afterwards (a grid being scored).
extern uint8_t EvaluationTextsWritten;

// Called before each attack made in combat is rolled (never for an
// evaluation, a refused attack or the second roll of a stray arrow), for a
// watcher of the rules of a turn: who attacks whom, with which entry of the
// profile as built for this attack, and whether it is a grapple roll (hold:
// a hold check, else a grapple attack).
struct AttackWatch {
  int attacker;
  int target;
  int entry;
  const AttackProfile* profile;
  bool grapple;
  bool hold;
};
extern void (*AttackObserver)(const AttackWatch& attack);

// attacker, target, entry 0 to 6 of the attacker's profile, alternate form
// (for BuildAttackProfile), evaluate (1: the chance only, nothing rolled,
// logged, turned or queued), grapple (an opposed grapple roll), grapple flag
// (1 a hold check that ends on success, 0 a grapple that deals damage),
// profile out (may be null: the seven built entries are copied there).
int ResolveAttack(int attacker, int target, int entry, int32_t alternateForm, uint8_t evaluate, uint8_t grapple,
                  uint8_t grappleFlag, AttackProfile* profileOut);

// Whether a damage reduction of that kind (the target's reduction-kind word)
// stops damage of the code (1 bludgeoning, 2 slashing, 3 piercing) from a
// natural attack, a ranged attack, or the weapon (crafted item code, 0 none).
bool DamageReductionKindApplies(int32_t kind, int32_t code, bool natural, bool ranged, int32_t weaponItem);

// The concealment that stands between attacker and target: -1 when nothing
// conceals, 0 when the attacker overcomes every source, else the miss
// chance in percent of the highest source it does not overcome (its
// condition id in *condition when given).
int32_t ConcealmentMissChance(int attacker, int target, uint8_t ranged, uint32_t* condition);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetAttackRollState();
