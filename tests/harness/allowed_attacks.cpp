#include "harness/allowed_attacks.h"

#include <algorithm>

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
constexpr int32_t kTwoHandedGrip = 3;
constexpr int32_t kSenseAllFourNatural = 7;  // a sense kind whose full attack uses all four natural slots

bool Active(int c, uint32_t id) { return FindCondition(c, id) >= 0; }

// The crafted item a slot holds, or 0 (no item, or a base item).
uint32_t ItemIn(int c, int slot) {
  const uint32_t code = Creatures[c].equipment[slot - 1];
  return code < static_cast<uint32_t>(kFirstBaseItemCode) ? code : 0;
}

int32_t TypeOf(uint32_t item) { return item == 0 ? 0 : CraftedWeapons[item].itemType; }
bool IsWeapon(int32_t type) { return type >= 1 && type <= kLastWeaponType; }
bool IsShield(int32_t type) { return type >= kFirstShieldType && type <= kLastShieldType; }
bool HasSpeed(uint32_t item) { return CraftedWeapons[item].properties[kSpeedProperty - 1] != 0; }

// Claws, fists, slams and touches are made with hands.
bool IsHandKind(int32_t kind) { return kind == 2 || kind == 3 || kind == 6 || kind == 9; }

// The hands the weapon in the right hand keeps busy. Alone: a light weapon
// or a rapier one, a weapon held in two hands two, and any other one-handed
// weapon one beside a natural hand attack of more than one, else two; as a
// hand attack of one is left out beside one busy hand as beside two, one
// busy hand gives every one-handed weapon the same attacks. With a second
// weapon or a shield two; beside anything else in the left hand none.
int BusyHands(int c, uint32_t right) {
  const CraftedWeaponRecord& w = CraftedWeapons[right];
  if (Creatures[c].equipment[kSlotLeftHand - 1] == 0) return w.handling == kTwoHandedGrip && w.itemType != kRapier ? 2 : 1;
  const int32_t left = TypeOf(ItemIn(c, kSlotLeftHand));
  return IsWeapon(left) || IsShield(left) ? 2 : 0;
}

// Slowed leaves one attack.
int32_t Slowing(int c, int32_t attacks) { return Active(c, kCondSlowed) ? std::min(attacks, 1) : attacks; }

// A weapon's attacks: one more by haste or its speed.
FormAttacks WeaponForm(int c, int32_t kind, uint32_t item, int32_t attacks) {
  const bool extra = HasSpeed(item) || Active(c, kCondHasted);
  return FormAttacks{kind, Slowing(c, attacks + (extra ? 1 : 0)), extra};
}

// The grapple attacks of a natural form: by base attack bonus, two more
// with rake, one more by haste for the first natural form; Slowed leaves one.
int32_t GrappleAttacks(int c, bool first) {
  const CreatureRecord& r = Creatures[c];
  return Slowing(c, AttacksByBaseAttack(r.baseAttack.current) + (r.special[kSpecialRakeSides] > 0 ? 2 : 0) +
                        (first && Active(c, kCondHasted) ? 1 : 0));
}

// A natural attack's attacks: its own number less the busy hands (or one
// for a shield in a free hand) for a hand attack, the grapple attacks in a
// grapple; the first natural form takes haste's extra attack.
FormAttacks NaturalForm(int c, int slot, int busy, bool first, bool grapple) {
  const NaturalAttack& n = Creatures[c].naturalAttacks[slot];
  if (grapple) return FormAttacks{kEntryNatural0 + slot, GrappleAttacks(c, first), false};
  int32_t attacks = n.count;
  if (IsHandKind(n.kind)) {
    if (busy > 0) attacks -= busy;
    else if (n.count > 1 && IsShield(TypeOf(ItemIn(c, kSlotLeftHand)))) attacks -= 1;
  }
  if (first && Active(c, kCondHasted)) ++attacks;
  return FormAttacks{kEntryNatural0 + slot, Slowing(c, attacks), false};
}

}  // namespace

int32_t AttacksByBaseAttack(int32_t baseAttack) { return std::clamp(1 + (baseAttack - 1) / 5, 1, 4); }

AllowedForms FormsAllowed(int c, bool alternate, bool grapple) {
  AllowedForms forms;
  if (!IsValidCreature(c)) return forms;
  const CreatureRecord& r = Creatures[c];
  const int32_t byBaseAttack = AttacksByBaseAttack(r.baseAttack.current);
  int n = 0;
  // The weapons, in the first form only: the off hand only beside the main
  // hand, its attacks by the two-weapon feats, none when Slowed.
  const uint32_t right = alternate || grapple ? 0 : ItemIn(c, kSlotRightHand);
  if (right != 0) {
    forms.entries[n++] = WeaponForm(c, kEntryMainHand, right, byBaseAttack);
    const uint32_t left = ItemIn(c, kSlotLeftHand);
    if (IsWeapon(TypeOf(left)) && !Active(c, kCondSlowed))
      forms.entries[n++] = WeaponForm(c, kEntryOffHand, left,
                                      r.feats[kFeatGreaterTwoWeaponFighting] != 0    ? 3
                                      : r.feats[kFeatImprovedTwoWeaponFighting] != 0 ? 2
                                                                                     : 1);
  }
  // The natural attacks: slot 0 (slot 3 in the second form), 1 and 2, and
  // slot 3 last with the sense that brings all four, up to an empty slot.
  const int busy = right != 0 ? BusyHands(c, right) : 0;
  const int order[] = {alternate ? 3 : 0, 1, 2, 3};
  const int slots = r.special[kSenseKindWord] == kSenseAllFourNatural ? 4 : 3;
  for (int k = 0; k < slots && r.naturalAttacks[order[k]].kind != 0; ++k) {
    const NaturalAttack& a = r.naturalAttacks[order[k]];
    if (IsHandKind(a.kind) && a.count - busy <= 0) continue;
    forms.entries[n++] = NaturalForm(c, order[k], busy, k == 0, grapple);
    if (grapple) return forms;
  }
  // The ranged weapon: a crossbow reloads between shots, a light one not
  // with Rapid Reload.
  const uint32_t ranged = ItemIn(c, kSlotRanged);
  const int32_t type = TypeOf(ranged);
  if (type == kHeavyCrossbow || type == kLightCrossbow || type == kLongbow || type == kShortbow) {
    FormAttacks& form = forms.entries[std::max(n, 1)];
    form = WeaponForm(c, kEntryRanged, ranged, byBaseAttack);
    if (type == kHeavyCrossbow || (type == kLightCrossbow && r.feats[kFeatRapidReloadLight] == 0))
      form.attacks = std::min(form.attacks, 1);
  }
  return forms;
}

int32_t GrappleAttacksAllowed(int c) {
  if (!IsValidCreature(c)) return 0;
  return GrappleAttacks(c, true);
}

}  // namespace battles
