// The amount pipeline of a pass: the roll, the effect list with its
// metamagic, critical, save, web and response terms, energy resistance, and
// the hit points, ability points or armour it changes.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "combat/actions/casting_checks.h"
#include "combat/actions/least_services.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/log_keywords.h"
#include "combat/resolution/special_attacks.h"
#include "combat/resolution/spell_resolution.h"
#include "engine/message_log.h"
#include "map/fighter_tests.h"
#include "map/square_grids.h"
#include "rules/breakdown_sources.h"
#include "rules/combat_roll_log.h"
#include "rules/conditions.h"
#include "rules/creature_forms.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/item_tables.h"
#include "rules/modifier_list.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/turn_order.h"

namespace {

constexpr int32_t kSrcSuccessfulSave = 636;
constexpr int32_t kSrcCriticalHit = 653;
constexpr int32_t kSrcFlamingWebs = 656;
constexpr int32_t kSrcSpellCannotKill = 662;

bool SpellRow(int spell) { return spell >= 0 && spell < kSpellRows; }
bool IsUndead(int creature) { return Creatures[creature].type == 8; }
bool IsConstruct(int creature) { return Creatures[creature].type == 2; }

// The event of the pass over its target.
void TargetEvent(int32_t type, int32_t value) { QueueUseEvent(type, value, SpellPass.target, SpellSoundId(3)); }

// The refusal of a pass whose amount came to nothing.
void Nothing(const char* line, const char* floating) {
  LogMessage("%s", line);
  ShowFloatingText(SpellPass.target, floating);
  TargetEvent(0, 0);
}

struct DamageKind {
  const char* name;
  int32_t eventType;
};

DamageKind DamageKindOf(int32_t code) {
  switch (code) {
    case 3: case 117: return {"fire", 4};
    case 4: return {"cold", 5};
    case 5: case 14: return {"acid", 7};
    case 6: return {"shock", 6};
    case 7: return {"sonic", 8};
    case 8: return {"force", 11};
    case 9: case 111: case 112: case 113: case 133: return {"negative_energy", 10};
    case 10: return {"positive energy", 1};
    case 13: return {"bludgeoning", 1};
    default: return {"physical", 1};
  }
}

// The spell's own dice rules before the roll; false when the pass is refused.
bool AdjustDice(int spell, int target) {
  int32_t& sides = SpellPass.diceSides;
  int32_t& count = SpellPass.diceCount;
  int32_t& bonus = SpellPass.diceBonus;
  const int32_t level = SpellPass.casterLevel;
  switch (spell) {
    case 5: sides = 4; count = 1; bonus = 1; break;
    case 7: case 107: case 109: bonus = std::min(bonus, 5); break;
    case 119: case 120: bonus = std::min(bonus, 10); break;
    case 133: case 134: bonus = std::min(bonus, 15); break;
    case 69: case 92: if (Creatures[target].kind == 88) sides = 8; break;
    case 106: if (IsUndead(target)) count = 2; break;
    case 72: if (SpellPass.saveMade == 1) count = 5; break;
    case 138:
      if (IsUndead(target)) { sides = 6; count = std::min(level, 10); }
      else if (IsConstruct(target)) { sides = 6; count = std::min(level / 2, 5); }
      else { sides = 8; count = std::min(level / 2, 5); }
      break;
    case 146: sides = 0; count = 0; SpellPass.fixedAmount = 1; break;
    case 148:
      if (IsUndead(target) || IsConstruct(target)) {
        ReportSpellFailure("Wrong Type", target);
        return false;
      }
      break;
    default: break;
  }
  return true;
}

int32_t RollAmount(int caster, int spell) {
  if (spell == 161 || SpellPass.diceSides <= 0 || SpellPass.diceCount <= 0)
    return SpellPass.diceSides <= 0 || spell == 161 ? SpellPass.fixedAmount : SpellPass.diceBonus;
  if (PendingMetamagic == kMetamagicMaximised && SpellRow(spell))
    return SpellPass.diceCount * SpellPass.diceSides + SpellPass.diceBonus;
  ModifierList roll;
  std::snprintf(roll.caption, sizeof roll.caption, "Spell Effect Roll");
  ModifierList* previous = DiceRollList;
  DiceRollList = &roll;
  RollDice(SpellPass.diceSides, SpellPass.diceCount, 0, 0);
  DiceRollList = previous;
  if (SpellPass.diceBonus != 0) AddModifier(SpellPass.diceBonus, &roll, kSrcAdditionalPoints);
  const int index = StoreCombatRoll(roll);
  LogMessage("\xA3%s\xA3 rolls @%i|%.2i@ Points.\r", Creatures[caster].name, roll.total, index);
  return roll.total;
}

void FreeFromBurntWeb(int target) {
  WebBurnList[target] = 0;
  if (!IsInMagicArea(target, kEffectWeb) && HasCondition(target, kCondStuck)) {
    RemoveCondition(target, kCondStuck);
    LogMessage("\xA3%s\xA3 is freed from the web.\r", Creatures[target].name);
  }
  if (!IsInMagicArea(target, kEffectEntangle) && RemoveCondition(target, kCondEntangled) > 0)
    RecomputeCreature(target, 0);
}

// A creature with a natural attack of the metal material takes corrosion.
bool IsMetalCreature(int target) {
  for (const NaturalAttack& n : Creatures[target].naturalAttacks)
    if (n.kind != 0 && n.effectKind == 19) return true;
  return false;
}

void Heal(int caster, int spell, int target, ModifierList& list, int index) {
  CreatureRecord& t = Creatures[target];
  const int32_t missing = t.maxHitPoints - t.hitPoints;
  if (missing <= 0) {
    LogMessage("\xA3%s\xA3 already has full @HIT_POINTS@.\r", t.name);
    ShowFloatingText(target, spell == 162 || spell == 172 ? "Heal" : "Not wounded");
    if (spell == 162 || spell == 172) CureAfflictions(target);
    TargetEvent(41, 0);
    return;
  }
  int32_t amount = list.total;
  if (amount > missing) {
    AddModifier(missing - amount, &list, kSrcCantExceedMaximumHp);
    amount = missing;
  }
  index = StoreCombatRoll(list);
  if (spell == 162 || spell == 172) {
    ShowFloatingText(target, "Heal");
    CureAfflictions(target);
  }
  LogMessage("\xA3%s\xA3 gains @%i|%.2i@ hit points.\r", t.name, amount, index);
  switch (spell) {
    case 107: case 119: case 133: case 144: case 153: case 163: case 165: case 169:
      RemoveCondition(target, kCondBleeding);
      break;
    default: break;
  }
  t.hitPoints += amount;
  if (InCombat == 1 && HasCondition(target, 109) && t.hitPoints > 0) {
    RemoveCondition(target, 109);
    const CreatureRecord& c = Creatures[caster];
    t.squareX = t.nextX = c.squareX;
    t.squareY = t.nextY = c.squareY;
    t.pixelX = c.squareX * kSquarePixels;
    t.pixelY = c.squareY * kSquarePixels;
    InsertCombatantAfterCurrent(target, 0);
    FaceTowardsCreature(target, caster);
  }
  TargetEvent(41, amount);
}

// The abilities a spell's effect codes 110 to 113 damage.
struct DamagedAbility {
  uint32_t condition;
  const char* keyword;
  const char* minimum;
};
constexpr DamagedAbility kDamagedAbilities[4] = {{63, "CONSTITUTION", "Minimum Constitution"},
                                                 {65, "INTELLIGENCE", "Minimum Intelligence"},
                                                 {61, "STRENGTH", "Minimum Strength"},
                                                 {64, "WISDOM", "Minimum Wisdom"}};

void AbilityDamage(int target, int32_t code, int32_t amount, int index) {
  const DamagedAbility& a = kDamagedAbilities[code - 110];
  const CreatureRecord& t = Creatures[target];
  const int32_t score = code == 110 ? t.constitution.current : code == 111 ? t.intelligence.current
                        : code == 112 ? t.strength.current : t.wisdom.current;
  if (score <= 0) {
    ReportSpellFailure(a.minimum, target);
    return;
  }
  AddCondition(target, a.condition, SpellPass.duration > 0 ? SpellPass.duration : 2000, amount, kSourceSpell, 0);
  LogMessage("\xA3%s\xA3 loses @%i|%.2i@ @%s@ points.\r", t.name, amount, index, a.keyword);
  TargetEvent(1, amount);
}

void CorrodeArmour(int target, int32_t amount, int index) {
  CreatureRecord& t = Creatures[target];
  const uint32_t code = t.equipment[kSlotTorso - 1];
  if (!IsCraftedCode(code) || CraftedWeapons[code].itemType < 38) {
    LogMessage("\xA3%s\xA3 - no armor worn.\r", t.name);
    TargetEvent(0, 0);
    return;
  }
  CraftedWeaponRecord& armour = CraftedWeapons[code];
  if (armour.material != 6) {
    LogMessage("\xA3%s\xA3 - not steel armor.\r", t.name);
    TargetEvent(0, 0);
    return;
  }
  if (armour.enhancement != 0) {
    LogMessage("\xA3%s\xA3 - armor must be non-magic.\r", t.name);
    TargetEvent(0, 0);
    return;
  }
  armour.dieSides -= amount;
  LogMessage("\xA3%s\xA3's armor loses @%i|%.2i@ points of @ARMOR_CLASS@.\r", t.name, amount, index);
  if (armour.dieSides <= 0) {
    LogMessage("The armor is destroyed.\r");
    std::memset(&armour, 0, sizeof armour);
    t.equipment[kSlotTorso - 1] = 0;
  }
  TargetEvent(1, amount);
}

// The fallen target leaves the battle, its fall event after the events written.
void TakeOutFallen(int target) {
  RemoveFromCombat(target, FallEventEntry());
}

// Negative levels down to none left, or a Constitution lost to nothing, kill
// once the target is recomputed: it falls then, as a slain one does.
void FallIfDrainedToDeath(int target) {
  RecomputeCreature(target, 0);
  if (HasCondition(target, kCondDead)) TakeOutFallen(target);
}

void Damage(int caster, int spell, int target, int32_t code, ModifierList& list) {
  CreatureRecord& t = Creatures[target];
  int32_t amount = list.total;
  if ((spell == 161 || spell == 162 || spell == 172 || spell == 173) && amount >= t.hitPoints) {
    AddModifier(t.hitPoints - 1 - amount, &list, kSrcSpellCannotKill);
    amount = std::max(t.hitPoints - 1, 0);
  }
  const int index = StoreCombatRoll(list);
  const DamageKind kind = DamageKindOf(code);
  t.hitPoints -= amount;
  LogMessage("\xA3%s\xA3 loses @%i|%.2i@ @HP@ (\xA3%s\xA3).\r", t.name, amount, index, kind.name);
  MarkCasterDamaged(target, amount);
  TargetEvent(kind.eventType, amount);
  if (spell == 35 || spell == 84) {
    CreatureRecord& c = Creatures[caster];
    c.hitPoints += amount;
    ShowFloatingText(caster, "HP Leeched");
    LogMessage("\xA3%s\xA3 gains \xA3%i\xA3 hit points.\r", c.name, amount);
  }
  if (t.hitPoints <= 0) TakeOutFallen(target);
}

}  // namespace

