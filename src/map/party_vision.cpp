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
void ExploreSquare(int i) {
  uint32_t* memory = MapMemory[CurrentMapNumber];
  if (memory[i] != 0) return;
  memory[i] = 1;
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
        ++FighterSlots[0].unseenSquares;
      }
    }
  }
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
  FighterSlot& f = FighterSlots[slot];
  for (int i = 0; i < kMapSquares; ++i) f.visible[i] = 2;
  CreatureRecord& c = Creatures[f.creature];
  const int homeX = c.squareX, homeY = c.squareY;
  const int w = c.footprintWidth.current > 0 ? c.footprintWidth.current : 1;
  const int h = c.footprintHeight.current > 0 ? c.footprintHeight.current : 1;
  const bool party = slot < kPartySize;
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
          // Followers of the same leader share what one of them sees. Leader 0
          // with no formation offset is no leader at all (a fresh record), and
          // the party's slots keep the party's own count, never a group's.
          if (!HasLeader(c)) continue;
          for (int s = kPartySize; s < FighterCount && s < kFighterSlots; ++s) {
            if (s == slot) continue;
            const int other = FighterSlots[s].creature;
            if (other < 0 || other >= kCreatureCount || Creatures[other].leader != c.leader) continue;
            if (!HasLeader(Creatures[other])) continue;
            MarkRemembered(s, i, kind);
          }
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

int RenewSight() {
  const bool refresh = VisionRefreshFlag != 0;
  VisionRefreshFlag = 0;
  bool partyUpdated = false;
  for (int s = 0; s < FighterCount && s < kFighterSlots; ++s) {
    if (!ValidSlotCreature(s)) continue;
    const bool wanted = refresh ? Creatures[FighterSlots[s].creature].present == 1 : FighterSlots[s].alert == 1;
    if (!wanted) continue;
    ComputeFighterSight(s, SightRadiusOfSlot(s));
    if (s < kPartySize) partyUpdated = true;
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

void BuildMapVisibility() {
  const uint32_t* memory = MapMemory[CurrentMapNumber];
  const bool combat = InCombat == 1;
  auto dark = [&](int i) { return combat && MagicAreaGrid[i].kind == kEffectDarkness; };
  // Explored as the fog edges see it: off the map counts as explored, darkness in combat does not.
  auto explored = [&](int x, int y) {
    if (!CurrentMap.Inside(x, y)) return true;
    const int i = SquareIndex(x, y);
    return memory[i] != 0 && !dark(i);
  };
  auto exploredWall = [&](int x, int y) {
    return CurrentMap.Inside(x, y) && explored(x, y) && IsStoneWall(CurrentMap.At(kLayerWalls, x, y));
  };
  for (int x = 0; x < kMapSide; ++x) {
    for (int y = 0; y < kMapSide; ++y) {
      const int i = SquareIndex(x, y);
      if (!CurrentMap.Inside(x, y) || memory[i] == 0 || dark(i)) {
        FogGrid[i] = 1;
        continue;
      }
      if (IsStoneWall(CurrentMap.layers[kLayerWalls][i])) continue;
      const bool n = explored(x, y - 1), s = explored(x, y + 1), w = explored(x - 1, y), e = explored(x + 1, y);
      // A corner hidden behind two explored stone walls counts as explored.
      auto corner = [&](int dx, int dy) {
        return explored(x + dx, y + dy) || (exploredWall(x + dx, y) && exploredWall(x, y + dy));
      };
      const bool nw = corner(-1, -1), ne = corner(1, -1), se = corner(1, 1), sw = corner(-1, 1);
      FogGrid[i] = FogEdgeCode(n, e, s, w, ne, se, sw, nw);
    }
  }
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

void ResetPartyVisionState() {
  ResetWords(MapMemory);
  ResetWords(FogGrid);
  VisionRefreshFlag = 0;
  ExploringScriptFlag = 0;
  PartyAlertFlag = 0;
}
