// Least versions of the computer fighters' special tactics and attacks, spell
// choice, spells for situations and good squares (declared in
// combat/turns/least_services.h): enough for a fighter to close in, shoot,
// strike and finish the helpless, standing until their own work replaces them.
#include <algorithm>
#include <iterator>

#include "combat/turns/adjacency_queries.h"
#include "combat/turns/ai_record_words.h"
#include "combat/turns/best_square.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/computer_orders.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/least_services.h"
#include "combat/turns/melee_grid.h"
#include "combat/turns/position_grids.h"
#include "combat/turns/target_choice.h"
#include "combat/turns/valuation_grid.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "rules/adjacency.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/item_tables.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kActionAttack = 2;
constexpr int32_t kActionNextAttack = 4;
constexpr int32_t kActionShot = 8;
constexpr int32_t kActionNextShot = 10;
constexpr int32_t kActionEscape = 14;
constexpr int32_t kActionWhirlwind = 21;

void Trace(const char* text) {
  if (DebugMode == 1) LogMessage("%s\r", text);
}

int Fighter() { return CurrentFighter(); }
TurnOrderEntry& Entry() { return TurnOrder[CurrentTurnIndex]; }
bool Has(int c, uint32_t id) { return FindCondition(c, id) >= 0; }
int D100() { return RollDice(100, 1, 0, 0); }

void Move(const char* trace, int x, int y) {
  if (trace) Trace(trace);
  SendCpuMoving(Fighter(), x, y, 0);
}

// The best square of the grid just built, when the path to it was kept.
bool BestSquare(int* x, int* y) {
  uint8_t kept = 0;
  const int64_t sq = ExtractBestSquare(Fighter(), 0, &kept);
  if (sq == kNoSquare || !kept) return false;
  *x = SquareXOf(sq);
  *y = SquareYOf(sq);
  return true;
}

// The neighbour choice on the grid just built: the marked square round the
// fighter above its own square's value and above 0, strictly best in x-major
// order, optionally only when a path reaches it this turn and when its
// diagonal step is clear.
bool NeighbourChoice(bool pathTest, bool diagonalTest, int* outX, int* outY) {
  const int f = Fighter();
  const CreatureRecord& c = Creatures[f];
  const int cx = c.squareX, cy = c.squareY;
  MarkNeighbourDirections(cx, cy);
  static int32_t marked[kMapSquares];
  std::copy(std::begin(NeighbourGrid), std::end(NeighbourGrid), std::begin(marked));
  const int32_t own = ValuationGrid[SquareIndex(cx, cy)];
  int32_t best = 0;
  int bx = -1, by = -1;
  for (int x = std::max(0, cx - 1); x <= std::min(kMapSide - 1, cx + 1); ++x)
    for (int y = std::max(0, cy - 1); y <= std::min(kMapSide - 1, cy + 1); ++y) {
      const int i = SquareIndex(x, y);
      if (marked[i] == 0 || ValuationGrid[i] <= own || ValuationGrid[i] <= best) continue;
      if (pathTest && (FindCreaturePath(f, cx, cy, x, y, 1, 1, 0, 0, nullptr, nullptr) == kPathNone || !PathShown))
        continue;
      if (diagonalTest && IsDiagonalStepBlocked(f, cx, cy, x, y)) continue;
      best = ValuationGrid[i];
      bx = x;
      by = y;
    }
  if (best <= 0) return false;
  // The walk to the chosen square is laid again (the search may have moved on).
  FindCreaturePath(f, cx, cy, bx, by, 1, 1, 0, 0, nullptr, nullptr);
  *outX = bx;
  *outY = by;
  return true;
}

bool IsHelplessForShot(int t) {
  return IsValidCreature(t) && FindAnyCondition(t, kCondSleeping, kCondParalyzed) >= 0;
}

void Attack(int32_t code, int target, int32_t plan) {
  ActingCreature = Fighter();
  ActionTarget = target;
  Entry().plannedAction = plan;
  Entry().plannedTarget = target;
  Entry().plannedParameter = -1;
  CombatAction.actionCode = code;
  CombatState = kStateActionUnderWay;
  CpuMoveIssued = 0;
}

