// The intentions a fighter rolls for its turn at the next-fighter step, read
// by the computer's decision.
#pragma once

// Clears the planning flags of the action block (use-spells on, no
// script-set spell) and rolls the turn's intentions from the creature's
// tendencies: whirlwind, bull rush, the alternate attack, turn undead, breath
// weapon, wand, spell-like ability, the script-set spell, spells at all,
// curing others and a caster's preferred range; a Confused or Insane
// creature rolls its confusion d100.
void PlanFighterTurn(int creature);
// The planning made again for a fighter whose readied action went off:
// breath weapon, a wand or spell-like ability of the computer's item spells,
// and spells when it has any to cast.
void ReplanAfterReadiedAction(int creature);
// Current hit points as a whole percentage of the maximum; 0 for a maximum
// of 0 or less.
int HitPointPercent(int creature);
// The creature has lost hit points and has at most that percentage of its
// maximum left (never for a maximum of 0 or less).
bool IsBadlyHurt(int creature, int percent);
