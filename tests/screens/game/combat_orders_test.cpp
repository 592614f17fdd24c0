// Orders by mouse on a knight's turn, and spells aimed by mouse: each click
// gives the order the rules ask for, a refused one gives its reason and
// spends nothing.
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

// A knight (an archer with archer set) at (3, 4) and foes of a kind on the
// given squares (ids from kOrc); the battle runs until the knight's turn,
// which comes first (the knight's Dexterity wins the initiative), the mouse
// away from them, the foes where they were put.
bool KnightFaces(const std::vector<std::pair<int, int>>& foes, int kind = kKindOrc, bool archer = false) {
  harness::SeedRandom(3);
  scenes::LayOutGround(16, 10);
  scenes::AddKnight(0, 3, 4, archer);
  Creatures[0].dexterity = {40, 40};
  int id = kOrc;
  for (const auto& [x, y] : foes) scenes::AddFoe(id++, kind, x, y);
  scenes::Finish();
  harness::MoveMouse(300, 220);
  if (!WaitForTurnOf(0) || CombatRoundNumber != 1) return false;
  id = kOrc;
  for (const auto& [x, y] : foes)
    if (Creatures[id].squareX != x || Creatures[id++].squareY != y) return false;
  return true;
}
// The same with one orc, at (x, y).
bool KnightFacesOrc(int x, bool archer = false, int y = 4) { return KnightFaces({{x, y}}, kKindOrc, archer); }

// The texels of a rectangle of a sheet (the arrows sheet unless another is
// named), row by row.
std::vector<uint32_t> SheetTexels(int left, int top, int width, int height, int slot = kSheetArrows) {
  std::vector<uint32_t> texels;
  const platform::Texture* sheet = SheetBank.records[slot].texture.get();
  if (!sheet || left < 0 || top < 0 || left + width > sheet->Width() || top + height > sheet->Height()) return texels;
  for (int y = top; y < top + height; ++y) {
    const uint32_t* row = sheet->Pixels() + y * sheet->Width() + left;
    texels.insert(texels.end(), row, row + width);
  }
  return texels;
}
std::vector<uint32_t> ArrowFrameTexels(int frame) {
  int l = 0, t = 0, w = 0, h = 0;
  return SheetFrameRect(kSheetArrows, frame, &l, &t, &w, &h) ? SheetTexels(l, t, w, h) : std::vector<uint32_t>{};
}
bool Ink(uint32_t texel) { return (texel >> 24) >= 8; }

// The texels of each path arrow the next frame draws (every pass drawn,
// none copied from a kept picture), by the square it stands on (an arrow is
// drawn 5 pixels up and left of its square).
using SquareTexels = std::map<std::pair<int, int>, std::vector<uint32_t>>;
SquareTexels ArrowsOfNextFrame() {
  ForgetStaticLayers();
  std::vector<SheetDraw> draws;
  RecordSheetDraws(&draws);
  const bool stepped = harness::StepFrames(1);
  RecordSheetDraws(nullptr);
  SquareTexels arrows;
  for (const SheetDraw& d : draws)
    if (stepped && d.slot == kSheetArrows)
      arrows[{(d.x + 5 + ViewOriginX) / 24, (d.y + 5 + ViewOriginY) / 24}] =
          SheetTexels(d.srcLeft, d.srcTop, d.srcWidth, d.srcHeight);
  return arrows;
}
// What the next frame (every pass drawn) shows of an aim, by the texels
// drawn: the squares that get the mark of a spell's area (frame 34 of the
// area marks sheet, which also marks the squares side 2 threatens), those
// that get frame 35 (the party side threatens them), and whether "no
// entry" (figure 581) stands on the pointer.
struct AimShown {
  std::set<std::pair<int, int>> marks, partyMarks;
  bool refused = false;
};
AimShown AimOfNextFrame() {
  ForgetStaticLayers();
  std::vector<SheetDraw> draws;
  RecordSheetDraws(&draws);
  const bool stepped = harness::StepFrames(1);
  RecordSheetDraws(nullptr);
  AimShown shown;
  constexpr int kNoEntry = 581, kNoEntrySheet = kFirstFigureSheet + kNoEntry / kFiguresPerSheet;
  int l = 0, t = 0, w = 0, h = 0;
  if (!stepped || !SheetFrameRect(kSheetAreaMarks, 34, &l, &t, &w, &h)) return shown;
  const std::vector<uint32_t> mark = SheetTexels(l, t, w, h, kSheetAreaMarks);
  if (!SheetFrameRect(kSheetAreaMarks, 35, &l, &t, &w, &h)) return shown;
  const std::vector<uint32_t> partyMark = SheetTexels(l, t, w, h, kSheetAreaMarks);
  if (!SheetFrameRect(kNoEntrySheet, kNoEntry % kFiguresPerSheet, &l, &t, &w, &h)) return shown;
  const std::vector<uint32_t> noEntry = SheetTexels(l, t, w, h, kNoEntrySheet);
  for (const SheetDraw& d : draws) {
    if (d.slot != kSheetAreaMarks && d.slot != kNoEntrySheet) continue;
    const std::vector<uint32_t> texels = SheetTexels(d.srcLeft, d.srcTop, d.srcWidth, d.srcHeight, d.slot);
    const std::pair<int, int> square{(d.x + 12 + ViewOriginX) / 24, (d.y + 12 + ViewOriginY) / 24};
    if (d.slot == kSheetAreaMarks && texels == mark)
      shown.marks.insert(square);
    else if (d.slot == kSheetAreaMarks && texels == partyMark)
      shown.partyMarks.insert(square);
    else if (d.slot == kNoEntrySheet && texels == noEntry)
      shown.refused = true;
  }
  return shown;
}
// The compass direction (1 north, clockwise) of a drawn path arrow: that of
// the walk's arrow of the same shape (frames 1 to 8, north first,
// clockwise), on a square threatened or not (the corners of frames 101 to
// 108 and 201 to 208); -1 when none has it.
int PointsTo(const std::vector<uint32_t>& texels) {
  for (int direction = 1; direction <= 8; ++direction)
    for (int band : {0, 100, 200}) {
      const std::vector<uint32_t> walk = ArrowFrameTexels(band + direction);
      if (std::equal(texels.begin(), texels.end(), walk.begin(), walk.end(),
                     [](uint32_t a, uint32_t b) { return Ink(a) == Ink(b); }))
        return direction;
    }
  return -1;
}

TEST_F(GameScreen, AClickOnAnAdjacentEnemyOrdersAFullAttack) {
  ASSERT_TRUE(KnightFacesOrc(4));
  ClickSquare(4, 4);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, kActionFullAttack);
  EXPECT_EQ(ActingCreature, 0);
  EXPECT_EQ(ActionTarget, kOrc);
}

// Over a cowering orc the chance is as good as sure, but the attack still
// misses on a natural 1: 95. Over a sleeping one the click gives a coup de
// grace, which hits without a roll: 100.
TEST_F(GameScreen, OnlyACoupDeGraceShowsASureHit) {
  ASSERT_TRUE(KnightFacesOrc(4));
  AddCondition(kOrc, kCondCowering, 5, 0, 18, 0);
  MouseAt(inputtest::ScreenX(4), inputtest::ScreenY(4));
  MouseAt(inputtest::ScreenX(4), inputtest::ScreenY(4));
  EXPECT_EQ(CursorChance, 95);
  RemoveCondition(kOrc, kCondCowering);
  AddCondition(kOrc, kCondSleeping, 5, 0, 18, 0);
  ClickSquare(4, 4);
  EXPECT_EQ(CursorChance, 100);
  EXPECT_EQ(CoupDeGraceAction, 1);
  EXPECT_EQ(CombatAction.actionCode, kActionMeleeAttack);
}

