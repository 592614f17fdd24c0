// Feat numbers: flag i of a creature's 330 feat flags is feat i. TOUGHNESS and
// IMPROVED NATURAL ARMOR count how often they were taken; every other flag is
// 0 or 1.
#pragma once

enum FeatId : int {
  kFeatImprovedBullRush = 0,
  kFeatImprovedDisarm = 1,
  kFeatImprovedGrapple = 2,
  kFeatImprovedInitiative = 3,
  kFeatImprovedUnarmedStrike = 5,
  kFeatGreatFortitude = 6,
  kFeatIronWill = 7,
  kFeatLightningReflexes = 8,
  kFeatBlindfight = 9,
  kFeatToughness = 11,            // a count
  kFeatImprovedNaturalArmor = 12,  // a count
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
  // Proficiencies: the martial ones run alphabetically from BATTLE AXE (30)
  // to WARHAMMER (51).
  kFeatSimpleWeaponProficiency = 29,
  kFeatFirstMartialProficiency = 30,
  kFeatLastMartialProficiency = 51,
  kFeatExoticBastardSword = 52,
  kFeatExoticDwarvenWaraxe = 53,
  kFeatArmorProficiencyLight = 54,
  kFeatArmorProficiencyMedium = 55,
  kFeatArmorProficiencyHeavy = 56,
  kFeatShieldProficiency = 57,
  kFeatTowerShieldProficiency = 58,
  // The weapon feats come in five blocks of 46 in one order: the natural
  // attacks (fists first), then the 35 weapons of the weapon options.
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
  kFeatWeaponFocusDagger = 70,    // weapon option k: 69 + k
  kFeatGreaterWeaponFocusFists = 105,
  kFeatGreaterWeaponFocusDagger = 116,
  kFeatWeaponSpecialisationFists = 151,
  kFeatWeaponSpecialisationDagger = 162,
  kFeatGreaterSpecialisationFists = 197,
  kFeatGreaterSpecialisationDagger = 208,
  kFeatImprovedCriticalFists = 243,
  kFeatImprovedCriticalDagger = 254,
  kFeatSuperiorConcentration = 294,
  kFeatImprovedCounterspell = 295,
  kFeatAugmentSummoning = 296,
  kFeatSpellPenetration = 297,
  kFeatGreaterSpellPenetration = 298,
  kFeatMetamagicEmpower = 299,
  kFeatMetamagicMaximise = 300,
  kFeatMetamagicWiden = 301,
  kFeatMetamagicStill = 302,
  kFeatMetamagicSilent = 303,
  kFeatMetamagicHeighten = 304,
  kFeatSpellFocusEnchantment = 305,
  kFeatSpellFocusNecromancy = 306,
  kFeatSpellFocusConjuration = 307,
  kFeatSpellFocusEvocation = 308,
  kFeatSpellFocusAbjuration = 309,
  kFeatSpellFocusDivination = 310,
  kFeatSpellFocusIllusion = 311,
  kFeatSpellFocusTransmutation = 312,
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
constexpr int kFeatGreaterSpellFocusStep = 8;
