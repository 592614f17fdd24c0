// The game's tables as the build makes them, and a plain creature to equip.
#pragma once
#include <gtest/gtest.h>

#include <cstring>

#include "creatures/creature_treasure.h"
#include "engine/random.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"

class CreatureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadItemTable(), 1);
    ASSERT_EQ(LoadSpellTable(), 1);
    ASSERT_EQ(LoadCraftedWeaponsFmt("SaveGame\\%s\\0\\SaveWeapon.wml", "FullVersion"), 1);
    // The adventure's own creatures hold generated rows; the tests start with none.
    ClearGeneratedRows();
    std::memset(Creatures, 0, sizeof Creatures);
    SeedRandomForTests(1234);
  }

  // Empties the generated rows, so long runs never fill them.
  static void ClearGeneratedRows() {
    std::memset(&CraftedWeapons[kFirstGeneratedItemRow], 0,
                sizeof(CraftedWeaponRecord) * (kLastGeneratedItemRow - kFirstGeneratedItemRow + 1));
  }

  // Every generated row in use, each held in the backpack of one of the
  // creatures from 1,000 on.
  static void HoldEveryGeneratedRow() {
    for (int r = kFirstGeneratedItemRow; r <= kLastGeneratedItemRow; ++r) {
      std::strcpy(CraftedWeapons[r].name, "Used");
      const int i = r - kFirstGeneratedItemRow;
      Creatures[1000 + i / kCarriedPairs].carried[i % kCarriedPairs] = {static_cast<uint32_t>(r), 1};
    }
  }

  // A creature of 10 in every ability, of a kind, class and level.
  static CreatureRecord& MakeCreature(int id, int kind, int creatureClass, int level) {
    CreatureRecord& c = Creatures[id];
    std::memset(&c, 0, sizeof c);
    std::strcpy(c.name, "Tester");
    c.kind = kind;
    c.creatureClass = creatureClass;
    c.level = level;
    c.size = {3, 3};
    for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
      *p = {10, 10};
    return c;
  }

  // An item code names a filled row of its table.
  static bool NamesFilledRow(uint32_t code) {
    if (IsCraftedCode(code)) return CraftedWeapons[code].name[0] != 0;
    if (code >= kFirstBaseItemCode && code < kFirstBaseItemCode + kItemRows)
      return ItemTable[code - kFirstBaseItemCode].name[0] != 0 && ItemTable[code - kFirstBaseItemCode].baseType != 0;
    return false;
  }

  // Every code a creature carries or wears names a filled row.
  static void ExpectEveryCodeFilled(const CreatureRecord& c) {
    for (uint32_t code : c.equipment) {
      if (code != 0) {
        EXPECT_TRUE(NamesFilledRow(code)) << "worn code " << code;
      }
    }
    if (c.ammunition.code != 0) {
      EXPECT_TRUE(NamesFilledRow(c.ammunition.code)) << "ammunition " << c.ammunition.code;
      EXPECT_EQ(c.ammunition.count, 15);
    }
    for (const ItemPair& pair : c.carried) {
      if (pair.code == 0) continue;
      EXPECT_TRUE(NamesFilledRow(pair.code)) << "carried code " << pair.code;
      EXPECT_GE(pair.count, 1) << "carried code " << pair.code;
    }
  }
};
