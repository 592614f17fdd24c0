#include "rules/formation.h"

#include <algorithm>
#include <cstdlib>

#include "state/fighter_slots.h"
#include "map/party_walk.h"
#include "map/path_finding.h"
#include "rules/creature_record.h"
#include "map/creature_paths.h"
#include "map/fighter_tests.h"
#include "rules/conditions.h"
#include "state/map_view_state.h"
#include "state/party_leader.h"
#include "state/turn_order.h"

static_assert(kFallenPlaceCount == kPartySize, "a place for each party member");

namespace {

// Whether the creature's fighter slot holds a path.
bool HasPath(int creature) {
  const int s = Creatures[creature].fighterSlot;
  return s >= 0 && s < kFighterSlots && FighterSlots[s].pathIndex != -1;
}

bool OnMap(int x, int y) { return x >= 0 && y >= 0 && x < kMapSide && y < kMapSide && CurrentMap.Inside(x, y); }

int PathTo(int creature, int x, int y) {
  const CreatureRecord& c = Creatures[creature];
  return FindCreaturePath(creature, c.squareX, c.squareY, x, y, 0, 0, 0, 0, nullptr, nullptr);
}

int Extent(int32_t v) { return v > 0 ? v : 1; }

// Whether a footprint of w by h at (x, y) overlaps the one of width ow and
// depth oh at (ox, oy).
bool Overlaps(int x, int y, int w, int h, int ox, int oy, int ow, int oh) {
  return x < ox + ow && ox < x + w && y < oy + oh && oy < y + h;
}

// Whether another creature of the map stands on, or is stepping onto, a
// square the creature's footprint would cover at (x, y), or, for a party
// member, a fallen member lies there. A square another creature is stepping
// off counts only when `leavingHolds` is set.
bool HeldByOther(int creature, int x, int y, bool leavingHolds) {
  const CreatureRecord& me = Creatures[creature];
  const int w = Extent(me.footprintWidth.current), h = Extent(me.footprintHeight.current);
  if (creature < kPartySize && FallenMemberLiesIn(x, y, w, h)) return true;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (id == creature || !IsValidCreature(id) || Creatures[id].present != 1) continue;
    const CreatureRecord& o = Creatures[id];
    const int ow = Extent(o.footprintWidth.current), oh = Extent(o.footprintHeight.current);
    if ((leavingHolds && Overlaps(x, y, w, h, o.squareX, o.squareY, ow, oh)) ||
        Overlaps(x, y, w, h, o.nextX, o.nextY, ow, oh))
      return true;
  }
  return false;
}

// How many rings of squares round its square a member left on a held square
// looks through for a free one to step onto.
constexpr int kStepOffReach = 2;

// A member left standing on a square another holds (the leader walked onto
// it, or its walk toward the leader ended there) walks to the nearest free
// square it can reach instead of staying hidden under the other's figure.
void StepOffHeldSquare(int member) {
  const CreatureRecord& c = Creatures[member];
  if (HasPath(member) || !HeldByOther(member, c.squareX, c.squareY, false)) return;
  const int x0 = c.squareX, y0 = c.squareY;
  for (int ring = 1; ring <= kStepOffReach; ++ring)
    for (int dy = -ring; dy <= ring; ++dy)
      for (int dx = -ring; dx <= ring; ++dx) {
        const int x = x0 + dx, y = y0 + dy;
        if (std::max(std::abs(dx), std::abs(dy)) != ring || !OnMap(x, y)) continue;
        if (!RectIsAllFloor(x, y, Extent(c.footprintWidth.current), Extent(c.footprintHeight.current))) continue;
        if (!HeldByOther(member, x, y, false) && PathTo(member, x, y) == kPathFound) return;
      }
}

}  // namespace

bool WalkEndsAmongOthers(int creature, int fromIndex) {
  if (!IsValidCreature(creature) || creature == static_cast<int>(PartyLeader) || InCombat == 1 || fromIndex < 0)
    return false;
  const int slot = Creatures[creature].fighterSlot;
  if (slot < 0 || slot >= kFighterSlots || FighterSlots[slot].pathIndex == -1) return false;
  const FighterSlot& s = FighterSlots[slot];
  // A member walks on behind a creature stepping off a square: the member
  // straight behind a walking leader heads for the square the leader leaves.
  const bool leavingHolds = creature >= kPartySize;
  bool any = false;
  for (int i = fromIndex; i < kPathLength && OnMap(s.pathX[i], s.pathY[i]); ++i) {
    if (!HeldByOther(creature, s.pathX[i], s.pathY[i], leavingHolds)) return false;
    any = true;
  }
  return any;
}

