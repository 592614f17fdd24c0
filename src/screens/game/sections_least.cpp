// Least versions of the game screen's sections and input handlers, standing
// until their own files replace them: the combat-rolls panel shows the
// message log with its links; the map mouse, the leader's stick step and the edge scrolling do nothing,
// and the main screen keys are the window keys.
#include "engine/frame.h"
#include "engine/linked_text.h"
#include "engine/main_window.h"
#include "engine/message_log.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "screens/game/game_screen.h"
#include "screens/game/overlay_sections.h"
#include "screens/game/panel_sections.h"

namespace {

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
void DrawActionsButton() {}

// ---- Over everything ---------------------------------------------------------

void DrawObjectList() {}
void DrawActionBanner() {}
void DrawHoveredCreatureBox() {}
void DrawDialogueBox() {}

// ---- Input -------------------------------------------------------------------

void MapMouseHandler() {}
void LeaderStep() {}
int MainScreenKeys() {
  TextEntryKeys();
  return HandleWindowKeys();
}
void EdgeScroll() {}
