// Created creatures in tests: the compiled item, spell and prepared crafted
// tables loaded over the cleared game state.
#pragma once
#include <gtest/gtest.h>

#include <cstring>

#include "creatures/create_creature.h"
#include "creatures/creature_treasure.h"
#include "engine/random.h"
#include "rules/item_tables.h"
#include "rules/rules_fixture.h"

class CreationTest : public RulesTest {
 protected:
  void SetUp() override {
    RulesTest::SetUp();
    ASSERT_EQ(LoadItemTable(), 1);
    ASSERT_EQ(LoadSpellTable(), 1);
    ASSERT_EQ(LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", "DemoVersion"), 1);
    // The adventure's own creatures, not loaded here, hold generated rows: the
    // tests start with none, as no row is held by nothing in a game.
    std::memset(&CraftedWeapons[kFirstGeneratedItemRow], 0,
                sizeof(CraftedWeaponRecord) * (kLastGeneratedItemRow - kFirstGeneratedItemRow + 1));
  }

  // A creature of the kind with the usual script arguments (enemy side, no
  // metamagic, default styles, no weapons unless given).
  static CreatureRecord& Create(uint32_t seed, int kind, int classCode = 0, int extraLevels = 0, int boost = 0,
                                int main = 0, int off = 0, int ranged = 0, int id = 601) {
    SeedRandomForTests(seed);
    CreateCreature(3, 10, 12, id, kind, classCode, extraLevels, boost, 0, 0, 0, 0, main, off, ranged);
    return Creatures[id];
  }
};
