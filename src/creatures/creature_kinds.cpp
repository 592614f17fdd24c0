// The creature kinds as data: one row per template, in the columns of the
// kind table (kind, name, race, type, subtype, class, speed, size, alignment
// draws, sight, darkvision, figure, figure size, abilities, treasure, natural
// armour, natural attacks, further values), then the riders of the natural
// attacks, the human's classes, the levels, the racial hit dice and the
// dragons' age rows.
#include "creatures/creature_kinds.h"

#include "rules/creature_record.h"

const char KindNames[kKindRows][16] = {
    "NONE",        "AIR_ELEMENTAL", "-",           "BABAU",        "BROWN_BEAR",    "-",
    "BLACK_DRAGON", "GIANT_SPIDER", "BALOR",       "BLUE_DRAGON",  "-",             "-",
    "-",           "-",             "-",           "CENTIPEDE",    "-",             "-",
    "-",           "-",             "-",           "SNAKE",        "-",             "-",
    "-",           "-",             "-",           "DWARF",        "EARTH_ELEMENTAL", "ELF",
    "-",           "-",             "FIRE_ELEMENTAL", "FIRE_GIANT", "-",            "-",
    "-",           "FROST_GIANT",   "-",           "-",            "GHOUL",         "-",
    "GIANT_RAT",   "GNOLL",         "-",           "-",            "GORGON",        "GREEN_DRAGON",
    "-",           "-",             "GRIMLOCK",    "HALF_ELF",     "-",             "-",
    "-",           "HILL_GIANT",    "HORSEMAN",    "HUMAN",        "IRON_GOLEM",    "-",
    "LICH",        "-",             "LIZARDMAN",   "MEDUSA",       "-",             "MINOTAUR",
    "VROCK",       "MUL",           "MUMMY",       "ORC",          "-",             "-",
    "-",           "RED_DRAGON",    "-",           "SALAMANDER",   "-",             "-",
    "-",           "SKELETON",      "-",           "-",            "-",             "-",
    "TIGER",       "THRI-KREEN",    "TROLL",       "VAMPIRE",      "WATER_ELEMENTAL", "WHITE_DRAGON",
    "WOLF",        "ZOMBIE",        "-"};

namespace {

// Building blocks of the rows, named as the kind table writes them.
constexpr TemplateAttack Bite(int32_t count, int32_t dice, int32_t sides, int32_t type) {
  return {kAttackBite, count, dice, sides, type};
}
constexpr TemplateAttack Claw(int32_t count, int32_t dice, int32_t sides, int32_t type) {
  return {kAttackClaw, count, dice, sides, type};
}
constexpr TemplateAttack Gore(int32_t count, int32_t dice, int32_t sides, int32_t type) {
  return {kAttackGore, count, dice, sides, type};
}
constexpr TemplateAttack Slam(int32_t count, int32_t dice, int32_t sides, int32_t type) {
  return {kAttackSlam, count, dice, sides, type};
}
constexpr TemplateAttack Sting(int32_t count, int32_t dice, int32_t sides, int32_t type) {
  return {kAttackSting, count, dice, sides, type};
}
constexpr TemplateAttack TailSlap(int32_t count, int32_t dice, int32_t sides, int32_t type) {
  return {kAttackTailSlap, count, dice, sides, type};
}
constexpr TemplateAttack Touch(int32_t count, int32_t dice, int32_t sides, int32_t type) {
  return {kAttackTouch, count, dice, sides, type};
}
constexpr TemplateAttack kNoAttack = {};

constexpr TemplateFurther S(int32_t word, int32_t value) {
  return {TemplateEntry::kSpecialWord, word, {value, value, value}};
}
constexpr TemplateFurther Percent(int32_t word, int32_t value) {
  return {TemplateEntry::kBehaviour, word, {value, value, value}};
}
constexpr TemplateFurther Charge(int32_t value) { return Percent(kBehaviourCharge, value); }
// "charge% fighter F, cleric C": the wizard group does not charge.
constexpr TemplateFurther Charge(int32_t fighter, int32_t cleric) {
  return {TemplateEntry::kBehaviour, kBehaviourCharge, {fighter, cleric, 0}};
}
constexpr TemplateFurther Grapple(int32_t value) { return Percent(kBehaviourGrapple, value); }
constexpr TemplateFurther Grapple2(int32_t value) { return Percent(kBehaviourGrapple2, value); }
constexpr TemplateFurther SpellLike(int32_t value) { return Percent(kBehaviourSpellLike, value); }
constexpr TemplateFurther SpecialAttack(int32_t value) { return Percent(kBehaviourSpecialAttack, value); }
constexpr TemplateFurther SecondTactic(int32_t value) { return Percent(kBehaviourSecondTactic, value); }
// "Fire immunity" / "Cold 2": the response code of an immunity category.
constexpr TemplateFurther Immune(int32_t category) {
  return {TemplateEntry::kImmunity, category, {kImmunityImmune, 0, 0}};
}
constexpr TemplateFurther Response(int32_t category, int32_t code) {
  return {TemplateEntry::kImmunity, category, {code, 0, 0}};
}
constexpr TemplateFurther Protection(int32_t pair, int32_t value) {
  return {TemplateEntry::kProtection, pair, {value, 0, 0}};
}
constexpr TemplateFurther DR(int32_t amount) { return Protection(kProtDamageReduction, amount); }
constexpr TemplateFurther DRKind(int32_t kind) { return Protection(kProtDamageReductionKind, kind); }
constexpr TemplateFurther SR(int32_t value) { return Protection(kProtSpellResistance, value); }
constexpr TemplateFurther FireRes(int32_t value) { return Protection(kProtResistFire, value); }
constexpr TemplateFurther ColdRes(int32_t value) { return Protection(kProtResistCold, value); }
constexpr TemplateFurther AcidRes(int32_t value) { return Protection(kProtResistAcid, value); }
constexpr TemplateFurther ElectricityRes(int32_t value) { return Protection(kProtResistElectricity, value); }
constexpr TemplateFurther kUndeadTraits = {TemplateEntry::kUndeadTraits, 0, {}};
constexpr TemplateFurther kElementalTraits = {TemplateEntry::kElementalTraits, 0, {}};
constexpr TemplateFurther kDragonTraits = {TemplateEntry::kDragonTraits, 0, {}};
constexpr TemplateFurther kConstructTraits = {TemplateEntry::kConstructTraits, 0, {}};
constexpr TemplateFurther kUnarmedStrike = {TemplateEntry::kUnarmedStrike, 0, {}};

}  // namespace

