#include "rules/formation.h"

#include "state/fighter_slots.h"
#include "map/party_walk.h"
#include "map/path_finding.h"
#include "rules/creature_record.h"
#include "map/creature_paths.h"
#include "state/party_leader.h"
#include "state/turn_order.h"

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
// square the creature's footprint would cover at (x, y).
bool HeldByOther(int creature, int x, int y) {
  const CreatureRecord& me = Creatures[creature];
  const int w = Extent(me.footprintWidth.current), h = Extent(me.footprintHeight.current);
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int id = FighterSlots[s].creature;
    if (id == creature || !IsValidCreature(id) || Creatures[id].present != 1) continue;
    const CreatureRecord& o = Creatures[id];
    const int ow = Extent(o.footprintWidth.current), oh = Extent(o.footprintHeight.current);
    if (Overlaps(x, y, w, h, o.squareX, o.squareY, ow, oh) || Overlaps(x, y, w, h, o.nextX, o.nextY, ow, oh))
      return true;
  }
  return false;
}

}  // namespace

bool WalkEndsAmongOthers(int creature, int fromIndex) {
  if (!IsValidCreature(creature) || creature < kPartySize || InCombat == 1 || fromIndex < 0) return false;
  const int slot = Creatures[creature].fighterSlot;
  if (slot < 0 || slot >= kFighterSlots || FighterSlots[slot].pathIndex == -1) return false;
  const FighterSlot& s = FighterSlots[slot];
  bool any = false;
  for (int i = fromIndex; i < kPathLength && OnMap(s.pathX[i], s.pathY[i]); ++i) {
    if (!HeldByOther(creature, s.pathX[i], s.pathY[i])) return false;
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

int MovePartyInFormation() {
  const int lead = static_cast<int>(PartyLeader);
  if (lead < 0 || lead >= kPartySize) return 1;
  const CreatureRecord& leader = Creatures[lead];
  for (int m = 0; m < kPartySize; ++m) {
    const CreatureRecord& c = Creatures[m];
    if (c.present != 1 || HasPath(m) || m == lead) continue;
    int tx = 0, ty = 0;
    TurnFormationOffset(c.formationX, c.formationY, leader.facing, &tx, &ty);
    const int gx = leader.nextX + tx, gy = leader.nextY + ty;
    if (c.squareX == gx && c.squareY == gy) continue;
    if (!OnMap(gx, gy) || PathTo(m, gx, gy) != kPathFound) PathTo(m, leader.squareX, leader.squareY);
  }
  return 1;
}

bool FinishPartyMoves() {
  GatherPartyOnLeader();
  CancelPartyWalk();
  MovePartyInFormation();
  const int lead = static_cast<int>(PartyLeader);
  const int facing = (lead >= 0 && lead < kPartySize) ? Creatures[lead].facing : 1;
  for (int m = 0; m < kPartySize; ++m) {
    CreatureRecord& c = Creatures[m];
    if (c.destinationX != -1 && c.destinationY != -1) {
      c.squareX = c.destinationX;
      c.squareY = c.destinationY;
    } else {
      c.squareX = c.nextX;
      c.squareY = c.nextY;
    }
    c.pixelX = c.squareX * 24;
    c.pixelY = c.squareY * 24;
    c.facing = facing;
    ResetCreaturePath(m);
  }
  for (int m = 0; m < kPartySize; ++m)
    if (m != lead && Creatures[m].present == 1) RelocateIfBlocked(m);
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
