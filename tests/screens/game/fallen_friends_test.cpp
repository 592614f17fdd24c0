// A fallen friend on the battle's map: where it lies and is drawn, what the
// pointer names there, the way it no longer bars, the party settling round it
// after a won battle, and a cure aimed at its square.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "combat/actions/action_executor.h"
#include "combat/actions/casting_checks.h"
#include "combat/actions/leaving_combat.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/turns/combat_cycle.h"
#include "creatures/creature_kinds.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/static_layers.h"
#include "engine/text.h"
#include "harness/screen_text.h"
#include "engine/widgets.h"
#include "frontend/saved_games.h"
#include "map/area_shapes.h"
#include "map/charge_lines.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/spell_ids.h"
#include "screens/game/action_menu.h"
#include "screens/game/action_state.h"
#include "screens/game/click_results.h"
#include "screens/game/creature_figures.h"
#include "screens/game/figure_table.h"
#include "screens/game/frame_words.h"
#include "screens/game/map_input.h"
#include "screens/game/map_input_fixture.h"
#include "screens/game/map_base_digest.h"
#include "screens/game/map_mouse_words.h"
#include "screens/game/square_drawing.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"

namespace {

using namespace inputtest;
using screentest::GameScreen;

// A knight behind a friend in a corridor one square wide, an orc beyond the
// friend at (orcX, 4); as the knight's turn begins the friend is knocked
// out, and once the fall has been shown the friend is off the map.
bool KnightBehindFallenFriend(int orcX) {
  harness::SeedRandom(3);
  scenes::LayOutGround(16, 10);
  for (int x = 0; x < 16; ++x) {
    scenes::SetWall(x, 3, 46);
    scenes::SetWall(x, 5, 46);
  }
  scenes::AddKnight(0, 2, 4);
  Creatures[0].dexterity = {40, 40};
  scenes::AddKnight(1, 3, 4);
  scenes::AddFoe(kOrc, kKindOrc, orcX, 4);
  scenes::Finish();
  harness::MoveMouse(300, 220);
  if (!WaitForTurnOf(0)) return false;
  // A blow of 11 takes the friend from 10 hit points to -1: the blow and the
  // fall are played back before the knight acts.
  Creatures[1].hitPoints = -1;
  ClearCombatEvents();
  CombatEvents[0] = CombatEvent{kEventDamage, 11, 1, 0, 0};
  CombatEventReadIndex = 0;
  PlaybackCreature = 1;
  PlaybackFramesLeft = FramesPerEvent;
  if (RemoveFromCombat(1, -1) != kFallKnockedOut) return false;
  CombatState = kStateStartOfTurn;
  return WaitForTurnOf(0) && Creatures[1].present == 0;
}

// The square where the fallen friend lies holds nobody on the map: the
// knight steps onto it to strike the orc beside it, or charges across it at
// the orc beyond, as the pointer says (never "Too Far Away").
TEST_F(GameScreen, AFallenFriendOffTheMapNoLongerBarsTheWay) {
  const struct {
    int orcX;
    int32_t order;
    int endX;
  } cases[] = {{4, kActionStepAndAttack, 3}, {5, kActionCharge, 4}};
  for (const auto& c : cases) {
    ASSERT_TRUE(KnightBehindFallenFriend(c.orcX));
    ClickSquare(c.orcX, 4);
    EXPECT_EQ(CursorShape, 14) << c.orcX;
    EXPECT_EQ(CombatAction.actionCode, c.order) << c.orcX;
    for (int i = 0; i < 200 && CurrentFighter() == 0; ++i) ASSERT_TRUE(harness::StepFrames(1));
    EXPECT_EQ(Creatures[0].squareX, c.endX) << c.orcX;
  }
}

// One frame with the pointer on the square: its sheet draws (every pass
// drawn, none copied from a kept picture) and the texts drawn, in order.
std::vector<SheetDraw> FrameOverSquare(int x, int y, std::string* text) {
  harness::MoveMouse(ScreenX(x), ScreenY(y));
  ForgetStaticLayers();
  std::vector<SheetDraw> draws;
  std::vector<GlyphDraw> glyphs;
  RecordSheetDraws(&draws);
  RecordGlyphs(&glyphs);
  EXPECT_TRUE(harness::StepFrames(1));
  RecordGlyphs(nullptr);
  RecordSheetDraws(nullptr);
  for (const GlyphDraw& g : glyphs) *text += static_cast<char>(g.c);  // blanks draw no glyph
  return draws;
}

struct ViewBox {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
};
// The box of the view's pixels a mark changes in the picture: the frame
// drawn with it shown (`show(true)`), without it, and with it again (the
// marks that blink or fade held, so that nothing else changes from frame to
// frame); the sheet draws of the first kept where asked.
template <typename Show>
ViewBox ChangedBox(Show show, std::vector<SheetDraw>* draws = nullptr) {
  int width = 0, height = 0;
  const auto picture = [&](bool shown, std::vector<SheetDraw>* record) {
    BlinkTick = 0;
    HighlightTimer = 100;
    show(shown);
    RecordSheetDraws(record);
    EXPECT_TRUE(harness::StepFrames(1));
    RecordSheetDraws(nullptr);
    return harness::DevicePicture(&width, &height);
  };
  const std::vector<uint32_t> with = picture(true, draws), without = picture(false, nullptr);
  EXPECT_TRUE(picture(true, nullptr) == with) << "the picture changes from frame to frame";
  const int scale = width / ViewWidth();
  ViewBox box;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y) * width + x;
      if (with[i] == without[i]) continue;
      box.left = std::min(box.left, x / scale);
      box.top = std::min(box.top, y / scale);
      box.right = std::max(box.right, x / scale + 1);
      box.bottom = std::max(box.bottom, y / scale + 1);
    }
  return box;
}

