// The map view's mouse while the party explores: walking, doors, unexplored
// squares, the pointer over creatures, and an attack that starts a fight.
#include <cstdio>

#include "adventure/item_commands.h"
#include "combat/actions/start_of_combat.h"
#include "engine/widgets.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "screens/game/click_results.h"
#include "screens/game/map_input.h"
#include "screens/game/map_input_fixture.h"
#include "state/game_screen_words.h"

namespace {

using inputtest::ClickSquare;
using inputtest::MouseAt;
using inputtest::ScreenX;
using inputtest::ScreenY;
using screentest::GameScreen;
using screentest::LayOutMap;

// The party leader standing on (x, y), with no walk under way.
CreatureRecord& Leader(int x, int y) {
  CreatureRecord& c = screentest::Place(0, x, y);
  c.destinationX = c.destinationY = -1;
  FighterSlots[0].pathIndex = -1;
  BuildOccupancyGrids(0);
  return c;
}

TEST_F(GameScreen, TheLeaderWalksToAClickedSquareAndOpensADoorOnArrival) {
  LayOutMap(20, 12);
  CurrentMap.At(kLayerWalls, 10, 2) = 82;
  const CreatureRecord& leader = Leader(2, 2);
  ClickSquare(6, 4);
  ASSERT_TRUE(harness::StepFrames(150));
  EXPECT_EQ(leader.squareX, 6);
  EXPECT_EQ(leader.squareY, 4);
  // The door by a point near its left edge: the open cursor, and a right
  // click makes it the listening one and back.
  const int x = 24 * 10 + 2 - ViewOriginX, y = 24 * 2 + 2 - ViewOriginY;
  MouseAt(x, y);
  EXPECT_EQ(CursorShape, 13);
  MouseAt(x, y, true, 1);
  MouseAt(x, y);
  EXPECT_EQ(CursorShape, 10);
  MouseAt(x, y, true, 1);
  MouseAt(x, y);
  EXPECT_EQ(CursorShape, 13);
  // A click on it: the leader walks beside it and opens it.
  MouseAt(x, y, true);
  ASSERT_TRUE(harness::StepFrames(150));
  EXPECT_EQ(CurrentMap.At(kLayerWalls, 10, 2), 0);
  EXPECT_EQ(leader.squareX, 9);
  EXPECT_LE(std::abs(leader.squareY - 2), 1);
}

// With the view two squares beyond the map's corner, the points that find a
// door by the mouse stay on the map: the corner's door is found.
TEST_F(GameScreen, DoorsNearTheMapsCornerAreFoundOnTheMap) {
  LayOutMap(20, 12);
  CurrentMap.At(kLayerWalls, 0, 0) = 82;
  Leader(3, 3);
  ViewOriginX = ViewOriginY = -48;
  MouseAt(10, 10);
  EXPECT_EQ(CursorShape, 13);
}

TEST_F(GameScreen, ClicksOnUnexploredOrBlockedSquaresGoNowhere) {
  LayOutMap(20, 12);
  CurrentMap.At(kLayerWalls, 7, 5) = 1;
  MapMemory[screentest::kMap][SquareIndex(8, 5)] = 0;
  const CreatureRecord& leader = Leader(2, 5);
  ClickSquare(8, 5);
  EXPECT_EQ(CursorShape, 18);
  EXPECT_EQ(leader.destinationX, -1);
  ClickSquare(7, 5);
  EXPECT_EQ(CursorShape, 18);
  EXPECT_EQ(leader.destinationX, -1);
  // A creature below the wall: the top of its figure reaches into the wall's
  // square, which answers as a wall; its own square takes the hover.
  screentest::Place(4, 7, 6, kAllegianceEnemy);
  MouseAt(ScreenX(7), 24 * 6 - 1 - ViewOriginY);
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(CursorShape, 18);
  MouseAt(ScreenX(7), ScreenY(6));
  EXPECT_EQ(ScreenMode, kModeCreatureHovered);
}

// Over a creature the pointer is what a click does, in the melee mode a new
// game starts in: a member's record, talk to one with something to say
// (the click talks: too far away here), nothing (the grey bubble) for one
// without, an attack on a foe.
TEST_F(GameScreen, ThePointerOverACreatureSaysWhatTheClickDoes) {
  LayOutMap(20, 12);
  Leader(2, 2);
  screentest::Place(1, 3, 4);
  std::snprintf(screentest::Place(4, 8, 2, kAllegianceTalker).tag, sizeof Creatures[4].tag, "Reeve");
  screentest::Place(5, 5, 6, kAllegianceAllyOther);
  screentest::Place(6, 9, 6, kAllegianceEnemy);
  BuildOccupancyGrids(0);
  ASSERT_TRUE(harness::StepFrames(1));  // a frame of its own: no side panel of a battle before
  WeaponMode = 1;
  const int hovers[][3] = {{3, 4, 8}, {8, 2, 9}, {5, 6, 1}, {9, 6, 14}};  // x, y, pointer
  for (const auto& h : hovers) {
    MouseAt(ScreenX(h[0]), ScreenY(h[1]));
    MouseAt(ScreenX(h[0]), ScreenY(h[1]));
    EXPECT_EQ(CursorShape, h[2]) << h[0] << "," << h[1];
  }
  ClickSquare(8, 2);
  EXPECT_EQ(ClickResult.code, 34);
  EXPECT_EQ(WeaponMode, 1);
}

// A merchant's trade page, opened by the talk over his figure, closed by its
// "Return To The Game" away from him: back on the map he is hovered no more,
// though the pointer has not moved since.
TEST_F(GameScreen, AMerchantIsNoLongerHoveredWhenHisTradePageCloses) {
  LayOutMap(20, 12);
  Leader(2, 2);
  std::snprintf(screentest::Place(4, 4, 2, kAllegianceTalker).tag, sizeof Creatures[4].tag, "Odo");
  BuildOccupancyGrids(0);
  harness::MoveMouse(ScreenX(4), ScreenY(2));
  ASSERT_TRUE(harness::StepFrames(2));
  ASSERT_EQ(ScreenMode, kModeCreatureHovered);
  ASSERT_EQ(HoveredSlot, Creatures[4].fighterSlot);
  ScreenMode = kModeExploring;  // as the talk's script leaves it
  OpenTrade(4);
  ASSERT_TRUE(harness::StepFrames(1));
  harness::Click(8 * 26, 8 * 27 + 4);  // "Return To The Game"
  ASSERT_TRUE(harness::StepFrames(2));
  ASSERT_NE(ScreenMode, kModePageView);
  EXPECT_EQ(HoveredSlot, -1);
}

// An attack on an enemy out of combat: at 60 feet the fight starts, at 61
// feet it is too far.
TEST_F(GameScreen, AnAttackStartsAFightUpToSixtyFeet) {
  LayOutMap(20, 12);
  Leader(0, 2);
  screentest::Place(4, 11, 5, kAllegianceEnemy);  // 5 x 11 + 2 x 3 = 61 feet
  screentest::Place(5, 12, 2, kAllegianceEnemy);  // 60 feet
  WeaponMode = 1;
  ClickSquare(11, 5);
  EXPECT_EQ(ScreenMode, kModeCreatureHovered);
  EXPECT_EQ(ClickResult.code, 34);
  EXPECT_EQ(InCombat, 0u);
  ScreenMode = kModeExploring;
  ClickResult.code = -1;
  ClickSquare(12, 2);
  EXPECT_EQ(InCombat, 1u);
  EXPECT_EQ(CombatParticipants[0], 5);
}

}  // namespace
