// The player's orders for the fighter whose turn it is, as the map view's
// mouse and the keypad give them.
#pragma once
#include <cstdint>

// Whether the turn still allows a melee attack: a standard action, the full
// round, or an attack sequence under way.
bool AttackPermitted();
// The fighter acts on the target with the action code (combat state 3).
void IssuePlayerOrder(int32_t code, int target);
// The enemy threatening the square the fighter leaves takes its attack of
// opportunity first (the threat grid rebuilt for the fighter).
void StartLeavingReaction(int fighter);
// The fighter walks the path laid to its destination (action 1); false
// without one.
bool OrderMoveAlongPath(int fighter);
// One square's step that provokes nothing (action 5), logged.
void OrderFiveFootStep(int fighter, int x, int y);
// A charge along the charge line last found toward the target (action 11).
void OrderCharge(int fighter, int target);
// The right button switches the weapon mode between 1 and 2 while a coup de
// grace waits for its target; true when it did.
bool CycleWeaponModeInPending(int target);
// An enemy by the cursor's rule: side 2, or Insane, Confused, Controlled or
// Dominated.
bool IsEnemyForCursor(int creature);
