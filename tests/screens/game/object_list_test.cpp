// The list of a square's objects: Space picks one up for the party, the left
// button lifts one onto the cursor to hand to a member (a click alone puts
// it back), an object the tables do not know stays where it lies; and the dialogue box's answers and scroll.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "adventure/dialogue.h"
#include "engine/graphics.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"
#include "screens/game/click_results.h"
#include "screens/game/frame_words.h"
#include "screens/game/held_object.h"
#include "screens/game/map_input.h"
#include "screens/game/map_input_fixture.h"
#include "screens/game/overlay_sections.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"

namespace {

using screentest::GameScreen;

constexpr int32_t kArrows = 5001, kFiftyGold = 10050, kPastTheTable = 7500;

// One frame of a section alone; the large glyphs it drew go to glyphs.
template <typename Section>
void Draw(Section section, std::vector<GlyphDraw>* glyphs = nullptr) {
  screentest::ReadInput();
  RecordGlyphs(glyphs);
  BeginScene();
  ClearScreen(0xFF000000u);
  BeginSprite();
  section();
  EndSprite();
  EndScene();
  PresentFrame();
  RecordGlyphs(nullptr);
}

bool Holds(const CreatureRecord& c, uint32_t code) {
  for (const ItemPair& p : c.carried)
    if (p.code == code) return true;
  return false;
}

// A pile of n objects on (5, 3) beside the leader on (4, 3), its list open;
// the mouse on its first entry (the list's box starts at cell column 13 and
// at row 12 less its height of 4, 8 or 10 rows).
void OpenPile(int n) {
  ScreenMode = kModeItemPileHovered;
  ListedSquare = MapSquareWords{5, 3};
  MapCursorX = 5;
  MapCursorY = 3;
  const int height[4] = {0, 4, 8, 10};
  harness::MoveMouse(150, (12 - height[n]) * 8 + 19);
}

TEST_F(GameScreen, TheObjectListPicksUpLiftsAndHandsOverButLeavesUnknownObjects) {
  screentest::LayOutMap(20, 12);
  screentest::Place(0, 4, 3);
  FighterSlots[0].visible[SquareIndex(5, 3)] = 1;
  CurrentMap.At(kLayerObjects0, 5, 3) = kArrows;
  CurrentMap.At(kLayerObjects1, 5, 3) = kFiftyGold;
  CurrentMap.At(kLayerObjects2, 5, 3) = kPastTheTable;
  // Space takes the arrows; the gold falls to the first level.
  OpenPile(3);
  harness::KeyDown("Space");
  Draw(DrawObjectList);
  harness::KeyUp("Space");
  EXPECT_TRUE(Holds(Creatures[0], kArrows));
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 5, 3), kFiftyGold);
  EXPECT_EQ(ScreenMode, kModeExploring);
  // A click on the gold lifts it and lets it go over the list again: no
  // refusal, and the list stays open with its "Push Space".
  OpenPile(2);
  harness::MouseButton(0, true);
  Draw(DrawObjectList);
  harness::MouseButton(0, false);
  Draw(DrawObjectList);
  EXPECT_EQ(HeldObject.code, 0);
  EXPECT_EQ(ScreenMode, kModeItemPileHovered);
  EXPECT_EQ(ShownClickResult.code, 0);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 5, 3), kFiftyGold);
  screentest::ReadInput();
  // The gold lifted onto the cursor and let go over the leader.
  OpenPile(2);
  const uint32_t gold = PartyGold;
  harness::MouseButton(0, true);
  Draw(DrawObjectList);
  EXPECT_NE(HeldObject.code, 0);
  harness::MoveMouse(4 * 24 + 12, 3 * 24 + 12);
  Draw(DrawObjectList);
  harness::MouseButton(0, false);
  Draw(DrawObjectList);
  EXPECT_EQ(PartyGold, gold + 50);
  EXPECT_EQ(HeldObject.code, 0);
  // A code past the item table: shown as unknown, and never taken.
  OpenPile(1);
  std::vector<GlyphDraw> glyphs;
  harness::KeyDown("Space");
  Draw(DrawObjectList, &glyphs);
  harness::KeyUp("Space");
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 5, 3), kPastTheTable);
  std::sort(glyphs.begin(), glyphs.end(), [](const GlyphDraw& a, const GlyphDraw& b) { return a.x < b.x; });
  std::string text;
  for (const GlyphDraw& g : glyphs) text += static_cast<char>(g.c);
  EXPECT_NE(text.find("Unknown"), std::string::npos) << text;
}

