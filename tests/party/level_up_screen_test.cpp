// The level-up page: each class raised from level 1 to 20 by clicks, its
// hit points, and "Cancel" giving back everything the level brought.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/designated_lists.h"
#include "harness/screen_text.h"
#include "party/creation_rules.h"
#include "party/feat_offer.h"
#include "party/level_up_rules.h"
#include "party/level_up_screen.h"
#include "party/level_up_words.h"
#include "party_fixture.h"
#include "rules/breakdown_sources.h"
#include "rules/feat_ids.h"
#include "rules/feat_names.h"
#include "rules/item_tables.h"
#include "rules/modifier_list.h"
#include "rules/recompute_creature.h"
#include "rules/spell_slots.h"
#include "state/game_screen_words.h"

namespace {

using partytest::Cell;
using partytest::PartyPages;
using partytest::Point;
using partytest::SmallCell;

const Point kAccept = Cell(17, 26), kCancel = Cell(7, 26), kHitPointTotal = Cell(22, 22);
Point AbilityRow(int ability) { return SmallCell(15, 11 + ability); }
Point FeatRow(int k) { return SmallCell(15, 21 + k); }
Point SpellRow(int k) { return SmallCell(15, 26 + k); }

class LevelUp : public PartyPages {
 protected:
  void SetUp() override {
    PartyPages::SetUp();
    NewPartyPending = 0;
    OptionWords[kOptionMaxHitPointsOnLevelUp] = 1;
  }

  // A created member of the class at level 1, as creation leaves it.
  static void MakeMember(int m, int32_t creatureClass, int32_t constitution = 14) {
    ChooseClass(m, creatureClass);
    CreatureRecord& c = Creatures[m];
    for (int a = 0; a < 6; ++a) BaseAbility(m, a) = 13;
    c.constitution.base = constitution;
    c.intelligence.base = c.wisdom.base = 18;
    c.casterLevelAdjust = 1;
    if (creatureClass == kClassCleric) SetSpellSlotsByLevel(1, m, 0, 1);
    if (creatureClass == kClassWizard) SetSpellSlotsByLevel(1, m, 1, 1);
    c.baseHitPoints = c.maxHitPoints = c.hitPoints = 10;
    RecomputeCreature(m, 0);
  }

  // "Click to Level Up": the star left of the member's name in the game
  // screen's party list, shown once its experience reaches the next level.
  static void BeginLevelUp(int m) {
    CreatureRecord& c = Creatures[m];
    c.present = 1;
    c.experience = c.level * (c.level + 1) * 500;
    SetFirstPage("", 0, 0);
    ScreenMode = kModeExploring;
    const int star = 34 - static_cast<int>(strnlen(c.name, 15));
    const Point at = Cell(star, 3 + m);
    harness::MoveMouse(at.x, at.y);
    harness::StepFrames(2);
    harness::Click(at.x, at.y);
    ASSERT_EQ(TopPageType(), kPageLevelUp) << "the star of level " << c.level;
    Settle();
  }

  // The class's base attack bonus and saves at class level n.
  static void ExpectClassBases(const CreatureRecord& c, int32_t n) {
    int32_t want[4] = {};
    switch (c.creatureClass) {
      case kClassKnight: want[0] = n, want[1] = n / 2 + 2, want[2] = n / 3, want[3] = n / 3; break;
      case kClassCleric: want[0] = 3 * n / 4, want[1] = n / 2 + 2, want[2] = n / 3, want[3] = n / 2 + 2; break;
      default: want[0] = n / 2, want[1] = n / 3, want[2] = n / 3, want[3] = n / 2 + 2; break;
    }
    const int32_t have[4] = {c.baseAttack.base, c.fortitude.base, c.reflex.base, c.willpower.base};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(have[i], want[i]) << "level " << n << " value " << i;
  }

  // The hit points the page says the level brings, as drawn beside "Hit
  // Point Bonus:".
  static std::string ShownHitPoints() {
    std::vector<GlyphDraw> glyphs;
    RecordGlyphs(&glyphs);
    Settle(1);
    RecordGlyphs(nullptr);
    const std::string row = harness::LargeTextRows(glyphs)[22];
    return row.size() > 22 ? row.substr(22) : "";
  }

