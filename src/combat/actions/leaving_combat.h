// Leaving a battle: what becomes of a creature that falls, the outright kill
// and the dismissal of a creature, the end of the battle, the party leader
// replaced after it, and the scripts run when a creature dies. (The fall of
// a creature from outside this folder goes through RemoveFromCombat and the
// end test through CheckEndOfCombat, declared with the combat action block.)
#pragma once

// Fall results.
enum FallResult : int {
  kFallNone = 10,
  kFallDied = 11,
  kFallKnockedOut = 12,
  kFallPetrified = 13,
};

// The fall of an attacked creature: as RemoveFromCombat, without
// recomputing it, with its death event in the second pending extra event.
int HandleFallAfterAttack(int creature);
// Kills the creature outright (10,000 hit points), shows its death and takes
// it out of the battle; true.
bool SlayCreature(int creature, int sound);
// Sends away the creature of the last turn-order entry (a summoned creature
// whose time is up): Dead, absent, and the order one shorter. True; nothing
// when the order is empty.
bool DismissCombatant();
// When the party leader is Dead, Unconscious or Petrified, the first party
// member that is none of them (member 0 when all are) takes its place and the
// party's formation is set afresh. True when replaced.
bool ReplaceFallenLeader();
