#include "frontend/game_reset.h"
#include "combat/resolution/end_of_action.h"

#include <gtest/gtest.h>

#include <cstring>

#include "combat/actions/combat_actions.h"
#include "state/turn_order.h"
#include "combat/resolution/combat_sequencer.h"
#include "map/fighter_tests.h"
#include "engine/frame.h"
#include "map/map_record.h"
#include "rules/creature_record.h"
#include "screens/game/game_screen.h"
#include "map/map_view.h"
#include "state/map_view_state.h"

namespace {

constexpr int kFighter = 4;

class EndOfActionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    std::strcpy(Creatures[kFighter].name, "Fighter");
    Creatures[kFighter].footprintWidth = Creatures[kFighter].footprintHeight = {1, 1};
    ScreenMode = kModeExploring;
    CombatState = 3;
    CombatAction.actionCode = 2;
    MapInputSuppressed = 1;  // the mouse plays no part here
  }

  int32_t End(int32_t moves, int32_t standard, int32_t fullRound, uint8_t player) {
    CombatAction.movesLeft = moves;
    CombatAction.standardActionLeft = standard;
    CombatAction.fullRoundActionLeft = fullRound;
    CombatAction.playerControlled = player;
    EXPECT_EQ(EndCombatAction(kFighter), 1);
    EXPECT_EQ(CombatAction.actionCode, 0);
    return CombatState;
  }
};

TEST_F(EndOfActionTest, TheTurnPassesOnlyWhenItIsSpent) {
  // Exactly 5 feet and no action left: a computer fighter is done, a player keeps the turn.
  EXPECT_EQ(End(5, 0, 0, 0), 4);
  EXPECT_EQ(CombatAction.movesLeft, 0);
  EXPECT_EQ(End(5, 0, 0, 1), 1);
  // 4 feet with an action still available keeps the turn, for either.
  EXPECT_EQ(End(4, 1, 0, 0), 2);
  EXPECT_EQ(End(4, 0, 1, 1), 1);
  // Computer with 5 feet and the full-round action but no single action: the moves go, the turn stays.
  EXPECT_EQ(End(5, 0, 1, 0), 2);
  EXPECT_EQ(CombatAction.movesLeft, 0);
  EXPECT_EQ(End(0, 0, 0, 1), 4);
  EXPECT_EQ(ActionBarMode, 1);
}

TEST_F(EndOfActionTest, AQueuedSpellWinsOverEveryMovementTest) {
  TurnOrder[0].creature = kFighter;
  TurnEntryCount = 1;
  CombatAction.currentEntry = 0;
  QueuedSpell = 31;
  EXPECT_EQ(End(0, 0, 0, 0), 3);
  EXPECT_EQ(ScreenMode, 22u);
  EXPECT_EQ(CurrentSpell, 31);
  EXPECT_EQ(SpellCaster, kFighter);
  EXPECT_EQ(CastStarted, 1);
  QueuedSpell = -1;
}

}  // namespace
