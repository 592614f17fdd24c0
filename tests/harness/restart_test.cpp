// A game stopped at the end of one test and started by the next in the same
// process: it runs again from start-up and takes the injected input.
#include <gtest/gtest.h>

#include "engine/graphics.h"
#include "engine/ui_input.h"
#include "harness/harness.h"

namespace {

TEST(HarnessRestart, AGameStoppedAndStartedAgainRunsAndFollowsTheMouse) {
  for (int run = 0; run < 2; ++run) {
    ASSERT_TRUE(harness::StartGame()) << "run " << run;
    ASSERT_NE(Graphics.device, nullptr) << "run " << run;
    harness::MoveMouse(100 + run * 50, 60);
    ASSERT_TRUE(harness::StepFrames(2)) << "run " << run;
    EXPECT_EQ(PointerX(), 100 + run * 50) << "run " << run;
    EXPECT_EQ(PointerY(), 60) << "run " << run;
    harness::StopGame();
  }
}

}  // namespace
