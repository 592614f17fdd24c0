#include "state/combat_events.h"

#include "engine/reset_words.h"

CombatEvent CombatEvents[kCombatEventCount];
uint32_t CombatEventReadIndex = 0;
int32_t EventDisplayTime = 30;  // a pace no game changes (no end needed)

void SetFirstCombatEvent(int32_t type, int32_t value, int32_t sound) {
  CombatEvents[0].type = type;
  CombatEvents[0].value = value;
  CombatEvents[0].sound = sound;
  CombatEvents[0].soundPlayed = 0;
}

int FirstFreeCombatEvent() {
  for (int i = 0; i < kCombatEventsKept; ++i)
    if (IsEmptyCombatEvent(CombatEvents[i])) return i;
  return -1;
}

int FallEventEntry() {
  const int free = FirstFreeCombatEvent();
  return free == -1 ? kCombatEventsKept - 1 : free;
}

void ClearCombatEvents() {
  for (CombatEvent& e : CombatEvents) e = CombatEvent{};
  CombatEventReadIndex = 0;
}

CombatEvent ExtraDamageEvents[kExtraDamageEventCount];
CombatEvent (&AttackerEventQueue)[kExtraDamageEventCount] = ExtraDamageEvents;  // another name of the pair
uint8_t ExtraDamageShowing = 0;
int32_t ExtraDamageIndex = 0;

void ClearExtraDamageEvents() {
  for (CombatEvent& e : ExtraDamageEvents) e = CombatEvent{};
  ExtraDamageShowing = 0;
  ExtraDamageIndex = 0;
}

void ResetCombatEventsState() {
  ResetWords(CombatEvents);
  CombatEventReadIndex = 0;
  ResetWords(ExtraDamageEvents);
  ExtraDamageShowing = 0;
  ExtraDamageIndex = 0;
}
