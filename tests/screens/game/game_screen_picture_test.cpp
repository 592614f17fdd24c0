// The game screen on a test map: the party resting round a campfire in a
// meadow by a road, drawn by the whole frame in the day's light, with a
// floating text rising over one of them.
#include "screens/game/game_screen_fixture.h"

#include "rules/record_words.h"

namespace {

using screentest::GameScreen;
using screentest::LayOutMap;
using screentest::Place;

TEST_F(GameScreen, ThePartyRoundACampfireByDay) {
  LayOutMap(24, 18, 1);
  for (int x = 0; x < 24; ++x)
    for (int y = 0; y < 18; ++y) {
      int32_t ground = (x * 5 + y * 3) % 4 == 0 ? 2 : 1;
      if (x >= 9 && x <= 13 && y >= 4 && y <= 8) ground = 3;
      if (y == 11) ground = 5;
      CurrentMap.At(kLayerGround, x, y) = ground;
    }
  CurrentMap.At(kLayerWalls, 11, 6) = 90;
  CurrentMap.At(kLayerFloor, 11, 6) = 322;
  struct Member {
    int x, y, figure, facing;
  } party[] = {{10, 7, 1, 2}, {12, 7, 9, 8}, {10, 5, 17, 4}, {12, 5, 2, 6}};
  for (int m = 0; m < 4; ++m) {
    CreatureRecord& c = Place(m, party[m].x, party[m].y);
    c.figure = party[m].figure;
    c.facing = party[m].facing;
    c.displayWords[kDisplayFigureSize] = 1;
  }
  ShowFloatingText("Rested", 1);
  ViewOriginX = 11 * 24 + 12 - 160;
  ViewOriginY = 6 * 24 + 12 - 120;
  DayClock = 600;
  harness::SeedRandom(5);  // the flames flicker by the random numbers
  harness::MoveMouse(232, 176);
  ASSERT_TRUE(harness::StepFrames(3));
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "game_screen_day"), 0);
}

}  // namespace
