// The spending of the acting fighter's turn budget after an order: an action, an
// action that takes a move, or the whole round.
#include "state/casting_services.h"

#include "combat/turns/combat_cycle.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "rules/creature_record.h"
#include "rules/positions.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

namespace {

int32_t ActingSpeed() {
  const int creature = CurrentFighter();
  return IsValidCreature(creature) ? Creatures[creature].speed.current : 0;
}

// After an action, a fighter that has already moved keeps moving only with
// Spring Attack and more than its speed left (it loses a speed's worth).
void CloseMoveAfterAction(int32_t speed) {
  const int creature = CurrentFighter();
  const bool springAttack = IsValidCreature(creature) && Creatures[creature].feats[kFeatSpringAttack] != 0;
  if (springAttack && CombatAction.movesLeft > speed)
    CombatAction.movesLeft -= speed;
  else
    CombatAction.movementClosed = 1;
}

}  // namespace

bool SettleMoveAfterAction() {
  if (InCombat != 1) return true;
  CombatActionState& a = CombatAction;
  a.fullRoundActionLeft = 0;
  a.standardActionLeft = 0;
  const int32_t speed = ActingSpeed();
  if (a.movesLeft >= 2 * speed) {
    a.movesLeft = speed;
    ActionBeforeMove = 1;
    return true;
  }
  a.moveActionLeft = 0;
  CloseMoveAfterAction(speed);
  return true;
}

bool SettleMoveAfterActionAlt() {
  if (InCombat != 1) return true;
  CombatActionState& a = CombatAction;
  a.fullRoundActionLeft = 0;
  a.attackSequenceOpen = 0;
  a.shootingSequenceOpen = 0;
  const int32_t speed = ActingSpeed();
  if (a.movesLeft >= 2 * speed) {
    a.movesLeft = speed;
    ActionBeforeMove = 1;
    return true;
  }
  a.standardActionLeft = 0;
  a.moveActionLeft = 0;
  CloseMoveAfterAction(speed);
  return true;
}

bool ClearActionTarget() {
  if (InCombat != 1) return true;
  CombatActionState& a = CombatAction;
  a.moveActionLeft = 0;
  a.fullRoundActionLeft = 0;
  a.standardActionLeft = 0;
  a.movementClosed = 1;
  return true;
}

