#include "rules/recompute_creature.h"

#include <cstddef>
#include <cstring>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "state/combat_action.h"
#include "rules/creature_forms.h"
#include "state/turn_order.h"
#include "engine/settings.h"
#include "map/map_record.h"
#include "map/rain_shelter.h"
#include "map/square_grids.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/game_screen_words.h"

namespace {

constexpr int64_t kLargestConditionSum = 1000000;

// Item types of the martial weapons, in the order of their proficiency feats.
constexpr int32_t kMartialWeaponTypes[22] = {17, 25, 18, 26, 27, 29, 30, 13, 28, 20, 14,
                                             12, 15, 32, 19, 21, 22, 31, 16, 33, 23, 24};

// Special property flags of crafted rows (record order, from 0).
constexpr int kPropHoly = 7;
constexpr int kPropUnholy = 8;
constexpr int kPropAxiomatic = 9;
constexpr int kPropAnarchic = 10;

bool IsLawful(int32_t a) { return a == 1 || a == 2 || a == 3; }
bool IsChaotic(int32_t a) { return a == 7 || a == 8 || a == 9; }
bool IsEvil(int32_t a) { return a == 3 || a == 6 || a == 9; }
bool IsGood(int32_t a) { return a == 1 || a == 4 || a == 7; }

const CraftedWeaponRecord* CraftedRow(uint32_t code) {
  if (code < 1 || code >= static_cast<uint32_t>(kCraftedRows)) return nullptr;
  return &CraftedWeapons[code];
}

// Worn base items are the codes above 5,000.
const ItemRecord* BaseRow(uint32_t code) {
  if (code <= kFirstBaseItemCode || code - kFirstBaseItemCode >= static_cast<uint32_t>(kItemRows))
    return nullptr;
  return &ItemTable[code - kFirstBaseItemCode];
}

// The working state of one recomputation.
class Recompute {
 public:
  explicit Recompute(int creature) : id_(creature), c_(Creatures[creature]) {}
  int Run(int firstTime);

 private:
  bool Active(uint32_t id) const { return FindCondition(id_, id) >= 0; }
  // The entry finders below ask for ids other than 0, which no entry past
  // the last one in use holds: they look as far as span_ (every slot, or
  // that last entry once Narrow has found it and until an entry is added).
  bool HasEntry(uint32_t id) const {
    for (int i = 0; i < span_; ++i)
      if (c_.conditions[i].id == id) return true;
    return false;
  }
  int CountEntries(uint32_t id) const {
    int n = 0;
    for (int i = 0; i < span_; ++i)
      if (c_.conditions[i].id == id) ++n;
    return n;
  }
  // The values of the entries of a condition together, held within a million
  // either way so that sums of them never overflow (values may come from files).
  int32_t SumValues(uint32_t id) const {
    int64_t sum = 0;
    for (int i = 0; i < span_; ++i)
      if (c_.conditions[i].id == id) sum += c_.conditions[i].value;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, -kLargestConditionSum, kLargestConditionSum));
  }
  const ConditionEntry* FirstEntry(uint32_t id) const {
    for (int i = 0; i < span_; ++i)
      if (c_.conditions[i].id == id) return &c_.conditions[i];
    return nullptr;
  }
  const ConditionEntry* LastEntry(uint32_t id) const {
    const ConditionEntry* last = nullptr;
    for (int i = 0; i < span_; ++i)
      if (c_.conditions[i].id == id) last = &c_.conditions[i];
    return last;
  }
  // An entry that RemoveConditionBySource would clear for the slot, in a
  // closed-up list (none past its first hole).
  bool GivesEntries(int slot) const {
    for (const ConditionEntry& e : c_.conditions) {
      if (e.id == 0 && e.duration == 0) return false;
      if (e.id >= 1 && e.duration >= 1 && e.source == static_cast<uint32_t>(slot)) return true;
    }
    return false;
  }
  // The finders look no farther than the last entry in use. Removing entries
  // leaves that bound sound; whoever adds one calls this again.
  void Narrow() {
    int span = 0;
    for (int i = 0; i < kConditionSlots; ++i)
      if (c_.conditions[i].id != 0) span = i + 1;
    span_ = span;
  }
  bool InCombatNow() const { return InCombat != 0; }
  bool IsParty() const { return c_.allegiance == kAllegianceParty; }

  // Writes a worn item's entry straight into a free slot; false when none.
  bool PutWorn(uint32_t id, uint32_t source, int32_t value);
  void RemoveFromBoth(int partner, uint32_t id);

  void Rain();
  void BehaviourDefaults();
  void GrappleCheck();
  void CleanUp(bool dying);
  void Grass();
  bool WornItems();
  bool WornBaseItem(int slot);
  bool NegativeLevels(int slot, int32_t level);
  bool Light(int slot);
  bool RangedWeapon();
  bool RightHand();
  bool LeftHand();
  bool Torso();
  bool PropertyConditions(const CraftedWeaponRecord& row, uint32_t source, bool armour);
  void StandingSpells();
  void Constitution();
  void Levels();
  void HitPoints(int firstTime);
  void Speed();
  int32_t AbilityLoss(int32_t value, uint32_t lossSource);
  void Abilities();
  void SizeAndAttack();
  void Saves();
  void Footprint();
  void Protections();

  int id_;
  CreatureRecord& c_;
  int span_ = kConditionSlots;
};

bool Recompute::PutWorn(uint32_t id, uint32_t source, int32_t value) {
  const int slot = FreeConditionSlot(id_);
  if (slot == kNoFreeConditionSlot) return false;
  ConditionEntry& e = c_.conditions[slot];
  e.id = id;
  e.duration = kDurationLasting;
  e.source = source;
  e.param = 0;
  e.value = value;
  return true;
}

