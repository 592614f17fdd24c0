// The action bar of a party member's turn: the actions offered to a fighter,
// an archer, a cleric and a wizard, orders chosen by click and hot key and
// cancelled, the recent spells cast again, and what the cursor tells.
#include <algorithm>
#include <string>
#include <vector>

#include "combat/actions/action_executor.h"
#include "combat/actions/roll_previews.h"
#include "engine/message_log.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "harness/screen_text.h"
#include "screens/game/floating_texts.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/spell_ids.h"
#include "screens/game/action_menu.h"
#include "screens/game/action_state.h"
#include "screens/game/game_screen_fixture.h"
#include "state/camera.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"

namespace {

using screentest::GameScreen;

constexpr int kFighter = 0, kArcher = 1, kCleric = 2, kWizard = 3;
constexpr int kGnoll = 10, kShaman = 11, kZombie = 12;
constexpr uint32_t kBow = 4001, kRightWand = 4002, kLeftWand = 4003;

uint32_t BaseCodeOfType(int32_t type) {
  for (int i = 0; i < kItemRows; ++i)
    if (ItemTable[i].baseType == type) return kFirstBaseItemCode + i;
  return 0;
}

// A battle on the test map: the party, a gnoll beside the fighter, an enemy
// cleric and a zombie further off; the side panel shows the actions.
class ActionBar : public GameScreen {
 protected:
  void SetUp() override {
    GameScreen::SetUp();
    screentest::LayOutMap(20, 15);
    struct Body {
      int id, x, y;
      int32_t side, klass, figure;
    };
    const Body bodies[] = {{kFighter, 3, 3, kAllegianceParty, kClassKnight, 1},
                           {kArcher, 3, 7, kAllegianceParty, kClassKnight, 9},
                           {kCleric, 6, 7, kAllegianceParty, kClassCleric, 17},
                           {kWizard, 8, 7, kAllegianceParty, kClassWizard, 1},
                           {kGnoll, 4, 3, kAllegianceEnemy, kClassWarrior, 2},
                           {kShaman, 12, 2, kAllegianceEnemy, kClassCleric, 10},
                           {kZombie, 13, 10, kAllegianceEnemy, kClassUndead, 2}};
    InCombat = 1;
    TurnEntryCount = 0;
    for (const Body& b : bodies) {
      CreatureRecord& c = screentest::Place(b.id, b.x, b.y, b.side);
      c.creatureClass = b.klass;
      c.speed = {30, 30};
      c.gender = 1;
      c.figure = b.figure;
      c.displayWords[kDisplayFigureSize] = 1;
      TurnOrder[TurnEntryCount++].creature = b.id;
    }
    Creatures[kZombie].type = kTypeUndead;
    BuildOccupancyGrids(0);
    // The archer's longbow and arrows.
    CraftedWeapons[kBow] = CraftedWeaponRecord{};
    CraftedWeapons[kBow].itemType = 33;
    Creatures[kArcher].equipment[kSlotRanged - 1] = kBow;
    Creatures[kArcher].ammunition = {BaseCodeOfType(7), 20};
    // The cleric's Cure Light Wounds and turnings.
    Creatures[kCleric].knownSpells[kSpellCureLightWounds] = 1;
    Creatures[kCleric].spellsLeft[0] = 2;
    Creatures[kCleric].displayWords[kDisplayTurnUndeadUses] = 3;
    // The wizard's Ray of Frost, a wand of it and a wand of a cleric's spell.
    Creatures[kWizard].knownSpells[kSpellRayOfFrost] = 1;
    Creatures[kWizard].spellsLeft[0] = 2;
    Creatures[kWizard].level = Creatures[kWizard].effectiveLevel = 1;
    for (uint32_t wand : {kRightWand, kLeftWand}) {
      CraftedWeapons[wand] = CraftedWeaponRecord{};
      CraftedWeapons[wand].itemType = 8;
      CraftedWeapons[wand].charges = 5;
    }
    CraftedWeapons[kRightWand].spell = kSpellRayOfFrost;
    CraftedWeapons[kLeftWand].spell = kSpellCureLightWounds;
    Creatures[kWizard].equipment[kSlotRightHand - 1] = kRightWand;
    Creatures[kWizard].equipment[kSlotLeftHand - 1] = kLeftWand;
    for (RecentSpellPair (&pairs)[kRecentSpells] : RecentSpells)
      for (RecentSpellPair& p : pairs) p = {-1, -1};
    OptionWords[kOptionAutomaticEndOfTurn] = 0;
    SidePanelShown = 1;
    CombatRollsShown = 0;
    harness::MoveMouse(100, 200);
  }

