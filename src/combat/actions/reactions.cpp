#include "combat/actions/reactions.h"

#include "combat/actions/action_executor.h"
#include "combat/resolution/attack_resolution.h"
#include "engine/message_log.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/recompute_creature.h"
#include "state/combat_action.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kReadiedVersusApproach = 21;

int EntryOf(int creature) {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i)
    if (TurnOrder[i].creature == creature) return i;
  return -1;
}

}  // namespace

void ReactionStep() {
  const int reactor = CombatAction.reactingCreature;
  const int mover = CurrentFighter();
  if (!IsValidCreature(reactor) || !IsValidCreature(mover)) {
    CombatAction.reactingCreature = -1;
    return;
  }
  ActingCreature = reactor;
  ActionTarget = mover;
  const int entry = EntryOf(reactor);
  const bool readied = entry >= 0 && TurnOrder[entry].plannedAction == kReadiedVersusApproach;
  if (readied) {
    LogMessage("\xA3%s\xA3 uses ready action, attacks \xA3%.15s\xA3.\r", Creatures[reactor].name, Creatures[mover].name);
    TurnOrder[entry].plannedAction = 0;
  } else {
    LogMessage("\xA3%.15s\xA3 gets @AOO@ against \xA3%.15s\xA3.\r", Creatures[reactor].name, Creatures[mover].name);
  }
  RemoveCondition(reactor, kCondInvisible);
  RecomputeCreature(reactor, 0);
  RecomputeCreature(mover, 0);
  static AttackProfile profile;
  BuildAttackProfile(&profile, reactor, 0, mover, 0, 0);
  ResolveAttack(reactor, mover, 0, 0, 0, 0, 0, nullptr);
  if (!readied) --Creatures[reactor].attacksOfOpportunityLeft;
  CombatAction.reactingCreature = kReactorPlayback;
}

bool TargetMayReactToUnarmedAttack() {
  if (ReactionPending == 1) {
    ActingCreature = CurrentFighter();
    ActionTarget = SavedTarget;
    ReactionPending = 0;
  }
  return false;
}
