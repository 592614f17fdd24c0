#include "state/turn_order.h"

#include "engine/reset_words.h"

TurnOrderEntry TurnOrder[kTurnOrderEntries];
int32_t TurnEntryCount = 0;
uint32_t InCombat = 0;
uint8_t InitiativeAutoScroll = 0;
uint32_t TurnsBegun = 0;

bool CancelReadiedAction(int creature) {
  if (!InCombat) return false;
  const int count = TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries;
  for (int i = 0; i < count; ++i) {
    TurnOrderEntry& e = TurnOrder[i];
    if (e.creature != creature) continue;
    const int code = e.plannedAction;
    if (code == 9 || code == 21 || code == 22 || code == 23) {
      e.plannedAction = 0;
      e.plannedTarget = 0;
      e.plannedParameter = 0;
      e.triggerCreature = -1;
      return true;
    }
  }
  return false;
}

void ResetTurnOrderState() {
  ResetWords(TurnOrder);
  TurnEntryCount = 0;
  InCombat = 0;
  InitiativeAutoScroll = 0;
  TurnsBegun = 0;
}
