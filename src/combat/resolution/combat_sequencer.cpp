#include "combat/resolution/combat_sequencer.h"

#include <algorithm>
#include <cstring>

#include "combat/actions/casting_checks.h"
#include "combat/actions/least_services.h"
#include "combat/resolution/special_attacks.h"
#include "combat/resolution/spell_resolution.h"
#include "combat/turns/area_placement.h"
#include "combat/turns/best_square.h"
#include "combat/turns/casting_questions.h"
#include "combat/turns/melee_grid.h"
#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/settings.h"
#include "map/area_shapes.h"
#include "map/line_of_effect.h"
#include "map/map_record.h"
#include "map/movement_rules.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/creature_record.h"
#include "rules/formation.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/combat_events.h"
#include "state/inventory_state.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

CastingUseWords CastingUse;
int32_t SummonsMade = 0;
int32_t TargetAnimation[300] = {};
std::array<int32_t, 7> AnimationSpeedWords = kAnimationSpeeds;

namespace {

// The kept blocks of the held castings: one for each caster whose entry
// holds a casting (caster -1: a free place).
struct HeldCasting {
  int32_t caster = -1;
  CombatActionState block;
};
HeldCasting HeldCastings[kTurnOrderEntries];

int EntryOf(int creature) {
  const int count = std::min(TurnEntryCount, kTurnOrderEntries);
  for (int i = 0; i < count; ++i)
    if (TurnOrder[i].creature == creature) return i;
  return -1;
}

bool SpellRow(int spell) { return spell >= 0 && spell < kSpellRows; }

void ScrollToSquare(int x, int y) { StrictScrollTo(-1, x, y); }

// The area target list sorted by effective level, lowest first (ties keep their order).
void SortTargetsByLevel() {
  int count = 0;
  while (count < kAreaTargetCount && AreaTargetList[count] != -1) ++count;
  std::stable_sort(AreaTargetList, AreaTargetList + count, [](int32_t a, int32_t b) {
    return Creatures[a].effectiveLevel < Creatures[b].effectiveLevel;
  });
}

bool TargetListEmpty() { return AreaTargetList[0] == -1; }

void SetPlannedAction(int caster, int32_t code) {
  const int entry = EntryOf(caster);
  if (entry < 0) return;
  TurnOrder[entry].plannedAction = code;
  TurnOrder[entry].plannedTarget = -1;
  TurnOrder[entry].plannedParameter = -1;
}

// Action 6 for a harmful area use, 8 for a beneficial one.
void SetAreaAction(int caster, int32_t category, bool squareBurst) {
  if (category == 2 || category == 8) SetPlannedAction(caster, 6);
  else if (category == 4 || category == 6 || (squareBurst && category == 9)) SetPlannedAction(caster, 8);
}

// Kind 1: the caster alone.
void AimAtCaster(int caster) {
  SetPlannedAction(caster, 4);
  ClearAreaTargets();
  AreaTargetList[0] = caster;
  ScrollTo(caster, -1, -1);
}

// Kind 4: the summoned creature's square.
void AimSummoning(int caster, int spell) {
  const int record = kFirstSummonRecord + SummonsMade;
  CreateSummonedElemental(record, spell);
  AppendCombatant(record, caster);
  // Where it would stand to fight: the best square of its melee grid.
  BuildMeleeValuationGrid(record, -1, 0, 0, 1);
  const int64_t square = ExtractBestSquare(record, 1, nullptr);
  const GridSquare best = square == kNoSquare ? GridSquare{-1, -1} : GridSquare{SquareXOf(square), SquareYOf(square)};
  DismissCombatant();
  const CreatureRecord& c = Creatures[caster];
  const GridSquare from = NearestFootprintSquare(caster, best.x, best.y);
  const int reach = RangeClassSquared(spell);
  GridSquare chosen{-1, -1};
  if (best.x >= 0 && best.y >= 0 && best.x < kMapSide && best.y < kMapSide && CreatureAtSquare(best.x, best.y, -1) == -1 &&
      HasLineOfEffect(from.x, from.y, best.x, best.y, nullptr) &&
      (reach < 0 || SquaredDistance(from.x, from.y, best.x, best.y) <= reach)) {
    chosen = best;
  } else {
    MarkAdjacentSquares(caster);
    for (int x = 0; x < kMapSide && chosen.x < 0; ++x)
      for (int y = 0; y < kMapSide; ++y) {
        if (AdjacencyGrid[SquareIndex(x, y)] == 0 || BlockedGrid[SquareIndex(x, y)] == kSquareBlocked) continue;
        if (CreatureAtSquare(x, y, -1) != -1) continue;
        chosen = {x, y};
        break;
      }
  }
  if (chosen.x < 0) chosen = {c.squareX, c.squareY};
  FaceTowardsSquare(caster, chosen.x, chosen.y);
  MissileFrame(caster, chosen.x, chosen.y);
  std::memset(AreaMask, 0, sizeof AreaMask);
  AreaMask[SquareIndex(chosen.x, chosen.y)] = 1;
  CastingUse.aimX = chosen.x;
  CastingUse.aimY = chosen.y;
}

// Kind 5: a line (rectangle) to the best line end.
bool AimRectangle(int caster, int spell, int32_t category) {
  SetAreaAction(caster, category, false);
  FillAreaTargetWeights(spell, caster);
  if (!FindLineTarget(spell, caster)) return false;
  const int32_t endX = LineTargetSecondX, endY = LineTargetSecondY;
  RasteriseRectangle(spell, caster, LineTargetFirstX, LineTargetFirstY, endX, endY);
  ScrollToSquare((LineTargetFirstX + endX) / 2, (LineTargetFirstY + endY) / 2);
  FaceTowardsSquare(caster, endX, endY);
  CastingUse.aimX = endX;
  CastingUse.aimY = endY;
  return true;
}

// Kinds 6 and 7: a burst centred on the best square.
bool AimCircle(int caster, int spell, int32_t category) {
  SetAreaAction(caster, category, true);
  FillAreaTargetWeights(spell, caster);
  const GridSquare centre = FindCircle(caster, spell);
  if (centre.x < 0) return false;
  RasteriseBurst(caster, centre.x, centre.y, spell);
  FaceTowardsSquare(caster, centre.x, centre.y);
  SortTargetsByLevel();
  if (SpellTable[spell].missile == 0) ScrollToSquare(centre.x, centre.y);
  else ScrollTo(caster, -1, -1);
  MissileFrame(caster, centre.x, centre.y);
  CastingUse.aimX = centre.x;
  CastingUse.aimY = centre.y;
  return true;
}

// Whether the aim uses a cone (else a line).
bool AimsCone(int spell, int caster) {
  if (spell == kSpellTurnUndead) return true;
  if (spell == kSpellSpecialAttack) return SpecialAttackOf(SpecialAttackKindOf(caster)).line == 0;
  return SpellRow(spell) && SpellTable[spell].target == kAimCone;
}

bool RasteriseAim(int caster, int spell, int x, int y) {
  int32_t direction = 0;
  if (AimsCone(spell, caster)) return RasteriseCone(caster, x, y, spell, &direction);
  int32_t near[2] = {0, 0};
  return RasteriseLine(caster, x, y, spell, &direction, near);
}

// The score of the aim just rasterised, or a refusal (false).
bool ScoreAim(int caster, int spell, bool beneficial, int32_t* score) {
  int friends = 0, enemies = 0;
  bool holdsPreferred = false;
  for (int i = 0; i < kAreaTargetCount && AreaTargetList[i] != -1; ++i) {
    const int t = AreaTargetList[i];
    if (beneficial) {
      if (!AreEnemies(caster, t) && !IsImmuneToSpell(spell, t)) ++friends;
      continue;
    }
    if (IsImmuneToSpell(spell, t) || IsEffectWastedOnTarget(spell, t)) continue;
    if (spell == kSpellSpecialAttack && IsBreathEffectWasted(SpecialAttackKindOf(caster), t)) continue;
    if (spell == kSpellTurnUndead && IsMoraleEffectWasted(spell, t)) continue;
    if (t == caster) return false;
    if (t == DisruptionTarget) holdsPreferred = true;
    if (AreEnemies(caster, t)) ++enemies;
    else ++friends;
  }
  if (beneficial) {
    *score = friends;
    return true;
  }
  if (friends > 0 && !(Creatures[caster].scriptWords[kScriptWordAcceptsAllies] == 1 && enemies >= friends)) return false;
  if (DisruptionTarget != -1 && !holdsPreferred) return false;
  *score = 10 * enemies - friends;
  return true;
}

// Kinds 8 and 9, Turn Undead and special attacks: every square of the ring
// round the caster is tried as the aim.
bool AimFromRing(int caster, int spell, int32_t category) {
  SetAreaAction(caster, category, false);
  const bool beneficial = SpellRow(spell) && SpellTable[spell].beneficial == 1;
  MarkAdjacentSquares(caster);
  GridSquare ring[4 * kMapSide];
  int count = 0;
  for (int x = 0; x < kMapSide; ++x)
    for (int y = 0; y < kMapSide; ++y)
      if (AdjacencyGrid[SquareIndex(x, y)] != 0 && count < 4 * kMapSide) ring[count++] = {x, y};
  GridSquare best{-1, -1};
  int32_t bestScore = 0;
  int bestTargets = 0;
  for (int i = 0; i < count; ++i) {
    RasteriseAim(caster, spell, ring[i].x, ring[i].y);
    int32_t score = 0;
    if (!ScoreAim(caster, spell, beneficial, &score)) continue;
    if (beneficial && score == 0) continue;
    if (!beneficial && score <= 0) continue;
    if (best.x < 0 || score > bestScore) {
      best = ring[i];
      bestScore = score;
      bestTargets = 0;
      while (bestTargets < kAreaTargetCount && AreaTargetList[bestTargets] != -1) ++bestTargets;
    }
  }
  if (best.x < 0) {
    ClearAreaTargets();
    return false;
  }
  const CreatureRecord& c = Creatures[caster];
  if (DebugMode && spell == kSpellSpecialAttack) {
    LogMessage("Breath Weapon, %i targets found\r", bestTargets);
    LogMessage("TargetXY %i,%i\r", best.x, best.y);
    LogMessage("CasterXY %i,%i\r", c.squareX, c.squareY);
  }
  RasteriseAim(caster, spell, best.x, best.y);
  const int dx = best.x - c.squareX, dy = best.y - c.squareY;
  const int stepX = dx > 0 ? 1 : dx < 0 ? -1 : 0, stepY = dy > 0 ? 1 : dy < 0 ? -1 : 0;
  const int viewX = std::clamp(best.x + 3 * stepX, 0, kMapSide - 1);
  const int viewY = std::clamp(best.y + 3 * stepY, 0, kMapSide - 1);
  ScrollToSquare(viewX, viewY);
  MissileFrame(caster, best.x, best.y);
  CastingUse.aimX = best.x;
  CastingUse.aimY = best.y;
  return true;
}

// Whether the computer takes a one-creature spell's target among the
// caster's friends: a beneficial spell, or a cure or infliction meant for a
// friend. A cure or infliction its spell choice sent against an enemy (a cure
// on an undead foe) goes to an enemy, whatever the spell's own side.
bool TargetsFriends(int spell) {
  if (IsGroupSpell10(spell) && CastingExtraValue[1] == kGroupAgainstEnemies) return false;
  if (IsGroupSpell10(spell) && CastingExtraValue[1] == kGroupOnFriends) return true;
  return SpellTable[spell].beneficial == 1;
}

// The computer chooses the use's target by the targeting kind. False when
// the use must end at once (the step has already handed over).
void ComputerTargeting(int caster, int spell) {
  const int32_t category = UseCategory(spell, caster);
  if (spell == kSpellTurnUndead || spell == kSpellSpecialAttack) {
    if (!AimFromRing(caster, spell, category)) CastingUse.noTarget = 1;
    ScreenMode = kModeSpendSource;
    return;
  }
  const SpellRecord& s = SpellTable[spell];
  switch (s.target) {
    case kAimCaster:
      AimAtCaster(caster);
      break;
    case kAimCentered:
      SetAreaAction(caster, category, false);
      RasteriseBurst(caster, Creatures[caster].squareX, Creatures[caster].squareY, spell);
      SortTargetsByLevel();
      if (TargetListEmpty()) CastingUse.noTarget = 1;
      break;
    case kAimIndividual: {
      const int target = TargetsFriends(spell) ? ChooseSpellTarget() : ChooseBestSpellTarget();
      ClearAreaTargets();
      AreaTargetList[0] = target;
      if (target == -1) {
        CastingUse.noTarget = 1;
      } else {
        SpellTarget = target;
        AimSpellAndScroll();
        if (DebugMode) LogMessage("Precasting Crunch ");
      }
      break;
    }
    case kAimSquares:
      AimSummoning(caster, spell);
      break;
    case kAimRectangle:
      if (!AimRectangle(caster, spell, category)) CastingUse.noTarget = 1;
      break;
    case kAimCircle:
    case kAimCircleBurst:
      if (!AimCircle(caster, spell, category)) CastingUse.noTarget = 1;
      break;
    case kAimCone:
    case kAimLine:
      if (!AimFromRing(caster, spell, category)) CastingUse.noTarget = 1;
      break;
    default:
      // A kind the computer cannot aim (the item of kind 10, kind 11): no target.
      CastingUse.noTarget = 1;
      break;
  }
  ScreenMode = kModeSpendSource;
}

// The player's targeting: the game screen waits in the aiming mode.
void PlayerTargeting(int caster, int spell) {
  CombatAction.casting = 0;
  CombatState = 1;
  if (spell == kSpellTurnUndead) {
    ScreenMode = kModeAimCone;
    return;
  }
  if (!SpellRow(spell)) {
    CastingUse.noTarget = 1;
    ScreenMode = kModeSpendSource;
    return;
  }
  switch (SpellTable[spell].target) {
    case kAimIndividual: ScreenMode = kModeAimCreature; break;
    case kAimEquipment: ScreenMode = kModeAimItem; break;
    case kAimCentered:
    case kAimCircle:
    case kAimCircleBurst: ScreenMode = kModeAimSquare; break;
    case kAimSquares: ScreenMode = kModeAimSummon; break;
    case kAimRectangle: ScreenMode = kModeAimRectangle; break;
    case kAimCone: ScreenMode = kModeAimCone; break;
    case kAimLine: ScreenMode = kModeAimLine; break;
    case kAimCaster:
      if (OptionWords[kOptionConfirmPersonalSpells] == 0) {
        ClearAreaTargets();
        AreaTargetList[0] = caster;
        ScrollTo(caster, -1, -1);
        ScreenMode = kModeSpendSource;
      } else {
        ScreenMode = kModeAimCreature;
      }
      break;
    default:
      // A kind no aiming mode serves: the use ends with the no-target report.
      CastingUse.noTarget = 1;
      ScreenMode = kModeSpendSource;
      break;
  }
}

// Keeps the caster's block for its held casting, in the caster's place or a
// free one; a place whose caster holds no casting any more (it fell before
// its casting came up) is free again.
void KeepHeldCasting(int caster) {
  HeldCasting* place = nullptr;
  for (HeldCasting& h : HeldCastings) {
    if (h.caster != -1 && h.caster != caster) {
      const int entry = EntryOf(h.caster);
      if (entry < 0 || TurnOrder[entry].plannedAction < 27 || TurnOrder[entry].plannedAction > 31) h.caster = -1;
    }
    if (h.caster == caster || (place == nullptr && h.caster == -1)) place = &h;
    if (h.caster == caster) break;
  }
  if (place == nullptr) return;
  place->caster = caster;
  place->block = CombatAction;
}

}  // namespace

