#include "harness/allowed_attacks.h"

#include <algorithm>

#include "rules/attack_profile.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/record_words.h"

namespace battles {
namespace {

constexpr int32_t kSpeedProperty = 5;  // the weapon property that gives an extra attack
constexpr int32_t kRapier = 21;
constexpr int32_t kHeavyCrossbow = 10, kLightCrossbow = 11, kLongbow = 32, kShortbow = 33;
constexpr int32_t kLastWeaponType = 35, kFirstShieldType = 36, kLastShieldType = 37;
constexpr int32_t kLightGrip = 1, kTwoHandedGrip = 3;
constexpr int32_t kSenseAllFourNatural = 7;  // a sense kind whose full attack uses all four natural slots

bool Active(int c, uint32_t id) { return FindCondition(c, id) >= 0; }

// The crafted item a slot holds, or 0.
uint32_t ItemIn(int c, int slot) {
  const uint32_t code = Creatures[c].equipment[slot - 1];
  return code >= 1 && code < static_cast<uint32_t>(kFirstBaseItemCode) ? code : 0;
}

int32_t TypeOf(uint32_t item) { return item == 0 ? 0 : CraftedWeapons[item].itemType; }
bool IsWeapon(int32_t type) { return type >= 1 && type <= kLastWeaponType; }
bool IsShield(int32_t type) { return type >= kFirstShieldType && type <= kLastShieldType; }
bool HasSpeed(uint32_t item) { return item != 0 && CraftedWeapons[item].properties[kSpeedProperty - 1] != 0; }

// Claws, fists, slams and touches are made with hands.
bool IsHandKind(int32_t kind) { return kind == 2 || kind == 3 || kind == 6 || kind == 9; }

// A natural hand attack of more than one among the slots of the first form.
bool SpareHandAttack(int c) {
  const CreatureRecord& r = Creatures[c];
  const int last = r.special[kSenseKindWord] == kSenseAllFourNatural ? 3 : 2;
  for (int slot = 0; slot <= last; ++slot)
    if (IsHandKind(r.naturalAttacks[slot].kind) && r.naturalAttacks[slot].count > 1) return true;
  return false;
}

// The hands the weapons of the first form keep busy: a light weapon or a
// rapier alone one, a one-handed weapon beside natural hand attacks one,
// any other weapon alone, or a weapon with a second weapon or a shield, two.
int BusyHands(int c) {
  const uint32_t right = ItemIn(c, kSlotRightHand);
  if (right == 0) return 0;
  const CraftedWeaponRecord& w = CraftedWeapons[right];
  if (Creatures[c].equipment[kSlotLeftHand - 1] == 0) {
    if (w.handling == kLightGrip || w.itemType == kRapier) return 1;
    if (w.handling != kTwoHandedGrip && SpareHandAttack(c)) return 1;
    return 2;
  }
  const int32_t left = TypeOf(ItemIn(c, kSlotLeftHand));
  return IsWeapon(left) || IsShield(left) ? 2 : 0;
}

// Slowed leaves one attack.
int32_t Slowing(int c, int32_t attacks) { return Active(c, kCondSlowed) ? std::min(attacks, 1) : attacks; }

FormAttacks WeaponForm(int c, uint32_t item, int32_t attacks) {
  const bool extra = HasSpeed(item) || Active(c, kCondHasted);
  return FormAttacks{Slowing(c, attacks + (extra ? 1 : 0)), extra};
}

FormAttacks NaturalForm(int c, int slot, bool first, bool alternate) {
  const NaturalAttack& n = Creatures[c].naturalAttacks[slot];
  if (n.kind == 0) return {};
  int32_t attacks = n.count;
  if (IsHandKind(n.kind)) {
    const int busy = alternate ? 0 : BusyHands(c);
    if (n.count - busy <= 0) return {};
    const uint32_t left = ItemIn(c, kSlotLeftHand);
    if (busy > 0) attacks -= busy;
    else if (n.count > 1 && IsShield(TypeOf(left))) attacks -= 1;
  }
  if (first && Active(c, kCondHasted)) ++attacks;
  return FormAttacks{Slowing(c, attacks), false};
}

}  // namespace

int32_t AttacksByBaseAttack(int32_t baseAttack) { return std::clamp(1 + (baseAttack - 1) / 5, 1, 4); }

FormAttacks AttacksOfForm(int c, int32_t kind, bool alternate) {
  if (!IsValidCreature(c)) return {};
  const CreatureRecord& r = Creatures[c];
  const int32_t byBaseAttack = AttacksByBaseAttack(r.baseAttack.current);
  const uint32_t right = ItemIn(c, kSlotRightHand);
  switch (kind) {
    case kEntryMainHand:
      if (alternate || right == 0) return {};
      return WeaponForm(c, right, byBaseAttack);
    case kEntryOffHand: {
      const uint32_t left = ItemIn(c, kSlotLeftHand);
      if (alternate || right == 0 || !IsWeapon(TypeOf(left)) || Active(c, kCondSlowed)) return {};
      const int32_t attacks = r.feats[kFeatGreaterTwoWeaponFighting] != 0    ? 3
                              : r.feats[kFeatImprovedTwoWeaponFighting] != 0 ? 2
                                                                             : 1;
      return WeaponForm(c, left, attacks);
    }
    case kEntryRanged: {
      const uint32_t ranged = ItemIn(c, kSlotRanged);
      const int32_t type = TypeOf(ranged);
      if (type != kHeavyCrossbow && type != kLightCrossbow && type != kLongbow && type != kShortbow) return {};
      FormAttacks form = WeaponForm(c, ranged, byBaseAttack);
      // A crossbow reloads between shots, a light one not with Rapid Reload.
      if (type == kHeavyCrossbow || (type == kLightCrossbow && r.feats[kFeatRapidReloadLight] == 0))
        form.attacks = std::min(form.attacks, 1);
      return form;
    }
    default:
      break;
  }
  if (kind < kEntryNatural0 || kind > kEntryNatural3) return {};
  const int slot = kind - kEntryNatural0;
  // The first natural form (slot 0, or slot 3 of the second form) takes
  // haste's extra attack; slot 3 belongs to the first form only with the
  // sense that brings all four slots.
  if (slot == 3 && !alternate && r.special[kSenseKindWord] != kSenseAllFourNatural) return {};
  if (slot == 0 && alternate) return {};
  return NaturalForm(c, slot, slot == 0 || (slot == 3 && alternate), alternate);
}

int32_t GrappleAttacksAllowed(int c) {
  if (!IsValidCreature(c)) return 0;
  const CreatureRecord& r = Creatures[c];
  const int32_t attacks = AttacksByBaseAttack(r.baseAttack.current) + (Active(c, kCondHasted) ? 1 : 0) +
                          (r.special[kSpecialRakeSides] > 0 ? 2 : 0);
  return Slowing(c, attacks);
}

}  // namespace battles
