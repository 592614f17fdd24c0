// Resolving one attack up to the hit: preparation, grapple rolls, the attack
// roll with concealment, cover and critical threats, stray arrows, the miss
// texts and the chance to hit of the evaluation.
#include <strings.h>

#include <cstdio>
#include <cstring>

#include "combat/actions/attack_support.h"
#include "combat/actions/combat_actions.h"
#include "combat/actions/combat_sounds.h"
#include "combat/actions/roll_previews.h"
#include "combat/resolution/attack_context.h"
#include "combat/resolution/attack_resolution.h"
#include "engine/reset_words.h"
#include "rules/adjacency.h"
#include "rules/combat_roll_log.h"
#include "map/fighter_tests.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "map/line_of_effect.h"
#include "map/square_grids.h"
#include "rules/armour_class.h"
#include "rules/breakdown_sources.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/combat_events.h"
#include "state/map_view_state.h"

char AttackLabel[16] = {};
int32_t ShownHitChance = -1;
int32_t StrayArrowTarget = -1;
uint8_t OutOfTurnAttack = 0;
ModifierList EnergyDefenseRoll;
uint8_t EvaluationTextsWritten = 1;
void (*AttackObserver)(const AttackWatch& attack) = nullptr;

namespace {

constexpr int32_t kSourceCharging = 163;
constexpr int32_t kSourceAttackRollModifiers = 663;
constexpr int kPropertyBrilliantEnergy = 2;
constexpr int kPropertyKeen = 19;

bool Has(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }

int32_t ConditionEntryValue(int creature, uint32_t id) {
  const int slot = FindCondition(creature, id);
  return slot >= 0 ? Creatures[creature].conditions[slot].value : 0;
}

// The short names the game screen shows for the natural attacks.
void FillAttackLabel(const char* caption) {
  static const char* const kShort[][2] = {
      {"N.A.", "N.A."},           {"Bite attack", "Bite"},   {"Claw attack", "Claw"},
      {"Unarmed attack", "Fist"}, {"Gore attack", "Gore"},   {"Ranged Touch", "Ranged Touch"},
      {"Slam attack", "Slam"},    {"Sting attack", "Sting"}, {"Tail slap", "Tail slap"},
      {"Touch attack", "Touch"},  {"Wing attack", "Wing"},
  };
  const char* label = caption;
  for (const auto& row : kShort)
    if (std::strcmp(caption, row[0]) == 0) label = row[1];
  std::snprintf(AttackLabel, sizeof AttackLabel, "%s", label);
}

// The crafted weapon an entry attacks with, -1 for a natural attack.
int32_t WeaponOfEntry(int attacker, int32_t kind) {
  int slot = 0;
  if (kind == kEntryMainHand) slot = kSlotRightHand;
  if (kind == kEntryOffHand) slot = kSlotLeftHand;
  if (kind == kEntryRanged) slot = kSlotRanged;
  if (slot == 0) return -1;
  const uint32_t code = Creatures[attacker].equipment[slot - 1];
  return IsCraftedCode(code) ? static_cast<int32_t>(code) : -1;
}

bool WeaponHas(int32_t item, int property) {
  return item > 0 && item < kCraftedRows && CraftedWeapons[item].properties[property] != 0;
}

// ---- Concealment ---------------------------------------------------------

struct ConcealmentSource {
  int kind;  // 1 to 9
  uint32_t condition;
  int32_t chance;
};

// The sources present, in the order of their kinds.
int GatherConcealment(int attacker, int target, ConcealmentSource* out) {
  int count = 0;
  ConcealmentSource* found = out;
  const uint32_t firstThree[3] = {kCondConcealedByDarkness, kCondMagicallyConcealed, kCondGrassConcealment};
  for (int k = 0; k < 3; ++k)
    if (Has(target, firstThree[k])) found[count++] = {k + 1, firstThree[k], ConditionEntryValue(target, firstThree[k])};
  if (Has(target, kCondInvisible)) found[count++] = {4, kCondInvisible, 50};
  if (Has(target, kCondGreaterInvisibility)) found[count++] = {5, kCondGreaterInvisibility, 50};
  if (Has(attacker, kCondBlinded)) found[count++] = {6, kCondBlinded, 50};
  if (Has(attacker, kCondCantSee)) found[count++] = {7, kCondCantSee, 50};
  if (Creatures[attacker].special[kSenseKindWord] == 5) {
    if (Has(attacker, kCondDeafened)) found[count++] = {8, kCondDeafened, 50};
    if (Has(attacker, kCondSilenced)) found[count++] = {9, kCondSilenced, 50};
  }
  return count;
}

bool ConcealmentNegated(const ConcealmentSource& s, int attacker, bool ranged) {
  const CreatureRecord& a = Creatures[attacker];
  const int32_t sense = a.special[kSenseKindWord];
  const bool senses = sense == 5 || sense == 6;
  const bool trueSeeing = Has(attacker, kCondTrueSeeing);
  const bool trueStrike = Has(attacker, kCondTrueStrike);
  const bool blinded = Has(attacker, kCondBlinded);
  const bool seesInDarkness = a.sightless == 1;
  const bool precise = s.chance < 50 && ranged && a.feats[kFeatImprovedPreciseShot] != 0;
  switch (s.kind) {
    case 1: return trueSeeing || trueStrike || senses || seesInDarkness || blinded || precise;
    case 2: return trueSeeing || trueStrike || senses || blinded || precise;
    case 3: return trueStrike || precise;
    case 4:
    case 5: return trueSeeing || trueStrike || senses || blinded;
    case 7: return trueSeeing || senses || seesInDarkness || blinded;
    default: return false;
  }
}

// The largest miss chance that the attacker does not overcome (the lower
// kind on ties): -1 when every source is overcome.
int ChooseConcealment(const ConcealmentSource* sources, int count, int attacker, bool ranged) {
  bool dropped[9] = {};
  for (;;) {
    int best = -1;
    int32_t bestChance = 0;
    for (int i = 0; i < count; ++i) {
      if (dropped[i]) continue;
      const bool replaces = sources[i].kind <= 3 ? sources[i].chance > bestChance : bestChance < 50;
      if (replaces) best = i, bestChance = sources[i].chance;
    }
    if (best < 0) return -1;
    if (!ConcealmentNegated(sources[best], attacker, ranged)) return best;
    dropped[best] = true;
  }
}

// The miss chance in evaluation: 0 when there is none.
int32_t EvaluatedMissChance(int attacker, int target, bool ranged) {
  ConcealmentSource sources[9];
  const int count = GatherConcealment(attacker, target, sources);
  if (count == 0) return 0;
  const int chosen = ChooseConcealment(sources, count, attacker, ranged);
  return chosen < 0 ? 0 : sources[chosen].chance;
}

}  // namespace

