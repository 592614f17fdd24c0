// The creatures of the map view: the figure table and poses, the order in
// which figures cover each other, dimming, translucency, the blinking
// outline and the tall floor features drawn in front of a figure.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "combat/actions/start_of_combat.h"
#include "combat/resolution/spell_preview.h"
#include "engine/text.h"
#include "rules/conditions.h"
#include "rules/spell_ids.h"
#include "screens/game/frame_words.h"
#include "screens/game/map_mouse_words.h"
#include "state/combat_action.h"
#include "state/game_screen_words.h"
#include "screens/game/creature_figures.h"
#include "screens/game/game_screen.h"
#include "screens/game/figure_table.h"
#include "state/party_leader.h"
#include "state/turn_order.h"
#include "map_scene.h"

namespace {

TEST(FigureTable, PosesFramesAndTheEdgesOfTheTable) {
  int sheet = 0, frame = 0;
  // Twelve-frame figures: column by facing, row by state.
  ASSERT_TRUE(FigureSheetFrame(1, 3, 0, &sheet, &frame));
  EXPECT_EQ(sheet, 9);
  EXPECT_EQ(frame, 1);
  ASSERT_TRUE(FigureSheetFrame(1, 1, 3, &sheet, &frame));
  EXPECT_EQ(frame, 1 + 3 + 8);
  ASSERT_TRUE(FigureSheetFrame(8, 6, 1, &sheet, &frame));
  EXPECT_EQ(frame, 12 * 8 - 11 + 2 + 4);
  // Eight-frame figures: the half by facing, the frame by state.
  ASSERT_TRUE(FigureSheetFrame(25, 5, 4, &sheet, &frame));
  EXPECT_EQ(sheet, 14);
  EXPECT_EQ(frame, 8 * 25 - 199 + 4 + 3);
  // A single-frame figure ignores facing and state.
  ASSERT_TRUE(FigureSheetFrame(37, 7, 2, &sheet, &frame));
  EXPECT_EQ(frame, 97);
  // The huge figures run over into the next sheet past frame 8.
  ASSERT_TRUE(FigureSheetFrame(214, 1, 3, &sheet, &frame));
  EXPECT_EQ(sheet, 40);
  EXPECT_EQ(frame, 3 + 8 + 3 - 9);
  ASSERT_TRUE(FigureSheetFrame(213, 3, 0, &sheet, &frame));
  EXPECT_EQ(sheet, 38);
  EXPECT_EQ(frame, 0);
  // Outside the table nothing is drawn; a facing or state outside its table stands.
  EXPECT_FALSE(FigureSheetFrame(0, 3, 0, &sheet, &frame));
  // The story's own people stand on sheet 9 past the condition marks.
  ASSERT_TRUE(FigureSheetFrame(227, 3, 0, &sheet, &frame));
  EXPECT_EQ(sheet, 9);
  EXPECT_EQ(frame, 100);
  ASSERT_TRUE(FigureSheetFrame(229, 1, 3, &sheet, &frame));
  EXPECT_EQ(frame, 124 + 3 + 8);
  EXPECT_FALSE(FigureSheetFrame(kFigureCount, 3, 0, &sheet, &frame));
  EXPECT_FALSE(FigureSheetFrame(-1, 3, 0, &sheet, &frame));
  for (int facing : {0, 9, -3}) {
    ASSERT_TRUE(FigureSheetFrame(1, facing, 0, &sheet, &frame));
    EXPECT_EQ(frame, 1);
  }
  ASSERT_TRUE(FigureSheetFrame(1, 3, 17, &sheet, &frame));
  EXPECT_EQ(frame, 1);
  int w = 0, h = 0;
  EXPECT_FALSE(SizeClassFrame(0, &w, &h));
  EXPECT_FALSE(SizeClassFrame(9, &w, &h));
  ASSERT_TRUE(SizeClassFrame(8, &w, &h));
  EXPECT_EQ(w, 72);
}

class CreatureFigures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    mapscene::LayOutMap();
  }
  void TearDown() override { harness::StopGame(); }

  // The figure draws (sheets 9 to 47 other than the fog, the marks and the glow) in order.
  static std::vector<SheetDraw> Figures(const std::vector<SheetDraw>& draws) {
    std::vector<SheetDraw> out;
    for (const SheetDraw& d : draws)
      if (d.slot >= 9 && d.slot != 12 && d.slot != 21 && d.slot != 32 && d.slot < 48) out.push_back(d);
    return out;
  }
};

