#include "party/feat_offer.h"

#include <initializer_list>

namespace {

constexpr int kWeaponFocus = kFeatWeaponFocusFists;                    // 59
constexpr int kGreaterFocus = kFeatGreaterWeaponFocusFists;            // 105
constexpr int kSpecialisation = kFeatWeaponSpecialisationFists;        // 151
constexpr int kGreaterSpecialisation = kFeatGreaterSpecialisationFists;  // 197
constexpr int kImprovedCritical = kFeatImprovedCriticalFists;          // 243
constexpr int kFirstWeaponAfterTouches = 11;                           // DAGGER

// What a weapon of the families asks for: no proficiency, never (the
// natural attacks and grapple), a caster (the two touches), or the feat of
// that number (simple, martial or exotic proficiency).
constexpr int kNoProficiency = -1;
constexpr int kNeverOffered = -2;
constexpr int kCasterTouch = -3;
constexpr int kWeaponProficiency[kFeatWeapons] = {
    kNoProficiency,  // FISTS
    kNeverOffered, kNeverOffered, kNeverOffered, kNeverOffered, kNeverOffered, kNeverOffered,
    kNeverOffered,   // BITE, CLAWS, GORE, SLAM, TAIL SLAP, STING, WINGS
    kCasterTouch, kCasterTouch,  // TOUCH, RANGED TOUCH
    kNeverOffered,   // GRAPPLE
    kNoProficiency,  // DAGGER
    kFeatSimpleWeapons, kFeatSimpleWeapons,  // LIGHT MACE, SICKLE
    kNoProficiency,  // CLUB
    kFeatSimpleWeapons, kFeatSimpleWeapons, kFeatSimpleWeapons,  // HEAVY MACE, MORNINGSTAR, SHORTSPEAR
    kNoProficiency,  // WAND
    kFeatSimpleWeapons,  // SPEAR
    kNoProficiency, kNoProficiency,  // HEAVY CROSSBOW, LIGHT CROSSBOW
    41, 37, 40, 42, 48,  // LIGHT HAMMER, HANDAXE, KUKRI, LIGHT PICK, SHORT SWORD
    30, 32, 44, 39, 45, 46, 50, 51,  // BATTLE AXE, LIGHT FLAIL, LONGSWORD, HEAVY PICK, RAPIER, SCIMITAR, TRIDENT, WARHAMMER
    31, 33, 34, 38, 35, 36, 47,  // FALCHION, GREATAXE, GREATCLUB, HEAVY FLAIL, GREATSWORD, HALBERD, SCYTHE
    43, 49,  // LONGBOW, SHORTBOW
    kFeatBastardSword, kFeatDwarvenWaraxe,
};

// The Weapon Focus that goes with each proficiency, in the order a Cleric's
// good choices walk them: the two exotic weapons, then the martial ones.
constexpr int kFocusOfProficiency[24][2] = {
    {52, 103}, {53, 104}, {30, 86}, {31, 94}, {32, 87}, {33, 95}, {34, 96}, {35, 98},
    {36, 99},  {37, 82},  {38, 97}, {39, 89}, {40, 83}, {41, 81}, {42, 84}, {43, 101},
    {44, 88},  {45, 90},  {46, 91}, {47, 100}, {48, 85}, {49, 102}, {50, 92}, {51, 93},
};

class FeatRules {
 public:
  explicit FeatRules(const CreatureRecord& c)
      : c_(c),
        str_(c.strength.base),
        dex_(c.dexterity.base),
        int_(c.intelligence.base),
        bab_(c.baseAttack.base),
        level_(c.level),
        knight_(c.creatureClass == kClassKnight),
        caster_(c.creatureClass == kClassCleric || c.creatureClass == kClassWizard) {}

  bool Holds(int feat) const { return c_.feats[feat] == 1; }
  bool HoldsAll(std::initializer_list<int> feats) const {
    for (int f : feats)
      if (!Holds(f)) return false;
    return true;
  }

