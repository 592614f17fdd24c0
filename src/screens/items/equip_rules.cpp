// Which item each box of the inventory takes, and the moves that a drop on a
// box, a backpack entry or a party member's name makes. Every move empties
// the place the item came from (never destroying it) and puts the item into
// its new place; a refusal moves nothing and only ends the drag.
#include <initializer_list>

#include "engine/frame.h"
#include "map/fighter_tests.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/inventory_slots.h"
#include "rules/item_rules.h"
#include "rules/recompute_creature.h"
#include "screens/game/click_results.h"
#include "screens/items/inventory_screen.h"
#include "state/combat_action.h"
#include "state/turn_order.h"

namespace {

// Stock item types of worn items with a rule of their own.
constexpr int32_t kTypeHeadIntelligence = 31;
constexpr int32_t kTypeHeadWisdom = 32;
constexpr int32_t kTypeBeltStrength = 21;
constexpr int32_t kTypeBracersArmour = 23;
constexpr int32_t kTypeBracersDexterity = 24;
constexpr int32_t kTypeCloakWeb = 25;
constexpr int32_t kTypeCloakConcealing = 26;
constexpr int32_t kTypeCloakHiding = 27;
constexpr int32_t kTypeCloakSaves = 28;
constexpr int32_t kTypeCloakSpellResistance = 29;
constexpr int32_t kTypeCloakDamageReduction = 30;
constexpr int32_t kMaterialAdamantine = 8;
constexpr int32_t kPlaceLeftHandOnly = 8;

// The ring types 33 to 38 and what each gives.
struct RingRule {
  int32_t type;
  uint32_t condition;
  int ownPair;
};
constexpr RingRule kRingRules[] = {
    {33, kCondFireResistance, kProtResistFire},       {34, kCondColdResistance, kProtResistCold},
    {35, kCondAcidResistance, kProtResistAcid},       {36, kCondElectricityResistance, kProtResistElectricity},
    {37, kCondSonicResistance, kProtResistSonic},     {38, kCondDeflecting, kProtDeflection},
};

// A refusal: its code (0 none) and whether it shows at the box's message
// cell rather than as a click result over the box.
struct Refusal {
  int32_t code = 0;
  bool atCell = false;
};

// What a drop on one box looks at.
struct DropContext {
  int creature;
  int slot;
  uint32_t code;
  int32_t count;
  int origin;
  bool filled;  // the box holds an item now
  const CreatureRecord& c;
  const ItemRecord* stock;
  const CraftedWeaponRecord* crafted;
};

// A condition of the id is active. On a filled box one the box's own item
// gives does not count.
bool Active(const DropContext& d, uint32_t id, bool anySource = false) {
  for (const ConditionEntry& e : d.c.conditions) {
    if (e.id != id || e.duration <= 0) continue;
    if (anySource || !d.filled || e.source != static_cast<uint32_t>(d.slot)) return true;
  }
  return false;
}

bool OwnValue(const CreatureRecord& c, int pair) { return pair >= 0 && c.protections[pair].base != 0; }
bool NoConditionRoom(int creature) { return CountFreeConditionSlots(creature) == 0; }

// The crafted weapon the place holds, nullptr for anything else.
const CraftedWeaponRecord* CraftedIn(const CreatureRecord& c, int slot) { return CraftedItem(c.equipment[slot - 1]); }

bool HoldsTwoHanded(const CreatureRecord& c) {
  const CraftedWeaponRecord* right = CraftedIn(c, kSlotRightHand);
  return right != nullptr && right->handling == kHandlingTwoHanded;
}

// The energy resistance, fortification and spell resistance of magic armour
// or a shield: a property already had from a spell or from the creature
// itself is refused.
int32_t PropertyConflict(const DropContext& d, bool withSpellResistance) {
  int32_t code = 0;
  for (const PropertyGroup& group : ArmourPropertyGroups) {
    if (group.ownPair < 0 || (group.armourOnly && !withSpellResistance)) continue;
    bool set = false;
    for (int i = 0; i < group.flagCount; ++i) set = set || d.crafted->properties[group.firstFlag + i] == 1;
    if (!set) continue;
    if (Active(d, group.condition)) code = 4;
    else if (OwnValue(d.c, group.ownPair)) code = 6;
  }
  return code;
}

// Any active damage reduction, and the creature's own; the reductions of
// spells and alignments count from any source where groupAnySource says so.
int32_t DamageReductionConflict(const DropContext& d, bool groupAnySource) {
  int32_t code = 0;
  if (Active(d, kCondReducedDamage) || Active(d, kCondReducedDamageMagic)) code = 4;
  for (uint32_t id : {kCondReducedDamageHoly, kCondReducedDamageAdamantine, kCondReducedDamageMelee, kCondReducedDamageUnholy})
    if (Active(d, id, groupAnySource)) code = 4;
  if (OwnValue(d.c, kProtDamageReduction)) code = 6;
  return code;
}

Refusal CheckRanged(const DropContext& d) {
  if (d.crafted == nullptr || d.crafted->place != kSlotRanged) return {1};
  if (d.crafted->size != d.c.size.current) return {20};
  if (d.crafted->enhancement > 0 && NoConditionRoom(d.creature)) return {3};
  const ItemRecord* ammunition = d.c.ammunition.count > 0 ? StockRow(d.c.ammunition.code) : nullptr;
  if (IsCrossbowType(d.crafted->itemType) && ammunition && ammunition->baseType != kStockTypeBolts) return {46};
  if (IsBowType(d.crafted->itemType) && ammunition && ammunition->baseType == kStockTypeBolts) return {46};
  return {};
}

Refusal CheckAmmunition(const DropContext& d) {
  if (d.stock == nullptr || d.stock->place != kSlotAmmunition) return {1};
  const CraftedWeaponRecord* launcher = CraftedIn(d.c, kSlotRanged);
  if (launcher == nullptr) return {};
  if (d.stock->baseType == kStockTypeBolts && IsBowType(launcher->itemType)) return {46};
  if (d.stock->baseType != kStockTypeBolts && IsCrossbowType(launcher->itemType)) return {46};
  return {};
}

// The worn stock items of the head, arms, neck, cloak, waist and feet.
Refusal CheckWorn(const DropContext& d) {
  if (d.stock == nullptr || d.stock->place != d.slot) return {1};
  if (NoConditionRoom(d.creature)) return {3};
  const int32_t type = d.stock->baseType;
  int32_t code = 0;
  switch (d.slot) {
    case kSlotHead:
      if (type == kTypeHeadIntelligence && Active(d, kCondEnhancedIntelligence)) code = 4;
      if (type == kTypeHeadWisdom && Active(d, kCondEnhancedWisdom)) code = 4;
      break;
    case kSlotArms:
      if (type == kTypeBracersArmour) {
        if (Active(d, kCondMageArmor)) code = 45;
        const CraftedWeaponRecord* armour = CraftedIn(d.c, kSlotTorso);
        if (armour != nullptr && armour->dieSides > 0) code = 5;
      }
      if (type == kTypeBracersDexterity && Active(d, kCondEnhancedDexterity)) code = 4;
      break;
    case kSlotNeck: {
      const ItemRecord* worn = StockRow(d.c.equipment[kSlotNeck - 1]);
      if (worn != nullptr && worn->baseType == kStockTypeLevelScaled &&
          d.c.hitPoints <= LevelScaledItemAmount(d.creature, static_cast<int>(d.c.equipment[kSlotNeck - 1] - kFirstBaseItemCode)))
        code = 73;
      else if (Active(d, kCondEnhancedConstitution))
        code = 4;
      break;
    }
    case kSlotCloak:
      if (type == kTypeCloakWeb) {
        if (Active(d, kCondEntangleImmunity)) code = 4;
        else if (OwnValue(d.c, ImmunityPair(kImmHampering))) code = 6;
      } else if (type == kTypeCloakConcealing || type == kTypeCloakHiding) {
        if (Active(d, kCondMagicallyConcealed)) code = 4;
      } else if (type == kTypeCloakSaves) {
        if (Active(d, kCondEnhancedSaves)) code = 4;
      } else if (type == kTypeCloakSpellResistance) {
        if (Active(d, kCondSpellResistant)) code = 4;
        else if (OwnValue(d.c, kProtSpellResistance)) code = 6;
      } else if (type == kTypeCloakDamageReduction) {
        code = DamageReductionConflict(d, false);
      }
      break;
    case kSlotWaist:
      if (type == kTypeBeltStrength && Active(d, kCondEnhancedStrength)) code = 4;
      break;
    case kSlotFeet:
      if (Active(d, kCondLongStride)) code = 4;
      break;
    default: break;
  }
  if (code != 0) return {code};
  if (d.count > 1) return {71, d.slot == kSlotHead && d.filled};
  return {};
}

Refusal CheckFinger(const DropContext& d) {
  if (d.stock == nullptr || (d.stock->place != d.slot && d.stock->place != kPlaceEitherFinger)) return {1};
  const int otherFinger = d.slot == kSlotRightFinger ? kSlotLeftFinger : kSlotRightFinger;
  if (d.origin != otherFinger) {
    if (NoConditionRoom(d.creature)) return {3};
    for (const RingRule& rule : kRingRules) {
      if (rule.type != d.stock->baseType) continue;
      if (Active(d, rule.condition)) return {4};
      if (OwnValue(d.c, rule.ownPair)) return {6};
    }
  }
  if (d.count > 1) return {71};
  return {};
}

Refusal CheckRightHand(const DropContext& d) {
  if (d.crafted == nullptr) return {1};
  if (d.crafted->place == kPlaceLeftHandOnly) return {44};
  if (d.crafted->place != kSlotRightHand && d.crafted->place != kPlaceEitherHand) return {1};
  if (d.crafted->size != d.c.size.current) return {20};
  if (d.crafted->enhancement > 0 && NoConditionRoom(d.creature)) return {3};
  if (d.crafted->handling == kHandlingTwoHanded && d.c.equipment[kSlotLeftHand - 1] != 0 &&
      CountFreeItemPairs(d.creature) < (d.filled ? 2u : 1u))
    return {10};
  return {};
}

Refusal CheckTorso(const DropContext& d) {
  if (d.crafted == nullptr || d.crafted->place != kSlotTorso) return {1};
  if (d.crafted->size != d.c.size.current) return {20};
  if (d.crafted->enhancement > 0 && NoConditionRoom(d.creature)) return {3};
  if (d.crafted->handling == kHandlingBodyArmour && Active(d, kCondMageArmor)) {
    const ItemRecord* arms = StockRow(d.c.equipment[kSlotArms - 1]);
    return {arms != nullptr && arms->baseType == kTypeBracersArmour ? 67 : 45};
  }
  int32_t code = 0;
  if (d.crafted->material == kMaterialAdamantine) code = DamageReductionConflict(d, true);
  if (const int32_t property = PropertyConflict(d, true)) code = property;
  return {code};
}

Refusal CheckLeftHand(const DropContext& d) {
  if (d.stock != nullptr) {
    if (d.stock->place != kSlotLeftHand) return {1};
    if (Active(d, kCondIlluminating)) return {4};
    // A stack would lose all but one of its items in the hand.
    if (d.count > 1) return {71};
    return {};
  }
  if (d.crafted == nullptr) return {1};
  if (d.crafted->place == kSlotRightHand) return {8};
  if (d.crafted->place != kPlaceLeftHandOnly && d.crafted->place != kPlaceEitherHand) return {1};
  if (d.crafted->size != d.c.size.current) return {20};
  if (d.crafted->place == kPlaceEitherHand && d.c.equipment[kSlotRightHand - 1] == 0) return {8};
  if (d.crafted->enhancement > 0 && NoConditionRoom(d.creature)) return {3};
  if (HoldsTwoHanded(d.c)) return {7, true};
  if (IsShieldType(d.crafted->itemType)) return {PropertyConflict(d, false)};
  if (d.origin == kSlotRightHand && d.filled) {
    const CraftedWeaponRecord* left = CraftedIn(d.c, kSlotLeftHand);
    if (left == nullptr || left->place != kPlaceEitherHand) return {9};
  }
  return {};
}

Refusal CheckEquipBox(const DropContext& d) {
  switch (d.slot) {
    case kSlotRanged: return CheckRanged(d);
    case kSlotAmmunition: return CheckAmmunition(d);
    case kSlotRightHand: return CheckRightHand(d);
    case kSlotTorso: return CheckTorso(d);
    case kSlotLeftHand: return CheckLeftHand(d);
    case kSlotRightFinger:
    case kSlotLeftFinger: return CheckFinger(d);
    default: return CheckWorn(d);
  }
}

// Taking off a web cloak in combat while standing in a web or an entangling
// area leaves the acting fighter entangled.
void EntangleOnCloakRemoval(int creature, uint32_t cloak) {
  const ItemRecord* row = StockRow(cloak);
  if (InCombat == 0 || row == nullptr || row->baseType != kTypeCloakWeb || creature != CurrentFighter()) return;
  if (IsInMagicArea(creature, 4) || IsInMagicArea(creature, 5)) AddCondition(creature, kCondEntangled, 1, 0, 21, 0);
}

bool OriginIsBackpack() { return IsBackpackSlotSelected(); }

void Refuse(const Refusal& r, int cellColumn, int cellRow, int x, int y) {
  if (r.atCell) SetMessageAtCell(r.code, cellColumn, cellRow);
  else SetClickResult(x, y, r.code);
  ClearHeldStack();
}

}  // namespace

