// The spell book and the metamagic pages as a player reads and uses them:
// the grid of known spells, casting from the book, sharing spells with
// another caster and the metamagic pages' offered spells and raised slots.
#include "screens/character/character_fixture.h"

#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "engine/ui_input.h"
#include "rules/casting_rules.h"
#include "rules/feat_ids.h"
#include "rules/record_words.h"
#include "screens/game/click_results.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

namespace charactertest {
namespace {

// Spell rows of the table.
constexpr int kEntangle = 0, kMageArmor = 1, kBurningHands = 4, kMagicMissile = 5, kAcidRay = 14,
              kStoneskin = 41, kControlPerson = 42, kFireball = 31, kBless = 105, kCureLight = 107;

class SpellBookTest : public CharacterPageTest {
 protected:
  // A caster knowing exactly the spells, with the uses of a caster level.
  static void Knows(int member, std::initializer_list<int> spells, int casterLevel = 1) {
    CreatureRecord& c = Creatures[member];
    std::fill(std::begin(c.knownSpells), std::end(c.knownSpells), 0);
    for (int s : spells) c.knownSpells[s] = 1;
    c.level = c.effectiveLevel = c.casterLevelAdjust = casterLevel;
    for (int l = 0; l < 9; ++l) c.spellsPerDay[l] = c.spellsLeft[l] = 2 * l + 1 <= casterLevel ? 2 : 0;
  }
  // The caption under the pointer at a pixel after one frame there.
  static std::string CaptionAt(int x, int y) {
    harness::MoveMouse(x, y);
    harness::StepFrames(1);
    return HoverCaption;
  }
  // Every character the frame drew, in drawing order.
  static std::string DrawnText() {
    std::vector<GlyphDraw> glyphs;
    RecordGlyphs(&glyphs);
    harness::StepFrames(1);
    RecordGlyphs(nullptr);
    std::string text;
    for (const GlyphDraw& g : glyphs) text += static_cast<char>(g.c);
    return text;
  }
  // Steps until the casting steps have given the frame back.
  static void FinishCast() {
    for (int i = 0; i < 400 && ScreenMode != kModeExploring && ScreenMode != kModePageView; ++i)
      harness::StepFrames(1);
  }
};

TEST_F(SpellBookTest, BothLayoutsPlaceTheirIconsAndMarkBlockedSpells) {
  Knows(kWizard, {kEntangle, kMageArmor, kAcidRay, kFireball}, 5);
  Creatures[kWizard].feats[kFeatMetamagicEmpower] = Creatures[kWizard].feats[kFeatMetamagicStill] = 1;
  Open(kPageSpellBook, kWizard, "Spells");
  harness::MoveMouse(300, 120);
  const std::vector<std::string> rows = Screen();
  EXPECT_EQ(rows[2].substr(0, 15), "  Spells: Berit");
  EXPECT_EQ(rows[4].substr(0, 9), "  L-1 2/2");
  EXPECT_EQ(rows[20].substr(0, 9), "  L-9 0/0");
  // Arcane icons from column 10, two columns apart, in table order.
  EXPECT_EQ(CaptionAt(84, 32), "Entangle");
  EXPECT_EQ(CursorShape, 18);  // a battle spell out of combat
  EXPECT_EQ(CaptionAt(100, 32), "Mage Armor");
  EXPECT_EQ(CursorShape, 16);
  EXPECT_EQ(CaptionAt(84, 48), "Acid Ray");
  EXPECT_EQ(CaptionAt(100, 48), "");  // the second row holds one spell
  harness::MoveMouse(300, 120);
  harness::StepFrames(1);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "spell_book_wizard"), 0);

  // A cleric's rows: no labels, the uses at pixel 8 (clear of the icons), icons
  // from column 5.
  Knows(kCleric, {kBless, kCureLight}, 3);
  PushPage("Spells", kPageSpellBook, kCleric);
  harness::StepFrames(1);
  EXPECT_EQ(CaptionAt(40, 32), "Bless");
  EXPECT_EQ(CaptionAt(56, 32), "Cure Light Wounds");
  EXPECT_EQ(CaptionAt(13, 36), "Level_1_Cleric_Spells");
  harness::MoveMouse(300, 120);
  harness::StepFrames(1);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "spell_book_cleric"), 0);
}