TEST_F(GameScreen, AnAttackTheTurnCannotMakeShowsNoAttackAndSaysWhy) {
  ASSERT_TRUE(KnightFacesOrc(4));
  const CombatActionState turn = CombatAction;
  // After a double move: no attack cursor, and the reason; the click orders nothing.
  CombatAction.movesLeft = 0;
  CombatAction.standardActionLeft = CombatAction.fullRoundActionLeft = CombatAction.moveActionLeft = 0;
  ClickSquare(4, 4);
  EXPECT_EQ(CursorShape, 18);
  EXPECT_EQ(ClickResult.code, 75);
  EXPECT_STREQ(ClickResultText(75), "You need a Standard Action");
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  // With its attack left but its movement closed, a foe further off is out of reach.
  CombatAction = turn;
  CombatAction.movementClosed = 1;
  Creatures[kOrc].squareX = Creatures[kOrc].nextX = 6;
  Creatures[kOrc].pixelX = 6 * 24;
  ScreenMode = kModeExploring;
  ClickResult.code = -1;
  ClickSquare(6, 4);
  EXPECT_EQ(ClickResult.code, 34);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  // Back beside the knight under a wall: the top of its figure, drawn into
  // the wall's square, answers as that square does (refused); its own square
  // takes the click.
  CombatAction = turn;
  Creatures[kOrc].squareX = Creatures[kOrc].nextX = 4;
  Creatures[kOrc].pixelX = 4 * 24;
  CurrentMap.At(kLayerWalls, 4, 3) = 46;
  ScreenMode = kModeExploring;
  ClickResult.code = -1;
  const int top = 4 * 24 - 2 - ViewOriginY;
  MouseAt(inputtest::ScreenX(4), top);
  MouseAt(inputtest::ScreenX(4), top, true);
  EXPECT_EQ(CursorShape, 18);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  ClickSquare(4, 4);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(ActionTarget, kOrc);
}

// The orc two squares off a knight (speed 20) who has walked already: the
// hover says what the click will do with the moves left. After 5 feet the
// step toward the orc keeps the attack: its cursor, banner and chance, and
// the click moves and attacks. After 20 feet the step would spend the
// attack: the walk cursor alone, and the click walks without an attack.
TEST_F(GameScreen, TheHoverOnAnEnemyOutOfReachShowsWhatTheClickDoes) {
  for (const int walked : {5, 20}) {
    ASSERT_TRUE(KnightFacesOrc(5));
    const int32_t speed = Creatures[0].speed.current;
    ASSERT_EQ(speed, 20);
    CombatActionState& a = CombatAction;
    a.movesLeft = 2 * speed - walked;
    a.fullRoundActionLeft = a.fiveFootStepLeft = 0;
    const bool attacks = walked == 5;
    ClickSquare(5, 4);
    EXPECT_EQ(CursorShape, attacks ? 14 : 12) << walked;
    EXPECT_EQ(AttackKindShown, attacks ? 2u : 0u) << walked;
    EXPECT_EQ(CombatAction.actionCode, attacks ? kActionMoveAndAttack : kActionWalkPath) << walked;
    bool attacked = false;
    for (int i = 0; i < 200 && CurrentFighter() == 0; ++i) {
      attacked |= CombatAction.actionCode == kActionMeleeAttack || CombatAction.actionCode == kActionFullAttack;
      ASSERT_TRUE(harness::StepFrames(1));
    }
    EXPECT_EQ(attacked, attacks) << walked;
    EXPECT_EQ(Creatures[0].squareX, 4) << walked;
  }
}

// The keypad on the knight's turn: toward the foe beside it an attack,
// toward open ground a step; Tab opens the combat rolls.
TEST_F(GameScreen, TheKeypadAttacksOrStepsAndTabOpensTheRolls) {
  ASSERT_TRUE(KnightFacesOrc(4));
  auto keypad = [](const char* key) {
    harness::KeyDown(key);
    screentest::ReadInput();
    MainScreenKeys();
    harness::KeyUp(key);
    screentest::ReadInput();
  };
  const CombatActionState turn = CombatAction;
  const uint8_t rolls = CombatRollsPanelShown;
  keypad("Tab");
  EXPECT_NE(CombatRollsPanelShown, rolls);
  keypad("Keypad 6");
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, kActionNextAttack);
  EXPECT_EQ(ActionTarget, kOrc);
  CombatAction = turn;
  CombatState = kStatePlayerTurn;
  keypad("Keypad 2");
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, kActionWalkPath);
  EXPECT_EQ(Creatures[0].nextY, 5);
}

TEST_F(GameScreen, AClickOnADistantEnemyOrdersACharge) {
  ASSERT_TRUE(KnightFacesOrc(9));
  ClickSquare(9, 4);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, kActionCharge);
  EXPECT_GE(FindCondition(0, kCondCharging), 0);
  EXPECT_EQ(ActionTarget, kOrc);
}

TEST_F(GameScreen, AClickOnOpenGroundWalksThePreviewedPath) {
  ASSERT_TRUE(KnightFacesOrc(9));
  ClickSquare(5, 6);
  EXPECT_EQ(CursorShape, 12);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, kActionWalkPath);
  EXPECT_EQ(Creatures[0].destinationX, 5);
  EXPECT_EQ(Creatures[0].destinationY, 6);
}

// C on a turn that can cast nothing: the reason stands beside the pointer
// wherever it goes, and the next click on the map only ends it (it was meant
// for a spell's target); the click after it walks.
TEST_F(GameScreen, CWithNoSpellToCastSaysWhyAndTheNextClickWalksNobody) {
  const struct {
    int32_t klass;
    const char* said;
  } rows[] = {{kClassWizard, "You must rest"}, {kClassKnight, "Knights can't cast spells"}};
  for (const auto& row : rows) {
    ASSERT_TRUE(KnightFacesOrc(9));
    Creatures[0].creatureClass = row.klass;
    std::fill(std::begin(Creatures[0].spellsLeft), std::end(Creatures[0].spellsLeft), 0);
    ASSERT_TRUE(harness::PressKey("C"));
    EXPECT_STREQ(CursorHint, row.said);
    harness::MoveMouse(ScreenX(5), ScreenY(6));
    ASSERT_TRUE(harness::StepFrames(2));
    EXPECT_STREQ(CursorHint, row.said) << "the reason goes with the pointer";
    EXPECT_NE(CursorShape, 12) << "no walk is offered meanwhile";
    harness::Click(ScreenX(5), ScreenY(6));
    ASSERT_TRUE(harness::StepFrames(1));
    EXPECT_EQ(CombatState, kStatePlayerTurn);
    EXPECT_EQ(CombatAction.actionCode, 0);
    EXPECT_STREQ(CursorHint, "");
    harness::Click(ScreenX(5), ScreenY(6));
    EXPECT_EQ(CombatAction.actionCode, kActionWalkPath);
    EXPECT_EQ(Creatures[0].destinationX, 5);
  }
}

// The map's marks are those of what they describe: the path arrows of the
// square under the cursor (none once the cursor is on the action list), or
// of a move under way, never of an action that moves nobody (a reload or the
// inventory beside a foe, whose attack of opportunity is no walk); and no
// threatened squares once the battle is over (a spell aimed after it).
TEST_F(GameScreen, TheMarksOnTheMapAreThoseOfTheHoverAndOfTheBattle) {
  ASSERT_TRUE(KnightFacesOrc(4));
  const struct {
    int32_t code;
    bool arrows;
  } underWay[] = {{kActionWalkPath, true},  {kActionFiveFootStep, true}, {kActionMoveAndAttack, true},
                  {kActionCharge, true},    {kActionInventory, false},   {kActionReload, false},
                  {kActionFullAttack, false}};
  for (const auto& row : underWay) {
    MouseAt(inputtest::ScreenX(1), inputtest::ScreenY(6));
    EXPECT_EQ(CursorShape, 12);
    EXPECT_TRUE(MoveArrowsShown());
    CombatAction.actionCode = row.code;
    MouseAt(inputtest::ScreenX(1), inputtest::ScreenY(6));  // the next frame's hover
    EXPECT_EQ(MoveArrowsShown(), row.arrows) << row.code;
    CombatAction.actionCode = kActionNone;
  }
  MouseAt(inputtest::ScreenX(1), inputtest::ScreenY(6));
  MouseAt(250, 40);  // on the action list
  EXPECT_FALSE(MoveArrowsShown());
  OptionWords[kOptionDisplayThreatAreas] = 1;
  MoveRangeAllowed = 1;
  EXPECT_TRUE(MoveRangeShown());
  InCombat = 0;
  SpellInProgress = kSpellCureLightWounds;
  ScreenMode = kModeTargetFirst;
  EXPECT_FALSE(MoveRangeShown());
}

