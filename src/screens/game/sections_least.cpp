// Least versions of the game screen's sections and input handlers, standing
// until their own files replace them: the frame's end draws the cursor and
// its hint; the map mouse, the leader's stick step and the edge scrolling do
// nothing, and the main screen keys are the window keys.
#include "engine/frame.h"
#include "engine/main_window.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "screens/game/frame_words.h"
#include "screens/game/game_screen.h"
#include "screens/game/overlay_sections.h"
#include "screens/game/panel_sections.h"

// ---- The panels --------------------------------------------------------------

void BuildActionMenu() {}
bool DrawActionMenu() { return false; }
bool DrawRecentSpellRow() { return false; }
bool DrawTargetingPrompt() { return true; }
void DrawPendingActionPrompt() {}

// ---- Over everything ---------------------------------------------------------

void DrawObjectList() {}
void DrawDialogueBox() {}
void DrawSpellCursor() {}
void FinishFrame() {
  PollPointerButtons();
  const uint8_t scale = MapScaleSwitch;
  MapScaleSwitch = 0;
  DrawMouseCursor();
  MapScaleSwitch = scale;
  if (CursorHint[0]) DrawWrappedText(-1, CursorHint, 0, -1, 0, 0);
  EndSprite();
  MapScaleSwitch = 0;
}

// ---- Input -------------------------------------------------------------------

void MapMouseHandler() {}
void LeaderStep() {}
int MainScreenKeys() {
  TextEntryKeys();
  return HandleWindowKeys();
}
void EdgeScroll() {}
