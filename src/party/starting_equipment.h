// The equipment a new party member sets out with: armour and weapons chosen
// by its class and its proficiency and weapon-focus feats, each a copy of an
// item template of the prepared crafted-item table, paid from the party gold.
#pragma once
#include <cstdint>

// Template t is crafted row 4,951 + t: 1 to 35 the weapons of the weapon
// focus feats in feat order (template t belongs to feat 69 + t), 44 and 46
// armour.
constexpr int kTemplateRowBase = 4951;
enum ItemTemplate : int {
  kTemplateDagger = 1,
  kTemplateLightMace = 2,
  kTemplateMorningstar = 6,
  kTemplateHeavyCrossbow = 10,
  kTemplateLightCrossbow = 11,
  kTemplateShortSword = 16,
  kTemplateLongsword = 19,
  kTemplateRapier = 21,
  kTemplateLongbow = 32,
  kTemplateShortbow = 33,
  kTemplateBastardSword = 34,
  kTemplateDwarvenWaraxe = 35,
  kTemplateLightArmour = 44,
  kTemplateMediumArmour = 46,
};
// Ammunition that comes with a crossbow or a bow, and what it costs.
constexpr uint32_t kBoltsCode = 5002;
constexpr uint32_t kArrowsCode = 5001;
constexpr int32_t kStartingAmmunition = 20;

// The weapon group of a weapon-focus feat: 1 light, 2 one-handed, 3
// two-handed, 4 ranged; 0 outside 70 to 104.
enum WeaponGroup : int { kGroupNone = 0, kGroupLight = 1, kGroupOneHanded = 2, kGroupTwoHanded = 3, kGroupRanged = 4 };
int WeaponGroupOfFocusFeat(int feat);
// The template a martial or exotic proficiency feat (30 to 53) hands out; -1
// for any other feat.
int MapWeaponFeatToTemplate(int feat);

// Copies template t into a free row of the crafted pool (none: nothing happens)
// and gives it to the member: slot 12 (when empty, with 20 bolts or arrows
// for a crossbow or a bow, which cost 2 or 1 gold), slot 3, 7 or 8 (when
// empty), else the first free carried pair. An item that finds no place
// frees its row again and costs nothing; otherwise its price is taken from
// the party gold, which stops at 0.
void GiveStartingItem(int member, int slot, int itemTemplate);
// The member's armour and weapons by its class and feats.
void GiveStartingEquipment(int member);
