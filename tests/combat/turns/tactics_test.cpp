// The tactics of computer fighters on drawn maps: breathing, leaving a fire,
// dispelling, curing, turning undead, the alarm and the melee attack.
#include "combat/turns/tactics.h"

#include "combat/actions/action_executor.h"
#include "combat/actions/casting_checks.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/spell_targets.h"
#include "combat/turns/tactical_predicates.h"
#include "combat/turns/tactics_fixture.h"
#include "combat/turns/turn_planning.h"
#include "engine/frame.h"
#include "map/area_shapes.h"
#include "map/square_grids.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/feat_ids.h"

namespace {

using tacticsfixture::TacticsTest;
constexpr int kMe = 100, kFoe = 101, kFoe2 = 102, kAlly = 103, kAlly2 = 104, kFar = 105;

class Tactics : public TacticsTest {
 protected:
  // The decision's flags of a fighter standing its ground with its spells.
  static TacticFlags Holding(bool adjacentEnemy = false) {
    TacticFlags f;
    f.canCastSpells = true;
    f.adjacentEnemy = adjacentEnemy;
    f.topSpellLevel = 9;
    return f;
  }
};

TEST_F(Tactics, ADragonBreathesWhenItsTendencyRollPassesAndNotWhenItFails) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 2, 5, 10);
  turnsfixture::AddFighter(kFoe, 1, 8, 10);
  turnsfixture::AddFighter(kFoe2, 1, 8, 11);
  Creatures[kMe].special[kSpecialAttackKind] = 1;  // a cone of fire
  turnsfixture::StartTurn(kMe);

  Creatures[kMe].behaviour[kBehaviourSpecialAttack] = 0;
  PlanFighterTurn(kMe);
  EXPECT_EQ(CombatAction.breathPlanned, 0);
  EXPECT_EQ(BreatheWeapon(kMe, Holding()), TacticResult::kFellThrough);
  EXPECT_EQ(SpellInProgress, -1);

  Creatures[kMe].behaviour[kBehaviourSpecialAttack] = 100;
  PlanFighterTurn(kMe);
  ASSERT_EQ(CombatAction.breathPlanned, 1);
  EXPECT_EQ(BreatheWeapon(kMe, Holding()), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellSpecialAttack);
  EXPECT_EQ(SpellCaster, kMe);
  EXPECT_EQ(ScreenMode, kModeCastStart);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.breathPlanned, 0) << "launched once";

  // A controlled dragon never plans its breath.
  Creatures[kMe].conditions[0] = {kCondControlled, 5, 0, 0, 0};
  PlanFighterTurn(kMe);
  EXPECT_EQ(CombatAction.breathPlanned, 0);
}

TEST_F(Tactics, ABreathThatWouldReachNoFoeIsGivenUp) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 2, 3, 3);
  turnsfixture::AddFighter(kFoe, 1, 17, 17);
  Creatures[kMe].special[kSpecialAttackKind] = 1;
  turnsfixture::StartTurn(kMe);
  CombatAction.breathPlanned = 1;
  EXPECT_EQ(BreatheWeapon(kMe, Holding()), TacticResult::kReturn);
  EXPECT_EQ(CombatAction.breathPlanned, 0);
  EXPECT_EQ(SpellInProgress, -1);
  CombatAction.breathPlanned = 1;
  CombatAction.standardActionLeft = 0;
  EXPECT_EQ(BreatheWeapon(kMe, Holding()), TacticResult::kReturn) << "no standard action left";
  EXPECT_EQ(CombatAction.breathPlanned, 0);
}

TEST_F(Tactics, AFighterLeavesABurningSquareFirst) {
  OpenBattle(24, 24);
  turnsfixture::AddFighter(kMe, 2, 10, 10);
  turnsfixture::AddFighter(kFoe, 1, 20, 20);
  for (int x = 9; x <= 11; ++x)
    for (int y = 9; y <= 11; ++y) MagicAreaGrid[SquareIndex(x, y)] = {kEffectFire, 5, 0};
  turnsfixture::StartTurn(kMe);
  TacticFlags f;
  f.canMove = true;
  EXPECT_EQ(CastSpellForSituation(kMe, f), TacticResult::kFellThrough) << "a fighter without spells casts nothing";
  EXPECT_EQ(LeaveHazard, 1);
  EXPECT_EQ(HazardKindToLeave, static_cast<int32_t>(kEffectFire));
  ASSERT_EQ(LeaveHazardArea(kMe, f), TacticResult::kCommitted);
  EXPECT_EQ(CombatAction.leavingArea, static_cast<int32_t>(kEffectFire));
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, kActionWalkPath);
  EXPECT_EQ(Creatures[kMe].destinationX, 12) << "the nearest square free of the fire";
  EXPECT_EQ(Creatures[kMe].destinationY, 11);
  EXPECT_EQ(CpuMoveIssued, 1);

  // Once on its way it does not set off again; beside an enemy it stays.
  EXPECT_EQ(LeaveHazardArea(kMe, f), TacticResult::kFellThrough);
  CombatAction.leavingArea = 0;
  f.adjacentEnemy = true;
  EXPECT_EQ(LeaveHazardArea(kMe, f), TacticResult::kFellThrough);
}

