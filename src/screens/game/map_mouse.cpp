// The map view's mouse, once a frame: the square under the cursor, the
// cursor's shape, and what a click does while the party explores (walk,
// doors, stairs, the campfire, item piles, talking, a character page, an
// attack that starts a fight). The combat orders and the aiming of spells
// are branches of their own.
#include <cstdio>
#include <cstdlib>

#include "adventure/scripts.h"
#include "adventure/world_commands.h"
#include "combat/actions/combat_actions.h"
#include "combat/actions/cursor_checks.h"
#include "combat/actions/start_of_combat.h"
#include "combat/actions/talker_scripts.h"
#include "combat/actions/walking.h"
#include "combat/turns/adjacency_queries.h"
#include "engine/frame.h"
#include "engine/page_history.h"
#include "engine/page_history_access.h"
#include "engine/ui_input.h"
#include "engine/widgets.h"
#include "map/fighter_tests.h"
#include "map/line_of_effect.h"
#include "map/map_record.h"
#include "map/map_switching.h"
#include "map/movement_rules.h"
#include "map/party_vision.h"
#include "map/party_walk.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/positions.h"
#include "rules/recompute_creature.h"
#include "screens/game/action_menu.h"
#include "screens/game/action_state.h"
#include "screens/game/combat_orders.h"
#include "screens/game/click_results.h"
#include "screens/game/game_screen.h"
#include "screens/game/held_object.h"
#include "screens/game/map_input.h"
#include "screens/game/map_input_routines.h"
#include "screens/game/map_mouse_words.h"
#include "screens/game/panel_sections.h"
#include "screens/game/shared_routines.h"
#include "screens/game/view_window.h"
#include "state/camera.h"
#include "state/combat_action.h"
#include "state/fighter_slots.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/map_view_state.h"
#include "state/turn_order.h"

uint32_t SquareChanged = 0;
int32_t DoorCursorMode = 0;
MapSquareWords DoorSquare;
MapSquareWords ItemPileSquare;
uint32_t DoorHoverBySquare = 0;
int32_t MapCursorPixelX = 0, MapCursorPixelY = 0;

uint8_t HoverMarksHidden = 0;
uint8_t MoveRangeAllowed = 1;
uint8_t MoveRangeForced = 0;
uint8_t PathPreviewShown = 0;
uint8_t PathArrowsShown = 0;
int32_t AttackAimMode = 0;

