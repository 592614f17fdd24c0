// The top of the combat screen: the banner that names the attack order
// waiting for its target (or the surprise round), the combat-rolls panel
// (the message log with its roll links, scroll bar, arrows, wheel and keys)
// and the "Combat Rolls" button that opens it.
#include <cstdio>

#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "engine/game_screen_state.h"
#include "engine/input.h"
#include "engine/linked_text.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "screens/game/frame_words.h"
#include "screens/game/panel_sections.h"
#include "screens/game/panel_words.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/panel_buttons.h"
#include "state/turn_order.h"

namespace {

constexpr int kLogStyle = 4;
// The last small cell of the log: column 34 keeps the text left of the
// scroll bar and its arrows (from x 176).
constexpr int kLogRight = 34, kLogBottom = 12;
constexpr int kLogRows = kLogBottom + 1;
constexpr int kPanelColumns = 23, kPanelRows = 10;  // the panel's large cells
constexpr int kKeyHome = 0xC7, kKeyPageUp = 0xC9, kKeyEnd = 0xCF, kKeyPageDown = 0xD1;
constexpr int kCursorDrag = 100, kCursorScrollUp = 22, kCursorScrollDown = 23, kCursorPointing = 4;
constexpr uint32_t kGrey = 0xFF969696u, kWhite = 0xFFFFFFFFu, kButtonHover = 0xFFB4B4B4u;
constexpr int kRollsButtonFigure = 299;
constexpr char kShotSwitch[] = "Right-click: Switch to Ranged";
constexpr int kShotSwitchLength = static_cast<int>(sizeof kShotSwitch) - 1;

// The highest first line (-1 not yet worked out) and the thumb being dragged;
// both forgotten while the cursor is off the panel and whenever the log
// changes (display words: no other end).
int32_t MostFirstLine = -1;
uint8_t ThumbDragged = 0;

bool IsCastingAnnouncement() { return ScreenMode == kModeCastAnnounce || ScreenMode == kModeCastResolve; }

// The log laid out from a first line, without drawing; true while lines
// remain below the panel's last row.
bool TextContinues(int32_t firstLine) {
  DrawLinkedText(MessageLogText, kLogStyle, 0, 0, kLogRight, kLogBottom, firstLine, 1, 0, 0);
  return LinkedTextOverflow == -1;
}

// The first line from which the end of the log fits the panel: the whole
// text's line count gives it, and it is then checked line by line.
int32_t LastFirstLine(int32_t from) {
  int32_t line = from < 0 ? 0 : from;
  if (!TextContinues(line)) return line;
  DrawLinkedText(MessageLogText, kLogStyle, 0, 0, kLogRight, kMessageLogSize, 0, 1, 0, 0);
  if (LinkedTextLineCount - kLogRows > line) line = LinkedTextLineCount - kLogRows;
  while (line > from && !TextContinues(line - 1)) --line;
  while (TextContinues(line)) ++line;
  return line;
}

// The layout rule of the wide window: these panels keep the 320x240 layout.
struct NarrowLayout {
  uint8_t kept = MapScaleSwitch;
  NarrowLayout() { MapScaleSwitch = 0; }
  ~NarrowLayout() { MapScaleSwitch = kept; }
};

bool ActingFighterKnown() {
  return CurrentTurnIndex >= 0 && CurrentTurnIndex < kTurnOrderEntries && TurnOrder[CurrentTurnIndex].creature != -1;
}

// The scroll bar's thumb, dragged or clicked.
void ThumbBar(int32_t most) {
  int p = RollsScrollLine * 8 / most + 1;
  if (p > 9) p = 9;
  uint32_t colour = kWhite;
  if (MouseInRect(6 * p + 1, 178, 5, 18) || ThumbDragged == 1) {
    colour = kGrey;
    CursorShape = kCursorDrag;
    if (ButtonPressed(0)) {
      LatchButton(0);
      ThumbDragged = 1;
    }
    if (ThumbDragged == 1) {
      p = PointerY() / 6 - 1;
      if (p < 1) p = 1;
      if (p > 9) p = 9;
      RollsScrollLine = (p - 1) * most / 8;
      if (RollsScrollLine > most) RollsScrollLine = most;
    }
  }
  DrawSheetFrame(kSheetInterface, 482, 176, 6 * p, colour);
  DrawSheetFrame(kSheetInterface, 483, 176, 6 * p + 6, colour);
  DrawSheetFrame(kSheetInterface, 484, 176, 6 * p + 12, colour);
}

void UpArrow() {
  if (RollsScrollLine <= 0) return;
  uint32_t colour = kWhite;
  if (CursorShape == kCursorPointing && MouseInTextRow(0, 0, kPanelColumns, 3, 1, 0)) {
    colour = kGrey;
    CursorShape = kCursorScrollUp;
    if (ButtonPressed(0)) {
      LatchButton(0);
      RollsScrollLine = RollsScrollLine > 3 ? RollsScrollLine - 3 : 0;
    }
  }
  DrawSheetFrame(kSheetInterface, 485, 176, 0, colour);
  if (IsKeyDown(kKeyPageUp) && RollsScrollLine > 0) --RollsScrollLine;
  if (TakeKey(kKeyHome)) RollsScrollLine = 0;
}

void DownArrow(int32_t most, bool continues) {
  if (!continues) return;
  uint32_t colour = kWhite;
  const bool hovered = CursorShape == kCursorPointing && MouseInTextRow(7, 0, kPanelColumns, 3, 1, 0);
  if (hovered) {
    colour = kGrey;
    CursorShape = kCursorScrollDown;
    if (ButtonPressed(0)) {
      LatchButton(0);
      RollsScrollLine += 3;
    }
  }
  if (most > 0) DrawSheetFrame(kSheetInterface, 486, 176, 72, colour);
  if (IsKeyDown(kKeyPageDown)) ++RollsScrollLine;
  if (TakeKey(kKeyEnd)) MessageLogChanged = 1;
}

void RollsPanel() {
  DrawTopLeftPanelShade();
  // New lines bring the end of the log into view once (and the highest
  // first line is worked out again).
  if (MessageLogChanged != 0) {
    MessageLogChanged = 0;
    RollsScrollLine = LastFirstLine(RollsScrollLine);
    MostFirstLine = -1;
  }
  if (RollsScrollLine < 0) RollsScrollLine = 0;
  // Under a creature's box the log is laid out but not drawn: its lines
  // showed through the box and ran out from under it.
  const bool underBox = PopupMeets(0, 0, 184, 80);
  DrawLinkedText(MessageLogText, kLogStyle, 0, 0, kLogRight, kLogBottom, RollsScrollLine, 1, 0, underBox ? 0 : 1);
  const bool continues = LinkedTextOverflow == -1;

  // Without a cursor (events are being shown) the text stands alone.
  const bool over = MouseInTextRow(0, 0, kPanelColumns, kPanelRows, 1, 0);
  if (!ButtonHeld(0)) ThumbDragged = 0;
  if (CursorShape == 0 || !over) {
    MostFirstLine = -1;
    ThumbDragged = 0;
  }
  if (CursorShape == 0) return;
  if (over) {
    const int wheel = GetMouseWheel();
    if (wheel > 0) RollsScrollLine = RollsScrollLine > 3 ? RollsScrollLine - 3 : 0;
    if (wheel < 0 && continues) RollsScrollLine += 3;
  }
  if (ScreenMode != kModePageView && MostFirstLine == -1)
    MostFirstLine = continues ? LastFirstLine(RollsScrollLine) : RollsScrollLine;
  const int32_t most = MostFirstLine < 0 ? 0 : MostFirstLine;
  if (most > 0) ThumbBar(most);
  UpArrow();
  DownArrow(most, continues);
}

void RollsButton() {
  const PanelButtonPlace& tab = PanelButtons[kButtonCombatRollsTab];
  const bool hovered = tab.box.HoldsMouse();
  DrawFigureIcon(0, 0, kRollsButtonFigure, tab.column, tab.row, hovered ? kButtonHover : kWhite, 0);
  if (!hovered) return;
  std::snprintf(CursorHint, sizeof CursorHint, "Combat Rolls");
  if (ButtonPressed(0)) {
    LatchButton(0);
    CombatRollsShown = 1;
    StrictScrollTo(CurrentFighter(), -1, -1);
  }
}

// The right button's switch to shooting, told beside the pointer when it
// shows a walk toward the foe with no words of its own (under the banner
// otherwise, beside a chance or a refusal); true when told there.
bool TellShotSwitch() {
  if (ShotSwitchShown == 0 || CursorChance != -1 || CursorShape != kCursorWalk) return false;
  std::snprintf(CursorHint, sizeof CursorHint, "%s", kShotSwitch);
  return true;
}

}  // namespace