TEST_F(Tactics, AParalysedWizardDispelsItsOwnParalysis) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 2, 5, 10);
  turnsfixture::AddFighter(kFoe, 1, 15, 10);
  MakeCaster(kMe, 4, {kSpellDispel});
  turnsfixture::StartTurn(kMe);
  Creatures[kMe].conditions[0] = {kCondParalyzed, 5, kSourceSpell, 0, 1};
  ASSERT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellDispel);
  EXPECT_EQ(PendingMetamagic, kMetamagicStilled) << "cast still, at level 4";
  EXPECT_EQ(DispelReason, 1);
  EXPECT_EQ(CastByComputer, 1);

  // A paralysis from losing Strength is not dispelled; nor one without a level-4 slot.
  ResetCurrentCastState();
  Creatures[kMe].conditions[0].source = kSourceStrengthLoss;
  EXPECT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kFellThrough);
  Creatures[kMe].conditions[0].source = kSourceSpell;
  Creatures[kMe].spellsLeft[3] = 0;
  EXPECT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kFellThrough);
  EXPECT_EQ(SpellInProgress, -1);
}

TEST_F(Tactics, AClericCuresTheFirstWoundedFriendWithItsStrongestCure) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 1, 5, 5);
  turnsfixture::AddFighter(kAlly, 1, 6, 5);
  turnsfixture::AddFighter(kAlly2, 1, 5, 6);
  turnsfixture::AddFighter(kFar, 2, 18, 18);
  MakeCaster(kMe, 3, {kSpellCureLightWounds, kSpellCureSeriousWounds});
  turnsfixture::StartTurn(kMe);
  EXPECT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kFellThrough) << "nobody is hurt";
  Creatures[kAlly2].hitPoints = 20;
  Creatures[kAlly].hitPoints = 35;  // not hurt enough for the test of 70
  ASSERT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellCureSeriousWounds);
  EXPECT_EQ(ScreenMode, kModeCastStart);
  // Curing others lowers the test to 40: the first friend in the list is cured.
  ResetCurrentCastState();
  CombatAction.cureOthers = 1;
  Creatures[kAlly2].hitPoints = 100;
  ASSERT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellCureSeriousWounds);
}

// A widened mass cure needs five creatures in its burst; with four the
// cleric casts the plain one (three creatures are enough for it).
TEST_F(Tactics, AWidenedMassCureNeedsFiveCreaturesInItsBurst) {
  constexpr int kAlly3 = 106, kAlly4 = 107;
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 1, 5, 5);
  turnsfixture::AddFighter(kAlly, 1, 6, 5);
  turnsfixture::AddFighter(kAlly2, 1, 5, 6);
  turnsfixture::AddFighter(kAlly3, 1, 6, 6);
  turnsfixture::AddFighter(kFar, 2, 18, 18);
  MakeCaster(kMe, 3, {kSpellMassCureLight}, 16);
  Creatures[kMe].feats[kFeatMetamagicWiden] = 1;
  for (int id : {kMe, kAlly, kAlly2, kAlly3}) Creatures[id].hitPoints = 40;
  turnsfixture::StartTurn(kMe);
  ASSERT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellMassCureLight);
  EXPECT_EQ(PendingMetamagic, kMetamagicNone) << "four creatures: the plain mass cure";

  ResetCurrentCastState();
  turnsfixture::AddFighter(kAlly4, 1, 4, 5);
  Creatures[kAlly4].hitPoints = 40;
  turnsfixture::StartTurn(kMe);
  ASSERT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellMassCureLight);
  EXPECT_EQ(PendingMetamagic, kMetamagicWidened) << "five creatures: widened";

  // Paralysed, with Still, it casts the plain one still: a spell takes one metamagic.
  ResetCurrentCastState();
  Creatures[kMe].feats[kFeatMetamagicStill] = 1;
  Creatures[kMe].conditions[0] = {kCondParalyzed, 5, kSourceStrengthLoss, 0, 1};
  ASSERT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellMassCureLight);
  EXPECT_EQ(PendingMetamagic, kMetamagicStilled);
}