  // The requirements of a feat, held or not.
  bool Allows(int feat) const {
    if (feat >= kWeaponFocus && feat < kScribe) return AllowsWeaponFeat((feat - kWeaponFocus) / kFeatWeapons,
                                                                        (feat - kWeaponFocus) % kFeatWeapons);
    if (feat >= kFeatFirstMartial && feat <= kFeatLastMartial) return true;
    switch (feat) {
      case kFeatImprovedBullRush: return str_ >= 13;
      case kFeatImprovedGrapple: return dex_ >= 13 && Holds(kFeatUnarmedStrike);
      case kFeatImprovedInitiative: case kFeatUnarmedStrike: case kFeatGreatFortitude: case kFeatIronWill:
      case kFeatLightningReflexes: case kFeatBlindFight: case kFeatToughness: case kFeatPointBlankShot:
      case kFeatRapidReloadLight: case kFeatRapidReloadHeavy: case kFeatSimpleWeapons: case kFeatLightArmour:
      case kFeatShield:
        return true;
      case kFeatQuickDraw: return bab_ >= 1;
      case kFeatDodge: return dex_ >= 13;
      case kFeatCombatReflexes: return dex_ >= 12;
      case kFeatCleave: return str_ >= 13;
      case kFeatGreatCleave: return str_ >= 13 && Holds(kFeatCleave) && bab_ >= 4;
      case kFeatSpringAttack: return dex_ >= 13 && HoldsAll({kFeatDodge, kFeatMobility}) && bab_ >= 4;
      case kFeatWhirlwindAttack:
        return dex_ >= 13 && int_ >= 13 && HoldsAll({kFeatDodge, kFeatMobility, kFeatSpringAttack}) && bab_ >= 4;
      case kFeatTwoWeaponFighting: return dex_ >= 15;
      case kFeatImprovedTwoWeaponFighting: return dex_ >= 15 && Holds(kFeatTwoWeaponFighting) && bab_ >= 6;
      case kFeatGreaterTwoWeaponFighting:
        return dex_ >= 15 && HoldsAll({kFeatTwoWeaponFighting, kFeatImprovedTwoWeaponFighting}) && bab_ >= 11;
      case kFeatTwoWeaponDefence: return dex_ >= 15 && Holds(kFeatTwoWeaponFighting);
      case kFeatPreciseShot: return Holds(kFeatPointBlankShot);
      case kFeatImprovedPreciseShot:
        return dex_ >= 15 && HoldsAll({kFeatPointBlankShot, kFeatPreciseShot}) && bab_ >= 11;
      case kFeatBastardSword: case kFeatDwarvenWaraxe: return bab_ >= 1;
      case kFeatMediumArmour: return Holds(kFeatLightArmour);
      case kFeatHeavyArmour: return HoldsAll({kFeatLightArmour, kFeatMediumArmour});
      case kFeatScribeScroll: case kFeatSuperiorConcentration: case kFeatImprovedCounterspell:
      case kFeatSpellPenetration: case kFeatMetamagicEmpower: case kFeatMetamagicMaximise:
      case kFeatMetamagicWiden: case kFeatMetamagicStill: case kFeatMetamagicSilent: case kFeatMetamagicHeighten:
        return caster_;
      case kFeatCraftWand: case kFeatCraftWeaponAndArmor: return caster_ && level_ >= 5;
      case kFeatForgeRing: return caster_ && level_ >= 12;
      case kFeatCraftWondrousItem: return caster_ && level_ >= 3;
      case kFeatAugmentSummoning:
        return c_.creatureClass == kClassCleric &&
               (Holds(kFeatSpellFocusConjuration) || Holds(kFeatGreaterSpellFocusConjuration));
      case kFeatGreaterSpellPenetration: return caster_ && Holds(kFeatSpellPenetration);
      case kFeatSpellFocusEnchantment: case kFeatSpellFocusNecromancy: case kFeatSpellFocusConjuration:
      case kFeatSpellFocusEvocation:
        return caster_ && !Holds(feat + kFeatGreaterSpellFocusStep);
      case kFeatSpellFocusAbjuration: case kFeatSpellFocusTransmutation:
        return c_.creatureClass == kClassWizard && !Holds(feat + kFeatGreaterSpellFocusStep);
      case kFeatForgeWeaponAndArmor: return int_ >= 8;
      case kFeatMobility: return dex_ >= 13 && Holds(kFeatDodge);
      case kFeatWeaponFinesse: return bab_ >= 1;
      default: break;
    }
    if (feat >= kFeatGreaterSpellFocusFirst && feat < kFeatGreaterSpellFocusFirst + 8)
      return caster_ && Holds(feat - kFeatGreaterSpellFocusStep);
    return false;  // the never-offered feats
  }

 private:
  static constexpr int kScribe = kFeatScribeScroll;

  // The proficiency test of a weapon: true for the weapons that need none.
  bool Proficient(int weapon) const {
    const int need = kWeaponProficiency[weapon];
    return need == kNoProficiency || (need >= 0 && Holds(need));
  }

  bool AllowsWeaponFeat(int family, int weapon) const {
    const int need = kWeaponProficiency[weapon];
    if (need == kNeverOffered) return false;
    const bool touch = need == kCasterTouch;
    const int focus = kWeaponFocus + weapon;
    switch (family) {
      case 0: return bab_ >= 1 && (touch ? caster_ : Proficient(weapon));
      case 1: return !touch && knight_ && level_ >= 8 && Holds(focus);
      case 2: return !touch && knight_ && level_ >= 4 && Holds(focus);
      case 3:
        return !touch && knight_ && level_ >= 12 && Holds(kSpecialisation + weapon) &&
               Holds(kGreaterFocus + weapon);
      default:
        if (weapon == 0) return bab_ >= 8 && Holds(kFeatUnarmedStrike);
        return bab_ >= 8 && (touch ? caster_ : Proficient(weapon));
    }
  }

