// The order under way: the prompt bar of a spell or Turn Undead waiting for
// its target, its cancels, and the resets of the targeting and hover state.
#include "screens/game/action_state.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "combat/actions/casting_checks.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/reset_words.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/map_record.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/game/click_results.h"
#include "screens/game/floating_texts.h"
#include "screens/game/map_mouse_words.h"
#include "screens/game/panel_sections.h"
#include "screens/game/shared_routines.h"
#include "state/combat_events.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"
#include "state/panel_buttons.h"
#include "state/turn_order.h"

int32_t TargetPickIndex = -1;
uint8_t CancelHovered = 0;
int32_t AttackMode = 1;
uint8_t ChargeOrderPending = 0;
uint8_t FiveFootStepOrderPending = 0;
uint8_t KeypadStepActive = 0;
uint32_t PreviewComputed = 0;
uint8_t StepPreviewShown = 0;

namespace {

constexpr int32_t kTurnUndead = 998;
constexpr int32_t kResultCastingCanceled = 12;
constexpr int32_t kActionParamTurnUndeadCancelled = 32;
constexpr int32_t kActionParamSpellCancelled = 27;

// Each creature's weapon mode word, kept while its turn is not under way; a
// new game starts every creature in melee (1).
int32_t RememberedWeaponMode[kCreatureCount] = {};
bool RememberedModesSet = false;

bool InSpellTable(int32_t spell) { return spell >= 0 && spell < kSpellRows; }

// "£name£ cancels @TURN_UNDEAD@." or "£name£ cancels @KEYWORD@." for a spell
// of the table; nothing for any other value.
void LogCancelLine(int caster) {
  const char* name = IsValidCreature(caster) ? Creatures[caster].name : "";
  if (CurrentSpell == kTurnUndead)
    LogMessage("\xA3%s\xA3 cancels @TURN_UNDEAD@.\r\r", name);
  else if (InSpellTable(CurrentSpell))
    LogMessage("\xA3%s\xA3 cancels @%s@.\r\r", name, SpellKeywordFull(CurrentSpell));
}

bool MouseOnPromptRow(int y) {
  const int px = PointerX(), py = PointerY();
  return px >= 192 && px <= 311 && py >= y && py <= y + 7;
}

// Style of a listed member's hit points: absent 7, full 0, wounded 2, above
// the maximum 6.
int HitPointStyle(const CreatureRecord& c, bool present) {
  if (!present) return 7;
  if (c.hitPoints < c.maxHitPoints) return 2;
  if (c.hitPoints > c.maxHitPoints) return 6;
  return 0;
}

// A member's name as the prompt's list shows it: in the 9 cells before the
// hit points (a blank cell between), by its first word when the whole name
// is longer.
std::string ListedName(const char* name) {
  constexpr size_t kNameCells = 9;
  std::string shown(name, strnlen(name, sizeof Creatures[0].name));
  if (shown.size() <= kNameCells) return shown;
  const size_t space = shown.find(' ');
  return shown.substr(0, space != std::string::npos && space <= kNameCells ? space : kNameCells);
}

// The four party members under the prompt of a spell aimed at one of them.
void DrawPartyTargets() {
  for (int member = 0; member < 4; ++member) {
    const CreatureRecord& c = Creatures[member];
    if (c.name[0] == '\0') continue;
    const int row = 3 + member;
    const bool present = c.present == 1 && c.map == CurrentMapNumber;
    int style = present ? 5 : 7;
    if (MouseOnPromptRow(24 + 8 * member)) {
      style = 2;
      MapCursorX = c.squareX;
      MapCursorY = c.squareY;
      PanelTargetMember = member;
    }
    DrawTextAt(kDefaultColour, 15, 0, ListedName(c.name).c_str(), style, 24, row, 1, 0, 0, 0);
    char points[16];
    std::snprintf(points, sizeof points, "%3i", c.hitPoints);
    DrawTextAt(kDefaultColour, 5, 0, points, HitPointStyle(c, present), 34, row, 1, 0, 0, 0);
  }
}

}  // namespace

int MissilesToAim() {
  if (ScreenMode != kModeAimCreature || CurrentTargetingKind() != kAimIndividual) return 0;
  const int count = CastingUse.furtherMissile == 1 ? CastingUse.missilesLeft : SpellAreaSize();
  return count >= 2 || CastingUse.furtherMissile == 1 ? count : 0;
}

int TargetingPromptRows() { return ScreenMode == kModeTargetFirst ? 7 : 3; }

