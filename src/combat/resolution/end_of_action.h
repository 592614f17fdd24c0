// The end of one action of the acting fighter: where the turn cycle goes next.
#pragma once

// Clears the creature's own squares of others, then hands the turn on: into
// the casting steps of a spell queued during the action, to the next fighter
// when the turn is spent, or back to the same player-controlled (state 1) or
// computer-controlled (state 2) fighter. Returns 1.
int EndCombatAction(int creature);
