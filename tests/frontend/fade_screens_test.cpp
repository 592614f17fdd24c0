// The splash, the title and the script picture: their fades, what passes
// them, and where each leads.
#include <gtest/gtest.h>

#include <vector>

#include "engine/last_screen.h"
#include "frontend/fade_screens.h"
#include "frontend/front_screens.h"
#include "front_fixture.h"
#include "state/script_state.h"

namespace {

using fronttest::DrawFrame;
using fronttest::Key;

class FadeScreens : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::StartGame()); }
  void TearDown() override { harness::StopGame(); }
};

TEST_F(FadeScreens, WaitingPassesTheSplashButTheTitleWaitsForAClick) {
  EXPECT_EQ(TopPageType(), kPageLogoScreen);
  // Fading in over 33 frames, holding for 30 and fading out over 32.
  for (int frame = 1; frame <= 94; ++frame) DrawFrame(SplashScreen);
  EXPECT_EQ(TopPageType(), kPageLogoScreen);
  DrawFrame(SplashScreen);
  EXPECT_EQ(TopPageType(), kPageTitle);
  EXPECT_STREQ(TopPageCaption(), "Splash Screen");
  EXPECT_EQ(FadeAlpha + FadePhase + FadeOut, 0);
  ASSERT_TRUE(harness::StepFrames(300));
  EXPECT_STREQ(LastScreenDrawn, "TitleScreen");
  harness::Click(20, 20);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_STREQ(LastScreenDrawn, "DrawMainMenuScreen");
  EXPECT_STREQ(TopPageCaption(), "Title Screen");
  EXPECT_EQ(PageDepth, 0);
}

TEST_F(FadeScreens, HeldButtonsAndShiftEscapePassNothingAFreshSpaceDoes) {
  fronttest::LeftButton(true);
  DrawFrame(SplashScreen);  // fresh: it passes the splash, and is latched
  EXPECT_EQ(TopPageType(), kPageTitle);
  DrawFrame(TitleScreen);  // still held: the title stays
  fronttest::LeftButton(false);
  Key("Left Shift", true);
  fronttest::PressKey("Escape", TitleScreen);
  EXPECT_EQ(TopPageType(), kPageTitle);
  Key("Left Shift", false);
  fronttest::PressKey("Space", TitleScreen);
  EXPECT_EQ(TopPageType(), kPageMainMenu);
}

TEST_F(FadeScreens, ClickToStartBlinksOnceTheTitleIsIn) {
  std::vector<GlyphDraw> glyphs;
  std::vector<bool> shown;
  for (int frame = 0; frame < 93; ++frame) {
    DrawFrame(TitleScreen, &glyphs);
    shown.push_back(fronttest::RowText(glyphs, 26) == "              Click to Start");
  }
  // Dark until the picture is in (32 frames), then 21 shown, 20 hidden, 20 shown.
  for (int f = 0; f < 93; ++f) EXPECT_EQ(shown[f], (f >= 32 && f < 53) || f >= 73) << f;
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "title"), 0);
}

TEST_F(FadeScreens, TheScriptPictureAnswersItsBoxAndTheNextFadesInFromBlack) {
  for (int picture = 0; picture < 2; ++picture) {
    ScriptPictureShown = 1;
    ChosenAnswer = -1;
    DrawFrame(DrawFadePicture);
    EXPECT_EQ(FadeAlpha, 8) << "drawn at alpha 0 first";
    for (int i = 0; i < 40; ++i) DrawFrame(DrawFadePicture);
    Key("Left Shift", true);
    fronttest::PressKey("Escape", DrawFadePicture);
    Key("Left Shift", false);
    EXPECT_EQ(ChosenAnswer, -1);
    fronttest::ClickOn(100, 100, DrawFadePicture);
    EXPECT_EQ(ChosenAnswer, 1);
    EXPECT_EQ(ScriptPictureShown, 0);
    EXPECT_EQ(FadeAlpha, 0);
  }
}

}  // namespace
