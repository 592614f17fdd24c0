// The harness's pictures of dialogue boxes (playscript's PLAYSCRIPT_BOX_SHOTS):
// a box's picture is the box as the play's own pass drew it, and taking it
// changes nothing of the play.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "adventure/dialogue.h"
#include "engine/frame.h"
#include "engine/random.h"
#include "harness/harness.h"
#include "harness/test_scenes.h"
#include "platform/image.h"
#include "screens/game/frame_words.h"

namespace {

struct AnsweredBox {
  int passes = 0;
  uint32_t weatherTick = 0;
  uint64_t randomWords = 0;  // taken since the seed
  std::vector<uint32_t> drawn;  // the device picture the box's last pass left
};

// The knights' camp, a box over it answered by its key; with `picture` named
// the box's picture is asked for as soon as the box waits for its answer.
AnsweredBox AnswerABox(const std::string& picture) {
  AnsweredBox box;
  EXPECT_TRUE(harness::StartGame());
  EXPECT_TRUE(scenes::LayOutScene("camp"));
  harness::SeedRandom(7);
  const uint64_t seeded = RandomWordsUsed();
  EXPECT_TRUE(harness::StepFrames(5));
  std::snprintf(DialogueText, sizeof DialogueText, "The gate of the keep stands open.");
  std::snprintf(AnswerTexts[0], sizeof AnswerTexts[0], "Go through");
  ChosenAnswer = -1;
  ScreenMode = kModeResting;
  bool asked = false;
  harness::SetBoxIdleHandler([&] {
    if (!asked && !picture.empty()) harness::SaveBoxPictureWhenDrawn(picture);
    asked = true;
    harness::QueueBoxKey("1");
  });
  const int before = harness::BoxPasses();
  RunDialogueLoop(nullptr);
  harness::SetBoxIdleHandler(nullptr);
  EXPECT_EQ(ChosenAnswer, 1);
  box.passes = harness::BoxPasses() - before;
  box.drawn = harness::DevicePicture(nullptr, nullptr);
  // The frames after the box: the weather's clock and its storm rolls.
  EXPECT_TRUE(harness::StepFrames(30));
  box.weatherTick = WeatherTick;
  box.randomWords = RandomWordsUsed() - seeded;
  harness::StopGame();
  return box;
}

TEST(BoxPicture, IsTheBoxAsItsPassDrewItAndChangesNothingOfThePlay) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("box-picture." + std::to_string(getpid()) + ".png")).string();
  std::remove(path.c_str());
  const AnsweredBox plain = AnswerABox("");
  const AnsweredBox shot = AnswerABox(path);
  EXPECT_EQ(shot.passes, plain.passes) << "the box ran a pass of its own for the picture";
  EXPECT_EQ(shot.weatherTick, plain.weatherTick);
  EXPECT_EQ(shot.randomWords, plain.randomWords);
  int w = 0, h = 0;
  std::vector<uint32_t> saved;
  ASSERT_TRUE(platform::LoadPng(path.c_str(), &w, &h, &saved)) << "no picture of the box";
  for (uint32_t& px : saved) px |= 0xFF000000u;
  EXPECT_TRUE(saved == shot.drawn) << "the picture is not the box as its pass drew it";
  std::remove(path.c_str());
}

}  // namespace
