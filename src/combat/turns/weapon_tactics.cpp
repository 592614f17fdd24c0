// The weapon tactics of a computer fighter: getting into a shooting position
// and shooting, the readied action against spellcasting, the grapple, and
// the melee attack with its repositioning, whirlwind and bull rush.
#include <algorithm>
#include <cstdlib>

#include "combat/actions/attack_actions.h"
#include "combat/actions/action_executor.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/best_square.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/decision_services.h"
#include "combat/turns/melee_grid.h"
#include "combat/turns/position_grids.h"
#include "combat/turns/spell_choice.h"
#include "combat/turns/tactic_steps.h"
#include "combat/turns/tactics.h"
#include "combat/turns/target_choice.h"
#include "creatures/control_tendencies.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/line_of_effect.h"
#include "map/path_finding.h"
#include "rules/adjacency.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/fighter_slots.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kPlanRanged = 2;
constexpr int32_t kHeavyCrossbow = 10;
constexpr int32_t kEscapeSource = 18;
constexpr double kMostReadyShare = 45.0;

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }
bool Has(int c, uint32_t id) { return HasCondition(c, id); }
bool Unarmed(int c) { return Has(c, kCondUnarmed); }
int GrapplePartner(int c) { return ConditionValue(c, kCondGrappling); }

AttackProfile Profile;

void Issue(int fighter, int target, int32_t code) {
  ActingCreature = fighter;
  ActionTarget = target;
  CombatAction.actionCode = code;
  CombatState = kStateActionUnderWay;
  CpuMoveIssued = 0;
}

// A Paralyzed fighter escapes a paralysis it can break (source 18 with a
// value), else its turn ends.
void EscapeParalysisOrWait() {
  const int fighter = CurrentFighter();
  const int i = FindCondition(fighter, kCondParalyzed);
  const ConditionEntry* e = i >= 0 ? &Creatures[fighter].conditions[i] : nullptr;
  if (e && e->source == kEscapeSource && e->value > 0) IssueEscape();
  else CombatState = kStateNextFighter;
}

// The grappling fighter attacks its partner while its grapple attacks go
// on; with its standard action spent (its grapple attacks made) the turn
// ends; else it escapes on its escape roll or starts its grapple attacks.
void GrappleOrEscape(int fighter) {
  const int partner = GrapplePartner(fighter);
  if (GrappleSequenceOpen) {
    Issue(fighter, partner, kActionNextAttack);
    return;
  }
  if (CombatAction.standardActionLeft == 0) {
    CombatState = kStateNextFighter;
    return;
  }
  if (RollPercent(Creatures[fighter].behaviour[kBehaviourCasting])) {  // its escape percentage
    CombatState = kStatePlayerTurn;
    SettleMoveAfterAction();
    CombatAction.actionCode = kActionEscape;
    CpuMoveIssued = 0;
    return;
  }
  Issue(fighter, partner, kActionNextAttack);
}

// At least one other friend of its side not helpless, and at most 45 per
// cent of them already readied against spellcasting.
bool ReadinessShareAllows(int fighter) {
  if (!HasAllyNotHelpless(fighter)) return false;
  const int allies = CountAllies(fighter);
  return allies > 0 && 100.0 * CountAlliesHoldingReady(fighter) / allies <= kMostReadyShare;
}

bool MayReadyVersusSpell(int fighter) {
  const CombatActionState& a = CombatAction;
  if (DisruptionTarget != -1 || a.standardActionLeft == 0 || NeedsCrossbowReload(fighter)) return false;
  if (!RollPercent(Creatures[fighter].behaviour[kBehaviourSpellAttack]) || !ReadinessShareAllows(fighter))
    return false;
  if (FindAnyCondition(fighter, kCondConfused, kCondInsane, kCondSleeping, kCondParalyzed, kCondPetrified,
                       kCondGrappling, kCondDancing, kCondDazed, kCondStunned, kCondCowering, kCondNauseated) >= 0)
    return false;
  return true;
}

