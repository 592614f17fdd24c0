// Attacks of opportunity and readied reactions. A fighter whose action
// provokes first lets every enemy that threatens it take one attack of
// opportunity, one reacting enemy at a time, each attack played back before
// the next; a fighter that readied an action against an approach attacks the
// first enemy that comes next to it. The action executor runs the reaction
// step whenever the block's reacting-creature word holds a creature.
#pragma once
#include <cstdint>

// The reactors of a chain: the enemies next to the mover that could act when
// the chain began (-1 where free), and the index of the next candidate (0
// when no chain runs).
constexpr int kReactorListSize = 29;
extern int32_t ReactorList[kReactorListSize];
extern int32_t ReactorListPosition;

// A readied attack under way: its flag, the attacks made and the attacks the
// reactor's profile allows (the attack counts of its entries before the first
// ranged or empty one).
struct ReadiedAttackWords {
  uint8_t underway = 0;
  int32_t made = 0;
  int32_t allowed = 0;
};
extern ReadiedAttackWords ReadiedAttack;

// The turn-order plan of an action readied against an approach, and the
// planned-target word that holds its attack state (0 not started, 99 used);
// the planned-parameter word holds the profile entry it attacks with.
constexpr int32_t kReadiedVersusApproach = 21;
constexpr int32_t kReadiedAttackUsed = 99;

// Whether the enemy could take an attack of opportunity on the mover now: it
// is present, can act, has one left this round and, against an Invisible
// mover, senses without sight (sense 5 or 6) or sees truly.
bool MayTakeOpportunityAttack(int enemy, int mover);

// Called by a provoking action at each of its steps until it answers false.
// The first call lists the enemies next to the acting creature and makes the
// first able one the reacting creature (borrowing the attacker and target
// words); later calls, after that attack has been shown, give the pair back
// and go on with the next. False (the pair given back, no reactor, position
// 0) once none is left.
bool NextOpportunityAttacker();
// Whether the target of a grapple / of an Unarmed attacker's melee attack
// takes an attack of opportunity first; if so it becomes the reactor. Once
// its reaction has happened, the pair is given back and the answer is false.
bool TargetMayReactToGrapple();
bool TargetMayReactToUnarmedAttack();
// Enemies next to the acting creature that may take an attack of
// opportunity now, counted / whether there is one.
int CountOpportunityAttackers();
bool HasOpportunityAttacker();

// One frame of a reaction: the reactor attacks the fighter whose turn it is
// (a Cursed reactor loses its reaction half of the time), an attack of
// opportunity or the readied attack, which is then played back.
void ReactionStep();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetReactionsState();
