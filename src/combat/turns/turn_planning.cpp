#include "combat/turns/turn_planning.h"

#include "combat/actions/combat_actions.h"
#include "engine/random.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"

namespace {
void ClearPlanningFlags() {
  CombatActionState& a = CombatAction;
  a.whirlwindPlanned = a.bullRushPlanned = a.useAlternateAttack = a.turnUndeadPlanned = 0;
  a.breathPlanned = a.wandPlanned = a.spellLikePlanned = a.scriptedSpellPlanned = 0;
  a.scriptedSpell = -1;
  a.useSpells = 1;
  a.cureOthers = 0;
  a.preferredRange = 0;
}
}  // namespace

void PlanFighterTurn(int creature) {
  ClearPlanningFlags();
  if (!IsValidCreature(creature)) return;
  if (FindAnyCondition(creature, kCondConfused, kCondInsane) >= 0)
    CombatAction.confusionRoll = static_cast<int32_t>(RandomUpTo(99)) + 1;
}

void ReplanAfterReadiedAction(int creature) {
  (void)creature;
  ClearPlanningFlags();
}

int HitPointPercent(int creature) {
  if (!IsValidCreature(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  if (c.maxHitPoints <= 0) return 0;
  return c.hitPoints * 100 / c.maxHitPoints;
}