// Abilities are written Str Dex Con Int Wis Cha, one row for every class or
// the fighter, cleric and wizard groups; the dragons take theirs (and their
// natural armour) from the age rows, their natural attacks from their size.
// clang-format off
const KindTemplate KindTemplates[kKindTemplateCount] = {
    {kKindAirElemental, "Elemental", 14, kTypeOutsider, 1, kClassElemental, kClassAlways, 80, 3, {5}, 30, 1, {164, 164, 164}, 1,
     {{8, 16, 8, 2, 9, 9}, {8, 16, 8, 2, 9, 9}, {8, 16, 8, 2, 9, 9}}, {0, 0, 0}, 6,
     {Slam(2, 1, 6, 1)},
     {kElementalTraits, Charge(30), Immune(kImmHampering)},
     "A living whirlwind from the plane of air. It strikes with fists of hard-packed wind and moves faster than any runner."},

    {kKindBabau, "Babau", 11, kTypeOutsider, 0, kClassOutsider, kClassAlways, 30, 3, {9}, 30, 1, {165, 165, 165}, 1,
     {{19, 10, 18, 12, 11, 14}, {19, 10, 18, 12, 11, 14}, {19, 10, 18, 12, 11, 14}}, {0, 0, 0}, 8,
     {Claw(2, 1, 6, 2), Bite(1, 1, 6, 3)},
     {S(1, 7), SpellLike(10), Charge(95), S(0, 15), S(2, 3), S(3, 3), S(11, 6), S(13, 4), S(12, 1), DR(10), DRKind(14),
      Immune(kImmElectricity), Immune(kImmPoison), FireRes(10), ColdRes(10), AcidRes(10), SR(14)},
     "A gaunt, horned demon with leathery skin that oozes a foul slime. It stalks its prey from the shadows and tears at it with claws and fangs."},

    {kKindBrownBear, "Brown_Bear", 3, kTypeAnimal, 0, kClassAnimal, kClassAlways, 40, 4, {5}, 25, 0, {202, 202, 202}, 5,
     {{25, 11, 17, 2, 10, 4}, {25, 11, 17, 2, 10, 4}, {25, 11, 17, 2, 10, 4}}, {0, 0, 0}, 5,
     {Claw(2, 1, 8, 2), Bite(1, 2, 6, 3)},
     {Grapple(40), Grapple2(20), Charge(40)},
     "Brown bears are massive territorial beasts that fight with their claws and bite."},

    {kKindBlackDragon, "Black_Dragon", 8, kTypeDragon, 24, kClassDragon, kOwnClass, 60, 4, {9}, 30, 1, {218, 218, 218}, 5,
     {}, {3, 3, 3}, 0,
     {},
     {kDragonTraits, SpellLike(20), Grapple2(5), Charge(90)},
     "A black-scaled dragon of swamps and sunken ruins, with a skull-like head and a breath of searing acid."},

    {kKindGiantSpider, "Giant_Spider", 23, kTypeAnimal, 0, kClassMagicalBeast, kWarriorWithLevels, 30, 4, {5, 6, 8}, 20, 1, {207, 207, 207}, 5,
     {{13, 15, 10, 13, 10, 2}, {13, 15, 10, 13, 10, 2}, {13, 15, 10, 13, 10, 2}}, {1, 1, 1}, 2,
     {Bite(1, 1, 8, 3)},
     {S(1, 4), S(0, 16), S(2, 2), S(3, 2), SpellLike(35), Charge(50), DR(5), DRKind(7), Immune(kImmHampering)},
     "A spider the size of a horse, with a cunning mind behind its many eyes. Its bite carries a poison that saps the strength of its prey."},

    {kKindBalor, "Balor", 11, kTypeOutsider, 5, kClassOutsider, kOwnClass, 40, 4, {9}, 30, 1, {201, 201, 201}, 5,
     {{33, 23, 29, 22, 22, 24}, {33, 23, 29, 22, 22, 24}, {33, 23, 29, 22, 22, 24}}, {1, 2, 1}, 19,
     {Slam(2, 1, 10, 1)},
     {S(1, 20), DR(15), DRKind(14), S(4, 6), S(11, 6), S(13, 1), S(12, 4), S(0, 98), S(2, 10), S(3, 10), SpellLike(25),
      Grapple(20), Grapple2(20), Charge(80), Immune(kImmElectricity), Immune(kImmFire), Immune(kImmPoison), ColdRes(10),
      AcidRes(10), SR(28)},
     "A towering demon wreathed in flame, with great bat wings, a flaming whip and a sword of lightning. Few mortals who see one live to tell of it."},

    {kKindBlueDragon, "Blue_Dragon", 8, kTypeDragon, 8, kClassDragon, kOwnClass, 40, 4, {3}, 30, 1, {219, 219, 219}, 5,
     {}, {3, 3, 3}, 0,
     {},
     {kDragonTraits, SpellLike(20), Grapple2(5), Charge(90), SpecialAttack(25), Immune(kImmElectricity)},
     "A vain and territorial dragon of the deserts, its blue scales crackling with the lightning it breathes."},

    {kKindCentipede, "Centipede", 7, kTypeAnimal, 0, kClassAnimal, kOwnClass, 40, 3, {5}, 20, 1, {166, 166, 166}, 1,
     {{11, 13, 8, 1, 8, 2}, {11, 13, 8, 1, 8, 2}, {11, 13, 8, 1, 8, 2}}, {0, 0, 0}, 3,
     {Bite(1, 1, 8, 3)},
     {Charge(50)},
     "A centipede as long as a man, scuttling on a hundred legs. Its venomous mandibles weaken whatever they pierce."},

    {kKindSnake, "Giant_Snake", 52, kTypeAnimal, 0, kClassAnimal, kClassAlways, 20, 3, {5}, 15, 0, {193, 193, 193}, 1,
     {{15, 15, 11, 1, 10, 2}, {15, 15, 11, 1, 10, 2}, {15, 15, 11, 1, 10, 2}}, {0, 0, 0}, 2,
     {Bite(1, 1, 3, 3)},
     {Grapple(50), Grapple2(20), Charge(25), S(9, 8), S(10, 1)},
     "A great snake of the wild that seizes its prey in its jaws and crushes the life out of it in its coils."},

    {kKindDwarf, "Dwarf", 13, kTypeHumanoid, 7, kClassWarrior, kOwnClass, 20, 3, {2, 3, 6}, 30, 0, {167, 167, 167}, 1,
     {{11, 9, 12, 8, 7, 4}, {9, 7, 12, 8, 11, 4}, {8, 9, 12, 11, 7, 4}}, {1, 2, 1}, 0,
     {},
     {kUnarmedStrike, Charge(75, 15)},
     "A stocky, bearded dweller of the mountain halls, slow to trust and slower to forgive, and as tough as the stone it mines."},

    {kKindEarthElemental, "Elemental", 14, kTypeOutsider, 8, kClassElemental, kClassAlways, 15, 3, {5}, 15, 1, {188, 188, 188}, 1,
     {{15, 6, 12, 2, 9, 9}, {15, 6, 12, 2, 9, 9}, {15, 6, 12, 2, 9, 9}}, {0, 0, 0}, 7,
     {Slam(2, 1, 8, 1)},
     {kElementalTraits, Charge(75), Immune(kImmPetrification), S(4, 4)},
     "A hulking shape of rock and soil called from the plane of earth. It is slow, but its stony fists hit like falling boulders."},

    {kKindElf, "Elf", 15, kTypeHumanoid, 9, kClassWarrior, kOwnClass, 30, 3, {8, 9, 5}, 30, 0, {174, 170, 172}, 1,
     {{11, 11, 8, 8, 7, 6}, {8, 11, 8, 7, 11, 6}, {8, 11, 8, 11, 7, 6}}, {0, 0, 0}, 0,
     {},
     {Immune(kImmSleep)},
     "A slender, graceful folk of the old forests, long-lived and keen of eye, who never know the sleep of men."},

    {kKindFireElemental, "Elemental", 14, kTypeOutsider, 12, kClassElemental, kClassAlways, 40, 3, {5}, 25, 0, {194, 194, 194}, 4,
     {{7, 12, 8, 2, 9, 9}, {7, 12, 8, 2, 9, 9}, {7, 12, 8, 2, 9, 9}}, {0, 0, 0}, 3,
     {Slam(2, 1, 6, 1)},
     {kElementalTraits, Charge(50), S(11, 4), S(12, 1), S(13, 1), Immune(kImmFire), Response(kImmCold, 2)},
     "A roaring column of flame from the plane of fire. Whatever it touches catches alight."},

    {kKindFireGiant, "Fire_Giant", 20, kTypeGiant, 12, kClassGiant, kWarriorWithLevels, 40, 4, {3, 6}, 30, 0, {203, 203, 203}, 5,
     {{29, 7, 19, 8, 12, 9}, {27, 7, 19, 8, 14, 9}, {26, 7, 19, 11, 12, 9}}, {0, 0, 0}, 8,
     {Slam(2, 1, 4, 1)},
     {Immune(kImmFire), Response(kImmCold, 2), Charge(80, 15)},
     "A giant with coal-black skin and hair like flame, a brutal soldier of the forges under the volcanoes."},

    {kKindFrostGiant, "Frost_Giant", 20, kTypeGiant, 6, kClassGiant, kWarriorWithLevels, 40, 4, {9, 6}, 30, 0, {204, 204, 204}, 5,
     {{27, 7, 19, 8, 12, 9}, {25, 7, 19, 8, 14, 9}, {24, 7, 19, 11, 12, 9}}, {0, 0, 0}, 0,
     {},
     {Immune(kImmCold), Response(kImmFire, 2)},
     "A pale-skinned giant of the frozen north with a beard of ice, who raids the lowlands for plunder and slaves."},

    {kKindGhoul, "Ghoul", 19, kTypeUndead, 0, kClassUndead, kClassAlways, 30, 3, {9}, 30, 0, {181, 181, 181}, 1,
     {{11, 13, 8, 11, 12, 10}, {11, 13, 8, 11, 12, 10}, {11, 13, 8, 11, 12, 10}}, {0, 0, 0}, 2,
     {Bite(1, 1, 6, 3), Claw(2, 1, 3, 2)},
     {kUndeadTraits, Charge(70)},
     "A corpse-eater risen from the grave, gaunt and grey, whose touch leaves the living stiff and helpless."},

    {kKindGnoll, "Gnoll", 24, kTypeHumanoid, 13, kClassHumanoid, kWarriorWithLevels, 30, 3, {9, 6}, 30, 1, {190, 190, 190}, 1,
     {{13, 8, 11, 6, 9, 6}, {11, 8, 11, 6, 11, 6}, {11, 8, 10, 9, 9, 6}}, {1, 1, 1}, 1,
     {},
     {kUnarmedStrike, Charge(75, 15)},
     "A hyena-headed raider that hunts in packs and laughs as it kills."},

    {kKindGorgon, "Gorgon", 27, kTypeAnimal, 19, kClassMagicalBeast, kOwnClass, 30, 4, {5}, 30, 1, {224, 224, 224}, 5,
     {{19, 8, 19, 2, 10, 7}, {19, 8, 19, 2, 10, 7}, {19, 8, 19, 2, 10, 7}}, {0, 0, 0}, 11,
     {Gore(1, 1, 8, 3)},
     {S(5, 9), SpecialAttack(25), Charge(100), DR(5), DRKind(12), Immune(kImmPetrification)},
     "A bull of iron scales whose breath is a green vapour that turns flesh to stone."},

    {kKindGreenDragon, "Green_Dragon", 8, kTypeDragon, 1, kClassDragon, kOwnClass, 40, 4, {3}, 30, 1, {220, 220, 220}, 5,
     {}, {3, 3, 3}, 0,
     {},
     {kDragonTraits, SpellLike(20), Grapple2(5), Charge(60), SpecialAttack(25), Immune(kImmAcid)},
     "A cruel and scheming dragon of the deep woods, whose breath is a choking cloud of corrosive gas."},

    {kKindGrimlock, "Grimlock", 28, kTypeMonstrousHumanoid, 0, kClassMonstrousHumanoid, kWarriorWithLevels, 30, 3, {6, 9, 3}, 30, 1, {182, 182, 182}, 1,
     {{13, 11, 11, 8, 6, 4}, {12, 9, 11, 8, 9, 4}, {12, 11, 11, 9, 6, 4}}, {0, 0, 0}, 4,
     {},
     {kUnarmedStrike, S(4, 5), Immune(kImmEyes), Immune(kImmPhantasm), Immune(kImmFigment), Immune(kImmPattern), Charge(100, 15)},
     "An eyeless, grey-skinned dweller of the deep caves that hunts by sound and smell and cannot be fooled by what others see."},

    {kKindHalfElf, "Half-Elf", 29, kTypeHumanoid, 9, kClassWarrior, kOwnClass, 30, 3, {5, 8}, 30, 0, {171, 170, 172}, 1,
     {{10, 11, 8, 9, 7, 6}, {7, 10, 8, 9, 11, 6}, {6, 11, 8, 13, 7, 6}}, {0, 0, 0}, 0,
     {},
     {Immune(kImmSleep)},
     "Born of an elf and a human, at home among both peoples and fully trusted by neither."},

    {kKindHillGiant, "Hill_Giant", 20, kTypeGiant, 0, kClassGiant, kWarriorWithLevels, 40, 4, {9, 6, 8}, 30, 0, {212, 212, 212}, 5,
     {{23, 6, 17, 4, 8, 5}, {21, 6, 17, 4, 10, 5}, {20, 6, 15, 9, 8, 5}}, {1, 1, 1}, 9,
     {Slam(2, 1, 4, 1)},
     {Charge(80, 15)},
     "A dull-witted, ill-tempered brute twice the height of a man, who lives by raiding farms and herds."},

    {kKindHorseman, "Mounted_Soldier", 34, kTypeHumanoid, 16, kClassHumanoid, kOwnClass, 40, 4, {5, 3, 6}, 30, 0, {210, 210, 210}, 5,
     {{13, 9, 12, 8, 7, 6}, {12, 9, 11, 8, 9, 6}, {12, 9, 11, 10, 7, 6}}, {1, 1, 1}, 3,
     {},
     {kUnarmedStrike, Charge(75, 15)},
     "A soldier on a trained warhorse, riding down anyone who stands in the open."},

    {kKindHuman, nullptr, 34, kTypeHumanoid, 16, kClassWarrior, kOwnClass, 30, 3, {}, 30, 0, {}, 1,
     {}, {1, 1, 1}, 0,
     {},
     {kUnarmedStrike},
     nullptr},

    {kKindIronGolem, "Iron_Golem", 26, kTypeConstruct, 19, kClassConstruct, kClassAlways, 20, 4, {5}, 30, 0, {208, 208, 208}, 5,
     {{31, 7, 8, 1, 9, 1}, {31, 7, 8, 1, 9, 1}, {31, 7, 8, 1, 9, 1}}, {0, 0, 0}, 22,
     {Slam(2, 2, 10, 1)},
     {kConstructTraits, S(5, 11), S(7, 1), S(6, 4), SpecialAttack(20), Charge(100), DR(15), DRKind(12),
      Immune(kImmPetrification), Response(kImmFire, 5), Response(kImmAcid, 2), Response(kImmElectricity, 2),
      Response(kImmForce, 4), Response(kImmCold, 4), Response(kImmSonic, 4)},
     "A giant of forged iron given motion by magic. It obeys its maker without thought and breathes out a cloud of poisonous fumes."},

    {kKindLich, "Lich", 36, kTypeUndead, 16, kClassLich, kClassAlways, 30, 3, {6, 3, 9}, 30, 0, {173, 173, 173}, 1,
     {{10, 9, 8, 12, 9, 8}, {10, 9, 8, 12, 9, 8}, {10, 9, 8, 12, 9, 8}}, {1, 2, 2}, 5,
     {Touch(1, 1, 10, 11), kNoAttack, kNoAttack, Slam(2, 1, 6, 1)},
     {kUndeadTraits, SecondTactic(20), DR(15), DRKind(5), Immune(kImmCold), Immune(kImmElectricity), Immune(kImmPolymorph)},
     "A wizard who cheated death through dark rites. Its withered body burns with cold light, and its touch paralyses the living."},

    {kKindLizardman, "Lizardman", 38, kTypeHumanoid, 22, kClassHumanoid, kWarriorWithLevels, 30, 3, {5, 8}, 30, 0, {187, 187, 187}, 1,
     {{11, 8, 11, 7, 8, 8}, {10, 8, 10, 7, 10, 8}, {10, 7, 10, 10, 8, 8}}, {6, 6, 6}, 5,
     {Claw(2, 1, 4, 2), Bite(1, 1, 4, 3)},
     {Charge(75, 15)},
     "A scaled, reptilian hunter of the marshes who fights with claws and teeth as readily as with spear and shield."},

    {kKindMedusa, "Medusa", 39, kTypeMonstrousHumanoid, 0, kClassMonstrousHumanoid, kWarriorWithLevels, 30, 3, {3, 6}, 30, 1, {191, 191, 191}, 1,
     {{8, 13, 10, 10, 11, 13}, {8, 13, 8, 10, 11, 13}, {8, 13, 8, 10, 11, 13}}, {2, 2, 2}, 3,
     {Slam(1, 1, 3, 1), Sting(1, 1, 4, 3)},
     {S(5, 23), SpecialAttack(35), Immune(kImmPetrification)},
     "A woman with a nest of hissing snakes for hair, whose gaze turns those who meet it to stone."},

    {kKindMinotaur, "Minotaur", 42, kTypeMonstrousHumanoid, 0, kClassWarrior, kOwnClass, 30, 4, {9, 8}, 30, 1, {223, 223, 223}, 5,
     {{17, 8, 13, 5, 8, 6}, {15, 8, 13, 5, 8, 6}, {14, 8, 11, 5, 8, 6}}, {1, 1, 1}, 5,
     {Claw(2, 1, 4, 2), Gore(1, 1, 8, 3)},
     {Charge(100), S(19, 0), S(18, 4), S(17, 6), Immune(kImmFlatFoot)},
     "A bull-headed giant of a man that never loses its way and charges horns first into anyone it finds in its maze."},

    {kKindVrock, "Vrock", 11, kTypeOutsider, 11, kClassOutsider, kClassAlways, 30, 4, {9}, 30, 1, {226, 226, 226}, 5,
     {{21, 13, 23, 12, 14, 14}, {21, 13, 23, 12, 14, 14}, {21, 13, 23, 12, 14, 14}}, {1, 1, 1}, 11,
     {Claw(4, 1, 6, 2), Bite(1, 1, 10, 3)},
     {S(1, 12), SpellLike(30), Charge(65), S(0, 27), S(0, 30), S(2, 3), S(3, 3), DR(10), DRKind(14),
      Immune(kImmElectricity), Immune(kImmPoison), FireRes(10), ColdRes(10), AcidRes(10), SR(17), Grapple(5), Grapple2(5)},
     "A vulture-headed demon with a body of rotting muscle, which screeches as it tears at its victims with four clawed limbs."},

    {kKindMul, "Mul", 43, kTypeHumanoid, 16, kClassWarrior, kOwnClass, 30, 3, {3, 6}, 30, 0, {171, 170, 172}, 1,
     {{13, 7, 10, 8, 7, 6}, {12, 7, 8, 8, 10, 6}, {11, 8, 9, 10, 7, 6}}, {0, 0, 0}, 0,
     {},
     {},
     "Born of a dwarf and a human, a hairless, broad-shouldered worker and fighter who can labour for days without rest."},

    {kKindMummy, "Mummy", 44, kTypeUndead, 0, kClassUndead, kOwnClass, 20, 3, {6, 3}, 30, 0, {183, 183, 183}, 1,
     {{22, 8, 8, 4, 12, 13}, {20, 8, 8, 4, 14, 13}, {20, 7, 7, 8, 12, 13}}, {1, 1, 1}, 10,
     {Slam(1, 1, 6, 1), kNoAttack, kNoAttack, Slam(1, 1, 6, 1)},
     {kUndeadTraits, Charge(75, 15), SecondTactic(33), DR(5), DRKind(1), Response(kImmFire, 2)},
     "A wrapped and embalmed corpse that guards its tomb for ever. Its rotting touch spreads a wasting disease."},

    {kKindOrc, "Orc", 45, kTypeHumanoid, 21, kClassWarrior, kOwnClass, 30, 3, {9, 6}, 30, 1, {189, 189, 189}, 1,
     {{15, 9, 10, 6, 5, 4}, {13, 9, 9, 6, 8, 4}, {13, 9, 9, 9, 5, 4}}, {1, 1, 1}, 0,
     {},
     {kUnarmedStrike, Charge(75, 15)},
     "A savage, tusked raider who lives for plunder and battle and hates the peoples of the sun."},

    {kKindRedDragon, "Red_Dragon", 8, kTypeDragon, 12, kClassDragon, kOwnClass, 40, 4, {9}, 30, 1, {222, 222, 222}, 5,
     {}, {3, 3, 3}, 0,
     {},
     {kDragonTraits, SpellLike(20), Grapple2(5), Charge(60), SpecialAttack(25), Immune(kImmFire), Response(kImmCold, 2)},
     "The greediest and proudest of the dragons, lord of the mountain peaks, whose breath is a cone of roaring flame."},

    {kKindSalamander, "Salamander", 48, kTypeOutsider, 11, kClassOutsider, kOwnClass, 20, 3, {6, 3, 9}, 30, 1, {195, 195, 195}, 1,
     {{12, 11, 12, 12, 13, 11}, {12, 11, 12, 12, 13, 11}, {12, 11, 12, 12, 13, 11}}, {1, 1, 1}, 7,
     {Slam(1, 1, 4, 1), TailSlap(1, 2, 6, 1)},
     {Grapple(50), Grapple2(20), Charge(25), S(9, 6), S(10, 4), Immune(kImmFire), Response(kImmCold, 2)},
     "A serpent-tailed creature of the plane of fire whose body burns with an inner heat. It crushes its foes in its glowing coils."},

    {kKindSkeleton, "Skeleton", 50, kTypeUndead, 16, kClassUndead, kClassAlways, 30, 3, {6}, 30, 0, {184, 184, 184}, 1,
     {{12, 12, 8, 1, 10, 1}, {12, 12, 8, 1, 10, 1}, {12, 12, 8, 1, 10, 1}}, {0, 0, 0}, 2,
     {Claw(2, 1, 4, 2)},
     {kUndeadTraits, Charge(70), Immune(kImmCold), Immune(kImmPetrification), DR(5), DRKind(5)},
     "Animated bones held together by dark magic, that do as they are bidden without fear or thought."},

    {kKindTiger, "Tiger", 53, kTypeAnimal, 0, kClassAnimal, kClassAlways, 40, 4, {5}, 30, 0, {225, 225, 225}, 5,
     {{21, 13, 15, 2, 10, 4}, {21, 13, 15, 2, 10, 4}, {21, 13, 15, 2, 10, 4}}, {0, 0, 0}, 3,
     {Claw(2, 1, 6, 2), Bite(1, 1, 8, 3)},
     {Grapple(40), Grapple2(20), Charge(100), S(4, 3), S(16, 0), S(15, 1), S(14, 6)},
     "A great striped cat that pounces from cover and rakes its prey with its hind claws."},

    {kKindThriKreen, "Thri-Kreen", 54, kTypeAnimal, 0, kClassMagicalBeast, kWarriorWithLevels, 40, 3, {5, 2}, 30, 0, {196, 196, 196}, 1,
     {{9, 12, 11, 7, 8, 8}, {8, 12, 10, 7, 10, 8}, {8, 11, 10, 10, 8, 8}}, {1, 1, 1}, 5,
     {Claw(4, 1, 4, 2), Bite(1, 1, 6, 3)},
     {Charge(75, 15), S(16, 0), S(15, 1), S(14, 4), Grapple(5), Grapple2(5)},
     "A mantis-like hunter of the wastes with four clawed arms. It never sleeps, and its bite numbs the limbs."},

    {kKindTroll, "Troll", 51, kTypeGiant, 0, kClassGiant, kWarriorWithLevels, 30, 4, {9, 6}, 30, 1, {211, 211, 211}, 5,
     {{21, 12, 21, 4, 7, 4}, {20, 12, 20, 4, 9, 4}, {19, 12, 20, 7, 7, 4}}, {1, 1, 1}, 5,
     {Claw(2, 1, 6, 2), Bite(1, 1, 6, 3)},
     {Charge(80, 15), Response(kImmFire, 2), Response(kImmAcid, 2), S(8, 5), S(4, 3)},
     "A lanky, green-skinned horror whose wounds close as fast as they are dealt. Only fire and acid harm it for good."},

    {kKindVampire, "Vampire", 49, kTypeUndead, 4, kClassWarrior, kOwnClass, 30, 3, {6, 3, 9}, 30, 0, {186, 186, 186}, 1,
     {{17, 15, 8, 10, 9, 10}, {15, 15, 8, 10, 11, 10}, {15, 15, 8, 12, 9, 10}}, {2, 2, 2}, 6,
     {Slam(1, 1, 6, 1), kNoAttack, kNoAttack, Bite(1, 1, 4, 3)},
     {kUndeadTraits, S(1, 12), S(0, 58), S(2, 3), S(3, 3), SpellLike(15), Charge(80, 15), SecondTactic(25), DR(10),
      DRKind(13), ColdRes(10), ElectricityRes(10), S(8, 5)},
     "A noble corpse that rises at night to drink the blood of the living. Its touch drains life, and its eyes bend the will."},

    {kKindWaterElemental, "Elemental", 14, kTypeOutsider, 24, kClassElemental, kClassAlways, 20, 3, {5}, 15, 1, {206, 206, 206}, 1,
     {{12, 8, 11, 2, 9, 9}, {12, 8, 11, 2, 9, 9}, {12, 8, 11, 2, 9, 9}}, {0, 0, 0}, 6,
     {Slam(2, 1, 8, 1)},
     {kElementalTraits},
     "A surging wave in rough human shape, called from the plane of water. It batters its foes and puts out every flame."},

    {kKindWhiteDragon, "White_Dragon", 8, kTypeDragon, 6, kClassDragon, kOwnClass, 60, 4, {9}, 30, 1, {221, 221, 221}, 5,
     {}, {3, 3, 3}, 0,
     {},
     {kDragonTraits, SpellLike(20), Grapple2(5), Charge(60), Immune(kImmCold), Response(kImmFire, 2)},
     "The smallest and most bestial of the dragons, a hunter of the ice fields that breathes a cone of freezing cold."},

    {kKindWolf, "Wolf", 55, kTypeAnimal, 0, kClassAnimal, kClassAlways, 50, 3, {5}, 30, 0, {200, 200, 200}, 1,
     {{11, 13, 13, 2, 10, 4}, {11, 13, 13, 2, 10, 4}, {11, 13, 13, 2, 10, 4}}, {0, 0, 0}, 2,
     {Bite(1, 1, 6, 3)},
     {S(19, 0), S(18, 1), S(17, 10), Charge(100)},
     "A grey hunter of the woods that runs in packs and drags its prey to the ground."},

    {kKindZombie, "Zombie", 56, kTypeUndead, 0, kClassUndead, kClassAlways, 30, 3, {6}, 30, 0, {185, 185, 185}, 1,
     {{14, 8, 8, 1, 10, 1}, {14, 8, 8, 1, 10, 1}, {14, 8, 8, 1, 10, 1}}, {0, 0, 0}, 4,
     {Slam(1, 1, 6, 1)},
     {kUndeadTraits, S(4, 8), Charge(100), DR(5), DRKind(4)},
     "A shambling corpse raised by a necromancer. It is slow and mindless, but it never tires and never stops."},
};

