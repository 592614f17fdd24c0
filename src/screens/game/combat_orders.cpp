// The map view's mouse on the player's turn in combat: a click on the map
// becomes an order for the fighter whose turn it is (a move along the
// previewed path, a five-foot step, a melee attack, a charge, a move and an
// attack, a shot, a grapple, a bull rush, a coup de grace, waking a sleeper,
// a readied counter against spellcasting), or a refusal with its reason.
#include <cstdio>

#include "combat/actions/action_executor.h"
#include "combat/actions/cursor_checks.h"
#include "combat/actions/roll_previews.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/computer_orders.h"
#include "combat/turns/tactical_predicates.h"
#include "combat/turns/turn_routines.h"
#include "creatures/control_tendencies.h"
#include "engine/frame.h"
#include "engine/game_screen_state.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/charge_lines.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "combat/turns/combat_cycle.h"
#include "rules/conditions.h"
#include "rules/feat_ids.h"
#include "rules/free_deeds.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/spell_preview.h"
#include "combat/turns/spell_targets.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "screens/game/action_menu.h"
#include "screens/game/action_state.h"
#include "screens/game/click_results.h"
#include "screens/game/combat_orders.h"
#include "screens/game/floating_texts.h"
#include "screens/game/game_screen.h"
#include "screens/game/map_input.h"
#include "screens/game/map_input_routines.h"
#include "screens/game/map_mouse_words.h"
#include "screens/game/shared_routines.h"
#include "state/camera.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/fighter_slots.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/threat_grids.h"
#include "state/turn_order.h"

uint32_t MoveAttackPlan = 0;
uint8_t ChargeChosen = 0;
uint32_t AttackKindShown = 0;
uint8_t ShotSwitchShown = 0;

namespace {

constexpr int32_t kCursorPanel = 4, kCursorPage = 8, kCursorTalk = 9, kCursorAttack = 14;
constexpr int32_t kCursorShoot = 15, kCursorReady = 16, kCursorRefused = 18, kCursorCreature = 3;
constexpr int32_t kCursorRangedHold = 2;
constexpr int32_t kResultNotFighting = 13, kResultTooFarShot = 47, kResultNoSightShot = 48;
constexpr int32_t kResultNoAmmunition = 49, kResultReloadFirst = 50, kResultNoRangedWeapon = 61;
constexpr int32_t kResultClickToReload = 74, kResultNeedStandard = 75, kResultOutOfReach = 34;
constexpr int32_t kResultNotHostile = 52;
constexpr int32_t kProvokingMark = 33;
constexpr int32_t kStairsUp = 73, kStairsDown = 74, kCampfire = 90;
constexpr int32_t kHeavyCrossbow = 10, kLightCrossbow = 11, kLongbow = 32, kShortbow = 33;
constexpr int32_t kCodeBullRushImmune = 22;
constexpr int32_t kPlannedCounterspell = 9, kPlannedReadyVersusSpell = 22, kPlannedReadyStepVersusSpell = 23;
constexpr int32_t kReadyEvent = 46, kReadySound = 38;
constexpr uint32_t kChargeSource = 23;
constexpr int32_t kChargeValue = 2;

bool Has(int c, uint32_t id) { return FindCondition(c, id) >= 0; }
void Trace(const char* line) {
  if (DebugMode == 1 && PendingPanelAction == kActFiveFootStep) LogMessage("%s", line);
}

// Nothing the fighter may do to a creature under the cursor: its conditions
// leave it neither a blow, a shot, the click's reload nor an item to use.
bool Disabled(int c) { return (FreeDeeds(c) & (kDeedStrike | kDeedHandle | kDeedUseItem)) == 0; }
bool Helpless(int c) {
  return (Has(c, kCondParalyzed) || Has(c, kCondSleeping)) && GetProtectionValue(c, kCodeNeverHelpless) != 1;
}

// The path to the square under the cursor, worked out once per square and
// state of the turn (the turn: TurnsBegun as it was worked out).
struct PreviewKey {
  int32_t fighter = -1, entry = -1, moves = -1, x = -1, y = -1;
  uint32_t turn = 0;
  bool operator==(const PreviewKey&) const = default;
};
PreviewKey g_previewKey;

void ComputePathPreview(int fighter) {
  const CreatureRecord& c = Creatures[fighter];
  const PreviewKey key{fighter, CurrentTurnIndex, CombatAction.movesLeft, MapCursorX, MapCursorY, TurnsBegun};
  if (PreviewComputed == 1 && key == g_previewKey) return;
  g_previewKey = key;
  const uint8_t cost = OptionWords[kOptionPathfindAvoidsEntangle] == 1 ? 1 : 0;
  const int found =
      FindCreaturePath(fighter, c.squareX, c.squareY, MapCursorX, MapCursorY, cost, cost, 0, 0, nullptr, nullptr);
  PathPreviewValid = found == kPathFound ? 1 : 0;
  PreviewComputed = 1;
}

// Whether a combatant other than the fighter stands on the square.
bool OtherCombatantOn(int fighter, int x, int y) {
  const int c = CreatureAtSquare(x, y, fighter);
  return c != -1;
}

// The chance to hit shown beside the cursor and over the target.
void ShowChance(int target, int32_t chance) {
  CursorChance = chance;
  AttackAimMode = 2;
  if (IsValidCreature(target)) {
    CreatureMarks[target] = 2;
    SpellPreviewValues[target] = chance;
  }
}

// A question asked with the fighter placed on (x, y) for a moment.
template <typename Question>
auto AskFrom(int fighter, int x, int y, Question question) {
  CreatureRecord& c = Creatures[fighter];
  const int keepX = c.squareX, keepY = c.squareY;
  c.squareX = x;
  c.squareY = y;
  const auto answer = question();
  c.squareX = keepX;
  c.squareY = keepY;
  return answer;
}

// The chance of the fighter's attack from another square.
int32_t ChanceFrom(int fighter, int target, int x, int y) {
  return AskFrom(fighter, x, y, [&] { return HitChancePercent(fighter, target); });
}

}  // namespace