int32_t CurrentTargetingKind() { return SpellRow(SpellInProgress) ? SpellTable[SpellInProgress].target : 0; }

const CombatActionState* HeldCastingAction(int caster) {
  for (const HeldCasting& h : HeldCastings)
    if (h.caster == caster && caster != -1) return &h.block;
  return nullptr;
}

bool TakeHeldCastingAction(int caster, CombatActionState* out) {
  for (HeldCasting& h : HeldCastings) {
    if (h.caster != caster || caster == -1) continue;
    *out = h.block;
    h.caster = -1;
    return true;
  }
  return false;
}

bool YieldToReadiedEnemy() {
  const int caster = SpellCaster, spell = SpellInProgress;
  if (InCombat != 1 || !SpellRow(spell) || TurnEntryCount <= 0 || !IsValidCreature(caster)) return false;
  const CreatureRecord& c = Creatures[caster];
  const int count = std::min(TurnEntryCount, kTurnOrderEntries);
  for (int i = 0; i < count; ++i) {
    const TurnOrderEntry& e = TurnOrder[i];
    if (!IsValidCreature(e.creature) || !AreEnemies(caster, e.creature)) continue;
    if ((e.plannedAction != 22 && e.plannedAction != 23) || e.plannedTarget != caster) continue;
    const CreatureRecord& o = Creatures[e.creature];
    if (!HasLineOfEffect(o.squareX, o.squareY, c.squareX, c.squareY, nullptr)) continue;

    const int own = EntryOf(caster);
    if (own < 0) return false;
    const int enemy = e.creature;
    TurnOrderEntry& mine = TurnOrder[own];
    const bool spent = SpellTarget != -1;
    const int32_t base = CastingFromItem == 1 ? (CastingWand == 1 ? 26 : 30) : CastingSpellLike == 1 ? 25 : 24;
    const int32_t held[2][4] = {{24, 25, 26, 30}, {27, 28, 29, 31}};
    const int column = base == 24 ? 0 : base == 25 ? 1 : base == 26 ? 2 : 3;
    mine.plannedAction = held[spent ? 0 : 1][column];
    mine.triggerCreature = spent ? SpellTarget : -1;
    mine.plannedTarget = spell;
    mine.plannedParameter = PendingMetamagic;
    if (spell == kSpellDispel) mine.extraValue1 = CastingExtraValue[0];
    if (IsGroupSpell10(spell)) mine.extraValue2 = CastingExtraValue[1];
    if (!spent) KeepHeldCasting(caster);
    // The enemy now stands just before the caster; the acting index goes
    // one place before the enemy, so that the next fighter taken is the
    // enemy and the caster's held casting comes up right after it.
    MoveTurnBefore(enemy, caster, caster);
    CombatAction.currentEntry = EntryOf(enemy) - 1;
    ClearCurrentSpell();
    // The source is spent already; the resumed casting gets the flag again.
    CastResumed = 0;
    ScreenMode = 0;
    CombatState = 4;
    return true;
  }
  return false;
}

