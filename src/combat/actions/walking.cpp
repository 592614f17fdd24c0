#include "combat/actions/walking.h"

#include <cstdio>
#include <cstdlib>

#include "combat/actions/combat_movement.h"
#include "combat/actions/combat_sounds.h"
#include "combat/actions/displacement.h"
#include "engine/frame.h"
#include "engine/game_speeds.h"
#include "engine/random.h"
#include "engine/reset_words.h"
#include "engine/settings.h"
#include "engine/sound.h"
#include "map/creature_paths.h"
#include "map/fighter_tests.h"
#include "map/map_switching.h"
#include "map/map_view.h"
#include "map/movement_rules.h"
#include "map/party_vision.h"
#include "map/party_walk.h"
#include "map/path_finding.h"
#include "map/square_grids.h"
#include "rules/adjacency.h"
#include "rules/conditions.h"
#include "rules/creature_record.h"
#include "rules/formation.h"
#include "rules/positions.h"
#include "state/casting_services.h"
#include "state/game_progress.h"
#include "state/game_screen_words.h"
#include "state/inventory_state.h"
#include "state/camera.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/script_state.h"

uint8_t MovedThisFrame[kFighterSlots] = {};
uint8_t ListeningAtDoor = 0;

namespace {

// Movement kinds (the creature's group word).
constexpr int32_t kMoveWanderer = 2;
constexpr int32_t kMovePatrol = 3;
constexpr int32_t kMoveLeavesMap = 4;

constexpr int kWalkFrames = 10;
constexpr int kFastPartyWalkFrames = 7;
constexpr int kSpiralLimit = 60;
constexpr int kStairsSample = 1;
constexpr int kLocalMapView = 99;
constexpr int32_t kClickNothingTaken = 2;
constexpr int32_t kDoorAlongX = 82;
constexpr int32_t kDoorAlongY = 83;

bool OnGrid(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide; }
int Width(const CreatureRecord& c) { return c.footprintWidth.current > 0 ? c.footprintWidth.current : 1; }
int Depth(const CreatureRecord& c) { return c.footprintHeight.current > 0 ? c.footprintHeight.current : 1; }

bool IsStanding(const CreatureRecord& c) {
  return c.squareX == c.nextX && c.squareY == c.nextY && c.pixelX == c.squareX * kSquarePixels &&
         c.pixelY == c.squareY * kSquarePixels;
}

bool IsWalking(const CreatureRecord& c) {
  return c.pixelX != c.nextX * kSquarePixels || c.pixelY != c.nextY * kSquarePixels;
}

bool IsWanderer(int creature) { return creature >= kPartySize && Creatures[creature].group == kMoveWanderer; }

int PathTo(int creature, int x, int y) {
  const CreatureRecord& c = Creatures[creature];
  return FindCreaturePath(creature, c.squareX, c.squareY, x, y, 0, 0, 0, 0, nullptr, nullptr);
}

int32_t IdlePause() { return static_cast<int32_t>(RandomUpTo(199)) + 101; }

void ClearPathOf(int creature) {
  const int slot = Creatures[creature].fighterSlot;
  if (slot >= 0 && slot < kFighterSlots) FighterSlots[slot].pathIndex = -1;
  Creatures[creature].destinationX = Creatures[creature].destinationY = -1;
}

// A patrol waits at its waypoint, then goes on; a wanderer waits, then
// explores.
void StandingStep(int slot, int creature) {
  CreatureRecord& c = Creatures[creature];
  const bool patrol = c.group == kMovePatrol && c.patrol[0][kWaypointX] != -1;
  if (!patrol && !IsWanderer(creature)) return;
  if (c.waypointValue > 0) {
    --c.waypointValue;
    return;
  }
  if (patrol)
    AdvancePatrolWaypoint(slot);
  else
    ExploreStep(creature);
}

// A creature that leaves the map at its destination takes its followers along.
void LeaveMap(int creature) {
  Creatures[creature].present = 0;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int other = FighterSlots[s].creature;
    if (IsValidCreature(other) && other != creature && Creatures[other].leader == creature)
      Creatures[other].present = 0;
  }
}