// A paralysed cleric frees itself with Freedom of Movement cast still, as a
// grappling one does: the paralysis leaves it no room for the gesture.
TEST_F(Tactics, AParalysedClericFreesItselfWithAStilledFreedomOfMovement) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 1, 5, 5);
  turnsfixture::AddFighter(kFar, 2, 18, 18);
  MakeCaster(kMe, 3, {kSpellFreedomOfMovement});
  Creatures[kMe].feats[kFeatMetamagicStill] = 1;
  turnsfixture::StartTurn(kMe);
  Creatures[kMe].conditions[0] = {kCondParalyzed, 5, kSourceStrengthLoss, 0, 1};
  ASSERT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellFreedomOfMovement);
  EXPECT_EQ(PendingMetamagic, kMetamagicStilled);
}

// A fighter whose spell-like ability does not cure still cures a friend at
// 40 per cent or less with the cure of its wand.
TEST_F(Tactics, AWandCuresAFriendWhenTheInnateSpellDoesNot) {
  constexpr uint32_t kWand = 23;
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 1, 5, 5);
  turnsfixture::AddFighter(kAlly, 1, 6, 5);
  turnsfixture::AddFighter(kFar, 2, 18, 18);
  Creatures[kMe].special[kSpecialSpellLike] = kSpellMagicMissile + 1;
  Creatures[kMe].special[kSpecialUsesLeft] = 3;
  CraftedWeapons[kWand] = {};
  CraftedWeapons[kWand].itemType = 8;
  CraftedWeapons[kWand].charges = 5;
  CraftedWeapons[kWand].spell = kSpellCureLightWounds;
  Creatures[kMe].equipment[kSlotRightHand - 1] = kWand;
  Creatures[kAlly].hitPoints = 30;
  turnsfixture::StartTurn(kMe);
  ASSERT_EQ(CastSpellForSituation(kMe, TacticFlags{}), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellCureLightWounds);
  EXPECT_EQ(CastingWand, 1);
  EXPECT_EQ(CastingItem, kWand);
  CraftedWeapons[kWand] = {};
}

TEST_F(Tactics, InvisibilityPurgeNeedsMoreHiddenFoesThanFriends) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 1, 8, 8);
  turnsfixture::AddFighter(kFoe, 2, 10, 8);
  turnsfixture::AddFighter(kAlly, 1, 8, 10);
  MakeCaster(kMe, 3, {kSpellInvisibilityPurge});
  turnsfixture::StartTurn(kMe);
  AddCondition(kFoe, kCondInvisible, 10, 0, kSourceSpell, 0);
  AddCondition(kAlly, kCondInvisible, 10, 0, kSourceSpell, 0);
  EXPECT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kFellThrough) << "one hidden foe, one hidden friend";
  turnsfixture::AddFighter(kFoe2, 2, 9, 11);
  mapfixture::StartTestCombat();
  AddCondition(kFoe2, kCondGreaterInvisibility, 10, 0, kSourceSpell, 0);
  ASSERT_EQ(CastSpellForSituation(kMe, Holding()), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellInvisibilityPurge);
}

TEST_F(Tactics, TurningOneUndeadWhereMoreCouldBeTurnedWaits) {
  OpenBattle(24, 24);
  turnsfixture::AddFighter(kMe, 1, 10, 10);
  turnsfixture::AddFighter(kFoe, 2, 12, 10);
  turnsfixture::AddFighter(kFoe2, 2, 20, 20);
  Creatures[kFoe].type = Creatures[kFoe2].type = 8;
  Creatures[kMe].creatureClass = 3;
  Creatures[kMe].displayWords[kDisplayTurnUndeadUses] = 3;
  turnsfixture::StartTurn(kMe);
  CombatAction.turnUndeadPlanned = 1;
  EXPECT_EQ(TurnUndead(kMe, Holding()), TacticResult::kReturn);
  EXPECT_EQ(CombatAction.turnUndeadPlanned, 0);
  EXPECT_EQ(SpellInProgress, -1);
  // With the second undead beside the first, the cleric turns at once.
  Creatures[kFoe2].squareX = 12;
  Creatures[kFoe2].squareY = 11;
  CombatAction.turnUndeadPlanned = 1;
  ASSERT_EQ(TurnUndead(kMe, Holding()), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellTurnUndead);
  // Without a use left it cannot.
  ResetCurrentCastState();
  Creatures[kMe].displayWords[kDisplayTurnUndeadUses] = 0;
  CombatAction.turnUndeadPlanned = 1;
  EXPECT_EQ(TurnUndead(kMe, Holding()), TacticResult::kReturn);
}

