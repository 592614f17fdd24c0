// The character page tests: the game started headless, a created party of a
// Knight, a Wizard, a Cleric and a second Knight, a red dragon among the
// creatures, and the pages opened in page view.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "creatures/create_creature.h"
#include "creatures/creature_kinds.h"
#include "engine/frame.h"
#include "engine/help_pages.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "harness/harness.h"
#include "party/creation_rules.h"
#include "party/new_characters.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"

namespace charactertest {

constexpr int kKnight = 0, kWizard = 1, kCleric = 2, kDragon = 700;

class CharacterPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    harness::SeedRandom(7);
    for (int member = 0; member < kPartySize; ++member) RollNewCharacter(member);
    ChooseClass(kWizard, kClassWizard);
    ChooseClass(kCleric, kClassCleric);
    SetOut(kKnight, "Aldric", 10);
    SetOut(kWizard, "Berit", 4);
    SetOut(kCleric, "Corwin", 8);
    SetOut(3, "Dalla", 10);
    std::strcpy(Creatures[kKnight].description,
                "Aldric left the mill at sixteen. Aldric keeps his father's sword and a vow to guard the road.");
    // The Knight armed: a longsword, a heavy shield and a breastplate.
    CreatureRecord& k = Creatures[kKnight];
    k.equipment[kSlotRightHand - 1] = Forge(1, 19);
    k.equipment[kSlotLeftHand - 1] = Forge(2, 37);
    k.equipment[kSlotTorso - 1] = Forge(3, 39);
    RecomputeCreature(kKnight, 0);
    CreateCreature(3, 10, 12, kDragon, kKindRedDragon, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0);
    ScreenMode = kModePageView;
  }
  void TearDown() override { harness::StopGame(); }

  // What a party member has when the party sets out: a party Humanoid of
  // medium size, speed 30, the hit die of its class and its Constitution.
  static void SetOut(int member, const char* name, int hitDie) {
    CreatureRecord& c = Creatures[member];
    std::strcpy(c.name, name);
    c.allegiance = kAllegianceParty;
    c.type = kTypeHumanoid;
    c.present = 1;
    c.size = {3, 3};
    c.speed = {30, 30};
    c.footprintHeight = c.footprintWidth = {1, 1};
    c.baseHitPoints = std::max(1, hitDie + AbilityModifier(c.constitution.base));
    c.maxHitPoints = c.hitPoints = c.baseHitPoints;
    c.leader = -1;
    c.fighterSlot = -1;
    RecomputeCreature(member, 1);
  }

  // A crafted item of the pool made from the prepared row of kind t.
  static uint32_t Forge(uint32_t code, int kind) {
    CraftedWeapons[code] = CraftedWeapons[4951 + kind];
    return code;
  }

  // The page pushed over the history and drawn for a few frames.
  static void Open(int32_t type, int32_t parameter, const char* caption = "Page") {
    PushPage(caption, type, parameter);
    harness::StepFrames(2);
  }

  // One frame; the large text it drew, row by row (40 columns, 30 rows).
  static std::vector<std::string> Screen() {
    std::vector<GlyphDraw> glyphs;
    RecordGlyphs(&glyphs);
    harness::StepFrames(1);
    RecordGlyphs(nullptr);
    std::vector<std::string> rows(30, std::string(40, ' '));
    for (const GlyphDraw& g : glyphs)
      if (g.x % 8 == 0 && g.y % 8 == 0 && g.x / 8 < 40 && g.y / 8 < 30) rows[g.y / 8][g.x / 8] = static_cast<char>(g.c);
    for (std::string& r : rows) r.erase(r.find_last_not_of(' ') + 1);
    return rows;
  }

  // The pointer moved onto a cell and a left click there.
  static void ClickCell(int column, int row, int button = 0) {
    harness::MoveMouse(column * 8 + 2, row * 8 + 3);
    harness::StepFrames(1);
    harness::Click(column * 8 + 2, row * 8 + 3, button);
    harness::StepFrames(1);
  }

  static void AddEntry(int creature, uint32_t id, int32_t value, int32_t duration = 10, uint32_t source = 18,
                       uint32_t param = 0) {
    ASSERT_TRUE(AddCondition(creature, id, duration, value, source, param));
  }
};

}  // namespace charactertest
