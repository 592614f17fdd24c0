#include "rules/attack_profile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <strings.h>

#include "state/combat_action.h"
#include "state/turn_order.h"
#include "rules/adjacency.h"
#include "engine/text.h"
#include "map/square_grids.h"
#include "rules/breakdown_sources.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"

const char NaturalAttackNames[11][16] = {
    "N.A.",        "Bite attack", "Claw attack",  "Unarmed attack", "Gore attack", "Ranged Touch",
    "Slam attack", "Sting attack", "Tail slap",   "Touch attack",   "Wing attack",
};
const char NaturalAttackShortNames[11][16] = {
    "N.A.", "Bite", "Claw", "Fist", "Gore", "Ranged Touch", "Slam", "Sting", "Tail slap", "Touch", "Wing",
};
const char WeaponSizeNames[8][8] = {"N.A.", "Tiny", "Small", "Medium", "Large", "Huge", "Gargan.", "Coloss."};
const char WeaponMaterialNames[9][11] = {"N.A.",      "Cloth", "Leather", "Wood",      "Silver",
                                         "Cold Iron", "Steel", "Mithral", "Adamantine"};

namespace {

int StrengthModifier(int creature) { return AbilityModifier(Creatures[creature].strength.current); }

// Half a non-negative modifier, else 0.
int HalfIfPositive(int modifier) { return modifier >= 0 ? modifier / 2 : 0; }

bool IsWeaponType(int32_t type) { return type >= 1 && type <= 35; }
bool IsShieldType(int32_t type) { return type == 36 || type == 37; }
bool IsHandAttack(int32_t kind) { return kind == 2 || kind == 3 || kind == 6 || kind == 9; }

// The crafted item type in a slot, 0 when the slot holds no crafted item.
int32_t CraftedTypeIn(int creature, int slot) {
  const uint32_t code = Creatures[creature].equipment[slot - 1];
  return IsCraftedCode(code) ? CraftedWeapons[code].itemType : 0;
}

bool HoldsShield(int creature) { return IsShieldType(CraftedTypeIn(creature, kSlotLeftHand)); }

bool HasFeat(int creature, int feat) { return feat >= 0 && feat < kFeatFlags && Creatures[creature].feats[feat] != 0; }

}  // namespace

int NaturalFeatOffset(int32_t kind) {
  static const int kOffsets[11] = {-1, 1, 2, 0, 3, 9, 4, 6, 5, 8, 7};
  return kind >= 1 && kind <= 10 ? kOffsets[kind] : -1;
}

uint8_t ProfileCaptionsWritten = 1;

namespace {

// The side rule of threats: the party side against side 2 and back; any
// other side is everybody's enemy.
bool IsEnemyOf(int creature, int other) {
  if (other == creature) return false;
  const int32_t mine = Creatures[creature].allegiance, theirs = Creatures[other].allegiance;
  if (IsPartyAllegiance(mine)) return theirs == kAllegianceEnemy;
  if (mine == kAllegianceEnemy) return IsPartyAllegiance(theirs);
  return true;
}

int TurnOrderIndexOf(int creature) {
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i)
    if (TurnOrder[i].creature == creature) return i;
  return -1;
}

void SetCaptions(AttackProfileEntry& e, uint8_t grapple) {
  e.attackRoll.helpTopic = grapple ? 42017 : 41003;
  e.attackCount.helpTopic = 21013;
  e.damageBonus.helpTopic = 41004;
  if (ProfileCaptionsWritten == 0) return;
  char name[sizeof e.name];
  CapitaliseWords(name, e.name, 1);
  std::snprintf(e.attackRoll.caption, sizeof e.attackRoll.caption, grapple ? "Grapple Roll (%s)" : "Attack Roll (%s)",
                name);
  std::snprintf(e.attackCount.caption, sizeof e.attackCount.caption, "Number of Attacks (%s)", name);
  std::snprintf(e.damageBonus.caption, sizeof e.damageBonus.caption, "Damage Bonus (%s)", name);
}

void AddLuck(int creature, ModifierList* list) {
  if (HasCondition(creature, kCondLucky)) AddModifier(ConditionValue(creature, kCondLucky), list, kCondLucky);
  if (HasCondition(creature, kCondUnlucky)) AddModifier(-ConditionValue(creature, kCondUnlucky), list, kCondUnlucky);
}

void PlaceExtraDamage(AttackProfileEntry& e, int32_t count, int32_t sides, int32_t kind) {
  for (AttackExtraDamage& extra : e.extra)
    if (extra.count == 0) {
      extra = {count, sides, kind};
      return;
    }
  e.moreExtras = 1;
}

