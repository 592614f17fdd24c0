// Names and pictures of generated magic weapons, shields and armour, and the
// price, picture and name a wand takes from its spell.
#pragma once

#include <cstdint>

constexpr int kItemSpecialCount = 45;  // special abilities k = 1 to 45
constexpr int kItemOptionCount = 49;   // item options 0 to 48

// The word of each special ability in a magic item's name ("Fire", "Keen",
// "Spell"...), k = 1 to 45; entry 0 is unused. Abilities 1 to 21 are weapon
// abilities, 22 to 45 armour abilities; ability k is property flag k - 1.
extern const char ItemSpecialNameTable[kItemSpecialCount + 1][6];
// The picture offset each special ability gives, k = 1 to 45.
extern const int SpecialAbilityPictureTable[kItemSpecialCount + 1];
// The short name of each item option in a magic item's name ("Sword").
extern const char ItemShortNameTable[kItemOptionCount][7];

// Names a generated magic item after its enhancement, its first special
// ability and its kind ("+2 Fire Sword") and gives it the prepared row's
// picture moved to the ability's (or, with none, by 6). Returns 1.
int BuildMagicItemName(int row);

// The wand picture that shows a spell school (1 to 8): the picture keeps its
// place among the seven of its group and moves to the school's group; one
// outside the wand pictures takes the first place. Another school keeps it.
int32_t WandPictureForSchool(int32_t picture, int32_t school);

// Adds the spell's price to a wand row by its charges, moves its picture to
// the spell school's group and, unless the player named it, names it after
// the spell ("SLEEP Wand"). Returns 1.
int BuildWandName(int row, int spell);
