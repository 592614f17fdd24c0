// The leaderboard service of the menu pages, through the store client.
#include "state/score_board.h"

#include "platform/steam.h"
#include "shell/application.h"
#include "shell/steam_leaderboard.h"

bool StoreEditionBuild() { return SteamEdition == 1; }
bool StoreClientRunning() { return SteamRunning == 1; }
bool ScoreBoardClientExists() { return g_SteamLeaderboards != nullptr; }

int ScoreBoardEntries(ScoreBoardEntry out[kScoreBoardEntriesShown]) {
  if (!g_SteamLeaderboards) return 0;
  int count = g_SteamLeaderboards->entryCount;
  if (count < 0) count = 0;
  if (count > kScoreBoardEntriesShown) count = kScoreBoardEntriesShown;
  for (int i = 0; i < count; ++i) {
    const LeaderboardEntry_t& e = g_SteamLeaderboards->entries[i];
    out[i] = {e.m_steamIDUser, e.m_nGlobalRank, e.m_nScore};
  }
  return count;
}

int32_t ScoreBoardTotal() {
  ISteamUserStats* stats = SteamUserStats();
  if (!g_SteamLeaderboards || !stats || g_SteamLeaderboards->handle == 0) return 0;
  g_SteamLeaderboards->totalEntries = stats->GetLeaderboardEntryCount(g_SteamLeaderboards->handle);
  return g_SteamLeaderboards->totalEntries;
}

bool RequestScoreRanks(int firstRank) {
  return g_SteamLeaderboards && g_SteamLeaderboards->DownloadScores(firstRank);
}

bool RequestScoresAroundPlayer() { return g_SteamLeaderboards && g_SteamLeaderboards->DownloadScoresAroundUser(); }

const char* PlayerDisplayName(uint64_t player) {
  ISteamFriends* friends = SteamFriends();
  if (!friends) return "";
  const char* name = friends->GetFriendPersonaName(player);
  return name ? name : "";
}
