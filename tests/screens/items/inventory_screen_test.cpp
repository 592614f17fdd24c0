// The inventory screen as a player sees and uses it.
#include "screens/items/inventory_fixture.h"

#include "creatures/creature_kinds.h"
#include "harness/test_scenes.h"
#include "rules/conditions.h"
#include "screens/game/map_input_fixture.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace inventorytest {
namespace {

TEST_F(InventoryScreenTest, DressedCharacterPicture) {
  CreatureRecord& c = Creatures[0];
  c.equipment[kSlotRightHand - 1] = Forge(1, 19);  // longsword
  c.equipment[kSlotLeftHand - 1] = Forge(2, 37);   // heavy shield
  c.equipment[kSlotTorso - 1] = Forge(3, 39);      // breastplate
  c.equipment[kSlotRanged - 1] = Forge(4, 32);     // longbow
  c.ammunition = {kArrows, 40};
  c.equipment[kSlotHead - 1] = kIntellectHeadband;
  c.equipment[kSlotCloak - 1] = kResistanceCloak;
  c.equipment[kSlotRightFinger - 1] = kFireRing;
  c.equipment[kSlotFeet - 1] = kBoots;
  c.carried[0] = {kScrollEntangle, 3};
  c.carried[1] = {kColdRing, 1};
  c.carried[2] = {Forge(5, 1), 1};  // dagger
  c.carried[9] = {kBolts, 12};
  RecomputeCreature(0, 0);
  OpenInventory(0);
  harness::MoveMouse(300, 100);
  harness::StepFrames(2);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "inventory_dressed"), 0);
}

TEST_F(InventoryScreenTest, ThePanelFollowsItemsDraggedOnThePage) {
  CreatureRecord& c = Creatures[0];
  c.carried[0] = {Forge(1, 39), 1};  // breastplate
  c.carried[1] = {Forge(2, 19), 1};  // longsword
  OpenInventory(0);
  harness::Drag(PackX(0), PackY(0), CentreX(kSlotTorso), CentreY(kSlotTorso));
  harness::Drag(PackX(1), PackY(1), CentreX(kSlotRightHand), CentreY(kSlotRightHand));
  harness::MoveMouse(300, 100);
  std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[13].substr(10, 5), "AC:16");
  EXPECT_NE(rows[16].find("Longsword"), std::string::npos) << rows[16];
  // The sword back in the backpack: its line goes, and the line's name no
  // longer opens the sheet of an item the hand does not hold.
  harness::Drag(CentreX(kSlotRightHand), CentreY(kSlotRightHand), PackX(1), PackY(1));
  rows = Screen();
  EXPECT_EQ(rows[16].find("Longsword"), std::string::npos) << rows[16] << "|" << rows[17];
  const int32_t depth = PageDepth;
  harness::Click(8 * 21 + 2, 8 * 16 + 4);
  harness::StepFrames(1);
  EXPECT_TRUE(PageDepth == depth || PageHistory[PageDepth].type != kPageItemPropertiesLast) << rows[16];
}

// The item actions' labels, as the pointer finds them.
constexpr int kSplitX = 20, kUseX = 116, kLearnX = 20, kDestroyX = 84;
constexpr int kUpperRowY = 180, kLowerRowY = 196;

