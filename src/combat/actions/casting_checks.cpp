#include "combat/actions/casting_checks.h"

#include <algorithm>
#include <cstdio>

#include "combat/actions/least_services.h"
#include "combat/resolution/combat_sequencer.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/random.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "rules/casting_rules.h"
#include "rules/combat_roll_log.h"
#include "rules/creature_record.h"
#include "rules/inventory_slots.h"
#include "rules/item_tables.h"
#include "rules/modifier_list.h"
#include "state/combat_action.h"
#include "state/camera.h"
#include "state/combat_events.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

int32_t TargetPass = 0;

namespace {

// The sound field of a phase 1 to 3 of a spell row (0 none).
int32_t SpellPhaseSound(const SpellRecord& s, int phase) {
  return phase == 1 ? s.castSound : phase == 2 ? s.effectSound : s.targetSound;
}

// Where each school's feat stands in a focus run: schools 1 to 8.
constexpr int kFocusPlace[9] = {-1, 4, 2, 5, 0, 3, 6, 1, 7};

bool InnateCast() { return InCombat == 1 && CastingSpellLike == 1 && CastingScripted != 1; }

int32_t SecondFormLevel(const CreatureRecord& c) {
  return std::max(c.effectiveLevel - c.level + c.casterLevelAdjust, 1);
}

int32_t InnateFormLevel(const CreatureRecord& c) {
  return std::max(c.effectiveLevel - c.level + c.special[kSpecialCasterLevel], 1);
}

int SpellLevelOf(int spell) { return spell >= 0 && spell < kSpellRows ? SpellTable[spell].level : 0; }

int FocusBonusOf(int creature, int school) {
  if (!IsValidCreature(creature) || school < 1 || school > 8) return 0;
  const int place = kFocusPlace[school];
  const CreatureRecord& c = Creatures[creature];
  return (c.feats[kFeatSpellFocusFirst + place] != 0 ? 1 : 0) +
         (c.feats[kFeatGreaterSpellFocusFirst + place] != 0 ? 1 : 0);
}

// Creature kinds by the level cap of their casting (every kind not listed: 1).
int KindLevelCap(int32_t kind) {
  struct Cap {
    int32_t cap;
    int32_t kinds[6];
  };
  static const Cap kCaps[] = {
      {2, {40, 43, 50, 62, 79, 90}}, {3, {15, 21, 56, 85, -1, -1}}, {4, {7, 91, -1, -1, -1, -1}},
      {6, {4, 63, 65, 84, 86, -1}},  {7, {3, -1, -1, -1, -1, -1}},  {8, {46, 68, -1, -1, -1, -1}},
      {9, {75, -1, -1, -1, -1, -1}}, {10, {66, -1, -1, -1, -1, -1}}, {11, {60, -1, -1, -1, -1, -1}},
      {12, {55, -1, -1, -1, -1, -1}}, {14, {37, -1, -1, -1, -1, -1}}, {15, {33, 89, -1, -1, -1, -1}},
      {16, {6, -1, -1, -1, -1, -1}}, {17, {47, -1, -1, -1, -1, -1}}, {18, {9, 58, -1, -1, -1, -1}},
      {19, {73, -1, -1, -1, -1, -1}}, {20, {8, -1, -1, -1, -1, -1}},
  };
  for (const Cap& c : kCaps)
    for (int32_t k : c.kinds)
      if (k == kind) return c.cap;
  return 1;
}

int32_t DefensiveBonus(int creature, int innate) {
  const CreatureRecord& c = Creatures[creature];
  const int32_t level = innate ? InnateFormLevel(c) : SecondFormLevel(c);
  return (c.feats[kFeatSuperiorConcentration] != 0 ? 4 : 0) + AbilityModifier(c.constitution.current) + level;
}

// The concentration roll of a creature against its DC list; logs both and
// answers whether the roll reached the DC.
bool RollConcentration(int creature, ModifierList& dc, int32_t casterLevel) {
  const CreatureRecord& c = Creatures[creature];
  ModifierList roll;
  std::snprintf(roll.caption, sizeof roll.caption, "Concentration Check");
  AddModifier(AbilityModifier(c.constitution.current), &roll, kSrcConstitutionModifier);
  if (c.feats[kFeatSuperiorConcentration] != 0) AddModifier(4, &roll, kSrcSuperiorConcentration);
  AddModifier(casterLevel, &roll, kSrcCasterLevel);
  AddModifier(static_cast<int32_t>(RandomUpTo(19)) + 1, &roll, kSrcD20Roll);
  const int rollIndex = StoreCombatRoll(roll);
  LogMessage("\xA3%s\xA3 concentration @%i|%.2i@\r", c.name, roll.total, rollIndex);
  const int dcIndex = StoreCombatRoll(dc);
  if (roll.total >= dc.total) {
    LogMessage("Success (DC @%i|%.2i@)\r", dc.total, dcIndex);
    return true;
  }
  LogMessage("Failure (DC @%i|%.2i@)\r\r", dc.total, dcIndex);
  return false;
}

void InitDcList(ModifierList& dc, int32_t base) {
  std::snprintf(dc.caption, sizeof dc.caption, "Concentration Check Difficulty Class");
  AddModifier(base, &dc, kSrcBaseValue);
  AddModifier(SpellLevelOf(SpellInProgress), &dc, kSrcSpellLevel);
}

// Spends the action the spell's casting time takes.
void SettleByCastingTime(int spell) {
  if (InCombat != 1 || spell < 0 || spell >= kSpellRows) return;
  switch (SpellTable[spell].castingTime) {
    case 1: SettleMoveAfterActionAlt(); break;
    case 2: SettleMoveAfterAction(); break;
    case 3: ClearActionTarget(); break;
    default: break;
  }
}

// The slot that holds the item in use (a carried pair or an equipment slot), 0 none.
int SlotHoldingItem(const CreatureRecord& c, uint32_t code) {
  for (int i = 0; i < kCarriedPairs; ++i)
    if (c.carried[i].code == code) return kSlotFirstCarried + i;
  for (int i = 0; i < kEquipSlots; ++i)
    if (c.equipment[i] == code) return i + 1;
  return 0;
}

void RecordRecentSpell(int creature, int spell, int metamagic) {
  RecentSpellPair* list = RecentSpells[creature];
  const int kept = metamagic >= 1 && metamagic <= 6 ? metamagic : 0;
  for (int i = 0; i < kRecentSpells; ++i)
    if (list[i].spell == spell && list[i].metamagic == kept) return;
  for (int i = kRecentSpells - 1; i > 0; --i) list[i] = list[i - 1];
  list[0] = {spell, kept};
}

}  // namespace

