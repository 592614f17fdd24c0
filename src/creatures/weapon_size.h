// Weapon size: a weapon made for a larger or smaller wearer deals the damage
// dice of that size. Moves one crafted row a size category up or down.
#pragma once
#include <cstdint>

constexpr int kWeaponSizes = 8;     // size 0 (none) to 7 Colossal
constexpr int kWeaponDieKinds = 12;

struct WeaponDice {
  int32_t count;
  int32_t sides;
};

// The damage dice of a weapon by size category (row) and die kind (column);
// the die kind of a weapon is the column whose Medium (size 3) entry is its
// Medium damage. Row 0 is all zero.
extern const WeaponDice WeaponDamageBySize[kWeaponSizes][kWeaponDieKinds];

// One size category up (at most 7, Colossal) / down (at least 1, Tiny) for
// the crafted row; a weapon takes the dice of its new size, and a weapon
// whose dice the table cannot follow keeps its size. Returns 1, or 0 for a
// code that names no crafted row.
int EnlargeWeaponSize(int row);
int ReduceWeaponSize(int row);
