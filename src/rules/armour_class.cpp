#include "rules/armour_class.h"

#include <cstdio>
#include <initializer_list>

#include "state/combat_action.h"
#include "state/turn_order.h"
#include "rules/adjacency.h"
#include "map/line_of_effect.h"
#include "map/map_record.h"
#include "map/square_grids.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"

namespace {

// The running sum and the pairs written so far.
struct Breakdown {
  ModifierList* list;
  int* count;
  int32_t sum;

  void Add(int32_t source, int32_t value, bool counts = true) {
    if (counts) sum += value;
    if (!list || !count || *count < 0 || *count >= kModifierPairs) return;
    list->pairs[*count] = {source, value};
    ++*count;
  }
};

// Size 1 Tiny to 7 Colossal.
int32_t SizeModifier(int32_t size) {
  static const int32_t kBySize[8] = {0, 2, 1, 0, -1, -2, -4, -8};
  return size >= 1 && size <= 7 ? kBySize[size] : 0;
}

bool SensesWithoutSight(int creature) {
  const int32_t sense = Creatures[creature].special[kSenseKindWord];
  return SenseWorksWithoutSight(sense);
}

// The attacker's invisibility or silence takes the defender's Dexterity away.
bool AttackerUnseen(int defender, int attacker, uint8_t form) {
  const CreatureRecord& d = Creatures[defender];
  const bool rangedOrBlindfighting = form == kAttackRanged || d.feats[kFeatBlindFight] == 0;
  if (HasCondition(attacker, kCondGreaterInvisibility) && !SensesWithoutSight(defender) &&
      !HasCondition(defender, kCondBlinded) && !HasCondition(defender, kCondCantSee) && !HasCondition(defender, kCondTrueSeeing) &&
      rangedOrBlindfighting)
    return true;
  return HasCondition(attacker, kCondSilenced) && d.special[kSenseKindWord] == 5 && !HasCondition(defender, kCondDeafened) &&
         !HasCondition(defender, kCondSilenced) && rangedOrBlindfighting;
}

bool LosesDexterity(int defender, int attacker, uint8_t form) {
  if (attacker != -1 && AttackerUnseen(defender, attacker, form)) return true;
  for (uint32_t id : {kCondBlinded, kCondCantSee, kCondFlatFooted, kCondGrappling, kCondPinned, kCondStunned, kCondCowering})
    if (HasCondition(defender, id)) return true;
  return Creatures[defender].special[kSenseKindWord] == 5 &&
         (HasCondition(defender, kCondDeafened) || HasCondition(defender, kCondSilenced));
}

bool AlignmentIn(int32_t alignment, int32_t a, int32_t b, int32_t c) {
  return alignment == a || alignment == b || alignment == c;
}

bool WallBetween(int x, int y) {
  if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) return false;
  const int32_t code = CurrentMap.At(kLayerWalls, x, y);
  if ((code >= 46 && code <= 55) || code == 5000) return true;
  return InCombat == 1 && MagicAreaGrid[SquareIndex(x, y)].kind == kEffectSolid;
}

// The armour worn (or bracers of armour, or Mage Armor) and the shield held.
void AddArmourAndShield(Breakdown& b, int defender) {
  CreatureRecord& d = Creatures[defender];
  const uint32_t torso = d.equipment[kSlotTorso - 1];
  const uint32_t arms = d.equipment[kSlotArms - 1];
  if (IsCraftedCode(torso)) {
    const CraftedWeaponRecord& armour = CraftedWeapons[torso];
    if (armour.dieSides > 0) b.Add(kSrcArmorWorn, armour.dieSides);
    if (armour.enhancement > 0) b.Add(kSrcMagicArmor, armour.enhancement);
  } else if (arms > kFirstBaseItemCode && arms - kFirstBaseItemCode < static_cast<uint32_t>(kItemRows) &&
             ItemTable[arms - kFirstBaseItemCode].baseType == 23 &&
             ItemTable[arms - kFirstBaseItemCode].bonus > 0) {
    b.Add(kSrcBracersOfArmorWorn, ItemTable[arms - kFirstBaseItemCode].bonus);
  } else if (HasCondition(defender, kCondMageArmor)) {
    b.Add(kCondMageArmor, ConditionValue(defender, kCondMageArmor));
  }
  const uint32_t left = d.equipment[kSlotLeftHand - 1];
  if (IsCraftedCode(left) && CraftedWeapons[left].handling == 5 && !HasCondition(defender, kCondDancing)) {
    const CraftedWeaponRecord& shield = CraftedWeapons[left];
    if (shield.dieSides > 0) b.Add(kSrcShieldHeld, shield.dieSides);
    if (shield.enhancement > 0) b.Add(kSrcMagicShield, shield.enhancement);
  }
}

