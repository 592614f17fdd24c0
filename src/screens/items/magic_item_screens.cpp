// The fixed magic items of the base item table that a crafter can make:
// rings on one page, wondrous items and special arrows on another. Each
// entry names a row of the table and the least level of its maker.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "adventure/item_commands.h"
#include "engine/click_sound.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/character/page_kit.h"
#include "screens/game/shared_routines.h"
#include "screens/items/crafting.h"
#include "screens/items/item_screens.h"
#include "state/inventory_state.h"

namespace {

constexpr int kStyleRed = 7;

// An entry: the base row it makes, the text drawn again under the pointer,
// the least level, and its hot spot in small cells.
struct MagicEntry {
  int row;
  const char* label;
  int32_t minimumLevel;
  int column, line, width;
};

// A text of the page drawn in small cells at rest.
struct PageLabel {
  const char* text;
  int column, line;
};

const MagicEntry kRings[] = {
    {178, "Minor Fire Ring", 3, 31, 9, 15},          {179, "Major Fire Ring", 5, 31, 10, 15},
    {180, "Greater Fire Ring", 7, 31, 11, 17},       {181, "Minor Cold Ring", 3, 31, 13, 15},
    {182, "Major Cold Ring", 5, 31, 14, 15},         {183, "Greater Cold Ring", 7, 31, 15, 17},
    {184, "Minor Acid Ring", 3, 31, 17, 15},         {185, "Major Acid Ring", 5, 31, 18, 15},
    {186, "Greater Acid Ring", 7, 31, 19, 17},       {187, "Minor Electricity Ring", 3, 31, 21, 22},
    {188, "Major Electricity Ring", 5, 31, 22, 22},  {189, "Greater Electricity Ring", 7, 31, 23, 24},
    {190, "Minor Sonic Ring", 3, 31, 25, 16},        {191, "Major Sonic Ring", 5, 31, 26, 16},
    {192, "Greater Sonic Ring", 7, 31, 27, 18},      {193, "+1", 3, 31, 30, 2},
    {194, "+2", 5, 34, 30, 2},                       {195, "+3", 7, 37, 30, 2},
    {196, "+4", 9, 40, 30, 2},                       {197, "+5", 11, 43, 30, 2},
};
const PageLabel kRingLines[] = {{"Protection Ring:", 31, 29}, {"+1 +2 +3 +4 +5", 31, 30}};

const MagicEntry kWondrous[] = {
    {198, "+1", 1, 31, 10, 2},
    {199, "+2", 3, 34, 10, 2},
    {200, "+3", 5, 37, 10, 2},
    {201, "+4", 7, 40, 10, 2},
    {202, "+5", 9, 43, 10, 2},
    {203, "+6", 11, 46, 10, 2},
    {204, "+7", 13, 49, 10, 2},
    {205, "+8", 15, 52, 10, 2},
    {206, "Bracers of Dexterity +2", 7, 31, 12, 23},
    {207, "Bracers of Dexterity +4", 9, 31, 13, 23},
    {208, "Bracers of Dexterity +6", 11, 31, 14, 23},
    {209, "Belt of Giant Strength +2", 7, 31, 15, 25},
    {210, "Belt of Giant Strength +4", 9, 31, 16, 25},
    {211, "Belt of Giant Strength +6", 11, 31, 17, 25},
    {212, "Boots of Striding", 5, 31, 18, 17},
    {213, "Circlet of Intellect +2", 7, 31, 19, 23},
    {214, "Circlet of Intellect +4", 9, 31, 20, 23},
    {215, "Circlet of Intellect +6", 11, 31, 21, 23},
    {216, "Cloak of Blur", 3, 31, 22, 13},
    {217, "Cloak of Displacement", 5, 31, 23, 20},
    {218, "Cloak of Faith", 15, 31, 24, 14},
    {219, "Cloak of Spell Resistance", 13, 31, 25, 24},
    {220, "Cloak of the Spider", 3, 31, 26, 18},
    {221, "+1", 3, 8, 10, 2},
    {222, "+2", 5, 11, 10, 2},
    {223, "+3", 7, 14, 10, 2},
    {224, "+4", 9, 17, 10, 2},
    {225, "+5", 11, 20, 10, 2},
    {226, "Health Amulet +2", 7, 8, 12, 16},
    {227, "Health Amulet +4", 9, 8, 13, 16},
    {228, "Health Amulet +6", 11, 8, 14, 16},
    {229, "Helm of Wisdom +2", 7, 8, 15, 17},
    {230, "Helm of Wisdom +4", 9, 8, 16, 17},
    {231, "Helm of Wisdom +6", 11, 8, 17, 17},
    {232, "Sleep Arrow", 5, 8, 19, 11},
    {233, "Humanoid", 11, 31, 29, 8},
    {234, "Undead", 11, 40, 29, 6},
    {235, "Outsider", 11, 47, 29, 6},
    {236, "Giant", 11, 31, 30, 5},
    {237, "Monstrous-Humanoid", 11, 37, 30, 18},
    {238, "Construct", 11, 31, 31, 9},
    {239, "Animal", 11, 41, 31, 6},
    {240, "Dragon", 11, 48, 31, 6},
};
const PageLabel kWondrousLines[] = {
    {"Bracers of Armor", 31, 9},          {"+1 +2 +3 +4 +5 +6 +7 +8", 31, 10}, {"Cloak of Resistance", 8, 9},
    {"+1 +2 +3 +4 +5", 8, 10},             {"Slaying Arrow:", 31, 28},           {"Humanoid Undead Outsider", 31, 29},
    {"Giant Monstrous-Humanoid", 31, 30}, {"Construct Animal Dragon", 31, 31},
};

// Where a page draws its texts.
struct MagicPage {
  const char* title;
  int titleColumn, titleRow;
  int availableRow;  // "Available"; gold and XP on the two rows below
  const char* levelHeading;
  const char* levelLabel;
  int levelRow;
  const char* costHeading;
  const char* goldLabel;
  const char* xpLabel;
  int costRow;  // the heading; gold and XP on the two rows below
  const MagicEntry* entries;
  size_t entryCount;
  const PageLabel* lines;
  size_t lineCount;
};

const MagicPage kRingPage = {"Select a Magic Ring", 8, 3, 19, "MINIMUM", "LEVEL:", 13, "COST", "GOLD:", "XP:", 15,
                             kRings, std::size(kRings), kRingLines, std::size(kRingLines)};
const MagicPage kWondrousPage = {"Select a Wondrous Item", 6, 2, 20, "Requirements", "Level:", 17, nullptr,
                                 "Gold:", "XP:", 17, kWondrous, std::size(kWondrous), kWondrousLines,
                                 std::size(kWondrousLines)};

bool IsLineEntry(const MagicEntry& e, const MagicPage& page) {
  for (size_t i = 0; i < page.lineCount; ++i)
    if (page.lines[i].line == e.line && e.column >= page.lines[i].column) return true;
  return false;
}

void MagicPageFrame(const MagicPage& page, int crafter) {
  BeginCharacterPage();
  DrawScreenBackdrop();
  ScreenHovered = 0;
  PageTextAt(page.title, kStyleGreen, page.titleColumn, page.titleRow);
  if (crafter < 0 || crafter >= kCreatureCount) {
    EndCharacterPage(false);
    return;
  }
  const int32_t spare = SpareXP(crafter);
  const int32_t level = Creatures[crafter].effectiveLevel;
  PageTextAt("Available", kStyleLabel, 5, page.availableRow);
  PageTextAt("Gold:", kStyleLabel, 5, page.availableRow + 1);
  PageTextAt("XP:", kStyleLabel, 5, page.availableRow + 2);
  DrawTextF(kStyleGreen, 11, page.availableRow + 1, "%u", PartyGold);
  DrawTextF(kStyleGreen, 11, page.availableRow + 2, "%i", spare);
  for (size_t i = 0; i < page.entryCount; ++i)
    if (!IsLineEntry(page.entries[i], page))
      CraftingSmallText(page.entries[i].label, kStyleLabel, page.entries[i].column, page.entries[i].line);
  for (size_t i = 0; i < page.lineCount; ++i)
    CraftingSmallText(page.lines[i].text, kStyleLabel, page.lines[i].column, page.lines[i].line);

  const MagicEntry* hovered = nullptr;
  bool done = false;
  for (size_t i = 0; i < page.entryCount && !hovered; ++i) {
    const MagicEntry& e = page.entries[i];
    if (!MouseInTextRow(e.line, e.column, e.width, 1, 0, 0)) continue;
    hovered = &e;
    CraftingSmallText(e.label, kStyleHover, e.column, e.line);
    CursorShape = kCursorArrow;
    ScreenHovered = 1;
    done = CraftItemFromTemplate(crafter, e.row, e.minimumLevel, spare);
  }
  if (done) {
    EndCharacterPage(false);
    return;
  }
  // The requirements and costs of the entry under the pointer.
  const int levelColumn = 5;
  PageTextAt(page.levelHeading, kStyleLabel, levelColumn, page.levelRow - 1);
  if (page.costHeading) PageTextAt(page.costHeading, kStyleLabel, levelColumn, page.costRow);
  PageTextAt(page.levelLabel, kStyleLabel, levelColumn, page.levelRow);
  const int goldRow = page.costHeading ? page.costRow + 1 : page.levelRow + 1;
  PageTextAt(page.goldLabel, kStyleLabel, levelColumn, goldRow);
  PageTextAt(page.xpLabel, kStyleLabel, levelColumn, goldRow + 1);
  if (hovered) {
    DrawTextF(level < hovered->minimumLevel ? kStyleRed : kStyleGreen, levelColumn, page.levelRow, "       %i",
              hovered->minimumLevel);
    const CraftCost cost = CraftingCost(ItemTable[hovered->row].price);
    if (cost.gold != 0)
      DrawTextF(PartyGold < static_cast<uint32_t>(cost.gold) ? kStyleRed : kStyleGreen, 11, goldRow, "%i", cost.gold);
    if (cost.xp != 0) DrawTextF(spare < cost.xp ? kStyleRed : kStyleGreen, 11, goldRow + 1, "%i", cost.xp);
  }
  if (CraftingCancelPressed("Back to Crafting Menu")) LeaveCraftingPage();
  if (ScreenHovered == 0) HoverSoundMark = -1;
  EndCharacterPage(false);
}

}  // namespace

