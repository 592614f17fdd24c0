#include "combat/actions/attack_actions.h"
#include "combat/turns/computer_decision.h"

#include <algorithm>
#include <iterator>
#include <cstdlib>
#include <vector>

#include "combat/actions/casting_checks.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/best_square.h"
#include "combat/turns/combat_cycle.h"
#include "combat/turns/computer_orders.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/melee_grid.h"
#include "combat/turns/spell_choice.h"
#include "combat/turns/tactics.h"
#include "combat/turns/tactical_predicates.h"
#include "combat/turns/target_choice.h"
#include "combat/turns/turn_routines.h"
#include "combat/turns/valuation_grid.h"
#include "creatures/control_tendencies.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "map/combatant_grid.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "map/reach_flood.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/armour_class.h"
#include "rules/attack_profile.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/free_deeds.h"
#include "rules/item_tables.h"
#include "rules/modifier_list.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

uint8_t SpellsGivenUpThisTurn = 0;
GridSquare ChosenSquare = {-1, -1};
uint8_t AiThinkingDisplay = 0;
bool SurveyByBoundedPaths = true;
DecisionFlags Decision;

namespace {

constexpr int32_t kActionNextAttack = 4;
constexpr int32_t kActionEscape = 14;
constexpr int32_t kActionDance = 17;
constexpr int32_t kTwoHandedHandling = 3;
constexpr uint32_t kSourceSpell = 18;

void Trace(const char* text) {
  if (DebugMode == 1) LogMessage("%s\r", text);
}

int EntryCount() { return std::clamp<int>(TurnEntryCount, 0, kTurnOrderEntries); }
TurnOrderEntry& Entry() { return TurnOrder[CurrentTurnIndex]; }
bool Has(int c, uint32_t id) { return FindCondition(c, id) >= 0; }

// Where the fighter has been ordered to move: combat state 3 with a
// movement code.
void MoveTo(int fighter, int x, int y, const char* trace) {
  if (trace) Trace(trace);
  SendCpuMoving(fighter, x, y, 0);
}

// --- Flags of the decision --------------------------------------------------------

// The decision's flags as the tactics read them.
TacticFlags Flags() {
  TacticFlags t;
  t.canMove = Decision.canMove;
  t.hasRangedAttack = Decision.hasRangedAttack;
  t.adjacentEnemy = Decision.adjacentEnemy;
  t.specialMeans = Decision.specialMeans;
  t.canCastSpells = Decision.ownSpells;
  t.freeHand = Decision.freeHand;
  t.topSpellLevel = Decision.topSpellLevel;
  return t;
}

// True when the tactic ended the decision for this frame.
bool Ends(TacticResult r) { return r == TacticResult::kCommitted || r == TacticResult::kReturn; }

bool ComputeCanMove(int f) {
  CombatActionState& a = CombatAction;
  // Movement closed for the rest of the turn (a five-foot step, a full
  // attack, an action after moving) keeps the fighter where it stands.
  if (a.movesLeft < 1 || a.movementClosed != 0 || (a.moved == 1 && a.fiveFootStepLeft == 0) ||
      HasDisablingCondition(f))
    return false;
  if (CpuMoveIssued == 1 && a.moveAgain == 0) return false;
  a.moveAgain = 0;
  return true;
}

void ComputeFlags(int f) {
  CombatActionState& a = CombatAction;
  const CreatureRecord& c = Creatures[f];
  Decision = DecisionFlags{};
  Decision.deeds = FreeDeeds(f);
  Decision.canMove = ComputeCanMove(f);
  const bool stepAllowed =
      Decision.canMove && a.fiveFootStepLeft == 1 &&
      FindAnyCondition(f, kCondEntangled, kCondBlinded, kCondCantSee) < 0 && !IsOnDifficultTerrain(f) &&
      !(c.kind == 50 && FindAnyCondition(f, kCondSilenced, kCondDeafened) >= 0);
  a.fiveFootStepAllowed = stepAllowed ? 1 : 0;
  if (DebugMode == 1) LogMessage("Remaining Moves: %i\r", a.movesLeft);
  Decision.hasRangedAttack = HasRangedAttack(f);
  RangedProfileEntry = -1;
  if (Decision.hasRangedAttack) {
    static AttackProfile profile;
    BuildAttackProfile(&profile, f, SecondTactic, -1, 0, 0);
    RangedProfileEntry = FirstRangedEntry(profile);
  }
  Decision.topSpellLevel = MaxSpellLevel(f);
  Decision.freeHand = HasFreeHand(f);
}

// --- Validation of the item and innate spells and of the fighter's own spells -------

bool BarredFromItemSpell(int f, int spell) {
  if (FindAnyCondition(f, kCondTransformation, kCondPolymorphed, kCondFeebleminded, kCondControlled,
                       kCondIronBody) >= 0)
    return true;
  if (spell < 0 || spell >= kSpellRows) return true;
  const SpellRecord& s = SpellTable[spell];
  if ((Decision.deeds & CastingDeed(spell, kMetamagicNone)) == 0) return true;
  if (s.verbal != 0 && FindAnyCondition(f, kCondSilenced, kCondMute) >= 0) return true;
  if (s.somatic != 0 && (Has(f, kCondGrappling) || !Decision.freeHand)) return true;
  if (s.castingTime == 3) {
    if (CombatAction.fullRoundActionLeft != 1) return true;
    if (s.range == 3 || s.range == 2) {
      ListCombatantsInReach(f, s.range == 3 ? 2 : 1);
      if (CountListed(TargetCandidateList, kCandidateListSize) == 0) return true;
    }
  }
  return false;
}

bool OwnSpellsUsable(int f) {
  const CreatureRecord& c = Creatures[f];
  CombatActionState& a = CombatAction;
  if (c.creatureClass == kClassKnight || a.useSpells == 0) return false;
  if (FindAnyCondition(f, kCondTransformation, kCondPolymorphed, kCondFeebleminded, kCondControlled,
                       kCondIronBody) >= 0)
    return false;
  if ((Decision.deeds & (kDeedGestureCast | kDeedStillCast)) == 0) return false;
  const bool silenced = FindAnyCondition(f, kCondSilenced, kCondMute) >= 0;
  const bool bound = (Decision.deeds & kDeedGestureCast) == 0 || Has(f, kCondGrappling) || !Decision.freeHand;
  const bool silent = c.feats[kFeatMetamagicSilent] != 0, still = c.feats[kFeatMetamagicStill] != 0;
  if (silenced && bound) return false;
  if (silenced && !silent) return false;
  if (bound && !still) return false;
  const int extra = ((silenced && silent) || (bound && still)) ? 1 : 0;
  const int top = Decision.topSpellLevel;
  // A quick look for a level with spells left first.
  bool anyLeft = extra == 0 && c.spellsLeft[0] > 0;
  for (int level = 2; level <= 9 && !anyLeft; ++level) anyLeft = level <= top && c.spellsLeft[level - 1] > 0;
  if (!anyLeft) return false;
  for (int spell = 0; spell < kSpellRows; ++spell) {
    if (c.knownSpells[spell] != 1) continue;
    const int level = SpellTable[spell].level;
    if (level >= 1 && level <= 9 && c.spellsLeft[level - 1] > 0 && level + extra <= top) return true;
  }
  return false;
}

void ValidateSpecialMeans(int f) {
  CombatActionState& a = CombatAction;
  if (SpellsGivenUpThisTurn) return;
  const CreatureRecord& c = Creatures[f];
  const uint32_t deeds = Decision.deeds;
  if ((deeds & kDeedGestureCast) == 0 && (deeds & kDeedStillCast) != 0 && c.feats[kFeatMetamagicStill] != 0)
    a.useSpells = 1;
  // Frozen in place (or too sick), it neither breathes, presents its holy
  // symbol nor wields a wand: at most a spell of its own or a spell-like
  // ability without a gesture is left.
  if ((deeds & kDeedUseItem) == 0) a.breathPlanned = a.turnUndeadPlanned = a.wandPlanned = 0;
  if (a.breathPlanned || a.turnUndeadPlanned) Decision.specialMeans = true;
  if (a.spellLikePlanned && BarredFromItemSpell(f, c.special[kSpecialSpellLike] - 1)) a.spellLikePlanned = 0;
  const uint32_t wand = c.equipment[kSlotRightHand - 1];
  if (a.wandPlanned && BarredFromItemSpell(f, IsCraftedCode(wand) ? CraftedWeapons[wand].spell : -1))
    a.wandPlanned = 0;
  if (a.spellLikePlanned || a.wandPlanned) {
    DropUselessSupportPlan();
    if (a.spellLikePlanned || a.wandPlanned) Decision.specialMeans = true;
  }
  Decision.ownSpells = OwnSpellsUsable(f);
  if (Decision.ownSpells) Decision.specialMeans = true;
}

// --- Survey --------------------------------------------------------------------------

// The cost of the cheapest path from the fighter to the other creature's
// nearest footprint square, -1 when there is none.
int32_t PathCostTo(int f, int o) {
  const CreatureRecord& c = Creatures[f];
  const GridSquare goal = NearestFootprintSquare(o, c.squareX, c.squareY);
  const uint8_t seek = SeekAdjacent;
  SeekAdjacent = 1;
  const int result = FindCreaturePath(f, c.squareX, c.squareY, goal.x, goal.y, 1, 1, 0, 0, nullptr, nullptr);
  SeekAdjacent = seek;
  return result == kPathNone ? -1 : PathCostFeet;
}

// The least each square can cost to walk to from the fighter's square, in
// feet: five a straight step and seven a diagonal one (what a step costs at
// the least), round walls and ignoring creatures and corners. A blocked
// square is given its cost but not walked on from: a search may end on its
// goal wherever that lies. kNoWalk where no walk gets.
constexpr int32_t kNoWalk = 1 << 29;
int32_t LeastWalk[kMapSquares];

// The least walks from (fromX, fromY) over squares of the codes codeOf (x, y)
// gives (0 never stepped on, 1 ended on but not walked on from, 2 open), the
// start open whatever its code, up to the limit: only the squares within the
// steps of five feet the limit allows are looked at, and costs beyond it are
// left as they stand (kNoWalk or more than the limit).
template <typename CodeOf>
void FloodWalks(int fromX, int fromY, int32_t limit, CodeOf codeOf) {
  std::fill(std::begin(LeastWalk), std::end(LeastWalk), kNoWalk);
  if (fromX < 0 || fromY < 0 || fromX >= kMapSide || fromY >= kMapSide) return;
  const int reach = static_cast<int>(std::min<int64_t>(limit / 5 + 1, kMapSide));
  const int x0 = std::max(0, fromX - reach), x1 = std::min(kMapSide - 1, fromX + reach);
  const int y0 = std::max(0, fromY - reach), y1 = std::min(kMapSide - 1, fromY + reach);
  // The squares framed by a border of one, so that no step needs a bounds
  // test (the border of the window is never stepped on); the costs rise by 5
  // or 7 a step, so eight rotating buckets hold every open cost.
  constexpr int kSide = kMapSide + 2;
  static int32_t cost[kSide * kSide];
  static uint8_t walks[kSide * kSide];  // 0 border, 1 blocked (ends a walk), 2 open
  static int32_t bucket[8][8 * kMapSquares];
  int count[8] = {};
  for (int x = x0; x <= x1 + 2; ++x)
    for (int y = y0; y <= y1 + 2; ++y) {
      cost[x * kSide + y] = kNoWalk;
      walks[x * kSide + y] = 0;
    }
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y) walks[(x + 1) * kSide + y + 1] = codeOf(x, y);
  const int steps[8] = {-kSide - 1, -kSide, -kSide + 1, -1, 1, kSide - 1, kSide, kSide + 1};
  const int32_t stepCost[8] = {7, 5, 7, 5, 5, 7, 5, 7};
  const int start = (fromX + 1) * kSide + fromY + 1;
  walks[start] = 2;
  cost[start] = 0;
  bucket[0][count[0]++] = start;
  int pending = 1;
  for (int32_t at = 0; pending > 0 && at <= limit; ++at) {
    const int b = at % 8;
    for (int k = 0; k < count[b]; ++k) {
      const int sq = bucket[b][k];
      --pending;
      if (cost[sq] != at || walks[sq] != 2) continue;
      for (int d = 0; d < 8; ++d) {
        const int n = sq + steps[d];
        const int32_t c = at + stepCost[d];
        if (walks[n] == 0 || c >= cost[n]) continue;
        cost[n] = c;
        bucket[c % 8][count[c % 8]++] = n;
        ++pending;
      }
    }
    count[b] = 0;
  }
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y) LeastWalk[SquareIndex(x, y)] = cost[(x + 1) * kSide + y + 1];
}

