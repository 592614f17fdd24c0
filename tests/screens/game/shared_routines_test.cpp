// Routines the game screen shares: doors, the push test of a bull rush, the
// party's name list, Turn Undead uses, text entry, and the menu openings.
#include "screens/game/game_screen_fixture.h"

#include <algorithm>

#include "engine/page_history_access.h"
#include "map/map_view.h"
#include "map/rain_shelter.h"
#include "rules/conditions.h"
#include "map/square_grids.h"
#include "rules/record_words.h"
#include "screens/game/shared_routines.h"
#include "state/game_progress.h"
#include "state/map_view_state.h"

namespace {

using screentest::GameScreen;
using screentest::LayOutMap;
using screentest::Place;

TEST_F(GameScreen, OpeningADoorClearsBothHalvesOrOnlyItself) {
  LayOutMap(20, 20);
  CurrentMap.At(kLayerWalls, 5, 5) = 82;
  CurrentMap.At(kLayerWalls, 6, 5) = 82;
  CurrentMap.At(kLayerEvents, 6, 5) = 9;
  CurrentMap.At(kLayerWalls, 9, 9) = 83;
  CurrentMap.At(kLayerWalls, 10, 9) = 83;  // along y: not its other half
  ToggleDoorSquare(5, 5);
  EXPECT_EQ(CurrentMap.At(kLayerWalls, 5, 5), 0);
  EXPECT_EQ(CurrentMap.At(kLayerWalls, 6, 5), 0);
  EXPECT_EQ(CurrentMap.At(kLayerEvents, 6, 5), 0);
  ToggleDoorSquare(9, 9);
  EXPECT_EQ(CurrentMap.At(kLayerWalls, 9, 9), 0);
  EXPECT_EQ(CurrentMap.At(kLayerWalls, 10, 9), 83);
}

TEST_F(GameScreen, APushNeedsOpenFloorFreeOfCreaturesBeyondTheTarget) {
  LayOutMap(20, 20);
  Place(0, 5, 5);
  Place(40, 6, 5, kAllegianceEnemy);
  BuildOccupancyGrids(0);
  EXPECT_TRUE(IsFacingSquareFree(0, 40));
  EXPECT_EQ(Creatures[0].facing, 3) << "turned toward the target";
  Place(41, 7, 5, kAllegianceEnemy);
  EXPECT_FALSE(IsFacingSquareFree(0, 40));
  Creatures[41].present = 0;
  FighterCount = 2;
  CurrentMap.At(kLayerWalls, 7, 5) = 46;
  BuildOccupancyGrids(0);
  EXPECT_FALSE(IsFacingSquareFree(0, 40));
  // Against the map's edge.
  LayOutMap(8, 8);
  Place(0, 6, 3);
  Place(40, 7, 3, kAllegianceEnemy);
  BuildOccupancyGrids(0);
  EXPECT_FALSE(IsFacingSquareFree(0, 40));
}

TEST_F(GameScreen, TheNameListIsHitOverTheRightAlignedNameAndItsMarker) {
  LayOutMap(20, 20);
  Place(0, 1, 1);
  Place(1, 2, 1);
  std::snprintf(Creatures[1].name, sizeof Creatures[1].name, "Ann");
  Creatures[0].name[0] = 0;  // an empty name is never hit
  const auto At = [](int x, int y) {
    harness::MoveMouse(x, y);
    screentest::ReadInput();
  };
  At(256, 32);
  EXPECT_EQ(HitTestNameList(), 1);
  At(279, 39);
  EXPECT_TRUE(IsOverNameList());
  At(255, 32);
  EXPECT_EQ(HitTestNameList(), -1);
  EXPECT_TRUE(IsOverNameMarker());
  At(270, 24);
  EXPECT_EQ(HitTestNameList(), -1);
}

TEST_F(GameScreen, TheRainPenaltyFallsOnlyDuringAStormAndOnlyOnExposedSquares) {
  LayOutMap(20, 20, 1);
  Place(0, 2, 2);
  Place(1, 6, 6);
  std::fill(std::begin(RainShelterGrid), std::end(RainShelterGrid), 0u);
  RainShelterGrid[SquareIndex(2, 2)] = 2;  // exposed
  AddCondition(1, kCondRain, kDurationLasting, 4, kSourceRain, 0);
  UpdatePartyAreaCondition();  // no storm: nobody keeps it
  EXPECT_LT(FindCondition(0, kCondRain), 0);
  EXPECT_LT(FindCondition(1, kCondRain), 0);
  StormActive = 1;
  UpdatePartyAreaCondition();
  const int at = FindCondition(0, kCondRain);
  ASSERT_GE(at, 0);
  EXPECT_EQ(Creatures[0].conditions[at].value, 4);
  EXPECT_LT(FindCondition(1, kCondRain), 0) << "a sheltered fighter is left as it is";
  StormActive = 0;
}

TEST(TurnUndeadUses, AClericTurnsByCharismaAtLeastOnceAndOthersNever) {
  const auto Uses = [](int32_t creatureClass, int32_t charisma) {
    Creatures[2].creatureClass = creatureClass;
    Creatures[2].charisma = {charisma, charisma};
    ResetPartyTurnUndeadUses();
    return Creatures[2].displayWords[kDisplayTurnUndeadUses];
  };
  EXPECT_EQ(Uses(kClassCleric, 11), 1);
  EXPECT_EQ(Uses(kClassCleric, 14), 3);
  EXPECT_EQ(Uses(kClassWizard, 18), 0);
}

TEST_F(GameScreen, TextEntryShiftsDigitsAndLettersAndLatchesTheKey) {
  const auto Typed = [](const char* key, bool shift, int spaceFlag = 1) {
    if (shift) harness::KeyDown("Left Shift");
    harness::KeyDown(key);
    screentest::ReadInput();
    const char c = KeyToChar(spaceFlag);
    const char again = KeyToChar(spaceFlag);
    harness::KeyUp(key);
    if (shift) harness::KeyUp("Left Shift");
    screentest::ReadInput();
    EXPECT_EQ(again, 0) << key << ": the key counts again only after release";
    return c;
  };
  EXPECT_EQ(Typed("A", false), 'a');
  EXPECT_EQ(Typed("A", true), 'A');
  EXPECT_EQ(Typed("1", true), '!');
  EXPECT_EQ(Typed("3", true), 0);
  EXPECT_EQ(Typed(",", true), '<');
  EXPECT_EQ(Typed("Space", false, 1), ' ');
  EXPECT_EQ(Typed("Space", false, 0), '_');
}

TEST_F(GameScreen, TheMenuAndTheInventoryOpenAsTheOnlyPageOverTheGame) {
  LayOutMap(20, 20);
  Place(2, 1, 1);
  std::snprintf(Creatures[2].name, sizeof Creatures[2].name, "%s", "A Very Long Name Of Thirty Characters");
  ScreenMode = kModeCreatureHovered;
  OpenMainMenu();
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(SavedScreenMode, kModeCreatureHovered);
  EXPECT_EQ(MenuReturnMode, kModeCreatureHovered);  // where "Back to the Game" returns
  EXPECT_EQ(PageDepth, 0);
  EXPECT_EQ(TopPageType(), kPageMainMenu);
  EXPECT_STREQ(TopPageCaption(), "Options");
  CurrentSpell = 4;
  EXPECT_TRUE(OpenInventoryMenu(2));
  EXPECT_EQ(TopPageType(), kPageInventory);
  EXPECT_EQ(TopPageParameter(), 2);
  EXPECT_STREQ(TopPageCaption(), "Inventory (A Very Long Name Of ");
  EXPECT_EQ(CurrentSpell, -1);
}

}  // namespace
