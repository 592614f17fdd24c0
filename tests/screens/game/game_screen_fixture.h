// The game screen on the game started headless: a clean state, a test map of
// plain ground explored everywhere, creatures placed on it in fighter slots,
// and the frame stepped with injected keys and mouse.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "engine/frame.h"
#include "engine/input.h"
#include "frontend/game_reset.h"
#include "harness/harness.h"
#include "map/map_record.h"
#include "map/party_vision.h"
#include "rules/creature_record.h"
#include "screens/game/game_screen.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

namespace screentest {

constexpr int kMap = 3;

// A map of width by height squares of plain ground, all of it explored,
// open to the weather when rain is 1, with the view at its top-left corner.
inline void LayOutMap(int width, int height, int rain = 0) {
  ResetGameState();
  ScreenMode = kModeExploring;
  CurrentMapNumber = kMap;
  std::memset(&CurrentMap, 0, sizeof CurrentMap);
  CurrentMap.width = width;
  CurrentMap.height = height;
  CurrentMap.rain = rain;
  for (int i = 0; i < kMapSquares; ++i) CurrentMap.layers[kLayerGround][i] = 1 + i % 3;
  for (uint32_t& square : MapMemory[kMap]) square = 1;
  ViewOriginX = ViewOriginY = 0;
  FighterCount = 0;
  SetCameraBounds();
}

// A one-square creature on (x, y) in the next fighter slot.
inline CreatureRecord& Place(int id, int x, int y, int32_t allegiance = kAllegianceParty) {
  CreatureRecord& c = Creatures[id];
  std::memset(&c, 0, sizeof c);
  std::snprintf(c.name, sizeof c.name, "Member %i", id);
  c.present = 1;
  c.map = kMap;
  c.squareX = c.nextX = x;
  c.squareY = c.nextY = y;
  c.pixelX = 24 * x;
  c.pixelY = 24 * y;
  c.footprintWidth = c.footprintHeight = {1, 1};
  c.figureSize[0] = c.figureSize[1] = {24, 24};
  for (StatPair* p : {&c.strength, &c.dexterity, &c.constitution, &c.intelligence, &c.wisdom, &c.charisma})
    *p = {10, 10};
  c.level = 1;
  c.hitPoints = c.maxHitPoints = 10;
  c.allegiance = allegiance;
  c.facing = 5;
  c.fighterSlot = FighterCount;
  FighterSlots[FighterCount].creature = id;
  ++FighterCount;
  return c;
}

// The waiting input taken in and the devices read, as the frame does.
inline void ReadInput() {
  harness::PumpMessages();
  ReadInputDevice(&KeyboardDevice);
  ReadInputDevice(&PointerDevice);
}

class GameScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    ASSERT_TRUE(harness::StepFrames(1));
    // One seed for every test: a storm or a flicker rolled from the clock
    // would change a count or a picture from run to run.
    harness::SeedRandom(1);
  }
  void TearDown() override { harness::StopGame(); }
};

}  // namespace screentest
