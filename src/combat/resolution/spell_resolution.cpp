#include "combat/resolution/spell_resolution.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "combat/actions/casting_checks.h"
#include "combat/actions/combat_actions.h"
#include "combat/actions/least_services.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/special_attacks.h"
#include "combat/resolution/spell_effects.h"
#include "combat/resolution/spell_touch.h"
#include "combat/turns/casting_questions.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/movement_rules.h"
#include "map/party_vision.h"
#include "map/square_grids.h"
#include "rules/breakdown_sources.h"
#include "rules/feat_ids.h"
#include "rules/combat_roll_log.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/inventory_state.h"
#include "state/turn_order.h"

SpellPassWords SpellPass;
uint8_t WebBurnList[2100] = {};
int32_t ResolvedCreatures[2100] = {};

namespace {

// Modifier sources of the saving throw and the caster level check.
constexpr int32_t kSrcGreaterSpellPenetration = 610;
constexpr int32_t kSrcSpellPenetration = 611;
constexpr int32_t kSrcHeightenedSpell = 652;
constexpr int32_t kSrcHalfCasterLevel = 683;
constexpr int32_t kSrcHalfRacialHitDice = 672;
constexpr int32_t kSrcGreaterSpellFocusFirst = 614;
constexpr int32_t kSrcSpellFocusFirst = 622;
constexpr int32_t kSrcFeeblemindPenalty = 659;
constexpr int32_t kSrcFortitudeBonus = 630;
constexpr int32_t kSrcWillpowerBonus = 631;
constexpr int32_t kSrcReflexBonus = 632;
constexpr int32_t kSrcWisdomModifier = 176;
constexpr int32_t kSrcIntelligenceModifier = 177;
constexpr int32_t kSrcCharismaModifier = 178;

// Where each school stands among the focus rows (Enchantment first).
constexpr int kFocusRowOfSchool[9] = {-1, 4, 2, 5, 0, 3, 6, 1, 7};

bool SpellRow(int spell) { return spell >= 0 && spell < kSpellRows; }

const char* NameOf(int creature) { return IsValidCreature(creature) ? Creatures[creature].name : ""; }

// The pass's fields: the spell row's effect block, or those of Turn Undead
// and of the special attack.
SpellEffect PassBlock(int spell, int caster, int pass) {
  SpellEffect fx{};
  if (SpellRow(spell)) return SpellTable[spell].effects[pass == 2 ? 1 : 0];
  if (spell == kSpellTurnUndead) {
    fx.code = 135;
    fx.save = 5;
    return fx;
  }
  if (spell == kSpellSpecialAttack) {
    const SpecialAttackKind& k = SpecialAttackOf(SpecialAttackKindOf(caster));
    fx.code = k.effectCode;
    fx.save = k.halves ? 3 : (k.saveKind == 1 ? 4 : k.saveKind == 2 ? 5 : 6);
  }
  return fx;
}

bool HasSecondEffect(int spell) { return SpellRow(spell) && SpellTable[spell].effects[1].code != 0; }

// Every duration of a use from 0 to 999 rounds lasts one round more (the
// round of the casting); 1000 and 2000 last until removed, -1 is none.
int32_t CountedDuration(int32_t duration) { return duration >= 0 && duration <= 999 ? duration + 1 : duration; }

int32_t DurationFromCode(int32_t code, int32_t value, int32_t casterLevel) {
  if (code >= 1 && code <= 10) return code * casterLevel;
  if (code >= 11 && code <= 13) return value > 0 ? RollDice(value, code - 10, 0, 0) : 0;
  if (code == 14) return value;
  if (code == 15) return 1000;
  if (code == 17) return 2000;
  return -1;
}

// Paying the material and experience costs of a party member's spell.
void PayCosts(int caster, int spell) {
  if (!SpellRow(spell) || Creatures[caster].allegiance != 1 || IsInnateCasting() || CastingFromItem == 1) return;
  const SpellRecord& s = SpellTable[spell];
  if (s.goldCost > 0) {
    PartyGold = PartyGold > static_cast<uint32_t>(s.goldCost) ? PartyGold - s.goldCost : 0;
    LogMessage("The party loses gold: \xA3%i\xA3.\r\r", s.goldCost);
  }
  if (s.xpCost > 0) {
    Creatures[caster].experience -= s.xpCost;
    LogMessage("\xA3%s\xA3 loses \xA3%i\xA3 @EXPERIENCE@ points.\r\r", NameOf(caster), s.xpCost);
  }
}

bool InCellOfKind(int creature, uint32_t kind) { return IsInMagicArea(creature, kind); }

// A creature standing on (x, y) in combat.
int CreatureOn(int x, int y) { return InCombat == 1 ? CreatureAtSquare(x, y, -1) : CombatantAtSquare(x, y); }

}  // namespace

