// Equipment of created creatures: weapons, armour and magic gear that grow
// with the equipment level, or, for a creature that carries none, coins,
// goods and magic items by its challenge rating.
#pragma once

// The gear step of creating a creature (kind, class, size and challenge
// rating are read from its record): extraLevels is the equipment level given
// to the creature, the styles and metamagic choice those of its creation, and
// the three weapon options those it fights with (0 none). Returns 1.
int GiveCreatureEquipment(int creature, int extraLevels, int metamagicChoice, int castingStyle,
                          int defensiveStyle, int mainWeapon, int offWeapon, int rangedWeapon);

// The equipment level of a creature: the extra levels, 11 more for a lich,
// 2 less for a warrior; a commoner's is -2.
int EquipmentLevel(int kind, int creatureClass, int extraLevels);
