// A least version of the game screen's click-result setter, standing until
// the game screen's own message display replaces it.
#include "screens/game/game_screen.h"

int SetClickResult(int y, int code, int x) {
  ClickResult = {code, x, y, x + 17, y + 17};
  return 1;
}
