// Floating texts: a word of up to 29 characters rising over a creature for a
// moment ("Silenced", "Action Cancelled"), one per creature, counted down,
// placed and drawn by the passes of the map view.
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
// Alternates 0 and 1 with each text placed, so that texts started one after
// the other stand 8 pixels apart.
extern int32_t FloatingTextStagger;

// Puts a text over a creature, replacing its current one, with the full
// duration; false (nothing changed) for a text over 29 characters.
bool ShowFloatingText(const char* text, int creature);

// Texts stand still (neither counted down nor drawn) while the view moves
// to what is played on the map (ViewScrolling, the turn cycle's
// MovementPlaybackActive).
bool FloatingTextsHeld();
// One frame off the text of every fighter of the map; a text that runs out
// is cleared.
void CountDownFloatingTexts();
// On the text's first drawn frame: its place over the creature, whose sprite
// is offset by (dx, dy) to centre it on its footprint; on later frames with
// an even count it rises a pixel.
void PlaceFloatingText(int creature, int dx, int dy);
// The box in the view's pixels of the creature's text as it stands this
// frame, moved inside the view where it would leave it; false when it has
// none to draw.
bool FloatingTextBox(int creature, int* x, int* y, int* width, int* height);
// Draws the creature's text at (x, y) in the view, white, fading out over
// its last frames.
void DrawFloatingTextAt(int creature, int x, int y);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetFloatingTexts();
