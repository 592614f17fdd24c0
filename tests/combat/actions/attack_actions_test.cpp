// Attacks carried out frame by frame: a full attack whose first blow kills
// (with the Cleave it earns made at once), shots without
// ammunition or without a ranged weapon, the whirlwind attack on every
// adjacent foe, and an invisible attacker showing itself first.
#include "combat/actions/attack_actions.h"

#include <gtest/gtest.h>

#include <string>

#include "combat/actions/executor_fixture.h"
#include "engine/settings.h"
#include "combat/turns/turn_routines.h"
#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "screens/game/game_screen.h"

namespace {

using namespace executorfixture;

constexpr int kHero = 4, kFoeA = 5, kFoeB = 6, kFoeC = 7;

class Attacks : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    MakeWeapons();
    ClearMessageLog();
    mapfixture::DrawMap({"......", "......", "......", "......", "......"});
  }
};

// A fighter of the base attack given (15: three attacks) with Cleave, between
// a foe of 1 hit point and a sturdy one, orders an attack of the code on the
// weak one; returns whether its first blow killed.
bool FirstBlowKills(uint32_t seed, int32_t code = kActionFullAttack, int bab = 15, uint8_t player = 0,
                    int32_t skipTurn = 0) {
  ResetGameState();
  MakeWeapons();
  mapfixture::DrawMap({"......", "......", "......", "......", "......"});
  MakeFighter(kHero, "Hero", 2, 2, kAllegianceParty, bab);
  Creatures[kHero].feats[kFeatCleave] = 1;
  MakeFighter(kFoeA, "Goblin", 3, 2, kAllegianceEnemy, 0, 1);
  MakeFighter(kFoeB, "Orc", 2, 3, kAllegianceEnemy, 0, 100);
  StartBattle(kHero);
  CombatAction.playerControlled = player;
  OptionWords[kOptionSkipTurnAfterLeftClickAttack] = skipTurn;
  ClearMessageLog();
  SeedRandomForTests(seed);
  Order(code, kFoeA);
  RunAction();
  const std::string log = Log();
  const size_t second = log.find(" attacks ", log.find(" attacks ") + 1);
  return log.find("Goblin\xA3 dies.") < second;
}

TEST_F(Attacks, AKillOnTheFirstOfThreeAttacksEndsTheFullAttackAfterTheCleaveItEarns) {
  uint32_t seed = 1;
  while (seed < 60 && !FirstBlowKills(seed)) ++seed;
  ASSERT_LT(seed, 60u) << "no seed kills with the first blow";
  // One attack counted of three; the Cleave it earned was made at once on the
  // remaining adjacent foe, uncounted, and the sequence ended.
  EXPECT_EQ(CombatAction.meleeAttacksAllowed, 3);
  EXPECT_EQ(CombatAction.meleeAttacksMade, 1);
  EXPECT_EQ(g_Cleaving, -1);
  EXPECT_EQ(CombatAction.cleaveUsed, 1);
  const size_t cleave = Log().find("@CLEAVE@ : \xA3Hero\xA3 gets an extra melee attack");
  ASSERT_NE(cleave, std::string::npos);
  EXPECT_EQ(Count(Log().substr(cleave), "\xA3Hero\xA3 attacks \xA3Orc\xA3"), 1);
  EXPECT_EQ(Creatures[kFoeA].present, 0);
  // Handed back with the sequence open; one attack spent only the single action.
  EXPECT_EQ(CombatState, kStateComputerDecision);
  EXPECT_EQ(CombatAction.attackSequenceOpen, 1);
  EXPECT_EQ(CombatAction.fullRoundActionLeft, 0);
  // The next order is the second attack of the full attack.
  Order(kActionNextAttack, kFoeB);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 attacks \xA3Orc\xA3"), 2);
  EXPECT_EQ(CombatAction.meleeAttacksMade, 2);
  EXPECT_EQ(CombatAction.movementClosed, 1);  // a second attack takes the round
}

