// The main screen's keys: quick save and load and when they act, the menu
// and the debug exit, and the typing of names with their bounds.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "combat/turns/combat_cycle.h"
#include "creatures/creature_kinds.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "frontend/front_fixture.h"
#include "frontend/saved_games.h"
#include "harness/screen_text.h"
#include "platform/files.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"
#include "screens/game/action_state.h"
#include "screens/game/click_results.h"
#include "screens/game/map_input.h"
#include "screens/game/map_input_fixture.h"
#include "state/game_progress.h"
#include "state/text_entry.h"

namespace {

using screentest::GameScreen;

// Keys held down, the devices read, the keys run once, the keys let go.
int Keys(std::initializer_list<const char*> names) {
  for (const char* n : names) harness::KeyDown(n);
  screentest::ReadInput();
  const int result = MainScreenKeys();
  for (const char* n : names) harness::KeyUp(n);
  screentest::ReadInput();
  return result;
}

// The large-cell text rows the next frame draws, one line each.
std::string DrawnByNextFrame() {
  std::vector<GlyphDraw> glyphs;
  RecordGlyphs(&glyphs);
  EXPECT_TRUE(harness::StepFrames(1));
  RecordGlyphs(nullptr);
  std::string drawn;
  for (const std::string& line : harness::LargeTextRows(glyphs)) drawn += line + "\n";
  return drawn;
}

class QuickKeys : public GameScreen {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fronttest::MakeOwnGameFolder(&folder_));
    GameScreen::SetUp();
    LayOutTheKnight();
  }
  // Outside a battle: a knight on open ground.
  static void LayOutTheKnight() {
    scenes::LayOutGround(12, 10);
    scenes::AddKnight(0, 3, 3);
    scenes::Finish();
  }
  // Berta's turn before the orc, her crossbow (its crafted row) empty.
  static void BertasTurnHerCrossbowEmpty(uint32_t* crossbow) {
    harness::SeedRandom(7);
    ASSERT_TRUE(scenes::LayOutScene("bolts"));
    harness::MoveMouse(300, 220);
    ASSERT_TRUE(inputtest::WaitForTurnOf(0));
    *crossbow = Creatures[0].equipment[kSlotRanged - 1];
    CraftedWeapons[*crossbow].charges = 0;
  }
  void TearDown() override {
    GameScreen::TearDown();
    platform::FinishDiscardingFolders();  // the slots the saves put aside
    std::filesystem::remove_all(folder_);
  }
  std::filesystem::path folder_;
};

TEST_F(QuickKeys, ControlSSavesAndControlLLoadsTheFirstSlot) {
  // Not in combat's turn, not in Ironman mode.
  InCombat = 1;
  Keys({"Left Ctrl", "S"});
  EXPECT_EQ(ClickResult.code, -1);
  InCombat = 0;
  OptionWords[kOptionIronmanMode] = 1;
  Keys({"Left Ctrl", "S"});
  EXPECT_EQ(ClickResult.code, -1);
  OptionWords[kOptionIronmanMode] = 0;
  Keys({"Left Ctrl", "S"});
  EXPECT_EQ(ClickResult.code, 62);
  EXPECT_TRUE(std::filesystem::exists(std::string("SaveGame/") + AdventureFolder + "/1/Details.dat"));
  // In combat Control examines nothing: a creature hovered keeps the load off.
  ClickResult.code = -1;
  InCombat = 1;
  ScreenMode = kModeCreatureHovered;
  Keys({"Left Ctrl", "L"});
  EXPECT_EQ(ClickResult.code, -1);
  InCombat = 0;
  ScreenMode = kModeExploring;
  Creatures[0].hitPoints = 1;
  Keys({"Right Ctrl", "L"});
  EXPECT_EQ(ClickResult.code, 64);
  EXPECT_GT(Creatures[0].hitPoints, 1);
}

