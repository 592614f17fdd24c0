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

// 1 while a game is in progress: set when a game starts or is loaded,
// cleared when it ends or is given up (leaving the party's creation too).
extern uint8_t GameRunningFlag;
// 1 while a new party is being created: set by the main menu's new game,
// cleared by the party set-up's start of the adventure (or by leaving the
// creation). The feat and spell pages serve the creation while it is set,
// a level-up otherwise.
extern uint8_t NewPartyPending;
// Set by the main menu's debug start, which skips the creation pages;
// cleared when the last creation page hands over to the party set-up.
extern uint8_t CreationBypassFlag;

// Puts the words above back to their start-up values (a new game, and tests).
void ResetGameProgressState();