bool DropOnEquipBox(int creature, int slot) {
  const EquipBox* box = EquipBoxOf(slot);
  if (box == nullptr || !IsValidCreature(creature) || HeldItemCode <= 0 || HeldItemOrigin == slot) return false;
  CreatureRecord& c = Creatures[creature];
  const uint32_t code = static_cast<uint32_t>(HeldItemCode);
  const int32_t count = HeldItemCount;
  const int origin = HeldItemOrigin;
  if (MessageShowing()) {
    ClearHeldStack();
    return false;
  }
  uint32_t present = PlaceCode(creature, slot);
  const DropContext d{creature, slot, code, count, origin, present != 0, c, StockRow(code), CraftedItem(code)};
  const Refusal refusal = CheckEquipBox(d);
  if (refusal.code != 0) {
    Refuse(refusal, box->cellColumn, box->cellRow, box->x, box->y);
    return false;
  }

  // More of the same ammunition joins the stack.
  if (slot == kSlotAmmunition && present == code) {
    EquipItemInSlot(creature, kSlotAmmunition, code, c.ammunition.count + count);
    UnequipSlot(creature, origin, -1, 0);
    ClearHeldStack();
    return true;
  }
  // A weapon from the right hand changes hands with an either-hand weapon.
  if (slot == kSlotLeftHand && origin == kSlotRightHand && present != 0) {
    EquipItemInSlot(creature, kSlotRightHand, present, 1);
    EquipItemInSlot(creature, kSlotLeftHand, code, 1);
    ClearHeldStack();
    return true;
  }
  // A two-handed weapon first empties the left hand into the backpack.
  if (slot == kSlotRightHand && d.crafted->handling == kHandlingTwoHanded && origin != kSlotLeftHand &&
      c.equipment[kSlotLeftHand - 1] != 0) {
    const uint32_t left = c.equipment[kSlotLeftHand - 1];
    EquipItemInSlot(creature, kSlotFirstCarried + FindFreeItemPair(creature), left, 1);
    UnequipSlot(creature, kSlotLeftHand, -1, 0);
  }

  const int32_t placed = slot == kSlotAmmunition ? count : 1;
  if (present == 0) {
    EquipItemInSlot(creature, slot, code, placed);
    UnequipSlot(creature, origin, -1, 0);
    ClearHeldStack();
    return true;
  }
  if (!OriginIsBackpack() && FindFreeItemPair(creature) < 0) {
    Refuse({2, true}, box->cellColumn, box->cellRow, box->x, box->y);
    return false;
  }
  const int32_t displacedCount = slot == kSlotAmmunition ? c.ammunition.count : 1;
  UnequipSlot(creature, origin, -1, 0);
  EquipItemInSlot(creature, kSlotFirstCarried + FindFreeItemPair(creature), present, displacedCount);
  EquipItemInSlot(creature, slot, code, placed);
  if (slot == kSlotCloak) {
    const ItemRecord* held = StockRow(code);
    const ItemRecord* old = StockRow(present);
    if (held && old && held->baseType != old->baseType) EntangleOnCloakRemoval(creature, present);
  }
  ClearHeldStack();
  return true;
}