// Every square of the five-foot step draws the arrow of its own direction:
// the eight squares round the knight offered by M, and the step a path
// search finds toward an orc two squares off (north-east, then south).
TEST_F(GameScreen, EachFiveFootStepDrawsTheArrowOfItsDirection) {
  ASSERT_TRUE(KnightFacesOrc(9));
  ASSERT_TRUE(harness::PressKey("M"));
  SquareTexels arrows = ArrowsOfNextFrame();
  EXPECT_EQ(arrows.size(), 8u);
  for (const auto& [square, texels] : arrows)
    EXPECT_EQ(PointsTo(texels), Direction8(3, 4, square.first, square.second)) << square.first << "," << square.second;
  for (const auto& [x, y] : {std::pair{5, 2}, std::pair{3, 6}}) {
    ASSERT_TRUE(KnightFacesOrc(x, false, y));
    MouseAt(ScreenX(x), ScreenY(y));
    MouseAt(ScreenX(x), ScreenY(y));
    ASSERT_EQ(CursorShape, 14);
    arrows = ArrowsOfNextFrame();
    ASSERT_EQ(arrows.size(), 1u) << "the step's square alone";
    const auto& [square, texels] = *arrows.begin();
    EXPECT_EQ(PointsTo(texels), Direction8(3, 4, square.first, square.second)) << x << "," << y;
  }
}

// The frame of the arrows sheet whose texels a drawn arrow has: a walk's
// arrow (1-24), a five-foot step's (25-32) or the crossed blades (33), alone
// or with the blue (+100) or red (+200) corners of a threatened square; -1
// when none.
int DrawnArrowFrame(const std::vector<uint32_t>& texels) {
  for (int band : {0, 100, 200})
    for (int frame = band + 1; frame <= band + 33; ++frame)
      if (ArrowFrameTexels(frame) == texels) return frame;
  return -1;
}
// The attacks of opportunity against the knight the log has told of.
int AttacksOfOpportunityOnKnight() {
  const std::string line = std::string("gets @AOO@ against \xA3") + Creatures[0].name + "\xA3";
  int n = 0;
  for (const char* p = MessageLogText; (p = std::strstr(p, line.c_str())) != nullptr; ++p) ++n;
  return n;
}

// Every path the knight's hover previews marks the squares foes threaten
// (the red corners) and the squares whose leaving provokes (the crossed
// blades), and the move the click then carries out draws its attacks of
// opportunity on exactly those squares: a walk west between two centipedes,
// a move and an attack of a knight too tired to charge, a five-foot step
// and an attack (a step provokes nothing), and a charge past two foes.
TEST_F(GameScreen, EveryPreviewedPathShowsWhereFoesThreatenAndWhereItProvokes) {
  const struct {
    const char* path;
    std::vector<std::pair<int, int>> foes;  // centipedes, none flat-footed
    int x, y;  // the square pointed at
    bool fatigued;
    int32_t cursor;
    uint32_t attackShown;  // the banner's: 0 none, 1 charge, 2 attack
    bool step;  // the path's square shows a five-foot step's arrow, not a walk's
    bool provokes;
    bool invisible = false;  // the knight, seen only by the first `seeing` foes (True Seeing)
    size_t seeing = 0;
  } paths[] = {
      {"walk", {{2, 3}, {2, 5}}, 0, 4, false, 12, 0, false, true},
      {"move and attack", {{4, 5}, {7, 4}}, 7, 4, true, 14, 2, false, true},
      {"step and attack", {{2, 3}, {5, 4}}, 5, 4, false, 14, 2, true, false},
      {"charge", {{4, 5}, {6, 3}, {9, 4}}, 9, 4, false, 14, 1, false, true},
      {"invisible walk", {{4, 3}, {1, 5}}, 0, 4, false, 12, 0, false, true, true, 1},
  };
  for (const auto& row : paths) {
    SCOPED_TRACE(row.path);
    ASSERT_TRUE(KnightFaces(row.foes, kKindCentipede));
    for (size_t i = 0; i < row.foes.size(); ++i) RemoveCondition(kOrc + static_cast<int>(i), kCondFlatFooted);
    if (row.fatigued) AddCondition(0, kCondFatigued, 10, 0, 18, 0);
    if (row.invisible) AddCondition(0, kCondInvisible, 10, 0, 18, 0);
    for (size_t i = 0; i < row.seeing; ++i) AddCondition(kOrc + static_cast<int>(i), kCondTrueSeeing, 10, 0, 18, 0);
    const size_t threatening = row.invisible ? row.seeing : row.foes.size();
    MouseAt(ScreenX(row.x), ScreenY(row.y));
    MouseAt(ScreenX(row.x), ScreenY(row.y));  // a foe's hover takes the second
    ASSERT_EQ(CursorShape, row.cursor);
    const SquareTexels arrows = ArrowsOfNextFrame();
    ASSERT_EQ(AttackKindShown, row.attackShown);
    const auto threatened = [&](int x, int y) {
      return std::any_of(row.foes.begin(), row.foes.begin() + threatening, [&](const std::pair<int, int>& f) {
        return std::max(std::abs(f.first - x), std::abs(f.second - y)) == 1;
      });
    };
    // Every square of the path draws an arrow; every arrow drawn (the
    // knight's own square's too) has red corners just where a foe threatens.
    const FighterSlot& slot = FighterSlots[Creatures[0].fighterSlot];
    const bool charge = row.attackShown == 1;  // its line starts on the knight's square
    for (int i = charge ? 1 : 0; i < kPathLength && slot.pathX[i] != -1; ++i) {
      EXPECT_EQ(arrows.count({slot.pathX[i], slot.pathY[i]}), 1u) << slot.pathX[i] << "," << slot.pathY[i];
      if (charge && slot.pathX[i] == ChargeStopX && slot.pathY[i] == ChargeStopY) break;
    }
    std::vector<std::pair<int, int>> blades;
    for (const auto& [square, texels] : arrows) {
      const int frame = DrawnArrowFrame(texels), kind = frame % 100;
      EXPECT_EQ(frame / 100 == 2, threatened(square.first, square.second)) << square.first << "," << square.second;
      EXPECT_TRUE(kind == 33 || (row.step ? kind >= 25 && kind <= 32 : kind >= 1 && kind <= 24)) << frame;
      if (kind == 33) blades.push_back(square);
    }
    // The move carried out: each attack of opportunity comes as the knight
    // stands on a square of crossed blades, and each such square draws one.
    ClickSquare(row.x, row.y);
    ASSERT_EQ(CombatState, kStateActionUnderWay);
    std::vector<std::pair<int, int>> provoked;
    for (int i = 0; i < 600 && CombatState == kStateActionUnderWay; ++i) {
      const int before = AttacksOfOpportunityOnKnight();
      ASSERT_TRUE(harness::StepFrames(1));
      const std::pair<int, int> at{Creatures[0].squareX, Creatures[0].squareY};
      if (AttacksOfOpportunityOnKnight() > before && std::find(provoked.begin(), provoked.end(), at) == provoked.end())
        provoked.push_back(at);
    }
    std::sort(provoked.begin(), provoked.end());
    EXPECT_EQ(provoked, blades);
    EXPECT_EQ(!provoked.empty(), row.provokes);
  }
}

