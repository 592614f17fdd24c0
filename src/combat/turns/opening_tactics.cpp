// The tactics of a computer fighter before its weapons: waking a sleeping
// friend, leaving a hazard, the alarm, Turn Undead and the breath weapon, the
// action checks of item and innate spells, the charge and the bull-rush
// approach.
#include <algorithm>
#include <cstdlib>

#include "combat/actions/action_executor.h"
#include "combat/resolution/area_targets.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/best_square.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/decision_services.h"
#include "combat/turns/melee_grid.h"
#include "combat/turns/placement_grids.h"
#include "combat/turns/position_grids.h"
#include "combat/turns/support_grids.h"
#include "combat/turns/tactic_steps.h"
#include "combat/turns/tactics.h"
#include "combat/turns/target_choice.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/charge_lines.h"
#include "map/path_finding.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/free_deeds.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "state/camera.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kPlanMelee = 1;
constexpr int32_t kPlanSpell = 5;
constexpr int32_t kNoCost = 10000;

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }

bool Sleeping(int c) { return HasCondition(c, kCondSleeping); }

// The cost of the fighter's path to the creature's square (kNoCost when none).
int32_t PathCostTo(int from, int to) {
  const CreatureRecord& c = Creatures[from];
  if (FindCreaturePath(from, c.squareX, c.squareY, Creatures[to].squareX, Creatures[to].squareY, 1, 1, 0, 0, nullptr,
                       nullptr) == kPathNone)
    return kNoCost;
  return PathCostFeet;
}

// A better square for the cone or line of Turn Undead (998) or the breath
// weapon (999), when the fighter has not moved yet: the move is sent.
bool MoveForBetterCone(int fighter, const TacticFlags& f, int spell) {
  const CreatureRecord& c = Creatures[fighter];
  const CombatActionState& a = CombatAction;
  if (!f.canMove || a.fullRoundActionLeft == 0 || CpuMoveIssued || a.movesLeft != 2 * c.speed.current) return false;
  if (BuildConeSpellGrid(fighter, spell) == kNoSquare) return false;
  const int64_t square = ExtractBestSquare(fighter, 0, nullptr);
  if (square == kNoSquare) return false;
  const int x = SquareXOf(square), y = SquareYOf(square);
  if ((x == c.squareX && y == c.squareY) || !CanWalkThisTurn(fighter, x, y)) return false;
  TacticTrace("Found better position at %i,%i\r", x, y);
  SpellInProgress = -1;
  MoveFighterTo(fighter, square, nullptr);
  return true;
}

void LaunchSpecialCast(int fighter, int spell) {
  SpellInProgress = spell;
  SpellCaster = fighter;
  ScreenMode = kModeCastStart;
  CombatState = kStateActionUnderWay;
  CpuMoveIssued = 0;
}

}  // namespace

TacticResult WakeSleepingAlly(int fighter, const TacticFlags& f) {
  // Waking an ally is a deed of the hands (rules/free_deeds.h).
  if (!MayDo(fighter, kDeedUseItem)) return TacticResult::kFellThrough;
  if (!f.canMove && CombatAction.standardActionLeft == 0) return TacticResult::kFellThrough;
  int sleeper = -1;
  bool adjacent = false;
  for (int i = 0; i < TurnCount() && !adjacent; ++i) {
    const int s = TurnOrder[i].creature;
    if (!IsValidCreature(s) || s == fighter || AreEnemies(fighter, s) || !Sleeping(s)) continue;
    if (AreAdjacent(fighter, s)) {
      sleeper = s;
      adjacent = true;
    }
  }
  int32_t ownCost = kNoCost;
  if (!adjacent) {
    for (int i = 0; i < TurnCount(); ++i) {
      const int s = TurnOrder[i].creature;
      if (!IsValidCreature(s) || s == fighter || AreEnemies(fighter, s) || !Sleeping(s)) continue;
      const int32_t cost = PathCostTo(fighter, s);
      if (cost < ownCost) {
        ownCost = cost;
        sleeper = s;
      }
    }
  }
  if (sleeper == -1) return TacticResult::kFellThrough;

  if (adjacent) {
    if (f.canMove && f.adjacentEnemy && CombatAction.fiveFootStepLeft == 1) {
      BuildWithdrawValuationGrid(fighter, 1);
      const int64_t square = ChooseNeighbourSquare(fighter, false, false);
      if (square != kNoSquare) {
        MoveFighterTo(fighter, square, nullptr);
        return TacticResult::kCommitted;
      }
    }
    if (CombatAction.standardActionLeft == 0) return TacticResult::kFellThrough;
    ActingCreature = fighter;
    ActionTarget = sleeper;
    CombatAction.actionCode = kActionWake;
    CombatState = kStateActionUnderWay;
    CpuMoveIssued = 0;
    return TacticResult::kCommitted;
  }

  if (!f.canMove) return TacticResult::kFellThrough;
  // A friend already beside the sleeper, or nearer to it, wakes it instead.
  for (int i = 0; i < TurnCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == fighter || o == sleeper || AreEnemies(fighter, o) || IsHelplessTarget(o, 1))
      continue;
    if (AreAdjacent(o, sleeper) || PathCostTo(o, sleeper) < ownCost) return TacticResult::kFellThrough;
  }
  BuildWithdrawValuationGrid(fighter, 0);
  const int64_t square = ExtractBestSquare(fighter, 0, nullptr);
  const CreatureRecord& c = Creatures[fighter];
  if (square == kNoSquare || (SquareXOf(square) == c.squareX && SquareYOf(square) == c.squareY))
    return TacticResult::kFellThrough;
  MoveFighterTo(fighter, square, nullptr);
  return TacticResult::kCommitted;
}