TEST_F(InventoryScreenTest, EveryKindOfItemIsWornAndTakenOffByDragging) {
  CreatureRecord& c = Creatures[0];
  const struct {
    uint32_t code;
    int slot;
  } items[] = {
      {kIntellectHeadband, kSlotHead}, {kHealthAmulet, kSlotNeck},    {kResistanceCloak, kSlotCloak},
      {5206, kSlotArms},               {kFireRing, kSlotLeftFinger},  {kStrengthBelt, kSlotWaist},
      {kBoots, kSlotFeet},             {Forge(1, 39), kSlotTorso},    {Forge(2, 19), kSlotRightHand},
      {Forge(3, 37), kSlotLeftHand},   {Forge(4, 32), kSlotRanged},   {kArrows, kSlotAmmunition},
  };
  for (int k = 0; k < 12; ++k) c.carried[k] = {items[k].code, items[k].code == kArrows ? 20 : 1};
  OpenInventory(0);
  const CreatureRecord bare = c;
  for (int k = 0; k < 12; ++k) {
    harness::Drag(PackX(k), PackY(k), CentreX(items[k].slot), CentreY(items[k].slot));
    EXPECT_EQ(PlaceCode(0, items[k].slot), items[k].code) << k;
    EXPECT_EQ(c.carried[k].code, 0u) << k;
  }
  EXPECT_EQ(c.ammunition.count, 20);
  EXPECT_EQ(c.intelligence.current, bare.intelligence.current + 2);
  EXPECT_EQ(c.constitution.current, bare.constitution.current + 2);
  EXPECT_EQ(c.strength.current, bare.strength.current + 2);
  EXPECT_EQ(c.dexterity.current, bare.dexterity.current + 2);
  EXPECT_GE(FindCondition(0, kCondLongStride), 0);
  EXPECT_GT(c.willpower.current, bare.willpower.current);
  EXPECT_GE(FindCondition(0, kCondFireResistance), 0);
  EXPECT_GE(FindCondition(0, kCondRestrictedDex), 0);  // the breastplate is worn
  // Everything back into the backpack: the creature is as it was.
  for (int k = 0; k < 12; ++k) harness::Drag(CentreX(items[k].slot), CentreY(items[k].slot), PackX(k), PackY(k));
  for (int k = 0; k < 12; ++k) EXPECT_EQ(c.carried[k].code, items[k].code) << k;
  EXPECT_EQ(c.intelligence.current, bare.intelligence.current);
  EXPECT_EQ(c.speed.current, bare.speed.current);
  EXPECT_EQ(FindCondition(0, kCondFireResistance), -1);
}

TEST_F(InventoryScreenTest, SplitLearnUseAndDestroy) {
  CreatureRecord& c = Creatures[0];
  c.creatureClass = kClassWizard;
  c.spellsPerDay[0] = 2;
  c.carried[0] = {kBolts, 5};
  c.carried[2] = {kScrollEntangle, 3};
  c.carried[3] = {kScrollEntangle + 1, 1};  // Mage Armor
  c.carried[4] = {Forge(57, 1), 1};
  c.carried[5] = {5521, 1};  // a letter that matters to the story
  OpenInventory(0);
  harness::Drag(PackX(0), PackY(0), kSplitX, kUpperRowY);
  EXPECT_EQ(c.carried[0].count, 2);
  EXPECT_EQ(c.carried[1].code, kBolts);
  EXPECT_EQ(c.carried[1].count, 3);
  EXPECT_EQ(InventoryMessage.code, 28);
  // A single scroll is no stack to split.
  harness::Drag(PackX(3), PackY(3), kSplitX, kUpperRowY);
  EXPECT_EQ(c.carried[3].count, 1);
  EXPECT_EQ(c.carried[6].code, 0u);

  harness::Drag(PackX(2), PackY(2), kLearnX, kLowerRowY);
  EXPECT_EQ(c.knownSpells[0], 1);
  EXPECT_EQ(c.carried[2].count, 2);
  harness::Drag(PackX(2), PackY(2), kLearnX, kLowerRowY);  // known now: nothing happens
  EXPECT_EQ(c.carried[2].count, 2);

  harness::Drag(PackX(4), PackY(4), kDestroyX, kLowerRowY);
  EXPECT_EQ(c.carried[4].code, 0u);
  EXPECT_EQ(CraftedWeapons[57].name[0], 0);
  harness::Drag(PackX(5), PackY(5), kDestroyX, kLowerRowY);
  EXPECT_EQ(c.carried[5].code, 5521u);

  harness::Drag(PackX(3), PackY(3), kUseX, kUpperRowY);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeCastStart));
  EXPECT_EQ(CurrentSpell, 1);
  EXPECT_EQ(SpellCaster, 0);
  EXPECT_EQ(CastingFromItem, 1);
  EXPECT_EQ(CastingWand, 0);
  EXPECT_EQ(CastingItem, kScrollEntangle + 1);
  EXPECT_EQ(c.carried[3].count, 1);  // the casting spends it, not the screen
}

