// The spell effects that change a creature's body or an item's size:
// polymorph forms, iron body, enlarging, reducing, righteous might,
// transformation and the weapon spells.
#include <cstdio>
#include <initializer_list>

#include "combat/actions/casting_checks.h"
#include "combat/actions/displacement.h"
#include "combat/actions/least_services.h"
#include "combat/resolution/log_keywords.h"
#include "combat/resolution/spell_effect_codes.h"
#include "combat/resolution/spell_effect_steps.h"
#include "combat/resolution/spell_resolution.h"
#include "creatures/weapon_size.h"
#include "engine/message_log.h"
#include "rules/creature_forms.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"

namespace spellfx {
namespace {

constexpr int kSmallestSize = 1;
constexpr int kLargestItemSize = 6;
constexpr int kMediumSize = 3;
constexpr int kTransformationEffect = 42;

// The fixed values of a polymorph form, kept with the creature kinds of the
// same names: base Strength and Dexterity, figure, size, footprint, figure
// size in pixels, natural attacks and the energy fields.
struct PolymorphForm {
  int32_t kind;
  const char* name;  // the kind's name
  int32_t strength, dexterity;
  int32_t figure;
  int32_t size;
  int32_t footprint;  // squares along each side
  int32_t pixels;     // drawn width and height
  NaturalAttack attacks[2];
  int32_t naturalArmour;
  int32_t fireResponse, coldResponse;  // immunity codes of the fire and cold categories
  bool hamperingImmune;
};

// Natural attack kinds and damage types of the creature kinds.
constexpr int32_t kBite = 1, kClaw = 2, kSlam = 6;
constexpr int32_t kBludgeoning = 1, kSlashing = 2, kPiercing = 3;

const PolymorphForm kForms[] = {
    {7, "GIANT_SPIDER", 14, 19, 207, 4, 2, 48, {{kBite, 1, 20, kPiercing, 1, 8, 0, 0, 0}, {}}, 2, 0, 0, true},
    {4, "BROWN_BEAR", 27, 13, 202, 4, 2, 48,
     {{kClaw, 2, 20, kSlashing, 1, 8, 0, 0, 0}, {kBite, 1, 20, kPiercing, 2, 6, 0, 0, 0}}, 5, 0, 0, false},
    {42, "GIANT_RAT", 6, 16, 192, 1, 1, 24, {{kBite, 1, 20, kPiercing, 1, 3, 0, 0, 0}, {}}, 1, 0, 0, false},
    {37, "FROST_GIANT", 29, 9, 204, 4, 2, 48, {{kSlam, 2, 20, kBludgeoning, 1, 8, 0, 0, 0}, {}}, 9,
     kImmunityWeakness, kImmunityImmune, false},
    {33, "FIRE_GIANT", 31, 9, 203, 4, 2, 48, {{kSlam, 2, 20, kBludgeoning, 1, 4, 0, 0, 0}, {}}, 8,
     kImmunityImmune, kImmunityWeakness, false},
};
constexpr int kFormParameterBase = 21;  // the effect's parameter less this is the form's kind

const PolymorphForm* FormOf(int32_t parameter) {
  for (const PolymorphForm& f : kForms)
    if (f.kind == parameter - kFormParameterBase) return &f;
  return nullptr;
}

void SetPair(StatPair& pair, int32_t value) { pair.base = pair.current = value; }

void TakeForm(int target, const PolymorphForm& f) {
  CreatureRecord& t = Creatures[target];
  SetPair(t.strength, f.strength);
  SetPair(t.dexterity, f.dexterity);
  t.figure = f.figure;
  // The form's base speed; the speed in use follows at the next recompute,
  // which measures the change from the speed the creature had.
  t.speed.base = 30;
  SetPair(t.size, f.size);
  SetPair(t.footprintHeight, f.footprint);
  SetPair(t.footprintWidth, f.footprint);
  SetPair(t.figureSize[0], f.pixels);
  SetPair(t.figureSize[1], f.pixels);
  for (NaturalAttack& a : t.naturalAttacks) a = NaturalAttack{};
  t.naturalAttacks[0] = f.attacks[0];
  t.naturalAttacks[1] = f.attacks[1];
  SetPair(t.protections[kProtNaturalArmour], f.naturalArmour);
  SetPair(t.protections[ImmunityPair(kImmFire)], f.fireResponse);
  SetPair(t.protections[ImmunityPair(kImmCold)], f.coldResponse);
  if (f.hamperingImmune) {
    SetPair(t.protections[ImmunityPair(kImmHampering)], kImmunityImmune);
    Take(target, kCondEntangled, kCondStuck);
  }
  for (uint32_t& code : t.equipment) code = 0;
  t.ammunition = ItemPair{};
}

void Polymorph(const Use& use) {
  const int target = use.target;
  const PolymorphForm* form = FormOf(SpellPass.parameter);
  if (!form) return;
  if (use.spell == kSpellBalefulPolymorph) {
    if (SpellPass.fixedAmount > 0 && Creatures[target].effectiveLevel > SpellPass.fixedAmount) {
      Refuse("Hit dice too high");
      return;
    }
  } else if (!NudgeOrDisplace(target, 2, 2)) {
    Say("\xA3%s\xA3 has not enough room to change form.", Name(target));
    Refuse("Not Enough Room");
    return;
  }
  if (HasCondition(target, kCondPolymorphed)) {
    Refuse("Already Has Effect");
    return;
  }
  if (!IsHumanoid(target)) {
    Refuse("Not Humanoid");
    return;
  }
  Take(target, kCondEnlarged);
  SaveNaturalForm(target);
  Give(target, kCondPolymorphed, form->kind);
  TakeForm(target, *form);
  char text[32];
  std::snprintf(text, sizeof text, "Polymorph (%s)", form->name);
  Say("\xA3%s\xA3 is polymorphed into a @%s@.", Name(target), form->name);
  Show(text, 45, form->kind);
}

void IronBody(int target) {
  Take(target, kCondReducedDamageAdamantine, kCondReducedDamageMelee);
  SaveNaturalForm(target);
  Give(target, kCondIronBody);
  Say("\xA3%s\xA3 gains the @IRON_BODY_CONDITION@.", Name(target));
  CreatureRecord& t = Creatures[target];
  for (int category : {kImmEyes, kImmEars, kImmPoison, kImmSickness, kImmStunning, kImmCriticals, kImmParalysis,
                       kImmAbilityDrain, kImmExhaustion})
    SetPair(t.protections[ImmunityPair(category)], kImmunityImmune);
  Take(target, kCondBlinded, kCondDeafened, kCondSickened, kCondStunned);
  Take(target, kCondFatigued, kCondDamagedStrength, kCondDamagedDexterity, kCondDamagedConstitution);
  Take(target, kCondDamagedWisdom, kCondDamagedIntelligence, kCondDamagedCharisma);
  Show("Iron Body");
}

// The enlarging spell's refusals: "Failure: " and the reason, shown over the target.
void EnlargeRefusal(int target, const char* reason) {
  LogMessage("Failure: %s\r", reason);
  ShowFloatingText(target, reason);
  QueueUseEvent(0, 0, target, 0);
}

void Enlarge(int target) {
  const CreatureRecord& t = Creatures[target];
  const char* reason = !IsHumanoid(target)                     ? "Not humanoid"
                       : HasCondition(target, kCondPolymorphed) ? "Polymorphed target"
                       : HasCondition(target, kCondEnlarged)    ? "Already Has Effect"
                       : t.size.base != kMediumSize             ? "Not Medium Size"
                       : t.size.current >= 4                    ? "Too big"
                                                                : nullptr;
  if (reason) {
    EnlargeRefusal(target, reason);
    return;
  }
  if (Take(target, kCondReduced)) {
    EnlargeCarriedItems(target);
    Say("\xA3%s\xA3 loses the @REDUCED@ condition.", Name(target));
    Show("Reduce Canceled", 46);
    return;
  }
  NudgeOrDisplace(target, 2 * t.footprintWidth.base, 2 * t.footprintHeight.base);
  Give(target, kCondEnlarged);
  Say("\xA3%s\xA3 becomes @ENLARGED@.", Name(target));
  Show("Enlarged");
}

void Reduce(int target, bool humanoidsOnly) {
  if (humanoidsOnly && !IsHumanoid(target)) {
    Refuse("Not humanoid");
    return;
  }
  if (Take(target, kCondEnlarged)) {
    Say("\xA3%s\xA3 loses the @ENLARGED@ condition.", Name(target));
    Show("Enlarge Canceled", 46);
    return;
  }
  if (Creatures[target].size.current <= kSmallestSize || HasCondition(target, kCondReduced)) {
    Say("\xA3%s\xA3 is too small to be reduced.", Name(target));
    Refuse("Too small");
    return;
  }
  Give(target, kCondReduced);
  ReduceCarriedItems(target);
  Say("\xA3%s\xA3 becomes @REDUCED@.", Name(target));
  Show("Reduced");
}

void RighteousMight(int target) {
  const CreatureRecord& t = Creatures[target];
  if (HasCondition(target, kCondPolymorphed)) {
    Refuse("Polymorphed");
    return;
  }
  if (HasCondition(target, kCondEnlarged) || HasCondition(target, kCondRighteousMight)) {
    Refuse("Enlarged");
    return;
  }
  if (t.size.base != kMediumSize) {
    Refuse("Not Medium Size");
    return;
  }
  if (!NudgeOrDisplace(target, 2 * t.footprintWidth.base, 2 * t.footprintHeight.base)) {
    Say("\xA3%s\xA3 has not enough room to expand.", Name(target));
    Refuse("Not Enough Room");
    return;
  }
  Give(target, kCondRighteousMight);
  EnlargeCarriedItems(target);
  Say("\xA3%s\xA3 benefits from @RIGHTEOUS_MIGHT@.", Name(target));
  Show("Righteous Might");
}

void Transformation(int target) {
  if (HasCondition(target, kCondTransformation)) {
    Refuse("Already Has Effect");
    return;
  }
  if (HasCondition(target, kCondPolymorphed)) {
    Refuse("Target Polymorphed");
    return;
  }
  Give(target, kCondTransformation);
  StartCreatureEffect(kTransformationEffect, target, 0);
  Say("\xA3%s\xA3 gains the @TRANSFORMED@ condition.", Name(target));
  ShowFloatingText(target, "Transformation");
  PlaySpellSound(2);
}

// The weapon spells work on the item chosen in the item picker.
void ResizeItem(int target, bool enlarge) {
  const int32_t code = ChosenItem;
  if (!IsCraftedCode(static_cast<uint32_t>(code))) {
    Refuse("No effect");
    return;
  }
  CraftedWeaponRecord& item = CraftedWeapons[code];
  if (enlarge && item.size >= kLargestItemSize) {
    Refuse("Failed - Maximum Size");
    return;
  }
  if (!enlarge && item.size <= kSmallestSize) {
    Refuse("Failed - Minimum Size");
    return;
  }
  if (enlarge) EnlargeWeaponSize(code);
  else ReduceWeaponSize(code);
  Say(enlarge ? "\xA3%s\xA3 increases in size." : "\xA3%s\xA3 decreases in size.", item.name);
  ShowFloatingText(target, enlarge ? "Item enlarged" : "Item reduced");
  QueueUseEvent(45, 0, target, 0);
  PlaySpellSound(2);
}

}  // namespace

bool ApplyFormEffect(int32_t code) {
  const Use use = Current();
  switch (code) {
    case kFxPolymorph: Polymorph(use); return true;
    case kFxIronBody: IronBody(use.target); return true;
    case kFxEnlarge: Enlarge(use.target); return true;
    case kFxReduce: Reduce(use.target, false); return true;
    case kFxReduceHumanoid: Reduce(use.target, true); return true;
    case kFxRighteousMight: RighteousMight(use.target); return true;
    case kFxTransformation: Transformation(use.target); return true;
    case kFxEnlargeItem: ResizeItem(use.target, true); return true;
    case kFxReduceItem: ResizeItem(use.target, false); return true;
    default: return false;
  }
}

}  // namespace spellfx

void AddFormLogKeywords(std::vector<LogKeyword>* out) {
  for (const spellfx::PolymorphForm& f : spellfx::kForms)
    out->push_back({std::string("@") + f.name + "@", "src/combat/resolution/spell_effects_forms.cpp"});
}
