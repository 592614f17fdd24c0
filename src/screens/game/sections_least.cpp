// Least versions of the game screen's sections and input handlers, standing
// until their own files replace them: the map view draws the ground and the
// floor of the seen squares; the combat-rolls panel shows the message log
// with its links; the frame's end draws the cursor and its hint; the map
// mouse, the leader's stick step and the edge scrolling do nothing, and the
// main screen keys are the window keys.
#include "engine/frame.h"
#include "engine/linked_text.h"
#include "engine/main_window.h"
#include "engine/message_log.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "screens/game/floating_texts.h"
#include "screens/game/frame_words.h"
#include "screens/game/game_screen.h"
#include "screens/game/map_view_passes.h"
#include "screens/game/overlay_sections.h"
#include "screens/game/panel_sections.h"

namespace {

// Whether the map square is inside the map and has been seen.
bool SquareShown(int x, int y) {
  if (!CurrentMap.Inside(x, y)) return false;
  if (CurrentMapNumber < 0 || CurrentMapNumber >= kStoredMapCount) return true;
  return MapMemory[CurrentMapNumber][SquareIndex(x, y)] != 0;
}

void DrawGroundSquare(int32_t ground, int32_t floor, int sx, int sy, uint32_t tint) {
  if (ground >= 1 && ground <= 43)
    DrawSheetFrame(0, ground, sx, sy, tint);
  else if (ground >= 44 && ground <= 59)
    DrawSheetFrame(21, ground + 12, sx, sy, tint);
  else if (ground >= 60 && ground <= 65)
    DrawSheetFrame(0, ground - 10, sx, sy, tint);
  if (floor >= 200 && floor <= 283) DrawSheetFrame(4, floor - 200, sx, sy, tint);
}

constexpr int kLogRight = 36, kLogBottom = 12;

// Scrolls the panel's log to its end once new lines have come.
void ScrollLogToEnd() {
  if (MessageLogScroll < 0) MessageLogScroll = 0;
  DrawLinkedText(MessageLogText, 4, 0, 0, kLogRight, kLogBottom, MessageLogScroll, 1, 0, 0);
  if (LinkedTextOverflow == -1) {
    DrawLinkedText(MessageLogText, 4, 0, 0, kLogRight, kMessageLogSize, MessageLogScroll, 1, 0, 0);
    const int rows = kLogBottom + 1;
    if (LinkedTextLineCount - rows > MessageLogScroll) MessageLogScroll = LinkedTextLineCount - rows;
    DrawLinkedText(MessageLogText, 4, 0, 0, kLogRight, kLogBottom, MessageLogScroll, 1, 0, 0);
  }
  while (LinkedTextOverflow == -1) {
    ++MessageLogScroll;
    DrawLinkedText(MessageLogText, 4, 0, 0, kLogRight, kLogBottom, MessageLogScroll, 1, 0, 0);
  }
  MessageLogChanged = 0;
}

}  // namespace

// ---- The map view ----------------------------------------------------------

void DrawGroundPass(int rows, int cols, uint32_t tint) {
  if (MapHidden) return;
  for (int r = 0; r <= rows; ++r)
    for (int c = 0; c <= cols; ++c) {
      const int x = FirstVisibleX + c, y = FirstVisibleY + r;
      if (!SquareShown(x, y)) continue;
      DrawGroundSquare(CurrentMap.At(kLayerGround, x, y), CurrentMap.At(kLayerFloor, x, y), 24 * c - SquareOffsetX,
                       24 * r - SquareOffsetY, tint);
    }
}
void DrawCombatOverlays(int, int, uint32_t) {}
void DrawWallTops(int, int, uint32_t) {}
void BuildDrawList(int, int, uint32_t) { CountDownFloatingTexts(); }
void DrawCreatureFigures(int, int, uint32_t) {}
void DrawUpperPasses(int, int, uint32_t) {}
void DrawCreatureLabels(int, int) {}

// ---- The panels --------------------------------------------------------------

bool DrawPartyList() { return false; }
void DrawFighterStatusBoxes() {}
void DrawCombatBanner() {}
void DrawCombatRollsPanel() {
  if (CombatRollsPanelShown != 1) return;
  DrawTopLeftPanelShade();
  ScrollLogToEnd();
  DrawLinkedText(MessageLogText, 4, 0, 0, kLogRight, kLogBottom, MessageLogScroll, 1, 0, 1);
}
void DrawInitiativePanel() {}
void BuildActionMenu() {}
bool DrawActionMenu() { return false; }
bool DrawRecentSpellRow() { return false; }
bool DrawTargetingPrompt() { return true; }
void DrawPendingActionPrompt() {}
void DrawActionsButton() {}

// ---- Over everything ---------------------------------------------------------

void DrawObjectList() {}
void DrawActionBanner() {}
void DrawHoveredCreatureBox() {}
void DrawDebugMapTool() {}
void DrawMissileSprite() {}
void DrawDialogueBox() {}
void UpdateAmbientSounds() {}
bool DebugExitChord() { return false; }
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
