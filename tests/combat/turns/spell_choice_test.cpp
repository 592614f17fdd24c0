// Computer casters choosing their spell on drawn maps: what the search lists
// level by level, what it leaves out as useless, and what a caster with no
// usable spell does instead.
#include "combat/turns/spell_choice.h"

#include <gtest/gtest.h>

#include "caster_fixture.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/spell_targets.h"
#include "combat/turns/tactical_predicates.h"
#include "engine/frame.h"
#include "rules/casting_rules.h"
#include "rules/feat_ids.h"

namespace {

using casterfixture::kCaster;
using Spells = std::vector<int>;

class SpellChoice : public casterfixture::Battlefield {};

TEST_F(SpellChoice, MindSpellsPassOverUndeadAndLandOnTheLiving) {
  // Level 13: spells up to level 7. Insanity (7) and Confusion (4) are mind
  // spells; Magic Missile (1) is not.
  PutCaster(13, {kSpellInsanity, kSpellConfusion, kSpellMagicMissile});
  CreatureRecord& zombie = Put(20, 6, 2, kAllegianceParty);
  zombie.type = kTypeUndead;
  Immune(20, kImmMind);
  Begin();

  ASSERT_TRUE(SearchSpells(Situation()));
  EXPECT_EQ(FoundSpellLevel, 1);
  EXPECT_EQ(Found(), (Spells{kSpellMagicMissile}));

  // A living foe beside the undead one: the highest level that reaches it.
  Put(21, 7, 3, kAllegianceParty);
  Begin();
  ASSERT_EQ(RunSpellBranch(Situation()), SpellBranchOutcome::kSpellCast);
  EXPECT_EQ(SpellInProgress, kSpellInsanity);
  EXPECT_EQ(SpellCaster, kCaster);
  EXPECT_EQ(ScreenMode, kModeCastStart);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(ChooseBestSpellTarget(), 21) << "the undead foe is never the target";
}

TEST_F(SpellChoice, TheSequencerCarriesTheChosenSpellToAFittingTarget) {
  // The weaker foe shrugs off force: the missiles go to the other.
  PutCaster(1, {kSpellMagicMissile});
  Put(20, 6, 2, kAllegianceParty).hitPoints = 5;
  Immune(20, kImmForce);
  Put(21, 7, 4, kAllegianceParty);
  Begin();
  ASSERT_EQ(RunSpellBranch(Situation()), SpellBranchOutcome::kSpellCast);
  for (int frame = 0; frame < 3000 && ScreenMode != kModeExploring; ++frame) {
    mapfixture::StepCamera();
    ProcessCombatAction();
  }
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(Creatures[20].hitPoints, 5);
  EXPECT_LT(Creatures[21].hitPoints, 40);
  EXPECT_EQ(Creatures[kCaster].spellsLeft[0], 2) << "one level-1 slot spent";
}

TEST_F(SpellChoice, SleepPassesOverCreaturesImmuneToSleep) {
  PutCaster(1, {kSpellSleep, kSpellMagicMissile});
  Put(20, 6, 2, kAllegianceParty).effectiveLevel = 4;  // within Sleep's reach
  Immune(20, kImmSleep);
  Begin();
  ASSERT_TRUE(SearchSpells(Situation()));
  EXPECT_EQ(Found(), (Spells{kSpellMagicMissile}));

  // Without the immunity both are listed.
  Creatures[20].protections[ImmunityPair(kImmSleep)].current = 0;
  ASSERT_TRUE(SearchSpells(Situation()));
  EXPECT_EQ(Found(), (Spells{kSpellSleep, kSpellMagicMissile}));
}

TEST_F(SpellChoice, ABuffIsNotCastAgainOnAnAllyWhoHasIt) {
  PutCaster(3, {kSpellBullsStrength});
  Put(11, 3, 2, kAllegianceEnemy);  // an ally of the caster
  Put(20, 9, 9, kAllegianceParty);
  Give(kCaster, kCondEnhancedStrength);
  Give(11, kCondEnhancedStrength);
  Begin();
  EXPECT_FALSE(SearchSpells(Situation()));

  RemoveCondition(11, kCondEnhancedStrength);
  ASSERT_TRUE(SearchSpells(Situation()));
  EXPECT_EQ(Found(), (Spells{kSpellBullsStrength}));
  SpellInProgress = kSpellBullsStrength;
  SpellCaster = kCaster;
  EXPECT_EQ(ChooseSpellTarget(), 11);
}

// A lich casts its own spells on itself; a shield it already holds is not
// cast again (nor the other shield over it).
TEST_F(SpellChoice, ALichDoesNotRecastAShieldItHolds) {
  PutCaster(9, {kSpellIceShield}, kClassLich);
  Put(20, 6, 2, kAllegianceParty);
  Begin();
  ASSERT_TRUE(SearchSpells(Situation()));
  EXPECT_EQ(Found(), (Spells{kSpellIceShield}));
  Give(kCaster, kCondIceShielded);
  EXPECT_FALSE(SearchSpells(Situation()));
  Creatures[kCaster].knownSpells[kSpellFireShield] = 1;
  EXPECT_FALSE(SearchSpells(Situation()));
}

TEST_F(SpellChoice, TheHighestUsefulLevelWins) {
  // Fireball (3) and Scorching Ray (2) are fire; Magic Missile (1) force.
  PutCaster(5, {kSpellFireball, kSpellScorchingRay, kSpellMagicMissile});
  Put(20, 6, 2, kAllegianceParty);
  Begin();
  ASSERT_TRUE(SearchSpells(Situation()));
  EXPECT_EQ(FoundSpellLevel, 3);
  EXPECT_EQ(Found(), (Spells{kSpellFireball})) << "lower levels wait while a higher one yields";

  Creatures[kCaster].spellsLeft[2] = 0;  // no level-3 slot left: the search starts at 2
  ASSERT_TRUE(SearchSpells(Situation()));
  EXPECT_EQ(Found(), (Spells{kSpellScorchingRay}));

  Creatures[kCaster].spellsLeft[2] = 3;
  Immune(20, kImmFire);
  ASSERT_TRUE(SearchSpells(Situation()));
  EXPECT_EQ(FoundSpellLevel, 1);
  EXPECT_EQ(Found(), (Spells{kSpellMagicMissile}));
}

TEST_F(SpellChoice, AFavouriteOfTheGroupJoinsOnTheSecondPass) {
  // Web (2) is a favourite of the level-3 group: it joins a level-3 list only
  // when the first pass found something.
  PutCaster(5, {kSpellFireball, kSpellWeb});
  Put(20, 6, 2, kAllegianceParty);
  Begin();
  ASSERT_TRUE(SearchSpells(Situation()));
  EXPECT_EQ(FoundSpellLevel, 3);
  EXPECT_EQ(Found(), (Spells{kSpellFireball, kSpellWeb}));

  Immune(20, kImmFire);
  ASSERT_TRUE(SearchSpells(Situation()));
  EXPECT_EQ(FoundSpellLevel, 2);
  EXPECT_EQ(Found(), (Spells{kSpellWeb}));
}

TEST_F(SpellChoice, WithoutAUsableSpellTheCasterFallsBackToItsWeapons) {
  PutCaster(1, {kSpellSleep});
  Put(20, 3, 2, kAllegianceParty);  // adjacent
  Immune(20, kImmSleep);
  Begin();
  DebugMode = 1;
  EXPECT_EQ(RunSpellBranch(Situation(true)), SpellBranchOutcome::kWeaponAction);
  DebugMode = 0;
  EXPECT_NE(Log().find("DEBUG - Could not find spells."), std::string::npos);
  EXPECT_EQ(CombatAction.actionCode, 4) << "the full melee attack";
  EXPECT_EQ(TurnOrder[CombatAction.currentEntry].plannedAction, 1);
  EXPECT_EQ(TurnOrder[CombatAction.currentEntry].plannedTarget, 20);
  EXPECT_EQ(SpellsGivenUpThisTurn, 0);

  // Out of reach and without a bow: the rest of the turn goes on without spells.
  Creatures[20].squareX = 12;
  Begin();
  CombatAction.actionCode = 0;
  EXPECT_EQ(RunSpellBranch(Situation()), SpellBranchOutcome::kGaveUp);
  EXPECT_EQ(SpellsGivenUpThisTurn, 1);
  EXPECT_EQ(CombatAction.actionCode, 0);

  // Grappling C20 beside it, the grapple's attacks under way, no target left
  // by an earlier order: the grapple attack is made on the partner.
  Creatures[20].squareX = 3;
  Begin();
  AddCondition(kCaster, kCondGrappling, 1000, 20, 31, 0);
  AddCondition(20, kCondGrappling, 1000, kCaster, 31, 0);
  GrappleSequenceOpen = 1;
  ActionTarget = -1;
  EXPECT_EQ(RunSpellBranch(Situation(true)), SpellBranchOutcome::kWeaponAction);
  EXPECT_EQ(CombatAction.actionCode, 4);
  EXPECT_EQ(ActionTarget, 20);
}

// A full attack begun, its standard action spent: the attack goes on and no
// spell is cast with the action that is no longer there.
TEST_F(SpellChoice, NoSpellIsCastOnceTheActionsAreSpent) {
  PutCaster(1, {kSpellMagicMissile});
  Put(20, 3, 2, kAllegianceParty);  // adjacent
  Begin();
  CombatAction.fullRoundActionLeft = CombatAction.standardActionLeft = 0;
  CombatAction.attackSequenceOpen = 1;
  EXPECT_EQ(RunSpellBranch(Situation(true)), SpellBranchOutcome::kWeaponAction);
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_EQ(CombatAction.actionCode, 4) << "the next attack of the full attack";
}

// Without a spell that helps, an archer's fall-back shot passes over a
// sleeping foe unless that foe cannot be finished off while helpless.
TEST_F(SpellChoice, TheFallBackShotSparesASleeperOnlyWhenItCanBeFinished) {
  constexpr uint32_t kBowCode = 21;
  constexpr int kArrowRow = 7;
  PutCaster(1, {kSpellSleep});
  CraftedWeaponRecord& bow = CraftedWeapons[kBowCode];
  bow = {};
  bow.itemType = 32;
  bow.handling = 4;
  bow.proficiency = 1;
  bow.size = 3;
  bow.dieCount = 1;
  bow.dieSides = 6;
  bow.range = 100;
  ItemTable[kArrowRow].baseType = 8;
  Creatures[kCaster].equipment[kSlotRanged - 1] = kBowCode;
  Creatures[kCaster].ammunition = {static_cast<uint32_t>(kFirstBaseItemCode + kArrowRow), 20};
  Put(20, 12, 2, kAllegianceParty);
  Immune(20, kImmSleep);
  Give(20, kCondSleeping);
  Begin();
  EXPECT_EQ(RunSpellBranch(Situation(false, true)), SpellBranchOutcome::kGaveUp);
  EXPECT_EQ(SpellsGivenUpThisTurn, 1);

  Immune(20, kImmCriticals);  // never helpless
  SpellsGivenUpThisTurn = 0;
  Begin();
  EXPECT_EQ(RunSpellBranch(Situation(false, true)), SpellBranchOutcome::kWeaponAction);
  EXPECT_EQ(TurnOrder[CombatAction.currentEntry].plannedAction, 2);
  EXPECT_EQ(TurnOrder[CombatAction.currentEntry].plannedTarget, 20);
  EXPECT_EQ(CombatAction.actionCode, 10) << "the full ranged attack";
  EXPECT_EQ(ActionTarget, 20) << "aimed at the sleeper: a shot without a target was cancelled and ordered again";
  bow = {};
  ItemTable[kArrowRow] = {};
  SpellsGivenUpThisTurn = 0;
}

TEST_F(SpellChoice, ASilencedCasterSearchesSilentSpellsOnly) {
  CreatureRecord& c = PutCaster(3, {kSpellMagicMissile, kSpellScorchingRay});
  c.feats[kFeatMetamagicSilent] = 1;
  Give(kCaster, kCondSilenced);
  Put(20, 6, 2, kAllegianceParty);
  Begin();
  SpellTable[kSpellMagicMissile].metamagic[kMetaSilent] = 0;
  ChooseMetamagic(Situation());
  ASSERT_EQ(PendingMetamagic, kMetamagicSilent);
  // Scorching Ray (2) needs a level-3 slot when silent: searched at level 1 it is not there.
  EXPECT_FALSE(SearchSpells(Situation())) << "no fall back to spells that need a voice";
  EXPECT_EQ(PendingMetamagic, kMetamagicSilent);
}

TEST_F(SpellChoice, AProgrammedSpellWithoutATargetIsGivenUp) {
  PutCaster(5, {kSpellMagicMissile});
  Creatures[kCaster].scriptWords[kScriptWordFirstSpell] = kSpellHoldPerson + 1;
  CreatureRecord& golem = Put(20, 6, 2, kAllegianceParty);
  golem.type = kTypeConstruct;
  Begin();
  CombatAction.scriptedSpellPlanned = 1;
  CombatAction.scriptedSpell = kSpellHoldPerson;
  DebugMode = 1;
  EXPECT_EQ(RunSpellBranch(Situation()), SpellBranchOutcome::kNothing);
  DebugMode = 0;
  EXPECT_NE(Log().find("Searching spells of lvl: 3"), std::string::npos);
  EXPECT_EQ(Log().find("Searching spells of lvl: 2"), std::string::npos) << "its own level only";
  EXPECT_NE(Log().find("DEBUG - could not target programmed spell."), std::string::npos);
  EXPECT_EQ(CombatAction.scriptedSpellPlanned, 0);
  EXPECT_EQ(SpellInProgress, -1);
}

// A script-set target word of 0 names no target, even with creature 0 (the
// first party member) in the battle.
TEST_F(SpellChoice, AScriptTargetWordOfZeroNamesNoTarget) {
  PutCaster(5, {});
  Put(0, 6, 2, kAllegianceParty);
  Put(20, 7, 2, kAllegianceParty);
  Begin();
  CombatAction.scriptedSpellPlanned = 1;
  CombatAction.scriptedSpell = kSpellEnlargePerson;  // aimed at one creature
  EXPECT_EQ(ScriptedSpellTarget(kCaster), -1);
  Creatures[kCaster].scriptWords[kScriptWordTarget] = 20;
  EXPECT_EQ(ScriptedSpellTarget(kCaster), 20);
}

TEST_F(SpellChoice, ClassAndRoleRulesNarrowTheSearch) {
  // A Cleric of the fighting role never takes a burst of harm, and strikes
  // one creature only by touch.
  CreatureRecord& cleric =
      PutCaster(5, {kSpellSoundBurst, kSpellSearingLight, kSpellInflictLightWounds}, kClassCleric);
  Put(20, 3, 2, kAllegianceParty);
  Begin();
  ASSERT_TRUE(SearchSpells(Situation(true)));
  EXPECT_EQ(Found(), (Spells{kSpellSearingLight, kSpellSoundBurst})) << "no role: level 3 and its favourite";
  cleric.behaviour[kBehaviourCastingStyle] = 1;
  ASSERT_TRUE(SearchSpells(Situation(true)));
  EXPECT_EQ(Found(), (Spells{kSpellInflictLightWounds}));

  // A Wizard of the fighting role takes only the spells of its list.
  FighterCount = 0;
  CreatureRecord& wizard = PutCaster(1, {kSpellMagicMissile, kSpellRayOfFrost, kSpellCauseShaking});
  wizard.behaviour[kBehaviourCastingStyle] = 1;
  Put(20, 5, 2, kAllegianceParty);
  Begin();
  ASSERT_TRUE(SearchSpells(Situation()));
  EXPECT_EQ(Found(), (Spells{kSpellMagicMissile, kSpellRayOfFrost}));
}

TEST_F(SpellChoice, EntangleWithoutAlliesOnHalfTheSearches) {
  PutCaster(1, {kSpellEntangle});
  Put(20, 6, 2, kAllegianceParty);
  Begin();
  int found = 0;
  for (int i = 0; i < 200; ++i) found += SearchSpells(Situation()) ? 1 : 0;
  EXPECT_GT(found, 70);
  EXPECT_LT(found, 130);
}

}  // namespace