// The member's body: the frame drawn with its place laid and without.
ViewBox BodyBox(int member, std::vector<SheetDraw>* draws = nullptr) {
  const FallenPlace place = FallenPlaces[member];
  return ChangedBox([&](bool shown) { FallenPlaces[member] = shown ? place : FallenPlace{}; }, draws);
}

// The view's pixels of square (x, y): its left and top edges.
int ViewX(int x) { return 24 * x - ViewOriginX; }
int ViewY(int y) { return 24 * y - ViewOriginY; }

// A mark drawn inside square (x, y), `clear` pixels clear of its edges.
void ExpectInsideSquare(const ViewBox& box, int x, int y, int clear) {
  ASSERT_LT(box.left, box.right) << "nothing drawn";
  EXPECT_GE(box.left, ViewX(x) + clear);
  EXPECT_LE(box.right, ViewX(x + 1) - clear);
  EXPECT_GE(box.top, ViewY(y) + clear);
  EXPECT_LE(box.bottom, ViewY(y + 1) - clear);
}

// The knocked-out friend lies where it fell: its own figure on its side on
// the square, which the pointer names; the knight who steps onto the square
// stands over it, the friend drawn again over the knight's feet across the
// bottom of the square, and the knight's box alone names the square.
TEST_F(GameScreen, AFallenFriendLiesWhereItFellNamedUnderThePointer) {
  ASSERT_TRUE(KnightBehindFallenFriend(4));
  int sheet = 0, frame = 0;
  ASSERT_TRUE(FigureSheetFrame(Creatures[1].figure, kFaceDown, 0, &sheet, &frame));
  const auto lying = [&](const SheetDraw& d) { return d.rotated && d.slot == sheet && d.frame == frame; };
  std::string text;
  std::vector<SheetDraw> draws = FrameOverSquare(3, 4, &text);
  EXPECT_EQ(std::count_if(draws.begin(), draws.end(), lying), 1);
  EXPECT_NE(text.find("Berta(Unconscious)"), std::string::npos) << text;

  CreatureRecord& orc = Creatures[kOrc];
  orc.baseHitPoints = orc.maxHitPoints = orc.hitPoints = 500;  // the battle goes on
  ClickSquare(4, 4);
  ASSERT_EQ(CombatAction.actionCode, kActionStepAndAttack);
  for (int i = 0; i < 200 && CurrentFighter() == 0; ++i) ASSERT_TRUE(harness::StepFrames(1));
  ASSERT_TRUE(WaitForTurnOf(0));
  ASSERT_EQ(Creatures[0].squareX, 3);
  text.clear();
  draws = FrameOverSquare(3, 4, &text);
  const auto body = std::find_if(draws.begin(), draws.end(), lying);
  const auto knight = std::find_if(draws.begin(), draws.end(), [](const SheetDraw& d) {
    return d.kind != 1 && !d.rotated && d.x == ScreenPosX[0] && d.y == ScreenPosY[0];
  });
  ASSERT_NE(body, draws.end());
  ASSERT_NE(knight, draws.end());
  EXPECT_LT(body->order, knight->order);
  const auto atFeet = std::find_if(draws.rbegin(), draws.rend(), lying);
  EXPECT_GT(atFeet->order, knight->order);
  EXPECT_EQ(ScreenMode, kModeCreatureHovered);
  EXPECT_EQ(text.find("Berta(Unconscious)"), std::string::npos) << text;
  harness::MoveMouse(300, 220);  // the hint naming the friend away
  ASSERT_TRUE(harness::StepFrames(20));
  const ViewBox box = BodyBox(1);
  ExpectInsideSquare(box, 3, 4, 1);
  EXPECT_GT(box.top + box.bottom, 2 * ViewY(4) + 24);  // below the middle of the square
}