// Control+S and Control+L read from the order of the keys, in whole frames:
// both keys in one frame; Control read in one frame and the key tapped before
// Control is let go, in the next (held over); Control let go a frame before
// the key. On Berta's turn in a battle, her crossbow empty, Control+S does
// nothing and leaves her list of actions as it was, Control+L tries the quick
// load (none is kept yet: "Failed"), and a key after Control is the plain key:
// S readies against a spell, L reloads, nothing loads. Outside a battle the
// chords save and load over the ground, over a member (whose hover Control
// turns into examining) and over a pile; the plain keys do nothing there.
TEST_F(QuickKeys, TheChordIsReadFromTheOrderOfTheKeysInAndOutOfABattle) {
  enum Under { kBattle, kGround, kMember, kPile };
  enum How { kTogether, kHeldOver, kLetGo };
  enum Outcome { kNothing, kQuickKey, kLoadFailed, kReadies, kReloads };
  const struct {
    Under under;
    How how;
    Outcome outcome;
  } rows[] = {{kBattle, kTogether, kNothing}, {kBattle, kHeldOver, kNothing}, {kBattle, kLetGo, kReadies},
              {kGround, kTogether, kQuickKey}, {kGround, kHeldOver, kQuickKey}, {kGround, kLetGo, kNothing},
              {kMember, kTogether, kQuickKey}, {kMember, kHeldOver, kQuickKey}, {kPile, kTogether, kQuickKey}};
  for (const auto& row : rows) {
    for (const char* key : {"S", "L"}) {
      SCOPED_TRACE(std::string(key) + " under " + std::to_string(row.under) + " pressed " + std::to_string(row.how));
      Outcome outcome = row.outcome;
      if (key[0] == 'L' && outcome == kReadies) outcome = kReloads;
      if (key[0] == 'L' && row.under == kBattle && row.how != kLetGo) outcome = kLoadFailed;
      uint32_t crossbow = 0;
      if (row.under == kBattle) {
        ASSERT_NO_FATAL_FAILURE(BertasTurnHerCrossbowEmpty(&crossbow));
        ASSERT_TRUE(harness::StepFrames(1));
        ASSERT_EQ(ScreenMode, kModeExploring);
      } else {
        LayOutTheKnight();
        CurrentMap.layers[kLayerObjects0][SquareIndex(8, 3)] = 5001;
        const int x = row.under == kMember ? 3 : 8, y = row.under == kGround ? 7 : 3;
        harness::MoveMouse(inputtest::ScreenX(6), inputtest::ScreenY(6));
        ASSERT_TRUE(harness::StepFrames(1));
        harness::MoveMouse(inputtest::ScreenX(x), inputtest::ScreenY(y) + 4);
        ASSERT_TRUE(harness::StepFrames(1));
        ASSERT_EQ(ScreenMode, row.under == kMember ? kModeCreatureHovered
                              : row.under == kPile ? kModeItemPileHovered : kModeExploring);
      }
      ResetClickResults();
      harness::KeyDown("Left Ctrl");
      if (row.how != kTogether) {
        ASSERT_TRUE(harness::StepFrames(1));
      }
      if (row.how == kLetGo) {
        harness::KeyUp("Left Ctrl");
        ASSERT_TRUE(harness::StepFrames(1));
      }
      harness::KeyDown(key);
      harness::KeyUp(key);
      harness::KeyUp("Left Ctrl");
      ASSERT_TRUE(harness::StepFrames(1));
      const std::string drawn = DrawnByNextFrame();
      const int32_t quick = key[0] == 'S' ? 62 : 64;
      const int32_t shown = ShownClickResult.code;
      EXPECT_EQ(shown >= 62 && shown <= 65 ? shown : 0,
                outcome == kQuickKey ? quick : outcome == kLoadFailed ? 65 : 0);
      if (row.under != kBattle) continue;
      EXPECT_EQ(InCombat, 1);
      EXPECT_EQ(drawn.find("Cancel Action") != std::string::npos, outcome == kReadies);
      // The list as it was where nothing was chosen.
      if (outcome == kNothing || outcome == kLoadFailed) {
        EXPECT_NE(drawn.find("Ready/Spell"), std::string::npos);
      }
      EXPECT_EQ(CraftedWeapons[crossbow].charges > 0, outcome == kReloads);
    }
  }
}

