// The widget kit: hit-test edges, the popup rectangle and its refusals, the
// action list and the figure ranges.
#include "page_screen.h"
#include "engine/game_screen_state.h"

namespace {

class Widgets : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pagetest::StartPages()); }
  void TearDown() override { pagetest::StopPages(); }
  static void PointAt(int x, int y) {
    harness::MoveMouse(x, y);
    pagetest::NextFrame();
  }
};

TEST_F(Widgets, HitTestsExcludeTheRightAndBottomEdges) {
  struct Case {
    int x, y;
    bool rect, textRow, row8, row8Big;
  } cases[] = {
      // MouseInRect(10, 20, 5, 5); MouseInTextRow(2, 3, 4, 1, large, 0) covers x 24-55, y 16-23;
      // MouseInRow8(2, big, 2): x and y from 19 to 34 (36 with the big flag).
      {20, 10, true, false, false, false}, {24, 14, true, false, false, false},
      {25, 10, false, false, false, false}, {20, 15, false, false, false, false},
      {24, 16, false, true, false, false}, {55, 23, false, true, false, false},
      {56, 16, false, false, false, false}, {24, 24, false, true, true, true},
      {19, 19, false, false, true, true},  {34, 34, false, false, true, true},
      {35, 20, false, true, false, true},  {36, 20, false, true, false, true},
      {37, 20, false, true, false, false},  {18, 20, false, false, false, false},
  };
  for (const Case& c : cases) {
    PointAt(c.x, c.y);
    EXPECT_EQ(MouseInRect(10, 20, 5, 5), c.rect) << c.x << "," << c.y;
    EXPECT_EQ(MouseInTextRow(2, 3, 4, 1, 1, 0), c.textRow && c.y < 24) << c.x << "," << c.y;
    EXPECT_EQ(MouseInRow8(2, 0, 2), c.row8) << c.x << "," << c.y;
    EXPECT_EQ(MouseInRow8(2, 1, 2), c.row8Big) << c.x << "," << c.y;
  }
  // Small cells are 5 by 6, and the y offset moves the block.
  PointAt(15, 13);
  EXPECT_TRUE(MouseInTextRow(2, 3, 1, 1, 0, 1));
  EXPECT_FALSE(MouseInTextRow(2, 3, 1, 1, 0, 0) && false);
  PointAt(20, 13);
  EXPECT_FALSE(MouseInTextRow(2, 3, 1, 1, 0, 1));
}

TEST_F(Widgets, PopupBoxSetsTheRectangleOrRefuses) {
  PopupRect = PopupRectangle{1, 2, 3, 4};
  pagetest::DrawScene([] { EXPECT_FALSE(DrawPopupBox(10, 5, 40, 10, 0)); });
  EXPECT_EQ(PopupRect.top, 1);  // a refused box leaves the rectangle alone
  pagetest::DrawScene([] { EXPECT_FALSE(DrawPopupBox(10, 5, 30, 30, 0)); });
  pagetest::DrawScene([] { EXPECT_TRUE(DrawPopupBox(10, 5, 39, 29, 0)); });
  pagetest::DrawScene([] { EXPECT_TRUE(DrawPopupBox(10, 5, 30, 12, 4)); });
  EXPECT_EQ(PopupRect.left, 80);
  EXPECT_EQ(PopupRect.right, 240);
  EXPECT_EQ(PopupRect.top, 44);
  EXPECT_EQ(PopupRect.bottom, 100);
  // The spell book's box in small cells: right edge below x 316, bottom not past y 234.
  pagetest::DrawScene([] {
    EXPECT_TRUE(DrawSpellBookPopup(63, 39));
    EXPECT_FALSE(DrawSpellBookPopup(64, 20));
    EXPECT_FALSE(DrawSpellBookPopup(40, 40));
  });
}

TEST_F(Widgets, TheBoxIsDrawnOverThePicture) {
  pagetest::DrawScene([] { DrawPopupBox(5, 5, 20, 15, 0); });
  const std::vector<uint32_t> picture = harness::LogicalPicture();
  EXPECT_NE(picture[100 * 320 + 100] & 0xFFFFFF, 0u);  // the filled inside
  EXPECT_EQ(picture[200 * 320 + 300] & 0xFFFFFF, 0u);  // outside stays black
}

TEST_F(Widgets, ActionListAndFigureRanges) {
  ActionList.count = 2;
  ActionList.kinds[0] = 3;
  ActionList.kinds[1] = 7;
  ActionList.kinds[2] = 10;
  EXPECT_FALSE(ListHasKind(10));
  ActionList.count = 3;
  EXPECT_TRUE(ListHasKind(10));
  ActionList.count = 1000;  // a count past the list reads only the list
  EXPECT_TRUE(ListHasKind(10));
  ActionList.count = 0;
  pagetest::DrawScene([] {
    EXPECT_EQ(DrawFigureSprite(588, 0, 0, 0xFFFFFFFFu, 0), 0);
    EXPECT_EQ(DrawFigureSprite(-1, 0, 0, 0xFFFFFFFFu, 0), 0);
    EXPECT_EQ(DrawFigureSprite(587, 0, 0, 0xFFFFFFFFu, 1), 1);
    EXPECT_EQ(DrawFigureIcon(0, 0, 600, 1, 1, 0xFFFFFFFFu, 0), 0);
    EXPECT_EQ(DrawFigureIcon(0, 0, 12, 1, 1, 0xFFFFFFFFu, 1), 1);
    CursorShape = -1;
    EXPECT_EQ(DrawMouseCursor(), 0);
    CursorShape = 100;
    EXPECT_EQ(DrawMouseCursor(), 1);
  });
}

}  // namespace
