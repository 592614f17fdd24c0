// The pages that explain a roll of the log, a natural attack and a condition.
#include "screens/character/character_fixture.h"

#include "engine/graphics.h"
#include "engine/input.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "rules/breakdown_sources.h"
#include "rules/combat_roll_log.h"
#include "rules/modifier_list.h"
#include "screens/game/panel_sections.h"
#include "shell/page_dispatch.h"
#include "state/turn_order.h"

namespace charactertest {
namespace {

TEST_F(CharacterPageTest, ARollLinkOfTheLogOpensItsList) {
  ModifierList roll;
  std::strcpy(roll.caption, "Attack Roll (Aldric)");
  AddModifier(12, &roll, kSrcD20Roll);
  AddModifier(-3, &roll, kSrcStrengthModifier);
  AddModifier(0, &roll, kSrcSizeModifier);
  ClearMessageLog();
  const int index = StoreCombatRoll(roll);
  LogMessage("Attack @9|%.2i@.\r", index);
  ScreenMode = kModeExploring;
  CombatRollsPanelShown = 1;
  InCombat = 1;  // the panel is drawn in combat only
  // The log panel of combat, drawn alone, under a press on the rolled number
  // (small cells from the top-left corner).
  harness::MoveMouse(37, 2);
  for (bool pressed : {false, true}) {
    harness::MouseButton(0, pressed);
    harness::PumpMessages();
    ReadInputDevice(&KeyboardDevice);
    ReadInputDevice(&PointerDevice);
    BeginScene();
    BeginSprite();
    DrawCombatRollsPanel();
    EndSprite();
    EndScene();
  }
  InCombat = 0;
  harness::MouseButton(0, false);
  harness::StepFrames(1);
  ASSERT_EQ(ScreenMode, static_cast<uint32_t>(kModePageView));
  EXPECT_EQ(TopPageType(), kPageRollBreakdown);
  EXPECT_EQ(TopPageParameter(), index);
  harness::MoveMouse(300, 200);
  const std::vector<std::string> rows = Screen();
  EXPECT_EQ(LastScreenDrawn, std::string("DrawModifierListPage"));
  EXPECT_EQ(rows[2], "  Attack Roll (Aldric)");
  EXPECT_EQ(rows[4], "  D20 Roll                         +12");
  EXPECT_EQ(rows[5], "  Strength Modifier                -03");
  EXPECT_EQ(rows[6], "  Size Modifier                    +00");
  EXPECT_EQ(rows[8], "  Total                            +09");
}

TEST_F(CharacterPageTest, ListsThatShowNoRowsOrNotAllOfThem) {
  ScreenMode = kModePageView;
  PageModifierList = ModifierList{};
  PageModifierList.pairs[1] = {kSrcD20Roll, 5};  // in use behind an empty first pair
  PageModifierList.total = 5;
  Open(kPageModifierList, -1);
  std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[4], "  No modifiers apply to this value.");
  EXPECT_EQ(rows[6], "  Total (List Not Complete)        +05");
  PageModifierList = ModifierList{};
  for (int i = 0; i < 22; ++i) AddModifier(1, &PageModifierList, kSrcD6Roll);
  rows = Screen();
  EXPECT_EQ(rows[23], "  D6 Roll                          +01");
  EXPECT_EQ(rows[25], "  Total (List Not Complete)        +22");
  // A creation roll page's parameter is a party member.
  EXPECT_EQ(ChoosePageScreen(kPageAbilityRollFirst, 3).argument, 18);
  EXPECT_EQ(ChoosePageScreen(kPageAbilityRollFirst, 4).screen, PageScreen::kNone);
  EXPECT_EQ(ChoosePageScreen(kPageAbilityRollLast, 0x7FFFFFFF).screen, PageScreen::kNone);
}

TEST_F(CharacterPageTest, NaturalAttackDetails) {
  NaturalAttack& a = Creatures[kDragon].naturalAttacks[1];
  a = NaturalAttack{2, 1, 20, 2, 1, 4, 0, 0, 0};  // one claw, 1D4 slashing
  Open(kPageAttackDetailsFirst + 1, kDragon);
  std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[2], "  Claw attack");
  EXPECT_EQ(rows[4], "  Red Dragon can use this attack");
  EXPECT_EQ(rows[5], "  1 times in a row.");
  EXPECT_EQ(rows[7], "  Critical range 20");
  EXPECT_EQ(rows[9], "  The attack deals 1D4");
  EXPECT_EQ(rows[10], "  of Slashing Damage.");
  EXPECT_EQ(rows[12], "");
  a.critLow = 19;
  a.riderKind = 18;  // Strength drain 1D2
  a.riderDice = 1;
  a.riderSides = 2;
  rows = Screen();
  EXPECT_EQ(rows[7], "  Critical range from 19 to 20");
  EXPECT_EQ(rows[12], "  The attack deals 1D2");
  EXPECT_EQ(rows[13], "  Strength Drain.");
  a.effectKind = 27;
  a.kind = 11;  // past the names
  rows = Screen();
  EXPECT_EQ(rows[2], "  N.A.");
  EXPECT_EQ(rows[9], "");
  EXPECT_EQ(rows[10], "");
}

