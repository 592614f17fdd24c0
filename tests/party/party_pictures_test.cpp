// The creation, feat and spell pages as the player sees them.
#include "party/creation_rules.h"
#include "party/level_up_screen.h"
#include "party/level_up_words.h"
#include "rules/feat_ids.h"
#include "party_fixture.h"

namespace {

using partytest::PartyPages;

TEST_F(PartyPages, TheCreationPageLooksAsStored) {
  ChooseClass(2, kClassCleric);
  ShowCreation(2);
  harness::MoveMouse(140, 100);  // over "Mul", locked until the abilities are confirmed
  harness::StepFrames(3);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "creation"), 0);
}

TEST_F(PartyPages, TheFeatPageLooksAsStored) {
  ChooseClass(1, kClassWizard);
  ShowPage("Feat Selection", kPageFeatSelection, 1);
  harness::MoveMouse(90, 85);
  harness::StepFrames(3);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "feat_page"), 0);
}

TEST_F(PartyPages, TheSpellPageLooksAsStored) {
  ChooseClass(1, kClassWizard);
  Creatures[1].level = 3;
  Creatures[0].carried[0] = {5003 + 5, 1};  // a scroll of the sixth spell
  ShowPage("Spell Selection", kPageSpellPick, 1);
  harness::MoveMouse(316, 236);
  harness::StepFrames(3);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "spell_page"), 0);
}

TEST_F(PartyPages, TheLevelUpPageLooksAsStored) {
  NewPartyPending = 0;
  OptionWords[kOptionMaxHitPointsOnLevelUp] = 1;
  ChooseClass(1, kClassCleric);
  CreatureRecord& c = Creatures[1];
  c.level = c.casterLevelAdjust = 12;  // an ability, a feat and two spells
  LevelUpState.abilityStepDone = 1;
  ++c.wisdom.base;
  for (int32_t& choice : PendingLevelUpChoices) choice = -1;
  PendingLevelUpChoices[kPendingFirstFeat] = kFeatImprovedInitiative;
  c.feats[kFeatImprovedInitiative] = 1;
  PendingLevelUpChoices[kPendingFirstSpell] = 104;
  c.knownSpells[104] = 1;
  ShowPage("Level Up", kPageLevelUp, 1);
  harness::MoveMouse(180, 180);  // over the hit points gained
  harness::StepFrames(3);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "level_up"), 0);
}

}  // namespace