TEST_F(InventoryScreenTest, UseKeyCastsFromAWandAndClericsCannotLearnArcaneScrolls) {
  CreatureRecord& c = Creatures[0];
  c.creatureClass = kClassCleric;
  c.spellsPerDay[0] = 2;
  c.carried[0] = {kScrollEntangle, 1};
  OpenInventory(0);
  harness::Drag(PackX(0), PackY(0), kLearnX, kLowerRowY);
  EXPECT_EQ(c.knownSpells[0], 0);
  EXPECT_EQ(c.carried[0].count, 1);

  c.creatureClass = kClassWizard;
  CraftedWeaponRecord& wand = CraftedWeapons[Forge(9, 8)];
  wand.spell = 1;
  wand.charges = 12;
  c.carried[1] = {9, 1};
  harness::MoveMouse(PackX(1), PackY(1));
  harness::StepFrames(1);
  harness::PressKey("U");
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeCastStart));
  EXPECT_EQ(CastingWand, 1);
  EXPECT_EQ(CastingItem, 9u);
  EXPECT_EQ(wand.charges, 12);
}

TEST_F(InventoryScreenTest, EnchantPickerChoosesAMasterworkItem) {
  CreatureRecord& c = Creatures[0];
  c.equipment[kSlotRightHand - 1] = Forge(6, 19);
  c.equipment[kSlotLeftHand - 1] = Forge(7, 37);
  CraftedWeapons[6].masterwork = 1;
  RecomputeCreature(0, 0);
  ActingCreature = 0;
  ScreenMode = kModeEnchantPicker;
  harness::StepFrames(1);
  harness::Click(CentreX(kSlotLeftHand), CentreY(kSlotLeftHand));  // not masterwork
  harness::StepFrames(1);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeEnchantPicker));
  harness::Click(CentreX(kSlotRightHand), CentreY(kSlotRightHand));
  harness::StepFrames(1);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModePageView));
  EXPECT_EQ(PageHistory[PageDepth].type, kPageEnchantWeaponArmor);
  EXPECT_EQ(ChosenItem, 6);
  EXPECT_EQ(c.equipment[kSlotRightHand - 1], 6u);
}

TEST_F(InventoryScreenTest, CombatScrollsByClassTimeAndVoice) {
  CreatureRecord& c = Creatures[0];
  const uint32_t arcane = kScrollEntangle, divine = 5000 + 3 + 102;
  ASSERT_EQ(ItemTable[divine - 5000].bonus, 102);
  TurnOrder[0].creature = 0;  // the member's turn
  TurnEntryCount = 1;
  CombatAction.currentEntry = 0;
  c.creatureClass = kClassRogue;
  EXPECT_TRUE(ScrollUsableInCombat(0, arcane));
  EXPECT_FALSE(ScrollUsableInCombat(0, divine));
  c.creatureClass = kClassCleric;
  EXPECT_FALSE(ScrollUsableInCombat(0, arcane));
  EXPECT_TRUE(ScrollUsableInCombat(0, divine));
  AddCondition(0, kCondSilenced, 5, 0, 18, 0);
  EXPECT_EQ(ScrollUsableInCombat(0, divine), SpellTable[102].verbal == 0);
  EXPECT_FALSE(ScrollUsableInCombat(0, kFireRing));
}

