#include "combat/turns/combat_cycle.h"

uint8_t CombatPause = 0;
uint8_t CombatPauseSecond = 0;

int CombatCycle() { return 1; }

void ResetCombatCycleState() {
  CombatPause = 0;
  CombatPauseSecond = 0;
}
