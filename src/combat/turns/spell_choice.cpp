#include "combat/turns/spell_choice.h"

#include <algorithm>
#include <iterator>

#include "combat/actions/casting_checks.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/special_attacks.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/placement_grids.h"
#include "combat/turns/spell_search.h"
#include "combat/turns/spell_targets.h"
#include "combat/turns/spell_usefulness.h"
#include "combat/turns/support_grids.h"
#include "combat/turns/tactics.h"
#include "combat/turns/tactic_steps.h"
#include "creatures/control_tendencies.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "map/area_shapes.h"
#include "map/map_record.h"
#include "map/fighter_tests.h"
#include "rules/casting_rules.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/dice.h"
#include "rules/feat_ids.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/spell_ids.h"
#include "state/camera.h"
#include "state/casting_services.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/current_cast.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

int32_t FoundSpells[kFoundSpellSize];
int32_t FoundSpellCount = 0;
int32_t FoundSpellLevel = 0;

namespace {

// Readied plans against spellcasting and to counterspell.
constexpr int32_t kPlanCounterspell = 9;
constexpr int32_t kPlanReadyVersusSpell = 22;
constexpr int32_t kPlanReadyVersusSpellStepping = 23;
// The readiness share: at most this per cent of a side stands readied.
constexpr double kReadyShareLimit = 45.0;
// The event and its sound shown over a fighter that readies itself.
constexpr int32_t kReadyEventSound = 38;

// The item plans put aside while a fighter with a move already made looks
// among its own spells.
struct ItemPlans {
  bool active = false;
  uint8_t programmed = 0, spellLike = 0, wand = 0;
  int32_t programmedSpell = -1;
};
ItemPlans SetAside;

bool Has(int creature, uint32_t id) { return FindCondition(creature, id) >= 0; }
bool HasFeat(int creature, int feat) { return Creatures[creature].feats[feat] != 0; }
int32_t Behaviour(int creature, int word) { return Creatures[creature].behaviour[word]; }

// What the tactics need to know of the caster's situation.
TacticFlags TacticFlagsOf(const CasterSituation& s) {
  TacticFlags f;
  f.canMove = s.canMove;
  f.hasRangedAttack = s.rangedAttack;
  f.adjacentEnemy = s.adjacentEnemy;
  f.freeHand = s.freeHand;
  f.specialMeans = f.canCastSpells = true;
  f.topSpellLevel = MaxSpellLevel(s.fighter);
  return f;
}
int D100() { return RollDice(100, 1, 0, 0); }

int EntryOf(int creature) {
  const int count = std::clamp<int>(TurnEntryCount, 0, kTurnOrderEntries);
  for (int i = 0; i < count; ++i)
    if (TurnOrder[i].creature == creature) return i;
  return -1;
}

void SetPlan(int creature, int32_t code, int32_t target, int32_t parameter) {
  const int entry = EntryOf(creature);
  if (entry < 0) return;
  TurnOrder[entry].plannedAction = code;
  TurnOrder[entry].plannedTarget = target;
  TurnOrder[entry].plannedParameter = parameter;
}

SpellSource CurrentSource() {
  const CombatActionState& a = CombatAction;
  if (a.scriptedSpellPlanned != 0) return SpellSource::kProgrammed;
  if (a.spellLikePlanned != 0) return SpellSource::kSpellLike;
  if (a.wandPlanned != 0) return SpellSource::kWand;
  return SpellSource::kOwn;
}

int32_t SourceSpell(SpellSource source, int fighter) {
  switch (source) {
    case SpellSource::kProgrammed: return CombatAction.scriptedSpell;
    case SpellSource::kSpellLike: return InnateSpellOf(fighter);
    case SpellSource::kWand: return WandSpellOf(fighter);
    default: return -1;
  }
}

bool IsSpellRow(int spell) { return spell >= 0 && spell < kSpellRows; }

// Whether the creature, placed on (x, y) for a moment, would stand in a magic area of the kind.
bool FootprintInMagicAreaAt(int creature, int x, int y, int32_t kind) {
  CreatureRecord& c = Creatures[creature];
  const int32_t ox = c.squareX, oy = c.squareY;
  c.squareX = x;
  c.squareY = y;
  const bool inside = IsInMagicArea(creature, static_cast<uint32_t>(kind));
  c.squareX = ox;
  c.squareY = oy;
  return inside;
}

// Spells left at a spell level 1 to 9.
int32_t SpellsLeftAt(int fighter, int level) {
  return level >= 1 && level <= 9 ? Creatures[fighter].spellsLeft[level - 1] : 0;
}

void DropProgrammedPlan() {
  CombatAction.scriptedSpellPlanned = 0;
  CombatAction.scriptedSpell = -1;
}

void PutItemPlansAside() {
  CombatActionState& a = CombatAction;
  SetAside = {true, a.scriptedSpellPlanned, a.spellLikePlanned, a.wandPlanned, a.scriptedSpell};
  a.scriptedSpellPlanned = a.spellLikePlanned = a.wandPlanned = 0;
}

void RestoreItemPlans() {
  if (!SetAside.active) return;
  CombatActionState& a = CombatAction;
  a.scriptedSpellPlanned = SetAside.programmed;
  a.spellLikePlanned = SetAside.spellLike;
  a.wandPlanned = SetAside.wand;
  a.scriptedSpell = SetAside.programmedSpell;
  SetAside.active = false;
}

// At least one other fighter of its side is able, and at most 45 per cent of
// the others already stand readied against spellcasting.
bool ReadinessShareHolds(int fighter) {
  if (!HasAllyNotHelpless(fighter)) return false;
  const int allies = CountAllies(fighter);
  if (allies <= 0) return false;
  return 100.0 * CountAlliesHoldingReady(fighter) / allies <= kReadyShareLimit;
}

// The common end of a readied action: plan, text, event over the fighter,
// and the action over with the next fighter queued.
void AnnounceReadied(int fighter, int target, int32_t plan, const char* text) {
  FaceTowardsCreature(fighter, target);
  SetPlan(fighter, plan, target, 0);
  ShowFloatingText(fighter, text);
  ClearCombatEvents();
  CombatEvents[0] = CombatEvent{};
  CombatEvents[0].type = kEventFreed;
  CombatEvents[0].creature = fighter;
  CombatEvents[0].sound = kReadyEventSound;
  PlaybackCreature = fighter;
  PlaybackFramesLeft = FramesPerEvent;
  ScreenMode = kModeExploring;
  ScrollTo(fighter, -1, -1);
  CombatAction.actionCode = 13;
  QueuedActionCode = -1;
  QueuedScreenMode = -1;
  QueuedCombatState = kStateNextFighter;
  CombatState = kStateActionUnderWay;
  ActionBarMode = 1;
}

// Ready to counterspell an enemy caster.
bool TryReadyToCounterspell(const CasterSituation& s) {
  const int f = s.fighter;
  const CombatActionState& a = CombatAction;
  PresentFrameNow();
  if (DisruptionTarget != -1 || a.scriptedSpellPlanned != 0 || a.cureOthers != 0 || a.standardActionLeft == 0)
    return false;
  const int32_t cls = Creatures[f].creatureClass;
  if (cls != kClassWizard && cls != kClassCleric) return false;
  if (D100() > Behaviour(f, kBehaviourCounterspell)) return false;
  if (!ReadinessShareHolds(f) || !CanCastSpells(f, nullptr)) return false;
  if (!s.freeHand && Creatures[f].equipment[kSlotRightHand - 1] != 0) return false;
  if (!ListCounterspellTargets(f)) return false;
  const int caster = ChooseRandomCasterTarget();
  if (caster < 0) return false;
  LogMessage("\xA3%s\xA3 is @READY_TO_COUNTERSPELL@ \xA3%s\xA3.\r", Creatures[f].name, Creatures[caster].name);
  AnnounceReadied(f, caster, kPlanCounterspell, "Ready To Counterspell");
  return true;
}

// A known spell the computer uses against casters, with a slot left and not
// blocked; or such a spell in a planned wand or spell-like ability.
bool HasSpellAgainstCasters(int f) {
  const CreatureRecord& c = Creatures[f];
  const int top = MaxSpellLevel(f);
  for (int spell = 0; spell < kSpellRows; ++spell) {
    if (c.knownSpells[spell] != 1 || !IsAiItemSpell(spell)) continue;
    const int level = SpellTable[spell].level;
    if (level < 1 || level > top || SpellsLeftAt(f, level) <= 0) continue;
    if (!IsSpellcastingBlocked(f, spell, 0, 1, 0)) return true;
  }
  if (CombatAction.spellLikePlanned != 0 && c.special[kSpecialUsesLeft] > 0 && IsAiItemSpell(InnateSpellOf(f)))
    return true;
  const uint32_t wand = WandItemOf(f);
  return CombatAction.wandPlanned != 0 && wand != 0 && CraftedWeapons[wand].charges > 0 &&
         IsAiItemSpell(WandSpellOf(f));
}

bool TryReadyAgainstCasting(const CasterSituation& s) {
  const int f = s.fighter;
  const CombatActionState& a = CombatAction;
  if (DisruptionTarget != -1 || a.scriptedSpellPlanned != 0 || a.cureOthers != 0 || a.standardActionLeft == 0)
    return false;
  if (!HasSpellAgainstCasters(f)) return false;
  Trace("Can do ready/spell \r");
  if (D100() > Behaviour(f, kBehaviourSpellAttack) || !ReadinessShareHolds(f)) return false;  // ready versus spell
  if (FindAnyCondition(f, kCondConfused, kCondInsane, kCondSleeping, kCondParalyzed, kCondPetrified, kCondGrappling,
                       kCondDancing, kCondFeebleminded, kCondNauseated) >= 0)
    return false;
  if (FindAnyCondition(f, kCondMute, kCondSilenced, kCondPolymorphed, kCondTransformation, kCondIronBody, kCondStunned,
                       kCondCowering) >= 0)
    return false;
  if (!ListEnemyCastersInReach(f, 0, -1)) return false;
  const int caster = ChooseReadiedTarget();
  if (caster < 0) return false;
  ReadyAgainstSpellcasting(f, caster);
  return true;
}

// The good-square stance of an item or innate spell's casting square.
int CastingSquareMode(SpellSource source, int f, int spell, int32_t* target) {
  const bool keepsDistance = Behaviour(f, kBehaviourDefensiveStyle) == 1;
  const int32_t kind = SpellTargetKind[spell];
  const bool touch = SpellTable[spell].range == 2;
  *target = -1;
  if (source == SpellSource::kProgrammed) {
    if (kind == 3 || kind == 4 || kind == 5 || kind == 6 || kind == 9) {
      const int named = Creatures[f].scriptWords[kScriptWordTarget];
      if (named >= 1 && ScriptedSpellTarget(f) == named) {
        *target = named;
        return 2;
      }
      return keepsDistance ? 2 : -1;
    }
    return touch ? 1 : keepsDistance ? 2 : -1;
  }
  if (IsGroupSpell10(spell) && kind == 5) return 1;
  if (kind >= 3 && kind <= 6) return keepsDistance ? 2 : -1;
  return touch ? 1 : keepsDistance ? 2 : -1;
}

// Whether the casting-square search is skipped this time: only while the
// seek-casting-square byte is set may it be.
bool SkipsCastingSquare(const CasterSituation& s, SpellSource source, int spell) {
  const int f = s.fighter;
  const CombatActionState& a = CombatAction;
  if (a.seekCastingSquare == 0) return false;
  const bool curing = source == SpellSource::kOwn && a.cureOthers != 0;
  if (!s.adjacentEnemy && DisruptionTarget == -1 && !curing) return true;
  const bool defensive = Behaviour(f, kBehaviourDefensiveCasting) == 1;
  if (CpuMoveIssued != 0 && (!s.adjacentEnemy || defensive)) return true;
  if (source == SpellSource::kOwn) return false;
  const bool keepsDistance = Behaviour(f, kBehaviourDefensiveStyle) == 1;
  if (source == SpellSource::kProgrammed || source == SpellSource::kWand) {
    if (keepsDistance && defensive && CanCastDefensivelySafely(spell, f, 0)) return true;
  } else {
    const int32_t cls = Creatures[f].creatureClass;
    const bool caster = cls == kClassCleric || cls == kClassWizard || cls == kClassLich;
    if (defensive && (!caster || keepsDistance) && CanCastDefensivelySafely(spell, f, 1)) {
      Trace("Skip moving: defensive casting is auto-successful\r");
      return true;
    }
  }
  const int32_t kind = SpellTargetKind[spell];
  if (kind >= 3 && kind <= 6) return false;
  if (HasOnlyDistantTargets(f, spell, 0)) return true;
  return SpellTable[spell].range == 2;
}

// Moving first to a square to cast from. True when a move was issued.
bool TryCastingSquare(const CasterSituation& s, bool withSkipTests) {
  if (!s.canMove) return false;
  const int f = s.fighter;
  for (;;) {
    const SpellSource source = CurrentSource();
    const int spell = SourceSpell(source, f);
    if (source != SpellSource::kOwn && !IsSpellRow(spell)) return false;
    if (withSkipTests && SkipsCastingSquare(s, source, spell)) return false;
    const bool cureGrid = source == SpellSource::kOwn && CombatAction.cureOthers != 0;
    if (cureGrid) {
      BuildCureValuationGrid(f, 0);
    } else {
      int32_t target = -1;
      const int mode = source == SpellSource::kOwn ? -1 : CastingSquareMode(source, f, spell, &target);
      BuildGoodSquareGrid(f, 0, mode, target, target == -1 ? 0 : RangeClassSquared(spell), spell);
    }
    const int64_t best = ExtractBestSquare(f, 0, nullptr);
    if (best == -1) {
      Trace("DEBUG - Better position not found or unreachable\r");
      if (cureGrid && ValuationGrid[SquareIndex(Creatures[f].squareX, Creatures[f].squareY)] <= 0) {
        Trace("DEBUG - No target for cure, reverting to normal.\r");
        CombatAction.cureOthers = 0;
        continue;
      }
      return false;
    }
    const int x = static_cast<int32_t>(best & 0xFFFFFFFF), y = static_cast<int32_t>(best >> 32);
    if (!IsReachableThisTurn(f, x, y)) {
      Trace("There is a path but can't be reached even in a full round.\r");
      return false;
    }
    if (HazardKindToLeave != 0 && FootprintInMagicAreaAt(f, x, y, HazardKindToLeave)) {
      Trace("DEBUG - Canceled move due to bad square\r");
      return false;
    }
    Trace("DEBUG - Send CPU moving #5\r");
    SendCpuMoving(f, x, y, 0);
    return true;
  }
}

// The extra slot levels the pending metamagic costs.
int ExtraSlotLevels() {
  return PendingMetamagic >= 1 && PendingMetamagic <= 6 ? MetamagicLevelStep[PendingMetamagic] : 0;
}

// The level the search starts at.
int StartLevel(SpellSource source, int f, int spell, int top) {
  if (source == SpellSource::kProgrammed) return SpellTable[spell].level;
  if (source != SpellSource::kOwn) return SpellTable[spell].level - ExtraSlotLevels();
  int start = 1;
  for (int level = 9; level >= 2; --level) {
    if (SpellsLeftAt(f, level) > 0 && level <= top) {
      start = level;
      break;
    }
  }
  return start - ExtraSlotLevels();
}

// Silent, or Still while held or without a free hand: a metamagic the
// fighter cannot do without.
bool MetamagicIsNeeded(const CasterSituation& s) {
  if (PendingMetamagic == kMetamagicSilent) return true;
  return PendingMetamagic == kMetamagicStilled && (Has(s.fighter, kCondParalyzed) || !s.freeHand);
}

void ScanLevel(const SpellSearchContext& x) {
  for (int spell = 0; spell < kSpellRows; ++spell) {
    SpellInProgress = spell;
    if (FoundSpellCount < kFoundSpellSize && PassesCandidateRules(x, spell)) FoundSpells[FoundSpellCount++] = spell;
  }
}

enum class SearchEnd { kFound, kItemFoundNothing, kNoSpell };

// The search by level (with its restarts) down to the first level that
// yields a spell.
SearchEnd SearchByLevel(const CasterSituation& s) {
  const int f = s.fighter;
  const int top = MaxSpellLevel(f);
  SpellCaster = f;
  for (;;) {
    Trace("Seeking spells w/metamagic %i\r", PendingMetamagic);
    const SpellSource source = CurrentSource();
    const int itemSpell = SourceSpell(source, f);
    if (source != SpellSource::kOwn && !IsSpellRow(itemSpell)) return SearchEnd::kItemFoundNothing;
    bool restart = false;
    for (int level = StartLevel(source, f, itemSpell, top);; --level) {
      Trace("Searching spells of lvl: %i\r", level);
      if (level < 1 && PendingMetamagic != kMetamagicNone) {
        if (MetamagicIsNeeded(s)) {
          if (source != SpellSource::kProgrammed) return SearchEnd::kNoSpell;
          Trace("Switching to non-programmed spell search \r");
          DropProgrammedPlan();
        } else {
          Trace("Switching to non-metamagic search \r");
          PendingMetamagic = kMetamagicNone;
        }
        restart = true;
        break;
      }
      if (level < 1 && DisruptionTarget != -1) {
        Trace("Switching to non-disrupting spell search \r");
        DisruptionTarget = -1;
        restart = true;
        break;
      }
      if (source == SpellSource::kProgrammed) {
        const int slot = level + ExtraSlotLevels();
        const bool applies = PendingMetamagic == kMetamagicNone || SpellTable[itemSpell].metamagic[PendingMetamagic - 1] == 1;
        if (!applies || slot > top || SpellsLeftAt(f, slot) <= 0) {
          if (PendingMetamagic == kMetamagicSilent || PendingMetamagic == kMetamagicStilled) {
            Trace("Switching to non-programmed spell search \r");
            DropProgrammedPlan();
          } else if (PendingMetamagic != kMetamagicNone) {
            Trace("Switching to non-metamagic search \r");
            PendingMetamagic = kMetamagicNone;
          } else {
            DropFirstScriptedSpell(f);
            Trace("Switching to non-programmed spell search \r");
            DropProgrammedPlan();
          }
          restart = true;
          break;
        }
      }
      FoundSpellCount = 0;
      std::fill(std::begin(FoundSpells), std::end(FoundSpells), -1);
      const bool slotsLeft = source == SpellSource::kSpellLike || source == SpellSource::kWand || level < 1 ||
                             SpellsLeftAt(f, level) > 0;
      SpellSearchContext context;
      context.situation = &s;
      context.fighter = f;
      context.source = source;
      context.itemSpell = itemSpell;
      context.level = level;
      if (slotsLeft) {
        ScanLevel(context);
        SpellInProgress = -1;
        if (source == SpellSource::kOwn && FoundSpellCount >= 1 && level > 1) {
          context.secondPass = true;
          ScanLevel(context);
        }
      }
      SpellInProgress = -1;
      FoundSpellCount = CollapseIconRuns(FoundSpellCount, FoundSpells);
      for (int i = 0; i < FoundSpellCount; ++i) Trace("Found spell: %s\r", SpellTable[FoundSpells[i]].name);
      if (FoundSpellCount > 0) {
        FoundSpellLevel = level;
        return SearchEnd::kFound;
      }
      if (source != SpellSource::kOwn) return SearchEnd::kItemFoundNothing;
      if (level <= 1 && PendingMetamagic == kMetamagicNone && DisruptionTarget == -1) {
        RestoreItemPlans();
        return SearchEnd::kNoSpell;
      }
      Trace("Checked Sp.Level %i, no spells\r", level);
    }
    if (!restart) return SearchEnd::kNoSpell;
  }
}

// Picks one of the found spells and hands it to the sequencer, or moves first
// to a better square for a cone, line or burst round the caster.
SpellBranchOutcome CastFoundSpell(const CasterSituation& s, SpellSource source, bool forced) {
  const int f = s.fighter;
  CombatAction.seekCastingSquare = 0;
  if (forced) Trace("Cleric spell hijack\r");
  else Trace("Checked Sp.Lvl %i, found %i spells\r", FoundSpellLevel, FoundSpellCount);
  const int spell = FoundSpells[RollDice(FoundSpellCount, 1, 0, 0) - 1];
  SpellInProgress = spell;
  SpellCaster = f;
  if (IsGroupSpell10(spell)) CastingExtraValue[1] = kGroupAgainstEnemies;
  if (source == SpellSource::kWand) {
    CastingFromItem = 1;
    CastingWand = 1;
    CastingItem = WandItemOf(f);
  }
  if (source == SpellSource::kSpellLike) CastingSpellLike = 1;
  if (source == SpellSource::kProgrammed) CastingScripted = 1;
  const int32_t aim = SpellTable[spell].target;
  const bool released = aim == kAimCone || aim == kAimLine;
  if (released || aim == kAimCentered) {
    Trace(released ? "Considering moving to a better position to cast line/cone spell\r\r"
                        : "Considering moving to a better position to cast caster-centered disc spell\r\r");
    if (s.canMove && CpuMoveIssued == 0) {
      if (released) BuildConeSpellGrid(f, spell);
      else BuildDiscSpellGrid(f);
      const int64_t best = ExtractBestSquare(f, 0, nullptr);
      if (best != -1) {
        const int x = static_cast<int32_t>(best & 0xFFFFFFFF), y = static_cast<int32_t>(best >> 32);
        const bool own = x == Creatures[f].squareX && y == Creatures[f].squareY;
        if (!own && IsReachableThisTurn(f, x, y)) {
          SpellAfterMove = spell;
          SpellInProgress = -1;
          SendCpuMoving(f, x, y, 0);
          return SpellBranchOutcome::kMoved;
        }
      }
    }
  }
  ScreenMode = kModeCastStart;
  CombatState = kStateActionUnderWay;
  CpuMoveIssued = 0;
  return SpellBranchOutcome::kSpellCast;
}

// The grappling partner: the value of the fighter's Grappling entry.
int GrapplePartner(int f) { return ConditionValue(f, kCondGrappling); }

// The grapple attack (code 4) on the partner, which it takes as its target.
SpellBranchOutcome AttackPartner(int f, int partner) {
  ActingCreature = f;
  ActionTarget = partner;
  SetPlan(f, 1, partner, -1);
  CombatAction.actionCode = 4;
  CombatState = kStateActionUnderWay;
  return SpellBranchOutcome::kWeaponAction;
}

SpellBranchOutcome Escape() {
  return IssueEscape() != 0 ? SpellBranchOutcome::kWeaponAction : SpellBranchOutcome::kTurnEnded;
}


SpellBranchOutcome GiveUpSpells() {
  SpellsGivenUpThisTurn = 1;
  return SpellBranchOutcome::kGaveUp;
}

// No spell at all: the fall-back to weapons.
SpellBranchOutcome FallBack(const CasterSituation& s, bool* retryCastingSquare) {
  const int f = s.fighter;
  CombatActionState& a = CombatAction;
  *retryCastingSquare = false;
  Trace("DEBUG - Could not find spells.\r");
  if (Has(f, kCondParalyzed)) {
    const int slot = FindCondition(f, kCondParalyzed);
    const ConditionEntry& e = Creatures[f].conditions[slot];
    if (e.source == kSourceSpell && e.value > 0) return Escape();
    CombatState = kStateNextFighter;
    return SpellBranchOutcome::kTurnEnded;
  }
  if (Has(f, kCondGrappling)) {
    const int partner = GrapplePartner(f);
    if (GrappleSequenceOpen != 0) return AttackPartner(f, partner);
    if (a.standardActionLeft == 0) {
      CombatState = kStateNextFighter;
      return SpellBranchOutcome::kTurnEnded;
    }
    if (D100() <= Behaviour(f, kBehaviourCasting)) {  // its escape percentage
      CombatState = kStatePlayerTurn;
      SettleMoveAfterAction();
      a.actionCode = 14;
      return SpellBranchOutcome::kWeaponAction;
    }
    return AttackPartner(f, partner);
  }
  if (a.seekCastingSquare != 0) {
    a.seekCastingSquare = 0;
    if (s.canMove) {
      *retryCastingSquare = true;
      return SpellBranchOutcome::kNothing;
    }
  }
  if (s.adjacentEnemy && AttackAdjacentEnemy(f, TacticFlagsOf(s)) == TacticResult::kCommitted)
    return SpellBranchOutcome::kWeaponAction;
  const bool stuck = !s.canMove && Has(f, kCondStuck);
  if (!s.rangedAttack) {
    if (stuck) return Escape();
    CreatureRecord& c = Creatures[f];
    if (c.behaviour[kBehaviourCastingStyle] == 0 && c.spellsPerDay[0] == 0) {
      c.behaviour[kBehaviourCastingStyle] = 1;
      return SpellBranchOutcome::kGaveUp;
    }
    return GiveUpSpells();
  }
  if (!ListRangedTargets(f, 0)) return stuck ? Escape() : GiveUpSpells();
  if (ReloadCrossbowIfNeeded(f) != 0) return SpellBranchOutcome::kWeaponAction;
  const int target = ChooseBestRangedTarget(f);
  if (target < 0 || (IsSleepingOrParalyzedTarget(target) && !Has(f, kCondUnarmed))) return stuck ? Escape() : GiveUpSpells();
  if (a.fullRoundActionLeft == 0 && a.shootingSequenceOpen == 0 && a.standardActionLeft == 0) {
    CombatState = kStateNextFighter;
    return SpellBranchOutcome::kTurnEnded;
  }
  // The shot goes through the shot issue, as the weapon tactics' shots do:
  // aimed at the chosen target, the next shot of the full ranged attack while
  // the round or the open shooting sequence allows it, else one shot.
  IssueShot(f, target);
  return SpellBranchOutcome::kWeaponAction;
}

// An item or innate spell that found nothing to aim at.
SpellBranchOutcome ItemSpellFoundNothing(const CasterSituation& s, SpellSource source, bool* retrySearch,
                                         bool* retryCastingSquare) {
  const int f = s.fighter;
  CombatActionState& a = CombatAction;
  *retrySearch = *retryCastingSquare = false;
  if (!SetAside.active && s.canMove && a.seekCastingSquare != 0 && CpuMoveIssued != 0 &&
      HighestUsableSpellLevel(-1, f)) {
    PutItemPlansAside();
    *retrySearch = true;
    return SpellBranchOutcome::kNothing;
  }
  if (s.canMove && a.seekCastingSquare != 0) {
    a.seekCastingSquare = 0;
    *retryCastingSquare = true;
    return SpellBranchOutcome::kNothing;
  }
  switch (source) {
    case SpellSource::kProgrammed:
      Trace("DEBUG - could not target programmed spell.\r");
      DropProgrammedPlan();
      break;
    case SpellSource::kSpellLike:
      Trace("DEBUG - could not target spell-like ability.\r");
      a.spellLikePlanned = 0;
      break;
    default:
      Trace("DEBUG - could not target magic wand.\r");
      a.wandPlanned = 0;
      break;
  }
  return SpellBranchOutcome::kNothing;
}

}  // namespace

