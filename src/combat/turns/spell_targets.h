// The creatures a computer caster's single-target spell can usefully reach,
// and the one it picks among them: its friends by need, its enemies by a
// weighted score. The spell choice of the computer fighters and the start of
// a computer's cast in the combat sequencer call them; the valuation passes
// reuse the candidate list and the reach measure.
#pragma once
#include <cstdint>

// The candidate list (TargetCandidateList, filled from the front in turn
// order, every entry -1 before each filling, ending at the first -1) is the
// one the other candidate fillers of the computer fighters share.
#include "combat/turns/adjacency_queries.h"

// The entries of the candidate list before its terminator, over its whole length.
int CountCandidates();

// The squared distance (dx * dx + dy * dy) between a's footprint square
// nearest to b and b's footprint square nearest to a; and whether a straight
// line between those two squares is clear (no wall; creatures give cover only).
int32_t SquaredReach(int a, int b);
bool HasClearLine(int a, int b);

// The creature the caster's script names as the target of the spell it is
// casting by script (spell target kinds 3, 4 and 9), when that creature
// takes part in the battle; -1 otherwise.
int ScriptSetTarget(int caster);

// Lists the combatants within reach of the creature (itself included): class
// 1 squared distance below 3; 2, 3 and 4 below 10, 50 and 145 with a clear
// line. True when any was listed.
bool ListCombatantsInReach(int creature, int reachClass);
// Lists the combatants the current spell can usefully reach from the caster:
// its side rules, CanCastOnTarget, its range and a clear line. True when any
// was listed.
bool FillSpellTargetCandidates(int caster);
// The friend the current spell (healing, protection, enhancement) of its
// caster goes to; -1 none.
int ChooseSpellTarget();
// The enemy the current spell of its caster is best spent on; -1 none.
int ChooseBestSpellTarget();

// (IsHelplessTarget, in adjacency_queries.h, asks HasPolymorphValue42.)
// An active Polymorphed entry of value 42.
bool HasPolymorphValue42(int creature);
// Both or neither are Clerics.
bool SameKind3Status(int a, int b);
