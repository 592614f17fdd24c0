// Feats of created creatures: the weapon proficiencies their gear needs and
// the random picks that spend the feats left after the fixed grants.
#pragma once

#include "rules/attack_ids.h"

// Feats (flag i of the creature's feat list) named by creature generation;
// the rest of the names are in rules/attack_ids.h.
constexpr int kFeatImprovedBullRush = 0;
constexpr int kFeatImprovedInitiative = 3;
constexpr int kFeatToughness = 11;  // a count, +3 hit points each time
constexpr int kFeatWhirlwindAttack = 19;
constexpr int kFeatTwoWeaponFighting = 20;
constexpr int kFeatSuperiorConcentration = 294;
constexpr int kFeatImprovedCounterspell = 295;
constexpr int kFeatMetamagicEmpower = 299;
constexpr int kFeatMetamagicMaximise = 300;
constexpr int kFeatMetamagicWiden = 301;
constexpr int kFeatMetamagicStill = 302;
constexpr int kFeatMetamagicSilent = 303;
constexpr int kFeatMetamagicHeighten = 304;
constexpr int kFeatSpellFocusNecromancy = 306;
constexpr int kFeatSpellFocusEvocation = 308;
constexpr int kFeatGreaterSpellFocusNecromancy = 314;
constexpr int kFeatGreaterSpellFocusEvocation = 316;

// Grants the proficiency the prepared row of the weapon option needs; option 0
// grants nothing. Returns 1.
int GrantWeaponProficiency(int weaponOption, int creature);
// One random general feat.
int PickGeneralFeat(int creature);
// One random combat feat for the creature's weapons; a general feat when no
// combat feat fits.
int PickCombatFeat(int mainWeapon, int creature, int offWeapon, int rangedWeapon);
// One random caster feat.
int PickCasterFeat(int creature);
