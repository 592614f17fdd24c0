#include "combat/turns/computer_orders.h"

#include <algorithm>
#include <iterator>
#include <cstdlib>

#include "combat/resolution/area_targets.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/combat_cycle.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/turn_routines.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/camera.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"
#include "state/threat_grids.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kActionWalk = 1;
constexpr int32_t kActionFiveFootStep = 5;
constexpr int32_t kActionEnd = 13;
constexpr int32_t kActionEscape = 14;
constexpr int32_t kActionReload = 20;
constexpr int32_t kPlanReadiedAttack = 21;
constexpr int32_t kSoundReady = 38;
constexpr int32_t kHeavyCrossbow = 10;
constexpr int32_t kLightCrossbow = 11;
constexpr int32_t kProvokingArrow = 33;

bool InMap(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

TurnOrderEntry* EntryOf(int creature) {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i)
    if (TurnOrder[i].creature == creature) return &TurnOrder[i];
  return nullptr;
}

FighterSlot* SlotOf(int creature) {
  const int32_t s = Creatures[creature].fighterSlot;
  return (s >= 0 && s < kFighterSlots) ? &FighterSlots[s] : nullptr;
}

// The event shown over the fighter while a delay or a readied action is
// announced, and the follow-up that ends its turn.
void AnnounceAndEndTurn(int creature, const char* text, int32_t ended, int32_t sound) {
  ShowFloatingText(creature, text);
  ScreenMode = 0;
  ClearCombatEvents();
  CombatEvents[0] = CombatEvent{};
  CombatEvents[0].type = kEventFreed;
  CombatEvents[0].creature = creature;
  CombatEvents[0].sound = sound;
  PlaybackCreature = creature;
  PlaybackFramesLeft = FramesPerEvent;
  ScrollTo(creature, -1, -1);
  QueuedActionCode = -1;
  QueuedScreenMode = -1;
  QueuedCombatState = kStateNextFighter;
  CombatAction.actionCode = kActionEnd;
  CombatAction.endedActionCode = ended;
  ActionBarMode = 1;
  CombatState = kStateActionUnderWay;
}

bool Has(int c, uint32_t id) { return FindCondition(c, id) >= 0; }

// Undead of the other side count unless cowering; the creature itself and
// undead of its own side unless bolstered.
bool Turnable(int creature, int o) {
  if (Creatures[o].type != kTypeUndead) return false;
  const int32_t a = Creatures[creature].allegiance, b = Creatures[o].allegiance;
  const bool own = o == creature || (IsPartyAllegiance(a) && IsPartyAllegiance(b)) ||
                   (a == kAllegianceEnemy && b == kAllegianceEnemy);
  return own ? !Has(o, kCondBolstered) : !Has(o, kCondCowering);
}

bool OwnSide(int creature, int o) {
  const int32_t a = Creatures[creature].allegiance, b = Creatures[o].allegiance;
  return o == creature || (IsPartyAllegiance(a) && IsPartyAllegiance(b)) ||
         (a == kAllegianceEnemy && b == kAllegianceEnemy);
}

// Lays the area of the spell from the creature toward each open square of
// its ring, in x-major order; visit(x, y) returns true to stop. The facing is
// kept.
template <typename Visit>
void ForEachDirection(int creature, bool cone, int spell, Visit visit) {
  const int32_t facing = Creatures[creature].facing;
  MarkAdjacentSquares(creature);
  static int32_t ring[kMapSquares];
  std::copy(std::begin(AdjacencyGrid), std::end(AdjacencyGrid), std::begin(ring));
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      const int i = SquareIndex(x, y);
      if (ring[i] == 0 || BlockedGrid[i] == kSquareBlocked) continue;
      int32_t direction = 0, near[2] = {0, 0};
      if (cone)
        RasteriseCone(creature, x, y, spell, &direction);
      else
        RasteriseLine(creature, x, y, spell, &direction, near);
      if (visit(x, y)) {
        Creatures[creature].facing = facing;
        return;
      }
    }
  Creatures[creature].facing = facing;
}