TEST_F(InventoryScreenTest, InCombatOnlyTheEquipmentActionMovesItems) {
  Creatures[0].carried[0] = {kFireRing, 1};
  Creatures[0].carried[1] = {kColdRing, 1};
  ScreenMode = kModePageView;
  InCombat = 1;
  TurnOrder[0].creature = 0;  // the member's turn
  TurnEntryCount = 1;
  CombatAction.currentEntry = 0;
  harness::MoveMouse(PackX(0), PackY(0));
  harness::MouseButton(0, true);
  DrawAlone(0);
  EXPECT_EQ(HeldItemCode, -1);
  harness::MouseButton(0, false);
  DrawAlone(0);
  CombatEquipAction = 1;
  harness::MouseButton(0, true);
  DrawAlone(0);
  EXPECT_EQ(HeldItemCode, static_cast<int32_t>(kFireRing));
  harness::MoveMouse(CentreX(kSlotRightFinger), CentreY(kSlotRightFinger));
  DrawAlone(0);
  harness::MouseButton(0, false);
  DrawAlone(0);
  EXPECT_EQ(Creatures[0].equipment[kSlotRightFinger - 1], kFireRing);
  // Paralysed, the member handles no gear, whatever action it took.
  AddCondition(0, kCondParalyzed, 5, 0, 18, 0);
  harness::MoveMouse(PackX(1), PackY(1));
  harness::MouseButton(0, true);
  DrawAlone(0);
  EXPECT_EQ(HeldItemCode, -1);
  harness::MouseButton(0, false);
  DrawAlone(0);
  InCombat = 0;
}

// Two knights of the party before an orc in a battle, on the first one's turn.
class InventoryInBattle : public InventoryScreenTest {
 protected:
  void SetUp() override {
    InventoryScreenTest::SetUp();
    ASSERT_TRUE(harness::StepFrames(1));  // the game's start-up done
    harness::SeedRandom(3);
    scenes::LayOutGround(16, 10);
    scenes::AddKnight(0, 3, 4);
    scenes::AddKnight(1, 3, 5);
    Creatures[0].dexterity = {40, 40};  // the first to act
    scenes::AddFoe(scenes::kFirstFoe, kKindOrc, 6, 4);
    scenes::Finish();
    harness::MoveMouse(300, 220);
    ASSERT_TRUE(inputtest::WaitForTurnOf(0));
  }

  // The entry of the acting member's list of actions clicked, and the
  // member's inventory it opens shown.
  static void ChooseInventoryAction(const char* label) {
    const std::vector<std::string> rows = Screen();
    int row = 0;
    while (row < static_cast<int>(rows.size()) && rows[row].find(label) == std::string::npos) ++row;
    ASSERT_LT(row, static_cast<int>(rows.size()));
    harness::Click(static_cast<int>(8 * rows[row].find(label) + 4), 8 * row + 4);
    for (int frames = 0; ScreenMode != kModePageView && frames < 100; ++frames) harness::StepFrames(1);
    ASSERT_EQ(PageHistory[PageDepth].type, kPageInventory);
    ASSERT_EQ(PageHistory[PageDepth].parameter, 0);
  }
};

// In a battle the acting knight's "Use Inventory" moves its own items only:
// the page of another member reached from it (a right click on the name
// opens the record, whose key 6 opens that member's inventory) only shows
// it, and that member, paralysed and not acting, puts on no ring.
TEST_F(InventoryInBattle, TheEquipmentActionMovesOnlyTheActingMembersItems) {
  Creatures[0].carried[0] = {kFireRing, 1};
  Creatures[1].carried[0] = {kColdRing, 1};
  AddCondition(1, kCondParalyzed, 5, 0, 18, 0);

  ASSERT_NO_FATAL_FAILURE(ChooseInventoryAction("Use Inventory"));
  harness::Drag(PackX(0), PackY(0), CentreX(kSlotRightFinger), CentreY(kSlotRightFinger));
  EXPECT_EQ(Creatures[0].equipment[kSlotRightFinger - 1], kFireRing);

  harness::Click(8 * 18 + 4, 8 * 6 + 4, 1);  // Berta's name
  harness::StepFrames(1);
  ASSERT_EQ(PageHistory[PageDepth].type, kPageCharacterRecord);
  harness::PressKey("6");
  harness::StepFrames(1);
  ASSERT_EQ(PageHistory[PageDepth].type, kPageInventory);
  ASSERT_EQ(PageHistory[PageDepth].parameter, 1);
  harness::Drag(PackX(0), PackY(0), CentreX(kSlotRightFinger), CentreY(kSlotRightFinger));
  EXPECT_EQ(Creatures[1].equipment[kSlotRightFinger - 1], 0u);
  EXPECT_EQ(Creatures[1].carried[0].code, kColdRing);
}

