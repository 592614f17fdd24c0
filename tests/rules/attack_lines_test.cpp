#include "rules/attack_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "state/turn_order.h"
#include "engine/graphics.h"
#include "engine/graphics.h"
#include "engine/input.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "engine/settings.h"
#include "rules/armour_class.h"
#include "rules/breakdown_sources.h"
#include "rules/creature_record.h"
#include "rules/item_rules.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "map/square_grids.h"
#include "state/map_view_state.h"

namespace {

constexpr int kFighter = 0;
constexpr uint32_t kSword = 30, kShield = 31, kBow = 32, kMail = 33;

class AttackLines : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordGlyphs(&glyphs);
    Graphics.windowed = 1;
    WindowSize = 1;
    WideViewDrawSwitch = 0;
    OptionWords[kOptionLowResolutionText] = 0;
    InCombat = 0;
    AttackLinesScroll = 0;
    PointerDevice.kind = kInputMouse;
    PointerDevice.x = PointerDevice.y = 0;
    std::memset(PointerDevice.state, 0, sizeof PointerDevice.state);
    std::memset(PointerDevice.locks, 0, sizeof PointerDevice.locks);
    ResetPageHistory();
    PushPage("Character", kPageCharacterRecord, kFighter);

    CreatureRecord& c = Creatures[kFighter];
    std::memset(&c, 0, sizeof c);
    std::snprintf(c.name, sizeof c.name, "Brannoc");
    c.strength = {16, 16};
    c.dexterity = {13, 13};
    c.baseAttack = {6, 6};
    c.size = {3, 3};
    c.footprintWidth = {1, 1};
    c.footprintHeight = {1, 1};
    c.allegiance = kAllegianceParty;
    c.feats[kFeatWeaponFocusDagger + 19 - 1] = 1;  // longsword
    MakeItem(kSword, "Longsword", 19, 2, 1, 8);
    CraftedWeapons[kSword].masterwork = 1;
    CraftedWeapons[kSword].enhancement = 1;
    CraftedWeapons[kSword].properties[17 - 1] = 1;  // a bonus damage of kind 2
    MakeItem(kShield, "Shield", 36, 5, 0, 2);
    MakeItem(kBow, "Longbow", 32, 4, 1, 8);
    MakeItem(kMail, "Chain Mail", 41, 6, 2, 5);  // armour bonus 5, Dexterity at most +2
  }
  void TearDown() override { RecordGlyphs(nullptr); }

  static void MakeItem(uint32_t code, const char* name, int type, int handling, int count, int sides) {
    CraftedWeaponRecord& w = CraftedWeapons[code];
    std::memset(&w, 0, sizeof w);
    std::snprintf(w.name, sizeof w.name, "%s", name);
    w.itemType = type;
    w.handling = handling;
    w.dieCount = count;
    w.dieSides = sides;
    w.size = 3;
  }

  // The characters drawn on a row of large cells, by column.
  std::string Row(int row) const {
    std::string s(kLargeColumns, ' ');
    for (const GlyphDraw& g : glyphs)
      if (g.y == row * 8 && g.x / 8 < kLargeColumns) s[g.x / 8] = static_cast<char>(g.c);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }

  void Draw() {
    glyphs.clear();
    AttackProfile profile;
    BuildAttackProfile(&profile, kFighter, 0, -1, 0, 0);
    FormatAttackCountModifiers(&profile, kFighter);
  }

  void PointAt(int column, int row, bool press) {
    PointerDevice.x = column * 8 + 2;
    PointerDevice.y = row * 8 + 2;
    PointerDevice.state[kMouseButtonsAt] = press ? 0x80 : 0;
    PointerDevice.locks[0] = 0;
  }

  std::vector<GlyphDraw> glyphs;
};

}  // namespace

TEST_F(AttackLines, FighterShowsItsAttackRowsAndArmourClass) {
  CreatureRecord& c = Creatures[kFighter];
  c.equipment[kSlotRightHand - 1] = kSword;
  c.equipment[kSlotLeftHand - 1] = kShield;
  c.equipment[kSlotRanged - 1] = kBow;
  c.equipment[kSlotTorso - 1] = kMail;
  // A knight's proficiencies; the recomputation derives the current values.
  c.feats[kFeatSimpleWeapons] = 1;
  for (int feat = 30; feat <= 51; ++feat) c.feats[feat] = 1;
  for (int feat = 54; feat <= 57; ++feat) c.feats[feat] = 1;
  c.hitPoints = c.maxHitPoints = c.baseHitPoints = 40;
  c.level = c.effectiveLevel = 6;
  c.creatureClass = 1;
  ASSERT_EQ(RecomputeCreature(kFighter, 1), 1);
  Draw();
  EXPECT_EQ(Row(14), " 2*Longsword      +11 1D8 +04+1D6");
  EXPECT_EQ(Row(15), " 2*Longbow        +07 1D8 +00");
  EXPECT_EQ(Row(16), " - -                - -");

  // Every number is the total of its breakdown, and the breakdown adds up.
  AttackProfile p;
  BuildAttackProfile(&p, kFighter, 0, -1, 0, 0);
  for (const AttackProfileEntry& e : p.entries)
    for (const ModifierList* l : {&e.attackRoll, &e.attackCount, &e.damageBonus}) {
      int32_t sum = 0;
      for (const ModifierPair& pair : l->pairs) sum += pair.value;
      EXPECT_EQ(sum, l->total) << l->caption;
    }

  ModifierList ac;
  InitModifierList(&ac);
  int count = 0;
  ac.total = ComputeArmourClass(kFighter, &ac, &count, 0, -1, 0, 0);
  EXPECT_EQ(ac.total, 10 + 5 + 2 + 1);
  int32_t sum = 0;
  for (int i = 0; i < count; ++i) sum += ac.pairs[i].value;
  EXPECT_EQ(sum, ac.total);
  EXPECT_STREQ(ac.caption, "Armor Class (Brannoc)");
}

