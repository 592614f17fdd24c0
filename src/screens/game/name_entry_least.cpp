// A least version of the main screen keys' name typing, standing until the
// game screen's own keys replace it: while a character's name is open for
// typing (TextEntryMode 1), letters, digits and a few signs are put in at
// the insertion point, Backspace and Delete take one out, Left and Right
// move the point, and Return (or keypad Enter) stores the name in the
// creature of the top page (an empty name keeps the old one).
#include <cstring>

#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/ui_input.h"
#include "rules/creature_record.h"
#include "rules/creature_texts.h"
#include "screens/game/game_screen.h"
#include "state/text_entry.h"

namespace {

constexpr int kKeyReturn = 0x1C, kKeyPadEnter = 0x9C, kKeyDelete = 0xD3, kKeyRightShift = 0x36;
constexpr unsigned kLongestName = 9;

bool Take(int key) {
  if (!KeyPressed(key)) return false;
  LatchKey(key);
  return true;
}

// The character of a freshly pressed key (latched), 0 when none: letters,
// digits, and '_' for the space bar.
char TypedCharacter() {
  static const char kLetters[] = "qwertyuiop\0\0\0\0asdfghjkl\0\0\0\0\0zxcvbnm";
  const bool shift = KeyHeld(kKeyLeftShift) || KeyHeld(kKeyRightShift);
  if (Take(kKeySpace)) return '_';
  for (int d = 0; d < 10; ++d)
    if (Take(0x02 + d)) return shift ? 0 : static_cast<char>(d == 9 ? '0' : '1' + d);
  for (int k = 0; k < static_cast<int>(sizeof kLetters) - 1; ++k) {
    if (kLetters[k] == 0 || !Take(0x10 + k)) continue;
    return shift ? static_cast<char>(kLetters[k] - 'a' + 'A') : kLetters[k];
  }
  if (Take(0x0C)) return '-';
  return 0;
}

void StoreName() {
  // A typing begun on a record belongs to that record.
  if (TextEntryCreature >= 0) {
    RenameCreature(TextEntryCreature, NameEditBuffer);
    return;
  }
  const int32_t type = TopPageType();
  const int32_t creature = TopPageParameter();
  if ((type != kPageCharacterRecord && type != kPageCharacterCreation) || !IsValidCreature(creature)) return;
  RenameCreature(creature, NameEditBuffer);
}

}  // namespace

void TextEntryKeys() {
  if (!CreatureTextEntryStillOpen() || TextEntryMode != kTextEntryCharacterName) return;
  NameEditBuffer[kNameEditSize - 1] = '\0';
  const unsigned length = static_cast<unsigned>(std::strlen(NameEditBuffer));
  if (NameEditCursor > length) NameEditCursor = length;
  if (Take(kKeyReturn) || Take(kKeyPadEnter)) {
    LatchKey(kKeyReturn);
    LatchKey(kKeyPadEnter);
    StoreName();
    EndCreatureTextEntry();
    return;
  }
  if (Take(kKeyBackspace)) {
    if (NameEditCursor > 0) {
      --NameEditCursor;
      std::memmove(NameEditBuffer + NameEditCursor, NameEditBuffer + NameEditCursor + 1, length - NameEditCursor);
    }
    return;
  }
  if (Take(kKeyDelete)) {
    if (NameEditCursor < length)
      std::memmove(NameEditBuffer + NameEditCursor, NameEditBuffer + NameEditCursor + 1, length - NameEditCursor);
    return;
  }
  if (Take(kKeyLeft)) {
    if (NameEditCursor > 0) --NameEditCursor;
    return;
  }
  if (Take(kKeyRight)) {
    if (NameEditCursor < length) ++NameEditCursor;
    return;
  }
  const char c = TypedCharacter();
  if (c == 0 || (c == '_' && NameEditCursor == 0) || length >= kLongestName) return;
  std::memmove(NameEditBuffer + NameEditCursor + 1, NameEditBuffer + NameEditCursor, length - NameEditCursor + 1);
  NameEditBuffer[NameEditCursor++] = c;
}