// The grappler strikes its partner, breaks free or ends its turn.
void GrapplePartner(int f) {
  const int entry = FindCondition(f, kCondGrappling);
  const int partner = Creatures[f].conditions[entry].value;
  if (CombatAction.grappleAttack) {
    Attack(kActionNextAttack, partner, 1);
  } else if (CombatAction.standardActionLeft != 1) {
    CombatState = kStateNextFighter;
  } else if (D100() <= Creatures[f].behaviour[kAiEscapePercent]) {
    CombatState = kStatePlayerTurn;
    SettleMoveAfterAction();
    CombatAction.actionCode = kActionEscape;
    CpuMoveIssued = 0;
  } else {
    Attack(kActionNextAttack, partner, 1);
  }
}

// The attack on the adjacent enemy chosen by the melee target choice, with
// the rule for the helpless and the sleeping.
void FullPathAttack(int f) {
  const int t = ChooseMeleeTarget(f, 0);
  if (!IsValidCreature(t)) {
    CombatState = kStateNextFighter;
    return;
  }
  if (Has(t, kCondSleeping) && CombatAction.fullRoundActionLeft != 1 && !Has(f, kCondUnarmed)) {
    Entry().plannedTarget = -1;
    CombatState = kStateNextFighter;
    return;
  }
  if (FinishHelpless && IsHelplessTarget(t, 0)) {
    CombatActionState& a = CombatAction;
    a.fullRoundActionLeft = a.standardActionLeft = a.moveActionLeft = 0;
    a.moved = 1;
    Attack(kActionAttack, t, 1);
    return;
  }
  IssueMeleeAttack(t);
}

}  // namespace



bool RunSituationalSpells() { return false; }
bool TryWakeSleeper() { return false; }
bool TryLeaveHazardArea() { return false; }
bool TrySoundAlarm() { return false; }

bool TryTurnUndead() {
  CombatAction.turnUndeadPlanned = 0;
  return false;
}

bool TryBreathWeapon() {
  CombatAction.breathPlanned = 0;
  return false;
}

bool CheckItemSpellActions() {
  const int f = Fighter();
  CombatActionState& a = CombatAction;
  struct Plan {
    uint8_t* flag;
    int spell;
    const char* lack;
    const char* use;
  };
  const uint32_t wand = Creatures[f].equipment[kSlotRightHand - 1];
  const Plan plans[3] = {
      {&a.scriptedSpellPlanned, a.scriptedSpell, "DEBUG - lack standard or full action to cast preprogrammed spell.",
       "DEBUG - Cast Preprogrammed spell."},
      {&a.spellLikePlanned, Creatures[f].special[kSpecialSpellLike] - 1,
       "DEBUG - lack standard or full action to use spell-like ability.", "DEBUG - Use Spell-like ability."},
      {&a.wandPlanned, IsCraftedCode(wand) ? CraftedWeapons[wand].spell : -1,
       "DEBUG - lack standard or full action to use magic wand.", "DEBUG - Use Magic wand."}};
  for (int k = 0; k < 3; ++k) {
    if (*plans[k].flag == 0) continue;
    const int spell = plans[k].spell;
    const int32_t time = (spell >= 0 && spell < kSpellRows) ? SpellTable[spell].castingTime : 0;
    const bool ok = time == 3   ? a.fullRoundActionLeft == 1
                    : time == 2 ? a.standardActionLeft == 1
                    : time == 1 ? a.movesLeft >= Creatures[f].speed.current
                                : true;
    if (!ok) {
      Trace(plans[k].lack);
      *plans[k].flag = 0;
      return k != 0;
    }
    Trace(plans[k].use);
    Entry().plannedAction = 5;
    return false;
  }
  return false;
}