// --- Orders ---------------------------------------------------------------------

bool AttackPermitted() {
  const CombatActionState& a = CombatAction;
  return a.standardActionLeft != 0 || a.fullRoundActionLeft != 0 || a.attackSequenceOpen != 0;
}

void IssuePlayerOrder(int32_t code, int target) {
  ActingCreature = CurrentFighter();
  ActionTarget = target;
  g_ProcessingAttackNumber = -1;
  CombatAction.actionCode = code;
  CombatState = kStateActionUnderWay;
}

void StartLeavingReaction(int fighter) {
  const CreatureRecord& c = Creatures[fighter];
  BuildThreatGrid(fighter, 1);
  if (!CurrentMap.Inside(c.squareX, c.squareY)) return;
  if (ArrowGrid[SquareIndex(c.squareX, c.squareY)] % 100 != kProvokingMark) return;
  const int enemy = FindThreateningEnemy(fighter, c.squareX, c.squareY);
  if (enemy == -1) return;
  CombatAction.reactingCreature = enemy;
  ContinueOpportunityChain = 1;
  ReactionPending = 1;
}

namespace {

void ClearPreviewWords(int fighter) {
  CreatureMarks[fighter] = 0;
  PreviewComputed = 0;
  PathPreviewValid = 0;
  MoveAttackPlan = 0;
  ChargeChosen = 0;
  StepPreviewShown = 0;
  PathPreviewShown = 0;
}

// The fighter sets off along its path: its first square next, the index on
// the second, facing it; the view follows and the enemies threatening the
// square it leaves react first.
void SetOff(int fighter, int32_t code, int firstIndex) {
  CreatureRecord& c = Creatures[fighter];
  FighterSlot& s = FighterSlots[GetFighterSlot(fighter)];
  c.nextX = s.pathX[firstIndex];
  c.nextY = s.pathY[firstIndex];
  s.pathIndex = firstIndex + 1;
  SetCreatureFacing(fighter);
  CombatState = kStateActionUnderWay;
  CombatAction.actionCode = code;
  ClearPreviewWords(fighter);
  StrictScrollTo(fighter, -1, -1);
  StartLeavingReaction(fighter);
}

}  // namespace

bool OrderMoveAlongPath(int fighter) {
  const int slot = GetFighterSlot(fighter);
  if (slot < 0 || slot >= kFighterSlots || Creatures[fighter].destinationX == -1) return false;
  ActingCreature = fighter;
  g_ProcessingAttackNumber = -1;
  SetOff(fighter, kActionWalkPath, 0);
  return true;
}

void OrderFiveFootStep(int fighter, int x, int y) {
  CreatureRecord& c = Creatures[fighter];
  c.nextX = x;
  c.nextY = y;
  c.destinationX = c.destinationY = -1;
  CombatAction.fiveFootStepTaken = 1;
  CombatState = kStateActionUnderWay;
  CombatAction.actionCode = kActionFiveFootStep;
  ActingCreature = fighter;
  PendingPanelAction = -1;
  const int slot = GetFighterSlot(fighter);
  if (slot >= 0 && slot < kFighterSlots) FighterSlots[slot].pathIndex = -1;
  SetCreatureFacing(fighter);
  ClearPreviewWords(fighter);
  StrictScrollTo(fighter, -1, -1);
  LogMessage("\xA3%.15s\xA3 takes a five-foot step.\r\r", c.name);
}

