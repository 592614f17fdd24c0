// Scrolling at the picture's edges, and the party leader's step by game pad.
#include "engine/input.h"
#include "engine/settings.h"
#include "engine/widgets.h"
#include "platform/input.h"
#include "screens/game/game_screen_fixture.h"
#include "screens/game/view_window.h"
#include "state/game_screen_words.h"

namespace {

using screentest::GameScreen;
using screentest::LayOutMap;

// One edge step with the mouse at (x, y); the frame's clamp after it.
bool ScrollAt(int x, int y) {
  harness::MoveMouse(x, y);
  screentest::ReadInput();
  const bool scrolled = EdgeScroll();
  ClampCamera();
  return scrolled;
}

TEST_F(GameScreen, EdgesScrollEightPixelsAndShowTheLimit) {
  LayOutMap(40, 40);
  CursorFreeFlag = 0;
  ViewOriginX = ViewOriginY = 100;
  ASSERT_TRUE(ScrollAt(0, 229));
  EXPECT_EQ(ViewOriginX, 92);
  EXPECT_EQ(ViewOriginY, 108);
  EXPECT_EQ(CursorShape, 27);
  EXPECT_EQ(ViewIdle, 0);
  // At the left limit the corner still shows its arrow and slides down alone.
  ViewOriginX = CameraBounds.minX;
  ASSERT_TRUE(ScrollAt(0, 229));
  EXPECT_EQ(ViewOriginX, CameraBounds.minX);
  EXPECT_EQ(ViewOriginY, 116);
  EXPECT_EQ(CursorShape, 27);
  // Past both limits: the refusal mark.
  ViewOriginY = CameraBounds.maxY;
  ASSERT_TRUE(ScrollAt(0, 229));
  EXPECT_EQ(CursorShape, 18);
  ASSERT_TRUE(ScrollAt(309, 100));
  EXPECT_EQ(CursorShape, 21);
  // Off the edges the view is idle.
  EXPECT_FALSE(ScrollAt(150, 100));
  EXPECT_EQ(ViewIdle, 1);
}

TEST_F(GameScreen, EdgesRestWhileTheViewMovesOrTheCursorMayLeaveTheWindow) {
  LayOutMap(40, 40);
  ViewOriginX = ViewOriginY = 100;
  CursorFreeFlag = 1;
  WindowedFlag = 1;
  EXPECT_FALSE(ScrollAt(0, 100));
  EXPECT_EQ(ViewOriginX, 100);
  CursorFreeFlag = 0;
  FollowTarget = kFollowPoint;
  CursorShape = 5;
  EXPECT_FALSE(ScrollAt(0, 100));
  EXPECT_EQ(ViewOriginX, 100);
  EXPECT_EQ(CursorShape, 5);
}

// The game pad pushed to the limits of its axes walks the leader one square.
class GamePad : public GameScreen {
 protected:
  void SetUp() override {
    GameScreen::SetUp();
    ASSERT_GE(platform::AttachTestController(), 0);
    ASSERT_EQ(CreateInputDevice(&JoystickDevice, kInputJoystick, 1), 1);
  }
  void TearDown() override {
    FreeInputDevice(&JoystickDevice);
    platform::DetachTestController();
    GameScreen::TearDown();
  }
  static void Push(int x, int y) {
    platform::SetTestControllerAxis(0, x);
    platform::SetTestControllerAxis(1, y);
    harness::PumpMessages();
  }
};

TEST_F(GamePad, APushUpRightDoesNotCutAWallCorner) {
  LayOutMap(20, 20);
  CreatureRecord& leader = screentest::Place(0, 5, 5);
  CurrentMap.At(kLayerWalls, 6, 5) = 47;  // a wall piece on the right
  Push(32767, -32768);
  LeaderStep();
  EXPECT_EQ(leader.nextX, 5);
  EXPECT_EQ(leader.nextY, 4);
  EXPECT_EQ(leader.facing, 1);
  EXPECT_EQ(LeaderStepEnabled, 0u);
  // The square above blocked too: only the facing turns.
  leader.nextY = 5;
  CurrentMap.At(kLayerWalls, 5, 4) = 1;
  LeaderStep();
  EXPECT_EQ(leader.nextX, 5);
  EXPECT_EQ(leader.nextY, 5);
  EXPECT_EQ(leader.facing, 2);
  // Not exploring, or short of a limit: nothing.
  Push(32767, 0);
  ScreenMode = kModeCreatureHovered;
  LeaderStep();
  EXPECT_EQ(leader.nextX, 5);
  ScreenMode = kModeExploring;
  Push(32000, 0);
  LeaderStep();
  EXPECT_EQ(leader.nextX, 5);
}

TEST_F(GamePad, AHeldStickWalksSquareAfterSquare) {
  LayOutMap(20, 20);
  CreatureRecord& leader = screentest::Place(0, 5, 5);
  leader.destinationX = leader.destinationY = -1;
  FighterSlots[0].pathIndex = -1;
  JoystickPresent = 1;
  Push(32767, 0);
  ASSERT_TRUE(harness::StepFrames(60));
  EXPECT_GE(leader.squareX, 7);
  EXPECT_EQ(leader.squareY, 5);
}

}  // namespace