  const CreatureRecord& c_;
  int32_t str_, dex_, int_, bab_, level_;
  bool knight_, caster_;
};

// Walks a list of good choices: the first two offered feats whose extra
// condition holds.
class GoodChoiceWalk {
 public:
  explicit GoodChoiceWalk(const FeatOffer& offer) : offer_(offer) {}
  void Take(int feat, bool condition = true) {
    if (count_ < 2 && condition && feat >= 0 && feat < kFeatFlags && offer_[feat] == 1) chosen_[count_++] = feat;
  }
  void TakeAll(std::initializer_list<int> feats) {
    for (int f : feats) Take(f);
  }
  // A weapon family in the Knight's order: FISTS, then DAGGER to DWARVEN WARAXE.
  template <typename Condition>
  void TakeFamily(int first, Condition condition) {
    Take(first, condition(0));
    for (int w = kFirstWeaponAfterTouches; w < kFeatWeapons; ++w) Take(first + w, condition(w));
  }
  GoodFeats Result() const { return chosen_; }

 private:
  const FeatOffer& offer_;
  GoodFeats chosen_ = {-1, -1};
  int count_ = 0;
};

bool HoldsAny(const CreatureRecord& c, int first, int last) {
  for (int f = first; f <= last; ++f)
    if (c.feats[f] == 1) return true;
  return false;
}

}  // namespace

FeatOffer ComputeFeatOffer(int creature) {
  FeatOffer offer{};
  if (!IsValidCreature(creature)) return offer;
  const CreatureRecord& c = Creatures[creature];
  const FeatRules rules(c);
  for (int f = 0; f < kFeatFlags; ++f)
    offer[f] = rules.Allows(f) && (f == kFeatToughness || c.feats[f] == 0) ? 1 : 0;
  return offer;
}

bool HasExoticProfOrWeaponFocus(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  return HoldsAny(c, kFeatBastardSword, kFeatDwarvenWaraxe) || HoldsAny(c, 70, 102);
}

bool HasMartialProfOrWeaponFocus(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  return HoldsAny(c, kFeatFirstMartial, kFeatDwarvenWaraxe) || HoldsAny(c, 70, 102);
}

GoodFeats ChooseGoodFeats(int creature, const FeatOffer& offer) {
  GoodChoiceWalk walk(offer);
  if (!IsValidCreature(creature)) return walk.Result();
  const CreatureRecord& c = Creatures[creature];
  const FeatRules rules(c);
  const auto always = [](int) { return true; };
  const auto withFocus = [&](int w) { return rules.Holds(kWeaponFocus + w); };
  switch (c.creatureClass) {
    case kClassKnight: {
      walk.Take(kFeatWhirlwindAttack);
      walk.TakeFamily(kGreaterFocus, always);
      walk.TakeFamily(kGreaterSpecialisation, always);
      walk.TakeFamily(kSpecialisation, always);
      walk.TakeFamily(kImprovedCritical, withFocus);
      walk.TakeAll({103, 104, kFeatImprovedTwoWeaponFighting, kFeatGreaterTwoWeaponFighting, kFeatTwoWeaponDefence,
                    kFeatPreciseShot, kFeatImprovedPreciseShot, kFeatImprovedGrapple, kFeatCleave});
      walk.Take(88, !HasExoticProfOrWeaponFocus(creature));  // WEAPON FOCUS (LONGSWORD)
      walk.Take(kFeatDodge);
      const bool nimble = c.dexterity.base >= 13 && c.intelligence.base >= 13;
      walk.Take(kFeatSpringAttack, nimble);
      walk.Take(kFeatMobility, nimble);
      walk.TakeAll({kFeatForgeWeaponAndArmor, kFeatCombatReflexes, kFeatImprovedInitiative, kFeatQuickDraw, kFeatIronWill,
                    kFeatBlindFight});
      break;
    }
    case kClassWizard: {
      walk.TakeAll({291, 313, 314, 320, 315, 316, 319, 317, 290});
      bool focused = false;
      for (int f : {305, 306, 307, 308, 309, 311, 312}) focused = focused || rules.Holds(f);
      walk.Take(kFeatSpellFocusEnchantment, !focused);
      walk.TakeAll({294, 299, 300, 293, 292, kFeatDodge, kFeatMobility, kFeatWeaponFocusRangedTouch});
      const bool rangedTouch = rules.Holds(kFeatWeaponFocusRangedTouch);
      for (int f : {kFeatPointBlankShot, kFeatPreciseShot, kFeatImprovedPreciseShot}) walk.Take(f, rangedTouch);
      walk.TakeAll({301, kFeatForgeWeaponAndArmor});
      break;
    }
    case kClassCleric: {
      walk.TakeAll({313, 314, 320, 315, 316, 319, 317, 291, 290, 293, 292, 289, 294, kFeatDodge,
                    kFeatForgeWeaponAndArmor, 298, 297, kFeatMobility});
      walk.TakeFamily(kImprovedCritical, withFocus);
      if (!HasMartialProfOrWeaponFocus(creature)) {
        walk.Take(75);  // WEAPON FOCUS (MORNINGSTAR)
      } else {
        for (const auto& pair : kFocusOfProficiency) walk.Take(pair[1], rules.Holds(pair[0]));
      }
      break;
    }
    default: break;
  }
  return walk.Result();
}
