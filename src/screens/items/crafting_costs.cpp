// What crafting costs: the common rule from a price, the enchanting rule, the
// tables of wands and scrolls, and the spare experience a crafter may spend.
#include <algorithm>
#include <cstdint>

#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "screens/items/crafting.h"
#include "state/inventory_state.h"
#include "rules/experience.h"

namespace {

// A tenth more, truncated.
int32_t WithSurcharge(int32_t amount) { return amount + amount * 10 / 100; }

// Gold and experience of a wand's 50 charges by spell level 1 to 4, and of a
// scroll by spell level 1 to 9, before the spell's own costs.
constexpr int32_t kWandGold[4] = {375, 2250, 5625, 10500};
constexpr int32_t kWandXP[4] = {30, 180, 450, 840};
constexpr int32_t kScrollGold[9] = {13, 75, 188, 350, 563, 825, 1138, 1500, 1913};
constexpr int32_t kScrollXP[9] = {1, 6, 15, 28, 45, 66, 91, 120, 153};
constexpr int32_t kWandCharges = 50;

bool CreatureId(int creature) { return creature >= 0 && creature < kCreatureCount; }

}  // namespace

CraftCost CraftingCost(int32_t price) {
  const int32_t xp = price / 25;
  const int32_t gold = xp > 0 ? price / 2 : price;
  return {WithSurcharge(gold), WithSurcharge(xp)};
}

CraftCost EnchantingCost(int32_t value) { return {WithSurcharge(value / 2), WithSurcharge(value / 25)}; }

CraftCost WandChargeCost(int spell) {
  if (spell < 0 || spell >= kSpellRows) return {0, 0};
  const SpellRecord& s = SpellTable[spell];
  if (s.level < 1 || s.level > 4) return {0, 0};
  return {WithSurcharge(kWandCharges * s.goldCost + kWandGold[s.level - 1]),
          WithSurcharge(kWandCharges * s.xpCost + kWandXP[s.level - 1])};
}

CraftCost ScrollScribeCost(int spell) {
  if (spell < 0 || spell >= kSpellRows) return {0, 0};
  const SpellRecord& s = SpellTable[spell];
  if (s.level < 1 || s.level > 9) return {0, 0};
  return {WithSurcharge(s.goldCost + kScrollGold[s.level - 1]), WithSurcharge(s.xpCost + kScrollXP[s.level - 1])};
}

int32_t SpareXP(int creature) {
  if (!CreatureId(creature)) return 0;
  const CreatureRecord& c = Creatures[creature];
  const int64_t threshold = ExperienceForLevel(c.level);
  return static_cast<int32_t>(std::clamp<int64_t>(c.experience - threshold, INT32_MIN, INT32_MAX));
}

CraftShortfall CheckCraftCost(int crafter, CraftCost cost) {
  if (cost.gold > 0 && static_cast<uint32_t>(cost.gold) > PartyGold) return CraftShortfall::kGold;
  if (cost.xp > SpareXP(crafter)) return CraftShortfall::kXP;
  return CraftShortfall::kNone;
}

void PayCraftCost(int crafter, CraftCost cost) {
  PartyGold -= std::min<uint32_t>(PartyGold, static_cast<uint32_t>(std::max(cost.gold, 0)));
  if (CreatureId(crafter)) Creatures[crafter].experience -= cost.xp;
}
