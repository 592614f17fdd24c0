// Wands and scrolls: a crafter's known spell charged into an empty wand (50
// uses, spell levels 1 to 4) or scribed as a scroll (levels 1 to 9), and the
// charging of the wand itself.
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "adventure/item_commands.h"
#include "creatures/magic_item_names.h"
#include "engine/click_sound.h"
#include "engine/frame.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/casting_rules.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/character/page_kit.h"
#include "screens/character/spell_icons.h"
#include "screens/game/shared_routines.h"
#include "screens/items/crafting.h"
#include "screens/items/inventory_screen.h"
#include "screens/items/item_screens.h"
#include "state/current_cast.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"

namespace {

constexpr int32_t kWandType = 8;
constexpr int32_t kWandCharges = 50;
constexpr int32_t kCursorChoosable = 16;
constexpr int kRefusalFrame = 190;
constexpr int kSlotFrameFigure = 303, kLinkLeftFigure = 304, kLinkRightFigure = 305, kLinkUpFigure = 306,
              kLinkDownFigure = 307;
constexpr uint32_t kWhite = 0xFFFFFFFFu, kHoveredGrey = 0xFFA0A0A0u;
constexpr int kFramedPlaces = 14;
constexpr int kLevelLabelColumn = 1;
constexpr int kScrollRowOffset = 3;  // the scroll of spell s is base row 3 + s
// The minimum caster level of spell levels 1 to 4 times three and the level.
constexpr int32_t kWandCasterParts[4] = {3, 18, 45, 84};

// A name that only says the item is a wand (and of which spell).
bool IsPlainWandName(const char* name) {
  if (strcasecmp(name, "Wand") == 0 || strcasecmp(name, "Masterwork Wand") == 0) return true;
  for (int spell = 0; spell < kSpellRows; ++spell) {
    const char* keyword = SpellKeywordFull(spell);
    if (!keyword || !*keyword) continue;
    if (strcasecmp(name, keyword) == 0) return true;
    char formed[96];
    std::snprintf(formed, sizeof formed, "%s Wand", keyword);
    if (strcasecmp(name, formed) == 0) return true;
  }
  return false;
}

// Whether the base row a scroll of the spell is made from holds that scroll
// (past the scrolls stand the rings).
bool HasScrollRow(int spell) {
  const ItemRecord& row = ItemTable[kScrollRowOffset + spell];
  return row.baseType == kStockTypeScroll && row.bonus == spell;
}

// What differs between the wand page and the scroll page.
struct SpellPage {
  const char* title;
  int highestLevel;
  int costRow;  // the row of "Available" and "Cost"; gold and XP rows follow
  int goldRow, xpRow;
  bool wand;
};
constexpr SpellPage kWandPage = {"Enchant Magic Wand: Select a Spell", 4, 14, 16, 17, true};
constexpr SpellPage kScrollPage = {"Scribe Scroll: Select a Spell", 9, 22, 23, 24, false};

// The achievement of a scribed scroll in the introductory adventure.
void ReportScribingAchievement() {
  if (!AchievementsClientAvailable() || IntroductoryAdventureFlag != 1 || DemoChosenFlag != 0) return;
  const bool fresh = AchievementProgress[1] == 0;
  AchievementProgress[1] = 1;
  ReportAchievement("ACHIEVEMENT_LOREMASTER");
  if (fresh) SubmitPartyScore(1);
}

// The left press on an affordable spell.
void ChooseSpell(const SpellPage& page, int crafter, int spell, CraftCost cost) {
  if (page.wand) {
    PlayClickSound();
    LatchButton(0);
    CurrentSpell = spell;
    ActingCreature = crafter;
    CraftCostGold = static_cast<uint32_t>(cost.gold);
    CraftCostXP = static_cast<uint32_t>(cost.xp);
    if (ChosenItem == -1) ScreenMode = kModeWandPicker;
    else ChargeWand(ChosenItem, crafter, spell, cost, WandChargePrice(spell));
    return;
  }
  ReportScribingAchievement();
  if (OptionWords[kOptionScrollScribeCount] < kLargestScrollScribeCount) ++OptionWords[kOptionScrollScribeCount];
  PlayClickSound();
  PayCraftCost(crafter, cost);
  LatchButton(0);
  GiveItemToCharacter(crafter, 1, kFirstBaseItemCode + kScrollRowOffset + static_cast<uint32_t>(spell));
  OpenInventoryMenu(crafter);
  CurrentSpell = -1;
}

// One frame of either page.
void SpellPageFrame(const SpellPage& page, int crafter) {
  BeginCharacterPage();
  DrawScreenBackdrop();
  ScreenHovered = 0;
  if (crafter < 0 || crafter >= kCreatureCount) {
    EndCharacterPage(true);
    return;
  }
  const CreatureRecord& c = Creatures[crafter];
  // Only an empty wand the crafter holds is charged; any other choice is
  // forgotten and the picker asks for the wand.
  if (page.wand && ChosenItem != -1 && !IsEmptyWandHeldBy(crafter, ChosenItem)) ChosenItem = -1;
  const int32_t spare = SpareXP(crafter);
  PageTextAt("Available", kStyleLabel, 2, page.costRow);
  PageTextAt("Gold:", kStyleLabel, 2, page.goldRow);
  PageTextAt("XP:", kStyleLabel, 2, page.xpRow);
  DrawTextF(kStyleGreen, 8, page.goldRow, "%u", PartyGold);
  DrawTextF(kStyleGreen, 8, page.xpRow, "%i", spare);
  PageTextAt("Cost", kStyleLabel, 25, page.costRow);
  PageTextAt("Gold:", kStyleLabel, 25, page.goldRow);
  PageTextAt("XP:", kStyleLabel, 25, page.xpRow);
  PageTextAt(page.title, kStyleTitle, 2, 2);
  // The level labels stand one column left of the other labels: the first
  // place of a row begins 36 pixels in, where column 2's "L-1" would end.
  for (int level = 1; level <= page.highestLevel; ++level) {
    char label[16];
    std::snprintf(label, sizeof label, "L-%i", level);
    PageTextAt(label, kStyleLabel, kLevelLabelColumn, 2 * level + 2);
  }
  auto offered = [&](int spell) {
    const int32_t level = SpellTable[spell].level;
    return c.knownSpells[spell] == 1 && level >= 1 && level <= page.highestLevel && (page.wand || HasScrollRow(spell));
  };
  // The slot frames and the links between the places.
  int counters[10] = {};
  for (int spell = 0; spell < kSpellRows; ++spell) {
    if (!offered(spell)) continue;
    const int level = SpellTable[spell].level;
    const int counter = counters[level];
    counters[level] += 2;
    if (counter / 2 >= kFramedPlaces) continue;
    const int column = counter + 5, row = 2 * level + 2;
    DrawFigureIcon(-7, -3, kSlotFrameFigure, column, row, kWhite, 0);
    if (counter > 0) {
      DrawFigureIcon(-7, -3, kLinkLeftFigure, column - 2, row, kWhite, 0);
      DrawFigureIcon(-7, -3, kLinkRightFigure, column, row, kWhite, 0);
    }
    if (level >= 2 && counters[level - 1] > counter) {
      DrawFigureIcon(-7, -3, kLinkUpFigure, column, row - 2, kWhite, 0);
      DrawFigureIcon(-7, -3, kLinkDownFigure, column, row, kWhite, 0);
    }
  }
  // The spells.
  int places[10] = {};
  for (int spell = 0; spell < kSpellRows; ++spell) {
    if (!offered(spell)) continue;
    const SpellRecord& s = SpellTable[spell];
    const int counter = places[s.level];
    places[s.level] += 2;
    const int column = counter + 5, row = 2 * s.level + 2;
    const CraftCost cost = page.wand ? WandChargeCost(spell) : ScrollScribeCost(spell);
    const bool refused = CheckCraftCost(crafter, cost) != CraftShortfall::kNone;
    const bool over = MouseInRect(8 * row - 4, 8 * column, 16, 16);
    const uint32_t colour = over ? kHoveredGrey : kWhite;
    DrawFigureIcon(-7, -3, SpellIconTable[spell], column, row, colour, 1);
    if (refused) DrawSheetFrame(kSheetInterface, kRefusalFrame, 8 * column, 8 * row - 4, colour);
    if (!over) continue;
    CursorShape = refused ? kCursorRefused : kCursorChoosable;
    DrawTextF(kStyleGreen, 30, page.goldRow, "%i", cost.gold);
    DrawTextF(kStyleGreen, 28, page.xpRow, "%i", cost.xp);
    ScreenHovered = 1;
    SetHoverCaption(s.name);
    if (!refused && ButtonPressed(0)) {
      ChooseSpell(page, crafter, spell, cost);
      break;
    }
    if (ButtonPressed(1)) {
      LatchButton(1);
      PlayClickSound();
      const int32_t topic = SpellHelpPage(spell);
      char caption[kPageCaptionSize];
      CopyCut(caption, sizeof caption, s.name, kPageCaptionSize - 1);
      OpenPage(caption, topic);
      break;
    }
  }
  if (ScreenHovered == 0) HoverSoundMark = -1;
  EndCharacterPage(true);
}

}  // namespace

