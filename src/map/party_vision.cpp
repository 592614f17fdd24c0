#include "map/party_vision.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/reset_words.h"
#include "state/fighter_slots.h"
#include "state/turn_order.h"
#include "map/square_grids.h"
#include "rules/creature_record.h"

const uint8_t SightTemplate[kSightWindow][kSightWindow] = {
    {9, 9, 9, 9, 6, 6, 6, 6, 6, 9, 9, 9, 9},  // dx -6
    {9, 9, 9, 6, 5, 5, 5, 5, 5, 6, 9, 9, 9},  // dx -5
    {9, 9, 6, 5, 5, 4, 4, 4, 5, 5, 6, 9, 9},  // dx -4
    {9, 6, 5, 4, 4, 3, 3, 3, 4, 4, 5, 6, 9},  // dx -3
    {6, 5, 5, 4, 3, 2, 2, 2, 3, 4, 5, 5, 6},  // dx -2
    {6, 5, 4, 3, 2, 2, 1, 2, 2, 3, 4, 5, 6},  // dx -1
    {6, 5, 4, 3, 2, 1, 1, 1, 2, 3, 4, 5, 6},  // dx 0
    {6, 5, 4, 3, 2, 2, 1, 2, 2, 3, 4, 5, 6},  // dx 1
    {6, 5, 5, 4, 3, 2, 2, 2, 3, 4, 5, 5, 6},  // dx 2
    {9, 6, 5, 4, 4, 3, 3, 3, 4, 4, 5, 6, 9},  // dx 3
    {9, 9, 6, 5, 5, 4, 4, 4, 5, 5, 6, 9, 9},  // dx 4
    {9, 9, 9, 6, 5, 5, 5, 5, 5, 6, 9, 9, 9},  // dx 5
    {9, 9, 9, 9, 6, 6, 6, 6, 6, 9, 9, 9, 9},  // dx 6
};

SightOffset SightBlockerOrder[kSightBlockers];
uint8_t SightMask[kSightWindow][kSightWindow];
uint32_t MapMemory[kStoredMapCount][kMapSquares];
uint32_t FogGrid[kMapSquares];
uint8_t VisionRefreshFlag = 0;
uint8_t ExploringScriptFlag = 0;
uint8_t PartyAlertFlag = 0;
void (*SightUpdateObserver)(bool before) = nullptr;