template <typename Visit>
void ForAreaTargets(Visit visit) {
  for (int32_t c : AreaTargetList) {
    if (c == -1) break;
    if (IsValidCreature(c)) visit(c);
  }
}

}  // namespace

int SendCpuMoving(int creature, int x, int y, int noStep) {
  if (!IsValidCreature(creature)) return 1;
  CreatureRecord& c = Creatures[creature];
  SpellCaster = -1;
  if (TurnOrderEntry* e = EntryOf(creature)) e->plannedAction = 0;
  CombatState = kStateActionUnderWay;
  FighterSlot* slot = SlotOf(creature);
  if (slot && slot->pathIndex >= 0 && CheckMagicFireCasting(creature, slot->pathX[0], slot->pathY[0])) return 1;
  int32_t stepCost = 0;
  if (slot && slot->pathIndex >= 0 && InMap(slot->pathX[1], slot->pathY[1]) &&
      FindCreaturePath(creature, c.squareX, c.squareY, slot->pathX[1], slot->pathY[1], 1, 1, 0, 0, nullptr,
                       nullptr) == kPathFound)
    stepCost = PathCostFeet;
  const int found = FindCreaturePath(creature, c.squareX, c.squareY, x, y, 1, 1, 0, 0, nullptr, nullptr);
  if (found != kPathFound) stepCost = std::max(stepCost, PathCostFeet);
  const bool nextToGoal = std::abs(x - c.squareX) <= 1 && std::abs(y - c.squareY) <= 1;
  const int firstX = slot ? slot->pathX[0] : x, firstY = slot ? slot->pathY[0] : y;
  if (noStep == 0 && MayTakeFiveFootStep(creature) &&
      !IsDiagonalStepBlocked(creature, firstX, c.squareY, c.squareX, firstY) &&
      (nextToGoal || CombatAction.movesLeft < stepCost)) {
    LogMessage("\xA3%.15s\xA3 takes a five-foot step.\r\r", c.name);
    ShowFloatingText(creature, "5-foot step");
    CombatAction.actionCode = kActionFiveFootStep;
    c.destinationX = c.destinationY = -1;
    if (slot) slot->pathIndex = -1;
  } else {
    CombatAction.actionCode = kActionWalk;
  }
  c.nextX = firstX;
  c.nextY = firstY;
  MovementPlaybackActive = 1;
  if (slot) slot->pathIndex = 1;
  SetCreatureFacing(creature);
  CreatureMarkWords[creature] = 0;
  if (DebugMode == 1) LogMessage("StrictScroll to %i - %i - %i\r", creature, x, y);
  StrictScrollTo(creature, -1, -1);
  if (CombatAction.actionCode == kActionWalk) {
    BuildThreatGrid(creature, 0);
    if (InMap(c.squareX, c.squareY) && ArrowGrid[SquareIndex(c.squareX, c.squareY)] % 100 == kProvokingArrow) {
      // The first enemy reacts before the first step; the chain then goes
      // on to every other enemy threatening the square left.
      const int reactor = FindThreateningEnemy(creature, c.squareX, c.squareY);
      if (reactor >= 0) {
        CombatAction.reactingCreature = reactor;
        CombatAction.movementProvokes = 1;
        ContinueOpportunityChain = 1;
        ReactionPending = 1;
      }
    }
  }
  CpuMoveIssued = 1;
  return 1;
}

int IssueEscape() {
  CombatActionState& a = CombatAction;
  if (!(a.fullRoundActionLeft == 1 || (a.singleActionTurn && a.standardActionLeft == 1))) {
    CombatState = kStateNextFighter;
    return 0;
  }
  if (InCombat == 1) {
    a.moveActionLeft = a.fullRoundActionLeft = a.standardActionLeft = 0;
    a.movementClosed = 1;
  }
  a.fiveFootStepLeft = 0;
  a.actionCode = kActionEscape;
  CombatState = kStatePlayerTurn;
  return 1;
}