// A wanderer at its goal walks on one square in its facing while that shows
// it something new.
bool WanderOn(int creature) {
  static const int kDx[9] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
  static const int kDy[9] = {0, -1, -1, 0, 1, 1, 1, 0, -1};
  const CreatureRecord& c = Creatures[creature];
  const int f = c.facing >= 1 && c.facing <= 8 ? c.facing : 0;
  if (f == 0) return false;
  const int x = c.squareX + kDx[f], y = c.squareY + kDy[f];
  if (!RectIsAllFloor(x, y, Width(c), Depth(c))) return false;
  if (CountNewlySeenSquares(x, y, creature) <= 0) return false;
  return PathTo(creature, x, y) != kPathNone;
}

bool IsNextToLeader(int x, int y) {
  return OnGrid(x, y) && AdjacencyGrid[SquareIndex(x, y)] != 0;
}

// Runs a door's listening or opening script with the leader facing the door
// and the view on the leader.
void RunDoorScript(int leader, const char* kind, int x, int y, bool listening) {
  char path[260] = {};
  std::snprintf(path, sizeof path, "Scripts\\%s\\Map%i_%s%i.mls", AdventureFolder, CurrentMap.scriptMapNumber, kind,
                CurrentMap.At(kLayerEvents, x, y));
  FaceTowardsSquare(leader, x, y);
  StrictScrollTo(leader, -1, -1);
  ListeningAtDoor = listening ? 1 : 0;
  RunScriptFile(path);
  ListeningAtDoor = 0;
  ScreenMode = kModeExploring;
}

// Each object of the square goes to the first present member that can take
// it: the member named by the order, then members 0 to 3.
void PickUpObjects(const PendingPickUpWords& pick) {
  for (int m = 0; m < kPartySize; ++m) ResetCreaturePath(m);
  int levels[4] = {pick.level, -1, -1, -1};
  if (pick.level == kPickUpAllLevels) {
    levels[0] = 3, levels[1] = 2, levels[2] = 1, levels[3] = 0;
  }
  bool anyTaken = false;
  for (int level : levels) {
    if (level < 0 || level > 3) continue;
    const int32_t object = CurrentMap.At(kLayerObjects0 + level, pick.x, pick.y);
    if (object == 0) continue;
    const int order[5] = {pick.picker, 0, 1, 2, 3};
    for (int member : order) {
      if (member < 0 || member >= kPartySize || Creatures[member].present != 1) continue;
      if (FindCondition(member, kCondPolymorphed) >= 0 || DistanceToCreatureFeet(member, pick.x, pick.y) > 14) continue;
      if (!PickUpSquareItem(member, object)) continue;
      RemoveCellObject(level, pick.x, pick.y);
      if (object > 5000) RunItemScript(object - 5000);
      anyTaken = true;
      break;
    }
  }
  if (!anyTaken) ShowClickResultAtMouse(kClickNothingTaken);
}