namespace {

constexpr int kMaxShadow = 16;
constexpr int kFeatureWallCode = 43;  // remembered wall codes above this are features

struct ShadowSet {
  SightOffset blocker;
  int count;
  SightOffset hidden[kMaxShadow];
};

// The squares each sight-blocking square hides, for blockers north-east of
// the viewer (dx >= 0, dy <= 0; y - 1 is north). Other quadrants mirror these.
struct BaseShadow {
  int dx, dy;
  const char* hidden;  // "dx,dy" pairs
};
const BaseShadow kBaseShadows[kShadowBaseSets] = {
    {1, 0, "4,-3 5,-3 3,-2 4,-2 5,-2 6,-2 2,-1 3,-1 4,-1 5,-1 6,-1 2,0 3,0 4,0 5,0 6,0"},
    {1, -1, "3,-5 3,-4 4,-4 2,-3 3,-3 4,-3 5,-3 2,-2 3,-2"},
    {2, 0, "6,-2 4,-1 5,-1 6,-1 3,0 4,0 5,0 6,0"},
    {2, -1, "4,-3 5,-3 3,-2 4,-2 5,-2 6,-2 3,-1 4,-1 5,-1 6,-1"},
    {2, -2, "4,-4 3,-3"},
    {3, 0, "4,-1 5,-1 6,-1 4,0 5,0 6,0"},
    {3, -1, "4,-2 5,-2 6,-2"},
    {3, -2, "4,-3 5,-3"},
    {3, -3, "4,-4"},
    {4, 0, "5,0 6,0"},
    {4, -1, "5,-2 6,-2 5,-1 6,-1"},
    {4, -2, "5,-3 5,-2 6,-2"},
    {4, -3, "5,-3"},
    {5, 0, "6,0"},
    {5, -1, "6,-2 6,-1"},
    {5, -2, "6,-2"},
    {0, -1, "0,-6 1,-6 2,-6 0,-5 1,-5 2,-5 3,-5 0,-4 1,-4 2,-4 3,-4 0,-3 1,-3 2,-3 0,-2 1,-2"},
    {0, -2, "0,-6 1,-6 2,-6 0,-5 1,-5 0,-4 1,-4 0,-3"},
    {1, -2, "1,-6 2,-6 1,-5 2,-5 3,-5 1,-4 2,-4 3,-4 1,-3 2,-3"},
    {0, -3, "0,-6 1,-6 0,-5 1,-5 0,-4 1,-4"},
    {1, -3, "2,-6 2,-5 2,-4"},
    {2, -3, "3,-5 3,-4"},
    {0, -4, "0,-6 0,-5"},
    {1, -4, "1,-6 2,-6 1,-5 2,-5"},
    {2, -4, "2,-6 2,-5 3,-5"},
    {3, -4, "3,-5"},
    {0, -5, "0,-6"},
    {1, -5, "1,-6 2,-6"},
    {2, -5, "2,-6"},
};

// The four copies: 0 as given, 1 dx negated, 2 both negated, 3 dy negated.
enum Mirror { kAsGiven = 0, kMirrorX = 1, kMirrorBoth = 2, kMirrorY = 3 };
ShadowSet ShadowSets[4][kShadowBaseSets];

// For each window offset, up to two (mirror, base set) pairs; -1 none.
struct BlockerShadows {
  int8_t mirror[2];
  int8_t base[2];
};
BlockerShadows ShadowsOfOffset[kSightWindow][kSightWindow];
bool TablesBuilt = false;

int FindBase(int dx, int dy) {
  for (int i = 0; i < kShadowBaseSets; ++i)
    if (kBaseShadows[i].dx == dx && kBaseShadows[i].dy == dy) return i;
  return -1;
}

void AddShadow(BlockerShadows& b, int mirror, int base) {
  if (base < 0) return;
  const int k = b.mirror[0] < 0 ? 0 : 1;
  b.mirror[k] = static_cast<int8_t>(mirror);
  b.base[k] = static_cast<int8_t>(base);
}

void BuildBlockerShadows(int dx, int dy, BlockerShadows& b) {
  b.mirror[0] = b.mirror[1] = b.base[0] = b.base[1] = -1;
  const int ring = std::max(std::abs(dx), std::abs(dy));
  if (ring == 0 || ring >= 6) return;
  if (dx == 0 || dy == 0) {
    // A blocker on an axis shades both sides of it while it is near.
    const int d = ring;
    const bool both = d <= 3;
    if (dx == 0 && dy < 0) {
      AddShadow(b, kAsGiven, FindBase(0, -d));
      if (both) AddShadow(b, kMirrorX, FindBase(0, -d));
    } else if (dy == 0 && dx > 0) {
      AddShadow(b, kAsGiven, FindBase(d, 0));
      if (both) AddShadow(b, kMirrorY, FindBase(d, 0));
    } else if (dy == 0 && dx < 0) {
      AddShadow(b, kMirrorX, FindBase(d, 0));
      if (both) AddShadow(b, kMirrorBoth, FindBase(d, 0));
    } else {
      AddShadow(b, kMirrorBoth, FindBase(0, -d));
      if (both) AddShadow(b, kMirrorY, FindBase(0, -d));
    }
    return;
  }
  if (dx > 0 && dy < 0) AddShadow(b, kAsGiven, FindBase(dx, dy));
  if (dx < 0 && dy < 0) AddShadow(b, kMirrorX, FindBase(-dx, dy));
  if (dx < 0 && dy > 0) AddShadow(b, kMirrorBoth, FindBase(-dx, -dy));
  if (dx > 0 && dy > 0) AddShadow(b, kMirrorY, FindBase(dx, -dy));
}

void BuildBlockerOrder() {
  int n = 0;
  auto add = [&](int dx, int dy, int ring) {
    if (ring >= 5 && SightTemplate[dx + 6][dy + 6] == 9) return;
    SightBlockerOrder[n++] = {static_cast<int8_t>(dx), static_cast<int8_t>(dy)};
  };
  for (int r = 1; r <= 6; ++r) {
    for (int y = r - 1; y >= -r; --y) add(r, y, r);       // along x = r toward y = -r
    for (int x = r - 1; x >= -r; --x) add(x, -r, r);      // along y = -r toward x = -r
    for (int y = -r + 1; y <= r; ++y) add(-r, y, r);      // along x = -r toward y = r
    for (int x = -r + 1; x <= r; ++x) add(x, r, r);       // along y = r toward x = r
  }
}

bool ValidSlotCreature(int slot) {
  if (slot < 0 || slot >= kFighterSlots) return false;
  const int c = FighterSlots[slot].creature;
  return c >= 0 && c < kCreatureCount;
}

bool HasActiveCondition(const CreatureRecord& c, uint32_t id) {
  for (int i = 0; i < kConditionSlots; ++i)
    if (c.conditions[i].id == id && c.conditions[i].duration > 0) return true;
  return false;
}

int32_t RememberedKindOf(int32_t wall) {
  if (wall >= 82 && wall <= 85) return kRememberedDoor;
  if (wall == 74) return kRememberedWall74;
  if (wall == 73) return kRememberedWall73;
  if (wall > kFeatureWallCode) return kRememberedFeature;
  return kRememberedFloor;
}

bool HasLeader(const CreatureRecord& c) {
  if (c.leader < 0 || c.leader >= kCreatureCount) return false;
  return !(c.leader == 0 && c.formationX == 0 && c.formationY == 0);
}

bool IsStoneWall(int32_t wall) { return wall >= 46 && wall <= 55; }

void MarkRemembered(int slot, int i, int32_t kind) {
  FighterSlot& f = FighterSlots[slot];
  if (f.secondGrid[i] != 0) return;
  f.secondGrid[i] = kind;
  if (--f.unseenSquares <= 0) f.gridFlag = 1;
}

// A party viewer's newly seen square uncovers the map.
// How many times the party's sight explored or forgot a square.
uint32_t MemoryChanges = 0;

void ExploreSquare(int i) {
  uint32_t* memory = MapMemory[CurrentMapNumber];
  if (memory[i] != 0) return;
  memory[i] = 1;
  ++MemoryChanges;
  if (--FighterSlots[0].unseenSquares <= 0)
    for (int s = 0; s < kPartySize; ++s) FighterSlots[s].gridFlag = 1;
}

// Explored squares whose every neighbour on the map is unexplored or a stone
// wall are forgotten again while the party has not seen the whole map.
void ForgetIsolatedSquares() {
  uint32_t* memory = MapMemory[CurrentMapNumber];
  for (int x = 0; x < CurrentMap.width; ++x) {
    for (int y = 0; y < CurrentMap.height; ++y) {
      if (memory[SquareIndex(x, y)] == 0) continue;
      bool isolated = true;
      for (int dx = -1; dx <= 1 && isolated; ++dx) {
        for (int dy = -1; dy <= 1 && isolated; ++dy) {
          if (dx == 0 && dy == 0) continue;
          const int nx = x + dx, ny = y + dy;
          if (!CurrentMap.Inside(nx, ny)) continue;
          const int j = SquareIndex(nx, ny);
          if (memory[j] != 0 && !IsStoneWall(CurrentMap.layers[kLayerWalls][j])) isolated = false;
        }
      }
      if (isolated) {
        memory[SquareIndex(x, y)] = 0;
        ++MemoryChanges;
        ++FighterSlots[0].unseenSquares;
      }
    }
  }
}

// ---- Sight that cannot have changed --------------------------------------
//
// Computing a computer fighter's sight again changes nothing when it stands
// where it stood with the same footprint and radius, the sight-blocking
// squares, the map and the groups are as they were, and nobody else wrote
// its grids since: its seen squares come out the same, and every square it
// sees is already remembered by it and by its whole group (remembered kinds
// are only ever added, or wiped all at once). In combat only the sight
// update writes these grids, so there the fighters whose sight rests on the
// same footing as last time are passed over. Anything else (out of combat, a
// refresh, a rebuilt fighter table, a map switch) starts a new footing and
// every fighter is computed afresh.

// What a fighter slot's last computation rested on.
struct KeptSight {
  uint32_t footing;  // 0: none
  int32_t creature, x, y, w, h, radius;
};
KeptSight Kept[kFighterSlots];
uint32_t Footing = 1;

// The groups and blockers of the current footing.
struct GroupWords {
  int32_t creature, leader;
  bool led;
  bool operator==(const GroupWords&) const = default;
};
GroupWords KeptGroups[kFighterSlots];
int32_t KeptFighterCount = -1;
int32_t KeptMapNumber = -1, KeptMapWidth = -1, KeptMapHeight = -1;
uint32_t KeptBlocks[kMapSquares];
int32_t KeptWalls[kMapSquares];

int FootprintSide(int32_t side) { return side > 0 ? side : 1; }

KeptSight SightFooting(int slot, int radius) {
  const CreatureRecord& c = Creatures[FighterSlots[slot].creature];
  return {Footing, FighterSlots[slot].creature, c.squareX, c.squareY, FootprintSide(c.footprintWidth.current),
          FootprintSide(c.footprintHeight.current), radius};
}

// Whether the groups, the map and the sight-blocking squares are those of the
// current footing; when not, they become the new footing's.
bool FootingHolds() {
  const int count = std::clamp<int>(FighterCount, 0, kFighterSlots);
  bool holds = count == KeptFighterCount && CurrentMapNumber == KeptMapNumber && CurrentMap.width == KeptMapWidth &&
               CurrentMap.height == KeptMapHeight;
  for (int s = 0; s < count; ++s) {
    const int id = FighterSlots[s].creature;
    const bool valid = id >= 0 && id < kCreatureCount;
    const GroupWords now{id, valid ? Creatures[id].leader : -1, valid && HasLeader(Creatures[id])};
    if (!(now == KeptGroups[s])) {
      KeptGroups[s] = now;
      holds = false;
    }
  }
  if (std::memcmp(KeptBlocks, SightBlockGrid, sizeof KeptBlocks) != 0) {
    std::memcpy(KeptBlocks, SightBlockGrid, sizeof KeptBlocks);
    holds = false;
  }
  if (std::memcmp(KeptWalls, CurrentMap.layers[kLayerWalls], sizeof KeptWalls) != 0) {
    std::memcpy(KeptWalls, CurrentMap.layers[kLayerWalls], sizeof KeptWalls);
    holds = false;
  }
  KeptFighterCount = count;
  KeptMapNumber = CurrentMapNumber;
  KeptMapWidth = CurrentMap.width;
  KeptMapHeight = CurrentMap.height;
  return holds;
}

// Whether the slot's sight, computed now, would come out as it stands: its
// last computation rests on the current footing and on the same square,
// footprint and radius (and its own square is still seen and remembered, as
// that computation left it).
bool SameSight(const KeptSight& a, const KeptSight& b) {
  return a.footing == b.footing && a.creature == b.creature && a.x == b.x && a.y == b.y && a.w == b.w &&
         a.h == b.h && a.radius == b.radius;
}

// The viewer's own square is seen, as its last computation left it.
bool SeesOwnSquare(int slot, const KeptSight& sight) {
  if (sight.radius < 1 || !CurrentMap.Inside(sight.x, sight.y)) return true;
  return FighterSlots[slot].visible[SquareIndex(sight.x, sight.y)] == 1;
}

bool SightUnchanged(int slot, int radius) {
  const KeptSight now = SightFooting(slot, radius);
  if (!SameSight(now, Kept[slot]) || !SeesOwnSquare(slot, now)) return false;
  return !CurrentMap.Inside(now.x, now.y) || FighterSlots[slot].secondGrid[SquareIndex(now.x, now.y)] != 0;
}

// The party's sight, computed for its wanted slots in turn, comes out as it
// stands when it was last computed from the same footing and squares, that
// computation explored and forgot no square (so it found the party's words
// as it left them), and the explored squares, the party's count and its
// explored flags are still as it left them.
struct KeptPartySight {
  KeptSight slots[kPartySize];  // creature -1: not wanted
  bool changed = true;
  int32_t unseen = 0;
  int32_t flags[kPartySize] = {};
  uint32_t memory[kMapSquares] = {};
};
KeptPartySight KeptParty;

bool PartySightUnchanged(const KeptSight (&now)[kPartySize]) {
  const KeptPartySight& k = KeptParty;
  if (k.changed || k.unseen != FighterSlots[0].unseenSquares) return false;
  for (int s = 0; s < kPartySize; ++s) {
    if (k.flags[s] != FighterSlots[s].gridFlag || !SameSight(now[s], k.slots[s])) return false;
    if (now[s].creature >= 0 && !SeesOwnSquare(s, now[s])) return false;
  }
  return std::memcmp(k.memory, MapMemory[CurrentMapNumber], sizeof k.memory) == 0;
}

void KeepPartySight(const KeptSight (&now)[kPartySize]) {
  KeptPartySight& k = KeptParty;
  std::copy(std::begin(now), std::end(now), std::begin(k.slots));
  k.changed = MemoryChanges != 0;
  k.unseen = FighterSlots[0].unseenSquares;
  for (int s = 0; s < kPartySize; ++s) k.flags[s] = FighterSlots[s].gridFlag;
  std::memcpy(k.memory, MapMemory[CurrentMapNumber], sizeof k.memory);
}

}  // namespace

