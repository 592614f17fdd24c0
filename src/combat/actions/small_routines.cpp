#include "combat/actions/small_routines.h"

#include "combat/resolution/area_targets.h"
#include "combat/resolution/special_attacks.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "map/fighter_tests.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

#include "combat/actions/attack_support.h"

namespace {

int EntryOf(int creature) {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i)
    if (TurnOrder[i].creature == creature) return i;
  return -1;
}

// The n-th combatant (0 first) on or around the square, -1 none.
int CreatureAroundSquare(int x, int y, int n) {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const int id = TurnOrder[i].creature;
    if (!IsValidCreature(id)) continue;
    const CreatureRecord& c = Creatures[id];
    const bool touches = c.squareX - 1 <= x && x <= c.squareX + c.footprintWidth.current && c.squareY - 1 <= y &&
                         y <= c.squareY + c.footprintHeight.current;
    if (touches && n-- == 0) return id;
  }
  return -1;
}

// The partner of a Grappling target when a 50 % roll lets a seen partner take the hit.
int GrapplePartnerHit(int attacker, int target) {
  if (!IsValidCreature(target) || !HasCondition(target, kCondGrappling)) return target;
  const int partner = ConditionValue(target, kCondGrappling);
  if (IsValidCreature(partner) && IsCreatureInSight(attacker, partner) && RandomUpTo(1) + 1 != 1) return partner;
  return target;
}

}  // namespace

bool RandomizeBlindShotTarget() {
  const int shooter = ActingCreature;
  int& target = ActionTarget;
  if (!IsValidCreature(shooter) || !IsValidCreature(target) || !IsBlinded(shooter)) return true;
  LogMessage("Ranged attack while @BLINDED@. ");
  if (AreAdjacent(shooter, target)) return true;
  const CreatureRecord& s = Creatures[shooter];
  const GridSquare near = NearestFootprintSquare(target, s.squareX, s.squareY);
  const int count = ListCreaturesAroundSquare(near.x, near.y);
  if (count >= 2) {
    const int picked = CreatureAroundSquare(near.x, near.y, static_cast<int>(RandomUpTo(static_cast<uint32_t>(count - 1))));
    if (picked != -1) target = picked;
  }
  return true;
}

bool RandomizeGrappleShotTarget() {
  const int target = ActionTarget;
  if (!IsValidCreature(target) || !HasCondition(target, kCondGrappling)) return true;
  ActionTarget = GrapplePartnerHit(ActingCreature, target);
  LogMessage("Shooting into a @GRAPPLE@: ");
  return true;
}

int RandomizeGrappleSpellTarget(int target) {
  if (!IsValidCreature(target) || !HasCondition(target, kCondGrappling)) return target;
  const int hit = GrapplePartnerHit(SpellCaster, target);
  LogMessage("@SPELLCASTING@ into a @GRAPPLE@: ");
  return hit;
}

void AimSpellAndScroll() {
  const int caster = SpellCaster, target = AreaTargetList[0];
  if (!IsValidCreature(caster) || !IsValidCreature(target)) return;
  const int spell = SpellInProgress;
  const bool isSpell = spell >= 0 && spell < kSpellRows;
  if (InCombat == 1 && isSpell) {
    const int entry = EntryOf(caster);
    const int32_t kind = SpellTargetKind[spell];
    if (entry >= 0 && (kind == 1 || kind == 7 || kind == 3 || kind == 5 || kind == 9)) {
      TurnOrder[entry].plannedAction = kind == 1 || kind == 7 ? 5 : 7;
      TurnOrder[entry].plannedTarget = target;
      TurnOrder[entry].plannedParameter = -1;
    }
  }
  const CreatureRecord& c = Creatures[caster];
  const GridSquare near = NearestFootprintSquare(target, c.squareX, c.squareY);
  MapCursorX = near.x;
  MapCursorY = near.y;
  MissileFrame(caster, near.x, near.y);
}
