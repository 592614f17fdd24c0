// What an action of the action bar does when the player clicks it or presses
// its hot key: orders without a target act at once through the action block
// and the combat state; orders that need one wait in SelectedAction for the
// map click; and the box that names the waiting order with "Cancel Action".
#include <cstdio>

#include "combat/actions/action_executor.h"
#include "combat/actions/casting_checks.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/help_pages.h"
#include "engine/message_log.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/conditions.h"
#include "rules/creature_forms.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "screens/game/action_menu.h"
#include "screens/game/action_state.h"
#include "screens/game/floating_texts.h"
#include "screens/game/frame_words.h"
#include "screens/game/overlay_rules.h"
#include "screens/game/panel_sections.h"
#include "screens/game/shared_routines.h"
#include "screens/game/status_box_words.h"
#include "state/camera.h"
#include "state/casting_services.h"
#include "state/combat_events.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/panel_buttons.h"
#include "state/threat_grids.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kTurnUndead = 998;
constexpr int32_t kReadyVersusApproach = 21;
constexpr int32_t kDismissedAction = 26;
constexpr int32_t kScrollFromInventory = 24;
constexpr int32_t kReadySound = 38, kDismissSound = 38;

const char* Name(int creature) { return IsValidCreature(creature) ? Creatures[creature].name : ""; }

// The member waits for its target: marked, the frames counted from 100, the
// action kept, melee or ranged aim; the debug trace when one is given.
void TargetedOrder(int member, int32_t index, const char* trace, bool setsAim = true) {
  TargetMarker[member] = 5;
  FrameCountdown = 100;
  SelectedAction = index;
  if (setsAim) AttackMode = index == kActShoot ? 2 : 1;
  if (trace != nullptr && DebugMode == 1) LogMessage("%s", trace);
}

void CentreOn(int creature) { StrictScrollTo(creature, -1, -1); }

// Opens a page over the game as the only page of the history, keeping the
// mode to return to.
void OpenSinglePage(const char* caption, int32_t type, int32_t parameter) {
  SavedScreenMode = ScreenMode;
  SetFirstPage(caption, type, parameter);
  ScreenMode = kModePageView;
}

void OpenInventoryOf(int member) {
  char caption[kPageCaptionSize];
  std::snprintf(caption, sizeof caption, "Inventory (%s)", Name(member));
  OpenSinglePage(caption, kPageInventory, member);
}

void Delay(int member) {
  LogMessage("\xA3%s\xA3 chooses to wait.\r\r", Name(member));
  const int index = CurrentTurnIndex;
  const int count = TurnEntryCount;
  if (index >= 0 && index < count && count <= kTurnOrderEntries) {
    TurnOrderEntry moved = TurnOrder[index];
    for (int i = index; i + 1 < count; ++i) TurnOrder[i] = TurnOrder[i + 1];
    moved.joinedThisRound = 1;
    TurnOrder[count - 1] = moved;
    CurrentTurnIndex = index - 1;
  }
  CombatState = kStateNextFighter;
}

void ReadyVersusApproach(int member) {
  LogMessage("\xA3%s\xA3 gets ready to attack anyone who approaches.\r\r", Name(member));
  if (CurrentTurnIndex >= 0 && CurrentTurnIndex < kTurnOrderEntries) {
    TurnOrderEntry& e = TurnOrder[CurrentTurnIndex];
    e.plannedAction = kReadyVersusApproach;
    e.plannedTarget = 0;
    e.plannedParameter = 0;
  }
  ShowFloatingText("Ready Versus Approach", member);
  ScreenMode = kModeExploring;
  ShownTargetCreature = -1;
  SetFirstCombatEvent(kEventFreed, 0, kReadySound);
  PlaybackCreature = member;
  PlaybackFramesLeft = FramesPerEvent;
  ScrollTo(member, -1, -1);
  CombatAction.actionCode = kActionEnd;
  QueuedActionCode = -1;
  QueuedScreenMode = -1;
  QueuedCombatState = kStateNextFighter;
  ActionBarMode = 1;
}

void BreakFree(int member) {
  CombatState = kStatePlayerTurn;
  if (HeldBySpell(member, nullptr) || FindCondition(member, kCondStuck) >= 0) {
    ClearActionTarget();
    CombatAction.fiveFootStepLeft = 0;
  } else {
    SettleMoveAfterAction();
  }
  CombatAction.actionCode = kActionEscape;
}

void UseInventory(int member, bool* endsFrame) {
  CombatEquipAction = 1;
  CombatAction.inventoryOpenedThisTurn = 1;
  if (Creatures[member].feats[kFeatQuickDraw] != 0) {
    OpenInventoryOf(member);
    *endsFrame = true;
    return;
  }
  SettleMoveAfterActionAlt();
  CombatAction.actionCode = kActionInventory;
}