// A chord the game refused is spent, and a key pressed anew with Control
// still held is a chord of its own, as after a chord the game took. On
// Berta's turn, a quick save on disk and her crossbow empty, Control+L or
// Control+S is pressed with the orc under the pointer, while her walk plays,
// over her record (page view), or (S) over open ground; outside a battle
// over the leader's record, or taken over open ground. With the cause gone
// (the pointer on open ground, the walk over, the record closed by Escape),
// Control and then the key are let go, or the key and then Control, or the
// key is let go and it or the other key pressed again with Control held: the
// refused press never loads or saves, nor is the key left held the plain key
// (L reloads, S readies against a spell); the new press saves or loads.
TEST_F(QuickKeys, ARefusedChordIsSpentAndTheNextPressWithControlIsAChord) {
  ASSERT_EQ(WriteSavedGame(1), 0);
  enum Cause { kOnTheOrc, kWalking, kOverHerRecord, kSavedInTheBattle, kOverTheRecordOutside, kTakenOutside };
  enum Then { kControlUpFirst, kKeyUpFirst, kSameKeyAgain, kOtherKeyNext };
  const struct {
    Cause cause;
    const char* key;
    Then then;
    int32_t shown;  // the quick key's word after what follows: 62 saved, 64 loaded, 0 none
  } rows[] = {
      // The refused press, whichever key is let go first.
      {kOnTheOrc, "L", kControlUpFirst, 0}, {kOnTheOrc, "L", kKeyUpFirst, 0},
      {kOnTheOrc, "S", kControlUpFirst, 0}, {kOnTheOrc, "S", kKeyUpFirst, 0},
      {kWalking, "L", kControlUpFirst, 0}, {kWalking, "L", kKeyUpFirst, 0},
      {kWalking, "S", kControlUpFirst, 0}, {kWalking, "S", kKeyUpFirst, 0},
      {kOverHerRecord, "L", kControlUpFirst, 0}, {kOverHerRecord, "L", kKeyUpFirst, 0},
      {kOverHerRecord, "S", kControlUpFirst, 0}, {kOverHerRecord, "S", kKeyUpFirst, 0},
      {kSavedInTheBattle, "S", kControlUpFirst, 0},
      // A new press with Control held, after a press refused or taken.
      {kOnTheOrc, "L", kSameKeyAgain, 64}, {kOnTheOrc, "S", kOtherKeyNext, 64},
      {kWalking, "L", kSameKeyAgain, 64}, {kOverHerRecord, "S", kOtherKeyNext, 64},
      {kSavedInTheBattle, "S", kOtherKeyNext, 64}, {kOverTheRecordOutside, "S", kSameKeyAgain, 62},
      {kTakenOutside, "L", kSameKeyAgain, 64}, {kTakenOutside, "S", kOtherKeyNext, 64},
  };
  const auto pointAt = [](int x, int y) {
    harness::MoveMouse(inputtest::ScreenX(x), inputtest::ScreenY(y));
    return harness::StepFrames(2);
  };
  const auto tap = [](const char* key) {
    harness::KeyDown(key);
    harness::KeyUp(key);
    return harness::StepFrames(2);
  };
  const auto quickShown = [] {
    const int32_t shown = ShownClickResult.code;
    return shown >= 62 && shown <= 65 ? shown : 0;
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.key) + " by cause " + std::to_string(row.cause) + ", then " +
                 std::to_string(row.then));
    const bool battle = row.cause <= kSavedInTheBattle;
    uint32_t crossbow = 0;
    if (battle) {
      ASSERT_NO_FATAL_FAILURE(BertasTurnHerCrossbowEmpty(&crossbow));
    } else {
      LayOutTheKnight();
    }
    if (row.cause == kOnTheOrc) {
      ASSERT_TRUE(pointAt(7, 3));
      ASSERT_EQ(ScreenMode, kModeCreatureHovered);
    } else if (row.cause == kWalking) {
      ASSERT_TRUE(pointAt(4, 5));
      harness::Click(inputtest::ScreenX(4), inputtest::ScreenY(5));
      ASSERT_TRUE(harness::StepFrames(1));
      ASSERT_NE(CombatAction.actionCode, 0);
    } else if (row.cause == kOverHerRecord || row.cause == kOverTheRecordOutside) {
      ASSERT_TRUE(tap("V"));
      ASSERT_EQ(ScreenMode, kModePageView);
    } else {
      ASSERT_TRUE(battle ? pointAt(5, 1) : pointAt(8, 7));
    }
    ResetClickResults();
    harness::KeyDown("Left Ctrl");
    harness::KeyDown(row.key);
    ASSERT_TRUE(harness::StepFrames(2));
    // The chord taken saves or loads at once; the refused one never does.
    const int32_t taken = row.cause != kTakenOutside ? 0 : row.key[0] == 'S' ? 62 : 64;
    EXPECT_EQ(quickShown(), taken);
    harness::KeyUp(row.then == kControlUpFirst ? "Left Ctrl" : row.key);
    ASSERT_TRUE(harness::StepFrames(1));
    if (row.cause == kWalking) {
      for (int frame = 0; frame < 300 && CombatAction.actionCode != 0; ++frame) ASSERT_TRUE(harness::StepFrames(1));
      ASSERT_EQ(CombatAction.actionCode, 0);
    } else if (row.cause == kOverHerRecord || row.cause == kOverTheRecordOutside) {
      ASSERT_TRUE(tap("Escape"));
      ASSERT_NE(ScreenMode, kModePageView);
    }
    ASSERT_TRUE(battle ? pointAt(5, 1) : pointAt(8, 7));
    ASSERT_TRUE(harness::StepFrames(3));
    if (taken == 0) {
      EXPECT_EQ(quickShown(), 0);  // nor once the cause is gone
    }
    ResetClickResults();
    if (row.then == kSameKeyAgain || row.then == kOtherKeyNext) {
      const char* next = row.then == kOtherKeyNext ? (row.key[0] == 'S' ? "L" : "S") : row.key;
      harness::KeyDown(next);
      ASSERT_TRUE(harness::StepFrames(2));
      harness::KeyUp(next);
    }
    harness::KeyUp(row.then == kControlUpFirst ? row.key : "Left Ctrl");
    ASSERT_TRUE(harness::StepFrames(3));
    const std::string drawn = DrawnByNextFrame();
    EXPECT_EQ(quickShown(), row.shown);
    // A load leaves the battle for the game saved outside it.
    EXPECT_EQ(InCombat, battle && row.shown != 64 ? 1 : 0);
    if (!battle || row.shown != 0) continue;
    EXPECT_EQ(CraftedWeapons[crossbow].charges, 0);
    EXPECT_EQ(drawn.find("Cancel Action"), std::string::npos);
  }
}