void StopOnOwnSquare(int creature) {
  if (!IsValidCreature(creature)) return;
  CreatureRecord& c = Creatures[creature];
  const int slot = c.fighterSlot;
  if (slot >= 0 && slot < kFighterSlots) FighterSlots[slot].pathIndex = -1;
  c.destinationX = c.destinationY = -1;
  c.nextX = c.squareX;
  c.nextY = c.squareY;
}

void SetPartyLine() {
  for (int m = 0; m < kPartySize; ++m) Creatures[m].leader = 0;
  CreatureRecord& first = Creatures[0];
  first.formationX = 1;
  first.formationY = 2;
  first.formationWords[kThirdLinkWord] = 3;
  first.formationWords[kFourthLinkWord] = -1;
  static constexpr int32_t kOffsets[3][2] = {{-1, 1}, {0, 1}, {1, 1}};
  for (int m = 1; m < kPartySize; ++m) {
    Creatures[m].formationX = kOffsets[m - 1][0];
    Creatures[m].formationY = kOffsets[m - 1][1];
  }
}

int FormationThird(int v) {
  int q = v / 3;
  const int r = v % 3;
  if (r == 2) ++q;
  if (r == -2) --q;
  return q;
}

void TurnFormationOffset(int dx, int dy, int facing, int* outX, int* outY) {
  int x = dx, y = dy;
  switch (facing) {
    case 2: x = FormationThird(2 * (dx - dy)); y = FormationThird(2 * (dx + dy)); break;
    case 3: x = -dy; y = dx; break;
    case 4: x = FormationThird(-2 * (dx + dy)); y = FormationThird(2 * (dx - dy)); break;
    case 5: x = -dx; y = -dy; break;
    case 6: x = FormationThird(2 * (dy - dx)); y = FormationThird(-2 * (dx + dy)); break;
    case 7: x = dy; y = -dx; break;
    case 8: x = FormationThird(2 * (dx + dy)); y = FormationThird(2 * (dy - dx)); break;
    default: break;  // 1, and any facing outside 1 to 8, keeps the offset
  }
  *outX = x;
  *outY = y;
}

int MoveFollowersInFormation() {
  if (FighterCount < 5) return 1;
  for (int s = 4; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (!IsValidCreature(id)) continue;
    CreatureRecord& c = Creatures[id];
    if (c.present != 1) continue;
    if (c.leader == 0 && c.formationX == 0 && c.formationY == 0) continue;
    if (FighterSlots[s].pathIndex != -1 || c.leader == id || c.formationWords[kHoldFlagWord] == 1) continue;
    // A leader outside the table or not on the map leads nobody.
    if (!IsValidCreature(c.leader) || Creatures[c.leader].present != 1) continue;
    const CreatureRecord& leader = Creatures[c.leader];
    int tx = 0, ty = 0;
    TurnFormationOffset(c.formationX, c.formationY, leader.facing, &tx, &ty);
    c.formationWords[kTurnedOffsetXWord] = tx;
    c.formationWords[kTurnedOffsetYWord] = ty;
    const int gx = leader.nextX + tx, gy = leader.nextY + ty;
    if (c.squareX == gx && c.squareY == gy) continue;
    // A place off the map is never searched for: like a place without a path,
    // the follower heads for its leader instead.
    if (!OnMap(gx, gy) || PathTo(id, gx, gy) != kPathFound) {
      c.formationWords[kTurnedOffsetXWord] = 0;
      c.formationWords[kTurnedOffsetYWord] = 0;
      PathTo(id, leader.squareX, leader.squareY);
    }
    // Its place taken (by the leader itself when it has no offset of its
    // own), it stops as close as it gets instead of sharing the square.
    if (WalkEndsAmongOthers(id, 0)) StopOnOwnSquare(id);
  }
  return 1;
}