// A fighter of one attack with Cleave fells a foe of 1 hit point while
// another stands beside him: the extra attack is made on it at once, in the
// same order and uncounted, whatever the order (a single attack, a full
// attack, the next attack), whoever commands and whether the turn ends after
// a left-click attack or not.
TEST_F(Attacks, AnAnnouncedCleaveIsMadeAtOnce) {
  for (const int32_t code : {kActionMeleeAttack, kActionFullAttack, kActionNextAttack})
    for (const uint8_t player : {0, 1})
      for (const int32_t skipTurn : {0, 1}) {
        const std::string which = "code " + std::to_string(code) + (player ? ", player" : ", computer") +
                                  (skipTurn ? ", turn ends after the attack" : "");
        uint32_t seed = 1;
        while (seed < 100 && !FirstBlowKills(seed, code, 1, player, skipTurn)) ++seed;
        ASSERT_LT(seed, 100u) << which << ": no seed kills with the first blow";
        const std::string log = Log();
        const size_t cleave = log.find("@CLEAVE@ : \xA3Hero\xA3 gets an extra melee attack");
        ASSERT_NE(cleave, std::string::npos) << which;
        EXPECT_NE(log.find("\xA3Hero\xA3 attacks \xA3Orc\xA3", cleave), std::string::npos) << which;
        EXPECT_EQ(g_Cleaving, -1) << which;
        EXPECT_EQ(CombatAction.meleeAttacksMade, 1) << which << ": the cleave is not counted";
      }
  OptionWords[kOptionSkipTurnAfterLeftClickAttack] = 0;
}

TEST_F(Attacks, ACleaveWithNobodyLeftToStrikeIsDropped) {
  MakeFighter(kHero, "Hero", 2, 2, kAllegianceParty);
  MakeFighter(kFoeB, "Orc", 5, 4, kAllegianceEnemy);
  StartBattle(kHero);
  g_Cleaving = 1;
  AttackBegun = 1;  // the order's first blow has been struck already
  Order(kActionMeleeAttack, kFoeA);
  RunAction(50);
  EXPECT_EQ(g_Cleaving, -1);
  EXPECT_EQ(Count(Log(), " attacks "), 0);
  EXPECT_EQ(CombatAction.actionCode, 0);
  EXPECT_EQ(CombatState, kStateComputerDecision);
}

TEST_F(Attacks, AllShotsWithoutAmmunitionEndAtOnceAndOneShotWithoutABowIsCancelled) {
  MakeFighter(kHero, "Archer", 0, 0, kAllegianceParty);
  Creatures[kHero].equipment[kSlotRanged - 1] = kBow;
  Creatures[kHero].ammunition = {5100, 0};
  MakeFighter(kFoeA, "Orc", 5, 4, kAllegianceEnemy);
  StartBattle(kHero);
  Order(kActionFullShots, kFoeA);
  RunAction(100);
  EXPECT_EQ(FloatingTexts[kHero].framesLeft >= 0 ? std::string(FloatingTexts[kHero].text) : "", "Out of ammunition");
  EXPECT_EQ(Count(Log(), " attacks "), 0);
  EXPECT_EQ(CombatAction.shotsMade, 0);
  EXPECT_EQ(CombatAction.shootingSequenceOpen, 0);
  EXPECT_EQ(CombatAction.standardActionLeft, 1);  // nothing was spent
  EXPECT_EQ(CombatState, kStateNextFighter);
  // Without a ranged weapon a single shot is refused without spending anything.
  Creatures[kHero].equipment[kSlotRanged - 1] = 0;
  CombatState = kStateActionUnderWay;
  ClearMessageLog();
  Order(kActionShot, kFoeA);
  EXPECT_LT(RunAction(20), 20);
  EXPECT_EQ(Log(), "(Shooting Canceled)\r\r");
  EXPECT_EQ(g_ProcessingAttackNumber, -1);
  EXPECT_EQ(CombatAction.standardActionLeft, 1);
  EXPECT_EQ(CombatState, kStateComputerDecision);
}

