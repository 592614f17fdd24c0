// The square passes of the map view: their order round the creatures, what
// stays black, the stored codes that animate, the light sources and rain
// at the map's edges, and the sound-making features they report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "map/rain_shelter.h"
#include "combat/resolution/combat_sequencer.h"
#include "map/square_grids.h"
#include "rules/item_tables.h"
#include "state/current_cast.h"
#include "screens/game/square_drawing.h"
#include "state/turn_order.h"
#include "map_scene.h"

namespace {

class MapPasses : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    mapscene::LayOutMap();
  }
  void TearDown() override { harness::StopGame(); }

  static int Count(const std::vector<SheetDraw>& draws, int slot, int frame) {
    return static_cast<int>(std::count_if(draws.begin(), draws.end(), [&](const SheetDraw& d) {
      return d.slot == slot && (frame < 0 || d.frame == frame);
    }));
  }
  // Where the first draw of a sheet frame stands in the scene, -1 none.
  static int IndexOf(const std::vector<SheetDraw>& draws, int slot, int frame) {
    for (size_t i = 0; i < draws.size(); ++i)
      if (draws[i].slot == slot && draws[i].frame == frame) return static_cast<int>(i);
    return -1;
  }
};

TEST_F(MapPasses, PassesRunInTheirOrderRoundTheCreatures) {
  CurrentMap.At(kLayerFloor, 3, 3) = 210;          // floor tile, first pass
  CurrentMap.At(kLayerWalls, 5, 3) = 60;           // a large object: lower right quarter, then the rest
  CurrentMap.At(kLayerFloor, 6, 3) = 700;          // animated floor, after the creatures
  CurrentMap.At(kLayerFloor, 7, 3) = 2015;         // a brazier's glow, last of the squares
  mapscene::Place(10, 4, 4, 1);
  const std::vector<SheetDraw> draws = mapscene::RecordScene();
  const int floor = IndexOf(draws, 4, 10), lowerRight = IndexOf(draws, 0, 60), figure = IndexOf(draws, 9, 2);
  const int upperLeft = IndexOf(draws, 0, 57), animated = IndexOf(draws, 5, 0), glow = IndexOf(draws, 32, 1);
  ASSERT_NE(floor, -1);
  EXPECT_LT(floor, lowerRight);
  EXPECT_LT(lowerRight, figure);
  EXPECT_LT(figure, upperLeft);
  EXPECT_LT(upperLeft, animated);
  EXPECT_LT(animated, glow);
  EXPECT_EQ(draws[static_cast<size_t>(lowerRight)].x, 24 * 5 - 3);
  EXPECT_EQ(draws[static_cast<size_t>(upperLeft)].y, 24 * 3 - 30);
}

TEST_F(MapPasses, UnseenSquaresAndDarknessInCombatStayBlack) {
  MapMemory[mapscene::kMap][SquareIndex(2, 2)] = 0;
  MagicAreaGrid[SquareIndex(3, 2)] = {kEffectDarkness, 5, 0};
  auto groundAt = [&](int x, int y) {
    const std::vector<SheetDraw> draws = mapscene::RecordScene();
    return std::count_if(draws.begin(), draws.end(), [&](const SheetDraw& d) {
      return d.slot == 0 && d.x == 24 * x && d.y == 24 * y;
    });
  };
  EXPECT_EQ(groundAt(2, 2), 0);
  EXPECT_EQ(groundAt(3, 2), 1);
  InCombat = 1;
  EXPECT_EQ(groundAt(3, 2), 0);
  MagicAreaGrid[SquareIndex(3, 2)] = {};
  EXPECT_EQ(groundAt(3, 2), 1);
  // With the view at the camera's lower limit the two rows and columns
  // before the map stay black.
  InCombat = 0;
  FirstVisibleX = FirstVisibleY = -2;
  const std::vector<SheetDraw> draws = mapscene::RecordScene();
  EXPECT_FALSE(draws.empty());
  for (const SheetDraw& d : draws) EXPECT_TRUE(d.x >= 48 && d.y >= 48) << d.x << "," << d.y;
}