  // A fresh turn of the member: nothing spent, the panel on the action list.
  static void TurnOf(int member) {
    CombatAction = CombatActionState{};
    for (int i = 0; i < TurnEntryCount; ++i)
      if (TurnOrder[i].creature == member) CombatAction.currentEntry = i;
    CombatActionState& a = CombatAction;
    a.fullRoundActionLeft = a.standardActionLeft = a.moveActionLeft = a.fiveFootStepLeft = 1;
    a.movesLeft = 2 * Creatures[member].speed.current;
    a.playerControlled = 1;
    a.meleeAttacksAllowed = 1;
    CombatState = kStatePlayerTurn;
    ActionBarMode = 2;
    ScreenMode = kModeExploring;
  }

  static std::vector<int32_t> Offered() {
    return std::vector<int32_t>(ActionMenuList.kinds, ActionMenuList.kinds + ActionMenuList.count);
  }

  // The pixel inside the action list's row of the action, (0, 0) when not offered.
  static void ClickAction(int32_t action) {
    for (uint32_t i = 0; i < ActionMenuList.count; ++i)
      if (ActionMenuList.kinds[i] == action) return harness::Click(196, 8 * static_cast<int>(i + 1) + 3);
    ADD_FAILURE() << "action " << action << " is not offered";
  }

