// Changes of the initiative order during a battle: a fallen creature leaves
// it, a delaying or readying fighter moves in front of another, a summoned
// creature joins it, and a spent turn ends. The acting index keeps pointing
// at the fighter whose turn it is whatever moves.
#pragma once

// Takes the creature's entry out of the order (in combat; nothing when it has
// none). When it was the acting fighter the acting index steps back one, so
// that the next fighter is the one that followed it. True when it was the
// acting fighter.
bool RemoveTurnEntry(int creature);
// Puts a's entry just before b's; the acting index follows `current` (or,
// when that creature has no entry, the fighter that was acting). True.
bool MoveTurnBefore(int a, int b, int current);
// Appends an entry for the creature and places it on the other creature's
// square, present. False (nothing changed) when the order is full.
bool AppendCombatant(int creature, int other);
// Makes the creature present and, in combat, lists it right after the
// spell's caster (first when the caster has no entry), then clears its
// footprint of others: with keepPlace it stays where it is, without it every
// creature there, itself included, is moved aside while the caster stays.
// False (nothing changed) when the order is full.
bool InsertCombatantAfterCurrent(int creature, int keepPlace);
// With the automatic end of turn: ends the acting fighter's turn when its
// actions are spent (enemyAdjacent: an enemy touches it; grappling: it is
// Grappling). 1 when the turn was ended.
int EndTurnIfSpent(int enemyAdjacent, int grappling);
