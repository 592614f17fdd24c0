#include "rules/casting_rules.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <iterator>

#include "state/combat_action.h"
#include "rules/creature_forms.h"
#include "state/turn_order.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/free_deeds.h"
#include "rules/item_tables.h"
#include "rules/recompute_creature.h"
#include "map/creature_paths.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"

const int32_t MetamagicLevelStep[7] = {0, 3, 2, 3, 1, 1, 1};

const int32_t PeacetimeSpells[kPeacetimeSpellCount] = {
    1,   12,  13,  27,  55,  74,  102, 107, 112, 118, 119, 128, 131,
    132, 133, 144, 149, 153, 156, 162, 163, 165, 167, 169, 172, 174,
};

namespace {

constexpr int kTeleportToWorldMap = 55;
constexpr int32_t kWandType = 8;


bool AnyActive(int creature, std::initializer_list<uint32_t> ids) {
  for (uint32_t id : ids)
    if (HasCondition(creature, id)) return true;
  return false;
}

const CraftedWeaponRecord* CraftedRow(uint32_t code) {
  if (code < 1 || code >= static_cast<uint32_t>(kCraftedRows)) return nullptr;
  return &CraftedWeapons[code];
}

bool IsChargedWand(uint32_t code) {
  const CraftedWeaponRecord* row = CraftedRow(code);
  return row != nullptr && row->itemType == kWandType && row->charges >= 1;
}

}  // namespace

int32_t CasterLevel(int creature) {
  if (!IsValidCreature(creature)) return 1;
  const CreatureRecord& c = Creatures[creature];
  return std::max(c.effectiveLevel - c.level + c.casterLevelAdjust, 1);
}

int MaxSpellLevel(int creature) { return std::min(9, (CasterLevel(creature) + 1) / 2); }

bool IsCombatOnlySpell(int spell) {
  return std::find(std::begin(PeacetimeSpells), std::end(PeacetimeSpells), spell) == std::end(PeacetimeSpells);
}

bool IsSpellcastingBlocked(int creature, int spell, int metamagic, uint8_t allowNonParty, uint8_t freeUse) {
  // A creature or spell the tables do not hold cannot cast.
  if (!IsValidCreature(creature) || spell < 0 || spell >= kSpellRows) return true;
  const CreatureRecord& c = Creatures[creature];
  const SpellRecord& s = SpellTable[spell];
  const bool party = c.allegiance == kAllegianceParty;

  if (party && LevelUpPending != 0) return true;
  if (!party && allowNonParty == 0) return true;
  // A creature left no casting at all (asleep, dazed, nauseated, dancing,
  // pinned...), or no will or spells of its own (feebleminded, dominated,
  // controlled, in another form), casts nothing.
  const uint32_t deeds = FreeDeeds(creature);
  if ((deeds & (kDeedGestureCast | kDeedStillCast)) == 0) return true;
  if (AnyActive(creature, {94, 83, 112, 148, 114})) return true;
  if (freeUse == 0 && c.knownSpells[spell] != 1) return true;

  if (InCombat == 0) {
    if (IsCombatOnlySpell(spell)) return true;
  } else {
    const int entry = CombatAction.currentEntry;
    if (entry < 0 || entry >= kTurnOrderEntries || TurnOrder[entry].creature != creature) return true;
    if (freeUse == 0) {
      if (s.castingTime == 3 && CombatAction.fullRoundActionLeft == 0) return true;
      if (s.castingTime == 2 && CombatAction.standardActionLeft == 0) return true;
      if (s.castingTime == 1 && CombatAction.movesLeft < c.speed.current) return true;
    }
    if (spell == kTeleportToWorldMap) return true;
    if (s.verbal != 0 && metamagic != kMetamagicSilent && AnyActive(creature, {95, 103})) return true;
    if ((deeds & CastingDeed(spell, metamagic)) == 0) return true;
    if (s.somatic != 0 && metamagic != kMetamagicStilled && HasCondition(creature, kCondGrappling)) return true;
  }

  bool blocked = false;
  if (freeUse == 0) {
    const int step = metamagic >= 1 && metamagic <= 6 ? MetamagicLevelStep[metamagic] : 0;
    const int needed = s.level + step;
    if (s.level < 1 || needed > MaxSpellLevel(creature) || c.spellsLeft[needed - 1] < 1) blocked = true;
  }
  if (party) {
    if (s.goldCost > 0 && static_cast<uint32_t>(s.goldCost) > PartyGold) blocked = true;
    const int64_t spare = static_cast<int64_t>(c.experience) - 500LL * (c.level - 1) * c.level;
    if (s.xpCost > 0 && spare < s.xpCost) blocked = true;
  }
  if (freeUse == 0 && s.somatic != 0 && metamagic != kMetamagicStilled) {
    const uint32_t right = c.equipment[kSlotRightHand - 1];
    const uint32_t left = c.equipment[kSlotLeftHand - 1];
    const CraftedWeaponRecord* rightRow = CraftedRow(right);
    if ((right != 0 && left != 0) || (rightRow != nullptr && rightRow->handling == 3)) blocked = true;
  }
  return blocked;
}

