// The small questions the computer fighters ask about the battle: how many
// allies there are, whether a spell is of a given group, whether an enemy is
// badly wounded, whether a way to the nearest foe is open, what a fighter may
// do now. Each answers from the shared tables (turn order, creature records,
// magic-area grid, valuation grid) and changes nothing unless it says so.
#pragma once
#include <cstdint>


// Counters over the turn order; each skips the asking creature itself.
// Sides are the party with its allies (1, 5, 6) against 2; a talker is on none.
int CountAllies(int creature);
// Allies whose planned action is readied against spellcasting (23, 22) or a counterspell (9).
int CountAlliesHoldingReady(int creature);
// Undead in the turn order.
int CountType8Combatants();
// An ally that is not helpless (wide test).
bool HasAllyNotHelpless(int creature);
// An enemy that has lost hit points and has below 21 per cent of its maximum left.
bool AnyBadlyWoundedEnemy(int creature);
// Some combatant stands where an able enemy threatens it.
bool AnyThreatenedCombatant();
// The line to some enemy is stopped by a solid magic area.
bool SomeEnemyBehindBlockingArea(int creature);

// Spell sets.
bool IsAiSpellListed(int spell);      // the spells usable against a caster to disrupt
bool IsSpellInLevelGroup(int spell, int group);  // the favourite spells of a spell level
// The creature has spells left at a level from 1 to its highest and knows a
// spell of that level that the computer uses from wands and as innate spells.
bool HasCastableAiItemSpell(int creature);

// Effect inventories for the dispel choice.
bool HasProtectiveEffect(int creature);
int CountDispellableEffects(int creature);

// Map and grid questions.
bool AnyBlockingArea();
bool NoEnemyOnOpenFloor(int creature);
// Every square round the creature (its neighbour squares on the map) would
// hold its whole footprint free of walls (IsRectFreeOfWalls).
bool IsAreaFreeOfWalls(int creature);
bool IsTrappedByFire(int creature);
// The largest value of the valuation grid, -1 when every square is below -1.
int32_t MaxValuationGridValue();
// Valuation squares beyond the creature's reach this turn become -100.
void MarkOutOfReachSquares(int creature);
bool IsInAreaTargetList(int creature);
// Movement not closed, no sequence open, and the full-round action (or on a
// single-move turn the standard action) left.
bool CanStartMoveOrAction();

// The creature's script-set target when its planned script-set spell aims at
// a creature in the turn order, else -1; whether that target is disabled.
int ScriptedSpellTarget(int creature);
bool ScriptedSpellTargetDisabled(int creature);

// A random refusal of a dispel: 1 in 4 with allies, 1 in 2 without.
bool ChooseToDispel(int creature);

// Mode 0 or 1: whether the creature may use a special ability now.
bool CanUseAbilityNow(int creature, int mode);
// Shortens the candidate spell list: each run of the four elemental
// summonings, of the two shields and of the two giant forms becomes one of
// its members drawn at random.
// Returns the new count.
int CollapseIconRuns(int count, int32_t* list);
// Once per turn, with no target fixed and the standard action left: whether
// the creature has a spell it can cast (remembered for the turn).
bool MayCastDefensively(int creature);
// The acting fighter's five-foot step can take its whole footprint out of
// every magic area.
bool CanStepOutOfMagicArea(int creature);
// With the five-foot step left: steps to the best neighbouring square to cast
// the spell from (the good-square grid); true when it stepped.
bool StepToBestCastingSquare(int spell, int target, int creature, int flag);
// The spell aims at one creature, the caster is likely to cast defensively,
// and the enemies it could target lie only farther than two squared units.
bool HasOnlyDistantTargets(int caster, int spell, int extra);
// Whether a way to NearestFoe is open (flag 1: and nobody is threatened now).
bool PathToNearestFoeOpen(int flag);
bool NearestFoeReachable();
// Drops a planned spell-like ability or wand whose supporting spell has no
// one to go to. Returns 1.
int DropUselessSupportPlan();

// Whether the creature can still cast: spells left at a level from 1 to its
// highest, or an innate spell with uses left.
bool CanStillCastSpells(int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetTacticalPredicatesState();