void DispelCell(int x, int y) {
  SquareEffectCell& cell = MagicAreaGrid[SquareIndex(x, y)];
  if (cell.kind == kEffectNone || cell.roundsLeft == 1000) return;
  const uint32_t kind = cell.kind;
  cell = {0, 0, 0};
  const int who = InCombat == 1 ? CreatureOn(x, y) : -1;
  if (!IsValidCreature(who) || InCellOfKind(who, kind)) return;
  int taken = 0;
  switch (kind) {
    case kEffectInsectPlague: taken += RemoveCondition(who, kCondPlagued); break;
    case kEffectSilence: taken += RemoveCondition(who, kCondSilenced); break;
    case kEffectDarkness:
      taken += RemoveCondition(who, kCondCantSee);
      taken += RemoveCondition(who, kCondConcealedByDarkness);
      break;
    case kEffectEntangle: taken += RemoveCondition(who, kCondEntangled); break;
    case kEffectWeb:
      taken += RemoveCondition(who, kCondStuck);
      if (!InCellOfKind(who, kEffectEntangle)) taken += RemoveCondition(who, kCondEntangled);
      break;
    case kEffectFire: taken += RemoveCondition(who, kCondBurning); break;
    default: break;
  }
  // What the dispel took away counts at once (a hold's loss of Dexterity).
  if (taken > 0) RecomputeCreature(who, 0);
}

namespace {

// The lasting magic-area cells of the use.
void WriteLastingAreas(int caster, int spell, int32_t casterLevel) {
  if (!SpellRow(spell)) return;
  const SpellRecord& s = SpellTable[spell];
  const bool area = s.target == kAimSquares || s.target == kAimRectangle || s.target == kAimCircle;
  if (!area && spell != 27 && spell != 102 && spell != 103) return;
  auto lasting = [](int32_t code) { return (code >= 115 && code <= 119) || code == 131 || code == 132; };
  int32_t duration = -1, code = 0;
  for (const SpellEffect& fx : s.effects)
    if (lasting(fx.code)) {
      duration = CountedDuration(DurationFromCode(fx.durationCode, fx.durationValue, casterLevel));
      code = fx.code;
      break;
    }
  const bool dispel = s.effects[0].code == 121 || s.effects[1].code == 121;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      if (AreaMask[SquareIndex(x, y)] == 0) continue;
      SquareEffectCell& cell = MagicAreaGrid[SquareIndex(x, y)];
      if (spell == 102) {
        if (cell.kind != kEffectDarkness) continue;
        cell = {0, 0, 0};
        const int who = InCombat == 1 ? CreatureOn(x, y) : -1;
        if (IsValidCreature(who) && !InCellOfKind(who, kEffectDarkness) &&
            RemoveCondition(who, kCondCantSee) + RemoveCondition(who, kCondConcealedByDarkness) > 0)
          RecomputeCreature(who, 0);
        continue;
      }
      if (dispel) {
        DispelCell(x, y);
        continue;
      }
      if (cell.kind != kEffectNone || code == 0) continue;
      int32_t value = 0;
      uint32_t kind = 0;
      switch (code) {
        case 116: kind = kEffectInsectPlague; break;
        case 132: kind = kEffectSilence; break;
        case 131: kind = kEffectDarkness; break;
        case 115: kind = kEffectEntangle; break;
        // The web keeps its save DC, which the squares' entry rules read.
        case 119: kind = kEffectWeb; value = 10 + s.level + SpellFocusBonus(s.school); break;
        case 118: kind = kEffectFire; value = casterLevel / 2; break;
        case 117: kind = kEffectSolid; break;
        default: break;
      }
      if (kind == 0) continue;
      cell = {kind, static_cast<uint32_t>(duration < 0 ? 0 : duration), value};
    }
  (void)caster;
}

