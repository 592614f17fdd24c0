// The middle steps of a use: spending the source and testing for a target,
// the casting checks (invisibility, readied enemies, attacks of opportunity,
// concentration, spell failure, counterspells) and the announcement with its
// animation.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "combat/actions/casting_checks.h"
#include "combat/actions/least_services.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/log_keywords.h"
#include "combat/resolution/special_attacks.h"
#include "combat/resolution/spell_resolution.h"
#include "combat/turns/casting_questions.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "rules/casting_rules.h"
#include "rules/combat_roll_log.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/item_tables.h"
#include "rules/modifier_list.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

namespace {

bool SpellRow(int spell) { return spell >= 0 && spell < kSpellRows; }

const char* NameOf(int creature) { return IsValidCreature(creature) ? Creatures[creature].name : ""; }

// The event of a use that ends over the caster.
void CasterEvent(int32_t type, int caster) { QueueUseEvent(type, 0, caster, 38); }

// A use that ends early hands the frame to the action executor (combat
// state 3), which shows its events and applies the hand-over; the player's
// aim and a reaction that broke into the checks leave the state at 1.
void EndedEarly() {
  if (InCombat == 1) CombatState = 3;
}

// A d100 of a spell failure chance, logged as "Spell Failure roll "; the roll and its log index.
int32_t RollSpellFailure(int* index) {
  ModifierList roll;
  std::snprintf(roll.caption, sizeof roll.caption, "Spell Failure roll");
  ModifierList* previous = DiceRollList;
  DiceRollList = &roll;
  const int32_t value = RollDice(100, 1, 0, 0);
  DiceRollList = previous;
  *index = StoreCombatRoll(roll);
  return value;
}

// A deafened caster of a spoken spell: 20 % failure.
bool FailsByDeafness(int caster, int spell) {
  if (!SpellRow(spell) || SpellTable[spell].verbal == 0 || PendingMetamagic == kMetamagicSilent) return false;
  if (!HasCondition(caster, 87)) return false;
  int index = 0;
  const int32_t roll = RollSpellFailure(&index);
  LogMessage("Spell Failure roll @%i|%.2i@ \xA3" "20%%\xA3 failure chance due to @DEAFENED@. ", roll, index);
  if (roll < 20) return true;
  LogMessage("(Success)\r");
  return false;
}

// Arcane spell failure of armour, shield and iron body.
bool FailsByArmour(int caster, int spell) {
  if (!SpellRow(spell)) return false;
  const SpellRecord& s = SpellTable[spell];
  if (s.divine != 0 || s.somatic == 0 || PendingMetamagic == kMetamagicStilled) return false;
  const bool armour = HasCondition(caster, 122), shield = HasCondition(caster, 123), iron = HasCondition(caster, 115);
  if (!armour && !shield && !iron) return false;
  if (Creatures[caster].furtherWords[kArmourCastingWord] == 1) return false;
  ModifierList chance;
  std::snprintf(chance.caption, sizeof chance.caption, "Arcane Spell Failure");
  if (armour) AddModifier(ConditionValue(caster, 122), &chance, 122);
  if (shield) AddModifier(ConditionValue(caster, 123), &chance, 123);
  if (iron) AddModifier(50, &chance, 115);
  int rollIndex = 0;
  const int32_t roll = RollSpellFailure(&rollIndex);
  const int chanceIndex = StoreCombatRoll(chance);
  LogMessage("Spell Failure roll @%i|%.2i@ Spell Failure chance @%i|%.2i@%% ", roll, rollIndex, chance.total,
             chanceIndex);
  if (roll < chance.total) return true;
  LogMessage("(Success)\r");
  return false;
}

// Whether the caster may no longer go on with the use's spell as it is cast.
bool CastingDisrupted(int caster, int spell) {
  return IsCastingDisrupted(caster, spell, PendingMetamagic, CastingFromItem == 1);
}

// The spell is lost as a failed concentration loses it: its source stays
// spent, the caster's turn goes on or ends as after such a failure.
void LoseDisruptedCasting(int caster) {
  LogMessage("\xA3%s\xA3: Spellcasting Disrupted.\r\r", NameOf(caster));
  LoseCurrentCasting(caster, "Spellcasting Disrupted", kCastingLostDisrupted);
  CombatAction.endedActionCode = 28;
  EndedEarly();
}

// Concentration for the afflictions of the caster; false when one failed
// (the check has ended the cast).
bool KeepsConcentration(int caster) {
  struct Affliction {
    uint32_t id;
    const char* line;
  };
  static const Affliction kAfflictions[] = {
      {99, "@ACID_BURNS@:\r"}, {110, "@BLEEDING@:\r"}, {102, "@PLAGUED@:\r"},
      {107, "@BURNING@:\r"},   {157, "@GRAPPLING@:\r"}, {161, "@DAMAGED_WHILE_CASTING@:\r"},
  };
  for (const Affliction& a : kAfflictions) {
    if (!HasCondition(caster, a.id)) continue;
    LogMessage("%s", a.line);
    int ok = 1;
    switch (a.id) {
      case 110: ok = ConcentrationCheckFull(3 * ConditionValue(caster, 110) + 11, -1, 0); break;
      case 157: ok = ConcentrationCheckFull(20, -1, 0); break;
      case 161: ok = ConcentrationCheckFull(10, kCondDamagedWhileCasting, ConditionValue(caster, 161)); break;
      default: ok = ConcentrationCheckFull(15, -1, 0); break;
    }
    if (ok == 0) return false;
  }
  return true;
}

// The counterspeller's own concentration for its afflictions.
bool CounterspellerConcentrates(int creature) {
  static const uint32_t kIds[] = {99, 110, 102, 107};
  for (uint32_t id : kIds) {
    if (!HasCondition(creature, id)) continue;
    const int32_t base = id == 110 ? 3 * ConditionValue(creature, 110) + 11 : 15;
    if (!ConcentrationCheck(base, creature)) return false;
  }
  return true;
}

bool HasFreeHand(const CreatureRecord& c) {
  const uint32_t right = c.equipment[kSlotRightHand - 1], left = c.equipment[kSlotLeftHand - 1];
  if (right != 0 && left != 0) return false;
  if (right != 0 && left == 0 && IsCraftedCode(right) && CraftedWeapons[right].handling == 3) return false;
  return true;
}

// The spell a counterspeller answers with, -1 none (with its failure line written).
int CounterspellFor(int who, int caster, int spell) {
  const CreatureRecord& c = Creatures[who];
  const SpellRecord& target = SpellTable[spell];
  const bool bySchool = c.feats[kFeatImprovedCounterspell] != 0;  // answers with a spell of the school
  int chosen = -1;
  if (bySchool) {
    for (int id = 0; id < kSpellRows; ++id) {
      const SpellRecord& s = SpellTable[id];
      if (c.knownSpells[id] != 1 || s.school != target.school || s.level < 1 || s.level > 9) continue;
      if (c.spellsLeft[s.level - 1] < 1) continue;
      if (id != spell && s.level <= target.level) continue;
      if (chosen == -1 || s.level < SpellTable[chosen].level) chosen = id;
    }
  }
  if (chosen == -1) {
    if (c.knownSpells[spell] == 1) return spell;
    if (bySchool)
      LogMessage("\xA3%s\xA3 fails to @COUNTERSPELL@: no spell of appropriate school and level.\r", c.name);
    else
      LogMessage("\xA3%s\xA3 fails to @COUNTERSPELL@: \xA3unknown_spell\xA3.\r", c.name);
    (void)caster;
    return -1;
  }
  return chosen;
}

void ClearPlan(TurnOrderEntry& e) {
  e.plannedAction = 0;
  e.plannedTarget = 0;
  e.plannedParameter = 0;
}

// The counterspells readied against the caster; true when one succeeded
// (the use has ended).
bool Counterspelled(int caster, int spell) {
  if (InCombat != 1 || !SpellRow(spell) || IsInnateCasting()) return false;
  for (int i = 0; i < std::min(TurnEntryCount, kTurnOrderEntries); ++i) {
    TurnOrderEntry& e = TurnOrder[i];
    const int who = e.creature;
    if (!IsValidCreature(who) || e.plannedAction != 9 || e.plannedTarget != caster || !AreEnemies(caster, who)) continue;
    CreatureRecord& c = Creatures[who];
    int blocking = -1;
    if (!CanCastSpells(who, &blocking)) {
      const uint32_t id = blocking >= 0 && blocking < kConditionSlots ? c.conditions[blocking].id : 0;
      LogMessage("\xA3%s\xA3 fails to @COUNTERSPELL@: @%s@.\r", c.name, ConditionKeyword(id).c_str());
      ClearPlan(e);
      continue;
    }
    if (!HasFreeHand(c)) {
      LogMessage("\xA3%s\xA3 fails to @COUNTERSPELL@: no free hand.\r", c.name);
      ClearPlan(e);
      continue;
    }
    const CreatureRecord& k = Creatures[caster];
    if (!HasLineOfEffect(c.squareX, c.squareY, k.squareX, k.squareY, nullptr)) {
      LogMessage("\xA3%s\xA3 fails to @COUNTERSPELL@: no line of sight to \xA3%s\xA3.\r", c.name, k.name);
      ClearPlan(e);
      continue;
    }
    const int answer = CounterspellFor(who, caster, spell);
    if (answer < 0) {
      ClearPlan(e);
      continue;
    }
    const int level = SpellTable[answer].level;
    if (level < 1 || level > 9 || c.spellsLeft[level - 1] < 1 || MaxSpellLevel(who) < level) {
      LogMessage("\xA3%s\xA3 fails to @COUNTERSPELL@: no spell slot available to cast @%s@.\r", c.name,
                 SpellKeywordFull(answer));
      ClearPlan(e);
      continue;
    }
    LogMessage("\xA3%s\xA3 casts @%s@ as @COUNTERSPELL@ against \xA3%s\xA3.\r", c.name, SpellKeywordFull(answer),
               k.name);
    ClearPlan(e);
    --c.spellsLeft[level - 1];
    if (!CounterspellerConcentrates(who)) {
      MoveTurnBefore(who, caster, CurrentFighter());
      continue;
    }
    static const char* const kLost[7] = {"", "@MAXIMISED@ ", "@EMPOWERED@ ", "@WIDENED@ ",
                                         "@HEIGHTENED@ ", "@SILENT@ ", "@STILLED@ "};
    const int meta = PendingMetamagic >= 0 && PendingMetamagic <= 6 ? PendingMetamagic : 0;
    LogMessage("\xA3" "Counterspelled:\xA3 \xA3%s\xA3 loses the spell, %s@%s@.\r\r", k.name, kLost[meta],
               SpellKeywordFull(spell));
    MoveTurnBefore(who, caster, CurrentFighter());
    ShowFloatingText(caster, "Counterspelled");
    CastingLost = kCastingLostCounterspelled;
    CasterEvent(45, caster);
    EndUseAfterFailure();
    return true;
  }
  return false;
}

// "FIRE_SHIELD" as "Fire Shield".
void CapitalisedKeyword(const char* keyword, char* out, size_t size) {
  size_t n = 0;
  bool start = true;
  for (const char* p = keyword; *p && n + 1 < size; ++p) {
    const char ch = *p == '_' ? ' ' : *p;
    out[n++] = start ? static_cast<char>(std::toupper(static_cast<unsigned char>(ch)))
                     : static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    start = ch == ' ' || ch == '/' || ch == '(';
  }
  out[n] = 0;
}

void Announce(int caster, int spell) {
  const CreatureRecord& c = Creatures[caster];
  if (spell == kSpellTurnUndead) {
    LogMessage("\xA3%s\xA3 uses @TURN_UNDEAD@ ability.\r\r", c.name);
    return;
  }
  if (spell == kSpellSpecialAttack) {
    LogMessage(SpecialAttackOf(SpecialAttackKindOf(caster)).announcement, c.name);
    LogMessage("\r\r");
    return;
  }
  if (!SpellRow(spell)) return;
  const char* keyword = SpellKeywordFull(spell);
  static const char* const kMeta[7] = {"", "@MAXIMISED@ ", "@EMPOWERED@ ", "@WIDENED@ ",
                                       "@HEIGHTENED@ ", "@SILENCED@ ", "@STILLED@ "};
  static const char* const kMetaFloat[7] = {"%s", "Maximised %s", "Empowered %s", "Widened %s",
                                            "Heightened %s", "Silenced %s", "Stilled %s"};
  const int meta = PendingMetamagic >= 0 && PendingMetamagic <= 6 ? PendingMetamagic : 0;
  if (IsInnateCasting()) LogMessage("\xA3%s\xA3 uses @SPELL_LIKE_ABILITY@ @%s@", c.name, keyword);
  else if (IsChargedItemUse()) LogMessage("\xA3%s\xA3 uses @%s@ wand", c.name, keyword);
  else LogMessage("\xA3%s\xA3 casts %s@%s@", c.name, kMeta[meta], keyword);
  if (c.allegiance != 1) {
    char words[40];
    CapitalisedKeyword(keyword, words, sizeof words);
    char text[64];
    std::snprintf(text, sizeof text, kMetaFloat[meta], words);
    ShowFloatingText(caster, text);
  }
  const int target = AreaTargetList[0];
  if (SpellTable[spell].target == kAimIndividual && IsValidCreature(target)) {
    if (target == caster) {
      static const char* const kSelf[3] = {" on itself.", " on himself.", " on herself."};
      LogMessage("%s", kSelf[c.gender >= 1 && c.gender <= 2 ? c.gender : 0]);
    } else {
      LogMessage(" on \xA3%s\xA3.", Creatures[target].name);
    }
  } else {
    LogMessage(".");
  }
  LogMessage("\r\r");
}

// Animation kind, colour and steps of the use's area or target animation.
struct UseAnimation {
  int32_t kind;
  int32_t steps;
};

UseAnimation AnimationOf(int caster, int spell) {
  if (spell == kSpellTurnUndead) return {6, 7};
  if (spell == kSpellSpecialAttack) {
    const SpecialAttackKind& k = SpecialAttackOf(SpecialAttackKindOf(caster));
    return {k.animation, k.steps};
  }
  if (!SpellRow(spell)) return {0, 0};
  const int32_t kind = SpellTable[spell].animationKind;
  switch (kind) {
    case 2: case 4: case 5: case 6: case 9: return {kind, 7};
    case 3: case 7: return {kind, 10};
    case 8: return {kind, 9};
    case 10: return {kind, 11};
    case 11: case 12: return {kind, 1};
    default: return {kind, 0};
  }
}

int32_t SpeedWordOf(int32_t kind) {
  int index = 0;
  if (kind >= 2 && kind <= 9) index = (kind - 2) % 4;
  else if (kind >= 10 && kind <= 12) index = kind - 6;
  const int32_t speed = AnimationSpeedWords[index];
  return speed > 0 ? speed : 1;
}

void ClearTargetAnimation() { std::memset(TargetAnimation, 0, sizeof TargetAnimation); }

void MarkTargetsAnimated(int32_t kind) {
  for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
    const int slot = GetFighterSlot(AreaTargetList[i]);
    if (slot >= 0 && slot < 300) TargetAnimation[slot] = kind;
  }
}

