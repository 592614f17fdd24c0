// A help page end to end: drawn from the help tables, a keyword link clicked,
// Back and Forward, and the picture against the stored one.
//
// The stored pictures under tests/engine/pictures/ are the logical 320x240
// content of the main index page at 640x480 and at 960x720. When the art or
// the page changes on purpose, rebuild and run
//   (cd build/game && GREVENHOLT_UPDATE_PICTURES=1 ../tests/test_engine --gtest_filter='HelpPagePicture*')
// look at the new files, and commit them.
#include <cstdlib>

#include "engine/settings.h"
#include "page_screen.h"
#include "platform/image.h"

namespace {

// Cell centres of the main index: the list item "- Character" is on small row
// 10, under the title, a blank line and the welcome of six lines.
constexpr int kCharacterX = 6 * 5 + 2, kCharacterY = 10 * 6 + 3;

class HelpPageLinks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pagetest::StartPages());
    ScreenMode = kModePageView;
    OpenPage("Main Index", kMainIndexPageId);
  }
  void TearDown() override { pagetest::StopPages(); }
};

TEST_F(HelpPageLinks, AKeywordLinkOpensItsPageAndBackAndForwardWalkTheHistory) {
  ASSERT_EQ(PageDepth, 1);
  harness::MoveMouse(kCharacterX, kCharacterY);
  pagetest::NextFrame();
  pagetest::DrawHelpPage(kMainIndexPageId);  // the pointer arrived: the keyword is looked up
  pagetest::NextFrame();
  pagetest::DrawHelpPage(kMainIndexPageId);  // now it is the hovered link
  EXPECT_EQ(CursorShape, kCursorOverLink);
  EXPECT_STREQ(HoverCaption, "Character");

  platform::InjectMouseButton(0, true);
  pagetest::NextFrame();
  pagetest::DrawHelpPage(kMainIndexPageId);
  platform::InjectMouseButton(0, false);
  ASSERT_EQ(PageDepth, 2);
  EXPECT_EQ(PageHighestDepth, 2);
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(PageHistory[2].type, kPageHelpTopic);
  EXPECT_EQ(PageHistory[2].parameter, static_cast<int32_t>(kCharacterPageId));
  EXPECT_STREQ(PageHistory[2].caption, "Character");

  // The press that opened the page does not act on the new page.
  pagetest::NextFrame();
  pagetest::DrawHelpPage(kCharacterPageId);
  EXPECT_EQ(PageDepth, 2);

  // Back (the Left-arrow key), then Forward (a click on "Forward").
  harness::KeyDown("Left");
  pagetest::NextFrame();
  EXPECT_EQ(pagetest::DrawHelpPage(kCharacterPageId), 1);
  harness::KeyUp("Left");
  EXPECT_EQ(PageDepth, 1);
  EXPECT_EQ(PageHighestDepth, 2);
  harness::MoveMouse(10 * 8 + 2, 28 * 8 + 2);
  pagetest::NextFrame();
  pagetest::DrawHelpPage(kMainIndexPageId);
  EXPECT_STREQ(HoverCaption, "Character");  // the caption of the page above
  platform::InjectMouseButton(0, true);
  pagetest::NextFrame();
  EXPECT_EQ(pagetest::DrawHelpPage(kMainIndexPageId), 1);
  platform::InjectMouseButton(0, false);
  EXPECT_EQ(PageDepth, 2);
}

TEST_F(HelpPageLinks, ALinkOutsidePageViewSavesTheModeAndReturnRestoresIt) {
  ScreenMode = kModeExploring;
  PageDepth = 0;
  const char* log = "Read \xA3" "Iron\xA3 @IRON_WILL@ now.";
  auto draw = [&] { pagetest::DrawScene([&] { DrawLinkedText(log, 4, 1, 24, 38, 28, 0, 1, 1, 1); }); };
  // "@IRON_WILL@" starts at large column 1 + 10 on row 24.
  harness::MoveMouse(12 * 8 + 3, 24 * 8 + 3);
  pagetest::NextFrame();
  draw();
  pagetest::NextFrame();
  draw();
  EXPECT_STREQ(HoverCaption, "Iron Will");
  platform::InjectMouseButton(1, true);  // either button opens a link
  pagetest::NextFrame();
  draw();
  platform::InjectMouseButton(1, false);
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(SavedScreenMode, kModeExploring);
  EXPECT_EQ(PageDepth, 0);
  EXPECT_EQ(PageHistory[0].parameter, 31008);

  ScreenMode = kModeLocalMap;  // opened from the local map this time
  PageDepth = 0;
  OpenLinkedPage(kPageHelpTopic, 31008);
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(SavedScreenMode, kModeLocalMap);
  harness::KeyDown("Space");
  pagetest::NextFrame();
  EXPECT_EQ(pagetest::DrawHelpPage(31008), 1);
  harness::KeyUp("Space");
  EXPECT_EQ(ScreenMode, kModeLocalMap);
  EXPECT_EQ(SavedScreenMode, kModeExploring);
  EXPECT_EQ(PageDepth, 0);
  EXPECT_EQ(PageHighestDepth, 0);
}

// The logical picture of the main index with the pointer on a link, against
// the stored one; the device picture is kept beside the game for a look.
void ComparePicture(const std::string& name) {
  ASSERT_TRUE(pagetest::StartPages());
  ScreenMode = kModePageView;
  OpenPage("Main Index", kMainIndexPageId);
  harness::MoveMouse(kCharacterX, kCharacterY);
  pagetest::NextFrame();
  pagetest::DrawHelpPage(kMainIndexPageId);
  pagetest::NextFrame();
  pagetest::DrawHelpPage(kMainIndexPageId);
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, name), 0) << "see " << name << "_device.png";
  pagetest::StopPages();
}

TEST(HelpPagePicture, MainIndexAt640x480) {
  WindowSize = 1;
  ComparePicture("help_main_index_640");
}

TEST(HelpPagePicture, MainIndexAt960x720) {
  WindowSize = 2;
  ComparePicture("help_main_index_960");
}

}  // namespace
