// Row numbers of the condition name table and of the feat table that the
// attack profile and the armour class test or write as breakdown sources.
#pragma once
#include <cstdint>

#include "rules/feat_ids.h"  // the feats tested here are named in the feat catalogue

// Conditions (tested with a duration above 0).
constexpr uint32_t kIdMageArmor = 13;
constexpr uint32_t kIdDeflecting = 14;
constexpr uint32_t kIdNaturalArmor = 15;
constexpr uint32_t kIdInsightful = 16;
constexpr uint32_t kIdGreaterInvisibility = 20;
constexpr uint32_t kIdLoweredAcCharge = 24;
constexpr uint32_t kIdTrueStrike = 54;
constexpr uint32_t kIdStunned = 82;
constexpr uint32_t kIdParalyzed = 84;
constexpr uint32_t kIdSleeping = 85;
constexpr uint32_t kIdDancing = 86;
constexpr uint32_t kIdDeafened = 87;
constexpr uint32_t kIdBlinded = 88;
constexpr uint32_t kIdInsane = 89;
constexpr uint32_t kIdPetrified = 92;
constexpr uint32_t kIdSickened = 93;
constexpr uint32_t kIdConfused = 97;
constexpr uint32_t kIdNauseated = 98;
constexpr uint32_t kIdShaken = 101;
constexpr uint32_t kIdPlagued = 102;
constexpr uint32_t kIdSilenced = 103;
constexpr uint32_t kIdCantSee = 104;
constexpr uint32_t kIdEntangled = 105;
constexpr uint32_t kIdLevelDrained = 108;
constexpr uint32_t kIdControlled = 112;
constexpr uint32_t kIdTargetSurrounded = 113;
constexpr uint32_t kIdBolstered = 117;
constexpr uint32_t kIdCowering = 118;
constexpr uint32_t kIdNonprofArmor = 124;
constexpr uint32_t kIdNonprofShield = 125;
constexpr uint32_t kIdRestrictedDexAcBonus = 127;
constexpr uint32_t kIdNonprofLeftWeapon = 129;
constexpr uint32_t kIdNonprofRightWeapon = 130;
constexpr uint32_t kIdTwoWeaponLeftPenalty = 133;
constexpr uint32_t kIdTwoWeaponRightPenalty = 134;
constexpr uint32_t kIdTwoWeaponDefenceBonus = 135;
constexpr uint32_t kIdRangeWeaponNonprof = 136;
constexpr uint32_t kIdTrueSeeing = 143;
constexpr uint32_t kIdLucky = 144;
constexpr uint32_t kIdUnlucky = 145;
constexpr uint32_t kIdBadMorale = 146;
constexpr uint32_t kIdGoodMorale = 147;
constexpr uint32_t kIdHasted = 151;
constexpr uint32_t kIdSlowed = 152;
constexpr uint32_t kIdFlatFooted = 156;
constexpr uint32_t kIdGrappling = 157;
constexpr uint32_t kIdPinned = 158;
constexpr uint32_t kIdCharging = 163;
constexpr uint32_t kIdLowerRangeAttackRain = 165;
constexpr uint32_t kIdSurprised = 167;

// Breakdown sources.
constexpr int32_t kSrcDecreasingAttackBonus = 164;
constexpr int32_t kSrcFlankingTarget = 168;
constexpr int32_t kSrcTargetInAMelee = 169;
constexpr int32_t kSrcBaseAttackBonus = 172;
constexpr int32_t kSrcStrengthModifier = 173;
constexpr int32_t kSrcDexterityModifier = 174;
constexpr int32_t kSrcSizeModifier = 179;
constexpr int32_t kSrcWeaponWithSpeed = 180;
constexpr int32_t kSrcMasterworkWeapon = 181;
constexpr int32_t kSrcMagicWeapon = 182;
constexpr int32_t kSrcGreaterWeaponFocus = 183;
constexpr int32_t kSrcWeaponFocus = 184;
constexpr int32_t kSrcLightWeapon = 185;
constexpr int32_t kSrcWeaponHeldWithBothHands = 186;
constexpr int32_t kSrcWeaponAndNaturalAttackMixing = 187;
constexpr int32_t kSrcTwoWeaponsHeld = 188;
constexpr int32_t kSrcShieldHeld = 189;
constexpr int32_t kSrcGreaterWeaponSpecialisation = 190;
constexpr int32_t kSrcWeaponSpecialisation = 191;
constexpr int32_t kSrcSoleNaturalWeapon = 192;
constexpr int32_t kSrcPrimaryNaturalWeapon = 193;
constexpr int32_t kSrcSecondaryNaturalWeapon = 194;
constexpr int32_t kSrcGreaterTwoWeaponFighting = 195;
constexpr int32_t kSrcImprovedTwoWeaponFighting = 196;
constexpr int32_t kSrcOffhandWeapon = 197;
constexpr int32_t kSrcCrossbowNeedsReloading = 198;
constexpr int32_t kSrcCompositeBow = 200;
constexpr int32_t kSrcHandsBusy = 203;
constexpr int32_t kSrcNormalNumberOfAttacks = 204;
constexpr int32_t kSrcSecondaryNaturalMultiattack = 205;
constexpr int32_t kSrcInvisibleAttack = 207;
constexpr int32_t kSrcArmorClassBase = 208;
constexpr int32_t kSrcArmorWorn = 209;
constexpr int32_t kSrcMagicArmor = 210;
constexpr int32_t kSrcBracersOfArmorWorn = 211;
constexpr int32_t kSrcNegatedDexterityBonus = 212;
constexpr int32_t kSrcRacialDodgeBonus = 240;
constexpr int32_t kSrcDodgeFeat = 241;
constexpr int32_t kSrcRacialDeflectionBonus = 265;
constexpr int32_t kSrcRacialNaturalArmor = 266;
constexpr int32_t kSrcSacredAcBonus = 267;
constexpr int32_t kSrcProfaneAcBonus = 268;
constexpr int32_t kSrcLawfulAcBonus = 269;
constexpr int32_t kSrcChaoticAcBonus = 270;
constexpr int32_t kSrcImprovedNaturalArmor = 660;
constexpr int32_t kSrcMagicShield = 666;
constexpr int32_t kSrcTargetHasCover = 673;
constexpr int32_t kSrcAdditionalAttacksRake = 675;
constexpr int32_t kSrcSpecialSizeModifier = 676;
constexpr int32_t kSrcGrapplingPenalty = 677;
constexpr int32_t kSrcMobility = 679;
constexpr int32_t kSrcPointBlankShot = 680;

// Protection pair of the Ears immunity code (category 10) and of Flanking (16).
constexpr int kProtEars = 18 + 10;
constexpr int kProtFlanking = 18 + 16;