void ViewInitiative() {
  if (SidePanelShown == 0) {
    SidePanelShown = 1;
    ActionBarMode = 1;
    ReadyModeFlag = 1;
  } else if (ActionBarMode == 2) {
    ActionBarMode = 1;
    ReadyModeFlag = 1;
  } else {
    ActionBarMode = 2;
    ReadyModeFlag = 0;
  }
}

// The member's changed form or iron body ends, or a Cleric's summoned
// creature is sent away.
void DismissSpell(int member) {
  const int form = FindCondition(member, kCondPolymorphed);
  const bool dismissibleForm = form >= 0 && Creatures[member].conditions[form].value != kLockedForm;
  const bool ironBody = FindCondition(member, kCondIronBody) >= 0;
  if (dismissibleForm || ironBody) {
    SettleMoveAfterActionAlt();
    if (dismissibleForm)
      EndPolymorph(member);
    else
      EndIronBody(member);
    SetFirstCombatEvent(kEventFormEnds, 0, SpellSoundId(2));
    PlaybackFramesLeft = FramesPerEvent;
    PlaybackCreature = member;
    CombatAction.endedActionCode = kDismissedAction;
    CombatAction.actionCode = kActionEnd;
    ScrollTo(member, -1, -1);
    ScreenMode = kModeExploring;
    return;
  }
  if (Creatures[member].creatureClass != kClassCleric || Creatures[kDismissibleSummons].present != 1) return;
  SettleMoveAfterActionAlt();
  FaceTowardsCreature(member, kDismissibleSummons);
  Creatures[kDismissibleSummons].hitPoints = 0;
  SetFirstCombatEvent(kEventFormEnds, 0, kDismissSound);
  CombatAction.actionCode = kActionEnd;
  CombatAction.endedActionCode = kDismissedAction;
  PlaybackCreature = kDismissibleSummons;
  PlaybackFramesLeft = FramesPerEvent;
  ScreenMode = kModeExploring;
  ScrollTo(kDismissibleSummons, -1, -1);
  RemoveFromCombat(kDismissibleSummons, -1);
  RecomputeCreature(kDismissibleSummons, 0);
}

// A wand in the hand starts its cast.
void UseWand(int member, int slot) {
  const uint32_t code = Creatures[member].equipment[slot - 1];
  if (!IsCraftedCode(code)) return;
  CastingItem = code;
  CastingFromItem = 1;
  CastingWand = 1;
  SpellInProgress = CraftedWeapons[code].spell;
  PendingMetamagic = 0;
  HoveredFighterSlot = -1;
  SpellCaster = member;
  CastStarted = 1;
  ScreenMode = kModeCastStart;
}

void TurnUndead(int member) {
  TargetMarker[member] = 5;
  FrameCountdown = 100;
  CentreOn(member);
  PendingMetamagic = 0;
  SpellInProgress = kTurnUndead;
  HoveredFighterSlot = -1;
  SpellCaster = member;
  CastStarted = 1;
  ScreenMode = kModeCastStart;
}

void Attack(int member) {
  RecomputeCreature(member, 0);
  const int grapple = FindCondition(member, kCondGrappling);
  if (grapple >= 0) {
    ActingCreature = member;
    ActionTarget = Creatures[member].conditions[grapple].value;
    CombatState = kStateActionUnderWay;
    CombatAction.actionCode = kActionNextAttack;
    return;
  }
  TargetedOrder(member, kActAttack, "(Cycle 15)\r");
}

void Pin(int member) {
  ActingCreature = member;
  const int grapple = FindCondition(member, kCondGrappling);
  if (grapple < 0) return;
  SettleMoveAfterAction();
  ActionTarget = Creatures[member].conditions[grapple].value;
  CombatState = kStateActionUnderWay;
  CombatAction.actionCode = kActionPin;
}

}  // namespace

bool LogEndOfTurn() {
  const int fighter = CurrentFighter();
  if (!IsValidCreature(fighter)) return false;
  const int32_t gender = Creatures[fighter].gender;
  const char* ending = gender == 1 ? " ends his turn.\r\r" : gender == 2 ? " ends her turn.\r\r" : " ends its turn.\r\r";
  LogMessage("\xA3%s\xA3%s", Name(fighter), ending);
  return true;
}

