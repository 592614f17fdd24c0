// Every screen's texts stay apart and inside the picture: each page type and
// each state of the game screen is drawn headless, first with the pointer on
// nothing, then with the pointer on each text it drew (so that hints and
// hover styles show), and the texts the frame laid down are read back. Two
// texts that claim one cell with different letters, or a text that leaves
// the picture or is cut at its edge, are reported. One exception: a tooltip
// on its own backing covers the page beneath it (two tooltips still may not
// meet).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "creatures/creature_kinds.h"
#include "engine/frame.h"
#include "engine/help_pages.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "frontend/game_start.h"
#include "harness/harness.h"
#include "harness/test_scenes.h"
#include "party/new_characters.h"
#include "rules/creature_record.h"
#include "rules/feat_names.h"
#include "rules/item_tables.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"

namespace {

struct Cell {
  int x, y, w, h;
  unsigned char c;
};

// The cells a run's letters claim (a blank claims nothing: texts may lie
// in each other's gaps, as "Pending/Completed/All" does), in reading order.
std::vector<Cell> Claimed(const TextRun& run) {
  std::vector<Cell> cells;
  for (const TextCell& t : run.cells)
    if (t.c != ' ') cells.push_back(Cell{t.x, t.y, run.cellWidth, run.cellHeight, t.c});
  std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  return cells;
}

std::string Words(const std::vector<Cell>& cells) {
  std::string s;
  for (size_t i = 0; i < cells.size() && s.size() < 40; ++i) {
    if (i > 0 && cells[i].y != cells[i - 1].y) s += " / ";
    else if (i > 0 && cells[i].x > cells[i - 1].x + cells[i].w) s += ' ';
    s.push_back(static_cast<char>(cells[i].c));
  }
  return "\"" + s + "\" at " + std::to_string(cells.empty() ? 0 : cells[0].x) + "," +
         std::to_string(cells.empty() ? 0 : cells[0].y);
}

bool Meet(const Cell& a, const Cell& b) {
  if (a.x >= b.x + b.w || b.x >= a.x + a.w || a.y >= b.y + b.h || b.y >= a.y + a.h) return false;
  // The same letter drawn again on its own cell (a hovered label restyled).
  return !(a.c == b.c && a.x == b.x && a.y == b.y && a.w == b.w);
}

// What is wrong with the texts of one frame.
std::vector<std::string> Faults(const std::vector<TextRun>& runs) {
  std::vector<std::string> faults;
  std::vector<std::vector<Cell>> claimed;
  for (const TextRun& run : runs) claimed.push_back(Claimed(run));
  for (size_t i = 0; i < runs.size(); ++i) {
    const std::vector<Cell>& a = claimed[i];
    if (runs[i].cutOff > 0) faults.push_back(Words(a) + " is cut at the picture's edge");
    for (const Cell& c : a)
      if (c.c != ' ' && (c.x < 0 || c.y < 0 || c.x + c.w > 320 || c.y + c.h > 240)) {
        faults.push_back(Words(a) + " leaves the picture");
        break;
      }
    for (size_t j = i + 1; j < runs.size(); ++j) {
      // A tooltip stands on its own backing over what lies beneath it.
      if (runs[i].backed != runs[j].backed) continue;
      const std::vector<Cell>& b = claimed[j];
      bool meet = false;
      for (size_t p = 0; p < a.size() && !meet; ++p)
        for (size_t q = 0; q < b.size() && !meet; ++q) meet = Meet(a[p], b[q]);
      if (meet) faults.push_back(Words(a) + " overlaps " + Words(b));
    }
  }
  return faults;
}

class TextLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::MakeOwnGameFolder(&folder_));
    ASSERT_TRUE(harness::StartGame());
    harness::SeedRandom(1);
  }
  void TearDown() override {
    harness::StopGame();
    harness::RemoveOwnGameFolder(folder_);
  }

  // Frames with the pointer at (x, y); the faults of the last one's texts are kept.
  std::vector<TextRun> Look(const std::string& screen, int x, int y, int frames = 1) {
    std::vector<TextRun> runs;
    harness::MoveMouse(x, y);
    harness::StepFrames(frames - 1);
    RecordTextRuns(&runs);
    harness::StepFrames(1);
    RecordTextRuns(nullptr);
    Keep(screen, runs);
    return runs;
  }
  void Keep(const std::string& screen, const std::vector<TextRun>& runs) {
    for (const std::string& f : Faults(runs)) faults_.insert(screen + ": " + f);
  }
  // The screen with the pointer off its texts, then on each text's first
  // and last letter and on the points given.
  void Sweep(const std::string& screen, const std::function<void()>& show,
             std::set<std::pair<int, int>> points = {}, int frames = 1) {
    show();
    const std::vector<TextRun> runs = Look(screen, 319, 239, frames);
    for (const TextRun& run : runs) {
      const std::vector<Cell> cells = Claimed(run);
      if (cells.empty() || run.backed) continue;
      points.insert({cells.front().x + cells.front().w / 2, cells.front().y + cells.front().h / 2});
      points.insert({cells.back().x + cells.back().w / 2, cells.back().y + cells.back().h / 2});
    }
    for (const auto& [x, y] : points) {
      show();
      Look(screen, x, y, frames);
    }
  }
  // The game screen with the pointer also on every creature in view.
  void GameScreen(const std::string& screen, const std::function<void()>& show) {
    std::set<std::pair<int, int>> points;
    show();
    for (int s = 0; s < FighterCount; ++s) {
      const CreatureRecord& c = Creatures[FighterSlots[s].creature];
      const int x = c.pixelX + 12 - ViewOriginX, y = c.pixelY + 12 - ViewOriginY;
      if (x >= 0 && x < 320 && y >= 0 && y < 240) points.insert({x, y});
    }
    Sweep(screen, show, points, 2);
  }
  void Page(int32_t type, int32_t parameter, bool sweep = true) {
    char name[32];
    std::snprintf(name, sizeof name, "page %d (%d)", type, parameter);
    const auto show = [&] {
      SetFirstPage("Text Layout", type, parameter);
      ScreenMode = kModePageView;
    };
    if (sweep) return Sweep(name, show);
    show();
    Look(name, 319, 239);
  }

  std::filesystem::path folder_;
  std::set<std::string> faults_;
};