void InitSightRayTables() {
  for (int b = 0; b < kShadowBaseSets; ++b) {
    ShadowSet base{};
    base.blocker = {static_cast<int8_t>(kBaseShadows[b].dx), static_cast<int8_t>(kBaseShadows[b].dy)};
    const char* p = kBaseShadows[b].hidden;
    while (*p && base.count < kMaxShadow) {
      char* end = nullptr;
      const long hx = std::strtol(p, &end, 10);
      const long hy = std::strtol(end + 1, &end, 10);
      base.hidden[base.count++] = {static_cast<int8_t>(hx), static_cast<int8_t>(hy)};
      p = end;
      while (*p == ' ') ++p;
    }
    for (int m = 0; m < 4; ++m) {
      const int sx = (m == kMirrorX || m == kMirrorBoth) ? -1 : 1;
      const int sy = (m == kMirrorY || m == kMirrorBoth) ? -1 : 1;
      ShadowSet& s = ShadowSets[m][b];
      s.count = base.count;
      s.blocker = {static_cast<int8_t>(sx * base.blocker.dx), static_cast<int8_t>(sy * base.blocker.dy)};
      for (int k = 0; k < base.count; ++k)
        s.hidden[k] = {static_cast<int8_t>(sx * base.hidden[k].dx), static_cast<int8_t>(sy * base.hidden[k].dy)};
    }
  }
  for (int dx = -6; dx <= 6; ++dx)
    for (int dy = -6; dy <= 6; ++dy) BuildBlockerShadows(dx, dy, ShadowsOfOffset[dx + 6][dy + 6]);
  BuildBlockerOrder();
  TablesBuilt = true;
}

