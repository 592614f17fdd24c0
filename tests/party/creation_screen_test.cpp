// The creation page driven by the player's clicks and keys: a whole party
// made through the creation, feat and spell pages, and the ability panel's
// one-way road.
#include <cstring>

#include "party/creation_rules.h"
#include "party/feat_offer.h"
#include "party/level_up_words.h"
#include "party_fixture.h"
#include "rules/feat_names.h"

namespace {

using partytest::Cell;
using partytest::PartyPages;
using partytest::Point;
using partytest::SmallCell;

const Point kName = Cell(11, 3), kConfirm = Cell(5, 22), kAccept = Cell(21, 26), kCancel = Cell(5, 26),
            kReset = Cell(13, 26);
Point Score(int ability) { return Cell(9, 9 + ability); }
Point Roll(int ability) { return Cell(12, 9 + ability); }
Point Swatch(int colour) { return {136 + 8 * colour + 3, 155}; }

class Creation : public PartyPages {
 protected:
  void SetUp() override {
    PartyPages::SetUp();
    ShowCreation(0);
    Settle();
  }
  // A key pressed and let go, with a frame after it for the release.
  static void Press(const std::string& key) {
    harness::PressKey(key);
    harness::StepFrames(1);
  }
  static void TypeName(const char* name) {
    ClickAt(kName);
    for (int i = 0; i < 12; ++i) Press("Backspace");
    for (const char* c = name; *c; ++c) {
      const bool upper = *c >= 'A' && *c <= 'Z';
      if (upper) harness::KeyDown("Left Shift");
      Press(std::string(1, upper ? *c : static_cast<char>(*c - 'a' + 'A')));
      if (upper) harness::KeyUp("Left Shift");
    }
    Press("Return");
  }
  // Picks every feat still due through the feat page's first good choice
  // (or its first row), checking that each pick lands and comes back.
  static void PickFeats(int member) {
    while (static_cast<int>(ChosenFeats(member).size()) < FeatPicksAtCreation(member)) {
      const size_t before = ChosenFeats(member).size();
      ClickAt(SmallCell(43, 11 + static_cast<int>(before)));
      ExpectTopPage(kPageFeatSelection, member);
      const GoodFeats good = ChooseGoodFeats(member, ComputeFeatOffer(member));
      ClickAt(good[0] >= 0 ? SmallCell(15, 35) : SmallCell(15, 9));
      ExpectTopPage(kPageCharacterCreation, member);
      ASSERT_EQ(ChosenFeats(member).size(), before + 1);
    }
  }
  static void PickSpells(int member) {
    while (static_cast<int>(KnownSpells(member).size()) < SpellPicksAtCreation(member)) {
      const size_t before = KnownSpells(member).size();
      ClickAt(SmallCell(43, 18 + static_cast<int>(before)));
      ExpectTopPage(kPageSpellPick, member);
      ClickAt({72, 56});  // the first spell of the level-1 row
      ExpectTopPage(kPageCharacterCreation, member);
      ASSERT_EQ(KnownSpells(member).size(), before + 1);
    }
  }
};

TEST_F(Creation, AWholePartyIsMadeThroughThePages) {
  struct Plan {
    const char* name;
    Point creatureClass, race, gender;
    int32_t classCode, race_, gender_, alignment;
    Point alignmentAt;
    int colour;
  };
  const Plan plans[4] = {
      {"Wenna", Cell(17, 8), Cell(17, 13), Cell(17, 23), kClassWizard, kRaceHalfElf, kGenderFemale, 4, Cell(20, 16), 2},
      {"Osric", Cell(17, 9), Cell(17, 11), Cell(17, 22), kClassCleric, kRaceHuman, kGenderMale, 2, Cell(17, 17), 5},
      {"Brom", Cell(17, 7), Cell(17, 12), Cell(17, 22), kClassKnight, kRaceMul, kGenderMale, 8, Cell(23, 17), 0},
      {"Ysolde", Cell(17, 7), Cell(17, 11), Cell(17, 23), kClassKnight, kRaceHuman, kGenderFemale, 7, Cell(23, 16), 7},
  };
  for (int m = 0; m < 4; ++m) {
    const Plan& p = plans[m];
    ExpectTopPage(kPageCharacterCreation, m);
    TypeName(p.name);
    EXPECT_STREQ(Creatures[m].name, p.name);
    // Strength and Charisma swapped, then Dexterity rolled again.
    const int strength = BaseAbility(m, 0), charisma = BaseAbility(m, 5);
    harness::Drag(Score(0).x, Score(0).y, Score(5).x, Score(5).y);
    EXPECT_EQ(BaseAbility(m, 0), charisma);
    EXPECT_EQ(BaseAbility(m, 5), strength);
    ClickAt(Roll(1));
    harness::StepFrames(26);
    EXPECT_EQ(CreationState.confirmed, 1);
    ClickAt(p.creatureClass);
    ClickAt(p.race);
    ClickAt(p.gender);
    TypeName(p.name);  // a gender chosen brings a new name
    ClickAt(p.alignmentAt);
    ClickAt(Swatch(p.colour));
    PickFeats(m);
    PickSpells(m);
    EXPECT_EQ(HintAt(kAccept), m == 3 ? "Select Party Leader" : "Create Next Character");
    ClickAt(kAccept);

    const CreatureRecord& c = Creatures[m];
    EXPECT_STREQ(c.name, p.name);
    EXPECT_EQ(c.creatureClass, p.classCode);
    EXPECT_EQ(c.kind, p.race_);
    EXPECT_EQ(c.gender, p.gender_);
    EXPECT_EQ(c.alignment, p.alignment);
    EXPECT_EQ(c.figure, PartyFigure(p.colour, p.classCode, p.gender_));
    EXPECT_EQ(static_cast<int>(ChosenFeats(m).size()), FeatPicksAtCreation(m));
    EXPECT_EQ(static_cast<int>(KnownSpells(m).size()), std::max(0, SpellPicksAtCreation(m)));
    EXPECT_EQ(c.casterLevelAdjust, 1);
    EXPECT_EQ(c.spellsPerDay[0] > 0, p.classCode != kClassKnight);
    EXPECT_EQ(c.spellsLeft[0], c.spellsPerDay[0]);
  }
  ExpectTopPage(kPagePartySetup, -1);
  EXPECT_EQ(NewPartyPending, 1);
  EXPECT_EQ(CreationState.confirmed, 0);
}

TEST_F(Creation, ARerollReplacesTheScoreOnlyWhenHigherAfterSlidingIntoPlace) {
  for (int seed = 1; seed < 40; ++seed) {
    StartPartyCreation();
    harness::SeedRandom(seed);
    const int old = BaseAbility(0, 2);
    const ModifierList record = AbilityRollRecord(0, 2);
    ClickAt(Roll(2));
    const int rolled = CreationState.rerollResult;
    harness::StepFrames(20);
    EXPECT_EQ(BaseAbility(0, 2), old);
    harness::StepFrames(6);
    if (rolled > old) {
      EXPECT_EQ(BaseAbility(0, 2), rolled);
      EXPECT_EQ(AbilityRollRecord(0, 2).total, rolled);
      EXPECT_STREQ(AbilityRollRecord(0, 2).caption, "New Ability Roll (Constitution)");
      return;
    }
    EXPECT_EQ(BaseAbility(0, 2), old);
    EXPECT_EQ(std::memcmp(&AbilityRollRecord(0, 2), &record, sizeof record), 0);
    ClickAt(kReset);
  }
  FAIL() << "no reroll came out higher";
}

TEST_F(Creation, TheAbilityPanelRunsOneWayAndStepsBackLocked) {
  EXPECT_EQ(HintAt(Cell(17, 12)), "Confirm Abilities First");
  ClickAt(Cell(17, 12));
  EXPECT_EQ(Creatures[0].kind, kRaceHuman);
  EXPECT_EQ(HintAt(kAccept), "Please Confirm Abilities");
  ClickAt(kName);
  EXPECT_EQ(HintAt(kAccept), "Press Enter to Confirm Name");
  harness::PressKey("Return");
  // The swap is made once; a second drag changes nothing.
  harness::Drag(Score(0).x, Score(0).y, Score(1).x, Score(1).y);
  const int first = BaseAbility(0, 0), second = BaseAbility(0, 1);
  harness::Drag(Score(0).x, Score(0).y, Score(1).x, Score(1).y);
  EXPECT_EQ(BaseAbility(0, 0), first);
  EXPECT_EQ(BaseAbility(0, 1), second);
  ClickAt(kConfirm);  // the reroll not made is forfeited
  EXPECT_EQ(CreationState.confirmed, 1);
  EXPECT_EQ(HintAt(Roll(3)), "");
  ClickAt(Cell(17, 12));
  EXPECT_EQ(Creatures[0].kind, kRaceMul);
  EXPECT_EQ(HintAt(kAccept), "Please Select Feats");
  PickFeats(0);
  ClickAt(kAccept);
  ExpectTopPage(kPageCharacterCreation, 1);
  EXPECT_EQ(CreationState.confirmed, 0);
  EXPECT_EQ(CreationState.swapUsed, 0);
  // Member 1 swaps only; back to member 0 (locked) and forward again.
  harness::Drag(Score(2).x, Score(2).y, Score(3).x, Score(3).y);
  ClickAt(kCancel);
  ExpectTopPage(kPageCharacterCreation, 0);
  EXPECT_EQ(CreationState.confirmed, 1);
  EXPECT_EQ(CreationState.rerollUsed, 1);
  ClickAt(kAccept);
  ExpectTopPage(kPageCharacterCreation, 1);
  EXPECT_EQ(CreationState.swapUsed, 1);
  EXPECT_EQ(CreationState.rerollUsed, 0);
  EXPECT_EQ(CreationState.confirmed, 0);
  EXPECT_EQ(HintAt(Roll(0)), "Reroll Strength");
}

TEST_F(Creation, MaximumScoresOpenThePanelConfirmedAndCancelLeavesTheCreation) {
  OptionWords[kOptionMaxAbilityScores] = 6;
  StartPartyCreation();
  PushPage("Character Creation", kPageCharacterCreation, 0);
  Settle();
  EXPECT_EQ(CreationState.confirmed, 1);
  for (int a = 0; a < kAbilityCount; ++a) EXPECT_EQ(BaseAbility(0, a), 18);
  ClickAt(Cell(17, 13));
  EXPECT_EQ(Creatures[0].kind, kRaceHalfElf);
  EXPECT_EQ(HintAt(Score(0)), "");  // no swap to offer
  harness::Click(kCancel.x, kCancel.y);
  EXPECT_EQ(PageDepth, 0);
  EXPECT_EQ(NewPartyPending, 0);
  EXPECT_EQ(GameRunningFlag, 0);
  EXPECT_EQ(CreationState.confirmed, 0);
}

TEST_F(Creation, RightClicksOpenHelpAndTheRollBreakdowns) {
  ClickAt(Score(4), 1);
  ExpectTopPage(kPageAbilityRollFirst + 4, 0);
  EXPECT_STREQ(TopPageCaption(), "Attribute Roll");
  ShowCreation(0);
  ClickAt(Cell(17, 9), 1);
  ExpectTopPage(kPageHelpTopic, 23003);
  EXPECT_STREQ(TopPageCaption(), "Cleric Class");
  ShowCreation(0);
  ClickAt(Cell(28, 7));
  ExpectTopPage(kPageHelpTopic, 31000);
  ShowCreation(0);
  Creatures[0].feats[kFeatDodge] = 1;
  ClickAt(SmallCell(48, 11), 1);
  ExpectTopPage(kPageHelpTopic, kFeatHelpPageBase + kFeatDodge);
  // Pushed as "DODGE"; the help page, once drawn, shows its own title.
  EXPECT_STREQ(TopPageCaption(), "Dodge");
}

}  // namespace
