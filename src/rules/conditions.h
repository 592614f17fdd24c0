// Conditions: the 50-entry list every creature carries, the condition name
// table (which also names the sources of modifier breakdowns) and the list
// operations with their stacking, displacement and compaction rules.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// One slot of a creature's condition list; id 0 marks an empty slot.
struct ConditionEntry {
  uint32_t id;        // row of ConditionNames
  int32_t duration;   // rounds left; 1000 and 2000 last until removed; 0 or less expired
  uint32_t source;    // equipment slot 1-12 for worn items, 18 spell effects, 21 magic areas...
  uint32_t param;     // a further parameter given by the caller
  int32_t value;      // magnitude; for Grappling and Pinned the partner's creature id
};
static_assert(sizeof(ConditionEntry) == 20);
static_assert(offsetof(ConditionEntry, duration) == 4);
static_assert(offsetof(ConditionEntry, source) == 8);
static_assert(offsetof(ConditionEntry, param) == 12);
static_assert(offsetof(ConditionEntry, value) == 16);

constexpr int kConditionSlots = 50;
constexpr int kConditionNameCount = 684;
constexpr int kNoFreeConditionSlot = 99;

// Durations that last until the condition is removed.
constexpr int32_t kDurationLasting = 1000;
constexpr int32_t kDurationUntilRest = 2000;

// Condition ids (rows of the name table) that the game names in its code.
enum ConditionId : uint32_t {
  kCondEntangleImmunity = 5,
  kCondProtectedVersusEvil = 12,
  kCondMageArmor = 13,
  kCondDeflecting = 14,
  kCondNaturalArmor = 15,
  kCondInsightful = 16,
  kCondConcealedByDarkness = 17,
  kCondMagicallyConcealed = 18,
  kCondCriticalHitResistance = 19,
  kCondGreaterInvisibility = 20,
  kCondInvisible = 21,
  kCondSpellResistant = 22,
  kCondProtectedVersusGood = 23,
  kCondLoweredAcCharge = 24,
  kCondReducedDamageUnholy = 32,
  kCondReducedDamageMelee = 33,  // the arrow-protection pool in its parameter
  kCondReducedDamageAdamantine = 34,  // the stoneskin pool in its parameter
  kCondFireResistance = 35,
  kCondSonicResistance = 36,
  kCondElectricityResistance = 37,
  kCondAcidResistance = 38,
  kCondColdResistance = 39,
  kCondReducedDamageHoly = 40,
  kCondReducedDamageMagic = 41,
  kCondReducedDamage = 42,
  kCondEnhancedSaves = 52,
  kCondLongStride = 53,
  kCondTrueStrike = 54,
  kCondEnhancedBaseAttack = 55,
  kCondEnhancedStrength = 56,
  kCondEnhancedDexterity = 57,
  kCondEnhancedConstitution = 58,
  kCondEnhancedWisdom = 59,
  kCondEnhancedIntelligence = 60,
  kCondDamagedStrength = 61,
  kCondDamagedDexterity = 62,
  kCondDamagedConstitution = 63,
  kCondDamagedWisdom = 64,
  kCondDamagedIntelligence = 65,
  kCondDrainedStrength = 66,
  kCondDrainedDexterity = 67,
  kCondDrainedConstitution = 68,
  kCondDrainedWisdom = 69,
  kCondDrainedIntelligence = 70,
  kCondDamagedCharisma = 71,
  kCondDrainedCharisma = 72,
  kCondEnhancedCharisma = 73,
  kCondStunned = 82,
  kCondDominated = 83,
  kCondParalyzed = 84,
  kCondSleeping = 85,
  kCondDancing = 86,
  kCondDeafened = 87,
  kCondBlinded = 88,
  kCondInsane = 89,
  kCondExhausted = 90,
  kCondFatigued = 91,
  kCondPetrified = 92,
  kCondSickened = 93,
  kCondFeebleminded = 94,
  kCondMute = 95,
  kCondCursed = 96,
  kCondConfused = 97,
  kCondNauseated = 98,
  kCondAcidBurns = 99,
  kCondDazed = 100,
  kCondShaken = 101,
  kCondPlagued = 102,
  kCondSilenced = 103,
  kCondCantSee = 104,
  kCondEntangled = 105,
  kCondStuck = 106,
  kCondBurning = 107,
  kCondLevelDrained = 108,
  kCondUnconscious = 109,
  kCondBleeding = 110,
  kCondDead = 111,
  kCondControlled = 112,
  kCondTargetSurrounded = 113,
  kCondTransformation = 114,
  kCondIronBody = 115,
  kCondRighteousMight = 116,
  kCondBolstered = 117,
  kCondCowering = 118,
  kCondSpellFailureArmor = 122,
  kCondSpellFailureShield = 123,
  kCondNonprofArmor = 124,
  kCondNonprofShield = 125,
  kCondRestrictedDex = 127,
  kCondReducedSpeedArmor = 128,
  kCondNonprofLeft = 129,
  kCondNonprofRight = 130,
  kCondUnarmed = 131,
  kCondTwoWeaponLeft = 133,
  kCondTwoWeaponRight = 134,
  kCondTwoWeaponDefence = 135,
  kCondRangeNonprof = 136,
  kCondIlluminating = 142,
  kCondTrueSeeing = 143,
  kCondLucky = 144,
  kCondUnlucky = 145,
  kCondBadMorale = 146,
  kCondGoodMorale = 147,
  kCondPolymorphed = 148,
  kCondFireShielded = 149,
  kCondIceShielded = 150,
  kCondHasted = 151,
  kCondSlowed = 152,
  kCondEnlarged = 153,
  kCondReduced = 154,
  kCondAlarmed = 155,
  kCondFlatFooted = 156,
  kCondGrappling = 157,
  kCondPinned = 158,
  kCondDamagedWhileCasting = 161,
  kCondCharging = 163,
  kCondRain = 165,
  kCondGrassConcealment = 166,
  kCondSurprised = 167,
  kCondDistracted = 170,
  kCondSummonedCreature = 657,
};
// Source of spell effects (the only source whose removal is logged).
constexpr uint32_t kSourceSpell = 18;
// Condition sources besides spells and the equipment slots.
constexpr uint32_t kSourceMagicArea = 21;        // grass-floor concealment, magic areas
constexpr uint32_t kSourceStrengthLoss = 25;     // Paralyzed by Strength 0
constexpr uint32_t kSourceDexterityLoss = 26;    // ... by Dexterity 0
constexpr uint32_t kSourceConstitutionLoss = 27; // Dead by Constitution 0
constexpr uint32_t kSourceIntelligenceLoss = 28;
constexpr uint32_t kSourceWisdomLoss = 29;
constexpr uint32_t kSourceCharismaLoss = 30;
constexpr uint32_t kSourceCombatPlayer = 23;     // written by a player-controlled fighter's action
constexpr uint32_t kSourceCombatResult = 24;     // falls, deaths, damage while casting
constexpr uint32_t kSourceCombatComputer = 31;   // written by a computer-controlled fighter's action
constexpr uint32_t kSourceUnarmed = 32;
constexpr uint32_t kSourceLevelLoss = 33;        // Dead by level drain
constexpr uint32_t kSourceCombatStart = 34;      // surprise and flat-footed at the start of a battle
constexpr uint32_t kSourceRain = 35;

