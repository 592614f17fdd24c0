// The "Score" leaderboard as the menu pages use it. Implemented by the
// shell's store client (shell/score_board.cpp); without the store edition
// there is no client, no entry is downloaded and no request is made.
#pragma once
#include <cstdint>

// Whether the game is built as the store edition, and whether its client
// library came up at start-up.
bool StoreEditionBuild();
bool StoreClientRunning();
// Whether the leaderboard client exists (it does once the client came up).
bool ScoreBoardClientExists();

// One downloaded entry of the board.
struct ScoreBoardEntry {
  uint64_t player;
  int32_t rank;
  int32_t score;
};
constexpr int kScoreBoardEntriesShown = 10;
// Copies the downloaded entries (at most 10) and returns their count.
int ScoreBoardEntries(ScoreBoardEntry out[kScoreBoardEntriesShown]);
// The number of entries the whole board holds (asked of the client).
int32_t ScoreBoardTotal();
// Asks for the global ranks from first to first + 10; false without a found board.
bool RequestScoreRanks(int firstRank);
// Asks for the entries from four ranks above the player to five below.
bool RequestScoresAroundPlayer();
// The player's display name ("" when unknown).
const char* PlayerDisplayName(uint64_t player);
// Computes the party score, counting the new achievements, and uploads it.
void SubmitPartyScore(int newAchievements);
