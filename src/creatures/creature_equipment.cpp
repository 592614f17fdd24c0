#include "creatures/creature_equipment.h"

#include <cstdint>
#include <initializer_list>

#include "creatures/create_creature.h"
#include "creatures/creature_feats.h"
#include "creatures/creature_treasure.h"
#include "creatures/magic_item_names.h"
#include "creatures/treasure_rows.h"
#include "creatures/weapon_size.h"
#include "engine/random.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"

namespace {

constexpr int kBalorKind = 8;
constexpr int kLichKind = 60;
constexpr int kClericClass = 3;
constexpr int kWizardClass = 4;
constexpr int kLichClass = 5;
constexpr int kCommonerClass = 6;
constexpr int kWarriorClass = 16;
constexpr int kLargeSize = 4;
constexpr int kBludgeoning = 2;
constexpr int kSlashing = 1;
constexpr int kLongbowOption = 32;
constexpr int kShortbowOption = 33;
constexpr int kFirstShieldOption = 36;
constexpr int kAmmunitionCount = 15;
constexpr int kAdamantine = 8;

// Kinds that carry no equipment at all, kinds that wear no armour and kinds
// that wear no magic rings, amulets and the like.
constexpr int kNoArmourKinds[] = {1, 3, 8, 28, 32, 40, 50, 58, 62, 63, 65, 66, 75, 79, 85, 88, 91};
constexpr int kNoMagicGearKinds[] = {1, 3, 8, 28, 32, 40, 50, 58, 62, 65, 66, 79, 88, 91};

template <size_t N>
bool Contains(const int (&list)[N], int value) {
  for (int v : list)
    if (v == value) return true;
  return false;
}

int Die(int sides) { return static_cast<int>(RandomUpTo(static_cast<uint32_t>(sides - 1))) + 1; }

uint32_t BaseCode(int row) { return kFirstBaseItemCode + static_cast<uint32_t>(row); }

// The creature being equipped and what it may carry.
struct Outfitter {
  int creature;
  int level;            // the equipment level
  bool caster;          // a wizard or a lich
  bool cleric;
  bool armourAllowed;
  bool magicGear;
  bool gaveAnything = false;

  CreatureRecord& Record() const { return Creatures[creature]; }
  uint32_t& Slot(int slot) const { return Record().equipment[slot - 1]; }