void HandOverTurn() {
  if (CombatAction.playerControlled == 1) {
    QueuedCombatState = 1;
    SetReadyMode();
  } else {
    QueuedCombatState = 2;
    ActionBarMode = 1;
  }
}

void EndUseAfterFailure() {
  SpellInProgress = -1;
  ScreenMode = 0;
  CombatAction.actionCode = 13;
  if (InCombat == 1) CombatState = 3;
  ClearQueuedAction();
  HandOverTurn();
}

void StartOfUse() {
  const int caster = SpellCaster, spell = SpellInProgress;
  std::memset(AreaMask, 0, sizeof AreaMask);
  CastingUse.noTarget = 0;
  CastingUse.repeat = 0;
  CastingUse.furtherMissile = 0;
  CastingUse.aimViewKept = 0;
  CastingUse.hitDicePool = -1;
  CastingUse.opportunityUnderway = 0;
  CastingLost = kCastingNotLost;
  for (int32_t& t : AreaTargetList) t = -1;
  AreaTargetList[0] = caster;
  ActingCreature = caster;

  if (!IsValidCreature(caster) || (!SpellRow(spell) && spell != kSpellTurnUndead && spell != kSpellSpecialAttack)) {
    CastingUse.noTarget = 1;
    ScreenMode = kModeSpendSource;
    return;
  }
  if (InCombat == 1 && CastResumed == 1 && YieldToReadiedEnemy()) return;

  if (InCombat != 1) {
    FinishPartyMoves();
    for (int member = 0; member < kPartySize; ++member) RelocateIfBlocked(member);
    PlayerTargeting(caster, spell);
    return;
  }
  if (CombatAction.playerControlled == 1) PlayerTargeting(caster, spell);
  else ComputerTargeting(caster, spell);
}

void ResetCombatSequencerState() {
  CastingUse = CastingUseWords{};
  std::memset(TargetAnimation, 0, sizeof TargetAnimation);
  AnimationSpeedWords = kAnimationSpeeds;
  SummonsMade = 0;
  SpellPass = SpellPassWords{};
  std::memset(WebBurnList, 0, sizeof WebBurnList);
  std::memset(ResolvedCreatures, 0, sizeof ResolvedCreatures);
  TargetPass = 0;
  for (HeldCasting& h : HeldCastings) h = HeldCasting{};
  ResetCurrentCastState();
}

int ProcessCombatAction() {
  switch (ScreenMode) {
    case kModeStartCast: StartOfUse(); break;
    case kModeSpendSource: SpendSourceStep(); break;
    case kModeCastingChecks: CastingChecksStep(); break;
    case kModeAnnounce: AnnouncementStep(); break;
    case kModeResolve: ResolutionStep(); break;
    default: break;
  }
  return 1;
}