namespace {

// Sends each member but the leading character to its place in the formation,
// or toward the leader's square when its place cannot be reached. Walking
// (`holdBack`), a member whose walk would end on a square another holds
// stops as close as it gets; the party's moves finished at once are settled
// afterwards instead.
void SendPartyToPlaces(bool holdBack) {
  const int lead = static_cast<int>(PartyLeader);
  if (lead < 0 || lead >= kPartySize) return;
  const CreatureRecord& leader = Creatures[lead];
  for (int m = 0; m < kPartySize; ++m) {
    CreatureRecord& c = Creatures[m];
    if (c.present != 1 || HasPath(m) || m == lead) continue;
    int tx = 0, ty = 0;
    TurnFormationOffset(c.formationX, c.formationY, leader.facing, &tx, &ty);
    const int gx = leader.nextX + tx, gy = leader.nextY + ty;
    if (c.squareX == gx && c.squareY == gy) continue;
    const int32_t facing = c.facing;
    if (!OnMap(gx, gy) || PathTo(m, gx, gy) != kPathFound) PathTo(m, leader.squareX, leader.squareY);
    // Its place or the leader's square taken, it stops as close as it gets
    // instead of sharing a square, and keeps its facing where it stands.
    if (!holdBack) continue;
    if (WalkEndsAmongOthers(m, 0)) {
      StopOnOwnSquare(m);
      c.facing = facing;
    }
    StepOffHeldSquare(m);
  }
}

}  // namespace

int MovePartyInFormation() {
  SendPartyToPlaces(true);
  return 1;
}

namespace {

// Whether the member lies fallen in view: off the map, down, and its place laid.
bool LiesFallen(int member) {
  const CreatureRecord& c = Creatures[member];
  const bool down = c.hitPoints <= 0 || FindAnyCondition(member, kCondDead, kCondPetrified, kCondUnconscious) >= 0;
  return c.present != 1 && down && FallenPlaces[member].x != -1;
}

}  // namespace

bool FallenMemberLiesIn(int x, int y, int width, int depth) {
  for (int m = 0; m < kPartySize; ++m) {
    const FallenPlace& place = FallenPlaces[m];
    if (LiesFallen(m) && Overlaps(x, y, width, depth, place.x, place.y, 1, 1)) return true;
  }
  return false;
}

bool FinishPartyMoves() {
  const int lead = static_cast<int>(PartyLeader);
  const bool led = lead >= 0 && lead < kPartySize;
  if (led && Creatures[lead].present == 1) {
    const CreatureRecord& c = Creatures[lead];
    if (FallenMemberLiesIn(c.squareX, c.squareY, Extent(c.footprintWidth.current), Extent(c.footprintHeight.current)))
      RelocateIfBlocked(lead, true);
  }
  GatherPartyOnLeader();
  CancelPartyWalk();
  SendPartyToPlaces(false);
  const int facing = led ? Creatures[lead].facing : 1;
  for (int m = 0; m < kPartySize; ++m) {
    CreatureRecord& c = Creatures[m];
    if (c.destinationX != -1 && c.destinationY != -1) {
      c.squareX = c.destinationX;
      c.squareY = c.destinationY;
    } else {
      c.squareX = c.nextX;
      c.squareY = c.nextY;
    }
    // A fallen member lying in view keeps the square it lies on (a game
    // saved now lays it there again).
    if (LiesFallen(m)) {
      c.squareX = c.nextX = FallenPlaces[m].x;
      c.squareY = c.nextY = FallenPlaces[m].y;
    }
    c.pixelX = c.squareX * 24;
    c.pixelY = c.squareY * 24;
    c.facing = facing;
    ResetCreaturePath(m);
  }
  for (int m = 0; m < kPartySize; ++m)
    if (m != lead && Creatures[m].present == 1) RelocateIfBlocked(m, true);
  return true;
}

int AdvancePatrolWaypoint(int slot) {
  if (slot < 0 || slot >= kFighterSlots) return 1;
  const int id = FighterSlots[slot].creature;
  if (!IsValidCreature(id)) return 1;
  CreatureRecord& c = Creatures[id];
  // One pass over the five waypoints: a patrol with none in reach stops without a path.
  for (int tries = 0; tries < 5; ++tries) {
    int index = c.patrolIndex + 1;
    if (index < 1 || index > 5) index = 1;
    if (c.patrol[index - 1][kWaypointX] == -1) index = 1;
    c.patrolIndex = index;
    const int32_t* waypoint = c.patrol[index - 1];
    c.waypointValue = waypoint[kWaypointPause];
    if (PathTo(id, waypoint[kWaypointX], waypoint[kWaypointY]) == kPathFound) return 1;
  }
  AbandonPath(id);
  return 1;
}
