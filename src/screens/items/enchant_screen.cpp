// Enchanting a masterwork weapon, shield or suit of armour: enhancement
// bonuses and special abilities with their requirements, their price in
// gold and experience, and the item's new name and picture.
#include <cstdio>
#include <cstring>

#include "engine/click_sound.h"
#include "engine/last_screen.h"
#include "engine/page_history.h"
#include "engine/settings.h"
#include "engine/text.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "rules/creature_record.h"
#include "rules/item_rules.h"
#include "rules/item_tables.h"
#include "screens/character/page_kit.h"
#include "screens/game/shared_routines.h"
#include "screens/items/crafting.h"
#include "screens/items/item_screens.h"
#include "state/game_progress.h"
#include "state/inventory_state.h"

namespace {

constexpr int kStyleRed = 7;
constexpr int kEnhancementFirst = 46, kEnhancementLast = 50;
constexpr int kListColumn = 34;
constexpr int32_t kFirstShieldType = 36;
constexpr int32_t kMaterialColdIron = 5, kMaterialAdamantine = 8;
constexpr int32_t kSlashing = 1, kBludgeoning = 2;

struct Enchantment {
  const char* label;
  int32_t bonus;
  const char* requirements[3];
  const char* word;
  int32_t pictureOffset;
  const char* helpCaption;
  int32_t topic;
};

// By enchantment id - 1: 1-45 the special properties, 46-50 the enhancement +1 to +5.
const Enchantment kEnchantments[50] = {
    {"+4 Vorpal", 4, {"Slashing"}, "Death", 1, "Vorpal", 43018},
    {"+4 Destruction", 4, {}, "Doom", 5, "Destruction", 43019},
    {"+4 Brilliant Energy", 4, {"Melee Weapon", "Not Disrupting"}, "Light", 2, "Brilliant Energy", 43020},
    {"+3 Blindness", 3, {}, "Blind", 4, "Blindness", 43021},
    {"+3 Speed", 3, {}, "Swift", 1, "Quick", 43022},
    {"+3 Life Stealing", 3, {"Slashing"}, "Drain", 5, "Life Stealing", 43023},
    {"+3 Wounding", 3, {}, "Wound", 3, "Wounding", 43024},
    {"+2 Holy", 2, {"Not Unholy"}, "Holy", 4, "Holy", 43025},
    {"+2 Unholy", 2, {"Not Holy"}, "Evil", 4, "Unholy", 43026},
    {"+2 Axiomatic", 2, {"Not Anarchic"}, "Law", 4, "Axiomatic", 43027},
    {"+2 Anarchic", 2, {"Not Axiomatic"}, "Chaos", 4, "Anarchic", 43028},
    {"+2 Flaming Burst", 2, {"Not Frost", "Not Shock"}, "Fire", 1, "Flaming Burst", 43029},
    {"+2 Icy Burst", 2, {"Not Flaming", "Not Shock"}, "Frost", 2, "Icy Burst", 43030},
    {"+2 Shock Burst", 2, {"Not Flaming", "Not Frost"}, "Shock", 5, "Shock Burst", 43031},
    {"+2 Disruption", 2, {"Bludgeoning", "Not Brilliant", "Energy"}, "Sun", 4, "Disruption", 43032},
    {"+1 Despair", 1, {}, "Bane", 3, "Bane", 43033},
    {"+1 Flaming", 1, {"Not Frost", "Not Shock"}, "Fire", 1, "Flaming", 43034},
    {"+1 Frost", 1, {"Not Flaming", "Not Shock"}, "Frost", 2, "Frost", 43035},
    {"+1 Shock", 1, {"Not Flaming", "Not Frost"}, "Shock", 5, "Shock", 43036},
    {"+1 Keen", 1, {"Not Bludgeoning"}, "Keen", 3, "Keen", 43037},
    {"+1 Thundering", 1, {}, "Storm", 2, "Thundering", 43038},
    {"+2 Acid Resistance I", 2, {}, "Acid", 3, "Acid Resistance", 43039},
    {"+3 Acid Resistance II", 3, {}, "Acid", 3, "Acid Resistance", 43039},
    {"+4 Acid Resistance III", 4, {}, "Acid", 3, "Acid Resistance", 43039},
    {"+2 Cold Resistance I", 2, {}, "Cold", 2, "Cold Resistance", 43040},
    {"+3 Cold Resistance II", 3, {}, "Cold", 2, "Cold Resistance", 43040},
    {"+4 Cold Resistance III", 4, {}, "Cold", 2, "Cold Resistance", 43040},
    {"+2 Shock Resistance I", 2, {}, "Shock", 5, "Shock Resistance", 43041},
    {"+3 Shock Resistance II", 3, {}, "Shock", 5, "Shock Resistance", 43041},
    {"+4 Shock Resistance III", 4, {}, "Shock", 5, "Shock Resistance", 43041},
    {"+2 Fire Resistance I", 2, {}, "Fire", 1, "Fire Resistance", 43042},
    {"+3 Fire Resistance II", 3, {}, "Fire", 1, "Fire Resistance", 43042},
    {"+4 Fire Resistance III", 4, {}, "Fire", 1, "Fire Resistance", 43042},
    {"+2 Sonic Resistance I", 2, {}, "Sonic", 4, "Sonic Resistance", 43043},
    {"+3 Sonic Resistance II", 3, {}, "Sonic", 4, "Sonic Resistance", 43043},
    {"+4 Sonic Resistance III", 4, {}, "Sonic", 4, "Sonic Resistance", 43043},
    {"+1 Fortification I", 1, {}, "Aura", 2, "Fortification", 43044},
    {"+3 Fortification II", 3, {}, "Aura", 2, "Fortification", 43044},
    {"+5 Fortification III", 5, {}, "Aura", 2, "Fortification", 43044},
    {"+3 Invulnerability", 3, {"Not Shield", "Not Adamantine"}, "Soak", 5, "Invulnerability", 43045},
    {"", 1, {"Not Shield"}, "Spell", 4, "Spell Resistance", 43046},
    {"13", 2, {"Not Shield"}, "Spell", 4, "Spell Resistance", 43046},
    {"15", 3, {"Not Shield"}, "Spell", 4, "Spell Resistance", 43046},
    {"17", 4, {"Not Shield"}, "Spell", 4, "Spell Resistance", 43046},
    {"19", 5, {"Not Shield"}, "Spell", 4, "Spell Resistance", 43046},
    {"+1", 1, {}, nullptr, 0, "Weapon/Armor Enchantments", 43005},
    {"+2", 2, {}, nullptr, 0, "Weapon/Armor Enchantments", 43005},
    {"+3", 3, {}, nullptr, 0, "Weapon/Armor Enchantments", 43005},
    {"+4", 4, {}, nullptr, 0, "Weapon/Armor Enchantments", 43005},
    {"+5", 5, {}, nullptr, 0, "Weapon/Armor Enchantments", 43005},
};

// The order in which the set flags name the item.
constexpr int kNameOrder[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 39, 45,
                              44, 33, 27, 24, 30, 36, 40, 38, 43, 32, 26, 23, 29, 35, 42, 31, 25, 22, 28, 34, 37, 41};

// Short words of the item types 0-48 that end an enchanted item's name.
const char kShortTypeNames[49][7] = {
    "N/A",   "Dagger", "Mace",  "Sickle", "Club",   "Mace",  "Star",   "Spear", "Wand",   "Spear", "Crsbow", "Crsbow",
    "Hammer", "Axe",   "Kukri", "Pick",   "Sword",  "Axe",   "Flail",  "Sword", "Pick",   "Rapier", "Blade", "Tridnt",
    "Hammer", "Blade", "Axe",   "Club",   "Flail",  "Sword", "Halbrd", "Scythe", "Bow",   "Bow",   "Sword",  "Axe",
    "Shield", "Shield", "Mail", "Plate",  "Shirt",  "Mail",  "Plate",  "Plate", "Armor",  "Armor", "Mail",   "Mail",
    "Armor"};

bool Has(const CraftedWeaponRecord& r, int flag) { return r.properties[flag - 1] != 0; }

// The first and last id of the family of tiers an id belongs to (itself alone
// when it has none).
void Family(int id, int* first, int* last) {
  *first = *last = id;
  if (id >= 22 && id <= 39) {
    *first = 22 + (id - 22) / 3 * 3;
    *last = *first + 2;
  } else if (id >= 41 && id <= 45) {
    *first = 41;
    *last = 45;
  }
}

bool AlreadyHas(const CraftedWeaponRecord& r, int id) {
  if (id >= kEnhancementFirst) return r.enhancement >= id - 45;
  if (id >= 17 && id <= 19 && Has(r, id - 5)) return true;
  int first, last;
  Family(id, &first, &last);
  for (int k = id; k <= last; ++k)
    if (Has(r, k)) return true;
  return false;
}

// The bonus of what the choice replaces on the item.
int32_t ReplacedBonus(const CraftedWeaponRecord& r, int id) {
  if (id >= kEnhancementFirst) return r.enhancement;
  if (id >= 12 && id <= 14 && Has(r, id + 5)) return kEnchantments[id + 4].bonus;
  int first, last;
  Family(id, &first, &last);
  for (int k = first; k < id; ++k)
    if (Has(r, k)) return kEnchantments[k - 1].bonus;
  return 0;
}

bool EnergyClear(const CraftedWeaponRecord& r, int a, int b, int c, int d) {
  return !Has(r, a) && !Has(r, b) && !Has(r, c) && !Has(r, d);
}

bool RequirementsMet(const CraftedWeaponRecord& r, int id) {
  const bool ranged = r.itemType == 10 || r.itemType == 11 || r.itemType == 32 || r.itemType == 33;
  const bool shield = r.itemType == 36 || r.itemType == 37;
  switch (id) {
    case 1: case 6: return r.damageKind == kSlashing;
    case 3: return !ranged && !Has(r, 15);
    case 8: return !Has(r, 9);
    case 9: return !Has(r, 8);
    case 10: return !Has(r, 11);
    case 11: return !Has(r, 10);
    case 12: case 17: return EnergyClear(r, 13, 14, 18, 19);
    case 13: case 18: return EnergyClear(r, 12, 14, 17, 19);
    case 14: case 19: return EnergyClear(r, 12, 13, 17, 18);
    case 15: return r.damageKind == kBludgeoning && !Has(r, 3);
    case 20: return r.damageKind != kBludgeoning;
    case 40: return !shield && r.material != kMaterialAdamantine;
    case 41: case 42: case 43: case 44: case 45: return !shield;
    default: return true;
  }
}

int32_t EnchantmentWorth(bool weapon, int32_t total) { return (weapon ? 2000 : 1000) * total * total; }

bool ValidItem(int32_t code) {
  if (code < 1 || code >= static_cast<int32_t>(kFirstBaseItemCode)) return false;
  const CraftedWeaponRecord& r = CraftedWeapons[code];
  return r.name[0] != 0 && r.itemType >= 1 && r.itemType <= 48;
}

// The achievements of enchanting a weapon to the total.
void ReportEnchantingAchievements(int32_t total) {
  if (!AchievementsClientAvailable()) return;
  int fresh = 0;
  auto grant = [&fresh](int slot, const char* identifier) {
    if (AchievementProgress[slot] == 0) {
      AchievementProgress[slot] = 1;
      ++fresh;
    }
    ReportAchievement(identifier);
  };
  const bool ironman = OptionWords[kOptionIronmanMode] == 1;
  if (IntroductoryAdventureFlag == 1) {
    if (DemoChosenFlag == 0) grant(2, "ACHIEVEMENT_WEAPON_CRAFTER");
  } else {
    grant(84, "ACHIEVEMENT_WEAPONCRAFTING_WARRIOR");
    if (ironman) grant(83, "ACHIEVEMENT_WEAPONCRAFTING_ADEPT");
    if (total == 10) {
      grant(82, "ACHIEVEMENT_WEAPONCRAFTING_EXPERT");
      if (ironman) grant(81, "ACHIEVEMENT_WEAPONCRAFTING_MASTER");
    }
  }
  if (fresh > 0) SubmitPartyScore(fresh);
}

}  // namespace

