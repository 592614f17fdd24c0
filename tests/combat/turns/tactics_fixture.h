// Drawn battles for the tactics of computer fighters: the grids' battle with
// the spell table loaded and the tactics' words put back.
#pragma once
#include <gtest/gtest.h>

#include "combat/resolution/area_targets.h"
#include "combat/turns/area_placement.h"
#include "combat/turns/tactics.h"
#include "combat/turns/turns_fixture.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "state/current_cast.h"

namespace tacticsfixture {

class TacticsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(LoadSpellTable(), 1); }
  void SetUp() override {
    ResetAreaPlacementState();
    ResetTacticsState();
    ResetCurrentCastState();
  }
  void TearDown() override { PlacementShortcuts = 1; }

  // A battle on an open map of the given size.
  static void OpenBattle(int width, int height) {
    turnsfixture::NewBattle(std::vector<std::string>(height, std::string(width, '.')));
  }
  // A caster of the class with two slots at every level, knowing the spells.
  static void MakeCaster(int id, int creatureClass, std::initializer_list<int> spells, int level = 12) {
    CreatureRecord& c = Creatures[id];
    c.creatureClass = creatureClass;
    c.level = c.effectiveLevel = level;
    c.casterLevelAdjust = level;  // caster level: effective level - level + this
    for (int l = 0; l < 9; ++l) c.spellsLeft[l] = 2;
    for (int spell : spells) c.knownSpells[spell] = 1;
  }
  // The creatures the area target list holds.
  static bool Listed(int creature) {
    for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i)
      if (AreaTargetList[i] == creature) return true;
    return false;
  }
};

}  // namespace tacticsfixture