TacticResult LeaveHazardArea(int fighter, const TacticFlags& f) {
  if (!LeaveHazard || HazardKindToLeave == 0 || CombatAction.leavingArea != 0 || !f.canMove)
    return TacticResult::kFellThrough;
  if (f.adjacentEnemy && !IsOnBrazierFire(fighter)) return TacticResult::kFellThrough;
  const int64_t exit = FindMagicAreaExit(fighter);
  if (exit == kNoSquare || PathCostFeet > CombatAction.movesLeft) return TacticResult::kFellThrough;
  TacticTrace("DEBUG - Seeking Good Square.\r");
  CombatAction.leavingArea = HazardKindToLeave;
  MoveFighterTo(fighter, exit, nullptr);
  return TacticResult::kCommitted;
}

TacticResult SoundAlarm(int fighter, const TacticFlags& f) {
  const CreatureRecord& c = Creatures[fighter];
  if (DisruptionTarget != -1 || c.behaviour[kBehaviourAlarm] <= 0 || CurrentMap.alarm != 0 ||
      CombatAction.standardActionLeft == 0 || !MayDo(fighter, kDeedUseItem) ||
      FindAnyCondition(fighter, kCondSilenced, kCondMute) >= 0)
    return TacticResult::kFellThrough;
  if (f.adjacentEnemy) {
    BuildGoodSquareGrid(fighter, 0, kStanceKeepWellOff, -1, 0, -1);
    const int64_t square = ExtractBestSquare(fighter, 0, nullptr);
    if (square != kNoSquare && f.canMove && CanWalkThisTurn(fighter, SquareXOf(square), SquareYOf(square))) {
      TacticTrace("DEBUG - Send CPU moving before sounding alarm\r");
      MoveFighterTo(fighter, square, nullptr);
      return TacticResult::kCommitted;
    }
  }
  TacticTrace("DEBUG - sounding the alarm\r");
  SettleMoveAfterAction();
  CombatState = kStatePlayerTurn;
  CombatAction.actionCode = kActionAlarm;
  CpuMoveIssued = 0;
  return TacticResult::kCommitted;
}

TacticResult TurnUndead(int fighter, const TacticFlags& f) {
  CombatActionState& a = CombatAction;
  if (!a.turnUndeadPlanned) return TacticResult::kFellThrough;
  if (a.standardActionLeft == 0) {
    TacticTrace("DEBUG - lack standard action to launch Turn undead\r");
    a.turnUndeadPlanned = 0;
    SpellInProgress = -1;
    return TacticResult::kReturn;
  }
  SpellCaster = fighter;
  PresentFrameNow();
  const int targets = BestTurnUndeadCount();
  if (targets == 0 || Creatures[fighter].displayWords[kDisplayTurnUndeadUses] <= 0) {
    TacticTrace("DEBUG - could not launch turn undead\r");
    a.turnUndeadPlanned = 0;
    SpellInProgress = -1;
    return TacticResult::kReturn;
  }
  TacticTrace("Turn Undead, %i targets found\r", targets);
  if (MoveForBetterCone(fighter, f, kSpellTurnUndead)) return TacticResult::kCommitted;
  if (targets == 1 && CountTurnableUndead(fighter) != 1) {
    TacticTrace("DEBUG - turn undead not good enough from there\r");
    a.turnUndeadPlanned = 0;
    SpellInProgress = -1;
    return TacticResult::kReturn;
  }
  TacticTrace("Found no better position, launching Turn Undead directly\r");
  LaunchSpecialCast(fighter, kSpellTurnUndead);
  a.turnUndeadPlanned = 0;
  return TacticResult::kCommitted;
}