void FloodLeastWalk(int fromX, int fromY) {
  FloodWalks(fromX, fromY, kNoWalk,
             [](int x, int y) -> uint8_t { return BlockedGrid[SquareIndex(x, y)] == kSquareBlocked ? 1 : 2; });
}

// Whether FloodLeastFeet holds the walks of the fighter's searches from its
// square (a one-square fighter in its room).
bool LeastFeetFlooded = false;

// The least the path of PathCostTo (f, o) can cost: the search stops on a
// square from which the fighter's footprint touches the creature standing on
// the goal, or on the goal itself, all of them inside the box round that
// creature grown by the fighter's footprint; a path there costs at least the
// least walk to the cheapest square of the box. When the goal lies in the
// fighter's room, the search seeking the creature steps as the room's own
// searches do on every square before the one it stops on (the goal under the
// creature is reached past a square beside it), and its walk there is one of
// the cheapest: it costs at least the least feet of the cheapest walks to a
// square of the box (more than any when no walk gets to one: the search
// then finds nothing).
int32_t LeastPathCost(int f, int o) {
  const CreatureRecord& c = Creatures[f];
  const GridSquare goal = NearestFootprintSquare(o, c.squareX, c.squareY);
  int x0 = goal.x, x1 = goal.x, y0 = goal.y, y1 = goal.y;
  const int t = CreatureAtSquare(goal.x, goal.y, f);
  if (IsValidCreature(t)) {
    const CreatureRecord& e = Creatures[t];
    const int w = std::max<int>(c.footprintWidth.current, 1), h = std::max<int>(c.footprintHeight.current, 1);
    x0 = std::min(x0, e.squareX - w);
    y0 = std::min(y0, e.squareY - h);
    x1 = std::max(x1, e.squareX + e.footprintWidth.current);
    y1 = std::max(y1, e.squareY + e.footprintHeight.current);
  }
  int32_t least = kNoWalk;
  for (int x = std::max(x0, 0); x <= std::min(x1, kMapSide - 1); ++x)
    for (int y = std::max(y0, 0); y <= std::min(y1, kMapSide - 1); ++y)
      least = std::min(least, LeastWalk[SquareIndex(x, y)]);
  const int32_t room = RegionGrid[SquareIndex(c.squareX, c.squareY)];
  const int goalSquare = SquareIndex(goal.x, goal.y);
  if (!LeastFeetFlooded || !IsValidCreature(t) || RegionGrid[goalSquare] != room ||
      BlockedGrid[goalSquare] == kSquareBlocked)
    return least;
  int32_t feet = kNoWalk;
  for (int x = std::max(x0, 0); x <= std::min(x1, kMapSide - 1); ++x)
    for (int y = std::max(y0, 0); y <= std::min(y1, kMapSide - 1); ++y)
      if (const int32_t walk = FloodLeastFeetTo(x, y); walk >= 0) feet = std::min(feet, walk);
  return std::max(least, feet);
}