TEST_F(SpellBookTest, ACureCastOutsideCombatSpendsItsSlotAndHeals) {
  Knows(kCleric, {kCureLight}, 1);
  Knows(kWizard, {kEntangle}, 1);
  Creatures[kWizard].hitPoints = 1;
  // A blocked spell ignores the left button; its right button opens help.
  Open(kPageSpellBook, kWizard);

  ClickCell(10, 4);
  EXPECT_EQ(ScreenMode, kModePageView);
  ClickCell(10, 4, 1);
  EXPECT_EQ(TopPageType(), kPageHelpTopic);
  EXPECT_EQ(TopPageParameter(), 51002);
  EXPECT_STREQ(TopPageCaption(), "Entangle");

  Open(kPageSpellBook, kCleric);
  ClickCell(5, 4);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeAimCreature));  // the casting steps took over
  EXPECT_EQ(SpellCaster, kCleric);
  EXPECT_EQ(CurrentSpell, kCureLight);
  EXPECT_EQ(TopPageType(), kPageSpellBook);
  // The player points at the wounded wizard.
  ClearAreaTargets();
  AreaTargetList[0] = kWizard;
  ScreenMode = kModeCastSpend;
  FinishCast();
  EXPECT_EQ(Creatures[kCleric].spellsLeft[0], 1);
  EXPECT_GT(Creatures[kWizard].hitPoints, 1);
}

TEST_F(SpellBookTest, SharingPaysForWhatIsLearntAndSucceedsOnlyWhenSomethingIs) {
  Knows(kWizard, {kMageArmor, kStoneskin, kControlPerson}, 7);
  CreatureRecord& sharer = Creatures[kWizard];
  CreatureRecord& partner = Creatures[3];
  partner.creatureClass = kClassWizard;
  std::fill(std::begin(partner.knownSpells), std::end(partner.knownSpells), 0);
  std::fill(std::begin(partner.spellsPerDay), std::end(partner.spellsPerDay), 0);
  sharer.experience = 500 * 7 * 6 + 100;
  PartyGold = 1000;
  Open(kPageSpellBook, kWizard);
  // A partner without slots learns nothing: no success is reported.
  ClickCell(31, 18);
  EXPECT_EQ(ClickResult.code, -1);
  EXPECT_EQ(PartyGold, 1000u);

  // Without Scribe Scroll every share is refused.
  partner.spellsPerDay[0] = partner.spellsPerDay[3] = 1;
  sharer.feats[kFeatScribeScroll] = 0;
  ClickCell(31, 19);
  EXPECT_EQ(ClickResult.code, 41);
  EXPECT_EQ(CaptionAt(8 * 31 + 4, 8 * 19 + 3), "You need Scribe Scroll");

  // Gold for Mage Armor and Control Person but not for Stoneskin between them.
  sharer.feats[kFeatScribeScroll] = 1;
  PartyGold = 14 + 385 + 200;
  ClickCell(31, 18);
  EXPECT_EQ(ClickResult.code, 31);
  EXPECT_EQ(partner.knownSpells[kMageArmor], 1);
  EXPECT_EQ(partner.knownSpells[kStoneskin], 0);
  EXPECT_EQ(partner.knownSpells[kControlPerson], 1);
  EXPECT_EQ(PartyGold, 200u);
  EXPECT_EQ(sharer.experience, 500 * 7 * 6 + 100 - 1 - 30);

  PartyGold += 660;
  ClickCell(31, 18);
  EXPECT_EQ(ClickResult.code, 33);
  EXPECT_EQ(PartyGold, 200u);
  EXPECT_EQ(CaptionAt(8 * 31 + 4, 8 * 18 + 3), "Success");
  EXPECT_EQ(CaptionAt(8 * 31 + 4, 8 * 19 + 3), "No spells to exchange");
}

