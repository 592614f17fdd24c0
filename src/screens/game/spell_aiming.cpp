// Aiming a spell, Turn Undead or a breath weapon by mouse (screen modes 10
// to 16): a creature, a burst, a rectangle of two corners, a cone or a line,
// or one square; the area previewed under the cursor. Each frame one verdict
// on what lies under the cursor gives both the pointer (the aiming one where
// the square passes its own tests, with the shape aimed there drawn, "no
// entry" elsewhere) and what the click does: an accepted click goes to the
// casting steps (screen mode 24), one refused for a reason says why and ends
// the aiming, one refused without a word does nothing. Whether anybody
// stands in a shape is the click's test alone, never the pointer's.
#include <algorithm>
#include <cstdlib>

#include "combat/actions/casting_checks.h"
#include "combat/resolution/area_targets.h"
#include "combat/resolution/combat_sequencer.h"
#include "combat/resolution/spell_preview.h"
#include "combat/turns/adjacency_queries.h"
#include "combat/turns/casting_questions.h"
#include "engine/frame.h"
#include "engine/settings.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/area_shapes.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/movement_rules.h"
#include "map/map_record.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/item_tables.h"
#include "rules/positions.h"
#include "rules/spell_ids.h"
#include "screens/game/action_state.h"
#include "screens/game/click_results.h"
#include "screens/game/fallen_members.h"
#include "screens/game/frame_words.h"
#include "screens/game/game_screen.h"
#include "screens/game/map_input.h"
#include "screens/game/map_input_routines.h"
#include "screens/game/shared_routines.h"
#include "screens/game/view_window.h"
#include "state/camera.h"
#include "state/casting_services.h"
#include "state/current_cast.h"
#include "state/fighter_slots.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

MapSquareWords AimedSquare;
MapSquareWords PlacementSquare;
MapSquareWords RectangleCorner;
uint8_t RectangleCornerSet = 0;
uint8_t LineOfEffectShown = 0;