void MarkSightTemplate(int slot, int radius) {
  if (!TablesBuilt) InitSightRayTables();
  if (radius > 6 || radius < 0) radius = 6;
  for (int a = 0; a < kSightWindow; ++a)
    for (int b = 0; b < kSightWindow; ++b) SightMask[a][b] = SightTemplate[a][b] <= radius ? 1 : 5;
  if (!ValidSlotCreature(slot)) return;
  const CreatureRecord& c = Creatures[FighterSlots[slot].creature];
  for (const SightOffset& o : SightBlockerOrder) {
    if (SightMask[o.dx + 6][o.dy + 6] != 1) continue;
    const int x = c.squareX + o.dx, y = c.squareY + o.dy;
    if (x < 0 || y < 0 || x >= kMapSide || y >= kMapSide) continue;
    if (SightBlockGrid[SquareIndex(x, y)] != 1) continue;
    SightMask[o.dx + 6][o.dy + 6] = 3;
    const BlockerShadows& shadows = ShadowsOfOffset[o.dx + 6][o.dy + 6];
    for (int k = 0; k < 2; ++k) {
      if (shadows.mirror[k] < 0) continue;
      const ShadowSet& set = ShadowSets[shadows.mirror[k]][shadows.base[k]];
      for (int h = 0; h < set.count; ++h) SightMask[set.hidden[h].dx + 6][set.hidden[h].dy + 6] = 2;
    }
  }
}