bool DrawTargetingPrompt() {
  const bool partyList = ScreenMode == kModeTargetFirst;
  PromptRows = TargetingPromptRows();
  DrawPopupBox(23, 0, 39, PromptRows, 0);
  if (CurrentSpell == kTurnUndead)
    DrawTextAt(kDefaultColour, 15, 0, "Turn Undead", 6, 24, 1, 1, 0, 0, 0);
  else if (const int missiles = MissilesToAim(); missiles >= 1 && missiles <= 9) {
    char title[16];
    std::snprintf(title, sizeof title, "Target (%i Left)", missiles);
    DrawTextAt(kDefaultColour, 15, 0, title, 6, 24, 1, 1, 0, 0, 0);
  } else if (InSpellTable(CurrentSpell))
    DrawTextAt(kDefaultColour, 15, 0, "Target Spell", 6, 24, 1, 1, 0, 0, 0);
  const bool onCancel = MouseOnPanelButton(kButtonCancelAction);
  CancelHovered = onCancel ? 1 : 0;
  DrawTextAt(kDefaultColour, 15, 0, "Cancel Action", onCancel ? 2 : 6, 24, 2, 1, 0, 0, 0);
  // The member under the mouse is picked anew each frame; none when the
  // mouse has left the list.
  PanelTargetMember = -1;
  if (partyList) DrawPartyTargets();
  if (onCancel && ButtonPressed(0)) {
    LatchButton(0);
    CancelPendingAction();
  }
  return true;
}

bool CancelPendingAction() {
  const int caster = CurrentCaster;
  const bool turnUndead = CurrentSpell == kTurnUndead;
  if (InCombat == 1) {
    LogCancelLine(caster);
    CombatEvents[0].type = 0;
    CombatEvents[0].value = 0;
    PlaybackCreature = caster;
    PlaybackFramesLeft = FramesPerEvent;
    CombatAction.actionCode = 13;
    CombatAction.actionParameter = turnUndead ? kActionParamTurnUndeadCancelled : kActionParamSpellCancelled;
  }
  if (IsValidCreature(caster)) ShowFloatingText(turnUndead ? "Action Cancelled" : "Spell Aborted", caster);
  for (int32_t& mark : TargetMarker) mark = 0;
  CurrentSpell = -1;
  ScreenMode = kModeExploring;
  ShowClickResultAtMouse(kResultCastingCanceled);
  return true;
}

bool CancelTargetPick() {
  const int size = InCombat == 1 ? SpellAreaSize() : -1;
  if (size >= 2 && TargetPickIndex >= 0 && TargetPickIndex < size) return true;
  LogCancelLine(CurrentCaster);
  // The rectangle 10 pixels round the mouse, the code left as it is.
  ShowClickResultAtMouse(ClickResult.code);
  HoveredFighterSlot = -1;
  CurrentSpell = -1;
  ScreenMode = kModeExploring;
  TargetPickIndex = -1;
  PathPreviewValid = 0;
  return true;
}

void ResetHoverState() {
  HoverPointX = HoverPointY = 0;
  HoverChanged = 1;
}

void ResetActionState() {
  ClickedObject = ClickedObjectWords{0, 0, 0, 0};
  ScreenMode = kModeExploring;
  HoveredFighterSlot = -1;
  ResetHoverState();
}

void ResetHoverAndInput() {
  ResetHoverState();
  PathPreviewValid = 0;
  PreviewComputed = 0;
  LatchButton(1);
  PendingPanelAction = -1;
  StepPreviewShown = 0;
  PathPreviewShown = 0;
}

void ResetRememberedWeaponModes() {
  for (int32_t& mode : RememberedWeaponMode) mode = 1;
  RememberedModesSet = true;
}

namespace {

// The creature of the acting turn-order entry when it is a party member.
int ActingPartyMember() {
  const int creature = CurrentFighter();
  if (!IsValidCreature(creature) || Creatures[creature].allegiance != kAllegianceParty) return -1;
  return creature;
}

}  // namespace

bool RestoreSelectedFighterValue() {
  const int creature = ActingPartyMember();
  if (creature == -1) return false;
  RememberedWeaponMode[creature] = WeaponMode;
  return true;
}

bool SaveSelectedFighterValue() {
  const int creature = ActingPartyMember();
  if (creature == -1) return false;
  if (!RememberedModesSet) ResetRememberedWeaponModes();
  WeaponMode = RememberedWeaponMode[creature];
  return true;
}

void ResetActionStateWords() {
  TargetPickIndex = -1;
  CancelHovered = 0;
  AttackMode = 1;
  ChargeOrderPending = 0;
  FiveFootStepOrderPending = 0;
  KeypadStepActive = 0;
  PreviewComputed = 0;
  StepPreviewShown = 0;
  ResetRememberedWeaponModes();
}
