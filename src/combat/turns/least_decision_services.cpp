#include "combat/turns/least_decision_services.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "combat/resolution/area_targets.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/best_square.h"
#include "combat/turns/combat_cycle.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/least_services.h"
#include "combat/turns/support_grids.h"
#include "combat/turns/tactics.h"
#include "combat/turns/target_choice.h"
#include "combat/turns/valuation_grid.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/attack_profile.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kActionWalk = 1;
constexpr int32_t kActionFiveFootStep = 5;
constexpr int32_t kActionEscape = 14;
constexpr int32_t kActionReload = 20;
constexpr int32_t kHeavyCrossbow = 10, kLightCrossbow = 11;

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }
int EntryOf(int creature) {
  for (int i = 0; i < TurnCount(); ++i)
    if (TurnOrder[i].creature == creature) return i;
  return -1;
}
FighterSlot* SlotOf(int creature) {
  const int slot = Creatures[creature].fighterSlot;
  return slot >= 0 && slot < kFighterSlots ? &FighterSlots[slot] : nullptr;
}

uint32_t RangedWeapon(int creature) { return Creatures[creature].equipment[kSlotRanged - 1]; }

}  // namespace

int SendCpuMoving(int creature, int x, int y, int noStep) {
  if (!IsValidCreature(creature)) return 1;
  CreatureRecord& c = Creatures[creature];
  const int entry = EntryOf(creature);
  if (entry >= 0) TurnOrder[entry].plannedAction = 0;
  CombatState = kStateActionUnderWay;
  CpuMoveIssued = 1;
  const int found = FindCreaturePath(creature, c.squareX, c.squareY, x, y, 1, 1, 0, 0, nullptr, nullptr);
  const int32_t cost = PathCostFeet;
  const bool near = std::abs(x - c.squareX) <= 1 && std::abs(y - c.squareY) <= 1;
  if (noStep == 0 && MayTakeFiveFootStep(creature) && !IsDiagonalStepBlocked(creature, x, c.squareY, c.squareX, y) &&
      (near || CombatAction.movesLeft < cost)) {
    LogMessage("\xA3%.15s\xA3 takes a five-foot step.\r\r", c.name);
    ShowFloatingText(creature, "5-foot step");
    CombatAction.actionCode = kActionFiveFootStep;
    c.destinationX = c.destinationY = -1;
    if (FighterSlot* slot = SlotOf(creature)) slot->pathIndex = -1;
    c.nextX = x;
    c.nextY = y;
  } else {
    CombatAction.actionCode = kActionWalk;
    if (FighterSlot* slot = SlotOf(creature); slot && found == kPathFound) {
      c.nextX = slot->pathX[0];
      c.nextY = slot->pathY[0];
      slot->pathIndex = 1;
    }
  }
  MovementPlaybackActive = 1;
  SetCreatureFacing(creature);
  return 1;
}

bool NeedsCrossbowReload(int creature) {
  if (!IsValidCreature(creature)) return false;
  const uint32_t code = RangedWeapon(creature);
  if (!IsCraftedCode(code)) return false;
  const CraftedWeaponRecord& w = CraftedWeapons[code];
  if (w.itemType != kHeavyCrossbow && w.itemType != kLightCrossbow) return false;
  const ItemPair& ammo = Creatures[creature].ammunition;
  return w.charges == 0 && ammo.code != 0 && ammo.count != 0;
}

int ReloadCrossbowIfNeeded(int creature) {
  if (HasCondition(creature, kCondGrappling) || !NeedsCrossbowReload(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  const CombatActionState& a = CombatAction;
  const bool heavy = CraftedWeapons[RangedWeapon(creature)].itemType == kHeavyCrossbow;
  bool can;
  if (!heavy) can = c.feats[kFeatRapidReloadLight] != 0 || a.moveActionLeft == 1 || a.standardActionLeft == 1;
  else if (c.feats[kFeatRapidReloadHeavy] != 0) can = a.moveActionLeft == 1 || a.standardActionLeft == 1;
  else can = a.fullRoundActionLeft == 1 || (a.singleActionTurn && a.standardActionLeft == 1);
  if (!can) {
    CombatState = kStateNextFighter;
    return 1;
  }
  CombatState = kStatePlayerTurn;
  CombatAction.actionCode = kActionReload;
  return 1;
}

int CountTurnableUndead(int creature) {
  int n = 0;
  for (int i = 0; i < TurnCount(); ++i) {
    const int u = TurnOrder[i].creature;
    if (!IsValidCreature(u) || Creatures[u].type != 8) continue;
    if (u == creature || AreAllies(creature, u)) n += !HasCondition(u, kCondBolstered);
    else n += !HasCondition(u, kCondCowering);
  }
  return n;
}

int BestTurnUndeadCount() {
  const int actor = SpellCaster;
  if (!IsValidCreature(actor)) return 0;
  CreatureRecord& c = Creatures[actor];
  const int32_t facing = c.facing;
  int best = 0;
  MarkAdjacentSquares(actor);
  static int32_t ring[kMapSquares];
  std::memcpy(ring, AdjacencyGrid, sizeof ring);
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      if (ring[SquareIndex(x, y)] == 0 || BlockedGrid[SquareIndex(x, y)] == kSquareBlocked) continue;
      int32_t direction = 0;
      RasteriseCone(actor, x, y, kSpellTurnUndead, &direction);
      int n = 0;
      for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
        const int u = AreaTargetList[i];
        if (Creatures[u].type != 8) continue;
        if (u == actor || AreAllies(actor, u)) n += !HasCondition(u, kCondBolstered);
        else n += !HasCondition(u, kCondCowering);
      }
      if (n > best) best = n;
    }
  c.facing = facing;
  return best;
}

