// Feat ids: flag i of a creature's feat list (CreatureRecord::feats) is the
// feat of row i of the feat table. These are the feats the code names.
// TOUGHNESS and IMPROVED NATURAL ARMOR count how often they were taken; every
// other flag is 0 or 1.
#pragma once

enum FeatId : int {
  kFeatImprovedBullRush = 0,
  kFeatImprovedDisarm = 1,
  kFeatImprovedGrapple = 2,
  kFeatImprovedInitiative = 3,
  kFeatUnarmedStrike = 5,  // IMPROVED UNARMED STRIKE
  kFeatGreatFortitude = 6,
  kFeatIronWill = 7,
  kFeatLightningReflexes = 8,
  kFeatBlindFight = 9,
  kFeatQuickDraw = 10,
  kFeatToughness = 11,             // a count, +3 hit points each time
  kFeatImprovedNaturalArmor = 12,  // a count, not a flag
  kFeatMultiattack = 13,
  kFeatDodge = 14,
  kFeatCombatReflexes = 15,
  kFeatCleave = 16,
  kFeatGreatCleave = 17,
  kFeatSpringAttack = 18,
  kFeatWhirlwindAttack = 19,
  kFeatTwoWeaponFighting = 20,
  kFeatImprovedTwoWeaponFighting = 21,
  kFeatGreaterTwoWeaponFighting = 22,
  kFeatTwoWeaponDefence = 23,
  kFeatPointBlankShot = 24,
  kFeatPreciseShot = 25,
  kFeatImprovedPreciseShot = 26,
  kFeatRapidReloadLight = 27,
  kFeatRapidReloadHeavy = 28,
  kFeatSimpleWeapons = 29,
  kFeatFirstMartial = 30,  // the martial weapon proficiencies follow, alphabetically to WARHAMMER (51)
  kFeatLastMartial = 51,
  kFeatBastardSword = 52,
  kFeatDwarvenWaraxe = 53,
  kFeatLightArmour = 54,   // light, medium and heavy armour follow in turn
  kFeatMediumArmour = 55,
  kFeatHeavyArmour = 56,
  kFeatShield = 57,
  kFeatTowerShield = 58,
  // The weapon feats: blocks ordered like the weapon types (dagger first)
  // and, before them in each block, the natural attacks.
  kFeatWeaponFocusFists = 59,
  kFeatWeaponFocusBite = 60,
  kFeatWeaponFocusClaws = 61,
  kFeatWeaponFocusGore = 62,
  kFeatWeaponFocusSlam = 63,
  kFeatWeaponFocusTailSlap = 64,
  kFeatWeaponFocusSting = 65,
  kFeatWeaponFocusWings = 66,
  kFeatWeaponFocusTouch = 67,
  kFeatWeaponFocusRangedTouch = 68,
  kFeatWeaponFocusGrapple = 69,
  kFeatWeaponFocusDagger = 70,  // weapon option k: 69 + k
  kFeatGreaterWeaponFocusFists = 105,
  kFeatGreaterWeaponFocusDagger = 116,
  kFeatWeaponSpecialisationFists = 151,
  kFeatWeaponSpecialisationDagger = 162,
  kFeatGreaterSpecialisationFists = 197,
  kFeatGreaterSpecialisationDagger = 208,
  kFeatImprovedCriticalFists = 243,
  kFeatImprovedCriticalDagger = 254,
  kFeatScribeScroll = 289,
  kFeatCraftWand = 290,
  kFeatCraftWeaponAndArmor = 291,
  kFeatForgeRing = 292,
  kFeatCraftWondrousItem = 293,
  kFeatSuperiorConcentration = 294,
  kFeatImprovedCounterspell = 295,
  kFeatAugmentSummoning = 296,
  // Spell penetration and spell focus; each focus run holds the schools in
  // the order 4, 7, 2, 5, 1, 3, 6, 8 (Enchantment first).
  kFeatSpellPenetration = 297,
  kFeatGreaterSpellPenetration = 298,
  kFeatMetamagicEmpower = 299,
  kFeatMetamagicMaximise = 300,
  kFeatMetamagicWiden = 301,
  kFeatMetamagicStill = 302,
  kFeatMetamagicSilent = 303,
  kFeatMetamagicHeighten = 304,
  kFeatSpellFocusFirst = 305,        // one per school
  kFeatSpellFocusEnchantment = 305,
  kFeatSpellFocusNecromancy = 306,
  kFeatSpellFocusConjuration = 307,
  kFeatSpellFocusEvocation = 308,
  kFeatSpellFocusAbjuration = 309,
  kFeatSpellFocusDivination = 310,
  kFeatSpellFocusIllusion = 311,
  kFeatSpellFocusTransmutation = 312,
  kFeatGreaterSpellFocusFirst = 313,  // one per school
  kFeatGreaterSpellFocusEnchantment = 313,
  kFeatGreaterSpellFocusNecromancy = 314,
  kFeatGreaterSpellFocusConjuration = 315,
  kFeatGreaterSpellFocusEvocation = 316,
  kFeatGreaterSpellFocusTransmutation = 320,
  kFeatForgeWeaponAndArmor = 321,
  kFeatMobility = 322,
  kFeatWeaponFinesse = 323,
};

// Distances between the blocks of weapon feats: the same weapon or natural
// attack one block further on.
constexpr int kFeatGreaterFocusStep = 46;
constexpr int kFeatSpecialisationStep = 92;
constexpr int kFeatGreaterSpecialisationStep = 138;
constexpr int kFeatImprovedCriticalStep = 184;
// The greater form of a spell focus feat.
constexpr int kFeatGreaterSpellFocusStep = kFeatGreaterSpellFocusFirst - kFeatSpellFocusFirst;
