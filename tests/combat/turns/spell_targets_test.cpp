// The candidates of a computer caster's single-target spell and the one it
// picks: its friends by need, its enemies by the weighted score.
#include "combat/turns/spell_targets.h"

#include <gtest/gtest.h>

#include "caster_fixture.h"
#include "combat/turns/casting_questions.h"

namespace {

using casterfixture::kCaster;

class SpellTargets : public casterfixture::Battlefield {
 protected:
  static void Casting(int spell) {
    SpellInProgress = spell;
    SpellCaster = kCaster;
  }
};

TEST_F(SpellTargets, AFriendsSpellGoesToTheOneInNeed) {
  PutCaster(7, {}, kClassCleric);
  Put(11, 3, 2, kAllegianceEnemy).hitPoints = 30;  // 10 lost
  Put(12, 2, 3, kAllegianceEnemy).hitPoints = 15;  // 25 lost
  Put(20, 3, 3, kAllegianceParty).hitPoints = 1;   // a foe: never healed
  Begin();
  Casting(kSpellCureLightWounds);
  EXPECT_EQ(ChooseSpellTarget(), 12) << "a cure goes straight to the most hurt";

  // HEAL is scored: the most hurt gets 9, but an afflicted friend 15 more.
  Give(11, kCondConfused);
  Casting(kSpellHeal);
  EXPECT_EQ(ChooseSpellTarget(), 11);
}

TEST_F(SpellTargets, ASingleCandidateIsTakenWithoutScoring) {
  PutCaster(7, {});
  Put(20, 3, 2, kAllegianceParty);
  Put(21, 15, 15, kAllegianceParty);  // beyond touch
  Give(20, kCondDominated);
  Begin();
  Casting(kSpellShockingGrasp);
  EXPECT_EQ(ChooseBestSpellTarget(), 20);
  // The caster alone within touch: an enemy choice would score it 0, yet it is the one.
  Casting(kSpellBullsStrength);
  EXPECT_EQ(ChooseBestSpellTarget(), kCaster);
}

TEST_F(SpellTargets, ManyCandidatesAreCountedToTheEndOfTheList) {
  PutCaster(7, {});
  for (int i = 0; i < 32; ++i) Put(100 + i, 4 + i % 8, 4 + i / 8, kAllegianceParty);
  Creatures[117].hitPoints = 5;
  Begin();
  Casting(kSpellMagicMissile);
  ASSERT_TRUE(FillSpellTargetCandidates(kCaster));
  EXPECT_EQ(CountCandidates(), 32);
  EXPECT_EQ(ChooseBestSpellTarget(), 117) << "32 candidates still give a target; the weakest scores most";
}

TEST_F(SpellTargets, EnemyScoresWeighCastersPlansAndTouch) {
  PutCaster(7, {});
  Put(20, 6, 2, kAllegianceParty).creatureClass = kClassWizard;  // +11
  Put(21, 6, 4, kAllegianceParty).hitPoints = 20;                // fewest hit points
  Put(11, 3, 2, kAllegianceEnemy);                                // an ally of the caster
  Begin();
  Casting(kSpellMagicMissile);
  EXPECT_EQ(ChooseBestSpellTarget(), 20);

  // Two fighters of the caster's side already plan to strike 21: +5 each.
  TurnOrder[3].plannedAction = 1;
  TurnOrder[3].plannedTarget = 21;
  TurnOrder[0].plannedAction = 2;
  TurnOrder[0].plannedTarget = 21;
  EXPECT_EQ(ChooseBestSpellTarget(), 21);

  // The focus creature outweighs everything.
  DisruptionTarget = 20;
  EXPECT_EQ(ChooseBestSpellTarget(), 20);
  DisruptionTarget = -1;
}

TEST_F(SpellTargets, OnlyTheCastersOwnSideGivesNoEnemyTarget) {
  PutCaster(7, {});
  Put(11, 3, 2, kAllegianceEnemy);
  Put(12, 2, 3, kAllegianceEnemy);
  Begin();
  Casting(kSpellBullsStrength);
  ASSERT_TRUE(FillSpellTargetCandidates(kCaster));
  ASSERT_GE(CountCandidates(), 2);
  EXPECT_EQ(ChooseBestSpellTarget(), -1);
}

TEST_F(SpellTargets, ReachByClassAndByRangeKind) {
  PutCaster(7, {});
  Put(20, 3, 3, kAllegianceParty);  // squared distance 2
  Put(21, 5, 2, kAllegianceParty);  // 9
  Put(22, 9, 2, kAllegianceParty);  // 49
  Begin();
  ListCombatantsInReach(kCaster, 1);
  EXPECT_EQ(CountCandidates(), 2) << "the caster and the diagonal neighbour (d < 3)";
  ListCombatantsInReach(kCaster, 2);
  EXPECT_EQ(CountCandidates(), 3);
  ListCombatantsInReach(kCaster, 3);
  EXPECT_EQ(CountCandidates(), 4);

  Casting(kSpellShockingGrasp);  // touch: squared distance at most 2
  FillSpellTargetCandidates(kCaster);
  EXPECT_EQ(CountCandidates(), 1);
  EXPECT_EQ(TargetCandidateList[0], 20);
  Casting(kSpellRayOfFrost);  // 35 feet: at most 49
  FillSpellTargetCandidates(kCaster);
  EXPECT_EQ(CountCandidates(), 3);
}

TEST_F(SpellTargets, HelplessNarrowAndWide) {
  Put(20, 3, 3, kAllegianceParty);
  EXPECT_FALSE(IsHelplessTarget(20, 1));
  Give(20, kCondCowering);
  EXPECT_FALSE(IsHelplessTarget(20, 0));
  EXPECT_TRUE(IsHelplessTarget(20, 1));
  RemoveCondition(20, kCondCowering);
  AddCondition(20, kCondPolymorphed, 10, 7, kSourceSpell, 0);
  AddCondition(20, kCondPolymorphed, 10, 42, kSourceSpell, 0);
  EXPECT_TRUE(HasPolymorphValue42(20)) << "any active entry of the form counts";
  EXPECT_TRUE(IsHelplessTarget(20, 0));
}

}  // namespace
