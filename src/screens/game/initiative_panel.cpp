// The initiative order in the side panel on the player's turn: every fighter
// in turn order with the acting one blinking, the list scrolled when it is
// longer than the panel, a click opening a fighter's character record, and
// "View Actions" switching the panel to the action list; and the "Actions"
// button that brings the hidden side panel back.
#include <cstdio>

#include "combat/turns/adjacency_queries.h"
#include "engine/frame.h"
#include "engine/game_screen_state.h"
#include "engine/input.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/creature_record.h"
#include "screens/game/frame_words.h"
#include "screens/game/panel_sections.h"
#include "screens/game/panel_words.h"
#include "screens/game/shared_routines.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"
#include "state/panel_buttons.h"
#include "state/turn_order.h"

int32_t InitiativeScrollTop = 0;

namespace {

constexpr int kShownEntries = 27;
constexpr int kNameColumn = 24;
constexpr int kCursorCreature = 8, kCursorScrollUp = 22, kCursorScrollDown = 23, kCursorRefused = 18;
constexpr uint32_t kButtonHover = 0xFFB4B4B4u, kWhite = 0xFFFFFFFFu;
constexpr int kActionsButtonFigure = 300;

int EntryStyle(int index, int hovered) {
  if (index == hovered) return 2;
  if (index == CurrentTurnIndex && Tick100 > 50) return 0;
  const int creature = TurnOrder[index].creature;
  return IsValidCreature(creature) && IsPartyAllegiance(Creatures[creature].allegiance) ? 6 : 7;
}

// The entry on a row: its name, and when hovered the creature shown on the
// map and its character record opened by a click.
void DrawEntry(int index, int row, int hovered, int hoverColumns, bool hoverAllowed) {
  const int creature = TurnOrder[index].creature;
  if (!IsValidCreature(creature)) return;
  const CreatureRecord& c = Creatures[creature];
  if (PopupMeetsRow(kNameColumn, row, 15)) return;  // under a creature's box: left out whole
  DrawTextF(EntryStyle(index, hovered), kNameColumn, row, "%.15s", c.name);
  if (!hoverAllowed || !MouseInTextRow(row, kNameColumn, hoverColumns, 1, 1, 0)) return;
  DrawTextF(2, kNameColumn, row, "%.15s", c.name);
  HoveredCreature = creature;
  MapCursorX = c.squareX;
  MapCursorY = c.squareY;
  CursorShape = kCursorCreature;
  if (ButtonPressed(0)) {
    LatchButton(0);
    char caption[kShownName + 1];
    NameCaption(c.name, caption);
    OpenCreaturePage(kPageCharacterRecord, creature, caption);
  }
}

// The arrow zones of a long list: scroll by one entry.
void ScrollZones(int count, bool upper, bool lower) {
  const bool above = InitiativeScrollTop > 0, below = InitiativeScrollTop + kShownEntries < count;
  if (upper) {
    CursorShape = above ? kCursorScrollUp : kCursorRefused;
    if (above) {
      std::snprintf(CursorHint, sizeof CursorHint, "Scroll Up");
      if (ButtonPressed(0)) {
        LatchButton(0);
        --InitiativeScrollTop;
      }
    }
  } else if (lower) {
    CursorShape = below ? kCursorScrollDown : kCursorRefused;
    if (below) {
      std::snprintf(CursorHint, sizeof CursorHint, "Scroll Down");
      if (ButtonPressed(0)) {
        LatchButton(0);
        ++InitiativeScrollTop;
      }
    }
  }
}

void LongList(int count, int hovered) {
  const int most = count - kShownEntries;
  if (InitiativeScrollTop > most) InitiativeScrollTop = most;
  if (InitiativeScrollTop < 0) InitiativeScrollTop = 0;
  if (InitiativeAutoScroll != 0) {
    InitiativeAutoScroll = 0;
    if (CurrentTurnIndex < InitiativeScrollTop || CurrentTurnIndex >= InitiativeScrollTop + kShownEntries)
      InitiativeScrollTop = CurrentTurnIndex > most ? most : CurrentTurnIndex;
  }
  const bool upper = MouseInTextRow(1, 36, 3, 2, 1, 0), lower = MouseInTextRow(27, 36, 3, 2, 1, 0);
  if (MouseInTextRow(0, kNameColumn, 39, 29, 1, 0)) {
    const int wheel = GetMouseWheel();
    if (wheel > 0 && InitiativeScrollTop > 0) --InitiativeScrollTop;
    if (wheel < 0 && InitiativeScrollTop < most) ++InitiativeScrollTop;
  }
  ScrollZones(count, upper, lower);
  const int shownHover = upper || lower ? -1 : hovered;
  for (int i = 0; i < kShownEntries; ++i)
    DrawEntry(InitiativeScrollTop + i, i + 1, shownHover, 15, !upper && !lower);
  if (InitiativeScrollTop > 0) DrawSheetFrame(kSheetInterface, 485, 304, 8);
  if (InitiativeScrollTop < most) DrawSheetFrame(kSheetInterface, 486, 304, 224);
}

void ViewActionsEntry(int count, bool inArrowZone) {
  const int row = count + 1 < 28 ? count + 1 : 28;
  if (PopupMeetsRow(kNameColumn, row, 15)) return;
  if (!inArrowZone && MouseInTextRow(row, kNameColumn, 15, 1, 1, 0)) {
    DrawTextF(2, kNameColumn, row, "View Actions");
    if (ButtonPressed(0)) {
      LatchButton(0);
      SidePanelPrefersInitiative = 0;
      SidePanelMode = 2;
    }
    return;
  }
  DrawTextF(6, kNameColumn, row, "View Actions");
  DrawTextF(3, kNameColumn, row, "  e");
}

}  // namespace