// On each member's turn, the pointer resting on a wall (where no path is
// sought), the squares drawn as threatened are those of the battle as it
// stands: each combatant able to take an attack of opportunity marks its
// square and the ring round it, side 2 with frame 34 over the party's 35.
// Aldwin's first turn (the centipede flat-footed yet), his turn after a
// walk (the pointer taken to the wall as he walks), Berta's after his, his
// next after the centipede's, and his first after the game is saved and
// loaded and the battle begun again.
TEST_F(GameScreen, EachTurnDrawsTheSquaresThreatenedAsTheBattleStands) {
  std::filesystem::path folder;
  ASSERT_TRUE(harness::MakeOwnGameFolder(&folder));
  harness::SeedRandom(3);
  scenes::LayOutGround(16, 10);
  scenes::SetWall(1, 1, 46);
  scenes::AddKnight(0, 3, 4);
  scenes::AddKnight(1, 3, 6);
  Creatures[0].dexterity = {40, 40};
  const int centipede = kOrc;
  scenes::AddFoe(centipede, kKindCentipede, 7, 5);
  scenes::Finish();
  const auto onWall = [] { harness::MoveMouse(ScreenX(1), ScreenY(1)); };
  onWall();
  const struct {
    const char* turn;
    const char* before;  // "walk", "Space" or "load"
    int member;
    std::vector<int> threatening;
  } turns[] = {
      {"Aldwin's first", "", 0, {0, 1}},
      {"Aldwin's after his walk", "walk", 0, {0, 1}},
      {"Berta's", "Space", 1, {0, 1}},
      {"Aldwin's after the centipede's", "Space", 0, {0, 1, centipede}},
      {"Aldwin's after a load", "load", 0, {0, 1}},
  };
  for (const auto& row : turns) {
    SCOPED_TRACE(row.turn);
    const std::string before = row.before;
    if (before == "walk") {
      ClickSquare(5, 4);
      onWall();
    } else if (before == "Space") {
      ASSERT_TRUE(harness::PressKey("Space"));
    } else if (before == "load") {
      ASSERT_TRUE(WriteSavedGame(1) == 0 && LoadSavedGame(1) == 0);
    }
    ASSERT_TRUE(WaitForTurnOf(row.member));
    onWall();
    std::set<std::pair<int, int>> foes, friends;
    for (int c : row.threatening)
      for (int x = Creatures[c].squareX - 1; x <= Creatures[c].squareX + 1; ++x)
        for (int y = Creatures[c].squareY - 1; y <= Creatures[c].squareY + 1; ++y)
          if (x >= 0 && y >= 0 && x < 16 && y < 10) (c == centipede ? foes : friends).insert({x, y});
    for (const auto& square : foes) friends.erase(square);
    const AimShown shown = AimOfNextFrame();
    EXPECT_EQ(shown.marks, foes);
    EXPECT_EQ(shown.partyMarks, friends);
  }
  harness::RemoveOwnGameFolder(folder);
}

// The right button on the orc switches to the bow; the click shoots. The
// line of fire shown while the pointer rests on the orc goes with the shot.
TEST_F(GameScreen, AnArcherShootsAfterTheRightButtonSwitchesToTheBow) {
  ASSERT_TRUE(KnightFacesOrc(9, true));
  OptionWords[kOptionDisplayThreatAreas] = 1;
  ClickSquare(9, 4, 1);
  EXPECT_EQ(WeaponMode, 2);
  MouseAt(inputtest::ScreenX(9), inputtest::ScreenY(4));
  EXPECT_TRUE(MoveRangeShown());
  ClickSquare(9, 4);
  EXPECT_EQ(CombatState, kStateActionUnderWay);
  EXPECT_EQ(CombatAction.actionCode, kActionFullShots);
  EXPECT_EQ(ActionTarget, kOrc);
  MouseAt(inputtest::ScreenX(9), inputtest::ScreenY(4));
  EXPECT_FALSE(MoveRangeShown());
}

// Berta's light crossbow wants reloading. Over the rooted orc out of reach
// the melee pointer tells of the right button while her turn holds a shot,
// and no longer once her standard action is spent (as by a cast): the move
// left would reload, but shoot nothing.
TEST_F(GameScreen, TheRightButtonIsOfferedForAShotOnlyWhileTheTurnHoldsOne) {
  harness::SeedRandom(7);
  ASSERT_TRUE(scenes::LayOutScene("bolts"));
  harness::MoveMouse(300, 220);
  ASSERT_TRUE(WaitForTurnOf(0));
  CraftedWeapons[Creatures[0].equipment[kSlotRanged - 1]].charges = 0;
  harness::MoveMouse(inputtest::ScreenX(7), inputtest::ScreenY(3));
  harness::StepFrames(3);
  EXPECT_EQ(ShotSwitchShown, 1);
  CombatAction.standardActionLeft = CombatAction.fullRoundActionLeft = 0;
  harness::StepFrames(3);
  EXPECT_EQ(CursorShape, 12);
  EXPECT_EQ(ShotSwitchShown, 0);
  EXPECT_STRNE(CursorHint, "Right-click: Switch to Ranged");
}

// A cleric chooses Turn Undead on the action list with the view away from
// her: the view glides to her and the squares slide under the pointer. A
// click meanwhile is not taken (it would land on a slid square, whose cone
// holds no undead, and cancel the turning), and the pointer says so; once
// the view rests, a click on the skeleton turns it.
TEST_F(GameScreen, AClickWhileTheViewGlidesToTheClericLeavesTheTurningWaiting) {
  harness::SeedRandom(3);
  scenes::LayOutGround(30, 20);
  scenes::AddKnight(0, 5, 10);
  Creatures[0].creatureClass = kClassCleric;
  Creatures[0].displayWords[kDisplayTurnUndeadUses] = 3;
  Creatures[0].dexterity = {40, 40};
  scenes::AddFoe(kOrc, kKindSkeleton, 8, 10);
  scenes::Finish();
  harness::MoveMouse(300, 220);
  ASSERT_TRUE(WaitForTurnOf(0));
  ViewOriginY += 120;  // the player has looked away
  ASSERT_TRUE(harness::StepFrames(1));
  const int32_t* kinds = ActionMenuList.kinds;
  const int row = static_cast<int>(std::find(kinds, kinds + ActionMenuList.count, kActTurnUndead) - kinds);
  ASSERT_LT(row, static_cast<int>(ActionMenuList.count));
  const CreatureRecord& skeleton = Creatures[kOrc];
  const int px = skeleton.pixelX + 12 - ViewOriginX, py = skeleton.pixelY + 12 - ViewOriginY;
  harness::Click(196, 8 * (row + 1) + 3);
  harness::MoveMouse(px, py);
  ASSERT_TRUE(harness::StepFrames(3));
  ASSERT_NE(FollowTarget, -1);
  EXPECT_EQ(CursorTargetValid, 0);
  harness::Click(px, py);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(ScreenMode, kModeTargetCone);
  for (int i = 0; i < 120 && FollowTarget != -1; ++i) ASSERT_TRUE(harness::StepFrames(1));
  const int sx = skeleton.pixelX + 12 - ViewOriginX, sy = skeleton.pixelY + 12 - ViewOriginY;
  harness::MoveMouse(sx, sy);
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_EQ(CursorTargetValid, 1);
  harness::Click(sx, sy);
  ASSERT_TRUE(harness::StepFrames(2));
  const std::string log = MessageLogText;
  EXPECT_NE(log.find("uses @TURN_UNDEAD@"), std::string::npos);
  EXPECT_EQ(log.find("cancels"), std::string::npos);
}