  static void PressWithShift(const char* key) {
    harness::KeyDown("Left Shift");
    harness::PressKey(key);
    harness::KeyUp("Left Shift");
  }
};

TEST_F(ActionBar, EachMemberIsOfferedWhatItsStateAllowsInTheFixedOrder) {
  const struct {
    int member;
    std::vector<int32_t> actions;
  } cases[] = {
      // Beside the gnoll: the melee orders, no Ready/Approach.
      {kFighter, {kActEndTurn, kActDelay, kActFiveFootStep, kActCharge, kActAttack, kActBullRush, kActGrapple,
                  kActInventory, kActReadySpell, kActHideActions, kActViewInitiative}},
      {kArcher, {kActEndTurn, kActDelay, kActFiveFootStep, kActCharge, kActShoot, kActInventory,
                 kActReadyApproach, kActReadySpell, kActHideActions, kActViewInitiative}},
      // An undead to turn and an enemy caster to counter, with a free hand.
      {kCleric, {kActEndTurn, kActDelay, kActFiveFootStep, kActCharge, kActCastSpell, kActTurnUndead,
                 kActInventory, kActReadyApproach, kActReadySpell, kActCounterspell, kActHideActions,
                 kActViewInitiative}},
      // The wand of the cleric's spell is not offered, and with both hands
      // full there is no counterspell.
      {kWizard, {kActEndTurn, kActDelay, kActFiveFootStep, kActCharge, kActCastSpell, kActRightWand,
                 kActInventory, kActReadyApproach, kActReadySpell, kActHideActions, kActViewInitiative}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.member);
    TurnOf(c.member);
    ASSERT_TRUE(harness::StepFrames(1));
    EXPECT_EQ(Offered(), c.actions);
  }
  // Asleep, the wizard is offered only the end of its turn and the panels.
  AddCondition(kWizard, kCondSleeping, 5, 0, 18, 0);
  CombatRollsShown = 1;
  TurnOf(kWizard);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(Offered(), (std::vector<int32_t>{kActEndTurn, kActHideActions, kActHideRolls, kActViewInitiative}));
  // The last of the order, and a fighter that delayed already, may not delay.
  TurnOf(kZombie);
  Creatures[kZombie].allegiance = kAllegianceParty;
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(Offered()[1], kActFiveFootStep);
  TurnOf(kArcher);
  TurnOrder[kArcher].joinedThisRound = 1;
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(Offered()[1], kActFiveFootStep);
}

// Under each condition that forbids acting a member is offered no order its
// condition forbids, and neither the order's key, a click on the enemy beside
// it nor an order handed to the executor does one; what the condition leaves
// stays: a spell without a gesture to the paralysed, a step, a reload and the
// inventory to the nauseated (given its turn's whole budget, as when the
// nausea comes in the midst of the turn).
TEST_F(ActionBar, AMemberThatCannotActIsOfferedAndGivenNothingItsConditionForbids) {
  constexpr uint32_t kCrossbow = 4004;
  CraftedWeapons[kCrossbow] = CraftedWeaponRecord{};
  CraftedWeapons[kCrossbow].itemType = 11;
  Creatures[kCleric].equipment[kSlotRanged - 1] = kCrossbow;
  CraftedWeapons[kRightWand].spell = kSpellTrueStrike;  // a spell without a gesture
  const uint32_t conditions[] = {kCondParalyzed, kCondSleeping, kCondStunned, kCondCowering,
                                 kCondDazed,     kCondPetrified, kCondDancing, kCondNauseated};
  constexpr uint32_t kNauseatedMay = 1u << 7;
  const struct {
    int member;
    int32_t order;
    const char* key;  // none: the entry is clicked
    bool shift;
    uint32_t leftBy;  // the conditions (bits in the order above) that leave it
  } rows[] = {
      {kWizard, kActInventory, nullptr, false, kNauseatedMay},  // its key opens the page to look at
      {kFighter, kActAttack, "A", true, 0},
      {kFighter, kActGrapple, "G", false, 0},
      {kFighter, kActBullRush, "B", false, 0},
      {kFighter, kActFiveFootStep, "M", false, kNauseatedMay},
      {kArcher, kActShoot, "S", true, 0},
      {kArcher, kActReadyApproach, "R", false, 0},
      {kCleric, kActReload, "L", false, kNauseatedMay},
      {kCleric, kActCastSpell, "C", false, 0},  // Cure Light Wounds needs a gesture
      {kCleric, kActTurnUndead, "N", false, 0},
      {kCleric, kActCounterspell, "T", false, 0},
      {kWizard, kActRightWand, "Z", false, 0},
  };
  auto press = [](const char* key, bool shift) { shift ? PressWithShift(key) : (void)harness::PressKey(key); };
  auto offered = [](int32_t order) {
    const std::vector<int32_t> list = Offered();
    return std::find(list.begin(), list.end(), order) != list.end();
  };
  // No order of the body: nothing targeted, no action for the executor, no
  // spell book or wand cast begun, no reload, no charge spent (looking at the
  // inventory or a record is no deed).
  auto nothingDone = [] {
    const bool spellBook = ScreenMode == kModePageView && PageHistory[0].type == kPageSpellBook;
    return SelectedAction == -1 && CombatAction.actionCode == 0 && CombatState == kStatePlayerTurn &&
           CombatAction.inventoryOpenedThisTurn == 0 && SpellInProgress == -1 && !spellBook &&
           CraftedWeapons[kCrossbow].charges == 0 &&
           CraftedWeapons[kRightWand].charges == 5;
  };
  for (int c = -1; c < static_cast<int>(std::size(conditions)); ++c) {
    SCOPED_TRACE(c < 0 ? 0 : conditions[c]);
    for (const auto& row : rows) {
      SCOPED_TRACE(row.order);
      if (c >= 0) AddCondition(row.member, conditions[c], 5, 0, 18, 0);
      TurnOf(row.member);
      SidePanelShown = 1;
      ASSERT_TRUE(harness::StepFrames(1));
      const bool left = c < 0 || (row.leftBy & (1u << c)) != 0;
      EXPECT_EQ(offered(row.order), left);
      if (row.key != nullptr)
        press(row.key, row.shift);
      else if (left)
        ClickAction(row.order);
      EXPECT_NE(nothingDone(), left);
      SelectedAction = -1;
      SpellInProgress = -1;
      PlaybackCreature = -1;  // a readied fighter's event
      ScreenMode = kModeExploring;
      PageHistory[0].type = 0;
      CraftedWeapons[kCrossbow].charges = 0;
      if (c >= 0) RemoveCondition(row.member, conditions[c]);
    }
    if (c < 0) continue;
    // The fighter's click on the gnoll beside it strikes no blow.
    AddCondition(kFighter, conditions[c], 5, 0, 18, 0);
    TurnOf(kFighter);
    WeaponMode = 1;
    for (int i = 0; i < 60 && (i < 2 || FollowTarget != -1); ++i) ASSERT_TRUE(harness::StepFrames(1));
    const CreatureRecord& gnoll = Creatures[kGnoll];
    harness::MoveMouse(gnoll.squareX * 24 + 12 - ViewOriginX, gnoll.squareY * 24 + 12 - ViewOriginY);
    ASSERT_TRUE(harness::StepFrames(1));
    harness::Click(gnoll.squareX * 24 + 12 - ViewOriginX, gnoll.squareY * 24 + 12 - ViewOriginY);
    EXPECT_TRUE(nothingDone());
    harness::MoveMouse(100, 200);
    RemoveCondition(kFighter, conditions[c]);
    // A reload handed to the executor anyway is refused but by the nauseated.
    AddCondition(kCleric, conditions[c], 5, 0, 18, 0);
    TurnOf(kCleric);
    for (int i = 0; i < 60 && (i < 2 || FollowTarget != -1); ++i) ASSERT_TRUE(harness::StepFrames(1));
    ActingCreature = kCleric;
    CombatAction.reactingCreature = -1;
    CombatAction.actionCode = kActionReload;
    ExecuteCombatAction();
    EXPECT_EQ(CraftedWeapons[kCrossbow].charges, conditions[c] == kCondNauseated ? 1 : 0);
    CraftedWeapons[kCrossbow].charges = 0;
    RemoveCondition(kCleric, conditions[c]);
  }
  // Paralysed, a wizard who knows a spell without a gesture may cast it.
  Creatures[kWizard].knownSpells[kSpellTrueStrike] = 1;
  AddCondition(kWizard, kCondParalyzed, 5, 0, 18, 0);
  TurnOf(kWizard);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_TRUE(offered(kActCastSpell));
  EXPECT_FALSE(offered(kActRightWand));
}

TEST_F(ActionBar, ATargetedOrderWaitsForItsTargetAndCancellingSpendsNothing) {
  TurnOf(kFighter);
  ASSERT_TRUE(harness::StepFrames(1));
  const CombatActionState before = CombatAction;
  ClickAction(kActCharge);
  EXPECT_EQ(SelectedAction, kActCharge);
  EXPECT_EQ(ChargeOrderPending, 1);
  EXPECT_EQ(TargetMarker[kFighter], 5);
  EXPECT_EQ(AttackMode, 1);
  ASSERT_TRUE(harness::StepFrames(1));
  // The list gives way to the box of the waiting order.
  std::vector<GlyphDraw> glyphs;
  RecordGlyphs(&glyphs);
  ASSERT_TRUE(harness::StepFrames(1));
  RecordGlyphs(nullptr);
  std::string title(16, ' ');
  for (const GlyphDraw& g : glyphs)
    if (g.y == 8 && g.x >= 192 && g.x < 320) title[(g.x - 192) / 8] = static_cast<char>(g.c);
  EXPECT_EQ(title, "Charge Attack   ");
  harness::Click(200, 19);
  EXPECT_EQ(SelectedAction, -1);
  EXPECT_EQ(ChargeOrderPending, 0);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  EXPECT_EQ(CombatAction.standardActionLeft, before.standardActionLeft);
  EXPECT_EQ(CombatAction.fullRoundActionLeft, before.fullRoundActionLeft);
  EXPECT_EQ(CombatAction.movesLeft, before.movesLeft);
  EXPECT_EQ(CombatAction.fiveFootStepLeft, before.fiveFootStepLeft);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(Offered()[3], kActCharge);
  // Cancelling a grapple leaves the charge flag alone.
  harness::PressKey("G");
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(SelectedAction, kActGrapple);
  ChargeOrderPending = 1;
  harness::Click(200, 19);
  EXPECT_EQ(SelectedAction, -1);
  EXPECT_EQ(ChargeOrderPending, 1);
}

TEST_F(ActionBar, HotKeysActOnlyOnOfferedActionsAndShiftTurnsAIntoAttack) {
  TurnOf(kArcher);
  ASSERT_TRUE(harness::StepFrames(1));
  PressWithShift("S");
  EXPECT_EQ(SelectedAction, kActShoot);
  EXPECT_EQ(AttackMode, 2);
  SelectedAction = -1;
  ASSERT_TRUE(harness::StepFrames(1));
  harness::PressKey("S");
  EXPECT_EQ(SelectedAction, kActReadySpell);
  SelectedAction = -1;
  // Not beside an enemy: Shift+A and K find nothing offered.
  PressWithShift("A");
  harness::PressKey("K");
  EXPECT_EQ(SelectedAction, -1);
  EXPECT_EQ(SidePanelShown, 1);
  // A alone hides the panel; the keys still work without it.
  harness::PressKey("A");
  EXPECT_EQ(SidePanelShown, 0);
  TurnOf(kFighter);
  ASSERT_TRUE(harness::StepFrames(1));
  PressWithShift("A");
  EXPECT_EQ(SelectedAction, kActAttack);
  EXPECT_EQ(TargetMarker[kFighter], 5);
  // Delay: the fighter goes to the end of the order and the next one acts.
  SelectedAction = -1;
  harness::PressKey("D");
  EXPECT_EQ(TurnOrder[TurnEntryCount - 1].creature, kFighter);
  EXPECT_EQ(TurnOrder[TurnEntryCount - 1].joinedThisRound, 1);
  EXPECT_EQ(TurnOrder[0].creature, kArcher);
  EXPECT_EQ(CurrentTurnIndex, -1);
  EXPECT_EQ(CombatState, kStateNextFighter);
  EXPECT_NE(std::string(MessageLogText).find("\xA3Member 0\xA3 chooses to wait."), std::string::npos);
}

TEST_F(ActionBar, TheHiddenListComesBackByItsTabOrItsKeyAndItsKeysAlwaysWork) {
  TurnOf(kFighter);
  CombatRollsShown = 0;
  KeypadStepActive = 1;  // a keypad step under way when the battle began
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_TRUE(ActionPanelShown());
  harness::PressKey("A");
  EXPECT_EQ(SidePanelShown, 0);
  ASSERT_TRUE(harness::StepFrames(1));
  // The tabs answer wherever they are drawn (the top left pixel of "Actions",
  // the bottom right one of "Combat Rolls") and nobody walks.
  harness::Click(283, 27);
  EXPECT_EQ(SidePanelShown, 1);
  ASSERT_TRUE(harness::StepFrames(1));
  harness::Click(34, 42);
  EXPECT_EQ(CombatRollsShown, 1);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  EXPECT_EQ(CombatAction.actionCode, 0);
  // Hidden by its key and back by it; its hot keys act while it is hidden.
  harness::PressKey("A");
  harness::PressKey("G");
  EXPECT_EQ(SelectedAction, kActGrapple);
  SelectedAction = -1;
  harness::PressKey("A");
  EXPECT_EQ(SidePanelShown, 1);
}

// The prompt of a spell waiting for its target: the party listed only for a
// spell on one creature; its "Cancel Action" gives the spell up, with the
// log line only in combat.
TEST_F(ActionBar, TheTargetingPromptListsThePartyForOneCreatureAndItsCancelGivesTheSpellUp) {
  TurnOf(kWizard);
  ASSERT_TRUE(harness::StepFrames(1));
  auto aim = [](uint32_t mode) {
    SpellInProgress = kSpellRayOfFrost;
    SpellCaster = kWizard;
    ScreenMode = mode;
  };
  auto promptRows = [] {
    std::vector<GlyphDraw> glyphs;
    RecordGlyphs(&glyphs);
    EXPECT_TRUE(harness::StepFrames(1));
    RecordGlyphs(nullptr);
    std::vector<std::string> rows = harness::LargeTextRows(glyphs);
    for (std::string& row : rows) row = row.size() > 24 ? row.substr(24, 15) : "";
    return std::vector<std::string>(rows.begin() + 1, rows.begin() + 7);
  };
  aim(kModeTargetFirst);
  EXPECT_EQ(promptRows(), (std::vector<std::string>{"Target Spell", "Cancel Action", "Member 0   10",
                                                     "Member 1   10", "Member 2   10", "Member 3   10"}));
  aim(kModeTargetCone);
  EXPECT_EQ(promptRows(), (std::vector<std::string>{"Target Spell", "Cancel Action", "", "", "", ""}));
  aim(kModeTargetFirst);
  harness::MoveMouse(200, 19);
  ASSERT_TRUE(harness::StepFrames(1));
  harness::Click(200, 19);
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeExploring));
  EXPECT_EQ(CombatAction.actionCode, 13);
  EXPECT_STREQ(FloatingTexts[kWizard].text, "Spell Aborted");
  EXPECT_EQ(ShownClickResult.code, 12);
  const std::string log = MessageLogText;
  EXPECT_NE(log.find("\xA3Member 3\xA3 cancels @"), std::string::npos);
  // Out of combat: the floating text and the result, no log line.
  InCombat = 0;
  CombatAction.actionCode = 0;
  ASSERT_TRUE(harness::StepFrames(1));
  aim(kModeTargetCone);
  ShowFloatingText("", kWizard);
  ASSERT_TRUE(harness::StepFrames(2));
  harness::Click(200, 19);
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_STREQ(FloatingTexts[kWizard].text, "Spell Aborted");
  EXPECT_EQ(std::string(MessageLogText), log);
}