  void Wear(int slot, int row) {
    Slot(slot) = BaseCode(row);
    gaveAnything = true;
  }
  // A worn item of a random pick goes only into an empty slot, so it never
  // takes the place of a better item given before it.
  void WearIfEmpty(int slot, int row) {
    if (Slot(slot) == 0) Wear(slot, row);
  }
  // A copy of the prepared row of an option in the slot; the row, or -1 when
  // nothing could be made.
  int Make(int slot, int option) {
    const int row = MakeGeneratedItem(option);
    if (row < 0) return -1;
    Slot(slot) = static_cast<uint32_t>(row);
    gaveAnything = true;
    return row;
  }
  // Arrows for a bow, bolts for a crossbow.
  void GiveAmmunition(int rangedOption) {
    int row = 0;
    if (rangedOption == kLongbowOption || rangedOption == kShortbowOption) row = kArrowsRow;
    if (rangedOption == 10 || rangedOption == 11) row = kBoltsRow;
    if (row != 0) Record().ammunition = {BaseCode(row), kAmmunitionCount};
  }
  bool HoldsImprovedCritical(int option) const {
    const int focus = WeaponFocusFeatOfOption(option);
    return focus >= 0 && Record().feats[focus + kFeatImprovedCriticalStep] != 0;
  }
};

void SetAbility(CraftedWeaponRecord& item, int k) { item.properties[k - 1] = 1; }

void MakeMasterwork(CraftedWeaponRecord& item, int price) {
  item.masterwork = 1;
  item.price = ChangedCraftedPrice(item.price, price);
}

// Masterwork armour and shields ease their armour check penalty by 1.
void MakeMasterworkArmour(CraftedWeaponRecord& item) {
  MakeMasterwork(item, 150);
  if (item.critLow > 0) --item.critLow;
}

void NameIfMagic(int row) {
  if (CraftedWeapons[row].enhancement > 0) BuildMagicItemName(row);
}

// The special ability of a weapon by the d6 rule: 1 to 6 give Bane, Flaming,
// Frost, Shock, Keen, Thundering; Keen on a blunt weapon, and any roll when
// the creature holds IMPROVED CRITICAL of the weapon, becomes Flaming, Frost
// or Shock. Rolled when a d100 is 30 or less; true when an ability was given.
bool RollWeaponAbility(CraftedWeaponRecord& weapon, bool holdsImprovedCritical) {
  if (Die(100) > 30) return false;
  int roll = Die(6);
  if ((roll == 5 && weapon.damageKind == kBludgeoning) || holdsImprovedCritical) roll = Die(3) + 1;
  SetAbility(weapon, 15 + roll);
  return true;
}

// The finest weapons: +4, or a d12 property.
void GiveGreatWeaponProperty(CraftedWeaponRecord& weapon, bool holdsImprovedCritical) {
  if (Die(100) > 30) {
    weapon.enhancement = 4;
    return;
  }
  const int roll = Die(12);
  if (weapon.damageKind == kBludgeoning || holdsImprovedCritical) {
    if (roll >= 5 && roll <= 7) {
      SetAbility(weapon, 12 + roll);  // 17, 18, 19
      weapon.enhancement = 3;
      return;
    }
    if (roll == 8) return SetAbility(weapon, 5);
    if (roll == 12) return SetAbility(weapon, 6);
  }
  switch (roll) {
    case 1: SetAbility(weapon, 4); break;
    case 2: SetAbility(weapon, weapon.damageKind == kSlashing ? 6 : 7); break;
    case 3: SetAbility(weapon, 5); break;
    case 4: SetAbility(weapon, 7); break;
    case 5: case 6: case 7:
      SetAbility(weapon, 20);
      SetAbility(weapon, 7 + roll);  // 12, 13, 14
      break;
    case 8:
      SetAbility(weapon, 20);
      SetAbility(weapon, 21);
      weapon.enhancement = 2;
      break;
    case 9: case 10: case 11:
      SetAbility(weapon, 8 + roll);  // 17, 18, 19
      weapon.enhancement = 3;
      break;
    default:
      SetAbility(weapon, 20);
      weapon.enhancement = 3;
      break;
  }
}

// Balor: a +1 blade of death (or of doom or light) and a +1 flaming off-hand weapon.
void GiveBalorWeapons(Outfitter& o, int mainWeapon, int offWeapon) {
  const int main = o.Make(kSlotRightHand, mainWeapon);
  if (main > 0) {
    CraftedWeaponRecord& w = CraftedWeapons[main];
    MakeMasterwork(w, 300);
    w.enhancement = 1;
    w.price = ChangedCraftedPrice(w.price, 50000);
    if (w.damageKind == kSlashing) {
      SetAbility(w, 1);
    } else {
      const int roll = Die(12);
      if (roll == 1) SetAbility(w, 2);
      if (roll == 2) SetAbility(w, 3);
    }
    BuildMagicItemName(main);
  }
  if (offWeapon < 1 || offWeapon > kLastWeaponOption) return;
  const int off = o.Make(kSlotLeftHand, offWeapon);
  if (off > 0) {
    CraftedWeaponRecord& w = CraftedWeapons[off];
    w.masterwork = 1;  // the 8,000 gold is the whole of its worth above the plain blade
    w.enhancement = 1;
    w.price = ChangedCraftedPrice(w.price, 8000);
    SetAbility(w, 17);
    BuildMagicItemName(off);
  }
}

// ------------------------------------------------------------------ low levels

void GiveLowLevelGear(Outfitter& o, int mainWeapon, int offWeapon, int rangedWeapon, bool balor) {
  const int level = o.level;
  if (balor) {
    GiveBalorWeapons(o, mainWeapon, offWeapon);
  } else {
    const int main = o.Make(kSlotRightHand, mainWeapon);
    if (main > 0 && level == 1 && !o.caster) MakeMasterwork(CraftedWeapons[main], 300);
    o.Make(kSlotLeftHand, offWeapon);
  }
  if (o.Make(kSlotRanged, rangedWeapon) > 0) o.GiveAmmunition(rangedWeapon);
  if (!o.armourAllowed || level <= -2) return;
  int option = 0;
  if (level == -1) {
    static constexpr int kChoices[4] = {44, 48, 40, 46};
    option = kChoices[Die(4) - 1];
  } else if (level == 0) {
    option = Die(2) == 1 ? 41 : 39;
  } else {
    option = Die(2) == 1 ? 47 : 38;
  }
  o.Make(kSlotTorso, option);
}

// ------------------------------------------------------------------ level 2 and above

void GiveOneOfSix(Outfitter& o) {
  switch (Die(6)) {
    case 1: o.WearIfEmpty(kSlotNeck, kHealthAmulet2Row); break;
    case 2: o.WearIfEmpty(kSlotFeet, kStridingBootsRow); break;
    case 3: o.WearIfEmpty(kSlotCloak, kResistanceCloak2Row); break;
    case 4: o.WearIfEmpty(kSlotWaist, kStrengthBelt2Row); break;
    case 5: o.WearIfEmpty(kSlotArms, kDexterityBracers2Row); break;
    default: break;
  }
}

void GiveOneOfFive(Outfitter& o) {
  switch (Die(5)) {
    case 1: o.WearIfEmpty(kSlotNeck, kHealthAmulet2Row); break;
    case 2: o.WearIfEmpty(kSlotFeet, kStridingBootsRow); break;
    case 3: o.WearIfEmpty(kSlotCloak, kResistanceCloak2Row); break;
    case 4: o.WearIfEmpty(kSlotWaist, kStrengthBelt2Row); break;
    default: break;
  }
}

// The finer ring: a minor fire or cold ring (30 %) or a ring of protection +2.
int FinerRingRow() {
  if (Die(100) <= 30) return Die(2) == 1 ? kMinorFireRingRow : kMinorColdRingRow;
  return kProtectionRing2Row;
}

void GiveRingsAndWondrous(Outfitter& o) {
  if (!o.magicGear) return;
  const int level = o.level;
  if (o.cleric) {
    if (level >= 9) o.Wear(kSlotRightFinger, kProtectionRing1Row);
    if (level >= 17) o.Wear(kSlotHead, kWisdomHelm6Row);
    else if (level >= 14) o.Wear(kSlotHead, kWisdomHelm4Row);
    else if (level >= 10) o.Wear(kSlotHead, kWisdomHelm2Row);
    if (level >= 12) GiveOneOfSix(o);
    if (level >= 13) GiveOneOfSix(o);
    return;
  }
  if (o.caster) {
    if (level >= 7) o.Wear(kSlotRightFinger, kProtectionRing1Row);
    if (level >= 13) o.Wear(kSlotRightFinger, FinerRingRow());
    if (level >= 11 && level <= 14) GiveOneOfFive(o);
    if (level >= 14) GiveOneOfFive(o);
    if (level >= 15) {
      switch (Die(4)) {
        case 1: {
          o.Wear(kSlotNeck, kHealthAmulet4Row);
          const int roll = Die(4);
          if (roll == 1) o.WearIfEmpty(kSlotFeet, kStridingBootsRow);
          if (roll == 2) o.WearIfEmpty(kSlotWaist, kStrengthBelt2Row);
          if (roll == 3) o.WearIfEmpty(kSlotCloak, kResistanceCloak2Row);
          break;
        }
        case 2: {
          o.Wear(kSlotCloak, kResistanceCloak4Row);
          const int roll = Die(4);
          if (roll == 1) o.WearIfEmpty(kSlotNeck, kHealthAmulet2Row);
          if (roll == 2) o.WearIfEmpty(kSlotFeet, kStridingBootsRow);
          if (roll == 3) o.WearIfEmpty(kSlotWaist, kStrengthBelt2Row);
          break;
        }
        case 3: {
          o.Wear(kSlotWaist, kStrengthBelt4Row);
          const int roll = Die(4);
          if (roll == 1) o.WearIfEmpty(kSlotNeck, kHealthAmulet2Row);
          if (roll == 2) o.WearIfEmpty(kSlotFeet, kStridingBootsRow);
          if (roll == 3) o.WearIfEmpty(kSlotCloak, kResistanceCloak2Row);
          break;
        }
        default:
          GiveOneOfFive(o);
          GiveOneOfFive(o);
          break;
      }
    }
    if (level >= 17) o.Wear(kSlotHead, kIntellectCirclet6Row);
    else if (level >= 15) o.Wear(kSlotHead, kIntellectCirclet4Row);
    else if (level >= 12) o.Wear(kSlotHead, kIntellectCirclet2Row);
    return;
  }
  if (level >= 11) o.Wear(kSlotRightFinger, kProtectionRing1Row);
  if (level >= 16) o.Wear(kSlotRightFinger, FinerRingRow());
  if (level >= 20) {
    if (Die(2) == 1)
      o.Wear(kSlotCloak, kBlurCloakRow);
    else
      o.Wear(kSlotRightFinger, kProtectionRing4Row);
  }
  if (level >= 19) o.Wear(kSlotWaist, Die(100) <= 30 ? kStrengthBelt6Row : kStrengthBelt4Row);
  if (level >= 14) GiveOneOfSix(o);
}

void GiveMainWeapon(Outfitter& o, int option) {
  const int row = o.Make(kSlotRightHand, option);
  if (row < 0) return;
  CraftedWeaponRecord& w = CraftedWeapons[row];
  const int level = o.level;
  if (!o.caster || level >= 13) MakeMasterwork(w, 300);
  if (o.caster ? level >= 13 : level >= 7) {
    w.enhancement = 1;
    w.price = ChangedCraftedPrice(w.price, 2000);
  }
  if (!o.caster && !o.cleric) {
    const bool improvedCritical = o.HoldsImprovedCritical(option);
    if (level >= 12 && level <= 17) {
      w.price = ChangedCraftedPrice(w.price, 6000);
      const bool ability = RollWeaponAbility(w, improvedCritical);
      if (!ability) w.enhancement = 2;
      if (level >= 15) {
        w.price = ChangedCraftedPrice(w.price, 10000);
        if (ability || !RollWeaponAbility(w, improvedCritical)) ++w.enhancement;
      }
    } else if (level >= 18) {
      w.price = ChangedCraftedPrice(w.price, 30000);
      GiveGreatWeaponProperty(w, improvedCritical);
    }
  }
  NameIfMagic(row);
}

void GiveOffHandItem(Outfitter& o, int option) {
  const int row = o.Make(kSlotLeftHand, option);
  if (row < 0 || o.caster || o.level < 8) return;
  CraftedWeaponRecord& item = CraftedWeapons[row];
  const int level = o.level;
  const bool shield = option >= kFirstShieldOption;
  const bool secondStep = o.cleric ? level >= 16 : level >= 15;
  const bool thirdStep = !o.cleric && level >= 16;
  item.enhancement = 1;
  if (shield) {
    MakeMasterworkArmour(item);
    item.price = ChangedCraftedPrice(item.price, 1000);
    if (secondStep) {
      item.price = ChangedCraftedPrice(item.price, 3000);
      item.enhancement = 2;
    }
    if (thirdStep) {
      item.price = ChangedCraftedPrice(item.price, 5000);
      item.enhancement = 3;
    }
  } else {
    MakeMasterwork(item, 300);
    item.price = ChangedCraftedPrice(item.price, 2000);
    const bool improvedCritical = o.HoldsImprovedCritical(option);
    bool ability = false;
    if (secondStep) {
      item.price = ChangedCraftedPrice(item.price, 6000);
      ability = RollWeaponAbility(item, improvedCritical);
      if (!ability) item.enhancement = 2;
    }
    if (thirdStep) {
      item.price = ChangedCraftedPrice(item.price, 10000);
      if (ability || !RollWeaponAbility(item, improvedCritical)) ++item.enhancement;
    }
  }
  BuildMagicItemName(row);
}

void GiveRangedWeapon(Outfitter& o, int option) {
  const int row = o.Make(kSlotRanged, option);
  if (row < 0) return;
  CraftedWeaponRecord& w = CraftedWeapons[row];
  const int level = o.level;
  MakeMasterwork(w, 300);
  o.GiveAmmunition(option);
  if (level >= 4 && (option == kLongbowOption || option == kShortbowOption)) {
    w.composite = 1;
    w.price = ChangedCraftedPrice(w.price, option == kLongbowOption ? 400 : 300);
  }
  if (!o.caster && !o.cleric && level >= 9) {
    w.enhancement = 1;
    w.price = ChangedCraftedPrice(w.price, 2000);
    if (level >= 16) {
      w.price = ChangedCraftedPrice(w.price, 6000);
      if (!RollWeaponAbility(w, o.HoldsImprovedCritical(option))) w.enhancement = 2;
    }
  }
  NameIfMagic(row);
}

// Body armour; the option worn, or 0.
int GiveArmour(Outfitter& o) {
  if (!o.armourAllowed) return 0;
  const int level = o.level;
  const int option = level == 2 ? 43 : 42;
  const int row = o.Make(kSlotTorso, option);
  if (row < 0 || level < 6) return row < 0 ? 0 : option;
  CraftedWeaponRecord& a = CraftedWeapons[row];
  MakeMasterworkArmour(a);
  a.enhancement = 1;
  a.price = ChangedCraftedPrice(a.price, 1000);
  if (o.cleric ? level >= 16 : level >= 10 && level <= 16) {
    a.price = ChangedCraftedPrice(a.price, 3000);
    if (Die(100) <= 20)
      SetAbility(a, 37);
    else
      a.enhancement = 2;
  } else if (level == 17) {
    a.price = ChangedCraftedPrice(a.price, 8000);
    if (Die(100) > 20) {
      a.enhancement = 3;
    } else if (Die(2) == 1) {
      SetAbility(a, 42);
    } else {
      a.enhancement = 2;
      SetAbility(a, 37);
    }
  } else if (level >= 18) {
    a.price = ChangedCraftedPrice(a.price, 15000);
    if (Die(100) > 20) {
      a.enhancement = 4;
    } else {
      switch (Die(3)) {
        case 1: SetAbility(a, 43); break;
        case 2: SetAbility(a, 38); break;
        default: a.material = kAdamantine; break;
      }
    }
  }
  BuildMagicItemName(row);
  return option;
}

void GiveBracers(Outfitter& o) {
  const int level = o.level;
  if (level < 4) return;
  const int row = level >= 20   ? kArmorBracers7Row
                  : level >= 18 ? kArmorBracers6Row
                  : level >= 17 ? kArmorBracers5Row
                  : level >= 12 ? kArmorBracers3Row
                  : level >= 9  ? kArmorBracers2Row
                                : kArmorBracers1Row;
  o.Wear(kSlotArms, row);
}

// A large creature's weapons and armour are made for its size.
void FitGearToSize(Outfitter& o) {
  if (o.Record().size.base != kLargeSize) return;
  for (int slot : {kSlotTorso, kSlotRightHand, kSlotLeftHand, kSlotRanged}) {
    const uint32_t code = o.Slot(slot);
    if (IsCraftedCode(code)) EnlargeWeaponSize(static_cast<int>(code));
  }
}

}  // namespace