bool IsEmptyWandHeldBy(int creature, int32_t code) {
  if (creature < 0 || creature >= kCreatureCount || code < 1 || code >= static_cast<int32_t>(kFirstBaseItemCode))
    return false;
  const CraftedWeaponRecord& w = CraftedWeapons[code];
  if (w.name[0] == 0 || w.itemType != kWandType || w.charges != 0) return false;
  const CreatureRecord& c = Creatures[creature];
  for (uint32_t worn : c.equipment)
    if (worn == static_cast<uint32_t>(code)) return true;
  for (const ItemPair& pair : c.carried)
    if (pair.code == static_cast<uint32_t>(code)) return true;
  return false;
}

int32_t WandChargePrice(int spell) {
  if (spell < 0 || spell >= kSpellRows) return 0;
  const SpellRecord& s = SpellTable[spell];
  if (s.level < 1 || s.level > 4) return 0;
  return (5 * (s.xpCost + kWandCasterParts[s.level - 1]) + s.goldCost) * kWandCharges;
}

void ChargeWand(int wand, int crafter, int spell, CraftCost cost, int32_t priceRise) {
  if (wand >= 1 && wand < static_cast<int>(kFirstBaseItemCode) && spell >= 0 && spell < kSpellRows) {
    CraftedWeaponRecord& w = CraftedWeapons[wand];
    w.charges = kWandCharges;
    w.spell = spell;
    w.icon = WandPictureForSchool(w.icon, SpellTable[spell].school);
    PayCraftCost(crafter, cost);
    w.price = ChangedCraftedPrice(w.price, priceRise);
    const char* keyword = SpellKeywordFull(spell);
    w.name[sizeof w.name - 1] = 0;
    if (keyword && *keyword && IsPlainWandName(w.name)) {
      std::memset(w.name, 0, sizeof w.name);
      if (std::strlen(keyword) <= 10) std::snprintf(w.name, sizeof w.name, "%s Wand", keyword);
      else std::snprintf(w.name, sizeof w.name, "%s", keyword);
    }
  }
  CraftCostGold = 0;
  CraftCostXP = 0;
  ChosenItem = -1;
  CurrentSpell = -1;
  OpenInventoryMenu(crafter);
}

int CraftWandScreen(int crafter) {
  LastScreenDrawn = "CraftWandScreen";
  SpellPageFrame(kWandPage, crafter);
  return 1;
}

int ScribeScrollScreen(int crafter) {
  LastScreenDrawn = "ScribeScrollScreen";
  SpellPageFrame(kScrollPage, crafter);
  return 1;
}
