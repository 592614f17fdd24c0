// Every screen's texts and pictures stay apart and inside the picture, in
// each window size (see layout_check.h for what is reported): the screens
// are looked at in groups, one test each, so that each stays short.
#include "shell/layout_check.h"

namespace {

using layout_check::MapSpan;
using layout_check::TextLayout;

// A script's box over the game screen, drawn by the frame while the screen
// mode is the box's: a text that fills every row to the box's right edge
// and goes on below, with a help link, and three answers.
void ShowBox(int32_t portrait, int32_t line) {
  std::snprintf(DialogueText, sizeof DialogueText, "%s",
                "The reeve leans on the well and counts the thatched roofs aloud. Three cottages stand empty "
                "since the smith's apprentice went into the Thornwood; mind the @ATTACKS_OF_OPPORTUNITY@ "
                "if wolves close in, and bring back whatever you find of her, ring or ribbon or boot.");
  for (char* answer : AnswerTexts) answer[0] = '\0';
  std::snprintf(AnswerTexts[0], kAnswerTextSize, "%s", "We'll find her.");
  std::snprintf(AnswerTexts[1], kAnswerTextSize, "%s", "What do you pay for the apprentice?");
  std::snprintf(AnswerTexts[2], kAnswerTextSize, "%s", "Not now.");
  DialoguePortrait = portrait;
  DialogueScrollLine = line;
  ChosenAnswer = -1;
  ScreenMode = kModeResting;
}

TEST_P(TextLayout, CreationPages) {
  // "Start New Game": the creation pages of a new party whose Knight has
  // taken the feats of the longest names and whose Wizard knows spells.
  SetFirstPage("Title Screen", kPageMainMenu, -1);
  ScreenMode = kModePageView;
  harness::StepFrames(2);
  harness::Click(122, 82);
  harness::StepFrames(2);
  ASSERT_EQ(TopPageType(), kPageCharacterCreation);
  std::vector<int> feats(kFeatFlags);
  for (int f = 0; f < kFeatFlags; ++f) feats[f] = f;
  std::sort(feats.begin(), feats.end(),
            [](int a, int b) { return std::strlen(FeatDisplayNames[a]) > std::strlen(FeatDisplayNames[b]); });
  for (int i = 0; i < 3; ++i) Creatures[0].feats[feats[i]] = 1;
  Creatures[1].creatureClass = kClassWizard;
  ResetCreatureFeats(1);
  for (int spell = 0; spell < 6; ++spell) Creatures[1].knownSpells[spell] = 1;
  for (int m = 0; m < 4; ++m) Page(kPageCharacterCreation, m);
  // A Half-Elf Wizard of the highest Intelligence whose abilities are
  // confirmed: the longest spell list (four known, four to pick) beside
  // the walking figure.
  Creatures[2].creatureClass = kClassWizard;
  ResetCreatureFeats(2);
  Creatures[2].intelligence.base = 20;
  for (int spell = 0; spell < 4; ++spell) Creatures[2].knownSpells[spell] = 1;
  Sweep("creation, spells to pick", [] {
    SetFirstPage("Text Layout", kPageCharacterCreation, 2);
    ScreenMode = kModePageView;
    CreationState.confirmed = 1;
  });
  CreationState.confirmed = 0;
  Page(kPageFeatSelection, 0);
  Page(kPageSpellPick, 1);
  Page(kPagePartySetup, 0);
  Report();
}

TEST_P(TextLayout, DialogueBoxesAndMembersRecords) {
  StartDemo(true);
  for (int m = 0; m < 4; ++m)
    for (int32_t type : {kPageCharacterRecord, kPageInventory}) Page(type, m);
  Report();
}

TEST_P(TextLayout, MembersAbilitiesAndSpellBooks) {
  StartDemo(false);
  for (int m = 0; m < 4; ++m)
    for (int32_t type : {kPageSpecialAbilities, kPageSpellBook}) Page(type, m);
  Report();
}

TEST_P(TextLayout, MembersChoicePages) {
  StartDemo(false);
  for (int m = 0; m < 4; ++m)
    for (int32_t type : {kPageFeatSelection, kPageSpellPick, kPageLevelUp}) Page(type, m);
  Report();
}

TEST_P(TextLayout, StatisticsPages) {
  StartDemo(false);
  for (int32_t type = kPageStatisticsFirst; type <= kPageEffectsFirst + 3; ++type) Page(type, 0, type % 7 == 0);
  Report();
}

TEST_P(TextLayout, MenuAndCraftingPages) {
  StartDemo(false);
  for (int32_t type : {kPageMapOverview, kPageRollBreakdown, kPageMainMenu, kPageOptions, kPageAbilityRollFirst,
                       kPageCraftingMenu, kPageForgeWeapon, kPageMagicRing, kPageWondrousItem,
                       kPageEnchantWeaponArmor, kPageModifierList, kPageCredits, kPageQuestJournal, kPageRanking})
    Page(type, 0);
  for (int32_t type = kPageMetamagicMaximise; type <= kPageScribeScroll; ++type) Page(type, 2);
  for (int32_t type : {kPageDesignatedList, kPageTitle, kPageLogoScreen}) Page(type, 0, false);
  Page(kPageSaveLoad, 1);
  Page(kPageSaveLoad, 2);
  Report();
}

TEST_P(TextLayout, HelpPages) {
  StartDemo(false);
  Page(kPageHelpTopic, 10000);
  for (int p = 0; p < kHelpPageCount; ++p)
    if (HelpPages[p].id != 0) Page(kPageHelpTopic, static_cast<int32_t>(HelpPages[p].id), false);
  Report();
}

TEST_P(TextLayout, GameScreen) {
  StartDemo(false);
  // The game screen: exploring, a spell aimed at the party, the end screens
  // and the item pickers.
  GameScreen("exploring", [] { ScreenMode = kModeExploring; });
  GameScreen("aiming at the party", [] {
    CurrentSpell = 107;  // Cure Light Wounds
    SpellCaster = 1;
    ScreenMode = kModeTargetFirst;
  });
  for (uint32_t mode : {kModeDefeat, kModeVictory, kModeEndOfIntro, kModeLocalMap, kModeItemTarget,
                        kModeWandPicker, kModeEnchantPicker})
    Sweep("mode " + std::to_string(mode), [mode] { ScreenMode = mode; });
  // A click result beside the pointer, wherever the pointer goes.
  GameScreen("a click result", [] {
    ScreenMode = kModeExploring;
    ClickResult = ClickResultState{64, 0, 0, 319, 239};  // "Success"
  });
  ClickResult = ShownClickResult = ClickResultState{};
  // Dialogue boxes whose text fills every row to the right edge and goes on
  // below: at the top, scrolled, and beside a speaker's portrait.
  for (const auto& [name, portrait, line] : {std::tuple<const char*, int32_t, int32_t>{"dialogue box", -1, 0},
                                             {"dialogue box scrolled", -1, 2},
                                             {"dialogue box with a portrait", 3, 1}})
    GameScreen(name, [portrait = portrait, line = line] { ShowBox(portrait, line); });
  Report();
}

TEST_P(TextLayout, BattlePanels) {
  StartDemo(false);
  // A battle at the right edge of the view: the knights flank two orcs, a
  // third stands by; the party's names are long.
  scenes::LayOutGround(30, 12);
  const char* names[4] = {"Aldwyn Marrow", "Ysolde Wren", "Corwen Ashby", "Brenna Tull"};
  for (int m = 0; m < 4; ++m) {
    scenes::AddKnight(m, 24 + 2 * (m % 2), 7 + 2 * (m / 2));
    std::snprintf(Creatures[m].name, sizeof Creatures[m].name, "%s", names[m]);
  }
  for (int i = 0; i < 3; ++i) scenes::AddFoe(scenes::kFirstFoe + i, kKindOrc, 25, 7 + i);
  scenes::Finish();
  OptionWords[kOptionDisplayExpandedTooltip] = 1;
  for (int f = 0; f < 2000 && !(InCombat == 1 && CombatState == kStatePlayerTurn &&
                                CombatAction.playerControlled == 1 && CombatAction.actionCode == 0);
       ++f)
    harness::StepFrames(1);
  EXPECT_EQ(CombatState, kStatePlayerTurn);
  GameScreen("battle", [] {
    // The orcs near the right edge of the picture.
    ViewOriginX = 25 * 24 + 12 - MapSpan(280);
    ViewOriginY = 8 * 24 + 12 - MapSpan(150);
    FollowTarget = -1;
    ViewIdle = 1;
  });
  // An orc on the picture's right edge as a turn opens (the marks over the
  // foes still shown): the chance over it stays inside.
  GameScreen("a foe at the right edge", [] {
    HighlightTimer = 100;
    ViewOriginX = 25 * 24 + 12 - MapSpan(317);
    ViewOriginY = 8 * 24 + 12 - MapSpan(150);
    FollowTarget = -1;
    ViewIdle = 1;
  });
  // Aimed with the turn order in the side panel: the prompt takes its place.
  GameScreen("aiming in battle", [] {
    CurrentSpell = 107;
    SpellCaster = CurrentFighter();
    ScreenMode = kModeTargetFirst;
    SidePanelShown = 1;
    SidePanelMode = 1;
  });
  // The combat panels: the turn order of this short battle in the side
  // panel, the side panel hidden (its button), the message log open with
  // lines that wrap, roll links and the attack roll's die, and a box opened
  // in the battle.
  GameScreen("turn order", [] {
    ScreenMode = kModeExploring;
    CurrentSpell = -1;
    SidePanelShown = 1;
    SidePanelMode = 1;
    SidePanelPrefersInitiative = 1;
  });
  // The order of a battle down to two fighters: the shortest list.
  const int32_t entries = TurnEntryCount, current = CurrentTurnIndex;
  GameScreen("short turn order", [] {
    TurnEntryCount = 2;
    CurrentTurnIndex = 0;
  });
  TurnEntryCount = entries;
  CurrentTurnIndex = current;
  GameScreen("side panel hidden", [] { SidePanelShown = 0; });
  ClearMessageLog();
  // Lines that reach the last column of the log, its scroll bar's side.
  for (int i = 0; i < 12; ++i) {
    LogMessage("@ATTACK_ROLL@ \xA3%i\xA3 + \xA3$%i\xA3 = @%i|99@\r", i, 20 - i, 20);
    for (int line = 0; line < 2; ++line) LogMessage("Orcs Orcs Orcs Orcs Orcs Orcs Orcs a ");
    LogMessage("\r");
  }
  GameScreen("message log", [] {
    SidePanelShown = 1;
    SidePanelMode = 2;
    SidePanelPrefersInitiative = 0;
    CombatRollsShown = 1;
  });
  CombatRollsShown = 0;
  GameScreen("dialogue box in battle", [] { ShowBox(-1, 0); });
  ScreenMode = kModeExploring;
  Report();
}

TEST_P(TextLayout, RecentSpellsPilesAndTrade) {
  StartDemo(false);
  // Two skeletons before the knights; Berta, a cleric who cast Cure Light
  // Wounds before, acts first, beside one that Dunja flanks. With it just
  // left of her action list, the pointer on it lies where the chance over
  // it stands, and the hint and the label of her attack beside the pointer
  // reach the row of her recent spells.
  OptionWords[kOptionDisplayExpandedTooltip] = 1;
  scenes::LayOutGround(30, 20);
  for (int m = 0; m < 3; ++m) scenes::AddKnight(m, 10 + m, 10);
  scenes::AddKnight(3, 11, 8);
  scenes::AddFoe(scenes::kFirstFoe, kKindSkeleton, 11, 9);
  scenes::Finish();
  CreatureRecord& berta = Creatures[1];
  berta.creatureClass = kClassCleric;
  berta.dexterity = {60, 60};
  berta.spellsPerDay[0] = berta.spellsLeft[0] = 2;
  berta.knownSpells[107] = 1;
  RecentSpells[1][0] = RecentSpellPair{107, 0};
  for (int f = 0; f < 2000 && !(CombatState == kStatePlayerTurn && CurrentFighter() == 1); ++f) harness::StepFrames(1);
  GameScreen("recent spells beside a foe", [] {
    SidePanelShown = 1;
    SidePanelMode = 2;
    ViewOriginX = Creatures[scenes::kFirstFoe].pixelX + 12 - MapSpan(170);
    ViewOriginY = Creatures[scenes::kFirstFoe].pixelY + 12 - MapSpan(RecentSpellIconBox(12, 0).top - 22);
    FollowTarget = -1;
    ViewIdle = 1;
  });

  // The objects of a square near the party list: their box lies over the
  // names but ends before the hit points. The rows it meets go whole.
  ASSERT_TRUE(scenes::LayOutScene("piles"));
  // The gold lies there with a scroll of the longest name a list shows.
  const auto pileInView = [] {
    ScreenMode = kModeExploring;
    ViewOriginX = 13 * 24 + 12 - MapSpan(150);
    ViewOriginY = 3 * 24 + 12 - MapSpan(40);
    FollowTarget = -1;
    ViewIdle = 1;
  };
  pileInView();
  harness::StepFrames(2);
  int pileX = 0, pileY = 0;
  playverbs::SquarePoint(13, 3, &pileX, &pileY);
  Sweep("a pile's objects over the party list", pileInView, {{pileX, pileY}}, 3);

  // Trade: the leader's backpack holds the saleable item of the longest name.
  ASSERT_TRUE(scenes::LayOutScene("market"));
  int longest = 1;
  for (int row = 1; row < kItemRows; ++row)
    if (ItemTable[row].price > 0 && std::strlen(ItemTable[row].name) > std::strlen(ItemTable[longest].name)) longest = row;
  Creatures[0].carried[1] = {kFirstBaseItemCode + static_cast<uint32_t>(longest), 1};
  std::set<std::pair<int, int>> boxes;
  for (int k = 0; k < 16; ++k) {
    boxes.insert({17 + 18 * (k % 8), k < 8 ? 147 : 165});
    boxes.insert({173 + 18 * (k % 8), k < 8 ? 147 : 165});
  }
  Sweep("trade", [] {}, boxes);
  Report();
}

// In each window size; the battle marks' tests of the suite
// (battle_marks_layout_test.cpp) are instantiated here with these.
INSTANTIATE_TEST_SUITE_P(, TextLayout, ::testing::Values(1u, 2u, 3u), layout_check::SizeName);

}  // namespace