int TryDelayTurn() {
  const int creature = CurrentFighter();
  if (!IsValidCreature(creature) || DisruptionTarget != -1) return 0;
  if (FindAnyCondition(creature, kCondConfused, kCondInsane, kCondSleeping, kCondParalyzed, kCondGrappling,
                       kCondDancing, kCondStunned, kCondCowering, kCondDazed, kCondNauseated) >= 0)
    return 0;
  const int index = CurrentTurnIndex;
  if (index < 0 || index >= TurnEntryCount - 1) return 0;
  const CombatActionState& a = CombatAction;
  if (a.fullRoundActionLeft != 1 || a.standardActionLeft != 1 || a.fiveFootStepLeft != 1) return 0;
  if (TurnOrder[index].joinedThisRound) return 0;
  LogMessage("\xA3%s\xA3 chooses to wait.\r\r", Creatures[creature].name);
  TurnOrderEntry moved = TurnOrder[index];
  for (int i = index; i + 1 < TurnEntryCount; ++i) TurnOrder[i] = TurnOrder[i + 1];
  moved.joinedThisRound = 1;
  moved.plannedAction = moved.plannedTarget = moved.plannedParameter = 0;
  TurnOrder[TurnEntryCount - 1] = moved;
  CurrentTurnIndex = index - 1;
  if (DebugMode == 1) LogMessage("Scroll to %i - %i - %i\r", creature, -1, -1);
  AnnounceAndEndTurn(creature, "Delays Turn", 30, 0);
  return 1;
}

int TryReadyVersusApproach() {
  const int creature = CurrentFighter();
  const bool refused =
      !IsValidCreature(creature) || DisruptionTarget != -1 ||
      FindAnyCondition(creature, kCondUnarmed, kCondConfused, kCondInsane, kCondSleeping, kCondParalyzed) >= 0 ||
      FindAnyCondition(creature, kCondPetrified, kCondGrappling, kCondDancing, kCondStunned, kCondCowering, kCondDazed,
                       kCondNauseated) >= 0 ||
      ListAdjacentEnemies(creature, 1) || CombatAction.standardActionLeft != 1;
  if (refused) {
    CombatState = kStateNextFighter;
    return 0;
  }
  LogMessage("\xA3%s\xA3 gets ready to attack anyone who approaches.\r\r", Creatures[creature].name);
  TurnOrderEntry& e = TurnOrder[CurrentTurnIndex];
  e.plannedAction = kPlanReadiedAttack;
  e.plannedTarget = e.plannedParameter = 0;
  AnnounceAndEndTurn(creature, "Ready Versus Approach", 31, kSoundReady);
  return 1;
}

bool NeedsCrossbowReload(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const uint32_t code = c.equipment[kSlotRanged - 1];
  if (!IsCraftedCode(code)) return false;
  const CraftedWeaponRecord& w = CraftedWeapons[code];
  if (w.itemType != kHeavyCrossbow && w.itemType != kLightCrossbow) return false;
  return w.charges == 0 && c.ammunition.code != 0 && c.ammunition.count != 0;
}

