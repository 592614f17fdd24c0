#include "party/starting_equipment.h"

#include <algorithm>
#include <cstring>

#include "rules/creature_record.h"
#include "rules/free_item_slot.h"
#include "rules/item_tables.h"
#include "state/inventory_state.h"

namespace {

constexpr int kFirstFocusFeat = 70;  // WEAPON FOCUS (DAGGER) to (DWARVEN WARAXE)
constexpr int kLastFocusFeat = 104;
constexpr int kFocusBastardSword = 103, kFocusDwarvenWaraxe = 104;
constexpr int kFocusLongbow = 101, kFocusShortbow = 102, kFocusHeavyCrossbow = 79, kFocusLightCrossbow = 80;
constexpr int kProfLongbow = 43, kProfShortbow = 49;
constexpr int kFocusSlots = 3, kProficiencySlots = 2;

void Pay(int32_t price) {
  if (price <= 0) return;
  const uint32_t cost = static_cast<uint32_t>(price);
  PartyGold = PartyGold > cost ? PartyGold - cost : 0;
}

ItemPair* FreeCarriedPair(CreatureRecord& c) {
  for (ItemPair& pair : c.carried)
    if (pair.code == 0) return &pair;
  return nullptr;
}

// The hand an off-hand weapon of a proficiency feat would be: light 37, 40,
// 41, 42, 48; two-handed 31, 33 to 36, 38, 47; every other one-handed.
int ProficiencyGroup(int feat) {
  switch (feat) {
    case 37: case 40: case 41: case 42: case 48: return kGroupLight;
    case 31: case 33: case 34: case 35: case 36: case 38: case 47: return kGroupTwoHanded;
    default: return kGroupOneHanded;
  }
}

// The template of a listed proficiency for a Wizard or a Cleric: the simple
// weapons give a morningstar.
int CasterProficiencyTemplate(int feat) {
  return feat == kFeatSimpleWeapons ? kTemplateMorningstar : MapWeaponFeatToTemplate(feat);
}

// What the feats of a member steer.
struct WeaponFeats {
  int focus[kFocusSlots] = {-1, -1, -1};
  int proficiency[kProficiencySlots] = {-1, -1};
  // The listed proficiencies of weapons held in the hand: a bow goes to the
  // ranged place alone, so a caster's hands never take one.
  int handProficiency[kProficiencySlots] = {-1, -1};
  bool ranged = false, melee = false;
  bool twoWeapon = false, pointBlank = false, reloadLight = false, reloadHeavy = false, finesse = false;

