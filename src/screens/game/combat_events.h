// The queue of combat events the game screen plays back (floating texts,
// deaths, sounds) and the floating texts over creatures.
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

constexpr int kFloatingTextLength = 30;
struct FloatingTextEntry {
  int32_t startFrame = -1;
  int32_t word1 = -1;
  int32_t word2 = -1;
  char text[kFloatingTextLength] = {};
};
extern FloatingTextEntry FloatingText[2100];
extern int32_t FloatingTextFrame;  // the frame counter floating texts start from

// Puts the text (at most 29 characters) over the creature; false for a longer text.
bool ShowFloatingText(int creature, const char* text);