// The helpless target is struck in melee rather than shot: a move to a
// square beside it (true), or the end of the turn when the fighter could
// not get there and the target sleeps. False: shoot it after all.
bool StrikeHelplessInstead(int fighter, const TacticFlags& f, int target, const char* number) {
  if (f.canMove) {
    BuildMeleeValuationGrid(fighter, -1, 0, 0, 1);
    const int64_t square = ExtractBestSquare(fighter, 0, nullptr);
    if (square != kNoSquare) {
      MoveFighterTo(fighter, square, number);
      return true;
    }
  }
  BuildMeleeValuationGrid(fighter, -1, 0, 0, 0);
  uint8_t kept = 0;
  ExtractBestSquare(fighter, 0, &kept);
  if (kept == 0 && Has(target, kCondSleeping)) {
    if (!f.canMove && Has(fighter, kCondStuck)) IssueEscape();
    else CombatState = kStateNextFighter;
    return true;
  }
  return false;
}

// The square reached by the melee grid within the fighter's speed, from
// which an enemy would be adjacent; kNoSquare none.
int64_t MeleeSquareWithinSpeed(int fighter) {
  BuildMeleeValuationGrid(fighter, -1, 0, 0, 1);
  const int64_t square = ExtractBestSquare(fighter, 0, nullptr);
  if (square == kNoSquare) return kNoSquare;
  const int x = SquareXOf(square), y = SquareYOf(square);
  if (!CanWalkThisTurn(fighter, x, y) || PathCostFeet > Creatures[fighter].speed.current) return kNoSquare;
  return HasAdjacentEnemyAt(fighter, x, y) ? square : kNoSquare;
}

// The bull-rush square within speed from which a target can be pushed.
int64_t BullRushSquareWithinSpeed(int fighter) {
  BuildMeleeValuationGrid(fighter, -1, 0, 1, 1);
  const int64_t square = ExtractBestSquare(fighter, 0, nullptr);
  if (square == kNoSquare) return kNoSquare;
  CreatureRecord& c = Creatures[fighter];
  const int x = SquareXOf(square), y = SquareYOf(square);
  if (!CanWalkThisTurn(fighter, x, y) || PathCostFeet > c.speed.current) return kNoSquare;
  const int hx = c.squareX, hy = c.squareY;
  c.squareX = x;
  c.squareY = y;
  const int target = FindBullRushTarget(fighter);
  c.squareX = hx;
  c.squareY = hy;
  return target != -1 ? square : kNoSquare;
}

// The grapple of the single-attack path; true when it was issued.
bool TryGrapple(int fighter) {
  const CreatureRecord& c = Creatures[fighter];
  const int32_t percent = c.behaviour[kBehaviourGrapple];
  if (percent <= 0 || Has(fighter, kCondStuck)) return false;
  const int target = ChooseMeleeTarget(fighter, 1);
  if (target == -1 || GetProtectionValue(target, kCodeCannotBeGrappled) == 1 || Has(target, kCondDancing) ||
      Has(target, kCondGrappling))
    return false;
  bool grapple = RollPercent(percent);
  if (!grapple && c.feats[kFeatImprovedGrapple] != 0 && ListAdjacentEnemiesUnfiltered(fighter, 1) > 1)
    grapple = RollPercent(percent);
  if (!grapple) return false;
  SettleMoveAfterAction();
  Issue(fighter, target, kActionGrapple);
  return true;
}

// An armed fighter without its full-round action does not strike a sleeping
// target: the planned target is cleared and the turn ends.
bool LeavesSleeperAlone(int fighter, int target) {
  if (!IsSleepingTarget(target) || CombatAction.fullRoundActionLeft != 0 || Unarmed(fighter)) return false;
  SetPlannedAction(fighter, 1, -1, -1);
  CombatState = kStateNextFighter;
  return true;
}