int32_t CasterLevelOf(int creature) {
  if (!IsValidCreature(creature)) return 1;
  const CreatureRecord& c = Creatures[creature];
  return InnateCast() ? InnateFormLevel(c) : SecondFormLevel(c);
}

int32_t CurrentCasterLevel() { return CasterLevelOf(SpellCaster); }

int32_t BaseCasterLevel(int creature) { return IsValidCreature(creature) ? SecondFormLevel(Creatures[creature]) : 1; }

int32_t LevelCapByKind() {
  if (!IsValidCreature(SpellCaster)) return 0;
  const CreatureRecord& c = Creatures[SpellCaster];
  switch (c.creatureClass) {
    case 1: case 3: case 4: case 6: case 16: case 17:
      return std::min(c.effectiveLevel, KindLevelCap(c.kind));
    default:
      return c.effectiveLevel;
  }
}

int SpellFocusBonus(int school) { return FocusBonusOf(SpellCaster, school); }

int32_t SpellSaveDC() {
  const int spell = SpellInProgress;
  if (spell < 0 || spell >= kSpellRows || !IsValidCreature(SpellCaster)) return 10;
  const SpellRecord& s = SpellTable[spell];
  const CreatureRecord& c = Creatures[SpellCaster];
  int32_t dc = 10 + s.level + (PendingMetamagic == kMetamagicHeightened ? 1 : 0);
  dc += AbilityModifier(s.divine == 1 ? c.wisdom.current : c.intelligence.current);
  return dc + FocusBonusOf(SpellCaster, s.school);
}

