#include "combat/turns/computer_decision.h"

#include "combat/actions/combat_actions.h"
#include "map/fighter_tests.h"

int32_t DisruptionTarget = -1;

void ResetComputerDecisionState() { DisruptionTarget = -1; }

void DecideComputerAction() {
  CombatAction.actionCode = 0;
  CombatState = kStateNextFighter;
}