void OrderCharge(int fighter, int target) {
  CombatActionState& a = CombatAction;
  a.moveActionLeft = a.standardActionLeft = a.fullRoundActionLeft = 0;
  RemoveCondition(fighter, kCondCharging);
  AddCondition(fighter, kCondCharging, 1000, kChargeValue, kChargeSource, 0);
  ActionTarget = target;
  ActingCreature = fighter;
  g_ProcessingAttackNumber = -1;
  LogMessage("\xA3%.15s\xA3 charges...\r\r", Creatures[fighter].name);
  // The charge line starts on the fighter's own square.
  SetOff(fighter, kActionCharge, 1);
}

namespace {

// Whether the click's attack on an adjacent enemy is a coup de grace: on the
// helpless, armed and not grappling, with the full round left or, outside an
// attack sequence, the standard action.
bool AttackFinishesOff(int fighter, int target) {
  const CombatActionState& a = CombatAction;
  if (Has(fighter, kCondGrappling) || Has(fighter, kCondUnarmed) || !Helpless(target)) return false;
  if (a.fullRoundActionLeft != 0) return true;
  return a.attackSequenceOpen == 0 && a.standardActionLeft != 0;
}

// The fighter's attack on an adjacent enemy: a coup de grace on the
// helpless, a full attack when the round allows, else a single attack.
void OrderAdjacentAttack(int fighter, int target) {
  const CombatActionState& a = CombatAction;
  if (AttackFinishesOff(fighter, target)) {
    ClearActionTarget();
    CoupDeGraceAction = 1;
    IssuePlayerOrder(kActionMeleeAttack, target);
    return;
  }
  if (Has(fighter, kCondGrappling) || a.fullRoundActionLeft != 0 || a.attackSequenceOpen != 0) {
    IssuePlayerOrder(kActionFullAttack, target);
    return;
  }
  if (a.standardActionLeft == 0) return;
  IssuePlayerOrder(kActionMeleeAttack, target);
}

// Whether the fighter would stand beside the target after its path's first
// square (not across a blocked corner).
bool AdjacentAfterFirstStep(int fighter, int target) {
  const int slot = GetFighterSlot(fighter);
  if (slot < 0 || slot >= kFighterSlots) return false;
  const CreatureRecord& c = Creatures[fighter];
  const int x = FighterSlots[slot].pathX[0], y = FighterSlots[slot].pathY[0];
  if (!CurrentMap.Inside(x, y)) return false;
  if (x != c.squareX && y != c.squareY && IsDiagonalStepBlocked(fighter, x, c.squareY, c.squareX, y)) return false;
  return AskFrom(fighter, x, y, [&] { return AreAdjacent(fighter, target); });
}

// What a click on an enemy combatant orders in melee (weapon mode 1, nothing
// pending), with the actions the turn has left: the cursor, the banner and
// the chance show it, and the click gives exactly it.
enum class MeleeOrder {
  kRefused,        // nothing: the reason beside the cursor
  kAttack,         // the enemy is beside the fighter
  kCharge,         // along the charge line
  kStepAndAttack,  // a five-foot step, then the attack
  kMoveAndAttack,  // a move that leaves the standard action, then the attack
  kWalk,           // a walk to its side that uses up the attack: no attack
};
struct MeleePlan {
  MeleeOrder order = MeleeOrder::kRefused;
  int32_t refusal = 0;
};

// An attack the turn cannot make: 75 "You need a Standard Action" when no
// attack is left, else 34 "Too Far Away".
MeleePlan Refused() { return {MeleeOrder::kRefused, AttackPermitted() ? kResultOutOfReach : kResultNeedStandard}; }

// The feet the walk along the fighter's path to its destination pays, square
// by square as the walk pays them.
int32_t WalkFeet(int fighter) {
  const CreatureRecord& c = Creatures[fighter];
  const int slot = GetFighterSlot(fighter);
  if (slot < 0 || slot >= kFighterSlots) return 0;
  const FighterSlot& s = FighterSlots[slot];
  int32_t feet = 0;
  int x = c.squareX, y = c.squareY;
  for (int i = 0; i < kPathLength && !(x == c.destinationX && y == c.destinationY); ++i) {
    if (!CurrentMap.Inside(s.pathX[i], s.pathY[i])) break;
    feet += CalculateMoveCost(fighter, s.pathX[i], s.pathY[i], x, y, 1);
    x = s.pathX[i];
    y = s.pathY[i];
  }
  return feet;
}

// The plan toward an enemy out of reach, the path to its side laid by the
// search when one is found.
MeleePlan PlanApproach(int fighter, int target) {
  ChargeChosen = 0;
  ActionTarget = target;
  const CombatActionState& a = CombatAction;
  const CreatureRecord& c = Creatures[fighter];
  const CreatureRecord& t = Creatures[target];
  const bool stepWouldDo = MayTakeFiveFootStep(fighter) && FindStandableSquare(fighter);
  if (CanCharge(fighter) && !stepWouldDo && CanReachTargetFrom(t.squareX, t.squareY, c.squareX, c.squareY)) {
    ChargeChosen = 1;
    return {MeleeOrder::kCharge, 0};
  }
  const uint8_t cost = OptionWords[kOptionPathfindAvoidsEntangle] == 1 ? 1 : 0;
  const bool attackLeft = a.standardActionLeft != 0;
  // While the step and the attack are both left, a path of one square to the
  // target's side is the five-foot step, which provokes no attack: the search
  // marks it with the step's arrow and leaves no crossed blades on the square
  // it leaves.
  SeekAdjacent = 1;
  CombatAction.fiveFootStep = attackLeft && MayTakeFiveFootStep(fighter) ? 1 : 0;
  const int found = FindCreaturePath(fighter, c.squareX, c.squareY, t.squareX, t.squareY, cost, cost, 0, 0, nullptr,
                                     nullptr);
  CombatAction.fiveFootStep = 0;
  SeekAdjacent = 0;
  if (found != kPathFound) return Refused();
  // A walk keeps the standard action while the moves left after it still
  // make a whole move; a five-foot step costs none.
  if (attackLeft && MayTakeFiveFootStep(fighter) && AdjacentAfterFirstStep(fighter, target))
    return {MeleeOrder::kStepAndAttack, 0};
  const int32_t feet = WalkFeet(fighter);
  if (attackLeft && feet <= a.movesLeft - c.speed.current) return {MeleeOrder::kMoveAndAttack, 0};
  if (feet <= a.movesLeft) return {MeleeOrder::kWalk, 0};
  return Refused();
}

// The plan of the enemy under the cursor, kept (with the path it laid) while
// the square and the turn's state stay, so that the path search runs once.
struct ApproachKey {
  int32_t fighter = -1, target = -1, entry = -1, moves = -1, standard = -1, step = -1;
  uint32_t turn = 0;
  bool operator==(const ApproachKey&) const = default;
};
ApproachKey g_approachKey;
MeleePlan g_approach;

MeleePlan MeleePlanOn(int fighter, int target) {
  if (!MayDo(fighter, kDeedStrike)) return {MeleeOrder::kRefused, kResultNeedStandard};
  if (AreAdjacent(fighter, target)) return AttackPermitted() ? MeleePlan{MeleeOrder::kAttack, 0} : Refused();
  if (CombatAction.movementClosed != 0 || Has(fighter, kCondGrappling)) return Refused();
  const CombatActionState& a = CombatAction;
  const ApproachKey key{fighter, target, CurrentTurnIndex, a.movesLeft, a.standardActionLeft, a.fiveFootStepLeft,
                        TurnsBegun};
  if (MoveAttackPlan == 0 || !(key == g_approachKey)) {
    g_approachKey = key;
    g_approach = PlanApproach(fighter, target);
    const MeleeOrder o = g_approach.order;
    const bool attacks = o == MeleeOrder::kStepAndAttack || o == MeleeOrder::kMoveAndAttack;
    MoveAttackPlan = o == MeleeOrder::kCharge ? 3 : attacks ? 2 : 1;
  }
  return g_approach;
}

// The hover of the plan: the cursor, the attack's kind and its chance.
void ShowMeleePlan(int fighter, int target, const MeleePlan& plan) {
  switch (plan.order) {
    case MeleeOrder::kRefused:
      CursorShape = kCursorRefused;
      ShowClickResultAtMouse(plan.refusal);
      return;
    case MeleeOrder::kWalk:
      CursorShape = kCursorWalk;
      PathPreviewShown = 1;
      PathArrowsShown = 1;
      return;
    case MeleeOrder::kAttack:
      AttackKindShown = Has(fighter, kCondGrappling) ? 4 : 2;
      CursorShape = kCursorAttack;
      // A coup de grace hits without a roll.
      ShowChance(target, AttackFinishesOff(fighter, target) ? kCertainShown : HitChancePercent(fighter, target));
      return;
    default: {
      const bool charge = plan.order == MeleeOrder::kCharge;
      AttackKindShown = charge ? 1 : 2;
      CursorShape = kCursorAttack;
      PathArrowsShown = 1;
      const int x = charge ? ChargeStopX : Creatures[fighter].destinationX;
      const int y = charge ? ChargeStopY : Creatures[fighter].destinationY;
      ShowChance(target,
                 CurrentMap.Inside(x, y) ? ChanceFrom(fighter, target, x, y) : HitChancePercent(fighter, target));
      return;
    }
  }
}

// A melee attack on an enemy combatant (weapon mode 1, nothing pending): the
// hover shows the plan and the click gives it.
void MeleeOnEnemy(int fighter, int target) {
  const MeleePlan plan = MeleePlanOn(fighter, target);
  ShowMeleePlan(fighter, target, plan);
  if (CursorShape == kCursorRefused || !ButtonPressed(0)) return;
  LatchButton(0);
  if (FindTurnOrderIndex(target) == -1) {
    ShowClickResultAtMouse(kResultNotFighting);
    return;
  }
  switch (plan.order) {
    case MeleeOrder::kRefused:
      return;
    case MeleeOrder::kAttack:
      OrderAdjacentAttack(fighter, target);
      return;
    case MeleeOrder::kCharge:
      OrderCharge(fighter, target);
      return;
    case MeleeOrder::kWalk:
      OrderMoveAlongPath(fighter);
      return;
    case MeleeOrder::kStepAndAttack:
    case MeleeOrder::kMoveAndAttack:
      break;
  }
  ActionTarget = target;
  ActingCreature = fighter;
  g_ProcessingAttackNumber = -1;
  if (plan.order == MeleeOrder::kStepAndAttack) {
    LogMessage("\xA3%.15s\xA3 takes a five-foot step.\r\r", Creatures[fighter].name);
    CombatAction.fiveFootStepTaken = 1;
    SetOff(fighter, kActionStepAndAttack, 0);
    return;
  }
  SetOff(fighter, kActionMoveAndAttack, 0);
}

// A shot at an enemy (weapon mode 2, or the readied shot of the action bar).
void ShotAtEnemy(int fighter, int target) {
  const CreatureRecord& c = Creatures[fighter];
  const uint32_t code = c.equipment[kSlotRanged - 1];
  if (!IsCraftedCode(code)) {
    ShowClickResultAtMouse(kResultNoRangedWeapon);
    return;
  }
  if (!HasUsableAmmunition(fighter)) {
    ShowClickResultAtMouse(kResultNoAmmunition);
    return;
  }
  const CraftedWeaponRecord& w = CraftedWeapons[code];
  const bool crossbow = w.itemType == kHeavyCrossbow || w.itemType == kLightCrossbow;
  const bool bow = w.itemType == kLongbow || w.itemType == kShortbow;
  if (crossbow && w.charges == 0) {
    if (!ListHasKind(kActReload)) {
      ShowClickResultAtMouse(kResultReloadFirst);
      return;
    }
    ShowClickResultAtMouse(kResultClickToReload);
    if (ButtonPressed(0) && MayDo(fighter, kDeedHandle)) {
      LatchButton(0);
      ActingCreature = fighter;
      CombatAction.actionCode = kActionReload;
      CombatState = kStatePlayerTurn;
    }
    return;
  }
  if (!bow && !crossbow) {
    ShowClickResultAtMouse(kResultNoRangedWeapon);
    return;
  }
  if (!MayDo(fighter, kDeedStrike) || (CombatAction.standardActionLeft == 0 && PendingPanelAction != kActShoot)) {
    ShowClickResultAtMouse(kResultNeedStandard);
    return;
  }
  if (CreatureDistanceFeet(fighter, target) > w.range) {
    ShowClickResultAtMouse(kResultTooFarShot);
    return;
  }
  const CreatureRecord& t = Creatures[target];
  if (!FindCover(c.squareX, c.squareY, t.squareX, t.squareY, 0)) {
    ShowClickResultAtMouse(kResultNoSightShot);
    return;
  }
  CursorShape = kCursorShoot;
  MoveRangeForced = 1;
  AttackKindShown = 3;
  const bool finishesOff = AreAdjacent(fighter, target) && Helpless(target);
  ShowChance(target, finishesOff ? kCertainShown : HitChancePercent(fighter, target));
  if (!ButtonPressed(0)) return;
  LatchButton(0);
  StrictScrollTo(fighter, -1, -1);
  int32_t order = CombatAction.fullRoundActionLeft != 0 ? kActionFullShots : kActionShot;
  if (PendingPanelAction == kActShoot) order = kActionNextShot;
  if (finishesOff) {
    CoupDeGraceAction = 1;
    order = kActionShot;
  }
  PendingPanelAction = -1;
  IssuePlayerOrder(order, target);
}

// A readied counter against a caster: the turn ends with the fighter ready.
void Ready(int fighter, int target, int32_t planned, const char* format) {
  LogMessage(format, Creatures[fighter].name, Creatures[target].name);
  FaceTowardsCreature(fighter, target);
  if (CurrentTurnIndex >= 0 && CurrentTurnIndex < kTurnOrderEntries) {
    TurnOrderEntry& e = TurnOrder[CurrentTurnIndex];
    e.plannedAction = planned;
    e.plannedTarget = target;
  }
  ShowFloatingText(planned == kPlannedCounterspell ? "Ready to Counterspell" : "Ready vs Spellcasting", fighter);
  ScreenMode = kModeExploring;
  SetFirstCombatEvent(kReadyEvent, 0, kReadySound);
  PlaybackCreature = fighter;
  PlaybackFramesLeft = FramesPerEvent;
  ScrollTo(fighter, -1, -1);
  PendingPanelAction = -1;
  CombatAction.actionCode = kActionEnd;
  QueuedActionCode = -1;
  QueuedScreenMode = -1;
  QueuedCombatState = kStateNextFighter;
}

bool ClickTaken() {
  if (!ButtonPressed(0)) return false;
  LatchButton(0);
  return true;
}

// The action chosen on the action bar, aimed at the hovered creature. True
// when it handled the hover.
bool PendingOnCreature(int fighter, int target) {
  const int32_t pending = PendingPanelAction;
  if (pending == -1) return false;
  const bool enemy = IsEnemyForCursor(target) && target != fighter;
  const bool adjacent = AreAdjacent(fighter, target);
  CursorShape = kCursorRefused;
  switch (pending) {
    case kActWakeSomeone:
      if (!adjacent || AreEnemies(fighter, target) || !Has(target, kCondSleeping)) return true;
      CursorShape = kCursorTalk;
      if (ClickTaken()) {
        PendingPanelAction = -1;
        IssuePlayerOrder(kActionWake, target);
      }
      return true;
    case kActGrapple:
      if (!adjacent || !enemy || GetProtectionValue(target, kCodeCannotBeGrappled) == 1 || Has(target, kCondDancing) ||
          Has(target, kCondGrappling))
        return true;
      CursorShape = kCursorAttack;
      ShowChance(target, TouchAttackRoll(fighter, target, 0, 0) * HitChancePercent(fighter, target) / 100);
      if (ClickTaken()) {
        SettleMoveAfterAction();
        PendingPanelAction = -1;
        IssuePlayerOrder(kActionGrapple, target);
      }
      return true;
    case kActReadySpell:
      if (!enemy || !CanStillCastSpells(target) || !HasLineOfEffectFrom(Creatures[fighter].squareX,
                                                                         Creatures[fighter].squareY,
                                                                         Creatures[target].squareX,
                                                                         Creatures[target].squareY, fighter))
        return true;
      CursorShape = kCursorReady;
      if (ClickTaken())
        Ready(fighter, target, CombatAction.fiveFootStepLeft == 1 ? kPlannedReadyStepVersusSpell : kPlannedReadyVersusSpell,
              "\xA3%s\xA3 : @READY_VS_SPELLCASTING@ from \xA3%s\xA3.\r\r");
      return true;
    case kActCounterspell: {
      const int32_t cls = Creatures[target].creatureClass;
      const bool caster = cls == 3 || cls == 4 || cls == 5;
      const bool kinship = Creatures[fighter].feats[kFeatImprovedCounterspell] != 0 || SameKind3Status(fighter, target);
      if (!enemy || !caster || !HighestUsableSpellLevel(-1, target) || !kinship ||
          !HasLineOfEffectFrom(Creatures[fighter].squareX, Creatures[fighter].squareY, Creatures[target].squareX,
                               Creatures[target].squareY, fighter))
        return true;
      CursorShape = kCursorReady;
      if (ClickTaken()) Ready(fighter, target, kPlannedCounterspell, "\xA3%s\xA3 is @READY_TO_COUNTERSPELL@ \xA3%s\xA3.\r\r");
      return true;
    }
    case kActBullRush: {
      const CreatureRecord& f = Creatures[fighter];
      const CreatureRecord& t = Creatures[target];
      if (!enemy || t.size.current > f.size.current + 1 || GetProtectionValue(target, kCodeBullRushImmune) == 1)
        return true;
      const int32_t facing = f.facing;
      const bool room = IsFacingSquareFree(fighter, target);
      Creatures[fighter].facing = facing;
      if (!room) return true;
      CursorShape = kCursorAttack;
      ShowChance(target, StrengthCheck(fighter, target));
      if (ClickTaken()) {
        PendingPanelAction = -1;
        IssuePlayerOrder(kActionBullRush, target);
      }
      return true;
    }
    case kActCoupDeGrace: {
      if (CycleWeaponModeInPending(target)) return true;
      bool able = adjacent && enemy && Helpless(target);
      if (WeaponMode == 2) able = able && (HasUsableAmmunition(fighter) || !NeedsCrossbowReload(fighter));
      if (!able) return true;
      CursorShape = kCursorAttack;
      if (ClickTaken()) {
        PendingPanelAction = -1;
        ClearActionTarget();
        CoupDeGraceAction = 1;
        IssuePlayerOrder(WeaponMode == 2 ? kActionShot : kActionMeleeAttack, target);
      }
      return true;
    }
    case kActCharge: {
      const CreatureRecord& t = Creatures[target];
      const CreatureRecord& f = Creatures[fighter];
      if (!enemy || !CanReachTargetFrom(t.squareX, t.squareY, f.squareX, f.squareY)) return true;
      CursorShape = kCursorAttack;
      PathArrowsShown = 1;
      ShowChance(target, ChanceFrom(fighter, target, ChargeStopX, ChargeStopY));
      if (ClickTaken()) {
        PendingPanelAction = -1;
        OrderCharge(fighter, target);
      }
      return true;
    }
    case kActAttack:
      if (!enemy) return true;
      if (!adjacent) {
        CursorShape = kCursorCreature;
        return true;
      }
      CursorShape = kCursorAttack;
      ShowChance(target, HitChancePercent(fighter, target));
      if (ClickTaken()) {
        PendingPanelAction = -1;
        IssuePlayerOrder(kActionNextAttack, target);
      }
      return true;
    case kActShoot:
      // Only a hostile creature is shot at; any other (a talker standing by,
      // an ally) is refused with the reason.
      if (enemy)
        ShotAtEnemy(fighter, target);
      else
        ShowClickResultAtMouse(kResultNotHostile);
      return true;
    default:
      return true;
  }
}

}  // namespace

