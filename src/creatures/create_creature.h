// Creating a creature: a monster or non-player character placed on a map by
// an adventure script or the random encounters, filled from its kind.
#pragma once
#include <cstdint>

#include "creatures/creature_treasure.h"

// Weapon options 1 to 48 name the prepared crafted rows 4952 to 4999 (row =
// 4951 + option): 1 to 35 the weapons in the order of the weapon-focus feats,
// 36 and 37 shields, 38 to 48 armour; 0 is none.
constexpr int PreparedItemRow(int option) { return kFirstPreparedItemRow - 1 + option; }
constexpr int kLastWeaponOption = 35;
constexpr int kLastItemOption = 48;
enum WeaponOption : int {
  kWeaponDagger = 1,
  kWeaponShortspear = 7,
  kWeaponSpear = 9,
  kWeaponLightCrossbow = 11,
  kWeaponBattleAxe = 17,
  kWeaponLongsword = 19,
  kWeaponRapier = 21,
  kWeaponGreataxe = 26,
  kWeaponShortbow = 33,
};

// Fills the creature record from scratch: clears it, places it on the map at
// square (x, y), writes its kind's template, settles level and challenge
// rating, hit points, base attack bonus and saves by class, raises its
// abilities, gives feats, known spells, equipment and treasure, recomputes
// it and sets its computer-control tendencies.
//
// classCode 0 takes the kind's own class. extraLevels 0 gives the kind's
// default level; otherwise those levels are given (and are its equipment
// level). abilityBoost (a byte) 1 gives three ability increases; sideFlag (a
// byte) 1 makes the side mark 1, anything else 2. metamagicChoice 0 to 8
// gives a caster metamagic feats; castingStyle 1 fighting caster, 2 (or 0)
// pure caster; defensiveStyle 1 casts defensively, 0 becomes 2. The three
// weapon options are the right hand, left hand and ranged weapon (0 none).
//
// Returns 1; 0 only for a creature id outside the table.
int CreateCreature(int map, int x, int y, int creature, int kind, int classCode, int extraLevels,
                   int abilityBoost, int sideFlag, int metamagicChoice, int castingStyle, int defensiveStyle,
                   int mainWeapon, int offWeapon, int rangedWeapon);

// The creature may carry no gear at all (no weapons, armour or magic gear;
// it gets treasure by challenge rating instead).
bool IsKindWithoutEquipment(int kind);
