// The special actions frame by frame: a grapple from the touch attack to the
// hold, a pin, and the escapes (a pinned creature stays grappled); a bull
// rush into a free square and into a wall; the forced dance.
#include "combat/actions/manoeuvres.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "combat/actions/executor_fixture.h"
#include "combat/actions/reactions.h"
#include "map/fighter_tests.h"
#include "map/map_record.h"
#include "rules/conditions.h"
#include "rules/feat_ids.h"

namespace {

using namespace executorfixture;

constexpr int kHero = 4, kFoe = 5, kWatcher = 6;

class SpecialActions : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    MakeWeapons();
    SeedRandomForTests(5);
    ClearMessageLog();
    mapfixture::DrawMap({"........", "........", "........", "........", "........"});
  }
  static void Fighters() {
    MakeFighter(kHero, "Hero", 2, 2, kAllegianceParty, 30, 500);
    MakeFighter(kFoe, "Brute", 3, 2, kAllegianceEnemy, 0, 500);
    MakeFighter(kWatcher, "Watcher", 7, 4, kAllegianceEnemy);
    // Fists: the grapple rolls are made with the first natural attack.
    for (int c : {kHero, kFoe}) Creatures[c].naturalAttacks[0] = {3, 1, 20, 1, 1, 3, 0, 0, 0};
  }
  static bool Grappling(int c) { return HasCondition(c, kCondGrappling); }
};

TEST_F(SpecialActions, GrappleThenPinThenEscapeFromThePinAndFromTheHold) {
  Fighters();
  Creatures[kHero].feats[kFeatImprovedGrapple] = 1;
  StartBattle(kHero);
  Order(kActionGrapple, kFoe);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 attempts @GRAPPLE@."), 1);
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 @TOUCH_ATTACK@ @"), 1);
  ASSERT_TRUE(Grappling(kHero)) << Log();
  ASSERT_TRUE(Grappling(kFoe));
  EXPECT_EQ(ConditionValue(kHero, kCondGrappling), kFoe);
  EXPECT_EQ(ConditionValue(kFoe, kCondGrappling), kHero);
  // With the feat the target took no attack of opportunity.
  EXPECT_EQ(Count(Log(), "gets @AOO@"), 0);

  CombatState = kStateActionUnderWay;
  Order(kActionPin, kFoe);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 attempts to @PIN@ \xA3" "Brute\xA3."), 1);
  ASSERT_TRUE(HasCondition(kFoe, kCondPinned));

  // The brute's turn: its escape from the pin leaves it grappled.
  StartBattle(kFoe);
  AddCondition(kHero, kCondStunned, 5, 0, 18, 0);
  CombatAction.actionCode = kActionEscape;
  CombatState = kStatePlayerTurn;
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3" "Brute\xA3 tries to @BREAK_FREE@."), 1);
  EXPECT_EQ(Count(Log(), "(Automatic success)"), 1);
  EXPECT_FALSE(HasCondition(kFoe, kCondPinned));
  EXPECT_TRUE(Grappling(kFoe));
  EXPECT_TRUE(Grappling(kHero));
  // A second escape breaks the hold on both.
  CombatAction.actionCode = kActionEscape;
  CombatState = kStatePlayerTurn;
  RunAction();
  EXPECT_FALSE(Grappling(kFoe));
  EXPECT_FALSE(Grappling(kHero));
}

// A pin left behind by a pinner that fell holds nothing to break free from:
// the escape ordered for it ends the turn instead of standing for ever.
TEST_F(SpecialActions, AnEscapeFromNothingEndsTheTurn) {
  Fighters();
  StartBattle(kFoe);
  AddCondition(kFoe, kCondPinned, 2, kHero, 31, 0);
  CombatAction.actionCode = kActionEscape;
  CombatState = kStatePlayerTurn;
  EXPECT_LT(RunUntil([] { return CombatState == kStateNextFighter; }, 50), 50);
  EXPECT_EQ(CombatAction.actionCode, 0);
}

TEST_F(SpecialActions, AGrappleWithoutTheFeatLetsTheTargetStrikeFirst) {
  Fighters();
  StartBattle(kHero);
  Order(kActionGrapple, kFoe);
  RunUntil([] { return CombatAction.reactingCreature == kFoe; });
  EXPECT_EQ(Count(Log(), "attempts @GRAPPLE@"), 0);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3" "Brute\xA3 gets @AOO@ against \xA3Hero\xA3."), 1);
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 attempts @GRAPPLE@."), 1);
  EXPECT_EQ(ActingCreature, kHero);
}