TEST_F(Tactics, TheAlarmIsSoundedOnceAndNotWhileSilenced) {
  OpenBattle(20, 20);
  turnsfixture::AddFighter(kMe, 2, 5, 5);
  turnsfixture::AddFighter(kFoe, 1, 15, 15);
  turnsfixture::StartTurn(kMe);
  Creatures[kMe].displayWords[kDisplayAnimationFrame] = 3;
  EXPECT_EQ(SoundAlarm(kMe, Holding()), TacticResult::kFellThrough) << "a figure in its stride is no alarm sounder";
  Creatures[kMe].behaviour[kBehaviourAlarm] = 100;
  ASSERT_EQ(SoundAlarm(kMe, Holding()), TacticResult::kCommitted);
  EXPECT_EQ(CombatAction.actionCode, kActionAlarm);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  CurrentMap.alarm = 1;
  EXPECT_EQ(SoundAlarm(kMe, Holding()), TacticResult::kFellThrough) << "the level already alarmed";
  CurrentMap.alarm = 0;
  Creatures[kMe].conditions[0] = {kCondSilenced, 5, 0, 0, 0};
  EXPECT_EQ(SoundAlarm(kMe, Holding()), TacticResult::kFellThrough);
}

TEST_F(Tactics, AProgrammedSpellWithoutItsActionIsDroppedAndTheDispatchGoesOn) {
  OpenBattle(12, 12);
  turnsfixture::AddFighter(kMe, 2, 2, 2);
  turnsfixture::AddFighter(kFoe, 1, 9, 9);
  turnsfixture::StartTurn(kMe);
  CombatAction.scriptedSpellPlanned = 1;
  CombatAction.scriptedSpell = kSpellFireball;  // a standard action
  CombatAction.standardActionLeft = 0;
  EXPECT_EQ(CheckItemSpellAction(kMe), TacticResult::kFellThrough);
  EXPECT_EQ(CombatAction.scriptedSpellPlanned, 0);
  // A spell-like ability that lacks its action makes the decision return.
  Creatures[kMe].special[kSpecialSpellLike] = kSpellFireball + 1;
  CombatAction.spellLikePlanned = 1;
  EXPECT_EQ(CheckItemSpellAction(kMe), TacticResult::kReturn);
  EXPECT_EQ(CombatAction.spellLikePlanned, 0);
  // With the action it is planned as a spell (plan 5).
  CombatAction.spellLikePlanned = 1;
  CombatAction.standardActionLeft = 1;
  EXPECT_EQ(CheckItemSpellAction(kMe), TacticResult::kFellThrough);
  EXPECT_EQ(TurnOrder[CombatAction.currentEntry].plannedAction, 5);
}

TEST_F(Tactics, AClericTrappedInFireProtectsItselfWithTheStrongerWard) {
  OpenBattle(24, 24);
  turnsfixture::AddFighter(kMe, 1, 10, 10);
  turnsfixture::AddFighter(kFoe, 2, 20, 20);
  MakeCaster(kMe, 3, {kSpellProtectionFire});
  for (int x = 8; x <= 12; ++x)
    for (int y = 8; y <= 12; ++y) MagicAreaGrid[SquareIndex(x, y)] = {kEffectFire, 5, 0};
  turnsfixture::StartTurn(kMe);
  TacticFlags f = Holding();
  f.canMove = true;
  ASSERT_EQ(CastSpellForSituation(kMe, f), TacticResult::kCommitted) << "no step leads out of the fire";
  EXPECT_EQ(SpellInProgress, kSpellProtectionFire);
  EXPECT_EQ(HazardKindToLeave, static_cast<int32_t>(kEffectFire));
  ResetCurrentCastState();
  Creatures[kMe].knownSpells[kSpellGreaterProtectionFire] = 1;
  ASSERT_EQ(CastSpellForSituation(kMe, f), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellGreaterProtectionFire);
  // Warded already, it casts nothing and only means to leave.
  ResetCurrentCastState();
  Creatures[kMe].protections[kProtResistFire].current = 10;
  EXPECT_EQ(CastSpellForSituation(kMe, f), TacticResult::kFellThrough);
  EXPECT_EQ(LeaveHazard, 1);
}