// Dexterity, unless the defender loses it, with the dodge bonuses that come with it.
void AddDexterityAndDodge(Breakdown& b, int defender, int attacker, uint8_t form) {
  CreatureRecord& d = Creatures[defender];
  const int dexterity = AbilityModifier(d.dexterity.current);
  StatPair& dodge = d.protections[kProtRacialDodge];
  if (LosesDexterity(defender, attacker, form)) {
    if (dexterity > 0) b.Add(kSrcNegatedDexterityBonus, 0);
    else if (dexterity < 0) b.Add(kSrcDexterityModifier, dexterity);
  } else {
    const int restricted = FindCondition(defender, kCondRestrictedDex);
    if (restricted != -1 && dexterity > d.conditions[restricted].value)
      b.Add(kCondRestrictedDex, d.conditions[restricted].value);
    else if (dexterity != 0)
      b.Add(kSrcDexterityModifier, dexterity);

    dodge.current = dodge.base;
    if (dodge.base != 0) b.Add(kSrcRacialDodgeBonus, dodge.base);
    if (d.feats[kFeatDodge] != 0) {
      b.Add(kSrcDodgeFeat, 1);
      dodge.current += 1;
    }
    if (HasCondition(defender, kCondHasted)) {
      b.Add(kCondHasted, 1);
      dodge.current += 1;
    } else if (HasCondition(defender, kCondSlowed)) {
      b.Add(kCondSlowed, -1);
      dodge.current -= 1;
    }
    if (HasCondition(defender, kCondInsightful)) {
      const int32_t insight = ConditionValue(defender, kCondInsightful);
      b.Add(kCondInsightful, insight);
      dodge.current += insight;
    }
    if (InCombat == 1 && CombatAction.movementProvokes != 0 && CurrentFighter() == defender &&
        d.feats[kFeatMobility] != 0)
      b.Add(kSrcMobility, 4);
  }
}

// The size modifier, and deflection (racial, or a deflecting condition).
void AddSizeAndDeflection(Breakdown& b, int defender) {
  CreatureRecord& d = Creatures[defender];
  const int32_t size = SizeModifier(d.size.current);
  if (size != 0) b.Add(kSrcSizeModifier, size);

  StatPair& deflection = d.protections[kProtDeflection];
  if (deflection.base != 0) {
    b.Add(kSrcRacialDeflectionBonus, deflection.base);
    deflection.current = deflection.base;
  } else if (HasCondition(defender, kCondDeflecting)) {
    deflection.current = ConditionValue(defender, kCondDeflecting);
    b.Add(kCondDeflecting, deflection.current);
  }
}

// Natural armour: racial with Improved Natural Armor, or what a condition gives.
void AddNaturalArmour(Breakdown& b, int defender) {
  CreatureRecord& d = Creatures[defender];
  StatPair& natural = d.protections[kProtNaturalArmour];
  if (natural.base != 0) {
    b.Add(kSrcRacialNaturalArmor, natural.base);
    const int32_t improved = d.feats[kFeatImprovedNaturalArmor];
    if (improved > 0) b.Add(kSrcImprovedNaturalArmor, improved);
    natural.current = natural.base + (improved > 0 ? improved : 0);
  } else if (natural.current > 0) {
    b.Add(kCondNaturalArmor, natural.current);
  }
}

// The protections that count against the attacker's alignment.
void AddAlignmentBonuses(Breakdown& b, int defender, int attacker) {
  CreatureRecord& d = Creatures[defender];
  const int32_t alignment = Creatures[attacker].alignment;
  const int32_t lawful = d.protections[kProtLawful].current, chaotic = d.protections[kProtChaotic].current;
  const int32_t sacred = d.protections[kProtSacred].current, profane = d.protections[kProtProfane].current;
  if (lawful != 0 && AlignmentIn(alignment, 7, 8, 9)) b.Add(kSrcLawfulAcBonus, lawful);
  if (chaotic != 0 && AlignmentIn(alignment, 1, 2, 3)) b.Add(kSrcChaoticAcBonus, chaotic);
  if (sacred != 0 && AlignmentIn(alignment, 3, 6, 9)) b.Add(kSrcSacredAcBonus, sacred);
  if (profane != 0 && AlignmentIn(alignment, 1, 4, 7)) b.Add(kSrcProfaneAcBonus, profane);
}

