// The computer-controlled fighters' tests of creatures on the squares: who
// stands where, who threatens whom, what a footprint fits on, what lasting
// spell effects lie under a creature, and the state word of the combat cycle.
#pragma once
#include <cstdint>

#include "state/combat_action.h"

// The combat state word CombatState is the turn cycle's, in state/combat_action.h.

// Creature sides: 1, 5 and 6 are one team against side 2.
bool IsPartySide(int creature);

// An active Stuck, Paralyzed, Grappling, Sleeping, Stunned, Cowering or Dazed condition.
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

// Whether the squares beside a wall corner count as free (wall codes 60, 64,
// 68, 72, 106 and 3003 on (x, y), (x + 1, y), (x, y + 1) or (x + 1, y + 1)).
bool TouchesBlockCode(int x, int y);
// A corner square that a diagonal step may not pass: off the map, or not
// flood-open and (in combat) under a solid magic area or holding a wall that
// TouchesBlockCode does not free.
bool IsCornerObstructed(int x, int y);
// A one-square diagonal step whose corner square is neither flood-open nor free.
bool IsDiagonalStepBlocked(int fromX, int fromY, int toX, int toY, int creature);

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
// Writes 100 (party side) or 200 (side 2) into ArrowGrid on and around every able combatant.
void MarkThreatenedSquares();
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
// Whether the spell can usefully be cast on the target.
bool CanCastOnTarget(int caster, int target, int spell, int flag);