// One creature the survey measures the path to.
struct SurveyCandidate {
  int order;  // its place in the turn order
  int creature;
  bool enemy;
  int32_t least;  // LeastPathCost
  int32_t cost;   // PathCostTo, -2 while not searched
};

// The nearest creature and the nearest foe by path: the first in turn order
// of those with the cheapest path. The paths are searched cheapest bound
// first and a creature whose bound exceeds the best found is not searched;
// the last creature of the turn order is searched last, as the full survey
// does, so that the path it leaves behind is the same.
void FindNearestByPath(int f, std::vector<SurveyCandidate>& list) {
  if (list.empty()) return;
  std::vector<int> byBound(list.size());
  for (size_t i = 0; i < list.size(); ++i) byBound[i] = static_cast<int>(i);
  const int last = static_cast<int>(list.size()) - 1;
  std::stable_sort(byBound.begin(), byBound.end(),
                   [&](int a, int b) { return list[a].least < list[b].least; });
  int32_t anyCost = -1, foeCost = -1;
  int searchedLast = -1;
  // One mover from one start over an unchanging battle: the searches share
  // the threats and the corners they work out.
  BeginSearchSeries();
  auto note = [&](const SurveyCandidate& k) {
    if (k.cost < 0) return;
    if (anyCost < 0 || k.cost < anyCost) anyCost = k.cost;
    if (k.enemy && (foeCost < 0 || k.cost < foeCost)) foeCost = k.cost;
  };
  auto mayMatter = [&](const SurveyCandidate& k) {
    return anyCost < 0 || k.least <= anyCost || (k.enemy && (foeCost < 0 || k.least <= foeCost));
  };
  // Walks round crowds and walls can leave many creatures bounded below the
  // cheapest path found: the least feet of the fighter's cheapest walks (one
  // flood of its room) bound them closer. The flood is made once a path to a
  // foe is found and so many are still to search that it pays for itself.
  constexpr int kWorthFlooding = 6;
  bool floodTried = PathLookupByScan != 0;
  for (size_t n = 0; n < byBound.size(); ++n) {
    if (!floodTried && anyCost >= 0 && foeCost >= 0 && std::count_if(byBound.begin() + static_cast<std::ptrdiff_t>(n), byBound.end(),
                                     [&](int i) { return mayMatter(list[i]); }) >= kWorthFlooding) {
      floodTried = true;
      const CreatureRecord& c = Creatures[f];
      LeastFeetFlooded = FloodLeastFeet(f, c.squareX, c.squareY);
      if (LeastFeetFlooded) {
        for (size_t j = n; j < byBound.size(); ++j) list[byBound[j]].least = LeastPathCost(f, list[byBound[j]].creature);
        std::stable_sort(byBound.begin() + static_cast<std::ptrdiff_t>(n), byBound.end(),
                         [&](int a, int b) { return list[a].least < list[b].least; });
      }
    }
    const int i = byBound[n];
    SurveyCandidate& k = list[i];
    if (!mayMatter(k)) continue;
    k.cost = PathCostTo(f, k.creature);
    searchedLast = i;
    note(k);
  }
  if (searchedLast != last) {
    list[last].cost = PathCostTo(f, list[last].creature);
    note(list[last]);
  }
  EndSearchSeries();
  LeastFeetFlooded = false;
  int32_t bestAny = 0, bestFoe = 0;
  for (const SurveyCandidate& k : list) {
    if (k.cost < 0) continue;
    if (NearestCreatureByPath == -1 || k.cost < bestAny) {
      NearestCreatureByPath = k.creature;
      bestAny = k.cost;
    }
    if (k.enemy && (NearestFoe == -1 || k.cost < bestFoe)) {
      NearestFoe = k.creature;
      bestFoe = k.cost;
    }
  }
}