// The leader's pending interactions on arrival next to their squares. True
// when the map was changed (the walk stops for this frame).
bool LeaderInteractions(int leader) {
  MarkAdjacentSquares(leader);
  const CreatureRecord& c = Creatures[leader];
  if (PendingPickUp.pending == 1 &&
      (IsNextToLeader(PendingPickUp.x, PendingPickUp.y) || (PendingPickUp.x == c.squareX && PendingPickUp.y == c.squareY))) {
    const PendingPickUpWords pick = PendingPickUp;
    PendingPickUp = PendingPickUpWords{};
    PickUpObjects(pick);
  }
  const WalkSquare campfire = PartyWalkSquare[kWalkToCampfire];
  if (PartyWalking[kWalkToCampfire] == 1 && IsNextToLeader(campfire.x, campfire.y)) {
    PartyWalking[kWalkToCampfire] = 0;
    RestPartyOnMap();
  }
  const WalkSquare stairs = PartyWalkSquare[kWalkToStairs];
  if (PartyWalking[kWalkToStairs] == 1 && IsNextToLeader(stairs.x, stairs.y)) {
    PartyWalking[kWalkToStairs] = 0;
    ChangeMapWithSound(CurrentMap.At(kLayerObjects0, stairs.x, stairs.y),
                       CurrentMap.At(kLayerObjects1, stairs.x, stairs.y),
                       CurrentMap.At(kLayerObjects2, stairs.x, stairs.y),
                       CurrentMap.At(kLayerObjects3, stairs.x, stairs.y));
    return true;
  }
  const WalkSquare listen = PartyWalkSquare[kWalkToListenDoor];
  if (PartyWalking[kWalkToListenDoor] == 1 && IsNextToLeader(listen.x, listen.y)) {
    PartyWalking[kWalkToListenDoor] = 0;
    RunDoorScript(leader, "Listen", listen.x, listen.y, true);
  }
  const WalkSquare door = PartyWalkSquare[kWalkToOpenDoor];
  if (PartyWalking[kWalkToOpenDoor] == 1 && IsNextToLeader(door.x, door.y)) {
    PartyWalking[kWalkToOpenDoor] = 0;
    const int32_t wall = CurrentMap.At(kLayerWalls, door.x, door.y);
    if (wall == kDoorAlongX || wall == kDoorAlongY)
      ToggleDoorSquare(door.x, door.y);
    else
      RunDoorScript(leader, "Open", door.x, door.y, false);
  }
  return false;
}

// The creature has reached its destination. True when the map was changed.
bool ArriveOutOfCombat(int creature) {
  CreatureRecord& c = Creatures[creature];
  bool walksOn = false;
  if (c.group == kMoveLeavesMap && c.present == 1) {
    LeaveMap(creature);
  } else if (IsWanderer(creature)) {
    walksOn = WanderOn(creature);
  }
  // A square with a script ends the walks to doors, stairs and the campfire;
  // an object's pick-up still waits for the leader to stand by its square
  // (a walk to a pile ends on the pile, whose square often holds the script
  // that tells of it).
  if (creature < kPartySize && OnGrid(c.squareX, c.squareY) && CurrentMap.At(kLayerEvents, c.squareX, c.squareY) != 0) {
    const PendingPickUpWords pick = PendingPickUp;
    CancelPendingWalk();
    PendingPickUp = pick;
  }
  if (creature == static_cast<int>(PartyLeader)) {
    LeaderStepEnabled = 1;
    if (LeaderInteractions(creature)) return true;
  }
  if (!walksOn) ClearPathOf(creature);
  return false;
}

// The walk of one creature this frame. True when the map was changed.
bool WalkOn(int slot, int creature) {
  CreatureRecord& c = Creatures[creature];
  const bool fastParty = creature < kPartySize && OptionWords[kOptionDoubleWalkSpeed] == 1;
  AnimateWalk(slot, fastParty ? kFastPartyWalkFrames : kWalkFrames);
  if (!SnapToTargetSquare(slot)) return false;
  MovedThisFrame[slot] = 1;
  c.squareX = c.nextX;
  c.squareY = c.nextY;
  FighterSlot& s = FighterSlots[slot];
  // A party member who steps onto a square is aware again (the end of a
  // battle leaves everyone unaware): it looks about, its square's script
  // runs and those who see it may meet it.
  if (creature < kPartySize) s.alert = 1;
  // The leader's game-pad step has arrived: the stick may order the next one.
  const bool leader = creature == static_cast<int>(PartyLeader);
  if (c.destinationX == -1 || s.pathIndex == -1) {
    if (leader) LeaderStepEnabled = 1;
    return false;
  }
  if (c.squareX != c.destinationX || c.squareY != c.destinationY) {
    const int i = s.pathIndex;
    // Stops short rather than end the walk on a square someone else holds.
    if (WalkEndsAmongOthers(creature, i)) {
      StopOnOwnSquare(creature);
      return false;
    }
    if (i >= 0 && i < kPathLength && OnGrid(s.pathX[i], s.pathY[i])) {
      c.nextX = s.pathX[i];
      c.nextY = s.pathY[i];
      ++s.pathIndex;
      SetFighterFacing(slot);
    } else {
      PathTo(creature, c.destinationX, c.destinationY);
    }
    return false;
  }
  return ArriveOutOfCombat(creature);
}