// Formats into the entry's name, cut to 15 characters.
void SetName(AttackProfileEntry& e, const char* format, const char* a, const char* b = "") {
  char text[512];
  std::snprintf(text, sizeof text, format, a, b);
  std::memcpy(e.name, text, sizeof e.name - 1);
  e.name[sizeof e.name - 1] = 0;
}

// The weapon's name as the profile shows it, at most 15 characters.
void NameWeapon(AttackProfileEntry& e, const CraftedWeaponRecord& w) {
  char weapon[sizeof w.name];
  std::memcpy(weapon, w.name, sizeof weapon);
  weapon[sizeof weapon - 1] = 0;
  const char* keyword = w.spell >= 0 && w.spell < kSpellRows ? SpellKeywordFull(w.spell) : "";
  if (std::strlen(weapon) > 9)
    SetName(e, "%s", weapon);
  else if (w.size != 3 && w.size >= 0 && w.size < 6)
    SetName(e, "%s %s", WeaponSizeNames[w.size], weapon);
  else if (w.material == 3 || w.material == 6)
    SetName(e, "%s %s", WeaponMaterialNames[w.material], weapon);
  else if (strcasecmp(weapon, "Wand") == 0 && w.itemType == 8 && w.charges > 0 && keyword[0] != 0 &&
           std::strlen(keyword) <= 10)
    SetName(e, "%s Wand", keyword);
  else
    SetName(e, "%s", weapon);
}

// Attacks already made with this entry in the current action (step 1 main
// hand, 2 off hand, 8 ranged at the given index).
int AttacksMadeWith(int creature, int step, int index) {
  if (InCombat != 1) return 0;
  if (CombatAction.reactingCreature != -1) {
    if (step == 8) return 0;
    const int entry = TurnOrderIndexOf(creature);
    if (entry == -1) return 0;
    const TurnOrderEntry& t = TurnOrder[entry];
    if (t.plannedAction == 21 && t.plannedTarget > 0 && t.plannedParameter == (step == 1 ? 0 : 1))
      return t.plannedTarget;
    return 0;
  }
  // The counters are those of the acting fighter's own action.
  if (CurrentFighter() != creature) return 0;
  const int wanted = step == 1 ? 0 : step == 2 ? 1 : index;
  if (CombatAction.currentProfileEntry != wanted) return 0;
  const int made = CombatAction.attackCounter - (g_Cleaving != -1 ? 1 : 0);
  return made > 0 ? made : 0;
}

struct BuildState {
  int creature;
  int32_t alternateForm;
  int target;
  uint8_t grapple;
  int32_t grappleFlag;
  int busyHands;
};

// What a weapon entry is built from: the entry, the build's state, the step
// (1 main hand, 2 off hand, else ranged), the wielder and the weapon.
struct WeaponBuild {
  AttackProfileEntry& e;
  BuildState& s;
  int step;
  int creature;
  const CraftedWeaponRecord& w;
  int32_t type;
  int strength;
  bool finesse;
};

// The attack roll, the number of attacks (the off hand's by the two-weapon
// feats, else by base attack; one more with speed or haste), the falling
// bonus of later attacks, and Slowed leaving one attack.
void AddWeaponAttacks(WeaponBuild& b, int index, bool useStrength, bool ranged) {
  AttackProfileEntry& e = b.e;
  const int creature = b.creature;
  AddAttackModifiers(0, creature, &e.attackRoll, useStrength, b.s.target, ranged, 0);
  if (b.step == 2) {
    if (HasFeat(creature, kFeatGreaterTwoWeaponFighting))
      AddModifier(3, &e.attackCount, kSrcGreaterTwoWeaponFighting);
    else if (HasFeat(creature, kFeatImprovedTwoWeaponFighting))
      AddModifier(2, &e.attackCount, kSrcImprovedTwoWeaponFighting);
    else
      AddModifier(1, &e.attackCount, kSrcOffhandWeapon);
  } else {
    AddModifier(AttacksFromBaseAttack(creature), &e.attackCount, kSrcBaseAttackBonus);
  }
  const bool speedWeapon = b.w.properties[5 - 1] != 0;
  const bool hasted = HasCondition(creature, kCondHasted);
  if (speedWeapon) AddModifier(1, &e.attackCount, kSrcWeaponWithSpeed);
  else if (hasted) AddModifier(1, &e.attackCount, kCondHasted);

  const int made = AttacksMadeWith(creature, b.step, index);
  int penalty = 0;
  if (speedWeapon || hasted) penalty = made > 1 ? -5 * (made - 1) : 0;
  else penalty = -5 * made;
  if (penalty != 0) AddModifier(penalty, &e.attackRoll, kSrcDecreasingAttackBonus);

  if (HasCondition(creature, kCondSlowed) && e.attackCount.total > 1)
    AddModifier(1 - e.attackCount.total, &e.attackCount, kCondSlowed);
}

