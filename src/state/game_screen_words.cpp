#include "state/game_screen_words.h"

uint8_t LevelUpPending = 0;
uint8_t StormActive = 0;
int32_t TimeOfDayMinutes = 480;
int32_t RainAnimationCounter = 0;
int32_t RainTimeLeft = 0;
int32_t WeaponMode = 0;
uint32_t LeaderStepEnabled = 0;
uint8_t LowerPanelHidden = 0;

RecentSpellPair RecentSpells[4][kRecentSpells] = {
    {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}},
    {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}},
    {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}},
    {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}},
};

void ResetGameScreenWordsState() {
  LevelUpPending = 0;
  StormActive = 0;
  TimeOfDayMinutes = 480;
  RainAnimationCounter = 0;
  RainTimeLeft = 0;
  WeaponMode = 0;
  LeaderStepEnabled = 0;
  LowerPanelHidden = 0;
  for (auto& member : RecentSpells)
    for (RecentSpellPair& pair : member) pair = {-1, -1};
}
