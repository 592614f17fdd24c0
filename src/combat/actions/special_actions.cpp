#include "combat/actions/special_actions.h"

#include "combat/actions/action_executor.h"
#include "state/combat_action.h"

void SpecialActionStep(int32_t) {
  g_ProcessingAttackNumber = -1;
  // A computer fighter would only order the same again: its turn passes.
  if (CombatAction.playerControlled == 0) {
    CombatAction.actionCode = 0;
    CombatState = kStateNextFighter;
    return;
  }
  HandTurnBack();
}
