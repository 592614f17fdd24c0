// The reactions the action executor hands the turn to: an enemy's attack of
// opportunity against a mover (or a readied attack against an approaching
// creature) and the target's reaction to an unarmed attack. These are the
// least versions the executor needs until the full attack-of-opportunity
// chain, the Cursed rule and readied actions are built: a reacting creature
// makes one plain attack with its first profile entry.
#pragma once

#include "combat/actions/least_services.h"  // NextOpportunityAttacker, HasOpportunityAttacker

// The creature in the block's reacting-creature word attacks the fighter
// whose turn it is (the attacker and target words are borrowed); its attack
// is then played back (the reacting-creature word becomes 2100).
void ReactionStep();
// Whether the target of an unarmed attacker takes an attack of opportunity
// first. Until that reaction is built: false, with a borrowed pair given back.
bool TargetMayReactToUnarmedAttack();
