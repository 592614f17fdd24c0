// Hit tests on the party's name list of the game screen.
#include <cstring>

#include "engine/ui_input.h"
#include "rules/creature_record.h"
#include "screens/game/shared_routines.h"

namespace {

constexpr int kNameEndColumn = 35;
constexpr int kShownNameLength = 15;

int ShownNameLength(int member) {
  return static_cast<int>(strnlen(Creatures[member].name, kShownNameLength));
}

bool InRow(int member, int y) { return y >= 24 + 8 * member && y < 32 + 8 * member; }

}  // namespace

int HitTestNameList() {
  const int x = PointerX(), y = PointerY();
  for (int m = 0; m < 4; ++m) {
    const int length = ShownNameLength(m);
    if (length == 0 || !InRow(m, y)) continue;
    if (x >= (kNameEndColumn - length) * 8 && x < kNameEndColumn * 8) return m;
  }
  return -1;
}

bool IsOverNameList() { return HitTestNameList() != -1; }

bool IsOverNameMarker() {
  const int x = PointerX(), y = PointerY();
  for (int m = 0; m < 4; ++m) {
    const int length = ShownNameLength(m);
    if (length == 0 || !InRow(m, y)) continue;
    if (x >= (kNameEndColumn - 1 - length) * 8 && x < (kNameEndColumn - length) * 8) return true;
  }
  return false;
}
