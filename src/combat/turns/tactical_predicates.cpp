#include "combat/turns/tactical_predicates.h"

#include "combat/turns/casting_questions.h"

#include <algorithm>
#include <iterator>
#include <cstdlib>
#include <initializer_list>

#include "combat/actions/casting_checks.h"
#include "combat/actions/displacement.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/special_attacks.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/best_square.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/computer_orders.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/support_grids.h"
#include "combat/turns/target_choice.h"
#include "combat/turns/turn_routines.h"
#include "combat/turns/valuation_grid.h"
#include "creatures/control_tendencies.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/attack_profile.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

namespace {

constexpr uint8_t kSourceSpell = 18;

// "Defensive casting is possible" remembered for the turn: the turn-order
// index it was asked for (-1 none) and the answer.
int32_t g_defensiveAskedFor = -1;
bool g_defensiveAnswer = false;

int EntryCount() { return std::clamp<int>(TurnEntryCount, 0, kTurnOrderEntries); }

bool SameSide(int a, int b) {
  const int32_t sa = Creatures[a].allegiance, sb = Creatures[b].allegiance;
  return (IsPartyAllegiance(sa) && IsPartyAllegiance(sb)) || (sa == kAllegianceEnemy && sb == kAllegianceEnemy);
}
bool OtherSide(int a, int b) {
  const int32_t sa = Creatures[a].allegiance, sb = Creatures[b].allegiance;
  return (IsPartyAllegiance(sa) && sb == kAllegianceEnemy) || (sa == kAllegianceEnemy && IsPartyAllegiance(sb));
}

// Each other creature of the turn order.
template <typename Visit>
void ForOthers(int creature, Visit visit) {
  for (int i = 0; i < EntryCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (IsValidCreature(o) && o != creature) visit(i, o);
  }
}

bool HasSpellCondition(int c, uint32_t id) {
  const int i = FindCondition(c, id);
  return i >= 0 && Creatures[c].conditions[i].source == kSourceSpell;
}

// The squared distance between the nearest footprint squares of a and b, and
// those squares.
int32_t SquaredReach(int a, int b, GridSquare* fromA = nullptr, GridSquare* fromB = nullptr) {
  const GridSquare sa = NearestFootprintSquare(a, Creatures[b].squareX, Creatures[b].squareY);
  const GridSquare sb = NearestFootprintSquare(b, sa.x, sa.y);
  if (fromA) *fromA = sa;
  if (fromB) *fromB = sb;
  const int32_t dx = sa.x - sb.x, dy = sa.y - sb.y;
  return dx * dx + dy * dy;
}

int AiDistance(int x0, int y0, int x1, int y1) {
  const int dx = std::abs(x0 - x1), dy = std::abs(y0 - y1);
  return 5 * std::max(dx, dy) + 2 * std::min(dx, dy);
}

bool InMap(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }

bool AnyCellOfKind(uint32_t kind) {
  for (const SquareEffectCell& cell : MagicAreaGrid)
    if (cell.kind == kind) return true;
  return false;
}

}  // namespace

int CountAllies(int creature) {
  int n = 0;
  if (!IsValidCreature(creature)) return 0;
  ForOthers(creature, [&](int, int o) { n += SameSide(creature, o) ? 1 : 0; });
  return n;
}

int CountAlliesHoldingReady(int creature) {
  int n = 0;
  if (!IsValidCreature(creature)) return 0;
  ForOthers(creature, [&](int i, int o) {
    const int32_t code = TurnOrder[i].plannedAction;
    if (SameSide(creature, o) && (code == 23 || code == 22 || code == 9)) ++n;
  });
  return n;
}

int CountType8Combatants() {
  int n = 0;
  ForOthers(-1, [&](int, int o) { n += Creatures[o].type == kTypeUndead ? 1 : 0; });
  return n;
}

bool HasAllyNotHelpless(int creature) {
  bool found = false;
  if (!IsValidCreature(creature)) return false;
  ForOthers(creature, [&](int, int o) { found = found || (SameSide(creature, o) && !IsHelplessTarget(o, 1)); });
  return found;
}