void DrawCombatBanner() {
  if (InCombat != 1 || ScreenMode == kModeResting || IsTargetingMode() || IsCastingAnnouncement() ||
      CombatAction.actionCode != 0 || CombatState != kStatePlayerTurn)
    return;
  const bool switchTold = TellShotSwitch();
  if (CombatRollsShown != 0) return;
  AttackCounterDisplay.hidden = 1;
  const char* text = nullptr;
  switch (AttackKindBanner) {
    case 0: text = SurpriseRound != 0 && KeypadStepActive == 0 ? "Surprise Round" : nullptr; break;
    case 1: text = "Charge Attack"; break;
    case 2: text = "Melee Attack"; break;
    case 3: text = "Ranged Attack"; break;
    case 4: text = "Grapple Attack"; break;
    default: break;
  }
  if (text != nullptr) DrawTextF(0, 2, 1, "%s", text);
  if (!switchTold && ShotSwitchShown != 0) DrawTextAt(kWhite, kShotSwitchLength, 1, kShotSwitch, 0, 3, 3, 0, 0, 0, 0);
}

void DrawCombatRollsPanel() {
  if (InCombat != 1) return;
  const NarrowLayout narrow;
  if (CombatRollsShown == 1) {
    if (RollsPanelDrawn()) RollsPanel();
  } else if (CombatRollsTabShown()) {
    RollsButton();
  }
}

bool RollsPanelDrawn() {
  return InCombat == 1 && CombatRollsShown == 1 && ScreenMode != kModeResting && ScreenMode != kModeCastAnnounce &&
         !IsTargetingMode();
}

bool CombatRollsTabShown() {
  return InCombat == 1 && CombatRollsShown == 0 && ActingFighterKnown() && IsTargetingOrMenuMode() == 0;
}