void ComputeFighterSight(int slot, int radius) {
  if (!ValidSlotCreature(slot)) return;
  // Kept again only by the sight update that asked.
  if (slot < kPartySize)
    KeptParty.changed = true;
  else
    Kept[slot].footing = 0;
  FighterSlot& f = FighterSlots[slot];
  for (int i = 0; i < kMapSquares; ++i) f.visible[i] = 2;
  CreatureRecord& c = Creatures[f.creature];
  const int homeX = c.squareX, homeY = c.squareY;
  const int w = c.footprintWidth.current > 0 ? c.footprintWidth.current : 1;
  const int h = c.footprintHeight.current > 0 ? c.footprintHeight.current : 1;
  const bool party = slot < kPartySize;
  // Followers of the same leader share what one of them sees. Leader 0 with
  // no formation offset is no leader at all (a fresh record), and the party's
  // slots keep the party's own count, never a group's.
  static int16_t group[kFighterSlots];
  int groupCount = 0;
  if (!party && HasLeader(c)) {
    for (int s = kPartySize; s < FighterCount && s < kFighterSlots; ++s) {
      if (s == slot) continue;
      const int other = FighterSlots[s].creature;
      if (other < 0 || other >= kCreatureCount || Creatures[other].leader != c.leader) continue;
      if (HasLeader(Creatures[other])) group[groupCount++] = static_cast<int16_t>(s);
    }
  }
  for (int fx = homeX; fx < homeX + w; ++fx) {
    for (int fy = homeY; fy < homeY + h; ++fy) {
      // The creature stands on each of its squares in turn.
      c.squareX = fx;
      c.squareY = fy;
      MarkSightTemplate(slot, radius);
      for (int dx = -6; dx <= 6; ++dx) {
        for (int dy = -6; dy <= 6; ++dy) {
          const uint8_t m = SightMask[dx + 6][dy + 6];
          if (m != 1 && m != 3) continue;
          const int x = fx + dx, y = fy + dy;
          if (!CurrentMap.Inside(x, y)) continue;
          const int i = SquareIndex(x, y);
          if (f.visible[i] != 2) continue;
          f.visible[i] = 1;
          if (party) {
            ExploreSquare(i);
            continue;
          }
          const int32_t kind = RememberedKindOf(CurrentMap.layers[kLayerWalls][i]);
          MarkRemembered(slot, i, kind);
          for (int k = 0; k < groupCount; ++k) MarkRemembered(group[k], i, kind);
        }
      }
    }
  }
  c.squareX = homeX;
  c.squareY = homeY;
  if (party && FighterSlots[0].gridFlag == 0) ForgetIsolatedSquares();
}