int CanBreatheUsefully() {
  const int actor = SpellCaster;
  if (!IsValidCreature(actor)) return 0;
  CreatureRecord& c = Creatures[actor];
  const int32_t facing = c.facing;
  const int kind = c.special[kSpecialAttackKind];
  const bool cone = (kind >= 1 && kind <= 11) || kind == 23;
  const bool needsTarget = DisruptionTarget != -1 && ((kind >= 1 && kind <= 5) || (kind >= 12 && kind <= 16));
  MarkAdjacentSquares(actor);
  static int32_t ring[kMapSquares];
  std::memcpy(ring, AdjacencyGrid, sizeof ring);
  int result = 0;
  for (int x = 0; x < kMapSide && !result; ++x)
    for (int y = 0; y < kMapSide && !result; ++y) {
      if (ring[SquareIndex(x, y)] == 0 || BlockedGrid[SquareIndex(x, y)] == kSquareBlocked) continue;
      int32_t direction = 0, near[2];
      if (cone) RasteriseCone(actor, x, y, kSpellSpecialAttack, &direction);
      else RasteriseLine(actor, x, y, kSpellSpecialAttack, &direction, near);
      int enemies = 0, allies = 0;
      bool targetHit = false;
      for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
        const int t = AreaTargetList[i];
        if (IsImmuneToSpell(kSpellSpecialAttack, t) || IsBreathEffectWasted(kind, t)) continue;
        if (t == actor || AreAllies(actor, t)) {
          ++allies;
        } else {
          ++enemies;
          if (t == DisruptionTarget) targetHit = true;
        }
      }
      if (needsTarget && !targetHit) continue;
      if (enemies >= 1 && (allies == 0 || (c.scriptWords[0] == 1 && enemies >= allies))) result = 1;
    }
  c.facing = facing;
  return result;
}

bool AnyBadlyWoundedEnemy(int creature) {
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || !AreEnemies(creature, o)) continue;
    const CreatureRecord& e = Creatures[o];
    if (e.maxHitPoints > 0 && e.hitPoints < e.maxHitPoints && e.hitPoints * 100 / e.maxHitPoints < 21) return true;
  }
  return false;
}

bool ChooseToDispel(int creature) {
  const bool refused = CountAllies(creature) > 0 ? RandomUpTo(3) + 1 == 1 : RandomUpTo(1) == 1;
  if (DebugMode && InCombat == 1) LogMessage(refused ? "Chosen not to do dispel\r" : "Chosen to do dispel\r");
  return !refused;
}