// The edge shading and the magic areas' frames below the creatures are drawn
// in combat or while a spell waits for its target, never while exploring; a
// silence's glow above the creatures shows in every mode.
TEST_F(MapPasses, ShadingAndAreaFramesBelowTheCreaturesOnlyInCombatOrWhileASpellWaits) {
  FogGrid[SquareIndex(2, 2)] = 12;
  MagicAreaGrid[SquareIndex(4, 2)] = {kEffectWeb, 5, 0};
  MagicAreaGrid[SquareIndex(6, 2)] = {kEffectSilence, 5, 0};
  struct Case {
    uint32_t combat;
    int32_t spell;
    int drawn;
  };
  for (const Case& c : {Case{0, -1, 0}, Case{1, -1, 1}, Case{0, 31, 1}}) {
    InCombat = c.combat;
    SpellInProgress = c.spell;
    const std::vector<SheetDraw> draws = mapscene::RecordScene();
    EXPECT_EQ(Count(draws, kSheetShade, 12 + 49), c.drawn) << c.combat << " " << c.spell;
    EXPECT_EQ(Count(draws, kSheetAreaMarks, 24), c.drawn);  // the web
    EXPECT_EQ(Count(draws, kSheetAreaMarks, 25), c.drawn);  // the silence
    EXPECT_EQ(Count(draws, 32, 1), 1);                      // its glow
  }
}

TEST_F(MapPasses, AnimatedFloorsStepOnlyWhileExploringOrInADialogue) {
  int32_t& down = CurrentMap.At(kLayerFloor, 2, 2);
  int32_t& up = CurrentMap.At(kLayerFloor, 3, 2);
  down = 800;
  up = 617;
  FloorTick = 0;
  mapscene::DrawScene();
  EXPECT_EQ(down, 817);  // the 800 run goes backwards
  EXPECT_EQ(up, 600);
  FloorTick = 1;
  mapscene::DrawScene();
  EXPECT_EQ(down, 817);
  ScreenMode = 11;  // aiming
  FloorTick = 0;
  mapscene::DrawScene();
  EXPECT_EQ(down, 817);
  ScreenMode = kModeResting;
  mapscene::DrawScene();
  EXPECT_EQ(down, 816);
}

TEST_F(MapPasses, TorchesAndRainAtTheMapsEdges) {
  CurrentMap.width = 10;
  CurrentMap.height = 8;
  CurrentMap.At(kLayerFloor, 3, 7) = 306;  // on the last row
  CurrentMap.At(kLayerFloor, 5, 2) = 306;
  MapMemory[mapscene::kMap][SquareIndex(5, 3)] = 0;
  FlameTick = 1;
  std::vector<SheetDraw> draws = mapscene::RecordScene();
  EXPECT_EQ(Count(draws, 2, 6), 1);  // the torch below an unseen square stays dark
  MapMemory[mapscene::kMap][SquareIndex(5, 3)] = 1;
  draws = mapscene::RecordScene();
  EXPECT_EQ(Count(draws, 2, 6), 2);
  EXPECT_TRUE(AmbientSourceFlags[kAmbientFlames].seen);

  RainFrame = 85;
  RainShelterGrid[SquareIndex(9, 2)] = 2;  // last column
  RainShelterGrid[SquareIndex(9, 7)] = 2;  // last column and row
  RainShelterGrid[SquareIndex(4, 4)] = 2;
  RainShelterGrid[SquareIndex(4, 5)] = 1;  // sheltered
  draws = mapscene::RecordScene();
  EXPECT_EQ(Count(draws, 4, 85), 2 + 4 + 1);
}

