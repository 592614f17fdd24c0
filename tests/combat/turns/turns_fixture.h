// Drawn battles for the computer fighters' grids and choices: a map drawn as
// text, fighters of both sides in the turn order, the acting fighter's turn.
#pragma once
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "combat/turns/adjacency_queries.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/valuation_grid.h"
#include "engine/random.h"
#include "map/map_fixture.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

namespace turnsfixture {

// A fighter of the side (1 party, 2 enemies) on (x, y), 100 hit points,
// abilities 10, one attack of opportunity.
inline int AddFighter(int id, int side, int x, int y, int size = 1) {
  mapfixture::PlaceFighter(id, x, y, size, size);
  CreatureRecord& c = Creatures[id];
  std::snprintf(c.name, sizeof c.name, "F%d", id);
  c.allegiance = side;
  c.creatureClass = 1;
  c.level = c.effectiveLevel = 1;
  c.baseAttack = {1, 1};
  for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
    *p = {10, 10};
  c.size = {size > 1 ? 4 : 3, size > 1 ? 4 : 3};
  c.speed = {30, 30};
  c.baseHitPoints = c.maxHitPoints = c.hitPoints = 100;
  c.attacksOfOpportunity = c.attacksOfOpportunityLeft = 1;
  return id;
}

// Draws the map and empties the battle.
inline void NewBattle(const std::vector<std::string>& rows) {
  mapfixture::DrawMap(rows);
  std::memset(MagicAreaGrid, 0, sizeof MagicAreaGrid);
  FighterCount = 0;
  TurnEntryCount = 0;
  InCombat = 0;
  CombatAction = {};
  SeekAdjacent = 0;
  ResetDecisionWordsState();
  ResetAdjacencyQueriesState();
  SeedRandomForTests(1);
}

// The placed fighters enter the turn order; the first is acting, with a full
// turn of the given moves and its five-foot step.
inline void StartTurn(int acting, int movesLeft = 60) {
  mapfixture::StartTestCombat();
  for (int i = 0; i < TurnEntryCount; ++i)
    if (TurnOrder[i].creature == acting) CombatAction.currentEntry = i;
  CombatAction.movesLeft = movesLeft;
  CombatAction.fullRoundActionLeft = 1;
  CombatAction.standardActionLeft = 1;
  CombatAction.fiveFootStepLeft = 1;
  CombatAction.fiveFootStepAllowed = 1;
  BuildOccupancyGrids(acting);
}

inline int32_t Value(int x, int y) { return ValuationGrid[SquareIndex(x, y)]; }

}  // namespace turnsfixture
