// The inventory tests: the game started headless, a party of four with a
// dressed first member, and its inventory page open in page view.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/input.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "harness/harness.h"
#include "harness/screen_text.h"
#include "rules/creature_record.h"
#include "rules/inventory_slots.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "screens/game/click_results.h"
#include "screens/items/inventory_screen.h"
#include "screens/items/item_screens.h"
#include "state/inventory_state.h"

namespace inventorytest {

// Base rows of the item table (code 5,000 + row).
constexpr uint32_t kArrows = 5001, kBolts = 5002, kScrollEntangle = 5003;
constexpr uint32_t kIntellectHeadband = 5213, kWisdomHelm = 5229, kFireRing = 5178, kColdRing = 5181;
constexpr uint32_t kArmorBracers = 5198, kResistanceCloak = 5221, kStrengthBelt = 5209, kBoots = 5212;
constexpr uint32_t kHealthAmulet = 5226;

class InventoryScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    for (int id = 0; id < kPartySize; ++id) MakeMember(id);
    std::strcpy(Creatures[0].name, "Aldric");
    std::strcpy(Creatures[1].name, "Berit");
    std::strcpy(Creatures[2].name, "Corwin");
    std::strcpy(Creatures[3].name, "Dalla");
  }
  void TearDown() override { harness::StopGame(); }

  // A level-5 member of 12 in every ability, medium size, with nothing.
  static CreatureRecord& MakeMember(int id, int creatureClass = kClassKnight) {
    CreatureRecord& c = Creatures[id];
    std::memset(&c, 0, sizeof c);
    std::strcpy(c.name, "Member");
    c.creatureClass = creatureClass;
    c.level = c.effectiveLevel = 5;
    c.allegiance = kAllegianceParty;
    c.present = 1;
    c.baseHitPoints = c.maxHitPoints = c.hitPoints = 40;
    c.speed = {30, 30};
    c.baseAttack = {5, 5};
    c.size = {3, 3};
    for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
      *p = {12, 12};
    c.footprintHeight = c.footprintWidth = {1, 1};
    c.fighterSlot = -1;
    c.leader = -1;
    c.feats[kFeatSimpleWeapons] = 1;
    for (int i = 0; i < 22; ++i) c.feats[kFeatFirstMartial + i] = 1;
    for (int feat : {kFeatLightArmour, kFeatMediumArmour, kFeatHeavyArmour, kFeatShield}) c.feats[feat] = 1;
    RecomputeCreature(id, 1);
    return c;
  }

  // A crafted item of the pool made from the prepared row of kind t.
  static uint32_t Forge(uint32_t code, int kind) {
    CraftedWeapons[code] = CraftedWeapons[4951 + kind];
    return code;
  }

  // The inventory of the creature as the top page.
  static void OpenInventory(int creature) {
    ScreenMode = kModePageView;
    PushPage("Inventory", kPageInventory, creature);
    harness::StepFrames(2);
  }

  // One frame of the screen alone, drawn outside the game's frame (which
  // would run the combat steps), with the waiting input read first.
  static void DrawAlone(int creature) {
    harness::PumpMessages();
    ReadInputDevice(&KeyboardDevice);
    ReadInputDevice(&PointerDevice);
    BeginScene();
    ClearScreen(0xFF000000u);
    BeginSprite();
    DrawInventoryScreen(creature, -1);
    EndSprite();
    EndScene();
    PresentFrame();
  }

  // One frame; the large text it drew, row by row (40 columns, 30 rows).
  static std::vector<std::string> Screen() {
    std::vector<GlyphDraw> glyphs;
    RecordGlyphs(&glyphs);
    harness::StepFrames(1);
    RecordGlyphs(nullptr);
    return harness::LargeTextRows(glyphs);
  }

  static const EquipBox& Box(int slot) { return *EquipBoxOf(slot); }
  static int CentreX(int slot) { return Box(slot).x + 9; }
  static int CentreY(int slot) { return Box(slot).y + 9; }
  static int PackX(int entry) { return BackpackBoxX(entry) + 9; }
  static int PackY(int entry) { return BackpackBoxY(entry) + 9; }
};

}  // namespace inventorytest