void ForgetOrderPlans() {
  g_previewKey = PreviewKey{};
  g_approachKey = ApproachKey{};
  g_approach = MeleePlan{};
}

bool CycleWeaponModeInPending(int target) {
  if (!ButtonPressed(1)) return false;
  LatchButton(1);
  WeaponMode = WeaponMode == 1 ? 2 : 1;
  (void)target;
  return true;
}

void CombatHoverMouse() {
  const int fighter = CurrentFighter();
  HoveredSlot = FighterUnderMouse();
  if (!IsValidCreature(fighter) || HoveredSlot < 0 || HoveredSlot >= kFighterSlots ||
      !IsValidCreature(FighterSlots[HoveredSlot].creature)) {
    ScreenMode = kModeExploring;
    HoveredSlot = -1;
    ResetHoverState();
    return;
  }
  const int target = FighterSlots[HoveredSlot].creature;
  const bool enemy = IsEnemyForCursor(target) && target != fighter;
  const bool ranked = FindTurnOrderIndex(target) != -1;
  if (PendingPanelAction != kActCoupDeGrace && target >= 4 && enemy && ranked && CycleWeaponMode(target)) {
    PreviewComputed = 0;
    MoveAttackPlan = 0;
  }
  if (Disabled(fighter)) {
    CursorShape = enemy ? (WeaponMode == 2 ? kCursorRangedHold : kCursorCreature) : kCursorPage;
  } else if (!ranked) {
    CursorShape = kCursorPage;
  } else if (PendingOnCreature(fighter, target)) {
    // The pending action took the hover.
  } else if (enemy && WeaponMode == 1) {
    MeleeOnEnemy(fighter, target);
    // The right button leads to a shot only while the turn still holds one
    // (a reload alone, on the move action left, shoots nothing).
    const bool shotLeft = CombatAction.standardActionLeft != 0 || CombatAction.shootingSequenceOpen != 0;
    ShotSwitchShown =
        !AreAdjacent(fighter, target) && shotLeft && (ListHasKind(kActShoot) || ListHasKind(kActReload)) ? 1 : 0;
  } else if (enemy && WeaponMode == 2) {
    if (!Has(fighter, kCondGrappling)) ShotAtEnemy(fighter, target);
  } else {
    CursorShape = kCursorPage;
  }
  if (CursorShape == kCursorPage && ButtonPressed(0)) {
    LatchButton(0);
    OpenCharacterPageOf(target);
  }
}

