#include "creatures/creature_feats.h"

#include <array>
#include <initializer_list>

#include "engine/random.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"

namespace {

constexpr int kFirstPreparedRow = 4951;  // weapon option k is prepared row 4951 + k
constexpr int kLastOption = 48;
constexpr int kLastWeaponOption = 35;
constexpr int kLongbowOption = 32;
constexpr int kShortbowOption = 33;
constexpr int kHeavyCrossbowOption = 10;
constexpr int kLightCrossbowOption = 11;
constexpr int kUnarmedAttack = 3;

// The martial or exotic proficiency of each weapon option, -1 for the simple
// weapons and everything that is not a weapon.
constexpr int kOwnProficiency[kLastOption + 1] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,  // 0-11: simple weapons
    41, 37, 40, 42, 48, 30, 32, 44, 39, 45, 46, 50,  // 12-23
    51, 31, 33, 34, 38, 35, 36, 47, 43, 49, 52, 53,  // 24-35
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

bool Holds(const CreatureRecord& c, int feat) { return feat >= 0 && feat < kFeatFlags && c.feats[feat] != 0; }

// The feats a pick may grant, gathered without repeats and handed out in
// ascending order.
class Candidates {
 public:
  explicit Candidates(const CreatureRecord& c) : creature_(c) {}
  // Adds a feat the creature does not hold yet.
  void AddIfNotHeld(int feat) {
    if (feat >= 0 && feat < kFeatFlags && !Holds(creature_, feat)) marks_[feat] = true;
  }
  // Adds a feat that may be taken again.
  void AddRepeatable(int feat) { marks_[feat] = true; }
  // A uniform choice among the candidates in ascending order; -1 when none.
  int Draw() const {
    std::array<int, kFeatFlags> list{};
    int count = 0;
    for (int f = 0; f < kFeatFlags; ++f)
      if (marks_[f]) list[count++] = f;
    if (count == 0) return -1;
    return list[RandomUpTo(static_cast<uint32_t>(count - 1))];
  }