// In every window size the friend's body lies inside its own square, a pixel
// clear of its edges (touching them it read as lying under the neighbours'
// feet), and the arrows of a charge across it are drawn over it.
TEST_F(GameScreen, AFallenFriendLiesInsideItsSquareUnderTheArrowsInEveryWindowSize) {
  for (const uint32_t size : {1u, 2u, 3u}) {
    SCOPED_TRACE(size);
    harness::ChooseMenu(999 + static_cast<int>(size));
    ASSERT_TRUE(harness::StepFrames(1));
    ASSERT_EQ(WindowSize, size);
    ASSERT_TRUE(KnightBehindFallenFriend(5));
    harness::MoveMouse(ViewToPicture(ScreenX(5)), ViewToPicture(ScreenY(4)));
    ASSERT_TRUE(harness::StepFrames(1));
    ASSERT_EQ(CombatAction.actionCode, 0);
    std::vector<SheetDraw> draws;
    ForgetStaticLayers();
    ExpectInsideSquare(BodyBox(1, &draws), 3, 4, 1);
    int sheet = 0, frame = 0;
    ASSERT_TRUE(FigureSheetFrame(Creatures[1].figure, kFaceDown, 0, &sheet, &frame));
    const auto body = std::find_if(draws.begin(), draws.end(),
                                   [&](const SheetDraw& d) { return d.rotated && d.slot == sheet && d.frame == frame; });
    const auto arrow = std::find_if(draws.begin(), draws.end(), [](const SheetDraw& d) {
      return d.slot == kSheetArrows && d.x == ViewX(3) - 5 && d.y == ViewY(4) - 5;
    });
    ASSERT_NE(body, draws.end());
    ASSERT_NE(arrow, draws.end()) << "no arrow on the body's square";
    EXPECT_LT(body->order, arrow->order);
  }
}

// The marker of the knight whose turn it is stands over the knight's own
// square whichever side a friend stands on: its drawn texels inside the
// square (sixteen pixels higher they lay on the figure north of it).
TEST_F(GameScreen, TheTurnMarkerStandsOverTheActingFightersOwnSquare) {
  const struct {
    const char* side;
    int x, y;
  } neighbours[] = {{"north", 5, 4}, {"south", 5, 6}, {"east", 6, 5}, {"west", 4, 5}};
  for (const auto& n : neighbours) {
    SCOPED_TRACE(n.side);
    harness::SeedRandom(3);
    scenes::LayOutGround(16, 10);
    scenes::AddKnight(0, 5, 5);
    Creatures[0].dexterity = {40, 40};
    scenes::AddKnight(1, n.x, n.y);
    scenes::AddFoe(kOrc, kKindOrc, 8, 8);
    scenes::Finish();
    harness::MoveMouse(100, 30);
    ASSERT_TRUE(WaitForTurnOf(0));
    ExpectInsideSquare(ChangedBox([](bool shown) { BlinkTick = shown ? 15 : 5; }), 5, 5, 0);
  }
}

// The friend knocked out at (3, 4) is dead.
void FriendDies() {
  RemoveCondition(1, kCondUnconscious);
  AddCondition(1, kCondDead, kDurationLasting, 0, 0, 0);
  Creatures[1].hitPoints = -10;
}

// A game saved with the friend dead and taken up again shows the friend
// lying where it fell, not on the leader's square, where the party gathers;
// saved and taken up once more, it still lies there.
TEST_F(GameScreen, ADeadFriendStillLiesWhereItFellInAGameTakenUp) {
  std::filesystem::path folder;
  ASSERT_TRUE(harness::MakeOwnGameFolder(&folder));
  ASSERT_TRUE(KnightBehindFallenFriend(5));
  FriendDies();
  for (int load = 1; load <= 2; ++load) {
    SCOPED_TRACE(load);
    ASSERT_EQ(WriteSavedGame(1), 0);
    ASSERT_EQ(LoadSavedGame(1), 0);
    EXPECT_EQ(Creatures[1].squareX, 3);
    EXPECT_EQ(Creatures[1].squareY, 4);
    ASSERT_TRUE(harness::StepFrames(2));
    ExpectInsideSquare(BodyBox(1), 3, 4, 1);
  }
  harness::RemoveOwnGameFolder(folder);
}