bool IsFireUse(int caster, int spell) {
  if (SpellRow(spell)) return SpellTable[spell].effects[0].code == 3 || SpellTable[spell].effects[1].code == 3;
  if (spell == kSpellSpecialAttack) {
    const int kind = SpecialAttackKindOf(caster);
    return kind == 1 || kind == 12;
  }
  return false;
}

void BurnWebs() {
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y) {
      if (AreaMask[SquareIndex(x, y)] == 0) continue;
      SquareEffectCell& cell = MagicAreaGrid[SquareIndex(x, y)];
      if (cell.kind != kEffectWeb) continue;
      cell = {0, 0, 0};
      const int who = CreatureOn(x, y);
      if (IsValidCreature(who)) WebBurnList[who] = 1;
    }
}

void FirstResolutionCall(int caster, int spell) {
  while (FindCondition(caster, kCondDamagedWhileCasting) >= 0) RemoveCondition(caster, kCondDamagedWhileCasting);
  PayCosts(caster, spell);
  const int32_t casterLevel = CurrentCasterLevel();
  WriteLastingAreas(caster, spell, casterLevel);
  BuildOccupancyGrids(-1);
  BuildMapVisibility();
  std::memset(WebBurnList, 0, sizeof WebBurnList);
  if (IsFireUse(caster, spell)) BurnWebs();
  CastingUse.hitDicePool = -1;
  switch (spell) {
    case 3: CastingUse.hitDicePool = 4; break;
    case 28: CastingUse.hitDicePool = 10; break;
    case 70:
    case 71: CastingUse.hitDicePool = RollDice(4, casterLevel, 0, 0); break;
    case 80: CastingUse.hitDicePool = 2 * casterLevel; break;
    default: break;
  }
  if (DebugMode) LogMessage("Max HD affected:%i\r", CastingUse.hitDicePool);
  SpellPass.targetIndex = 0;
  TargetPass = 0;
}

// One step of the playback of the events of the last target; true while it lasts.
bool PlaybackStep() {
  if (PlaybackCreature == -1) return false;
  if (PlaybackFramesLeft > 0) --PlaybackFramesLeft;
  if (PlaybackFramesLeft > 0) return true;
  uint32_t index = CombatEventReadIndex;
  const CombatEvent shown = index < kCombatEventCount ? CombatEvents[index] : CombatEvent{};
  if (shown.type == 40 && IsValidCreature(shown.creature)) {
    PlaybackCreature = shown.creature;
    RunDeathScript();
  }
  ++index;
  if (index < kCombatEventCount && !IsEmptyCombatEvent(CombatEvents[index])) {
    CombatEventReadIndex = index;
    PlaybackCreature = CombatEvents[index].creature;
    PlaybackFramesLeft = FramesPerEvent;
    return true;
  }
  if (CastingUse.endOfCombatRequested == 1) {
    CastingUse.endOfCombatRequested = 0;
    CheckEndOfCombat();
  }
  if (shown.type == 40 && IsValidCreature(shown.creature)) {
    Creatures[shown.creature].present = 0;
    // The fighter whose turn it is fell: its turn is over once that is shown.
    if (ActorFellDuringReaction == 1) {
      ActorFellDuringReaction = 0;
      CombatAction.actionCode = 0;
      CombatState = 4;
      CheckEndOfCombat();
    }
  }
  PlaybackCreature = -1;
  CombatAction.reactingCreature = -1;
  CombatEventReadIndex = 0;
  return true;
}

// The failure effect over a target whose pass ends refused.
void ShowRefused(int target) { StartCreatureEffect(-1, target, SpellSoundId(3)); }

// The name of a protection code for "Immune (%s)": the energies and
// alignments by their own names, the other codes by their category.
const char* ProtectionCodeName(int code) {
  static const char* const kNames[14] = {"None",        "Force", "Fire",  "Cold", "Acid",   "Electricity", "Sonic",
                                         "Air",         "Earth", "Water", "Lawful", "Good", "Chaos",       "Evil"};
  if (code >= 0 && code < 14) return kNames[code];
  const int category = ImmunityCategoryOfCode(code);
  if (category >= 0 && category < kImmunityCategories) return ImmunityCategoryNames[category];
  return "Magic";
}

