// The small pieces the party's pages are drawn and worked with: text on the
// character cells, the pointer over a label, the hint line, and taking a
// press of a button or key once.
#pragma once
#include <cstdint>

#include "engine/ui_input.h"  // TakeKey
#include "rules/item_tables.h"  // SpellHelpPage

constexpr int kLargeText = 1;
constexpr int kSmallText = 0;
constexpr int kHintShown = 100;  // characters of the hint line a page empties each frame

// The music of the creation and level-up pages (track 7), started when
// another track plays and the music is on.
void KeepPartyPageMusic();

// Text in large (8x8) or small (5x6) cells, moved down yOffset pixels.
void PageText(const char* text, int style, int column, int row, int large = kLargeText, int yOffset = 0);
// Whether the pointer lies on the text's cells.
bool OverText(const char* text, int column, int row, int large = kLargeText, int yOffset = 0);
// The hint line of the frame: emptied, and written by the hovered element.
void ClearHint();
void SetHint(const char* hint);
// A fresh press of the left (right) button, latched, with the click sound.
bool TakeLeftClick();
bool TakeRightClick();
// The hover sound, once when the pointer comes onto another caption or
// button: `hovered` is the element under the pointer this frame (-1 none),
// `last` the one of the frame before.
void PlayHoverSoundOnChange(int32_t hovered, int32_t* last);

// A pick of the feat or spell page made: in a level-up it becomes the
// first (slot counter 1) or second (2) of the two pending choices from
// `firstChoice`; then the caller's page comes back.
void HandBackPick(int creature, int32_t pick, int32_t slotCounter, int firstChoice);
// The pages a pick returns to: the creation page of the creature while a
// new party is being made, else its level-up page; the top page is
// overwritten in place.
void ReturnToCallerPage(int creature);
// The "Examine Character" link of the feat and spell pages: the history
// becomes this page with the creature's character record over it.
void OpenCharacterRecordOver(const char* caption, int32_t type, int creature);
