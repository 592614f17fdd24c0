// The queue of combat events the game screen plays back (floating texts,
// deaths, sounds).
#pragma once
#include <cstdint>

constexpr int kCombatEventCount = 10;

struct CombatEvent {
  int32_t type = -1;     // 1-3 damage kinds, 4 fire, 40 a death, 45 and 46 conditions...
  int32_t value = 0;
  int32_t further = -1;  // for a death: the creature
  int32_t sound = 0;     // 0 none
  int32_t soundPlayed = 0;
};

extern CombatEvent CombatEvents[kCombatEventCount];
extern uint32_t CombatEventReadIndex;
// Frames an event stays on display.
extern int32_t EventDisplayTime;

// Empties the queue and its read index.
void ClearCombatEvents();

// Implemented by the game screen: a text rising over the creature; false
// when it could not be shown.
bool ShowFloatingText(int creature, const char* text);