int32_t ConcealmentMissChance(int attacker, int target, uint8_t ranged, uint32_t* condition) {
  ConcealmentSource sources[9];
  const int count = GatherConcealment(attacker, target, sources);
  if (count == 0) return -1;
  const int chosen = ChooseConcealment(sources, count, attacker, ranged != 0);
  if (chosen < 0) return 0;
  if (condition) *condition = sources[chosen].condition;
  return sources[chosen].chance;
}

namespace {

// ---- The attack ------------------------------------------------------------

struct RollState {
  AttackContext a;
  ModifierList armourClass;
  int32_t ac = 0;
  int32_t missChance = 0;   // the concealment chance rolled against, 0 none
  bool blindFight = false;  // the attacker re-rolled a failed concealment roll
  bool secondPass = false;  // a stray arrow's run at its new target
};

// Two d100 at once: the roll and the Blind-Fight re-roll. True when the
// attack goes on; texts of the roll as the attack roll or the confirmation
// writes them (the confirmation's first roll names only a failure, so its
// critical roll follows on the same line).
bool RollConcealment(RollState& s, const ModifierList* chanceList) {
  const int roll = RollInto(nullptr, 100, 1);
  const int reroll = RollInto(nullptr, 100, 1);
  LogMessage("Concealment roll " HL "%i" HL "\r", roll);
  if (chanceList) {
    const int index = StoreCombatRoll(*chanceList);
    LogMessage("Concealment chance @%i|%.2i@%% ", chanceList->total, index);
  } else {
    LogMessage("Concealment chance " HL "%i%%" HL " ", s.missChance);
  }
  if (roll >= s.missChance) {
    if (chanceList) LogMessage("(Success)\r");
    return true;
  }
  LogMessage("(Failure)\r");
  const bool mayReroll = chanceList ? (Creatures[s.a.attacker].feats[kFeatBlindFight] != 0 && !s.a.ranged) : s.blindFight;
  if (!mayReroll) return false;
  LogMessage(HL "%s" HL " has @BLINDFIGHT@.\r", Creatures[s.a.attacker].name);
  LogMessage("Concealment roll " HL "%i" HL " ", reroll);
  s.blindFight = true;
  if (reroll >= s.missChance) {
    LogMessage("(Success)\r");
    return true;
  }
  LogMessage("(Failure)\r\r");
  return false;
}

// The concealment step of a real attack; false on a miss by concealment.
bool ConcealmentStep(RollState& s) {
  ConcealmentSource sources[9];
  const int count = GatherConcealment(s.a.attacker, s.a.target, sources);
  if (count == 0) return true;
  const int chosen = ChooseConcealment(sources, count, s.a.attacker, s.a.ranged);
  if (chosen < 0) {
    LogMessage("(Concealment Negated by " HL "%s" HL ")\r", Creatures[s.a.attacker].name);
    return true;
  }
  ModifierList chance;
  std::snprintf(chance.caption, sizeof chance.caption, "Concealment Miss Chance");
  chance.helpTopic = 41015;
  AddModifier(sources[chosen].chance, &chance, static_cast<int32_t>(sources[chosen].condition));
  s.missChance = chance.total;
  return RollConcealment(s, &chance);
}

void QueueSound(const AttackContext& a, int32_t kind, uint8_t flag) {
  QueueCombatSound(a.weaponItem, a.ranged ? 1 : 0, kind, a.naturalCode, flag);
}

// The miss of a real attack that is not a natural 1.
int MissTexts(RollState& s, int32_t total) {
  const int target = s.a.target;
  const CreatureRecord& t = Creatures[target];
  int32_t shield = 0, armour = 0;
  const uint32_t offHand = t.equipment[kSlotLeftHand - 1];
  if (IsCraftedCode(offHand) && (CraftedWeapons[offHand].itemType == 36 || CraftedWeapons[offHand].itemType == 37))
    shield = CraftedWeapons[offHand].dieSides + CraftedWeapons[offHand].enhancement;
  const uint32_t torso = t.equipment[kSlotTorso - 1];
  if (IsCraftedCode(torso) && CraftedWeapons[torso].itemType > 37)
    armour = CraftedWeapons[torso].dieSides + CraftedWeapons[torso].enhancement;
  const int32_t natural = t.protections[kProtNaturalArmour].current;
  const int32_t unshielded = s.ac - shield;
  int32_t kind = kSoundBlocked;
  if (total >= unshielded) {
    LogMessage("\r(Attack hits shield, does no damage)\r\r");
  } else {
    // A die of no sides still rolls 1.
    const int32_t r = RollInto(nullptr, unshielded > 0 ? unshielded : 1, 1);
    if (DebugMode == 1) LogMessage("ShieldLess:%i NatAr:%i Armor:%i Roll:%i\r", unshielded, natural, armour, r);
    if (r <= unshielded - armour - natural) {
      LogMessage("\r(Defender dodges the attack)\r\r");
      kind = kSoundMiss;
    } else if (r > unshielded - natural) {
      LogMessage("\r(Attack fails to pierce defender's skin)\r\r");
      kind = kSoundNaturalArmour;
    } else {
      LogMessage("\r(Attack hits armor, does no damage)\r\r");
    }
  }
  QueueSound(s.a, kind, 0);
  ReportOutOfAmmunition(s.a.attacker);
  return kAttackMissed;
}

// The threat range of the entry, widened by a keen weapon or Improved Critical.
int32_t ThreatRange(const AttackContext& a) {
  const CreatureRecord& c = Creatures[a.attacker];
  int32_t range = 20;
  bool widened = false;
  if (a.weaponItem > 0) {
    const CraftedWeaponRecord& w = CraftedWeapons[a.weaponItem];
    range = w.critLow;
    widened = WeaponHas(a.weaponItem, kPropertyKeen);
    if (w.itemType >= 1 && w.itemType <= 35 && c.feats[kFeatImprovedCriticalDagger + w.itemType - 1] != 0) widened = true;
  } else if (a.naturalSlot >= 0) {
    const NaturalAttack& n = c.naturalAttacks[a.naturalSlot];
    range = n.critLow;
    const int offset = NaturalFeatOffset(n.kind);
    if (offset >= 0 && c.feats[kFeatImprovedCriticalFists + offset] != 0) widened = true;
  }
  if (widened) {
    if (range == 20) range = 19;
    else if (range == 19) range = 17;
    else if (range == 18) range = 15;
    else if (range == 17) range = 13;
  }
  return range;
}

// A threat: the confirmation with its concealment roll and fortification.
// Sets the critical flag when confirmed.
void ConfirmThreat(RollState& s, int32_t bonus) {
  const int attacker = s.a.attacker, target = s.a.target;
  LogMessage("\r" HL "%s" HL " scores a @THREAT@.\r", Creatures[attacker].name);
  ModifierList confirm;
  std::snprintf(confirm.caption, sizeof confirm.caption, "Critical attack roll");
  confirm.helpTopic = 43015;
  AddModifier(bonus, &confirm, kSourceAttackRollModifiers);
  RollInto(&confirm, 20, 1);
  if (s.missChance > 0 && !RollConcealment(s, nullptr)) return;
  const int index = StoreCombatRoll(confirm);
  LogMessage("@CRITICAL@ attack roll @%i|%.2i@\r", confirm.total, index);
  if (confirm.total < s.ac) {
    LogMessage("Missed (AC " HL "%i" HL "). The attack is not a critical hit.\r", s.ac);
    return;
  }
  LogMessage("Success (AC " HL "%i" HL ")\r", s.ac);
  if (IsImmune(target, kImmCriticals)) {
    LogMessage(HL "%s" HL " is immune to CRITICAL_HITS.\r", Creatures[target].name);
    return;
  }
  if (Has(target, kCondCriticalHitResistance)) {
    const int32_t percent = ConditionEntryValue(target, kCondCriticalHitResistance);
    if (percent == 100) {
      LogMessage(HL "%s" HL " is immune to CRITICALS: @FORTIFICATION@ " HL "100%%" HL ".\r", Creatures[target].name);
      return;
    }
    const int roll = RollInto(nullptr, 100, 1);
    LogMessage(HL "%s" HL " rolls to bypass criticals resistance: " HL "%i" HL "\r", Creatures[attacker].name, roll);
    if (roll < percent) {
      LogMessage("Failure: @FORTIFICATION@ " HL "%i%%" HL "\r", percent);
      LogMessage("The critical hit is negated.\r");
      return;
    }
    LogMessage("Success: @FORTIFICATION@ " HL "%i%%" HL "\r", percent);
    LogMessage("The critical hit is confirmed.\r");
  }
  ShowFloatingText(attacker, "Critical Hit");
  s.a.critical = true;
}

// The stray-arrow test of a missed shot: true when the arrow flies on at
// the creature on the cover square.
bool StrayArrow(RollState& s, int32_t total) {
  const int attacker = s.a.attacker;
  if (!s.a.ranged || s.secondPass || CoverActive != 1 || CoverSquareX < 0 || CoverSquareY < 0) return false;
  if (Creatures[attacker].feats[kFeatImprovedPreciseShot] != 0 || total < s.ac - 4) return false;
  const int other = CreatureAtSquare(CoverSquareX, CoverSquareY, s.a.target);
  if (other == -1 || other == s.a.target) return false;
  LogMessage(HL "Stray_Arrow" HL ": " HL "%s" HL "'s arrow has a chance of hitting " HL "%s" HL
             " instead of the target.\r",
             Creatures[attacker].name, Creatures[other].name);
  s.a.target = other;
  StrayArrowTarget = other;
  CoverActive = 0;
  InitModifierList(&s.armourClass);
  return true;
}

// The chance of a grapple roll that wins ties: d20 + d against d20.
int32_t GrappleChance(int32_t d) {
  static const int32_t kAhead[17] = {52, 57, 62, 66, 70, 74, 77, 80, 83, 86, 89, 91, 93, 95, 96, 97, 98};
  static const int32_t kBehind[17] = {52, 47, 43, 38, 34, 30, 26, 23, 19, 16, 14, 11, 9, 7, 5, 4, 2};
  if (d >= 19) return 100;
  if (d >= 17) return 99;
  if (d >= 0) return kAhead[d];
  if (d >= -16) return kBehind[-d];
  if (d >= -19) return 1;
  return 0;
}

int Grapple(RollState& s, uint8_t evaluate, uint8_t grappleFlag) {
  AttackContext& a = s.a;
  const CreatureRecord& c = Creatures[a.attacker];
  AttackProfile defender;
  if (evaluate) {
    BuildAttackProfile(&defender, a.target, 0, -1, 1, 1);
    const int32_t d = a.entry->attackRoll.total - defender.entries[0].attackRoll.total;
    ShownHitChance = GrappleChance(d);
    ClearSituationLabels();
    return ShownHitChance;
  }
  if (grappleFlag == 0)
    LogMessage(HL "%s" HL " wrestles with " HL "%s" HL ".\r", c.name, Creatures[a.target].name);
  RollInto(&a.entry->attackRoll, 20, 1);
  BuildAttackProfile(&defender, a.target, 0, -1, 1, 1);
  ModifierList& theirs = defender.entries[0].attackRoll;
  RollInto(&theirs, 20, 1);
  int index = StoreCombatRoll(a.entry->attackRoll);
  LogMessage(HL "%s" HL " @GRAPPLE@ Roll @%.2i|%.2i@\r", c.name, a.entry->attackRoll.total, index);
  index = StoreCombatRoll(theirs);
  LogMessage(HL "%s" HL " @GRAPPLE@ Roll @%.2i|%.2i@ ", Creatures[a.target].name, theirs.total, index);
  if (a.entry->attackRoll.total < theirs.total) {
    LogMessage("(Missed)\r");
    if (grappleFlag == 0) QueueCombatSound(-1, 0, kSoundMiss, c.naturalAttacks[0].kind, 0);
    return kAttackMissed;
  }
  if (grappleFlag == 1) {
    LogMessage("(Success)\r");
    QueueCombatSound(-1, 0, kSoundHit, 6, 0);
    return kAttackHoldWon;
  }
  LogMessage("\r");
  a.weaponItem = -1;
  a.naturalCode = c.naturalAttacks[0].kind;
  return ApplyHitDamage(a);
}

// The chance to hit of an ordinary attack, nothing rolled.
int32_t HitChance(RollState& s) {
  AttackContext& a = s.a;
  if (!a.ranged && (CombatAction.moveMode == 3 || ChargePreview != 0))
    AddModifier(2, &a.entry->attackRoll, kSourceCharging);
  const int32_t d = s.ac - a.entry->attackRoll.total;
  int32_t chance = d < 2 ? 95 : d < 20 ? (21 - d) * 5 : 5;
  uint8_t grappler = 0;
  if (a.ranged) {
    if (IsBlinded(a.attacker) && !AreAdjacent(a.attacker, a.target)) {
      const CreatureRecord& at = Creatures[a.attacker];
      const GridSquare near = NearestFootprintSquare(a.target, at.squareX, at.squareY);
      const int around = ListCreaturesAroundSquare(near.x, near.y);
      if (around > 1) chance /= around;
    }
    if (Has(a.target, kCondGrappling)) {
      chance /= 2;
      grappler = 1;
    }
  }
  const int32_t m = EvaluatedMissChance(a.attacker, a.target, a.ranged);
  if (m > 0) {
    const bool blindFight = Creatures[a.attacker].feats[kFeatBlindFight] != 0 && !a.ranged;
    chance = chance * (100 - (blindFight ? m * m / 100 : m)) / 100;
  }
  if (chance < 1) chance = 1;
  if (EvaluationTextsWritten != 0) BuildSituationLabels(a.target, grappler, s.armourClass, a.entry->attackRoll);
  return chance;
}

bool CaptionIs(const char* caption, const char* text) { return strcasecmp(caption, text) == 0; }

// Spends the shot's ammunition; a crossbow that must be reloaded is unloaded.
void SpendAmmunition(const AttackContext& a) {
  CreatureRecord& c = Creatures[a.attacker];
  if (c.ammunition.count > 0) --c.ammunition.count;
  if (a.weaponItem <= 0) return;
  CraftedWeaponRecord& w = CraftedWeapons[a.weaponItem];
  if (w.itemType == 10 || (w.itemType == 11 && c.feats[kFeatRapidReloadLight] == 0)) w.charges = 0;
}

// One run of the attack from the recomputation on (a stray arrow runs it a
// second time at its new target). Returns a result, or -1 when the arrow
// flies on.
int RunAttack(RollState& s, int32_t alternateForm, uint8_t evaluate, uint8_t grapple, uint8_t grappleFlag,
              AttackProfile* profileOut) {
  AttackContext& a = s.a;
  const int attacker = a.attacker;
  RecomputeCreature(attacker, 0);
  RecomputeCreature(a.target, 0);
  // An evaluation whose texts nobody reads builds its profile for the numbers
  // and names alone.
  const bool texts = !evaluate || EvaluationTextsWritten != 0 || profileOut != nullptr;
  const uint8_t captions = ProfileCaptionsWritten;
  if (!texts) ProfileCaptionsWritten = 0;
  BuildAttackProfile(&a.profile, attacker, alternateForm, a.target, grapple, grappleFlag);
  ProfileCaptionsWritten = captions;
  if (profileOut) *profileOut = a.profile;
  CombatAction.attackMade = evaluate ? 0 : 1;
  if (!evaluate) HitChanceMode = 0;
  a.entry = &a.profile.entries[a.entryIndex];
  if (texts) FillAttackLabel(grapple ? a.profile.entries[0].name : a.entry->name);

  // A refused attack leaves no trace: no turn, roll, line or event.
  if (Creatures[a.target].present == 0) return kAttackTargetAbsent;
  if (a.entry->kind == kEntryNone) return kAttackBadEntry;
  if (Has(a.target, kCondDead)) return kAttackTargetDead;
  if (!evaluate && !s.secondPass && AttackObserver != nullptr)
    AttackObserver(AttackWatch{attacker, a.target, a.entryIndex, &a.profile, grapple != 0, grappleFlag != 0});
  if (!evaluate) FaceTowardsCreature(attacker, a.target);

  const int32_t kind = a.entry->kind;
  a.grapple = grapple != 0;
  a.weaponItem = WeaponOfEntry(attacker, kind);
  a.naturalSlot = kind >= kEntryNatural0 && kind <= kEntryNatural3 ? kind - kEntryNatural0 : -1;
  a.naturalCode = a.naturalSlot >= 0 ? Creatures[attacker].naturalAttacks[a.naturalSlot].kind : -1;
  a.multiplier = a.weaponItem > 0 ? CraftedWeapons[a.weaponItem].critMultiplier : 2;
  if (grapple) {
    if (a.naturalSlot < 0) a.naturalSlot = alternateForm == 1 ? 3 : 0;
    return Grapple(s, evaluate, grappleFlag);
  }

  const bool natural = a.naturalSlot >= 0;
  a.ranged = kind == kEntryRanged || (natural && CaptionIs(a.entry->name, "Ranged Touch"));
  a.touch = natural && (CaptionIs(a.entry->name, "Ranged Touch") || CaptionIs(a.entry->name, "Touch Attack"));
  a.brilliant = (kind == kEntryMainHand || kind == kEntryOffHand) && WeaponHas(a.weaponItem, kPropertyBrilliantEnergy);
  if (a.ranged) {
    if (s.secondPass) {
      CoverActive = 0;
      if (DebugMode == 1) LogMessage("Turning off cover (due to stray arrow)\r");
    } else {
      const CreatureRecord& at = Creatures[attacker];
      const GridSquare near = NearestFootprintSquare(a.target, at.squareX, at.squareY);
      const GridSquare from = NearestFootprintSquare(attacker, near.x, near.y);
      FindCover(from.x, from.y, near.x, near.y, evaluate ? 0 : 1);
    }
  }

  InitModifierList(&s.armourClass);
  int pairs = 0;
  s.ac = ComputeArmourClass(a.target, &s.armourClass, &pairs, a.touch ? 1 : 0, attacker,
                            a.ranged ? kAttackRanged : kAttackMelee, a.brilliant ? 1 : 0);
  s.armourClass.total = s.ac;
  if (evaluate) return HitChance(s);

  const CreatureRecord& c = Creatures[attacker];
  if (kind == kEntryRanged && !s.secondPass) SpendAmmunition(a);
  if (a.coupDeGrace) {
    LogMessage(HL "%s" HL " inflicts @COUP_DE_GRACE@.\r", c.name);
    ShowFloatingText(attacker, "Coup De Grace");
    a.critical = true;
    return ApplyHitDamage(a);
  }
  if (!s.secondPass) {
    if (kind == kEntryRanged) LogMessage(HL "%.15s" HL " shoots at " HL "%.15s" HL ".\r", c.name, Creatures[a.target].name);
    else LogMessage(HL "%.15s" HL " attacks " HL "%.15s" HL ".\r", c.name, Creatures[a.target].name);
  }
  if (!ConcealmentStep(s)) {
    QueueSound(a, kSoundMiss, 0);
    ReportOutOfAmmunition(attacker);
    return kAttackMissed;
  }

  ModifierList& roll = a.entry->attackRoll;
  const int32_t bonus = roll.total;
  RollInto(&roll, 20, 1);
  a.d20 = GetD20FromRoll(roll);
  int index = StoreCombatRoll(roll);
  LogMessage("@ATTACK_ROLL@ " HL "%i" HL " + " HL "$%i" HL " = @%.2i|%.2i@\r", bonus, a.d20, roll.total, index);
  index = StoreCombatRoll(s.armourClass);
  LogMessage("@ARMOR_CLASS@ @%.2i|%.2i@ ", s.ac, index);
  const bool hit = roll.total >= s.ac;
  const int32_t threat = ThreatRange(a);

  if (a.d20 == 1) {
    LogMessage(HL "Automatic_failure" HL ".\r\r");
    QueueSound(a, kSoundMiss, 0);
    ReportOutOfAmmunition(attacker);
    return kAttackMissed;
  }
  if (a.d20 == 20 || (hit && a.d20 >= threat)) {
    ConfirmThreat(s, bonus);
    return ApplyHitDamage(a);
  }
  if (hit) {
    LogMessage("(Success)\r");
    return ApplyHitDamage(a);
  }
  if (StrayArrow(s, roll.total)) return -1;
  return MissTexts(s, roll.total);
}

void ResetForAttack(uint8_t evaluate) {
  std::memset(AttackLabel, 0, sizeof AttackLabel);
  ShownHitChance = -1;
  StrayArrowTarget = -1;
  InitModifierList(&EnergyDefenseRoll);
  RollDisplayFlags[0] = RollDisplayFlags[1] = 0;
  if (evaluate) return;
  // A question about the chance leaves the events being played back alone.
  ClearCombatEvents();
  ClearExtraDamageEvents();
  AttackDamageTotal = 0;
}

}  // namespace

