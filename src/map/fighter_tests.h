// The computer-controlled fighters' tests of creatures on the squares: who
// stands where, who threatens whom, what a footprint fits on, what lasting
// spell effects lie under a creature, and the state word of the combat cycle.
#pragma once
#include <cstdint>

#include "state/combat_action.h"

// The combat state word CombatState is the turn cycle's, in state/combat_action.h.

// Creature sides: 1, 5 and 6 are one team against side 2.
bool IsPartySide(int creature);

// The creature may not move: its conditions forbid it (rules/free_deeds.h),
// or it is Stuck or Grappling.
bool HasDisablingCondition(int creature);
bool CanTakeFiveFootStep(int creature);
// Whether darkness affects the creature: false for sense codes 5 and 6, with
// True_seeing or Blinded, and with flag 1 for Can't_see.
bool IsSightDependent(int creature, int flag);

bool AreAdjacent(int a, int b);
bool HasAdjacentEnemy(int creature);
bool HasAdjacentEnemyAt(int creature, int x, int y);

// Over the turn order (in combat).
bool IsSquareOccupiedByCombatant(int x, int y);
int CountCombatantsOnSquare(int x, int y);
// Present creatures of the fighter table whose footprint covers the square.
int CountFightersOnSquare(int x, int y);

// Whether the squares beside a wall corner count as free (wall codes 60, 64,
// 68, 72, 106 and 3003 on (x, y), (x + 1, y), (x, y + 1) or (x + 1, y + 1)).
bool TouchesBlockCode(int x, int y);
// The same within the map's width and height, in the order (x, y), (x + 1, y),
// (x + 1, y + 1), (x, y + 1); code 3003 counts only when keep3003 is false.
bool TouchesBlockCode(int x, int y, bool keep3003);
// A corner square that a diagonal step may not pass: not flood-open and
// obstructed (IsSquareObstructed, map/movement_rules.h); off the map counts as obstructed.
bool IsCornerObstructed(int x, int y);

// Enemies able to take an attack of opportunity that touch the creature's
// footprint placed at (x, y); each is marked (pending mark) and counted once.
// An invisible creature is threatened only by enemies whose sense code is 5
// or 6 or that hold True_seeing.
int CountThreatsAtSquare(int x, int y, int creature);
// The same in two steps for a walk of many squares: the turn-order entries
// that may threaten the creature at all (into entries, room for 300; the
// count), then the count at one square among them.
int ListPossibleThreats(int creature, int16_t* entries);
int CountThreatsAmong(int x, int y, int creature, const int16_t* entries, int count);
// Writes 100 (party side) or 200 (side 2) into ArrowGrid on and around every
// able combatant with an attack of opportunity left; a 200 is never
// overwritten. Of the mover's foes only those that could take the attack
// against it mark (an invisible mover: those that sense it); -1 marks for
// every able combatant.
void MarkThreatenedSquares(int mover);
// ArrowGrid laid afresh with the mover's threatened squares alone (no
// arrows), ArrowGridMover the mover.
void LayThreatMarks(int mover);
// ArrowGrid holds the mover's threatened squares of the battle as it stands
// now: laid for it, and no combatant has since come to mark other squares
// or ceased to mark.
bool ThreatMarksLaidFor(int mover);
// Stores an arrow code into ArrowGrid over the side-threat marks of the
// square (the mark's 100 or 200 kept).
void StoreArrow(int x, int y, int32_t code);
// The footprint placed at (x, y) lies inside the map, on squares that are
// not blocked (strict 1: on flood-open squares only) and, in combat, held by
// no other combatant. A footprint of no rows fits.
bool FootprintFitsAt(int x, int y, int creature, int strict);
// The same for a caller that has brought the occupancy grid up to date
// (SyncCombatantGrid) and tests many squares.
bool FootprintFitsAtSynced(int x, int y, int creature, int strict);

// Every square of the rectangle lies inside the map and is flood-open
// (blocked-square value 2) / an in-map square of it holds a brazier.
bool RectIsAllFloor(int x, int y, int w, int h);
bool RectHasBrazier(int x, int y, int w, int h);

// Lasting spell effects under the creature's footprint.
bool IsInMagicArea(int creature, uint32_t kind);
int AverageMagicAreaValue(int creature, uint32_t kind);
// IsInMagicArea with the cells under the area mask taken away unless lasting.
bool IsInMagicAreaBeyondMask(int creature, uint32_t kind);
// With the creature placed at (x, y): whether fire there burns it (a creature
// of kind 88 only on a brazier's fire; kind 1 and the fire-immune never), and
// whether a web there holds it (never a creature of kind 32 or free of hampering).
bool IsBurnedAt(int creature, int x, int y);
bool IsWebbedAt(int creature, int x, int y);
// A level with a slot left at which the creature knows a spell.
bool HasSpellSlotLeftAtAnyLevel(int creature);
// A carried scroll whose spell the creature can read now.
bool HasUsableScroll(int creature);
// The target is hurt enough (current x 100 / maximum at most 100 - threshold)
// to be worth the cure (or, for a spell of negative energy, the undead worth
// the infliction), may be cast on and is no summoned, controlled or dominated
// creature; an unhurt target, or one of no maximum, is not.
bool IsWorthCuring(int target, int ignored, int spell, int threshold, int caster);
// Whether the spell is worth casting on the target (test 1: only whether it
// would be affected). The computer fighters' usefulness tests implement it
// (combat/turns/spell_usefulness.h).
bool CanCastOnTarget(int caster, int target, int spell, int test);
bool IsOnBrazierFire(int creature);
int BrazierSizeUnderCreature(int creature);
bool IsHurtByFire(int creature);

// Monster group placement on map entry: a 4 x 4 block of flood-open floor
// unseen by the party and at least 75 feet from each member / a block that
// leaves the map or is already taken in SpawnBlockGrid.
bool IsHiddenSpawnBlock(int x, int y);
bool IsBlockBlocked4x4(int x, int y);

// Immunity codes read by the movement and hazard rules.
int FireImmunityCode(int creature);
int HamperingImmunityCode(int creature);

// The creature's current response to a protection code (the 43 codes of the
// immunity categories): 0 none, 1 immune, 2 weakness, 3 serious weakness,
// 4 resistance, 5 reversed; 0 for any other code. Code 2 is fire.
int GetProtectionValue(int creature, int code);
// The immunity category a protection code reads (1 to 43), -1 for a code of none.
int ImmunityCategoryOfCode(int code);