void Recompute::RemoveFromBoth(int partner, uint32_t id) {
  RemoveCondition(id_, id);
  if (partner >= 0 && partner < kCreatureCount) RemoveCondition(partner, id);
}

// The rain penalty on squares the rain reaches.
void Recompute::Rain() {
  bool wet = false;
  if (StormActive != 0 && CurrentMap.rain != 0) {
    const int height = c_.footprintHeight.current > 0 ? c_.footprintHeight.current : c_.footprintHeight.base;
    const int width = c_.footprintWidth.current > 0 ? c_.footprintWidth.current : c_.footprintWidth.base;
    for (int x = c_.squareX; x < c_.squareX + width && !wet; ++x) {
      for (int y = c_.squareY; y < c_.squareY + height; ++y) {
        if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) continue;
        if (RainShelterGrid[SquareIndex(x, y)] == 2) {
          wet = true;
          break;
        }
      }
    }
  }
  RemoveCondition(id_, kCondRain);
  if (wet) AddCondition(id_, kCondRain, kDurationLasting, 4, kSourceRain, 0);
}

// Defaults of the behaviour words the computer's decisions read.
void Recompute::BehaviourDefaults() {
  int32_t* b = c_.behaviour;
  if (c_.feats[kFeatWhirlwindAttack] != 0 && b[kBehaviourWhirlwind] == 0) b[kBehaviourWhirlwind] = 30;
  if (c_.special[kSpecialSpellLike] != 0 && b[kBehaviourSpellLike] == 0) b[kBehaviourSpellLike] = 20;
}

// A grapple ends outside combat or when the partner is gone.
void Recompute::GrappleCheck() {
  const int index = FindCondition(id_, kCondGrappling);
  if (index < 0) return;
  const int partner = c_.conditions[index].value;
  const bool partnerHere = partner >= 0 && partner < kCreatureCount && Creatures[partner].present == 1;
  if (InCombatNow() && partnerHere) return;
  RemoveFromBoth(partner, kCondGrappling);
  RemoveFromBoth(partner, kCondPinned);
}

// The clean-up after combat, or of a creature that fell.
void Recompute::CleanUp(bool dying) {
  if (dying) {
    RemoveCondition(id_, kCondSleeping);
    RemoveCondition(id_, kCondRain);
  }
  if (InCombatNow() && !dying) return;

  if (Active(kCondControlled) || Active(kCondDominated)) {
    c_.allegiance = SavedAllegiance[id_];
    RemoveCondition(id_, kCondControlled);
    RemoveCondition(id_, kCondDominated);
  }
  if (Active(kCondEnlarged)) {
    ReduceCarriedItems(id_);
    RemoveCondition(id_, kCondEnlarged);
  }
  if (Active(kCondGrappling) || Active(kCondPinned)) {
    const int pinned = FindCondition(id_, kCondPinned);
    if (pinned < 0) {
      const int partner = c_.conditions[FindCondition(id_, kCondGrappling)].value;
      RemoveFromBoth(partner, kCondGrappling);
    } else {
      const int partner = c_.conditions[pinned].value;
      RemoveFromBoth(partner, kCondGrappling);
      RemoveFromBoth(partner, kCondPinned);
    }
  }
  if (Active(kCondRighteousMight)) {
    ReduceCarriedItems(id_);
    RemoveCondition(id_, kCondRighteousMight);
  }
  if (Active(kCondReduced)) {
    EnlargeCarriedItems(id_);
    RemoveCondition(id_, kCondReduced);
  }
  if (Active(kCondPolymorphed)) EndPolymorph(id_);
  if (Active(kCondIronBody)) EndIronBody(id_);

  static const uint32_t kPassing[] = {kCondBurning, kCondStuck, kCondEntangled, kCondCantSee, kCondSilenced,
                                      kCondPlagued, kCondBleeding, kCondSurprised, kCondCharging,
                                      kCondFlatFooted, kCondLoweredAcCharge, kCondGrassConcealment};
  RemoveConditions(id_, kPassing);
  for (ConditionEntry& e : c_.conditions) {
    if (e.id == kCondSleeping && e.duration != kDurationLasting) e = ConditionEntry{};
  }
  CompactConditions(id_);
  static const uint32_t kHelpless[] = {kCondParalyzed, kCondDancing, kCondStunned, kCondCowering, kCondDazed};
  RemoveConditions(id_, kHelpless);

  if (InCombatNow()) return;
  if (IsParty() && !Active(kCondDead) && !Active(kCondPetrified)) c_.present = 1;
  for (ConditionEntry& e : c_.conditions) {
    const bool passing = e.duration == 3000 || (e.duration >= 1 && e.duration <= 999);
    if (e.id > 0 && e.id != kCondSummonedCreature && passing) e = ConditionEntry{};
    if (e.source == kSourceMagicArea) e = ConditionEntry{};
  }
  CompactConditions(id_);
}

// Tall grass hides a small creature in combat.
void Recompute::Grass() {
  if (!InCombatNow() || c_.size.current >= 4) return;
  if (c_.squareX < 0 || c_.squareY < 0 || c_.squareX >= kMapSide || c_.squareY >= kMapSide) return;
  const int32_t floor = CurrentMap.At(kLayerFloor, c_.squareX, c_.squareY);
  if (floor != 123 && floor != 124) return;
  RemoveCondition(id_, kCondGrassConcealment);
  AddCondition(id_, kCondGrassConcealment, kDurationLasting, 20, kSourceMagicArea, 0);
}