  // Where the feat stands in the feat page's list (offered feats by name).
  static int OfferIndex(int m, int feat) {
    const FeatOffer offer = ComputeFeatOffer(m);
    int index = 0;
    for (int f = 0; f < kFeatFlags; ++f)
      if (offer[f] == 1 && std::strcmp(FeatNameTable[f], FeatNameTable[feat]) < 0) ++index;
    return index;
  }
  static int FeatTotal(int m) {
    int n = 0;
    for (int f = 0; f < kFeatFlags; ++f) n += Creatures[m].feats[f];
    return n;
  }
  static int SpellTotal(int m) {
    int n = 0;
    for (int s = 0; s < kSpellRows; ++s) n += Creatures[m].knownSpells[s];
    return n;
  }

  // Picks a feat through the feat page (its first listed feat).
  static void PickFeat(int k) {
    ClickAt(FeatRow(k));
    ExpectTopPage(kPageFeatSelection, 0);
    ClickAt(SmallCell(15, 9));
    ExpectTopPage(kPageLevelUp, 0);
  }
  // Picks a spell through the spell page: the first of the lowest row.
  static void PickSpell(int k) {
    ClickAt(SpellRow(k));
    ExpectTopPage(kPageSpellPick, 0);
    const CreatureRecord& c = Creatures[0];
    int level = 0;
    for (int s = 0; s < kSpellRows && level == 0; ++s) {
      const SpellRecord& r = SpellTable[s];
      const bool own = r.divine == (c.creatureClass == kClassCleric ? 1 : 0);
      if (r.name[0] && own && c.knownSpells[s] == 0 && 2 * r.level - 1 <= c.level) level = r.level;
    }
    ASSERT_GT(level, 0);
    for (int s = 0; s < kSpellRows; ++s) {
      const SpellRecord& r = SpellTable[s];
      if (r.name[0] && r.level < level && r.divine == (c.creatureClass == kClassCleric ? 1 : 0) &&
          c.knownSpells[s] == 0)
        level = r.level;
    }
    ClickAt({72, 40 + 16 * level});
    ExpectTopPage(kPageLevelUp, 0);
  }

  // One level through the page: Strength raised where the level allows,
  // the feats and spells picked, "Accept".
  static void OneLevel(int expectFeats, int expectSpells) {
    const CreatureRecord& c = Creatures[0];
    const int32_t n = c.level;
    if (n % 4 == 0) {
      EXPECT_EQ(HintAt(kAccept), "Please Select an Ability") << n;
      ClickAt(AbilityRow(0));
    }
    EXPECT_EQ(NewFeatCount(c.creatureClass, n), expectFeats) << n;
    for (int k = 0; k < expectFeats; ++k) PickFeat(k);
    EXPECT_EQ(NewSpellCount(0), expectSpells) << n;
    for (int k = 0; k < expectSpells; ++k) PickSpell(k);
    ClickAt(kAccept);
  }

