// The words the decision of a computer fighter works out at the start of every
// decision and that its grid builders and target choosers read: the survey of
// the battle, the caster it means to disrupt, the attack entries it picked,
// and the few fighter tests those choosers ask.
#pragma once
#include <cstdint>

#include "combat/turns/computer_decision.h"
#include "combat/turns/turn_routines.h"
#include "creatures/control_tendencies.h"

// The survey (-1 none): the enemy with the cheapest path, the fighter of any
// side with the cheapest path, the non-enemy with the most hit points, the
// enemy with the fewest hit points and the one with the lowest armour class.
extern int32_t NearestFoe;
extern int32_t NearestCreatureByPath;
extern int32_t StrongestAlly;
extern int32_t WeakestEnemy;
extern int32_t LowestArmourEnemy;
// The caster a readied or ranged fighter means to disrupt is the decision's
// DisruptionTarget (combat/turns/computer_decision.h).
// Set when an adjacent enemy is helpless and the fighter means to finish it.
extern uint8_t FinishHelpless;
// The alternate-form word the decision builds attack profiles with (the
// fourth natural attack in place of the first).
extern int32_t SecondTactic;
// The attack-profile entry picked for this turn (-1 none), and the fighter's
// first ranged entry (-1 none).
extern int32_t SelectedAttackEntry;
extern int32_t RangedProfileEntry;
// The hit chance of the last evaluated attack, for the action bar.
extern int32_t ShownAttackChance;

// The creature is the acting fighter of a battle.
bool IsActingFighter(int creature);
// Raises the grid squares a badly hurt creature should make for (away from
// its enemies, or beside a friendly Cleric). Returns true.
bool AddRetreatBonuses(int creature);

// For the life of the object, a grid builder or chooser scores many attacks
// over a battle in which only the creature moves (placed on the squares it
// weighs): recomputations are remembered (BeginRecomputeSession) and the
// occupancy grid follows the creature alone (FollowOnlyCreature).
struct ScoringSession {
  explicit ScoringSession(int creature);
  ~ScoringSession();
  ScoringSession(const ScoringSession&) = delete;
  ScoringSession& operator=(const ScoringSession&) = delete;
};

// The records of an attacker and its target are noted before an attack
// evaluation; afterwards, whether the evaluation's recomputations left both
// as they were (settled records: the next evaluation of the two reads the
// same records).
void NoteRecordsBeforeEvaluation(int attacker, int target);
bool RecordsUnchangedSinceNoted();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetDecisionWordsState();
