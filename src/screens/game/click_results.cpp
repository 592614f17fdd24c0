#include "screens/game/click_results.h"

#include <cstdint>
#include <cstdio>

#include "engine/frame.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/creature_record.h"
#include "screens/game/frame_words.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/game_screen_words.h"
#include "state/party_leader.h"
#include "state/turn_order.h"

ClickResultState ClickResult;
ClickResultState ShownClickResult = {0, 0, 0, 0, 0};

namespace {

// A refusal is the fighter's whose turn it was when it was written (-1
// outside combat): the fighter noted by the writers below (a result written
// any other way is taken for the fighter acting when it is shown), and that
// of the result shown. The turn may pass in the frame that wrote it.
int WrittenForFighter = -1;
bool WrittenFighterNoted = false;
int ShownForFighter = -1;

// A refusal written by a key stands beside the pointer wherever it goes (no
// click led to it, so no rectangle holds it) until the next press, which it
// takes: written, then shown.
bool StandingWritten = false;
bool StandingShown = false;

int ActingFighter() { return InCombat == 1 ? CurrentFighter() : -1; }

// Outside combat a result is told of the party where it was sent: the
// leader's destination when the result came up (the pointer may rest while
// the keypad or the held button walks the party on). In combat none.
struct Destination {
  int32_t x = -1, y = -1;
  bool operator==(const Destination&) const = default;
};
Destination ShownAtDestination;
Destination LeaderDestination() {
  if (InCombat == 1 || PartyLeader >= 4) return {};
  const CreatureRecord& c = Creatures[PartyLeader];
  return {c.destinationX, c.destinationY};
}
void NoteWriter() {
  WrittenForFighter = ActingFighter();
  WrittenFighterNoted = true;
}

constexpr int32_t kUnchanged = -1;
constexpr int32_t kCursorSuccess = 4, kCursorItemRefused = 11, kCursorTargetRefused = 16, kCursorNotPossible = 18;

struct ClickResultRow {
  int32_t code;
  const char* gameText;       // the map view's text, nullptr none
  int32_t cursor;             // the cursor shape it sets, kUnchanged none
  bool panel;                 // sets the action panel back to the remembered choice
  const char* inventoryText;  // the inventory screen's text, nullptr none
};

constexpr ClickResultRow kRows[] = {
    {1, nullptr, kUnchanged, false, "Wrong Item Category"},
    {2, "Backpack Is Full", kCursorItemRefused, false, "Backpack Is Full"},
    {3, nullptr, kUnchanged, false, "Can't wear more magic items"},
    {4, nullptr, kUnchanged, false, "Can't combine with existing magic"},
    {5, nullptr, kUnchanged, false, "Can't combine with armor"},
    {6, nullptr, kUnchanged, false, "Conflict with racial ability"},
    {7, nullptr, kUnchanged, false, "No Free Hand"},
    {8, nullptr, kUnchanged, false, "Use Right Hand Instead"},
    {9, nullptr, kUnchanged, false, "Can't exchange these items"},
    {10, nullptr, kUnchanged, false, "You need two free hands"},
    {11, "Item not picked", kCursorItemRefused, false, "No Target Selected"},
    {12, "Casting Canceled", kCursorTargetRefused, true, nullptr},
    {13, "Target Not Fighting", kCursorTargetRefused, true, nullptr},
    {14, "Not an ally", kCursorTargetRefused, true, nullptr},
    {15, "Target not hostile", kCursorTargetRefused, true, nullptr},
    {16, "Out of range", kCursorTargetRefused, true, nullptr},
    {17, "No target in area", kCursorTargetRefused, true, nullptr},
    {18, "Out Of Sight", kCursorTargetRefused, true, nullptr},
    {19, "Target Square Not Empty", kCursorTargetRefused, true, nullptr},
    {20, nullptr, kUnchanged, false, "Wrong Size Category"},
    {21, "Wrong Placement", kCursorTargetRefused, true, nullptr},
    {22, "Target is Polymorphed", kCursorItemRefused, false, "Target is Polymorphed"},
    {23, "Can't Reach Door", kCursorNotPossible, false, nullptr},
    {24, nullptr, kUnchanged, false, "Not While In Combat"},
    {25, "No Line of Sight", kCursorTargetRefused, true, nullptr},
    {26, "Crafting Canceled", kCursorNotPossible, false, "Craft Canceled"},
    {27, nullptr, kUnchanged, false, "Item Already Charged"},
    {28, nullptr, kUnchanged, false, "Success"},
    {29, nullptr, kUnchanged, false, "Item Destroyed"},
    {30, nullptr, kUnchanged, false, "Can't read NPC letters"},
    {31, nullptr, kUnchanged, false, "Not Enough Gold"},
    {34, "Too Far Away", kCursorNotPossible, false, nullptr},
    {35, "Target not petrified", kCursorTargetRefused, true, nullptr},
    {36, "Target not dead", kCursorTargetRefused, true, nullptr},
    {37, "Target not wounded", kCursorTargetRefused, true, nullptr},
    {38, "Target cant be cured", kCursorTargetRefused, true, nullptr},
    {39, "Can't Reach Stairs", kCursorNotPossible, false, nullptr},
    {40, "Can't Reach Campfire", kCursorNotPossible, false, nullptr},
    {42, nullptr, kUnchanged, false, "Sold"},
    {43, nullptr, kUnchanged, false, "Item Purchased"},
    {44, nullptr, kUnchanged, false, "Use Left Hand Instead"},
    {45, nullptr, kUnchanged, false, "Can't combine with Mage Armor"},
    {46, nullptr, kUnchanged, false, "Wrong Ammunition Type"},
    {47, "Too Far Away", kCursorNotPossible, false, nullptr},
    {48, "No Line of Sight", kUnchanged, false, nullptr},
    {49, "No Ammunition", kUnchanged, false, nullptr},
    {50, "Reload First", kUnchanged, false, nullptr},
    {51, "No Line of Sight", kCursorNotPossible, false, nullptr},
    {52, "Target not hostile", kCursorNotPossible, false, nullptr},
    {53, "Wizard can't cast Cleric Spell", kCursorTargetRefused, false, nullptr},
    {54, "Cleric can't cast Wizard Spell", kCursorTargetRefused, false, nullptr},
    {55, "Can't cast outside combat", kCursorTargetRefused, false, nullptr},
    {56, "No more spell charges", kCursorTargetRefused, false, nullptr},
    {57, "No wand in hand", kCursorTargetRefused, false, nullptr},
    {58, "Knights can't cast spells", kCursorTargetRefused, false, nullptr},
    {59, "No line of sight", kCursorItemRefused, false, nullptr},
    {60, "No effect on this target", kCursorTargetRefused, true, nullptr},
    {61, "No ranged weapon", kUnchanged, false, nullptr},
    {62, "Success", kCursorSuccess, false, nullptr},
    {63, "Failed", kCursorNotPossible, false, nullptr},
    {64, "Success", kCursorSuccess, false, nullptr},
    {65, "Failed", kCursorNotPossible, false, nullptr},
    {66, "You must rest", kCursorTargetRefused, false, nullptr},
    {67, nullptr, kUnchanged, false, "Can't combine with Armor Bracers"},
    {68, "Target must be the caster", kCursorTargetRefused, true, nullptr},
    {69, "You must pick it up first", kCursorItemRefused, false, nullptr},
    {70, "Can't reach item", kCursorItemRefused, false, nullptr},
    {71, nullptr, kUnchanged, false, "Split item first"},
    {72, nullptr, kUnchanged, false, "Healed"},
    {73, nullptr, kUnchanged, false, "Not Enough Hit Points"},
    {74, "Click to Reload", kUnchanged, false, nullptr},
    {75, "You need a Standard Action", kUnchanged, false, nullptr},
    {kResultConcentrationFailure, "Concentration Failure", kCursorTargetRefused, true, nullptr},
    {kResultSpellcastingDisrupted, "Spellcasting Disrupted", kCursorTargetRefused, true, nullptr},
    {kResultFailedToCast, "Failed to Cast", kCursorTargetRefused, true, nullptr},
    {kResultCounterspelled, "Counterspelled", kCursorTargetRefused, true, nullptr},
};

const ClickResultRow* FindRow(int32_t code) {
  for (const ClickResultRow& row : kRows)
    if (row.code == code) return &row;
  return nullptr;
}

void SetRect(ClickResultState& r, int left, int top, int right, int bottom) {
  r.left = left;
  r.top = top;
  r.right = right;
  r.bottom = bottom;
}

void HideClickResult() {
  ShownClickResult = {0, 0, 0, 0, 0};
  ClickResult.code = -1;
  StandingShown = false;
}

// What ends a standing refusal besides the press it takes on the map: a
// press anywhere else, and an order that waits for its target.
bool StandingRefusalEnds() {
  return ButtonHeld(0) || ButtonHeld(1) || CombatAction.selectedAction != -1 ||
         (ScreenMode != kModeExploring && ScreenMode != kModeCreatureHovered);
}

}  // namespace