void StartResolution() {
  ClearTargetAnimation();
  CastingUse.areaAnimating = 0;
  CastingUse.missileFlying = 0;
  ScreenMode = kModeResolve;
}

}  // namespace

int32_t UseAnimationFrames() {
  const UseAnimation animation = AnimationOf(SpellCaster, SpellInProgress);
  return animation.steps * SpeedWordOf(animation.kind);
}

void AddCounterspellLogKeywords(std::vector<LogKeyword>* out) {
  for (uint32_t id : kCastingBlockers) {
    std::string keyword = ConditionKeyword(id);
    keyword.insert(keyword.begin(), '@');
    keyword.push_back('@');
    out->push_back({keyword, "src/combat/resolution/casting_steps.cpp"});
  }
}

void QueueUseEvent(int32_t type, int32_t value, int creature, int32_t sound) {
  const int n = FirstFreeCombatEvent();
  if (n == -1) return;
  CombatEvents[n] = {type, value, creature, sound, 0};
  if (PlaybackCreature == -1) {
    CombatEventReadIndex = static_cast<uint32_t>(n);
    PlaybackCreature = creature;
    PlaybackFramesLeft = FramesPerEvent;
  }
}

void SpendSourceStep() {
  // A further missile or ray the player has aimed: the use was paid for and
  // checked at its first one, so it goes on to the announcement.
  if (CastingUse.furtherMissile == 1) {
    CastingUse.furtherMissile = 0;
    CastingUse.announced = 0;
    CastingUse.frameCounter = 0;
    ScreenMode = kModeAnnounce;
    return;
  }
  if (CastResumed == 0) ConsumeSpellSource();
  else CastResumed = 0;
  if (CastingUse.noTarget == 1) {
    CastingUse.noTarget = 0;
    const int caster = SpellCaster;
    StrictScrollTo(caster, -1, -1);
    LogMessage("\xA3%s\xA3: No target for spellcasting.\r\r", NameOf(caster));
    ShowFloatingText(caster, "No target found");
    ClearCurrentSpell();
    CasterEvent(45, caster);
    CombatAction.actionCode = 13;
    CombatAction.actionParameter = 29;
    ScreenMode = 0;
    CombatState = 3;
    HandOverTurn();
    return;
  }
  ScreenMode = kModeCastingChecks;
  CastingChecksStep();
}

