// Least versions of the game screen's door and click-result services that the
// walk of the party calls, standing until the map view's own code replaces
// them: a door square loses its wall code; the click result takes the code
// with a 20 by 20 pixel box round the mouse.
#include "engine/ui_input.h"
#include "map/map_record.h"
#include "screens/game/game_screen.h"
#include "state/map_view_state.h"

void ToggleDoorSquare(int x, int y) {
  if (!CurrentMap.Inside(x, y)) return;
  int32_t& wall = CurrentMap.At(kLayerWalls, x, y);
  if (wall == 82 || wall == 83) wall = 0;
}

void ShowClickResultAtMouse(int32_t code) {
  const int x = PointerX(), y = PointerY();
  ClickResult.code = code;
  ClickResult.left = x - 10;
  ClickResult.top = y - 10;
  ClickResult.right = x + 10;
  ClickResult.bottom = y + 10;
}
