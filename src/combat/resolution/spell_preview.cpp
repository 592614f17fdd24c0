#include "combat/resolution/spell_preview.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "combat/actions/casting_checks.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/spell_resolution.h"
#include "combat/turns/spell_usefulness.h"
#include "engine/reset_words.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/item_tables.h"
#include "state/combat_action.h"
#include "state/inventory_state.h"

int32_t SpellPreviewValues[kCreatureCount];

namespace {

// Spell rows the preview names.
enum PreviewSpellId : int {
  kSleep = 3,
  kGlitterdust = 17,
  kDeepSlumber = 28,
  kSlow = 37,
  kConfusion = 43,
  kWallOfFire = 49,
  kFeeblemind = 58,
  kMassMute = 65,
  kFreezingSphere = 69,
  kCircleOfDeath = 70,
  kUndeathToDeath = 71,
  kMassHoldPerson = 77,
  kDominateUndead = 80,
  kVampiricBlast = 84,
  kDehydrate = 92,
  kMassHoldMonster = 98,
  kSoundBurst = 130,
  kSearingLight = 138,
  kPoison = 148,
  kHarm = 161,
  kHeal = 162,
};

constexpr int kDamagingSpells[] = {4,   6,   11,  14,  18,  23,  31,  32,  35,  49,  60,  69,  82,
                                   84,  90,  92,  101, 107, 109, 119, 120, 133, 134, 144, 145, 161,
                                   162, 138, 153, 155, 163, 164, 165, 166, 169, 170, 172, 173, 171};
constexpr int kChanceSpells[] = {3,  8,  10, 16, 17, 20, 21, 22, 24,  27,  28,  30,  34,  37,  38,  39,  40,  42,  43,
                                 44, 48, 51, 54, 57, 58, 59, 61, 62,  65,  70,  71,  72,  73,  76,  77,  78,  79,  80,
                                 81, 83, 87, 88, 89, 91, 94, 95, 97, 98, 99, 100, 104, 130, 137, 148, 158, 998};

constexpr int kConstructType = 2;
constexpr int kHumanoidType = 5;
constexpr int kUndeadType = 8;
constexpr int kFireEnergy = 3;  // the effect code of fire damage
constexpr int kWebKind = kEffectWeb;
constexpr int kEarsCode = 54;        // deafness
constexpr int kDrenchingKind = 88;  // the creature kind freezing and drying hurt with d8 dice

template <size_t N>
bool Listed(const int (&ids)[N], int spell) {
  return std::find(std::begin(ids), std::end(ids), spell) != std::end(ids);
}

bool IsUndead(int c) { return Creatures[c].type == kUndeadType; }

// The creature's response value to a protection code; 0 for no code.
int Response(int creature, int code) {
  if (code == 0) return 0;
  if (code == kCodeReadFromPair) return Creatures[creature].protections[kCodeReadFromPair].current;
  return GetProtectionValue(creature, code);
}

// The protection code of a spell's energy descriptor, 0 none.
int DescriptorCode(int descriptor) {
  switch (descriptor) {
    case 3: return 32;
    case 2: return 33;
    case 9: return 34;
    case 5: return 35;
    case 6: return 36;
    case 8: return 37;
    default: return 0;
  }
}

// The creature's resistance to the energy of the amount's effect code (as
// the resolution lowers it), 0 when none applies.
int32_t EnergyResistance(int creature, int32_t effectCode) {
  int pair = -1;
  int32_t source = 0;
  ResistanceOf(effectCode, &pair, &source);
  return pair < 0 ? 0 : Creatures[creature].protections[pair].current;
}

// How the spell's dice come out at caster level L: a count of dice and a
// bonus, or a flat amount without dice.
struct DamageDice {
  int count = 0;
  int sides = 0;
  int bonus = 0;
  bool flat = false;
  int amount = 0;
};

DamageDice DiceOf(int sides, int code, int level) {
  DamageDice d;
  d.sides = sides;
  if (sides >= 1 && sides <= 30) {
    if (code <= 20) {
      d.count = std::max(code, 0);
    } else if (code == 21) {
      d.count = level;
    } else if (code == 22) {
      d.count = 2 * level;
    } else if (code <= 27) {
      d.count = code - 22;
      d.bonus = level;
    } else if (code <= 32) {
      d.count = code - 27;
      d.bonus = 2 * level;
    } else if (code == 33) {
      d.count = level / 2;
    } else if (code == 34) {
      d.count = 1;
      d.bonus = level / 2;
    } else if (code <= 50) {
      d.count = std::min(level, code - 30);
    } else if (code <= 56) {
      d.count = std::min(level / 2, code - 46);
    }
  } else if (sides > 30) {
    d.flat = true;
    switch (code) {
      case 46: d.amount = level; break;
      case 47: d.amount = 2 * level; break;
      case 48: d.amount = level / 2; break;
      case 49: d.amount = level / 3; break;
      case 50: d.amount = level / 4; break;
      case 51: d.amount = level / 5; break;
      case 52: d.amount = level / 6; break;
      case 53: d.amount = 10 * level; break;
      default: break;
    }
  }
  return d;
}

// The expected amount of the dice under the pending metamagic.
int ExpectedAmount(const DamageDice& d) {
  int amount;
  if (d.flat) {
    amount = d.amount;
  } else if (PendingMetamagic == kMetamagicMaximised) {
    return d.count * d.sides + d.bonus;
  } else {
    amount = static_cast<int>(d.count * ((d.sides + 1) * 0.5)) + (d.bonus > 0 ? d.bonus : 0);
  }
  if (PendingMetamagic == kMetamagicEmpowered) amount += amount / 2;
  return amount;
}

// The expected damage of the spell on one creature (or -1, -2).
int32_t ExpectedDamage(int spell, int creature, int level, bool burningWeb) {
  const SpellRecord& row = SpellTable[spell];
  // The weakness adjustment in percent: 50, 100 or -50.
  int adjust = 0;
  switch (Response(creature, row.immunity1)) {
    case kImmunityImmune: return kPreviewUnaffected;
    case kImmunityWeakness: adjust = 50; break;
    case kImmunitySeriousWeakness: adjust = 100; break;
    case kImmunityResistance: adjust = -50; break;
    case kImmunityReverse: return spell == kVampiricBlast ? kPreviewUnaffected : kPreviewHealed;
    default: break;
  }
  for (int code : {row.immunity2, DescriptorCode(row.descriptor)}) {
    switch (Response(creature, code)) {
      case kImmunityImmune: return kPreviewUnaffected;
      case kImmunityWeakness: adjust = std::max(adjust, 50); break;
      case kImmunitySeriousWeakness: adjust = 100; break;
      case kImmunityResistance:
        if (adjust == 0) adjust = -50;
        break;
      case kImmunityReverse: return kPreviewHealed;
      default: break;
    }
  }

  const CreatureRecord& c = Creatures[creature];
  DamageDice dice = DiceOf(row.effects[0].amountSides, row.effects[0].amountCount, level);
  if (spell == kSearingLight) {
    dice = {};
    if (IsUndead(creature)) {
      dice.count = std::min<int>(CurrentCasterLevel(), 10);
      dice.sides = 6;
    } else {
      dice.count = std::min(level / 2, 5);
      dice.sides = c.type == kConstructType ? 6 : 8;
    }
  }
  if ((spell == kFreezingSphere || spell == kDehydrate) && c.kind == kDrenchingKind) dice.sides = 8;
  int amount = ExpectedAmount(dice);
  if (spell == kHarm || spell == kHeal) amount = std::min(amount, 150);

  if (burningWeb) amount += 5;
  if (adjust == 50) amount += amount / 2;
  if (adjust == 100) amount *= 2;
  if (adjust == -50) amount -= amount / 2;
  if (spell == kWallOfFire && IsUndead(creature)) amount += 4;

  const int32_t resistance = EnergyResistance(creature, row.effects[0].code);
  if (resistance > 0) amount -= std::min(resistance, amount);
  return amount;
}

// Whether the spell cannot work on the creature at all (-1), or only its
// damage works (0 for a sound burst on a creature that cannot be deafened).
bool SpellCannotWork(int spell, int caster, int creature) {
  const SpellRecord& row = SpellTable[spell];
  const CreatureRecord& c = Creatures[creature];
  const int levels = c.effectiveLevel;
  auto has = [creature](uint32_t id) { return FindCondition(creature, id) >= 0; };
  if (row.targeting == 3 && !CanCastOnTarget(caster, creature, spell, 1)) return true;
  switch (spell) {
    case kSleep: return has(kCondSleeping) || has(kCondDancing) || levels > 4;
    case kDeepSlumber: return has(kCondSleeping) || has(kCondDancing) || levels > 10;
    case kConfusion: return has(kCondConfused) || has(kCondInsane);
    case kGlitterdust: return has(kCondBlinded) && !has(kCondInvisible) && !has(kCondGreaterInvisibility);
    case kSlow: return has(kCondSlowed);
    case kMassMute: return has(kCondMute);
    case kCircleOfDeath: return IsUndead(creature) || c.type == kConstructType || levels >= 9;
    case kUndeathToDeath: return !IsUndead(creature) || levels >= 9;
    case kDominateUndead:
      return !IsUndead(creature) || has(kCondProtectedVersusEvil) || has(kCondProtectedVersusGood);
    case kMassHoldPerson: return c.type != kHumanoidType || has(kCondParalyzed);
    case kMassHoldMonster: return IsUndead(creature) || c.type == kConstructType || has(kCondParalyzed);
    default: break;
  }
  return Response(creature, row.immunity1) == kImmunityImmune || Response(creature, row.immunity2) == kImmunityImmune ||
         Response(creature, DescriptorCode(row.descriptor)) == kImmunityImmune;
}

// The chance in percent that the spell's resistance check lets it through.
int ResistanceChance(int spell, int caster, int creature) {
  if (spell < 0 || spell >= kSpellRows) return 100;
  const SpellRecord& row = SpellTable[spell];
  const int32_t resistance = Creatures[creature].protections[kProtSpellResistance].current;
  if ((row.effects[0].spellResist == 0 && row.effects[1].spellResist == 0) || resistance == 0) return 100;
  const CreatureRecord& k = Creatures[caster];
  const int penetration = BaseCasterLevel(caster) + (k.feats[kFeatSpellPenetration] != 0 ? 2 : 0) +
                          (k.feats[kFeatGreaterSpellPenetration] != 0 ? 2 : 0);
  const int d = resistance - penetration;
  return d <= 1 ? 100 : d >= 21 ? 0 : 105 - 5 * d;
}

enum SaveKind { kNoSave, kFortitude, kWillpower, kReflex };

SaveKind SaveKindOf(int spell) {
  if (spell == kSpellTurnUndead) return kWillpower;
  if (spell < 0 || spell >= kSpellRows) return kNoSave;
  const SpellRecord& row = SpellTable[spell];
  const int32_t type = row.effects[0].save != 0 ? row.effects[0].save : row.effects[1].save;
  switch (type) {
    case 1:
    case 4: return kFortitude;
    case 2:
    case 5: return kWillpower;
    case 3:
    case 6: return kReflex;
    default: return kNoSave;
  }
}

int SaveDC(int spell, int caster) {
  const CreatureRecord& k = Creatures[caster];
  if (spell == kSpellTurnUndead) return 10 + AbilityModifier(k.charisma.current) + CurrentCasterLevel() / 2;
  if (spell < 0 || spell >= kSpellRows) return 10;
  const SpellRecord& row = SpellTable[spell];
  const int ability = AbilityModifier(row.divine == 1 ? k.wisdom.current : k.intelligence.current);
  if (spell == kPoison) return 10 + CurrentCasterLevel() / 2 + ability;
  return 10 + row.level + (PendingMetamagic == kMetamagicHeightened ? 1 : 0) + ability + SpellFocusBonus(row.school);
}

int SaveBonus(int spell, int caster, int creature, SaveKind kind) {
  const CreatureRecord& c = Creatures[creature];
  int bonus = 0;
  switch (kind) {
    case kFortitude: bonus = c.fortitude.current + AbilityModifier(c.constitution.current); break;
    case kReflex: bonus = c.reflex.current + AbilityModifier(c.dexterity.current); break;
    case kWillpower:
      bonus = c.willpower.current + AbilityModifier(c.wisdom.current);
      if (spell == kFeeblemind && (c.creatureClass == 4 || c.creatureClass == 5)) bonus -= 4;
      break;
    case kNoSave: break;
  }
  const int32_t alignment = Creatures[caster].alignment;
  if (alignment == 3 || alignment == 6 || alignment == 9) bonus += ConditionValue(creature, kCondProtectedVersusEvil);
  if (alignment == 1 || alignment == 4 || alignment == 7) bonus += ConditionValue(creature, kCondProtectedVersusGood);
  return bonus;
}

int32_t ChanceOfEffect(int spell, int caster, int creature) {
  const bool turnUndead = spell == kSpellTurnUndead;
  const bool inTable = spell >= 0 && spell < kSpellRows;
  if (inTable) {
    if (SpellCannotWork(spell, caster, creature)) return kPreviewUnaffected;
    if (spell == kSoundBurst && Response(creature, kEarsCode) == kImmunityImmune) return 0;
  }
  // Harmless: Turn Undead on the undead of the turner's side (it bolsters
  // them, no save), a spell for enemies on a creature that is none. An
  // undead foe saves against the turning, so its chance comes from the save.
  const bool harmless = turnUndead ? !AreEnemies(caster, creature)
                                   : inTable && SpellTable[spell].targeting == 1 && !AreEnemies(creature, caster);
  if (harmless) return 100;

  const int resist = ResistanceChance(spell, caster, creature);
  const SaveKind kind = SaveKindOf(spell);
  if (kind == kNoSave && inTable) return resist;
  const int save = (!inTable && !turnUndead) ? 0 : SaveBonus(spell, caster, creature, kind);
  const int d = SaveDC(spell, caster) - save;
  const int fail = d <= 2 ? 5 : d >= 20 ? 95 : 5 * (d - 1);
  return fail * resist / 100;
}

template <typename Value>
void FillForListedCreatures(Value value) {
  for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
    const int c = AreaTargetList[i];
    if (IsValidCreature(c)) SpellPreviewValues[c] = value(c);
  }
}

}  // namespace

