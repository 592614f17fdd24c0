// The creature record: one layout for every creature of the game (the party,
// monsters, townsfolk, summoned creatures), kept in one table of 2,100
// records indexed by creature id; ids 0 to 3 are the party in party order.
//
// Every number is a 32-bit little-endian word; the record has no padding, so
// its offsets below are also the offsets the saved-game packer copies from.
#pragma once
#include <cstddef>
#include <cstdint>

#include "rules/feat_ids.h"

#include "rules/conditions.h"
#include "rules/record_words.h"

constexpr int kCreatureCount = 2100;
constexpr int kPartySize = 4;
constexpr int kKnownSpellFlags = 180;
constexpr int kProtectionPairs = 62;
constexpr int kFeatFlags = 330;
constexpr int kEquipSlots = 12;
constexpr int kCarriedPairs = 16;

// A (base, current) pair: the base is set by generation, level-up, scripts
// or items; the current value is derived by the recomputation.
struct StatPair {
  int32_t base;
  int32_t current;
};
static_assert(sizeof(StatPair) == 8);

// An item code (0 empty, 1-4,999 crafted rows, 5,000-6,999 base rows) and a count.
struct ItemPair {
  uint32_t code;
  int32_t count;
};
static_assert(sizeof(ItemPair) == 8);

// One of the four natural attacks of a creature.
struct NaturalAttack {
  int32_t kind;          // row of the natural attack names, 0 none
  int32_t count;         // uses in a row
  int32_t critLow;       // lowest roll of the critical range
  int32_t effectKind;    // first effect: damage kind or special effect
  int32_t effectDice;    // first effect dice count
  int32_t effectSides;   // first effect dice sides
  int32_t riderKind;     // second effect kind, 0 none
  int32_t riderDice;
  int32_t riderSides;
};
static_assert(sizeof(NaturalAttack) == 36);

// Equipment slot numbers; the slot number is also the condition source of
// the conditions a worn item gives.
enum EquipSlot : int {
  kSlotHead = 1,
  kSlotNeck = 2,
  kSlotTorso = 3,
  kSlotCloak = 4,
  kSlotWaist = 5,
  kSlotArms = 6,
  kSlotRightHand = 7,
  kSlotLeftHand = 8,
  kSlotRightFinger = 9,
  kSlotLeftFinger = 10,
  kSlotFeet = 11,
  kSlotRanged = 12,
  kSlotAmmunition = 13,
  kSlotFirstCarried = 21,  // 21 to 36: the 16 carried pairs
  kSlotLastCarried = 36,
};

// Pair numbers of the 62 protections.
enum ProtectionPair : int {
  kProtDamageReduction = 0,
  kProtDamageReductionKind = 1,
  kProtResistFire = 2,
  kProtResistCold = 3,
  kProtResistSonic = 4,
  kProtResistElectricity = 5,
  kProtResistAcid = 6,
  kProtResistPositive = 7,
  kProtResistNegative = 8,
  kProtResistForce = 9,
  kProtSpellResistance = 10,
  kProtDeflection = 11,
  kProtRacialDodge = 12,
  kProtNaturalArmour = 13,
  kProtSacred = 14,
  kProtProfane = 15,
  kProtLawful = 16,
  kProtChaotic = 17,
  kProtFirstImmunity = 18,  // 18 to 61: immunity codes of the 44 categories
};
constexpr int kImmunityCategories = 44;
// The immunity categories, rows of ImmunityCategoryNames; a creature's
// response to one is protection pair kProtFirstImmunity + category.
enum ImmunityCategory : int {
  kImmAbilityDrain = 0,
  kImmAcid = 1,
  kImmBleeding = 2,
  kImmBullRush = 3,
  kImmCharm = 4,
  kImmCold = 5,
  kImmCompulsion = 6,
  kImmCriticals = 7,
  kImmDeath = 8,
  kImmDisintegration = 9,
  kImmEars = 10,
  kImmExhaustion = 11,
  kImmEyes = 12,
  kImmFear = 13,
  kImmFigment = 14,
  kImmFire = 15,
  kImmFlanking = 16,
  kImmFlatFoot = 17,
  kImmForce = 18,
  kImmGlamer = 19,
  kImmGrappling = 20,
  kImmHampering = 21,
  kImmLanguage = 22,
  kImmLevelDrain = 23,
  kImmLuck = 24,
  kImmMind = 25,
  kImmMorale = 26,
  kImmNegativeEnergy = 27,
  kImmParalysis = 28,
  kImmPattern = 29,
  kImmPetrification = 30,
  kImmPhantasm = 31,
  kImmPinning = 32,
  kImmPoison = 33,
  kImmPolymorph = 34,
  kImmPositiveEnergy = 35,
  kImmElectricity = 36,
  kImmSickness = 37,
  kImmSize = 38,
  kImmSleep = 39,
  kImmSonic = 40,
  kImmSpeed = 41,
  kImmStunning = 42,
  kImmTrip = 43,
};
// The protection pair that holds the immunity code of a category.
constexpr int ImmunityPair(int category) { return kProtFirstImmunity + category; }
constexpr int kProtEars = ImmunityPair(kImmEars);
constexpr int kProtFlanking = ImmunityPair(kImmFlanking);

