// The Steam leaderboard client of the "Score" board and the party's score.
#pragma once
#include <cstdint>

#include "platform/steam.h"
#include "state/score_board.h"  // SubmitPartyScore

constexpr int kLeaderboardEntriesShown = 10;

class CSteamLeaderboards {
 public:
  CSteamLeaderboards();
  ~CSteamLeaderboards();

  void FindScoreLeaderboard();
  bool DownloadScoresAroundUser();
  bool DownloadScores(int firstRank);
  // Uploads a score with "keep best" and reads the board's entry count.
  void UploadScore(int32_t score);
  void OnFindLeaderboard(LeaderboardFindResult_t* result, bool ioFailure);
  void OnScoreUploaded(LeaderboardScoreUploaded_t* result, bool ioFailure);
  void OnScoresDownloaded(LeaderboardScoresDownloaded_t* result, bool ioFailure);
  // Unregisters the download, upload and find call results that are pending.
  void ReleaseLeaderboards();

  SteamLeaderboard_t handle = 0;
  int32_t entryCount = 0;
  LeaderboardEntry_t entries[kLeaderboardEntriesShown] = {};
  int32_t totalEntries = 0;
  CCallResult<CSteamLeaderboards, LeaderboardFindResult_t> findResult{kCallbackLeaderboardFindResult};
  CCallResult<CSteamLeaderboards, LeaderboardScoreUploaded_t> uploadResult{kCallbackLeaderboardScoreUploaded};
  CCallResult<CSteamLeaderboards, LeaderboardScoresDownloaded_t> downloadResult{
      kCallbackLeaderboardScoresDownloaded};
};

// Null unless Steam started.
extern CSteamLeaderboards* g_SteamLeaderboards;

// The inputs of the party score: the level sum (each living member's level
// minus 1) and the game's state.
struct PartyScoreInputs {
  int levelSum;
  uint32_t achievementCount;
  bool introductory;
  int32_t ironman;     // option word 21
  int32_t word9;       // option word 9
  int32_t word10;      // option word 10
  uint32_t flag109;    // adventure flag 109
};
// The score by the formula and its bounds (0 outside them).
int32_t ComputePartyScore(const PartyScoreInputs& in);
// The level sum of the party: level - 1 of each member not dead or unconscious.
int PartyLevelSum();
