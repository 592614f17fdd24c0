// The day clock's light, the rest's fade and the storms, stepped frame by
// frame as the game screen frame steps them while exploring.
#include "screens/game/game_screen_fixture.h"

#include "engine/random.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "rules/conditions.h"
#include "screens/game/day_and_weather.h"

namespace {

using screentest::GameScreen;
using screentest::LayOutMap;
using screentest::Place;

// One frame of the counters and the weather, as the frame runs them.
void Frame() {
  AdvanceFrameCounters();
  StepDayAndWeather();
}

bool TintIs(uint32_t r, uint32_t g, uint32_t b) { return AmbientTint[0] == r && AmbientTint[1] == g && AmbientTint[2] == b; }

TEST(DayClock, TheTimesOfDayChangeAtTheirMinutes) {
  EXPECT_EQ(LightingRowForTime(0), kLightNight);
  EXPECT_EQ(LightingRowForTime(239), kLightNight);
  EXPECT_EQ(LightingRowForTime(240), kLightDawn);
  EXPECT_EQ(LightingRowForTime(479), kLightDawn);
  EXPECT_EQ(LightingRowForTime(1079), kLightDay);
  EXPECT_EQ(LightingRowForTime(1080), kLightDusk);
  EXPECT_EQ(LightingRowForTime(1380), kLightNight);
}

TEST_F(GameScreen, NightFallsOneStepAFrameOutdoorsAndIndoorsTheLightStaysWhite) {
  LayOutMap(20, 20, 1);
  DayClock = 100;
  int frames = 0;
  while (!TintIs(140, 140, 255) && frames < 1000) {
    Frame();
    ++frames;
  }
  EXPECT_EQ(frames, 115) << "255 to 140 at one a frame";
  Frame();
  EXPECT_EQ(TintSettled, 1u);
  // Every fifth frame of exploring is a minute; in combat the clock stands.
  const uint32_t clock = DayClock;
  for (int i = 0; i < 50; ++i) Frame();
  EXPECT_EQ(DayClock, clock + 10);
  InCombat = 1;
  for (int i = 0; i < 50; ++i) Frame();
  EXPECT_EQ(DayClock, clock + 10);
  InCombat = 0;

  LayOutMap(20, 20, 0);
  DayClock = 100;
  AmbientTint[0] = AmbientTint[1] = AmbientTint[2] = 140;
  for (int i = 0; i < 200; ++i) Frame();
  EXPECT_TRUE(TintIs(255, 255, 255));
}

TEST_F(GameScreen, ARestFadesToBlackFourAFrameThenBackAndEndsInExploring) {
  LayOutMap(20, 20, 1);
  DayClock = 600;
  ScreenMode = kModeResting;
  RestFade = 1;
  Frame();
  EXPECT_TRUE(TintIs(251, 251, 251));
  for (int i = 0; i < 63; ++i) Frame();
  EXPECT_TRUE(TintIs(0, 0, 0));
  Frame();  // black reached: the fade turns back
  EXPECT_EQ(RestFade, 2u);
  for (int i = 0; i < 64; ++i) Frame();
  EXPECT_TRUE(TintIs(255, 255, 255));
  EXPECT_EQ(ScreenMode, kModeResting);
  Frame();
  EXPECT_EQ(RestFade, 0u);
  EXPECT_EQ(ScreenMode, kModeExploring);
}

TEST_F(GameScreen, AStormGreysTheLightRainsWithItsSoundAndHindersEveryFighterUntilItEnds) {
  LayOutMap(20, 20, 1);
  Place(0, 2, 2);
  Place(40, 5, 5, kAllegianceEnemy);
  OptionWords[kOptionAmbientVolume] = 70;
  SeedRandomForTests(3);
  int frames = 0;
  while (StormActive == 0 && frames < 400000) {
    Frame();
    ++frames;
  }
  ASSERT_EQ(StormActive, 1);
  EXPECT_GE(StormTimer, 251u);
  EXPECT_LE(StormTimer, 500u);
  EXPECT_EQ(LightingIndex, kLightStorm);
  for (int id : {0, 40}) {
    const int at = FindCondition(id, kCondRain);
    ASSERT_GE(at, 0) << id;
    EXPECT_EQ(Creatures[id].conditions[at].value, 4);
    EXPECT_EQ(Creatures[id].conditions[at].duration, kDurationLasting);
    EXPECT_EQ(Creatures[id].conditions[at].source, kSourceRain);
  }
  // No rain is drawn until the light has reached the storm's grey; then the
  // drops step every third frame from 84 to 88. The sound swells meanwhile.
  while (!TintIs(130, 140, 150)) {
    EXPECT_EQ(RainFrame, 0u);
    Frame();
  }
  Frame();  // the grey is reached; the next frame finds the tint settled
  EXPECT_EQ(RainFrame, 0u);
  Frame();
  EXPECT_EQ(RainFrame, 84u);
  uint32_t seen = 0;
  for (int i = 0; i < 15; ++i) {
    Frame();
    seen |= 1u << (RainFrame - 84);
  }
  EXPECT_EQ(seen, 0x1Fu);
  EXPECT_GT(RainVolume, 10u);
  EXPECT_EQ(IsChannelPlaying(kRainChannel), 1);

  // The storm ends: the condition goes, the rain fades and then stops.
  StormTimer = 1;
  for (int i = 0; i < 5; ++i) Frame();
  EXPECT_EQ(StormActive, 0);
  EXPECT_LT(FindCondition(0, kCondRain), 0);
  EXPECT_LT(FindCondition(40, kCondRain), 0);
  for (int i = 0; i < 10 * 200 && IsChannelPlaying(kRainChannel); ++i) Frame();
  EXPECT_EQ(RainVolume, 0u);
  EXPECT_EQ(RainFrame, 0u);
  EXPECT_EQ(IsChannelPlaying(kRainChannel), 0);
}

TEST_F(GameScreen, IndoorsARunningRainSoundStopsAtOnce) {
  LayOutMap(20, 20, 1);
  OptionWords[kOptionAmbientVolume] = 70;
  RainVolume = 50;
  Frame();
  ASSERT_EQ(IsChannelPlaying(kRainChannel), 1);
  CurrentMap.rain = 0;
  Frame();
  EXPECT_EQ(IsChannelPlaying(kRainChannel), 0);
}

}  // namespace