void ChooseMetamagic(const CasterSituation& s) {
  const int f = s.fighter;
  PendingMetamagic = kMetamagicNone;
  if (CombatAction.wandPlanned != 0 || CombatAction.spellLikePlanned != 0) return;
  if ((Has(f, kCondSilenced) || Has(f, kCondMute)) && HasFeat(f, kFeatMetamagicSilent)) {
    PendingMetamagic = kMetamagicSilent;
    return;
  }
  const bool held = FindAnyCondition(f, kCondGrappling, kCondParalyzed, kCondSpellFailureArmor,
                                     kCondSpellFailureShield) >= 0;
  if ((held || !s.freeHand) && HasFeat(f, kFeatMetamagicStill)) {
    PendingMetamagic = kMetamagicStilled;
    return;
  }
  if (D100() > Behaviour(f, kBehaviourMetamagic)) return;
  int32_t candidates[3];
  int count = 0;
  if (HasFeat(f, kFeatMetamagicEmpower)) candidates[count++] = kMetamagicEmpowered;
  if (HasFeat(f, kFeatMetamagicMaximise)) candidates[count++] = kMetamagicMaximised;
  if (HasFeat(f, kFeatMetamagicHeighten)) candidates[count++] = kMetamagicHeightened;
  if (count == 1) PendingMetamagic = candidates[0];
  else if (count > 1) PendingMetamagic = candidates[RollDice(count, 1, 0, 0) - 1];
}