bool RunRangedApproach() {
  const int f = Fighter();
  const CreatureRecord& c = Creatures[f];
  const uint32_t bow = c.equipment[kSlotRanged - 1];
  if (IsCraftedCode(bow) && CraftedWeapons[bow].itemType == 10 && c.feats[kFeatRapidReloadHeavy] == 0 &&
      CombatAction.fullRoundActionLeft == 1 && ReloadCrossbowIfNeeded(f))
    return true;
  int x, y;
  if (Decision.canMove) {
    BuildRangedValuationGrid(f);
    if (BestSquare(&x, &y)) {
      const int t = ChooseBestRangedTarget(f);
      if (IsHelplessForShot(t) && !Has(f, kCondUnarmed)) {
        BuildMeleeValuationGrid(f, -1, 0, 0, 1);
        if (BestSquare(&x, &y)) Move("DEBUG - Send CPU moving #12", x, y);
        else CombatState = kStateNextFighter;
        return true;
      }
      Move("DEBUG - Send CPU moving #1.", x, y);
      return true;
    }
  }
  if (ListRangedTargets(f, 0)) {
    Entry().plannedAction = 2;
    Entry().plannedTarget = -1;
    return false;
  }
  if (!Decision.canMove && Has(f, kCondStuck)) {
    IssueEscape();
    return true;
  }
  RunApproachChain();
  return true;
}

void RunRangedAttack() {
  const int f = Fighter();
  if (Has(f, kCondParalyzed)) {
    const ConditionEntry& p = Creatures[f].conditions[FindCondition(f, kCondParalyzed)];
    if (p.source == 18 && p.value > 0)
      IssueEscape();
    else
      CombatState = kStateNextFighter;
    return;
  }
  if (Has(f, kCondGrappling)) {
    GrapplePartner(f);
    return;
  }
  static AttackProfile profile;
  BuildAttackProfile(&profile, f, SecondTactic, -1, 0, 0);
  const int entry = RangedProfileEntry >= 0 ? RangedProfileEntry : 0;
  const bool oneShot = profile.entries[entry].attackCount.total <= 1;
  int x, y;
  if (oneShot && CombatAction.standardActionLeft != 1) {
    if (Decision.canMove) {
      BuildRangedValuationGrid(f);
      if (BestSquare(&x, &y)) {
        Move("DEBUG - Send CPU moving #6", x, y);
        return;
      }
    }
    if (!ReloadCrossbowIfNeeded(f)) CombatState = kStateNextFighter;
    return;
  }
  if (!oneShot && Decision.canMove && CombatAction.fiveFootStepLeft == 1) {
    BuildRangedValuationGrid(f);
    if (NeighbourChoice(true, false, &x, &y)) {
      Move("DEBUG - Send CPU moving #7", x, y);
      return;
    }
  }
  if (ReloadCrossbowIfNeeded(f)) return;
  const int t = ChooseBestRangedTarget(f);
  if (!IsValidCreature(t)) {
    Entry().plannedAction = 0;
    CombatState = kStateNextFighter;
    return;
  }
  if (IsHelplessForShot(t) && !Has(f, kCondUnarmed)) {
    if (Decision.canMove) {
      BuildMeleeValuationGrid(f, -1, 0, 0, 1);
      if (BestSquare(&x, &y)) {
        Move(oneShot ? "DEBUG - Send CPU moving #10" : "DEBUG - Send CPU moving #11", x, y);
        return;
      }
    }
    BuildMeleeValuationGrid(f, -1, 0, 0, 0);
    uint8_t kept = 0;
    ExtractBestSquare(f, 0, &kept);
    if (!kept && Has(t, kCondSleeping)) {
      if (!Decision.canMove && Has(f, kCondStuck))
        IssueEscape();
      else
        CombatState = kStateNextFighter;
      return;
    }
  }
  if (oneShot)
    Attack(kActionShot, t, 2);
  else
    Attack(kActionNextShot, t, 2);
}

