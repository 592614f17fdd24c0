// The game screen drawn once in the middle of a computer fighter's long
// search (the turn cycle's PresentFrameNow), and the menu backdrop presented
// at once outside the frame loop.
#include "combat/turns/turn_routines.h"
#include "engine/graphics.h"
#include "engine/widgets.h"
#include "screens/game/game_screen.h"

void DrawGameScreenNow() { DrawGameScreenForWindow(); }

int PresentBackdropFrameNow() {
  // Called by a page in the middle of the frame's scene, the backdrop is
  // shown at once all the same: that scene is closed for it, and the frame
  // then goes on in a fresh scene that starts from the backdrop.
  if (!Graphics.device) {
    FramePresented = 1;
    return 1;
  }
  const bool inFrame = BeginScene() == 0;
  if (inFrame) {
    EndSprite();
    EndScene();
    if (!BeginScene()) return 1;
  }
  BeginSprite();
  DrawScreenBackdrop();
  EndSprite();
  EndScene();
  PresentFrame();
  if (inFrame) {
    BeginScene();
    ClearScreen(0xFF000000u);
    BeginSprite();
    DrawScreenBackdrop();
    return 1;
  }
  FramePresented = 1;
  return 1;
}