TEST_F(Attacks, AWhirlwindStrikesEachAdjacentFoeOnceClockwise) {
  MakeFighter(kHero, "Hero", 2, 2, kAllegianceParty);
  MakeFighter(kFoeA, "Below", 2, 3, kAllegianceEnemy);
  MakeFighter(kFoeB, "Right", 3, 2, kAllegianceEnemy);
  MakeFighter(kFoeC, "UpLeft", 1, 1, kAllegianceEnemy);
  MakeFighter(8, "Far", 5, 4, kAllegianceEnemy);
  MakeFighter(9, "Friend", 3, 3, kAllegianceAlly);
  StartBattle(kHero);
  Order(kActionWhirlwind, -1);
  RunAction();
  const std::string log = Log();
  EXPECT_NE(log.find("\xA3Hero\xA3 launches @WHIRLWIND_ATTACK@."), std::string::npos);
  const size_t upLeft = log.find("attacks \xA3UpLeft"), right = log.find("attacks \xA3Right"),
               below = log.find("attacks \xA3" "Below");
  ASSERT_NE(upLeft, std::string::npos);
  ASSERT_NE(right, std::string::npos);
  ASSERT_NE(below, std::string::npos);
  EXPECT_LT(upLeft, right);
  EXPECT_LT(right, below);
  EXPECT_EQ(Count(log, " attacks "), 3);
  EXPECT_EQ(CombatAction.movementClosed, 1);
  EXPECT_EQ(CombatState, kStateComputerDecision);  // the five-foot step is still left
  // With nobody adjacent it goes straight to its end, in one call.
  for (int id : {kFoeA, kFoeB, kFoeC}) Creatures[id].squareX = 5, Creatures[id].squareY = 0;
  ClearMessageLog();
  CombatAction.fiveFootStepLeft = 0;
  Order(kActionWhirlwind, -1);
  ExecuteCombatAction();
  EXPECT_EQ(Count(Log(), " attacks "), 0);
  EXPECT_EQ(CombatAction.actionCode, 0);
  EXPECT_EQ(CombatState, kStateNextFighter);
}

TEST_F(Attacks, AnInvisibleAttackerShowsItselfBeforeTheSameAttack) {
  MakeFighter(kHero, "Hero", 2, 2, kAllegianceParty);
  MakeFighter(kFoeA, "Orc", 3, 2, kAllegianceEnemy);
  InCombat = 1;
  AddCondition(kHero, kCondInvisible, 5, 0, kSourceSpell, 0);
  StartBattle(kHero);
  Order(kActionMeleeAttack, kFoeA);
  ExecuteCombatAction();
  EXPECT_FALSE(HasCondition(kHero, kCondInvisible));
  EXPECT_EQ(CombatAction.actionCode, kActionEnd);
  EXPECT_EQ(QueuedActionCode, kActionMeleeAttack);
  EXPECT_NE(Log().find("\xA3Hero\xA3 loses the @INVISIBLE@ condition.\r"), std::string::npos);
  EXPECT_EQ(Count(Log(), " attacks "), 0);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 attacks \xA3Orc\xA3"), 1);
}

TEST_F(Attacks, ACoupDeGraceLetsEachNeighbourReactOnceAndACancelledOneLeavesNoFlag) {
  MakeFighter(kHero, "Hero", 2, 2, kAllegianceParty);
  MakeFighter(kFoeA, "Sleeper", 3, 2, kAllegianceEnemy);
  MakeFighter(kFoeB, "Watcher", 2, 3, kAllegianceEnemy);
  MakeFighter(kFoeC, "Gone", 5, 4, kAllegianceEnemy);
  InCombat = 1;
  AddCondition(kFoeA, kCondSleeping, 10, 0, kSourceSpell, 0);
  Creatures[kFoeB].attacksOfOpportunityLeft = 2;
  StartBattle(kHero);
  SeedRandomForTests(3);
  CoupDeGraceAction = 1;
  Order(kActionMeleeAttack, kFoeA);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3Watcher\xA3 gets @AOO@ against \xA3Hero\xA3."), 1);
  EXPECT_EQ(Creatures[kFoeB].attacksOfOpportunityLeft, 1);
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 inflicts @COUP_DE_GRACE@."), 1);
  EXPECT_EQ(CoupDeGraceAction, 0);
  // A coup de grace whose target is gone is cancelled, and the next attack is
  // an ordinary one again.
  Creatures[kFoeC].present = 0;
  CoupDeGraceAction = 1;
  ClearMessageLog();
  Order(kActionMeleeAttack, kFoeC);
  RunAction(50);
  EXPECT_EQ(Log(), "(Attack Canceled)\r\r");
  EXPECT_EQ(CoupDeGraceAction, 0);
}

