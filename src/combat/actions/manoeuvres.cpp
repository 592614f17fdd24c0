#include "combat/actions/manoeuvres.h"

#include <cstdio>

#include "combat/actions/action_executor.h"
#include "combat/actions/reactions.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/page_history.h"
#include "map/map_record.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/feat_ids.h"
#include "rules/free_deeds.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/queued_actions.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kEventPrelude = 64;
constexpr int32_t kEventWakeUp = 63;
constexpr uint32_t kSourcePlayer = 23;
constexpr uint32_t kSourceComputer = 31;
constexpr int32_t kLasting = 1000;
constexpr int32_t kAlarmSound = 26;
constexpr int kLightCrossbow = 11;
constexpr int kHeavyCrossbow = 10;
constexpr int32_t kDanceTurns = 4;
constexpr int kPageInventory = 2;

int32_t& Phase() { return g_ProcessingAttackNumber; }
const char* Name(int c) { return Creatures[c].name; }

// The quick actions act in state 1; while enemies react they switch to 3.
bool LetEnemiesReact() {
  if (!NextOpportunityAttacker()) return false;
  ScreenMode = kModeExploring;
  CombatState = kStateActionUnderWay;
  return true;
}

// A deed of the fighter's own that its conditions forbid (a paralysed
// fighter's reload, wand or waking touch) is refused as it would begin,
// before any enemy reacts, and again once the enemies have reacted (their
// attacks may have paralysed it): nothing is done and nothing spent.
bool RefusedByConditions(int fighter, uint32_t deed) {
  if (MayDo(fighter, deed)) return false;
  Phase() = -1;
  HandBackRefusedOrder();
  return true;
}

// The turn passes back to the fighter after a quick action's events.
void QueueTurnBack() {
  CombatState = kStateActionUnderWay;
  QueuedCombatState = CombatAction.playerControlled == 1 ? kStatePlayerTurn : kStateComputerDecision;
}

// The neighbouring square in a direction 1 (up) clockwise to 8 (up-left).
void FaceDirection(int creature, int direction) {
  static const int kDx[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
  static const int kDy[9] = {0, -1, -1, 0, 1, 1, 1, 0, -1};
  if (direction < 1 || direction > 8) return;
  const CreatureRecord& c = Creatures[creature];
  FaceTowardsSquare(creature, c.squareX + kDx[direction], c.squareY + kDy[direction]);
}

// A random turn of the dancer with its prelude.
void DanceTurn(int dancer) {
  ModifierList* kept = DiceRollList;
  DiceRollList = nullptr;
  FaceDirection(dancer, RollDice(8, 1, 0, 0));
  DiceRollList = kept;
  ActingCreature = dancer;
  ActionTarget = dancer;
  QueuePrelude();
}

void WakeStep() {
  const int waker = CurrentFighter();
  if (IsValidCreature(waker) && Phase() == -1 && ReactionPending == 0 && RefusedByConditions(waker, kDeedUseItem))
    return;
  // The sleeper is read once the reactions have given the target word back.
  if (IsValidCreature(waker) && Phase() == -1 && NextOpportunityAttacker()) return;
  if (IsValidCreature(waker) && Phase() == -1 && RefusedByConditions(waker, kDeedUseItem)) return;
  const int sleeper = ActionTarget;
  if (!IsValidCreature(waker) || !IsValidCreature(sleeper)) {
    Phase() = -1;
    HandTurnBack();
    return;
  }
  if (Phase() == -1) {
    ActingCreature = waker;
    ActionTarget = sleeper;
    CombatAction.reactingCreature = kReactorPlayback;
    FaceTowardsCreature(waker, sleeper);
    RemoveCondition(sleeper, kCondSleeping);
    ClearCombatEvents();
    CombatEvents[0].type = kEventWakeUp;
    CombatEvents[0].creature = sleeper;
    EventIsPrelude = 1;
    Phase() = 0;
    return;
  }
  Phase() = -1;
  CombatAction.selectedAction = -1;
  LogMessage("\xA3%s\xA3 shakes \xA3%s\xA3 away from sleep.\r\r", Name(waker), Name(sleeper));
  SettleMoveAfterAction();
  RecomputeCreature(sleeper, 0);
  HandTurnBack();
}

void DanceStep() {
  const int dancer = CurrentFighter();
  if (!IsValidCreature(dancer)) {
    Phase() = -1;
    HandTurnBack();
    return;
  }
  if (Phase() == -1) {
    ActingCreature = dancer;
    if (NextOpportunityAttacker()) return;
    LogMessage("\xA3%s\xA3 performs a quick @DANCE@.\r", Name(dancer));
    DanceTurn(dancer);
    Phase() = 0;
    return;
  }
  if (Phase() < kDanceTurns) {
    ++Phase();
    DanceTurn(dancer);
    return;
  }
  CombatState = kStateNextFighter;
  Phase() = -1;
  CombatAction.actionCode = kActionNone;
  ActionBarMode = 1;
}

void AlarmStep() {
  const int sounder = CurrentFighter();
  if (!IsValidCreature(sounder)) {
    HandTurnBack();
    return;
  }
  if (ReactionPending == 0 && RefusedByConditions(sounder, kDeedUseItem)) return;
  if (LetEnemiesReact()) return;
  if (RefusedByConditions(sounder, kDeedUseItem)) return;
  Creatures[sounder].behaviour[kBehaviourAlarm] = 0;
  CurrentMap.alarm = 1;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int f = FighterSlots[s].creature;
    if (!IsValidCreature(f) || Creatures[f].allegiance != kAllegianceEnemy) continue;
    bool inOrder = false;
    for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries && !inOrder; ++i) inOrder = TurnOrder[i].creature == f;
    if (inOrder) continue;
    RemoveCondition(f, kCondSleeping);
    if (Creatures[f].sight == 0) Creatures[f].sight = 30;
    RemoveCondition(f, kCondDistracted);
    RemoveCondition(f, kCondAlarmed);
    AddCondition(f, kCondAlarmed, kLasting, 0, kSourceComputer, 0);
  }
  LogMessage("\xA3%s\xA3 blows into a whistle, warning everyone in this level about the presence of intruders.\r\r",
             Name(sounder));
  ShowFloatingText(sounder, "Sounds the Alarm");
  ScreenMode = kModeExploring;
  ShowActionEvent(kEventCondition, kAlarmSound, sounder);
  EndActionWith(kActionAlarm);
  CombatState = kStateActionUnderWay;
  QueuedCombatState = kStateComputerDecision;
  QueuedActionCode = 0;
  ActionBarMode = 1;
}