TEST_F(MapPasses, CampfireFlamesStepAndLargeGlowsSpanTheirObject) {
  CurrentMap.At(kLayerWalls, 7, 5) = 90;
  CurrentMap.At(kLayerFloor, 7, 5) = 333;
  for (int x = 2; x <= 4; ++x)
    for (int y = 2; y <= 4; ++y) CurrentMap.At(kLayerFloor, x, y) = 4001;
  FlameTick = 0;
  const std::vector<SheetDraw> draws = mapscene::RecordScene();
  EXPECT_EQ(CurrentMap.At(kLayerFloor, 7, 5), 320);
  EXPECT_EQ(CampfireSquareX, 7);
  EXPECT_TRUE(AmbientSourceFlags[kAmbientCampfire].seen);
  EXPECT_TRUE(AmbientSourceFlags[kAmbientCampfire].nearby);  // within 2 of the focus square (7, 5)
  std::vector<SheetDraw> glows;
  for (const SheetDraw& d : draws)
    if (d.slot == 32 && d.colour == 0xC8F1B134u) glows.push_back(d);
  ASSERT_EQ(glows.size(), 1u);  // once for the three by three object, from its top-left square
  EXPECT_EQ(glows[0].x, 48);
  EXPECT_FLOAT_EQ(glows[0].scaleX, 3 * 24 / 128.0f);
}

// Blackmoor Keep's postern as its words tell of it ("Behind a thornbush a
// low iron door is set in the wall"), on the map the build makes: the door
// drawn in the wall north of the postern's square, the thornbush on that
// square; the wall is still the keep's stone wall and the square open.
TEST_F(MapPasses, BlackmoorsPosternShowsItsDoorInTheWallBehindAThornbush) {
  constexpr int kPosternEvent = 2;
  std::ifstream in("SaveGame/FullVersion/0/Maps/Map25.dat", std::ios::binary);
  const std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(image.size(), kMapRecordBytes);
  ReadMapImage(image.data(), &CurrentMap);
  int px = -1, py = -1;
  for (int x = 0; x < CurrentMap.width; ++x)
    for (int y = 0; y < CurrentMap.height; ++y)
      if (CurrentMap.At(kLayerEvents, x, y) == kPosternEvent) px = x, py = y;
  ASSERT_GT(py, 0);
  EXPECT_EQ(CurrentMap.At(kLayerWalls, px, py), 0);
  EXPECT_EQ(CurrentMap.At(kLayerWalls, px, py - 1), 46);
  FirstVisibleX = px - 7;
  FirstVisibleY = py - 6;
  const int sx = 24 * 7, sy = 24 * 6;
  bool door = false, thornbush = false;
  for (const SheetDraw& d : mapscene::RecordScene()) {
    door |= d.slot == kSheetLargeMarks && d.frame == 17 && d.x == sx - 10 && d.y == sy - 24 - 10;
    thornbush |= d.slot == kSheetFloor && d.frame == 59 && d.x == sx && d.y == sy;
    EXPECT_FALSE(d.slot == kSheetLargeMarks && d.frame == 1 && d.x == sx - 10 && d.y == sy - 24 - 10)
        << "a plain wall over the door";
  }
  EXPECT_TRUE(door);
  EXPECT_TRUE(thornbush);
}

// Whatever lies on a square for the party to take is marked there: the
// weapon a fallen foe leaves (a crafted row), a base item, gold and a pile;
// a code the tables do not know is no item.
TEST_F(MapPasses, ThingsLyingOnTheGroundAreMarked) {
  std::snprintf(CraftedWeapons[4701].name, sizeof CraftedWeapons[4701].name, "Club");
  const int32_t lying[] = {4701, 5001, 10050, 200003, 7500};
  for (int i = 0; i < 5; ++i) CurrentMap.At(kLayerObjects0, 2 + i, 2) = lying[i];
  std::vector<int> marked;
  for (const SheetDraw& d : mapscene::RecordScene())
    if (d.slot == kSheetFloor && d.frame == 89) marked.push_back(d.x / 24);
  EXPECT_EQ(marked, (std::vector<int>{2, 3, 4, 5}));
}

