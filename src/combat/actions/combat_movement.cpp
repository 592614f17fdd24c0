#include "combat/actions/combat_movement.h"

#include "combat/actions/action_executor.h"
#include "combat/actions/combat_sounds.h"
#include "combat/actions/displacement.h"
#include "combat/actions/walking.h"
#include "combat/resolution/end_of_action.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/computer_decision.h"
#include "engine/frame.h"
#include "engine/game_speeds.h"
#include "engine/message_log.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/square_entry.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/free_deeds.h"
#include "rules/positions.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/fighter_slots.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/threat_grids.h"
#include "state/turn_order.h"

uint8_t SquareEffectPlayback = 0;
void (*SquarePaidObserver)(int mover, int32_t code, int fromX, int fromY) = nullptr;

namespace {

constexpr int32_t kReadiedVersusApproach = 21;
constexpr int32_t kProvokingMark = 33;
constexpr int32_t kSenseCodePounce = 3;
constexpr int kCombatWalkFrames = 10;

CombatActionState& A() { return CombatAction; }
bool Has(int c, uint32_t id) { return FindCondition(c, id) >= 0; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

bool IsFiveFootStep(int32_t code) { return code == kActionFiveFootStep || code == kActionStepAndAttack; }

// The target the order named: the attack's target word, or the fighter's
// planned target.
int TurnTarget(int mover) {
  if (IsValidCreature(ActionTarget) && ActionTarget != mover) return ActionTarget;
  const int entry = CurrentTurnIndex;
  if (entry < 0 || entry >= TurnEntryCount || entry >= kTurnOrderEntries) return -1;
  const int planned = TurnOrder[entry].plannedTarget;
  return IsValidCreature(planned) && planned != mover ? planned : -1;
}

void EndMove(int mover) {
  ReactionPending = 0;
  SquareEffectPlayback = 0;
  EndCombatAction(mover);
}

void ClearPath(int mover, int slot) {
  FighterSlots[slot].pathIndex = -1;
  Creatures[mover].destinationX = Creatures[mover].destinationY = -1;
}

void ClearAreaUnder(int mover) {
  const CreatureRecord& c = Creatures[mover];
  MarkTargetArea(mover, c.footprintWidth.current, c.footprintHeight.current);
  DisplaceFromArea(mover);
}

// The attack that follows a move: the attack code with state 3.
void AttackOnArrival(int mover, int target, int32_t code) {
  ActingCreature = mover;
  ActionTarget = target;
  ReactionPending = 0;
  g_ProcessingAttackNumber = -1;
  A().actionCode = code;
  CombatState = kStateActionUnderWay;
}

// Arrival after a charge: a pouncing creature makes a full attack, any
// other a single attack.
void ChargeArrival(int mover, int slot, int target) {
  ClearAreaUnder(mover);
  const bool pounce = Creatures[mover].special[kSenseKindWord] == kSenseCodePounce;
  if (pounce)
    LogMessage("\xA3%s\xA3 @POUNCES@ on \xA3%s\xA3.\r", Creatures[mover].name, Creatures[target].name);
  ClearPath(mover, slot);
  AttackOnArrival(mover, target, pounce ? kActionFullAttack : kActionMeleeAttack);
}

// The arrival of a move after a five-foot step followed by an attack: a coup
// de grace on a helpless target, a full attack when the round allows it,
// else a single attack.
void StepAndAttackArrival(int mover, int target) {
  CombatActionState& a = A();
  ClearAreaUnder(mover);
  const bool helpless = IsValidCreature(target) && (Has(target, kCondParalyzed) || Has(target, kCondSleeping)) &&
                        GetProtectionValue(target, kCodeNeverHelpless) != 1;
  int32_t code;
  if (a.fullRoundActionLeft == 1 && !Has(mover, kCondUnarmed) && helpless) {
    ClearActionTarget();
    CoupDeGraceAction = 1;
    code = kActionMeleeAttack;
  } else if (a.fullRoundActionLeft == 1 || a.attackSequenceOpen == 1) {
    a.movementClosed = 1;
    code = kActionFullAttack;
  } else {
    ClearActionTarget();
    code = kActionMeleeAttack;
  }
  AttackOnArrival(mover, target, code);
}

// At the destination: the order's end by its code.
void ArriveAtDestination(int mover, int slot, int32_t code) {
  ClearPath(mover, slot);
  const int target = TurnTarget(mover);
  switch (code) {
    case kActionMoveAndAttack:
      ClearAreaUnder(mover);
      if (A().standardActionLeft == 1 && target != -1) {
        AttackOnArrival(mover, target, kActionMeleeAttack);
      } else {
        ReactionPending = 0;
        A().actionCode = kActionNone;
        ActionBarMode = 1;
        CombatState = kStateNextFighter;
      }
      return;
    case kActionCharge:
      if (target != -1) {
        ChargeArrival(mover, slot, target);
        return;
      }
      EndMove(mover);
      return;
    case kActionStepAndAttack:
      if (target != -1) {
        StepAndAttackArrival(mover, target);
        return;
      }
      EndMove(mover);
      return;
    default:
      EndMove(mover);
      return;
  }
}

// Pays for the square just entered and closes what a move closes.
void PayForSquare(int mover, int32_t code, int leftX, int leftY) {
  CombatActionState& a = A();
  const CreatureRecord& c = Creatures[mover];
  if (SquarePaidObserver != nullptr) SquarePaidObserver(mover, code, leftX, leftY);
  if (!IsFiveFootStep(code)) {
    a.attackSequenceOpen = 0;
    a.shootingSequenceOpen = 0;
    a.movesLeft -= CalculateMoveCost(mover, c.squareX, c.squareY, leftX, leftY, 1);
  }
  a.fiveFootStepLeft = 0;
  if (IsFiveFootStep(code)) {
    a.movementClosed = 1;
    a.fiveFootStepTaken = 1;
  } else {
    a.fullRoundActionLeft = 0;
  }
  if (a.movesLeft < c.speed.current) {
    a.standardActionLeft = 0;
    a.moveActionLeft = 0;
  }
}

// Leaving the square: enough movement for the next step, the enemies that
// threaten the square (one at a time), a caster's fire spell first, then the
// next square of the path.
void GoOn(int mover, int slot) {
  CombatActionState& a = A();
  CreatureRecord& c = Creatures[mover];
  FighterSlot& s = FighterSlots[slot];
  const int index = s.pathIndex;
  const bool hasNext = index >= 0 && index < kPathLength && OnGrid(s.pathX[index], s.pathY[index]);
  if (!hasNext || a.movesLeft < 5 || a.movesLeft < MoveCostToNextSquare(mover, s.pathX[index], s.pathY[index])) {
    ClearPath(mover, slot);
    EndMove(mover);
    return;
  }
  if (OnGrid(c.squareX, c.squareY) && ArrowGrid[SquareIndex(c.squareX, c.squareY)] % 100 == kProvokingMark) {
    const int enemy = FindThreateningEnemy(mover, c.squareX, c.squareY);
    if (enemy != -1) {
      a.reactingCreature = enemy;
      ContinueOpportunityChain = 1;
      ReactionPending = 1;
      return;
    }
    if (c.present != 1) {
      if (DebugMode == 1) LogMessage("(Move Canceled)");
      g_ProcessingAttackNumber = -1;
      a.actionCode = kActionNone;
      ActionBarMode = 1;
      CombatState = kStateNextFighter;
      ReactionPending = 0;
      return;
    }
    if (HasDisablingCondition(mover)) {
      EndMove(mover);
      return;
    }
  }
  ReactionPending = 0;
  if (a.playerControlled == 0 && CheckMagicFireCasting(mover, s.pathX[index], s.pathY[index]) == 1) return;
  c.nextX = s.pathX[index];
  c.nextY = s.pathY[index];
  ++s.pathIndex;
  SetCreatureFacing(mover);
}

// What follows the effects of the square just entered.
void AfterSquareEffects(int mover, int slot, int32_t code) {
  CombatActionState& a = A();
  const int readied = ReadiedEnemyNextTo(mover);
  if (readied != -1) {
    a.reactingCreature = readied;
    ReactionPending = 1;
    return;
  }
  // A square whose effect left the mover unable to move on (paralysed by the
  // Dexterity an entangling hold takes) ends the move there, charge or not.
  if (!MayDo(mover, kDeedMove)) {
    StopAfterSquareEffect = 0;
    EndMove(mover);
    return;
  }
  const int target = TurnTarget(mover);
  if (code == kActionCharge && target != -1 && AreAdjacent(mover, target)) {
    ChargeArrival(mover, slot, target);
    return;
  }
  if (StopAfterSquareEffect == 1) {
    StopAfterSquareEffect = 0;
    EndMove(mover);
    return;
  }
  const CreatureRecord& c = Creatures[mover];
  if (c.destinationX == c.squareX && c.destinationY == c.squareY) {
    ArriveAtDestination(mover, slot, code);
    return;
  }
  // A move with no destination or no path left ends here (a five-foot step
  // always does).
  if (c.destinationX == -1 || FighterSlots[slot].pathIndex < 0) {
    EndMove(mover);
    return;
  }
  GoOn(mover, slot);
}

}  // namespace

int ReadiedEnemyNextTo(int mover) {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const TurnOrderEntry& e = TurnOrder[i];
    const int o = e.creature;
    if (!IsValidCreature(o) || o == mover || e.plannedAction != kReadiedVersusApproach) continue;
    if (!AreEnemies(mover, o) || Creatures[o].present != 1 || !AreAdjacent(mover, o)) continue;
    if (!MayDo(o, kDeedStrike) || FindAnyCondition(o, kCondConfused, kCondInsane, kCondGrappling) >= 0) continue;
    return o;
  }
  return -1;
}