int DescriptorCode(int32_t descriptor) {
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

// Immunities and responses of the target to the use's codes; false when the
// pass ends here.
bool PassesImmunities(int target, int spell, int caster) {
  if (spell == kSpellTurnUndead) return true;
  if (spell == 47 && SpellPass.effectCode == 13) return true;
  int codes[3] = {0, 0, 0};
  if (SpellRow(spell)) {
    codes[0] = SpellTable[spell].immunity1;
    codes[1] = SpellTable[spell].immunity2;
    codes[2] = DescriptorCode(SpellTable[spell].descriptor);
  } else {
    codes[0] = BreathWeaponImmunityCode1();
    codes[1] = BreathWeaponImmunityCode2();
  }
  (void)caster;
  SpellPass.protection = 0;
  for (int code : codes) {
    if (code == 0) continue;
    const int value = code == kCodeReadFromPair ? Creatures[target].protections[kCodeReadFromPair].current
                                                : GetProtectionValue(target, code);
    const bool reversedCounts = !(SpellPass.effectCode <= 12 || SpellPass.effectCode == 77);
    if (value == 1 || (value == 5 && reversedCounts)) {
      const char* name = ProtectionCodeName(code);
      LogMessage("\xA3%s\xA3 is immune to \xA3%s\xA3.\r", NameOf(target), name);
      char text[32];
      std::snprintf(text, sizeof text, "Immune (%s)", name);
      ShowFloatingText(target, text);
      ShowRefused(target);
      return false;
    }
    if (value >= 2 && value <= 4 && SpellPass.protection == 0) {
      SpellPass.protection = value;
      SpellPass.protectionCode = code;
    }
  }
  if ((codes[0] == 6 || codes[1] == 6) && InCellOfKind(target, kEffectSilence)) {
    LogMessage("No effect: \xA3%s\xA3 standing on @SILENCE@ area.\r", NameOf(target));
    ShowFloatingText(target, "No Effect");
    ShowRefused(target);
    return false;
  }
  return true;
}

// Spell resistance; false when the target resists.
bool PassesSpellResistance(int target, int spell, int caster, const SpellEffect& fx, bool enemy) {
  if (InCombat != 1 || !SpellRow(spell) || fx.spellResist != 1) return true;
  const int32_t resistance = Creatures[target].protections[kProtSpellResistance].current;
  if (resistance <= 0) return true;
  if (SpellTable[spell].harmful == 1 && !enemy) return true;
  ModifierList check;
  std::snprintf(check.caption, sizeof check.caption, "Caster level check");
  ModifierList* previous = DiceRollList;
  DiceRollList = &check;
  RollDice(20, 1, 0, 0);
  DiceRollList = previous;
  AddModifier(SpellPass.casterLevel, &check, kSrcCasterLevel);
  const CreatureRecord& c = Creatures[caster];
  if (c.feats[kFeatGreaterSpellPenetration] != 0) AddModifier(2, &check, kSrcGreaterSpellPenetration);
  if (c.feats[kFeatSpellPenetration] != 0) AddModifier(2, &check, kSrcSpellPenetration);
  const int index = StoreCombatRoll(check);
  LogMessage("\xA3%s\xA3 level check @%i|%.2i@ ", c.name, check.total, index);
  if (check.total < resistance) {
    LogMessage("\xA3%s\xA3 (SR \xA3%i\xA3) resists the spell.\r", NameOf(target), resistance);
    char text[32];
    std::snprintf(text, sizeof text, "Resisted (SR %i)", resistance);
    ShowFloatingText(target, text);
    ShowRefused(target);
    return false;
  }
  LogMessage("\xA3%s\xA3 (SR \xA3%i\xA3) fails to resist.\r", NameOf(target), resistance);
  return true;
}

// The save kind of the pass: 1 Fortitude, 2 Willpower, 3 Reflex; halves or negates.
void SaveKindOf(int32_t code, int* kind, bool* halves) {
  *kind = code >= 1 && code <= 3 ? code : code >= 4 && code <= 6 ? code - 3 : 2;
  *halves = code >= 1 && code <= 3;
}

int32_t BuildSaveDc(int caster, int spell, ModifierList* dc) {
  const CreatureRecord& c = Creatures[caster];
  const int kind = SpecialAttackKindOf(caster);
  const char* caption = spell == kSpellTurnUndead        ? "Turn Undead Difficulty Class"
                        : spell != kSpellSpecialAttack   ? "Spell Difficulty Class"
                        : kind == 23                     ? "Gaze Attack Difficulty Class"
                                                         : "Breath Weapon Difficulty Class";
  std::snprintf(dc->caption, sizeof dc->caption, "%s", caption);
  AddModifier(10, dc, kSrcBaseValue);
  if (spell == kSpellSpecialAttack) AddModifier(LevelCapByKind() / 2, dc, kSrcHalfRacialHitDice);
  else if (spell == 148 || spell == kSpellTurnUndead) AddModifier(SpellPass.casterLevel / 2, dc, kSrcHalfCasterLevel);
  else if (SpellRow(spell)) AddModifier(SpellTable[spell].level, dc, kSrcSpellLevel);
  if (PendingMetamagic == kMetamagicHeightened && SpellRow(spell)) AddModifier(1, dc, kSrcHeightenedSpell);
  if ((spell == kSpellSpecialAttack && kind == 23) || spell == kSpellTurnUndead || IsInnateCasting())
    AddModifier(AbilityModifier(c.charisma.current), dc, kSrcCharismaModifier);
  else if (spell == kSpellSpecialAttack)
    AddModifier(AbilityModifier(c.constitution.current), dc, kSrcConstitutionModifier);
  else if (SpellRow(spell) && SpellTable[spell].divine == 1)
    AddModifier(AbilityModifier(c.wisdom.current), dc, kSrcWisdomModifier);
  else
    AddModifier(AbilityModifier(c.intelligence.current), dc, kSrcIntelligenceModifier);
  if (SpellRow(spell)) {
    const int school = SpellTable[spell].school;
    if (school >= 1 && school <= 8) {
      const int place = kFocusRowOfSchool[school];
      if (c.feats[kFeatGreaterSpellFocusFirst + place] != 0) AddModifier(1, dc, kSrcGreaterSpellFocusFirst + place);
      if (c.feats[kFeatSpellFocusFirst + place] != 0) AddModifier(1, dc, kSrcSpellFocusFirst + place);
    }
  }
  return dc->total;
}

// The saving throw; false when a negating save ends the pass.
bool PassesSave(int target, int spell, int caster, const SpellEffect& fx, bool enemy) {
  SpellPass.saveMade = 0;
  SpellPass.saveDc = 0;
  if (InCombat != 1) return true;
  const bool special = spell == kSpellTurnUndead || spell == kSpellSpecialAttack;
  if (!special && fx.save <= 0) return true;
  const bool harmful = spell == kSpellTurnUndead || (SpellRow(spell) && SpellTable[spell].harmful == 1);
  if (harmful && !enemy) return true;
  if (spell == 54 && Creatures[target].effectiveLevel <= 3) return true;

  ModifierList dc;
  SpellPass.saveDc = BuildSaveDc(caster, spell, &dc);
  int kind = 2;
  bool halves = false;
  SaveKindOf(fx.save, &kind, &halves);
  SpellPass.saveCode = fx.save;

  const CreatureRecord& t = Creatures[target];
  ModifierList roll;
  std::snprintf(roll.caption, sizeof roll.caption, "Saving Throw");
  ModifierList* previous = DiceRollList;
  DiceRollList = &roll;
  const int32_t d20 = RollDice(20, 1, 0, 0);
  DiceRollList = previous;
  if (kind == 1) {
    AddModifier(t.fortitude.current, &roll, kSrcFortitudeBonus);
    AddModifier(AbilityModifier(t.constitution.current), &roll, kSrcConstitutionModifier);
  } else if (kind == 2) {
    AddModifier(t.willpower.current, &roll, kSrcWillpowerBonus);
    AddModifier(AbilityModifier(t.wisdom.current), &roll, kSrcWisdomModifier);
  } else {
    AddModifier(t.reflex.current, &roll, kSrcReflexBonus);
    AddModifier(AbilityModifier(t.dexterity.current), &roll, kSrcDexterityModifier);
  }
  if (spell == 58 && (t.creatureClass == 4 || t.creatureClass == 5)) AddModifier(-4, &roll, kSrcFeeblemindPenalty);
  const int32_t alignment = Creatures[caster].alignment;
  if ((alignment == 3 || alignment == 6 || alignment == 9) && HasCondition(target, kCondProtectedVersusEvil))
    AddModifier(ConditionValue(target, kCondProtectedVersusEvil), &roll, kCondProtectedVersusEvil);
  if ((alignment == 1 || alignment == 4 || alignment == 7) && HasCondition(target, kCondProtectedVersusGood))
    AddModifier(ConditionValue(target, kCondProtectedVersusGood), &roll, kCondProtectedVersusGood);
  const int rollIndex = StoreCombatRoll(roll);
  LogMessage("\xA3%s\xA3 @SAVING_THROW@ @%i|%.2i@ ", t.name, roll.total, rollIndex);
  const int dcIndex = StoreCombatRoll(dc);
  bool made;
  if (d20 == 1) {
    LogMessage("\xA3" "Automatic_failure\xA3 (roll of 1).\r");
    made = false;
  } else if (d20 == 20) {
    LogMessage("\xA3" "Automatic_success\xA3 (roll of 20).\r");
    made = true;
  } else if (roll.total >= dc.total) {
    LogMessage("Save succeeded (DC @%i|%.2i@)\r", dc.total, dcIndex);
    made = true;
  } else {
    LogMessage("Save failed (DC @%i|%.2i@)\r", dc.total, dcIndex);
    made = false;
  }
  SpellPass.saveMade = made ? 1 : 0;
  if (made && !halves) {
    static const char* const kSaved[4] = {"", "Saved (Fortitude)", "Saved (Willpower)", "Saved (Reflex)"};
    ShowFloatingText(target, kSaved[kind]);
    ShowRefused(target);
    return false;
  }
  return true;
}

int32_t PassDuration(int spell, int caster, const SpellEffect& fx) {
  int32_t duration = -1;
  if (spell == kSpellTurnUndead) {
    duration = RollDice(6, 1, 0, 0);
  } else if (spell == kSpellSpecialAttack) {
    const int32_t rule = SpecialAttackOf(SpecialAttackKindOf(caster)).duration;
    const CreatureRecord& c = Creatures[caster];
    duration = rule != -1 ? rule
               : c.special[kSpecialAttackSides] > 0 ? RollDice(c.special[kSpecialAttackSides], c.special[kSpecialAttackDice], 0, 0)
                                                   : -1;
  } else {
    duration = DurationFromCode(fx.durationCode, fx.durationValue, SpellPass.casterLevel);
  }
  return CountedDuration(duration);
}

// The dice or the fixed amount of the pass.
void PassAmount(int spell, int caster, const SpellEffect& fx) {
  SpellPass.diceSides = SpellPass.diceCount = SpellPass.diceBonus = 0;
  SpellPass.fixedAmount = 0;
  const int32_t level = SpellPass.casterLevel;
  if (spell == kSpellSpecialAttack) {
    const int kind = SpecialAttackKindOf(caster);
    if (SpecialAttackRollsAmount(kind)) {
      SpellPass.diceSides = Creatures[caster].special[kSpecialAttackSides];
      SpellPass.diceCount = Creatures[caster].special[kSpecialAttackDice];
    }
    return;
  }
  if (!SpellRow(spell)) return;
  const int32_t sides = fx.amountSides, count = fx.amountCount;
  if (sides >= 1 && sides <= 30 && count != 0) {
    int32_t dice = 0, bonus = 0;
    if (count >= 1 && count <= 20) dice = count;
    else if (count == 21) dice = level;
    else if (count == 22) dice = 2 * level;
    else if (count >= 23 && count <= 27) { dice = count - 22; bonus = level; }
    else if (count >= 28 && count <= 32) { dice = count - 27; bonus = 2 * level; }
    else if (count == 33) dice = level / 2;
    else if (count == 34) { dice = 1; bonus = level / 2; }
    else if (count >= 35 && count <= 50) dice = std::min(level, count - 30);
    else if (count >= 51 && count <= 56) dice = std::min(level / 2, count - 46);
    SpellPass.diceSides = sides;
    SpellPass.diceCount = dice;
    SpellPass.diceBonus = bonus;
    return;
  }
  int32_t fixed = sides;
  switch (sides) {
    case 46: fixed = level; break;
    case 47: fixed = 2 * level; break;
    case 48: fixed = level / 2; break;
    case 49: fixed = level / 3; break;
    case 50: fixed = level / 4; break;
    case 51: fixed = level / 5; break;
    case 52: fixed = level / 6; break;
    case 53: fixed = 10 * level; break;
    default: break;
  }
  if (spell == 161 || spell == 162 || spell == 172 || spell == 173) fixed = std::min(fixed, 150);
  SpellPass.fixedAmount = fixed;
  SpellPass.amount = fixed;
}

bool IsAmountCode(int32_t code, int spell) {
  if (code == 1 && spell == 118) return false;  // Lend Life moves the caster's own hit points
  if (code == 110 && spell == 54) return false;  // Poison Gas slays the weak first (spell effects)
  return (code >= 1 && code <= 14) || code == 58 || code == 77 || (code >= 110 && code <= 113) || code == 116 ||
         code == 117 || code == 120 || code == 130;
}

// One pass of the use on the target.
void ResolvePass(int caster, int spell) {
  const int target = AreaTargetList[SpellPass.targetIndex];
  SpellPass.target = target;
  const SpellEffect fx = PassBlock(spell, caster, TargetPass);
  SpellPass.effectCode = fx.code;
  SpellPass.amountSides = fx.amountSides;
  SpellPass.amountCount = fx.amountCount;
  SpellPass.parameter = fx.parameter;
  SpellPass.saveCode = fx.save;
  SpellPass.critical = 0;
  SpellPass.saveMade = 0;
  SpellPass.protection = 0;
  SpellPass.protectionCode = 0;
  SpellPass.amount = 0;
  if (!IsValidCreature(target)) return;
  const bool enemy = AreEnemies(caster, target);

  if (TargetPass == 1 && SpellRow(spell)) {
    // Only a foe is rolled against: a willing friend is touched without a
    // roll, whatever sides the spell is meant for (a cure touches an undead
    // foe with a roll).
    const SpellRecord& s = SpellTable[spell];
    if ((s.rangedTouch == 1 || s.meleeTouch == 1) && enemy) {
      if (!SpellTouchAttack(caster, s.rangedTouch == 1)) return;
    }
  }
  const int current = SpellPass.target;  // a redirected touch changed the target
  if (!PassesImmunities(current, spell, caster)) return;
  if (!PassesSpellResistance(current, spell, caster, fx, AreEnemies(caster, current))) return;
  if (!PassesSave(current, spell, caster, fx, AreEnemies(caster, current))) return;
  SpellPass.duration = PassDuration(spell, caster, fx);
  PassAmount(spell, caster, fx);
  if (spell == 161 || spell == 173 || spell == 162 || spell == 172) {
    const bool undead = Creatures[current].type == 8;
    if (((spell == 161 || spell == 173) && !undead) || ((spell == 162 || spell == 172) && undead)) {
      if (Creatures[current].hitPoints <= 1) {
        ReportSpellFailure("No effect", current);
        return;
      }
    }
  }
  if (IsAmountCode(SpellPass.effectCode, spell)) ApplySpellAmount();
  if (!IsAmountCode(SpellPass.effectCode, spell) || SpellPass.effectCode == 117) ApplySpellEffect();
}

// The end of the use after its last target.
void EndOfUse(int caster, int spell) {
  // A party member's cure cast again out of combat on the same wounded friend.
  const int target = SpellPass.target;
  if (InCombat == 0 && caster >= 0 && caster < kPartySize && Creatures[caster].allegiance == 1 &&
      (spell == 107 || spell == 119 || spell == 133 || spell == 144) && OptionWords[kOptionAutoRecastCure] == 1 &&
      CastingUse.repeat == 0 && target >= 0 && target < kPartySize && Creatures[target].hitPoints > -10 &&
      Creatures[target].hitPoints < Creatures[target].maxHitPoints) {
    CreatureRecord& c = Creatures[caster];
    bool spent = false;
    if (IsChargedItemUse()) {
      spent = UseWandCharge(CastingItem) == 1;
    } else {
      const int slot = SpellSlotLevel(spell, PendingMetamagic);
      if (slot >= 1 && slot <= 9 && c.spellsLeft[slot - 1] > 0) {
        --c.spellsLeft[slot - 1];
        spent = true;
      }
    }
    if (spent) {
      ClearAreaTargets();
      AreaTargetList[0] = target;
      CastingUse.announced = 0;
      CastingUse.frameCounter = 0;
      ScreenMode = kModeAnnounce;
      return;
    }
  }
  // The next missile or ray of the use; none once the battle is decided
  // (the last foe fell to the one before), whatever is left of the use.
  const bool decided = InCombat == 1 && IsBattleDecided();
  if (CurrentTargetingKind() == kAimIndividual && CastingUse.missilesLeft > 1 && !decided) {
    --CastingUse.missilesLeft;
    if (CombatAction.playerControlled == 1 || InCombat == 0) {
      CastingUse.furtherMissile = 1;
      ScreenMode = kModeAimCreature;
      // While the player picks the next target the view goes back where it
      // stood as the first was aimed (it may have gone after the last
      // target), so that a foe stands where the player saw it then; over
      // the caster, round whom the creatures in reach stand, when the use
      // was not aimed there.
      if (CastingUse.aimViewKept == 1)
        GlideViewTo(CastingUse.aimViewX, CastingUse.aimViewY);
      else
        StrictScrollTo(caster, -1, -1);
      return;
    }
    const bool friends = SpellTable[spell].beneficial == 1 || spell == 109 || spell == 120 || spell == 134 ||
                         spell == 145 || spell == 161 || HasSecondEffect(spell);
    const int next = friends ? ChooseSpellTarget() : ChooseBestSpellTarget();
    if (next != -1) {
      ClearAreaTargets();
      AreaTargetList[0] = next;
      CastingUse.announced = 0;
      CastingUse.frameCounter = 0;
      ScreenMode = kModeAnnounce;
      return;
    }
  }
  PendingMetamagic = 0;
  if (CastingFromItem == 1 && CastingWand == 0 && FirstScriptedSpell(caster) == spell) DropFirstScriptedSpell(caster);
  CastingFromItem = CastingWand = CastingSpellLike = CastingScripted = 0;
  CastingItem = 0;
  SpellInProgress = -1;
  ScreenMode = 0;
  SetReadyMode();
  if (InCombat != 1) return;
  if (CurrentFighter() == caster) {
    // A use that felled the last foe (or the last of the party) ends the
    // battle at once, not when the caster's turn is over.
    if (CheckEndOfCombat()) return;
    if (CombatAction.playerControlled == 1) {
      CombatState = 1;
      ScrollTo(caster, -1, -1);
    } else {
      CombatState = 2;
    }
    return;
  }
  CombatAction.actionCode = 0;
  CombatState = 4;
  if (DebugMode) LogMessage("Caster taken out by his own spell.\r");
  CheckEndOfCombat();
}

}  // namespace

