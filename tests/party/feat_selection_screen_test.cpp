// The feat page: its scrolling list, picks and help, and its return to the
// page that opened it.
#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/help_lookup.h"
#include "engine/help_pages.h"
#include "party/creation_rules.h"
#include "party/feat_offer.h"
#include "party/level_up_words.h"
#include "party/party_screens.h"
#include "party_fixture.h"
#include "rules/feat_names.h"

namespace {

using partytest::PartyPages;
using partytest::SmallCell;

class FeatPage : public PartyPages {
 protected:
  void SetUp() override {
    PartyPages::SetUp();
    ShowPage("Feat Selection", kPageFeatSelection, 1);
    Settle();
  }
  // The offered feats in the page's order.
  static std::vector<int> Listed(int creature) {
    const FeatOffer offer = ComputeFeatOffer(creature);
    std::vector<int> feats;
    for (int f = 0; f < kFeatFlags; ++f)
      if (offer[f] == 1) feats.push_back(f);
    std::stable_sort(feats.begin(), feats.end(),
                     [](int a, int b) { return std::strcmp(FeatNameTable[a], FeatNameTable[b]) < 0; });
    return feats;
  }
  static void Row(int k, int button = 0) { ClickAt(SmallCell(15, 9 + k, k), button); }
  static void Hold(const char* key, int frames) {
    harness::KeyDown(key);
    harness::StepFrames(frames);
    harness::KeyUp(key);
    harness::StepFrames(1);
  }
};

TEST_F(FeatPage, ARowPickedIsTakenAndTheCreationPageComesBack) {
  const std::vector<int> list = Listed(1);
  const auto tough = std::find(list.begin(), list.end(), kFeatToughness) - list.begin();
  ASSERT_LT(tough, 18);
  Row(static_cast<int>(tough));
  EXPECT_EQ(Creatures[1].feats[kFeatToughness], 1);
  ExpectTopPage(kPageCharacterCreation, 1);
  EXPECT_STREQ(TopPageCaption(), "Character Creation");
  ShowPage("Feat Selection", kPageFeatSelection, 1);
  Row(static_cast<int>(tough));
  EXPECT_EQ(Creatures[1].feats[kFeatToughness], 2);  // still offered: one point more
  ShowPage("Feat Selection", kPageFeatSelection, 1);
  Row(0, 1);
  ExpectTopPage(kPageHelpTopic, kFeatHelpPageBase + list[0]);
  // Pushed with the feat's keyword; the help page, once drawn, shows its own title.
  const int page = FindHelpPage(static_cast<uint32_t>(kFeatHelpPageBase + list[0]));
  ASSERT_GE(page, 0);
  EXPECT_STREQ(TopPageCaption(), HelpPages[page].title);
  EXPECT_EQ(Creatures[1].feats[list[0]], 0);
}

TEST_F(FeatPage, TheListScrollsByKeysWheelAndArrowsAndStopsAtItsEnd) {
  const int count = static_cast<int>(Listed(1).size());
  ASSERT_GT(count, 30);
  harness::MoveMouse(316, 236);
  Hold("End", 1);
  EXPECT_EQ(FeatListScroll, count - 18);
  Hold("PageDown", 4);  // one row further, then the last row is empty and it stops
  EXPECT_EQ(FeatListScroll, count - 17);
  Hold("Home", 1);
  EXPECT_EQ(FeatListScroll, 0);
  harness::Wheel(-1);
  harness::StepFrames(2);
  EXPECT_EQ(FeatListScroll, 0);  // the pointer is not over the list
  harness::MoveMouse(100, 100);
  harness::Wheel(-1);
  harness::StepFrames(2);
  EXPECT_EQ(FeatListScroll, 5);
  ClickAt({266, 186});  // "Scroll Down"
  EXPECT_EQ(FeatListScroll, 10);
  ClickAt({266, 50});  // "Scroll Up"
  EXPECT_EQ(FeatListScroll, 5);
  // A pick puts the list back at its top.
  Row(0);
  EXPECT_EQ(FeatListScroll, 0);
}

TEST_F(FeatPage, WithFewerThanEighteenFeatsEndKeepsTheTop) {
  CreatureRecord& c = Creatures[1];
  for (int f : Listed(1))
    if (f != kFeatToughness && f != kFeatDodge) c.feats[f] = 1;
  ASSERT_LT(Listed(1).size(), 18u);
  Hold("End", 1);
  EXPECT_EQ(FeatListScroll, 0);
}

TEST_F(FeatPage, ALevelUpPickFillsTheSlotOfTheCounterAndExamineShowsTheRecord) {
  NewPartyPending = 0;
  PendingLevelUpChoices[kPendingFirstFeat] = 3;
  FeatSlotCounter = 2;
  const std::vector<int> list = Listed(1);
  Row(2);
  EXPECT_EQ(PendingLevelUpChoices[kPendingFirstFeat], 3);
  EXPECT_EQ(PendingLevelUpChoices[kPendingSecondFeat], list[2]);
  ExpectTopPage(kPageLevelUp, 1);
  EXPECT_STREQ(TopPageCaption(), "Level Up");

  ShowPage("Feat Selection", kPageFeatSelection, 1);
  ClickAt({188, 11});  // "Examine"
  EXPECT_EQ(PageDepth, 1);
  EXPECT_EQ(PageHistory[0].type, kPageFeatSelection);
  ExpectTopPage(kPageCharacterRecord, 1);
  EXPECT_EQ(std::string(TopPageCaption()), std::string(Creatures[1].name).substr(0, 15));
}

TEST_F(FeatPage, AGoodChoiceIsTakenAsAListedFeatIs) {
  const GoodFeats good = ChooseGoodFeats(1, ComputeFeatOffer(1));
  ASSERT_GE(good[1], 0);
  FeatListScroll = 5;
  ClickAt(SmallCell(15, 36, 1));
  EXPECT_EQ(Creatures[1].feats[good[1]], 1);
  ExpectTopPage(kPageCharacterCreation, 1);
  EXPECT_EQ(FeatListScroll, 0);  // the next feat page opens at the top
}

}  // namespace