// The knight steps onto the dead friend's square to strike the orc, which
// falls: once the victory is clicked away the party settles off the body,
// which still lies where it fell.
TEST_F(GameScreen, AWonBattleSettlesNobodyOnAFallenFriend) {
  ASSERT_TRUE(KnightBehindFallenFriend(4));
  FriendDies();
  Creatures[kOrc].hitPoints = 1;
  ClickSquare(4, 4);
  ASSERT_EQ(CombatAction.actionCode, kActionStepAndAttack);
  for (int i = 0; i < 600 && ScreenMode != kModeVictory; ++i) ASSERT_TRUE(harness::StepFrames(1));
  ASSERT_EQ(ScreenMode, kModeVictory);
  harness::Click(160, 120);
  ASSERT_TRUE(harness::StepFrames(5));
  ASSERT_EQ(InCombat, 0);
  // As the party settles, and again once the frames after it have run.
  for (const int frames : {0, 120}) {
    SCOPED_TRACE(frames);
    ASSERT_TRUE(harness::StepFrames(frames));
    EXPECT_FALSE(Creatures[0].squareX == 3 && Creatures[0].squareY == 4);
    EXPECT_EQ(Creatures[1].squareX, 3);
    ExpectInsideSquare(BodyBox(1), 3, 4, 1);
  }
}

// A cleric's Cure Light Wounds aimed by a click at the square where the
// knocked-out friend lies reaches the one there that the spell can take:
// the friend lying alone, or under a figure the spell refuses (the cleric
// unhurt, a foe), and the cleric when it is hurt; a dead friend lying alone
// nobody; Inflict Light Wounds the orc over her. Before the aiming the
// pointer names the friend lying alone, and a figure standing over it is
// hovered alone (never its box and the friend's name together); while
// aiming, the hint beside the spell's icon names whom the click reaches
// (with the touch's chance at a foe), and nobody where it reaches nobody.
TEST_F(GameScreen, ACureAimedAtAFallenFriendsSquareReachesWhomItCan) {
  const struct {
    const char* what;
    int standing;  // the creature standing on the friend's square, -1 none
    bool hurt;
    bool dead;     // the friend has died
    int target;           // -1: the click is refused
    const char* aimHint;  // nullptr: the orc's name and the touch's chance
    int spell = kSpellCureLightWounds;
  } rows[] = {{"lying alone", -1, false, false, 1, "Berta (Unconscious)"},
              {"under the unhurt cleric", 0, false, false, 1, "Berta (Unconscious)"},
              {"under the hurt cleric", 0, true, false, 0, "Aldwin"},
              {"under an orc", kOrc, false, false, 1, "Berta (Unconscious)"},
              {"dead, lying alone", -1, false, true, -1, ""},
              {"an orc over her, inflicting", kOrc, false, false, kOrc, nullptr, kSpellInflictLightWounds}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ASSERT_TRUE(KnightBehindFallenFriend(5));
    if (row.dead) FriendDies();
    CreatureRecord& cleric = Creatures[0];
    cleric.creatureClass = kClassCleric;
    cleric.knownSpells[row.spell] = 1;
    for (int32_t& left : cleric.spellsLeft) left = 3;
    if (row.hurt) cleric.hitPoints = cleric.maxHitPoints - 3;
    if (row.standing != -1) {
      CreatureRecord& c = Creatures[row.standing];
      c.squareX = c.nextX = 3;
      c.squareY = c.nextY = 4;
      c.pixelX = 72;
      c.pixelY = 96;
    }
    std::string text;
    FrameOverSquare(3, 4, &text);
    const std::string lying = row.dead ? "Berta(Dead)" : "Berta(Unconscious)";
    EXPECT_EQ(text.find(lying) != std::string::npos, row.standing == -1) << text;
    EXPECT_EQ(ScreenMode == kModeCreatureHovered, row.standing != -1);
    SpellInProgress = row.spell;
    SpellCaster = 0;
    CastStarted = 1;
    ScreenMode = kModeCastStart;
    for (int i = 0; i < 200 && !AimingRests(); ++i) ASSERT_TRUE(harness::StepFrames(1));
    ASSERT_TRUE(AimingRests());
    text.clear();
    FrameOverSquare(3, 4, &text);
    const std::string hint = row.aimHint ? row.aimHint
                                         : std::string(Creatures[kOrc].name) + " " + std::to_string(CursorChance) + "%";
    EXPECT_GE(row.aimHint ? 0 : CursorChance, 0);
    EXPECT_EQ(CursorHint, hint);
    std::string drawn = hint;
    drawn.erase(std::remove(drawn.begin(), drawn.end(), ' '), drawn.end());
    EXPECT_NE(text.find(drawn), std::string::npos) << text;
    ClickSquare(3, 4);
    EXPECT_EQ(ScreenMode == kModeCastSpend, row.target != -1);
    if (row.target != -1) {
      EXPECT_EQ(AreaTargetList[0], row.target);
    }
  }
}

}  // namespace