// The response of a creature to an energy or an immunity category.
enum ImmunityCode : int {
  kImmunityNone = 0,
  kImmunityImmune = 1,
  kImmunityWeakness = 2,
  kImmunitySeriousWeakness = 3,
  kImmunityResistance = 4,
  kImmunityReverse = 5,
};

// The side a creature is on: the party with its allies (5 and 6) against the
// enemies; a talker is the enemy of everyone.
enum Allegiance : int32_t {
  kAllegianceParty = 1,
  kAllegianceEnemy = 2,
  kAllegianceAlly = 5,
  kAllegianceAllyOther = 6,
  kAllegianceTalker = 8,
};
// The party and its allies.
constexpr bool IsPartyAllegiance(int32_t allegiance) {
  return allegiance == kAllegianceParty || allegiance == kAllegianceAlly || allegiance == kAllegianceAllyOther;
}

struct CreatureRecord {
  char name[50];                 // empty marks a free record
  char description[402];
  int32_t kind;                  // creature kind id of creature generation
  int32_t race;
  int32_t type;                  // 0 none, 1 animal ... 8 undead
  int32_t subtype[4];
  int32_t gender;                // 0 n.a., 1 male, 2 female
  int32_t baseHitPoints;         // the hit dice total, before Constitution and level drain
  int32_t maxHitPoints;          // derived
  int32_t hitPoints;             // current; -10000 marks a destroyed body
  int32_t creatureClass;
  int32_t level;
  int32_t effectiveLevel;        // derived: level minus negative levels, at least 0
  StatPair speed;
  StatPair baseAttack;
  StatPair size;                 // 1 to 7
  int32_t challengeRating;
  int32_t generation[3];         // TreasureWord (the words of every array: rules/record_words.h)
  int32_t alignment;             // 0 n.a., 1 lawful good ... 9 chaotic evil
  int32_t experience;
  int32_t sight;                 // sight range in feet
  int32_t sightless;             // 1 does not depend on sight
  int32_t figure;
  int32_t displayWords[5];       // DisplayWord
  StatPair fortitude;
  StatPair reflex;
  StatPair willpower;
  StatPair strength;
  StatPair dexterity;
  StatPair constitution;
  StatPair intelligence;
  StatPair wisdom;
  StatPair charisma;
  int32_t map;
  int32_t squareX, squareY;      // top-left square of the footprint
  int32_t nextX, nextY;          // next step of its path
  int32_t pixelX, pixelY;
  StatPair footprintHeight;      // extent along y in squares
  StatPair footprintWidth;       // extent along x in squares
  StatPair figureSize[2];
  int32_t facing;                // 1 up, clockwise to 8 up-left
  int32_t spellsPerDay[9];       // spell levels 1 to 9
  int32_t spellsLeft[9];
  int32_t knownSpells[kKnownSpellFlags];
  StatPair protections[kProtectionPairs];
  NaturalAttack naturalAttacks[4];
  ConditionEntry conditions[kConditionSlots];
  int32_t feats[kFeatFlags];
  int32_t attacksOfOpportunity;      // per round, derived
  int32_t attacksOfOpportunityLeft;
  int32_t special[20];           // SpecialWord: spell-like ability, senses, breath weapon...
  uint32_t equipment[kEquipSlots];   // slots 1 to 12
  ItemPair ammunition;               // slot 13
  ItemPair carried[kCarriedPairs];   // slots 21 to 36
  int32_t allegiance;            // an Allegiance
  int32_t group;
  char tag[20];                  // the creature's own script
  int32_t waypointValue;
  int32_t present;               // 1 on its map and taking part
  int32_t behaviour[kBehaviourWordCount];  // BehaviourWord
  int32_t destinationX, destinationY;  // -1 none
  int32_t scriptWords[7];        // ScriptWord
  int32_t patrolIndex;           // 1 to 5
  int32_t patrol[5][3];          // WaypointWord: {x, y, pause}
  int32_t furtherWords[2];       // FurtherWord
  int32_t casterLevelAdjust;
  int32_t leader;                // -1 none
  int32_t formationX, formationY;
  int32_t formationWords[3];     // FormationWord: two party-order words and the hold flag
  int32_t fighterSlot;           // not stored in saved games
};