bool ConcentrationCheck(int32_t base, int creature) {
  if (!IsValidCreature(creature)) return false;
  ModifierList dc;
  InitDcList(dc, base);
  return RollConcentration(creature, dc, SecondFormLevel(Creatures[creature]));
}

int ConcentrationCheckFull(int32_t base, int32_t extraSource, int32_t extraValue) {
  const int caster = SpellCaster;
  if (!IsValidCreature(caster)) return 0;
  ModifierList dc;
  InitDcList(dc, base);
  if (extraSource != -1) AddModifier(extraValue, &dc, extraSource);
  if (RollConcentration(caster, dc, CurrentCasterLevel())) return 1;
  LoseCurrentCasting(caster, "Concentration Failure", kCastingLostConcentration);
  return 0;
}

void LoseCurrentCasting(int caster, const char* words, uint8_t loss) {
  ShowFloatingText(caster, words);
  SpellInProgress = -1;
  CastingLost = loss;
  ClearCombatEvents();
  CombatEvents[0] = {45, 0, caster, 38, 0};
  PlaybackCreature = caster;
  PlaybackFramesLeft = FramesPerEvent;
  ScrollTo(caster, -1, -1);
  CombatAction.actionCode = 13;
  ScreenMode = 0;
  QueuedActionCode = QueuedScreenMode = -1;
  HandOverTurn();
}

bool CanCastDefensivelySafely(int spell, int creature, int innate) {
  if (!IsValidCreature(creature)) return false;
  return DefensiveBonus(creature, innate) + 1 >= 15 + SpellLevelOf(spell);
}

bool CanCastDefensivelyLikely(int spell, int creature, int innate) {
  if (!IsValidCreature(creature)) return false;
  return 15 + SpellLevelOf(spell) - DefensiveBonus(creature, innate) < 8;
}

int SpellSlotLevel(int spell, int metamagic) {
  const int step = metamagic >= 1 && metamagic <= 6 ? MetamagicLevelStep[metamagic] : 0;
  return SpellLevelOf(spell) + step;
}

bool ConsumeSpellSource() {
  const int spell = SpellInProgress;
  const int caster = SpellCaster;
  if (spell == 999 || !IsValidCreature(caster)) return true;
  CreatureRecord& c = Creatures[caster];
  if (spell == 998) {
    SettleMoveAfterAction();
    int32_t& uses = c.displayWords[kDisplayTurnUndeadUses];
    if (uses > 0) --uses;
    return true;
  }
  if (CastingFromItem == 1) {
    if (CastingWand == 1) {
      UseWandCharge(CastingItem);
    } else {
      const int slot = SlotHoldingItem(c, CastingItem);
      if (slot != 0) UnequipSlot(caster, slot, 1, 1);
    }
    SettleByCastingTime(spell);
    return true;
  }
  if (IsInnateCasting()) {
    SettleMoveAfterAction();
    int32_t& left = c.special[kSpecialUsesLeft];
    if (c.special[kSpecialUsesPerDay] != 999 && left > 0) --left;
    return true;
  }
  if (c.allegiance == 1 && caster >= 0 && caster < kPartySize) RecordRecentSpell(caster, spell, PendingMetamagic);
  // A slot level beyond 9 names no slot: nothing is spent.
  const int slot = SpellSlotLevel(spell, PendingMetamagic);
  if (slot >= 1 && slot <= 9 && c.spellsLeft[slot - 1] > 0) --c.spellsLeft[slot - 1];
  SettleByCastingTime(spell);
  return true;
}

