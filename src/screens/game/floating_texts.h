// Floating texts: a word of up to 29 characters rising over a creature for a
// moment ("Silenced", "Action Cancelled"), one per creature; the passes of
// the map view count them down, place them and draw them, and they stand
// still while the view moves (ViewScrolling).
#pragma once
#include <cstdint>

#include "state/combat_events.h"  // ShowFloatingText (creature, text)

constexpr int kFloatingTextCreatures = 2100;
constexpr int kFloatingTextLength = 29;

// Frames left (-1 none), the text and its map-pixel position (-1 until the
// first drawn frame places it).
struct FloatingTextEntry {
  int32_t framesLeft = -1;
  char text[32] = {};
  int32_t x = -1, y = -1;
};
static_assert(sizeof(FloatingTextEntry) == 44);
extern FloatingTextEntry FloatingTexts[kFloatingTextCreatures];
// Frames a text lives (60; 30 with accelerated combat; 2 in the debug fast
// mode) and the frames left from which it fades (51; 25; 2): the speed
// settings' words.
extern int32_t& FloatingTextDuration;
extern int32_t& FloatingTextFadeStart;
// Puts a text over a creature, replacing its current one, with the full
// duration; false (nothing changed) for a text over 29 characters.
bool ShowFloatingText(const char* text, int creature);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetFloatingTexts();