int MoveCostToNextSquare(int creature, int x, int y) {
  if (!IsValidCreature(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  return CalculateMoveCost(creature, x, y, c.squareX, c.squareY, 1);
}

void StepFigureInFacing(int creature, int pixels) {
  static const int kDx[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
  static const int kDy[9] = {0, -1, -1, 0, 1, 1, 1, 0, -1};
  CreatureRecord& c = Creatures[creature];
  const int f = c.facing >= 1 && c.facing <= 8 ? c.facing : 0;
  c.pixelX += kDx[f] * pixels;
  c.pixelY += kDy[f] * pixels;
}

void AnimateWalk(int slot, int frames) {
  FighterSlot& s = FighterSlots[slot];
  if (++s.walkStep % frames != 0) return;
  const int creature = s.creature;
  if (!IsValidCreature(creature)) return;
  int32_t& frame = Creatures[creature].displayWords[kDisplayAnimationFrame];
  frame = (frame + 1) % 4;
}

void CombatMovementStep() {
  CombatActionState& a = A();
  const int32_t code = a.actionCode;
  const int mover = CurrentFighter();
  const int slot = GetFighterSlot(mover);
  if (!IsValidCreature(mover) || slot < 0 || slot >= kFighterSlots) {
    a.actionCode = kActionNone;
    CombatState = kStateNextFighter;
    return;
  }
  // After a reaction on the way the mover acts again, against its order's target.
  if (ActingCreature != mover && ActionTarget == mover) {
    ActingCreature = mover;
    ActionTarget = SavedTarget;
  }
  if (SquareEffectPlayback == 1) {
    if (EnterSquareHazards(mover) != 0) return;
    SquareEffectPlayback = 0;
    if (a.actionCode != code || CombatState != kStateActionUnderWay) return;
    AfterSquareEffects(mover, slot, code);
    return;
  }

  // Walking toward the next square.
  AnimateWalk(slot, kCombatWalkFrames);
  if (!SnapToTargetSquare(slot)) {
    PlayPositionalSound(slot);
    StepFigureInFacing(mover, WalkStepSmall);
    if (!SnapToTargetSquare(slot)) return;
  }

  // On the square.
  CreatureRecord& c = Creatures[mover];
  MovedThisFrame[slot] = 1;
  const int leftX = c.squareX, leftY = c.squareY;
  c.squareX = c.nextX;
  c.squareY = c.nextY;
  // Resuming on the square it already stood on, after a reaction: neither
  // paid for again nor are its effects applied again.
  const bool resuming = c.squareX == leftX && c.squareY == leftY;
  if (ReactionPending == 1 && resuming) {
    AfterSquareEffects(mover, slot, code);
    return;
  }
  ReactionPending = 0;
  PayForSquare(mover, code, leftX, leftY);
  HazardStep = 0;
  HazardEventPending = 0;
  StopAfterSquareEffect = 0;
  ClearCombatEvents();
  SquareEffectPlayback = 1;
  if (EnterSquareHazards(mover) != 0) return;
  SquareEffectPlayback = 0;
  if (a.actionCode != code || CombatState != kStateActionUnderWay) return;
  AfterSquareEffects(mover, slot, code);
}

void ResetMoveInProgress() {
  SquareEffectPlayback = 0;
  StopAfterSquareEffect = 0;
}

void ResetCombatMovementState() { ResetMoveInProgress(); }