void DrawInitiativePanel() {
  if (CombatState != kStatePlayerTurn || SidePanelShown != 1 || SidePanelMode != 1 || KeypadStepActive != 0) return;
  const int count = TurnEntryCount < 0 ? 0 : (TurnEntryCount > kTurnOrderEntries ? kTurnOrderEntries : TurnEntryCount);
  int hovered = -1;
  if (HoveredFighterSlot >= 0 && HoveredFighterSlot < kFighterSlots)
    hovered = FindTurnOrderIndex(FighterSlots[HoveredFighterSlot].creature);
  SidePanelRows = count <= kShownEntries ? count + 2 : 29;
  DrawSidePanelFrame(SidePanelRows);
  bool inArrowZone = false;
  if (count < kShownEntries) {
    InitiativeScrollTop = 0;
    for (int i = 0; i < count; ++i) DrawEntry(i, i + 1, hovered, 12, true);
  } else {
    LongList(count, hovered);
    inArrowZone = MouseInTextRow(1, 36, 3, 2, 1, 0) || MouseInTextRow(27, 36, 3, 2, 1, 0);
  }
  ViewActionsEntry(count, inArrowZone);
}

bool ActionsTabShown() {
  return InCombat == 1 && CombatState == kStatePlayerTurn && IsTargetingOrMenuMode() == 0 && SidePanelShown == 0 &&
         KeypadStepActive == 0;
}

void DrawActionsButton() {
  if (!ActionsTabShown()) return;
  const uint8_t kept = MapScaleSwitch;
  MapScaleSwitch = 0;
  const PanelButtonPlace& tab = PanelButtons[kButtonActionsTab];
  const bool hovered = tab.box.HoldsMouse();
  DrawFigureIcon(0, 0, kActionsButtonFigure, tab.column, tab.row, hovered ? kButtonHover : kWhite, 0);
  if (hovered) {
    std::snprintf(CursorHint, sizeof CursorHint, "Actions");
    if (ButtonPressed(0)) {
      LatchButton(0);
      SidePanelShown = 1;
      StrictScrollTo(CurrentFighter(), -1, -1);
    }
  }
  MapScaleSwitch = kept;
}
