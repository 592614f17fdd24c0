// Equipment and treasure of created creatures.
#pragma once

// The gear step of creating a creature: weapons, armour and magic gear that
// grow with the equipment level (extraLevels), or coins, goods and treasure by
// challenge rating for a creature that carries none. The weapon options are
// those the creature was created with (0 none). Returns 1.
int GiveCreatureEquipment(int creature, int extraLevels, int metamagicChoice, int castingStyle,
                          int defensiveStyle, int mainWeapon, int offWeapon, int rangedWeapon);