int SightRadiusOfSlot(int slot) {
  if (!ValidSlotCreature(slot)) return 0;
  const CreatureRecord& c = Creatures[FighterSlots[slot].creature];
  int radius = c.sight / 5;
  // Unlit maps: without a light, 30-foot sight reaches only 4 squares.
  if (slot < kPartySize && CurrentMap.lit == 0 && !HasActiveCondition(c, kCondIlluminating) && radius == 6) radius = 4;
  return radius;
}

namespace {

bool WantedNow(int slot, bool refresh) {
  if (!ValidSlotCreature(slot)) return false;
  return refresh ? Creatures[FighterSlots[slot].creature].present == 1 : FighterSlots[slot].alert == 1;
}

int RenewSight() {
  const bool refresh = VisionRefreshFlag != 0;
  VisionRefreshFlag = 0;
  // The fighters whose sight cannot have changed are passed over in combat;
  // anything else starts a new footing.
  const bool keep = FootingHolds() && InCombat == 1 && !refresh;
  if (!keep) ++Footing;
  const int count = std::clamp<int>(FighterCount, 0, kFighterSlots);

  // The party's slots first, as one.
  KeptSight party[kPartySize];
  bool partyUpdated = false;
  for (int s = 0; s < kPartySize; ++s) {
    party[s] = {Footing, -1, 0, 0, 0, 0, 0};
    if (s < count && WantedNow(s, refresh)) {
      party[s] = SightFooting(s, SightRadiusOfSlot(s));
      partyUpdated = true;
    }
  }
  if (!(keep && PartySightUnchanged(party))) {
    MemoryChanges = 0;
    for (int s = 0; s < kPartySize; ++s)
      if (party[s].creature >= 0) ComputeFighterSight(s, party[s].radius);
    KeepPartySight(party);
  }

  for (int s = kPartySize; s < count; ++s) {
    if (!WantedNow(s, refresh)) continue;
    const int radius = SightRadiusOfSlot(s);
    if (keep && SightUnchanged(s, radius)) continue;
    ComputeFighterSight(s, radius);
    Kept[s] = SightFooting(s, radius);
  }
  if (refresh || partyUpdated) BuildMapVisibility();
  return 1;
}

}  // namespace

