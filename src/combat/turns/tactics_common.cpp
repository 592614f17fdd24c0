// The words the tactics share with the decision, and the hand-offs of an
// attack, a shot, a cast, a readied action and a step to a neighbour square.
#include "combat/actions/action_executor.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/best_square.h"
#include "combat/turns/decision_services.h"
#include "combat/turns/tactic_steps.h"
#include "combat/turns/tactics.h"
#include "combat/turns/target_choice.h"
#include "combat/turns/valuation_grid.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/positions.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/fighter_slots.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

uint8_t CpuMoveIssued = 0;
int32_t HazardKindToLeave = 0;
uint8_t LeaveHazard = 0;
int32_t StanceWord = -1;
uint8_t ValuationGridShown = 0;
uint8_t CastByComputer = 0;

namespace {

constexpr int32_t kPlanMelee = 1;
constexpr int32_t kPlanRanged = 2;

bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

}  // namespace

bool CanWalkThisTurn(int fighter, int x, int y) {
  const CreatureRecord& c = Creatures[fighter];
  return FindCreaturePath(fighter, c.squareX, c.squareY, x, y, 1, 1, 0, 0, nullptr, nullptr) == kPathFound &&
         PathShown == 1;
}

void MoveFighterTo(int fighter, int64_t square, const char* number) {
  if (number) TacticTrace("DEBUG - Send CPU moving #%s\r", number);
  SendCpuMoving(fighter, SquareXOf(square), SquareYOf(square), 0);
}

void SetPlannedAction(int fighter, int32_t code, int32_t target, int32_t parameter) {
  const int entry = FindTurnOrderIndex(fighter);
  if (entry < 0) return;
  TurnOrder[entry].plannedAction = code;
  TurnOrder[entry].plannedTarget = target;
  TurnOrder[entry].plannedParameter = parameter;
}

bool RollPercent(int32_t percent) { return RollDice(100, 1, 0, 0) <= percent; }

bool IsSleepingOrParalyzedTarget(int creature) {
  return GetProtectionValue(creature, kCodeNeverHelpless) != 1 &&
         (HasCondition(creature, kCondSleeping) || HasCondition(creature, kCondParalyzed));
}

bool IsSleepingTarget(int creature) {
  return GetProtectionValue(creature, kCodeNeverHelpless) != 1 && HasCondition(creature, kCondSleeping);
}

// The attack and shot issue: the planned action on T, then the full attack
// when the full-round action is left or an attack was begun, one attack with
// the standard action, else the end of the turn.
namespace {
void IssueAttackOrShot(int fighter, int target, bool ranged) {
  CombatActionState& a = CombatAction;
  ActingCreature = fighter;
  ActionTarget = target;
  SetPlannedAction(fighter, ranged ? kPlanRanged : kPlanMelee, target, -1);
  CombatState = kStateActionUnderWay;
  uint8_t& begun = ranged ? a.shootingSequenceOpen : a.attackSequenceOpen;
  if (a.fullRoundActionLeft == 1 || begun) {
    a.fullRoundActionLeft = 0;
    begun = 1;
    a.actionCode = ranged ? kActionNextShot : kActionNextAttack;
  } else if (a.standardActionLeft == 1) {
    a.standardActionLeft = 0;
    a.actionCode = ranged ? kActionShot : kActionMeleeAttack;
  } else {
    CombatState = kStateNextFighter;
  }
  CpuMoveIssued = 0;
}
}  // namespace

void IssueMeleeAttack(int fighter, int target) { IssueAttackOrShot(fighter, target, false); }
void IssueShot(int fighter, int target) { IssueAttackOrShot(fighter, target, true); }

void StartComputerCast(int fighter, int spell, bool fromWand) {
  SpellInProgress = spell;
  SpellCaster = fighter;
  ScreenMode = kModeCastStart;
  CombatState = kStateActionUnderWay;
  CpuMoveIssued = 0;
  CastByComputer = 1;
  if (fromWand) {
    CastingFromItem = 1;
    CastingWand = 1;
    CastingItem = Creatures[fighter].equipment[kSlotRightHand - 1];
  }
}

int64_t ChooseNeighbourSquare(int fighter, bool pathTest, bool diagonalTest) {
  const CreatureRecord& c = Creatures[fighter];
  const int cx = c.squareX, cy = c.squareY;
  MarkNeighbourDirections(cx, cy);
  if (LeaveHazard && HazardKindToLeave != 0 && FindMagicAreaExit(fighter) != kNoSquare) {
    const int slot = c.fighterSlot;
    if (slot >= 0 && slot < kFighterSlots) {
      const int fx = FighterSlots[slot].pathX[0], fy = FighterSlots[slot].pathY[0];
      if (OnGrid(fx, fy)) ValuationGrid[SquareIndex(fx, fy)] += 8;
    }
  }
  const int32_t own = OnGrid(cx, cy) ? ValuationGrid[SquareIndex(cx, cy)] : 0;
  int32_t best = 0;
  int bx = -1, by = -1;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      const int32_t v = ValuationGrid[SquareIndex(x, y)];
      if (NeighbourGrid[SquareIndex(x, y)] == 0 || v <= own || v <= best) continue;
      if (pathTest && !CanWalkThisTurn(fighter, x, y)) continue;
      if (diagonalTest && IsDiagonalStepBlocked(fighter, x, cy, cx, y)) continue;
      best = v;
      bx = x;
      by = y;
    }
  return best > 0 ? PackSquare(bx, by) : kNoSquare;
}

void ResetTacticsState() {
  CpuMoveIssued = 0;
  HazardKindToLeave = 0;
  LeaveHazard = 0;
  StanceWord = -1;
  ValuationGridShown = 0;
  CastByComputer = 0;
}
