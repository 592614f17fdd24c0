#include "screens/game/combat_events.h"

CombatEvent CombatEvents[kCombatEventCount];
CombatEvent ExtraDamageEvents[2];
uint32_t CombatEventReadIndex = 0;
int32_t EventDisplayTime = 30;

void ClearCombatEvents() {
  for (CombatEvent& e : CombatEvents) e = CombatEvent{};
  CombatEventReadIndex = 0;
}