// The quicker knight ends his turn and the view glides to the other, far
// off beside an orc. A press on the orc as the glide begins, held while
// the squares slide under the pointer, gives no order (not a walk to the
// square the glide brings under it, past the orc); once the view rests, the
// knight's turn still waits for its orders.
TEST_F(GameScreen, APressWhileTheViewGlidesToTheNextKnightGivesNoOrder) {
  harness::SeedRandom(3);
  scenes::LayOutGround(40, 12);
  scenes::AddKnight(0, 3, 5);
  Creatures[0].dexterity = {30, 30};
  scenes::AddKnight(1, 20, 5);
  Creatures[1].dexterity = {40, 40};
  scenes::AddFoe(kOrc, kKindOrc, 5, 5);
  Creatures[kOrc].dexterity = {1, 1};
  scenes::Finish();
  harness::MoveMouse(300, 220);
  ASSERT_TRUE(WaitForTurnOf(1));
  harness::PressKey("Space");
  for (int i = 0; i < 300 && !(CurrentFighter() == 0 && CombatState == kStatePlayerTurn); ++i)
    ASSERT_TRUE(harness::StepFrames(1));
  ASSERT_EQ(CurrentFighter(), 0);
  ASSERT_NE(FollowTarget, -1);
  const CreatureRecord& orc = Creatures[kOrc];
  harness::MoveMouse(orc.pixelX + 12 - ViewOriginX, orc.pixelY + 12 - ViewOriginY);
  harness::MouseButton(0, true);
  ASSERT_TRUE(harness::StepFrames(4));
  harness::MouseButton(0, false);
  for (int i = 0; i < 120 && FollowTarget != -1; ++i) ASSERT_TRUE(harness::StepFrames(1));
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  EXPECT_EQ(CurrentFighter(), 0);
  EXPECT_EQ(CombatAction.actionCode, 0);
  EXPECT_EQ(Creatures[0].squareX, 3);
  EXPECT_EQ(Creatures[0].squareY, 5);
}

// Shocking Grasp (touch), Ray of Frost (ranged) and Sleep (a burst) aimed
// from the knight's square over the squares of a small fight: himself, a
// friend beside him, an orc beside him, one three squares off, one out of
// reach, one behind a wall, and bare ground. On each the pointer and the
// click agree: the aiming pointer where the click casts, "no entry" where
// it does not.
TEST_F(GameScreen, ThePointerWhileAimingSaysWhatTheClickDoes) {
  harness::SeedRandom(3);
  scenes::LayOutGround(16, 10);
  scenes::AddKnight(0, 3, 4);
  Creatures[0].dexterity = {40, 40};
  scenes::AddKnight(1, 3, 5);
  const int orcs[][2] = {{4, 4}, {6, 4}, {14, 4}, {3, 8}};
  for (int i = 0; i < 4; ++i) scenes::AddFoe(kOrc + i, kKindOrc, orcs[i][0], orcs[i][1]);
  for (int x = 0; x <= 6; ++x) scenes::SetWall(x, 7, 46);
  scenes::Finish();
  harness::MoveMouse(300, 220);
  ASSERT_TRUE(WaitForTurnOf(0));
  const int squares[][2] = {{3, 4}, {3, 5}, {4, 4}, {6, 4}, {14, 4}, {3, 8}, {6, 1}};
  const struct {
    int spell;
    uint32_t mode;
    const char* casts;  // one mark per square above
  } spells[] = {{kSpellShockingGrasp, kModeAimCreature, "..x...."},
                {kSpellRayOfFrost, kModeAimCreature, "..xx..."},
                {kSpellSleep, kModeAimSquare, nullptr}};
  for (const auto& aim : spells) {
    int cast = 0, refused = 0;
    for (int i = 0; i < 7; ++i) {
      CurrentSpell = aim.spell;
      SpellCaster = 0;
      ScreenMode = aim.mode;
      FollowTarget = -1;
      const int x = squares[i][0], y = squares[i][1];
      MouseAt(inputtest::ScreenX(x), inputtest::ScreenY(y));
      const bool valid = CursorTargetValid == 1;
      MouseAt(inputtest::ScreenX(x), inputtest::ScreenY(y), true);
      const bool casts = ScreenMode == kModeCastSpend;
      EXPECT_EQ(casts, valid) << aim.spell << " on " << x << "," << y;
      if (aim.casts) {
        EXPECT_EQ(casts, aim.casts[i] == 'x') << aim.spell << " on " << x << "," << y;
      }
      (casts ? cast : refused) += 1;
    }
    EXPECT_TRUE(cast > 0 && refused > 0) << aim.spell;
  }
}

// Every aiming mode, the knight at (3, 4) aiming at bare ground in reach
// (6, 1), a skeleton (5, 4), a square beyond every reach (14, 9), one behind
// a wall (3, 8) and a cell of solid stone (3, 1). The pointer and the drawn
// shape follow the square's own tests (reach, line of effect, walls, solid
// cells, creatures where the square must be free), never whether anybody
// stands in the shape, which the click alone asks ("No target in area"): a
// burst at bare ground showed no entry and no shape, as a cone or a line
// did before (a cleric saw no turning until an undead stood in it). A shape
// drawn holds the aimed square (a cone or a line, a square beside the
// knight), and the skeleton's only when it is aimed at. Bless, a burst
// round the caster with its confirmation on, takes a click on the caster
// alone; the second Wall of Fire row aims the far corner of a wall begun at
// (6, 4). No spell of the table is a line (a dragon's breath is): Lightning
// Bolt, a rectangle, is made one here.
TEST_F(GameScreen, AnAimIsShownByItsSquareNeverByWhoStandsInIt) {
  struct Kept {
    const SpellRecord bolt = SpellTable[kSpellLightningBolt];
    const int32_t confirm = OptionWords[kOptionConfirmPersonalSpells];
    Kept() {
      SpellTable[kSpellLightningBolt].target = kAimLine;
      OptionWords[kOptionConfirmPersonalSpells] = 1;
    }
    ~Kept() {
      SpellTable[kSpellLightningBolt] = bolt;
      OptionWords[kOptionConfirmPersonalSpells] = confirm;
    }
  } kept;
  harness::SeedRandom(3);
  scenes::LayOutGround(16, 10);
  scenes::AddKnight(0, 3, 4);
  Creatures[0].dexterity = {40, 40};
  scenes::AddFoe(kOrc, kKindSkeleton, 5, 4);
  for (int x = 0; x <= 6; ++x) scenes::SetWall(x, 7, 46);
  scenes::Finish();
  harness::MoveMouse(300, 220);
  ASSERT_TRUE(WaitForTurnOf(0));
  ViewOriginX = 64;  // the whole width of the map
  MagicAreaGrid[SquareIndex(3, 1)].kind = kEffectSolid;
  const int squares[][2] = {{6, 1}, {5, 4}, {14, 9}, {3, 8}, {3, 1}};
  constexpr int kCasts = 0, kStays = -1, kCorner = -2;
  const struct {
    int spell;
    uint32_t mode;
    const char* shown;  // per square: o the aiming pointer over the shape, v the pointer alone, . no entry
    int click[5];       // per square: kCasts, kStays (refused without a word), kCorner, or the refusal said
    int cornerX = -1, cornerY = -1;
  } rows[] = {
      {kSpellSoundBurst, kModeAimSquare, "oo...", {17, kCasts, 16, 18, 19}},
      {kSpellDeepSlumber, kModeAimSquare, "oo...", {kCasts, kCasts, 16, 18, 19}},
      {kSpellBless, kModeAimSquare, ".....", {68, 68, 68, 68, 68}},
      {kSpellWallOfFire, kModeAimRectangle, "vv...", {kCorner, kCorner, kStays, kStays, kStays}},
      {kSpellWallOfStone, kModeAimRectangle, "v....", {kCorner, kStays, kStays, kStays, kStays}},
      {kSpellWallOfFire, kModeAimRectangle, "oo...", {kCasts, kCasts, 21, 21, 21}, 6, 4},
      {kSpellBurningHands, kModeAimCone, "ooooo", {17, kCasts, 17, 17, 17}},
      {kSpellTurnUndead, kModeAimCone, "ooooo", {17, kCasts, 17, 17, 17}},
      {kSpellLightningBolt, kModeAimLine, "ooooo", {17, kCasts, 17, 17, 17}},
      {kSpellSummonFireElemental, kModeAimSummon, "v....", {kCasts, 21, 21, 21, 21}},
  };
  for (const auto& row : rows)
    for (int i = 0; i < 5; ++i) {
      const int x = squares[i][0], y = squares[i][1];
      SCOPED_TRACE(std::to_string(row.spell) + " at " + std::to_string(x) + "," + std::to_string(y));
      // As a use begins: no shape yet.
      std::fill(std::begin(AreaMask), std::end(AreaMask), 0);
      CurrentSpell = row.spell;
      SpellCaster = 0;
      ScreenMode = row.mode;
      RectangleCornerSet = row.cornerX >= 0 ? 1 : 0;
      RectangleCorner = MapSquareWords{row.cornerX, row.cornerY};
      FollowTarget = -1;
      MouseAt(ScreenX(x), ScreenY(y));
      const AimShown shown = AimOfNextFrame();
      EXPECT_EQ(shown.refused, row.shown[i] == '.');
      EXPECT_EQ(!shown.marks.empty(), row.shown[i] == 'o');
      if (row.shown[i] == 'o') {
        const bool fromKnight = row.mode == kModeAimCone || row.mode == kModeAimLine;
        const auto besideKnight = [](const std::pair<int, int>& m) {
          return std::max(std::abs(m.first - 3), std::abs(m.second - 4)) == 1;
        };
        EXPECT_TRUE(fromKnight ? std::any_of(shown.marks.begin(), shown.marks.end(), besideKnight)
                               : shown.marks.count({x, y}) == 1);
        EXPECT_EQ(shown.marks.count({5, 4}) == 1, i == 1);
      }
      ClickResult.code = -1;
      MouseAt(ScreenX(x), ScreenY(y), true);
      const int click = row.click[i];
      if (click == kCasts) {
        EXPECT_EQ(ScreenMode, kModeCastSpend);
      } else if (click == kStays || click == kCorner) {
        EXPECT_EQ(ScreenMode, row.mode);
        EXPECT_EQ(RectangleCornerSet, click == kCorner ? 1 : 0);
        EXPECT_EQ(ClickResult.code, -1);
      } else {
        EXPECT_EQ(ClickResult.code, click);
        EXPECT_EQ(ScreenMode, kModeExploring);
        EXPECT_EQ(CurrentSpell, -1);
      }
    }
  // Bless on the caster's own square: the aiming pointer, and the click casts.
  CurrentSpell = kSpellBless;
  SpellCaster = 0;
  ScreenMode = kModeAimSquare;
  MouseAt(ScreenX(3), ScreenY(4));
  EXPECT_FALSE(AimOfNextFrame().refused);
  MouseAt(ScreenX(3), ScreenY(4), true);
  EXPECT_EQ(ScreenMode, kModeCastSpend);
}