bool AnyBadlyWoundedEnemy(int creature) {
  bool found = false;
  if (!IsValidCreature(creature)) return false;
  ForOthers(creature, [&](int, int o) {
    const CreatureRecord& e = Creatures[o];
    if (OtherSide(creature, o) && e.maxHitPoints > 0 && e.hitPoints < e.maxHitPoints &&
        e.hitPoints * 100 / e.maxHitPoints < 21)
      found = true;
  });
  return found;
}

bool AnyThreatenedCombatant() {
  bool found = false;
  ForOthers(-1, [&](int, int o) { found = found || IsThreatenedByEnemy(o); });
  return found;
}

bool SomeEnemyBehindBlockingArea(int creature) {
  bool found = false;
  if (!IsValidCreature(creature)) return false;
  ForOthers(creature, [&](int, int o) {
    if (found || !AreEnemies(creature, o)) return;
    GridSquare a, b;
    SquaredReach(creature, o, &a, &b);
    int32_t solid = 0;
    HasLineOfEffect(a.x, a.y, b.x, b.y, &solid);
    if (solid != 0) found = true;
  });
  return found;
}

bool IsAiSpellListed(int spell) {
  static constexpr int kListed[] = {4,   5,   6,   11,  14,  18,  20,  24,  31,  32,  35,  39,  47,  48,
                                    49,  51,  58,  60,  65,  69,  72,  73,  81,  82,  84,  88,  89,  90,
                                    91,  92,  95,  99,  100, 101, 106, 107, 109, 119, 120, 129, 130, 133,
                                    134, 138, 144, 145, 146, 155, 158, 161, 162, 164, 166, 170, 171, 173};
  return std::find(std::begin(kListed), std::end(kListed), spell) != std::end(kListed);
}

bool IsSpellInLevelGroup(int spell, int group) {
  static constexpr std::initializer_list<int> kGroups[10] = {
      {}, {}, {4, 7, 114, 115, 116, 117}, {15, 17, 129, 130}, {31, 36, 39, 136, 138}, {31, 41, 43, 51, 145, 146},
      {41, 57, 58, 59, 60, 157, 159}, {57, 69, 72, 161}, {77, 81, 83, 161}, {87, 88, 171}};
  if (group < 0 || group > 9) return false;
  const std::initializer_list<int>& g = kGroups[group];
  return std::find(g.begin(), g.end(), spell) != g.end();
}

bool HasCastableAiItemSpell(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const int top = MaxSpellLevel(creature);
  for (int level = 1; level <= top; ++level) {
    if (c.spellsLeft[level - 1] <= 0) continue;
    for (int spell = 0; spell < kSpellRows; ++spell)
      if (c.knownSpells[spell] == 1 && SpellTable[spell].level == level && IsAiItemSpell(spell)) return true;
  }
  return false;
}

bool HasProtectiveEffect(int c) {
  if (!IsValidCreature(c)) return false;
  for (uint32_t id : {6u, 21u, 114u, 115u, 116u, 144u, 147u, 151u, 153u, 3u, 12u, 23u, 20u, 16u, 149u, 150u, 18u,
                      2u, 4u, 34u, 33u})
    if (FindCondition(c, id) >= 0) return true;
  for (uint32_t id : {22u, 56u, 35u, 37u, 39u, 38u, 13u})
    if (HasSpellCondition(c, id)) return true;
  return false;
}

int CountDispellableEffects(int c) {
  if (!IsValidCreature(c)) return 0;
  auto any = [c](std::initializer_list<uint32_t> ids) {
    for (uint32_t id : ids)
      if (FindCondition(c, id) >= 0) return 1;
    return 0;
  };
  int n = any({kCondTransformation, kCondIronBody, kCondRighteousMight});
  const int poly = FindCondition(c, kCondPolymorphed);
  if (poly >= 0 && Creatures[c].conditions[poly].value != 42) ++n;
  n += HasSpellCondition(c, kCondMageArmor) ? 1 : 0;
  n += any({kCondInsightful, kCondProtectedVersusEvil, kCondProtectedVersusGood});
  n += any({34, 33});
  n += any({kCondLucky, kCondGoodMorale, kCondHasted, kCondEnlarged});
  n += any({kCondMagicallyConcealed, kCondInvisible, kCondGreaterInvisibility, kCondFireShielded, kCondIceShielded});
  n += any({6, 3, 2, 4});
  if (Creatures[c].name[0] != '\0')
    for (uint32_t id : {22u, 35u, 37u, 39u, 38u, 56u}) n += HasSpellCondition(c, id) ? 1 : 0;
  return n;
}