// The quick save's "Success" stands beside the resting pointer until the
// party is sent on: the keypad walks it four squares and the word is gone.
TEST_F(QuickKeys, TheSavesSuccessGoesWhenThePartyWalksOn) {
  harness::MoveMouse(inputtest::ScreenX(8), inputtest::ScreenY(7));
  ASSERT_TRUE(harness::StepFrames(2));
  harness::KeyDown("Left Ctrl");
  harness::KeyDown("S");
  ASSERT_TRUE(harness::StepFrames(1));
  harness::KeyUp("S");
  harness::KeyUp("Left Ctrl");
  ASSERT_TRUE(harness::StepFrames(20));
  EXPECT_STREQ(CursorHint, "Success");
  harness::KeyDown("Keypad 6");
  for (int frame = 0; frame < 400 && Creatures[0].squareX < 7; ++frame) ASSERT_TRUE(harness::StepFrames(1));
  harness::KeyUp("Keypad 6");
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_EQ(Creatures[0].squareX, 7);
  EXPECT_STREQ(CursorHint, "");
}

// Space pressed while the knight's blow is under way is kept to end that
// turn alone: once the battle is won and the victory clicked away, a game
// is taken up or a new game begun (what every start clears), the knight's
// first turn of the next battle, in round 1 again, waits for its orders.
TEST_F(QuickKeys, AKeptSpaceEndsWithItsBattleALoadAndANewGame) {
  enum class End { kBattleWon, kLoad, kNewGame };
  const struct {
    const char* name;
    End end;
  } rows[] = {{"the battle won", End::kBattleWon}, {"a game taken up", End::kLoad}, {"a new game", End::kNewGame}};
  ASSERT_EQ(WriteSavedGame(1), 0);  // the knight alone on open ground
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    harness::SeedRandom(3);
    scenes::LayOutGround(12, 10);
    scenes::AddKnight(0, 3, 4);
    Creatures[0].dexterity = {40, 40};
    scenes::AddFoe(inputtest::kOrc, kKindOrc, 4, 4);
    scenes::Finish();
    harness::MoveMouse(300, 220);
    ASSERT_TRUE(inputtest::WaitForTurnOf(0));
    // A sleeping orc of 1 hit point falls to the blow; else it outlives it.
    CreatureRecord& orc = Creatures[inputtest::kOrc];
    if (row.end == End::kBattleWon)
      AddCondition(inputtest::kOrc, kCondSleeping, 5, 0, 18, 0);
    else
      orc.baseHitPoints = orc.maxHitPoints = orc.hitPoints = 500;
    inputtest::ClickSquare(4, 4);
    ASSERT_NE(CombatAction.actionCode, 0);
    Keys({"Space"});
    switch (row.end) {
      case End::kBattleWon:
        for (int i = 0; i < 600 && ScreenMode != kModeVictory; ++i) ASSERT_TRUE(harness::StepFrames(1));
        ASSERT_EQ(ScreenMode, kModeVictory);
        harness::Click(160, 120);
        ASSERT_TRUE(harness::StepFrames(5));
        break;
      case End::kLoad: ASSERT_EQ(LoadSavedGame(1), 0); break;
      case End::kNewGame: ResetTransientState(); break;
    }
    ASSERT_EQ(InCombat, 0u);
    scenes::AddFoe(inputtest::kOrc + 1, kKindOrc, 6, 4);
    scenes::Finish();
    EXPECT_TRUE(inputtest::WaitForTurnOf(0)) << "the knight's first turn ended by itself";
    EXPECT_EQ(CombatRoundNumber, 1);
    ASSERT_TRUE(harness::StepFrames(5));
    EXPECT_EQ(CurrentFighter(), 0);
    EXPECT_EQ(CombatState, kStatePlayerTurn);
  }
}