bool SetClickResult(int x, int y, int32_t code) {
  NoteWriter();
  StandingWritten = false;
  ClickResult.code = code;
  SetRect(ClickResult, x, y, x + 17, y + 17);
  return true;
}

bool SetClickRectAtMouse() {
  NoteWriter();
  StandingWritten = false;
  const int x = PointerX(), y = PointerY();
  SetRect(ClickResult, x - 5, y - 5, x + 5, y + 5);
  return true;
}

void ShowClickResultAtMouse(int32_t code) {
  NoteWriter();
  StandingWritten = false;
  const int x = PointerX(), y = PointerY();
  ClickResult.code = code;
  SetRect(ClickResult, x - 10, y - 10, x + 10, y + 10);
}

void ShowStandingRefusal(int32_t code) {
  NoteWriter();
  ClickResult.code = code;
  SetRect(ClickResult, INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2);
  StandingWritten = true;
}

bool TakePressOnStandingRefusal() {
  if (!StandingShown || ShownClickResult.code <= 0 || !ButtonPressed(0)) return false;
  LatchButton(0);
  HideClickResult();
  return true;
}

void ShowClickResultNow(int32_t code) {
  StandingShown = StandingWritten = false;
  const int x = PointerX(), y = PointerY();
  ShownClickResult = {code, x - 10, y - 10, x + 10, y + 10};
  ShownForFighter = ActingFighter();
  ShownAtDestination = LeaderDestination();
}