bool AnyBlockingArea() { return AnyCellOfKind(kEffectSolid); }

bool IsAreaFreeOfWalls(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  MarkNeighbourDirections(c.squareX, c.squareY);
  for (int x = std::max(c.squareX - 1, 0); x <= std::min(c.squareX + 1, kMapSide - 1); ++x)
    for (int y = std::max(c.squareY - 1, 0); y <= std::min(c.squareY + 1, kMapSide - 1); ++y)
      if (NeighbourGrid[SquareIndex(x, y)] != 0 &&
          !IsRectFreeOfWalls(x, y, c.footprintWidth.current, c.footprintHeight.current))
        return false;
  return true;
}

bool NoEnemyOnOpenFloor(int creature) {
  if (!AnyBlockingArea() || !IsValidCreature(creature)) return false;
  bool onFloor = false;
  ForOthers(creature, [&](int, int o) {
    const CreatureRecord& e = Creatures[o];
    if (AreEnemies(creature, o) && InMap(e.squareX, e.squareY) &&
        BlockedGrid[SquareIndex(e.squareX, e.squareY)] == kSquareFlooded)
      onFloor = true;
  });
  return !onFloor;
}

bool IsTrappedByFire(int creature) {
  if (!IsValidCreature(creature) || HasAdjacentEnemy(creature)) return false;
  bool fire = false;
  for (const SquareEffectCell& cell : MagicAreaGrid) fire = fire || (cell.kind == kEffectFire && cell.roundsLeft != 1000);
  if (!fire) return false;
  // The squares an enemy stands on or touches.
  static uint8_t goal[kMapSquares];
  static uint8_t seen[kMapSquares];
  static int32_t queue[kMapSquares];
  std::fill(std::begin(goal), std::end(goal), 0);
  std::fill(std::begin(seen), std::end(seen), 0);
  ForOthers(creature, [&](int, int o) {
    if (!AreEnemies(creature, o)) return;
    const CreatureRecord& e = Creatures[o];
    for (int x = e.squareX - 1; x <= e.squareX + e.footprintWidth.current; ++x)
      for (int y = e.squareY - 1; y <= e.squareY + e.footprintHeight.current; ++y)
        if (InMap(x, y)) goal[SquareIndex(x, y)] = 1;
  });
  const CreatureRecord& c = Creatures[creature];
  if (!InMap(c.squareX, c.squareY)) return false;
  int head = 0, tail = 0;
  queue[tail++] = SquareIndex(c.squareX, c.squareY);
  seen[queue[0]] = 1;
  while (head < tail) {
    const int at = queue[head++];
    if (goal[at]) return false;
    const int x = at / kMapSide, y = at % kMapSide;
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) {
        const int nx = x + dx, ny = y + dy;
        if ((dx == 0 && dy == 0) || !InMap(nx, ny)) continue;
        const int n = SquareIndex(nx, ny);
        if (seen[n] || BlockedGrid[n] == kSquareBlocked || MagicAreaGrid[n].kind == kEffectFire) continue;
        seen[n] = 1;
        queue[tail++] = n;
      }
  }
  return true;
}

int32_t MaxValuationGridValue() {
  int32_t best = -1;
  for (const int32_t v : ValuationGrid) best = std::max(best, v);
  return best;
}

void MarkOutOfReachSquares(int creature) {
  if (!IsValidCreature(creature)) return;
  const CreatureRecord& c = Creatures[creature];
  int reach = c.speed.current;
  if (IsActingFighter(creature)) {
    reach = CombatAction.movesLeft - c.speed.current;
    if (reach < 1 && MayTakeFiveFootStep(creature)) reach = 7;
  }
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      int32_t& v = ValuationGrid[SquareIndex(x, y)];
      if (v != kUnfit && AiDistance(c.squareX, c.squareY, x, y) > reach) v = kUnfit;
    }
}