TEST_F(CreatureFigures, AFigureFurtherDownCoversOneAboveAndFiguresOutsideTheTableDrawNothing) {
  mapscene::Place(10, 5, 5, 1);   // lower on the screen, placed first
  mapscene::Place(11, 5, 4, 9);
  mapscene::Place(12, 6, 6, 999);  // no such figure
  mapscene::Place(13, 7, 6, 1, 0); // size class 0
  const std::vector<SheetDraw> figures = Figures(mapscene::RecordScene());
  ASSERT_EQ(figures.size(), 2u);
  EXPECT_EQ(figures[0].slot, 10);  // the one above first
  EXPECT_EQ(figures[1].slot, 9);
  EXPECT_EQ(figures[1].y, 24 * 5 - 3);
  EXPECT_EQ(ScreenPosX[12], -1);
  EXPECT_EQ(ScreenPosX[13], -1);
}

// A follower whose place behind the leader is walled off stands on the
// leader's square: the character the player steers is drawn over it.
TEST_F(CreatureFigures, OnASharedSquareTheCurrentCharacterIsDrawnOnTop) {
  mapscene::Place(0, 5, 5, 1);  // sheet 9
  mapscene::Place(1, 5, 5, 9);  // sheet 10, listed after the leader
  mapscene::Place(2, 6, 5, 17);
  for (int m = 0; m < 3; ++m) Creatures[m].allegiance = kAllegianceParty;
  PartyLeader = 0;
  auto topSheet = []() {
    int top = -1;
    for (const SheetDraw& d : Figures(mapscene::RecordScene()))
      if (d.x == 24 * 5 - 3) top = d.slot;
    return top;
  };
  EXPECT_EQ(topSheet(), 9);
  // In a battle, the fighter whose turn it is (a member raised onto its
  // healer's square).
  InCombat = 1;
  TurnEntryCount = 2;
  TurnOrder[0].creature = 0;
  TurnOrder[1].creature = 1;
  CombatAction.currentEntry = 1;
  EXPECT_EQ(topSheet(), 10);
  CombatAction.currentEntry = 0;
  EXPECT_EQ(topSheet(), 9);
}

TEST_F(CreatureFigures, RememberedCreaturesAreDimmedAndInvisibleOnesTranslucent) {
  mapscene::Place(10, 3, 3, 1);
  mapscene::Place(11, 8, 3, 1);
  MapMemory[mapscene::kMap][SquareIndex(3, 3)] = 0;  // never seen
  MapMemory[mapscene::kMap][SquareIndex(8, 3)] = 0;
  AddCondition(11, kCondInvisible, 5, 0, 1, 0);
  // Out of combat neither is drawn.
  EXPECT_TRUE(Figures(mapscene::RecordScene()).empty());
  // Taking part in the battle, both are drawn dimmed; the invisible one at alpha 120.
  InCombat = 1;
  TurnOrder[0].creature = 10;
  TurnEntryCount = 1;
  CombatParticipants[0] = 11;
  CombatParticipantCount = 1;
  const std::vector<SheetDraw> figures = Figures(mapscene::RecordScene());
  ASSERT_EQ(figures.size(), 2u);
  EXPECT_EQ(figures[0].colour, 0xFFBFA0A0u);  // 255 x 75 / 100, 255 x 63 / 100
  EXPECT_EQ(figures[1].colour, 0x78BFA0A0u);
  // A square at the edge of the black counts as seen but dimmed in any case.
  InCombat = 0;
  MapMemory[mapscene::kMap][SquareIndex(3, 3)] = 1;
  FogGrid[SquareIndex(3, 3)] = 12;
  const std::vector<SheetDraw> edge = Figures(mapscene::RecordScene());
  ASSERT_EQ(edge.size(), 1u);
  EXPECT_EQ(edge[0].colour, 0xFFBFA0A0u);
}

TEST_F(CreatureFigures, TheHoveredPartyMemberBlinksAsAnOrangeSilhouette) {
  mapscene::Place(0, 4, 4, 1);
  Creatures[0].allegiance = kAllegianceParty;
  mapscene::Place(10, 6, 4, 1);
  AddCondition(0, kCondInvisible, 5, 0, 1, 0);
  auto kindsOf = [](int creature) {
    std::vector<int> kinds;
    for (const SheetDraw& d : mapscene::RecordScene())
      if (d.slot == 9 && d.x == ScreenPosX[creature]) kinds.push_back(d.kind);
    return kinds;
  };
  HoveredCreature = 0;
  BlinkTick = 10;
  EXPECT_EQ(kindsOf(0), std::vector<int>{0});
  HoveredCreature = 0;
  BlinkTick = 11;
  std::vector<SheetDraw> draws = mapscene::RecordScene();
  auto silhouette = std::find_if(draws.begin(), draws.end(), [](const SheetDraw& d) { return d.kind == 2; });
  ASSERT_NE(silhouette, draws.end());
  EXPECT_EQ(silhouette->colour, 0x78D87600u);  // the outline colour at the invisible alpha
  // An enemy under the mouse is drawn as it is.
  HoveredCreature = 10;
  EXPECT_EQ(kindsOf(10), std::vector<int>{0});
}

