#include "map/square_grids.h"

#include <cstring>

#include "engine/reset_words.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"
#include "engine/widgets.h"
#include "rules/creature_record.h"
#include "rules/free_deeds.h"
#include "state/party_leader.h"
#include "state/game_screen_words.h"
#include "state/queued_actions.h"

uint32_t BlockedGrid[kMapSquares];
uint32_t SightBlockGrid[kMapSquares];
uint32_t OpenSquareCount = 0;
SquareEffectCell MagicAreaGrid[kMapSquares];
uint8_t ThreatGrid[kMapSquares];
uint8_t ApproachGrid[kMapSquares];

namespace {

bool BlocksSight(int32_t wall) { return (wall >= 46 && wall <= 55) || (wall >= 82 && wall <= 85); }

// Floods kSquareFlooded from one square over the open squares, 4-connected.
// (Repeated whole-grid passes reach exactly this set; a queue gets there at once.)
void FloodFrom(int sx, int sy) {
  static int queue[kMapSquares];
  int head = 0, tail = 0;
  BlockedGrid[SquareIndex(sx, sy)] = kSquareFlooded;
  queue[tail++] = SquareIndex(sx, sy);
  while (head < tail) {
    const int i = queue[head++];
    const int x = i / kMapSide, y = i % kMapSide;
    const int nx[4] = {x - 1, x + 1, x, x};
    const int ny[4] = {y, y, y - 1, y + 1};
    for (int k = 0; k < 4; ++k) {
      if (nx[k] < 0 || ny[k] < 0 || nx[k] >= kMapSide || ny[k] >= kMapSide) continue;
      const int j = SquareIndex(nx[k], ny[k]);
      if (BlockedGrid[j] != kSquareOpen) continue;
      BlockedGrid[j] = kSquareFlooded;
      queue[tail++] = j;
    }
  }
}

}  // namespace

uint32_t OccupancyGridBuilds = 0;

int BuildOccupancyGrids(int creature) {
  ++OccupancyGridBuilds;
  if (creature == -1) creature = static_cast<int>(PartyLeader);
  OpenSquareCount = kMapSquares;
  for (int x = 0; x < kMapSide; ++x) {
    for (int y = 0; y < kMapSide; ++y) {
      const int i = SquareIndex(x, y);
      const int32_t wall = CurrentMap.layers[kLayerWalls][i];
      const bool solid = InCombat == 1 && MagicAreaGrid[i].kind == kEffectSolid;
      if (x >= CurrentMap.width || y >= CurrentMap.height || wall > 0) {
        BlockedGrid[i] = kSquareBlocked;
        --OpenSquareCount;
      } else {
        BlockedGrid[i] = solid ? kSquareBlocked : kSquareOpen;
      }
      SightBlockGrid[i] = (BlocksSight(wall) || solid) ? 1 : 0;
    }
  }
  if (IsValidCreature(creature)) {
    const CreatureRecord& c = Creatures[creature];
    if (c.squareX >= 0 && c.squareX < kMapSide && c.squareY >= 0 && c.squareY < kMapSide)
      FloodFrom(c.squareX, c.squareY);
  }
  BuildRegionGrid();
  return 1;
}

void BuildWorldMapBlockedGrid() {
  ++OccupancyGridBuilds;
  for (int i = 0; i < kMapSquares; ++i) RegionGrid[i] = -1;
  for (int x = 0; x < kMapSide; ++x) {
    for (int y = 0; y < kMapSide; ++y) {
      const int32_t ground = WorldMap.layers[kLayerGround][SquareIndex(x, y)];
      const bool border = x == 0 || y == 0 || x == WorldMap.width - 1 || y == WorldMap.height - 1;
      BlockedGrid[SquareIndex(x, y)] = (ground == 3 || ground == 6 || border) ? kSquareBlocked : kSquareOpen;
    }
  }
}

bool FootprintCovers(int creature, int x, int y) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  const int w = c.footprintWidth.current > 0 ? c.footprintWidth.current : 1;
  const int h = c.footprintHeight.current > 0 ? c.footprintHeight.current : 1;
  return x >= c.squareX && x < c.squareX + w && y >= c.squareY && y < c.squareY + h;
}

