#include "state/combat_events.h"

CombatEvent CombatEvents[kCombatEventCount];
uint32_t CombatEventReadIndex = 0;
int32_t EventDisplayTime = 30;

void SetFirstCombatEvent(int32_t type, int32_t value, int32_t sound) {
  CombatEvents[0].type = type;
  CombatEvents[0].value = value;
  CombatEvents[0].sound = sound;
  CombatEvents[0].soundPlayed = 0;
}

void ClearCombatEvents() {
  for (CombatEvent& e : CombatEvents) e = CombatEvent{};
  CombatEventReadIndex = 0;
}
