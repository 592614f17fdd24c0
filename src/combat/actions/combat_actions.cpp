#include "combat/actions/combat_actions.h"

#include "combat/turns/combat_cycle.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

// Least version of the action executor, standing until the executor's own
// work replaces it: an action handed over by the computer's decision is
// taken as done at once (a move ends where it began) and the turn passes on,
// so that a battle never waits on an action nobody carries out.
void ExecuteCombatAction() {
  if (InCombat != 1 || SpellInProgress != -1) return;
  CombatActionState& a = CombatAction;
  const bool quick = a.actionCode == 14 || a.actionCode == 15 || a.actionCode == 20 || a.actionCode == 23;
  const bool running = CombatState == kStateActionUnderWay || (CombatState == kStatePlayerTurn && quick && !a.playerControlled);
  if (!running || a.actionCode == 0) return;
  MovementPlaybackActive = 0;
  PlaybackCreature = -1;
  const int32_t next = a.actionCode == 13 && QueuedCombatState != -1 ? QueuedCombatState : kStateNextFighter;
  ClearQueuedAction();
  a.actionCode = 0;
  a.endedActionCode = 0;
  CombatState = next;
}
