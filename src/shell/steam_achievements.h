// The Steam achievements client: mirrors the player's achievements, fills
// their names and descriptions when the statistics arrive, and sets an
// achievement by its identifier.
#pragma once
#include <cstdint>

#include "platform/steam.h"

struct Achievement_t {
  int32_t id;
  const char* identifier;  // "ACHIEVEMENT_..." as the store client knows it
  char name[128];          // display name; an English default until Steam answers
  char description[256];
  uint8_t achieved;
  int32_t iconImage;
};

constexpr int kFullAchievementCount = 100;
constexpr int kDemoAchievementCount = 17;
// The main adventure's and the introductory adventure's tables.
extern Achievement_t FullAchievementTable[kFullAchievementCount];
extern Achievement_t DemoAchievementTable[kDemoAchievementCount];

// The default display name of an identifier: the words after "ACHIEVEMENT_",
// capitalised except "of" and "the", joined by spaces.
void DefaultAchievementName(const char* identifier, char* out, int size);
// Puts both tables back to their defaults (names, empty descriptions, not achieved).
void ResetAchievementTables();

class CSteamAchievements {
 public:
  CSteamAchievements(Achievement_t* table, int rows);
  ~CSteamAchievements();

  bool SetSteamAchievement(const char* identifier);
  void OnUserStatsReceived(UserStatsReceived_t* notification);
  void OnUserStatsStored(UserStatsStored_t* notification);
  void OnAchievementStored(UserAchievementStored_t* notification);
  // Unregisters the three callbacks that are registered.
  void UnregisterCallbacks();

  uint64_t GameId() const { return gameId_; }
  bool StatsReceived() const { return statsReceived_ != 0; }
  Achievement_t* Table() const { return table_; }
  int Rows() const { return rows_; }

 private:
  uint64_t gameId_ = 0;
  Achievement_t* table_ = nullptr;
  int rows_ = 0;
  uint8_t statsReceived_ = 0;
  CCallbackMember<CSteamAchievements, UserStatsReceived_t> statsReceivedCallback_;
  CCallbackMember<CSteamAchievements, UserStatsStored_t> statsStoredCallback_;
  CCallbackMember<CSteamAchievements, UserAchievementStored_t> achievementStoredCallback_;
};

// Null unless Steam started.
extern CSteamAchievements* g_SteamAchievements;

// The treasure achievements by the party's gold (main adventure only).
void CheckTreasureAchievements();

// The last debug trace of the Steam clients (kept for tests; the game shows none).
extern char SteamDebugTrace[128];
void SteamTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
