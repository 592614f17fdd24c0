#include "state/game_progress.h"

#include "engine/reset_words.h"

#include <cstdio>

uint8_t IntroductoryAdventureFlag = 1;
char AdventureFolder[32] = "DemoVersion";
uint8_t AchievementProgress[kAchievementProgressSize] = {};
uint32_t AchievementCount = 0;
int32_t PartyScore = 0;
uint8_t GameRunningFlag = 0;
uint8_t NewPartyPending = 0;
uint8_t CreationBypassFlag = 0;

void SetAdventureFolder() {
  std::snprintf(AdventureFolder, sizeof AdventureFolder, "%s",
                IntroductoryAdventureFlag == 1 ? "DemoVersion" : "FullVersion");
}

void ResetGameProgressState() {
  IntroductoryAdventureFlag = 1;
  SetAdventureFolder();
  ResetWords(AchievementProgress);
  AchievementCount = 0;
  PartyScore = 0;
  GameRunningFlag = 0;
  NewPartyPending = 0;
  CreationBypassFlag = 0;
}
