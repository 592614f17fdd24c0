// The view window: its limits in both view sizes, the automatic movement of
// a scroll request frame by frame, and the manual scrolling.
#include "screens/game/game_screen_fixture.h"

#include "engine/settings.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

namespace {

using screentest::GameScreen;
using screentest::LayOutMap;
using screentest::Place;

// Sets the window, lays out the map and asks the frame to clamp a view put
// far outside it.
void ClampedOrigin(int width, int height, int32_t x, int32_t y, int32_t* outX, int32_t* outY) {
  LayOutMap(width, height);
  ViewOriginX = x;
  ViewOriginY = y;
  ASSERT_TRUE(harness::StepFrames(1));
  *outX = ViewOriginX;
  *outY = ViewOriginY;
}

TEST_F(GameScreen, TheViewStopsTwoSquaresBeyondEveryEdgeInBothViewSizes) {
  int32_t x = 0, y = 0;
  ClampedOrigin(30, 20, -500, 9999, &x, &y);
  EXPECT_EQ(x, -48);
  EXPECT_EQ(y, 20 * 24 - 240 + 48);
  ClampedOrigin(30, 20, 9999, -500, &x, &y);
  EXPECT_EQ(x, 30 * 24 - 320 + 48);
  EXPECT_EQ(y, -48);
  // A map narrower than the view: the maximum (below -48) wins.
  ClampedOrigin(5, 20, 0, 0, &x, &y);
  EXPECT_EQ(x, 5 * 24 - 320 + 48);

  // The 480 by 360 view of the "960x720 (b)" window.
  const uint8_t windowed = WindowedFlag;
  const uint32_t size = WindowSize;
  WindowedFlag = 1;
  WindowSize = 3;
  ClampedOrigin(30, 20, 9999, 9999, &x, &y);
  EXPECT_EQ(x, 30 * 24 - 480 + 48);
  EXPECT_EQ(y, 20 * 24 - 360 + 48);
  WindowedFlag = windowed;
  WindowSize = size;
}

TEST_F(GameScreen, AScrollRequestMovesElevenPixelsAFrameAndArrivesWithinHalfAStep) {
  LayOutMap(60, 60);
  Place(0, 30, 30);
  ASSERT_TRUE(StrictScrollTo(0, -1, -1));
  EXPECT_EQ(FollowTarget, 0);
  EXPECT_EQ(ViewScrolling, 1);
  EXPECT_EQ(ViewIdle, 0);
  // Target (572, 612): x needs 52 steps, y 56; the axis that is within half
  // a step (6 pixels) arrives on the frame after its last step.
  ASSERT_TRUE(harness::StepFrames(56));
  EXPECT_EQ(ViewOriginX, 572);
  EXPECT_EQ(ViewOriginY, 616);
  EXPECT_EQ(ViewScrolling, 1);
  EXPECT_EQ(ViewSettled, 0);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(ViewOriginY, 616) << "not snapped onto the target";
  EXPECT_EQ(ViewScrolling, 0);
  EXPECT_EQ(FollowTarget, -1);
  EXPECT_EQ(ViewIdle, 1);
  EXPECT_EQ(ViewSettled, 1);

  // The creature now stands in the middle: ScrollTo leaves the view alone;
  // all three arguments -1 are refused.
  EXPECT_FALSE(ScrollTo(0, -1, -1));
  EXPECT_EQ(FollowTarget, -1);
  EXPECT_FALSE(StrictScrollTo(-1, -1, -1));
  // A square near the edge is scrolled to, as a fixed point.
  EXPECT_TRUE(ScrollTo(-1, 0, 0));
  EXPECT_EQ(FollowTarget, kFollowPoint);
  EXPECT_EQ(FollowPointX, -148);
  EXPECT_EQ(FollowPointY, -108);
}

TEST_F(GameScreen, WithTheActionsPanelOpenTheViewHeadsForAFixedPointRightOfTheFighter) {
  LayOutMap(60, 60);
  Place(0, 30, 30);
  InCombat = 1;
  ActionsPanelShown = 1;
  CombatRollsPanelShown = 0;
  CombatAction.playerControlled = 1;
  ASSERT_TRUE(StrictScrollTo(0, -1, -1));
  EXPECT_EQ(FollowTarget, kFollowPoint);
  EXPECT_EQ(FollowPointX, 30 * 24 + 12 - 160 + 40);
  EXPECT_EQ(FollowPointY, 30 * 24 + 12 - 120);
  CombatRollsPanelShown = 1;
  ASSERT_TRUE(StrictScrollTo(0, -1, -1));
  EXPECT_EQ(FollowPointY, 30 * 24 + 12 - 120 - 35);
  InCombat = 0;
  CombatRollsPanelShown = 0;
  CombatAction.playerControlled = 0;
}

TEST_F(GameScreen, KeysScrollOneWayAFrameAndOnlyWhileTheViewIsIdle) {
  LayOutMap(60, 60);
  ViewOriginX = ViewOriginY = 100;
  harness::KeyDown("Left");
  harness::KeyDown("Up");
  screentest::ReadInput();
  ScrollViewByKeys();
  EXPECT_EQ(ViewOriginX, 92);
  EXPECT_EQ(ViewOriginY, 100);
  EXPECT_EQ(ViewSettled, 0);
  harness::KeyUp("Left");
  screentest::ReadInput();
  ScrollViewByKeys();
  EXPECT_EQ(ViewOriginY, 92);
  // A movement under way refuses the keys.
  Place(0, 30, 30);
  StrictScrollTo(0, -1, -1);
  ScrollViewByKeys();
  EXPECT_EQ(ViewOriginY, 92);
  harness::KeyUp("Up");
}

}  // namespace