TEST_F(SpecialActions, AReactorsOwnFeatsDoNotTurnTheGrappleOrBullRushAround) {
  // The brute holds the grapple feat; after its attack of opportunity the
  // hero still makes the grapple.
  Fighters();
  Creatures[kFoe].feats[kFeatImprovedGrapple] = 1;
  StartBattle(kHero);
  Order(kActionGrapple, kFoe);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3" "Brute\xA3 gets @AOO@ against \xA3Hero\xA3."), 1);
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 attempts @GRAPPLE@."), 1);
  EXPECT_EQ(Count(Log(), "\xA3" "Brute\xA3 attempts @GRAPPLE@."), 0);

  // A neighbour that knows the bull rush feat reacts; the hero still rushes the brute.
  SetUp();
  Fighters();
  MakeFighter(kWatcher, "Watcher", 2, 3, kAllegianceEnemy);
  Creatures[kWatcher].feats[kFeatImprovedBullRush] = 1;
  AddCondition(kFoe, kCondSleeping, 10, 0, 18, 0);
  StartBattle(kHero);
  Order(kActionBullRush, kFoe);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3Watcher\xA3 gets @AOO@ against \xA3Hero\xA3."), 1);
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 @BULL_RUSH@ on \xA3" "Brute\xA3."), 1);
  EXPECT_EQ(Count(Log(), "\xA3Watcher\xA3 @BULL_RUSH@"), 0);
  EXPECT_EQ(Creatures[kFoe].squareX, 4);
}

TEST_F(SpecialActions, ABullRushPushesIntoAFreeSquareAndNotIntoAWall) {
  Fighters();
  AddCondition(kFoe, kCondSleeping, 10, 0, 18, 0);  // pushed without a check
  StartBattle(kHero);
  Order(kActionBullRush, kFoe);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 @BULL_RUSH@ on \xA3" "Brute\xA3."), 1);
  EXPECT_EQ(Count(Log(), "(Automatic Success)"), 1);
  EXPECT_EQ(Creatures[kFoe].squareX, 4);
  EXPECT_EQ(Creatures[kHero].squareX, 3);
  EXPECT_EQ(Creatures[kHero].pixelX, 3 * 24);
  EXPECT_EQ(Creatures[kFoe].pixelX, 4 * 24);
  // The sleeper took no attack of opportunity; the standard action is spent.
  EXPECT_EQ(Count(Log(), "gets @AOO@"), 0);
  EXPECT_EQ(CombatAction.standardActionLeft, 0);

  // A wall behind the brute: nobody moves.
  SetUp();
  mapfixture::DrawMap({"........", "........", ".....#..", "........", "........"});
  MakeFighter(kHero, "Hero", 3, 2, kAllegianceParty, 30, 500);
  MakeFighter(kFoe, "Brute", 4, 2, kAllegianceEnemy, 0, 500);
  MakeFighter(kWatcher, "Watcher", 7, 4, kAllegianceEnemy);
  Creatures[kHero].feats[kFeatImprovedBullRush] = 1;
  AddCondition(kFoe, kCondSleeping, 10, 0, 18, 0);
  StartBattle(kHero);
  Order(kActionBullRush, kFoe);
  RunAction();
  EXPECT_EQ(Count(Log(), "(Automatic Success)"), 1);
  EXPECT_EQ(Creatures[kFoe].squareX, 4);
  EXPECT_EQ(Creatures[kHero].squareX, 3);
  EXPECT_EQ(Creatures[kFoe].pixelX, 4 * 24);
  EXPECT_EQ(Creatures[kHero].pixelX, 3 * 24);
}

// The attacker comes to its new square by its own move: a foe readied
// against an approach beside that square strikes before the turn goes back
// (and is then free to take its attack of opportunity as the attacker walks
// away); one beside the square left does not, nor does the pushed creature's
// forced move set off a foe of its own readied beside its new square.
TEST_F(SpecialActions, ABullRushSetsOffAFoeReadiedBesideTheAttackersNewSquare) {
  const struct {
    int x, y;
    int32_t side;
    int strikes;
  } kCases[] = {
      {4, 3, kAllegianceEnemy, 1},  // beside the hero's new square (3, 2)
      {1, 3, kAllegianceEnemy, 0},  // beside the square it left alone
      {5, 3, kAllegianceParty, 0},  // the hero's ally, beside the pushed brute's new square (4, 2)
  };
  for (const auto& c : kCases) {
    SetUp();
    MakeFighter(kHero, "Hero", 2, 2, kAllegianceParty, 30, 500);
    MakeFighter(kFoe, "Brute", 3, 2, kAllegianceEnemy, 0, 500);
    MakeFighter(kWatcher, "Watcher", c.x, c.y, c.side);
    AddCondition(kFoe, kCondSleeping, 10, 0, 18, 0);  // pushed without a check
    Creatures[kHero].feats[kFeatImprovedBullRush] = 1;
    StartBattle(kHero);
    for (int i = 0; i < TurnEntryCount; ++i)
      if (TurnOrder[i].creature == kWatcher) TurnOrder[i].plannedAction = 21;
    Order(kActionBullRush, kFoe);
    RunAction();
    const std::string where = std::to_string(c.x) + "," + std::to_string(c.y);
    EXPECT_EQ(Creatures[kHero].squareX, 3) << where;
    EXPECT_EQ(Count(Log(), "\xA3Watcher\xA3 uses ready action, attacks \xA3"), c.strikes) << where << Log();
    int held = -1;
    for (int i = 0; i < TurnEntryCount; ++i)
      if (TurnOrder[i].creature == kWatcher) held = TurnOrder[i].plannedAction;
    EXPECT_EQ(held, c.strikes == 1 ? 0 : 21) << where;
    EXPECT_EQ(ActingCreature, kHero) << where;
    EXPECT_EQ(CombatState, kStateComputerDecision) << where;
  }
}

