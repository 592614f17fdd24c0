// The party set-up page (page type 117): the party ordered by dragging
// names (the first leads), the game mode chosen while a new game is set up,
// each member's colour, and the way out: "Start Adventuring" for a new
// party, "Back to the Game" otherwise.
#include <cstdio>
#include <cstring>

#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "party/creation_rules.h"
#include "party/page_controls.h"
#include "party/party_screens.h"
#include "party/party_start.h"
#include "rules/creature_record.h"
#include "screens/game/action_state.h"
#include "state/game_progress.h"
#include "state/party_leader.h"

int32_t PartyDragSource = -1;

namespace {

// Text styles of the page.
constexpr int kHighlighted = 2, kCaption = 4, kNormal = 5, kButton = 6, kChosen = 7, kPlain = 0;
constexpr int kSheetInterface = 13;
constexpr int kSwatchFrame = 519, kSwatchChosenFrame = 527, kSwatchHoverFrame = 528;
constexpr int kNameColumn = 23, kFirstOrderRow = 8, kFirstColourRow = 19, kSwatchColumn = 21;
constexpr int32_t kGameModesHelp = 11001;

const char* const kOrderLabels[kPartySize] = {"Leader          -", "Character 2     -", "Character 3     -",
                                              "Character 4     -"};

// A member's name as the page shows it (at most 15 characters).
void ShownName(int member, char (&name)[16]) { std::snprintf(name, sizeof name, "%.15s", Creatures[member].name); }

// The member's figure for a colour: the class's first figure (Knight 1,
// Wizard 9, Cleric 17, others 0), 139 on for a female, then the colour.
int32_t SwatchFigure(int member, int colour) {
  const CreatureRecord& c = Creatures[member];
  const bool party = c.creatureClass == kClassKnight || c.creatureClass == kClassWizard ||
                     c.creatureClass == kClassCleric;
  return (party ? 1 + ClassFigureBase(c.creatureClass) : 0) + GenderFigureOffset(c.gender) + colour;
}

// Whether the dragged member may take the target's row: a member that is
// down never becomes the leader.
bool SwapAllowed(int dragged, int target) {
  if (target == 0) return IsMovableMember(dragged);
  return dragged != 0 || IsMovableMember(target);
}

// The order rows: names are picked up by a press and dropped on another row.
void OrderRows() {
  PageText("Drag and drop names", kButton, 9, 1);
  PageText("to order your party", kButton, 9, 2);
  const bool held = ButtonHeld(0);
  int dropRow = -1;
  for (int m = 0; m < kPartySize; ++m) {
    const int row = kFirstOrderRow + m;
    PageText(kOrderLabels[m], kCaption, 5, row);
    char name[16];
    ShownName(m, name);
    const bool movable = m == 0 || IsMovableMember(m);
    const bool over = OverText(name, kNameColumn, row);
    PageText(name, over && PartyDragSource == -1 ? kHighlighted : movable ? kNormal : kCaption, kNameColumn, row);
    if (MouseInTextRow(row, 5, 34, 1, kLargeText, 0)) dropRow = m;
    if (!over || PartyDragSource != -1) continue;
    SetHint("Drag to Reorder");
    CursorShape = 100;
    if (TakeLeftClick()) PartyDragSource = m;
  }
  if (PartyDragSource < 0 || PartyDragSource >= kPartySize) {
    PartyDragSource = -1;
    return;
  }
  if (held) {
    char name[16];
    ShownName(PartyDragSource, name);
    DrawTextAt(kDefaultColour, kLargeColumns, PointerX(), name, kHighlighted, 0, 0, kLargeText, PointerY() - 7, 1, 0);
    CursorShape = 100;
    return;
  }
  // Let go: over another row the two change places when allowed.
  if (dropRow >= 0 && dropRow != PartyDragSource) {
    PlayClickSound();
    if (SwapAllowed(PartyDragSource, dropRow)) SwapPartyMembers(PartyDragSource, dropRow);
  }
  PartyDragSource = -1;
}

void GameMode() {
  const bool settingUp = NewPartyPending == 1;
  const bool overCaption = OverText("Game mode", 5, 13);
  PageText("Game mode", overCaption ? kHighlighted : kCaption, 5, 13);
  if (overCaption) {
    SetHint("Game Modes");
    CursorShape = 28;
    if (TakeLeftClick() || TakeRightClick()) OpenPage("Game Modes", kGameModesHelp);
  }
  const int32_t mode = OptionWords[kOptionIronmanMode] == 1 ? 1 : 0;
  const struct {
    const char* label;
    int column, x, width;
  } kModes[2] = {{"Normal", 11, 88, 48}, {"Ironman", 21, 168, 56}};
  for (int32_t m = 0; m < 2; ++m) {
    const bool chosen = m == mode;
    PageText(kModes[m].label, chosen ? (settingUp ? kChosen : kPlain) : kCaption, kModes[m].column, 15);
    if (chosen || !settingUp || !MouseInRect(120, kModes[m].x, kModes[m].width, 8)) continue;
    CursorShape = 4;
    if (TakeLeftClick()) OptionWords[kOptionIronmanMode] = m;
  }
}

void Colours() {
  PageText("Colour choices", kCaption, 5, 17);
  for (int m = 0; m < kPartySize; ++m) {
    const int row = kFirstColourRow + m;
    char name[16];
    ShownName(m, name);
    PageText(name, kNormal, 5, row);
    const int32_t figure = Creatures[m].figure;
    for (int i = 0; i < kColourCount; ++i) {
      const int x = 8 * (kSwatchColumn + i), y = 8 * row;
      DrawSheetFrame(kSheetInterface, kSwatchFrame + i, x, y);
      if (figure == SwatchFigure(m, i)) DrawSheetFrame(kSheetInterface, kSwatchChosenFrame, x, y);
      if (PartyDragSource != -1 || !MouseInRect(y, x, 8, 8)) continue;
      DrawSheetFrame(kSheetInterface, kSwatchHoverFrame, x, y);
      SetHint("Pick Colour");
      CursorShape = 4;
      if (TakeLeftClick()) Creatures[m].figure = SwatchFigure(m, i);
    }
  }
}

// Back to the game from the character screens: the party in its new line.
void BackToTheGame() {
  ResetPartyFormation();
  SetFirstPage("", 0, 0);
  SavedScreenMode = kModeExploring;
  ResetActionState();
}

// True when the page was left.
bool BottomButton() {
  const bool newGame = NewPartyPending == 1;
  const char* text = newGame ? "Start Adventuring" : "Back to the Game";
  const int column = newGame ? 11 : 12;
  const bool over = PartyDragSource == -1 && OverText(text, column, 26);
  PageText(text, over ? kHighlighted : kButton, column, 26);
  if (!over) return false;
  CursorShape = 4;
  if (!TakeLeftClick()) return false;
  if (!newGame) {
    BackToTheGame();
    return true;
  }
  return StartAdventuring() == 1;
}

}  // namespace

void PartySetupScreen() {
  LastScreenDrawn = "PartySetupScreen";
  DrawScreenBackdrop();
  ClearHint();
  CursorShape = 29;
  OrderRows();
  GameMode();
  Colours();
  if (BottomButton()) return;
  PollPointerButtons();
  DrawMouseCursor();
  if (HoverCaption[0]) DrawWrappedText(-1, HoverCaption, 0, -1, 0, 0);
}
