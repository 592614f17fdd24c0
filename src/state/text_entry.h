// The text the player is typing: which text is open for typing, and the
// edit buffer and insertion point of a character's name. The screens that
// start an edit set them (the character record, the creation page, the item
// details); the main screen's keys type into them and close the edit with
// Return.
#pragma once
#include <cstdint>

enum TextEntryKind : uint32_t {
  kTextEntryNone = 0,
  kTextEntryCharacterName = 1,      // the creature of the top page
  kTextEntryCreatureDescription = 2,
  kTextEntryItemDescription = 3,
  kTextEntryItemName = 4,
};
extern uint32_t TextEntryMode;

// At most 15 characters and a NUL (the last byte is always 0).
constexpr int kNameEditSize = 16;
extern char NameEditBuffer[kNameEditSize];
// The insertion point of the name being typed.
extern uint32_t NameEditCursor;
// The descriptions being typed: a creature's (500 bytes) and a crafted
// item's (400 bytes), each at most 398 characters.
constexpr int kCreatureDescriptionEditSize = 500;
constexpr int kItemDescriptionEditSize = 400;
extern char CreatureDescriptionBuffer[kCreatureDescriptionEditSize];
extern char ItemDescriptionBuffer[kItemDescriptionEditSize];

// Puts the words above back to their start-up values (a new game, and tests).
void ResetTextEntryState();
