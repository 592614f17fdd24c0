#include "combat/actions/combat_action_state.h"

#include "combat/actions/turn_order.h"

CombatActionBlock CombatActionState = {};
int32_t g_Cleaving = -1;

int CurrentFighter() {
  const int entry = CombatActionState.currentEntry;
  if (entry < 0 || entry >= kTurnOrderEntries || entry >= TurnEntryCount) return -1;
  return TurnOrder[entry].creature;
}
