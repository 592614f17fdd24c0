// Creature kinds: the templates a created creature starts from (the monsters,
// peoples and townsfolk of the adventures), the names of the kinds, their
// levels and challenge ratings, the age rows of the dragons and the trait sets
// of the creature types.
#pragma once
#include <cstdint>

constexpr int kKindRows = 93;  // kind ids 0 to 92
constexpr int kKindTemplateCount = 44;

// The kinds that have a template.
enum CreatureKind : int {
  kKindNone = 0,
  kKindAirElemental = 1,
  kKindBabau = 3,
  kKindBrownBear = 4,
  kKindBlackDragon = 6,
  kKindGiantSpider = 7,
  kKindBalor = 8,
  kKindBlueDragon = 9,
  kKindCentipede = 15,
  kKindSnake = 21,
  kKindDwarf = 27,
  kKindEarthElemental = 28,
  kKindElf = 29,
  kKindFireElemental = 32,
  kKindFireGiant = 33,
  kKindFrostGiant = 37,
  kKindGhoul = 40,
  kKindGiantRat = 42,  // named, without a template
  kKindGnoll = 43,
  kKindGorgon = 46,
  kKindGreenDragon = 47,
  kKindGrimlock = 50,
  kKindHalfElf = 51,
  kKindHillGiant = 55,
  kKindHorseman = 56,
  kKindHuman = 57,
  kKindIronGolem = 58,
  kKindLich = 60,
  kKindLizardman = 62,
  kKindMedusa = 63,
  kKindMinotaur = 65,
  kKindVrock = 66,
  kKindMul = 67,
  kKindMummy = 68,
  kKindOrc = 69,
  kKindRedDragon = 73,
  kKindSalamander = 75,
  kKindSkeleton = 79,
  kKindTiger = 84,
  kKindThriKreen = 85,
  kKindTroll = 86,
  kKindVampire = 87,
  kKindWaterElemental = 88,
  kKindWhiteDragon = 89,
  kKindWolf = 90,
  kKindZombie = 91,
};

// The names of the kinds (upper case; "-" for an id without a kind), as the
// other screens name a kind (for example "Polymorph (%s)").
extern const char KindNames[kKindRows][16];
// The help page of a kind (a race among them): 22000 + kind id.
constexpr int kKindHelpPageBase = 22000;

// Ability values, figures and charge percentages of the kinds that take
// their own per class: the fighter group (the kind's own monster class and
// classes 1, 6, 16, 17 and any other), the cleric group (class 3) and the
// wizard group (class 4).
enum AbilityGroup : int { kGroupFighter = 0, kGroupCleric = 1, kGroupWizard = 2 };
constexpr int kAbilityGroups = 3;
int AbilityGroupOfClass(int creatureClass);

// How a template sets the class.
enum TemplateClassRule : int32_t {
  kOwnClass = 0,            // the kind's class when the class argument is 0
  kClassAlways = 1,         // the kind's class whatever the argument
  kWarriorWithLevels = 2,   // the kind's class, Warrior (16) when extra levels are given
};

// Natural attack kinds (rows of NaturalAttackNames).
enum NaturalAttackKind : int32_t {
  kAttackBite = 1,
  kAttackClaw = 2,
  kAttackUnarmed = 3,
  kAttackGore = 4,
  kAttackSlam = 6,
  kAttackSting = 7,
  kAttackTailSlap = 8,
  kAttackTouch = 9,
  kAttackWing = 10,
};

// Damage type codes of natural attacks.
enum NaturalDamageType : int32_t { kBludgeoning = 1, kSlashing = 2, kPiercing = 3 };

// One natural attack of a template: kind, attacks per round, dice and damage type.
struct TemplateAttack {
  int32_t kind;
  int32_t count;
  int32_t dice;
  int32_t sides;
  int32_t damageType;
};

// The further values of a template, in the order the template lists them.
enum class TemplateEntry : int32_t {
  kNone = 0,
  kSpecialWord,        // word = special-ability word index, value[0] its value
  kBehaviour,          // word = behaviour word, values by ability group
  kImmunity,           // word = immunity category, value[0] the response code
  kProtection,         // word = protection pair, value[0] its base
  kUndeadTraits,
  kElementalTraits,
  kDragonTraits,
  kConstructTraits,
  kUnarmedStrike,
};