TacticResult BreatheWeapon(int fighter, const TacticFlags& f) {
  CombatActionState& a = CombatAction;
  if (!a.breathPlanned) return TacticResult::kFellThrough;
  if (a.standardActionLeft == 0) {
    TacticTrace("DEBUG - lack standard action to launch breath attack\r");
    a.breathPlanned = 0;
    return TacticResult::kReturn;
  }
  SpellCaster = fighter;
  PresentFrameNow();
  if (MoveForBetterCone(fighter, f, kSpellSpecialAttack)) return TacticResult::kCommitted;
  SpellCaster = fighter;
  if (!CanBreatheUsefully()) {
    TacticTrace("DEBUG - could not launch breath attack\r");
    a.breathPlanned = 0;
    SpellInProgress = -1;
    return TacticResult::kReturn;
  }
  int listed = 0;
  while (listed < kAreaTargetCount && AreaTargetList[listed] != -1) ++listed;
  TacticTrace("Breath Weapon, %i targets found\r", listed);
  TacticTrace("Found no better position, launching breath attack directly\r");
  SettleMoveAfterAction();
  LaunchSpecialCast(fighter, kSpellSpecialAttack);
  a.breathPlanned = 0;
  return TacticResult::kCommitted;
}

TacticResult CheckItemSpellAction(int fighter) {
  CombatActionState& a = CombatAction;
  const CreatureRecord& c = Creatures[fighter];
  int spell = -1;
  uint8_t* plan = nullptr;
  const char* lacking = nullptr;
  const char* passing = nullptr;
  bool returns = true;
  if (a.scriptedSpellPlanned) {
    spell = a.scriptedSpell;
    plan = &a.scriptedSpellPlanned;
    lacking = "DEBUG - lack standard or full action to cast preprogrammed spell.\r";
    passing = "DEBUG - Cast Preprogrammed spell.\r";
    returns = false;
  } else if (a.spellLikePlanned) {
    spell = c.special[kSpecialSpellLike] - 1;
    plan = &a.spellLikePlanned;
    lacking = "DEBUG - lack standard or full action to use spell-like ability.\r";
    passing = "DEBUG - Use Spell-like ability.\r";
  } else if (a.wandPlanned) {
    const uint32_t wand = c.equipment[kSlotRightHand - 1];
    spell = IsCraftedCode(wand) ? CraftedWeapons[wand].spell : -1;
    plan = &a.wandPlanned;
    lacking = "DEBUG - lack standard or full action to use magic wand.\r";
    passing = "DEBUG - Use Magic wand.\r";
  } else {
    return TacticResult::kFellThrough;
  }
  const int32_t time = spell >= 0 && spell < kSpellRows ? SpellTable[spell].castingTime : 0;
  const bool enough = time == 3   ? a.fullRoundActionLeft != 0
                      : time == 2 ? a.standardActionLeft != 0
                      : time == 1 ? a.movesLeft >= c.speed.current
                                  : true;
  if (!enough) {
    TacticTrace(lacking);
    *plan = 0;
    return returns ? TacticResult::kReturn : TacticResult::kFellThrough;
  }
  TacticTrace(passing);
  SetPlannedAction(fighter, kPlanSpell, -1, -1);
  return TacticResult::kFellThrough;
}

