// Feat ids: flag i of a creature's feat list (CreatureRecord::feats) is the
// feat of row i of the feat table. These are the feats the code names.
#pragma once

enum FeatId : int {
  kFeatImprovedGrapple = 2,
  kFeatUnarmedStrike = 5,
  kFeatGreatFortitude = 6,
  kFeatIronWill = 7,
  kFeatLightningReflexes = 8,
  kFeatBlindFight = 9,
  kFeatImprovedNaturalArmor = 12,  // a count, not a flag
  kFeatMultiattack = 13,
  kFeatDodge = 14,
  kFeatCombatReflexes = 15,
  kFeatSpellLike = 19,
  kFeatTwoWeaponFighting = 20,
  kFeatImprovedTwoWeaponFighting = 21,
  kFeatGreaterTwoWeaponFighting = 22,
  kFeatTwoWeaponDefence = 23,
  kFeatPointBlankShot = 24,
  kFeatPreciseShot = 25,
  kFeatImprovedPreciseShot = 26,
  kFeatRapidReloadLight = 27,
  kFeatSimpleWeapons = 29,
  kFeatFirstMartial = 30,  // the martial weapon proficiencies follow, one per martial weapon type
  kFeatBastardSword = 52,
  kFeatDwarvenWaraxe = 53,
  kFeatLightArmour = 54,   // light, medium and heavy armour follow in turn
  kFeatShield = 57,
  // The weapon feats: blocks ordered like the weapon types (dagger first)
  // and, before them in each block, the natural attacks.
  kFeatWeaponFocusFists = 59,
  kFeatWeaponFocusDagger = 70,
  kFeatGreaterWeaponFocusFists = 105,
  kFeatGreaterWeaponFocusDagger = 116,
  kFeatWeaponSpecialisationFists = 151,
  kFeatWeaponSpecialisationDagger = 162,
  kFeatGreaterSpecialisationFists = 197,
  kFeatGreaterSpecialisationDagger = 208,
  kFeatImprovedCriticalFists = 243,
  kFeatImprovedCriticalDagger = 254,
  // Spell penetration and spell focus; each focus run holds the schools in
  // the order 4, 7, 2, 5, 1, 3, 6, 8 (Enchantment first).
  kFeatSpellPenetration = 297,
  kFeatGreaterSpellPenetration = 298,
  kFeatSpellFocusFirst = 305,        // one per school
  kFeatGreaterSpellFocusFirst = 313,  // one per school
  kFeatMobility = 322,
  kFeatWeaponFinesse = 323,
};
