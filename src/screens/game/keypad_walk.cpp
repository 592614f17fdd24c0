// The keypad: the selected member walks one square at a time while a
// direction key is held (or the hold-to-walk cursor points), and in combat
// the acting fighter moves, steps or acts on the creature in the key's
// direction.
#include "combat/actions/action_executor.h"
#include "combat/actions/walking.h"
#include "combat/turns/turn_routines.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/fighter_tests.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/party_walk.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "screens/game/action_menu.h"
#include "screens/game/action_state.h"
#include "screens/game/combat_orders.h"
#include "screens/game/map_input.h"
#include "screens/game/map_input_routines.h"
#include "screens/game/shared_routines.h"
#include "state/camera.h"
#include "state/turn_order.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"
#include "state/threat_grids.h"

uint8_t KeypadWalkFlag = 0;

namespace {

struct KeypadStep {
  int key, dx, dy;
};
constexpr KeypadStep kSteps[8] = {{0x48, 0, -1}, {0x50, 0, 1},  {0x4B, -1, 0}, {0x4D, 1, 0},
                                  {0x4F, -1, 1}, {0x51, 1, 1},  {0x47, -1, -1}, {0x49, 1, -1}};
// The hold-to-walk cursor's arrows 20 to 27 as steps.
constexpr int kArrowDx[8] = {-1, 1, 0, 0, 1, -1, 1, -1};
constexpr int kArrowDy[8] = {0, 0, -1, 1, -1, -1, 1, 1};
constexpr int32_t kStairsUp = 73, kStairsDown = 74;
constexpr int32_t kCodeBullRushImmune = 22;

bool Has(int c, uint32_t id) { return FindCondition(c, id) >= 0; }

// The held direction key, latched or not; false when none is held.
bool HeldDirection(int* dx, int* dy) {
  for (const KeypadStep& s : kSteps) {
    if (!KeyHeld(s.key)) continue;
    *dx = s.dx;
    *dy = s.dy;
    return true;
  }
  return false;
}

void LatchKeypad() {
  for (const KeypadStep& s : kSteps) LatchKey(s.key);
}

void ExploringStep() {
  const int m = static_cast<int>(SelectedMember);
  if (!IsValidCreature(m)) return;
  CreatureRecord& c = Creatures[m];
  const int slot = GetFighterSlot(m);
  if (slot < 0 || slot >= kFighterSlots) return;
  const bool still = c.squareX == c.nextX && c.squareY == c.nextY;
  // A keypad step is over once the member stands again.
  if (KeypadStepActive == 1 && still && FighterSlots[slot].pathIndex == -1) KeypadStepActive = 0;
  KeypadWalkFlag = 0;
  int dx = 0, dy = 0;
  bool chosen = false;
  if (WalkCursorOn == 1 && CursorShape >= 20 && CursorShape <= 27) {
    dx = kArrowDx[CursorShape - 20];
    dy = kArrowDy[CursorShape - 20];
    chosen = true;
  } else {
    chosen = HeldDirection(&dx, &dy);
  }
  if (!chosen) return;
  KeypadWalkFlag = 1;
  const int x = c.squareX + dx, y = c.squareY + dy;
  if (!still || KeypadStepActive == 1 || !SquareExplored(x, y) || FighterSlots[slot].pathIndex != -1) return;
  const int32_t wall = CurrentMap.At(kLayerWalls, x, y);
  if (wall == kStairsUp || wall == kStairsDown) {
    WalkCursorOn = 0;
    LatchKeypad();
    ChangeMapWithSound(CurrentMap.At(kLayerObjects0, x, y), CurrentMap.At(kLayerObjects1, x, y),
                       CurrentMap.At(kLayerObjects2, x, y), CurrentMap.At(kLayerObjects3, x, y));
    return;
  }
  const int toX = WalkCursorOn == 1 ? MapCursorX : x, toY = WalkCursorOn == 1 ? MapCursorY : y;
  if (FindCreaturePath(m, c.squareX, c.squareY, toX, toY, 0, 0, 0, 0, nullptr, nullptr) != kPathFound) return;
  CancelPendingWalk();
  ScreenMode = kModeExploring;
  ViewIdle = 0;
  KeypadStepActive = 1;
}

// The creature in the key's direction, when it is an enemy of the fighter.
int EnemyAt(int fighter, int x, int y) {
  const int c = CreatureAtSquare(x, y, fighter);
  return c != -1 && AreEnemies(fighter, c) ? c : -1;
}

void CombatStep() {
  const int fighter = CurrentFighter();
  if (!IsValidCreature(fighter) || CombatState != kStatePlayerTurn || CombatAction.actionCode != 0) return;
  int dx = 0, dy = 0;
  if (!HeldDirection(&dx, &dy)) return;
  const CreatureRecord& c = Creatures[fighter];
  const int x = c.squareX + dx, y = c.squareY + dy;
  if (!CurrentMap.Inside(x, y)) return;
  const CombatActionState& a = CombatAction;
  const int32_t pending = PendingPanelAction;
  if (pending == -1) {
    const int sq = SquareIndex(x, y);
    const int32_t wall = CurrentMap.At(kLayerWalls, x, y);
    if (BlockedGrid[sq] != kSquareFlooded || (wall >= 46 && wall <= 55)) {
      const int enemy = EnemyAt(fighter, x, y);
      const bool permitted = AttackPermitted();
      if (enemy == -1 || a.fiveFootStepTaken != 0 || !permitted || !IsTargetValid(fighter, enemy)) return;
      LatchKeypad();
      IssuePlayerOrder(kActionNextAttack, enemy);
      return;
    }
    const int other = CreatureAtSquare(x, y, fighter);
    if (other != -1) {
      const bool permitted = AttackPermitted();
      if (!AreEnemies(fighter, other) || a.fiveFootStepTaken != 0 || !permitted || !IsTargetValid(fighter, other))
        return;
      LatchKeypad();
      IssuePlayerOrder(kActionNextAttack, other);
      return;
    }
    if (a.movesLeft <= 4 || a.fiveFootStepTaken != 0 || HasDisablingCondition(fighter)) return;
    if (FindCreaturePath(fighter, c.squareX, c.squareY, x, y, 0, 0, 0, 0, nullptr, nullptr) != kPathFound) return;
    if (DebugMode == 1) LogMessage("Scroll to %i - %i - %i\r", fighter, -1, -1);
    OrderMoveAlongPath(fighter);
    return;
  }
  if (pending == kActFiveFootStep) {
    const int32_t mark = ArrowGrid[SquareIndex(x, y)];
    if (mark < 25 || mark > 32) return;
    LatchKeypad();
    OrderFiveFootStep(fighter, x, y);
    return;
  }
  const int enemy = EnemyAt(fighter, x, y);
  if (enemy == -1) return;
  const CreatureRecord& t = Creatures[enemy];
  const bool adjacent = AreAdjacent(fighter, enemy);
  int32_t code = -1;
  switch (pending) {
    case kActCoupDeGrace:
      if ((Has(enemy, kCondParalyzed) || Has(enemy, kCondSleeping)) && GetProtectionValue(enemy, kCodeNeverHelpless) != 1) {
        CoupDeGraceAction = 1;
        code = kActionMeleeAttack;
      }
      break;
    case kActBullRush:
      if (t.size.current <= c.size.current + 1 && GetProtectionValue(enemy, kCodeBullRushImmune) != 1 &&
          IsFacingSquareFree(fighter, enemy))
        code = kActionBullRush;
      break;
    case kActGrapple:
      if (adjacent && GetProtectionValue(enemy, kCodeCannotBeGrappled) != 1 && !Has(enemy, kCondDancing) &&
          !Has(enemy, kCondGrappling)) {
        SettleMoveAfterAction();
        code = kActionGrapple;
      }
      break;
    case kActWakeSomeone:
      if (adjacent && Has(enemy, kCondSleeping)) code = kActionWake;
      break;
    default:
      break;
  }
  if (code == -1) return;
  LatchKeypad();
  PendingPanelAction = -1;
  IssuePlayerOrder(code, enemy);
}

}  // namespace

void KeypadWalk() {
  if (InCombat == 1) {
    // A step of the exploring party is over once a battle has begun: the
    // panels and their keys are back.
    KeypadStepActive = 0;
    CombatStep();
  } else {
    ExploringStep();
  }
}