TEST_F(CreatureFigures, ALargeFigureIsScaledToItsDrawnSizeAndCentredOnItsFootprint) {
  mapscene::Place(10, 4, 4, 213, 8, 2, 48, 48);
  const std::vector<SheetDraw> figures = Figures(mapscene::RecordScene());
  ASSERT_EQ(figures.size(), 1u);
  EXPECT_FLOAT_EQ(figures[0].scaleX, 48.0f / 72.0f);
  EXPECT_EQ(figures[0].x, 24 * 4 - 3);
  // A one-square figure drawn at 32 by 32 stands 4 pixels out of its square.
  mapscene::LayOutMap();
  mapscene::Place(10, 4, 4, 1, 4, 1, 32, 32);
  const std::vector<SheetDraw> wide = Figures(mapscene::RecordScene());
  ASSERT_EQ(wide.size(), 1u);
  EXPECT_EQ(wide[0].x, 24 * 4 - 4 - 3);
  EXPECT_FLOAT_EQ(wide[0].scaleX, 1.0f);
}

TEST_F(CreatureFigures, ATallFloorFeatureBelowAFigureIsDrawnAgainInFrontOfIt) {
  mapscene::Place(10, 4, 4, 1);
  CurrentMap.At(kLayerFloor, 4, 5) = 123;  // in the row below the figure, reaching over it
  const std::vector<SheetDraw> draws = mapscene::RecordScene();
  std::vector<int> order;  // 1 the feature, 2 the figure
  for (const SheetDraw& d : draws) {
    if (d.slot == 4 && d.frame == 22) order.push_back(1);
    if (d.slot == 9) order.push_back(2);
  }
  EXPECT_EQ(order, (std::vector<int>{1, 2, 1}));
  // Two rows further down it no longer reaches the figure.
  CurrentMap.At(kLayerFloor, 4, 5) = 0;
  CurrentMap.At(kLayerFloor, 4, 7) = 123;
  order.clear();
  for (const SheetDraw& d : mapscene::RecordScene())
    if (d.slot == 4 && d.frame == 22) order.push_back(1);
  EXPECT_EQ(order.size(), 1u);
}