// Offsets fixed by the creature layout; the saved games copy from these.
static_assert(offsetof(CreatureRecord, description) == 50);
static_assert(offsetof(CreatureRecord, kind) == 452);
static_assert(offsetof(CreatureRecord, subtype) == 464);
static_assert(offsetof(CreatureRecord, gender) == 480);
static_assert(offsetof(CreatureRecord, baseHitPoints) == 484);
static_assert(offsetof(CreatureRecord, maxHitPoints) == 488);
static_assert(offsetof(CreatureRecord, hitPoints) == 492);
static_assert(offsetof(CreatureRecord, creatureClass) == 496);
static_assert(offsetof(CreatureRecord, effectiveLevel) == 504);
static_assert(offsetof(CreatureRecord, speed) == 508);
static_assert(offsetof(CreatureRecord, baseAttack) == 516);
static_assert(offsetof(CreatureRecord, size) == 524);
static_assert(offsetof(CreatureRecord, challengeRating) == 532);
static_assert(offsetof(CreatureRecord, alignment) == 548);
static_assert(offsetof(CreatureRecord, figure) == 564);
static_assert(offsetof(CreatureRecord, displayWords) == 568);
static_assert(offsetof(CreatureRecord, fortitude) == 588);
static_assert(offsetof(CreatureRecord, reflex) == 596);
static_assert(offsetof(CreatureRecord, willpower) == 604);
static_assert(offsetof(CreatureRecord, strength) == 612);
static_assert(offsetof(CreatureRecord, charisma) == 652);
static_assert(offsetof(CreatureRecord, map) == 660);
static_assert(offsetof(CreatureRecord, squareX) == 664);
static_assert(offsetof(CreatureRecord, nextX) == 672);
static_assert(offsetof(CreatureRecord, pixelX) == 680);
static_assert(offsetof(CreatureRecord, footprintHeight) == 688);
static_assert(offsetof(CreatureRecord, footprintWidth) == 696);
static_assert(offsetof(CreatureRecord, figureSize) == 704);
static_assert(offsetof(CreatureRecord, facing) == 720);
static_assert(offsetof(CreatureRecord, spellsPerDay) == 724);
static_assert(offsetof(CreatureRecord, spellsLeft) == 760);
static_assert(offsetof(CreatureRecord, knownSpells) == 796);
static_assert(offsetof(CreatureRecord, protections) == 1516);
static_assert(offsetof(CreatureRecord, naturalAttacks) == 2012);
static_assert(offsetof(CreatureRecord, conditions) == 2156);
static_assert(offsetof(CreatureRecord, feats) == 3156);
static_assert(offsetof(CreatureRecord, attacksOfOpportunity) == 4476);
static_assert(offsetof(CreatureRecord, special) == 4484);
static_assert(offsetof(CreatureRecord, equipment) == 4564);
static_assert(offsetof(CreatureRecord, ammunition) == 4612);
static_assert(offsetof(CreatureRecord, carried) == 4620);
static_assert(offsetof(CreatureRecord, allegiance) == 4748);
static_assert(offsetof(CreatureRecord, group) == 4752);
static_assert(offsetof(CreatureRecord, tag) == 4756);
static_assert(offsetof(CreatureRecord, waypointValue) == 4776);
static_assert(offsetof(CreatureRecord, present) == 4780);
static_assert(offsetof(CreatureRecord, behaviour) == 4784);
static_assert(offsetof(CreatureRecord, destinationX) == 4860);
static_assert(offsetof(CreatureRecord, scriptWords) == 4868);
static_assert(offsetof(CreatureRecord, patrolIndex) == 4896);
static_assert(offsetof(CreatureRecord, patrol) == 4900);
static_assert(offsetof(CreatureRecord, furtherWords) == 4960);
static_assert(offsetof(CreatureRecord, casterLevelAdjust) == 4968);
static_assert(offsetof(CreatureRecord, leader) == 4972);
static_assert(offsetof(CreatureRecord, formationX) == 4976);
static_assert(offsetof(CreatureRecord, formationWords) == 4984);
static_assert(offsetof(CreatureRecord, fighterSlot) == 4996);
static_assert(sizeof(CreatureRecord) == 5000);