bool Recompute::WornBaseItem(int slot) {
  const ItemRecord* item = BaseRow(c_.equipment[slot - 1]);
  if (item == nullptr) return true;
  for (const WornItemRule& rule : WornItemTable) {
    const bool slotMatches = rule.slot == slot || (rule.slot == kSlotRightFinger && slot == kSlotLeftFinger);
    if (!slotMatches || rule.baseType != item->baseType) continue;
    if (rule.zeroBasePair >= 0 && c_.protections[rule.zeroBasePair].base != 0) return true;
    if (rule.condition == kCondEntangleImmunity) {
      RemoveCondition(id_, kCondEntangleImmunity);
      if (Active(kCondStuck)) RemoveCondition(id_, kCondStuck);
      if (Active(kCondEntangled)) RemoveCondition(id_, kCondEntangled);
    } else if (rule.condition == kCondReducedDamageUnholy) {
      // The cloak of faith: the reduction that answers the wearer's alignment.
      for (uint32_t id : {kCondReducedDamageUnholy, kCondReducedDamageMelee, kCondReducedDamageAdamantine, kCondReducedDamageHoly})
        RemoveCondition(id_, id);
      return PutWorn(IsEvil(c_.alignment) ? kCondReducedDamageHoly : kCondReducedDamageUnholy, slot, 5);
    } else if (rule.replacesOlder) {
      RemoveCondition(id_, rule.condition);
    }
    return PutWorn(rule.condition, slot, item->bonus);
  }
  return true;
}

// Unholy and similar weapons give their wielder of the opposed alignment one
// negative level per match, from effective level 2 on. The level is counted
// without the negative levels of the hands themselves (they were just
// dropped), or a level-2 wielder would gain and lose the level on every
// other recomputation.
bool Recompute::NegativeLevels(int slot, int32_t level) {
  const CraftedWeaponRecord* row = CraftedRow(c_.equipment[slot - 1]);
  if (row == nullptr || level <= 1) return true;
  const int32_t a = c_.alignment;
  const int matches = (row->properties[kPropAnarchic] == 1 && IsLawful(a)) +
                      (row->properties[kPropAxiomatic] == 1 && IsChaotic(a)) +
                      (row->properties[kPropHoly] == 1 && IsEvil(a)) +
                      (row->properties[kPropUnholy] == 1 && IsGood(a));
  for (int i = 0; i < matches; ++i) {
    if (!AddCondition(id_, kCondLevelDrained, kDurationLasting, 1, slot, 0)) return false;
  }
  return true;
}

// A lantern in a hand lights the square unless something already does.
bool Recompute::Light(int slot) {
  const ItemRecord* item = BaseRow(c_.equipment[slot - 1]);
  if (item == nullptr || item->baseType != 18 || Active(kCondIlluminating)) return true;
  return PutWorn(kCondIlluminating, slot, item->bonus);
}

bool Recompute::RangedWeapon() {
  RemoveCondition(id_, kCondRangeNonprof);
  const uint32_t code = c_.equipment[kSlotRanged - 1];
  if (CraftedRow(code) != nullptr && !IsProficientWithItem(id_, static_cast<int>(code)))
    return PutWorn(kCondRangeNonprof, kSlotRanged, 4);
  return true;
}

bool Recompute::RightHand() {
  RemoveCondition(id_, kCondNonprofRight);
  const uint32_t code = c_.equipment[kSlotRightHand - 1];
  if (code == 0) {
    RemoveCondition(id_, kCondUnarmed);
    const int32_t natural = c_.naturalAttacks[0].kind;
    if ((natural == 0 || natural == 3) && c_.feats[kFeatUnarmedStrike] == 0)
      return PutWorn(kCondUnarmed, kSourceUnarmed, 0);
  } else if (CraftedRow(code) != nullptr) {
    RemoveCondition(id_, kCondUnarmed);
    if (!IsProficientWithItem(id_, static_cast<int>(code))) return PutWorn(kCondNonprofRight, kSlotRightHand, 4);
  }
  return true;
}

bool Recompute::LeftHand() {
  RemoveCondition(id_, kCondNonprofLeft);
  const uint32_t code = c_.equipment[kSlotLeftHand - 1];
  const CraftedWeaponRecord* row = CraftedRow(code);
  if (row == nullptr) return true;
  if (!IsProficientWithItem(id_, static_cast<int>(code)) && !PutWorn(kCondNonprofLeft, kSlotLeftHand, 4))
    return false;
  const bool arcane = c_.creatureClass == 4 || c_.creatureClass == 5;
  if (row->proficiency == 8) {
    if (row->critMultiplier > 0 && arcane) {
      RemoveCondition(id_, kCondSpellFailureShield);
      if (!PutWorn(kCondSpellFailureShield, kSlotLeftHand, row->critMultiplier)) return false;
    }
    if (c_.feats[kFeatShield] == 0 && !PutWorn(kCondNonprofShield, kSlotLeftHand, row->critLow)) return false;
    if (row->masterwork == 1) return PropertyConditions(*row, kSlotLeftHand, false);
  } else if (row->proficiency >= 1 && row->proficiency <= 4) {
    RemoveCondition(id_, kCondTwoWeaponLeft);
    RemoveCondition(id_, kCondTwoWeaponRight);
    const bool light = row->handling == 1;
    int32_t left, right;
    if (c_.feats[kFeatTwoWeaponFighting] == 0) {
      left = light ? 8 : 10;
      right = light ? 4 : 6;
    } else {
      left = light ? 1 : 3;
      right = left;
    }
    if (!PutWorn(kCondTwoWeaponLeft, kSlotLeftHand, left) || !PutWorn(kCondTwoWeaponRight, kSlotLeftHand, right))
      return false;
    RemoveCondition(id_, kCondTwoWeaponDefence);
    if (c_.feats[kFeatTwoWeaponDefence] != 0) return PutWorn(kCondTwoWeaponDefence, kSlotLeftHand, 1);
  }
  return true;
}