  bool HasProficiency(int feat) const { return proficiency[0] == feat || proficiency[1] == feat; }
  bool HasFocus(int feat) const { return std::find(focus, focus + kFocusSlots, feat) != focus + kFocusSlots; }
};

WeaponFeats GatherWeaponFeats(const CreatureRecord& c) {
  WeaponFeats w;
  int n = 0;
  for (int f = kFirstFocusFeat; f <= kLastFocusFeat && n < kFocusSlots; ++f) {
    if (c.feats[f] == 0) continue;
    w.focus[n++] = f;
    (WeaponGroupOfFocusFeat(f) == kGroupRanged ? w.ranged : w.melee) = true;
  }
  n = 0;
  int hands = 0;
  for (int f = kFeatSimpleWeapons; f <= kFeatDwarvenWaraxe && n < kProficiencySlots; ++f) {
    if (c.feats[f] == 0) continue;
    if (c.creatureClass == kClassKnight && f != kFeatBastardSword && f != kFeatDwarvenWaraxe) continue;
    if (c.creatureClass == kClassCleric && f == kFeatSimpleWeapons) continue;
    const bool bow = f == kProfLongbow || f == kProfShortbow;
    if (!bow) w.handProficiency[hands++] = f;
    w.proficiency[n++] = f;
    (bow ? w.ranged : w.melee) = true;
  }
  w.twoWeapon = c.feats[kFeatTwoWeaponFighting] != 0;
  w.pointBlank = c.feats[kFeatPointBlankShot] != 0;
  w.reloadLight = c.feats[kFeatRapidReloadLight] != 0;
  w.reloadHeavy = c.feats[kFeatRapidReloadHeavy] != 0;
  w.finesse = c.feats[kFeatWeaponFinesse] != 0;
  return w;
}

void GiveRangedWeapon(int member, const WeaponFeats& w) {
  const bool knight = Creatures[member].creatureClass == kClassKnight;
  int t = -1;
  if (!w.ranged) {
    if (w.reloadHeavy)
      t = kTemplateHeavyCrossbow;
    else if (w.reloadLight)
      t = kTemplateLightCrossbow;
    else if (w.pointBlank)
      t = knight ? kTemplateShortbow : kTemplateLightCrossbow;
  } else if (knight) {
    if (w.HasFocus(kFocusLongbow))
      t = kTemplateLongbow;
    else if (w.HasFocus(kFocusShortbow))
      t = kTemplateShortbow;
    else if (w.HasFocus(kFocusHeavyCrossbow))
      t = kTemplateHeavyCrossbow;
    else if (w.HasFocus(kFocusLightCrossbow))
      t = kTemplateLightCrossbow;
  } else if (w.HasProficiency(kProfLongbow)) {
    t = kTemplateLongbow;
  } else if (w.HasProficiency(kProfShortbow)) {
    t = kTemplateShortbow;
  }
  if (t > 0) GiveStartingItem(member, kSlotRanged, t);
}

// The hand weapons of a Wizard or Cleric with melee feats and no second
// weapon: each listed hand weapon's proficiency for the main hand in turn.
void GiveProficiencyWeapons(int member, const WeaponFeats& w) {
  for (int feat : w.handProficiency) {
    const int t = CasterProficiencyTemplate(feat);
    if (t > 0) GiveStartingItem(member, kSlotRightHand, t);
  }
}

// A caster's hands take the weapons of its listed hand-weapon proficiencies;
// with none (only bows, or a melee focus alone) it is armed as a caster
// without melee feats.
void GiveWizardHandWeapons(int member, const WeaponFeats& w) {
  if (w.handProficiency[0] < 0) {
    GiveStartingItem(member, kSlotRightHand, kTemplateDagger);
    if (w.twoWeapon) GiveStartingItem(member, kSlotLeftHand, kTemplateDagger);
    return;
  }
  if (!w.twoWeapon) return GiveProficiencyWeapons(member, w);
  const int feat = w.handProficiency[0];
  const int t = CasterProficiencyTemplate(feat);
  if (t <= 0) return;
  GiveStartingItem(member, kSlotRightHand, t);
  switch (ProficiencyGroup(feat)) {
    case kGroupLight: GiveStartingItem(member, kSlotLeftHand, t); break;
    case kGroupOneHanded: GiveStartingItem(member, kSlotLeftHand, kTemplateDagger); break;
    default: break;
  }
}

void GiveClericHandWeapons(int member, const WeaponFeats& w) {
  if (w.handProficiency[0] < 0) {
    if (w.twoWeapon) {
      GiveStartingItem(member, kSlotRightHand, kTemplateLightMace);
      GiveStartingItem(member, kSlotLeftHand, kTemplateLightMace);
    } else {
      GiveStartingItem(member, kSlotRightHand, kTemplateMorningstar);
    }
    return;
  }
  if (!w.twoWeapon) return GiveProficiencyWeapons(member, w);
  const int feat = w.handProficiency[0];
  const int t = MapWeaponFeatToTemplate(feat);
  if (t <= 0) return;
  switch (ProficiencyGroup(feat)) {
    case kGroupLight:
      GiveStartingItem(member, kSlotRightHand, kTemplateMorningstar);
      GiveStartingItem(member, kSlotLeftHand, t);
      break;
    case kGroupOneHanded:
      GiveStartingItem(member, kSlotRightHand, t);
      GiveStartingItem(member, kSlotLeftHand, kTemplateLightMace);
      break;
    default:
      GiveStartingItem(member, kSlotRightHand, t);
      break;
  }
}

// The off-hand weapon beside a Knight's main weapon of a focus feat.
void GiveKnightOffHand(int member, int mainFocus, int otherFocus) {
  const int mainGroup = WeaponGroupOfFocusFeat(mainFocus);
  if (mainGroup == kGroupTwoHanded) return;
  if (otherFocus > 0 && WeaponGroupOfFocusFeat(otherFocus) == kGroupLight)
    GiveStartingItem(member, kSlotLeftHand, otherFocus - 69);
  else if (mainGroup == kGroupLight)
    GiveStartingItem(member, kSlotLeftHand, mainFocus - 69);
  else
    GiveStartingItem(member, kSlotLeftHand, kTemplateShortSword);
}

void GiveKnightHandWeapons(int member, const WeaponFeats& w) {
  if (!w.melee) {
    GiveStartingItem(member, kSlotRightHand, w.finesse ? kTemplateRapier : kTemplateLongsword);
    if (w.twoWeapon) GiveStartingItem(member, kSlotLeftHand, kTemplateShortSword);
    return;
  }
  // The exotic weapons first; their focus then hands out nothing more.
  bool bastardSword = false, waraxe = false;
  for (int feat : w.proficiency) {
    if (feat == kFeatDwarvenWaraxe) {
      GiveStartingItem(member, kSlotRightHand, kTemplateDwarvenWaraxe);
      waraxe = true;
    } else if (feat == kFeatBastardSword) {
      GiveStartingItem(member, kSlotRightHand, kTemplateBastardSword);
      bastardSword = true;
    }
  }
  auto handedOut = [&](int focus) {
    return (focus == kFocusBastardSword && bastardSword) || (focus == kFocusDwarvenWaraxe && waraxe);
  };
  int melee[kFocusSlots], count = 0;
  for (int focus : w.focus)
    if (focus > 0 && WeaponGroupOfFocusFeat(focus) != kGroupRanged) melee[count++] = focus;
  if (!w.twoWeapon) {
    for (int i = 0; i < count; ++i)
      if (!handedOut(melee[i])) GiveStartingItem(member, kSlotRightHand, melee[i] - 69);
    return;
  }
  if (count == 0) {
    GiveStartingItem(member, kSlotLeftHand, kTemplateShortSword);
    return;
  }
  if (count == 1) {
    if (handedOut(melee[0])) return;
    GiveStartingItem(member, kSlotRightHand, melee[0] - 69);
    GiveKnightOffHand(member, melee[0], -1);
    return;
  }
  // Of the first two, the main weapon is the first unless the first is
  // two-handed and the second not, or the first light and the second
  // one-handed.
  const int first = melee[0], second = melee[1];
  const int g1 = WeaponGroupOfFocusFeat(first), g2 = WeaponGroupOfFocusFeat(second);
  const bool swap = (g1 == kGroupTwoHanded && g2 != kGroupTwoHanded) || (g1 == kGroupLight && g2 == kGroupOneHanded);
  const int mainFocus = swap ? second : first, otherFocus = swap ? first : second;
  GiveStartingItem(member, kSlotRightHand, mainFocus - 69);
  GiveKnightOffHand(member, mainFocus, otherFocus);
}

void GiveArmour(int member) {
  const CreatureRecord& c = Creatures[member];
  if (c.creatureClass == kClassWizard) {
    if (c.feats[kFeatMediumArmour] != 0)
      GiveStartingItem(member, kSlotTorso, kTemplateMediumArmour);
    else if (c.feats[kFeatLightArmour] != 0)
      GiveStartingItem(member, kSlotTorso, kTemplateLightArmour);
  } else if (c.creatureClass == kClassKnight || c.creatureClass == kClassCleric) {
    GiveStartingItem(member, kSlotTorso, kTemplateMediumArmour);
  }
}

}  // namespace

