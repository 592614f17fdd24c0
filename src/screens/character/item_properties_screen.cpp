// The sheet of a base item: its picture, name, type and price, its
// description with links, and a sentence on its magic made from its type
// and bonus amount.
#include <cstdio>
#include <cstring>

#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/sprite_sheets.h"
#include "engine/text.h"
#include "engine/widgets.h"
#include "rules/casting_rules.h"
#include "rules/item_tables.h"
#include "screens/character/character_screens.h"
#include "screens/character/page_kit.h"
#include "screens/character/sheet_description.h"
#include "screens/character/sheet_texts.h"

namespace {

constexpr uint32_t kFrameTint = 0xFFBEBEBEu, kFill = 0xFF787878u;
constexpr int kBorderSheet = 53, kRuleLeft = 85, kRuleRight = 112;
constexpr int kItemBackdropFigure = 405;
constexpr int kTypeNameCount = 39;
constexpr DescriptionBox kDescription = {14, 71, 112, false};

// The sentences of the magic items by base type, "" for the types that have
// none of their own (%i the bonus amount).
const char* SentenceOfType(int32_t type) {
  switch (type) {
    case 38: return "This \xA3Ring_of_Protection\xA3 is a \xA3Magic_Item\xA3 that gives a \xA3" "Deflection\xA3 bonus of +%i to the \xA3" "Armor_Class\xA3.";
    case 37: return "This \xA3Ring_of_Sonic_Resistance\xA3 is a \xA3Magic_Item\xA3 that reduces \xA3Sonic_Damage\xA3 by %i points.";
    case 36: return "This \xA3Ring_of_Electricity_Resistance\xA3 is a \xA3Magic_Item\xA3 that reduces \xA3" "Electricity_Damage\xA3 by %i points.";
    case 35: return "This \xA3Ring_of_Acid_Resistance\xA3 is a \xA3Magic_Item\xA3 that reduces \xA3" "Acid_Damage\xA3 by %i points.";
    case 34: return "This \xA3Ring_of_Cold_Resistance\xA3 is a \xA3Magic_Item\xA3 that reduces \xA3" "Cold_Damage\xA3 by %i points.";
    case 33: return "This \xA3Ring_of_Fire_Resistance\xA3 is a \xA3Magic_Item\xA3 that reduces \xA3" "Fire_Damage\xA3 by %i points.";
    case 32: return "This \xA3Helm_of_Wisdom\xA3 is a \xA3Magic_Item\xA3 that increases \xA3Wisdom\xA3 by %i points.";
    case 31: return "This \xA3" "Circlet_of_Intellect\xA3 is a \xA3Magic_Item\xA3 that increases \xA3Intelligence\xA3 by %i points.";
    case 30: return "The \xA3" "Cloak_of_Faith\xA3 is a \xA3Magic_Item\xA3 that grants damage reduction 5 \xA3/Unholy\xA3.";
    case 29: return "This \xA3" "Cloak_of_Spell_Resistance\xA3 is a \xA3Magic_Item\xA3 that gives \xA3Spell_Resistance\xA3 %i.";
    case 28: return "This \xA3" "Cloak_of_Resistance\xA3 is a \xA3Magic_Item\xA3 that gives a bonus of %i to all \xA3Saving_Throws\xA3.";
    case 27: return "This \xA3" "Cloak_of_Displacement\xA3 is a \xA3Magic_Item\xA3 that gives a \xA3" "Concealment\xA3 of %i%%.";
    case 26: return "This \xA3" "Cloak_of_Blur\xA3 is a \xA3Magic_Item\xA3 that gives a \xA3" "Concealment\xA3 of %i%%.";
    case 25: return "This \xA3" "Cloak_of_the_Spider\xA3 is a \xA3Magic_Item\xA3 that makes you \xA3Immune_to_Entangle_and_Web\xA3 effects.";
    case 24: return "These \xA3" "Bracers_of_Dexterity\xA3 are a \xA3Magic_Item\xA3 giving a +%i bonus to \xA3" "Dexterity\xA3.";
    case 23: return "These \xA3" "Bracers_of_Armor\xA3 are a \xA3Magic_Item\xA3 giving a +%i bonus to \xA3" "Armor_Class\xA3.";
    case 22: return "These \xA3" "Boots_of_Striding\xA3 are a \xA3Magic_Item\xA3 giving a +10 bonus to \xA3Speed\xA3.";
    case 21: return "This \xA3" "Belt_of_Giant_Strength\xA3 is a \xA3Magic_Item\xA3 that gives a +%i bonus to \xA3Strength\xA3.";
    case 20: return "This \xA3Health_Amulet\xA3 is a \xA3Magic_Item\xA3 that gives a +%i bonus to \xA3" "Constitution\xA3.";
    case 8: return "This \xA3Sleeping_Arrow\xA3 is a \xA3Magic_Item\xA3 that has a chance to make any creature not immune to sleep effects unconscious.";
    default: break;
  }
  if (type >= 9 && type <= 16)
    return "This \xA3Slaying_Arrow\xA3 is a \xA3Magic_Item\xA3 that can kill a creature of the appropriate race on the spot.";
  return "This item has no magical properties.";
}

const ItemRecord* BaseItemOfCode(int code) {
  if (code <= static_cast<int>(kFirstBaseItemCode) || code - static_cast<int>(kFirstBaseItemCode) >= kItemRows)
    return nullptr;
  return &ItemTable[code - kFirstBaseItemCode];
}

}  // namespace

