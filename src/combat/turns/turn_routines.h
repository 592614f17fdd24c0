// The small routines of the turn cycle: the five-foot step of the acting
// fighter, the release of a grapple between friends, the attack counts of a
// turn, the brazier fires of a map and the ready-action mode.
#pragma once

// In combat: the creature is the acting fighter and both its five-foot step
// words (left this turn, allowed this turn) are 1.
bool MayTakeFiveFootStep(int creature);
// A creature Grappling a partner that is not its enemy, neither of the two
// Confused or Insane: Pinned and Grappling are removed from both. True when released.
bool ReleaseFriendlyGrapple(int creature);
// The acting fighter's melee attacks and shots allowed this turn, from its
// attack profile (a grappling fighter: its grappling attacks). Returns 1.
int CountGrapplingAttacks();
// Clears every magic area of the map and puts a lasting fire on each brazier
// square (floor codes 2015 and 2016).
void PlaceBrazierFires();