// A pile's worth is its count times its price, however large: 9,999 agates
// of 10,000,000 gold each.
TEST_F(GameScreen, APileIsWorthItsCountTimesItsPrice) {
  constexpr int kAgateRow = 486;
  constexpr int32_t kAgates = 200000;  // and a count
  screentest::LayOutMap(20, 12);
  screentest::Place(0, 4, 3);
  FighterSlots[0].visible[SquareIndex(5, 3)] = 1;
  CurrentMap.At(kLayerObjects0, 5, 3) = kAgates + 9999;
  const int32_t price = ItemTable[kAgateRow].price;
  ItemTable[kAgateRow].price = 10000000;
  OpenPile(1);
  std::vector<GlyphDraw> glyphs;
  Draw(DrawObjectList, &glyphs);
  ItemTable[kAgateRow].price = price;
  std::sort(glyphs.begin(), glyphs.end(),
            [](const GlyphDraw& a, const GlyphDraw& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  std::string text;
  for (const GlyphDraw& g : glyphs) text += static_cast<char>(g.c);
  EXPECT_NE(text.find("Value99990000000"), std::string::npos) << text;
}

uint32_t BaseCodeOfType(int32_t type) {
  for (int i = 0; i < kItemRows; ++i)
    if (ItemTable[i].baseType == type) return kFirstBaseItemCode + i;
  return 0;
}

// Space, or the right button, pressed over the list and let go.
void PressSpace() {
  harness::KeyDown("Space");
  Draw(DrawObjectList);
  harness::KeyUp("Space");
  screentest::ReadInput();
}
void RightClick() {
  harness::MouseButton(1, true);
  Draw(DrawObjectList);
  harness::MouseButton(1, false);
  screentest::ReadInput();
}

TEST_F(GameScreen, OnlyAPresentMemberInReachIsGivenThePileAndItsPagesOpenByTheRightButton) {
  // The leader, Polymorphed, stands by the pile (arrows under 50 gold) with
  // the third member; the second has fallen 15 squares off.
  screentest::LayOutMap(30, 12);
  screentest::Place(0, 4, 3);
  screentest::Place(1, 20, 3).present = 0;
  screentest::Place(2, 4, 4);
  Creatures[3].present = 0;
  AddCondition(0, kCondPolymorphed, 10, 0, 18, 0);
  FighterSlots[0].visible[SquareIndex(5, 3)] = 1;
  CurrentMap.At(kLayerObjects0, 5, 3) = kArrows;
  CurrentMap.At(kLayerObjects1, 5, 3) = kFiftyGold;
  const uint32_t gold = PartyGold;
  OpenPile(2);
  harness::MoveMouse(150, 80);  // on "All these items"
  PressSpace();
  EXPECT_TRUE(Holds(Creatures[2], kArrows));
  EXPECT_FALSE(Holds(Creatures[1], kArrows));
  EXPECT_EQ(PartyGold, gold + 50);
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 5, 3), 0);
  EXPECT_EQ(Creatures[1].squareX, 20);  // the fallen stays where it fell
  // With every member in reach Polymorphed the backpacks count as full.
  AddCondition(2, kCondPolymorphed, 10, 0, 18, 0);
  CurrentMap.At(kLayerObjects0, 5, 3) = kArrows;
  OpenPile(1);
  PressSpace();
  EXPECT_EQ(CurrentMap.At(kLayerObjects0, 5, 3), kArrows);
  EXPECT_EQ(ClickResult.code, 2);
  // The right button opens a crafted item's page; a note must be picked up.
  CraftedWeapons[7] = CraftedWeaponRecord{};
  std::strcpy(CraftedWeapons[7].name, "Gnawed Longsword Of Old");
  CurrentMap.At(kLayerObjects0, 5, 3) = 7;
  OpenPile(1);
  RightClick();
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(TopPageType(), 10007);
  EXPECT_STREQ(PageHistory[0].caption, "Gnawed Longswor");
  CurrentMap.At(kLayerObjects0, 5, 3) = static_cast<int32_t>(BaseCodeOfType(2));
  OpenPile(1);
  RightClick();
  EXPECT_EQ(ScreenMode, kModeItemPileHovered);
  EXPECT_EQ(ShownClickResult.code, 69);
}

