#include "combat/turns/turn_planning.h"

#include "combat/actions/casting_checks.h"
#include "combat/turns/computer_orders.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/tactical_predicates.h"
#include "creatures/control_tendencies.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kWandKind = 8;
constexpr int kSenseNoAlternate = 7;

void Trace(const char* text) {
  if (DebugMode == 1) LogMessage("%s", text);
}

int D100() { return RollDice(100, 1, 0, 0); }
bool Rolls(int32_t percent) { return D100() <= percent; }

void ClearPlanningFlags() {
  CombatActionState& a = CombatAction;
  a.whirlwindPlanned = a.bullRushPlanned = a.useAlternateAttack = a.turnUndeadPlanned = 0;
  a.breathPlanned = a.wandPlanned = a.spellLikePlanned = a.scriptedSpellPlanned = 0;
  a.scriptedSpell = -1;
  a.useSpells = 1;
  a.cureOthers = 0;
  a.preferredRange = 0;
}

bool Controlled(int c) { return HasCondition(c, kCondControlled); }
bool ControlledOrChanged(int c) { return Controlled(c) || HasCondition(c, kCondPolymorphed); }

// The spell of the wand in the main hand, -1 when it holds no charged wand.
int WandSpell(int creature) {
  const uint32_t code = Creatures[creature].equipment[kSlotRightHand - 1];
  if (!IsCraftedCode(code)) return -1;
  const CraftedWeaponRecord& w = CraftedWeapons[code];
  if (w.itemType != kWandKind || w.charges <= 0) return -1;
  return w.spell;
}

// A cure or infliction the creature can use on itself at once when badly hurt,
// else the tendency roll.
bool PlansItemSpell(int creature, int spell, int32_t percent) {
  if (IsGroupSpell10(spell) && IsWorthCuring(creature, 0, spell, 75, creature)) return true;
  return Rolls(percent);
}

void PlanBreathWeapon(int creature) {
  const CreatureRecord& c = Creatures[creature];
  if (c.special[kSpecialAttackKind] <= 0 || ControlledOrChanged(creature)) return;
  const int32_t percent = c.behaviour[kBehaviourSpecialAttack];
  if (Rolls(percent)) {
    CombatAction.breathPlanned = 1;
    Trace("DEBUG - Planning to use Breath Weapon.\r");
  } else if (DebugMode == 1) {
    LogMessage("DEBUG - Not using Breath Weapon (Chance to use %i).\r", percent);
  }
}

void PlanTurnUndead(int creature) {
  const CreatureRecord& c = Creatures[creature];
  if (c.creatureClass != kClassCleric || c.displayWords[kDisplayTurnUndeadUses] <= 0) return;
  if (ControlledOrChanged(creature) || CountTurnableUndead(creature) <= 0) return;
  const int score = BestTurnUndeadScore(creature);
  const int chance = score >= 15 ? 75 : score >= 10 ? 50 : score >= 5 ? 25 : 0;
  if (chance > 0 && Rolls(chance)) {
    CombatAction.turnUndeadPlanned = 1;
    Trace("DEBUG - Planning to use Turn Undead.\r");
  } else if (DebugMode == 1) {
    LogMessage("DEBUG - Not using Turn Undead (Chance to use %i).\r", chance);
  }
}

bool HasNonEnemyInTurnOrder(int creature) {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const int o = TurnOrder[i].creature;
    if (IsValidCreature(o) && o != creature && !AreEnemies(creature, o)) return true;
  }
  return false;
}

}  // namespace