// Masterwork or magic, and weapon focus.
void AddMasterworkAndFocus(WeaponBuild& b) {
  AttackProfileEntry& e = b.e;
  const CraftedWeaponRecord& w = b.w;
  if (w.masterwork == 1) {
    if (w.enhancement < 1) {
      AddModifier(1, &e.attackRoll, kSrcMasterworkWeapon);
    } else {
      AddModifier(w.enhancement, &e.attackRoll, kSrcMagicWeapon);
      AddModifier(w.enhancement, &e.damageBonus, kSrcMagicWeapon);
    }
  }
  if (IsWeaponType(b.type)) {
    if (HasFeat(b.creature, kFeatGreaterWeaponFocusDagger + b.type - 1))
      AddModifier(2, &e.attackRoll, kSrcGreaterWeaponFocus);
    else if (HasFeat(b.creature, kFeatWeaponFocusDagger + b.type - 1))
      AddModifier(1, &e.attackRoll, kSrcWeaponFocus);
  }
}

// The main hand: its penalties, and Strength to damage by what the other
// hand holds (nothing, a second weapon or a shield); the hands it keeps busy.
void AddMainHandModifiers(WeaponBuild& b) {
  AttackProfileEntry& e = b.e;
  BuildState& s = b.s;
  const int creature = b.creature, strength = b.strength;
  const CraftedWeaponRecord& w = b.w;
  if (HasCondition(creature, kCondNonprofRight)) AddModifier(-4, &e.attackRoll, kCondNonprofRight);
  if (HasCondition(creature, kCondTwoWeaponRight))
    AddModifier(-ConditionValue(creature, kCondTwoWeaponRight), &e.attackRoll, kCondTwoWeaponRight);
  const uint32_t left = Creatures[creature].equipment[kSlotLeftHand - 1];
  const int32_t leftType = CraftedTypeIn(creature, kSlotLeftHand);
  if (left == 0) {
    if (w.handling == 1 || b.type == 21) {
      AddModifier(strength, &e.damageBonus, kSrcStrengthModifier);
      if (w.handling == 1) AddModifier(0, &e.damageBonus, kSrcLightWeapon);
      s.busyHands = 1;
    } else if (w.handling != 3 && HasSpareHandAttack(creature, s.alternateForm)) {
      AddModifier(strength, &e.damageBonus, kSrcStrengthModifier);
      AddModifier(0, &e.damageBonus, kSrcWeaponAndNaturalAttackMixing);
      s.busyHands = 1;
    } else {
      AddModifier(strength, &e.damageBonus, kSrcStrengthModifier);
      AddModifier(HalfIfPositive(strength), &e.damageBonus, kSrcWeaponHeldWithBothHands);
      s.busyHands = 2;
    }
  } else if (IsWeaponType(leftType)) {
    AddModifier(strength, &e.damageBonus, kSrcStrengthModifier);
    AddModifier(0, &e.damageBonus, kSrcTwoWeaponsHeld);
    s.busyHands = 2;
  } else if (IsShieldType(leftType)) {
    AddModifier(strength, &e.damageBonus, kSrcStrengthModifier);
    AddModifier(0, &e.damageBonus, kSrcShieldHeld);
    s.busyHands = 2;
    if (b.finesse) AddModifier(-CraftedWeapons[left].critLow, &e.attackRoll, kSrcShieldHeld);
  }
}

// The off hand: its penalties and half Strength to damage.
void AddOffHandModifiers(WeaponBuild& b) {
  AttackProfileEntry& e = b.e;
  const int creature = b.creature, strength = b.strength;
  if (HasCondition(creature, kCondNonprofLeft)) AddModifier(-4, &e.attackRoll, kCondNonprofLeft);
  if (HasCondition(creature, kCondTwoWeaponLeft))
    AddModifier(-ConditionValue(creature, kCondTwoWeaponLeft), &e.attackRoll, kCondTwoWeaponLeft);
  if (strength >= 0) AddModifier(strength / 2, &e.damageBonus, kSrcOffhandWeapon);
  else AddModifier(strength, &e.damageBonus, kSrcStrengthModifier);
}

// A ranged weapon: crossbows to reload, its penalty, and Strength through a
// composite bow (or a weakling's penalty).
void AddRangedModifiers(WeaponBuild& b) {
  AttackProfileEntry& e = b.e;
  const int creature = b.creature, strength = b.strength;
  const int32_t type = b.type;
  if (e.attackCount.total > 1 && (type == 10 || (type == 11 && !HasFeat(creature, kFeatRapidReloadLight))))
    AddModifier(1 - e.attackCount.total, &e.attackCount, kSrcCrossbowNeedsReloading);
  if (HasCondition(creature, kCondRangeNonprof)) AddModifier(-4, &e.attackRoll, kCondRangeNonprof);
  if (type == 32 || type == 33) {
    if (b.w.composite != 0) AddModifier(strength, &e.damageBonus, kSrcCompositeBow);
    else if (strength < 0) AddModifier(strength, &e.damageBonus, kSrcStrengthModifier);
  }
}

