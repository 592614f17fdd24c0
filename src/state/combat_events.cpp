#include "state/combat_events.h"

CombatEvent CombatEvents[kCombatEventCount];
uint32_t CombatEventReadIndex = 0;
int32_t EventDisplayTime = 30;

void ClearCombatEvents() {
  for (CombatEvent& e : CombatEvents) e = CombatEvent{};
  CombatEventReadIndex = 0;
}