namespace {

constexpr int32_t kCursorNone = 0, kCursorPointing = 4, kCursorDefaultRest = 29, kCursorExamine = 6, kCursorPage = 8;
constexpr int32_t kCursorSilent = 1, kCursorTalk = 9, kCursorDoorOpen = 13, kCursorAttack = 14;
constexpr int32_t kCursorPile = 11, kCursorStairs = 17, kCursorRefused = 18, kCursorCampfire = 19;
constexpr int32_t kStairsUp = 73, kStairsDown = 74, kCampfire = 90;
constexpr int32_t kDoorX = 82, kDoorY = 83, kScriptDoorX = 84, kScriptDoorY = 85;
constexpr int32_t kResultDoor = 23, kResultStairs = 39, kResultCampfire = 40, kResultTooFar = 34;
constexpr int32_t kResultNoSight = 51, kResultNotHostile = 52;
constexpr int kTalkFeet = 20, kAttackFeet = 60;
constexpr uint32_t kSurpriseSource = 34;

bool IsDoorCode(int32_t code) { return code >= kDoorX && code <= kScriptDoorY; }
bool IsWallPiece(int32_t code) { return code >= 46 && code <= 55; }
int32_t WallAt(int x, int y) { return CurrentMap.At(kLayerWalls, x, y); }
int32_t DoorShape() { return kCursorDoorOpen + DoorCursorMode; }

int Member() { return static_cast<int>(SelectedMember); }

// The square under the mouse, kept on the map.
void FindSquareUnderMouse() {
  MapCursorPixelX = PointerMapX();
  MapCursorPixelY = PointerMapY();
  const int32_t oldX = MapCursorX, oldY = MapCursorY;
  MapCursorX = MapCursorPixelX / 24;
  MapCursorY = MapCursorPixelY / 24;
  ClampMapCursor();
  SquareChanged = MapCursorX != oldX || MapCursorY != oldY ? 1 : 0;
  if (SquareChanged == 1) {
    MoveAttackPlan = 0;
    PreviewComputed = 0;
    if (PendingPanelAction != kActFiveFootStep) StepPreviewShown = 0;
    PathPreviewShown = 0;
  }
}

// While a member's turn waits for an order, the squares drawn as threatened
// are those of the battle as it stands for the acting fighter: laid afresh
// whenever they are not (its turn come after another's, a walk, a foe's
// turn, a load), and the path or plan under the pointer is then sought again
// over them. The five-foot step's squares stay while the step is chosen.
void KeepThreatMarksCurrent() {
  const int fighter = CurrentFighter();
  if (!IsValidCreature(fighter) || CombatAction.playerControlled != 1 || PendingPanelAction == kActFiveFootStep ||
      ThreatMarksLaidFor(fighter))
    return;
  LayThreatMarks(fighter);
  PreviewComputed = 0;
  MoveAttackPlan = 0;
}

// In combat, while the view glides on its own (to the fighter whose turn
// begins) the squares slide under the pointer: nothing is hovered, the
// pointer says so, and a press on the map is spent on nothing, so that it
// gives no order on a square the glide brings under the pointer while the
// button is down.
void HoldMapWhileGliding() {
  if (ScreenMode == kModeCreatureHovered) {
    ScreenMode = kModeExploring;
    ResetHoverState();
  }
  HoveredSlot = -1;
  CursorShape = kCursorRefused;
  if (ButtonPressed(0)) LatchButton(0);
}

// Examination while Control is held (screen mode 6).
void ExamineMouse() {
  CursorShape = kCursorExamine;
  int slot = FighterUnderMouse();
  if (slot == -1 && PanelTargetMember >= 0 && PanelTargetMember < 4) slot = GetFighterSlot(PanelTargetMember);
  if (slot >= 0 && slot < kFighterSlots && IsValidCreature(FighterSlots[slot].creature)) {
    const int c = FighterSlots[slot].creature;
    const bool hidden = Creatures[c].special[kSenseKindWord] == 4;
    if (hidden && (InCombat != 1 || FindTurnOrderIndex(c) == -1)) slot = -1;
  } else {
    slot = -1;
  }
  HoveredSlot = slot;
  EdgeScroll();
}

// The cursor over a creature outside combat, which is what a click on it
// does: in the melee mode an attack on a foe and, on anyone else but a party
// member, talking as the talking mode does (melee has nothing to strike
// there); else the map's cursor kind (the record, or the speech bubble, grey
// for one with nothing to say, where a click does nothing).
void ShowCreatureCursor(int c) {
  if (WeaponMode == 1 && c >= kPartySize)
    CursorShape = IsEnemyForCursor(c) ? kCursorAttack : Creatures[c].tag[0] != '\0' ? kCursorTalk : kCursorSilent;
  else
    SetMapCursorKind(c);
}

// A creature whose figure lies under the mouse takes the hover, on an open
// square under the cursor outside a solid magic area; true when it did.
bool HoverCreature() {
  if (WallAt(MapCursorX, MapCursorY) != 0 || MagicAreaGrid[SquareIndex(MapCursorX, MapCursorY)].kind == kEffectSolid)
    return false;
  const int slot = FighterUnderMouse();
  if (slot == -1 || MouseMoved != 1 || ClickResult.code != -1 || ViewScrolling != 0 || !SceneFlagsClear()) return false;
  const int c = FighterSlots[slot].creature;
  if (!IsValidCreature(c)) return false;
  if (Creatures[c].special[kSenseKindWord] == 4 || KeypadWalkFlag != 0 || KeypadStepActive != 0) {
    HoveredSlot = -1;
    return false;
  }
  HoveredSlot = slot;
  ScreenMode = kModeCreatureHovered;
  RecomputeCreature(c, 0);
  ShowCreatureCursor(c);
  return true;
}

// An item pile on the open square under the cursor takes the hover; true
// when it did.
bool HoverPile() {
  const int sq = SquareIndex(MapCursorX, MapCursorY);
  const bool quiet = MagicAreaGrid[sq].kind != kEffectSolid && ViewScrolling == 0 && SceneFlagsClear();
  const bool altHeld = KeyHeld(0x38) || KeyHeld(0xB8);
  if (!quiet || WallAt(MapCursorX, MapCursorY) != 0 || CurrentMap.At(kLayerObjects0, MapCursorX, MapCursorY) <= 0 ||
      (MouseMoved != 1 && !altHeld))
    return false;
  ItemPileSquare = MapSquareWords{MapCursorX, MapCursorY};
  CursorShape = kCursorPile;
  ScreenMode = kModeItemPileHovered;
  return true;
}

// The square of a map pixel, kept on the 60 by 60 grid (the view reaches two
// squares beyond the map's edges).
MapSquareWords GridSquareOfPixel(int px, int py) {
  auto clamp = [](int v) { return v < 0 ? 0 : v > kMapSide - 1 ? kMapSide - 1 : v; };
  return MapSquareWords{clamp(px / 24), clamp(py / 24)};
}

// The door found by points near the door's edges.
bool DoorByPixel(MapSquareWords* door) {
  const auto square = GridSquareOfPixel;
  const MapSquareWords a = square(MapCursorPixelX + 11, MapCursorPixelY + 3);
  if (WallAt(a.x, a.y) == kDoorX || WallAt(a.x, a.y) == kScriptDoorX) {
    *door = a;
    return true;
  }
  const MapSquareWords b = square(MapCursorPixelX + 3, MapCursorPixelY + 11);
  if (WallAt(b.x, b.y) == kDoorY || WallAt(b.x, b.y) == kScriptDoorY) {
    *door = b;
    return true;
  }
  return false;
}

// The cursor by what lies on the square.
void CursorBySquare() {
  const int32_t wall = WallAt(MapCursorX, MapCursorY);
  const bool reachable = BlockedGrid[SquareIndex(MapCursorX, MapCursorY)] == kSquareFlooded;
  if (wall == kStairsUp || wall == kStairsDown) {
    CursorShape = kCursorStairs;
  } else if (wall == kCampfire) {
    CursorShape = kCursorCampfire;
  } else if (DoorHoverBySquare == 1) {
    if (IsDoorCode(wall)) {
      CursorShape = DoorShape();
      DoorSquare = MapSquareWords{MapCursorX, MapCursorY};
    } else {
      CursorShape = reachable ? kCursorWalk : kCursorRefused;
    }
  } else {
    MapSquareWords door;
    if (DoorByPixel(&door)) {
      CursorShape = DoorShape();
      DoorSquare = door;
    } else {
      const MapSquareWords point = GridSquareOfPixel(MapCursorPixelX + 10, MapCursorPixelY + 10);
      CursorShape = reachable && !IsWallPiece(WallAt(point.x, point.y)) ? kCursorWalk : kCursorRefused;
    }
  }
}

// The member beside the square (on the ring around its footprint).
bool NextToMember(int x, int y) {
  MarkAdjacentSquares(Member());
  return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide && AdjacencyGrid[SquareIndex(x, y)] != 0;
}

void SetWalkTo(int flag, int x, int y) {
  PartyWalking[flag] = 1;
  PartyWalkSquare[flag] = WalkSquare{x, y};
}

// A door's listening or opening script, run with the member turned to it.
void RunDoorScript(const char* kind, int x, int y, bool listening) {
  char path[260] = {};
  std::snprintf(path, sizeof path, "Scripts\\%s\\Map%i_%s%i.mls", AdventureFolder, CurrentMap.scriptMapNumber, kind,
                CurrentMap.At(kLayerEvents, x, y));
  ScriptRunWord = 0;
  FaceTowardsSquare(Member(), x, y);
  StrictScrollTo(-1, x, y);
  ListeningAtDoor = listening ? 1 : 0;
  RunScriptFile(path);
  ListeningAtDoor = 0;
  SetFighterFacing(GetFighterSlot(Member()));
  ScreenMode = kModeExploring;
}

void ClickCampfire() {
  const int x = MapCursorX, y = MapCursorY;
  if (NextToMember(x, y)) {
    RestPartyOnMap();
    return;
  }
  if (!WalkBesideSquare(Member(), x, y, 1, 1)) {
    ShowClickResultAtMouse(kResultCampfire);
    return;
  }
  CentreViewOnCurrentCharacter();
  CancelPendingWalk();
  SetWalkTo(kWalkToCampfire, x, y);
}

// True when the map was changed.
bool ClickStairs() {
  const int x = MapCursorX, y = MapCursorY;
  PartyWalking[kWalkToStairs] = 0;
  if (NextToMember(x, y)) {
    ChangeMapWithSound(CurrentMap.At(kLayerObjects0, x, y), CurrentMap.At(kLayerObjects1, x, y),
                       CurrentMap.At(kLayerObjects2, x, y), CurrentMap.At(kLayerObjects3, x, y));
    return true;
  }
  if (!WalkBesideSquare(Member(), x, y, 0, 0)) {
    ShowClickResultAtMouse(kResultStairs);
    return false;
  }
  CentreViewOnCurrentCharacter();
  CancelPendingWalk();
  SetWalkTo(kWalkToStairs, x, y);
  return false;
}

void ClickDoor(bool listen) {
  const int x = DoorSquare.x, y = DoorSquare.y;
  if (!CurrentMap.Inside(x, y)) return;
  if (!NextToMember(x, y)) {
    CancelPendingWalk();
    const int flag = listen ? kWalkToListenDoor : kWalkToOpenDoor;
    SetWalkTo(flag, x, y);
    if (!WalkBesideSquare(Member(), x, y, listen ? 0 : 1, listen ? 0 : 1)) {
      PartyWalking[flag] = 0;
      ShowClickResultAtMouse(kResultDoor);
      return;
    }
    CentreViewOnCurrentCharacter();
    return;
  }
  const int32_t wall = WallAt(x, y);
  if (listen)
    RunDoorScript("Listen", x, y, true);
  else if (wall == kDoorX || wall == kDoorY)
    ToggleDoorSquare(x, y);
  else
    RunDoorScript("Open", x, y, false);
}

// A click on open ground: the member walks there, or its walk is redirected.
void ClickWalk() {
  const int m = Member();
  if (!IsValidCreature(m)) return;
  CreatureRecord& c = Creatures[m];
  const int slot = GetFighterSlot(m);
  const bool still = c.squareX == c.nextX && c.squareY == c.nextY;
  if (still) {
    if (!SquareExplored(MapCursorX, MapCursorY) || slot < 0 || FighterSlots[slot].pathIndex != -1) return;
    FindCreaturePath(m, c.squareX, c.squareY, MapCursorX, MapCursorY, 0, 0, 0, 0, nullptr, nullptr);
    if (!IsFighterOnScreen(slot)) CentreViewOnCurrentCharacter();
    return;
  }
  if (c.destinationX != c.nextX || c.destinationY != c.nextY) RedirectWalk();
}

// The left button on the map while exploring.
void ExploringClicks() {
  if (!ButtonPressed(0)) return;
  const int32_t wall = WallAt(MapCursorX, MapCursorY);
  if (CursorShape == kCursorCampfire && wall == kCampfire) {
    LatchButton(0);
    ClickCampfire();
    return;
  }
  if (CursorShape == kCursorStairs && (wall == kStairsUp || wall == kStairsDown)) {
    LatchButton(0);
    ClickStairs();
    return;
  }
  if (CursorShape == kCursorDoorOpen - 3 || CursorShape == kCursorDoorOpen) {
    LatchButton(0);
    ClickDoor(CursorShape != kCursorDoorOpen);
    return;
  }
  if (WalkCursorOn == 0) {
    LatchButton(0);
    ClickWalk();
  }
}

void ExploringMouse() {
  // While exploring a creature is hovered in screen mode 3, or here through
  // its name on the party list: one still named otherwise is left from
  // before (a merchant whose talk opened his trade page, closed away from
  // him) and is hovered no more, though the pointer has not moved.
  if (!IsOverNameList()) HoveredSlot = -1;
  UpdateWalkCursor();
  if (WalkCursorOn == 1) return;
  const bool scrolled = EdgeScroll();
  if (!scrolled) {
    if (IsOverNameList()) {
      CursorShape = kCursorPage;
      return;
    }
    // The cell left of a name: a level-up star there is the party list's.
    if (IsOverNameMarker()) {
      CursorShape = LevelUpStarUnderMouse() ? kCursorPointing : kCursorRefused;
      return;
    }
    if (!SquareExplored(MapCursorX, MapCursorY)) {
      CursorShape = kCursorRefused;
      return;
    }
    if (HoverCreature() || HoverPile()) return;
    CursorBySquare();
  }
  if (SquareExplored(MapCursorX, MapCursorY)) ExploringClicks();
  if (CursorShape == DoorShape() && ButtonPressed(1)) {
    ResetHoverState();
    LatchButton(1);
    DoorCursorMode = DoorCursorMode == 0 ? -3 : 0;
  }
}

// --- A creature hovered outside combat ----------------------------------------

bool SeesThrough(int a, int b) {
  const GridSquare from = NearestFootprintSquare(a, Creatures[b].squareX, Creatures[b].squareY);
  const GridSquare to = NearestFootprintSquare(b, from.x, from.y);
  return HasLineOfEffect(from.x, from.y, to.x, to.y, nullptr);
}

// Talking: in sight and within 20 feet.
void Talk(int creature) {
  const int m = Member();
  if (!SeesThrough(m, creature)) {
    ShowClickResultAtMouse(kResultNoSight);
    return;
  }
  if (CreatureDistanceFeet(m, creature) > kTalkFeet) {
    ShowClickResultAtMouse(kResultTooFar);
    return;
  }
  if (Creatures[creature].tag[0] != '\0') RunCreatureScript(creature);
}

void Surprise(int creature) {
  RemoveCondition(creature, kCondAlarmed);
  RemoveCondition(creature, kCondSurprised);
  RemoveCondition(creature, kCondDistracted);
  if (FindCondition(creature, kCondSleeping) < 0) AddCondition(creature, kCondSurprised, 2, 0, kSurpriseSource, 0);
}

// Whether a participant that is not distracted sees a present party member.
bool WatchfulParticipantSeesParty(int creature) {
  if (FindCondition(creature, kCondDistracted) >= 0) return false;
  const int slot = GetFighterSlot(creature);
  if (slot < 0 || slot >= kFighterSlots) return false;
  for (int m = 0; m < 4; ++m) {
    const CreatureRecord& c = Creatures[m];
    if (c.present != 1 || !CurrentMap.Inside(c.squareX, c.squareY)) continue;
    if (FighterSlots[slot].visible[SquareIndex(c.squareX, c.squareY)] == 1) return true;
  }
  return false;
}

// The party attacks: the target and its leader's group take part, surprise
// is judged, and the battle starts.
void StartFightWith(int target) {
  InCombat = 1;
  CombatParticipantCount = 0;
  CombatParticipants[CombatParticipantCount++] = target;
  const int leader = Creatures[target].leader;
  if (IsValidCreature(leader)) {
    for (int s = 4; s < FighterCount && s < kFighterSlots; ++s) {
      const int c = FighterSlots[s].creature;
      if (c == target || !IsValidCreature(c) || Creatures[c].present != 1 || Creatures[c].leader != leader) continue;
      if (CombatParticipantCount < kCombatListSize) CombatParticipants[CombatParticipantCount++] = c;
    }
  }
  if (NoSurpriseFlag == 1) {
    NoSurpriseFlag = 0;
    for (int i = 0; i < CombatParticipantCount; ++i) {
      RemoveCondition(CombatParticipants[i], kCondAlarmed);
      RemoveCondition(CombatParticipants[i], kCondSurprised);
      RemoveCondition(CombatParticipants[i], kCondDistracted);
    }
    StartCombat(1);
    return;
  }
  bool partyHasSurprise = true, allDistracted = true;
  for (int i = 0; i < CombatParticipantCount; ++i) {
    const int c = CombatParticipants[i];
    if (FindCondition(c, kCondAlarmed) >= 0 || WatchfulParticipantSeesParty(c)) partyHasSurprise = false;
    if (FindCondition(c, kCondDistracted) < 0) allDistracted = false;
  }
  EnemiesSurprised = allDistracted ? 1 : 0;
  for (int i = 0; i < CombatParticipantCount; ++i) {
    const int c = CombatParticipants[i];
    if (partyHasSurprise || FindCondition(c, kCondDistracted) >= 0) Surprise(c);
  }
  StartCombat(1);
}

void AttackOutsideCombat(int target) {
  const int m = Member();
  if (Creatures[target].allegiance != kAllegianceEnemy) {
    ShowClickResultAtMouse(kResultNotHostile);
    return;
  }
  if (!SeesThrough(m, target)) {
    ShowClickResultAtMouse(kResultNoSight);
    return;
  }
  if (CreatureDistanceFeet(m, target) > kAttackFeet) {
    ShowClickResultAtMouse(kResultTooFar);
    return;
  }
  StartFightWith(target);
}

}  // namespace