bool Recompute::Torso() {
  const CraftedWeaponRecord* row = CraftedRow(c_.equipment[kSlotTorso - 1]);
  if (row == nullptr || row->handling != 6) return true;
  const bool arcane = c_.creatureClass == 4 || c_.creatureClass == 5;
  if (row->critMultiplier > 0 && arcane && !PutWorn(kCondSpellFailureArmor, kSlotTorso, row->critMultiplier))
    return false;
  const int32_t weight = row->proficiency;  // 5 light, 6 medium, 7 heavy
  if (weight >= 5 && weight <= 7) {
    if (c_.feats[kFeatLightArmour + weight - 5] == 0 && !PutWorn(kCondNonprofArmor, kSlotTorso, row->critLow))
      return false;
    if (weight >= 6 && !PutWorn(kCondReducedSpeedArmor, kSlotTorso, c_.speed.base < 30 ? 5 : 10)) return false;
  }
  if (!PutWorn(kCondRestrictedDex, kSlotTorso, row->dieCount)) return false;
  if (row->masterwork != 1) return true;
  if (row->material == 8 && weight >= 5 && weight <= 7 && !PutWorn(kCondReducedDamage, kSlotTorso, weight - 4))
    return false;
  return PropertyConditions(*row, kSlotTorso, true);
}

bool Recompute::PropertyConditions(const CraftedWeaponRecord& row, uint32_t source, bool armour) {
  for (const PropertyGroup& group : ArmourPropertyGroups) {
    if (group.armourOnly && !armour) continue;
    for (int i = 0; i < group.flagCount; ++i) {
      if (row.properties[group.firstFlag + i] != 1) continue;
      RemoveCondition(id_, group.condition);
      if (!PutWorn(group.condition, source, group.values[i])) return false;
      break;
    }
  }
  return true;
}

// The conditions of worn items, slot by slot.
bool Recompute::WornItems() {
  bool dropped[kSlotRanged + 1] = {};
  // The list was closed up by the last drop and nothing written since: a slot
  // that gave no entry then needs no drop (nothing to clear, and closing up a
  // closed list changes nothing).
  bool closed = false;
  auto drop = [&](int slot) {
    if (dropped[slot]) return;
    dropped[slot] = true;
    if (closed && !GivesEntries(slot)) return;
    RemoveConditionBySource(id_, slot);
    closed = true;
  };
  // The steps about the item in a slot write nothing while the slot is empty.
  auto mayWrite = [&](int slot) {
    if (c_.equipment[slot - 1] != 0) closed = false;
  };
  drop(kSlotHead);
  mayWrite(kSlotHead);
  if (!WornBaseItem(kSlotHead)) return false;
  drop(kSlotRightHand);
  drop(kSlotLeftHand);
  const int32_t level = c_.level - SumValues(kCondLevelDrained);
  mayWrite(kSlotRightHand);
  mayWrite(kSlotLeftHand);
  if (!NegativeLevels(kSlotRightHand, level) || !NegativeLevels(kSlotLeftHand, level)) return false;
  if (!Light(kSlotRightHand) || !Light(kSlotLeftHand)) return false;
  for (int slot : {kSlotNeck, kSlotWaist, kSlotFeet, kSlotArms, kSlotCloak, kSlotRightFinger, kSlotLeftFinger}) {
    drop(slot);
    mayWrite(slot);
    if (!WornBaseItem(slot)) return false;
  }
  drop(kSlotRanged);
  closed = false;
  if (!RangedWeapon() || !RightHand() || !LeftHand()) return false;
  drop(kSlotTorso);
  return Torso();
}

// Casters outside combat renew their standing spells.
void Recompute::StandingSpells() {
  if (InCombatNow()) return;
  if (IsParty() && c_.map == CurrentMapNumber && OptionWords[kOptionAutoRecastLight] == 1 &&
      c_.creatureClass == 3 && c_.knownSpells[102] == 1 && c_.spellsLeft[0] >= 1 && !Active(kCondIlluminating) &&
      CurrentMap.lit == 0) {
    for (int member = 0; member < kPartySize; ++member)
      AddCondition(member, kCondIlluminating, kDurationUntilRest, 0, kSourceSpell, 0);
    --c_.spellsLeft[0];
  }
  const bool caster = c_.creatureClass == 4 || c_.creatureClass == 5;
  const bool allowed = !IsParty() || OptionWords[kOptionAutoRecastMageArmor] == 1;
  if (caster && allowed && c_.knownSpells[1] == 1 && c_.spellsLeft[0] >= 1 && !Active(kCondMageArmor) &&
      c_.equipment[kSlotTorso - 1] == 0) {
    AddCondition(id_, kCondMageArmor, kDurationUntilRest, 4, kSourceSpell, 0);
    --c_.spellsLeft[0];
  }
}

// The current Constitution: transformation, enhancement, damage and drain.
void Recompute::Constitution() {
  int32_t con = c_.constitution.base;
  if (Active(kCondTransformation) && !Active(kCondEnhancedConstitution)) con += 4;
  con += SumValues(kCondEnhancedConstitution) - SumValues(kCondDamagedConstitution) - SumValues(kCondDrainedConstitution);
  if (Active(kCondRighteousMight) && !Active(kCondReduced)) con += 2;
  if (con < 1) {
    con = 0;
    if (!Active(kCondDead)) AddCondition(id_, kCondDead, kDurationLasting, 0, kSourceConstitutionLoss, 0);
  }
  c_.constitution.current = con;
}

