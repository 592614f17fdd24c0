#include "combat/actions/small_routines.h"

#include "combat/resolution/area_targets.h"
#include "combat/resolution/special_attacks.h"
#include "combat/turns/casting_questions.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/spell_ids.h"
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

bool IsCure(int spell) {
  switch (spell) {
    case kSpellCureLightWounds: case kSpellCureModerateWounds: case kSpellCureSeriousWounds:
    case kSpellCureCriticalWounds: case kSpellHeal:
      return true;
    default:
      return false;
  }
}

// Spells that may be cast in combat on a creature outside the turn order.
bool ReachesBeyondTheOrder(int spell) {
  return IsCure(spell) || spell == kSpellStoneToFlesh || spell == kSpellRaiseDead ||
         spell == kSpellTrueResurrection || spell == kSpellLendLife;
}

bool IsHealing(int spell) { return IsSpellInSetA(spell) || IsSpellInSetC(spell); }

bool WithinReach(int spell, int distanceSquared) {
  const int reach = RangeClassSquared(spell);
  return reach < 0 || distanceSquared <= reach;
}

bool SquareTargetValid(int caster, int spell) {
  const CreatureRecord& c = Creatures[caster];
  const int x = MapCursorX, y = MapCursorY;
  if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return false;
  // The spell row's target word: 1 the caster alone, 2 centred on the caster.
  if (SpellTable[spell].target == 2) {
    if (x < c.squareX || y < c.squareY || x >= c.squareX + c.footprintWidth.current ||
        y >= c.squareY + c.footprintHeight.current)
      return false;
  } else {
    const GridSquare from = NearestFootprintSquare(caster, x, y);
    if (!WithinReach(spell, SquaredDistance(from.x, from.y, x, y))) return false;
  }
  return CurrentMap.At(kLayerWalls, x, y) == 0 && CursorSquareInSight != 0;
}

bool CreatureTargetValid(int caster, int spell) {
  int target = SpellTarget;
  if (!IsValidCreature(target)) target = CreatureAtSquare(MapCursorX, MapCursorY, -1);
  if (!IsValidCreature(target)) return false;
  if (SpellTable[spell].target == 1 && target != caster) return false;
  if (!CanCastOnTarget(caster, target, spell, 1)) return false;
  const CreatureRecord& t = Creatures[target];
  const bool healing = IsHealing(spell) || IsCure(spell);
  if (InCombat != 1) {
    if (IsCure(spell) && t.type == kTypeUndead) return false;
    if (healing && IsPartyAllegiance(t.allegiance)) return true;
  } else if (EntryOf(target) < 0 && !ReachesBeyondTheOrder(spell)) {
    return false;
  }
  const SpellRecord& row = SpellTable[spell];
  if (row.beneficial == 1 && !IsPartyAllegiance(t.allegiance)) return false;
  if (row.harmful == 1 && !AreEnemies(caster, target) &&
      FindAnyCondition(target, kCondInsane, kCondConfused, kCondControlled, kCondDominated) < 0)
    return false;
  if (healing && FindAnyCondition(target, kCondDead, kCondPetrified) >= 0) return false;
  const CreatureRecord& c = Creatures[caster];
  const GridSquare from = NearestFootprintSquare(caster, t.squareX, t.squareY);
  const GridSquare to = NearestFootprintSquare(target, c.squareX, c.squareY);
  if (!FindCover(from.x, from.y, to.x, to.y, 0)) return false;
  return WithinReach(spell, SquaredDistance(from.x, from.y, to.x, to.y));
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

bool IsCursorTargetValid() {
  const int caster = SpellCaster, spell = SpellInProgress;
  switch (ScreenMode) {
    case 13:
      return TargetConfirmFlag != 0;
    case 10: case 11: case 16:
      break;
    default:
      return true;
  }
  if (!IsValidCreature(caster) || spell < 0 || spell >= kSpellRows) return false;
  return ScreenMode == 10 ? CreatureTargetValid(caster, spell) : SquareTargetValid(caster, spell);
}
