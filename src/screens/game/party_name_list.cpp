// Hit tests on the party's name list of the game screen.
#include <cstring>

#include "rules/creature_record.h"
#include "screens/game/shared_routines.h"
#include "state/panel_buttons.h"

namespace {

constexpr int kShownNameLength = 15;

int ShownNameLength(int member) {
  return static_cast<int>(strnlen(Creatures[member].name, kShownNameLength));
}

}  // namespace

int HitTestNameList() {
  for (int m = 0; m < 4; ++m) {
    const int length = ShownNameLength(m);
    if (length > 0 && PartyNameBox(m, length).HoldsMouse()) return m;
  }
  return -1;
}

bool IsOverNameList() { return HitTestNameList() != -1; }

bool IsOverNameMarker() {
  for (int m = 0; m < 4; ++m) {
    const int length = ShownNameLength(m);
    if (length > 0 && LevelUpStarBox(m, length).HoldsMouse()) return true;
  }
  return false;
}
