// Dialogue boxes in the running game: a box waits in its own loop, drawing
// the game screen, until the player answers by mouse or by key; a help link
// in its text shows its page meanwhile; the window's close button ends the
// script and then the program.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "adventure/dialogue.h"
#include "engine/frame.h"
#include "engine/graphics.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/reset_words.h"
#include "harness/harness.h"
#include "script_fixture.h"
#include "state/game_flags.h"

namespace {

using scriptfixture::RunSource;

class DialogueBox : public scriptfixture::ScriptTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    ASSERT_TRUE(harness::StepFrames(1));
    ScriptTest::SetUp();
  }
  void TearDown() override {
    ScriptTest::TearDown();
    harness::StopGame();
  }
};

constexpr const char* kFiveRoads =
    "ask \"Which road, ~?\" \"North\" \"East\" \"South\" \"West\" \"Back home\"\n"
    "if_answer 1\n set_flag 1 1\nendif\n"
    "if_answer 2\n set_flag 2 1\nendif\n"
    "if_answer 3\n set_flag 3 1\nendif\n"
    "if_answer 4\n set_flag 4 1\nendif\n"
    "if_answer 5\n set_flag 5 1\nendif\n";

TEST_F(DialogueBox, EachOfFiveAnswersIsTakenByMouseAndByKey) {
  for (int answer = 1; answer <= 5; ++answer) {
    for (const bool byMouse : {true, false}) {
      SCOPED_TRACE(std::string(byMouse ? "mouse, answer " : "key, answer ") + std::to_string(answer));
      ResetWords(GameFlags);
      if (byMouse)
        harness::QueueBoxClick(60, 8 * (23 + answer) + 3);  // the answer's row of the box
      else
        ASSERT_TRUE(harness::QueueBoxKey(std::to_string(answer)));
      const int passes = harness::BoxPasses();
      EXPECT_EQ(RunSource(kFiveRoads), 1);
      EXPECT_GE(harness::BoxPasses() - passes, 2) << "the box drew itself and waited for the answer";
      EXPECT_EQ(ChosenAnswer, answer);
      for (int road = 1; road <= 5; ++road) EXPECT_EQ(GameFlags[road], road == answer ? 1u : 0u) << road;
      EXPECT_STREQ(DialogueText, "Which road, Member0?");
      EXPECT_STREQ(LastScreenDrawn, "GameScreenFrame");
    }
  }
  // A key beyond the answers given is no answer: the box waits for a real one.
  ResetWords(GameFlags);
  ASSERT_TRUE(harness::QueueBoxKey("3"));
  ASSERT_TRUE(harness::QueueBoxKey("2"));
  RunSource("ask \"Stay or go?\" \"Stay\" \"Go\"\nif_answer 2\n set_flag 6 1\nendif\n");
  EXPECT_EQ(GameFlags[6], 1u);
  EXPECT_TRUE(harness::StepFrames(1)) << "the game goes on after the box";
}

TEST_F(DialogueBox, TheWindowClosedDuringABoxEndsTheScriptAndThenTheProgram) {
  harness::QueueBoxClose();
  RunSource("ask \"Are you still there?\" \"Yes\"\nset_flag 7 1\n");
  EXPECT_EQ(GameFlags[7], 0u) << "the script did not go on";
  EXPECT_EQ(ChosenAnswer, -1);
  EXPECT_FALSE(harness::StepFrames(1));
  EXPECT_TRUE(harness::GameEnded());
}

TEST_F(DialogueBox, TheFullScreenPictureWaitsForAClickAndGivesAnswerOne) {
  harness::QueueBoxClick(160, 120);
  RunSource("show_picture\nif_answer 1\n set_flag 8 1\nendif\n");
  EXPECT_EQ(GameFlags[8], 1u);
  EXPECT_EQ(ScriptPictureShown, 0);
}

TEST_F(DialogueBox, ABoxOpenedWhileTheFrameDrawsIsShownAndAnsweredAndTheFrameDrawsOn) {
  // An item script run by a pick-up from the list of a square's objects
  // opens its box in the middle of the frame's picture.
  ASSERT_TRUE(BeginScene());
  BeginSprite();
  ASSERT_TRUE(harness::QueueBoxKey("2"));
  RunSource("ask \"A letter, sealed.\" \"Read it\" \"Keep it\"\nif_answer 2\n set_flag 9 1\nendif\n");
  EXPECT_EQ(GameFlags[9], 1u);
  EXPECT_FALSE(BeginScene()) << "the frame's picture goes on in a scene of its own";
  EndSprite();
  EndScene();
  EXPECT_TRUE(harness::StepFrames(1));
}

TEST_F(DialogueBox, AHelpLinkInItsTextOpensThePageAndReturnBringsTheBoxBack) {
  int idle = 0, pageShown = -1;
  std::string screenShown;
  bool boxBack = false;
  harness::SetBoxIdleHandler([&] {
    switch (idle++) {
      case 0: harness::QueueBoxClick(12, 11); break;  // the link
      case 1:
        pageShown = ScreenMode == kModePageView ? TopPageType() : -1;
        screenShown = LastScreenDrawn;
        harness::QueueBoxKey("Escape");  // the page's Return
        break;
      case 2:
        boxBack = ScreenMode == kModeResting;
        harness::QueueBoxKey("1");
        break;
      default: break;
    }
  });
  RunSource("ask \"@ATTACKS_OF_OPPORTUNITY@ strike at a back turned.\" \"Go on\"\nset_flag 10 1\n");
  harness::SetBoxIdleHandler(nullptr);
  EXPECT_EQ(pageShown, kPageHelpTopic);
  EXPECT_EQ(screenShown, "DrawTextPageScreen");
  EXPECT_TRUE(boxBack) << "the box waits again after the page";
  EXPECT_EQ(GameFlags[10], 1u) << "and its answer lets the script go on";
}

TEST(DialogueTexts, NamesPutInForEveryTildeNeverRunPastTheText) {
  // A text of nothing but '~' grows by a 49-byte name at every one of them:
  // the result is cut to the box's 1,000 bytes.
  std::snprintf(Creatures[0].name, sizeof Creatures[0].name, "%s", std::string(49, 'N').c_str());
  std::memset(DialogueText, '~', sizeof DialogueText - 1);
  DialogueText[sizeof DialogueText - 1] = '\0';
  ExpandSpeakerName();
  EXPECT_EQ(strnlen(DialogueText, sizeof DialogueText), sizeof DialogueText - 1);
  EXPECT_EQ(DialogueText[0], 'N');
  // A text without '~' is unchanged.
  std::snprintf(DialogueText, sizeof DialogueText, "Nobody is named here.");
  ExpandSpeakerName();
  EXPECT_STREQ(DialogueText, "Nobody is named here.");
}

}  // namespace