void SurveyFrom(int f) {
  NearestFoe = NearestCreatureByPath = StrongestAlly = WeakestEnemy = LowestArmourEnemy = -1;
  int32_t foeCost = 0, anyCost = 0, strongest = 0, weakest = 10000, lowestArmour = 10000;
  const bool bounded = SurveyByBoundedPaths && InCombat == 1;
  static std::vector<SurveyCandidate> candidates;
  candidates.clear();
  if (bounded) FloodLeastWalk(Creatures[f].squareX, Creatures[f].squareY);
  LeastFeetFlooded = false;
  for (int i = 0; i < EntryCount(); ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o)) continue;
    const CreatureRecord& e = Creatures[o];
    const bool enemy = AreEnemies(f, o);
    if (!enemy && e.hitPoints > strongest) {
      strongest = e.hitPoints;
      StrongestAlly = o;
    }
    if (o == f) continue;
    if (bounded) {
      candidates.push_back({i, o, enemy, LeastPathCost(f, o), -2});
    } else {
      const int32_t cost = PathCostTo(f, o);
      if (cost >= 0 && (NearestCreatureByPath == -1 || cost < anyCost)) {
        NearestCreatureByPath = o;
        anyCost = cost;
      }
      if (enemy && cost >= 0 && (NearestFoe == -1 || cost < foeCost)) {
        NearestFoe = o;
        foeCost = cost;
      }
    }
    if (!enemy) continue;
    if (e.hitPoints < weakest) {
      weakest = e.hitPoints;
      WeakestEnemy = o;
    }
    const int32_t armour = ComputeArmourClass(o, nullptr, nullptr, 0, f, kAttackMelee, 0);
    if (armour < lowestArmour) {
      lowestArmour = armour;
      LowestArmourEnemy = o;
    }
  }
  if (bounded) FindNearestByPath(f, candidates);
}

