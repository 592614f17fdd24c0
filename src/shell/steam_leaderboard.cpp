#include "shell/steam_leaderboard.h"

#include "state/game_flags.h"
#include "shell/steam_achievements.h"
#include "state/game_progress.h"
#include "engine/settings.h"
#include "rules/creature_record.h"

CSteamLeaderboards* g_SteamLeaderboards = nullptr;

namespace {
constexpr int kRequestGlobal = 0;
constexpr int kRequestAroundUser = 1;
constexpr int kUploadKeepBest = 1;
}  // namespace

CSteamLeaderboards::CSteamLeaderboards() {}

CSteamLeaderboards::~CSteamLeaderboards() { ReleaseLeaderboards(); }

void CSteamLeaderboards::FindScoreLeaderboard() {
  handle = 0;
  ISteamUserStats* stats = SteamUserStats();
  if (!stats) return;
  findResult.Set(stats->FindLeaderboard("Score"), this, &CSteamLeaderboards::OnFindLeaderboard);
}

bool CSteamLeaderboards::DownloadScoresAroundUser() {
  ISteamUserStats* stats = SteamUserStats();
  if (handle == 0 || !stats) return false;
  downloadResult.Set(stats->DownloadLeaderboardEntries(handle, kRequestAroundUser, -4, 5), this,
                     &CSteamLeaderboards::OnScoresDownloaded);
  return true;
}

bool CSteamLeaderboards::DownloadScores(int firstRank) {
  ISteamUserStats* stats = SteamUserStats();
  if (handle == 0 || !stats) return false;
  downloadResult.Set(stats->DownloadLeaderboardEntries(handle, kRequestGlobal, firstRank, firstRank + 10), this,
                     &CSteamLeaderboards::OnScoresDownloaded);
  return true;
}

void CSteamLeaderboards::UploadScore(int32_t score) {
  ISteamUserStats* stats = SteamUserStats();
  if (!stats) return;
  if (handle != 0)
    uploadResult.Set(stats->UploadLeaderboardScore(handle, kUploadKeepBest, score, nullptr, 0), this,
                     &CSteamLeaderboards::OnScoreUploaded);
  totalEntries = stats->GetLeaderboardEntryCount(handle);
}

void CSteamLeaderboards::OnFindLeaderboard(LeaderboardFindResult_t* result, bool ioFailure) {
  if (result && result->m_bLeaderboardFound && !ioFailure)
    handle = result->m_hSteamLeaderboard;
  else
    SteamTrace("Leaderboard could not be found\n");
}

void CSteamLeaderboards::OnScoreUploaded(LeaderboardScoreUploaded_t* result, bool ioFailure) {
  if (!result || !result->m_bSuccess || ioFailure) SteamTrace("Score could not be uploaded to Steam\n");
}

void CSteamLeaderboards::OnScoresDownloaded(LeaderboardScoresDownloaded_t* result, bool ioFailure) {
  if (ioFailure || !result) return;
  int count = result->m_cEntryCount;
  if (count > kLeaderboardEntriesShown) count = kLeaderboardEntriesShown;
  if (count < 0) count = 0;
  entryCount = count;
  ISteamUserStats* stats = SteamUserStats();
  for (int i = 0; i < count && stats; ++i)
    stats->GetDownloadedLeaderboardEntry(result->m_hSteamLeaderboardEntries, i, &entries[i], nullptr, 0);
}

void CSteamLeaderboards::ReleaseLeaderboards() {
  downloadResult.Cancel();
  uploadResult.Cancel();
  findResult.Cancel();
}

int32_t ComputePartyScore(const PartyScoreInputs& in) {
  int factor = 4;
  if (!in.introductory) {
    if (in.ironman == 1) factor = 10;
    if (in.word10 == 0) factor += 3;
    if (in.word9 == 0) factor += 2;
  }
  int64_t score = static_cast<int64_t>(factor) * in.levelSum;
  if (!in.introductory && in.flag109 == 1) score += 8;
  score += 10 * static_cast<int64_t>(in.achievementCount);
  const uint32_t maxAchievements = in.introductory ? 16 : 99;
  if (in.achievementCount > maxAchievements || in.levelSum > 76 || score > 2148) score = 0;
  return static_cast<int32_t>(score);
}

void SubmitPartyScore(int newAchievements) {
  PartyScore = 0;
  if (!g_SteamLeaderboards) return;
  if (newAchievements > 0) AchievementCount += static_cast<uint32_t>(newAchievements);
  PartyScoreInputs in;
  in.levelSum = PartyLevelSum();
  in.achievementCount = AchievementCount;
  in.introductory = IntroductoryAdventureFlag == 1;
  in.ironman = OptionWords[kOptionIronmanMode];
  in.word9 = OptionWords[kOptionSetOutAbilityRule];
  in.word10 = OptionWords[kOptionScrollScribeCount];
  in.flag109 = GameFlags[109];
  PartyScore = ComputePartyScore(in);
  g_SteamLeaderboards->UploadScore(PartyScore);
}

int PartyLevelSum() {
  int sum = 0;
  for (int member = 0; member < 4; ++member) {
    const CreatureRecord& c = Creatures[member];
    bool down = false;
    for (const ConditionEntry& e : c.conditions) {
      if (e.id == 0 && e.duration == 0) break;
      if ((e.id == 111 || e.id == 109) && e.duration > 0) down = true;
    }
    if (!down) sum += c.level - 1;
  }
  return sum;
}