// A cone cast without a missile (Burning Hands as the spell table gives it)
// lights every square of its area, the nearest to the caster first, before
// the use goes on to its resolution.
TEST_F(MapPasses, ACastWithoutAMissileAnimatesOverItsWholeArea) {
  constexpr int kBurningHands = 4;
  ASSERT_STREQ(SpellTable[kBurningHands].name, "Burning Hands");
  SpellCaster = mapscene::Place(10, 4, 4, 1);
  SpellInProgress = kBurningHands;
  const int area[3][2] = {{5, 4}, {6, 3}, {6, 5}};
  for (const auto& a : area) AreaMask[SquareIndex(a[0], a[1])] = 1;
  CastingUse.announced = 1;
  ScreenMode = kModeCastAnnounce;
  int firstLit[3] = {-1, -1, -1};
  for (int frame = 0; frame < 100 && ScreenMode == kModeCastAnnounce; ++frame) {
    AnnouncementStep();
    for (const SheetDraw& d : mapscene::RecordScene()) {
      if (d.slot != kSheetGlow || d.frame != 3) continue;
      const int half = static_cast<int>(64 * d.scaleX);
      for (int i = 0; i < 3; ++i)
        if ((d.x + half) / 24 == area[i][0] && (d.y + half) / 24 == area[i][1] && firstLit[i] == -1) firstLit[i] = frame;
    }
  }
  EXPECT_EQ(ScreenMode, kModeResolve);
  for (int i = 0; i < 3; ++i) EXPECT_NE(firstLit[i], -1) << "square " << area[i][0] << "," << area[i][1];
  EXPECT_LT(firstLit[0], firstLit[1]);
}

TEST_F(MapPasses, ASpellsBurstIsTheSizeOfItsAreaAndTwiceThatWidened) {
  SpellCaster = mapscene::Place(10, 4, 4, 1);
  SpellInProgress = 31;
  SpellTable[31].animationKind = 10;
  SpellTable[31].animationColour = 2;
  SpellTable[31].areaSize = 20;
  SpellTable[31].target = 7;
  CastingUse.aimX = 8;
  CastingUse.aimY = 6;
  CastingUse.areaAnimating = 1;
  ScreenMode = kModeCastAnnounce;
  auto burstScale = [] {
    for (const SheetDraw& d : mapscene::RecordScene())
      if (d.slot == 32 && d.frame == 2) return d.scaleX;
    return 0.0f;
  };
  const float plain = burstScale();
  EXPECT_FLOAT_EQ(plain, 20 * 2 / 5 * 24 / 128.0f * 0.3f);
  PendingMetamagic = 3;
  EXPECT_FLOAT_EQ(burstScale(), 2 * plain);
}

// The squares below the creatures are drawn once and kept while nothing they
// show changes: what lies beyond the view and the square round it (its fog,
// its ground, walls and things on it) leaves the kept picture in use; a
// floor patch there, which reaches into the view, and a wall of the square
// round the view (a door's other half) draw it again.
TEST_F(MapPasses, TheKeptSquaresBelowTheCreaturesAreDrawnAgainOnlyForWhatReachesTheView) {
  FirstVisibleX = FirstVisibleY = 25;
  ViewOriginX = ViewOriginY = 24 * 25;
  ForgetStaticLayers();
  mapscene::DrawScene();
  const int drawn = StaticLayersDrawn();
  const int beyond = SquareIndex(20, 30);
  FogGrid[beyond] = 1;
  CurrentMap.layers[kLayerGround][beyond] = 2;
  CurrentMap.layers[kLayerWalls][beyond] = 46;
  CurrentMap.layers[kLayerObjects0][beyond] = 5001;
  mapscene::DrawScene();
  EXPECT_EQ(StaticLayersDrawn(), drawn) << "a change beyond the view drew the squares again";
  CurrentMap.layers[kLayerFloor][beyond] = 3000;
  mapscene::DrawScene();
  EXPECT_EQ(StaticLayersDrawn(), drawn + 1) << "a floor patch beyond the view";
  CurrentMap.At(kLayerWalls, 24, 30) = 82;
  mapscene::DrawScene();
  EXPECT_EQ(StaticLayersDrawn(), drawn + 2) << "a wall of the square round the view";
}

}  // namespace