// The attack of the full path: finishing a helpless enemy, a bull rush, a
// grapple or the attack issue.
TacticResult FullPathAttack(int fighter, bool finishHelpless, bool specials) {
  CombatActionState& a = CombatAction;
  const int target = ChooseMeleeTarget(fighter, 0);
  if (target == -1) {
    CombatState = kStateNextFighter;
    return TacticResult::kCommitted;
  }
  if (LeavesSleeperAlone(fighter, target)) return TacticResult::kCommitted;
  CombatState = kStateActionUnderWay;
  SetPlannedAction(fighter, 1, target, -1);
  if (finishHelpless && IsSleepingOrParalyzedTarget(target)) {
    a.fullRoundActionLeft = a.standardActionLeft = a.moveActionLeft = 0;
    a.moved = 1;
    Issue(fighter, target, kActionMeleeAttack);
    return TacticResult::kCommitted;
  }
  if (specials && a.bullRushPlanned && a.standardActionLeft != 0 && !a.attackSequenceOpen) {
    const int pushed = FindBullRushTarget(fighter);
    if (pushed != -1) {
      Issue(fighter, pushed, kActionBullRush);
      return TacticResult::kCommitted;
    }
  }
  if (specials && a.standardActionLeft != 0 && TryGrapple(fighter)) return TacticResult::kCommitted;
  IssueMeleeAttack(fighter, target);
  return TacticResult::kCommitted;
}

bool FinishesHelpless(int fighter) {
  if (CombatAction.fullRoundActionLeft == 0 || Unarmed(fighter)) return false;
  ListAdjacentEnemies(fighter, 0);
  return AnyAdjacentHelpless();
}

}  // namespace

TacticResult ApproachToShoot(int fighter, const TacticFlags& f) {
  const CreatureRecord& c = Creatures[fighter];
  const uint32_t weapon = c.equipment[kSlotRanged - 1];
  if (IsCraftedCode(weapon) && CraftedWeapons[weapon].itemType == kHeavyCrossbow &&
      c.feats[kFeatRapidReloadHeavy] == 0 && CombatAction.fullRoundActionLeft != 0 && ReloadCrossbowIfNeeded(fighter))
    return TacticResult::kReturn;

  if (f.canMove) {
    BuildRangedValuationGrid(fighter);
    const int64_t square = ExtractBestSquare(fighter, 0, nullptr);
    if (square != kNoSquare && CanWalkThisTurn(fighter, SquareXOf(square), SquareYOf(square))) {
      const int target = ChooseBestRangedTarget(fighter);
      if (target != -1 && IsSleepingOrParalyzedTarget(target) && !Unarmed(fighter)) {
        BuildMeleeValuationGrid(fighter, -1, 0, 0, 1);
        const int64_t melee = ExtractBestSquare(fighter, 0, nullptr);
        if (melee != kNoSquare) {
          MoveFighterTo(fighter, melee, "12");
          return TacticResult::kCommitted;
        }
      }
      MoveFighterTo(fighter, square, "1.");
      return TacticResult::kCommitted;
    }
  }

  if (ListRangedTargets(fighter, 0)) {
    SetPlannedAction(fighter, kPlanRanged, -1, -1);
    return TacticResult::kDispatchAgain;
  }

  if (f.canMove && IsValidCreature(NearestFoe)) {
    const CreatureRecord& e = Creatures[NearestFoe];
    const int slot = c.fighterSlot;
    if (slot >= 0 && slot < kFighterSlots &&
        FindCreaturePath(fighter, c.squareX, c.squareY, e.squareX, e.squareY, 1, 1, 0, 0, nullptr, nullptr) ==
            kPathFound) {
      const GridSquare aim = NearestFootprintSquare(NearestFoe, c.squareX, c.squareY);
      // The walk is kept apart: the walk tests below lay paths of their own
      // in the fighter slot.
      static int32_t walkX[kPathLength], walkY[kPathLength];
      const int steps = std::min<int>(PathLength, kPathLength);
      std::copy(FighterSlots[slot].pathX, FighterSlots[slot].pathX + steps, walkX);
      std::copy(FighterSlots[slot].pathY, FighterSlots[slot].pathY + steps, walkY);
      const int32_t range = IsCraftedCode(weapon) ? CraftedWeapons[weapon].range : 0;
      for (int k = 0; k < steps; ++k) {
        bool inSight = false;
        for (int y = walkY[k]; y < walkY[k] + c.footprintHeight.current && !inSight; ++y)
          for (int x = walkX[k]; x < walkX[k] + c.footprintWidth.current && !inSight; ++x) {
            const int dx = std::abs(x - aim.x), dy = std::abs(y - aim.y);
            inSight = 5 * std::max(dx, dy) + 2 * std::min(dx, dy) <= range && FindCover(x, y, aim.x, aim.y, 0);
          }
        if (!inSight || !CanWalkThisTurn(fighter, walkX[k], walkY[k])) continue;
        MoveFighterTo(fighter, PackSquare(walkX[k], walkY[k]), "2");
        return TacticResult::kCommitted;
      }
    }
  }
  if (!f.canMove && Has(fighter, kCondStuck)) {
    IssueEscape();
    return TacticResult::kCommitted;
  }
  return TacticResult::kWaitTactics;
}