int UpdatePartyVision() {
  if (SightUpdateObserver == nullptr) return RenewSight();
  SightUpdateObserver(true);
  const int result = RenewSight();
  SightUpdateObserver(false);
  return result;
}

void CountFighterSquares(int slot) {
  if (slot < 0 || slot >= kFighterSlots) return;
  const int w = CurrentMap.width, h = CurrentMap.height;
  if (slot >= kPartySize) {
    FighterSlot& f = FighterSlots[slot];
    if (f.gridFlag != 0) return;
    int known = 0;
    for (int x = 0; x < w; ++x)
      for (int y = 0; y < h; ++y) known += f.secondGrid[SquareIndex(x, y)] != 0;
    f.unseenSquares = w * h - known;
    return;
  }
  const uint32_t* memory = MapMemory[CurrentMapNumber];
  int known = 0;
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y) known += memory[SquareIndex(x, y)] == 1;
  FighterSlots[0].unseenSquares = w * h - known;
  for (int s = 0; s < kPartySize; ++s) FighterSlots[s].gridFlag = FighterSlots[0].unseenSquares <= 0 ? 1 : 0;
}

namespace {

// The fog piece of every pattern of explored neighbours, by FogBits.
struct FogCodes {
  uint8_t code[256];
  FogCodes() {
    for (int b = 0; b < 256; ++b)
      code[b] = static_cast<uint8_t>(FogEdgeCode(b & 1, b & 2, b & 4, b & 8, b & 16, b & 32, b & 64, b & 128));
  }
};

inline int FogBits(bool n, bool e, bool s, bool w, bool ne, bool se, bool sw, bool nw) {
  return n | e << 1 | s << 2 | w << 3 | ne << 4 | se << 5 | sw << 6 | nw << 7;
}

}  // namespace

namespace {

// What the fog was last built from, and the fog built: it comes out the same
// while all of it is as it was. Of the magic areas only their darkness
// counts, one bit a square.
struct KeptFog {
  bool valid = false;
  int32_t mapNumber = -1, width = 0, height = 0;
  bool combat = false;
  uint32_t memory[kMapSquares];
  int32_t walls[kMapSquares];
  uint64_t darkness[(kMapSquares + 63) / 64];
  uint32_t fog[kMapSquares];
};
KeptFog FogKept;

// Which squares lie under magical darkness, one bit each.
void FindDarkness(uint64_t (&bits)[(kMapSquares + 63) / 64]) {
  for (int word = 0; word < (kMapSquares + 63) / 64; ++word) {
    uint64_t w = 0;
    for (int i = word * 64, b = 0; i < std::min(kMapSquares, word * 64 + 64); ++i, ++b)
      w |= static_cast<uint64_t>(MagicAreaGrid[i].kind == kEffectDarkness) << b;
    bits[word] = w;
  }
}

bool FogUnchanged() {
  const KeptFog& k = FogKept;
  const bool combat = InCombat == 1;
  if (!(k.valid && k.mapNumber == CurrentMapNumber && k.width == CurrentMap.width &&
        k.height == CurrentMap.height && k.combat == combat &&
        std::memcmp(k.memory, MapMemory[CurrentMapNumber], sizeof k.memory) == 0 &&
        std::memcmp(k.walls, CurrentMap.layers[kLayerWalls], sizeof k.walls) == 0 &&
        std::memcmp(k.fog, FogGrid, sizeof k.fog) == 0))
    return false;
  if (!combat) return true;
  uint64_t darkness[(kMapSquares + 63) / 64];
  FindDarkness(darkness);
  return std::memcmp(k.darkness, darkness, sizeof darkness) == 0;
}

void KeepFog() {
  KeptFog& k = FogKept;
  k.valid = true;
  k.mapNumber = CurrentMapNumber;
  k.width = CurrentMap.width;
  k.height = CurrentMap.height;
  k.combat = InCombat == 1;
  std::memcpy(k.memory, MapMemory[CurrentMapNumber], sizeof k.memory);
  std::memcpy(k.walls, CurrentMap.layers[kLayerWalls], sizeof k.walls);
  FindDarkness(k.darkness);
  std::memcpy(k.fog, FogGrid, sizeof k.fog);
}

}  // namespace