TEST_F(ActionBar, DismissingLeavesALockedFormAndEndsTheIronBody) {
  AddCondition(kFighter, kCondPolymorphed, 10, 42, 18, 0);
  AddCondition(kFighter, kCondIronBody, 10, 0, 18, 0);
  TurnOf(kFighter);
  ASSERT_TRUE(harness::StepFrames(1));
  ClickAction(kActDismissSpell);
  EXPECT_GE(FindCondition(kFighter, kCondPolymorphed), 0);
  EXPECT_LT(FindCondition(kFighter, kCondIronBody), 0);
  EXPECT_EQ(CombatAction.actionCode, 13);
  EXPECT_EQ(CombatAction.endedActionCode, 26);
  EXPECT_EQ(PlaybackCreature, kFighter);
}

TEST_F(ActionBar, ARecentSpellIsCastAgainWithItsMetamagicUnlessItIsBlocked) {
  // A fifth-level wizard with a free hand. Ray of Frost empowered (a
  // third-level slot), a gap, then a spell the wizard does not know.
  CreatureRecord& w = Creatures[kWizard];
  w.level = w.effectiveLevel = w.casterLevelAdjust = 5;
  w.spellsLeft[2] = 1;
  w.equipment[kSlotLeftHand - 1] = 0;
  RecentSpells[kWizard][0] = {kSpellRayOfFrost, 2};
  RecentSpells[kWizard][2] = {kSpellMagicMissile, 0};
  TurnOf(kWizard);
  ASSERT_TRUE(harness::StepFrames(1));
  const int rowY = 8 * (static_cast<int>(ActionMenuList.count) + 2) + 4;
  // The blocked icon keeps its slot, refuses the click and says so.
  harness::MoveMouse(186 + 32 + 4, rowY);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(CursorShape, 18);
  harness::Click(186 + 32 + 4, rowY);
  EXPECT_EQ(SpellInProgress, -1);
  ASSERT_TRUE(harness::StepFrames(1));
  harness::Click(186 + 4, rowY);
  EXPECT_EQ(SpellInProgress, kSpellRayOfFrost);
  EXPECT_EQ(PendingMetamagic, 2);
  EXPECT_EQ(SpellCaster, kWizard);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeCastStart));
  // The casting steps take it on to aiming, the metamagic kept.
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_TRUE(IsTargetingMode());
  EXPECT_EQ(PendingMetamagic, 2);
}