// How far the creature's figure moves this frame.
int WalkPixels(int creature) {
  const int lead = static_cast<int>(PartyLeader);
  const CreatureRecord& c = Creatures[creature];
  if (creature == lead) return WalkStepSmall;
  if (creature < kPartySize) {
    if (lead < 0 || lead >= kPartySize) return WalkStepSmall;
    const CreatureRecord& l = Creatures[lead];
    const int reach = WalkStepSmall + kSquarePixels;
    const bool near = std::abs(c.pixelX - l.pixelX) <= reach && std::abs(c.pixelY - l.pixelY) <= reach;
    return near ? WalkStepSmall : WalkStepLarge;
  }
  const bool follower = IsValidCreature(c.leader) && c.leader != creature &&
                        !(c.leader == 0 && c.formationX == 0 && c.formationY == 0);
  if (!follower) return 2;
  const CreatureRecord& l = Creatures[c.leader];
  const bool nearLeader = std::abs(c.pixelX - l.pixelX) <= 25 && std::abs(c.pixelY - l.pixelY) <= 25;
  const int placeX = (l.squareX + c.formationWords[kTurnedOffsetXWord]) * kSquarePixels;
  const int placeY = (l.squareY + c.formationWords[kTurnedOffsetYWord]) * kSquarePixels;
  const bool atPlace = std::abs(c.pixelX - placeX) <= 2 && std::abs(c.pixelY - placeY) <= 2;
  return nearLeader || atPlace ? 1 : 2;
}

void MoveWalkingFigures() {
  for (int slot = 0; slot < FighterCount && slot < kFighterSlots; ++slot) {
    const int creature = FighterSlots[slot].creature;
    if (!IsValidCreature(creature) || Creatures[creature].present != 1) continue;
    if (!IsWalking(Creatures[creature])) continue;
    StepFigureInFacing(creature, WalkPixels(creature));
    PlayPositionalSound(slot);
    if (creature == static_cast<int>(PartyLeader)) KeepLeaderInView();
  }
}

// The spiral's next square: arms of growing length up, right, down, left.
struct Spiral {
  int x, y;
  int dir = 0, arm = 1, done = 0, turns = 0;
  void Next() {
    static const int kDx[4] = {0, 1, 0, -1}, kDy[4] = {-1, 0, 1, 0};
    x += kDx[dir];
    y += kDy[dir];
    if (++done == arm) {
      done = 0;
      dir = (dir + 1) % 4;
      if (++turns % 2 == 0) ++arm;
    }
  }
};

bool HasUnexploredNeighbour(const FighterSlot& s, int x, int y) {
  static const int kDx[4] = {0, 1, 0, -1}, kDy[4] = {-1, 0, 1, 0};
  for (int k = 0; k < 4; ++k) {
    const int nx = x + kDx[k], ny = y + kDy[k];
    if (CurrentMap.Inside(nx, ny) && s.secondGrid[SquareIndex(nx, ny)] == 0) return true;
  }
  return false;
}

}  // namespace

int CountNewlySeenSquares(int x, int y, int creature) {
  if (!IsValidCreature(creature)) return 0;
  CreatureRecord& c = Creatures[creature];
  const int slot = c.fighterSlot;
  if (slot < 0 || slot >= kFighterSlots) return 0;
  FighterSlot& s = FighterSlots[slot];
  const int keepX = c.squareX, keepY = c.squareY;
  c.squareX = x;
  c.squareY = y;
  MarkSightTemplate(slot, c.sight / kFeetPerSquare);
  int count = 0;
  for (int dx = -6; dx <= 6; ++dx)
    for (int dy = -6; dy <= 6; ++dy) {
      const int gx = x + dx, gy = y + dy;
      if (!OnGrid(gx, gy)) continue;
      const uint8_t mark = SightMask[dx + 6][dy + 6];
      const bool seen = mark == 1 || mark == 3;
      s.visible[SquareIndex(gx, gy)] = seen ? 1 : 2;
      if (seen && s.secondGrid[SquareIndex(gx, gy)] == 0) ++count;
    }
  c.squareX = keepX;
  c.squareY = keepY;
  return count;
}

