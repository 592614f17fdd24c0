// The game screen drawn once in the middle of a computer fighter's long
// search (the turn cycle's PresentFrameNow).
#include "combat/turns/turn_routines.h"
#include "engine/settings.h"
#include "screens/game/game_screen.h"

void DrawGameScreenNow() {
  if (WindowSize == 3)
    GameScreenFrame(16, 21);
  else
    GameScreenFrame(11, 14);
}
