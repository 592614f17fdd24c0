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
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "map/path_finding.h"
#include "combat/turns/adjacency_queries.h"
#include "state/threat_grids.h"
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

struct ChargeList {
  std::vector<int32_t> targets, stops, arrows, path, adjacency;
  int32_t destX, destY;
  bool operator==(const ChargeList&) const = default;
};

ChargeList ListChargesOf(int fighter) {
  ChargeList l;
  const int n = ListChargeableEnemies(fighter);
  l.targets.assign(TargetCandidateList, TargetCandidateList + n);
  for (int i = 0; i < n; ++i) l.stops.insert(l.stops.end(), {ChargeSquares[i].x, ChargeSquares[i].y});
  l.arrows.assign(ArrowGrid, ArrowGrid + kMapSquares);
  l.adjacency.assign(AdjacencyGrid, AdjacencyGrid + kMapSquares);
  const FighterSlot& slot = FighterSlots[Creatures[fighter].fighterSlot];
  l.path.assign(slot.pathX, slot.pathX + kPathLength);
  l.path.insert(l.path.end(), slot.pathY, slot.pathY + kPathLength);
  l.destX = Creatures[fighter].destinationX;
  l.destY = Creatures[fighter].destinationY;
  return l;
}

// Every fighter of two crowded battles, as the acting one with its whole
// turn ahead, lists the same foes to charge both ways, and leaves the same
// marks, line and destination behind, whether the walls and the crowd keep
// its foes out of reach or not.
TEST_F(DecisionSavings, EveryFighterListsTheSameChargesBothWays) {
  int listed = 0, fighters = 0;
  for (uint32_t seed : {6u, 7u}) {
    battles::BattleOptions options;
    options.seed = seed;
    options.fighters = battles::kMaxFighters;
    options.map = "Ruined Keep";
    std::string fault;
    ASSERT_TRUE(battles::SetUpBattle(options, &fault)) << fault;
    for (int stage = 0; stage < 3; ++stage) {
      const CombatActionState kept = CombatAction;
      for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
        const int f = TurnOrder[i].creature;
        if (!IsValidCreature(f) || Creatures[f].hitPoints <= 0 || Creatures[f].fighterSlot < 0) continue;
        CombatAction.currentEntry = i;
        CombatAction.fullRoundActionLeft = CombatAction.fiveFootStepLeft = 1;
        CombatAction.movesLeft = 2 * Creatures[f].speed.current;
        ChargeByBoundedLines = true;
        const ChargeList bounded = ListChargesOf(f);
        ChargeByBoundedLines = false;
        EXPECT_EQ(bounded, ListChargesOf(f)) << "seed " << seed << " fighter " << f;
        listed += bounded.targets.empty() ? 0 : 1;
        ++fighters;
      }
      CombatAction = kept;
      ChargeByBoundedLines = true;
      // A round of walking brings the sides within reach of each other.
      for (int frame = 0; frame < 20000 && CombatRoundNumber < stage + 2 && InCombat == 1; ++frame)
        ASSERT_TRUE(battles::StepBattleFrame());
    }
  }
  EXPECT_GT(fighters, 150);
  EXPECT_GT(listed, 5);
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