bool ExploreStep(int creature) {
  if (!IsValidCreature(creature)) return false;
  CreatureRecord& c = Creatures[creature];
  const int slot = c.fighterSlot;
  if (slot < 0 || slot >= kFighterSlots) return false;
  FighterSlot& s = FighterSlots[slot];
  if (s.gridFlag != 0) {
    for (int32_t& w : s.secondGrid) w = 0;
    s.gridFlag = 0;
    c.waypointValue = IdlePause();
    return false;
  }
  const int x = c.squareX, y = c.squareY;
  static const int kNx[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
  static const int kNy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
  int best = -1, bestCount = 0;
  for (int k = 0; k < 8; ++k) {
    const int nx = x + kNx[k], ny = y + kNy[k];
    if (!CurrentMap.Inside(nx, ny) || !IsRectFreeOfWalls(nx, ny, Width(c), Depth(c))) continue;
    if (IsDiagonalStepBlocked(creature, nx, y, x, ny)) continue;
    if (PathTo(creature, nx, ny) == kPathNone) continue;
    const int count = CountNewlySeenSquares(nx, ny, creature);
    if (count > bestCount) {
      bestCount = count;
      best = k;
    }
  }
  if (best != -1 && PathTo(creature, x + kNx[best], y + kNy[best]) != kPathNone) return true;

  Spiral spiral{x, y};
  for (;;) {
    spiral.Next();
    if (std::abs(spiral.x - x) >= kSpiralLimit || std::abs(spiral.y - y) >= kSpiralLimit) break;
    if (!CurrentMap.Inside(spiral.x, spiral.y)) continue;
    if (!IsRectFreeOfWalls(spiral.x, spiral.y, Width(c), Depth(c))) continue;
    if (!HasUnexploredNeighbour(s, spiral.x, spiral.y)) continue;
    if (PathTo(creature, spiral.x, spiral.y) != kPathNone) return true;
  }
  for (int32_t& w : s.secondGrid) w = 0;
  ClearPathOf(creature);
  c.nextX = c.squareX;
  c.nextY = c.squareY;
  c.waypointValue = IdlePause();
  return false;
}

bool ChangeMapWithSound(int map, int x, int y, int facing) {
  const int volume = OptionWords[kOptionAmbientVolume];
  if (volume >= 1) {
    for (int channel = 0; channel < kSoundChannelCount; ++channel) {
      if (!IsChannelFree(channel)) continue;
      SetChannelPan(channel, 0);
      PlaySound(kStairsSample, channel, 1, volume);
      break;
    }
  }
  CancelPendingWalk();
  if (map == kLocalMapView) {
    CurrentMap.localMapX = x;
    CurrentMap.localMapY = y;
    ScreenMode = kModeLocalMap;
    return true;
  }
  SwitchLocalMap(map, x, y, facing, 0, 0);
  return true;
}

void RunItemScript(int32_t item) {
  char path[260] = {};
  std::snprintf(path, sizeof path, "Scripts\\%s\\Item_%i.mls", AdventureFolder, item);
  const uint32_t mode = ScreenMode;
  RunScriptFile(path);
  ScreenMode = mode;
}

void WalkingStep() {
  if (ScreenMode != kModeExploring) return;
  for (int slot = 0; slot < FighterCount && slot < kFighterSlots; ++slot) {
    MovedThisFrame[slot] = 0;
    const int creature = FighterSlots[slot].creature;
    if (!IsValidCreature(creature) || Creatures[creature].present != 1) continue;
    if (IsStanding(Creatures[creature])) {
      StandingStep(slot, creature);
      continue;
    }
    if (WalkOn(slot, creature)) return;
  }
  MoveFollowersInFormation();
  MovePartyInFormation();
  MoveWalkingFigures();
}

void ResetWalkingState() {
  ResetWords(MovedThisFrame);
  ListeningAtDoor = 0;
}