void AddSpellAbilityLogKeywords(std::vector<LogKeyword>* out) {
  for (const DamagedAbility& a : kDamagedAbilities)
    out->push_back({std::string("@") + a.keyword + "@", "src/combat/resolution/spell_amounts.cpp"});
}

void ResistanceOf(int32_t code, int* pair, int32_t* source) {
  *pair = -1;
  switch (code) {
    case 3: case 117: *pair = kProtResistFire; *source = 643; break;
    case 4: *pair = kProtResistCold; *source = 644; break;
    case 5: *pair = kProtResistAcid; *source = 647; break;
    case 6: *pair = kProtResistElectricity; *source = 646; break;
    case 7: *pair = kProtResistSonic; *source = 645; break;
    case 8: *pair = kProtResistForce; *source = 263; break;
    case 10: *pair = kProtResistPositive; *source = 261; break;
    case 9: *pair = kProtResistNegative; *source = 262; break;
    default: break;
  }
}

void ApplySpellAmount() {
  const int caster = SpellCaster, spell = SpellInProgress, target = SpellPass.target;
  if (!IsValidCreature(caster) || !IsValidCreature(target)) return;
  const int32_t code = SpellPass.effectCode;
  if (!AdjustDice(spell, target)) return;
  const int32_t rolled = RollAmount(caster, spell);

  ModifierList list;
  if (spell == kSpellSpecialAttack)
    std::snprintf(list.caption, sizeof list.caption, "%s",
                  SpecialAttackKindOf(caster) == 23 ? "Effect : Gaze Attack" : "Effect : Breath Weapon");
  else if (SpellRow(spell))
    std::snprintf(list.caption, sizeof list.caption, "Effect : %s", SpellTable[spell].name);
  AddModifier(rolled, &list, kSrcDiceRoll);
  if (PendingMetamagic == kMetamagicEmpowered && SpellRow(spell)) AddModifier(rolled / 2, &list, kSrcMetamagicEmpower);
  if (SpellPass.critical == 1) AddModifier(list.total, &list, kSrcCriticalHit);
  const bool lowLevelSlay = spell == 54 && Creatures[target].effectiveLevel <= 3;
  if (SpellPass.saveMade == 1 && spell != 72 && !lowLevelSlay) {
    // The save keeps half, rounded down: a halved 1 leaves nothing.
    AddModifier(-(list.total - list.total / 2), &list, kSrcSuccessfulSave);
    if (list.total <= 0) {
      Nothing("Saving throw reduced effect to zero.\r", "Saved - no effect");
      return;
    }
  }
  if (WebBurnList[target] == 1) {
    ModifierList* previous = DiceRollList;
    DiceRollList = nullptr;
    AddModifier(RollDice(4, 2, 0, 0), &list, kSrcFlamingWebs);
    DiceRollList = previous;
    FreeFromBurntWeb(target);
  }
  if (code == 117 && IsUndead(target)) AddModifier(RollDice(8, 1, 0, 0), &list, kSrcExtraDamageToUndead);
  if (SpellPass.protection >= 2 && SpellPass.protection <= 4) {
    const int32_t base = 5 * SpellPass.protectionCode;
    if (SpellPass.protection == 2) AddModifier(list.total / 2, &list, base + 267);
    else if (SpellPass.protection == 3) AddModifier(list.total, &list, base + 268);
    // Halved as a save halves: the smaller half is kept, so 1 leaves nothing.
    else AddModifier(-(list.total - list.total / 2), &list, base + 269);
    if (list.total <= 0) {
      Nothing("Racial resistance reduced effect to zero.\r", "Resisted");
      return;
    }
  }

  int pair = -1;
  int32_t source = 0;
  ResistanceOf(code, &pair, &source);
  const CreatureRecord& t = Creatures[target];
  if (code == 13 && t.protections[kProtDamageReductionKind].current != 5) {
    pair = kProtDamageReduction;
    source = 241 + t.protections[kProtDamageReductionKind].current;
  }
  if (pair >= 0 && t.protections[pair].current > 0) {
    AddModifier(-std::min(t.protections[pair].current, list.total), &list, source);
    if (list.total <= 0) {
      Nothing(code == 13 ? "Damage reduction reduced effect to zero.\r" : "Resistance reduced effect to zero.\r",
              "Absorbed");
      return;
    }
  }
  if (code == 14 && !IsMetalCreature(target)) {
    LogMessage("\xA3%s\xA3 is not a metal creature and therefore does not take corrosion damage.\r", t.name);
    if (spell != 63) ShowFloatingText(target, "Not metal creature");
    TargetEvent(0, 0);
    return;
  }

  SpellPass.amount = list.total;
  CreatureRecord& victim = Creatures[target];
  switch (code) {
    case 1:
      Heal(caster, spell, target, list, 0);
      return;
    case 130: {
      const int index = StoreCombatRoll(list);
      victim.hitPoints += list.total;
      LogMessage("\xA3%s\xA3 gains @%i|%.2i@ hit points.\r", victim.name, list.total, index);
      TargetEvent(41, list.total);
      return;
    }
    case 58: {
      if (HasCondition(target, 56)) {
        ReportSpellFailure("STR already enhanced", target);
        return;
      }
      if (HasCondition(target, 114)) {
        ReportSpellFailure("Target Is Transformed", target);
        return;
      }
      const int index = StoreCombatRoll(list);
      AddCondition(target, 56, SpellPass.duration, list.total, kSourceSpell, 0);
      // The Strength counts at once: one that was paralysed at 0 is free.
      RecomputeCreature(target, 0);
      LogMessage("\xA3%s\xA3: strength increase @%i|%.2i@.\r", victim.name, list.total, index);
      TargetEvent(45, list.total);
      return;
    }
    case 77: {
      const int index = StoreCombatRoll(list);
      if (IsUndead(target)) {
        const int32_t gain = 5 * list.total;
        victim.hitPoints += gain;
        char text[32];
        std::snprintf(text, sizeof text, "HP increase (%i)", gain);
        ShowFloatingText(target, text);
        LogMessage("\xA3%s\xA3 gains @%i|%.2i@ @HP@ from the negative energy.\r", victim.name, gain, index);
        TargetEvent(41, gain);
        return;
      }
      AddCondition(target, kCondLevelDrained, SpellPass.duration > 0 ? SpellPass.duration : 2000, list.total,
                   kSourceSpell, 0);
      char text[32];
      std::snprintf(text, sizeof text, "Level Drain (%i)", list.total);
      ShowFloatingText(target, text);
      if (list.total > 1) LogMessage("\xA3%s\xA3 gains @%i|%.2i@ @NEGATIVE_LEVELS@.\r", victim.name, list.total, index);
      else LogMessage("\xA3%s\xA3 gains @%i|%.2i@ @NEGATIVE_LEVEL@.\r", victim.name, list.total, index);
      TargetEvent(45, list.total);
      FallIfDrainedToDeath(target);
      return;
    }
    case 120:
      CorrodeArmour(target, list.total, StoreCombatRoll(list));
      return;
    case 110: case 111: case 112: case 113:
      AbilityDamage(target, code, list.total, StoreCombatRoll(list));
      FallIfDrainedToDeath(target);
      return;
    default:
      Damage(caster, spell, target, code, list);
      return;
  }
}
