#include "state/game_screen_words.h"

#include "state/map_view_state.h"

uint8_t LevelUpPending = 0;
uint8_t CombatEquipAction = 0;
uint8_t CombatInventoryOpen = 0;
uint8_t StormActive = 0;
uint32_t DayClock = 480;
uint32_t StormTimer = 0;
uint32_t RainFrame = 0;
uint32_t RainVolume = 0;
const uint8_t LightingTable[kLightingRows][3] = {
    {255, 140, 255}, {255, 255, 255}, {255, 140, 140}, {140, 140, 255}, {130, 140, 150}, {0, 0, 0},
};
uint32_t LightingIndex = kLightDay;
uint32_t (&AmbientTint)[3] = TintTarget;  // another name of TintTarget
uint32_t TintSettled = 0;
uint8_t SetTintAtOnce = 0;
uint32_t RestFade = 0;
// The saved game's names of the day clock, the rain's frame and the storm's
// time, which have their ends.
uint32_t& TimeOfDayMinutes = DayClock;
uint32_t& RainAnimationCounter = RainFrame;
uint32_t& RainTimeLeft = StormTimer;
int32_t WeaponMode = 0;
uint32_t LeaderStepEnabled = 1;
uint8_t LowerPanelHidden = 0;

RecentSpellPair RecentSpells[4][kRecentSpells] = {
    {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}},
    {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}},
    {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}},
    {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}},
};

void ResetGameScreenWordsState() {
  LevelUpPending = 0;
  CombatEquipAction = 0;
  CombatInventoryOpen = 0;
  StormActive = 0;
  DayClock = 480;
  StormTimer = 0;
  RainFrame = 0;
  RainVolume = 0;
  LightingIndex = kLightDay;
  TintSettled = 0;
  SetTintAtOnce = 0;
  RestFade = 0;
  WeaponMode = 0;
  LeaderStepEnabled = 1;
  LowerPanelHidden = 0;
  for (auto& member : RecentSpells)
    for (RecentSpellPair& pair : member) pair = {-1, -1};
}