int EquipmentLevel(int kind, int creatureClass, int extraLevels) {
  if (creatureClass == kCommonerClass) return -2;
  int level = extraLevels;
  if (kind == kLichKind) level += 11;
  if (creatureClass == kWarriorClass) level -= 2;
  return level;
}

int GiveCreatureEquipment(int creature, int extraLevels, int metamagicChoice, int castingStyle,
                          int defensiveStyle, int mainWeapon, int offWeapon, int rangedWeapon) {
  if (!IsValidCreature(creature)) return 1;
  const CreatureRecord& c = Creatures[creature];
  const int kind = c.kind, creatureClass = c.creatureClass;
  if (IsKindWithoutEquipment(kind) || ((kind == 68 || kind == 86) && extraLevels == 0)) {
    GiveTreasureByRating(creature, c.challengeRating);
    return 1;
  }

  Outfitter o{creature, EquipmentLevel(kind, creatureClass, extraLevels), false, false, false, false};
  o.caster = creatureClass == kWizardClass || creatureClass == kLichClass;
  o.cleric = creatureClass == kClericClass;
  // A wizard or lich may wear armour only as a stilled, fighting, defensive caster.
  const bool armouredCaster = metamagicChoice == 6 && castingStyle == 1 && defensiveStyle == 1;
  o.armourAllowed = !Contains(kNoArmourKinds, kind) && (!o.caster || armouredCaster);
  o.magicGear = !Contains(kNoMagicGearKinds, kind);
  const bool balor = kind == kBalorKind;

  int armourOption = 0;
  if (o.level <= 1) {
    GiveLowLevelGear(o, mainWeapon, offWeapon, rangedWeapon, balor);
    if (!o.gaveAnything) {
      GiveTreasureByRating(creature, c.challengeRating);
      return 1;
    }
    armourOption = IsCraftedCode(o.Slot(kSlotTorso)) ? CraftedWeapons[o.Slot(kSlotTorso)].itemType : 0;
  } else {
    GiveRingsAndWondrous(o);
    if (balor) {
      GiveBalorWeapons(o, mainWeapon, offWeapon);
    } else {
      GiveMainWeapon(o, mainWeapon);
      GiveOffHandItem(o, offWeapon);
    }
    GiveRangedWeapon(o, rangedWeapon);
    armourOption = GiveArmour(o);
    if (o.caster && armourOption == 0 && o.magicGear) GiveBracers(o);
    if (!o.gaveAnything) {
      GiveTreasureByRating(creature, c.challengeRating);
      return 1;
    }
    const int coins = RollCoins(creature, o.level) / 10;
    if (coins > 0) Creatures[creature].carried[0] = {BaseCode(kGoldCoinsRow), coins};
  }
  GrantWeaponProficiency(armourOption, creature);
  FitGearToSize(o);
  return 1;
}