extern const char ConditionNames[kConditionNameCount][36];
// The badge of each row (a frame of the second figure sheet: drawn as figure
// icon + 196) and the help page that explains each row (0 none).
extern const std::array<uint32_t, kConditionNameCount> ConditionIconTable;
extern const std::array<uint32_t, kConditionNameCount> ConditionHelpPages;

// The name of a condition or modifier source; row 0 ("None") for an id
// outside the table.
const char* ConditionName(uint32_t id);
// The condition's name as a help keyword names it, without the '@' marks:
// "Can't_see" is "CAN'T_SEE".
std::string ConditionKeyword(uint32_t id);

bool IsAbilityDamageCondition(uint32_t id);
bool IsAbilityDrainCondition(uint32_t id);
bool IsIncapacitatingCondition(uint32_t id);

// The list operations; each takes the creature id (0 to 2,099) first.
bool AddCondition(int creature, uint32_t id, int32_t duration, int32_t value, uint32_t source,
                  uint32_t param);
int FindCondition(int creature, uint32_t id);
// Whether the creature has an entry of the id, and the value of the first one (0 when none).
bool HasCondition(int creature, uint32_t id);
int32_t ConditionValue(int creature, uint32_t id);
// The first two ids are always compared; each further one until the first -1.
int FindAnyCondition(int creature, int a, int b, int c = -1, int d = -1, int e = -1, int f = -1,
                     int g = -1, int h = -1, int i = -1, int j = -1, int k = -1);
int RemoveCondition(int creature, uint32_t id);
// RemoveCondition for each of the ids in turn; the number of entries removed.
int RemoveConditions(int creature, std::span<const uint32_t> ids);
int RemoveConditionIdFromSource(int creature, uint32_t id, uint32_t source);
int RemoveConditionBySource(int creature, uint32_t source);
// Index of a cleared slot, or 99 when none can be freed.
int FreeConditionSlot(int creature);
int PurgeExpiredConditions(int creature);
int PickConditionToReplace(int creature);
int CountFreeConditionSlots(int creature);
int CompactConditions(int creature);