 private:
  const CreatureRecord& creature_;
  std::array<bool, kFeatFlags> marks_{};
};

void Grant(int creature, int feat) {
  CreatureRecord& c = Creatures[creature];
  if (feat == kFeatToughness) {
    c.baseHitPoints += 3;
    c.maxHitPoints += 3;
    c.hitPoints += 3;
  }
  if (feat == kFeatToughness || feat == kFeatImprovedNaturalArmor)
    ++c.feats[feat];
  else
    c.feats[feat] = 1;
}

// The proficiency a weapon option's focus feat asks for is held: simple
// weapons other than the dagger, club, wand and crossbows need SIMPLE WEAPON
// PROFICIENCY, martial and exotic weapons their own feat.
bool HoldsFocusProficiency(const CreatureRecord& c, int option) {
  switch (option) {
    case 1: case 4: case 8: case kHeavyCrossbowOption: case kLightCrossbowOption:
      return true;
    case 2: case 3: case 5: case 6: case 7: case 9:
      return Holds(c, kFeatSimpleWeapons);
    default:
      return option >= 12 && option <= kLastWeaponOption && Holds(c, kOwnProficiency[option]);
  }
}

bool IsWeaponOption(int option) { return option >= 1 && option <= kLastWeaponOption; }
bool IsBow(int option) { return option == kLongbowOption || option == kShortbowOption; }

// The hand-held weapons whose feats a creature may take, by the focus rules:
// main and off-hand weapons other than bows with their proficiency, and a
// bow in the ranged slot with its proficiency.
template <typename F>
void ForEachFocusWeapon(const CreatureRecord& c, int mainWeapon, int offWeapon, int rangedWeapon, F f) {
  for (int option : {mainWeapon, offWeapon})
    if (IsWeaponOption(option) && !IsBow(option) && HoldsFocusProficiency(c, option)) f(option);
  if (IsBow(rangedWeapon) && HoldsFocusProficiency(c, rangedWeapon)) f(rangedWeapon);
}

// The natural attacks whose feats a creature may take: bite, gore, sting,
// tail slap, touch and wings always; claws and slam only with no weapon in
// either hand; fists only with no weapon in either hand and an unarmed first
// natural attack.
template <typename F>
void ForEachFocusNatural(const CreatureRecord& c, bool handsFree, F f) {
  for (const NaturalAttack& attack : c.naturalAttacks) {
    const int feat = WeaponFocusFeatOfNaturalKind(attack.kind);
    if (feat < 0) continue;
    if (attack.kind == kUnarmedAttack) {
      if (handsFree && c.naturalAttacks[0].kind == kUnarmedAttack) f(feat);
    } else if (feat == kFeatWeaponFocusClaws || feat == kFeatWeaponFocusSlam) {
      if (handsFree) f(feat);
    } else {
      f(feat);
    }
  }
}

void AddCombatCandidates(const CreatureRecord& c, int mainWeapon, int offWeapon, int rangedWeapon,
                         Candidates* out) {
  const int str = c.strength.base, dex = c.dexterity.base, intel = c.intelligence.base;
  const int bab = c.baseAttack.base, level = c.level;
  const bool handsFree = mainWeapon == 0 && offWeapon == 0;

  if (handsFree && c.naturalAttacks[0].kind == kUnarmedAttack) out->AddIfNotHeld(kFeatUnarmedStrike);
  if (str >= 13) {
    out->AddIfNotHeld(kFeatCleave);
    if (Holds(c, kFeatCleave) && bab >= 4) out->AddIfNotHeld(kFeatGreatCleave);
  }
  if (dex >= 13 && intel >= 13 && Holds(c, kFeatDodge) && Holds(c, kFeatMobility) && Holds(c, kFeatSpringAttack) &&
      bab >= 4)
    out->AddIfNotHeld(kFeatWhirlwindAttack);
  if (dex >= 15 && Holds(c, kFeatTwoWeaponFighting)) {
    if (bab >= 6) out->AddIfNotHeld(kFeatImprovedTwoWeaponFighting);
    if (bab >= 11 && Holds(c, kFeatImprovedTwoWeaponFighting)) out->AddIfNotHeld(kFeatGreaterTwoWeaponFighting);
    out->AddIfNotHeld(kFeatTwoWeaponDefence);
  }
  if (rangedWeapon != 0) {
    out->AddIfNotHeld(kFeatPointBlankShot);
    if (Holds(c, kFeatPointBlankShot)) out->AddIfNotHeld(kFeatPreciseShot);
    if (dex >= 15 && Holds(c, kFeatPointBlankShot) && Holds(c, kFeatPreciseShot) && bab >= 11)
      out->AddIfNotHeld(kFeatImprovedPreciseShot);
    if (rangedWeapon == kLightCrossbowOption) out->AddIfNotHeld(kFeatRapidReloadLight);
    if (rangedWeapon == kHeavyCrossbowOption) out->AddIfNotHeld(kFeatRapidReloadHeavy);
  }

  if (bab >= 1) {
    ForEachFocusNatural(c, handsFree, [&](int focus) { out->AddIfNotHeld(focus); });
    ForEachFocusWeapon(c, mainWeapon, offWeapon, rangedWeapon,
                       [&](int option) { out->AddIfNotHeld(WeaponFocusFeatOfOption(option)); });
  }

  // The later weapon feats build on WEAPON FOCUS (and on each other) of a
  // natural attack or a weapon in either hand.
  auto onFocusHeld = [&](int step, int needStep) {
    ForEachFocusNatural(c, handsFree, [&](int focus) {
      if (Holds(c, focus + needStep)) out->AddIfNotHeld(focus + step);
    });
    for (int option : {mainWeapon, offWeapon}) {
      if (!IsWeaponOption(option)) continue;
      const int focus = WeaponFocusFeatOfOption(option);
      if (Holds(c, focus + needStep)) out->AddIfNotHeld(focus + step);
    }
  };
  if (level >= 8) {
    // Greater weapon focus keeps the proficiency rule; bows count in the hands.
    ForEachFocusNatural(c, handsFree, [&](int focus) {
      if (Holds(c, focus)) out->AddIfNotHeld(focus + kFeatGreaterFocusStep);
    });
    for (int option : {mainWeapon, offWeapon}) {
      if (!IsWeaponOption(option) || !HoldsFocusProficiency(c, option)) continue;
      const int focus = WeaponFocusFeatOfOption(option);
      if (Holds(c, focus)) out->AddIfNotHeld(focus + kFeatGreaterFocusStep);
    }
  }
  if (level >= 4) onFocusHeld(kFeatSpecialisationStep, 0);
  if (level >= 12) onFocusHeld(kFeatGreaterSpecialisationStep, kFeatSpecialisationStep);

  if (bab >= 8) {
    ForEachFocusWeapon(c, mainWeapon, offWeapon, rangedWeapon, [&](int option) {
      out->AddIfNotHeld(WeaponFocusFeatOfOption(option) + kFeatImprovedCriticalStep);
    });
    for (const NaturalAttack& attack : c.naturalAttacks) {
      const int focus = WeaponFocusFeatOfNaturalKind(attack.kind);
      if (focus >= 0 && attack.kind != kUnarmedAttack) out->AddIfNotHeld(focus + kFeatImprovedCriticalStep);
    }
    if (Holds(c, kFeatUnarmedStrike) && handsFree) out->AddIfNotHeld(kFeatImprovedCriticalFists);
  }
}

void AddCasterCandidates(const CreatureRecord& c, Candidates* out) {
  const int bab = c.baseAttack.base;
  const bool cleric = c.creatureClass == 3, lich = c.kind == 60;
  if (bab >= 1) {
    out->AddIfNotHeld(kFeatWeaponFocusTouch);
    out->AddIfNotHeld(kFeatWeaponFocusRangedTouch);
  }
  if (bab >= 8) {
    out->AddIfNotHeld(kFeatWeaponFocusTouch + kFeatImprovedCriticalStep);
    out->AddIfNotHeld(kFeatWeaponFocusRangedTouch + kFeatImprovedCriticalStep);
  }
  if (c.creatureClass != 5) out->AddIfNotHeld(kFeatImprovedCounterspell);
  for (int feat : {kFeatMetamagicHeighten, kFeatMetamagicEmpower, kFeatMetamagicMaximise, kFeatMetamagicStill,
                   kFeatMetamagicSilent})
    out->AddIfNotHeld(feat);
  out->AddIfNotHeld(kFeatSpellPenetration);
  if (Holds(c, kFeatSpellPenetration)) out->AddIfNotHeld(kFeatGreaterSpellPenetration);
  if (cleric && (Holds(c, kFeatSpellFocusConjuration) || Holds(c, kFeatGreaterSpellFocusConjuration)))
    out->AddIfNotHeld(kFeatAugmentSummoning);

  auto addFocus = [&](int focus) {
    const int greater = focus + kFeatGreaterSpellFocusStep;
    if (!Holds(c, focus) && !Holds(c, greater)) out->AddIfNotHeld(focus);
  };
  addFocus(kFeatSpellFocusEnchantment);
  addFocus(kFeatSpellFocusNecromancy);
  addFocus(kFeatSpellFocusEvocation);
  if (!lich && !cleric) {
    addFocus(kFeatSpellFocusConjuration);
    addFocus(kFeatSpellFocusTransmutation);
  }
  auto addGreater = [&](int focus) {
    if (Holds(c, focus)) out->AddIfNotHeld(focus + kFeatGreaterSpellFocusStep);
  };
  addGreater(kFeatSpellFocusEnchantment);
  addGreater(kFeatSpellFocusNecromancy);
  addGreater(kFeatSpellFocusEvocation);
  if (!lich) {
    addGreater(kFeatSpellFocusConjuration);
    addGreater(kFeatSpellFocusTransmutation);
  }
}

}  // namespace

