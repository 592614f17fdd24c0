// The quest journal's commands and the achievements scripts grant.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adventure/quest_journal.h"
#include "adventure/script_fixture.h"
#include "engine/settings.h"
#include "scriptmaker/script_commands.h"
#include "shell/steam_achievements.h"
#include "shell/steam_leaderboard.h"
#include "state/game_flags.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"

namespace {

using namespace scriptfixture;

class Journal : public ScriptTest {};

TEST_F(Journal, EntriesStartGrowAndCompleteOnlyOnceStarted) {
  RunSource("journal_append 4 \"abc\" 7\n");
  EXPECT_EQ(QuestJournal[4].text, "abc");
  EXPECT_EQ(QuestJournal[4].state, 1u) << "an entry written is started";
  EXPECT_EQ(QuestJournal[4].value, 7u);
  RunSource("journal_append 4 \"abc\" 8\nif_journal 4 1\n set_flag 1 1\nendif\n");
  EXPECT_EQ(QuestJournal[4].length, 6u);
  EXPECT_EQ(GameFlags[1], 1u);
  RunSource("journal 4 \"New.\" 9\n");
  EXPECT_EQ(QuestJournal[4].text, "New.");
  EXPECT_EQ(QuestJournal[4].length, 4u);
  RunSource("journal_state 5 2\n");
  EXPECT_EQ(QuestJournal[5].state, 0u) << "not completed before it was started";
  RunSource("journal_state 5 3\njournal_state 4 2\n");
  EXPECT_EQ(QuestJournal[5].state, 3u);
  EXPECT_EQ(QuestJournal[4].state, 2u);
}

TEST_F(Journal, ATextIsKeptWithinWhatASavedGameCarries) {
  const std::string block(4000, 'q');
  for (int i = 0; i < 3; ++i) WriteJournalText(7, block.c_str(), 1, 0);
  EXPECT_EQ(QuestJournal[7].text.size(), kJournalTextLimit);
  EXPECT_EQ(QuestJournal[7].length, kJournalTextLimit);
  // A new game keeps nothing of the last one's journal.
  ResetQuestJournal();
  EXPECT_EQ(QuestJournal.size(), static_cast<size_t>(kJournalEntryCount));
  EXPECT_EQ(QuestJournal[7].length, 0u);
  EXPECT_EQ(QuestJournal[4].state, 0u);
}

struct FakeStats : ISteamUserStats {
  std::vector<std::string> set;
  int uploads = 0;
  bool RequestCurrentStats() override { return true; }
  bool GetAchievement(const char*, bool* achieved) override {
    *achieved = false;
    return true;
  }
  const char* GetAchievementDisplayAttribute(const char*, const char*) override { return ""; }
  bool SetAchievement(const char* name) override {
    set.push_back(name);
    return true;
  }
  bool StoreStats() override { return true; }
  SteamAPICall_t FindLeaderboard(const char*) override { return 0; }
  int GetLeaderboardEntryCount(SteamLeaderboard_t) override { return 0; }
  SteamAPICall_t DownloadLeaderboardEntries(SteamLeaderboard_t, int, int, int) override { return 0; }
  bool GetDownloadedLeaderboardEntry(SteamLeaderboardEntries_t, int, LeaderboardEntry_t*, int32_t*, int) override {
    return false;
  }
  SteamAPICall_t UploadLeaderboardScore(SteamLeaderboard_t, int, int32_t, const int32_t*, int) override {
    ++uploads;
    return 0;
  }
};

struct FakeUser : ISteamUser, ISteamUtils {
  bool BLoggedOn() override { return true; }
  uint32_t GetAppID() override { return 4242; }
};

class ScriptAchievements : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    SteamInstallTestInterfaces(&user, &user, &stats);
    IntroductoryAdventureFlag = 0;
    g_SteamAchievements = new CSteamAchievements(FullAchievementTable, kFullAchievementCount);
    UserStatsReceived_t received{4242, 1};
    SteamDeliverCallback(kCallbackUserStatsReceived, &received);
    g_SteamLeaderboards = new CSteamLeaderboards();
    g_SteamLeaderboards->handle = 555;
  }
  void TearDown() override {
    delete g_SteamAchievements;
    g_SteamAchievements = nullptr;
    delete g_SteamLeaderboards;
    g_SteamLeaderboards = nullptr;
    SteamInstallTestInterfaces(nullptr, nullptr, nullptr);
    ScriptTest::TearDown();
  }
  FakeUser user;
  FakeStats stats;
};

TEST_F(ScriptAchievements, AGrantIsStoredOnceAndReportedEveryTime) {
  OptionWords[kOptionIronmanMode] = 1;
  OptionWords[kOptionScrollScribeCount] = 1;
  OptionWords[kOptionSetOutAbilityRule] = 0;
  RunSource("achievement 12\n");
  EXPECT_EQ(stats.set, (std::vector<std::string>{"ACHIEVEMENT_WYRM_SLAYER", "ACHIEVEMENT_WYRM_MASTER",
                                                 "ACHIEVEMENT_WYRM_ADEPT"}));
  EXPECT_EQ(AchievementProgress[12] + AchievementProgress[9] + AchievementProgress[11], 3);
  EXPECT_EQ(AchievementProgress[10], 0);
  EXPECT_EQ(stats.uploads, 1);
  RunSource("achievement 12\nachievement 112\n");
  EXPECT_EQ(stats.set.size(), 6u) << "reported again; 112 is no number of the main adventure";
  EXPECT_EQ(stats.uploads, 1) << "nothing new, no score";
}

TEST_F(ScriptAchievements, TheSummaryAndTheIntroductoryNumbers) {
  OptionWords[kOptionIronmanMode] = 1;
  OptionWords[kOptionSetOutAbilityRule] = 0;
  PartiesStartedCount = 4;
  RunSource("achievement 0\n");
  EXPECT_EQ(AchievementProgress[0] + AchievementProgress[1] + AchievementProgress[2], 3);
  IntroductoryAdventureFlag = 1;
  RunSource("achievement 12\nachievement 116\n");
  EXPECT_EQ(AchievementProgress[12], 0);
  EXPECT_EQ(AchievementProgress[16], 1);
  EXPECT_EQ(stats.set.back(), "ACHIEVEMENT_BARBARIAN");
  // Without the client nothing is stored.
  delete g_SteamAchievements;
  g_SteamAchievements = nullptr;
  RunSource("achievement 115\n");
  EXPECT_EQ(AchievementProgress[15], 0);
}

// The script tool takes an achievement number (its argument kind 'A')
// exactly when the game grants by it in one of its adventures: the two
// tables agree.
TEST_F(ScriptAchievements, TheScriptToolTakesTheNumbersTheGameGrantsBy) {
  PartiesStartedCount = 4;
  OptionWords[kOptionIronmanMode] = 1;
  PartyGold = 2000000;
  const ArgumentRange* taken = ArgumentRangeOf('A');
  ASSERT_NE(taken, nullptr);
  for (int32_t number = -1; number <= 120; ++number) {
    const size_t reported = stats.set.size();
    for (const uint8_t introductory : {0, 1}) {
      IntroductoryAdventureFlag = introductory;
      RunSource("op 108 " + std::to_string(number) + "\n");
    }
    EXPECT_EQ(taken->Holds(number), stats.set.size() > reported) << number;
  }
  IntroductoryAdventureFlag = 0;
}

}  // namespace