void RunMeleeAttack() {
  const int f = Fighter();
  if (Has(f, kCondGrappling)) {
    GrapplePartner(f);
    return;
  }
  CombatActionState& a = CombatAction;
  static AttackProfile profile;
  BuildAttackProfile(&profile, f, SecondTactic, -1, 0, 0);
  const bool singleAttack = profile.entries[0].attackCount.total == 1 &&
                            (profile.entries[1].kind == kEntryRanged || profile.entries[1].kind == kEntryNone);
  FinishHelpless = 0;
  if (a.fullRoundActionLeft == 1 && !Has(f, kCondUnarmed) && ListAdjacentEnemies(f, 1) && AnyAdjacentHelpless())
    FinishHelpless = 1;
  int x, y;
  if (!(FinishHelpless && DisruptionTarget == -1)) {
    if (Decision.canMove && a.fiveFootStepLeft == 1 && Decision.hasRangedAttack && !a.attackSequenceOpen &&
        PrefersRangedAttack(f) && CanTakeFiveFootStep(f)) {
      BuildRangedValuationGrid(f);
      if (NeighbourChoice(true, true, &x, &y)) {
        Move("DEBUG - Send CPU moving #9b", x, y);
        return;
      }
    }
    if (DisruptionTarget != -1 && Decision.hasRangedAttack && a.standardActionLeft == 1) {
      const int t = ChooseBestRangedTarget(f);
      if (IsValidCreature(t) && !Has(t, kCondSleeping)) {
        Attack(kActionShot, t, 2);
        return;
      }
    }
  }
  if (!singleAttack || FinishHelpless) {
    if (Decision.canMove && a.fiveFootStepLeft == 1) {
      if (FinishHelpless && a.fullRoundActionLeft == 1)
        BuildWhirlwindValuationGrid(f, Decision.adjacentEnemy ? 1 : 0);
      else if (a.whirlwindPlanned && a.fullRoundActionLeft == 1)
        BuildMeleeValuationGrid(f, -1, 1, 0, 1);
      else
        BuildMeleeValuationGrid(f, -1, 0, 0, 1);
      if (NeighbourChoice(true, true, &x, &y)) {
        Move("DEBUG - Send CPU moving #9", x, y);
        return;
      }
    }
  }
  if (a.whirlwindPlanned && a.fullRoundActionLeft == 1 && Creatures[f].feats[kFeatWhirlwindAttack] != 0 &&
      ListAdjacentEnemiesClockwise(f) && ClockwisePairCount >= 2) {
    ActingCreature = f;
    a.actionCode = kActionWhirlwind;
    CombatState = kStateActionUnderWay;
    ShowFloatingText(f, "Whirlwind Attack");
    CpuMoveIssued = 0;
    return;
  }
  if (singleAttack && !FinishHelpless) {
    if (a.standardActionLeft == 1) {
      Trace("DEBUG - I can take a standard action.");
      const int t = ChooseMeleeTarget(f, 0);
      if (!IsValidCreature(t)) {
        CombatState = kStateNextFighter;
        return;
      }
      if (Has(t, kCondSleeping) && a.fullRoundActionLeft != 1 && !Has(f, kCondUnarmed)) {
        Entry().plannedTarget = -1;
        CombatState = kStateNextFighter;
        return;
      }
      Attack(kActionAttack, t, 1);
      return;
    }
    if (Decision.canMove) {
      if (DebugMode == 1) LogMessage("DEBUG - I can move. My facing is %i\r", Creatures[f].facing);
      BuildMeleeValuationGrid(f, -1, 0, 0, 1);
      if (BestSquare(&x, &y)) {
        Move("DEBUG - Send CPU moving #8", x, y);
        return;
      }
      if (DebugMode == 1) LogMessage("DEBUG - I choose not to move. My facing is %i\r", Creatures[f].facing);
    }
    CombatState = kStateNextFighter;
    return;
  }
  FullPathAttack(f);
}

bool TryCharge() { return false; }
bool TryBullRushApproach() { return false; }

void IssueMeleeAttack(int target) {
  CombatActionState& a = CombatAction;
  Attack(0, target, 1);
  if (a.fullRoundActionLeft == 1 || a.attackSequenceOpen == 1) {
    a.fullRoundActionLeft = 0;
    a.attackSequenceOpen = 1;
    a.actionCode = kActionNextAttack;
  } else if (a.standardActionLeft == 1) {
    a.standardActionLeft = 0;
    a.actionCode = kActionAttack;
  } else {
    CombatState = kStateNextFighter;
  }
}

void IssueShot(int target) {
  CombatActionState& a = CombatAction;
  Attack(0, target, 2);
  if (a.fullRoundActionLeft == 1 || a.shootingSequenceOpen == 1) {
    a.fullRoundActionLeft = 0;
    a.shootingSequenceOpen = 1;
    a.actionCode = kActionNextShot;
  } else if (a.standardActionLeft == 1) {
    a.standardActionLeft = 0;
    a.actionCode = kActionShot;
  } else {
    CombatState = kStateNextFighter;
  }
}

