// Crafting: what a crafter pays in gold and experience, the forge's prices
// and its making of an item, enchanting an item, charging a wand and making
// the fixed magic items of the base table. The screens that show them are
// declared in item_screens.h.
#pragma once
#include <cstdint>

// Gold and experience of one piece of crafting.
struct CraftCost {
  int32_t gold;
  int32_t xp;
};

// The common rule from a price: a twenty-fifth in experience, half in gold
// (the whole price when there is no experience cost), both with a tenth more.
CraftCost CraftingCost(int32_t price);
// Enchanting: the same, but gold is always half of the value.
CraftCost EnchantingCost(int32_t value);
// Charging a wand with 50 uses of a spell of level 1 to 4, and scribing a
// scroll of a spell of level 1 to 9 (the spell's own material and
// experience costs included); {0, 0} for a spell outside those levels.
CraftCost WandChargeCost(int spell);
CraftCost ScrollScribeCost(int spell);
// The experience a creature has above the threshold of its level (level 1
// keeps all of it); what crafting may spend.
int32_t SpareXP(int creature);
// What stops the crafter paying: nothing, gold or experience (tested in that
// order; equal amounts are enough).
enum class CraftShortfall { kNone, kGold, kXP };
CraftShortfall CheckCraftCost(int crafter, CraftCost cost);
// Takes the gold from the purse and the experience from the crafter.
void PayCraftCost(int crafter, CraftCost cost);

// "Cancel" at the foot of the crafting pages, in the large cells at column 8
// of row 26: lit under the pointer with the hint (none when nullptr); true on
// a fresh left press, which clicks and is latched.
bool CraftingCancelPressed(const char* hint);
// Back to the page below (the crafting menu, or what opened the menu).
void LeaveCraftingPage();
// Text in small cells.
void CraftingSmallText(const char* text, int style, int column, int row);

// The forge's lasting choices: kind (1-48 the prepared kinds, 49 and 50 the
// composite bows, 51 a hundred arrows, 52 a hundred bolts), material (0
// basic, 1 silver, 2 cold iron, 3 mithral, 4 adamantine), masterwork, and
// the refusal of the last "Craft" (-1 none, 8 gold, 9 experience, 10 no room).
extern uint32_t ForgeKind;
extern uint32_t ForgeMaterial;
extern uint8_t ForgeMasterwork;
extern int32_t ForgeMessage;
constexpr int32_t kForgeNoGold = 8, kForgeNoXP = 9, kForgeNoRoom = 10, kForgeNoRecord = 11;
enum ForgeMaterialChoice : uint32_t { kForgeBasic = 0, kForgeSilver, kForgeColdIron, kForgeMithral, kForgeAdamantine };
constexpr uint32_t kForgeCompositeLongbow = 49, kForgeCompositeShortbow = 50, kForgeArrows = 51, kForgeBolts = 52;
// The forge's rules of what a kind allows, applied to its choices.
void SettleForgeChoices();
// The price of the forge's current choices (the choices settled first).
int32_t ForgePrice();
// Makes the current choice for the crafter: pays and puts the item into its
// pack. The refusal code (as ForgeMessage), or -1 when the item was made.
int32_t ForgeCurrentItem(int crafter);
// The prepared record of forge kind t (1-48).
int ForgeKindRecord(int kind);

// Enchanting: whether the crafted item may take the enchantment (1-45 the
// special properties, 46-50 the enhancement +1 to +5), and the change of
// its enchantment total and price. Refusals: already there, first must be an
// enhancement, a requirement unmet, a total above 10.
enum class EnchantRefusal { kNone, kAlreadyHas, kFirstEnhancement, kRequirement, kTooHigh };
struct EnchantQuote {
  EnchantRefusal refusal;
  int32_t oldTotal, newTotal;
  int32_t value;  // what the item's price rises by
  CraftCost cost;
};
EnchantQuote QuoteEnchantment(int item, int id);
// Writes the enchantment into the item: flag or enhancement, lower tiers
// cleared, new name and picture, price raised by the value.
void WriteEnchantment(int item, int id, int32_t value);
// The least effective level a crafter needs for the enchantment.
int32_t EnchantRequiredLevel(int id);
// One frame's work of the enchantment under the pointer (its help on a right
// press, its requirement lines, its costs, the purchase on a left press);
// true when it was bought or its help page opened.
bool ApplyWeaponEnchantment(int item, int crafter, int id, int32_t requiredLevel, int32_t spareXP);

// Whether the item code is a crafted wand without charges that the creature
// carries or wears.
bool IsEmptyWandHeldBy(int creature, int32_t code);
// Charges the wand with 50 uses of the spell: the picture of the spell's
// school, the spell's name when the wand had only a wand's name, the costs
// paid and the price raised by priceRise.
void ChargeWand(int wand, int crafter, int spell, CraftCost cost, int32_t priceRise);
// The full price of 50 charges of the spell that a wand charged on the wand
// page gains.
int32_t WandChargePrice(int spell);

// The fixed magic items: prices, checks and makes base row `row` for the
// crafter when the entry under the pointer is clicked (its properties page on
// a right press); true when it made the item or opened the page.
bool CraftItemFromTemplate(int crafter, int row, int32_t minimumLevel, int32_t spareXP);