bool IsCastingDisrupted(int creature, int spell, int metamagic, bool fromItem) {
  return IsSpellcastingBlocked(creature, spell, metamagic, 1, 1) || (fromItem && !MayDo(creature, kDeedUseItem));
}

int32_t WandValue(int spell) {
  if (spell < 0 || spell >= kSpellRows) return 0;
  const SpellRecord& s = SpellTable[spell];
  static const int32_t kMinimumCasterLevel[5] = {0, 1, 3, 5, 7};
  if (s.level < 1 || s.level > 4) return 0;
  // The costs come from the spell file: worked in a wide word, held to the price's range.
  const int64_t v = ((3 * s.level * kMinimumCasterLevel[s.level] + int64_t{s.xpCost}) * 5 + s.goldCost) * 50;
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

int UseWandCharge(uint32_t code) {
  if (code < 1 || code >= static_cast<uint32_t>(kCraftedRows)) return 0;
  CraftedWeaponRecord& row = CraftedWeapons[code];
  if (row.charges < 1) return 0;
  --row.charges;
  // Charges and price come from the crafted file: worked wide enough for any of them.
  const __int128 twoV = 2 * static_cast<__int128>(WandValue(row.spell));
  const __int128 n = row.charges;
  row.price = ChangedCraftedPrice(row.price, static_cast<int64_t>((twoV * n) / 100 - (twoV * (n + 1)) / 100));
  return 1;
}

bool HoldsChargedWand(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  return IsChargedWand(c.equipment[kSlotRightHand - 1]) || IsChargedWand(c.equipment[kSlotLeftHand - 1]);
}

int NeededRestoration(int creature) {
  if (!IsValidCreature(creature)) return -1;
  if (AnyActive(creature, {111, 92})) return 3;
  if (AnyActive(creature, {61, 62, 63, 64, 65, 71, 90, 91, 87, 88, 66, 67, 68, 69, 70, 72, 97, 89, 93, 94, 95,
                           96, 98}))
    return 2;
  for (const ConditionEntry& e : Creatures[creature].conditions) {
    // A level drained by the weapon in a hand goes with the weapon.
    if (e.id == kCondLevelDrained && e.duration > 0 && e.source != 7 && e.source != 8) return 2;
  }
  const CreatureRecord& c = Creatures[creature];
  if (c.hitPoints < c.maxHitPoints) return 1;
  return -1;
}

bool RestoreCreature(int creature) {
  if (!IsValidCreature(creature)) return true;
  static const uint32_t kRestored[] = {kCondLevelDrained, kCondDamagedStrength, kCondDamagedDexterity,
                                       kCondDamagedConstitution, kCondDamagedWisdom, kCondDamagedIntelligence,
                                       kCondDamagedCharisma, kCondDrainedStrength, kCondDrainedDexterity,
                                       kCondDrainedConstitution, kCondDrainedWisdom, kCondDrainedIntelligence,
                                       kCondDrainedCharisma, kCondPetrified, kCondDead, kCondUnconscious,
                                       kCondMute, kCondCursed};
  for (uint32_t id : kRestored) RemoveCondition(creature, id);
  CureAfflictions(creature);
  ResetCreaturePath(creature);
  Creatures[creature].hitPoints = Creatures[creature].maxHitPoints;
  RecomputeCreature(creature, 0);
  return true;
}