int CombatantAtSquare(int x, int y) {
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    const int c = FighterSlots[s].creature;
    if (FootprintCovers(c, x, y)) return c;
  }
  return -1;
}

int CreatureAtSquare(int x, int y, int except) {
  if (InCombat != 1) return -1;
  for (int i = 0; i < TurnEntryCount && i < kTurnOrderEntries; ++i) {
    const int c = TurnOrder[i].creature;
    if (c == -1 || c == except) continue;
    if (FootprintCovers(c, x, y)) return c;
  }
  return -1;
}

int Direction8(int x1, int y1, int x2, int y2) {
  const int dx = (x2 > x1) - (x2 < x1);
  const int dy = (y2 > y1) - (y2 < y1);
  // Rows by dy (-1, 0, +1), columns by dx (-1, 0, +1).
  static const int kCodes[3][3] = {{8, 1, 2}, {7, -1, 3}, {6, 5, 4}};
  return kCodes[dy + 1][dx + 1];
}

bool SetCreatureFacing(int creature) {
  if (!IsValidCreature(creature)) return false;
  CreatureRecord& c = Creatures[creature];
  const int dx = c.nextX - c.squareX, dy = c.nextY - c.squareY;
  if (dx < -1 || dx > 1 || dy < -1 || dy > 1 || (dx == 0 && dy == 0)) return false;
  c.facing = Direction8(c.squareX, c.squareY, c.nextX, c.nextY);
  return true;
}

bool SetFighterFacing(int slot) {
  if (slot < 0 || slot >= kFighterSlots) return false;
  return SetCreatureFacing(FighterSlots[slot].creature);
}

bool CanCreatureAct(int creature) {
  if (!IsValidCreature(creature)) return false;
  const CreatureRecord& c = Creatures[creature];
  // Conditions that keep a creature from reacting while their duration is
  // positive: those that leave it no blow (rules/free_deeds.h), and these.
  static const uint32_t kDisabling[] = {kCondUnarmed, kCondConfused, kCondInsane, kCondSurprised,
                                        kCondGrappling, kCondBlinded, kCondCantSee};
  static const uint32_t kDisablingSightless[] = {kCondDeafened, kCondSilenced};
  const bool combatReflexes = c.feats[kFeatCombatReflexes] != 0;
  const bool senseKind5 = c.special[kSenseKindWord] == 5;
  for (int i = 0; i < kConditionSlots; ++i) {
    const ConditionEntry& e = c.conditions[i];
    if (e.id == 0 && e.duration == 0) break;
    if (e.duration <= 0) continue;
    if (e.id == 156 && !combatReflexes) return false;
    if ((DeedsLeftBy(e.id) & kDeedStrike) == 0) return false;
    for (uint32_t id : kDisabling)
      if (e.id == id) return false;
  }
  if (senseKind5) {
    for (int i = 0; i < kConditionSlots; ++i) {
      const ConditionEntry& e = c.conditions[i];
      if (e.id == 0 && e.duration == 0) break;
      if (e.duration <= 0) continue;
      for (uint32_t id : kDisablingSightless)
        if (e.id == id) return false;
    }
  }
  if (QueuedActionPending && IsCreatureActionQueued(creature)) return false;
  return true;
}

void SetMapCursorKind(int creature) {
  if ((creature >= 0 && creature < kPartySize) || WeaponMode == 0) {
    CursorShape = 8;
  } else if (WeaponMode == 2) {
    const bool scripted = IsValidCreature(creature) && Creatures[creature].tag[0] != '\0';
    CursorShape = scripted ? 9 : 1;
  }
}

void ResetSquareGridsState() {
  ResetWords(BlockedGrid);
  ResetWords(SightBlockGrid);
  OpenSquareCount = 0;
  ResetWords(MagicAreaGrid);
  ResetWords(ThreatGrid);
  ResetWords(ApproachGrid);
}