void CombatMouse() {
  const int fighter = CurrentFighter();
  if (!IsValidCreature(fighter)) return;
  HoverMarksHidden = 0;
  MoveRangeAllowed = 1;
  if (MouseOnGamePanels()) {
    CursorShape = PendingPanelAction == -1 && HitTestPanelRows(fighter) ? kCursorRefused : kCursorPanel;
    SquareChanged = 1;
    HoverMarksHidden = 1;
    MoveRangeAllowed = 0;
    return;
  }
  EdgeScroll();
  const int x = MapCursorX, y = MapCursorY;
  const int sq = SquareIndex(x, y);
  const int32_t wall = CurrentMap.At(kLayerWalls, x, y);
  // A creature whose figure lies under the mouse takes the hover on an open
  // square under the cursor outside a solid magic area.
  const int slot = FighterUnderMouse();
  const int c = slot == -1 ? -1 : FighterSlots[slot].creature;
  if (wall == 0 && MagicAreaGrid[sq].kind != kEffectSolid && IsValidCreature(c) && ClickResult.code == -1 &&
      ViewScrolling == 0 && SceneFlagsClear()) {
    const bool ranked = FindTurnOrderIndex(c) != -1;
    if (!ranked && !SquareExplored(x, y)) {
      CursorShape = kCursorRefused;
      return;
    }
    if (PendingPanelAction == kActFiveFootStep) {
      CursorShape = kCursorRefused;
      Trace("Forbid - 3 \r");
      return;
    }
    if (Creatures[c].special[kSenseKindWord] != 4 || ranked) {
      HoveredSlot = slot;
      ScreenMode = kModeCreatureHovered;
      RecomputeCreature(c, 0);
      if (c >= 4 && ranked && WeaponMode == 2)
        CursorShape = kCursorShoot;
      else if (!(c >= 4 && ranked && WeaponMode == 1))
        CursorShape = kCursorPage;
      return;
    }
  }
  if (!SquareExplored(x, y)) {
    CursorShape = kCursorRefused;
    Trace("Forbid - 2 \r");
    return;
  }
  if (CurrentMap.At(kLayerObjects0, x, y) > 0) {
    CursorShape = kCursorRefused;
    Trace("Forbid - 4 \r");
  }
  if (wall == kStairsUp || wall == kStairsDown || wall == kCampfire) {
    CursorShape = kCursorRefused;
    Trace(wall == kCampfire ? "Forbid - 6 \r" : "Forbid - 5 \r");
    return;
  }
  if (PendingPanelAction == kActFiveFootStep) {
    const int32_t mark = ArrowGrid[sq];
    if (mark < 25 || mark > 32) {
      CursorShape = kCursorRefused;
      PreviewComputed = 0;
      Trace("Forbid - 7 \r");
      return;
    }
    CursorShape = kCursorWalk;
    if (ClickTaken()) OrderFiveFootStep(fighter, x, y);
    return;
  }
  const bool doorBySquare = DoorHoverBySquare == 1 && wall >= 82 && wall <= 85;
  const bool open = BlockedGrid[sq] == kSquareFlooded && !(wall >= 46 && wall <= 55);
  CursorShape = kCursorRefused;
  if (!doorBySquare && open && !OtherCombatantOn(fighter, x, y) && !HasDisablingCondition(fighter) &&
      CombatAction.movementClosed == 0) {
    ComputePathPreview(fighter);
    if (PathPreviewValid == 1) {
      CursorShape = kCursorWalk;
      PathPreviewShown = 1;
      PathArrowsShown = 1;
    }
  }
  if (CombatAction.fiveFootStepTaken == 1 && StepPreviewShown == 0) CursorShape = kCursorRefused;
  if (CursorShape != kCursorWalk || !ButtonPressed(0)) return;
  LatchButton(0);
  if (CombatState != kStatePlayerTurn || CombatAction.actionCode != 0 || Creatures[fighter].destinationX == -1 ||
      PathPreviewValid != 1 || PreviewComputed != 1)
    return;
  OrderMoveAlongPath(fighter);
}
