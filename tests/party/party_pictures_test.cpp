// The creation, feat and spell pages as the player sees them.
#include "party/creation_rules.h"
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

}  // namespace
