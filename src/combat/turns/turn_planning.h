// The intentions a fighter rolls for its turn at the next-fighter step, read
// by the computer's decision.
#pragma once

// Clears the planning flags of the action block (use-spells on, no
// script-set spell) and rolls the turn's intentions; a Confused or Insane
// creature rolls its confusion d100. (The tendencies themselves come with
// the computer fighters' planning.)
void PlanFighterTurn(int creature);
// The planning made again for a fighter whose readied action went off.
void ReplanAfterReadiedAction(int creature);
// Current hit points as a whole percentage of the maximum; 0 for a maximum
// of 0 or less.
int HitPointPercent(int creature);