TEST_F(AttackLines, RangedWeaponAloneLeavesTheFirstLineEmpty) {
  Creatures[kFighter].equipment[kSlotRanged - 1] = kBow;
  Draw();
  EXPECT_EQ(Row(14), " - -                - -");
  EXPECT_EQ(Row(15), " 2*Longbow        +07 1D8 +00");
}

TEST_F(AttackLines, SpecialEffectsOfNaturalAttacks) {
  NaturalAttack& bite = Creatures[kFighter].naturalAttacks[0];
  bite = {};
  bite.kind = 1;
  bite.count = 1;
  bite.effectKind = 25;  // bleeding
  Draw();
  EXPECT_EQ(Row(14), " 1*Bite Attack    +09 Bleeding");
  bite.effectKind = 13;  // Dexterity damage
  bite.effectDice = 1;
  bite.effectSides = 4;
  Draw();
  EXPECT_EQ(Row(14), " 1*Bite Attack    +09 1D4 +00 DEX");
  bite.effectKind = 5;  // another damage kind: no Strength
  Draw();
  EXPECT_EQ(Row(14), " 1*Bite Attack    +09 1D4 +00");
}

TEST_F(AttackLines, HoverAndClickOpenTheBreakdownPages) {
  Creatures[kFighter].equipment[kSlotRightHand - 1] = kSword;
  const struct { int column; const char* hover; const char* caption; int32_t type; int32_t parameter; } cases[] = {
      {1, "Modifiers: Number of Attacks", "Number of Attacks", 25, kFighter},
      {4, "More Information", "Longsword", 10000 + static_cast<int32_t>(kSword), kFighter},
      {19, "Modifiers: Attack Roll Bonus", "Attack Roll Modifiers", 32, kFighter},
      {27, "Modifiers: Damage Bonus", "Damage Bonus Modifiers", 39, kFighter},
      {31, "Damage Types", "Damage Types", kPageHelpTopic, 43110},
  };
  for (const auto& t : cases) {
    ResetPageHistory();
    PushPage("Character", kPageCharacterRecord, kFighter);
    const int depth = PageDepth;
    PageWork.scroll = 6;
    HoverCaption[0] = 0;
    PointAt(t.column, 14, false);
    Draw();
    EXPECT_STREQ(HoverCaption, t.hover) << t.column;
    EXPECT_EQ(CursorShape, kCursorOverLink);
    EXPECT_EQ(PageDepth, depth);
    PointAt(t.column, 14, true);
    Draw();
    ASSERT_EQ(PageDepth, depth + 1) << t.column;
    EXPECT_STREQ(PageHistory[PageDepth].caption, t.caption);
    EXPECT_EQ(PageHistory[PageDepth].type, t.type);
    EXPECT_EQ(PageHistory[PageDepth].parameter, t.parameter);
    // Only the weapon's item details page starts from the top of its text.
    EXPECT_EQ(PageWork.scroll, t.type >= 10000 ? 0 : 6) << t.column;
  }
}

TEST_F(AttackLines, ScrollStaysWithinTheEntries) {
  CreatureRecord& c = Creatures[kFighter];
  c.equipment[kSlotRightHand - 1] = kSword;
  AttackLinesScroll = 5;
  Draw();
  EXPECT_EQ(AttackLinesScroll, 0);
  for (int slot = 0; slot < 3; ++slot) {
    c.naturalAttacks[slot] = {};
    c.naturalAttacks[slot].kind = 1 + slot * 3;
    c.naturalAttacks[slot].count = 1;
  }
  c.special[kSenseKindWord] = 7;
  c.naturalAttacks[3].kind = 8;
  c.naturalAttacks[3].count = 1;
  c.equipment[kSlotRanged - 1] = kBow;  // entries 0 to 5 in use
  AttackLinesScroll = 9;
  Draw();
  EXPECT_EQ(AttackLinesScroll, 3);
  EXPECT_EQ(Row(16), " 2*Longbow        +07 1D8 +00");
  AttackLinesScroll = -4;
  Draw();
  EXPECT_EQ(AttackLinesScroll, 0);
}