int HitPointPercent(int creature) {
  if (!IsValidCreature(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  if (c.maxHitPoints <= 0) return 0;
  return c.hitPoints * 100 / c.maxHitPoints;
}

bool IsBadlyHurt(int creature, int percent) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  return c.maxHitPoints > 0 && c.hitPoints < c.maxHitPoints && HitPointPercent(creature) <= percent;
}

void PlanFighterTurn(int creature) {
  ClearPlanningFlags();
  if (!IsValidCreature(creature)) return;
  CombatActionState& a = CombatAction;
  const CreatureRecord& c = Creatures[creature];
  if (c.feats[kFeatWhirlwindAttack] != 0 && Rolls(c.behaviour[kBehaviourWhirlwind])) a.whirlwindPlanned = 1;
  if (c.behaviour[kBehaviourBullRush] > 0 && Rolls(c.behaviour[kBehaviourBullRush])) {
    a.bullRushPlanned = 1;
    Trace("DEBUG - Bull Rush ON.\r");
  } else {
    Trace("DEBUG - Bull Rush OFF.\r");
  }
  if (c.naturalAttacks[3].kind > 0 && c.special[kSenseKindWord] != kSenseNoAlternate &&
      Rolls(c.behaviour[kBehaviourSecondTactic]))
    a.useAlternateAttack = 1;
  PlanTurnUndead(creature);
  PlanBreathWeapon(creature);
  const int wand = WandSpell(creature);
  if (wand >= 0 && !Controlled(creature) && PlansItemSpell(creature, wand, c.behaviour[kBehaviourWand]))
    a.wandPlanned = 1;
  if (c.special[kSpecialSpellLike] > 0 && c.special[kSpecialUsesLeft] > 0 && !Controlled(creature) &&
      PlansItemSpell(creature, c.special[kSpecialSpellLike] - 1, c.behaviour[kBehaviourSpellLike]))
    a.spellLikePlanned = 1;
  const int scripted = FirstScriptedSpell(creature);
  if (scripted >= 0) {
    a.scriptedSpellPlanned = 1;
    a.scriptedSpell = scripted;
    a.useSpells = 1;
  } else {
    const int32_t percent = c.behaviour[kBehaviourSpellAttack];
    if (percent >= 1 && percent <= 99) {
      if (Rolls(percent)) {
        if (DebugMode == 1) LogMessage("DEBUG - Will use spells (Chance %i).\r", percent);
      } else {
        a.useSpells = 0;
        Trace("DEBUG - Will not use spells.\r");
      }
    }
    // A badly wounded cleric turns to its spells whatever the roll said.
    if (c.creatureClass == kClassCleric && c.type != kTypeConstruct && IsBadlyHurt(creature, 30) &&
        HighestUsableSpellLevel(-1, creature))
      a.useSpells = 1;
  }
  if (!HighestUsableSpellLevel(-1, creature)) {
    a.useSpells = 0;
    a.scriptedSpellPlanned = 0;
    Trace("DEBUG - No more spell slots available so will not use spells.\r");
  }
  if (a.useSpells == 1 && c.creatureClass == kClassCleric && c.behaviour[kBehaviourCleric] > 0 &&
      HasNonEnemyInTurnOrder(creature) && Rolls(c.behaviour[kBehaviourCleric])) {
    a.cureOthers = 1;
    Trace("DEBUG - Cleric on CURE OTHER\r");
  }
  if (c.behaviour[kBehaviourDefensiveStyle] == kKeepsPreferredRange) {
    a.preferredRange = RollDice(3, 1, 0, 0) + 1;
    if (DebugMode == 1) LogMessage("DEBUG - Wizard on RANGE %i\r", a.preferredRange);
  }
  if (FindAnyCondition(creature, kCondConfused, kCondInsane) >= 0)
    a.confusionRoll = static_cast<int32_t>(RandomUpTo(99)) + 1;
}

void ReplanAfterReadiedAction(int creature) {
  ClearPlanningFlags();
  if (!IsValidCreature(creature)) return;
  CombatActionState& a = CombatAction;
  const CreatureRecord& c = Creatures[creature];
  PlanBreathWeapon(creature);
  const int wand = WandSpell(creature);
  if (wand >= 0 && !Controlled(creature) && IsAiItemSpell(wand) && Rolls(c.behaviour[kBehaviourWand]))
    a.wandPlanned = 1;
  const int innate = c.special[kSpecialSpellLike] - 1;
  if (innate >= 0 && c.special[kSpecialUsesLeft] > 0 && !Controlled(creature) && IsAiItemSpell(innate) &&
      Rolls(c.behaviour[kBehaviourSpellLike]))
    a.spellLikePlanned = 1;
  a.useSpells = (c.behaviour[kBehaviourSpellAttack] > 0 && HighestUsableSpellLevel(-1, creature)) ? 1 : 0;
}