// The label pass over a battle on the player's turn: the acting knight's
// turn mark, the chance over the foe it aims at, a paralysed foe's icon, a
// sleeper whose floating text takes the place of its icon, and a caster's
// queued spell.
TEST_F(CreatureFigures, LabelsShowConditionsTheChanceTheQueuedSpellAndWhoseTurnItIs) {
  const int knight = mapscene::Place(10, 2, 2, 1), held = mapscene::Place(11, 5, 2, 1);
  const int sleeper = mapscene::Place(12, 8, 2, 1), caster = mapscene::Place(13, 2, 6, 1);
  InCombat = 1;
  TurnEntryCount = 4;
  for (int i = 0; i < 4; ++i) TurnOrder[i] = TurnOrderEntry{};
  TurnOrder[0].creature = knight;
  TurnOrder[1].creature = held;
  TurnOrder[2].creature = sleeper;
  TurnOrder[3].creature = caster;
  TurnOrder[3].plannedAction = 24;
  TurnOrder[3].plannedTarget = kSpellFireball;
  TurnOrder[3].plannedParameter = 1;
  CurrentTurnIndex = 0;
  CombatState = kStatePlayerTurn;
  CombatAction.actionCode = 0;
  CombatAction.playerControlled = 1;
  AddCondition(held, kCondParalyzed, 5, 0, 18, 0);
  AddCondition(sleeper, kCondSleeping, 5, 0, 18, 0);
  ShowFloatingText(sleeper, "Zzz");
  CreatureMarkWords[held] = 2;
  SpellPreviewValues[held] = 65;
  HighlightTimer = 100;  // early in the turn: the marks are kept
  AttackAimMode = 2;
  BlinkTick = 15;
  auto scene = [](std::vector<GlyphDraw>* glyphs) {
    RecordGlyphs(glyphs);
    HoveredFighterSlot = Creatures[11].fighterSlot;
    std::vector<SheetDraw> draws = mapscene::RecordScene();
    RecordGlyphs(nullptr);
    return draws;
  };
  std::vector<GlyphDraw> glyphs;
  const std::vector<SheetDraw> draws = scene(&glyphs);
  auto drawn = [&](int sheet, int frame, int x, int y) {
    return std::any_of(draws.begin(), draws.end(), [&](const SheetDraw& d) {
      return d.slot == sheet && d.frame == frame && d.x == x && d.y == y;
    });
  };
  const int cx = ScreenPosX[held] + 12, cy = ScreenPosY[held] + 12;
  EXPECT_TRUE(drawn(10, 97 + static_cast<int>(IconFrame3B), cx - 16, cy - 18));
  EXPECT_TRUE(std::any_of(draws.begin(), draws.end(), [](const SheetDraw& d) { return d.slot == 20 && d.frame == 191; }));
  EXPECT_FALSE(std::any_of(draws.begin(), draws.end(), [](const SheetDraw& d) { return d.slot == 21; }));
  std::string text;
  std::stable_sort(glyphs.begin(), glyphs.end(),
                   [](const GlyphDraw& a, const GlyphDraw& b) { return a.y < b.y || (a.y == b.y && a.x < b.x); });
  for (const GlyphDraw& g : glyphs) text += static_cast<char>(g.c);
  for (const char* label : {"65%", "Zzz", "Maximised", "Fireball"}) EXPECT_NE(text.find(label), std::string::npos) << text;
  // The turn mark blinks; off the player's turn the chance is not shown.
  BlinkTick = 10;
  CombatAction.playerControlled = 0;
  glyphs.clear();
  const std::vector<SheetDraw> later = scene(&glyphs);
  EXPECT_FALSE(std::any_of(later.begin(), later.end(), [](const SheetDraw& d) { return d.slot == 20 && d.frame == 191; }));
  text.clear();
  for (const GlyphDraw& g : glyphs) text += static_cast<char>(g.c);
  EXPECT_EQ(text.find("65%"), std::string::npos);
}

TEST_F(CreatureFigures, FloatingTextsStaggerRiseAndFade) {
  mapscene::Place(10, 4, 4, 1);
  mapscene::Place(11, 8, 4, 1);
  ShowFloatingText(10, "Disruption");  // ten characters
  mapscene::DrawScene();
  const int y = FloatingTexts[10].y;
  EXPECT_EQ(FloatingTexts[10].x, 24 * 4 + 11 - 40);
  ShowFloatingText(11, "Miss");
  mapscene::DrawScene();
  EXPECT_EQ(y - FloatingTexts[11].y, 8);  // begun a frame apart
  EXPECT_EQ(FloatingTexts[10].y, y - 1);  // and rising a pixel every two frames
  mapscene::DrawScene();
  EXPECT_EQ(FloatingTexts[10].y, y - 1);
  mapscene::DrawScene();
  EXPECT_EQ(FloatingTexts[10].y, y - 2);
  for (int i = 0; i < 60; ++i) mapscene::DrawScene();
  EXPECT_EQ(FloatingTexts[10].framesLeft, -1);
  EXPECT_EQ(FloatingTexts[10].x, -1);
  // At the view's edges a text stays whole inside it: over a creature in the
  // first column or in the last one shown; "Hit" over the first column is
  // placed at map pixel -1, which is no mark of a text not yet placed.
  const struct {
    int x;
    const char* text;
    int creature;
  } edges[] = {{0, "Unconscious", 12}, {12, "Unconscious", 13}, {0, "Hit", 14}};
  for (const auto& e : edges) {
    mapscene::Place(e.creature, e.x, 6 + e.creature % 2, 1);
    ShowFloatingText(e.creature, e.text);
    std::vector<GlyphDraw> glyphs;
    RecordGlyphs(&glyphs);
    mapscene::DrawScene();
    RecordGlyphs(nullptr);
    std::string text;
    int left = 1000, right = -1000;
    for (const GlyphDraw& g : glyphs) {
      text += static_cast<char>(g.c);
      left = std::min(left, g.x);
      right = std::max(right, g.x + 8);
    }
    EXPECT_EQ(text, e.text) << e.x;
    EXPECT_GE(left, 0) << e.text << " over column " << e.x;
    EXPECT_LE(right, 320) << e.text << " over column " << e.x;
    FloatingTexts[e.creature] = FloatingTextEntry{};
  }
}

}  // namespace