// During the first member's "U:Scroll Spell" (a wizard now) the paralysed
// knight's inventory, opened by key 6, only shows: a click on the knight's
// scroll casts nothing and the page stays. Back on her own page (key 5) the
// wizard reads hers, though not while she is paralysed herself.
TEST_F(InventoryInBattle, DuringTheScrollActionOnlyTheActingFighterReadsAScroll) {
  Creatures[0].creatureClass = kClassWizard;
  Creatures[0].carried[0] = {kScrollEntangle, 1};
  Creatures[1].carried[0] = {kScrollEntangle, 1};
  AddCondition(1, kCondParalyzed, 5, 0, 18, 0);

  ASSERT_NO_FATAL_FAILURE(ChooseInventoryAction("U:Scroll Spell"));
  harness::PressKey("6");
  harness::StepFrames(1);
  ASSERT_EQ(PageHistory[PageDepth].parameter, 1);
  harness::Click(PackX(0), PackY(0));
  EXPECT_NE(Screen()[1].find(Creatures[1].name), std::string::npos);
  EXPECT_EQ(CurrentSpell, -1);

  harness::PressKey("5");
  harness::StepFrames(1);
  ASSERT_EQ(PageHistory[PageDepth].parameter, 0);
  AddCondition(0, kCondParalyzed, 5, 0, 18, 0);
  harness::Click(PackX(0), PackY(0));
  EXPECT_NE(Screen()[1].find(Creatures[0].name), std::string::npos);
  EXPECT_EQ(CurrentSpell, -1);
  RemoveCondition(0, kCondParalyzed);
  harness::Click(PackX(0), PackY(0));
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeCastStart));
  EXPECT_EQ(SpellCaster, 0);
}

TEST_F(InventoryScreenTest, CaptionWordsAreCapitalisedAlsoWithASpellPending) {
  std::strcpy(CraftedWeapons[Forge(7, 19)].name, "Frostfang the long");
  Creatures[0].carried[0] = {7, 1};
  ScreenMode = kModePageView;
  // The caption is drawn 17 pixels right of and 12 below the pointer.
  harness::MoveMouse(15, 140);
  for (const int32_t spell : {-1, 3}) {
    CurrentSpell = spell;
    std::vector<GlyphDraw> glyphs;
    RecordGlyphs(&glyphs);
    DrawAlone(0);
    RecordGlyphs(nullptr);
    EXPECT_EQ(harness::LargeTextRows(glyphs)[19].substr(4), "Frostfang The Long") << spell;
  }
  CurrentSpell = -1;
}

}  // namespace
TEST_F(InventoryScreenTest, ReturningToTheGameEndsTheTrade) {
  // A trader's goods were offered (a script opened the trade); Escape is
  // "To The Game": the game goes on and nobody is trading any more.
  TradePartner = 5;
  OpenInventory(0);
  harness::StepFrames(1);
  harness::PressKey("Escape");
  harness::StepFrames(1);
  EXPECT_NE(ScreenMode, kModePageView);
  EXPECT_EQ(TradePartner, -1);
}

}  // namespace inventorytest