TEST_F(Attacks, AnUnarmedFullAttackAfterItsTargetReactedUsesTheAttackersOwnEntries) {
  MakeFighter(kHero, "Hero", 2, 2, kAllegianceParty, 15);
  Creatures[kHero].equipment[kSlotLeftHand - 1] = kSword;  // two weapons: two entries
  RecomputeCreature(kHero, 1);
  MakeFighter(kFoeA, "Orc", 3, 2, kAllegianceEnemy);
  StartBattle(kHero);
  AttackProfile own;
  BuildAttackProfile(&own, kHero, 0, kFoeA, 0, 0);
  int entries = 0;
  while (entries < kAttackProfileEntries && own.entries[entries].kind != kEntryNone &&
         own.entries[entries].kind != kEntryRanged)
    ++entries;
  ASSERT_EQ(entries, 2);
  InCombat = 1;
  AddCondition(kHero, kCondUnarmed, 1000, 0, kSourceSpell, 0);  // fighting without a weapon the target respects
  Order(kActionFullAttack, kFoeA);
  RunUntil([] { return g_ProcessingAttackNumber == 0; }, 200);
  EXPECT_EQ(Count(Log(), "\xA3Orc\xA3 gets @AOO@ against \xA3Hero\xA3."), 1);
  EXPECT_EQ(ActingCreature, kHero);
  EXPECT_EQ(FullAttackEntries, entries);
}

TEST_F(Attacks, AShooterStillShootsAfterTheFoeNextToItHasReacted) {
  MakeFighter(kHero, "Archer", 0, 0, kAllegianceParty);
  Creatures[kHero].equipment[kSlotRanged - 1] = kBow;
  Creatures[kHero].ammunition = {5100, 20};
  RecomputeCreature(kHero, 1);
  MakeFighter(kFoeA, "Guard", 1, 0, kAllegianceEnemy, 0);
  MakeFighter(kFoeB, "Far", 5, 4, kAllegianceEnemy, 0);
  for (int32_t code : {kActionShot, kActionFullShots, kActionNextShot}) {
    StartBattle(kHero);
    Creatures[kFoeA].attacksOfOpportunityLeft = 1;
    ClearMessageLog();
    Order(code, kFoeB);
    RunAction();
    EXPECT_EQ(Count(Log(), "\xA3Guard\xA3 gets @AOO@ against \xA3" "Archer\xA3."), 1) << code;
    EXPECT_GE(Count(Log(), "\xA3" "Archer\xA3 shoots at \xA3" "Far\xA3."), 1) << code;
    EXPECT_EQ(Count(Log(), "(Shooting Canceled)"), 0) << code;
    EXPECT_EQ(ActingCreature, kHero) << code;
  }
}

// With nothing in hand and no natural attack, entry 0 of the profile stays
// empty and the bow is entry 1: the archer shoots all the same, its shots
// counted for the turn.
TEST_F(Attacks, AnArcherWithEmptyHandsFindsItsBowInTheSecondEntry) {
  MakeFighter(kHero, "Archer", 0, 0, kAllegianceParty, 11);
  CreatureRecord& c = Creatures[kHero];
  c.equipment[kSlotRightHand - 1] = 0;
  c.equipment[kSlotRanged - 1] = kBow;
  c.ammunition = {5100, 20};
  RecomputeCreature(kHero, 1);
  static AttackProfile profile;
  BuildAttackProfile(&profile, kHero, 0, -1, 0, 0);
  ASSERT_EQ(profile.entries[0].kind, kEntryNone);
  ASSERT_EQ(profile.entries[1].kind, kEntryRanged);
  EXPECT_EQ(FirstRangedEntry(profile), 1);
  MakeFighter(kFoeA, "Far", 5, 4, kAllegianceEnemy, 0);
  for (int32_t code : {kActionShot, kActionFullShots}) {
    StartBattle(kHero);
    CountGrapplingAttacks();
    EXPECT_EQ(CombatAction.shotsAllowed, profile.entries[1].attackCount.total) << code;
    ClearMessageLog();
    Order(code, kFoeA);
    RunAction();
    EXPECT_EQ(Count(Log(), "(Shooting Canceled)"), 0) << code;
    EXPECT_GE(Count(Log(), "\xA3" "Archer\xA3 shoots at \xA3" "Far\xA3."), 1) << code;
  }
}

}  // namespace