TEST_F(GameScreen, EscapeOpensTheMenuUnlessLeftShiftIsHeld) {
  screentest::LayOutMap(12, 10);
  EXPECT_EQ(Keys({"Left Shift", "Escape"}), 1);
  EXPECT_EQ(ScreenMode, kModeExploring);
  DebugMode = 1;
  EXPECT_EQ(Keys({"Left Shift", "Escape"}), 0);
  DebugMode = 0;
  Keys({"Escape"});
  EXPECT_EQ(ScreenMode, kModePageView);
  EXPECT_EQ(TopPageType(), kPageMainMenu);
}

// Z, X and C say why they refuse (a wand is not used by a member its state
// forbids it); 1 to 4 and 5 to 8 open a named member's
// record and inventory; H sends the view to the leader; the keypad walks it.
TEST_F(GameScreen, ThePartyKeysOpenPagesOrSayWhyNotAndTheKeypadWalks) {
  scenes::LayOutGround(12, 10);
  scenes::AddKnight(0, 3, 3);
  scenes::AddKnight(1, 3, 5);
  scenes::Finish();
  Creatures[1].creatureClass = 4;
  Creatures[2].name[0] = Creatures[3].name[0] = '\0';
  const char* name1 = Creatures[1].name;
  auto refusal = [](std::initializer_list<const char*> keys) {
    ClickResult.code = -1;
    Keys(keys);
    return ClickResult.code;
  };
  PartyLeader = 0;
  EXPECT_EQ(refusal({"Z"}), 58);  // "Knights can't cast spells"
  EXPECT_EQ(refusal({"C"}), 58);
  PartyLeader = 1;
  EXPECT_EQ(refusal({"X"}), 57);  // "No wand in hand"
  CraftedWeapons[9] = CraftedWeaponRecord{};
  CraftedWeapons[9].itemType = 8;
  Creatures[1].equipment[kSlotRightHand - 1] = 9;
  EXPECT_EQ(refusal({"Z"}), 56);  // "No more spell charges"
  // Paralysed, turned to stone or dead, a member uses no wand (nothing is
  // said, as for a caster its state keeps from casting); free, it does.
  CraftedWeapons[9].charges = 3;
  CraftedWeapons[9].spell = 1;  // a spell of peace
  for (const uint32_t state : {kCondParalyzed, kCondPetrified, kCondDead}) {
    AddCondition(1, state, 5, 0, 18, 0);
    EXPECT_EQ(refusal({"Z"}), -1) << state;
    EXPECT_EQ(ScreenMode, kModeExploring) << state;
    RemoveCondition(1, state);
  }
  Keys({"Z"});
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeCastStart));
  ScreenMode = kModeExploring;
  CraftedWeapons[9].charges = 0;
  for (int32_t& left : Creatures[1].spellsLeft) left = 0;
  EXPECT_EQ(refusal({"C"}), 66);  // "You must rest"
  EXPECT_EQ(ScreenMode, kModeExploring);
  // A member without a name has no pages.
  Keys({"3"});
  Keys({"7"});
  EXPECT_EQ(ScreenMode, kModeExploring);
  Keys({"2"});
  EXPECT_EQ(TopPageType(), kPageCharacterRecord);
  EXPECT_STREQ(TopPageCaption(), name1);
  ScreenMode = kModeExploring;
  Keys({"6"});
  EXPECT_EQ(TopPageType(), kPageInventory);
  EXPECT_EQ(TopPageParameter(), 1);
  ScreenMode = kModeExploring;
  PartyLeader = 0;
  Keys({"H"});
  EXPECT_EQ(FollowTarget, Creatures[0].fighterSlot);
  // The keypad: one square east, walked.
  harness::KeyDown("Keypad 6");
  screentest::ReadInput();
  MainScreenKeys();
  harness::KeyUp("Keypad 6");
  EXPECT_EQ(KeypadStepActive, 1);
  EXPECT_EQ(Creatures[0].destinationX, 4);
  EXPECT_EQ(Creatures[0].destinationY, 3);
}