struct TemplateFurther {
  TemplateEntry entry;
  int32_t word;
  int32_t values[kAbilityGroups];
};
constexpr int kMaxTemplateFurther = 24;

struct KindTemplate {
  int32_t kind;
  const char* name;  // the displayed name; null when the class chooses it
  int32_t race;
  int32_t type;
  int32_t subtype;
  int32_t ownClass;
  TemplateClassRule classRule;
  int32_t speed;
  int32_t size;
  int32_t alignments[3];  // one is drawn with equal chance; 0 ends the list
  int32_t sight;
  int32_t darkvision;
  int32_t figures[kAbilityGroups];
  int32_t figureSize;
  int32_t abilities[kAbilityGroups][6];  // each + 0 to 4; 0 when the age row gives them
  int32_t treasure[3];                   // coins, goods, items multipliers
  int32_t naturalArmour;
  TemplateAttack attacks[4];  // by natural-attack slot
  TemplateFurther further[kMaxTemplateFurther];
  const char* description;
};

extern const KindTemplate KindTemplates[kKindTemplateCount];
// The template of the kind; null for a kind without one.
const KindTemplate* FindKindTemplate(int kind);

// The rider words (second effect) of a natural attack: kind, attack slot, effect kind and dice.
struct AttackRider {
  int32_t kind;
  int32_t slot;
  int32_t effect;
  int32_t dice;
  int32_t sides;
};
constexpr int kAttackRiders = 16;
extern const AttackRider AttackRiders[kAttackRiders];

// The human takes its name, alignment, figure, abilities and charge
// percentage from its class.
struct HumanClassRow {
  int32_t creatureClass;
  const char* name;
  int32_t alignments[3];
  int32_t figure;  // 0: the commoner's figure is drawn by gender
  int32_t abilities[6];
  int32_t charge;
  const char* description;
};
constexpr int kHumanClassRows = 6;
extern const HumanClassRow HumanClassRows[kHumanClassRows];

// Default level and challenge rating (no extra levels), and the base level
// and starting rating that extra levels add to.
struct KindLevels {
  int32_t kind;
  int32_t defaultLevel;
  int32_t defaultRating;
  int32_t baseLevel;
  int32_t startingRating;  // -1: the class gives the rating
};
constexpr int kKindLevelRows = 44;
extern const KindLevels KindLevelTable[kKindLevelRows];
// The row of the kind; null for a kind without one.
const KindLevels* FindKindLevels(int kind);

// A dragon's age row, chosen by level: every three levels from the dragon's
// default level.
struct DragonAgeRow {
  int32_t casterLevel;  // special word 1, the age category
  int32_t abilities[6];
  int32_t naturalArmour;
  int32_t spellLike;  // special word 0
  int32_t damageReduction;
  int32_t spellResistance;
  int32_t breathSides;  // special word 6
  int32_t breathDice;   // special word 7
};
constexpr int kDragonAgeRows = 8;
struct DragonAges {
  int32_t kind;
  int32_t firstLevel;
  int32_t breathKind;  // special word 5
  DragonAgeRow rows[kDragonAgeRows];
};
constexpr int kDragonKinds = 5;
extern const DragonAges DragonAgeTable[kDragonKinds];
const DragonAges* FindDragonAges(int kind);
bool IsDragonKind(int kind);

// The kinds that take character classes by level like the peoples (the
// elementals among them); the vampire (87) follows them where said.
bool IsHumanoidListKind(int kind);

// Writes the kind's template into the creature (the record just cleared):
// the values of its table row, with the draws of alignment, gender and the
// 0 to 4 added to each ability. classArgument and extraLevels choose the
// class and the ability group. A kind without template changes nothing.
// Returns 1 when the kind has a template.
int ApplyKindTemplate(int creature, int kind, int classArgument, int extraLevels);
// Writes the dragon's age row of its level (abilities + 0 to 4 each,
// natural armour, spell-like ability, breath, damage reduction, spell
// resistance). Returns 1, or 0 for a kind that is no dragon.
int ApplyDragonAgeRow(int creature);

// Type trait sets; each also gives darkvision.
void ApplyUndeadTraits(int creature);
void ApplyElementalTraits(int creature);
void ApplyDragonTraits(int creature);
void ApplyConstructTraits(int creature);
// The humanoid's fist: first natural attack unarmed x1, threat 20, bludgeoning 1d3.
void GiveUnarmedAttack(int creature);
