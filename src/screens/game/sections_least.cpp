// Least versions of the game screen's sections and input handlers, standing
// until their own files replace them: the map mouse, the leader's stick step
// and the edge scrolling do nothing, and the main screen keys are the window
// keys.
#include "engine/frame.h"
#include "engine/main_window.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "screens/game/game_screen.h"
#include "screens/game/overlay_sections.h"
#include "screens/game/panel_sections.h"

// ---- Over everything ---------------------------------------------------------

void DrawObjectList() {}
void DrawDialogueBox() {}

// ---- Input -------------------------------------------------------------------

void MapMouseHandler() {}
void LeaderStep() {}
int MainScreenKeys() {
  TextEntryKeys();
  return HandleWindowKeys();
}
void EdgeScroll() {}
