// The numbers shown beside the creatures of an aimed area spell.
#include "frontend/game_reset.h"
#include "combat/resolution/spell_preview.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "combat/actions/casting_checks.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/spell_effect_codes.h"
#include "map/area_shapes.h"
#include "map/map_fixture.h"
#include "map/square_grids.h"
#include "rules/casting_rules.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"

namespace {

constexpr int kCaster = 0;
constexpr int kFireball = 31;
constexpr int kSleep = 3;

class SpellPreview : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    mapfixture::DrawMap(std::vector<std::string>(12, std::string(12, '.')));
    Put(kCaster, 0, 0, 1);
    CreatureRecord& k = Creatures[kCaster];
    k.level = k.effectiveLevel = k.casterLevelAdjust = 5;  // caster level 5
    k.intelligence = {10, 10};
    ActingCreature = kCaster;
  }
  static void Put(int id, int x, int y, int side) {
    mapfixture::PlaceFighter(id, x, y);
    CreatureRecord& c = Creatures[id];
    c.allegiance = side;
    c.wisdom = c.constitution = c.dexterity = {10, 10};
  }
  static void Start() {
    mapfixture::StartTestCombat();
    BuildOccupancyGrids(kCaster);
  }
  // A 20-foot fire burst of caster-level d6 (count code 21); fire by its
  // effect code, without a descriptor, as the spell's row has it.
  static void Fireball() {
    SpellRecord& s = SpellTable[kFireball];
    std::memset(&s, 0, sizeof s);
    s.areaSize = 20;
    s.effects[0] = {kFxFire, 0, 0, 0, 6, 21, 3, 1};
    CurrentSpell = kFireball;
  }
  static void Sleep() {
    SpellRecord& s = SpellTable[kSleep];
    std::memset(&s, 0, sizeof s);
    s.areaSize = 20;
    s.level = 1;
    s.effects[0] = {2, 0, 0, 0, 0, 0, 5, 0};  // Willpower negates
    CurrentSpell = kSleep;
  }
};

TEST_F(SpellPreview, ValuesGoExactlyToTheCreaturesOfTheShape) {
  const int ids[] = {20, 21, 22, 23, 24, 25};
  const int at[][2] = {{6, 6}, {5, 8}, {9, 6}, {2, 6}, {6, 1}, {11, 11}};
  for (int i = 0; i < 6; ++i) Put(ids[i], at[i][0], at[i][1], 2);
  Start();
  for (auto shape : {&Fireball, &Sleep}) {
    shape();
    ASSERT_TRUE(RasteriseBurst(kCaster, 6, 6, CurrentSpell));
    ASSERT_EQ(CurrentSpell == kFireball ? PreviewSpellArea() : BuildSpellAreaGrid(), 1);
    int covered = 0;
    for (int id : ids) {
      const CreatureRecord& c = Creatures[id];
      const bool inShape = AreaMask[SquareIndex(c.squareX, c.squareY)] != 0;
      covered += inShape;
      EXPECT_EQ(SpellPreviewValues[id] != 0, inShape) << "creature " << id << " spell " << CurrentSpell;
    }
    EXPECT_EQ(covered, 3);
  }
  CurrentSpell = 2;  // not one of their spells: nothing is done
  EXPECT_EQ(PreviewSpellArea(), 0);
  EXPECT_EQ(BuildSpellAreaGrid(), 0);
  EXPECT_NE(SpellPreviewValues[20], 0);
}

TEST_F(SpellPreview, DamageByDiceMetamagicWeaknessAndResistance) {
  Put(20, 3, 3, 2);
  Put(21, 4, 3, 2);
  Put(22, 5, 3, 2);
  Creatures[21].protections[kProtResistFire].current = 10;
  Creatures[22].protections[kProtFirstImmunity + 15].current = kImmunityWeakness;  // fire, code 2
  Start();
  Fireball();
  SpellTable[kFireball].immunity1 = 2;
  ASSERT_TRUE(RasteriseBurst(kCaster, 4, 3, kFireball));
  PreviewSpellArea();
  EXPECT_EQ(SpellPreviewValues[20], 17) << "5 x 3.5, truncated";
  EXPECT_EQ(SpellPreviewValues[21], 7);
  EXPECT_EQ(SpellPreviewValues[22], 25);
  PendingMetamagic = kMetamagicMaximised;
  PreviewSpellArea();
  EXPECT_EQ(SpellPreviewValues[20], 30);
  EXPECT_EQ(SpellPreviewValues[21], 20);
  PendingMetamagic = kMetamagicEmpowered;
  PreviewSpellArea();
  EXPECT_EQ(SpellPreviewValues[20], 25);
  Creatures[22].protections[kProtFirstImmunity + 15].current = kImmunityReverse;
  PreviewSpellArea();
  EXPECT_EQ(SpellPreviewValues[22], kPreviewHealed);
}