bool IsInAreaTargetList(int creature) {
  for (int32_t c : AreaTargetList)
    if (c == creature && c != -1) return true;
  return false;
}

bool CanStartMoveOrAction() {
  const CombatActionState& a = CombatAction;
  if (a.movementClosed != 0 || a.attackSequenceOpen != 0 || a.shootingSequenceOpen != 0) return false;
  return a.singleActionTurn ? a.standardActionLeft == 1 : a.fullRoundActionLeft == 1;
}

int ScriptedSpellTarget(int creature) {
  if (InCombat != 1 || !IsValidCreature(creature) || CombatAction.scriptedSpellPlanned == 0) return -1;
  const int spell = CombatAction.scriptedSpell;
  if (spell < 0 || spell >= kSpellRows) return -1;
  const int32_t kind = SpellTargetKind[spell];
  if (kind != 3 && kind != 4 && kind != 9) return -1;
  // The script-set target word holds a creature id; 0 names none.
  const int target = Creatures[creature].scriptWords[kScriptWordTarget];
  if (target < 1) return -1;
  bool present = false;
  ForOthers(-1, [&](int, int o) { present = present || o == target; });
  return present ? target : -1;
}

bool ScriptedSpellTargetDisabled(int creature) {
  if (!IsValidCreature(creature) || CombatAction.scriptedSpell < 0 || CombatAction.scriptedSpell >= kSpellRows)
    return false;
  const int32_t kind = SpellTargetKind[CombatAction.scriptedSpell];
  if (kind != 3 && kind != 4) return false;
  const int target = Creatures[creature].scriptWords[kScriptWordTarget];
  bool present = false;
  ForOthers(-1, [&](int, int o) { present = present || o == target; });
  if (!present) return true;
  return FindAnyCondition(target, kCondParalyzed, kCondSleeping, kCondStunned, kCondCowering, kCondInsane,
                          kCondNauseated, kCondDancing, kCondConfused, kCondControlled, kCondDominated) >= 0;
}

bool ChooseToDispel(int creature) {
  const bool refused = CountAllies(creature) >= 1 ? RandomUpTo(3) + 1 == 1 : RandomUpTo(1) == 1;
  if (InCombat == 1 && DebugMode == 1) LogMessage(refused ? "Chosen not to do dispel\r" : "Chosen to do dispel\r");
  return !refused;
}

bool CanUseAbilityNow(int creature, int mode) {
  if (!IsValidCreature(creature)) return false;
  if (FindAnyCondition(creature, kCondDazed, kCondConfused, kCondSurprised, kCondTransformation, kCondPolymorphed,
                       kCondSleeping, kCondDancing, kCondPinned, kCondCursed) >= 0)
    return false;
  if ((mode == 0 || mode == 1) &&
      FindAnyCondition(creature, kCondFeebleminded, kCondStunned, kCondCowering, kCondNauseated) >= 0)
    return false;
  if (mode == 1 && HasCondition(creature, kCondGrappling)) return false;
  // The record keeps no fields for abilities used without voice or hands.
  const bool noVoice = false, noHands = false;
  const bool silent = FindAnyCondition(creature, kCondMute, kCondSilenced) >= 0;
  const bool bound = FindAnyCondition(creature, kCondParalyzed, kCondGrappling) >= 0;
  if (silent && !noVoice) return false;
  if (bound && !noHands) return false;
  const bool handsFull = !HasFreeHand(creature);
  if (handsFull && !noHands) return false;
  if ((handsFull || bound) && silent) return false;
  return true;
}

int CollapseIconRuns(int count, int32_t* list) {
  auto group = [](int32_t spell) {
    if (spell >= 114 && spell <= 117) return 0;
    if (spell == 45 || spell == 46) return 1;
    if (spell == 66 || spell == 67) return 2;
    return -1;
  };
  int out = 0;
  for (int i = 0; i < count;) {
    const int g = group(list[i]);
    int run = 1;
    if (g >= 0)
      while (i + run < count && group(list[i + run]) == g) ++run;
    list[out++] = run > 1 ? list[i + static_cast<int>(RandomUpTo(static_cast<uint32_t>(run - 1)))] : list[i];
    i += run;
  }
  return out;
}

