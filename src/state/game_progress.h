// The running game's record: which adventure is active, its achievements and
// the party's score.
#pragma once
#include <cstdint>

// 1 the introductory adventure, 0 the main adventure; not kept in the settings file.
extern uint8_t IntroductoryAdventureFlag;
// The active adventure's folder name: "DemoVersion" or "FullVersion".
extern char AdventureFolder[32];
// Sets AdventureFolder from IntroductoryAdventureFlag.
void SetAdventureFolder();

// One byte per achievement slot of the running game (1 granted).
constexpr int kAchievementProgressSize = 100;
extern uint8_t AchievementProgress[kAchievementProgressSize];
// Achievements earned in this game (kept in the saved game's details).
extern uint32_t AchievementCount;
// The party's last computed leaderboard score.
extern int32_t PartyScore;
// Points added to the leaderboard score by the game's story (kept in the
// saved game's details).
extern int32_t ScoreBonusPoints;
// The hit points rolled for each party member at each level: index member x
// 20 + level - 1. Rolled when a party sets out, read at level-up, kept in
// the saved game's details.
constexpr int kHitDieRollCount = 80;
extern int32_t HitDieRolls[kHitDieRollCount];

// 1 while a game is in progress; set when a game starts or is loaded,
// cleared when it ends or is given up.
extern uint8_t GameRunningFlag;
// Set when a script ends the game: the frame then does not return to exploring.
extern uint8_t GameEndedFlag;
// Set when the main menu's "Demo" entry switched to the introductory adventure.
extern uint8_t DemoChosenFlag;

// Implemented by the store client (shell): whether the achievements client
// is in use; reporting one achievement by its "ACHIEVEMENT_" identifier;
// the party score with the new achievements counted; the treasure
// achievements by the party's gold.
bool AchievementsClientAvailable();
void ReportAchievement(const char* identifier);
void SubmitPartyScore(int newAchievements);
void CheckTreasureAchievements();

// Puts the words above back to their start-up values (a new game, and tests).
void ResetGameProgressState();