bool DropOnBackpack(int creature, int entry) {
  const int slot = kSlotFirstCarried + entry;
  if (!IsValidCreature(creature) || entry < 0 || entry >= kCarriedPairs || HeldItemCode <= 0 || HeldItemOrigin == slot)
    return false;
  if (MessageShowing()) {
    ClearHeldStack();
    return false;
  }
  CreatureRecord& c = Creatures[creature];
  const uint32_t code = static_cast<uint32_t>(HeldItemCode);
  const int32_t count = HeldItemCount;
  const int origin = HeldItemOrigin;
  const ItemPair present = c.carried[entry];
  if (present.code == 0) {
    EquipItemInSlot(creature, slot, code, count);
    UnequipSlot(creature, origin, -1, 0);
    // The other hand's weapon takes the emptied right hand.
    const CraftedWeaponRecord* left = CraftedIn(c, kSlotLeftHand);
    if (origin == kSlotRightHand && left != nullptr && !IsShieldType(left->itemType)) {
      const uint32_t weapon = c.equipment[kSlotLeftHand - 1];
      UnequipSlot(creature, kSlotLeftHand, -1, 0);
      EquipItemInSlot(creature, kSlotRightHand, weapon, 1);
    }
    if (origin == kSlotCloak) EntangleOnCloakRemoval(creature, code);
  } else if (present.code == code && count > 0) {
    EquipItemInSlot(creature, slot, code, present.count + count);
    UnequipSlot(creature, origin, -1, 0);
  } else {
    if (!OriginIsBackpack() && FindFreeItemPair(creature) < 0) {
      SetClickResult(BackpackBoxX(entry), BackpackBoxY(entry), 2);
      ClearHeldStack();
      return false;
    }
    UnequipSlot(creature, origin, -1, 0);
    EquipItemInSlot(creature, kSlotFirstCarried + FindFreeItemPair(creature), present.code, present.count);
    EquipItemInSlot(creature, slot, code, count);
  }
  ClearHeldStack();
  return true;
}