void ItemPropertiesSentence(int32_t baseType, int32_t bonus, char (&out)[kPropertiesSentenceSize]) {
  std::memset(out, 0, sizeof out);
  if (baseType == 19) {
    char built[kPropertiesSentenceSize] = {};
    std::snprintf(built, sizeof built, "This \xA3Magic_Scroll\xA3 contains the spell \xA3%s", SpellKeywordFull(bonus));
    CapitaliseWords(out, built, 0);
    const size_t n = std::strlen(out);
    if (n + 2 < sizeof out) std::memcpy(out + n, "\xA3.", 3);
    return;
  }
  std::snprintf(out, sizeof out, SentenceOfType(baseType), bonus);
}

int DrawItemPropertiesScreen(int itemCode) {
  LastScreenDrawn = "DrawItemPropertiesScreen";
  BeginCharacterPage();
  DrawFramedBox(kFrameTint, kFill, 4);
  DrawSeparatorLine(4, 0, 39, 4);
  DrawSheetFrame(kBorderSheet, kRuleLeft, 0, 32, kFrameTint);
  DrawSheetFrame(kBorderSheet, kRuleRight, 312, 32, kFrameTint);
  DrawSeparatorLine(15, 0, 39, 15);
  DrawSheetFrame(kBorderSheet, kRuleLeft, 0, 120, kFrameTint);
  for (int i = 0; i < 4; ++i) DrawSheetFrame(kBorderSheet, kRuleRight + i, 312, 120 + 8 * i, kFrameTint);

  // A code past the base item table names no item: the page stays empty.
  if (const ItemRecord* item = BaseItemOfCode(itemCode)) {
    DrawFigureIcon(0, 0, kItemBackdropFigure, 1, 1, 0xFFFFFFFFu, 0);
    DrawFigureIcon(0, 0, item->icon, 1, 1, 0xFFFFFFFFu, 0);
    char name[kCaptionShown + 1];
    CopyCut(name, sizeof name, item->name, kCaptionShown);
    PageTextAt(name, kStyleTitle, 4, 1);
    if (item->baseType > 0 && item->baseType < kTypeNameCount) {
      char type[sizeof BaseItemTypeNames[0] + 1];
      CopyCut(type, sizeof type, BaseItemTypeNames[item->baseType], sizeof BaseItemTypeNames[0]);
      PageTextAt(type, kStyleValue, 4, 2);
    }
    PageTextAt("Price:", kStyleLabel, 27, 3);
    DrawTextF(kStyleValue, 33, 3, "%i", item->price);

    char description[sizeof item->description + 1];
    CopyCut(description, sizeof description, item->description, sizeof item->description);
    const bool more = DrawSheetDescription(description, kDescription);
    ScrollSheetDescription(kDescription, more);

    char sentence[kPropertiesSentenceSize];
    ItemPropertiesSentence(item->baseType, item->bonus, sentence);
    PageTextAt("Magical Properties", kStyleLabel, 1, 16);
    DrawSideLinkedText(sentence, kStyleLabel, 1, 18, 38, 25);
  }
  EndCharacterPage(true);
  return 1;
}
