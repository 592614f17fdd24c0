// Shared by the party page tests: the game started headless with a new
// party being created and a page of the party's pages on top.
#pragma once
#include <gtest/gtest.h>

#include "engine/frame.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "harness/harness.h"
#include "party/creation_screen.h"
#include "party/new_characters.h"
#include "rules/creature_record.h"
#include "state/game_progress.h"

namespace partytest {

class PartyPages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    harness::SeedRandom(7);
    OptionWords[kOptionMaxAbilityScores] = 0;
    StartPartyCreation();
  }
  void TearDown() override { harness::StopGame(); }

  // Page view with one page: the page's own frame at depth 0.
  static void ShowPage(const char* caption, int32_t type, int32_t parameter) {
    SetFirstPage(caption, type, parameter);
    ScreenMode = kModePageView;
  }
  static void ShowCreation(int member) { ShowPage("Character Creation", kPageCharacterCreation, member); }
  // Moves the pointer away (no hover) and runs frames.
  static void Settle(int frames = 2) {
    harness::MoveMouse(2, 236);
    harness::StepFrames(frames);
  }
};

}  // namespace partytest
