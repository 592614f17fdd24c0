#include "combat/turns/decision_words.h"

#include <cstring>

#include "combat/turns/valuation_grid.h"
#include "map/combatant_grid.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/path_finding.h"
#include "rules/adjacency.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

int32_t NearestFoe = -1;
int32_t NearestCreatureByPath = -1;
int32_t StrongestAlly = -1;
int32_t WeakestEnemy = -1;
int32_t LowestArmourEnemy = -1;
uint8_t FinishHelpless = 0;
int32_t SecondTactic = 0;
int32_t SelectedAttackEntry = -1;
int32_t RangedProfileEntry = -1;
int32_t ShownAttackChance = -1;

ScoringSession::ScoringSession(int creature) {
  BeginRecomputeSession();
  FollowOnlyCreature(creature);
}
ScoringSession::~ScoringSession() {
  FollowAllCreatures();
  EndRecomputeSession();
}

namespace {
CreatureRecord NotedAttacker, NotedTarget;
int NotedAttackerId = -1, NotedTargetId = -1;
}  // namespace

void NoteRecordsBeforeEvaluation(int attacker, int target) {
  NotedAttackerId = IsValidCreature(attacker) ? attacker : -1;
  NotedTargetId = IsValidCreature(target) ? target : -1;
  if (NotedAttackerId >= 0) std::memcpy(&NotedAttacker, &Creatures[attacker], sizeof(CreatureRecord));
  if (NotedTargetId >= 0) std::memcpy(&NotedTarget, &Creatures[target], sizeof(CreatureRecord));
}

bool RecordsUnchangedSinceNoted() {
  if (NotedAttackerId < 0 || NotedTargetId < 0) return false;
  return std::memcmp(&NotedAttacker, &Creatures[NotedAttackerId], sizeof(CreatureRecord)) == 0 &&
         std::memcmp(&NotedTarget, &Creatures[NotedTargetId], sizeof(CreatureRecord)) == 0;
}

bool IsActingFighter(int creature) {
  return InCombat == 1 && IsValidCreature(creature) && CurrentFighter() == creature;
}

bool AddRetreatBonuses(int creature) {
  if (!IsValidCreature(creature)) return true;
  CreatureRecord& c = Creatures[creature];
  const bool hurt = (c.maxHitPoints != 0 && c.hitPoints * 100 / c.maxHitPoints < 26) ||
                    HasCondition(creature, kCondNauseated);
  const bool cleric = c.creatureClass == 3;
  if (cleric || !hurt) return true;
  // Beside an enemy with a step left: the neighbours where no enemy is adjacent.
  if (HasAdjacentEnemy(creature)) {
    if (!MayTakeFiveFootStep(creature)) return true;
    const int sx = c.squareX, sy = c.squareY;
    MarkNeighbourDirections(sx, sy);
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy) {
        const int x = sx + dx, y = sy + dy;
        if ((dx == 0 && dy == 0) || x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) continue;
        int32_t& value = ValuationGrid[SquareIndex(x, y)];
        if (value == kUnfit) continue;
        c.squareX = x;
        c.squareY = y;
        if (!HasAdjacentEnemy(creature)) value += 16;
        c.squareX = sx;
        c.squareY = sy;
      }
    return true;
  }
  // Otherwise the ring of the friendly Cleric with the cheapest path.
  int best = -1, bestCost = 10000;
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const int o = TurnOrder[i].creature;
    if (!IsValidCreature(o) || o == creature || Creatures[o].creatureClass != 3 || AreEnemies(creature, o)) continue;
    // The Cleric's own square is the goal: the search may end beside it.
    const uint8_t seek = SeekAdjacent;
    SeekAdjacent = 1;
    const int found = FindCreaturePath(creature, c.squareX, c.squareY, Creatures[o].squareX, Creatures[o].squareY,
                                       1, 1, 0, 0, nullptr, nullptr);
    SeekAdjacent = seek;
    if (found == kPathNone) continue;
    if (PathCostFeet < bestCost) {
      bestCost = PathCostFeet;
      best = o;
    }
  }
  if (best != -1) {
    MarkAdjacentSquares(best);
    for (int i = 0; i < kMapSquares; ++i)
      if (AdjacencyGrid[i] != 0 && ValuationGrid[i] != kUnfit) ValuationGrid[i] += 27;
    return true;
  }
  if (HasCondition(creature, kCondNauseated)) {
    const int own = SquareIndex(c.squareX, c.squareY);
    if (c.squareX >= 0 && c.squareY >= 0 && c.squareX < kMapSide && c.squareY < kMapSide) ValuationGrid[own] += 19;
  }
  return true;
}

void ResetDecisionWordsState() {
  NearestFoe = NearestCreatureByPath = StrongestAlly = WeakestEnemy = LowestArmourEnemy = -1;
  FinishHelpless = 0;
  SecondTactic = 0;
  SelectedAttackEntry = -1;
  RangedProfileEntry = -1;
  ShownAttackChance = -1;
}
