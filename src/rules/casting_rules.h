// Spell-casting rules: the highest spell level a creature reaches, whether it
// may cast a spell now, the spells allowed outside combat, wand charges and
// their price, and the care a creature needs with full restoration.
#pragma once
#include <cstdint>

// Metamagic kinds of a casting.
enum MetamagicKind : int {
  kMetamagicNone = 0,
  kMetamagicMaximised = 1,
  kMetamagicEmpowered = 2,
  kMetamagicWidened = 3,
  kMetamagicHeightened = 4,
  kMetamagicSilent = 5,
  kMetamagicStilled = 6,
};
// Spell levels a metamagic kind adds, by kind 0 to 6.
extern const int32_t MetamagicLevelStep[7];

// The spells that may be cast outside combat.
constexpr int kPeacetimeSpellCount = 26;
extern const int32_t PeacetimeSpells[kPeacetimeSpellCount];

// Effective level - level + caster-level adjustment, at least 1.
int32_t CasterLevel(int creature);
// min(9, (caster level + 1) / 2).
int MaxSpellLevel(int creature);
// True when the creature may not cast the spell now.
bool IsSpellcastingBlocked(int creature, int spell, int metamagic, uint8_t allowNonParty, uint8_t freeUse);
// True when a casting under way is lost: its caster may no longer cast the
// spell as the casting goes, with its metamagic (asked as a free use: the
// source was spent as it began), or, casting from an item in its hand (a
// wand, a scroll), may no longer use it. Asked of a held casting that
// resumes and of a casting whose attacks of opportunity are over.
bool IsCastingDisrupted(int creature, int spell, int metamagic, bool fromItem);
// True for every spell but the 26 that may be cast outside combat.
bool IsCombatOnlySpell(int spell);

// The full price of a wand of a spell of level 1 to 4 (0 for other levels).
int32_t WandValue(int spell);
// Spends one charge of the crafted wand and lowers its price by a fiftieth of
// its value; a wand without charges is left as it is. 1 when a charge was spent.
int UseWandCharge(uint32_t code);
// A hand holds a crafted wand with a charge left.
bool HoldsChargedWand(int creature);

// 3 dead or petrified, 2 afflicted or drained, 1 wounded, -1 nothing.
int NeededRestoration(int creature);
// Full restoration: drains, damage, death and afflictions removed, hit points
// to the maximum, then recomputed. True.
bool RestoreCreature(int creature);

// The full keyword of a spell as the log and wand names write it ("" for an
// unknown id); the spell resolution keeps the keyword table.
const char* SpellKeywordFull(int spell);