int32_t EnchantRequiredLevel(int id) {
  if (id < 1 || id > kEnhancementLast) return 0;
  if (id >= kEnhancementFirst) return 3 * (id - 45);
  return 2 * kEnchantments[id - 1].bonus + 1;
}

EnchantQuote QuoteEnchantment(int item, int id) {
  EnchantQuote q{EnchantRefusal::kNone, 0, 0, 0, {0, 0}};
  if (!ValidItem(item) || id < 1 || id > kEnhancementLast) {
    q.refusal = EnchantRefusal::kRequirement;
    return q;
  }
  const CraftedWeaponRecord& r = CraftedWeapons[item];
  q.oldTotal = ItemEnhancementTotal(static_cast<uint32_t>(item));
  if (AlreadyHas(r, id)) q.refusal = EnchantRefusal::kAlreadyHas;
  else if (q.oldTotal == 0 && id < kEnhancementFirst) q.refusal = EnchantRefusal::kFirstEnhancement;
  else if (!RequirementsMet(r, id)) q.refusal = EnchantRefusal::kRequirement;
  if (q.refusal != EnchantRefusal::kNone) return q;
  q.newTotal = q.oldTotal + kEnchantments[id - 1].bonus - ReplacedBonus(r, id);
  if (q.newTotal > 10) {
    q.refusal = EnchantRefusal::kTooHigh;
    return q;
  }
  const bool weapon = r.itemType < kFirstShieldType;
  q.value = EnchantmentWorth(weapon, q.newTotal) - EnchantmentWorth(weapon, q.oldTotal);
  if (r.material == kMaterialColdIron) q.value += 2000 * (q.newTotal - q.oldTotal);
  q.cost = EnchantingCost(q.value);
  return q;
}

