#include "creatures/control_tendencies.h"

#include "creatures/creature_feats.h"
#include "rules/creature_record.h"
#include "rules/recompute_creature.h"

namespace {

constexpr int kLarge = 4;
constexpr int kMedium = 3;

// The grapple percentage a creature of that size and Strength takes; -1 none.
int GrappleValue(bool improvedGrapple, int size, int strength) {
  if (improvedGrapple) {
    if (size < kLarge) return strength < 12 ? 15 : 30;
    return strength < 12 ? 30 : 40;
  }
  if (size < kMedium) return -1;
  if (size == kMedium) return strength >= 16 ? 10 : strength >= 12 ? 5 : -1;
  return strength >= 16 ? 20 : strength >= 12 ? 15 : -1;
}

bool HoldsRangedWeaponWithAmmunition(const CreatureRecord& c) {
  return static_cast<int32_t>(c.equipment[kSlotRanged - 1]) > 0 && static_cast<int32_t>(c.ammunition.code) > 0 &&
         c.ammunition.count > 0;
}

bool HasMetamagicForTactics(const CreatureRecord& c) {
  return c.feats[kFeatMetamagicMaximise] != 0 || c.feats[kFeatMetamagicEmpower] != 0 ||
         c.feats[kFeatMetamagicWiden] != 0 || c.feats[kFeatMetamagicHeighten] != 0;
}

// A party caster's tendencies; the Cleric cures its friends, the Wizard casts
// more often and reaches for metamagic more.
void SetPartyCasterTendencies(CreatureRecord& c, bool cleric) {
  int32_t* b = c.behaviour;
  b[kBehaviourDefensiveStyle] = 2;
  b[kBehaviourCastingStyle] = 2;
  if (cleric) b[kBehaviourCleric] = 50;
  b[kBehaviourSpellAttack] = cleric ? 65 : 100;
  if (HasMetamagicForTactics(c)) b[kBehaviourMetamagic] = cleric ? 20 : 25;
  if (c.feats[kFeatImprovedCounterspell] != 0) b[kBehaviourCounterspell] = 20;
  b[kBehaviourCasting] = cleric ? 50 : 90;
  b[kBehaviourRangedUse] = 15;
  int concentration = AbilityModifier(c.constitution.base) + c.casterLevelAdjust;
  if (c.feats[kFeatSuperiorConcentration] != 0) concentration += 4;
  if (concentration > 7) b[kBehaviourDefensiveCasting] = 1;
}

}  // namespace

int SetGrappleTendency(int creature) {
  if (!IsValidCreature(creature)) return 1;
  RecomputeCreature(creature, 0);
  CreatureRecord& c = Creatures[creature];
  int32_t* b = c.behaviour;
  if (b[kBehaviourCasting] != 0) return 1;
  const int value = GrappleValue(c.feats[kFeatImprovedGrapple] != 0, c.size.current, c.strength.current);
  if (value >= 0 && b[kBehaviourGrapple] < 6 && b[kBehaviourGrapple2] < 6) {
    b[kBehaviourGrapple] = value;
    b[kBehaviourGrapple2] = value;
  }
  return 1;
}

int SetRangedTendency(int creature) {
  if (!IsValidCreature(creature)) return 1;
  CreatureRecord& c = Creatures[creature];
  if (c.behaviour[kBehaviourRangedUse] == 0 && HoldsRangedWeaponWithAmmunition(c))
    c.behaviour[kBehaviourRangedUse] = 10;
  return 1;
}

int SetPartyAiTendencies() {
  for (int member = 0; member < kPartySize; ++member) {
    CreatureRecord& c = Creatures[member];
    int32_t* b = c.behaviour;
    switch (c.creatureClass) {
      case 1:
        b[kBehaviourCharge] = 50;
        SetGrappleTendency(member);
        if (c.feats[kFeatWhirlwindAttack] != 0) b[kBehaviourWhirlwind] = 40;
        if (HoldsRangedWeaponWithAmmunition(c)) b[kBehaviourRangedUse] = 15;
        break;
      case 3: SetPartyCasterTendencies(c, true); break;
      case 4: SetPartyCasterTendencies(c, false); break;
      default: break;
    }
    if (c.feats[kFeatImprovedBullRush] != 0) b[kBehaviourBullRush] = 65;
    else if (c.strength.base >= 16) b[kBehaviourBullRush] = 35;
    else if (c.strength.base >= 12) b[kBehaviourBullRush] = 25;
  }
  return 1;
}