TEST_F(Tactics, AWizardAtDeathsDoorPicksFalseLifeAndDispelsASummonedFoe) {
  OpenBattle(24, 24);
  turnsfixture::AddFighter(kMe, 2, 5, 10);
  turnsfixture::AddFighter(kFoe, 1, 9, 10);
  MakeCaster(kMe, 4, {kSpellFalseLife, kSpellDispel});
  turnsfixture::StartTurn(kMe);
  int32_t forced = -1;
  EXPECT_EQ(ChooseArcaneSpellFirst(kMe, Holding(), &forced), TacticResult::kFellThrough);
  EXPECT_EQ(forced, -1) << "nothing calls for either";
  Creatures[kMe].hitPoints = 15;
  EXPECT_EQ(ChooseArcaneSpellFirst(kMe, Holding(), &forced), TacticResult::kFellThrough);
  EXPECT_EQ(forced, kSpellFalseLife);
  Creatures[kMe].hitPoints = 100;
  AddCondition(kFoe, kCondSummonedCreature, 10, 0, kSourceSpell, 0);
  ASSERT_EQ(ChooseArcaneSpellFirst(kMe, Holding(), &forced), TacticResult::kCommitted);
  EXPECT_EQ(SpellInProgress, kSpellDispel);
  EXPECT_EQ(DispelReason, 3);
}

// The questions the tactics ask read what their rules name: the squares that
// stop a creature (not only wall codes), the casters' immunity to the spell
// named, and the current spell's words cleared with it.
TEST_F(Tactics, TheirQuestionsReadBlockedSquaresImmunityAndTheClearedSpell) {
  OpenBattle(12, 12);
  turnsfixture::AddFighter(kMe, 2, 5, 5);
  turnsfixture::AddFighter(kFoe, 1, 8, 5);
  turnsfixture::AddFighter(kFoe2, 1, 5, 8);
  MakeCaster(kFoe, 4, {kSpellFireball});
  MakeCaster(kFoe2, 4, {kSpellFireball});
  turnsfixture::StartTurn(kMe);
  EXPECT_TRUE(IsAreaFreeOfWalls(kMe));
  BlockedGrid[SquareIndex(6, 6)] = kSquareBlocked;  // no wall code, but no way through
  EXPECT_FALSE(IsAreaFreeOfWalls(kMe));

  Creatures[kFoe2].protections[ImmunityPair(kImmFire)] = {kImmunityImmune, kImmunityImmune};
  ASSERT_TRUE(ListEnemyCastersInReach(kMe, 0, -1));
  EXPECT_EQ(TargetCandidateList[1], kFoe2) << "no spell named: every caster";
  ASSERT_TRUE(ListEnemyCastersInReach(kMe, 0, kSpellFireball));
  EXPECT_EQ(TargetCandidateList[0], kFoe);
  EXPECT_EQ(TargetCandidateList[1], -1) << "the one immune to it is left out";

  SpellInProgress = kSpellDispel;
  DispelReason = 3;
  ClearCurrentSpell();
  EXPECT_EQ(DispelReason, 0);
}

class MeleeTactics : public TacticsTest {};