// A character's name typed on its record: at most nine characters, no '_'
// first; Return puts the new name in place of the old one in the description,
// never past the description's 402 bytes, and not for a one-letter old name.
TEST_F(GameScreen, ARenameReplacesTheOldNameInTheDescriptionWithinItsBytes) {
  screentest::LayOutMap(12, 10);
  CreatureRecord& c = Creatures[0];
  std::strcpy(c.name, "Al");
  std::memset(c.description, 0, sizeof c.description);
  for (size_t i = 0; i + 3 < sizeof c.description; i += 3) std::memcpy(c.description + i, "Al ", 3);
  SetFirstPage("Al", kPageCharacterRecord, 0);
  TextEntryMode = kTextEntryCharacterName;
  std::memset(NameEditBuffer, 0, kNameEditSize);
  NameEditCursor = 0;
  Keys({"Space"});
  EXPECT_EQ(NameEditBuffer[0], '\0');
  for (const char* key : {"B", "E", "R", "N", "H", "A", "R", "D", "U", "S", "X"}) Keys({key});
  EXPECT_STREQ(NameEditBuffer, "bernhardx");  // the ninth place takes the last letter
  Keys({"Return"});
  EXPECT_EQ(TextEntryMode, kTextEntryNone);
  EXPECT_STREQ(c.name, "bernhardx");
  EXPECT_EQ(std::strncmp(c.description, "bernhardx bernhardx ", 20), 0);
  EXPECT_EQ(c.description[sizeof c.description - 1], '\0');
  EXPECT_EQ(Creatures[1].name[0], '\0');  // the record after it untouched
  // A one-letter old name is left in the description.
  std::strcpy(c.name, "A");
  std::strcpy(c.description, "A tale of A.");
  TextEntryMode = kTextEntryCharacterName;
  std::strcpy(NameEditBuffer, "Bo");
  Keys({"Return"});
  EXPECT_STREQ(c.name, "Bo");
  EXPECT_STREQ(c.description, "A tale of A.");
}

// A description takes no more characters once it wraps to 16 lines of its
// box, however far it is from its 398 characters.
TEST_F(GameScreen, ADescriptionTakesNoMoreOnceItWrapsToSixteenLines) {
  screentest::LayOutMap(12, 10);
  SetFirstPage("Member 0", kPageCharacterRecord, 0);
  TextEntryMode = kTextEntryCreatureDescription;
  // Fifteen words of twenty letters: one a line.
  std::string text;
  for (int i = 0; i < 15; ++i) text += std::string(20, 'a') + (i < 14 ? " " : "");
  std::memset(BackgroundEditBuffer, 0, sizeof BackgroundEditBuffer);
  std::strcpy(BackgroundEditBuffer, text.c_str());
  Keys({"Space"});
  for (int i = 0; i < 30; ++i) Keys({"B"});
  const std::string typed = BackgroundEditBuffer;
  EXPECT_EQ(typed.size(), text.size() + 1 + 18);  // the word that opens the 16th line
  DrawLinkedText(BackgroundEditBuffer, 0, 1, 0, 38, 1000, 0, 0, 1, 0);
  EXPECT_EQ(LinkedTextLineCount, 16);
  Keys({"Backspace"});
  Keys({"B"});
  EXPECT_EQ(std::string(BackgroundEditBuffer), typed);
}

TEST_F(GameScreen, AnItemNameIsStoredAndOnlyItsOwnBufferCleared) {
  screentest::LayOutMap(12, 10);
  const int row = 42;
  std::strcpy(CraftedWeapons[row].name, "Old Blade");
  SetFirstPage("Old Blade", 10000 + row, -1);
  TextEntryMode = kTextEntryItemName;
  std::memset(NameEditBuffer, 0, kNameEditSize);
  std::strcpy(BackgroundEditBuffer, "kept");
  for (const char* key : {"D", "A", "W", "N"}) Keys({key});
  Keys({"Backspace"});
  Keys({"Return"});
  EXPECT_STREQ(CraftedWeapons[row].name, "daw");
  for (char ch : NameEditBuffer) EXPECT_EQ(ch, '\0');
  EXPECT_STREQ(BackgroundEditBuffer, "kept");
  EXPECT_EQ(TextEntryMode, kTextEntryNone);
}

}  // namespace
