// The game screen on a test map: a yard of grass and paths with the party
// standing in it, drawn by the whole frame in the day's light.
#include "screens/game/game_screen_fixture.h"

namespace {

using screentest::GameScreen;
using screentest::LayOutMap;
using screentest::Place;

TEST_F(GameScreen, APartyInAYardByDay) {
  LayOutMap(24, 18, 1);
  for (int x = 0; x < 24; ++x)
    for (int y = 0; y < 18; ++y) {
      const bool path = y == 8 || x == 11;
      CurrentMap.At(kLayerGround, x, y) = path ? 10 + (x + y) % 2 : 1 + (x * 7 + y * 3) % 3;
    }
  const int figures[4] = {9, 17, 1, 25};
  for (int m = 0; m < 4; ++m) {
    CreatureRecord& c = Place(m, 9 + m, 7 + m % 2);
    c.figure = figures[m];
    c.displayWords[kDisplayFigureSize] = 1;
  }
  ViewOriginX = 9 * 24 + 12 - 160;
  ViewOriginY = 7 * 24 + 12 - 120;
  DayClock = 600;
  harness::MoveMouse(300, 230);
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "game_screen_day"), 0);
}

}  // namespace
