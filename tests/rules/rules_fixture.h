// Creatures and items built in the tests of the rules core.
#pragma once
#include <gtest/gtest.h>

#include <cstring>

#include "frontend/game_reset.h"
#include "combat/actions/combat_actions.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"
#include "engine/settings.h"
#include "map/map_record.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/game_screen_words.h"
#include "rules/inventory_slots.h"
#include "state/inventory_state.h"

class RulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    ResetItemTablesState();
    OptionWords[kOptionAutoRecastMageArmor] = 0;
    OptionWords[kOptionAutoRecastLight] = 0;
  }

  // A level-n fighter of 10 in every ability standing on square (5, 5).
  static CreatureRecord& MakeCreature(int id, int level = 5, int allegiance = kAllegianceEnemy) {
    CreatureRecord& c = Creatures[id];
    std::memset(&c, 0, sizeof c);
    std::strcpy(c.name, "Tester");
    c.creatureClass = 1;
    c.level = level;
    c.effectiveLevel = level;
    c.allegiance = allegiance;
    c.baseHitPoints = 40;
    c.maxHitPoints = 40;
    c.hitPoints = 40;
    c.speed = {30, 30};
    c.size = {3, 3};
    for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
      *p = {10, 10};
    c.squareX = c.squareY = 5;
    c.footprintHeight = c.footprintWidth = {1, 1};
    c.figureSize[0] = c.figureSize[1] = {24, 24};
    c.fighterSlot = -1;
    return c;
  }

  // A crafted row: weapons by type and proficiency class, armour and shields by class.
  static CraftedWeaponRecord& MakeCrafted(int row, int type, int proficiency, int handling) {
    CraftedWeaponRecord& w = CraftedWeapons[row];
    std::memset(&w, 0, sizeof w);
    std::strcpy(w.name, "Item");
    w.itemType = type;
    w.proficiency = proficiency;
    w.handling = handling;
    w.size = 3;
    return w;
  }

  // A base item row of a type and bonus; returns its item code.
  static uint32_t MakeBase(int row, int type, int bonus) {
    ItemTable[row].baseType = type;
    ItemTable[row].bonus = bonus;
    return kFirstBaseItemCode + row;
  }

  static int CountId(int creature, uint32_t id) {
    int n = 0;
    for (const ConditionEntry& e : Creatures[creature].conditions)
      if (e.id == id) ++n;
    return n;
  }
  static const ConditionEntry* Entry(int creature, uint32_t id) {
    for (const ConditionEntry& e : Creatures[creature].conditions)
      if (e.id == id) return &e;
    return nullptr;
  }
};
