// The keys of the text being typed: a character's name on its record or on
// the creation page, a creature's or an item's description, an item's name.
// Return (or keypad Enter) stores the text and ends the entry.
#include <cstring>

#include "engine/linked_text.h"
#include "engine/page_history_access.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "rules/creature_record.h"
#include "rules/creature_texts.h"
#include "rules/item_tables.h"
#include "screens/game/game_screen.h"
#include "screens/game/map_input.h"
#include "screens/game/shared_routines.h"
#include "state/text_entry.h"

namespace {

constexpr int kKeyReturn = 0x1C, kKeyPadEnter = 0x9C, kKeyDelete = 0xD3;
constexpr uint32_t kLongestItemName = 15, kLongestDescription = 398;
constexpr uint32_t kLastNameInsertPoint = 8, kLastNameCursorByKey = 7;
// A description is typed in the record's and the item page's box, columns
// 1 to 38 of large cells, and takes no more once it wraps to 16 lines.
constexpr int kDescriptionLeft = 1, kDescriptionRight = 38, kDescriptionLines = 16, kLaidOutRows = 1000;
constexpr int kNameGapLength = 8;

bool ReturnPressed() {
  if (!KeyPressed(kKeyReturn) && !KeyPressed(kKeyPadEnter)) return false;
  LatchKey(kKeyReturn);
  LatchKey(kKeyPadEnter);
  return true;
}

// Copies a NUL-ended text into a field, cut to fit and zero-filled.
void StoreText(char* field, size_t size, const char* text) {
  std::memset(field, 0, size);
  std::memcpy(field, text, strnlen(text, size - 1));
}

// The crafted row of the item details page on top, -1 none.
int OpenItemRow() {
  const int32_t row = TopPageType() - 10000;
  return row >= 1 && row < kCraftedRows ? row : -1;
}

// The creature of the character page or creation page on top, -1 none.
int OpenPageCreature() {
  const int32_t type = TopPageType(), creature = TopPageParameter();
  if (type != kPageCharacterRecord && type != kPageCharacterCreation) return -1;
  return IsValidCreature(creature) ? creature : -1;
}

// The lines the description takes in its box.
int WrappedLines(const char* text) {
  DrawLinkedText(text, 0, kDescriptionLeft, 0, kDescriptionRight, kLaidOutRows, 0, 0, 1, 0);
  return LinkedTextLineCount;
}

// Typing into a plain text of a bounded length (and with wraps, of fewer
// than 16 lines): Backspace takes the last character off, a typed one goes
// on the end. True on Return.
bool TypeInto(char* buffer, size_t size, uint32_t longest, int spaceFlag, bool wraps = false) {
  buffer[size - 1] = '\0';
  const size_t length = std::strlen(buffer);
  if (ReturnPressed()) return true;
  if (TakeKey(kKeyBackspace)) {
    if (length > 0) buffer[length - 1] = '\0';
    return false;
  }
  const char c = KeyToChar(spaceFlag);
  if (c != 0 && length < longest && length + 1 < size && (!wraps || WrappedLines(buffer) < kDescriptionLines)) {
    buffer[length] = c;
    buffer[length + 1] = '\0';
  }
  return false;
}

void ItemNameKeys() {
  if (!TypeInto(NameEditBuffer, kNameEditSize, kLongestItemName, 0)) return;
  const int row = OpenItemRow();
  if (NameEditBuffer[0] != '\0' && row != -1)
    StoreText(CraftedWeapons[row].name, sizeof CraftedWeapons[row].name, NameEditBuffer);
  std::memset(NameEditBuffer, 0, kNameEditSize);
  TextEntryMode = kTextEntryNone;
}

void ItemDescriptionKeys() {
  if (!TypeInto(ItemDescriptionBuffer, kItemDescriptionEditSize, kLongestDescription, 1, true)) return;
  const int row = OpenItemRow();
  if (ItemDescriptionBuffer[0] != '\0' && row != -1)
    StoreText(CraftedWeapons[row].description, sizeof CraftedWeapons[row].description, ItemDescriptionBuffer);
  std::memset(ItemDescriptionBuffer, 0, kItemDescriptionEditSize);
  TextEntryMode = kTextEntryNone;
}

// The creature whose text is typed: the record it began on, else the
// record or creation page on top; -1 none.
int TypedCreature() { return TextEntryCreature >= 0 ? TextEntryCreature : OpenPageCreature(); }

void CreatureDescriptionKeys() {
  if (!TypeInto(BackgroundEditBuffer, kBackgroundEditSize, kLongestDescription, 1, true)) return;
  const int creature = TypedCreature();
  if (creature != -1) StoreCreatureBackground(creature, BackgroundEditBuffer);
  EndCreatureTextEntry();
}

void CharacterNameKeys() {
  NameEditBuffer[kNameEditSize - 1] = '\0';
  const uint32_t length = static_cast<uint32_t>(std::strlen(NameEditBuffer));
  if (NameEditCursor > length) NameEditCursor = length;
  if (ReturnPressed()) {
    // The new name takes the old one's place in the description too.
    const int creature = TypedCreature();
    if (creature != -1) RenameCreature(creature, NameEditBuffer);
    EndCreatureTextEntry();
    return;
  }
  if (TakeKey(kKeyBackspace)) {
    if (NameEditCursor > 0) DeleteNameChar(static_cast<int>(--NameEditCursor));
    return;
  }
  if (TakeKey(kKeyDelete)) {
    DeleteNameChar(static_cast<int>(NameEditCursor));
    return;
  }
  if (TakeKey(kKeyRight)) {
    if (NameEditCursor < length && NameEditCursor < kLastNameCursorByKey) ++NameEditCursor;
    return;
  }
  if (TakeKey(kKeyLeft)) {
    if (NameEditCursor > 0) --NameEditCursor;
    return;
  }
  const char c = KeyToChar(0);
  if (c == 0 || (c == '_' && NameEditCursor == 0) || NameEditCursor > kLastNameInsertPoint) return;
  InsertNameGap();
  NameEditBuffer[NameEditCursor] = c;
  if (NameEditCursor < kLastNameInsertPoint) ++NameEditCursor;
}

}  // namespace

int InsertNameGap() {
  const int at = static_cast<int>(NameEditCursor);
  if (at < 0 || at > kNameGapLength) return 1;
  // The name counts as at most 8 characters: the last one falls off when full.
  for (int i = kNameGapLength; i > at; --i) NameEditBuffer[i] = NameEditBuffer[i - 1];
  NameEditBuffer[kNameEditSize - 1] = '\0';
  return 1;
}

int DeleteNameChar(int position) {
  if (position < 0 || position >= kNameEditSize - 1) return 1;
  for (int i = position; i < kNameEditSize - 1; ++i) NameEditBuffer[i] = NameEditBuffer[i + 1];
  NameEditBuffer[kNameEditSize - 1] = '\0';
  return 1;
}

void TextEntryKeys() {
  if (!CreatureTextEntryStillOpen()) return;
  switch (TextEntryMode) {
    case kTextEntryCharacterName: CharacterNameKeys(); break;
    case kTextEntryCreatureDescription: CreatureDescriptionKeys(); break;
    case kTextEntryItemDescription: ItemDescriptionKeys(); break;
    case kTextEntryItemName: ItemNameKeys(); break;
    default: break;
  }
}
