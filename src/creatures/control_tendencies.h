// Computer-control tendencies: the percentages and style words of a creature
// (behaviour words of the record) that the computer-controlled fighter rolls
// against, set from the creature's finished state.
#pragma once

// Recomputes the creature, then, unless it is a caster (casting percentage
// above 0), sets both grapple percentages by size, Strength and IMPROVED
// GRAPPLE; template values of 6 or more stay. Returns 1.
int SetGrappleTendency(int creature);
// A creature that holds a ranged weapon with ammunition and no ranged-use
// percentage yet gets 10. Returns 1.
int SetRangedTendency(int creature);
// The tendencies of the four party members by class, for when the computer
// controls them. Returns 1.
int SetPartyAiTendencies();

// Questions about a creature that the computer-controlled fighters answer
// (their turn cycle implements them); creature generation asks them too.
//
// The creature knows a spell it can cast now, with a slot left, at a spell
// level from start (from 1 when start is -1) up to its highest spell level.
bool HighestUsableSpellLevel(int start, int creature);
// The creature would rather shoot than close in.
bool PrefersRangedAttack(int creature);
// The computer may use the spell from a wand or as a spell-like ability.
bool IsAiItemSpell(int spell);