// The effective level after negative levels, and the party's challenge rating.
void Recompute::Levels() {
  if (IsParty()) c_.challengeRating = c_.level;
  int32_t effective = c_.level - SumValues(kCondLevelDrained);
  if (effective < 1) {
    effective = 0;
    if (!Active(kCondDead)) AddCondition(id_, kCondDead, kDurationLasting, 0, kSourceLevelLoss, 0);
  }
  c_.effectiveLevel = effective;
}

// The maximum hit points, and the current ones moved with it.
void Recompute::HitPoints(int firstTime) {
  // The old maximum is read here, not at the start: ending a transformation
  // recomputes the creature in between and has already moved the hit points.
  // Worked in 64 bits and held to the 32-bit words: the words come from files.
  const int64_t old = firstTime == 1 ? c_.baseHitPoints : c_.maxHitPoints;
  const int64_t m = int64_t{c_.constitution.current} / 2 - c_.constitution.base / 2;
  int64_t maximum = c_.baseHitPoints + int64_t{c_.effectiveLevel} * m;
  if (m < 0) maximum = std::max<int64_t>(maximum, c_.effectiveLevel);
  maximum -= 5 * int64_t{SumValues(kCondLevelDrained)};
  maximum = std::clamp<int64_t>(maximum, 1, INT32_MAX);
  c_.maxHitPoints = static_cast<int32_t>(maximum);
  // An unknown maximum (-1, a record just read from a saved game) leaves the
  // current hit points as they were stored.
  if (c_.hitPoints > 0 && !(old == -1 && firstTime != 1)) {
    const int64_t d = maximum - old;
    if (d < 0 && c_.hitPoints <= -d) {
      c_.hitPoints = 1;
    } else {
      c_.hitPoints = static_cast<int32_t>(std::clamp<int64_t>(c_.hitPoints + d, INT32_MIN, INT32_MAX));
    }
  }
  if (!InCombatNow()) c_.hitPoints = std::min(c_.hitPoints, c_.maxHitPoints);
}

// The speed after armour, load and conditions.
void Recompute::Speed() {
  const int32_t old = c_.speed.current != 0 ? c_.speed.current : c_.speed.base;
  int32_t speed = c_.speed.base;
  if (Active(kCondReducedSpeedArmor)) speed -= c_.speed.base < 25 ? 5 : 10;
  if (Active(kCondLongStride)) speed += 10;
  if (Active(kCondHasted)) speed *= 2;
  if (Active(kCondSlowed)) speed /= 2;
  if (Active(kCondExhausted)) speed /= 2;
  int blinding = CountEntries(kCondBlinded);
  if (c_.special[kSenseKindWord] == 5) blinding += CountEntries(kCondDeafened);
  for (int i = 0; i < blinding; ++i) {
    if (c_.feats[kFeatBlindFight] == 0) {
      speed /= 2;
    } else {
      speed -= speed / 4;
    }
  }
  speed = std::max(speed, 1);
  c_.speed.current = speed;

  const int entry = CombatAction.currentEntry;
  const bool acting = InCombatNow() && entry >= 0 && entry < kTurnOrderEntries && TurnOrder[entry].creature == id_;
  if (acting && speed != old && old > 0) {
    int32_t& moves = CombatAction.movesLeft;
    moves += ((speed - old) * 100 / old) * moves / 100;
  }
}

// Below 1 an ability gives Paralyzed of its own source; back at 1 or more it
// takes that Paralyzed away again when it is the first one found.
int32_t Recompute::AbilityLoss(int32_t value, uint32_t lossSource) {
  if (value < 1) {
    if (!Active(kCondParalyzed)) {
      AddCondition(id_, kCondParalyzed, kDurationLasting, 0, lossSource, 0);
      Narrow();
    }
    return 0;
  }
  const int first = FindCondition(id_, kCondParalyzed);
  if (first >= 0 && c_.conditions[first].source == lossSource) RemoveConditionIdFromSource(id_, kCondParalyzed, lossSource);
  return value;
}

// Steps 15 to 18.
void Recompute::Abilities() {
  int32_t str = c_.strength.base;
  if (Active(kCondTransformation) && !Active(kCondEnhancedStrength)) str += 4;
  str += SumValues(kCondEnhancedStrength) - SumValues(kCondDamagedStrength) - SumValues(kCondDrainedStrength);
  str += -6 * CountEntries(kCondExhausted) - 2 * CountEntries(kCondFatigued) + 2 * CountEntries(kCondEnlarged) -
         2 * CountEntries(kCondReduced);
  if (Active(kCondRighteousMight) && !Active(kCondReduced)) str += 4;
  c_.strength.current = AbilityLoss(str, kSourceStrengthLoss);

  int32_t dex = c_.dexterity.base;
  if (Active(kCondTransformation) && !Active(kCondEnhancedDexterity)) dex += 4;
  dex += SumValues(kCondEnhancedDexterity) - SumValues(kCondDamagedDexterity) - SumValues(kCondDrainedDexterity);
  dex += -6 * CountEntries(kCondExhausted) - 2 * CountEntries(kCondFatigued) - 4 * CountEntries(kCondEntangled) -
         2 * CountEntries(kCondEnlarged) + 2 * CountEntries(kCondReduced);
  dex = AbilityLoss(dex, kSourceDexterityLoss);
  if (HasEntry(kCondParalyzed) || HasEntry(kCondSleeping) || HasEntry(kCondPetrified) || HasEntry(kCondPinned)) dex = 0;
  c_.dexterity.current = dex;

  // Attacks of opportunity per round: more with Combat Reflexes and a high Dexterity.
  const int32_t half = c_.dexterity.current / 2;
  c_.attacksOfOpportunity = (c_.feats[kFeatCombatReflexes] != 0 && half - 5 > 0) ? half - 4 : 1;
  if (!InCombatNow()) c_.attacksOfOpportunityLeft = c_.attacksOfOpportunity;

  const bool feebleminded = HasEntry(kCondFeebleminded);
  int32_t intel = c_.intelligence.base + SumValues(kCondEnhancedIntelligence) - SumValues(kCondDamagedIntelligence) -
                  SumValues(kCondDrainedIntelligence);
  if (feebleminded) intel = std::min(intel, 1);
  c_.intelligence.current = AbilityLoss(intel, kSourceIntelligenceLoss);
  const int32_t wis =
      c_.wisdom.base + SumValues(kCondEnhancedWisdom) - SumValues(kCondDamagedWisdom) - SumValues(kCondDrainedWisdom);
  c_.wisdom.current = AbilityLoss(wis, kSourceWisdomLoss);
  int32_t cha = c_.charisma.base + SumValues(kCondEnhancedCharisma) - SumValues(kCondDamagedCharisma) -
                SumValues(kCondDrainedCharisma);
  if (feebleminded) cha = std::min(cha, 1);
  c_.charisma.current = AbilityLoss(cha, kSourceCharismaLoss);
}