// Pinned, a cleric can only try to break the pin: no delay, no turning of the
// undead, no dismissing of its iron body, by the list or by their keys.
TEST_F(ActionBar, APinnedMemberIsOfferedOnlyToBreakThePin) {
  AddCondition(kCleric, kCondGrappling, 1000, kGnoll, 0, 0);
  AddCondition(kCleric, kCondPinned, 2, 0, 0, 0);
  AddCondition(kGnoll, kCondGrappling, 1000, kCleric, 0, 0);
  AddCondition(kCleric, kCondIronBody, 10, 0, 18, 0);
  TurnOf(kCleric);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(Offered(), (std::vector<int32_t>{kActEndTurn, kActBreakFree, kActHideActions, kActViewInitiative}));
  harness::PressKey("D");
  EXPECT_EQ(TurnOrder[kCleric].creature, kCleric);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  harness::PressKey("N");
  EXPECT_EQ(SelectedAction, -1);
  EXPECT_FALSE(IsTargetingMode());
}

// Held by the gnoll, which has been stunned: breaking free needs no roll.
TEST_F(ActionBar, BreakingFreeOfADefencelessGrapplerIsSure) {
  AddCondition(kFighter, kCondGrappling, 1000, kGnoll, 0, 0);
  AddCondition(kGnoll, kCondGrappling, 1000, kFighter, 0, 0);
  AddCondition(kGnoll, kCondStunned, 2, 0, 18, 0);
  TurnOf(kFighter);
  ASSERT_TRUE(harness::StepFrames(1));
  const std::vector<int32_t> offered = Offered();
  const auto row = std::find(offered.begin(), offered.end(), kActBreakFree) - offered.begin();
  ASSERT_LT(row, static_cast<long>(offered.size()));
  harness::MoveMouse(196, 8 * static_cast<int>(row + 1) + 3);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(CursorChance, 100);
}

