// The credits scroll and start again; the ranking page's window of ranks
// stays within the board and long names are cut.
#include <gtest/gtest.h>

#include "frontend/credits_screen.h"
#include "frontend/front_screens.h"
#include "frontend/ranking_screen.h"
#include "front_fixture.h"

namespace {

using fronttest::DrawFrame;

TEST(Credits, TheListStartsAgainAfter946FramesAndLeavingResetsIt) {
  ASSERT_TRUE(harness::StartGame());
  SetFirstPage("Title Screen", kPageMainMenu, -1);
  PushPage("Credits", kPageCredits, -1);
  for (int frame = 1; frame <= 945; ++frame) DrawFrame(CreditsScreen);
  EXPECT_EQ(CreditsScroll, kCreditsScrollEnd);
  DrawFrame(CreditsScreen);
  EXPECT_EQ(CreditsScroll, 0);
  // However far the list scrolls, no line past its end is read.
  EXPECT_STREQ(CreditsLineAt(kCreditsScrollEnd / 8 + 14).text, "");
  for (int frame = 0; frame < 9; ++frame) DrawFrame(CreditsScreen);
  fronttest::PressKey("Space", CreditsScreen);
  EXPECT_EQ(TopPageType(), kPageMainMenu);
  EXPECT_EQ(CreditsScroll + CreditsTick, 0);
  harness::StopGame();
}

TEST(Ranking, TheWindowOfRanksStaysWithinTheBoard) {
  for (int move : {-1, -3, kToFirst}) EXPECT_EQ(RankingWindowStart(1, 10, 50, move), 0) << move;
  EXPECT_EQ(RankingWindowStart(2, 10, 50, -3), 1);
  EXPECT_EQ(RankingWindowStart(40, 10, 50, 3), 41);
  EXPECT_EQ(RankingWindowStart(40, 10, 50, kToLast), 41);
  EXPECT_EQ(RankingWindowStart(41, 10, 50, 1), 0);  // at the end
  EXPECT_EQ(RankingWindowStart(3, 3, 8, kToLast), 1);  // fewer than ten
  char shown[40];
  ShownPlayerName("ABCDEFGHIJKLMNOPQRSTUVWXY", shown, sizeof shown);
  EXPECT_STREQ(shown, "ABCDEFGHIJKLMNOPQRSTU...");
  ShownPlayerName("ABCDEFGHIJKLMNOPQRSTUVWX", shown, sizeof shown);
  EXPECT_STREQ(shown, "ABCDEFGHIJKLMNOPQRSTUVWX");
}

TEST(Ranking, WithoutTheStoreOnlyTheHeadingsShow) {
  ASSERT_TRUE(harness::StartGame());
  SetFirstPage("Title Screen", kPageMainMenu, -1);
  PushPage("Score", kPageRanking, -1);
  std::vector<GlyphDraw> glyphs;
  fronttest::Key("Down", true);
  DrawFrame(RankingScreen, &glyphs);
  fronttest::Key("Down", false);
  EXPECT_EQ(fronttest::RowText(glyphs, 2), "       Ranking of the Heroes");
  EXPECT_EQ(fronttest::RowText(glyphs, 7), "      Rank      Name       Score");
  fronttest::PressKey("Escape", RankingScreen);
  EXPECT_EQ(TopPageType(), kPageMainMenu);
  harness::StopGame();
}

}  // namespace