// Senses and hindering conditions: deafness, silence, stunning, cowering, blindness, a charge, dancing.
void AddSensesAndHindrances(Breakdown& b, int defender) {
  CreatureRecord& d = Creatures[defender];
  const bool hearing = d.special[kSenseKindWord] == 5;
  if (!hearing) {
    if (HasCondition(defender, kCondDeafened)) b.Add(kCondDeafened, -1);
    else if (HasCondition(defender, kCondSilenced) && d.protections[kProtEars].current != kImmunityImmune)
      b.Add(kCondSilenced, -1);
  }
  if (HasCondition(defender, kCondStunned)) b.Add(kCondStunned, -2);
  if (HasCondition(defender, kCondCowering)) b.Add(kCondCowering, -2);
  if (HasCondition(defender, kCondBlinded)) b.Add(kCondBlinded, -2);
  else if (HasCondition(defender, kCondCantSee)) b.Add(kCondCantSee, -2);
  if (hearing) {
    if (HasCondition(defender, kCondDeafened)) b.Add(kCondDeafened, -2);
    else if (HasCondition(defender, kCondSilenced)) b.Add(kCondSilenced, -2);
  }
  if (InCombat == 1 && HasCondition(defender, kCondLoweredAcCharge)) b.Add(kCondLoweredAcCharge, -2);
  if (HasCondition(defender, kCondDancing)) b.Add(kCondDancing, -4);
}

// In combat: cover against a ranged attack, or a helpless defender and a corner between them in melee.
void AddCoverAndHelplessness(Breakdown& b, int defender, int attacker, uint8_t form) {
  if (form == kAttackRanged) {
    // Cover lies between the attacker and the defender: without an
    // attacker there is none to count.
    if (CoverActive == 1 && attacker != -1 && Creatures[attacker].feats[kFeatImprovedPreciseShot] == 0)
      b.Add(kSrcTargetHasCover, 4);
  } else if (form == kAttackMelee) {
    for (uint32_t id : {kCondPinned, kCondParalyzed, kCondSleeping})
      if (HasCondition(defender, id)) {
        b.Add(id, -4);
        break;
      }
    if (attacker != -1 && IsDiagonalAcrossCorner(attacker, defender)) b.Add(kSrcTargetHasCover, 4);
  }
}

}  // namespace

int32_t ComputeArmourClass(int defender, ModifierList* list, int* count, uint8_t touch, int attacker,
                           uint8_t form, uint8_t energy) {
  if (!IsValidCreature(defender)) return 10;
  if (!IsValidCreature(attacker)) attacker = -1;
  const CreatureRecord& d = Creatures[defender];
  Breakdown b = {list, count, 0};

  // The caption names the kind of armour class and its help page.
  if (list) {
    const char* format = energy ? "Energy AC (%s)" : touch ? "Touch AC (%s)" : "Armor Class (%s)";
    std::snprintf(list->caption, sizeof list->caption, format, d.name);
    list->helpTopic = energy ? 43020 : touch ? 41020 : 41005;
  }
  b.Add(kSrcArmorClassBase, 10);
  if (!touch && !energy) AddArmourAndShield(b, defender);
  AddDexterityAndDodge(b, defender, attacker, form);
  AddSizeAndDeflection(b, defender);
  if (!touch) AddNaturalArmour(b, defender);
  if (InCombat == 1 && attacker != -1) AddAlignmentBonuses(b, defender, attacker);
  if (!touch && !energy && HasCondition(defender, kCondTwoWeaponDefence))
    b.Add(kCondTwoWeaponDefence, ConditionValue(defender, kCondTwoWeaponDefence));
  AddSensesAndHindrances(b, defender);
  if (InCombat == 1) AddCoverAndHelplessness(b, defender, attacker, form);
  return b.sum;
}

bool IsDiagonalAcrossCorner(int attacker, int defender) {
  if (!IsValidCreature(attacker) || !IsValidCreature(defender)) return false;
  MarkAdjacentSquares(attacker);
  const CreatureRecord& d = Creatures[defender];
  int32_t corner = 0;
  bool onRing = false;
  for (int x = d.squareX; x < d.squareX + d.footprintWidth.current; ++x)
    for (int y = d.squareY; y < d.squareY + d.footprintHeight.current; ++y) {
      if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) continue;
      const int32_t code = AdjacencyGrid[SquareIndex(x, y)];
      if (code == 0) continue;
      if (code >= kRingLeft) return false;
      onRing = true;
      corner = code;
    }
  if (!onRing) return false;
  const CreatureRecord& a = Creatures[attacker];
  const int left = a.squareX, top = a.squareY;
  const int right = a.squareX + a.footprintWidth.current - 1, bottom = a.squareY + a.footprintHeight.current - 1;
  switch (corner) {
    case kRingUpperLeft: return WallBetween(left - 1, top) || WallBetween(left, top - 1);
    case kRingUpperRight: return WallBetween(right + 1, top) || WallBetween(right, top - 1);
    case kRingLowerLeft: return WallBetween(left - 1, bottom) || WallBetween(left, bottom + 1);
    case kRingLowerRight: return WallBetween(right + 1, bottom) || WallBetween(right, bottom + 1);
    default: return false;
  }
}