void OpenCharacterPageOf(int creature) {
  if (!IsValidCreature(creature)) return;
  char caption[kPageCaptionSize] = {};
  std::snprintf(caption, sizeof caption, "%.15s", Creatures[creature].name);
  SavedScreenMode = ScreenMode;
  SetFirstPage(caption, kPageCharacterRecord, creature);
  ScreenMode = kModePageView;
}

bool IsEnemyForCursor(int creature) {
  return Creatures[creature].allegiance == kAllegianceEnemy || FindCondition(creature, kCondInsane) >= 0 ||
         FindCondition(creature, kCondConfused) >= 0 || FindCondition(creature, kCondControlled) >= 0 ||
         FindCondition(creature, kCondDominated) >= 0;
}

bool CycleWeaponMode(int creature) {
  if (!ButtonPressed(1) || !IsValidCreature(creature) || creature < 4) return false;
  ClickResult.code = 0;
  ResetHoverAndInput();
  const bool ally6 = Creatures[creature].allegiance == kAllegianceAllyOther;
  if (WeaponMode == 0)
    WeaponMode = ally6 ? 2 : 1;
  else if (WeaponMode == 1)
    WeaponMode = 2;
  else
    WeaponMode = 0;
  if (ally6 && WeaponMode == 1) WeaponMode = 2;
  return true;
}