namespace {

constexpr int32_t kResultNotFighting = 13, kResultNotAlly = 14, kResultNotHostile = 15, kResultOutOfRange = 16;
constexpr int32_t kResultNoTargetInArea = 17, kResultOutOfSight = 18, kResultSquareNotEmpty = 19;
constexpr int32_t kResultWrongPlacement = 21, kResultNoLineOfSight = 25, kResultNotPetrified = 35;
constexpr int32_t kResultNotDead = 36, kResultNotWounded = 37, kResultCannotBeCured = 38;
constexpr int32_t kResultNoEffect = 60, kResultMustBeCaster = 68;
constexpr int32_t kCursorRefused = 18;

constexpr int32_t kResultCastingCanceled = 12;
// How far (in picture pixels, each way) the pointer may stray from where it
// rested as a use ended early and still be taken to click for a missile.
constexpr int kMissileClickReach = 10;

// The caster whose player has aimed a missile (or ray) of its use with more
// of them still to aim, until the next is asked for, the turn passes or the
// battle ends; -1 none. Should the use end before that, the player's clicks
// were meant for missiles: the point where the pointer rested as the
// caster's orders came back takes none of them as an order, and the pointer
// says why the use ended.
int g_missileClicksDueFrom = -1;
uint32_t g_missileClicksTurn = 0;  // TurnsBegun as the missile was aimed
bool g_missileClicksPointKept = false;
// Where the pointer rested and what it said: read only while the point is
// kept, and written with it.
int g_missileClicksX = 0, g_missileClicksY = 0;
int32_t g_missileClicksSaid = kResultCastingCanceled;

// Why the use ended, beside the pointer: the words floated over the caster
// when its spell was lost, "Casting Canceled" otherwise.
int32_t UseEndedResult() {
  switch (CastingLost) {
    case kCastingLostConcentration: return kResultConcentrationFailure;
    case kCastingLostDisrupted: return kResultSpellcastingDisrupted;
    case kCastingLostToFailure: return kResultFailedToCast;
    case kCastingLostCounterspelled: return kResultCounterspelled;
    default: return kResultCastingCanceled;
  }
}

int Caster() { return CurrentCaster; }
int Spell() { return CurrentSpell; }
bool SpellRow(int spell) { return spell >= 0 && spell < kSpellRows; }
int32_t TargetKind() { return SpellRow(Spell()) ? SpellTable[Spell()].target : 0; }
int32_t MissileKind() { return SpellRow(Spell()) ? SpellTable[Spell()].missile : 0; }
bool Has(int c, uint32_t id) { return FindCondition(c, id) >= 0; }

bool AnyOf(int spell, std::initializer_list<int> ids) {
  return std::find(ids.begin(), ids.end(), spell) != ids.end();
}
bool IsSingleCure(int spell) {
  return AnyOf(spell, {kSpellCureLightWounds, kSpellLendLife, kSpellCureModerateWounds, kSpellCureSeriousWounds,
                       kSpellCureCriticalWounds});
}
bool IsCureOrHeal(int spell) { return IsSingleCure(spell) || spell == kSpellHeal; }
bool ReachesAnyone(int spell) {
  return IsCureOrHeal(spell) || AnyOf(spell, {kSpellStoneToFlesh, kSpellRaiseDead, kSpellTrueResurrection});
}
bool IsRestoring(int spell) {
  return IsCureOrHeal(spell) || AnyOf(spell, {kSpellLesserRestoration, kSpellRemoveBlindness, kSpellRestoration,
                                              kSpellRemoveNegativeLevels, kSpellRemoveCurse});
}
bool AreaNeedsNoTarget(int spell) {
  const int32_t kind = TargetKind();
  return kind == 4 || kind == 5 || kind == 6 || kind == 11 || AnyOf(spell, {kSpellDispel, kSpellLight, kSpellDarkness});
}

// What a left click on what lies under the cursor does: taken (the aim is
// accepted), or refused with the reason it gives (0: none said). A shape
// aimed where the click finds nobody in it is still a valid aim: shown,
// under the aiming pointer, though the click is refused.
struct AimVerdict {
  bool takes = false;
  int32_t refusal = 0;
  bool shown = false;
};
AimVerdict Taken() { return {true, 0, true}; }
AimVerdict Refused(int32_t code) { return {false, code, false}; }
AimVerdict ShownButRefused(int32_t code) { return {false, code, true}; }

// The pointer shows the verdict and the click follows it: true when this
// frame's click is taken. A click refused for a reason says why and ends the
// aiming; one refused without a word does nothing. While the view glides on
// its own (to the caster as the aiming starts) the squares slide under the
// pointer: no click is taken, and none ends the aiming.
bool ClickTakes(AimVerdict verdict) {
  if (ViewGlides()) verdict = AimVerdict{};
  CursorTargetValid = verdict.shown ? 1 : 0;
  if (!verdict.shown) CursorShape = kCursorRefused;
  if (CancelHovered == 1 || !ButtonPressed(0)) return false;
  LatchButton(0);
  if (!verdict.takes && verdict.refusal != 0) {
    ShowClickResultAtMouse(verdict.refusal);
    CancelTargetPick();
  }
  return verdict.takes;
}

void ClearMarks() {
  for (int32_t& m : CreatureMarks) m = 0;
}

int CountTargets() {
  int n = 0;
  while (n < kAreaTargetCount && AreaTargetList[n] != -1) ++n;
  return n;
}

void PreviewArea() {
  if (BuildSpellAreaGrid() == 0) PreviewSpellArea();
  AreaMarkTimer = 100;
}

// The squared reach from the caster's footprint square nearest to (x, y).
bool WithinRange(int x, int y) {
  const int32_t reach = RangeClassSquared(Spell());
  if (reach < 0) return true;
  const GridSquare from = NearestFootprintSquare(Caster(), x, y);
  return SquaredDistance(from.x, from.y, x, y) <= reach;
}

bool InLineOfEffect(int x, int y) {
  const GridSquare from = NearestFootprintSquare(Caster(), x, y);
  return HasLineOfEffect(from.x, from.y, x, y, nullptr);
}

// Into the casting steps with the aimed square.
void Hand(int x, int y) {
  AimedSquare = MapSquareWords{x, y};
  CastingUse.aimX = x;
  CastingUse.aimY = y;
  ScreenMode = kModeCastSpend;
}

// --- One creature (mode 10) ---------------------------------------------------

int32_t CreatureRefusal(int caster, int target, bool fromPartyList) {
  const int spell = Spell();
  const CreatureRecord& t = Creatures[target];
  const bool inCombat = InCombat == 1;
  if (TargetKind() == 1 && target != caster) return kResultMustBeCaster;
  if (!SpellRow(spell)) return 0;
  const SpellRecord& row = SpellTable[spell];
  if (inCombat && FindTurnOrderIndex(target) == -1 && !ReachesAnyone(spell)) return kResultNotFighting;
  if (!inCombat && IsCureOrHeal(spell) && t.type == kTypeUndead) return kResultNotHostile;
  if (row.beneficial == 1 && !IsPartyAllegiance(t.allegiance)) return kResultNotAlly;
  if (row.harmful == 1 && t.allegiance != kAllegianceEnemy && !Has(target, kCondInsane) && !Has(target, kCondConfused))
    return kResultNotHostile;
  if (spell == kSpellStoneToFlesh && !Has(target, kCondPetrified)) return kResultNotPetrified;
  if ((spell == kSpellRaiseDead || spell == kSpellTrueResurrection) && !Has(target, kCondDead)) return kResultNotDead;
  if (IsSingleCure(spell) && !Has(target, kCondUnconscious) && t.hitPoints >= t.maxHitPoints &&
      !AreEnemies(caster, target))
    return kResultNotWounded;
  if (IsCureOrHeal(spell) && (Has(target, kCondDead) || Has(target, kCondPetrified))) return kResultCannotBeCured;
  const bool listedHelpless =
      fromPartyList && ((spell == kSpellStoneToFlesh && Has(target, kCondPetrified)) ||
                        ((spell == kSpellRaiseDead || spell == kSpellTrueResurrection) && Has(target, kCondDead)) ||
                        (IsSingleCure(spell) && Has(target, kCondUnconscious)));
  const bool friendlyRestoring = !inCombat && IsRestoring(spell) && t.allegiance == kAllegianceParty;
  if (!listedHelpless && !friendlyRestoring) {
    const CreatureRecord& c = Creatures[caster];
    const GridSquare from = NearestFootprintSquare(caster, t.squareX, t.squareY);
    const GridSquare to = NearestFootprintSquare(target, c.squareX, c.squareY);
    if (!FindCover(from.x, from.y, to.x, to.y, 0)) return kResultNoLineOfSight;
    const int32_t reach = RangeClassSquared(spell);
    if (reach >= 0 && SquaredDistance(from.x, from.y, to.x, to.y) > reach) return kResultOutOfRange;
  }
  if (!CanCastOnTarget(caster, target, spell, 1)) return kResultNoEffect;
  return 0;
}

// The creature of a fighter slot, -1 none.
int SlotCreature(int slot) { return slot >= 0 && slot < kFighterSlots ? FighterSlots[slot].creature : -1; }

// The fallen party member lying on square (x, y), aimed at as its name on
// the party list is, when nobody stands over it or the one who does
// refuses the spell and it does not; -1 otherwise.
int FallenMemberAimedAt(int caster, int standing, int x, int y) {
  const int member = FallenMemberOn(x, y);
  if (member == -1 || !IsValidCreature(standing)) return member;
  if (CreatureRefusal(caster, standing, false) == 0 || CreatureRefusal(caster, member, true) != 0) return -1;
  return member;
}

// Whom a click aims at, with the pointer on the map over the figure of
// `slot` (-1 none) on square (x, y), or on the prompt's party list: a fallen
// member lying there (FallenMemberAimedAt), else the member named on the
// list, both taken as from the list; else the figure. The fighter slot
// (-1 none).
struct CreatureAim {
  int slot = -1;
  bool fromList = false;
  int listed = -1;  // the fallen or listed member, -1 the figure
};
CreatureAim AimOf(int caster, int slot, int x, int y) {
  const int fallen = MouseOnGamePanels() ? -1 : FallenMemberAimedAt(caster, SlotCreature(slot), x, y);
  const bool panel = slot == -1 && PanelTargetMember >= 0 && PanelTargetMember < kPartySize;
  const int listed = fallen != -1 ? fallen : panel ? PanelTargetMember : -1;
  if (listed == -1) return {slot, false, -1};
  return {GetFighterSlot(listed), true, listed};
}

void AimAtCreature() {
  const int caster = Caster();
  const CreatureAim aim = AimOf(caster, FighterUnderMouse(), MapCursorX, MapCursorY);
  const int slot = aim.slot;
  const bool fromList = aim.fromList;
  if (aim.listed != -1) {
    MapCursorX = Creatures[aim.listed].squareX;
    MapCursorY = Creatures[aim.listed].squareY;
  }
  HoveredSlot = slot;
  FaceTowardsSquare(caster, MapCursorX, MapCursorY);
  std::fill(std::begin(AreaMask), std::end(AreaMask), 0);
  ClearMarks();
  const int target = SlotCreature(slot);
  if (!IsValidCreature(target)) {
    // Nothing to aim at: the click is refused without a word.
    ClickTakes(AimVerdict{});
    return;
  }
  const CreatureRecord& t = Creatures[target];
  if (SpellRow(Spell()) && SpellTable[Spell()].rangedTouch == 1) {
    const CreatureRecord& c = Creatures[caster];
    LineOfEffectShown = FindCover(c.squareX, c.squareY, t.squareX, t.squareY, 0) ? 1 : 0;
  }
  if (t.present == 1) FaceTowardsCreature(caster, target);
  const int32_t refusal = CreatureRefusal(caster, target, fromList);
  if (refusal == 0) {
    ClearAreaTargets();
    AreaTargetList[0] = target;
    PreviewArea();
    CreatureMarks[target] = 1;
  }
  const bool moreToAim = MissilesToAim() >= 2;
  if (!ClickTakes(refusal == 0 ? Taken() : Refused(refusal))) return;
  g_missileClicksDueFrom = moreToAim ? caster : -1;
  g_missileClicksTurn = TurnsBegun;
  if (CastingUse.furtherMissile == 0) {
    // The view the further missiles or rays of the use are aimed from.
    CastingUse.aimViewKept = 1;
    CastingUse.aimViewX = ViewOriginX;
    CastingUse.aimViewY = ViewOriginY;
  }
  ClearAreaTargets();
  AreaTargetList[0] = target;
  if (t.present == 1) FaceTowardsCreature(caster, target);
  MapCursorX = t.squareX;
  MapCursorY = t.squareY;
  if (MissileKind() == 0) {
    ScrollTo(t.present == 1 ? target : caster, -1, -1);
  } else {
    MissileFrame(caster, t.squareX, t.squareY);
    ScrollTo(caster, -1, -1);
  }
  CastingUse.aimX = CastingUse.aimY = -1;
  ScreenMode = kModeCastSpend;
}

// --- Bursts (mode 11) ---------------------------------------------------------

bool OnCasterFootprint(int x, int y) { return FootprintCovers(Caster(), x, y); }

void ConfirmBurst() {
  ClearMarks();
  const int count = CountTargets();
  if (count >= 2)
    std::stable_sort(AreaTargetList, AreaTargetList + count,
                     [](int32_t a, int32_t b) { return Creatures[a].effectiveLevel < Creatures[b].effectiveLevel; });
  if (MissileKind() != 0)
    ScrollTo(Caster(), -1, -1);
  else
    ScrollTo(-1, MapCursorX, MapCursorY);
  if (TargetKind() != kAimCentered) MissileFrame(Caster(), MapCursorX, MapCursorY);
  Hand(MapCursorX, MapCursorY);
}

void AimBurst() {
  const int caster = Caster();
  const CreatureRecord& c = Creatures[caster];
  if (TargetKind() == kAimCentered) {
    // Cast at once, or on a click on the caster's own squares.
    if (OptionWords[kOptionConfirmPersonalSpells] != 0 &&
        !ClickTakes(OnCasterFootprint(MapCursorX, MapCursorY) ? Taken() : Refused(kResultMustBeCaster)))
      return;
    ClearAreaTargets();
    RasteriseBurst(caster, c.squareX, c.squareY, Spell());
    MapCursorX = c.squareX;
    MapCursorY = c.squareY;
    ConfirmBurst();
    return;
  }
  const int x = MapCursorX, y = MapCursorY;
  const int sq = SquareIndex(x, y);
  const bool inRange = WithinRange(x, y);
  const bool inSight = InLineOfEffect(x, y);
  const bool empty = CurrentMap.At(kLayerWalls, x, y) == 0 && MagicAreaGrid[sq].kind != kEffectSolid;
  ClearAreaTargets();
  AimVerdict verdict = Taken();
  if (!inRange)
    verdict = Refused(kResultOutOfRange);
  else if (!inSight)
    verdict = Refused(kResultOutOfSight);
  else if (!empty)
    verdict = Refused(kResultSquareNotEmpty);
  if (verdict.takes) {
    RasteriseBurst(caster, x, y, Spell());
    PreviewArea();
    // A burst with nobody in it is shown all the same: only the click
    // refuses it.
    if (CountTargets() == 0 && !AreaNeedsNoTarget(Spell())) verdict = ShownButRefused(kResultNoTargetInArea);
  }
  if (ClickTakes(verdict)) ConfirmBurst();
}

// --- Rectangles (mode 13) -----------------------------------------------------

bool CornerSquareValid(int x, int y) {
  if (!SquareExplored(x, y) || !WithinRange(x, y) || !InLineOfEffect(x, y)) return false;
  if (CurrentMap.At(kLayerWalls, x, y) != 0) return false;
  const uint32_t kind = MagicAreaGrid[SquareIndex(x, y)].kind;
  if (Spell() == kSpellFireStorm ? kind == kEffectSolid : kind != kEffectNone) return false;
  return Spell() != kSpellWallOfStone || CreatureAtSquare(x, y, -1) == -1;
}

void AimRectangle() {
  if (RectangleCornerSet == 0) {
    if (!ClickTakes(CornerSquareValid(MapCursorX, MapCursorY) ? Taken() : AimVerdict{})) return;
    RectangleCorner = MapSquareWords{MapCursorX, MapCursorY};
    RectangleCornerSet = 1;
    return;
  }
  ClearAreaTargets();
  RasteriseRectangle(Spell(), Caster(), RectangleCorner.x, RectangleCorner.y, MapCursorX, MapCursorY);
  if (RectangleValid == 1) PreviewArea();
  const bool taken = ClickTakes(RectangleValid == 1 ? Taken() : Refused(kResultWrongPlacement));
  if (ScreenMode != kModeAimRectangle || taken) RectangleCornerSet = 0;
  if (!taken) return;
  ScrollTo(-1, (RectangleCorner.x + MapCursorX) / 2, (RectangleCorner.y + MapCursorY) / 2);
  MissileFrame(Caster(), MapCursorX, MapCursorY);
  Hand(MapCursorX, MapCursorY);
}

// --- Cones and lines (modes 14 and 15) -----------------------------------------

void RasteriseAim(bool cone) {
  int32_t direction = 0, near[2] = {0, 0};
  ClearAreaTargets();
  if (cone)
    RasteriseCone(Caster(), MapCursorX, MapCursorY, Spell(), &direction);
  else
    RasteriseLine(Caster(), MapCursorX, MapCursorY, Spell(), &direction, near);
}

// The shape is shown toward the square under the cursor whatever it holds,
// so that its reach is seen before a foe comes into it; only the click
// refuses a shape with nobody in it.
void AimConeOrLine(bool cone) {
  RasteriseAim(cone);
  const int32_t kind = TargetKind();
  const bool needsTarget = !(kind == 4 || kind == 5 || kind == 6 || kind == 11);
  const AimVerdict verdict = CountTargets() == 0 && needsTarget ? ShownButRefused(kResultNoTargetInArea) : Taken();
  PreviewArea();
  if (!ClickTakes(verdict)) return;
  RasteriseAim(cone);
  ClearMarks();
  FaceTowardsSquare(Caster(), MapCursorX, MapCursorY);
  MissileFrame(Caster(), MapCursorX, MapCursorY);
  Hand(MapCursorX, MapCursorY);
}

// --- One square (mode 16) -----------------------------------------------------

void AimSquare() {
  const int x = MapCursorX, y = MapCursorY;
  const bool inSight = CurrentMap.Inside(x, y) && InLineOfEffect(x, y);
  const bool valid = CurrentMap.Inside(x, y) && SquareExplored(x, y) && WithinRange(x, y) && inSight &&
                     CreatureAtSquare(x, y, -1) == -1 && CurrentMap.At(kLayerWalls, x, y) == 0 &&
                     MagicAreaGrid[SquareIndex(x, y)].kind != kEffectSolid;
  PlacementSquare = valid ? MapSquareWords{x, y} : MapSquareWords{-1, y};
  if (!ClickTakes(valid ? Taken() : Refused(kResultWrongPlacement))) return;
  const int caster = Caster();
  ScrollTo(caster, -1, -1);
  FaceTowardsSquare(caster, x, y);
  MissileFrame(caster, x, y);
  ClearAreaTargets();
  AreaTargetList[0] = caster;
  Hand(x, y);
}

}  // namespace

