#include "screens/game/day_and_weather.h"

#include "engine/frame.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "map/map_record.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "screens/game/frame_words.h"
#include "screens/game/sounds_and_music.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

namespace {

constexpr uint32_t kMinutesPerDay = 1440;
constexpr int kStormChance = 10000;
constexpr int kStormThreshold = 9990;  // a roll above this starts a storm
constexpr uint32_t kFirstRainFrame = 84, kLastRainFrame = 88;
constexpr uint32_t kRainFadedVolume = 6;  // below this a fading rain stops falling
constexpr int32_t kRainPenalty = 4;

// Frames toward the next rain frame (of 3) and the next volume step (of 10).
uint32_t RainFrameCount = 0;
uint32_t RainVolumeCount = 0;

bool IsOutdoorMap() { return CurrentMap.rain == 1; }

template <typename Action>
void ForEachFighter(Action action) {
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int creature = FighterSlots[s].creature;
    if (IsValidCreature(creature)) action(creature);
  }
}

int AmbientVolume() { return OptionWords[kOptionAmbientVolume]; }

void ApplyRainVolume() { SetChannelVolume(kRainChannel, static_cast<int>(RainVolume) * AmbientVolume() / 100); }

void StartStorm() {
  StormActive = 1;
  RainFrame = 0;
  StormTimer = 250 + static_cast<uint32_t>(RollDice(250, 1, 0, 0));
  LightingIndex = kLightStorm;
  FadeAmbientTint();
  ForEachFighter([](int creature) {
    RemoveCondition(creature, kCondRain);
    AddCondition(creature, kCondRain, kDurationLasting, kRainPenalty, kSourceRain, 0);
  });
  if (AmbientVolume() > 0) {
    // The rain swells from the first step of its volume.
    RainVolume = 1;
    StartRainSound(static_cast<int>(RainVolume));
  }
}

void EndStorm() {
  StormActive = 0;
  ForEachFighter([](int creature) { RemoveCondition(creature, kCondRain); });
}

// Every fifth frame of exploring: the clock, and on outdoor maps the storm's
// time or the roll for a new one.
void FifthFrameStep() {
  if (ScreenMode == kModeExploring && InCombat == 0) {
    ++DayClock;
    if (IsOutdoorMap()) {
      if (StormActive == 1) {
        if (StormTimer > 0) --StormTimer;
        if (StormTimer == 0) EndStorm();
      } else if (RainFrame == 0 && RollDice(kStormChance, 1, 0, 0) > kStormThreshold) {
        StartStorm();
      }
    } else {
      RainFrame = 0;
    }
  }
  if (DayClock >= kMinutesPerDay) DayClock = 0;
}

// The falling rain's picture steps every third frame, 84 to 88 and round again.
void StepRainFrame(bool stepFrame) {
  if (!stepFrame || RainFrame == 0) return;
  RainFrame = RainFrame >= kLastRainFrame ? kFirstRainFrame : RainFrame + 1;
}

void OutdoorStep(bool stepFrame, bool stepVolume) {
  if (RainVolume > 0 && !IsChannelPlaying(kRainChannel)) StartRainSound(static_cast<int>(RainVolume));
  if (StormActive == 1) {
    if (SetTintAtOnce == 1) {
      SetTintAtOnce = 0;
      LightingIndex = kLightStorm;
      for (int k = 0; k < 3; ++k) AmbientTint[k] = LightingTable[kLightStorm][k];
    }
    if (RainFrame == 0) {
      if (TintSettled == 1) RainFrame = kFirstRainFrame;
    } else {
      StepRainFrame(stepFrame);
    }
    if (stepVolume && RainVolume < 100) {
      ++RainVolume;
      ApplyRainVolume();
    }
    return;
  }
  if (RainFrame > 0) {
    if (RainVolume < kRainFadedVolume)
      RainFrame = 0;
    else
      StepRainFrame(stepFrame);
  }
  if (IsChannelPlaying(kRainChannel) && stepVolume) {
    if (RainVolume > 0) --RainVolume;
    ApplyRainVolume();
    if (RainVolume == 0) StopChannel(kRainChannel);
  }
  LightingIndex = RestFade == 1 ? kLightBlack : LightingRowForTime(DayClock);
  if (SetTintAtOnce == 1) {
    SetTintAtOnce = 0;
    for (int k = 0; k < 3; ++k) AmbientTint[k] = LightingTable[LightingIndex][k];
  }
}

void IndoorStep() {
  if (IsChannelPlaying(kRainChannel)) StopChannel(kRainChannel);
  LightingIndex = RestFade == 1 ? kLightBlack : kLightDay;
}

}  // namespace

int FadeAmbientTint() {
  const uint8_t* row = LightingTable[LightingIndex < kLightingRows ? LightingIndex : kLightDay];
  if (AmbientTint[0] == row[0] && AmbientTint[1] == row[1] && AmbientTint[2] == row[2]) {
    TintSettled = 1;
    return 0;
  }
  const uint32_t step = RestFade == 1 || RestFade == 2 ? 4 : 1;
  for (int k = 0; k < 3; ++k) {
    const uint32_t target = row[k];
    if (AmbientTint[k] < target)
      AmbientTint[k] = AmbientTint[k] + step > target ? target : AmbientTint[k] + step;
    else if (AmbientTint[k] > target)
      AmbientTint[k] = AmbientTint[k] < target + step ? target : AmbientTint[k] - step;
  }
  TintSettled = 0;
  return 1;
}

uint32_t LightingRowForTime(uint32_t minutes) {
  if (minutes < 240) return kLightNight;
  if (minutes < 480) return kLightDawn;
  if (minutes < 1080) return kLightDay;
  if (minutes < 1380) return kLightDusk;
  return kLightNight;
}

int StartRainSound(int volumePercent) {
  return PlayChannelSound(kRainChannel, kRainSound, 0, 0, 0, volumePercent);
}

void StepDayAndWeather() {
  if (WeatherTick == 0) FifthFrameStep();
  const bool stepFrame = ++RainFrameCount >= 3;
  if (stepFrame) RainFrameCount = 0;
  const bool stepVolume = ++RainVolumeCount >= 10;
  if (stepVolume) RainVolumeCount = 0;
  if (IsOutdoorMap())
    OutdoorStep(stepFrame, stepVolume);
  else
    IndoorStep();

  FadeAmbientTint();
  if (RestFade == 1 && TintSettled == 1) {
    RestFade = 2;
  } else if (RestFade == 2 && TintSettled == 1) {
    RestFade = 0;
    ScreenMode = kModeExploring;
  }
}

void ResetDayAndWeatherCounters() {
  RainFrameCount = 0;
  RainVolumeCount = 0;
}