void BuildMapVisibility() {
  if (FogUnchanged()) return;
  static const FogCodes fog;
  const uint32_t* memory = MapMemory[CurrentMapNumber];
  const bool combat = InCombat == 1;
  const int width = CurrentMap.width, height = CurrentMap.height;
  // Each square as the fog edges see it, on a grid with a border one square
  // wide: 0 unexplored (or darkness in combat), 1 explored (off the map
  // counts as explored), 3 an explored stone wall.
  constexpr int kSide = kMapSide + 2;
  static uint8_t seen[kSide * kSide];
  for (int x = -1; x <= kMapSide; ++x) {
    uint8_t* row = seen + (x + 1) * kSide + 1;
    row[-1] = row[kMapSide] = 1;
    if (x < 0 || x >= kMapSide || x >= width) {
      std::memset(row, 1, kMapSide);
      continue;
    }
    const int first = SquareIndex(x, 0);
    for (int y = 0; y < kMapSide; ++y) {
      const int i = first + y;
      const bool explored = memory[i] != 0 && !(combat && MagicAreaGrid[i].kind == kEffectDarkness);
      const uint8_t kind = explored ? 1 + 2 * IsStoneWall(CurrentMap.layers[kLayerWalls][i]) : 0;
      row[y] = y < height ? kind : 1;
    }
  }
  for (int x = 0; x < kMapSide; ++x) {
    for (int y = 0; y < kMapSide; ++y) {
      const int i = SquareIndex(x, y);
      const int p = (x + 1) * kSide + y + 1;
      if (!CurrentMap.Inside(x, y) || seen[p] == 0) {
        FogGrid[i] = 1;
        continue;
      }
      if (seen[p] == 3) continue;  // a stone wall is drawn by its own picture
      auto explored = [&](int q) { return seen[q] != 0; };
      // A corner hidden behind two explored stone walls counts as explored.
      auto corner = [&](int dx, int dy) {
        return explored(p + dx * kSide + dy) || (seen[p + dx * kSide] == 3 && seen[p + dy] == 3);
      };
      FogGrid[i] = fog.code[FogBits(explored(p - 1), explored(p + kSide), explored(p + 1), explored(p - kSide),
                                    corner(1, -1), corner(1, 1), corner(-1, 1), corner(-1, -1))];
    }
  }
  KeepFog();
}

uint32_t FogEdgeCode(bool n, bool e, bool s, bool w, bool ne, bool se, bool sw, bool nw) {
  const int sides = n + e + s + w;
  if (sides == 4) {
    const int corners = ne + se + sw + nw;
    switch (corners) {
      case 4:
        return 0;
      case 3:
        return !nw ? 24 : !ne ? 25 : !se ? 26 : 27;
      case 2:
        if (!sw && !se) return 20;
        if (!nw && !sw) return 21;
        if (!nw && !ne) return 22;
        if (!ne && !se) return 23;
        return ne ? 46 : 47;  // two opposite corners left
      case 1:
        return ne ? 16 : se ? 17 : sw ? 18 : 19;
      default:
        return 11;
    }
  }
  // One side missing: its piece, with the two far corners each present or missing.
  if (sides == 3) {
    if (!n) return sw && se ? 12 : !se && !sw ? 30 : !sw ? 28 : 29;
    if (!e) return nw && sw ? 13 : !nw && !sw ? 33 : !nw ? 31 : 32;
    if (!s) return nw && ne ? 14 : !nw && !ne ? 36 : !nw ? 34 : 35;
    return ne && se ? 15 : !ne && !se ? 39 : !ne ? 37 : 38;
  }
  if (sides == 2) {
    if (!n && !e) return 40;
    if (!e && !s) return 41;
    if (!s && !w) return 42;
    if (!w && !n) return 43;
    return !n ? 44 : 45;  // two opposite sides missing
  }
  return 11;
}

void ForgetKeptSight() {
  ++Footing;
  KeptParty.changed = true;
  FogKept.valid = false;
}

void ResetPartyVisionState() {
  ForgetKeptSight();
  ResetWords(MapMemory);
  ResetWords(FogGrid);
  VisionRefreshFlag = 0;
  ExploringScriptFlag = 0;
  PartyAlertFlag = 0;
}
