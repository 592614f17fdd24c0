// The game screen frame's counters: the first kind advance in every mode the
// frame is drawn in, the second only while exploring or in a dialogue.
#include "screens/game/game_screen_fixture.h"

#include "combat/turns/turn_routines.h"
#include "engine/graphics.h"
#include "engine/settings.h"
#include "screens/game/frame_words.h"

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

// The computer's thinking frame, or a dialogue box's frames, drawn while a
// frame of the wide window draws its map: the rest of the outer frame goes
// on at the scale it began with, the one the pointer is read at; a frame
// begun outside the map's drawing leaves the 320x240 layout as it found it.
TEST_F(GameScreen, FrameInsideAFrameGivesBackTheMapScale) {
  LayOutMap(20, 20);
  const uint32_t size = WindowSize;
  WindowSize = 3;
  ASSERT_TRUE(harness::StepFrames(1));
  for (const uint8_t outer : {uint8_t{1}, uint8_t{0}}) {
    MapScaleSwitch = outer;
    PresentFrameNow();
    EXPECT_EQ(MapScaleSwitch, outer);
    EXPECT_EQ(GetDisplayScale(), outer ? 2 : 3);
  }
  WindowSize = size;
}

}  // namespace