// Size after enlarging and reducing, and the base attack bonus with it.
void Recompute::SizeAndAttack() {
  const int32_t size = c_.size.base + CountEntries(kCondEnlarged) + CountEntries(kCondRighteousMight) - CountEntries(kCondReduced);
  c_.size.current = std::clamp(size, 1, 7);
  c_.baseAttack.current = c_.baseAttack.base;
  if ((HasEntry(kCondTransformation) || HasEntry(kCondEnhancedBaseAttack)) && c_.baseAttack.current < c_.effectiveLevel)
    c_.baseAttack.current = c_.effectiveLevel;
}

// The three saving throws.
void Recompute::Saves() {
  const int32_t sickened = CountEntries(kCondSickened);
  const int32_t drained = SumValues(kCondLevelDrained);
  const int32_t luck = SumValues(kCondEnhancedSaves) + SumValues(kCondLucky) - SumValues(kCondUnlucky);

  c_.fortitude.current = c_.fortitude.base + (c_.feats[kFeatGreatFortitude] != 0 ? 2 : 0) - 2 * sickened +
                         5 * CountEntries(kCondTransformation) + luck - drained;

  int32_t reflex = c_.reflex.base + (c_.feats[kFeatLightningReflexes] != 0 ? 2 : 0);
  bool insightBlocked = FindAnyCondition(id_, kCondBlinded, kCondCantSee, kCondFlatFooted, kCondGrappling, kCondPinned, kCondStunned,
                                         kCondCowering) >= 0;
  if (c_.special[kSenseKindWord] == 5 && FindAnyCondition(id_, kCondDeafened, kCondSilenced) >= 0) insightBlocked = true;
  if (!insightBlocked) reflex += SumValues(kCondInsightful);
  reflex += -2 * sickened + luck + CountEntries(kCondHasted) - CountEntries(kCondSlowed) - 10 * CountEntries(kCondDancing) -
            drained;
  c_.reflex.current = reflex;

  c_.willpower.current = c_.willpower.base + (c_.feats[kFeatIronWill] != 0 ? 2 : 0) - 2 * sickened +
                         2 * CountEntries(kCondBolstered) + luck + SumValues(kCondGoodMorale) - SumValues(kCondBadMorale) -
                         drained;
}

// Enlarging doubles a small footprint, reducing shrinks the shapes
// it knows.
void Recompute::Footprint() {
  StatPair* pairs[4] = {&c_.footprintHeight, &c_.footprintWidth, &c_.figureSize[0], &c_.figureSize[1]};
  for (StatPair* p : pairs) p->current = p->base;
  int32_t& y = c_.footprintHeight.current;
  int32_t& x = c_.footprintWidth.current;
  const int grow = CountEntries(kCondEnlarged) + CountEntries(kCondRighteousMight);
  for (int i = 0; i < grow; ++i) {
    if (y >= 3 || x >= 3) continue;
    y *= 2;
    x *= 2;
    c_.figureSize[0].current *= 2;
    c_.figureSize[1].current *= 2;
  }
  const int shrink = CountEntries(kCondReduced);
  for (int i = 0; i < shrink; ++i) {
    bool known = true;
    if (y == 4 && x == 4) {
      y = x = 3;
    } else if (y == 3 && x == 3) {
      y = x = 2;
    } else if (y == 2 && (x == 3 || x == 4)) {
      y = 1;
      x = 2;
    } else if ((y == 2 && x == 2) || (y == 1 && x == 2)) {
      y = x = 1;
    } else if (!(y == 1 && x == 1)) {
      known = false;
    }
    if (!known) continue;
    c_.figureSize[0].current /= 2;
    c_.figureSize[1].current /= 2;
  }
}