void ReadyAgainstSpellcasting(int fighter, int caster) {
  LogMessage("\xA3%s\xA3: @READY_VS_SPELLCASTING@ from \xA3%s\xA3.\r", Creatures[fighter].name, Creatures[caster].name);
  const int32_t plan = CombatAction.fiveFootStepLeft != 0 ? kPlanReadyVersusSpellStepping : kPlanReadyVersusSpell;
  const int entry = EntryOf(fighter);
  if (entry >= 0) TurnOrder[entry].triggerCreature = caster;
  AnnounceReadied(fighter, caster, plan, "Ready Versus Spell");
}

bool SearchSpells(const CasterSituation& s) { return SearchByLevel(s) == SearchEnd::kFound; }

SpellBranchOutcome RunSpellBranch(const CasterSituation& s) {
  const int f = s.fighter;
  if (!IsValidCreature(f)) return SpellBranchOutcome::kNothing;
  SetAside = ItemPlans{};
  if (TryReadyToCounterspell(s) || TryReadyAgainstCasting(s)) return SpellBranchOutcome::kReadied;
  bool skipTests = true;
  for (;;) {
    if (TryCastingSquare(s, skipTests)) return SpellBranchOutcome::kMoved;
    skipTests = true;
    CombatActionState& a = CombatAction;
    if (a.fullRoundActionLeft == 0 && a.standardActionLeft == 0) {
      if (a.attackSequenceOpen == 0 && a.shootingSequenceOpen == 0) {
        Trace("DEBUG - No interesting place to move to: end of turn.\r");
        CombatState = kStateNextFighter;
        return SpellBranchOutcome::kTurnEnded;
      }
      // No action is left to cast with: an attack begun goes on, no spell
      // is sought.
      bool retryCastingSquare = false;
      return FallBack(s, &retryCastingSquare);
    }
    for (;;) {
      ChooseMetamagic(s);
      const int32_t cls = Creatures[f].creatureClass;
      bool forced = false;
      if ((cls == kClassWizard || cls == kClassLich) && DisruptionTarget == -1 && CurrentSource() == SpellSource::kOwn) {
        int32_t forcedSpell = -1;
        if (ChooseArcaneSpellFirst(f, TacticFlagsOf(s), &forcedSpell) == TacticResult::kCommitted)
          return SpellInProgress != -1 ? SpellBranchOutcome::kSpellCast : SpellBranchOutcome::kMoved;
        if (forcedSpell != -1) {
          FoundSpells[0] = forcedSpell;
          FoundSpellCount = 1;
          forced = true;
        }
      }
      const SpellSource source = CurrentSource();
      const SearchEnd end = forced ? SearchEnd::kFound : SearchByLevel(s);
      if (end == SearchEnd::kFound) return CastFoundSpell(s, source, forced);
      bool retrySearch = false, retryCastingSquare = false;
      SpellBranchOutcome outcome;
      if (end == SearchEnd::kItemFoundNothing) outcome = ItemSpellFoundNothing(s, source, &retrySearch, &retryCastingSquare);
      else outcome = FallBack(s, &retryCastingSquare);
      if (retrySearch) continue;
      if (retryCastingSquare) {
        skipTests = false;
        break;
      }
      return outcome;
    }
  }
}

void ResetSpellChoiceState() {
  std::fill(std::begin(FoundSpells), std::end(FoundSpells), -1);
  FoundSpellCount = 0;
  FoundSpellLevel = 0;
  SpellsGivenUpThisTurn = 0;
  SetAside = ItemPlans{};
}