int PreviewSpellArea() {
  const int spell = CurrentSpell;
  if (!Listed(kDamagingSpells, spell)) return 0;
  std::memset(SpellPreviewValues, 0, sizeof SpellPreviewValues);
  const int caster = ActingCreature;
  if (!IsValidCreature(caster)) return 1;
  const int level = BaseCasterLevel(caster);

  // Fire burns the webs it covers: the creatures held in them take 5 more.
  // A fire spell is one whose effect is fire damage (the descriptor word
  // names charms and compulsions, not energies).
  static uint8_t burning[kCreatureCount];
  std::memset(burning, 0, sizeof burning);
  const SpellRecord& row = SpellTable[spell];
  if (row.effects[0].code == kFireEnergy || row.effects[1].code == kFireEnergy) {
    for (int x = 0; x < kMapSide; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        const int sq = SquareIndex(x, y);
        if (!AreaMask[sq] || MagicAreaGrid[sq].kind != static_cast<uint32_t>(kWebKind)) continue;
        const int c = CreatureAtSquare(x, y, -1);
        if (IsValidCreature(c)) burning[c] = 1;
      }
  }
  FillForListedCreatures([&](int c) { return ExpectedDamage(spell, c, level, burning[c] != 0); });
  return 1;
}

int BuildSpellAreaGrid() {
  const int spell = CurrentSpell;
  if (!Listed(kChanceSpells, spell)) return 0;
  std::memset(SpellPreviewValues, 0, sizeof SpellPreviewValues);
  const int caster = ActingCreature;
  if (!IsValidCreature(caster)) return 1;
  FillForListedCreatures([&](int c) { return ChanceOfEffect(spell, caster, c); });
  return 1;
}

void ResetSpellPreviewState() {
  ResetWords(SpellPreviewValues);
}