// The protections and immunity codes, from their bases and the conditions.
void Recompute::Protections() {
  StatPair* p = c_.protections;
  for (int i = 0; i < kProtectionPairs; ++i) p[i].current = p[i].base;

  if (p[kProtDamageReduction].base == 0) {
    for (const ConditionEntry& e : c_.conditions) {
      int32_t kind = -1;
      switch (e.id) {
        case kCondReducedDamageUnholy: kind = 9; break;
        case kCondReducedDamageMelee: kind = 2; break;
        case kCondReducedDamageAdamantine: kind = 12; break;
        case kCondReducedDamageHoly: kind = 8; break;
        case kCondReducedDamageMagic: kind = 7; break;
        case kCondReducedDamage: kind = 1; break;
        default: break;
      }
      if (kind < 0) continue;
      p[kProtDamageReduction].current = e.value;
      p[kProtDamageReductionKind].current = kind;
    }
  }

  const struct {
    uint32_t condition;
    int pair;
  } kResistances[] = {{kCondFireResistance, kProtResistFire},
                      {kCondColdResistance, kProtResistCold},
                      {kCondSonicResistance, kProtResistSonic},
                      {kCondElectricityResistance, kProtResistElectricity},
                      {kCondAcidResistance, kProtResistAcid}};
  for (const auto& r : kResistances) {
    const ConditionEntry* e = FirstEntry(r.condition);
    if (e != nullptr && p[r.pair].current == 0) p[r.pair].current = e->value;
  }
  if (HasEntry(kCondIceShielded) && p[kProtResistFire].current == 0) p[kProtResistFire].current = 10;
  if (HasEntry(kCondFireShielded) && p[kProtResistCold].current == 0) p[kProtResistCold].current = 10;

  if (p[kProtSpellResistance].base == 0) {
    if (const ConditionEntry* e = LastEntry(kCondSpellResistant)) p[kProtSpellResistance].current = e->value;
  }

  if (Active(kCondTransformation) && !Active(kCondNaturalArmor) && p[kProtNaturalArmour].current == 0)
    p[kProtNaturalArmour].current = 4;
  auto fromFirst = [&](int pair, uint32_t condition) {
    if (p[pair].current != 0) return;
    if (const ConditionEntry* e = FirstEntry(condition)) p[pair].current = e->value;
  };
  fromFirst(kProtDeflection, kCondDeflecting);
  fromFirst(kProtNaturalArmour, kCondNaturalArmor);
  fromFirst(kProtSacred, kCondProtectedVersusEvil);
  fromFirst(kProtProfane, kCondProtectedVersusGood);
  if (p[kProtNaturalArmour].current == 0 && HasEntry(kCondRighteousMight)) p[kProtNaturalArmour].current = 2;

  auto immune = [&](int category) { p[kProtFirstImmunity + category].current = kImmunityImmune; };
  for (const ConditionEntry& e : c_.conditions) {
    switch (e.id) {
      case kCondSilenced: immune(kImmSonic); immune(kImmLanguage); break;
      case kCondDeafened: immune(kImmEars); immune(kImmLanguage); break;
      case kCondBlinded: immune(kImmEyes); break;
      case kCondInsightful: immune(kImmCriticals); break;
      case kCondCriticalHitResistance: if (e.value == 100) immune(kImmCriticals); break;
      case 2: immune(kImmMind); break;
      case 3: immune(kImmDeath); immune(kImmLevelDrain); immune(kImmNegativeEnergy); break;
      case 4: immune(kImmPoison); break;
      case kCondEntangleImmunity: immune(kImmHampering); break;
      case 6:
        immune(kImmParalysis); immune(kImmHampering); immune(kImmGrappling); immune(kImmPinning);
        immune(kImmSpeed);
        break;
      default: break;
    }
  }
}

int Recompute::Run(int firstTime) {
  if (c_.name[0] == '\0') return 0;
  Rain();
  BehaviourDefaults();
  GrappleCheck();
  RemoveCondition(id_, kCondGrassConcealment);
  PurgeExpiredConditions(id_);
  if (!InCombatNow() && Active(kCondUnconscious)) {
    RemoveCondition(id_, kCondUnconscious);
    c_.hitPoints = 1;
  }
  CleanUp(Active(kCondDead) || Active(kCondPetrified) || Active(kCondUnconscious));
  Grass();
  if (!WornItems()) return 0;
  StandingSpells();
  // From here on entries are added only where Narrow is asked again.
  Narrow();
  Constitution();
  Narrow();
  Levels();
  Narrow();
  HitPoints(firstTime);
  Speed();
  Abilities();
  SizeAndAttack();
  Saves();
  Footprint();
  Protections();
  CompactConditions(id_);
  return 1;
}

}  // namespace

const WornItemRule WornItemTable[kWornItemRules] = {
    {kSlotHead, 31, kCondEnhancedIntelligence, -1, false},
    {kSlotHead, 32, kCondEnhancedWisdom, -1, false},
    {kSlotNeck, 20, kCondEnhancedConstitution, -1, false},
    {kSlotWaist, 21, kCondEnhancedStrength, -1, false},
    {kSlotFeet, 22, kCondLongStride, -1, false},
    {kSlotArms, 23, kCondMageArmor, -1, true},
    {kSlotArms, 24, kCondEnhancedDexterity, -1, false},
    {kSlotCloak, 25, kCondEntangleImmunity, kProtFirstImmunity + static_cast<int>(kImmHampering), false},
    {kSlotCloak, 26, kCondMagicallyConcealed, -1, true},
    {kSlotCloak, 27, kCondMagicallyConcealed, -1, true},
    {kSlotCloak, 28, kCondEnhancedSaves, -1, true},
    {kSlotCloak, 29, kCondSpellResistant, -1, true},
    {kSlotCloak, 30, kCondReducedDamageUnholy, kProtDamageReduction, false},
    {kSlotRightFinger, 33, kCondFireResistance, kProtResistFire, true},
    {kSlotRightFinger, 34, kCondColdResistance, kProtResistCold, true},
    {kSlotRightFinger, 35, kCondAcidResistance, kProtResistAcid, true},
    {kSlotRightFinger, 36, kCondElectricityResistance, kProtResistElectricity, true},
    {kSlotRightFinger, 37, kCondSonicResistance, kProtResistSonic, true},
    {kSlotRightFinger, 38, kCondDeflecting, kProtDeflection, true},
    {kSlotRightHand, 18, kCondIlluminating, -1, false},
};