TacticResult ShootTarget(int fighter, const TacticFlags& f) {
  CombatActionState& a = CombatAction;
  if (Has(fighter, kCondParalyzed)) {
    EscapeParalysisOrWait();
    return TacticResult::kCommitted;
  }
  if (Has(fighter, kCondGrappling)) {
    GrappleOrEscape(fighter);
    return TacticResult::kCommitted;
  }
  if (MayReadyVersusSpell(fighter) && ListEnemyCastersInReach(fighter, 1, -1)) {
    const int caster = ChooseRangedTarget(fighter);
    if (caster != -1) {
      ReadyAgainstSpellcasting(fighter, caster);
      return TacticResult::kCommitted;
    }
  }

  BuildAttackProfile(&Profile, fighter, SecondTactic, -1, 0, 0);
  const int entry = FirstRangedEntry(Profile);
  const bool oneShot = entry < 0 || Profile.entries[entry].attackCount.total <= 1;
  if (oneShot) {
    if (a.standardActionLeft == 0) {
      if (f.canMove) {
        BuildRangedValuationGrid(fighter);
        const int64_t square = ExtractBestSquare(fighter, 0, nullptr);
        const CreatureRecord& c = Creatures[fighter];
        if (square != kNoSquare && !(SquareXOf(square) == c.squareX && SquareYOf(square) == c.squareY)) {
          MoveFighterTo(fighter, square, "6");
          return TacticResult::kCommitted;
        }
      }
      // The reload takes what is left of the turn; without one the turn ends.
      if (!ReloadCrossbowIfNeeded(fighter)) CombatState = kStateNextFighter;
      return TacticResult::kCommitted;
    }
    if (ReloadCrossbowIfNeeded(fighter)) return TacticResult::kReturn;
    const int target = ChooseBestRangedTarget(fighter);
    if (target == -1) {
      CombatState = kStateNextFighter;
      return TacticResult::kCommitted;
    }
    if (IsSleepingOrParalyzedTarget(target) && !Unarmed(fighter) && StrikeHelplessInstead(fighter, f, target, "10"))
      return TacticResult::kCommitted;
    Issue(fighter, target, kActionShot);
    SetPlannedAction(fighter, kPlanRanged, target, -1);
    return TacticResult::kCommitted;
  }

  if (f.canMove && a.fiveFootStepLeft == 1) {
    BuildRangedValuationGrid(fighter);
    const int64_t square = ChooseNeighbourSquare(fighter, true, false);
    if (square != kNoSquare) {
      MoveFighterTo(fighter, square, "7");
      return TacticResult::kCommitted;
    }
  }
  if (ReloadCrossbowIfNeeded(fighter)) return TacticResult::kReturn;
  const int target = ChooseBestRangedTarget(fighter);
  if (target == -1) {
    CombatState = kStateNextFighter;
    return TacticResult::kCommitted;
  }
  if (IsSleepingOrParalyzedTarget(target) && !Unarmed(fighter) && StrikeHelplessInstead(fighter, f, target, "11"))
    return TacticResult::kCommitted;
  // The next shot of the full ranged attack while the round or the open
  // shooting sequence allows it, one shot with the standard action, else the
  // turn is over: the shooter stops after its shots.
  IssueShot(fighter, target);
  return TacticResult::kCommitted;
}