int ResolveAttack(int attacker, int target, int entry, int32_t alternateForm, uint8_t evaluate, uint8_t grapple,
                  uint8_t grappleFlag, AttackProfile* profileOut) {
  if (entry < 0 || entry >= kAttackProfileEntries || !IsValidCreature(attacker)) return kAttackBadEntry;
  if (!IsValidCreature(target)) return kAttackTargetAbsent;
  ResetForAttack(evaluate);
  static RollState s;
  s = RollState{};
  s.a.attacker = attacker;
  s.a.target = target;
  s.a.entryIndex = entry;
  OutOfTurnAttack = attacker != CurrentFighter() ? 1 : 0;
  s.a.coupDeGrace = CoupDeGraceAction == 1 && attacker == CurrentFighter();
  int result = RunAttack(s, alternateForm, evaluate, grapple, grappleFlag, profileOut);
  if (result == -1) {
    s.secondPass = true;
    s.missChance = 0;
    s.blindFight = false;
    result = RunAttack(s, alternateForm, evaluate, grapple, grappleFlag, profileOut);
  }
  return result;
}

void ResetAttackRollState() {
  ResetWords(AttackLabel);
  ShownHitChance = -1;
  StrayArrowTarget = -1;
  OutOfTurnAttack = 0;
  ResetWords(EnergyDefenseRoll);
}
