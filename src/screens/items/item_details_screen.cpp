// The sheet of a crafted or unique item: its picture, name and description
// (both editable while the party holds the item), size, material and kind,
// damage or armour values, handling and proficiency, criticals, range,
// enhancement, price, and every special attribute and enchantment it
// carries. Nearly every word links to the help page that explains it.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/click_sound.h"
#include "engine/input.h"
#include "engine/linked_text.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/casting_rules.h"
#include "rules/item_rules.h"
#include "rules/item_tables.h"
#include "screens/character/page_kit.h"
#include "screens/items/item_kinds.h"
#include "screens/items/inventory_screen.h"
#include "screens/items/item_screens.h"
#include "state/text_entry.h"

namespace {

constexpr int kBackdropFigure = 405;
constexpr int kDescriptionTop = 5, kDescriptionBottom = 8;
constexpr int kNameColumn = 4, kNameRow = 1, kNameShownChars = 15;
constexpr int kLastCaretColumn = 19;
constexpr int kLongestScroll = 60;
constexpr int32_t kFirstShieldType = 36;
constexpr int32_t kHandlingRanged = 4;
constexpr int32_t kQuestItem = 3;
constexpr int kKeenProperty = 20;
constexpr int kBlinkFrames = 6;

const char kSizeWords[8][8] = {"N.A.", "Tiny", "Small", "Medium", "Large", "Huge", "Gargan.", "Coloss."};
const char kMaterialWords[9][11] = {"N.A.",   "Cloth", "Leather", "Wood",      "Silver",
                                    "Cold Iron", "Steel", "Mithral", "Adamantine"};
const char kHandlingWords[3][8] = {"Light", "1 Hand", "2 Hands"};
const char kProficiencyWords[7][8] = {"All", "Simple", "Martial", "Exotic", "Light", "Medium", "Heavy"};
const char kDamageKindWords[3][12] = {"Slashing", "Bludgeoning", "Piercing"};

// A named enchantment or property of the sheet: its line, colour and help page.
struct PropertyLine {
  const char* text;
  int style;
  const char* caption;
  int32_t topic;
};
const PropertyLine kPropertyLines[kCraftedProperties] = {
    {"Vorpal Blade     (+4 Enchantment)", 0, "Vorpal", 43018},
    {"Destruction      (+4 Enchantment)", 3, "Destruction", 43019},
    {"Brilliant Energy (+4 Enchantment)", 0, "Brilliant Energy", 43020},
    {"Blindness        (+3 Enchantment)", 5, "Blindness", 43021},
    {"Speed            (+3 Enchantment)", 2, "Speed", 43022},
    {"Life Stealing    (+3 Enchantment)", 3, "Life Stealing", 43023},
    {"Wounding         (+3 Enchantment)", 2, "Wounding", 43024},
    {"Holy             (+2 Enchantment)", 5, "Holy", 43025},
    {"Unholy           (+2 Enchantment)", 5, "Unholy", 43026},
    {"Axiomatic        (+2 Enchantment)", 6, "Axiomatic", 43027},
    {"Anarchic         (+2 Enchantment)", 6, "Anarchic", 43028},
    {"Flaming Burst    (+2 Enchantment)", 2, "Flame Burst", 43029},
    {"Icy Burst        (+2 Enchantment)", 0, "Icy Burst", 43030},
    {"Shock Burst      (+2 Enchantment)", 5, "Shock Burst", 43031},
    {"Disruption       (+2 Enchantment)", 0, "Disruption", 43032},
    {"Despair          (+1 Enchantment)", 5, "Despair", 43033},
    {"Flaming          (+1 Enchantment)", 2, "Flaming", 43034},
    {"Frost            (+1 Enchantment)", 0, "Frost", 43035},
    {"Shock            (+1 Enchantment)", 5, "Shock", 43036},
    {"Keen             (+1 Enchantment)", 6, "Keen", 43037},
    {"Thundering       (+1 Enchantment)", 0, "Thundering", 43038},
    {"Acid Resistance I          (+2 Magic)", 6, "Acid Resistance", 43039},
    {"Acid Resistance II         (+3 Magic)", 6, "Acid Resistance", 43039},
    {"Acid Resistance III        (+4 Magic)", 6, "Acid Resistance", 43039},
    {"Cold Resistance I          (+2 Magic)", 0, "Cold Resistance", 43040},
    {"Cold Resistance II         (+3 Magic)", 0, "Cold Resistance", 43040},
    {"Cold Resistance III        (+4 Magic)", 0, "Cold Resistance", 43040},
    {"Electricity Resistance I   (+2 Magic)", 5, "Shock Resistance", 43041},
    {"Electricity Resistance II  (+3 Magic)", 5, "Shock Resistance", 43041},
    {"Electricity Resistance III (+4 Magic)", 5, "Shock Resistance", 43041},
    {"Fire Resistance I          (+2 Magic)", 2, "Fire Resistance", 43042},
    {"Fire Resistance II         (+3 Magic)", 2, "Fire Resistance", 43042},
    {"Fire Resistance III        (+4 Magic)", 2, "Fire Resistance", 43042},
    {"Sonic Resistance I         (+2 Magic)", 1, "Sonic Resistance", 43043},
    {"Sonic Resistance II        (+3 Magic)", 1, "Sonic Resistance", 43043},
    {"Sonic Resistance III       (+4 Magic)", 1, "Sonic Resistance", 43043},
    {"Fortification I            (+1 Magic)", 3, "Fortification", 43044},
    {"Fortification II           (+3 Magic)", 3, "Fortification", 43044},
    {"Fortification III          (+5 Magic)", 3, "Fortification", 43044},
    {"Invulnerability            (+3 Magic)", 0, "Invulnerability", 43045},
    {"Spell Resistance 11        (+1 Magic)", 5, "Spell Resistance", 43046},
    {"Spell Resistance 13        (+2 Magic)", 5, "Spell Resistance", 43046},
    {"Spell Resistance 15        (+3 Magic)", 5, "Spell Resistance", 43046},
    {"Spell Resistance 17        (+4 Magic)", 5, "Spell Resistance", 43046},
    {"Spell Resistance 19        (+5 Magic)", 5, "Spell Resistance", 43046},
};

uint32_t g_blinkCounter = 0;
bool g_caretShown = false;

// A word in a table, "-" outside it.
template <size_t N, size_t M>
const char* Word(const char (&table)[N][M], int32_t index, int32_t first = 0) {
  const int32_t i = index - first;
  return i >= 0 && static_cast<size_t>(i) < N ? table[i] : "-";
}

// A linked text: drawn in its style, orange under the pointer with the link
// cursor and the hint; a press of either button opens the help page.
void Link(const char* text, int style, int column, int row, int width, const char* hint, const char* caption,
          int32_t topic) {
  const bool over = PointerOnCells(column, row, width);
  PageTextAt(text, over ? kStyleHover : style, column, row);
  if (!over) return;
  CursorShape = kCursorLink;
  SetHoverCaption(hint);
  if (ConsumeClick(1)) OpenPage(caption, topic);
}

void LinkWord(const char* text, int style, int column, int row, const char* hint, const char* caption, int32_t topic) {
  Link(text, style, column, row, static_cast<int>(std::strlen(text)), hint, caption, topic);
}

// A label that links to its page, with its value beside it.
void LabelledValue(const char* label, int column, int row, const char* value, int valueColumn, const char* hint,
                   const char* caption, int32_t topic) {
  LinkWord(label, kStyleLabel, column, row, hint, caption, topic);
  PageTextAt(value, kStyleValue, valueColumn, row);
}

bool EditingName(int row) { return TextEntryMode == kTextEntryItemName && TextEntryItem == row; }
bool EditingDescription(int row) { return TextEntryMode == kTextEntryItemDescription && TextEntryItem == row; }
bool Editing() { return TextEntryMode != kTextEntryNone; }

void DrawCaret(int column, int row) {
  if (g_caretShown) DrawSheetFrame(kSheetInterface, kCaretFrame, 8 * column, 8 * row, kCaretColour);
}

void NameRow(int r, bool editable) {
  const CraftedWeaponRecord& item = CraftedWeapons[r];
  char raw[sizeof item.name + 1];
  CopyCut(raw, sizeof raw, item.name, sizeof item.name);
  char shown[sizeof raw];
  CapitaliseWords(shown, raw, 1);
  shown[kNameShownChars] = '\0';
  const int length = static_cast<int>(std::strlen(shown));
  if (EditingName(r)) {
    NameEditBuffer[kNameEditSize - 1] = '\0';
    PageTextAt(NameEditBuffer, kStyleHover, kNameColumn, kNameRow);
    DrawCaret(std::min(kNameColumn + static_cast<int>(std::strlen(NameEditBuffer)), kLastCaretColumn), kNameRow);
  }
  const bool over = editable && PointerOnCells(kNameColumn, kNameRow, length);
  if (!EditingName(r)) PageTextAt(shown, over ? kStyleHover : kStyleTitle, kNameColumn, kNameRow);
  if (!over) return;
  CursorShape = kCursorEdit;
  SetHoverCaption("Edit Name (Enter to Confirm)");
  if (EditingName(r)) return;
  if (!ButtonPressed(0) && !KeyPressed(kKeyReturn) && !KeyPressed(kKeyPadEnter)) return;
  PlayClickSound();
  LatchButton(0);
  LatchKey(kKeyReturn);
  LatchKey(kKeyPadEnter);
  BeginItemTextEntry(kTextEntryItemName, r);
  CopyCut(NameEditBuffer, kNameEditSize, raw, kNameShownChars);
  NameEditCursor = static_cast<uint32_t>(std::strlen(NameEditBuffer));
}

// Size, material and kind on row 2.
void Headline(const CraftedWeaponRecord& item) {
  int column = kNameColumn;
  const char* size = Word(kSizeWords, item.size);
  LinkWord(size, kStyleValue, column, 2, "Size", "Size", 21004);
  column += static_cast<int>(std::strlen(size)) + 1;
  const char* material = Word(kMaterialWords, item.material);
  const char* page = "Materials";
  int32_t topic = 43006;
  switch (item.material) {
    case 4: {
      page = "Silver";
      topic = 43010;
      break;
    }
    case 5: {
      page = "Cold Iron";
      topic = 43011;
      break;
    }
    case 7: {
      page = "Mithral";
      topic = 43013;
      break;
    }
    case 8: {
      page = "Adamantine";
      topic = 43014;
      break;
    }
    default: break;
  }
  LinkWord(material, kStyleValue, column, 2, "Material", page, topic);
  column += static_cast<int>(std::strlen(material)) + 1;
  PageTextAt(item.itemType == 0 ? "Nothing" : Word(ForgeKindNames, item.itemType, 1), kStyleValue, column, 2);
}

void DamageKindAndPrice(const CraftedWeaponRecord& item) {
  if (item.itemType < kFirstShieldType && item.damageKind >= 1 && item.damageKind <= 3) {
    const char* word = kDamageKindWords[item.damageKind - 1];
    PageTextAt(word, kStyleValue, kNameColumn, 3);
    PageTextAt("weapon", kStyleLabel, kNameColumn + static_cast<int>(std::strlen(word)) + 1, 3);
  }
  PageTextAt("Price:", kStyleLabel, 27, 3);
  char price[16];
  std::snprintf(price, sizeof price, "%i", item.price);
  PageTextAt(price, kStyleValue, 33, 3);
}

// Lays the text out from the line without drawing; true when it ends inside the box.
bool EndsInside(const char* text, int firstLine) {
  DrawLinkedText(text, kStylePink, 1, kDescriptionTop, 38, kDescriptionBottom, firstLine, 1, 1, 0);
  return LinkedTextOverflow != -1;
}

void Description(int r, bool editable) {
  const CraftedWeaponRecord& item = CraftedWeapons[r];
  char text[sizeof item.description + 1];
  CopyCut(text, sizeof text, item.description, sizeof item.description);
  if (EditingDescription(r)) {
    ItemDescriptionBuffer[kItemDescriptionEditSize - 1] = '\0';
    int scroll = 0;
    while (scroll < kLongestScroll && !EndsInside(ItemDescriptionBuffer, scroll)) ++scroll;
    BackgroundScroll = scroll;
    DrawLinkedText(ItemDescriptionBuffer, kStyleHover, 1, kDescriptionTop, 38, kDescriptionBottom, scroll, 0, 1, 1);
    DrawCaret(LinkedTextEndColumn, LinkedTextEndRow);
  }
  const bool overEdit = editable && MouseInTextRow(6, 1, 39, 2, 1, 0);
  if (!EditingDescription(r)) {
    const int style = overEdit && !Editing() ? kStyleHover : kStylePink;
    DrawLinkedText(text, style, 1, kDescriptionTop, 38, kDescriptionBottom, static_cast<int>(BackgroundScroll), 1, 1, 1);
  }
  const bool runsOn = !EditingDescription(r) && LinkedTextOverflow == -1;
  if (overEdit) {
    CursorShape = kCursorEdit;
    SetHoverCaption("Edit Description (Enter to Confirm)");
    if (!Editing() && ButtonPressed(0)) {
      LatchButton(0);
      PlayClickSound();
      while (BackgroundScroll < kLongestScroll && !EndsInside(text, static_cast<int>(BackgroundScroll)))
        ++BackgroundScroll;
      BeginItemTextEntry(kTextEntryItemDescription, r);
      CopyCut(ItemDescriptionBuffer, kItemDescriptionEditSize, text, kItemDescriptionEditSize - 1);
    }
  }
  if (BackgroundScroll > 0) DrawSheetFrame(kSheetInterface, kArrowUpFrame, 304, 40);
  if (runsOn) DrawSheetFrame(kSheetInterface, kArrowDownFrame, 304, 64);
  if (Editing()) return;
  if (MouseInTextRow(kDescriptionTop, 1, 38, 4, 1, 0)) {
    const int wheel = GetMouseWheel();
    if (wheel > 0 && BackgroundScroll > 0) --BackgroundScroll;
    else if (wheel < 0 && runsOn) ++BackgroundScroll;
  }
  if (TakeKey(kKeyPageUp) && BackgroundScroll > 0) --BackgroundScroll;
  if (TakeKey(kKeyPageDown) && runsOn) ++BackgroundScroll;
  if (CursorShape == kCursorLink) return;  // a link of the text is under the pointer
  if (PointerOnCells(1, kDescriptionTop, 38)) {
    SetHoverCaption("Scroll Up");
    CursorShape = BackgroundScroll > 0 ? kCursorScrollUp : kCursorRefused;
    if (ButtonPressed(0)) {
      LatchButton(0);
      if (BackgroundScroll > 0) --BackgroundScroll;
    }
  } else if (PointerOnCells(1, kDescriptionBottom, 38)) {
    SetHoverCaption("Scroll Down");
    CursorShape = runsOn ? kCursorScrollDown : kCursorRefused;
    if (ButtonPressed(0)) {
      LatchButton(0);
      if (runsOn) ++BackgroundScroll;
    }
  }
}

// The threat range a keen weapon shows.
int32_t KeenLowest(int32_t lowest) {
  switch (lowest) {
    case 20: return 19;
    case 19: return 17;
    case 18: return 15;
    case 17: return 13;
    default: return lowest;
  }
}

void ValuesBlock(const CraftedWeaponRecord& item) {
  char value[32];
  const bool armour = item.itemType >= kFirstShieldType;
  if (armour) {
    std::snprintf(value, sizeof value, "%i", item.dieSides);
    LabelledValue("Armor Bonus:", 1, 10, value, 13, "Armor Class", "Armor Class", 41005);
  } else {
    LabelledValue("Handling:", 1, 10, Word(kHandlingWords, item.handling, 1), 10, "Weapon Concepts", "Weapon Concepts",
                  43001);
  }
  LabelledValue("Proficiency:", 18, 10, Word(kProficiencyWords, item.proficiency, 1), 30, "Weapon Concepts",
                "Weapon Concepts", 43001);
  if (armour) {
    std::snprintf(value, sizeof value, "%i", item.critMultiplier);
    LabelledValue("Spell Failure:", 1, 11, value, 15, "Spell Failure", "Spell Failure", 61083);
    if (item.itemType <= 37) std::snprintf(value, sizeof value, "-");
    else std::snprintf(value, sizeof value, "%i", item.dieCount);
    LabelledValue("Max Dex Bonus:", 18, 11, value, 32, "Restricted Dexterity", "Restricted Dex Bonus", 61088);
    std::snprintf(value, sizeof value, "%i", item.critLow);
    LabelledValue("Armor Penalty:", 1, 12, value, 15, "Armor Check Penalty", "Armor Check Penalty", 41018);
  } else {
    if (item.enhancement > 0) std::snprintf(value, sizeof value, "%iD%i+%i", item.dieCount, item.dieSides, item.enhancement);
    else std::snprintf(value, sizeof value, "%iD%i", item.dieCount, item.dieSides);
    LabelledValue("Damage:", 1, 11, value, 8, "Damage Rolls", "Damage Rolls", 41004);
    const int32_t lowest = item.properties[kKeenProperty - 1] == 1 ? KeenLowest(item.critLow) : item.critLow;
    if (lowest == 20) std::snprintf(value, sizeof value, "*%i", item.critMultiplier);
    else std::snprintf(value, sizeof value, "%i-20/*%i", lowest, item.critMultiplier);
    LabelledValue("Criticals:", 18, 11, value, 28, "Critical Hits", "Critical Hits", 43015);
    if (item.handling == kHandlingRanged) {
      PageTextAt("Range:", kStyleLabel, 1, 12);
      std::snprintf(value, sizeof value, "%i Feet", item.range);
      PageTextAt(value, kStyleValue, 7, 12);
    }
  }
  std::snprintf(value, sizeof value, "+%i", item.enhancement);
  LabelledValue("Enhancement:", 18, 12, value, 31, "Magic Weapons", "Magic Weapons", 43005);
}

// One line of the special attributes, linked to its page.
void AttributeLine(const char* text, int style, int row, const char* caption, int32_t topic) {
  Link(text, style, 1, row, 33, caption, caption, topic);
}

void SpecialAttributes(const CraftedWeaponRecord& item) {
  PageTextAt("Special Attributes", kStyleLabel, 1, 14);
  int row = 15;
  if (item.masterwork == 1) AttributeLine("Masterwork", kStyleValue, row++, "Masterwork", 43002);
  if (item.composite == 1)
    AttributeLine("Composite (Add STR bonus to damage)", kStyleValue, row++, "Composite Bows", 62008);
  if (item.chargeDouble == 1)
    AttributeLine("Deals double damage Vs charging", kStyleValue, row++, "Bonus Against Charging", 43137);
  if (item.itemType == kItemTypeWand && item.spell > 0 && item.spell < kSpellRows && item.charges > 0) {
    char keyword[64], line[80];
    CapitaliseWords(keyword, SpellKeywordFull(item.spell), 1);
    std::snprintf(line, sizeof line, "%i*%s", item.charges, keyword);
    const int32_t topic = SpellHelpPage(item.spell);
    AttributeLine(line, kStyleTitle, row++, keyword, topic);
  }
  if (item.noSale == kQuestItem) PageTextAt("Quest Item", kStyleWhite, 1, row++);
  for (int k = 0; k < kCraftedProperties; ++k) {
    if (item.properties[k] != 1) continue;
    const PropertyLine& p = kPropertyLines[k];
    AttributeLine(p.text, p.style, row++, p.caption, p.topic);
  }
}

}  // namespace

int DrawItemDetailsScreen(int r) {
  std::memset(HoverCaption, 0, 100);
  CursorShape = kCursorRest;
  if (++g_blinkCounter >= kBlinkFrames) {
    g_blinkCounter = 0;
    g_caretShown = !g_caretShown;
  }
  if (r < 1 || r >= kCraftedRows || CraftedWeapons[r].itemType == 0) return 0;
  // Typing begun on another page, or on another item's sheet, is dropped.
  CreatureTextEntryStillOpen();
  const CraftedWeaponRecord& item = CraftedWeapons[r];
  const bool editable = IsItemHeldByParty(static_cast<uint32_t>(r));

  DrawFramedBox(0, 0, 1);
  for (int row : {4, 9, 13}) DrawSeparatorLine(row, 1, 38, row);
  DrawFigureSprite(kBackdropFigure, 8, 8, 0xFFFFFFFFu, 0);
  DrawFigureSprite(item.icon, 8, 8, 0xFFFFFFFFu, 0);
  NameRow(r, editable);
  Headline(item);
  DamageKindAndPrice(item);
  Description(r, editable);
  ValuesBlock(item);
  SpecialAttributes(item);
  EndCharacterPage(true);
  return 1;
}