// The weapon's dice, specialisation, sickness and luck.
void AddWeaponDamage(WeaponBuild& b) {
  AttackProfileEntry& e = b.e;
  const int creature = b.creature;
  e.damageSides = b.w.dieSides;
  e.damageCount = b.w.dieCount;
  if (IsWeaponType(b.type)) {
    if (HasFeat(creature, kFeatGreaterSpecialisationDagger + b.type - 1))
      AddModifier(4, &e.damageBonus, kSrcGreaterWeaponSpecialisation);
    else if (HasFeat(creature, kFeatWeaponSpecialisationDagger + b.type - 1))
      AddModifier(2, &e.damageBonus, kSrcWeaponSpecialisation);
  }
  if (HasCondition(creature, kCondSickened)) AddModifier(-2, &e.damageBonus, kCondSickened);
  AddLuck(creature, &e.damageBonus);
}

// The damage kinds of the weapon's special properties (numbered from 1).
void AddPropertyDamage(AttackProfileEntry& e, const CraftedWeaponRecord& w) {
  e.damageKind = 1;
  auto has = [&](int property) { return w.properties[property - 1] != 0; };
  if (has(17) || has(12)) PlaceExtraDamage(e, 1, 6, 2);
  else if (has(18) || has(13)) PlaceExtraDamage(e, 1, 6, 0);
  else if (has(19) || has(14)) PlaceExtraDamage(e, 1, 6, 8);
  if (has(8) || has(9)) PlaceExtraDamage(e, 2, 6, 5);
  if (has(10) || has(11)) PlaceExtraDamage(e, 2, 6, 6);
  if (has(2)) PlaceExtraDamage(e, 3, 6, 3);
}

void BuildWeaponEntry(AttackProfileEntry& e, BuildState& s, int step, int index, uint32_t code) {
  const int creature = s.creature;
  const CraftedWeaponRecord& w = CraftedWeapons[code];
  e.kind = step == 1 ? kEntryMainHand : step == 2 ? kEntryOffHand : kEntryRanged;
  WeaponBuild b{e, s, step, creature, w, w.itemType, StrengthModifier(creature), false};

  // Weapon Finesse puts Dexterity in Strength's place for light weapons.
  bool useStrength = step != 8;
  if (step != 8 && HasFeat(creature, kFeatWeaponFinesse) && (w.handling == 1 || b.type == 21)) {
    useStrength = false;
    b.finesse = true;
  }
  const bool ranged = step == 8 || code == Creatures[creature].equipment[kSlotRanged - 1];

  AddWeaponAttacks(b, index, useStrength, ranged);
  NameWeapon(e, w);
  SetCaptions(e, 0);
  AddMasterworkAndFocus(b);
  if (step == 1)
    AddMainHandModifiers(b);
  else if (step == 2)
    AddOffHandModifiers(b);
  else
    AddRangedModifiers(b);
  AddWeaponDamage(b);
  AddPropertyDamage(e, w);
}

// The damage kind of a natural attack's damage code 4 to 11 (1 to 3 are physical).
int32_t NaturalDamageKind(int32_t code) {
  static const int32_t kKinds[12] = {0, 1, 1, 1, 2, 0, 4, 6, 1, 5, 5, 3};
  return code >= 1 && code <= 11 ? kKinds[code] : 1;
}

// False when the form is left out.
// A natural attack's roll: grappling, a ranged kind (5), finesse (a held
// shield's penalty with it) or Strength.
void AddNaturalAttackRoll(AttackProfileEntry& e, const BuildState& s, const NaturalAttack& n) {
  const int creature = s.creature;
  if (s.grapple) {
    AddAttackModifiers(1, creature, &e.attackRoll, 1, s.target, 0, s.grappleFlag);
  } else if (n.kind == 5) {
    AddAttackModifiers(0, creature, &e.attackRoll, 0, s.target, 1, 0);
  } else if (HasFeat(creature, kFeatWeaponFinesse)) {
    AddAttackModifiers(0, creature, &e.attackRoll, 0, s.target, 0, 0);
    if (HoldsShield(creature))
      AddModifier(-CraftedWeapons[Creatures[creature].equipment[kSlotLeftHand - 1]].critLow, &e.attackRoll,
                  kSrcShieldHeld);
  } else {
    AddAttackModifiers(0, creature, &e.attackRoll, 1, s.target, 0, 0);
  }
}