// Magic Missile of three missiles: the right button cancels the aiming of
// the first, but not of a further missile, which the use has paid for.
TEST_F(GameScreen, TheRightButtonCancelsAMagicMissileOnlyBeforeItsFirstMissile) {
  ASSERT_TRUE(KnightFacesOrc(8));
  SpellCaster = 0;
  CurrentSpell = kSpellMagicMissile;
  Creatures[0].casterLevelAdjust = 5 - Creatures[0].effectiveLevel + Creatures[0].level;
  ASSERT_EQ(SpellAreaSize(), 3);
  CastingUse.furtherMissile = 1;
  CastingUse.missilesLeft = 2;
  ScreenMode = kModeAimCreature;
  ClickSquare(5, 7, 1);
  EXPECT_EQ(ScreenMode, kModeAimCreature);
  EXPECT_EQ(CurrentSpell, kSpellMagicMissile);
  CastingUse.furtherMissile = 0;
  CastingUse.missilesLeft = 3;
  ClickSquare(5, 7, 1);
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(CurrentSpell, -1);
}

// A fireball aimed out of combat: beyond its reach the pointer says no, and
// the click says why and ends the aiming; a click among three orcs lists
// them by level, lowest first.
TEST_F(GameScreen, AFireballIsAimedAtASquareWithinReach) {
  scenes::LayOutGround(16, 12);
  scenes::AddKnight(0, 2, 2);
  const int levels[3] = {5, 1, 3};
  const int squares[3][2] = {{8, 6}, {9, 6}, {8, 7}};
  for (int i = 0; i < 3; ++i) scenes::AddFoe(kOrc + i, kKindOrc, squares[i][0], squares[i][1]);
  scenes::Finish();
  for (int i = 0; i < 3; ++i) Creatures[kOrc + i].effectiveLevel = levels[i];
  ViewOriginX = ViewOriginY = 0;
  const int32_t spellsLeft = Creatures[0].spellsLeft[2];
  auto aim = [] {
    CurrentSpell = kSpellFireball;
    SpellCaster = 0;
    ScreenMode = kModeAimSquare;
  };
  aim();
  ClickSquare(12, 9);  // 9 x 9 + 7 x 7 = 130 beyond the 12-square reach
  EXPECT_EQ(CursorTargetValid, 0);
  EXPECT_EQ(ClickResult.code, 16);
  EXPECT_EQ(CurrentSpell, -1);
  EXPECT_EQ(ScreenMode, kModeExploring);
  EXPECT_EQ(Creatures[0].spellsLeft[2], spellsLeft);
  aim();
  ClickSquare(8, 6);
  EXPECT_EQ(ScreenMode, kModeCastSpend);
  EXPECT_EQ(AreaTargetList[0], kOrc + 1);
  EXPECT_EQ(AreaTargetList[1], kOrc + 2);
  EXPECT_EQ(AreaTargetList[2], kOrc);
  EXPECT_EQ(CastingUse.aimX, 8);
  EXPECT_EQ(CastingUse.aimY, 6);
}

// The first row of the aiming's prompt, as the next frame draws it.
std::string PromptTitle() {
  std::vector<GlyphDraw> glyphs;
  RecordGlyphs(&glyphs);
  EXPECT_TRUE(harness::StepFrames(1));
  RecordGlyphs(nullptr);
  const std::string row = harness::LargeTextRows(glyphs)[1];
  return row.size() > 24 ? row.substr(24, 15) : "";
}

// A wizard of the caster level given at (12, 5), on its turn (the first of
// the battle), between two hardy orcs at (9, 5) and (15, 5); it knows Magic
// Missile and Scorching Ray, wears no armour to spoil the casting, and
// begins to cast the spell given.
bool WizardBetweenTwoOrcs(int32_t casterLevel, int spell = kSpellMagicMissile) {
  harness::SeedRandom(3);
  scenes::LayOutGround(40, 12);
  scenes::AddKnight(0, 12, 5);
  CreatureRecord& w = Creatures[0];
  w.creatureClass = kClassWizard;
  w.casterLevelAdjust = casterLevel;
  w.dexterity = {40, 40};
  w.knownSpells[kSpellMagicMissile] = w.knownSpells[kSpellScorchingRay] = 1;
  for (int32_t& left : w.spellsLeft) left = 3;
  w.equipment[kSlotTorso - 1] = 0;
  scenes::AddFoe(kOrc, kKindOrc, 9, 5);
  scenes::AddFoe(kOrc + 1, kKindOrc, 15, 5);
  scenes::Finish();
  harness::MoveMouse(300, 220);
  if (!WaitForTurnOf(0)) return false;
  for (int id : {kOrc, kOrc + 1}) {  // back where they stood before the first round, and hardy
    CreatureRecord& orc = Creatures[id];
    orc.squareX = orc.nextX = id == kOrc ? 9 : 15;
    orc.squareY = orc.nextY = 5;
    orc.pixelX = 24 * orc.squareX;
    orc.pixelY = 24 * orc.squareY;
    orc.hitPoints = orc.maxHitPoints = orc.baseHitPoints = 60;
  }
  // Begun as the action bar's recent spell begins it.
  SpellInProgress = spell;
  SpellCaster = 0;
  CastStarted = 1;
  ScreenMode = kModeCastStart;
  return true;
}