TEST_F(GameScreen, TheDialogueBoxTakesItsAnswersByKeys) {
  screentest::LayOutMap(20, 12);
  ScreenMode = kModeResting;
  std::strcpy(DialogueText, "A short greeting.");
  std::memset(AnswerTexts, 0, sizeof AnswerTexts);
  std::strcpy(AnswerTexts[0], "Hello");
  ChosenAnswer = 0;
  // A text that fits: no scrolling down.
  harness::KeyDown("Down");
  Draw(DrawDialogueBox);
  harness::KeyUp("Down");
  EXPECT_EQ(DialogueScrollLine, 0);
  // One answer: Space takes it.
  harness::KeyDown("Space");
  Draw(DrawDialogueBox);
  harness::KeyUp("Space");
  EXPECT_EQ(ChosenAnswer, 1);
  // Two answers: Space does nothing, 3 (no third answer) nothing, 2 the second.
  std::strcpy(AnswerTexts[1], "Goodbye");
  ChosenAnswer = 0;
  for (const char* key : {"Space", "3"}) {
    harness::KeyDown(key);
    Draw(DrawDialogueBox);
    harness::KeyUp(key);
  }
  EXPECT_EQ(ChosenAnswer, 0);
  DialogueScrollLine = 2;
  harness::KeyDown("2");
  Draw(DrawDialogueBox);
  harness::KeyUp("2");
  EXPECT_EQ(ChosenAnswer, 2);
  EXPECT_EQ(DialogueScrollLine, 0);
}

// A dialogue box over the map whose text runs on below the box, its one
// answer "Go on".
void OpenLongTale() {
  screentest::LayOutMap(20, 12);
  ScreenMode = kModeResting;
  std::string text;
  for (int i = 0; i < 12; ++i) text += "A long tale of the road, told line by line. ";
  std::strcpy(DialogueText, text.c_str());
  std::memset(AnswerTexts, 0, sizeof AnswerTexts);
  std::strcpy(AnswerTexts[0], "Go on");
}

TEST_F(GameScreen, TheDialogueBoxScrollsByTheWheelAndTakesAnAnswerByTheMouse) {
  OpenLongTale();
  std::strcpy(AnswerTexts[1], "Enough");
  ChosenAnswer = 0;
  harness::MoveMouse(100, 20);
  // Up at the first line does nothing; down a line, and up again.
  for (int notch : {1, -1, 1}) {
    harness::Wheel(notch);
    Draw(DrawDialogueBox);
  }
  EXPECT_EQ(DialogueScrollLine, 0);
  harness::Wheel(-1);
  std::vector<GlyphDraw> glyphs;
  Draw(DrawDialogueBox, &glyphs);
  EXPECT_EQ(DialogueScrollLine, 1);
  // Both scroll marks show (column 38 of rows 1 and 5): the text keeps a
  // blank column before them.
  for (const GlyphDraw& g : glyphs) {
    if (g.y < 48) {
      EXPECT_LT(g.x, 37 * 8) << g.c << " at " << g.x << "," << g.y;
    }
  }
  // The second answer's row (row 25) clicked: chosen, the text back at its top.
  harness::MoveMouse(60, 25 * 8 + 4);
  harness::MouseButton(0, true);
  Draw(DrawDialogueBox);
  harness::MouseButton(0, false);
  EXPECT_EQ(ChosenAnswer, 2);
  EXPECT_EQ(DialogueScrollLine, 0);
}

// Text below the box: its mark at the right edge stays in full colour, lit,
// while the pointer is on the lower rows (greyed there, it read as a mark
// that cannot act), and bobs while the pointer is elsewhere.
TEST_F(GameScreen, TheDialogueBoxsMarkShowsPlainlyThatMoreTextFollows) {
  OpenLongTale();
  auto downMark = [](int32_t tick) {
    Tick100 = tick;
    std::vector<SheetDraw> draws;
    RecordSheetDraws(&draws);
    Draw(DrawDialogueBox);
    RecordSheetDraws(nullptr);
    SheetDraw mark{};
    mark.frame = -1;
    for (const SheetDraw& d : draws)
      if (d.slot == 13 && d.x == 304 && d.y > 8) mark = d;
    return mark;
  };
  harness::MoveMouse(100, 36);  // the lower rows: a click scrolls down
  const SheetDraw hovered = downMark(0);
  ASSERT_NE(hovered.frame, -1) << "no mark while text lies below the box";
  EXPECT_EQ(hovered.colour, 0xFFFFFFFFu) << "the mark is dimmed under the pointer";
  harness::MoveMouse(100, 150);
  const SheetDraw still = downMark(0), bobbed = downMark(60);
  EXPECT_NE(still.frame, hovered.frame) << "the mark is not lit under the pointer";
  EXPECT_NE(still.y, bobbed.y) << "the mark stands still";
  EXPECT_EQ(DialogueScrollLine, 0);
}

}  // namespace
