// The game screen frame's counters: the first kind advance in every mode the
// frame is drawn in, the second only while exploring or in a dialogue.
#include "screens/game/game_screen_fixture.h"

namespace {

using screentest::GameScreen;
using screentest::LayOutMap;

TEST_F(GameScreen, AnimationCountersStandStillOutsideExploringAndDialogue) {
  LayOutMap(20, 20);
  // A creature under the mouse keeps the hover of screen mode 3 up.
  screentest::Place(4, 2, 2, kAllegianceEnemy);
  harness::MoveMouse(58, 58);
  ASSERT_TRUE(harness::StepFrames(3));
  const uint32_t icon = IconFrame8, blink = BlinkTick, weather = WeatherTick;
  EXPECT_NE(icon + blink, 0u);
  // A creature hovered: the frame is drawn, the blink goes on, the icons wait.
  ScreenMode = kModeCreatureHovered;
  HoveredFighterSlot = 0;
  ASSERT_TRUE(harness::StepFrames(7));
  EXPECT_EQ(IconFrame8, icon);
  EXPECT_EQ(WeatherTick, weather);
  EXPECT_EQ(BlinkTick, (blink + 7) % 20);
  // Page view: the frame is not drawn at all.
  ScreenMode = kModePageView;
  const int32_t countdown = FrameCountdown;
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_EQ(FrameCountdown, countdown);
  // Exploring again: they resume where they stopped.
  ScreenMode = kModeExploring;
  ASSERT_TRUE(harness::StepFrames(3));
  EXPECT_EQ(IconFrame8, (icon + 1) % 8);
  EXPECT_EQ(WeatherTick, (weather + 3) % 5);
}

}  // namespace
