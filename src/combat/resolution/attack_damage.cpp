// The damage of a hit in its fixed order: the sound of the hit, the target's
// energy defence against a melee attacker, the weapon's damage with critical
// multiplication, damage reduction and absorbing pools, the weapon's magic or
// the natural attack's effects, the save against a coup de grace, and the
// target's fall.
#include <algorithm>
#include <cstdio>

#include "combat/actions/attack_support.h"
#include "combat/actions/combat_actions.h"
#include "combat/actions/combat_sounds.h"
#include "combat/actions/roll_previews.h"
#include "combat/resolution/attack_context.h"
#include "combat/resolution/attack_resolution.h"
#include "combat/resolution/log_keywords.h"
#include "rules/adjacency.h"
#include "rules/combat_roll_log.h"
#include "engine/message_log.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "state/combat_events.h"

namespace {

constexpr int32_t kSourceCasterLevel = 609;
constexpr int32_t kSourceBaseValue = 612;
constexpr int32_t kSourceDamageReduction = 664;
constexpr int32_t kSourceMinimumDamage = 665;
constexpr int32_t kSourceTotalDamage = 674;
constexpr int32_t kSourcePointBlank = 680;
constexpr int32_t kSourceSilverWeapon = 681;
constexpr int32_t kSourceFortitudeBonus = 630;
constexpr int32_t kSourceConstitutionModifier = 175;
constexpr int kPropertyDestruction = 1;
constexpr int kPropertyBrilliantEnergy = 2;
constexpr int32_t kMaterialSilver = 4;
constexpr int32_t kMaterialColdIron = 5;
constexpr int32_t kMaterialAdamantine = 8;

struct EnergyRow {
  int32_t eventType;
  int32_t sound;
  int immunity;           // immunity category of the response
  int resistancePair;     // protection pair of the resistance points
  int32_t responseSource; // ConditionNames row of "immune"; weakness, serious, resistance, reverse follow
  int32_t resistanceSource;
  const char* keyword;    // as the loss and immunity lines name it
  const char* zeroKeyword;
  const char* healName;
};
const EnergyRow kEnergies[7] = {
    {4, 48, kImmFire, kProtResistFire, 276, 643, "FIRE_DAMAGE", "FIRE_DAMAGE", "fire"},
    {5, 49, kImmCold, kProtResistCold, 281, 644, "COLD_DAMAGE", "COLD_DAMAGE", "cold"},
    {6, 52, kImmElectricity, kProtResistElectricity, 291, 646, "SHOCK_DAMAGE", "ELECTRICTY_DAMAGE", "electricity"},
    {7, 50, kImmAcid, kProtResistAcid, 286, 647, "ACID_DAMAGE", "ACID_DAMAGE", "acid"},
    {8, 51, kImmSonic, kProtResistSonic, 296, 645, "SONIC_DAMAGE", "SONIC_DAMAGE", "sonic"},
    {10, 42, kImmNegativeEnergy, kProtResistNegative, 496, 262, "NEGATIVE_ENERGY_DAMAGE", "NEGATIVE_ENERGY_DAMAGE",
     "negative_energy"},
    {11, 51, kImmForce, kProtResistForce, 271, 263, "FORCE_DAMAGE", "FORCE_DAMAGE", "force"},
};
// A natural electricity attack reduced to zero names its energy so.
constexpr const char* kNaturalElectricityZero = "ELECTRICITY_DAMAGE";

bool Has(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }

void WakeIfSleeping(int creature) {
  if (Has(creature, kCondSleeping)) RemoveCondition(creature, kCondSleeping);
}

// ---- The target's energy defence ------------------------------------------

void EnergyDefence(AttackContext& a) {
  const CreatureRecord& t = Creatures[a.target];
  ModifierList& list = EnergyDefenseRoll;
  InitModifierList(&list);
  std::snprintf(list.caption, sizeof list.caption, "Energy Defense: Damage Roll");
  list.helpTopic = 61105;
  int energy = -1;
  const int fireShield = FindCondition(a.target, kCondFireShielded);
  const int iceShield = FindCondition(a.target, kCondIceShielded);
  if (fireShield >= 0 || iceShield >= 0) {
    RollInto(&list, 6, 1);
    const int slot = fireShield >= 0 ? fireShield : iceShield;
    AddModifier(t.conditions[slot].value, &list, kSourceCasterLevel);
    energy = fireShield >= 0 ? kFire : kCold;
  } else if (t.special[kSpecialShieldSides] > 0) {
    RollInto(&list, t.special[kSpecialShieldSides], t.special[kSpecialShieldDice]);
    static const int kByShieldKind[9] = {-1, kFire, kCold, kElectricity, kAcid, kSonic, -1, kNegativeEnergy, kForce};
    const int32_t shieldKind = t.special[kSpecialShieldKind];
    energy = shieldKind >= 0 && shieldKind <= 8 ? kByShieldKind[shieldKind] : -1;
  }
  if (energy < 0) return;
  const int32_t lost =
      ApplyEnergyDamage(a, a.attacker, a.target, static_cast<Energy>(energy), &list, kEnergyDefence);
  if (lost > 0) HandleFallAfterAttack(a.attacker);
}

// ---- Damage reduction and the physical loss ---------------------------------

// Whether the target's damage reduction of that kind stops this damage.
bool ReductionApplies(const AttackContext& a, int32_t kind, int32_t code, bool natural) {
  return DamageReductionKindApplies(kind, code, natural, a.ranged, a.weaponItem);
}


// A pool still absorbing damage: a parameter of -1 is no pool, and a pool
// of 0 is spent.
int LivePool(int creature, uint32_t id) {
  const int slot = FindCondition(creature, id);
  return slot >= 0 && static_cast<int32_t>(Creatures[creature].conditions[slot].param) > 0 ? slot : -1;
}

void EndPool(int creature, uint32_t id) {
  RemoveCondition(creature, id);
  ShowFloatingText(creature, id == kCondReducedDamageAdamantine ? "Lost Effect (Stoneskin)" : "Lost Effect (Arrow Protection)");
}

}  // namespace