int WeaponGroupOfFocusFeat(int feat) {
  if (feat < kFirstFocusFeat || feat > kLastFocusFeat) return kGroupNone;
  switch (feat) {
    case 70: case 71: case 72: case 81: case 82: case 83: case 84: case 85: return kGroupLight;
    case 78: case 94: case 95: case 96: case 97: case 98: case 99: case 100: return kGroupTwoHanded;
    case 79: case 80: case 101: case 102: return kGroupRanged;
    default: return kGroupOneHanded;
  }
}

int MapWeaponFeatToTemplate(int feat) {
  // Martial proficiencies 30 to 51 (alphabetical), then the two exotic ones.
  static constexpr int kTemplates[] = {17, 25, 18, 26, 27, 29, 30, 13, 28, 20, 14, 12,
                                       15, 32, 19, 21, 22, 31, 16, 33, 23, 24, 34, 35};
  if (feat < kFeatFirstMartial || feat > kFeatDwarvenWaraxe) return -1;
  return kTemplates[feat - kFeatFirstMartial];
}

void GiveStartingItem(int member, int slot, int itemTemplate) {
  if (member < 0 || member >= kPartySize) return;
  const int source = kTemplateRowBase + itemTemplate;
  if (itemTemplate < 1 || source >= kCraftedRows) return;
  const int row = FindFreeItemSlot();
  if (row < 0) return;
  std::memcpy(&CraftedWeapons[row], &CraftedWeapons[source], sizeof CraftedWeapons[row]);
  CreatureRecord& c = Creatures[member];
  const uint32_t code = static_cast<uint32_t>(row);
  const bool wearing = slot == kSlotTorso || slot == kSlotRightHand || slot == kSlotLeftHand || slot == kSlotRanged;
  if (wearing && c.equipment[slot - 1] == 0) {
    c.equipment[slot - 1] = code;
    if (slot == kSlotRanged) {
      if (itemTemplate == kTemplateHeavyCrossbow || itemTemplate == kTemplateLightCrossbow) {
        c.ammunition = {kBoltsCode, kStartingAmmunition};
        Pay(2);
      } else if (itemTemplate == kTemplateLongbow || itemTemplate == kTemplateShortbow) {
        c.ammunition = {kArrowsCode, kStartingAmmunition};
        Pay(1);
      }
    }
  } else if (ItemPair* pair = FreeCarriedPair(c)) {
    *pair = {code, 1};
  } else {
    // Nowhere to keep it: the row is free again and nothing is paid.
    std::memset(&CraftedWeapons[row], 0, sizeof CraftedWeapons[row]);
    return;
  }
  Pay(CraftedWeapons[row].price);
}

void GiveStartingEquipment(int member) {
  if (member < 0 || member >= kPartySize) return;
  const CreatureRecord& c = Creatures[member];
  if (c.creatureClass != kClassKnight && c.creatureClass != kClassCleric && c.creatureClass != kClassWizard) return;
  const WeaponFeats w = GatherWeaponFeats(c);
  if (c.creatureClass == kClassWizard) GiveArmour(member);
  GiveRangedWeapon(member, w);
  switch (c.creatureClass) {
    case kClassWizard: GiveWizardHandWeapons(member, w); break;
    case kClassCleric: GiveClericHandWeapons(member, w); break;
    case kClassKnight: GiveKnightHandWeapons(member, w); break;
    default: break;
  }
  if (c.creatureClass != kClassWizard) GiveArmour(member);
}