bool CraftItemFromTemplate(int crafter, int row, int32_t minimumLevel, int32_t spareXP) {
  if (crafter < 0 || crafter >= kCreatureCount || row <= 0 || row >= kItemRows) return false;
  const CraftCost cost = CraftingCost(ItemTable[row].price);
  const bool refused = PartyGold < static_cast<uint32_t>(cost.gold) || spareXP < cost.xp ||
                       Creatures[crafter].effectiveLevel < minimumLevel;
  if (refused) {
    CursorShape = kCursorRefused;
  } else if (ButtonPressed(0)) {
    PlayClickSound();
    PayCraftCost(crafter, cost);
    LatchButton(0);
    GiveItemToCharacter(crafter, 1, kFirstBaseItemCode + static_cast<uint32_t>(row));
    OpenInventoryMenu(crafter);
    return true;
  }
  if (!ButtonPressed(1)) return false;
  PlayClickSound();
  LatchButton(1);
  PushPage(ItemTable[row].name, static_cast<int32_t>(kFirstBaseItemCode) + row, TopPageParameter());
  return true;
}

int MagicRingScreen(int crafter) {
  LastScreenDrawn = "MagicRingScreen";
  MagicPageFrame(kRingPage, crafter);
  return 1;
}

int WondrousItemScreen(int crafter) {
  LastScreenDrawn = "WondrousItemScreen";
  MagicPageFrame(kWondrousPage, crafter);
  return 1;
}