void AddEnergyLogKeywords(std::vector<LogKeyword>* out) {
  for (const EnergyRow& row : kEnergies)
    for (const char* keyword : {row.keyword, row.zeroKeyword})
      out->push_back({std::string("@") + keyword + "@", "src/combat/resolution/attack_damage.cpp"});
  out->push_back({std::string("@") + kNaturalElectricityZero + "@", "src/combat/resolution/attack_damage.cpp"});
}

bool DamageReductionKindApplies(int32_t kind, int32_t code, bool natural, bool ranged, int32_t weaponItem) {
  switch (kind) {
    case 1: return true;
    case 2: return ranged;
    case 3: return code != 3;
    case 4: return code != 2;
    case 5: return code != 1;
    default: break;
  }
  if (natural || weaponItem <= 0 || weaponItem >= kCraftedRows) return true;
  const CraftedWeaponRecord& w = CraftedWeapons[weaponItem];
  switch (kind) {
    case 6: return w.masterwork != 1;
    case 7: return w.enhancement <= 0;
    case 8: return w.properties[7] == 0;
    case 9: return w.properties[8] == 0;
    case 10: return w.properties[10] == 0;
    case 11: return w.properties[9] == 0;
    case 12: return w.material != kMaterialAdamantine;
    case 13: return w.material != kMaterialSilver;
    case 14: return w.material != kMaterialColdIron;
    default: return true;
  }
}

void ApplyPhysicalDamage(AttackContext& a, ModifierList* list, int32_t code, bool natural) {
  const int target = a.target;
  CreatureRecord& t = Creatures[target];
  const int32_t amount = t.protections[kProtDamageReduction].current;
  const int32_t kind = t.protections[kProtDamageReductionKind].current;
  int32_t reduction = 0;
  bool poolEnded = false;
  if (amount > 0 && ReductionApplies(a, kind, code, natural)) {
    const int32_t damage = list->total;
    const int stoneskin = LivePool(target, kCondReducedDamageAdamantine);
    const int arrows = LivePool(target, kCondReducedDamageMelee);
    const int32_t stoneskinLeft = stoneskin >= 0 ? static_cast<int32_t>(t.conditions[stoneskin].param) : 0;
    const int32_t arrowsLeft = arrows >= 0 ? static_cast<int32_t>(t.conditions[arrows].param) : 0;
    if (stoneskin >= 0 && std::min(damage, 10) >= stoneskinLeft) {
      reduction = stoneskinLeft;
      EndPool(target, kCondReducedDamageAdamantine);
      poolEnded = true;
    } else if (arrows >= 0 && std::min(damage, 10) >= arrowsLeft) {
      reduction = arrowsLeft;
      EndPool(target, kCondReducedDamageMelee);
      poolEnded = true;
    } else {
      reduction = std::max(0, std::min(damage, amount));
      for (uint32_t id : {kCondReducedDamageAdamantine, kCondReducedDamageMelee}) {
        const int slot = LivePool(target, id);
        if (slot < 0) continue;
        const int32_t left = static_cast<int32_t>(t.conditions[slot].param) - reduction;
        t.conditions[slot].param = static_cast<uint32_t>(left);
        // A pool drained to nothing ends as one that runs out.
        if (left <= 0) EndPool(target, id), poolEnded = true;
      }
    }
    if (reduction > 0) AddModifier(-reduction, list, kSourceDamageReduction);
  }

  const int32_t damage = list->total;
  CombatEvent* event = NextEvent(a);
  if (damage <= 0) {
    QueueCombatSound(a.weaponItem, a.ranged ? 1 : 0, kSoundAbsorbed, a.naturalCode, a.critical ? 1 : 0);
    if (poolEnded) {
      SetEvent(event, 45, 0, target, 0);
    } else {
      SetEvent(event, 53, reduction, target, 0);
      LogMessage("Damage reduction reduced physical damage to zero.\r");
    }
    return;
  }
  t.hitPoints -= damage;
  const int32_t type = code == 2 ? 2 : code == 3 ? 3 : 1;
  SetEvent(event, type, damage, target, 0);
  const int index = StoreCombatRoll(*list);
  if (type == 2) LogMessage("@SLASHING@: " HL "%s" HL " loses @%i|%.2i@ @HP@.\r", t.name, damage, index);
  else if (type == 3) LogMessage("@PIERCING@: " HL "%s" HL " loses @%i|%.2i@ @HP@.\r", t.name, damage, index);
  else LogMessage("@BLUDGEONING@: " HL "%s" HL " loses @%i|%.2i@ @HP@.\r", t.name, damage, index);
  WakeIfSleeping(target);
  MarkDamagedWhileCasting(target, a.attacker, damage);
}

