#include "combat/resolution/area_targets.h"

#include "engine/reset_words.h"
#include "map/combatant_grid.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

int32_t AreaTargetList[kAreaTargetCount] = {};
int32_t (&CreatureMarks)[2100] = CreatureMarkWords;
int32_t AreaMarkTimer = 0;

namespace {

constexpr int kUndeadType = 8;
constexpr int32_t kHealingEffect = 1;          // healing by positive energy
constexpr int32_t kNegativeEnergyEffect = 9;   // damage by negative energy
constexpr int32_t kMarkInArea = 2;
constexpr int32_t kMarkFrames = 100;

bool InFamily(int spell, const int (&ids)[5], int32_t effectCode) {
  if (spell < 0 || spell >= kSpellRows) return false;
  for (int id : ids)
    if (id == spell) return SpellTable[spell].effects[0].code == effectCode;
  return false;
}

bool IsUndead(int creature) { return Creatures[creature].type == kUndeadType; }

// The list starts free.
struct FreeListAtStart {
  FreeListAtStart() {
    for (int32_t& entry : AreaTargetList) entry = -1;
  }
} const kFreeListAtStart;

}  // namespace

bool IsSpellInSetA(int spell) {
  static const int kIds[5] = {107, 119, 133, 144, 162};  // CURE_LIGHT_WOUNDS .. HEAL
  return InFamily(spell, kIds, kHealingEffect);
}
bool IsSpellInSetB(int spell) {
  static const int kIds[5] = {109, 120, 134, 145, 161};  // INFLICT_LIGHT_WOUNDS .. HARM
  return InFamily(spell, kIds, kNegativeEnergyEffect);
}
bool IsSpellInSetC(int spell) {
  static const int kIds[5] = {153, 163, 165, 169, 172};  // MASS_CURE_LIGHT .. MASS_HEAL
  return InFamily(spell, kIds, kHealingEffect);
}
bool IsSpellInSetD(int spell) {
  static const int kIds[5] = {155, 164, 166, 170, 173};  // MASS_INFLICT_LIGHT .. MASS_HARM
  return InFamily(spell, kIds, kNegativeEnergyEffect);
}

bool IsAreaFriend(int creature, int caster) {
  if (!IsValidCreature(creature)) return false;
  const bool enemies = AreEnemies(creature, caster);
  return IsUndead(creature) ? enemies : !enemies;
}

bool IsAreaFoe(int creature, int caster) {
  if (!IsValidCreature(creature)) return false;
  const bool enemies = AreEnemies(creature, caster);
  return IsUndead(creature) ? !enemies : enemies;
}

void ClearAreaTargets() {
  for (int32_t& entry : AreaTargetList) entry = -1;
  for (int32_t& mark : CreatureMarks) mark = 0;
}

bool ListAreaTarget(int creature) {
  if (!IsValidCreature(creature)) return false;
  int slot = -1;
  for (int i = 0; i < kAreaTargetCount; ++i) {
    if (AreaTargetList[i] == creature) return false;
    if (AreaTargetList[i] == -1) {
      slot = i;
      break;
    }
  }
  // A full list keeps its creatures (the caster often stands first).
  if (slot < 0) return false;
  AreaTargetList[slot] = creature;
  CreatureMarks[creature] = kMarkInArea;
  AreaMarkTimer = kMarkFrames;
  return true;
}

bool SuitsAreaTarget(int creature, int caster, int spell) {
  // Ids outside the spell table (breath, Turn Undead) have no side restriction.
  if (spell >= 0 && spell < kSpellRows) {
    const int32_t alliesFlag = SpellTable[spell].beneficial, enemiesFlag = SpellTable[spell].targeting;
    if (alliesFlag != 0 || enemiesFlag != 0) {
      const bool enemies = AreEnemies(creature, caster);
      if (!((alliesFlag == 1 && !enemies) || (enemiesFlag == 1 && enemies))) return false;
    }
  }
  if (IsSpellInSetC(spell) && !IsAreaFriend(creature, caster)) return false;
  if (IsSpellInSetD(spell) && !IsAreaFoe(creature, caster)) return false;
  return true;
}

bool AddAreaTarget(int x, int y, int caster, int spell) {
  // Asked for one square, the occupancy grid is brought up to date first.
  const int creature = InCombat == 1 ? OtherCombatantOn(x, y, -1, -1) : CombatantAtSquare(x, y);
  if (!IsValidCreature(creature) || !SuitsAreaTarget(creature, caster, spell)) return false;
  return ListAreaTarget(creature);
}

void ResetAreaTargetsState() {
  ResetWords(AreaTargetList);
  AreaMarkTimer = 0;
}