// The picture point of the middle of a creature's figure.
std::pair<int, int> FigurePoint(int creature) {
  const CreatureRecord& c = Creatures[creature];
  return {c.pixelX + 12 - ViewOriginX, c.pixelY + 12 - ViewOriginY};
}

// The wizard of the third level fires Magic Missile, two missiles, at the
// western orc, the view a little west of him as the player left it, and the
// view then follows the missile west. The aiming asks for the second with
// the count left, and the view comes back where it stood as the first was
// aimed: both orcs in view, and the western one where it was, so that a
// second click at the same point of the picture puts the second missile into
// it too, not into the bare ground a view back over the wizard would put
// there.
TEST_F(GameScreen, TheSecondMissileIsAimedWithTheCountLeftFromTheFirstOnesView) {
  ASSERT_TRUE(WizardBetweenTwoOrcs(3));
  for (int i = 0; i < 200 && !AimingRests(); ++i) ASSERT_TRUE(harness::StepFrames(1));
  ASSERT_TRUE(AimingRests());
  EXPECT_EQ(PromptTitle(), "Target (2 Left)");
  ViewOriginX -= 60;  // the player has looked a little west
  const int32_t aimedFromX = ViewOriginX, aimedFromY = ViewOriginY;
  auto onScreen = [](int creature) {
    const CreatureRecord& c = Creatures[creature];
    return c.pixelX >= ViewOriginX && c.pixelX + 24 <= ViewOriginX + 320;
  };
  ASSERT_TRUE(onScreen(kOrc) && onScreen(kOrc + 1));
  const auto [px, py] = FigurePoint(kOrc);
  harness::Click(px, py);
  ASSERT_TRUE(harness::StepFrames(1));
  ASSERT_NE(ScreenMode, kModeAimCreature);
  ViewOriginX -= 160;  // the view has gone west with the missile
  for (int i = 0; i < 600 && !(AimingRests() && CastingUse.furtherMissile == 1); ++i)
    ASSERT_TRUE(harness::StepFrames(1));
  ASSERT_TRUE(AimingRests());
  EXPECT_EQ(PromptTitle(), "Target (1 Left)");
  EXPECT_EQ(ViewOriginX, aimedFromX);
  EXPECT_EQ(ViewOriginY, aimedFromY);
  EXPECT_TRUE(onScreen(kOrc + 1));
  const int32_t afterOne = Creatures[kOrc].hitPoints;
  EXPECT_LT(afterOne, 60);
  harness::Click(px, py);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_NE(ScreenMode, kModeAimCreature);
  for (int i = 0; i < 600 && SpellInProgress != -1; ++i) ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_LT(Creatures[kOrc].hitPoints, afterOne);
  EXPECT_EQ(Creatures[kOrc + 1].hitPoints, 60);
}

// A single missile (caster level 1) at an orc ten squares west of the
// wizard, the view where the player scrolled it to see them both: the view
// follows the missile, and the damage shows over the orc in sight, not over
// an orc left out of the view as it comes back over the wizard.
TEST_F(GameScreen, AMissileIsFollowedAndItsDamageShowsOverTheOrc) {
  ASSERT_TRUE(WizardBetweenTwoOrcs(1));
  CreatureRecord& orc = Creatures[kOrc];
  orc.squareX = orc.nextX = 2;
  orc.pixelX = 24 * orc.squareX;
  BuildOccupancyGrids(0);
  for (int i = 0; i < 200 && !AimingRests(); ++i) ASSERT_TRUE(harness::StepFrames(1));
  ASSERT_EQ(PromptTitle(), "Target Spell");  // one missile: no count
  ViewOriginX = 40;
  ASSERT_TRUE(harness::StepFrames(1));
  const auto [px, py] = FigurePoint(kOrc);
  harness::Click(px, py);
  int shown = 0, played = 0;
  std::vector<TextRun> runs;
  for (int i = 0; i < 600 && SpellInProgress != -1; ++i) {
    RecordTextRuns(&runs);
    ASSERT_TRUE(harness::StepFrames(1));
    RecordTextRuns(nullptr);
    if (PlaybackCreature == kOrc && CombatEvents[CombatEventReadIndex].value > 0) {
      ++played;
      const std::string amount = std::to_string(CombatEvents[CombatEventReadIndex].value);
      shown += std::any_of(runs.begin(), runs.end(), [&](const TextRun& r) {
        std::vector<TextCell> cells = r.cells;
        std::sort(cells.begin(), cells.end(), [](const TextCell& a, const TextCell& b) { return a.x < b.x; });
        std::string text;
        for (const TextCell& c : cells) text.push_back(static_cast<char>(c.c));
        return text == amount;
      });
    }
    runs.clear();
  }
  EXPECT_LT(orc.hitPoints, 60);
  EXPECT_GT(played, 0);
  EXPECT_EQ(shown, played);
}

