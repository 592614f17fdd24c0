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
// The description of a crafted item being typed (at most 398 characters).
constexpr int kItemDescriptionEditSize = 400;
extern char ItemDescriptionBuffer[kItemDescriptionEditSize];

// The background text of a creature being typed (at most 499 characters
// and a NUL).
constexpr int kBackgroundEditSize = 500;
extern char BackgroundEditBuffer[kBackgroundEditSize];

// The creature whose name or background text is being typed, and the page
// depth of its character record where the typing began (-1 none). The typed
// text belongs to that record alone: once the top page is another, the
// typing is dropped.
extern int32_t TextEntryCreature;
extern int32_t TextEntryDepth;
// The crafted item whose name or description is being typed on its sheet,
// -1 none. The typed text belongs to that item alone and is dropped once its
// sheet is no longer the top page.
extern int32_t TextEntryItem;
// Opens an item's name (kTextEntryItemName) or description
// (kTextEntryItemDescription) for typing on its sheet, the top page now.
void BeginItemTextEntry(uint32_t mode, int32_t item);
// Opens the creature's name (kTextEntryCharacterName) or background text
// (kTextEntryCreatureDescription) for typing on the record page now on top.
void BeginCreatureTextEntry(uint32_t mode, int32_t creature);
// Ends the typing of a creature's text: mode 0, both buffers emptied, no
// creature.
void EndCreatureTextEntry();
// Whether typing is open. A typing begun on a record (or on an item's sheet)
// counts only while that page is still the top page; once it is not, the typing is dropped
// (as EndCreatureTextEntry) and false is returned. Typing begun elsewhere
// (the creation page's name) is open while the mode is not 0.
bool CreatureTextEntryStillOpen();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetTextEntryState();
