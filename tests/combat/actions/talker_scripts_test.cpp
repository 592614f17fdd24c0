// A talker's script: its path stays inside the scripts folder and within the
// tag's 20 characters; a talker without a group turns to the leader alone,
// the talk is counted and the screen returns to exploring, unless a trade
// was opened or the game ended.
#include "combat/actions/talker_scripts.h"

#include <gtest/gtest.h>

#include <cstring>

#include "combat/actions/executor_fixture.h"
#include "engine/frame.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"
#include "state/party_leader.h"
#include "state/script_state.h"

namespace {

using namespace executorfixture;

constexpr int kTalker = 6, kBystander = 7;

class TalkerScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    MakeWeapons();
    std::snprintf(AdventureFolder, sizeof AdventureFolder, "Tale");
    mapfixture::DrawMap({"........", "........", "........", "........"});
  }
  static void SetTag(const char* tag) {
    std::memset(Creatures[kTalker].tag, 0, sizeof Creatures[kTalker].tag);
    std::memcpy(Creatures[kTalker].tag, tag, std::min(std::strlen(tag), sizeof Creatures[kTalker].tag));
  }
};

TEST_F(TalkerScripts, TheScriptPathIsBoundedAndStaysInTheScriptsFolder) {
  MakeFighter(kTalker, "Talker", 4, 1, kAllegianceTalker);
  char path[260];
  SetTag("Innkeeper");
  ASSERT_TRUE(BuildTalkerScriptPath(kTalker, path, sizeof path));
  EXPECT_STREQ(path, "Scripts\\Tale\\Innkeeper.mls");
  // A tag filling all 20 characters, with no end mark, is read no further.
  SetTag("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  ASSERT_TRUE(BuildTalkerScriptPath(kTalker, path, sizeof path));
  EXPECT_STREQ(path, "Scripts\\Tale\\ABCDEFGHIJKLMNOPQRST.mls");
  for (const char* bad : {"..\\..\\save", "../x", "C:x", "a\\b", ""}) {
    SetTag(bad);
    EXPECT_FALSE(BuildTalkerScriptPath(kTalker, path, sizeof path)) << bad;
  }
  SetTag("Innkeeper");
  EXPECT_FALSE(BuildTalkerScriptPath(kTalker, path, 10));
}

TEST_F(TalkerScripts, ATalkerWithoutAGroupTurnsToTheLeaderAlone) {
  MakeFighter(0, "Leader", 1, 1, kAllegianceParty);
  MakeFighter(kTalker, "Talker", 4, 1, kAllegianceTalker);
  MakeFighter(kBystander, "Bystander", 6, 3, kAllegianceTalker);
  PartyLeader = 0;
  SetTag("Innkeeper");
  Creatures[kTalker].facing = 3;
  Creatures[kBystander].facing = 2;
  ScreenMode = kModeResting;
  EXPECT_EQ(RunCreatureScript(kTalker), 1);
  EXPECT_EQ(Creatures[kBystander].facing, 2);
  EXPECT_EQ(Creatures[0].facing, 3);  // the leader faces the talker to its right
  EXPECT_EQ(Creatures[kTalker].furtherWords[kTalkCountWord], 1);
  EXPECT_EQ(ScriptSpeaker, -1);
  EXPECT_EQ(ScreenMode, kModeExploring);
}

TEST_F(TalkerScripts, ATradeTheTalkerOpenedAndTheMenuOfAGameEndedStayOpen) {
  MakeFighter(0, "Leader", 1, 1, kAllegianceParty);
  MakeFighter(kTalker, "Pedlar", 4, 1, kAllegianceTalker);
  PartyLeader = 0;
  SetTag("Pedlar");
  // As the script's trade command leaves it: the inventory page up, trading.
  TradePartner = kTalker;
  ScreenMode = kModePageView;
  RunCreatureScript(kTalker);
  EXPECT_EQ(ScreenMode, kModePageView);
  TradePartner = -1;
  // As the script's end-of-game command leaves it: the main menu up. The
  // talk over, the menu stays (it once gave way to exploring a game ended).
  GameEndedFlag = 1;
  ScreenMode = kModePageView;
  RunCreatureScript(kTalker);
  EXPECT_EQ(ScreenMode, kModePageView);
}

}  // namespace