// --- Confusion -----------------------------------------------------------------------

// The grappling partner is attacked (the standard action or the grapple's
// own attack), else the turn ends.
void AttackGrapplePartner(int f) {
  const int partner = Creatures[f].conditions[FindCondition(f, kCondGrappling)].value;
  if (CombatAction.standardActionLeft == 1 || GrappleSequenceOpen) {
    ActingCreature = f;
    ActionTarget = partner;
    CombatAction.actionCode = kActionNextAttack;
    CombatState = kStateActionUnderWay;
  } else {
    CombatState = kStateNextFighter;
  }
}

// A move to the nearest footprint square of the creature, or the end of the turn.
void WalkToward(int f, int o) {
  if (!Decision.canMove || !IsValidCreature(o)) {
    CombatState = kStateNextFighter;
    return;
  }
  const CreatureRecord& c = Creatures[f];
  const GridSquare goal = NearestFootprintSquare(o, c.squareX, c.squareY);
  const uint8_t seek = SeekAdjacent;
  SeekAdjacent = 1;
  const int result = FindCreaturePath(f, c.squareX, c.squareY, goal.x, goal.y, 1, 1, 0, 0, nullptr, nullptr);
  SeekAdjacent = seek;
  if (result == kPathNone) {
    CombatState = kStateNextFighter;
    return;
  }
  MoveTo(f, c.destinationX >= 0 ? c.destinationX : goal.x, c.destinationY >= 0 ? c.destinationY : goal.y, nullptr);
}