bool DrawActionCommand(int32_t index) {
  LatchButton(0);
  const int member = CurrentFighter();
  if (!IsValidCreature(member)) return false;
  bool endsFrame = false;
  switch (index) {
    case kActEndTurn:
      LogEndOfTurn();
      CombatState = kStateNextFighter;
      break;
    case kActDelay: Delay(member); break;
    case kActFiveFootStep:
      TargetedOrder(member, index, "(Cycle 11)\r", false);
      FiveFootStepOrderPending = 1;
      BuildReachOverlay(ArrowGrid, member);
      ArrowGridMover = kArrowGridStepMarks;
      CentreOn(member);
      break;
    case kActCharge:
      TargetedOrder(member, index, "(Cycle 13)\r");
      ChargeOrderPending = 1;
      break;
    case kActBullRush:
      TargetedOrder(member, index, "(Cycle 12)\r");
      ChargeOrderPending = 1;
      CentreOn(member);
      break;
    case kActWhirlwind:
      ActingCreature = member;
      CombatAction.actionCode = kActionWhirlwind;
      CombatState = kStateActionUnderWay;
      break;
    case kActGrapple:
      TargetedOrder(member, index, "(Cycle 14)\r");
      CentreOn(member);
      break;
    case kActPin: Pin(member); break;
    case kActReload:
      CombatState = kStatePlayerTurn;
      CombatAction.actionCode = kActionReload;
      break;
    case kActCoupDeGrace:
      TargetedOrder(member, index, "(Cycle 16)\r");
      ScrollTo(member, -1, -1);
      break;
    case kActCastSpell:
      OpenSinglePage("Spells", kPageSpellBook, member);
      endsFrame = true;
      break;
    case kActRightWand:
    case kActLeftWand:
      UseWand(member, index == kActRightWand ? kSlotRightHand : kSlotLeftHand);
      endsFrame = true;
      break;
    case kActScroll:
      OpenInventoryOf(member);
      CombatAction.actionCode = kScrollFromInventory;
      break;
    case kActBreakFree: BreakFree(member); break;
    case kActWakeSomeone:
      TargetedOrder(member, index, "(Cycle 18)\r");
      ScrollTo(member, -1, -1);
      break;
    case kActInventory: UseInventory(member, &endsFrame); break;
    case kActReadyApproach: ReadyVersusApproach(member); break;
    case kActReadySpell: TargetedOrder(member, index, nullptr); break;
    case kActCounterspell: TargetedOrder(member, index, "(Cycle 17)\r"); break;
    case kActViewInitiative: ViewInitiative(); break;
    case kActAttack: Attack(member); break;
    case kActShoot: TargetedOrder(member, index, nullptr); break;
    case kActHideActions:
      SidePanelShown = SidePanelShown == 0 ? 1 : 0;
      DeriveDisplayOptionWords();
      CentreOn(member);
      break;
    case kActHideRolls:
      CombatRollsShown = 0;
      DeriveDisplayOptionWords();
      CentreOn(member);
      break;
    case kActDismissSpell: DismissSpell(member); break;
    case kActTurnUndead:
      TurnUndead(member);
      endsFrame = true;
      break;
    default: break;
  }
  if (endsFrame) EndSprite();
  return endsFrame;
}

bool OpenActionHelpPage(int32_t index) {
  if (index < 0 || index >= kActionCount || ActionHelpCache < 0 || ActionHelpCache >= kHelpPageCount) return false;
  const HelpPage& page = HelpPages[ActionHelpCache];
  if (page.id != static_cast<uint32_t>(ActionHelpPageIds[index])) return false;
  OpenHelpTopicOverGame(page.title, static_cast<int32_t>(page.id));
  EndSprite();
  return true;
}

void OpenHelpTopicOverGame(const char* caption, int32_t pageId) {
  LatchButton(1);
  OpenSinglePage(caption, kPageHelpTopic, pageId);
  ResetHover();
}

void DrawPendingActionPrompt() {
  if (SelectedAction == -1 || IsTargetingMode() || !ActionPanelShown()) return;
  DrawPopupBox(23, 0, 39, 3, 0);
  SidePanelRows = 3;
  const char* title = nullptr;
  switch (SelectedAction) {
    case kActFiveFootStep: title = "Five-foot step"; break;
    case kActCoupDeGrace: title = "Coup de Grace"; break;
    case kActGrapple: title = "Grapple"; break;
    case kActWakeSomeone: title = "Wake Someone Up"; break;
    case kActReadySpell: title = "Ready/Spell"; break;
    case kActCounterspell: title = "Counterspell"; break;
    case kActBullRush: title = "Bull Rush"; break;
    case kActCharge: title = "Charge Attack"; break;
    case kActAttack: title = "Melee Attack"; break;
    case kActShoot: title = "Range Attack"; break;
    default: return;
  }
  // The prompt is the popup of its own box: the mouse on the creature the
  // order is aimed at does not hide its words.
  DrawTextAt(kDefaultColour, 15, 0, title, 6, 24, 1, 1, 0, 1, 0);
  const bool onCancel = MouseOnPanelButton(kButtonCancelAction);
  DrawTextAt(kDefaultColour, 15, 0, "Cancel Action", onCancel ? 2 : 6, 24, 2, 1, 0, 1, 0);
  if (!onCancel || !ButtonPressed(0)) return;
  LatchButton(0);
  const int32_t cancelled = SelectedAction;
  SelectedAction = -1;
  if (cancelled == kActFiveFootStep) FiveFootStepOrderPending = 0;
  if (cancelled == kActCharge || cancelled == kActBullRush) ChargeOrderPending = 0;
}