TEST_F(SpecialActions, ABullRushBreaksTheTargetsGrapple) {
  Fighters();
  MakeFighter(7, "Held", 4, 3, kAllegianceParty, 0, 500);
  StartBattle(kHero);
  AddCondition(kFoe, kCondGrappling, 1000, 7, 31, 0);
  AddCondition(7, kCondGrappling, 1000, kFoe, 31, 0);
  AddCondition(kFoe, kCondSleeping, 10, 0, 18, 0);
  Creatures[kHero].feats[kFeatImprovedBullRush] = 1;
  Order(kActionBullRush, kFoe);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3's bull rush breaks the grapple between \xA3" "Brute\xA3 and \xA3Held\xA3."), 1);
  EXPECT_FALSE(Grappling(kFoe));
  EXPECT_FALSE(Grappling(7));
}

TEST_F(SpecialActions, TheForcedDanceTurnsFiveTimesAndEndsTheTurn) {
  Fighters();
  Creatures[kHero].feats[kFeatImprovedGrapple] = 1;
  StartBattle(kHero);
  Creatures[kFoe].attacksOfOpportunityLeft = 0;
  Order(kActionDance, kHero);
  int preludes = 0;
  bool wasPlaying = false;
  RunUntil([&] {
    const bool playing = CombatAction.reactingCreature == kReactorPlayback;
    if (playing && !wasPlaying) ++preludes;
    wasPlaying = playing;
    return CombatState == kStateNextFighter;
  });
  EXPECT_EQ(preludes, 5);
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 performs a quick @DANCE@."), 1);
  EXPECT_EQ(CombatAction.actionCode, kActionNone);
  EXPECT_EQ(g_ProcessingAttackNumber, -1);
}

TEST_F(SpecialActions, AWakerStruckByANeighbourStillWakesTheSleeper) {
  Fighters();
  MakeFighter(kWatcher, "Sleeper", 1, 2, kAllegianceParty, 0, 500);
  InCombat = 1;
  AddCondition(kWatcher, kCondSleeping, 10, 0, 18, 0);
  StartBattle(kHero);
  Order(kActionWake, kWatcher);
  RunAction();
  EXPECT_EQ(Count(Log(), "\xA3" "Brute\xA3 gets @AOO@ against \xA3Hero\xA3."), 1);
  EXPECT_EQ(Count(Log(), "\xA3Hero\xA3 shakes \xA3Sleeper\xA3 away from sleep."), 1);
  EXPECT_FALSE(HasCondition(kWatcher, kCondSleeping));
  EXPECT_EQ(CombatAction.standardActionLeft, 0);
}

TEST_F(SpecialActions, TheAlarmLetsTheSoundersNeighboursReactAndSpendsOnlyItsAlarmWord) {
  Fighters();
  StartBattle(kFoe);
  Creatures[kFoe].behaviour[kBehaviourAlarm] = 100;
  Creatures[kFoe].scriptWords[kScriptWordTarget] = kHero;  // its scripted target
  ActingCreature = kWatcher;                // whoever acted last, far from the sounder
  CombatAction.actionCode = kActionAlarm;
  CombatState = kStatePlayerTurn;
  RunAction();
  const std::string log = Log();
  const size_t reaction = log.find("\xA3Hero\xA3 gets @AOO@ against \xA3" "Brute\xA3.");
  const size_t whistle = log.find("\xA3" "Brute\xA3 blows into a whistle");
  ASSERT_NE(reaction, std::string::npos) << "the hero next to the sounder reacts";
  ASSERT_NE(whistle, std::string::npos);
  EXPECT_LT(reaction, whistle);
  EXPECT_EQ(CurrentMap.alarm, 1);
  EXPECT_EQ(Creatures[kFoe].behaviour[kBehaviourAlarm], 0);
  EXPECT_EQ(Creatures[kFoe].scriptWords[kScriptWordTarget], kHero);
  EXPECT_EQ(CombatState, kStateComputerDecision);
}

}  // namespace