TEST_F(CharacterPageTest, ConditionDurationsValuesAndOrigins) {
  auto show = [&](ConditionEntry entry, int creature = kKnight) {
    ConditionEntry& slot = Creatures[creature].conditions[20];
    slot = entry;
    PageDepth = 0;
    Open(kPageEffectsFirst + 20, creature);
    return Screen();
  };
  std::vector<std::string> rows = show({kCondHasted, 1, 18, 0, 0});
  EXPECT_EQ(rows[4], "     Hasted");
  EXPECT_EQ(rows[6], "  This effect is temporary.");
  EXPECT_EQ(rows[7], "  Number of remaining rounds: 0");
  EXPECT_EQ(rows[9], "  The effect came from a spell.");
  EXPECT_EQ(show({kCondHasted, 5, 18, 0, 0})[7], "  Number of remaining rounds: 4");
  EXPECT_EQ(show({kCondFlatFooted, 1000, 34, 0, 0})[7], "  you take your first combat action.");
  EXPECT_EQ(show({kCondHasted, 1000, 0, 0, 0})[6], "  This effect is permanent.");
  EXPECT_EQ(show({kCondHasted, 2000, 0, 0, 0})[7], "  Until the party rests.");
  EXPECT_EQ(show({kCondHasted, 2000, 0, 0, 0}, kDragon)[7], "  Until the creature rests.");
  rows = show({kCondReducedDamageMagic, 1000, 0, 0, 5});
  EXPECT_EQ(rows[9], "  The effect reduces damage by 5");
  EXPECT_EQ(rows[11], "  The effect's origin is unknown.");
  rows = show({kCondReducedDamageMagic, 1000, 14, 12, 5});  // 14 names no place that holds an item
  EXPECT_EQ(rows[10], "  Remaining points to absorb: 12");
  EXPECT_EQ(rows[12], "  The effect's origin is unknown.");
  rows = show({kCondDamagedWhileCasting, 1, 24, 0, 7});
  EXPECT_EQ(rows[9], "  Damage taken while spellcasting 7");
  EXPECT_EQ(rows[11], "");
  // A kind or a creature outside its table names nothing.
  EXPECT_EQ(show({kCondPolymorphed, 1000, 18, 0, 5000})[9], "  The target creature is");
  EXPECT_EQ(show({kCondGrappling, 1000, 24, 0, -7})[9], "  Grappling with");
  EXPECT_EQ(show({kCondGrappling, 1000, 24, 0, kWizard})[9], "  Grappling with Berit");

  // The item behind an effect: a base item opens its properties, a crafted one its sheet.
  Creatures[kKnight].equipment[kSlotFeet - 1] = 5212;
  rows = show({kCondLongStride, 1000, kSlotFeet, 0, 0});
  EXPECT_EQ(rows[11].substr(0, 16), "  Effect Origin:");
  ClickCell(17, 11);
  EXPECT_EQ(TopPageType(), 5212);
  show({kCondRestrictedDex, 1000, kSlotTorso, 0, 1});
  ClickCell(17, 12);
  EXPECT_EQ(TopPageType(), 10000 + static_cast<int32_t>(Creatures[kKnight].equipment[kSlotTorso - 1]));
  EXPECT_EQ(TopPageParameter(), kKnight);
}

}  // namespace
}  // namespace charactertest