TacticResult AttackInMelee(int fighter, const TacticFlags& f) {
  CombatActionState& a = CombatAction;
  const CreatureRecord& c = Creatures[fighter];

  if (Has(fighter, kCondGrappling)) {
    const int partner = GrapplePartner(fighter);
    int supporting = 0;
    for (int i = 0; i < TurnCount(); ++i) {
      const int o = TurnOrder[i].creature;
      if (!IsValidCreature(o) || o == fighter || AreEnemies(fighter, o)) continue;
      const int32_t code = TurnOrder[i].plannedAction;
      const bool planned = TurnOrder[i].plannedTarget == partner &&
                           (code == 1 || code == 2 || code == 5 || (code >= 12 && code <= 16) || code == 19 || code == 20);
      const bool beside = !IsHelplessTarget(o, 1) &&
                          FindAnyCondition(o, kCondDazed, kCondConfused, kCondInsane, kCondSurprised) < 0 &&
                          AreAdjacent(o, partner);
      if (planned || beside) ++supporting;
    }
    if (GrappleSequenceOpen) {
      Issue(fighter, partner, kActionNextAttack);
    } else if (a.standardActionLeft == 0) {
      CombatState = kStateNextFighter;
    } else if (RollPercent(c.behaviour[kBehaviourCasting])) {  // its escape percentage
      CombatState = kStatePlayerTurn;
      SettleMoveAfterAction();
      a.actionCode = kActionEscape;
      CpuMoveIssued = 0;
    } else if (RollPercent(c.behaviour[kBehaviourGrapple2]) && GetProtectionValue(partner, kCodeCannotBePinned) != 1 &&
               !Has(partner, kCondPinned) && supporting >= 1) {  // its pin percentage
      SettleMoveAfterAction();
      Issue(fighter, partner, kActionPin);
    } else {
      Issue(fighter, partner, kActionNextAttack);
    }
    return TacticResult::kCommitted;
  }

  BuildAttackProfile(&Profile, fighter, SecondTactic, -1, 0, 0);
  const int32_t second = Profile.entries[1].kind;
  const bool singleAttack =
      Profile.entries[0].attackCount.total == 1 && (second == kEntryRanged || second == kEntryNone);
  const bool finishHelpless = FinishesHelpless(fighter);
  FinishHelpless = finishHelpless ? 1 : 0;

  bool attackNow = false;  // straight to the attack, past the moves
  if (!(finishHelpless && DisruptionTarget == -1)) {
    // A fighter that would rather shoot steps back first.
    if (f.canMove && a.fiveFootStepLeft == 1 && f.hasRangedAttack && !a.attackSequenceOpen &&
        PrefersRangedAttack(fighter) && CanTakeFiveFootStep(fighter)) {
      BuildRangedValuationGrid(fighter);
      const int64_t square = ChooseNeighbourSquare(fighter, true, true);
      if (square != kNoSquare) {
        MoveFighterTo(fighter, square, "9b");
        return TacticResult::kCommitted;
      }
    }
    if (DisruptionTarget != -1 && f.hasRangedAttack && a.standardActionLeft != 0) {
      const int target = ChooseBestRangedTarget(fighter);
      if (target != -1 && !Has(target, kCondSleeping)) {
        Issue(fighter, target, kActionShot);
        return TacticResult::kCommitted;
      }
    }
    if (!finishHelpless && !a.whirlwindPlanned && !a.attackSequenceOpen && f.canMove) {
      const bool fresh = !ProvokesAttackOfOpportunity(fighter, c.squareX, c.squareY, 1) && !a.singleActionTurn &&
                         a.movesLeft == 2 * c.speed.current && a.fullRoundActionLeft != 0;
      bool repositioned = false;
      if (fresh) {
        if (a.bullRushPlanned) {
          const int64_t square = BullRushSquareWithinSpeed(fighter);
          if (square != kNoSquare) {
            TacticTrace("DEBUG - Moving for bullrush (b)\r");
            MoveFighterTo(fighter, square, nullptr);
            return TacticResult::kCommitted;
          }
        }
        if (singleAttack) {
          if (Charge(fighter, f) == TacticResult::kCommitted) return TacticResult::kCommitted;
          const int64_t square = MeleeSquareWithinSpeed(fighter);
          if (square != kNoSquare) {
            MoveFighterTo(fighter, square, "3x");
            return TacticResult::kCommitted;
          }
          attackNow = true;
          repositioned = true;
        }
      }
      if (!repositioned && AnyBadlyWoundedEnemy(fighter)) {
        const int64_t square = MeleeSquareWithinSpeed(fighter);
        if (square != kNoSquare) {
          MoveFighterTo(fighter, square, "3y");
          return TacticResult::kCommitted;
        }
      }
    }
  }

  if (!attackNow && (!singleAttack || finishHelpless) && f.canMove && a.fiveFootStepLeft == 1) {
    TacticTrace("Checking Valuation grid with Whirlwind \r");
    TacticTrace("Checking Valuation grid with BullRush \r");
    if (finishHelpless && a.fullRoundActionLeft != 0) BuildWhirlwindValuationGrid(fighter, f.adjacentEnemy ? 1 : 0);
    else if (a.whirlwindPlanned && a.fullRoundActionLeft != 0) BuildMeleeValuationGrid(fighter, -1, 1, 0, 1);
    else if (a.bullRushPlanned && a.standardActionLeft != 0) BuildMeleeValuationGrid(fighter, -1, 0, 1, 1);
    else BuildMeleeValuationGrid(fighter, -1, 0, 0, 1);
    const int64_t square = ChooseNeighbourSquare(fighter, true, true);
    if (square != kNoSquare) {
      MoveFighterTo(fighter, square, "9");
      return TacticResult::kCommitted;
    }
  }

  if (a.whirlwindPlanned && a.fullRoundActionLeft != 0 && c.feats[kFeatWhirlwindAttack] != 0 &&
      ListAdjacentEnemiesClockwise(fighter) && CountListed(AdjacentCreatureList, kAdjacentListSize) >= 2) {
    ActingCreature = fighter;
    a.actionCode = kActionWhirlwind;
    CombatState = kStateActionUnderWay;
    ShowFloatingText(fighter, "Whirlwind Attack");
    CpuMoveIssued = 0;
    return TacticResult::kCommitted;
  }

  if (!singleAttack || finishHelpless) return FullPathAttack(fighter, finishHelpless, true);

  if (a.standardActionLeft != 0) {
    TacticTrace("DEBUG - I can take a standard action.\r");
    if (a.bullRushPlanned && !a.attackSequenceOpen && !Has(fighter, kCondStuck)) {
      const int pushed = FindBullRushTarget(fighter);
      if (pushed != -1) {
        Issue(fighter, pushed, kActionBullRush);
        return TacticResult::kCommitted;
      }
    }
    if (TryGrapple(fighter)) return TacticResult::kCommitted;
    const int target = ChooseMeleeTarget(fighter, 0);
    if (target == -1) {
      CombatState = kStateNextFighter;
      return TacticResult::kCommitted;
    }
    if (LeavesSleeperAlone(fighter, target)) return TacticResult::kCommitted;
    Issue(fighter, target, kActionMeleeAttack);
    return TacticResult::kCommitted;
  }
  if (!f.canMove) {
    CombatState = kStateNextFighter;
    return TacticResult::kCommitted;
  }
  TacticTrace("DEBUG - I can move. My facing is %i\r", static_cast<int>(c.facing));
  BuildMeleeValuationGrid(fighter, -1, 0, 0, 1);
  const int64_t square = ExtractBestSquare(fighter, 0, nullptr);
  if (square == kNoSquare || (SquareXOf(square) == c.squareX && SquareYOf(square) == c.squareY)) {
    TacticTrace("DEBUG - I choose not to move. My facing is %i\r", static_cast<int>(c.facing));
    CombatState = kStateNextFighter;
    return TacticResult::kCommitted;
  }
  MoveFighterTo(fighter, square, "8");
  return TacticResult::kCommitted;
}

TacticResult AttackAdjacentEnemy(int fighter, const TacticFlags& f) {
  (void)f;
  const bool finishHelpless = FinishesHelpless(fighter);
  FinishHelpless = finishHelpless ? 1 : 0;
  return FullPathAttack(fighter, finishHelpless, false);
}