bool PassHeldItem(int creature, int member, int nameRow, int nameWidth) {
  if (!IsValidCreature(creature) || !IsValidCreature(member) || HeldItemCode <= 0) return false;
  int32_t refusal = 0;
  if (MessageShowing()) {
    ClearHeldStack();
    return false;
  }
  if (FindCondition(member, kCondPolymorphed) >= 0) {
    refusal = 22;
  } else if (member == creature) {
    refusal = 11;
  } else if (MergeCursorStack(member)) {
    UnequipSlot(creature, HeldItemOrigin, -1, 0);
  } else if (const int free = FindFreeItemPair(member); free >= 0) {
    EquipItemInSlot(member, kSlotFirstCarried + free, static_cast<uint32_t>(HeldItemCode), HeldItemCount);
    UnequipSlot(creature, HeldItemOrigin, -1, 0);
  } else {
    refusal = 2;
  }
  if (refusal != 0) SetMessageAtText(refusal, 18, nameRow, nameWidth);
  ClearHeldStack();
  return refusal == 0;
}

bool PickerAccepts(uint32_t code) {
  const CraftedWeaponRecord* row = CraftedItem(code);
  if (row == nullptr) return false;
  switch (ScreenMode) {
    case kModeWandPicker: return row->itemType == kItemTypeWand;
    case kModeEnchantPicker: return row->masterwork == 1 && ItemEnhancementTotal(code) < 10;
    case kModeItemTarget: return true;
    default: return false;
  }
}
