#include "state/game_progress.h"

#include "engine/reset_words.h"

#include <cstdio>

uint8_t IntroductoryAdventureFlag = kBuiltAdventureFlag;
char AdventureFolder[32] = "FullVersion";  // the adventure chosen; a load keeps it (no end needed)
static_assert(kBuiltAdventureFlag == 0, "the folder's start-up value follows the built adventure");
uint8_t AchievementProgress[kAchievementProgressSize] = {};
uint32_t AchievementCount = 0;
int32_t PartyScore = 0;
uint8_t GameRunningFlag = 0;
uint8_t GameEndedFlag = 0;
uint8_t DemoChosenFlag = 0;
uint32_t MenuReturnMode = 0;
uint8_t NewPartyPending = 0;
uint8_t CreationBypassFlag = 0;
int32_t ScoreBonusPoints = 0;
int32_t HitDieRolls[kHitDieRollCount] = {};

void SetAdventureFolder() {
  std::snprintf(AdventureFolder, sizeof AdventureFolder, "%s",
                IntroductoryAdventureFlag == 1 ? "DemoVersion" : "FullVersion");
}

void ResetGameProgressState() {
  IntroductoryAdventureFlag = kBuiltAdventureFlag;
  SetAdventureFolder();
  ResetWords(AchievementProgress);
  AchievementCount = 0;
  PartyScore = 0;
  GameRunningFlag = 0;
  GameEndedFlag = 0;
  DemoChosenFlag = 0;
  MenuReturnMode = 0;
  NewPartyPending = 0;
  CreationBypassFlag = 0;
  ScoreBonusPoints = 0;
  ResetWords(HitDieRolls);
}