void ReportSpellFailure(const char* text, int creature) {
  if (!IsValidCreature(creature)) return;
  ShowFloatingText(creature, text);
  LogMessage("Failure : %s.\r", text);
  StartCreatureEffect(-1, creature, SpellSoundId(3));
  if (TargetPass == 1) TargetPass = 2;
}

int SpellAreaSize() {
  const int spell = SpellInProgress;
  if (spell < 0 || spell >= kSpellRows) return -1;
  int size = SpellTable[spell].areaSize;
  const int level = CurrentCasterLevel();
  if (spell == 5) size = level < 3 ? 1 : level < 5 ? 2 : level < 7 ? 3 : level < 9 ? 4 : 5;
  if (spell == 18) size = level < 7 ? 1 : level < 11 ? 2 : 3;
  return size < 2 ? -1 : size;
}

int FirstScriptedSpell(int creature) {
  if (!IsValidCreature(creature)) return -1;
  for (int i = kScriptWordFirstSpell; i <= kScriptWordLastSpell; ++i)
    if (Creatures[creature].scriptWords[i] > 0) return Creatures[creature].scriptWords[i] - 1;
  return -1;
}

bool DropFirstScriptedSpell(int creature) {
  if (!IsValidCreature(creature)) return true;
  for (int i = kScriptWordFirstSpell; i <= kScriptWordLastSpell; ++i) {
    int32_t& word = Creatures[creature].scriptWords[i];
    if (word > 0) {
      word = 0;
      break;
    }
  }
  return true;
}

int IsInnateCasting() { return InnateCast() ? 1 : 0; }

bool IsChargedItemUse() { return CastingFromItem == 1 && CastingWand == 1; }

bool ClearCurrentSpell() {
  SpellInProgress = -1;
  SpellTarget = -1;
  PendingMetamagic = 0;
  DispelReason = 0;
  CastingParameter = 0;
  CastingExtraValue[0] = CastingExtraValue[1] = 0;
  MissileState.targetX = MissileState.targetY = -1;
  return true;
}

int SpellSoundId(int phase) {
  const int spell = SpellInProgress;
  if (phase < 1 || phase > 3) return 0;
  if (spell == 998) {
    static const int kTurn[4] = {0, 46, 45, 38};
    return kTurn[phase];
  }
  if (spell == 999) {
    if (phase == 3) return 37;
    const int kind = IsValidCreature(SpellCaster) ? Creatures[SpellCaster].special[kSpecialAttackKind] : 0;
    if (phase == 1) {
      switch (kind) {
        case 1: case 12: return 30;
        case 2: case 13: return 31;
        case 3: case 14: return 34;
        case 4: case 15: case 10: case 21: case 11: case 22: return 32;
        case 5: case 16: return 33;
        default: return 0;
      }
    }
    switch (kind) {
      case 6: case 17: case 8: case 19: case 7: case 18: return 35;
      case 9: case 20: case 23: return 40;
      case 1: case 12: return 48;
      case 2: case 13: return 49;
      case 3: case 14: return 52;
      case 4: case 15: case 10: case 21: case 11: case 22: return 50;
      case 5: case 16: return 51;
      default: return 0;
    }
  }
  if (spell < 0 || spell >= kSpellRows) return 0;
  const int32_t field = SpellPhaseSound(SpellTable[spell], phase);
  return field == 0 ? 0 : field + 29;
}

void PlaySpellSound(int phase) {
  const int id = SpellSoundId(phase);
  if (id < 1 || id > 57) return;
  const int volume = id >= 12 && id <= 26 ? OptionWords[kOptionAmbientVolume] : OptionWords[kOptionSoundVolume];
  if (volume <= 0) return;
  StopChannel(kSpellSoundChannel);
  PlaySound(id, kSpellSoundChannel, 1, volume);
}