int32_t ApplyEnergyDamage(AttackContext& a, int victim, int hurtBy, Energy energy, ModifierList* list, EnergyUse use) {
  const EnergyRow& row = kEnergies[energy];
  CreatureRecord& v = Creatures[victim];
  const int32_t response = ImmunityCode(victim, row.immunity);
  if (response == kImmunityImmune) {
    if (use != kEnergyDefence) LogMessage(HL "%s" HL " - Immune to @%s@.\r", v.name, row.keyword);
    return 0;
  }
  const int32_t half = list->total / 2;
  if (response == kImmunityWeakness) AddModifier(half, list, row.responseSource + 1);
  if (response == kImmunitySeriousWeakness) AddModifier(list->total, list, row.responseSource + 2);
  if (response == kImmunityResistance) AddModifier(-half, list, row.responseSource + 3);
  const bool reversed = response == kImmunityReverse;
  const int32_t resistance = v.protections[row.resistancePair].current;
  if (resistance > 0 && list->total > 0) AddModifier(-std::min(resistance, list->total), list, row.resistanceSource);
  const int32_t total = list->total;
  if (total <= 0) {
    if (use != kEnergyDefence) {
      const char* keyword = use == kEnergyNatural && energy == kElectricity ? kNaturalElectricityZero : row.zeroKeyword;
      LogMessage("Damage reduction reduced @%s@ to zero.\r", keyword);
    }
    return 0;
  }
  CombatEvent* event = use == kEnergyDefence ? &AttackerEventQueue[0] : nullptr;
  if (!reversed) {
    if (event == nullptr) event = NextEvent(a);
    v.hitPoints -= total;
    SetEvent(event, row.eventType, total, victim, row.sound);
    const int index = StoreCombatRoll(*list);
    LogMessage("@%s@: " HL "%s" HL " loses @%i|%.2i@ @HP@.\r", row.keyword, v.name, total, index);
    MarkDamagedWhileCasting(victim, hurtBy, total);
    WakeIfSleeping(victim);
    return total;
  }
  // Reversed: the energy heals, up to the creature's maximum; nothing to
  // heal reports nothing.
  const int32_t healed = std::min(total, v.maxHitPoints - v.hitPoints);
  if (healed <= 0) return 0;
  if (event == nullptr) event = NextEvent(a);
  v.hitPoints += healed;
  SetEvent(event, 41, healed, victim, row.sound);
  const int index = StoreCombatRoll(*list);
  LogMessage(HL "%s" HL " recovers @%i|%.2i@ @HP@ (" HL "%s" HL ").\r", v.name, total, index, row.healName);
  return 0;
}