// The falling bonus of the grapple attacks made so far in this turn (haste
// and rake give some free of it).
void AddGrappleSequencePenalty(AttackProfileEntry& e, const BuildState& s, bool rake) {
  const int creature = s.creature;
  if (!s.grapple || InCombat != 1 || CurrentFighter() != creature || CombatAction.reactingCreature != -1 ||
      !GrappleSequenceOpen)
    return;
  const int g = GrappleAttacksMade;
  const int b = (HasCondition(creature, kCondHasted) ? 1 : 0) + (rake ? 2 : 0);
  if (b == 0 && g > 0) AddModifier(-5 * g, &e.attackRoll, kSrcDecreasingAttackBonus);
  else if (b > 0 && g > b) AddModifier(-5 * (g - b), &e.attackRoll, kSrcDecreasingAttackBonus);
}

// The entry's name (Constrict or Rake while grappling) and captions.
void NameNaturalEntry(AttackProfileEntry& e, const BuildState& s, const NaturalAttack& n, bool rake,
                      bool constrict) {
  const int32_t kind = n.kind >= 0 && n.kind <= 10 ? n.kind : 0;
  if (s.grapple) {
    if (constrict) SetName(e, "%s", "Constrict");
    else if (rake && (GrappleAttacksMade == 1 || GrappleAttacksMade == 2)) SetName(e, "%s", "Rake");
    else SetName(e, "%s", NaturalAttackShortNames[kind]);
  } else {
    SetName(e, "%s", NaturalAttackNames[kind]);
  }
  SetCaptions(e, s.grapple);
}

// The number of attacks: haste, base attack and rake while grappling, else
// the attack's own count less the hands kept busy; Slowed leaves one.
void AddNaturalAttackCount(AttackProfileEntry& e, const BuildState& s, int step, const NaturalAttack& n,
                           bool rake) {
  const int creature = s.creature;
  if (step == 3 || step == 4) {
    if (HasCondition(creature, kCondHasted)) AddModifier(1, &e.attackCount, kCondHasted);
  }
  if (s.grapple) {
    AddModifier(AttacksFromBaseAttack(creature), &e.attackCount, kSrcBaseAttackBonus);
    if (rake) AddModifier(2, &e.attackCount, kSrcAdditionalAttacksRake);
  } else {
    AddModifier(n.count, &e.attackCount, kSrcNormalNumberOfAttacks);
    if (IsHandAttack(n.kind)) {
      if (s.busyHands > 0) AddModifier(-s.busyHands, &e.attackCount, kSrcHandsBusy);
      else if (n.count > 1 && HoldsShield(creature)) AddModifier(-1, &e.attackCount, kSrcShieldHeld);
    }
  }
  if (HasCondition(creature, kCondSlowed) && e.attackCount.total > 1)
    AddModifier(1 - e.attackCount.total, &e.attackCount, kCondSlowed);
}

// Weapon focus of the attack's kind, and the penalty of secondary attacks.
void AddNaturalFocusAndSecondary(AttackProfileEntry& e, int creature, int offset, int index) {
  if (offset != -1) {
    if (HasFeat(creature, kFeatGreaterWeaponFocusFists + offset))
      AddModifier(2, &e.attackRoll, kSrcGreaterWeaponFocus);
    else if (HasFeat(creature, kFeatWeaponFocusFists + offset))
      AddModifier(1, &e.attackRoll, kSrcWeaponFocus);
  }
  if (index > 0) {
    if (HasFeat(creature, kFeatMultiattack)) AddModifier(-2, &e.attackRoll, kSrcSecondaryNaturalMultiattack);
    else AddModifier(-5, &e.attackRoll, kSrcSecondaryNaturalWeapon);
  }
}

// Physical damage (codes 1 to 3): the dice, Strength by primary or
// secondary attack, specialisation and luck.
void AddNaturalPhysicalDamage(AttackProfileEntry& e, const BuildState& s, int index, int offset, bool constrict) {
  const int creature = s.creature;
  const CreatureRecord& c = Creatures[creature];
  const int strength = StrengthModifier(creature);
  if (index == 0) {
    AddModifier(strength, &e.damageBonus, kSrcPrimaryNaturalWeapon);
    const bool single = s.grapple || (c.naturalAttacks[0].count == 1 && c.naturalAttacks[1].kind == 0);
    if (single && !HoldsShield(creature))
      AddModifier(HalfIfPositive(strength), &e.damageBonus, kSrcSoleNaturalWeapon);
  } else if (strength >= 0) {
    AddModifier(strength / 2, &e.damageBonus, kSrcSecondaryNaturalWeapon);
  } else {
    AddModifier(strength, &e.damageBonus, kSrcStrengthModifier);
  }
  if (offset != -1 && !(s.grapple && constrict)) {
    if (HasFeat(creature, kFeatGreaterSpecialisationFists + offset))
      AddModifier(4, &e.damageBonus, kSrcGreaterWeaponSpecialisation);
    else if (HasFeat(creature, kFeatWeaponSpecialisationFists + offset))
      AddModifier(2, &e.damageBonus, kSrcWeaponSpecialisation);
  }
  AddLuck(creature, &e.damageBonus);
}