void Flee(int f) {
  if (!IsValidCreature(NearestFoe) || !Decision.canMove) {
    CombatState = kStateNextFighter;
    return;
  }
  const CreatureRecord& c = Creatures[f];
  const CreatureRecord& e = Creatures[NearestFoe];
  const int dx = (c.squareX > e.squareX) - (c.squareX < e.squareX);
  const int dy = (c.squareY > e.squareY) - (c.squareY < e.squareY);
  if (dx == 0 && dy == 0) {
    CombatState = kStateNextFighter;
    return;
  }
  int lastX = -1, lastY = -1;
  for (int step = 1; step < kMapSide; ++step) {
    const int x = c.squareX + dx * step, y = c.squareY + dy * step;
    if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) break;
    if (FindCreaturePath(f, c.squareX, c.squareY, x, y, 1, 1, 0, 0, nullptr, nullptr) == kPathNone || !PathShown)
      break;
    lastX = x;
    lastY = y;
  }
  if (lastX < 0) {
    CombatState = kStateNextFighter;
    return;
  }
  FindCreaturePath(f, c.squareX, c.squareY, lastX, lastY, 1, 1, 0, 0, nullptr, nullptr);
  // A flight is a move (the no-step flag), never a five-foot step.
  SendCpuMoving(f, lastX, lastY, 1);
}

// True when the confusion roll decided the turn.
bool ActConfused(int f) {
  if (FindAnyCondition(f, kCondConfused, kCondInsane) < 0) return false;
  const int32_t roll = CombatAction.confusionRoll;
  if (roll >= 11 && roll <= 50) return false;
  // A paralysed fighter (one with spells left, else it never gets here) can
  // neither strike out nor flee as the roll bids: its turn ends.
  if ((Decision.deeds & kDeedMove) == 0) {
    CombatState = kStateNextFighter;
    return true;
  }
  if (roll >= 51 && roll <= 70) {
    Flee(f);
    return true;
  }
  const bool nearest = roll >= 71;
  if (nearest ? Decision.adjacentCombatant : Decision.adjacentEnemy) {
    if (Decision.grappling) {
      AttackGrapplePartner(f);
      return true;
    }
    int target;
    if (nearest) {
      const int count = ListAdjacentCombatants(f);
      target = count > 0 ? AdjacentCreatureList[RollDice(count, 1, 0, 0) - 1] : -1;
    } else {
      target = ChooseMeleeTarget(f, 0);
    }
    if (!IsValidCreature(target)) {
      CombatState = kStateNextFighter;
      return true;
    }
    IssueMeleeAttack(f, target);
    return true;
  }
  if (Decision.hasRangedAttack && ListRangedTargets(f, nearest ? 1 : 0)) {
    int target;
    if (nearest) {
      const int count = CountListed(TargetCandidateList, kCandidateListSize);
      target = TargetCandidateList[RollDice(count, 1, 0, 0) - 1];
    } else {
      if (ReloadCrossbowIfNeeded(f)) return true;
      target = ChooseBestRangedTarget(f);
    }
    if (IsValidCreature(target)) {
      IssueShot(f, target);
      return true;
    }
  }
  WalkToward(f, nearest ? NearestCreatureByPath : NearestFoe);
  return true;
}

// --- Forced states and paralysis -------------------------------------------------------

// A fighter that fell asleep, was stunned, cowed, dazed or petrified in the
// midst of its turn does nothing more in it; nor does a paralysed dancer:
// nothing is left that it may do.
bool ActHelpless(int f) {
  if (FreeDeeds(f) != 0) return false;
  CombatState = kStateNextFighter;
  return true;
}

bool ActForced(int f) {
  if (Has(f, kCondDancing)) {
    ActingCreature = ActionTarget = f;
    CombatAction.actionCode = kActionDance;
    CombatState = kStateActionUnderWay;
    return true;
  }
  if (Has(f, kCondPinned)) {
    if (MayDo(f, kDeedEscape) && CombatAction.standardActionLeft == 1) {
      CombatState = kStatePlayerTurn;
      SettleMoveAfterAction();
      CombatAction.actionCode = kActionEscape;
      CpuMoveIssued = 0;
    } else {
      CombatState = kStateNextFighter;
    }
    return true;
  }
  return false;
}

// A fighter frozen in place (paralysed) without other means strives against
// a paralysis of a spell holding it, or its turn ends.
bool ActParalysed(int f) {
  if (Decision.specialMeans || (Decision.deeds & kDeedMove) != 0) return false;
  const int held = FindCondition(f, kCondParalyzed);
  CombatActionState& a = CombatAction;
  const bool actionLeft = a.fullRoundActionLeft == 1 || (a.singleActionTurn && a.standardActionLeft == 1);
  const bool breakable = held >= 0 && Creatures[f].conditions[held].source == kSourceSpell &&
                         Creatures[f].conditions[held].value > 0 && (Decision.deeds & kDeedStrive) != 0;
  if (breakable && actionLeft) {
    if (InCombat == 1) {
      a.moveActionLeft = a.fullRoundActionLeft = a.standardActionLeft = 0;
      a.fiveFootStepLeft = 0;
      a.moved = 1;
    }
    a.actionCode = kActionEscape;
    CpuMoveIssued = 0;
    CombatState = kStatePlayerTurn;
  } else {
    CombatState = kStateNextFighter;
  }
  return true;
}

}  // namespace

