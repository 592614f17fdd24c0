// Tests run one after another in one process: a game stopped at the end of
// one test and started by the next runs again from start-up (its animation
// counters too) and takes the injected input, and a folder of its own a
// test removed is left behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/ui_input.h"
#include "harness/harness.h"

namespace {

TEST(HarnessRestart, AGameStoppedAndStartedAgainRunsAndFollowsTheMouse) {
  for (int run = 0; run < 2; ++run) {
    ASSERT_TRUE(harness::StartGame()) << "run " << run;
    ASSERT_NE(Graphics.device, nullptr) << "run " << run;
    // The animation runs from its start-up phase again (a colour-cycled figure
    // would be drawn in the last test's colours).
    EXPECT_EQ(AnimationCycle, 0u) << "run " << run;
    harness::MoveMouse(100 + run * 50, 60);
    ASSERT_TRUE(harness::StepFrames(2)) << "run " << run;
    EXPECT_EQ(PointerX(), 100 + run * 50) << "run " << run;
    EXPECT_EQ(PointerY(), 60) << "run " << run;
    AnimationCycle = 40;  // as a test of many frames leaves it
    harness::StopGame();
  }
}

// A test that ran in a game folder of its own and removed it: the next one
// makes its own folder and starts the game from the built game's files.
TEST(HarnessRestart, AGameFolderOfItsOwnRemovedByATestLeavesTheNextOneInTheGameFolder) {
  namespace fs = std::filesystem;
  const fs::path built = fs::current_path();
  fs::path own;
  ASSERT_TRUE(harness::MakeOwnGameFolder(&own));
  ASSERT_TRUE(harness::StartGame());
  harness::StopGame();
  fs::remove_all(own);
  fs::path next;
  ASSERT_TRUE(harness::MakeOwnGameFolder(&next));
  EXPECT_TRUE(fs::exists(next / "Help.dat"));
  ASSERT_TRUE(harness::StartGame());
  harness::StopGame();
  fs::current_path(built);
  fs::remove_all(next);
}

}  // namespace