// The damage by the attack's damage code: none, a paralysing or bleeding
// touch, physical dice, an energy kind or a special effect. False when the
// code leaves no room for a bonus damage.
bool AddNaturalDamage(AttackProfileEntry& e, const BuildState& s, const NaturalAttack& n, int index, int offset,
                      bool constrict) {
  const CreatureRecord& c = Creatures[s.creature];
  const int32_t code = n.effectKind;
  if (code == 0) return false;
  if (code == 24 || code == 25) {
    e.specialEffect = code == 24 ? kEffectParalysis : kEffectBleeding;
    return false;
  }
  e.damageKind = 1;
  if (s.grapple && constrict) {
    e.damageCount = c.special[kSpecialConstrictDice];
    e.damageSides = c.special[kSpecialConstrictSides];
  } else {
    e.damageCount = n.effectDice;
    e.damageSides = n.effectSides;
  }
  if (code >= 1 && code <= 3) {
    AddNaturalPhysicalDamage(e, s, index, offset, constrict);
  } else if (code >= 4 && code <= 11) {
    e.damageKind = NaturalDamageKind(code);
  } else if (code >= 12 && code <= 17) {
    e.specialEffect = code - 11;
  } else if (code >= 18 && code <= 23) {
    e.specialEffect = code - 17;
  } else if (code == 26) {
    e.specialEffect = kEffectLevelDrain;
  }
  return true;
}

bool BuildNaturalEntry(AttackProfileEntry& e, const BuildState& s, int step, int index, int slot) {
  const CreatureRecord& c = Creatures[s.creature];
  const NaturalAttack& n = c.naturalAttacks[slot];
  const bool rake = c.special[kSpecialRakeSides] > 0;
  const bool constrict = c.special[kSpecialConstrictSides] > 0;

  // Hand attacks need free hands.
  if (IsHandAttack(n.kind) && n.count - s.busyHands <= 0) return false;
  e.kind = kEntryNatural0 + slot;

  AddNaturalAttackRoll(e, s, n);
  AddGrappleSequencePenalty(e, s, rake);
  NameNaturalEntry(e, s, n, rake, constrict);
  AddNaturalAttackCount(e, s, step, n, rake);
  const int offset = NaturalFeatOffset(n.kind);
  AddNaturalFocusAndSecondary(e, s.creature, offset, index);
  if (!AddNaturalDamage(e, s, n, index, offset, constrict)) return true;

  // A bonus damage rides on an attack without a special effect.
  if (e.specialEffect == 0 && n.riderKind >= 1 && n.riderKind <= 11)
    e.extra[0] = {n.riderDice, n.riderSides, NaturalDamageKind(n.riderKind)};
  return true;
}

}  // namespace

int AttacksFromBaseAttack(int creature) {
  if (!IsValidCreature(creature)) return 1;
  const int32_t bab = Creatures[creature].baseAttack.current;
  if (bab < 6) return 1;
  if (bab < 11) return 2;
  if (bab < 16) return 3;
  return 4;
}

bool HasSpareHandAttack(int creature, int32_t alternateForm) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  int first = 0, last = 2;
  if (c.special[kSenseKindWord] == 7) last = 3;
  else if (alternateForm == 1) first = 1, last = 3;
  for (int slot = first; slot <= last; ++slot)
    if (IsHandAttack(c.naturalAttacks[slot].kind) && c.naturalAttacks[slot].count > 1) return true;
  return false;
}

bool IsThreatenedByEnemy(int creature) {
  if (!IsValidCreature(creature)) return false;
  for (uint32_t id : {kCondParalyzed, kCondPetrified, kCondSleeping})
    if (HasCondition(creature, id)) return false;
  const CreatureRecord& c = Creatures[creature];
  // A square of the footprint on the other's ring: in the box round it,
  // outside its own footprint. Where the footprints stand is asked first:
  // the other's conditions only of those beside it.
  auto onRing = [&c](const CreatureRecord& o) {
    const int ox = o.squareX, oy = o.squareY, ow = o.footprintWidth.current, oh = o.footprintHeight.current;
    for (int x = c.squareX; x < c.squareX + c.footprintWidth.current; ++x)
      for (int y = c.squareY; y < c.squareY + c.footprintHeight.current; ++y) {
        if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) continue;
        const bool inBox = x >= ox - 1 && x <= ox + ow && y >= oy - 1 && y <= oy + oh;
        const bool inFootprint = x >= ox && x < ox + ow && y >= oy && y < oy + oh;
        if (inBox && !inFootprint) return true;
      }
    return false;
  };
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const int other = TurnOrder[i].creature;
    if (!IsValidCreature(other) || !onRing(Creatures[other]) || !IsEnemyOf(creature, other)) continue;
    if (HasCondition(other, kCondSleeping) || HasCondition(other, kCondParalyzed) || HasCondition(other, kCondPetrified)) continue;
    return true;
  }
  return false;
}