int WeaponFocusFeatOfOption(int option) {
  return IsWeaponOption(option) ? kFeatWeaponFocusGrapple + option : -1;
}

int WeaponFocusFeatOfNaturalKind(int kind) {
  static constexpr int kByKind[11] = {-1,
                                      kFeatWeaponFocusBite,
                                      kFeatWeaponFocusClaws,
                                      kFeatWeaponFocusFists,
                                      kFeatWeaponFocusGore,
                                      -1,
                                      kFeatWeaponFocusSlam,
                                      kFeatWeaponFocusSting,
                                      kFeatWeaponFocusTailSlap,
                                      kFeatWeaponFocusTouch,
                                      kFeatWeaponFocusWings};
  return kind >= 0 && kind <= 10 ? kByKind[kind] : -1;
}

int GrantWeaponProficiency(int option, int creature) {
  if (option < 1 || option > kLastOption || !IsValidCreature(creature)) return 1;
  const int proficiencyClass = CraftedWeapons[kFirstPreparedRow + option].proficiency;
  int feat = -1;
  switch (proficiencyClass) {
    case 1: case 2: feat = kFeatSimpleWeapons; break;
    case 3: case 4: feat = kOwnProficiency[option]; break;
    case 5: feat = kFeatLightArmour; break;
    case 6: feat = kFeatMediumArmour; break;
    case 7: feat = kFeatHeavyArmour; break;
    case 8: feat = kFeatShield; break;
    default: break;
  }
  // Only martial options have a martial feat and only the bastard sword and
  // the dwarven waraxe an exotic one.
  if (proficiencyClass == 3 && (option < 12 || option > 33)) feat = -1;
  if (proficiencyClass == 4 && option != 34 && option != 35) feat = -1;
  if (feat >= 0) Creatures[creature].feats[feat] = 1;
  return 1;
}

