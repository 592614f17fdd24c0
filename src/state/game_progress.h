// The running game's record: which adventure is active, its achievements and
// the party's score.
#pragma once
#include <cstdint>

// 1 the introductory adventure, 0 the main adventure; not kept in the settings
// file. The game is built for the main adventure (0): the main menu then
// offers both a new party and the switch to the introductory adventure.
constexpr uint8_t kBuiltAdventureFlag = 0;
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

// Implemented by the store client (shell): whether the achievements client
// is in use; reporting one achievement by its "ACHIEVEMENT_" identifier;
// the party score with the new achievements counted; the treasure
// achievements by the party's gold.
bool AchievementsClientAvailable();
void ReportAchievement(const char* identifier);
void SubmitPartyScore(int newAchievements);
void CheckTreasureAchievements();

// Set when a script ends the game: the frame then does not return to exploring.
extern uint8_t GameEndedFlag;
// 1 while a game is in progress (an adventure started, a game loaded).
extern uint8_t GameRunningFlag;
// 1 once the player switched to the introductory adventure from the main menu.
extern uint8_t DemoChosenFlag;
// The screen mode the game screen keeps when it opens the main menu during
// play; the menu's "Back to the Game" restores it.
extern uint32_t MenuReturnMode;
// 1 from "Start New Game" until the new party sets out (or the creation is
// left); the feat and spell pages serve the creation while it is set, a
// level-up otherwise.
extern uint8_t NewPartyPending;

// Set by the main menu's debug start, which skips the creation pages;
// cleared when the last creation page hands over to the party set-up.
extern uint8_t CreationBypassFlag;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetGameProgressState();