void CastingChecksStep() {
  const int caster = SpellCaster, spell = SpellInProgress;
  if (!IsValidCreature(caster)) {
    EndUseAfterFailure();
    return;
  }
  static const int kKeepInvisible[] = {1, 2, 9, 10, 12, 13, 19, 25, 26};
  const bool keeps = std::find(std::begin(kKeepInvisible), std::end(kKeepInvisible), spell) != std::end(kKeepInvisible);
  if (HasCondition(caster, kCondInvisible) && !keeps) {
    RemoveCondition(caster, kCondInvisible);
    ShowFloatingText(caster, "Lost effect (Invisibility)");
    LogMessage("\xA3%s\xA3 loses the @INVISIBLE@ condition.\r", NameOf(caster));
    CasterEvent(46, caster);
    RecomputeCreature(caster, 0);
    ClearQueuedAction();
    QueuedScreenMode = kModeCastingChecks;
    ScreenMode = 0;
    CombatAction.actionCode = 13;
    EndedEarly();
    return;
  }
  QueuedScreenMode = -1;

  if (YieldToReadiedEnemy()) return;

  // Casting provokes: a defensive caster makes its Concentration check,
  // any other lets every enemy that may react attack first, one per call
  // (the chain goes on each time the checks come back, until it is over).
  if (InCombat == 1 && SpellRow(spell) && CastingUse.opportunityUnderway != kOpportunitiesTaken) {
    const bool chainRunning = CastingUse.opportunityUnderway == kOpportunitiesUnderway;
    if (!chainRunning && Creatures[caster].behaviour[kBehaviourDefensiveCasting] == 1) {
      CastingUse.opportunityUnderway = kOpportunitiesTaken;
      if (HasOpportunityAttacker()) {
        LogMessage("Defensive casting:\r");
        if (ConcentrationCheckFull(15, -1, 0) == 0) {
          EndedEarly();
          return;
        }
      }
    } else {
      if (!chainRunning) CastingUse.castableAsAttacked = CastingDisrupted(caster, spell) ? 0 : 1;
      if (NextOpportunityAttacker()) {
        CastingUse.opportunityUnderway = kOpportunitiesUnderway;
        QueuedScreenMode = kModeCastingChecks;
        ScreenMode = 0;
        CombatState = 3;
        CombatAction.actionCode = 12;
        return;
      }
      CastingUse.opportunityUnderway = kOpportunitiesTaken;
      // A caster the attacks left unable to go on (paralysed amid a spell
      // with a gesture, a wand fallen from its use) loses the spell, as a held
      // casting that resumes does.
      if (chainRunning && CastingUse.castableAsAttacked == 1 && CastingDisrupted(caster, spell)) {
        LoseDisruptedCasting(caster);
        return;
      }
    }
  }

  if (!KeepsConcentration(caster)) {
    EndedEarly();
    return;
  }

  if (FailsByDeafness(caster, spell) || FailsByArmour(caster, spell)) {
    LogMessage("Failure - the spell is lost.\r\r");
    ShowFloatingText(caster, "Failed to Cast");
    CastingLost = kCastingLostToFailure;
    CasterEvent(45, caster);
    EndUseAfterFailure();
    return;
  }

  if (Counterspelled(caster, spell)) return;

  CastingUse.missilesLeft = SpellAreaSize();
  CastingUse.announced = 0;
  CastingUse.frameCounter = 0;
  CastingUse.missileFlying = 0;
  CastingUse.areaAnimating = 0;
  ScreenMode = kModeAnnounce;
}