TacticResult Charge(int fighter, const TacticFlags& f) {
  (void)f;
  if (!CanCharge(fighter) || ListChargeableEnemies(fighter) < 1) return TacticResult::kFellThrough;
  CreatureRecord& c = Creatures[fighter];
  if (!RollPercent(c.behaviour[kBehaviourCharge])) return TacticResult::kFellThrough;
  const int index = ChooseChargeTarget(fighter);
  if (index < 0) return TacticResult::kFellThrough;
  const int target = TargetCandidateList[index];
  if (!CanReachTargetFrom(Creatures[target].squareX, Creatures[target].squareY, c.squareX, c.squareY))
    return TacticResult::kFellThrough;
  CombatActionState& a = CombatAction;
  a.fiveFootStepLeft = a.fullRoundActionLeft = a.standardActionLeft = 0;
  AddCondition(fighter, kCondCharging, kDurationLasting, 2, 31, 0);
  // The line the charge runs along starts on the fighter's own square.
  const int slot = c.fighterSlot;
  if (slot >= 0 && slot < kFighterSlots) {
    c.nextX = FighterSlots[slot].pathX[1];
    c.nextY = FighterSlots[slot].pathY[1];
    FighterSlots[slot].pathIndex = 2;
  }
  CombatState = kStateActionUnderWay;
  a.actionCode = kActionCharge;
  ActingCreature = fighter;
  ActionTarget = target;
  FaceTowardsCreature(fighter, target);
  ActionBarMode = 0;
  ScrollTo(fighter, -1, -1);
  LogMessage("\xA3%.15s\xA3 charges towards \xA3%s\xA3.\r\r", c.name, Creatures[target].name);
  // The first enemy threatening the square it runs from reacts (the other
  // threatening enemies do not, unlike to its walk or the player's charge).
  const int reactor = FindThreateningEnemy(fighter, c.squareX, c.squareY);
  if (reactor != -1) a.reactingCreature = reactor;
  SetPlannedAction(fighter, kPlanMelee, target, -1);
  CpuMoveIssued = 0;
  return TacticResult::kCommitted;
}

namespace {

int FootprintSide(int32_t side) { return side > 0 ? side : 1; }

// True when no square a single move of the fighter reaches lies beside a
// combatant not of its own side: a square from which it touches the ring of
// another combatant lies in the box round that combatant grown by the
// fighter's footprint, and every step there costs at least five feet (seven
// a diagonal one, and the walk goes round walls).
bool NoneBesideWithinOneMove(int fighter) {
  const CreatureRecord& c = Creatures[fighter];
  const int w = FootprintSide(c.footprintWidth.current), h = FootprintSide(c.footprintHeight.current);
  bool flooded = false;
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == fighter || AreAllies(fighter, o)) continue;
    const CreatureRecord& e = Creatures[o];
    const int x0 = e.squareX - w, x1 = e.squareX + FootprintSide(e.footprintWidth.current);
    const int y0 = e.squareY - h, y1 = e.squareY + FootprintSide(e.footprintHeight.current);
    const int dx = c.squareX < x0 ? x0 - c.squareX : (c.squareX > x1 ? c.squareX - x1 : 0);
    const int dy = c.squareY < y0 ? y0 - c.squareY : (c.squareY > y1 ? c.squareY - y1 : 0);
    if (5 * std::max(dx, dy) > c.speed.current) continue;
    if (!flooded) {
      FloodLeastWalkFrom(fighter);
      flooded = true;
    }
    if (LeastWalkIntoBox(x0, y0, x1, y1) <= c.speed.current) return false;
  }
  return true;
}

}  // namespace

bool BullRushSkipsOutOfReach = true;

TacticResult ApproachToBullRush(int fighter, const TacticFlags& f) {
  const CombatActionState& a = CombatAction;
  CreatureRecord& c = Creatures[fighter];
  if (!f.canMove || !a.bullRushPlanned || a.singleActionTurn || a.movesLeft != 2 * c.speed.current ||
      a.fullRoundActionLeft == 0)
    return TacticResult::kFellThrough;
  PresentFrameNow();
  TacticTrace("DEBUG - Searching for bull rush position\r");
  // The push must start within one move: with nobody to stand beside there,
  // no square of the grid could serve.
  if (BullRushSkipsOutOfReach && InCombat == 1 && NoneBesideWithinOneMove(fighter)) return TacticResult::kFellThrough;
  BuildMeleeValuationGrid(fighter, -1, 0, 1, 1);
  const int64_t square = ExtractBestSquare(fighter, 0, nullptr);
  if (square == kNoSquare) return TacticResult::kFellThrough;
  const int x = SquareXOf(square), y = SquareYOf(square);
  if (!CanWalkThisTurn(fighter, x, y) || PathCostFeet > c.speed.current) return TacticResult::kFellThrough;
  const int hx = c.squareX, hy = c.squareY;
  c.squareX = x;
  c.squareY = y;
  const int target = FindBullRushTarget(fighter);
  c.squareX = hx;
  c.squareY = hy;
  if (target == -1) return TacticResult::kFellThrough;
  TacticTrace("DEBUG - Moving for bullrush\r");
  MoveFighterTo(fighter, square, nullptr);
  return TacticResult::kCommitted;
}