void HoveredCreatureMouse() {
  const int named = HitTestNameList();
  if (named != -1) {
    HoveredSlot = GetFighterSlot(named);
    ScreenMode = kModeExploring;
    return;
  }
  HoveredSlot = FighterUnderMouse();
  if (HoveredSlot < 0 || HoveredSlot >= kFighterSlots || !IsValidCreature(FighterSlots[HoveredSlot].creature)) {
    ScreenMode = kModeExploring;
    HoveredSlot = -1;
    ResetHoverState();
    return;
  }
  const int c = FighterSlots[HoveredSlot].creature;
  if (CycleWeaponMode(c)) {
    // The new mode shows at once.
  }
  ShowCreatureCursor(c);
  if (!ButtonPressed(0)) return;
  if (CursorShape == kCursorPage) {
    LatchButton(0);
    OpenCharacterPageOf(c);
  } else if (CursorShape == kCursorTalk) {
    LatchButton(0);
    Talk(c);
  } else if (CursorShape == kCursorAttack) {
    LatchButton(0);
    AttackOutsideCombat(c);
  }
}

void MapMouseHandler() {
  ForgetClicksMeantForMissilesOfPastTurns();
  StopWorldAmbientOffTheMap();
  MoveRangeForced = 0;
  AttackAimMode = 0;
  // The banner's attack and the path arrows belong to this frame's hover.
  AttackKindShown = 0;
  ShotSwitchShown = 0;
  PathArrowsShown = 0;
  if (ScreenMode == kModeResting) CursorShape = kCursorDefaultRest;
  if (InCombat == 1) {
    if (CombatAction.actionCode != 0 || CombatState != kStatePlayerTurn) {
      if (ScreenMode != kModeResting) CursorShape = kCursorNone;
      HoveredSlot = -1;
      return;
    }
    KeepThreatMarksCurrent();
    if (PendingPanelAction != -1 && PendingPanelAction != kActCoupDeGrace && ButtonPressed(1)) {
      ResetHoverAndInput();
      return;
    }
  }
  FindSquareUnderMouse();
  const bool onMap = ScreenMode == kModeExploring || ScreenMode == kModeCreatureHovered;
  if (InCombat == 1 && onMap && SpendClickMeantForMissile()) return;
  // A key's refusal standing beside the pointer takes the next press on the
  // map: the click meant for what the key would have begun orders nothing.
  if (onMap && !MouseOnGamePanels() && TakePressOnStandingRefusal()) return;
  if (ScreenMode == kModeLocalMap) {
    WorldMapMouse();
    return;
  }
  if (ScreenMode >= kModeTargetFirst && ScreenMode <= kModeTargetLast) {
    AimingMouse();
    return;
  }
  if (ScreenMode == kModeExamine) {
    ExamineMouse();
    return;
  }
  if (InCombat == 1 && ViewGlides() && (ScreenMode == kModeExploring || ScreenMode == kModeCreatureHovered) &&
      !MouseOnGamePanels()) {
    HoldMapWhileGliding();
    return;
  }
  if (ScreenMode == kModeCreatureHovered) {
    if (InCombat == 1)
      CombatHoverMouse();
    else
      HoveredCreatureMouse();
    return;
  }
  if (ScreenMode != kModeExploring) return;
  if (InCombat == 1)
    CombatMouse();
  else
    ExploringMouse();
}

void ResetMapInputState() {
  SquareChanged = 0;
  DoorCursorMode = 0;
  DoorSquare = MapSquareWords{};
  ItemPileSquare = MapSquareWords{};
  DoorHoverBySquare = 0;
  MapCursorPixelX = MapCursorPixelY = 0;
  HoverMarksHidden = 0;
  MoveRangeAllowed = 1;
  MoveRangeForced = 0;
  PathPreviewShown = 0;
  PathArrowsShown = 0;
  AttackAimMode = 0;
  KeypadWalkFlag = 0;
  MoveAttackPlan = 0;
  ChargeChosen = 0;
  AttackKindShown = 0;
  ShotSwitchShown = 0;
  AimedSquare = PlacementSquare = RectangleCorner = MapSquareWords{};
  ForgetClicksMeantForMissiles();
  ForgetOrderPlans();
  RectangleCornerSet = 0;
  LineOfEffectShown = 0;
  WorldTravelling = 0;
  WorldEnterOnArrival = 0;
  WorldStepFrames = 0;
  WorldMapCell = MapSquareWords{};
  DialogueScrollLine = 0;
  HeldObject = HeldObjectWords{};
}