  // Levels 2 to 20 of member 0; each level's feats and ability by the class.
  void RaiseToTwenty(int32_t creatureClass) {
    MakeMember(0, creatureClass);
    const int spellsEach = creatureClass == kClassKnight ? 0 : 2;
    for (int32_t n = 2; n <= 20; ++n) {
      CreatureRecord& c = Creatures[0];
      const int feats = FeatTotal(0), spells = SpellTotal(0);
      const int32_t strength = c.strength.base, hitPoints = c.baseHitPoints;
      BeginLevelUp(0);
      int expectFeats = n % 3 == 0 && n <= 18 ? 1 : 0;
      if (creatureClass == kClassKnight && n % 2 == 0) ++expectFeats;
      if (creatureClass == kClassWizard && n % 5 == 0) ++expectFeats;
      OneLevel(expectFeats, spellsEach);
      ASSERT_EQ(LevelUpPending, 0) << "level " << n << " was not accepted";
      EXPECT_EQ(c.level, n);
      EXPECT_EQ(ScreenMode, kModeExploring);
      EXPECT_EQ(PageDepth, 0);
      ExpectClassBases(c, n);
      EXPECT_EQ(c.strength.base, strength + (n % 4 == 0 ? 1 : 0)) << n;
      EXPECT_EQ(FeatTotal(0), feats + expectFeats) << n;
      EXPECT_EQ(SpellTotal(0), spells + spellsEach) << n;
      const int die = creatureClass == kClassKnight ? 10 : creatureClass == kClassCleric ? 8 : 4;
      EXPECT_EQ(c.baseHitPoints, hitPoints + die + 2) << n;  // the die's top and Constitution 14
      if (creatureClass != kClassKnight) {
        EXPECT_GT(c.spellsPerDay[std::min(8, (n + 1) / 2 - 1)], 0) << n;
      }
    }
  }
};

TEST_F(LevelUp, AKnightRisesToTwentyThroughThePage) { RaiseToTwenty(kClassKnight); }
TEST_F(LevelUp, ACleric) { RaiseToTwenty(kClassCleric); }
TEST_F(LevelUp, AWizard) { RaiseToTwenty(kClassWizard); }

TEST_F(LevelUp, CancelGivesBackTheAbilityFeatsAndSpells) {
  MakeMember(0, kClassCleric);
  CreatureRecord& c = Creatures[0];
  c.level = c.casterLevelAdjust = 11;
  c.present = 1;
  c.experience = 11 * 12 * 500;
  RecomputeCreature(0, 0);
  CreatureRecord before;
  std::memcpy(&before, &c, sizeof c);
  BeginLevelUp(0);  // level 12: an ability, a feat and two spells
  EXPECT_EQ(HintAt(kAccept), "Please Select an Ability");
  EXPECT_EQ(HintAt(FeatRow(0)), "");
  ClickAt(FeatRow(0));
  ExpectTopPage(kPageLevelUp, 0);  // greyed until the ability is raised
  ClickAt(AbilityRow(2));
  EXPECT_EQ(HintAt(kAccept), "Please Select Feats");
  PickFeat(0);
  EXPECT_EQ(HintAt(kAccept), "Please Select Spells");
  PickSpell(0);
  PickSpell(1);
  // Changing the first spell drops it before the page opens again.
  const int32_t first = PendingLevelUpChoices[kPendingFirstSpell];
  ClickAt(SpellRow(0));
  EXPECT_EQ(c.knownSpells[first], 0);
  EXPECT_EQ(SpellSlotCounter, 1);
  ShowPage("Level Up", kPageLevelUp, 0);
  Settle();
  ClickAt(kCancel);
  EXPECT_EQ(std::memcmp(&before, &c, sizeof c), 0);
  EXPECT_EQ(LevelUpPending, 0);
  EXPECT_EQ(FeatSlotCounter, 0);
  EXPECT_EQ(SpellSlotCounter, 0);
  EXPECT_EQ(LevelUpState.abilityStepDone, 0);
  EXPECT_EQ(ScreenMode, kModeExploring);
  for (int32_t choice : PendingLevelUpChoices) EXPECT_EQ(choice, -1);
}

TEST_F(LevelUp, ToughnessTwiceAtAKnightsSixthLevelIsSixHitPointsOrUndone) {
  MakeMember(0, kClassKnight);
  CreatureRecord& c = Creatures[0];
  c.level = c.casterLevelAdjust = 5;
  c.feats[kFeatToughness] = 1;
  RecomputeCreature(0, 0);
  // TOUGHNESS, always offered, brought to the top of the feat page's list.
  auto pickToughnessTwice = [&] {
    for (int k = 0; k < 2; ++k) {
      ClickAt(FeatRow(k));
      ExpectTopPage(kPageFeatSelection, 0);
      FeatListScroll = OfferIndex(0, kFeatToughness);
      ClickAt(SmallCell(15, 9));
      ExpectTopPage(kPageLevelUp, 0);
    }
  };
  BeginLevelUp(0);
  pickToughnessTwice();
  EXPECT_EQ(c.feats[kFeatToughness], 3);
  ClickAt(kCancel);
  EXPECT_EQ(c.feats[kFeatToughness], 1);
  const int32_t hitPoints = c.baseHitPoints;
  BeginLevelUp(0);
  pickToughnessTwice();
  // The page shows what Accept gives, TOUGHNESS with the die.
  EXPECT_EQ(ShownHitPoints(), "18");
  ClickAt(kAccept);
  EXPECT_EQ(c.level, 6);
  EXPECT_EQ(c.baseHitPoints, hitPoints + 6 + 10 + 2);
}

TEST_F(LevelUp, HitPointsByOptionWithTheirBreakdown) {
  MakeMember(0, kClassCleric, 12);  // modifier +1
  CreatureRecord& c = Creatures[0];
  OptionWords[kOptionMaxHitPointsOnLevelUp] = 2;
  c.level = 3;
  ModifierList list;
  EXPECT_EQ(BuildHitPointBonus(0, &list), 4 + 1);
  c.level = 4;
  EXPECT_EQ(BuildHitPointBonus(0, &list), 5 + 1);

  // A Wizard with Constitution 9 who rolls a 1 still gains one hit point.
  MakeMember(1, kClassWizard, 9);
  OptionWords[kOptionMaxHitPointsOnLevelUp] = 0;
  Creatures[1].level = 2;
  HitDieRolls[1 * 20 + 1] = 1;
  EXPECT_EQ(BuildHitPointBonus(1, &list), 1);
  EXPECT_EQ(list.pairs[0].source, kSrcRollOfD4);
  EXPECT_EQ(list.pairs[1].value, -1);
  EXPECT_EQ(list.pairs[2].source, kSrcMinimumBonusOnePoint);
  EXPECT_EQ(list.pairs[2].value, 1);

  // On the page the total opens its breakdown.
  Creatures[1].level = 1;
  BeginLevelUp(1);
  ClickAt(kHitPointTotal);
  ExpectTopPage(kPageModifierList, 1);
  EXPECT_EQ(PageDepth, 1);
  EXPECT_STREQ(TopPageCaption(), "Hit Point Bonus");
  EXPECT_EQ(PageModifierList.total, 1);
  EXPECT_EQ(std::strncmp(PageModifierList.caption, "Hit Point Bonus (", 17), 0);
}

TEST_F(LevelUp, ConstitutionRaisedIntoAHigherModifierCountsForTheEarlierLevels) {
  for (int32_t from : {13, 14}) {
    MakeMember(0, kClassKnight, from);
    CreatureRecord& c = Creatures[0];
    c.level = c.casterLevelAdjust = 7;
    RecomputeCreature(0, 0);
    const int32_t hitPoints = c.baseHitPoints;
    BeginLevelUp(0);  // level 8: an ability and a feat
    ClickAt(AbilityRow(2));
    PickFeat(0);
    const int32_t earlier = from == 13 ? 7 : 0;
    EXPECT_EQ(ShownHitPoints(), std::to_string(earlier + 10 + 2)) << from;
    ClickAt(kAccept);
    EXPECT_EQ(c.baseHitPoints, hitPoints + earlier + 10 + 2) << from;
  }
}

TEST_F(LevelUp, AWizardLearnsOnlyWhatIsLeftToLearn) {
  MakeMember(0, kClassWizard);
  CreatureRecord& c = Creatures[0];
  c.level = c.casterLevelAdjust = 4;
  // Every arcane spell of levels 1 to 3 known but one.
  int left = -1;
  for (int s = 0; s < kSpellRows; ++s) {
    const SpellRecord& r = SpellTable[s];
    if (r.name[0] && r.divine == 0 && r.level <= 3) {
      c.knownSpells[s] = 1;
      left = s;
    }
  }
  c.knownSpells[left] = 0;
  BeginLevelUp(0);  // level 5: the bonus feat and what is left of two spells
  EXPECT_EQ(NewSpellCount(0), 1);
  PickFeat(0);
  PickSpell(0);
  EXPECT_EQ(NewSpellCount(0), 1);  // the spell chosen still counts
  EXPECT_EQ(c.knownSpells[left], 1);
  ClickAt(kAccept);
  EXPECT_EQ(c.level, 5);
  BeginLevelUp(0);  // level 6: nothing left, the spells count as done
  EXPECT_EQ(NewSpellCount(0), 0);
  PickFeat(0);
  ClickAt(kAccept);
  EXPECT_EQ(c.level, 6);
}

}  // namespace