void ResetTargetResolution() {
  SpellPass.targetIndex = -1;
  TargetPass = -1;
  std::memset(ResolvedCreatures, 0, sizeof ResolvedCreatures);
}

void ResolutionStep() {
  if (MoveInProgress != 0) return;
  const int caster = SpellCaster, spell = SpellInProgress;
  if (!IsValidCreature(caster)) {
    ScreenMode = 0;
    return;
  }
  if (SpellPass.targetIndex == -1) {
    FirstResolutionCall(caster, spell);
    return;
  }
  if (PlaybackStep()) return;

  ClearCombatEvents();
  ++TargetPass;
  if (TargetPass > 2 || (TargetPass == 2 && (spell >= kSpellRows || !HasSecondEffect(spell)))) {
    ++SpellPass.targetIndex;
    TargetPass = 1;
  }
  const bool newTarget = TargetPass == 1;
  if (SpellPass.endTargets == 1 || SpellPass.targetIndex >= kAreaTargetCount ||
      AreaTargetList[SpellPass.targetIndex] == -1) {
    SpellPass.endTargets = 0;
    EndOfUse(caster, spell);
    return;
  }
  SpellPass.casterLevel = CurrentCasterLevel();
  if (newTarget) {
    LogMessage("\r");
    RecomputeCreature(AreaTargetList[SpellPass.targetIndex], 0);
  }
  ResolvePass(caster, spell);
}
