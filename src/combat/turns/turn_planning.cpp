#include "combat/turns/turn_planning.h"

#include "combat/actions/combat_actions.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"

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
// The breath weapon is planned on a d100 within the creature's breath
// percentage, unless it is controlled or in another form.
void PlanBreathWeapon(int creature) {
  const CreatureRecord& c = Creatures[creature];
  if (c.special[kSpecialAttackKind] <= 0 || HasCondition(creature, kCondControlled) ||
      HasCondition(creature, kCondPolymorphed))
    return;
  const int32_t percent = c.behaviour[kBehaviourSpecialAttack];
  if (RollDice(100, 1, 0, 0) <= percent) {
    CombatAction.breathPlanned = 1;
    if (DebugMode) LogMessage("DEBUG - Planning to use Breath Weapon.\r");
  } else if (DebugMode) {
    LogMessage("DEBUG - Not using Breath Weapon (Chance to use %i).\r", static_cast<int>(percent));
  }
}
}  // namespace

void PlanFighterTurn(int creature) {
  ClearPlanningFlags();
  if (!IsValidCreature(creature)) return;
  PlanBreathWeapon(creature);
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