bool MayCastDefensively(int creature) {
  if (!IsValidCreature(creature) || CombatAction.standardActionLeft != 1 || SpellTarget != -1) return false;
  if (g_defensiveAskedFor == CurrentTurnIndex && g_defensiveAskedFor >= 0) return g_defensiveAnswer;
  g_defensiveAskedFor = CurrentTurnIndex;
  g_defensiveAnswer = HighestUsableSpellLevel(-1, creature);
  return g_defensiveAnswer;
}

bool CanStepOutOfMagicArea(int creature) {
  if (InCombat != 1 || !IsActingFighter(creature)) return false;
  if (CombatAction.fiveFootStepLeft != 1 || CombatAction.fiveFootStepAllowed != 1) return false;
  const CreatureRecord& c = Creatures[creature];
  MarkNeighbourDirections(c.squareX, c.squareY);
  for (int dx = -1; dx <= 1; ++dx)
    for (int dy = -1; dy <= 1; ++dy) {
      const int x = c.squareX + dx, y = c.squareY + dy;
      if ((dx == 0 && dy == 0) || !InMap(x, y) || NeighbourGrid[SquareIndex(x, y)] == 0) continue;
      if (!FootprintFitsAt(x, y, creature, 0) || IsDiagonalStepBlocked(creature, x, c.squareY, c.squareX, y))
        continue;
      bool clear = true;
      for (int fx = 0; fx < c.footprintWidth.current && clear; ++fx)
        for (int fy = 0; fy < c.footprintHeight.current && clear; ++fy)
          if (InMap(x + fx, y + fy) && MagicAreaGrid[SquareIndex(x + fx, y + fy)].kind != kEffectNone) clear = false;
      if (clear) return true;
    }
  return false;
}

bool StepToBestCastingSquare(int spell, int target, int creature, int flag) {
  if (CombatAction.fiveFootStepLeft != 1 || !IsValidCreature(creature)) return false;
  const bool other = IsValidCreature(target) && target != creature;
  BuildGoodSquareGrid(creature, 1, -1, other ? target : -1, other ? RangeClassSquared(spell) : 0, spell);
  const CreatureRecord& c = Creatures[creature];
  if (flag == 1 && IsInAnyMagicArea(creature)) {
    const int64_t exit = FindMagicAreaExit(creature);
    if (exit != kNoSquare &&
        FindCreaturePath(creature, c.squareX, c.squareY, SquareXOf(exit), SquareYOf(exit), 1, 1, 0, 0, nullptr,
                         nullptr) == kPathFound &&
        PathLength > 0 && InMap(PathOutX[0], PathOutY[0]))
      ValuationGrid[SquareIndex(PathOutX[0], PathOutY[0])] += 8;
  }
  MarkNeighbourDirections(c.squareX, c.squareY);
  int bestX = -1, bestY = -1;
  int32_t best = 0;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      const int i = SquareIndex(x, y);
      if (NeighbourGrid[i] != 0 && ValuationGrid[i] > best) {
        best = ValuationGrid[i];
        bestX = x;
        bestY = y;
      }
    }
  if (best < 1) return false;
  SendCpuMoving(creature, bestX, bestY, 0);
  return true;
}

bool HasOnlyDistantTargets(int caster, int spell, int extra) {
  (void)extra;
  if (!IsValidCreature(caster) || spell < 0 || spell >= kSpellRows) return false;
  const SpellRecord& s = SpellTable[spell];
  if (s.targeting != 3 || s.target != kAimIndividual || !CanCastDefensivelyLikely(spell, caster, 0)) return false;
  const int32_t range = RangeClassSquared(spell);
  bool far = false, near = false;
  ForOthers(caster, [&](int, int o) {
    if (!AreEnemies(caster, o) || !CanCastOnTarget(caster, o, spell, 0)) return;
    GridSquare a, b;
    const int32_t d = SquaredReach(caster, o, &a, &b);
    if (!HasLineOfEffect(a.x, a.y, b.x, b.y, nullptr) || (range != -1 && d > range)) return;
    if (d > 2)
      far = true;
    else
      near = true;
  });
  return far && !near;
}