void WriteEnchantment(int item, int id, int32_t value) {
  if (!ValidItem(item) || id < 1 || id > kEnhancementLast) return;
  CraftedWeaponRecord& r = CraftedWeapons[item];
  r.price = ChangedCraftedPrice(r.price, value);
  if (id >= kEnhancementFirst) {
    r.enhancement = id - 45;
  } else {
    int first, last;
    Family(id, &first, &last);
    for (int k = first; k < id; ++k) r.properties[k - 1] = 0;
    if (id >= 12 && id <= 14) r.properties[id + 4] = 0;
    r.properties[id - 1] = 1;
  }
  const Enchantment* named = nullptr;
  for (int flag : kNameOrder)
    if (Has(r, flag)) {
      named = &kEnchantments[flag - 1];
      break;
    }
  std::memset(r.name, 0, sizeof r.name);
  const char* type = kShortTypeNames[r.itemType];
  if (named) std::snprintf(r.name, sizeof r.name, "+%i %s %s", r.enhancement, named->word, type);
  else std::snprintf(r.name, sizeof r.name, "+%i %s", r.enhancement, type);
  r.icon = MovedCraftedPicture(CraftedWeapons[ForgeKindRecord(r.itemType)].icon, named ? named->pictureOffset : 6);
}

bool ApplyWeaponEnchantment(int item, int crafter, int id, int32_t requiredLevel, int32_t spareXP) {
  if (id < 1 || id > kEnhancementLast || crafter < 0 || crafter >= kCreatureCount) return false;
  const Enchantment& e = kEnchantments[id - 1];
  if (ButtonPressed(1)) {
    PlayClickSound();
    OpenPage(e.helpCaption, e.topic);
    LatchButton(1);
    return true;
  }
  const EnchantQuote q = QuoteEnchantment(item, id);
  if (q.refusal == EnchantRefusal::kRequirement || q.refusal == EnchantRefusal::kTooHigh ||
      q.refusal == EnchantRefusal::kNone)
    for (int line = 0; line < 3; ++line)
      if (e.requirements[line]) PageTextAt(e.requirements[line], kStylePink, 5, 15 + line);
  if (q.refusal != EnchantRefusal::kNone) {
    if (q.refusal == EnchantRefusal::kAlreadyHas) SetHoverCaption("Already Has Ability");
    if (q.refusal == EnchantRefusal::kTooHigh) SetHoverCaption("Total Bonus would exceed 10");
    CraftCostGold = CraftCostXP = 0;
    CursorShape = kCursorRefused;
    return false;
  }
  CraftCostGold = static_cast<uint32_t>(q.cost.gold);
  CraftCostXP = static_cast<uint32_t>(q.cost.xp);
  if (PartyGold < CraftCostGold || spareXP < q.cost.xp || Creatures[crafter].effectiveLevel < requiredLevel) {
    CursorShape = kCursorRefused;
    return false;
  }
  if (!ButtonPressed(0)) return false;
  if (CraftedWeapons[item].itemType < kFirstShieldType) ReportEnchantingAchievements(q.newTotal);
  PlayClickSound();
  PayCraftCost(crafter, q.cost);
  LatchButton(0);
  WriteEnchantment(item, id, q.value);
  CraftCostGold = CraftCostXP = 0;
  ChosenItem = -1;
  OpenInventoryMenu(crafter);
  return true;
}