bool IsTargetSurrounded(int target) {
  if (!IsValidCreature(target)) return false;
  MarkAdjacentSquares(target);
  bool anySquare = false;
  // The ring lies in the box round the target's footprint.
  const CreatureRecord& t = Creatures[target];
  const int x0 = std::max(0, t.squareX - 1), y0 = std::max(0, t.squareY - 1);
  const int x1 = std::min(kMapSide - 1, t.squareX + t.footprintWidth.current);
  const int y1 = std::min(kMapSide - 1, t.squareY + t.footprintHeight.current);
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y) {
      if (AdjacencyGrid[SquareIndex(x, y)] == 0) continue;
      anySquare = true;
      const int other = CreatureAtSquare(x, y, target);
      if (other == -1 || !IsEnemyOf(target, other)) return false;
      for (uint32_t id : {kCondNauseated, kCondConfused, kCondInsane, kCondSurprised, kCondSleeping, kCondParalyzed,
                          kCondPetrified, kCondDancing})
        if (HasCondition(other, id)) return false;
      const int grapple = FindCondition(other, kCondGrappling);
      if (grapple != -1 && Creatures[other].conditions[grapple].value != target) return false;
    }
  return anySquare;
}

int AddAttackModifiers(uint8_t grapple, int creature, ModifierList* list, uint8_t useStrength, int target,
                       uint8_t ranged, int32_t grappleFlag) {
  if (!IsValidCreature(creature) || !list) return 1;
  if (!IsValidCreature(target)) target = -1;
  const CreatureRecord& c = Creatures[creature];

  // Grapple penalty, ability, base attack bonus, size.
  if (grapple && grappleFlag == 0 && !HasFeat(creature, kFeatImprovedGrapple))
    AddModifier(-4, list, kSrcGrapplingPenalty);
  if (useStrength) {
    const int strength = StrengthModifier(creature);
    if (strength != 0) AddModifier(strength, list, kSrcStrengthModifier);
  } else {
    const int dexterity = AbilityModifier(c.dexterity.current);
    if (dexterity != 0) AddModifier(dexterity, list, kSrcDexterityModifier);
  }
  if (c.baseAttack.current != 0) AddModifier(c.baseAttack.current, list, kSrcBaseAttackBonus);
  static const int32_t kSize[8] = {0, 2, 1, 0, -1, -2, -4, -8};
  static const int32_t kGrappleSize[8] = {0, -8, -4, 0, 4, 8, 12, 16};
  const int32_t size = c.size.current;
  if (size >= 1 && size <= 7 && kSize[size] != 0) {
    if (grapple) AddModifier(kGrappleSize[size], list, kSrcSpecialSizeModifier);
    else AddModifier(kSize[size], list, kSrcSizeModifier);
  }

  // Conditions.
  if (HasCondition(creature, kCondSickened)) AddModifier(-2, list, kCondSickened);
  if (HasCondition(creature, kCondShaken)) AddModifier(-2, list, kCondShaken);
  if (HasCondition(creature, kCondTrueStrike)) AddModifier(20, list, kCondTrueStrike);
  if (HasCondition(creature, kCondSlowed)) AddModifier(-1, list, kCondSlowed);
  if (HasCondition(creature, kCondHasted)) AddModifier(1, list, kCondHasted);
  if (HasCondition(creature, kCondBolstered)) AddModifier(2, list, kCondBolstered);
  if (HasCondition(creature, kCondNonprofArmor)) AddModifier(-ConditionValue(creature, kCondNonprofArmor), list, kCondNonprofArmor);
  if (HasCondition(creature, kCondNonprofShield)) AddModifier(-ConditionValue(creature, kCondNonprofShield), list, kCondNonprofShield);
  if (HasCondition(creature, kCondGoodMorale)) AddModifier(ConditionValue(creature, kCondGoodMorale), list, kCondGoodMorale);
  else if (HasCondition(creature, kCondBadMorale)) AddModifier(-ConditionValue(creature, kCondBadMorale), list, kCondBadMorale);
  if (HasCondition(creature, kCondLevelDrained)) AddModifier(-ConditionValue(creature, kCondLevelDrained), list, kCondLevelDrained);
  if (HasCondition(creature, kCondControlled)) AddModifier(-6, list, kCondControlled);
  if (HasCondition(creature, kCondEntangled)) AddModifier(-2, list, kCondEntangled);
  AddLuck(creature, list);

  // Charging.
  if (InCombat == 1 && HasCondition(creature, kCondCharging)) AddModifier(2, list, kCondCharging);

  // Melee and ranged situations.
  if (!ranged) {
    if (InCombat == 1 && target != -1) {
      if (IsFlanking(creature, target) && Creatures[target].protections[kProtFlanking].current != kImmunityImmune)
        AddModifier(2, list, kSrcFlankingTarget);
      if (IsTargetSurrounded(target)) AddModifier(2, list, kCondTargetSurrounded);
    }
  } else {
    if (InCombat == 1 && target != -1 && HasFeat(creature, kFeatPointBlankShot)) {
      const GridSquare t = NearestFootprintSquare(target, c.squareX, c.squareY);
      const GridSquare a = NearestFootprintSquare(creature, t.x, t.y);
      if (SquaredDistance(a.x, a.y, t.x, t.y) <= 9) AddModifier(1, list, kSrcPointBlankShot);
    }
    if (HasCondition(creature, kCondRain)) AddModifier(-4, list, kCondRain);
    if (HasCondition(creature, kCondPlagued)) AddModifier(-4, list, kCondPlagued);
    if (InCombat == 1 && target != -1 && IsThreatenedByEnemy(target) && !HasFeat(creature, kFeatPreciseShot))
      AddModifier(-4, list, kSrcTargetInAMelee);
  }

  // Attacking unseen.
  if (target != -1) {
    const CreatureRecord& t = Creatures[target];
    const int32_t sense = t.special[kSenseKindWord];
    const bool rangedOrBlindfighting = ranged || !HasFeat(target, kFeatBlindFight);
    if (HasCondition(creature, kCondGreaterInvisibility) && sense != 5 && sense != 6 && !HasCondition(target, kCondBlinded) &&
        !HasCondition(target, kCondCantSee) && !HasCondition(target, kCondTrueSeeing) && rangedOrBlindfighting)
      AddModifier(2, list, kSrcInvisibleAttack);
    else if (HasCondition(creature, kCondSilenced) && sense == 5 && !HasCondition(target, kCondDeafened) &&
             !HasCondition(target, kCondSilenced) && rangedOrBlindfighting)
      AddModifier(2, list, kSrcInvisibleAttack);
  }
  return 1;
}