namespace {

// A path from the fighter to NearestFoe's square laid into a local tally
// record; the search's result (2 none).
int PathToNearestFoe(uint8_t costFlag, uint32_t* record) {
  const int fighter = CurrentFighter();
  if (!IsValidCreature(fighter) || !IsValidCreature(NearestFoe)) return kPathNone;
  const CreatureRecord& c = Creatures[fighter];
  const GridSquare goal = NearestFootprintSquare(NearestFoe, c.squareX, c.squareY);
  const uint8_t seek = SeekAdjacent;
  SeekAdjacent = 1;
  const int result = FindCreaturePath(fighter, c.squareX, c.squareY, goal.x, goal.y, costFlag, 1, 0, 0, record, nullptr);
  SeekAdjacent = seek;
  return result;
}

}  // namespace

bool PathToNearestFoeOpen(int flag) {
  const int fighter = CurrentFighter();
  if (!IsValidCreature(fighter)) return false;
  bool sensed = false;
  for (int i = 0; i < EntryCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || (o != fighter && !SameSide(fighter, o))) continue;
    const CreatureRecord& m = Creatures[o];
    const int32_t sense = m.special[kSenseKindWord];
    if (sense != 1 && sense != 4 && sense != 5 && m.sightless <= 0 && m.kind != 1 && m.kind != 88) sensed = true;
  }
  if (sensed) {
    uint32_t record[kTallyWords] = {};
    if (PathToNearestFoe(1, record) != kPathNone && PathLength >= 1 && (flag != 1 || !AnyThreatenedCombatant()))
      return true;
  }
  return IsTrappedByFire(fighter);
}

bool NearestFoeReachable() {
  const int fighter = CurrentFighter();
  uint32_t record[kTallyWords] = {};
  if (PathToNearestFoe(0, record) != kPathNone && PathLength > 0) return true;
  if (NoEnemyOnOpenFloor(fighter)) return true;
  return CountAllies(fighter) > 0 && SomeEnemyBehindBlockingArea(fighter);
}

int DropUselessSupportPlan() {
  const int fighter = CurrentFighter();
  if (!IsValidCreature(fighter)) return 1;
  CombatActionState& a = CombatAction;
  int spell = -1;
  uint8_t* plan = nullptr;
  if (a.spellLikePlanned) {
    spell = Creatures[fighter].special[kSpecialSpellLike] - 1;
    plan = &a.spellLikePlanned;
  } else if (a.wandPlanned) {
    const uint32_t wand = Creatures[fighter].equipment[kSlotRightHand - 1];
    spell = IsCraftedCode(wand) ? CraftedWeapons[wand].spell : -1;
    plan = &a.wandPlanned;
  }
  if (!plan || spell < 0 || spell >= kSpellRows) return 1;
  // A spell of one creature, or of a rectangle laid from the caster (Lightning
  // Bolt, Wall of Fire, Wall of Stone, Fire Storm). Of personal range (1) it
  // stays when the fighter may take it itself; of touch (2) or 15 feet (3)
  // when a creature in that reach that is no enemy may take it; of a longer
  // range (the rectangles are all of 60 feet) it stays.
  const SpellRecord& s = SpellTable[spell];
  if (s.target != kAimIndividual && s.target != kAimRectangle) return 1;
  bool keep = true;
  if (s.range == 1) {
    keep = CanCastOnTarget(fighter, fighter, spell, 0);
  } else if (s.range == 2 || s.range == 3) {
    keep = false;
    ListCombatantsInReach(fighter, s.range == 2 ? 1 : 2);
    for (int i = 0; i < kCandidateListSize && TargetCandidateList[i] != -1 && !keep; ++i) {
      const int o = TargetCandidateList[i];
      keep = !AreEnemies(fighter, o) && CanCastOnTarget(fighter, o, spell, 0);
    }
  }
  if (!keep) *plan = 0;
  return 1;
}

bool CanStillCastSpells(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const int top = MaxSpellLevel(creature);
  for (int level = 1; level <= top; ++level)
    if (c.spellsLeft[level - 1] > 0) return true;
  return c.special[kSpecialSpellLike] > 0 && c.special[kSpecialUsesLeft] > 0;
}

void ResetTacticalPredicatesState() {
  g_defensiveAskedFor = -1;
  g_defensiveAnswer = false;
}
