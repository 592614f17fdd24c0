// The words of the spell being cast and the caster levels and focus bonuses
// the casting rules ask for.
#pragma once
#include <cstdint>

// The metamagic of the spell being aimed or cast (MetamagicKind of
// rules/casting_rules.h: 0 none, 1 Maximise, 2 Empower, 3 Widen, 4 Heighten,
// 5 Silent, 6 Still).
extern int32_t PendingMetamagic;

// Caster level ignoring innate casting: effective level - level + the
// caster-level adjustment, at least 1.
int32_t BaseCasterLevel(int creature);
// The same for the creature casting the current spell (ActingCreature).
int32_t CurrentCasterLevel();

// Feat flags of spell penetration and spell focus. Each focus run holds the
// schools in the order 4, 7, 2, 5, 1, 3, 6, 8 (Enchantment first).
constexpr int kFeatSpellPenetration = 297;
constexpr int kFeatGreaterSpellPenetration = 298;
constexpr int kFeatSpellFocusFirst = 305;
constexpr int kFeatGreaterSpellFocusFirst = 313;
// The current caster's difficulty bonus for a school 1 to 8: +1 for its
// Spell Focus, +1 for its Greater Spell Focus; 0 for any other school.
int SpellFocusBonus(int school);
