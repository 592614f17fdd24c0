#include "combat/actions/combat_action_state.h"

#include "combat/actions/turn_order.h"

CombatActionBlock CombatActionState = {};
int32_t g_Cleaving = -1;
uint8_t GrappleSequenceOpen = 0;
int32_t GrappleAttacksMade = 0;

int CurrentFighter() {
  const int entry = CombatActionState.currentEntry;
  if (entry < 0 || entry >= kTurnOrderEntries || entry >= TurnEntryCount) return -1;
  return TurnOrder[entry].creature;
}