int PickGeneralFeat(int creature) {
  if (!IsValidCreature(creature)) return 1;
  const CreatureRecord& c = Creatures[creature];
  const int str = c.strength.base, dex = c.dexterity.base;
  Candidates candidates(c);
  if (str >= 13) candidates.AddIfNotHeld(kFeatImprovedBullRush);
  if (dex >= 13) candidates.AddIfNotHeld(kFeatImprovedGrapple);
  for (int feat : {kFeatImprovedInitiative, kFeatGreatFortitude, kFeatIronWill, kFeatLightningReflexes,
                   kFeatBlindFight})
    candidates.AddIfNotHeld(feat);
  candidates.AddRepeatable(kFeatToughness);
  if (c.protections[kProtNaturalArmour].base > 0) candidates.AddRepeatable(kFeatImprovedNaturalArmor);
  if (dex >= 13) candidates.AddIfNotHeld(kFeatDodge);
  if (dex >= 12) candidates.AddIfNotHeld(kFeatCombatReflexes);
  if (dex >= 13 && Holds(c, kFeatDodge)) candidates.AddIfNotHeld(kFeatMobility);
  if (dex >= 13 && Holds(c, kFeatDodge) && Holds(c, kFeatMobility) && c.baseAttack.base >= 4)
    candidates.AddIfNotHeld(kFeatSpringAttack);
  Grant(creature, candidates.Draw());
  return 1;
}

int PickCombatFeat(int mainWeapon, int creature, int offWeapon, int rangedWeapon) {
  if (!IsValidCreature(creature)) return 1;
  Candidates candidates(Creatures[creature]);
  AddCombatCandidates(Creatures[creature], mainWeapon, offWeapon, rangedWeapon, &candidates);
  const int feat = candidates.Draw();
  if (feat < 0) return PickGeneralFeat(creature);
  Grant(creature, feat);
  return 1;
}

int PickCasterFeat(int creature) {
  if (!IsValidCreature(creature)) return 1;
  Candidates candidates(Creatures[creature]);
  AddCasterCandidates(Creatures[creature], &candidates);
  const int feat = candidates.Draw();
  // A caster that holds every caster feat open to it takes a general feat,
  // as the combat picker does.
  if (feat < 0) return PickGeneralFeat(creature);
  Grant(creature, feat);
  return 1;
}

void SpendFeatPicks(int creature, int feats, int castingStyle, int mainWeapon, int offWeapon, int rangedWeapon) {
  if (!IsValidCreature(creature)) return;
  auto combat = [&] { PickCombatFeat(mainWeapon, creature, offWeapon, rangedWeapon); };
  auto caster = [&] { PickCasterFeat(creature); };
  while (feats > 0) {
    if (Creatures[creature].spellsLeft[0] <= 0) {
      combat();
      --feats;
    } else if (castingStyle == 1) {
      // A d2: 1 the combat feat first, 2 the caster feat first.
      const bool combatFirst = RandomUpTo(1) == 0;
      if (combatFirst) combat(); else caster();
      if (--feats > 0) {
        if (combatFirst) caster(); else combat();
        --feats;
      }
    } else {
      caster();
      --feats;
    }
    if (feats > 0) {
      PickGeneralFeat(creature);
      --feats;
    }
  }
}