TEST_F(ActionBar, TheCursorTellsWhyAClickFailedAndTheChanceOfAValidTarget) {
  TurnOf(kWizard);
  ASSERT_TRUE(harness::StepFrames(1));
  // The view glides to the wizard first (aiming takes no click meanwhile).
  for (int i = 0; i < 60 && FollowTarget != -1; ++i) ASSERT_TRUE(harness::StepFrames(1));
  // A refused click: its text beside the cursor while the mouse stays near.
  harness::MoveMouse(120, 120);
  ASSERT_TRUE(harness::StepFrames(1));
  CursorShape = 12;
  ShowClickResultAtMouse(16);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_STREQ(CursorHint, "Out of range");
  EXPECT_EQ(CursorShape, 16);
  harness::MoveMouse(160, 160);
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_STREQ(CursorHint, "");
  // Ray of Frost aimed at the gnoll, in reach: the touch attack's chance.
  SpellInProgress = kSpellRayOfFrost;
  SpellCaster = kWizard;
  ScreenMode = kModeTargetFirst;
  Creatures[kGnoll].squareX = Creatures[kGnoll].nextX = 9;
  Creatures[kGnoll].squareY = Creatures[kGnoll].nextY = 5;
  Creatures[kGnoll].pixelX = 9 * 24;
  Creatures[kGnoll].pixelY = 5 * 24;
  harness::MoveMouse(9 * 24 + 12 - ViewOriginX, 5 * 24 + 12 - ViewOriginY);  // the map cursor on it
  ASSERT_TRUE(harness::StepFrames(1));
  ASSERT_EQ(CursorTargetValid, 1);
  const int chance = TouchAttackRoll(kWizard, kGnoll, 1, 0);
  EXPECT_EQ(CursorChance, chance);
  EXPECT_EQ(std::string(CursorHint), std::to_string(chance) + "%");
  // Out of reach: no chance, and the marks are taken off.
  Creatures[kGnoll].squareX = Creatures[kGnoll].nextX = 19;
  Creatures[kGnoll].pixelX = 19 * 24;
  TargetMarker[kGnoll] = 2;
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(CursorTargetValid, 0);
  EXPECT_STREQ(CursorHint, "");
  EXPECT_EQ(TargetMarker[kGnoll], 0);
  // A right click gives the spell up.
  harness::Click(150, 150, 1);
  EXPECT_EQ(SpellInProgress, -1);
  EXPECT_EQ(ScreenMode, static_cast<uint32_t>(kModeExploring));
  EXPECT_NE(std::string(MessageLogText).find("\xA3Member 3\xA3 cancels @"), std::string::npos);
}

}  // namespace

namespace {

TEST_F(ActionBar, PicturesOfTheFightersAndTheWizardsBars) {
  TurnOf(kFighter);
  harness::MoveMouse(210, 43);  // on "Attack(+Move)"
  ASSERT_TRUE(harness::StepFrames(2));
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "action_bar_fighter"), 0);
  CreatureRecord& w = Creatures[kWizard];
  w.level = w.effectiveLevel = w.casterLevelAdjust = 5;
  w.spellsLeft[2] = 1;
  RecentSpells[kWizard][0] = {kSpellRayOfFrost, 2};
  RecentSpells[kWizard][1] = {kSpellRayOfFrost, 0};
  RecentSpells[kWizard][2] = {kSpellMagicMissile, 0};
  TurnOf(kWizard);
  harness::MoveMouse(60, 150);
  // The walk's preview once the view rests on the wizard (none while it glides).
  for (int i = 0; i < 60 && (i < 2 || FollowTarget != -1); ++i) ASSERT_TRUE(harness::StepFrames(1));
  ASSERT_TRUE(harness::StepFrames(1));
  EXPECT_EQ(harness::CompareStoredPicture(__FILE__, "action_bar_wizard"), 0);
}

}  // namespace
