// Recomputing a creature: the one place where a creature's current values are
// made from its base values, its equipment and its condition list. Every
// routine that changes base values, equipment or conditions calls it after.
#pragma once
#include <cstdint>

#include "map/map_record.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "state/game_screen_words.h"

// What a worn base item gives: in `slot` (9 stands for both fingers, 7 for
// both hands), an item
// of base type `baseType` gives condition `condition` with the item's bonus as
// value and the slot as source. zeroBasePair names the protection pair whose
// base must be 0 for the condition to be given (-1 none); replacesOlder
// removes every older entry of that id first, whatever its source. The cloak
// of the spider, the cloak of faith and the lantern carry further rules that
// the recomputation applies itself.
struct WornItemRule {
  int32_t slot;
  int32_t baseType;
  uint32_t condition;
  int32_t zeroBasePair;
  bool replacesOlder;
};
constexpr int kWornItemRules = 20;
extern const WornItemRule WornItemTable[kWornItemRules];

// Derives the creature's current values in their fixed order. firstTime is 1
// when the record was just created or unpacked (the hit points then measure
// their change from the base hit points). Returns 1 when done, 0 for a free
// record or when a worn item's condition found no free slot.
int RecomputeCreature(int creature, int firstTime);
// A session of many recomputations over an unchanging battle (the scoring of
// a computer fighter's valuation grid, where only the fighter's own square
// moves): in combat, a creature whose record is byte for byte one already
// recomputed in the session (or differs only in its square, where the
// recomputation reads the same: no storm, the same grass) is given the record
// that recomputation made, on its own square, with its result, without
// working it out again. Sessions nest; the outermost end forgets everything.
void BeginRecomputeSession();
void EndRecomputeSession();
// What a recomputation reads at the creature's square: 0 off the grid, 1 a
// plain square, 2 tall grass; -1 when it reads more (the rain on its
// footprint in a storm), so that no other square reads the same.
int32_t RecomputeSquareTraits(int creature);
// The same for a creature standing on (x, y).
inline int32_t RecomputeSquareTraitsAt(int x, int y) {
  if (StormActive != 0 && CurrentMap.rain != 0) return -1;
  if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return 0;
  const int32_t floor = CurrentMap.At(kLayerFloor, x, y);
  return floor == 123 || floor == 124 ? 2 : 1;
}
// 0: sessions remember nothing and every recomputation is worked out (the
// tests compare both ways).
extern uint8_t RecomputeRemembers;

// The special property flag of invulnerability (record order, from 0).
constexpr int kPropInvulnerability = 39;

// A property group of magic armour and shields: the first set flag (record
// order, from 0) of the group gives the condition with that flag's value. A
// creature whose own protection pair ownPair (-1 none) has a base value
// already has what the property gives.
struct PropertyGroup {
  uint32_t condition;
  int firstFlag;
  int flagCount;
  int32_t values[5];
  bool armourOnly;
  int ownPair;
};
inline constexpr PropertyGroup ArmourPropertyGroups[] = {
    {kCondAcidResistance, 21, 3, {10, 20, 30}, false, kProtResistAcid},
    {kCondColdResistance, 24, 3, {10, 20, 30}, false, kProtResistCold},
    {kCondElectricityResistance, 27, 3, {10, 20, 30}, false, kProtResistElectricity},
    {kCondFireResistance, 30, 3, {10, 20, 30}, false, kProtResistFire},
    {kCondSonicResistance, 33, 3, {10, 20, 30}, false, kProtResistSonic},
    {kCondCriticalHitResistance, 36, 3, {25, 75, 100}, false, ImmunityPair(kImmCriticals)},
    {kCondSpellResistant, 40, 5, {11, 13, 15, 17, 19}, true, kProtSpellResistance},
    {kCondReducedDamageMagic, kPropInvulnerability, 1, {5}, true, -1},
};

// Whether the creature may use the crafted item of that row without penalty.
bool IsProficientWithItem(int creature, int craftedRow);