void AnnouncementStep() {
  const int caster = SpellCaster, spell = SpellInProgress;
  ResetTargetResolution();
  if (!IsValidCreature(caster)) {
    StartResolution();
    return;
  }
  if (InCombat == 1 && CastingUse.announced == 0) Announce(caster, spell);
  CastingUse.announced = 1;

  if (MoveInProgress != 0) return;
  ++CastingUse.frameCounter;
  const UseAnimation animation = AnimationOf(caster, spell);
  const int single = AreaTargetList[0];
  const bool missile = SpellRow(spell) && SpellTable[spell].missile != 0;

  if (animation.kind == 0 || (animation.kind == 3 && !missile && (!IsValidCreature(single) || Creatures[single].present != 1))) {
    PlaySpellSound(1);
    StartResolution();
    return;
  }
  // An animated use is heard as it starts: as its missile leaves the caster
  // or its animation begins (a plain missile of kind 1 as it lands).
  if (CastingUse.frameCounter == 1 && CastingUse.missileFlying == 0 && animation.kind != 1) PlaySpellSound(1);
  if (missile && CastingUse.areaAnimating == 0 && CastingUse.missileFlying != 2) {
    if (CastingUse.missileFlying == 0) {
      const int aimX = CastingUse.aimX >= 0 ? CastingUse.aimX : IsValidCreature(single) ? Creatures[single].squareX : -1;
      const int aimY = CastingUse.aimY >= 0 ? CastingUse.aimY : IsValidCreature(single) ? Creatures[single].squareY : -1;
      MissileFrame(caster, aimX, aimY);
      CastingUse.missileFlying = 1;
    }
    AdvanceMissileFlight();
    // The view follows the missile as it follows a shot, so that its target
    // stands in sight as the amount it takes is shown.
    ScrollTo(-1, MissileState.pixelX / kSquarePixels, MissileState.pixelY / kSquarePixels);
    const bool arrived = animation.kind == 3 && IsValidCreature(single) ? MissileReachedCreature(single)
                                                                       : MissileReachedSquare();
    if (!arrived) return;
    MissileState.inFlight = 0;
    CastingUse.missileFlying = 2;
    CastingUse.frameCounter = 0;
    if (animation.kind == 1) {
      PlaySpellSound(1);
      StartResolution();
      return;
    }
    CastingUse.areaAnimating = 1;
    return;
  }
  if (animation.kind == 1) {
    StartResolution();
    return;
  }
  // The map view draws an area animation from its first frame on, whether a
  // missile brought it or not.
  if (animation.kind >= 6) CastingUse.areaAnimating = 1;
  const int32_t speed = SpeedWordOf(animation.kind);
  if (CastingUse.frameCounter % speed != 0) return;
  const int32_t step = CastingUse.frameCounter / speed;
  if (animation.kind >= 2 && animation.kind <= 5) MarkTargetsAnimated(animation.kind);
  else if (DebugMode && spell == kSpellSpecialAttack) LogMessage("Magic Effect Timer %i ", CastingUse.frameCounter);
  if (step >= animation.steps) StartResolution();
}