// Riders of natural attacks: kind, attack slot (0 the first), effect kind and dice.
const AttackRider AttackRiders[kAttackRiders] = {
    {kKindGiantSpider, 0, 12, 1, 3},
    {kKindCentipede, 0, 13, 1, 2},
    {kKindFireElemental, 0, 4, 1, 6},
    {kKindGhoul, 0, 14, 1, 2},       {kKindGhoul, 1, 24, 1, 4},
    {kKindLich, 0, 24, 2, 6},
    {kKindMedusa, 1, 12, 1, 3},
    {kKindVrock, 1, 25, 2, 8},
    {kKindMummy, 0, 20, 1, 3},       {kKindMummy, 3, 18, 1, 3},
    {kKindSalamander, 0, 4, 1, 6},   {kKindSalamander, 1, 4, 1, 6},
    {kKindTroll, 1, 25, 1, 8},
    {kKindVampire, 0, 26, 1, 2},     {kKindVampire, 3, 20, 1, 4},
    {kKindWaterElemental, 0, 25, 1, 6},
};

const HumanClassRow HumanClassRows[kHumanClassRows] = {
    {kClassKnight, "Mercenary", {6, 9}, 171, {11, 9, 10, 8, 7, 6}, 75,
     "A sellsword who fights for whoever pays best, and keeps fighting only as long as the pay lasts."},
    {kClassCleric, "Cleric", {6, 9, 3}, 170, {10, 8, 9, 8, 10, 6}, 15,
     "A priest of a dark faith who heals its allies and curses its foes in the name of its god."},
    {kClassWizard, "Wizard", {3, 2}, 172, {10, 9, 9, 10, 7, 6}, 0,
     "A student of the arcane arts who has turned its learning to the service of ambition."},
    {kClassCommoner, "Commoner", {5, 4}, 0, {11, 9, 10, 8, 7, 6}, 0,
     "An ordinary townsperson going about the day's work, with no wish to be caught up in anyone's fight."},
    {kClassWarrior, "Warrior", {6, 9}, 171, {11, 9, 10, 8, 7, 6}, 75,
     "A soldier trained to stand in the line and follow orders, armed for a fight and expecting one."},
    {kClassNoble, "Aristocrat", {5, 2}, 175, {11, 9, 10, 8, 7, 6}, 0,
     "A person of rank and wealth, used to being obeyed and unused to danger."},
};