// Magic Missile's four missiles (caster level 7), a click for each at an
// orc once the prompt rests: each further missile asks for its target with
// the count left and strikes the orc clicked, or is resisted by that orc's
// spell resistance. A press held from a missile's flight aims nothing and,
// after the last, orders nothing; a casting lost to a failed concentration
// check, or spoilt by armour, takes the click meant for the next missile,
// and a press held as it failed, without an order, the pointer saying why
// in the words floated over the wizard. The wizard never walks
// toward an orc. Those clicks are the lost casting's alone: once the turn
// has passed (by Space, or on its own, the turn's actions spent) or the
// battle is won and another begun, the wizard's click at the same point of
// the picture is an order; a Space pressed as the last missiles of the won
// battle fly ends no turn of the next, whose first round is round 1 again.
// Scorching Ray's rays go the same way.
TEST_F(GameScreen, EachMissileTakesItsOwnClickAndNoneWalksTheWizard) {
  // A key pressed as a finger presses it: held over several frames, the
  // pointer left where it stands (on an orc).
  auto pressAsAFinger = [](const char* key) {
    ASSERT_TRUE(harness::KeyDown(key));
    ASSERT_TRUE(harness::StepFrames(6));
    ASSERT_TRUE(harness::KeyUp(key));
  };
  // What follows the clicks: the turn goes on, passes, or the battle is won
  // (both orcs felled) and the wizard's next one begins.
  enum class Then { kStays, kSpace, kOnItsOwn, kNextBattle };
  struct Row {
    const char* name;
    const char* aims;  // the orc clicked for each missile: 'w' west, 'e' east
    bool resists;      // the western orc's spell resistance is beyond the wizard
    bool held;         // the button goes down again as the missile flies (or the casting fails) and stays
    char lost;         // no missile: 'c' the wizard was struck while casting (DC 110), 'a' armour spoils the casting
    Then then = Then::kStays;
    int spell = kSpellMagicMissile;
    bool spaceAsTheyFly = false;  // Space pressed as the last missiles fly
  };
  const Row rows[] = {
      {"the same orc", "wwww", false, false, 0},
      {"the other orc", "wewe", false, false, 0},
      {"a resisting orc", "wwww", true, false, 0},
      {"held in flight", "wwww", false, true, 0},
      {"lost", "www", false, false, 'c'},
      {"lost, held", "www", false, true, 'c'},
      {"spoilt by armour", "ww", false, false, 'a'},
      {"lost, then Space", "ww", false, false, 'c', Then::kSpace},
      {"lost as the turn's last action", "w", false, false, 'c', Then::kOnItsOwn},
      {"both orcs felled by two of four", "we", false, false, 0, Then::kNextBattle},
      {"Space as the last missiles fly", "we", false, false, 0, Then::kNextBattle, kSpellMagicMissile, true},
      {"Scorching Ray", "ww", false, false, 0, Then::kStays, kSpellScorchingRay},
      {"Scorching Ray lost", "ww", false, false, 'c', Then::kStays, kSpellScorchingRay},
      {"Scorching Ray lost, then Space", "ww", false, false, 'c', Then::kSpace, kSpellScorchingRay},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(WizardBetweenTwoOrcs(7, row.spell));
    const int missiles = row.spell == kSpellScorchingRay ? 2 : 4;
    if (row.resists) Creatures[kOrc].protections[kProtSpellResistance] = {99, 99};
    if (row.lost == 'c') AddCondition(0, kCondDamagedWhileCasting, 5, 100, 0, 0);
    if (row.lost == 'a') AddCondition(0, kCondSpellFailureArmor, kDurationLasting, 101, 0, 0);
    const char* said = row.lost == 'a' ? "Failed to Cast" : "Concentration Failure";
    if (row.then == Then::kSpace || row.then == Then::kOnItsOwn) Creatures[0].hitPoints = 500;  // outlives the orcs
    if (row.then == Then::kOnItsOwn) {  // as after a walk: the casting is the turn's last action
      CombatAction.movesLeft = Creatures[0].speed.current;
      CombatAction.moveActionLeft = CombatAction.fiveFootStepLeft = 0;
    }
    if (row.then == Then::kNextBattle)
      for (int id : {kOrc, kOrc + 1}) Creatures[id].hitPoints = 1;
    // Until the next missile is asked for, or the wizard's orders are.
    auto settle = [] {
      const auto ordersAwaited = [] {
        return SpellInProgress == -1 && CombatState == kStatePlayerTurn && CombatAction.actionCode == 0;
      };
      for (int i = 0; i < 1500 && !AimingRests() && !ordersAwaited() && InCombat == 1; ++i)
        ASSERT_TRUE(harness::StepFrames(1));
    };
    settle();
    int lastX = 0, lastY = 0;
    for (int k = 0; row.aims[k] != '\0'; ++k) {
      SCOPED_TRACE(k);
      const bool casts = row.lost == 0 || k == 0;  // this click aims a missile
      if (casts) {
        EXPECT_EQ(PromptTitle(), "Target (" + std::to_string(missiles - k) + " Left)");
      }
      const int orc = row.aims[k] == 'w' ? kOrc : kOrc + 1;
      const int32_t before = Creatures[orc].hitPoints;
      std::tie(lastX, lastY) = FigurePoint(orc);
      harness::Click(lastX, lastY);
      if (row.spaceAsTheyFly && row.aims[k + 1] == '\0') {
        ASSERT_NE(ScreenMode, kModeAimCreature);
        pressAsAFinger("Space");
      }
      if (row.held && casts) {
        ASSERT_TRUE(harness::StepFrames(1));  // let go, then down again
        harness::MouseButton(0, true);
        settle();
        ASSERT_TRUE(harness::StepFrames(10));
        harness::MouseButton(0, false);
      }
      settle();
      ASSERT_TRUE(harness::StepFrames(30));  // a moment before the next click
      if (row.lost == 0 && row.spell == kSpellMagicMissile) {
        EXPECT_EQ(Creatures[orc].hitPoints < before, !row.resists);
      }
      if (row.lost != 0 && k > 0) {
        EXPECT_STREQ(CursorHint, said) << "why the click orders nothing";
      }
    }
    if (row.then == Then::kStays) {
      EXPECT_EQ(SpellInProgress, -1);
      EXPECT_EQ(CombatAction.actionCode, 0);
      EXPECT_EQ(Creatures[0].squareX, 12);
      EXPECT_EQ(Creatures[0].squareY, 5);
      continue;
    }
    if (row.then == Then::kNextBattle) {
      for (int i = 0; i < 600 && ScreenMode != kModeVictory; ++i) ASSERT_TRUE(harness::StepFrames(1));
      ASSERT_EQ(ScreenMode, kModeVictory);
      pressAsAFinger("Space");
      for (int i = 0; i < 100 && ScreenMode != kModeExploring; ++i) ASSERT_TRUE(harness::StepFrames(1));
      scenes::AddFoe(kOrc + 2, kKindOrc, 16, 5);
      scenes::Finish();
      // The pointer rests where the wizard will be sent as the battle begins.
      lastX = ScreenX(12);
      lastY = ScreenY(8);
      harness::MoveMouse(lastX, lastY);
      ASSERT_TRUE(WaitForTurnOf(0));
      ASSERT_EQ(CombatRoundNumber, 1);
      ASSERT_TRUE(harness::StepFrames(5));
      ASSERT_EQ(CurrentFighter(), 0) << "the wizard's first turn ended by itself";
    } else {
      if (row.then == Then::kSpace) pressAsAFinger("Space");
      for (int i = 0; i < 3000 && CombatRoundNumber < 2; ++i) ASSERT_TRUE(harness::StepFrames(1));
      ASSERT_TRUE(WaitForTurnOf(0, 3000));
      ASSERT_EQ(CombatRoundNumber, 2);
    }
    // The wizard's next turn: the click at the point where the pointer was
    // left is an order.
    ASSERT_TRUE(harness::StepFrames(1));
    EXPECT_STRNE(CursorHint, "Casting Canceled");
    EXPECT_STRNE(CursorHint, said);
    const int32_t x = Creatures[0].squareX, y = Creatures[0].squareY;
    harness::Click(lastX, lastY);
    ASSERT_TRUE(harness::StepFrames(1));
    EXPECT_TRUE(CombatAction.actionCode != 0 || Creatures[0].squareX != x || Creatures[0].squareY != y)
        << "no order; the pointer says " << CursorHint;
  }
}

// The knight walks to the sleeping chief and kills him; the chief's death
// script opens its box as the fall is shown. Under the box the map shows
// nothing of the order: no arrow of the path walked, no slash or number of
// the blow (they stood frozen under the box, as under Varek's).
TEST_F(GameScreen, UnderTheBoxOfTheChiefsFallNothingOfTheLastOrderIsDrawn) {
  harness::SeedRandom(1);
  scenes::LayOutGround(16, 10);
  scenes::AddKnight(0, 3, 4);
  Creatures[0].dexterity = {40, 40};
  scenes::AddFoe(kOrc, kKindOrc, 6, 4);
  scenes::Finish();
  std::snprintf(AdventureFolder, sizeof AdventureFolder, "Tests");
  CurrentMap.scriptMapNumber = scenes::kSceneMap;
  Creatures[kOrc].scriptWords[kScriptWordDeathScript] = 5;  // "The chief falls, and his band with him."
  harness::MoveMouse(300, 220);
  ASSERT_TRUE(WaitForTurnOf(0));
  Creatures[kOrc].hitPoints = 1;
  AddCondition(kOrc, kCondSleeping, 5, 0, 18, 0);
  // The box's second pass is drawn into the record; its third answers.
  std::vector<SheetDraw> underBox;
  int passes = 0;
  harness::SetBoxIdleHandler([&] {
    if (++passes == 2) {
      RecordSheetDraws(&underBox);
    } else if (passes == 3) {
      RecordSheetDraws(nullptr);
      harness::QueueBoxKey("1");
    }
  });
  const int x = inputtest::ScreenX(6), y = inputtest::ScreenY(4);
  harness::MoveMouse(x, y);
  ASSERT_TRUE(harness::StepFrames(2));
  harness::Click(x, y);
  for (int i = 0; i < 400 && passes < 3; ++i) ASSERT_TRUE(harness::StepFrames(1));
  harness::SetBoxIdleHandler(nullptr);
  ASSERT_GE(passes, 3);
  ASSERT_FALSE(underBox.empty());
  for (const SheetDraw& d : underBox) {
    EXPECT_NE(d.slot, kSheetArrows) << "a path arrow, frame " << d.frame;
    const bool blow = (d.slot == 16 && d.frame == 24) || (d.slot == 47 && (d.frame == 15 || d.frame == 19));
    EXPECT_FALSE(blow) << "the blow's effect, " << d.slot << "/" << d.frame;
  }
}

}  // namespace
