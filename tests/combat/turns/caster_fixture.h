// A drawn battlefield for the computer casters' tests: the game's own spell
// table, an open map, a caster and the creatures around it in the turn order.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "combat/turns/spell_choice.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "frontend/game_reset.h"
#include "map/map_fixture.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/turn_order.h"

namespace casterfixture {

constexpr int kCaster = 10;

class Battlefield : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    ASSERT_EQ(LoadSpellTable(), 1);
    SeedRandomForTests(11);
    mapfixture::DrawMap(std::vector<std::string>(20, std::string(20, '.')));
    FighterCount = 0;
    MessageLogText[0] = 0;
  }

  // A creature of the side on (x, y): level 5, 40 of 40 hit points, humanoid.
  static CreatureRecord& Put(int id, int x, int y, int side) {
    mapfixture::PlaceFighter(id, x, y);
    CreatureRecord& c = Creatures[id];
    std::snprintf(c.name, sizeof c.name, "C%d", id);
    c.allegiance = side;
    c.type = kTypeHumanoid;
    c.size = {3, 3};
    c.speed = {30, 30};
    c.level = c.effectiveLevel = 5;
    c.maxHitPoints = c.hitPoints = 40;
    for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
      *p = {10, 10};
    return c;
  }

  // A Wizard of the enemy side at (2, 2) whose caster level is `level`, with
  // three spells left at every level it reaches, knowing the spells given.
  static CreatureRecord& PutCaster(int level, std::initializer_list<int> known, int32_t cls = kClassWizard) {
    CreatureRecord& c = Put(kCaster, 2, 2, kAllegianceEnemy);
    c.creatureClass = cls;
    c.level = c.effectiveLevel = level;
    c.casterLevelAdjust = level;
    for (int l = 0; l < 9; ++l) c.spellsPerDay[l] = c.spellsLeft[l] = 3;
    for (int spell : known) c.knownSpells[spell] = 1;
    return c;
  }

  static void Immune(int id, int category) { Creatures[id].protections[ImmunityPair(category)].current = 1; }
  static void Give(int id, uint32_t condition) { AddCondition(id, condition, 10, 1, kSourceSpell, 0); }

  // Starts the battle with the caster acting, its whole turn before it.
  static void Begin() {
    mapfixture::StartTestCombat();
    BuildOccupancyGrids(kCaster);
    CombatActionState& a = CombatAction;
    a.currentEntry = 0;
    for (int i = 0; i < TurnEntryCount; ++i)
      if (TurnOrder[i].creature == kCaster) a.currentEntry = i;
    a.fullRoundActionLeft = a.standardActionLeft = a.moveActionLeft = 1;
    a.movesLeft = 60;
    a.fiveFootStepLeft = 1;
  }

  // The caster holds its square (canMove false): a caster that may move first
  // looks for a better square to cast from, which the grids' tests cover.
  static CasterSituation Situation(bool adjacentEnemy = false, bool ranged = false, bool canMove = false) {
    CasterSituation s;
    s.fighter = kCaster;
    s.canMove = canMove;
    s.adjacentEnemy = adjacentEnemy;
    s.rangedAttack = ranged;
    return s;
  }

  static std::vector<int> Found() { return std::vector<int>(FoundSpells, FoundSpells + FoundSpellCount); }
  static std::string Log() { return MessageLogText; }
};

}  // namespace casterfixture