bool CanStepOutOfMagicArea(int creature) {
  if (!MayTakeFiveFootStep(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      const int x = c.squareX + dx, y = c.squareY + dy;
      if ((dx == 0 && dy == 0) || !OnGrid(x, y) || !FootprintFitsAt(x, y, creature, 0)) continue;
      if (IsDiagonalStepBlocked(creature, x, c.squareY, c.squareX, y)) continue;
      bool clear = true;
      for (int i = x; i < x + c.footprintWidth.current && clear; ++i)
        for (int j = y; j < y + c.footprintHeight.current && clear; ++j)
          clear = !OnGrid(i, j) || MagicAreaGrid[SquareIndex(i, j)].kind == kEffectNone;
      if (clear) return true;
    }
  return false;
}

bool StepToBestCastingSquare(int spell, int target, int creature, int flag) {
  if (CombatAction.fiveFootStepLeft != 1 || !IsValidCreature(creature)) return false;
  const bool other = IsValidCreature(target) && target != creature;
  BuildGoodSquareGrid(creature, 0, -1, other ? target : -1, other ? RangeClassSquared(spell) : 0, spell);
  const CreatureRecord& c = Creatures[creature];
  if (flag == 1 && IsInAnyMagicArea(creature)) {
    const int64_t exit = FindMagicAreaExit(creature);
    const FighterSlot* slot = SlotOf(creature);
    if (exit != kNoSquare && slot) ValuationGrid[SquareIndex(slot->pathX[0], slot->pathY[0])] += 8;
  }
  int32_t best = 0;
  int bx = -1, by = -1;
  for (int x = c.squareX - 1; x <= c.squareX + 1; ++x)
    for (int y = c.squareY - 1; y <= c.squareY + 1; ++y) {
      if ((x == c.squareX && y == c.squareY) || !OnGrid(x, y)) continue;
      if (ValuationGrid[SquareIndex(x, y)] > best) {
        best = ValuationGrid[SquareIndex(x, y)];
        bx = x;
        by = y;
      }
    }
  if (best < 1) return false;
  SendCpuMoving(creature, bx, by, 0);
  return true;
}

bool NearestFoeReachable() {
  const int fighter = CurrentFighter();
  if (!IsValidCreature(fighter) || !IsValidCreature(NearestFoe)) return false;
  bool anySolid = false;
  for (const SquareEffectCell& cell : MagicAreaGrid) anySolid |= cell.kind == kEffectSolid;
  if (!anySolid) return false;
  const CreatureRecord& c = Creatures[fighter];
  uint32_t record[kTallyWords] = {};
  const int found = FindCreaturePath(fighter, c.squareX, c.squareY, Creatures[NearestFoe].squareX,
                                     Creatures[NearestFoe].squareY, 0, 1, 0, 1, record, nullptr);
  return found == kPathNone || record[5] > 0;
}

bool PathToNearestFoeOpen(int flag) {
  const int fighter = CurrentFighter();
  if (!IsValidCreature(fighter) || !IsValidCreature(NearestFoe)) return false;
  if (flag == 1) {
    for (int i = 0; i < TurnCount(); ++i)
      if (IsValidCreature(TurnOrder[i].creature) && IsThreatenedByEnemy(TurnOrder[i].creature)) return false;
  }
  const CreatureRecord& c = Creatures[fighter];
  uint32_t record[kTallyWords] = {};
  const int found = FindCreaturePath(fighter, c.squareX, c.squareY, Creatures[NearestFoe].squareX,
                                     Creatures[NearestFoe].squareY, 1, 1, 0, 1, record, nullptr);
  return found != kPathNone && record[2] > record[3];
}

bool CanCharge(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const CombatActionState& a = CombatAction;
  const bool fresh = a.singleActionTurn ? a.movesLeft == c.speed.current && a.standardActionLeft == 1
                                        : a.movesLeft == 2 * c.speed.current && a.fullRoundActionLeft == 1;
  if (!fresh || a.movementClosed != 0) return false;
  if (FindAnyCondition(creature, kCondBlinded, kCondCantSee, kCondFatigued, kCondExhausted, kCondEntangled) >= 0)
    return false;
  if (c.kind == 50 && FindAnyCondition(creature, kCondDeafened, kCondSilenced) >= 0) return false;
  return !IsOnDifficultTerrain(creature);
}

bool IsOnDifficultTerrain(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  if (c.size.current > 3 || !OnGrid(c.squareX, c.squareY)) return false;
  const int32_t floor = CurrentMap.layers[kLayerFloor][SquareIndex(c.squareX, c.squareY)];
  return floor == 123 || floor == 124;
}

bool IsAreaFreeOfWalls(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current, h = c.footprintHeight.current;
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      if (dx == 0 && dy == 0) continue;
      const int x0 = c.squareX + dx, y0 = c.squareY + dy;
      if (x0 < 0 || y0 < 0 || x0 >= kMapSide || y0 >= kMapSide) continue;  // no neighbour there
      for (int x = x0; x < x0 + w; ++x)
        for (int y = y0; y < y0 + h; ++y)
          if (x >= kMapSide || y >= kMapSide || !CurrentMap.Inside(x, y) ||
              CurrentMap.layers[kLayerWalls][SquareIndex(x, y)] > 0)
            return false;
    }
  return true;
}

bool HasProtectiveEffect(int creature) {
  static const uint32_t kAny[] = {6, 21, 114, 115, 116, 144, 147, 151, 153, 3, 12, 23, 20, 16, 149, 150, 18, 2, 4, 34, 33};
  for (uint32_t id : kAny)
    if (HasCondition(creature, id)) return true;
  static const uint32_t kFromSpell[] = {22, 56, 35, 37, 39, 38, 13};
  for (uint32_t id : kFromSpell) {
    const int i = FindCondition(creature, id);
    if (i >= 0 && Creatures[creature].conditions[i].source == kSourceSpell) return true;
  }
  return false;
}

int CountDispellableEffects(int creature) {
  if (!IsValidCreature(creature)) return 0;
  auto any = [creature](std::initializer_list<uint32_t> ids) {
    for (uint32_t id : ids)
      if (HasCondition(creature, id)) return true;
    return false;
  };
  auto fromSpell = [creature](uint32_t id) {
    const int i = FindCondition(creature, id);
    return i >= 0 && Creatures[creature].conditions[i].source == kSourceSpell;
  };
  int n = 0;
  n += any({114, 115, 116});
  const int poly = FindCondition(creature, kCondPolymorphed);
  n += poly >= 0 && Creatures[creature].conditions[poly].value != 42;
  n += fromSpell(13);
  n += any({16, 12, 23});
  n += any({34, 33});
  n += any({144, 147, 151, 153});
  n += any({18, 21, 20, 149, 150});
  n += any({6, 3, 2, 4});
  for (uint32_t id : {22u, 35u, 37u, 39u, 38u, 56u}) n += fromSpell(id);
  return n;
}
