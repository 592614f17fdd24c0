// The computer's decisions come out the same with the decision's savings on
// and off: seeded battles give the same message log and the same outcome
// both ways.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "combat/turns/best_square.h"
#include "combat/turns/combat_cycle.h"
#include "combat/turns/computer_decision.h"
#include "combat/turns/decision_words.h"
#include "combat/turns/melee_grid.h"
#include "combat/turns/tactics.h"
#include "combat/turns/target_choice.h"
#include "harness/battle_runner.h"
#include "rules/creature_record.h"
#include "state/turn_order.h"

namespace {

class DecisionSavings : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(battles::StartBattleGame()); }
  static void TearDownTestSuite() { battles::StopBattleGame(); }
  void TearDown() override {
    SurveyByBoundedPaths = true;
    ChargeByBoundedLines = true;
    BullRushSkipsOutOfReach = true;
    BestSquareSearchKept = true;
    ProfilesKept = 1;
  }
};

battles::BattleOutcome Play(const battles::BattleOptions& options, const std::function<void(bool)>& savings,
                            bool on) {
  savings(on);
  return battles::RunBattle(options);
}

// Runs each battle with the savings on and off and compares what it left:
// two crowded battles of three rounds on the large walled map, and two whole
// battles of the usual size in which fighters charge and bull rush.
void ExpectSameBattlesBothWays(const std::function<void(bool)>& savings) {
  struct Battle {
    uint32_t seed;
    bool crowded;
  };
  for (const Battle b : {Battle{3, true}, Battle{4, true}, Battle{13, false}, Battle{27, false}}) {
    const uint32_t seed = b.seed;
    battles::BattleOptions options;
    options.seed = seed;
    options.keepLog = true;
    if (b.crowded) {
      options.fighters = battles::kMaxFighters;
      options.map = "Ruined Keep";
      options.roundCap = 3;
    }
    const battles::BattleOutcome with = Play(options, savings, true);
    const battles::BattleOutcome without = Play(options, savings, false);
    ASSERT_EQ(with.fault, "") << battles::BattleLine(with);
    EXPECT_GT(with.decisions, 20);
    EXPECT_EQ(battles::BattleLine(with), battles::BattleLine(without)) << "seed " << seed;
    EXPECT_EQ(with.log, without.log) << "seed " << seed;
  }
}

TEST_F(DecisionSavings, TheSurveySearchesOnlyThePathsThatMayBeShortest) {
  ExpectSameBattlesBothWays([](bool on) { SurveyByBoundedPaths = on; });
}

std::vector<int32_t> SurveyOf(int fighter) {
  SurveyBattle(fighter);
  return {NearestFoe, NearestCreatureByPath, StrongestAlly, WeakestEnemy, LowestArmourEnemy};
}

// Every fighter of two crowded battles, at the start and after a round of
// walking, finds the same nearest creature and foe both ways.
TEST_F(DecisionSavings, EveryFighterSurveysTheSameBothWays) {
  int foesFound = 0;
  for (uint32_t seed : {6u, 7u}) {
    battles::BattleOptions options;
    options.seed = seed;
    options.fighters = battles::kMaxFighters;
    options.map = "Ruined Keep";
    std::string fault;
    ASSERT_TRUE(battles::SetUpBattle(options, &fault)) << fault;
    for (int stage = 0; stage < 2; ++stage) {
      for (int f : battles::BattleFighters()) {
        if (!IsValidCreature(f) || Creatures[f].hitPoints <= 0) continue;
        SurveyByBoundedPaths = true;
        const std::vector<int32_t> bounded = SurveyOf(f);
        SurveyByBoundedPaths = false;
        EXPECT_EQ(bounded, SurveyOf(f)) << "seed " << seed << " fighter " << f;
        foesFound += bounded[0] != -1 ? 1 : 0;
      }
      SurveyByBoundedPaths = true;
      for (int frame = 0; frame < 20000 && CombatRoundNumber < 2 && InCombat == 1; ++frame)
        ASSERT_TRUE(battles::StepBattleFrame());
    }
  }
  EXPECT_GT(foesFound, 100);
}

TEST_F(DecisionSavings, TheChargeListTracesNoLineToATargetOutOfRange) {
  ExpectSameBattlesBothWays([](bool on) { ChargeByBoundedLines = on; });
}

TEST_F(DecisionSavings, TheBullRushBuildsNoGridWithNobodyWithinOneMove) {
  ExpectSameBattlesBothWays([](bool on) { BullRushSkipsOutOfReach = on; });
}

TEST_F(DecisionSavings, TheBestSquareIsNotSearchedTwiceOverTheSameWalk) {
  ExpectSameBattlesBothWays([](bool on) { BestSquareSearchKept = on; });
}

TEST_F(DecisionSavings, TheMeleeGridKeepsTheFightersProfileWhileItsRecordStays) {
  ExpectSameBattlesBothWays([](bool on) { ProfilesKept = on ? 1 : 0; });
}

}  // namespace