int ReloadCrossbowIfNeeded(int creature) {
  if (!IsValidCreature(creature) || Has(creature, kCondGrappling) || !NeedsCrossbowReload(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  const CombatActionState& a = CombatAction;
  const bool heavy = CraftedWeapons[c.equipment[kSlotRanged - 1]].itemType == kHeavyCrossbow;
  const bool rapid = c.feats[heavy ? kFeatRapidReloadHeavy : kFeatRapidReloadLight] != 0;
  bool reload;
  if (!heavy && rapid)
    reload = true;
  else if (!heavy || rapid)
    reload = a.moveActionLeft == 1 || a.standardActionLeft == 1;
  else
    reload = a.fullRoundActionLeft == 1 || (a.singleActionTurn && a.standardActionLeft == 1);
  if (!reload) {
    CombatState = kStateNextFighter;
    return 1;
  }
  CombatState = kStatePlayerTurn;
  CombatAction.actionCode = kActionReload;
  return 1;
}

int CountTurnableUndead(int creature) {
  if (!IsValidCreature(creature)) return 0;
  int n = 0;
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const int o = TurnOrder[i].creature;
    if (IsValidCreature(o) && Turnable(creature, o)) ++n;
  }
  return n;
}

int BestTurnUndeadScore(int creature) {
  if (!IsValidCreature(creature)) return 0;
  int best = 0;
  ForEachDirection(creature, true, kSpellTurnUndead, [&](int, int) {
    int score = 0;
    ForAreaTargets([&](int o) {
      if (Creatures[o].type != kTypeUndead) return;
      if (OwnSide(creature, o))
        score += Has(o, kCondBolstered) ? 0 : Has(o, kCondCowering) ? 12 : 5;
      else
        score += Has(o, kCondCowering) ? 0 : Has(o, kCondBolstered) ? 5 : 12;
    });
    best = std::max(best, score);
    return false;
  });
  std::fill(std::begin(CreatureMarkWords), std::end(CreatureMarkWords), 0);
  return best;
}

int BestTurnUndeadCount() {
  const int creature = SpellCaster;
  if (!IsValidCreature(creature)) return 0;
  int best = 0;
  ForEachDirection(creature, true, kSpellTurnUndead, [&](int, int) {
    int count = 0;
    ForAreaTargets([&](int o) { count += Turnable(creature, o) ? 1 : 0; });
    best = std::max(best, count);
    return false;
  });
  return best;
}

int CanBreatheUsefully() {
  const int actor = SpellCaster;
  if (!IsValidCreature(actor)) return 0;
  const int32_t kind = Creatures[actor].special[kSpecialAttackKind];
  const bool cone = (kind >= 1 && kind <= 11) || kind == 23;
  const bool mustHitTarget = DisruptionTarget != -1 && ((kind >= 1 && kind <= 5) || (kind >= 12 && kind <= 16));
  const int code = BreathWeaponImmunityCode1();
  bool useful = false;
  ForEachDirection(actor, cone, kSpellSpecialAttack, [&](int, int) {
    int enemies = 0, allies = 0;
    bool targetHit = false;
    ForAreaTargets([&](int o) {
      if (code > 0) {
        const int response = GetProtectionValue(o, code);
        if (response == 1 || response == 5) return;
      }
      if (((kind == 6 || kind == 17) && (Has(o, kCondSleeping) || Has(o, kCondDancing))) ||
          ((kind == 7 || kind == 18) && Has(o, kCondSlowed)) || ((kind == 8 || kind == 19) && Has(o, kCondParalyzed)))
        return;
      if (OwnSide(actor, o)) {
        ++allies;
      } else {
        ++enemies;
        targetHit = targetHit || o == DisruptionTarget;
      }
    });
    if (mustHitTarget && !targetHit) return false;
    const bool tolerates = Creatures[actor].scriptWords[kScriptWordAcceptsAllies] == 1 && enemies >= allies;
    useful = enemies >= 1 && (allies == 0 || tolerates);
    return useful;
  });
  return useful ? 1 : 0;
}

void MarkWandForCasting() {
  CastingFromItem = 1;
  CastingWand = 1;
  CastingItem = IsValidCreature(SpellCaster) ? Creatures[SpellCaster].equipment[kSlotRightHand - 1] : 0;
}

void ResetMissileState() {
  MissileState.velocityX = MissileState.velocityY = 0;
  MissileState.pixelX = MissileState.pixelY = 0;
  MissileState.targetX = MissileState.targetY = 0;
  MissileState.aimX = 0;
}
