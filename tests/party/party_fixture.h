// Shared by the party page tests: the game started headless with a new
// party being created, the party's pages shown, and the places of their
// controls on the 320x240 picture.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "engine/frame.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "harness/harness.h"
#include "party/creation_screen.h"
#include "party/new_characters.h"
#include "rules/creature_record.h"
#include "state/game_progress.h"

namespace partytest {

// A point inside a large (8x8) or small (5x6) character cell.
struct Point {
  int x, y;
};
inline Point Cell(int column, int row) { return {column * 8 + 2, row * 8 + 3}; }
inline Point SmallCell(int column, int row, int yOffset = 0) { return {column * 5 + 2, row * 6 + 3 + yOffset}; }

class PartyPages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    harness::SeedRandom(7);
    OptionWords[kOptionMaxAbilityScores] = 0;
    StartPartyCreation();
  }
  void TearDown() override { harness::StopGame(); }

  // Page view with the page alone in the history.
  static void ShowPage(const char* caption, int32_t type, int32_t parameter) {
    SetFirstPage(caption, type, parameter);
    ScreenMode = kModePageView;
  }
  static void ShowCreation(int member) { ShowPage("Character Creation", kPageCharacterCreation, member); }
  // The pointer moved off every control, and frames run.
  static void Settle(int frames = 2) {
    harness::MoveMouse(316, 236);
    harness::StepFrames(frames);
  }
  static void ClickAt(Point p, int button = 0) {
    harness::Click(p.x, p.y, button);
    harness::StepFrames(1);
  }
  // The hint the page shows with the pointer resting at p.
  static std::string HintAt(Point p) {
    harness::MoveMouse(p.x, p.y);
    harness::StepFrames(2);
    return HoverCaption;
  }
  static void ExpectTopPage(int32_t type, int32_t parameter) {
    EXPECT_EQ(TopPageType(), type);
    EXPECT_EQ(TopPageParameter(), parameter);
  }
};

}  // namespace partytest