void SurveyBattle(int fighter) { SurveyFrom(fighter); }

void FloodLeastWalkFrom(int fighter) {
  if (IsValidCreature(fighter)) FloodLeastWalk(Creatures[fighter].squareX, Creatures[fighter].squareY);
  else FloodLeastWalk(-1, -1);
}

void FloodChargeWalkFrom(int fighter) {
  if (!IsValidCreature(fighter)) {
    FloodLeastWalk(-1, -1);
    return;
  }
  const CreatureRecord& c = Creatures[fighter];
  const int w = std::max<int>(c.footprintWidth.current, 1), h = std::max<int>(c.footprintHeight.current, 1);
  SyncCombatantGrid();
  auto free = [fighter](int x, int y) {
    return x < kMapSide && y < kMapSide && BlockedGrid[SquareIndex(x, y)] == kSquareFlooded &&
           OtherCombatantOnSynced(x, y, fighter, -1) == -1;
  };
  FloodWalks(c.squareX, c.squareY, CombatAction.movesLeft, [&](int x, int y) -> uint8_t {
    for (int i = x; i < x + w; ++i)
      for (int j = y; j < y + h; ++j)
        if (!free(i, j)) return 0;
    return 2;
  });
}

int32_t LeastWalkIntoBox(int x0, int y0, int x1, int y1) {
  int32_t least = kNoWalk;
  for (int x = std::max(x0, 0); x <= std::min(x1, kMapSide - 1); ++x)
    for (int y = std::max(y0, 0); y <= std::min(y1, kMapSide - 1); ++y)
      least = std::min(least, LeastWalk[SquareIndex(x, y)]);
  return least;
}

bool HasFreeHand(int creature) {
  if (!IsValidCreature(creature)) return true;
  const CreatureRecord& c = Creatures[creature];
  const uint32_t main = c.equipment[kSlotRightHand - 1];
  if (main == 0) return true;
  const bool twoHanded = IsCraftedCode(main) && CraftedWeapons[main].handling == kTwoHandedHandling;
  return !(c.equipment[kSlotLeftHand - 1] != 0 || twoHanded);
}

bool HasRangedAttack(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  return IsCraftedCode(c.equipment[kSlotRanged - 1]) && static_cast<int32_t>(c.ammunition.code) > 0 &&
         c.ammunition.count > 0;
}

bool RunWaitTactics() {
  const int f = CurrentFighter();
  const CombatActionState& a = CombatAction;
  if (!SpellsGivenUpThisTurn && a.useSpells == 0 && a.standardActionLeft == 1 &&
      Creatures[f].behaviour[kBehaviourSpellAttack] >= 1 && MayCastDefensively(f)) {
    CombatAction.useSpells = 1;
    return true;
  }
  if (TryDelayTurn()) return true;
  TryReadyVersusApproach();
  return true;
}

void RunApproachChain() {
  const int f = CurrentFighter();
  if (!Decision.canMove) {
    if (Has(f, kCondStuck))
      IssueEscape();
    else
      RunWaitTactics();
    return;
  }
  if (Ends(Charge(f, Flags())) || Ends(ApproachToBullRush(f, Flags()))) return;
  BuildMeleeValuationGrid(f, -1, 0, 0, 1);
  uint8_t kept = 0;
  int64_t square = ExtractBestSquare(f, 0, &kept);
  if (square != kNoSquare && kept) {
    ChosenSquare = {SquareXOf(square), SquareYOf(square)};
    MoveTo(f, ChosenSquare.x, ChosenSquare.y, "DEBUG - Send CPU moving #3");
    return;
  }
  PresentFrameNow();
  Trace("Checking for nearest");
  if (IsValidCreature(NearestFoe)) {
    std::fill(std::begin(ValuationGrid), std::end(ValuationGrid), 0);
    const CreatureRecord& c = Creatures[f];
    const GridSquare near = NearestFootprintSquare(NearestFoe, c.squareX, c.squareY);
    ValuationGrid[SquareIndex(near.x, near.y)] = 1000;
    square = ExtractBestSquare(f, 0, &kept);
    if (square != kNoSquare && kept) {
      ChosenSquare = {SquareXOf(square), SquareYOf(square)};
      MoveTo(f, ChosenSquare.x, ChosenSquare.y, "DEBUG - Send CPU moving #4a");
      return;
    }
  }
  RunWaitTactics();
}