namespace {

// ---- The weapon's own damage --------------------------------------------------

void WeaponDamage(AttackContext& a) {
  const CraftedWeaponRecord& w = CraftedWeapons[a.weaponItem];
  const CreatureRecord& t = Creatures[a.target];
  if (w.properties[kPropertyBrilliantEnergy] != 0 && (t.type == 8 || t.type == 2)) {
    LogMessage("@BRILLIANT_ENERGY@ weapons are " HL "ineffective" HL
               " against @UNDEAD@ and @CONSTRUCT@ creatures.\r");
    QueueCombatSound(a.weaponItem, a.ranged ? 1 : 0, kSoundIneffective, a.naturalCode, a.critical ? 1 : 0);
    SetEvent(NextEvent(a), 67, 0, a.target, 0);
    return;
  }
  ModifierList* list = &a.entry->damageBonus;
  RollInto(list, w.dieSides, w.dieCount);
  if (a.critical) {
    // Only the dice are multiplied; the static bonuses count once.
    RollInto(list, w.dieSides, (a.multiplier - 1) * w.dieCount);
    FormatCriticalText(list);
  }
  if (w.properties[kPropertyDestruction] != 0) {
    LogMessage("@DESTRUCTION@ weapon: damage is increased by " HL "3d6" HL " points.\r");
    RollInto(list, 6, 3);
  }
  if (w.material == kMaterialSilver) {
    LogMessage("@SILVER@ weapon: damage is reduced by " HL "1" HL " point.\r");
    AddModifier(-1, list, kSourceSilverWeapon);
  }
  if (w.chargeDouble != 0 && Has(a.target, kCondCharging)) {
    LogMessage(HL "%s" HL " deals " HL "double_damage" HL " as the opponent is @CHARGING@.\r", w.name);
    RollInto(list, w.dieSides, w.dieCount);
  }
  if (a.ranged && Creatures[a.attacker].feats[kFeatPointBlankShot] != 0) {
    const CreatureRecord& at = Creatures[a.attacker];
    const GridSquare near = NearestFootprintSquare(a.target, at.squareX, at.squareY);
    const GridSquare from = NearestFootprintSquare(a.attacker, near.x, near.y);
    if (SquaredDistance(from.x, from.y, near.x, near.y) <= 9) AddModifier(1, list, kSourcePointBlank);
  }
  if (list->total < 1) AddModifier(1 - list->total, list, kSourceMinimumDamage);
  // The weapon's damage type (1 slashing, 2 bludgeoning, 3 piercing) as a damage code.
  const int32_t code = w.damageKind == 1 ? 2 : w.damageKind == 3 ? 3 : 1;
  ApplyPhysicalDamage(a, list, code, false);
}

// ---- The coup de grace and the fall ---------------------------------------------

void CoupDeGraceSave(AttackContext& a) {
  CreatureRecord& t = Creatures[a.target];
  ModifierList save;
  std::snprintf(save.caption, sizeof save.caption, "Fortitude Saving Throw");
  save.helpTopic = 21014;
  const int d20 = RollInto(&save, 20, 1);
  AddModifier(t.fortitude.current, &save, kSourceFortitudeBonus);
  AddModifier(AbilityModifier(t.constitution.current), &save, kSourceConstitutionModifier);
  int index = StoreCombatRoll(save);
  LogMessage(HL "%s" HL " @SAVE@ vs death : @%i|%.2i@\r", t.name, save.total, index);
  ModifierList dc;
  std::snprintf(dc.caption, sizeof dc.caption, "Difficulty Class (Coup de Grace)");
  dc.helpTopic = 42012;
  AddModifier(10, &dc, kSourceBaseValue);
  AddModifier(AttackDamageTotal, &dc, kSourceTotalDamage);
  bool saved;
  if (d20 == 1) {
    LogMessage(HL "Automatic_failure" HL " (roll of 1).\r");
    saved = false;
  } else if (d20 == 20) {
    LogMessage(HL "Automatic_success" HL " (roll of 20).\r");
    saved = true;
  } else {
    saved = save.total >= dc.total;
    index = StoreCombatRoll(dc);
    if (saved) LogMessage("Save succeeded (DC @%i|%.2i@)\r", dc.total, index);
    else LogMessage("Save failed (DC @%i|%.2i@)\r", dc.total, index);
  }
  if (saved) {
    SetEvent(NextEvent(a), 58, 0, a.target, 0);
  } else {
    SetEvent(NextEvent(a), 1, t.hitPoints + 10, a.target, 0);
    t.hitPoints = -10;
  }
}

// The entry after the last event written: where the target's fall event goes.
int FallEventIndex() {
  // A full queue: the fall takes the last kept entry rather than one past the end.
  return FallEventEntry();
}

}  // namespace

int ApplyHitDamage(AttackContext& a) {
  QueueCombatSound(a.weaponItem, a.ranged ? 1 : 0, kSoundHit, a.naturalCode, a.critical ? 1 : 0);
  if (!a.ranged) EnergyDefence(a);
  if (a.weaponItem > 0) {
    WeaponDamage(a);
    ApplyWeaponMagic(a);
  } else {
    ApplyNaturalEffects(a);
  }
  if (a.coupDeGrace && Creatures[a.target].hitPoints > 0) CoupDeGraceSave(a);
  ReportOutOfAmmunition(a.attacker);
  const int result = RemoveFromCombat(a.target, FallEventIndex());
  LogMessage("\r");
  return result;
}
