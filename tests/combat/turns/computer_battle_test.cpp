// Seeded battles fought by computer fighters on both sides: every turn is
// decided and handed on, round after round.
#include <algorithm>
#include <set>

#include "battle_fixture.h"
#include "combat/turns/computer_decision.h"
#include "rules/conditions.h"

namespace {

TEST_F(BattleTest, BothSidesDecideEveryTurnAndNoTurnStalls) {
  int battlesWithBlows = 0;
  for (uint32_t seed : {31u, 32u, 33u}) {
    Fresh();
    MeetTwoGroups(seed);
    // The party members are taken over: the computer plays them too.
    for (int m : {0, 1}) AddCondition(m, kCondControlled, 1000, 0, 0, 0);
    ASSERT_EQ(StartCombat(0), 1);
    std::set<int> decided;
    int rounds = 0, last = -2, framesInTurn = 0, longest = 0, playerTurns = 0;
    for (int frame = 0; frame < 3000 && InCombat == 1 && rounds < 3; ++frame) {
      if (CombatState == kStatePlayerTurn && CombatAction.playerControlled) ++playerTurns;
      mapfixture::StepCamera();
      CombatCycle();
      // An action handed to the executor (or a computer's escape or reload).
      if (CombatState == kStateActionUnderWay || CombatState == kStatePlayerTurn) decided.insert(CurrentFighter());
      ExecuteCombatAction();
      if (CurrentTurnIndex != last) {
        if (CurrentTurnIndex < last) ++rounds;
        last = CurrentTurnIndex;
        framesInTurn = 0;
      }
      longest = std::max(longest, ++framesInTurn);
    }
    EXPECT_GE(rounds, 3) << "seed " << seed;
    EXPECT_EQ(playerTurns, 0) << "no party member waits for orders";
    EXPECT_LT(longest, 200) << "a turn stalled, seed " << seed;
    battlesWithBlows += Log().find("\xA3 attacks \xA3") != std::string::npos ? 1 : 0;
    for (int c : {0, 1, static_cast<int>(kFoeA), static_cast<int>(kFoeB)})
      EXPECT_TRUE(decided.count(c)) << "fighter " << c << " never decided, seed " << seed;
  }
  EXPECT_EQ(battlesWithBlows, 3) << "the fighters closed in and struck";
}

}  // namespace