TEST_F(SpellBookTest, WarningsDefensiveCastingAndTheMetamagicIconsPlaces) {
  Knows(kWizard, {kMageArmor}, 3);
  CreatureRecord& w = Creatures[kWizard];
  Open(kPageSpellBook, kWizard);
  harness::MoveMouse(300, 120);
  EXPECT_NE(DrawnText().find("cannotbecastoutsidecombat"), std::string::npos);
  // A two-handed crafted weapon alone in the right hand takes the free hand.
  w.equipment[kSlotRightHand - 1] = Forge(5, 1);
  CraftedWeapons[5].handling = 3;
  EXPECT_NE(DrawnText().find("withoutafreehand"), std::string::npos);
  w.equipment[kSlotRightHand - 1] = 0;
  w.equipment[kSlotLeftHand - 1] = Forge(6, 1);
  EXPECT_EQ(DrawnText().find("withoutafreehand"), std::string::npos);
  LevelUpPending = 1;
  EXPECT_EQ(DrawnText().find("Warning"), std::string::npos);
  LevelUpPending = 0;

  w.behaviour[kBehaviourDefensiveCasting] = 0;
  ClickCell(23, 24);
  EXPECT_EQ(w.behaviour[kBehaviourDefensiveCasting], 1);
  ClickCell(23, 24);  // already chosen: nothing
  EXPECT_EQ(w.behaviour[kBehaviourDefensiveCasting], 1);
  ClickCell(32, 24);
  EXPECT_EQ(w.behaviour[kBehaviourDefensiveCasting], 0);

  // Still Spell alone stands in the sixth place.
  for (int f = kFeatMetamagicEmpower; f <= kFeatMetamagicHeighten; ++f) w.feats[f] = 0;
  w.feats[kFeatMetamagicStill] = 1;
  EXPECT_EQ(CaptionAt(20, 190), "");
  EXPECT_EQ(CaptionAt(110, 190), "Stilled Spells");
  harness::Click(110, 190);
  EXPECT_EQ(TopPageType(), kPageMetamagicStill);
  EXPECT_EQ(TopPageParameter(), kWizard);
  EXPECT_STREQ(TopPageCaption(), "Stilled Spells");
}

TEST_F(SpellBookTest, MetamagicPagesOfferWhatTheirSlotsReachAndCastRaised) {
  // Caster level 7: slots up to level 4.
  Knows(kWizard, {kMageArmor, kBurningHands, kMagicMissile, kAcidRay, kFireball}, 7);
  Open(kPageMetamagicMaximise, kWizard);
  EXPECT_EQ(Screen()[10].substr(0, 9), "  L-4 2/2");
  EXPECT_EQ(CaptionAt(84, 80), "Burning Hands");
  EXPECT_EQ(CaptionAt(100, 80), "Magic Missile");
  EXPECT_EQ(CaptionAt(116, 80), "");
  EXPECT_EQ(CaptionAt(84, 64), "");

  PushPage("Empowered Spells", kPageMetamagicEmpower, kWizard);
  EXPECT_EQ(CaptionAt(84, 64), "Burning Hands");
  EXPECT_EQ(CaptionAt(84, 80), "Acid Ray");

  PushPage("Heightened Spells", kPageMetamagicHeighten, kWizard);
  EXPECT_EQ(CaptionAt(84, 48), "Mage Armor");
  EXPECT_EQ(CaptionAt(84, 80), "Fireball");
  EXPECT_EQ(CaptionAt(20, 18), "Metamagic_Heighten");
  // A heightened Mage Armor spends a second-level slot.
  harness::Click(84, 48);
  EXPECT_EQ(PendingMetamagic, kMetamagicHeightened);
  EXPECT_EQ(CurrentSpell, kMageArmor);
  harness::StepFrames(1);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeAimCreature));
  ClearAreaTargets();
  AreaTargetList[0] = kKnight;
  ScreenMode = kModeCastSpend;
  FinishCast();
  EXPECT_EQ(Creatures[kWizard].spellsLeft[0], 2);
  EXPECT_EQ(Creatures[kWizard].spellsLeft[1], 1);
  EXPECT_EQ(CurrentSpell, -1);

  // A cleric's silenced page: no labels, places 42 pixels further left.
  Knows(kCleric, {kBless}, 3);
  ScreenMode = kModePageView;
  PushPage("Silenced Spells", kPageMetamagicSilent, kCleric);
  harness::MoveMouse(300, 120);
  EXPECT_EQ(Screen()[6].find("L-"), std::string::npos);
  EXPECT_EQ(CaptionAt(8 * 10 - 42 + 4, 52), "Bless");
  // Caster level 0 counts as 1: nothing is offered anywhere.
  Knows(kCleric, {kBless}, 0);
  EXPECT_EQ(CaptionAt(8 * 10 - 42 + 4, 52), "");
}

}  // namespace
}  // namespace charactertest
