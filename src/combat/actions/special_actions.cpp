#include "combat/actions/special_actions.h"

#include "combat/actions/action_executor.h"
#include "state/combat_action.h"

void SpecialActionStep(int32_t) {
  g_ProcessingAttackNumber = -1;
  HandTurnBack();
}