namespace {

// After a tactic of the dispatch: true when the dispatch goes on.
bool Follow(TacticResult r) {
  if (r == TacticResult::kDispatchAgain) return true;
  if (r == TacticResult::kWaitTactics) RunWaitTactics();
  if (r == TacticResult::kFellThrough) CombatState = kStateNextFighter;
  return false;
}

}  // namespace

void DispatchPlan() {
  const int f = CurrentFighter();
  // Each pass either commits or changes the plan; a few passes settle it.
  for (int pass = 0; pass < 8; ++pass) {
    TurnOrderEntry& e = Entry();
    int32_t& code = e.plannedAction;
    if (code == 4 || code == 6 || code == 7 || code == 8) code = 0;
    switch (code) {
      case 0:
        if (Decision.specialMeans) {
          code = 5;
        } else if (Decision.adjacentEnemy) {
          code = 1;
          e.plannedTarget = -1;
        } else if (Decision.hasRangedAttack) {
          const TacticResult r = ApproachToShoot(f, Flags());
          if (r == TacticResult::kWaitTactics) {
            RunWaitTactics();
            return;
          }
          if (r != TacticResult::kDispatchAgain) return;
        } else {
          RunApproachChain();
          return;
        }
        break;
      case 5:
        if (!Decision.specialMeans) {
          code = 0;
          break;
        }
        {
          CasterSituation situation;
          situation.fighter = f;
          situation.canMove = Decision.canMove;
          situation.freeHand = Decision.freeHand;
          situation.adjacentEnemy = Decision.adjacentEnemy;
          situation.rangedAttack = Decision.hasRangedAttack;
          RunSpellBranch(situation);
        }
        return;
      case 2:
        if (!Has(f, kCondParalyzed) && !Has(f, kCondGrappling) &&
            (Decision.specialMeans || Decision.adjacentEnemy || !Decision.hasRangedAttack || !ListRangedTargets(f, 0))) {
          code = 0;
          break;
        }
        if (!Follow(ShootTarget(f, Flags()))) return;
        break;
      case 1:
        if (Decision.adjacentEnemy && !Decision.specialMeans) {
          if (!Follow(AttackInMelee(f, Flags()))) return;
          break;
        }
        code = 0;
        break;
      default:
        return;
    }
  }
  // A plan that never settles ends the turn rather than the game's progress.
  CombatState = kStateNextFighter;
}

namespace {

void Decide() {
  if (MovementPlaybackActive == 1 || SpellInProgress != -1) return;
  const int f = CurrentFighter();
  if (!IsValidCreature(f) || CurrentTurnIndex < 0 || CurrentTurnIndex >= EntryCount()) {
    CombatState = kStateNextFighter;
    return;
  }
  if (DebugMode == 1) LogMessage("%s is acting.\r", Creatures[f].name);
  std::fill(std::begin(ValuationGrid), std::end(ValuationGrid), 0);
  if (CheckEndOfCombat() || InCombat != 1) return;
  if (ActHelpless(f) || ActForced(f)) return;
  ComputeFlags(f);
  ValidateSpecialMeans(f);
  if (Decision.specialMeans) Trace("HasSpellsOrTurnUndeadOrBreathWeaponOrWandSpellOrSLA set to true");
  if (ActParalysed(f)) return;
  Decision.adjacentEnemy = HasAdjacentEnemy(f);
  Decision.adjacentCombatant = HasAdjacentCombatant(f);
  Decision.grappling = Has(f, kCondGrappling);
  SurveyBattle(f);
  if (ActConfused(f)) return;
  const TacticFlags flags = Flags();
  if (Ends(CastSpellForSituation(f, flags))) return;
  if (Ends(WakeSleepingAlly(f, flags)) || Ends(LeaveHazardArea(f, flags))) return;
  if (Ends(SoundAlarm(f, flags))) return;
  if (CombatAction.turnUndeadPlanned && Ends(TurnUndead(f, flags))) return;
  if (CombatAction.breathPlanned && Ends(BreatheWeapon(f, flags))) return;
  if (Ends(CheckItemSpellAction(f))) return;
  DispatchPlan();
}

}  // namespace

void DecideComputerAction() {
  KeepReachPasses(true);
  Decide();
  KeepReachPasses(false);
}

void ResetComputerDecisionState() {
  DisruptionTarget = -1;
  CpuMoveIssued = 0;
  SpellsGivenUpThisTurn = 0;
  ChosenSquare = {-1, -1};
  AiThinkingDisplay = 0;
  Decision = DecisionFlags{};
}

