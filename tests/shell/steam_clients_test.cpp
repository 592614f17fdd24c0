// The achievement and leaderboard clients through a double of the store client.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frontend/game_reset.h"
#include "state/game_flags.h"
#include "shell/application.h"
#include "shell/startup.h"
#include "shell/steam_achievements.h"
#include "shell/steam_leaderboard.h"
#include "state/game_progress.h"
#include "engine/settings.h"
#include "rules/creature_record.h"
#include "state/inventory_state.h"

namespace {

struct FakeStore : ISteamUser, ISteamUtils, ISteamUserStats {
  bool loggedOn = true;
  int statsRequests = 0;
  std::vector<std::string> set;
  int stores = 0;
  int uploads = 0;
  int32_t lastScore = -1;
  int lastRequest = -1, lastStart = 0, lastEnd = 0;
  int entriesFetched = 0;
  bool BLoggedOn() override { return loggedOn; }
  uint32_t GetAppID() override { return 4242; }
  bool RequestCurrentStats() override { return ++statsRequests > 0; }
  bool GetAchievement(const char* name, bool* achieved) override {
    *achieved = std::strcmp(name, "ACHIEVEMENT_IRONMAN") == 0;
    return true;
  }
  const char* GetAchievementDisplayAttribute(const char*, const char* key) override {
    return std::strcmp(key, "name") == 0 ? "From Steam" : "A description";
  }
  bool SetAchievement(const char* name) override {
    set.push_back(name);
    return true;
  }
  bool StoreStats() override { return ++stores > 0; }
  SteamAPICall_t FindLeaderboard(const char*) override { return 77; }
  int GetLeaderboardEntryCount(SteamLeaderboard_t) override { return 1234; }
  SteamAPICall_t DownloadLeaderboardEntries(SteamLeaderboard_t, int request, int start, int end) override {
    lastRequest = request, lastStart = start, lastEnd = end;
    return 88;
  }
  bool GetDownloadedLeaderboardEntry(SteamLeaderboardEntries_t, int index, LeaderboardEntry_t* entry, int32_t*,
                                     int) override {
    ++entriesFetched;
    entry->m_nGlobalRank = index + 1;
    entry->m_nScore = 1000 - index;
    return true;
  }
  SteamAPICall_t UploadLeaderboardScore(SteamLeaderboard_t, int, int32_t score, const int32_t*, int) override {
    ++uploads;
    lastScore = score;
    return 99;
  }
};

class SteamClients : public ::testing::Test {
 protected:
  void SetUp() override {
    SteamInstallTestInterfaces(&store, &store, &store);
    SteamRunning = 1;
    IntroductoryAdventureFlag = 0;
    std::memset(AchievementProgress, 0, sizeof AchievementProgress);
    AchievementCount = 0;
    PartyGold = 0;
    g_SteamAchievements = new CSteamAchievements(FullAchievementTable, kFullAchievementCount);
    g_SteamLeaderboards = new CSteamLeaderboards();
    g_SteamLeaderboards->FindScoreLeaderboard();
    LeaderboardFindResult_t found{555, 1};
    SteamDeliverCallResult(77, &found, false);
    UserStatsReceived_t received{4242, 1};
    SteamDeliverCallback(kCallbackUserStatsReceived, &received);
    for (int m = 0; m < 4; ++m) {
      std::memset(Creatures[m].conditions, 0, sizeof Creatures[m].conditions);
      Creatures[m].level = 1;
    }
  }
  // The clients go, and the words the tests set (the adventure, the party's
  // gold, the achievements and the members) go back to their start-up values.
  void TearDown() override {
    StopSteamClients();
    SteamInstallTestInterfaces(nullptr, nullptr, nullptr);
    ResetAchievementTables();
    ResetGameState();
  }
  FakeStore store;
};

TEST(AchievementTables, DefaultNamesFollowTheIdentifiers) {
  EXPECT_STREQ(FullAchievementTable[0].name, "Great Leader");
  EXPECT_STREQ(FullAchievementTable[19].name, "Hero of the Realm");
  EXPECT_STREQ(FullAchievementTable[42].name, "Take Me To Your Leader");
  EXPECT_STREQ(FullAchievementTable[55].name, "Conqueror of the Icy Kingdom");
  EXPECT_STREQ(FullAchievementTable[81].name, "Weaponcrafting Master");
  EXPECT_STREQ(FullAchievementTable[99].identifier, "ACHIEVEMENT_GRANDMASTER");
  EXPECT_STREQ(DemoAchievementTable[16].identifier, "ACHIEVEMENT_BARBARIAN");
  EXPECT_STREQ(DemoAchievementTable[15].name, "Hero of the Catacomb");
  for (int i = 0; i < kFullAchievementCount; ++i) {
    EXPECT_EQ(FullAchievementTable[i].id, i);
    EXPECT_EQ(FullAchievementTable[i].achieved, 0);
    EXPECT_EQ(std::strncmp(FullAchievementTable[i].identifier, "ACHIEVEMENT_", 12), 0);
  }
  char small[6];
  DefaultAchievementName("ACHIEVEMENT_HERO_OF_THE_REALM", small, sizeof small);
  EXPECT_STREQ(small, "Hero ");
}

TEST(SteamEditionOff, StartUpMakesNoClients) {
  SteamRunning = 0;
  const int before = SteamRegisteredCallbackCount();
  StartSteamClients();
  EXPECT_EQ(SteamRunning, 0);
  EXPECT_EQ(g_SteamAchievements, nullptr);
  EXPECT_EQ(g_SteamLeaderboards, nullptr);
  EXPECT_EQ(SteamRegisteredCallbackCount(), before);
  StopSteamClients();  // nothing there: nothing to release
}

TEST_F(SteamClients, StatisticsFillTheTableAndOtherGamesAreIgnored) {
  EXPECT_EQ(store.statsRequests, 1);
  EXPECT_TRUE(g_SteamAchievements->StatsReceived());
  EXPECT_STREQ(FullAchievementTable[3].name, "From Steam");
  EXPECT_STREQ(FullAchievementTable[3].description, "A description");
  EXPECT_EQ(FullAchievementTable[1].achieved, 1);
  EXPECT_STREQ(SteamDebugTrace, "Received stats and achievements from Steam\n");

  ResetAchievementTables();
  UserStatsReceived_t other{1, 1};
  SteamDeliverCallback(kCallbackUserStatsReceived, &other);
  EXPECT_STREQ(FullAchievementTable[3].name, "Relic Hunter");
  UserStatsReceived_t failed{4242, 2};
  SteamDeliverCallback(kCallbackUserStatsReceived, &failed);
  EXPECT_STREQ(SteamDebugTrace, "RequestStats - failed, 2\n");
  UserStatsStored_t stored{4242, 5};
  SteamDeliverCallback(kCallbackUserStatsStored, &stored);
  EXPECT_STREQ(SteamDebugTrace, "StatsStored - failed, 5\n");
}

TEST_F(SteamClients, NothingIsSetBeforeStatisticsArrive) {
  CSteamAchievements early(DemoAchievementTable, kDemoAchievementCount);
  EXPECT_FALSE(early.SetSteamAchievement("ACHIEVEMENT_ADVENTURER"));
  EXPECT_TRUE(store.set.empty());
  early.UnregisterCallbacks();
}

TEST_F(SteamClients, TreasureAchievementsByPartyGold) {
  PartyGold = 99999;
  CheckTreasureAchievements();
  EXPECT_TRUE(store.set.empty());
  EXPECT_EQ(store.uploads, 0);

  PartyGold = 100000;
  CheckTreasureAchievements();
  ASSERT_EQ(store.set.size(), 1u);
  EXPECT_EQ(store.set[0], "ACHIEVEMENT_TREASURE_HUNTER");
  EXPECT_EQ(AchievementProgress[5], 1);
  EXPECT_EQ(AchievementCount, 1u);
  EXPECT_EQ(store.uploads, 1);

  store.set.clear();
  PartyGold = 2000000;
  CheckTreasureAchievements();
  EXPECT_EQ(store.set.size(), 4u);
  EXPECT_EQ(AchievementCount, 4u);  // three new ones
  EXPECT_EQ(store.uploads, 2);
  for (int b = 5; b <= 8; ++b) EXPECT_EQ(AchievementProgress[b], 1);

  store.set.clear();
  CheckTreasureAchievements();  // again: set on Steam, nothing new, no score
  EXPECT_EQ(store.set.size(), 4u);
  EXPECT_EQ(AchievementCount, 4u);
  EXPECT_EQ(store.uploads, 2);

  IntroductoryAdventureFlag = 1;
  store.set.clear();
  CheckTreasureAchievements();
  EXPECT_TRUE(store.set.empty());
}

TEST(PartyScore, FormulaAndBounds) {
  struct Case {
    PartyScoreInputs in;
    int32_t expected;
  };
  const Case cases[] = {
      {{76, 0, false, 1, 0, 0, 0}, 1140},   // factor 15
      {{76, 0, false, 1, 0, 0, 1}, 1148},   // flag 109
      {{76, 3, false, 1, 0, 0, 1}, 1178},   // 10 per achievement
      {{76, 0, false, 0, 1, 1, 0}, 304},    // factor 4
      {{76, 0, false, 0, 1, 0, 0}, 532},    // + 3 when word 10 is 0
      {{10, 0, true, 1, 0, 0, 1}, 40},      // introductory: factor 4, no flag bonus
      {{77, 0, false, 1, 0, 0, 0}, 0},      // level sum above 76
      {{0, 99, false, 0, 1, 1, 0}, 990},
      {{0, 100, false, 0, 1, 1, 0}, 0},     // too many achievements
      {{0, 16, true, 0, 1, 1, 0}, 160},
      {{0, 17, true, 0, 1, 1, 0}, 0},
      {{76, 93, false, 1, 0, 0, 0}, 2070},
      {{76, 99, false, 1, 0, 0, 1}, 2138},  // the highest score within the bounds
  };
  for (const Case& c : cases) EXPECT_EQ(ComputePartyScore(c.in), c.expected) << c.in.levelSum << " " << c.in.achievementCount;
}

TEST_F(SteamClients, SubmitPartyScoreSkipsFallenMembersAndUploads) {
  for (int m = 0; m < 4; ++m) Creatures[m].level = 20;
  OptionWords[kOptionIronmanMode] = 1;
  OptionWords[kOptionSetOutAbilityRule] = 0;
  OptionWords[kOptionScrollScribeCount] = 0;
  GameFlags[109] = 1;
  SubmitPartyScore(0);
  EXPECT_EQ(PartyScore, 1148);
  EXPECT_EQ(store.lastScore, 1148);
  EXPECT_EQ(g_SteamLeaderboards->totalEntries, 1234);

  Creatures[2].conditions[0] = {111, 1000, 0, 0, 0};  // dead
  Creatures[3].conditions[0] = {5, 3, 0, 0, 0};
  Creatures[3].conditions[1] = {109, 0, 0, 0, 0};     // unconscious, but run out
  SubmitPartyScore(1);
  EXPECT_EQ(PartyScore, 15 * 57 + 8 + 10);
  OptionWords[kOptionIronmanMode] = 0;
  OptionWords[kOptionSetOutAbilityRule] = 1;
  OptionWords[kOptionScrollScribeCount] = 1;
  GameFlags[109] = 0;
}

TEST_F(SteamClients, LeaderboardDownloadsKeepTenEntries) {
  EXPECT_EQ(g_SteamLeaderboards->handle, 555u);
  ASSERT_TRUE(g_SteamLeaderboards->DownloadScores(1));
  EXPECT_EQ(store.lastRequest, 0);
  EXPECT_EQ(store.lastStart, 1);
  EXPECT_EQ(store.lastEnd, 11);
  LeaderboardScoresDownloaded_t eleven{555, 3, 11};
  EXPECT_TRUE(SteamDeliverCallResult(88, &eleven, false));
  EXPECT_EQ(g_SteamLeaderboards->entryCount, 10);
  EXPECT_EQ(store.entriesFetched, 10);
  EXPECT_EQ(g_SteamLeaderboards->entries[9].m_nGlobalRank, 10);

  ASSERT_TRUE(g_SteamLeaderboards->DownloadScoresAroundUser());
  EXPECT_EQ(store.lastRequest, 1);
  EXPECT_EQ(store.lastStart, -4);
  EXPECT_EQ(store.lastEnd, 5);
  LeaderboardScoresDownloaded_t three{555, 3, 3};
  EXPECT_TRUE(SteamDeliverCallResult(88, &three, true));  // an I/O failure changes nothing
  EXPECT_EQ(g_SteamLeaderboards->entryCount, 10);
}

TEST_F(SteamClients, WithoutTheBoardNothingIsUploadedOrDownloaded) {
  g_SteamLeaderboards->FindScoreLeaderboard();
  LeaderboardFindResult_t missing{0, 0};
  SteamDeliverCallResult(77, &missing, false);
  EXPECT_EQ(g_SteamLeaderboards->handle, 0u);
  EXPECT_STREQ(SteamDebugTrace, "Leaderboard could not be found\n");
  EXPECT_FALSE(g_SteamLeaderboards->DownloadScores(1));
  SubmitPartyScore(0);
  EXPECT_EQ(store.uploads, 0);
}

TEST_F(SteamClients, ShutdownReleasesEveryPendingCall) {
  g_SteamLeaderboards->DownloadScores(1);
  SubmitPartyScore(0);
  EXPECT_TRUE(g_SteamLeaderboards->downloadResult.IsActive());
  EXPECT_TRUE(g_SteamLeaderboards->uploadResult.IsActive());
  StopSteamClients();
  EXPECT_EQ(g_SteamAchievements, nullptr);
  EXPECT_EQ(g_SteamLeaderboards, nullptr);
  EXPECT_EQ(SteamRunning, 0);
  EXPECT_FALSE(SteamDeliverCallResult(88, nullptr, false));
}

}  // namespace