int CreatureTheAimReaches(int x, int y) {
  if (ScreenMode != kModeAimCreature || MouseOnGamePanels() || !IsValidCreature(Caster())) return -1;
  const int caster = Caster();
  const CreatureAim aim = AimOf(caster, FigureSlotAt(PointerMapX(), PointerMapY()), x, y);
  const int target = SlotCreature(aim.slot);
  return IsValidCreature(target) && CreatureRefusal(caster, target, aim.fromList) == 0 ? target : -1;
}

void ForgetClicksMeantForMissiles() {
  g_missileClicksDueFrom = -1;
  g_missileClicksPointKept = false;
}

void ForgetClicksMeantForMissilesOfPastTurns() {
  if (g_missileClicksDueFrom != -1 && (InCombat != 1 || TurnsBegun != g_missileClicksTurn))
    ForgetClicksMeantForMissiles();
}

bool SpendClickMeantForMissile() {
  ForgetClicksMeantForMissilesOfPastTurns();
  const int caster = g_missileClicksDueFrom;
  if (caster == -1) return false;
  if (CurrentFighter() != caster) {
    ForgetClicksMeantForMissiles();
    return false;
  }
  const int x = PointerX(), y = PointerY();
  if (!g_missileClicksPointKept) {
    g_missileClicksPointKept = true;
    g_missileClicksX = x;
    g_missileClicksY = y;
    g_missileClicksSaid = UseEndedResult();
    ShowClickResultAtMouse(g_missileClicksSaid);
  } else if (std::abs(x - g_missileClicksX) > kMissileClickReach || std::abs(y - g_missileClicksY) > kMissileClickReach) {
    ForgetClicksMeantForMissiles();
    return false;
  }
  if (MouseOnGamePanels()) return false;
  CursorShape = kCursorRefused;
  if (ButtonPressed(0)) {
    LatchButton(0);
    ShowClickResultAtMouse(g_missileClicksSaid);
  }
  return true;
}

void AimingMouse() {
  // The next missile is asked for: the click is this aiming's.
  ForgetClicksMeantForMissiles();
  if (!IsValidCreature(Caster())) return;
  // A further missile or ray of a use already paid for: the targets picked
  // so far, so that the right-button cancel waits for the rest.
  TargetPickIndex = CastingUse.furtherMissile == 1 ? SpellAreaSize() - CastingUse.missilesLeft : -1;
  // A mode that judges nothing under the cursor leaves the aiming pointer.
  CursorTargetValid = 1;
  if (CancelHovered == 1) {
    std::fill(std::begin(AreaMask), std::end(AreaMask), 0);
  } else if (ButtonPressed(1)) {
    LatchButton(1);
    CancelTargetPick();
    return;
  } else {
    switch (ScreenMode) {
      case kModeAimCreature: AimAtCreature(); break;
      case kModeAimSquare: AimBurst(); break;
      case kModeAimRectangle: AimRectangle(); break;
      case kModeAimCone: AimConeOrLine(true); break;
      case kModeAimLine: AimConeOrLine(false); break;
      case kModeAimSummon: AimSquare(); break;
      default: break;
    }
  }
  EdgeScroll();
  ScrollViewByKeys();
}