// Default level and rating | base level and starting rating with extra levels.
const KindLevels KindLevelTable[kKindLevelRows] = {
    {kKindAirElemental, 1, 1, 0, -1},    {kKindDwarf, 1, 1, 0, -1},    {kKindEarthElemental, 1, 1, 0, -1},
    {kKindElf, 1, 1, 0, -1},             {kKindFireElemental, 1, 1, 0, -1}, {kKindHalfElf, 1, 1, 0, -1},
    {kKindHuman, 1, 1, 0, -1},           {kKindMul, 1, 1, 0, -1},      {kKindOrc, 1, 1, 0, -1},
    {kKindWaterElemental, 1, 1, 0, -1},
    {kKindBabau, 7, 7, 7, 7},
    {kKindBrownBear, 6, 4, 6, 4},        {kKindTiger, 6, 4, 6, 4},
    {kKindBlackDragon, 16, 9, 16, 9},
    {kKindGiantSpider, 4, 2, 4, 2},
    {kKindBalor, 20, 20, 20, 20},
    {kKindBlueDragon, 18, 11, 18, 11},
    {kKindCentipede, 3, 1, 3, 1},
    {kKindSnake, 3, 2, 3, 2},            {kKindHorseman, 3, 2, 3, 2},  {kKindThriKreen, 3, 2, 3, 2},
    {kKindFireGiant, 15, 10, 15, 10},
    {kKindFrostGiant, 14, 9, 14, 9},
    {kKindGhoul, 2, 1, 2, 1},            {kKindGnoll, 2, 1, 2, 1},     {kKindGrimlock, 2, 1, 2, 1},
    {kKindLizardman, 2, 1, 2, 1},        {kKindSkeleton, 2, 1, 2, 1},  {kKindWolf, 2, 1, 2, 1},
    {kKindGorgon, 8, 8, 8, 8},
    {kKindGreenDragon, 17, 11, 17, 11},
    {kKindHillGiant, 12, 7, 12, 7},
    {kKindIronGolem, 18, 13, 18, 13},
    {kKindLich, 11, 13, 11, 13},
    {kKindMedusa, 6, 7, 6, 7},
    {kKindMinotaur, 6, 4, 6, 4},
    {kKindVrock, 10, 9, 10, 9},
    {kKindMummy, 8, 5, 8, 5},
    {kKindRedDragon, 19, 13, 19, 13},
    {kKindSalamander, 9, 6, 9, 6},
    {kKindTroll, 6, 5, 6, 5},
    {kKindVampire, 1, 3, 0, -1},
    {kKindWhiteDragon, 15, 8, 15, 8},
    {kKindZombie, 4, 1, 4, 1},
};

