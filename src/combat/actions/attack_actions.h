// The attacks of the action executor: a single melee attack, a full attack
// made at once or one attack per order, a single shot, all shots in a row or
// one per order, and the whirlwind attack; each attack through ResolveAttack,
// played back before the next, with the extra attacks of Cleave and Great
// Cleave after a kill.
#pragma once
#include <cstdint>

#include "rules/attack_profile.h"

// The attacker's profile as built before its latest attack.
extern AttackProfile ExecutorProfile;
// Set once the first attack of a melee order has started, so that a target
// that drops during the reactions does not cancel the order.
extern uint8_t AttackBegun;
// Entries of the full attack under way (up to the first ranged or empty one).
extern int32_t FullAttackEntries;

// One step of the attack action of that code (2, 3, 4, 8, 9, 10 or 21).
void AttackActionStep(int32_t code);

// The index of the profile's first ranged entry, -1 when none.
int FirstRangedEntry(const AttackProfile& profile);
// A creature Grappling and its partner both lose Grappling and Pinned.
void EndGrappleOfActor(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetAttackActionsState();
