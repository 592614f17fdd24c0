#include "screens/game/combat_events.h"

#include <cstring>

CombatEvent CombatEvents[kCombatEventCount];
uint32_t CombatEventReadIndex = 0;
int32_t EventDisplayTime = 30;
FloatingTextEntry FloatingText[2100];
int32_t FloatingTextFrame = 0;

void ClearCombatEvents() {
  for (CombatEvent& e : CombatEvents) e = CombatEvent{};
  CombatEventReadIndex = 0;
}

bool ShowFloatingText(int creature, const char* text) {
  if (creature < 0 || creature >= 2100 || std::strlen(text) > 29) return false;
  FloatingTextEntry& f = FloatingText[creature];
  std::strcpy(f.text, text);
  f.startFrame = FloatingTextFrame;
  return true;
}
