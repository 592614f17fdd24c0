#include "state/queued_actions.h"

#include "state/turn_order.h"

uint8_t QueuedActionPending = 0;

bool IsCreatureActionQueued(int creature) {
  if (InCombat != 1 || creature < 0) return false;
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    if (TurnOrder[i].creature != creature) continue;
    return TurnOrder[i].plannedAction >= 24 && TurnOrder[i].plannedAction <= 31;
  }
  return false;
}

void ResetQueuedActionsState() {
  QueuedActionPending = 0;
}