int EnchantWeaponArmorScreen(int crafter) {
  LastScreenDrawn = "EnchantWeaponArmorScreen";
  BeginCharacterPage();
  DrawScreenBackdrop();
  ScreenHovered = 0;
  CraftCostGold = CraftCostXP = 0;
  const bool crafterValid = crafter >= 0 && crafter < kCreatureCount;
  // The chosen item is looked at afresh every frame: a purchase or a
  // cancelled pick may have left nothing chosen.
  const int item = ValidItem(ChosenItem) ? ChosenItem : -1;
  const int32_t spare = crafterValid ? SpareXP(crafter) : 0;
  PageTextAt("Available", kStyleLabel, 5, 20);
  PageTextAt("Gold:", kStyleLabel, 5, 21);
  PageTextAt("XP:", kStyleLabel, 5, 22);
  DrawTextF(kStyleGreen, 11, 21, "%u", PartyGold);
  DrawTextF(kStyleGreen, 11, 22, "%i", spare);
  int32_t hoveredLevel = -1;
  bool done = false;
  if (item > 0 && crafterValid) {
    const CraftedWeaponRecord& r = CraftedWeapons[item];
    PageTextAt(r.name, kStyleGreen, 5, 1);
    DrawTextF(kStyleGreen, 5, 3, "Total Enchantment Bonus: %i", ItemEnhancementTotal(static_cast<uint32_t>(item)));
    const bool weapon = r.itemType < kFirstShieldType;
    const int firstId = weapon ? 1 : 22, lastId = weapon ? 21 : 40;
    auto hover = [&](int id) {
      hoveredLevel = EnchantRequiredLevel(id);
      CursorShape = kCursorArrow;
      ScreenHovered = 1;
      done = ApplyWeaponEnchantment(item, crafter, id, hoveredLevel, spare);
    };
    for (int id = firstId; id <= lastId && !done; ++id) {
      const int row = 9 + id - firstId;
      const char* label = kEnchantments[id - 1].label;
      const bool over = MouseInTextRow(row, kListColumn, static_cast<int>(std::strlen(label)), 1, 0, 0);
      CraftingSmallText(label, over ? kStyleHover : kStyleLabel, kListColumn, row);
      if (over) hover(id);
    }
    if (!weapon && !done) {
      CraftingSmallText("Spell Resistance", kStyleLabel, kListColumn, 28);
      CraftingSmallText("13  15  17  19", kStyleLabel, kListColumn, 29);
      for (int k = 0; k < 4 && !done; ++k) {
        const int column = kListColumn + 4 * k;
        if (!MouseInTextRow(29, column, 2, 1, 0, 0)) continue;
        CraftingSmallText(kEnchantments[41 + k].label, kStyleHover, column, 29);
        hover(42 + k);
      }
    }
    if (!done) {
      CraftingSmallText("Enhancement Bonus", kStyleLabel, kListColumn, 30);
      CraftingSmallText("+1 +2 +3 +4 +5", kStyleLabel, kListColumn, 31);
      for (int n = 1; n <= 5 && !done; ++n) {
        const int column = kListColumn + 3 * (n - 1);
        if (!MouseInTextRow(31, column, 2, 1, 0, 0)) continue;
        char text[8];
        std::snprintf(text, sizeof text, "+%i", n);
        CraftingSmallText(text, kStyleHover, column, 31);
        hover(45 + n);
      }
    }
  }
  if (done) {
    EndCharacterPage(false);
    return 1;
  }
  CraftingSmallText("The first ability must", kStyleLabel, 8, 9);
  CraftingSmallText("be an enhancement bonus.", kStyleLabel, 8, 10);
  PageTextAt("Requirements", kStyleLabel, 5, 10);
  PageTextAt("Level:", kStyleLabel, 5, 12);
  if (hoveredLevel >= 0 && crafterValid)
    DrawTextF(Creatures[crafter].effectiveLevel < hoveredLevel ? kStyleRed : kStyleGreen, 5, 12, "       %i",
              hoveredLevel);
  PageTextAt("Gold:", kStyleLabel, 5, 13);
  PageTextAt("XP:", kStyleLabel, 5, 14);
  if (CraftCostGold != 0) DrawTextF(PartyGold < CraftCostGold ? kStyleRed : kStyleGreen, 11, 13, "%u", CraftCostGold);
  if (CraftCostXP != 0)
    DrawTextF(spare < static_cast<int32_t>(CraftCostXP) ? kStyleRed : kStyleGreen, 11, 14, "%u", CraftCostXP);
  if (CraftingCancelPressed(nullptr)) OpenInventoryMenu(crafter);
  if (ScreenHovered == 0) HoverSoundMark = -1;
  EndCharacterPage(false);
  return 1;
}