void BuildAttackProfile(AttackProfile* profile, int creature, int32_t alternateForm, int target,
                        uint8_t grapple, int32_t grappleFlag) {
  if (!profile) return;
  *profile = AttackProfile{};
  if (!IsValidCreature(creature)) return;
  const CreatureRecord& c = Creatures[creature];
  BuildState s = {creature, alternateForm, IsValidCreature(target) ? target : -1, grapple, grappleFlag, 0};

  int step = grapple ? 3 : alternateForm == 1 ? 4 : 1;
  int index = 0;
  while (step <= 8 && index < kAttackProfileEntries) {
    AttackProfileEntry& e = profile->entries[index];
    int slot = -1;  // natural slot of this step
    switch (step) {
      case 1: {
        const uint32_t right = c.equipment[kSlotRightHand - 1];
        if (!IsCraftedCode(right)) {
          step = 3;
          continue;
        }
        BuildWeaponEntry(e, s, 1, index, right);
        ++index;
        ++step;
        continue;
      }
      case 2: {
        const uint32_t left = c.equipment[kSlotLeftHand - 1];
        if (!IsCraftedCode(left) || !IsWeaponType(CraftedWeapons[left].itemType) || HasCondition(creature, kCondSlowed)) {
          step = 3;
          continue;
        }
        BuildWeaponEntry(e, s, 2, index, left);
        ++index;
        ++step;
        continue;
      }
      case 3:
        if (alternateForm == 1) {
          step = 4;
          continue;
        }
        slot = 0;
        break;
      case 4:
        if (alternateForm == 0) {
          step = 5;
          continue;
        }
        slot = 3;
        break;
      case 5: slot = 1; break;
      case 6: slot = 2; break;
      case 7:
        if (c.special[kSenseKindWord] != 7) {
          step = 8;
          continue;
        }
        slot = 3;
        break;
      case 8: {
        const uint32_t ranged = c.equipment[kSlotRanged - 1];
        if (IsCraftedCode(ranged)) {
          const int32_t type = CraftedWeapons[ranged].itemType;
          if (type == 10 || type == 11 || type == 32 || type == 33) {
            if (index == 0) index = 1;
            BuildWeaponEntry(profile->entries[index], s, 8, index, ranged);
          }
        }
        return;
      }
    }
    // A natural step.
    if (c.naturalAttacks[slot].kind == 0) {
      step = 8;
      continue;
    }
    if (BuildNaturalEntry(e, s, step, index, slot)) {
      if (grapple) return;
      ++index;
    } else {
      e = AttackProfileEntry{};
    }
    ++step;
  }
}