namespace {

// The recomputations remembered while a session is open: the record given,
// the record made and the result.
struct RememberedRecompute {
  int32_t creature;
  int32_t firstTime;
  int32_t result;
  int32_t squareTraits;  // what the recomputation reads at the square (see SquareTraits)
  uint32_t age;  // the later of two entries of a creature is kept when a third comes
  bool settled;  // the recomputation changed nothing: made is given
  CreatureRecord given;
  CreatureRecord made;
};
constexpr int kRemembered = 128;
RememberedRecompute Remembered[kRemembered];
// Each entry's creature, kept apart so that a look-up scans them without
// touching the records.
int32_t RememberedCreature[kRemembered];
int RememberedCount = 0;
uint32_t RememberClock = 0;

// Where the next recomputation of the creature is kept: a free entry, or its
// older entry when it has two; null when the table is full.
RememberedRecompute* EntryFor(int creature) {
  RememberedRecompute* older = nullptr;
  int own = 0;
  for (int i = 0; i < RememberedCount; ++i) {
    if (RememberedCreature[i] != creature) continue;
    RememberedRecompute& r = Remembered[i];
    ++own;
    if (!older || r.age < older->age) older = &r;
  }
  if (own >= 2) return older;
  return RememberedCount < kRemembered ? &Remembered[RememberedCount++] : nullptr;
}
int SessionDepth = 0;

// What a recomputation reads at the creature's square: whether the square is
// on the grid and holds tall grass; -1 when it would read more (in a storm the
// rain on the footprint counts too), so that only the same square will do.
int32_t SquareTraits(const CreatureRecord& c) { return RecomputeSquareTraitsAt(c.squareX, c.squareY); }

// The record equals the remembered one given, or differs only in its square
// and that square reads the same.
bool SameInput(const RememberedRecompute& r, const CreatureRecord& c) {
  constexpr size_t kSquareAt = offsetof(CreatureRecord, squareX);
  constexpr size_t kSquareEnd = offsetof(CreatureRecord, squareY) + sizeof(int32_t);
  static_assert(kSquareEnd == kSquareAt + 8);
  const auto* a = reinterpret_cast<const unsigned char*>(&r.given);
  const auto* b = reinterpret_cast<const unsigned char*>(&c);
  if (std::memcmp(a, b, kSquareAt) != 0) return false;
  if (std::memcmp(a + kSquareEnd, b + kSquareEnd, sizeof(CreatureRecord) - kSquareEnd) != 0) return false;
  if (r.given.squareX == c.squareX && r.given.squareY == c.squareY) return true;
  return r.squareTraits != -1 && r.squareTraits == SquareTraits(c);
}

}  // namespace

uint8_t RecomputeRemembers = 1;

int32_t RecomputeSquareTraits(int creature) {
  if (creature < 0 || creature >= kCreatureCount) return -1;
  return SquareTraits(Creatures[creature]);
}

void BeginRecomputeSession() {
  if (SessionDepth++ == 0) RememberedCount = 0;
}

void EndRecomputeSession() {
  if (SessionDepth > 0 && --SessionDepth == 0) RememberedCount = 0;
}

int RecomputeCreature(int creature, int firstTime) {
  if (creature < 0 || creature >= kCreatureCount) return 0;
  // In a battle's session, a record met before is made as it was then.
  const bool remember = SessionDepth > 0 && InCombat != 0 && RecomputeRemembers != 0;
  if (remember) {
    for (int i = 0; i < RememberedCount; ++i) {
      if (RememberedCreature[i] != creature) continue;
      const RememberedRecompute& r = Remembered[i];
      if (r.firstTime != firstTime || !SameInput(r, Creatures[creature])) continue;
      // Made as then, on the square it stands on now (a record the
      // recomputation left as it was is that already).
      if (r.settled) return r.result;
      CreatureRecord& c = Creatures[creature];
      const int32_t x = c.squareX, y = c.squareY;
      std::memcpy(&c, &r.made, sizeof(CreatureRecord));
      c.squareX = x;
      c.squareY = y;
      return r.result;
    }
  }
  RememberedRecompute* slot = remember ? EntryFor(creature) : nullptr;
  if (slot) {
    slot->creature = -1;  // not to be matched until it is complete
    RememberedCreature[slot - Remembered] = -1;
    std::memcpy(&slot->given, &Creatures[creature], sizeof(CreatureRecord));
    slot->squareTraits = SquareTraits(Creatures[creature]);
  }
  Recompute work(creature);
  const int result = work.Run(firstTime);
  if (slot) {
    slot->creature = creature;
    slot->firstTime = firstTime;
    slot->result = result;
    slot->age = ++RememberClock;
    std::memcpy(&slot->made, &Creatures[creature], sizeof(CreatureRecord));
    slot->settled = std::memcmp(&slot->given, &slot->made, sizeof(CreatureRecord)) == 0;
    RememberedCreature[slot - Remembered] = creature;
  }
  return result;
}

bool IsProficientWithItem(int creature, int craftedRow) {
  if (creature < 0 || creature >= kCreatureCount) return false;
  if (craftedRow < 1 || craftedRow >= kCraftedRows) return false;
  if (FindCondition(creature, kCondTransformation) >= 0) return true;
  const CreatureRecord& c = Creatures[creature];
  const CraftedWeaponRecord& row = CraftedWeapons[craftedRow];
  switch (row.proficiency) {
    case 1:
      return true;
    case 2:
      return c.feats[kFeatSimpleWeapons] != 0;
    case 3:
      for (int i = 0; i < 22; ++i) {
        if (kMartialWeaponTypes[i] == row.itemType) return c.feats[kFeatFirstMartial + i] != 0;
      }
      return false;
    case 4:
      if (row.itemType == 34) return c.feats[kFeatBastardSword] != 0;
      if (row.itemType == 35) return c.feats[kFeatDwarvenWaraxe] != 0;
      return false;
    default:
      return true;
  }
}
