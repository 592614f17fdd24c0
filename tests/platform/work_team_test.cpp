// Parts of a job run on the helper threads and the caller: every part once,
// the caller's own work beside them, one job after another.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/work_team.h"

namespace {

TEST(WorkTeam, EveryPartRunsOnceAndTheCallersOwnWorkBesideThem) {
  for (size_t count : {0u, 1u, 2u, 997u}) {
    std::vector<std::atomic<int>> runs(count);
    std::atomic<int> own{0};
    std::thread::id ownThread;
    platform::RunParts(
        count, [&](size_t i) { ++runs[i]; },
        [&] {
          ++own;
          ownThread = std::this_thread::get_id();
        });
    EXPECT_EQ(own, 1) << count;
    EXPECT_EQ(ownThread, std::this_thread::get_id());
    for (size_t i = 0; i < count; ++i) ASSERT_EQ(runs[i], 1) << count << " " << i;
  }

  // Jobs from two threads at once each run whole, one after the other.
  std::vector<std::atomic<int>> first(500), second(500);
  std::thread other([&] { platform::RunParts(first.size(), [&](size_t i) { ++first[i]; }); });
  platform::RunParts(second.size(), [&](size_t i) { ++second[i]; });
  other.join();
  for (size_t i = 0; i < first.size(); ++i) ASSERT_TRUE(first[i] == 1 && second[i] == 1) << i;
}

}  // namespace