extern CreatureRecord Creatures[kCreatureCount];

inline bool IsValidCreature(int id) { return id >= 0 && id < kCreatureCount; }
// The modifier of an ability score: score / 2 - 5, rounded toward zero as the rules code always has.
inline int AbilityModifier(int32_t score) { return score / 2 - 5; }

// Creature types, the rows of CreatureTypeNames.
enum CreatureType : int {
  kTypeNone = 0,
  kTypeAnimal = 1,
  kTypeConstruct = 2,
  kTypeDragon = 3,
  kTypeGiant = 4,
  kTypeHumanoid = 5,
  kTypeMonstrousHumanoid = 6,
  kTypeOutsider = 7,
  kTypeUndead = 8,
};

// Classes, the rows of ClassNames; 18 is a monstrous-humanoid class without a name.
enum CreatureClass : int {
  kClassNone = 0,
  kClassKnight = 1,
  kClassRogue = 2,
  kClassCleric = 3,
  kClassWizard = 4,
  kClassLich = 5,
  kClassCommoner = 6,
  kClassAnimal = 7,
  kClassConstruct = 8,
  kClassDragon = 9,
  kClassElemental = 10,
  kClassGiant = 11,
  kClassHumanoid = 12,
  kClassMagicalBeast = 13,
  kClassOutsider = 14,
  kClassUndead = 15,
  kClassWarrior = 16,
  kClassNoble = 17,
  kClassMonstrousHumanoid = 18,
};

// Name tables of the character pages.
extern const char CreatureTypeNames[9][16];      // "None" ... "Undead"
// The help page of a creature type: 23005 + type.
constexpr int kCreatureTypeHelpPageBase = 23005;
extern const char GenderNames[3][8];             // "N.A.", "Male", "Female"
extern const char ClassNames[18][14];            // "None", "Knight" ... "Noble"
extern const char ClassNamesFighter[18][14];     // the same with "Fighter" for class 1
extern const char AlignmentNames[10][16];        // "Not Applicable" ... "Chaotic Evil"
extern const char DamageReductionKindNames[15][12];  // "Nothing", "-", "Melee" ...
extern const char ImmunityCategoryNames[kImmunityCategories][16];
// The creature's immunity code of a category (ImmunityCategory).
inline int32_t ImmunityCodeOf(const CreatureRecord& c, int category) {
  return c.protections[kProtFirstImmunity + category].current;
}

// The creature's fighter-slot field.
int GetFighterSlot(int creature);
// True when any square of b's footprint is seen in a's fighter-slot grid.
bool IsCreatureInSight(int a, int b);

// Puts the words above back to their start-up values (a new game, and tests).
void ResetCreatureRecordState();