// A creature held in a web cell that the fire covers: the burning strands add 5.
TEST_F(SpellPreview, FireOnAWebCellPreviewsFiveMore) {
  Put(20, 3, 3, 2);
  Put(21, 4, 3, 2);
  MagicAreaGrid[SquareIndex(4, 3)] = {static_cast<uint32_t>(kEffectWeb), 10, 13};
  Start();
  Fireball();
  ASSERT_TRUE(RasteriseBurst(kCaster, 3, 3, kFireball));
  PreviewSpellArea();
  EXPECT_EQ(SpellPreviewValues[20], 17);
  EXPECT_EQ(SpellPreviewValues[21], 22);
}

TEST_F(SpellPreview, ChanceBySaveLevelsAndSpellResistance) {
  Put(20, 3, 3, 2);
  Put(21, 4, 3, 2);
  Put(22, 5, 3, 2);
  Put(23, 3, 4, 2);
  Creatures[20].willpower = {9, 9};      // the DC is 11: 2 below it
  Creatures[21].willpower = {-14, -14};  // 25 below it
  Creatures[22].effectiveLevel = 5;      // too strong to sleep
  Creatures[23].willpower = {-14, -14};
  Creatures[23].protections[kProtSpellResistance].current = 20;
  Start();
  Sleep();
  SpellTable[kSleep].effects[0].spellResist = 1;
  ASSERT_TRUE(RasteriseBurst(kCaster, 4, 3, kSleep));
  BuildSpellAreaGrid();
  EXPECT_EQ(SpellPreviewValues[20], 5);
  EXPECT_EQ(SpellPreviewValues[21], 95);
  EXPECT_EQ(SpellPreviewValues[22], kPreviewUnaffected);
  EXPECT_EQ(SpellPreviewValues[23], 95 * 30 / 100) << "resistance 20 against caster level 5";
  AddCondition(21, kCondSleeping, 3, 0, kSourceSpell, 0);
  BuildSpellAreaGrid();
  EXPECT_EQ(SpellPreviewValues[21], kPreviewUnaffected) << "already asleep";
}

// Turn Undead from a cleric of caster level 5 with Charisma 14 (DC 10 + 2 +
// 2): undead foes save by Willpower, so a natural 20 or 1 keeps their chance
// within 5 and 95; the undead of the cleric's side are bolstered, sure.
TEST_F(SpellPreview, TurnUndeadOnFoesGoesByTheirSaveAndIsSureOnlyForFriends) {
  const struct {
    int id, side, will, shown;
  } undead[] = {{20, 2, 0, 65}, {21, 2, -14, 95}, {22, 2, 20, 5}, {23, 1, 0, 100}};
  AreaTargetList[4] = -1;
  for (int i = 0; i < 4; ++i) {
    Put(undead[i].id, 3 + i, 3, undead[i].side);
    Creatures[undead[i].id].type = kTypeUndead;
    Creatures[undead[i].id].willpower = {undead[i].will, undead[i].will};
    AreaTargetList[i] = undead[i].id;
  }
  Start();
  Creatures[kCaster].creatureClass = kClassCleric;
  Creatures[kCaster].charisma = {14, 14};
  SpellCaster = kCaster;
  CurrentSpell = kSpellTurnUndead;
  ASSERT_EQ(BuildSpellAreaGrid(), 1);
  for (const auto& u : undead) EXPECT_EQ(SpellPreviewValues[u.id], u.shown) << "creature " << u.id;
}

}  // namespace