const char* ClickResultText(int32_t code) {
  const ClickResultRow* row = FindRow(code);
  return row ? row->gameText : nullptr;
}

int32_t ClickResultCursor(int32_t code) {
  const ClickResultRow* row = FindRow(code);
  return row && row->gameText ? row->cursor : kUnchanged;
}

bool ClickResultResetsPanel(int32_t code) {
  const ClickResultRow* row = FindRow(code);
  return row && row->panel;
}

const char* InventoryClickResultText(int32_t code) {
  const ClickResultRow* row = FindRow(code);
  return row ? row->inventoryText : nullptr;
}

void ShowClickResult() {
  // A rest ends whatever was refused before it.
  if ((InCombat == 1 && CursorShape == 0) || ClickResult.code == 0 || RestFade != 0) {
    HideClickResult();
    return;
  }
  // A new result replaces the shown one; the code goes back to "nothing
  // new" while the shown copy stays up.
  if (ClickResult.code != -1) {
    ShownClickResult = ClickResult;
    ClickResult.code = -1;
    StandingShown = StandingWritten;
    StandingWritten = false;
    ShownForFighter = WrittenFighterNoted ? WrittenForFighter : ActingFighter();
    WrittenFighterNoted = false;
    ShownAtDestination = LeaderDestination();
  }
  // Nor does another fighter's turn show it, nor the party once sent elsewhere.
  if (ShownClickResult.code > 0 &&
      (ShownForFighter != ActingFighter() || !(LeaderDestination() == ShownAtDestination))) {
    HideClickResult();
    return;
  }
  const int x = PointerX(), y = PointerY();
  const ClickResultState& s = ShownClickResult;
  const bool inside = x >= s.left && x <= s.right && y >= s.top && y <= s.bottom;
  if (s.code <= 0) return;
  // Once the mouse has left the rectangle the result is gone for good.
  if (!inside) {
    HideClickResult();
    return;
  }
  if (StandingShown && StandingRefusalEnds()) {
    HideClickResult();
    return;
  }
  if (const char* text = ClickResultText(s.code)) std::snprintf(CursorHint, sizeof CursorHint, "%s", text);
  int32_t cursor = ClickResultCursor(s.code);
  // The pointer of a standing refusal says that the click goes nowhere.
  if (StandingShown && cursor == kUnchanged) cursor = kCursorNotPossible;
  if (cursor != kUnchanged) CursorShape = cursor;
  if (ClickResultResetsPanel(s.code)) SetReadyMode();
}

void ResetClickResults() {
  StandingWritten = StandingShown = false;
  ClickResult = ClickResultState{};
  ShownClickResult = {0, 0, 0, 0, 0};
  WrittenForFighter = ShownForFighter = -1;
  WrittenFighterNoted = false;
  ShownAtDestination = Destination{};
}
