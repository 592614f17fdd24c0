// One character typed on the keyboard for the screens' text entry.
#include "engine/input.h"
#include "engine/ui_input.h"
#include "screens/game/shared_routines.h"

namespace {

struct KeyChar {
  int key;
  char c;
};

constexpr int kLeftShift = 0x2A, kRightShift = 0x36, kKey3 = 0x04, kKey6 = 0x07;

// Without Shift, in the order they are tested.
constexpr KeyChar kPlain[] = {
    {0x33, ','}, {0x34, '.'}, {0x27, ';'}, {0x37, '*'}, {0x39, ' '}, {0x0D, '='}, {0x0C, '-'}, {0x35, '/'},
    {0x0B, '0'}, {0x02, '1'}, {0x03, '2'}, {0x04, '3'}, {0x05, '4'}, {0x06, '5'}, {0x07, '6'}, {0x08, '7'},
    {0x09, '8'}, {0x0A, '9'},
};
// With either Shift, before the capital letters.
constexpr KeyChar kShifted[] = {
    {0x02, '!'}, {0x03, '"'}, {0x05, '$'}, {0x06, '%'}, {0x08, '&'}, {0x09, '*'}, {0x0A, '('}, {0x0B, ')'},
    {0x28, '@'}, {0x33, '<'}, {0x34, '>'}, {0x35, '?'}, {0x0D, '+'},
};
// The letters a to z by scan code.
constexpr int kLetterKeys[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                 0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

bool ShiftHeld() {
  return (KeyboardDevice.state[kLeftShift] & 0x80) != 0 || (KeyboardDevice.state[kRightShift] & 0x80) != 0;
}

// A newly pressed key: latched, so that it counts again only after release.
bool Take(int key) {
  if (!KeyPressed(key)) return false;
  LatchKey(key);
  return true;
}

}  // namespace

char KeyToChar(int spaceFlag) {
  const bool shift = ShiftHeld();
  if (!shift) {
    for (const KeyChar& k : kPlain)
      if (Take(k.key)) return k.c == ' ' && spaceFlag != 1 ? '_' : k.c;
  } else {
    if (KeyPressed(kKey3) || KeyPressed(kKey6)) return 0;
    for (const KeyChar& k : kShifted)
      if (Take(k.key)) return k.c;
  }
  for (int letter = 0; letter < 26; ++letter)
    if (Take(kLetterKeys[letter])) return static_cast<char>((shift ? 'A' : 'a') + letter);
  return 0;
}