// Age rows: caster level (S1) | Str Dex Con Int Wis Cha | natural armour |
// spell-like ability (S0) | damage reduction | spell resistance | breath die (S6) | breath dice (S7).
// The breath kinds: black a line of acid, blue a line of electricity, green a
// cone of acid, red a cone of fire, white a cone of cold.
const DragonAges DragonAgeTable[kDragonKinds] = {
    {kKindBlackDragon, 16, 15, {
        {1, {17, 8, 15, 10, 11, 10}, 15, 6, 5, 17, 4, 10},
        {3, {21, 8, 17, 10, 11, 10}, 18, 22, 5, 18, 4, 12},
        {5, {25, 8, 19, 12, 13, 12}, 21, 33, 10, 21, 4, 14},
        {7, {27, 8, 19, 12, 13, 12}, 24, 145, 10, 22, 4, 16},
        {9, {29, 8, 21, 14, 15, 14}, 27, 46, 15, 23, 4, 18},
        {11, {31, 8, 21, 14, 15, 14}, 30, 58, 15, 25, 4, 20},
        {13, {33, 8, 23, 16, 17, 16}, 33, 148, 20, 26, 4, 22},
        {15, {35, 8, 25, 18, 19, 18}, 36, 163, 20, 28, 4, 24}}},
    {kKindBlueDragon, 18, 14, {
        {1, {19, 8, 17, 12, 13, 12}, 16, 27, 5, 18, 8, 8},
        {3, {23, 8, 19, 14, 15, 14}, 19, 20, 5, 19, 8, 10},
        {5, {27, 8, 21, 14, 15, 14}, 22, 33, 10, 21, 8, 12},
        {7, {29, 8, 23, 16, 17, 16}, 25, 44, 10, 22, 8, 14},
        {9, {31, 8, 25, 16, 17, 16}, 28, 51, 15, 24, 8, 16},
        {11, {33, 8, 25, 18, 19, 18}, 31, 58, 15, 26, 8, 18},
        {13, {35, 8, 27, 18, 19, 18}, 34, 60, 20, 27, 8, 20},
        {15, {37, 8, 29, 20, 21, 20}, 37, 98, 20, 29, 8, 22}}},
    {kKindGreenDragon, 17, 4, {
        {1, {19, 8, 17, 12, 13, 12}, 15, 16, 5, 17, 6, 8},
        {3, {23, 8, 19, 14, 15, 14}, 18, 22, 5, 18, 6, 10},
        {5, {27, 8, 21, 14, 15, 14}, 21, 40, 10, 21, 6, 12},
        {7, {29, 8, 23, 16, 17, 16}, 24, 44, 10, 22, 6, 14},
        {9, {31, 8, 25, 16, 17, 16}, 27, 55, 15, 23, 6, 16},
        {11, {33, 8, 25, 18, 19, 18}, 30, 58, 15, 25, 6, 18},
        {13, {35, 8, 27, 18, 19, 18}, 33, 60, 20, 26, 6, 20},
        {15, {37, 8, 29, 20, 21, 20}, 36, 98, 20, 28, 6, 22}}},
    {kKindRedDragon, 19, 1, {
        {7, {31, 8, 21, 16, 17, 16}, 24, 32, 10, 21, 10, 10},
        {9, {33, 8, 23, 16, 19, 16}, 27, 46, 10, 23, 10, 12},
        {11, {35, 8, 25, 18, 19, 18}, 30, 50, 15, 25, 10, 14},
        {13, {37, 8, 27, 18, 21, 18}, 33, 44, 15, 27, 10, 16},
        {15, {39, 8, 29, 20, 21, 20}, 36, 58, 20, 29, 10, 18},
        {17, {41, 8, 31, 20, 23, 20}, 39, 60, 20, 30, 10, 20},
        {19, {43, 8, 33, 22, 23, 22}, 42, 98, 20, 32, 10, 22},
        {21, {45, 8, 35, 24, 25, 24}, 45, 99, 20, 34, 10, 24}}},
    {kKindWhiteDragon, 15, 2, {
        {1, {15, 8, 15, 6, 11, 6}, 14, 12, 5, 16, 6, 6},
        {3, {17, 8, 17, 8, 11, 8}, 17, 47, 5, 17, 6, 8},
        {5, {19, 8, 19, 8, 11, 8}, 20, 48, 10, 19, 6, 10},
        {7, {23, 8, 21, 10, 11, 10}, 23, 61, 10, 20, 6, 12},
        {9, {27, 8, 23, 12, 13, 12}, 26, 60, 15, 22, 6, 14},
        {11, {29, 8, 23, 12, 13, 12}, 29, 70, 15, 23, 6, 16},
        {13, {31, 8, 25, 14, 15, 14}, 32, 91, 20, 25, 6, 18},
        {15, {33, 8, 25, 14, 15, 14}, 35, 98, 20, 26, 6, 20}}},
};
// clang-format on

int AbilityGroupOfClass(int creatureClass) {
  if (creatureClass == kClassCleric) return kGroupCleric;
  if (creatureClass == kClassWizard) return kGroupWizard;
  return kGroupFighter;
}

const KindTemplate* FindKindTemplate(int kind) {
  for (const KindTemplate& t : KindTemplates)
    if (t.kind == kind) return &t;
  return nullptr;
}

const KindLevels* FindKindLevels(int kind) {
  for (const KindLevels& row : KindLevelTable)
    if (row.kind == kind) return &row;
  return nullptr;
}

const DragonAges* FindDragonAges(int kind) {
  for (const DragonAges& d : DragonAgeTable)
    if (d.kind == kind) return &d;
  return nullptr;
}

bool IsDragonKind(int kind) { return FindDragonAges(kind) != nullptr; }

bool IsHumanoidListKind(int kind) {
  switch (kind) {
    case kKindAirElemental: case kKindDwarf: case kKindEarthElemental: case kKindElf:
    case kKindFireElemental: case kKindHalfElf: case kKindHuman: case kKindMul:
    case kKindOrc: case kKindWaterElemental:
      return true;
    default:
      return false;
  }
}