void ReloadStep() {
  const int shooter = CurrentFighter();
  const uint32_t bow = IsValidCreature(shooter) ? Creatures[shooter].equipment[kSlotRanged - 1] : 0;
  const int32_t kind = IsCraftedCode(bow) ? CraftedWeapons[bow].itemType : 0;
  if (kind != kLightCrossbow && kind != kHeavyCrossbow) {
    HandTurnBack();
    return;
  }
  if (ReactionPending == 0 && RefusedByConditions(shooter, kDeedHandle)) return;
  const CreatureRecord& c = Creatures[shooter];
  const bool light = kind == kLightCrossbow;
  const bool rapid = c.feats[light ? kFeatRapidReloadLight : kFeatRapidReloadHeavy] != 0;
  if ((!light || !rapid) && LetEnemiesReact()) return;
  if (RefusedByConditions(shooter, kDeedHandle)) return;
  CraftedWeapons[bow].charges = 1;
  LogMessage("\xA3%s\xA3 reloads %s crossbow.\r", Name(shooter), light ? "light" : "heavy");
  if (light != rapid) SettleMoveAfterActionAlt();
  else if (!light) ClearActionTarget();
  ShowFloatingText(shooter, "Reloads");
  ShowActionEvent(kEventFreed, 0, shooter);
  EndActionWith(kActionReload);
  QueuedActionCode = 0;
  QueueTurnBack();
}

void InventoryStep() {
  const int owner = CurrentFighter();
  if (!IsValidCreature(owner)) {
    HandTurnBack();
    return;
  }
  if (ReactionPending == 0 && RefusedByConditions(owner, kDeedHandle)) return;
  if (LetEnemiesReact()) return;
  if (RefusedByConditions(owner, kDeedHandle)) return;
  PageFrame& page = PageHistory[0];
  std::snprintf(page.caption, sizeof page.caption, "Inventory (%s)", Name(owner));
  page.type = kPageInventory;
  page.parameter = owner;
  PageDepth = 0;
  PageHighestDepth = 0;
  SavedScreenMode = ScreenMode;
  ScreenMode = kModePageView;
  CombatAction.actionCode = kActionNone;
  SetReadyMode();
}

}  // namespace

uint32_t ActorSource() { return CombatAction.playerControlled == 1 ? kSourcePlayer : kSourceComputer; }

void QueuePrelude() {
  ClearCombatEvents();
  CombatEvents[0].type = kEventPrelude;
  CombatEvents[0].creature = ActionTarget;
  EventIsPrelude = 1;
  CombatAction.reactingCreature = kReactorPlayback;
}

void ShowActionEvent(int32_t type, int32_t sound, int creature) {
  ClearCombatEvents();
  CombatEvents[0].type = type;
  CombatEvents[0].creature = creature;
  CombatEvents[0].sound = sound;
  StartEventPlayback(creature);
}

void EndActionWith(int32_t code) {
  CombatAction.endedActionCode = code;
  CombatAction.actionCode = kActionEnd;
  // With nothing queued the end of the action would leave the turn in state
  // 3 with no action: the fighter gets the turn back, as after a failure.
  if (QueuedCombatState == -1)
    QueuedCombatState = CombatAction.playerControlled == 1 ? kStatePlayerTurn : kStateComputerDecision;
}

void SpecialActionStep(int32_t code) {
  // The fighter's own actions (escape, inventory, waking, the dance,
  // reloading, the alarm) start with the fighter as the acting creature, so
  // that the enemies next to it, and not next to whoever acted last, react.
  const bool ownAction = code == kActionEscape || code == kActionInventory || code == kActionWake ||
                         code == kActionDance || code == kActionReload || code == kActionAlarm;
  if (ownAction && Phase() == -1 && ReactionPending == 0 && IsValidCreature(CurrentFighter()))
    ActingCreature = CurrentFighter();
  switch (code) {
    case kActionGrapple: GrappleStep(); return;
    case kActionPin: PinStep(); return;
    case kActionBullRush: BullRushStep(); return;
    case kActionEscape: EscapeStep(); return;
    case kActionWake: WakeStep(); return;
    case kActionDance: DanceStep(); return;
    case kActionAlarm: AlarmStep(); return;
    case kActionReload: ReloadStep(); return;
    case kActionInventory: InventoryStep(); return;
    default: return;
  }
}
