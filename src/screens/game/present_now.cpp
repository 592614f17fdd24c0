// The game screen drawn once in the middle of a computer fighter's long
// search (the turn cycle's PresentFrameNow), and the menu backdrop presented
// at once outside the frame loop.
#include "combat/turns/turn_routines.h"
#include "engine/graphics.h"
#include "engine/widgets.h"
#include "screens/game/game_screen.h"

void DrawGameScreenNow() { DrawGameScreenForWindow(); }

int PresentBackdropFrameNow() {
  if (BeginScene()) {
    BeginSprite();
    DrawScreenBackdrop();
    EndSprite();
    EndScene();
    PresentFrame();
  }
  FramePresented = 1;
  return 1;
}
