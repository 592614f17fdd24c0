// Seeded battles fought by computer fighters on both sides: every turn is
// decided and handed on, round after round.
#include <algorithm>
#include <set>
#include <string>
#include <utility>

#include "battle_fixture.h"
#include "combat/turns/computer_decision.h"
#include "creatures/create_creature.h"
#include "rules/conditions.h"
#include "rules/record_words.h"

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

// A computer archer makes the shots its profile allows in a turn and no
// more: its full ranged attack closes and the turn passes on.
TEST_F(BattleTest, AComputerArcherStopsAfterItsShots) {
  Create(5, kKindHuman, kClassWarrior, 8, 0, 0, 0, 0, 0);
  Create(6, kKindElf, kClassKnight, 8, 0, kWeaponDagger, 0, kWeaponShortbow, kFoeA);
  Place(0, 1, 1, kAllegianceParty);
  Place(kFoeA, 8, 2, kAllegianceEnemy);
  Creatures[0].maxHitPoints = Creatures[0].hitPoints = 1000;
  EveryoneSeesEveryone();
  ASSERT_EQ(StartCombat(0), 1);
  int turns = 0, most = 0;
  for (int frame = 0; frame < 4000 && InCombat == 1 && turns < 3; ++frame) {
    const bool archerActs = CurrentFighter() == kFoeA;
    Frame();
    if (!archerActs) continue;
    most = std::max<int>(most, CombatAction.shotsMade);
    ASSERT_LE(CombatAction.shotsMade, std::max<int>(CombatAction.shotsAllowed, 1)) << "turn " << turns;
    if (CurrentFighter() != kFoeA) ++turns;
  }
  EXPECT_EQ(turns, 3);
  EXPECT_EQ(most, 2) << "a full ranged attack of two shots was made";
  EXPECT_GT(Creatures[kFoeA].ammunition.count, 0);
}

// A fighter made nauseated by a reaction in the middle of its full attack,
// beside its enemy: its attack is refused, it decides again once, and the
// second refusal ends its turn instead of the same attack being ordered again
// frame after frame. One stunned there is refused nothing: its decision ends
// the turn at once.
TEST_F(BattleTest, AComputerFighterWhoseAttackIsRefusedEndsItsTurn) {
  for (const auto& [held, refused] : {std::pair{kCondNauseated, 2u}, std::pair{kCondStunned, 0u}}) {
    Fresh();
    Create(5, kKindHuman, kClassWarrior, 0, 0, 0, 0, 0, 0);
    Create(7, kKindHuman, kClassWarrior, 8, 0, kWeaponLongsword, 0, 0, kFoeA);
    Place(0, 3, 3, kAllegianceParty);
    Place(kFoeA, 4, 3, kAllegianceEnemy);
    Creatures[0].maxHitPoints = Creatures[0].hitPoints = 1000;
    Creatures[kFoeA].behaviour[kBehaviourGrapple] = 0;  // no grapple by chance
    EveryoneSeesEveryone();
    ASSERT_EQ(StartCombat(0), 1);
    ASSERT_TRUE(UntilTurnOf(kFoeA));
    CombatAction.attackSequenceOpen = 1;
    CombatAction.fullRoundActionLeft = 0;
    AddCondition(kFoeA, held, 1, 0, 0, 0);
    const size_t logStart = Log().size();
    EXPECT_LT(FramesUntil([] { return CurrentFighter() != kFoeA; }), 50);
    const std::string log = Log().substr(logStart);
    size_t refusals = 0;
    for (size_t at = log.find("(Attack Canceled)"); at != std::string::npos; at = log.find("(Attack Canceled)", at + 1))
      ++refusals;
    EXPECT_EQ(refusals, refused) << ConditionName(held);
  }
}

}  // namespace