TEST_F(TextLayout, EveryScreenKeepsItsTextsApartAndInsideThePicture) {
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
  Page(kPageFeatSelection, 0);
  Page(kPageSpellPick, 1);
  Page(kPagePartySetup, 0);

  // "Start Demo": the prepared party of the introductory adventure, with
  // its long names. Each of its first dialogue boxes is looked at, one pass
  // of its loop drawn, before it is answered.
  SetFirstPage("Title Screen", kPageMainMenu, -1);
  ScreenMode = kModePageView;
  SwitchToIntroductoryAdventure();
  harness::StepFrames(2);
  std::vector<TextRun> boxRuns;
  bool drawn = false;
  harness::SetBoxIdleHandler([&] {
    if (drawn) {
      Keep("dialogue box", boxRuns);
      harness::QueueBoxKey("1");
    }
    drawn = !drawn;
    boxRuns.clear();
  });
  RecordTextRuns(&boxRuns);
  harness::Click(122, 82);
  harness::StepFrames(5);
  RecordTextRuns(nullptr);
  harness::SetBoxIdleHandler(nullptr);
  ASSERT_STREQ(Creatures[0].name, "Aldwyn Marrow");
  ASSERT_EQ(ScreenMode, kModeExploring);

  for (int m = 0; m < 4; ++m)
    for (int32_t type : {kPageCharacterRecord, kPageInventory, kPageSpecialAbilities, kPageSpellBook,
                         kPageFeatSelection, kPageSpellPick, kPageLevelUp})
      Page(type, m);
  for (int32_t type = kPageStatisticsFirst; type <= kPageEffectsFirst + 3; ++type) Page(type, 0, type % 7 == 0);
  for (int32_t type : {kPageMapOverview, kPageRollBreakdown, kPageMainMenu, kPageOptions, kPageAbilityRollFirst,
                       kPageCraftingMenu, kPageForgeWeapon, kPageMagicRing, kPageWondrousItem,
                       kPageEnchantWeaponArmor, kPageModifierList, kPageCredits, kPageQuestJournal, kPageRanking})
    Page(type, 0);
  for (int32_t type = kPageMetamagicMaximise; type <= kPageScribeScroll; ++type) Page(type, 2);
  for (int32_t type : {kPageDesignatedList, kPageTitle, kPageLogoScreen}) Page(type, 0, false);
  Page(kPageSaveLoad, 1);
  Page(kPageSaveLoad, 2);
  Page(kPageHelpTopic, 10000);
  for (int p = 0; p < kHelpPageCount; ++p)
    if (HelpPages[p].id != 0) Page(kPageHelpTopic, static_cast<int32_t>(HelpPages[p].id), false);

  // The game screen: exploring, a spell aimed at the party, the end screens
  // and the item pickers.
  const uint32_t kept = ScreenMode;
  GameScreen("exploring", [] { ScreenMode = kModeExploring; });
  GameScreen("aiming at the party", [] {
    CurrentSpell = 107;  // Cure Light Wounds
    SpellCaster = 1;
    ScreenMode = kModeTargetFirst;
  });
  for (uint32_t mode : {kModeDefeat, kModeVictory, kModeEndOfIntro, kModeLocalMap, kModeItemTarget,
                        kModeWandPicker, kModeEnchantPicker})
    Sweep("mode " + std::to_string(mode), [mode] { ScreenMode = mode; });
  ScreenMode = kept;

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
    ViewOriginX = 25 * 24 + 12 - 280;
    ViewOriginY = 8 * 24 + 12 - 150;
    FollowTarget = -1;
    ViewIdle = 1;
  });
  GameScreen("aiming in battle", [] {
    CurrentSpell = 107;
    SpellCaster = CurrentFighter();
    ScreenMode = kModeTargetFirst;
  });

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

  std::string all;
  for (const std::string& f : faults_) all += f + "\n";
  EXPECT_TRUE(faults_.empty()) << all;
}

}  // namespace