TEST_F(MeleeTactics, AGrapplerEscapesOnItsRollOrStrikesItsPartner) {
  OpenBattle(12, 12);
  turnsfixture::AddFighter(kMe, 2, 5, 5);
  turnsfixture::AddFighter(kFoe, 1, 6, 5);
  turnsfixture::StartTurn(kMe);
  AddCondition(kMe, kCondGrappling, kDurationLasting, kFoe, 31, 0);
  TacticFlags f;
  f.adjacentEnemy = true;
  Creatures[kMe].behaviour[kBehaviourCasting] = 100;  // its escape percentage
  ASSERT_EQ(AttackInMelee(kMe, f), TacticResult::kCommitted);
  EXPECT_EQ(CombatAction.actionCode, kActionEscape);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  Creatures[kMe].behaviour[kBehaviourCasting] = 0;
  CombatAction.standardActionLeft = 1;
  ASSERT_EQ(AttackInMelee(kMe, f), TacticResult::kCommitted);
  EXPECT_EQ(CombatAction.actionCode, kActionNextAttack);
  EXPECT_EQ(ActionTarget, kFoe) << "the grappling partner";
  // The pin percentage (the second grapple word) pins the partner when a
  // friend stands by to help.
  Creatures[kMe].behaviour[kBehaviourGrapple2] = 100;
  turnsfixture::AddFighter(kAlly, 2, 7, 5);
  turnsfixture::StartTurn(kMe);
  ASSERT_EQ(AttackInMelee(kMe, f), TacticResult::kCommitted);
  EXPECT_EQ(CombatAction.actionCode, kActionPin);
  EXPECT_EQ(ActionTarget, kFoe);
}


TEST_F(MeleeTactics, AWhirlwindNeedsTwoAdjacentEnemies) {
  OpenBattle(12, 12);
  turnsfixture::AddFighter(kMe, 2, 5, 5);
  turnsfixture::AddFighter(kFoe, 1, 6, 5);
  turnsfixture::StartTurn(kMe);
  Creatures[kMe].feats[kFeatWhirlwindAttack] = 1;
  CombatAction.whirlwindPlanned = 1;
  TacticFlags f;
  f.adjacentEnemy = true;
  ASSERT_EQ(AttackInMelee(kMe, f), TacticResult::kCommitted);
  EXPECT_NE(CombatAction.actionCode, kActionWhirlwind);
  EXPECT_EQ(ActionTarget, kFoe);
  turnsfixture::AddFighter(kFoe2, 1, 4, 5);
  mapfixture::StartTestCombat();
  CombatAction.fullRoundActionLeft = 1;
  CombatAction.attackSequenceOpen = 0;
  ASSERT_EQ(AttackInMelee(kMe, f), TacticResult::kCommitted);
  EXPECT_EQ(CombatAction.actionCode, kActionWhirlwind);
}

TEST_F(MeleeTactics, ASleepingFoeIsLeftAloneWithoutTheFullRoundAction) {
  OpenBattle(12, 12);
  turnsfixture::AddFighter(kMe, 2, 5, 5);
  turnsfixture::AddFighter(kFoe, 1, 6, 5);
  turnsfixture::StartTurn(kMe);
  Creatures[kFoe].conditions[0] = {kCondSleeping, 5, 0, 0, 0};
  CombatAction.fullRoundActionLeft = 0;
  TacticFlags f;
  f.adjacentEnemy = true;
  ASSERT_EQ(AttackInMelee(kMe, f), TacticResult::kCommitted);
  EXPECT_EQ(CombatState, kStateNextFighter);
  EXPECT_EQ(TurnOrder[CombatAction.currentEntry].plannedTarget, -1);
  // Awake, it is struck with the one attack the standard action allows.
  Creatures[kFoe].conditions[0] = {};
  ASSERT_EQ(AttackInMelee(kMe, f), TacticResult::kCommitted);
  EXPECT_EQ(CombatAction.actionCode, kActionMeleeAttack);
  EXPECT_EQ(ActionTarget, kFoe);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
}

TEST_F(MeleeTactics, AChargeMarksTheChargerBeforeItRuns) {
  OpenBattle(20, 12);
  turnsfixture::AddFighter(kMe, 2, 3, 5);
  turnsfixture::AddFighter(kFoe, 1, 10, 5);
  turnsfixture::StartTurn(kMe);
  Creatures[kMe].behaviour[kBehaviourCharge] = 100;
  TacticFlags f;
  f.canMove = true;
  ASSERT_EQ(Charge(kMe, f), TacticResult::kCommitted);
  EXPECT_TRUE(HasCondition(kMe, kCondCharging));
  EXPECT_EQ(CombatAction.actionCode, kActionCharge);
  EXPECT_EQ(ActionTarget, kFoe);
  EXPECT_EQ(CombatAction.fullRoundActionLeft, 0);
  EXPECT_EQ(TurnOrder[CombatAction.currentEntry].plannedAction, 1);
  // Once it has moved it may not charge.
  Creatures[kMe].conditions[0] = {};
  CombatAction.fullRoundActionLeft = 1;
  CombatAction.movesLeft = 40;
  EXPECT_EQ(Charge(kMe, f), TacticResult::kFellThrough);
}

}  // namespace
