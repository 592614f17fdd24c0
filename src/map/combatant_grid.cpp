#include "map/combatant_grid.h"

#include <cstring>

#include "rules/creature_record.h"
#include "map/square_grids.h"
#include "state/turn_order.h"

uint8_t CombatantCountGrid[kMapSquares];

namespace {

// Up to three covering entries are kept per square, lowest turn index first;
// a square covered by more (creatures heaped on one square) is answered by
// walking the turn order.
constexpr int kKept = 3;

struct SquareOccupants {
  int16_t entry[kKept];
};
SquareOccupants Occupants[kMapSquares];

// The footprint each turn-order entry was stamped with (creature -1: none).
struct Stamp {
  int32_t creature;
  int32_t x, y, w, h;
};
Stamp Stamps[kTurnOrderEntries];
int StampedEntries = 0;
bool Initialised = false;
uint32_t Changes = 0;

int TurnCount() { return TurnEntryCount < kTurnOrderEntries ? TurnEntryCount : kTurnOrderEntries; }

// The one creature followed while the rest stand still, and its entries.
int FollowDepth = 0;
int Followed = -1;
int16_t FollowedEntries[kTurnOrderEntries];
int FollowedCount = 0;

Stamp CurrentStamp(int entry) {
  const int id = entry < TurnCount() ? TurnOrder[entry].creature : -1;
  if (!IsValidCreature(id)) return {-1, 0, 0, 0, 0};
  const CreatureRecord& c = Creatures[id];
  const int w = c.footprintWidth.current > 0 ? c.footprintWidth.current : 1;
  const int h = c.footprintHeight.current > 0 ? c.footprintHeight.current : 1;
  return {id, c.squareX, c.squareY, w, h};
}

bool SameStamp(const Stamp& a, const Stamp& b) {
  return a.creature == b.creature && a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

void AddToSquare(int sq, int entry) {
  SquareOccupants& s = Occupants[sq];
  uint8_t& count = CombatantCountGrid[sq];
  int n = count < kKept ? count : kKept;
  ++count;
  // Insert in turn order; an entry past the kept ones is left to the walk.
  int at = n;
  while (at > 0 && s.entry[at - 1] > entry) --at;
  if (at >= kKept) return;
  if (n == kKept) --n;
  for (int k = n; k > at; --k) s.entry[k] = s.entry[k - 1];
  s.entry[at] = static_cast<int16_t>(entry);
}

// The kept entries of a square after one left it, rebuilt from the turn order
// when the square was fuller than the kept list.
void RemoveFromSquare(int sq, int entry, int x, int y) {
  SquareOccupants& s = Occupants[sq];
  const int before = CombatantCountGrid[sq];
  --CombatantCountGrid[sq];
  if (before > kKept) {
    int n = 0;
    for (int i = 0; i < StampedEntries && n < kKept; ++i) {
      if (i == entry) continue;
      const Stamp& t = Stamps[i];
      if (t.creature >= 0 && x >= t.x && x < t.x + t.w && y >= t.y && y < t.y + t.h)
        s.entry[n++] = static_cast<int16_t>(i);
    }
    return;
  }
  int k = 0;
  while (k < before && s.entry[k] != entry) ++k;
  for (; k + 1 < before; ++k) s.entry[k] = s.entry[k + 1];
}

template <typename Fn>
void ForFootprint(const Stamp& t, Fn fn) {
  if (t.creature < 0) return;
  for (int x = t.x < 0 ? 0 : t.x; x < t.x + t.w && x < kMapSide; ++x)
    for (int y = t.y < 0 ? 0 : t.y; y < t.y + t.h && y < kMapSide; ++y) fn(x, y);
}

}  // namespace

void SyncCombatantGrid() {
  if (!Initialised) ResetCombatantGridState();
  const int count = TurnCount();
  // Following one creature: only its entries can have changed.
  if (FollowDepth > 0 && count == StampedEntries && Followed >= 0) {
    for (int k = 0; k < FollowedCount; ++k) {
      const int i = FollowedEntries[k];
      const Stamp now = CurrentStamp(i);
      if (SameStamp(now, Stamps[i])) continue;
      ++Changes;
      const Stamp old = Stamps[i];
      Stamps[i] = {-1, 0, 0, 0, 0};
      ForFootprint(old, [i](int x, int y) { RemoveFromSquare(SquareIndex(x, y), i, x, y); });
      Stamps[i] = now;
      ForFootprint(now, [i](int x, int y) { AddToSquare(SquareIndex(x, y), i); });
    }
    return;
  }
  const int upTo = count > StampedEntries ? count : StampedEntries;
  // Leaving first, so that the kept lists are rebuilt from the stamps that stay.
  for (int i = 0; i < upTo; ++i) {
    const Stamp now = CurrentStamp(i);
    if (SameStamp(now, Stamps[i])) continue;
    ++Changes;
    const Stamp old = Stamps[i];
    Stamps[i] = {-1, 0, 0, 0, 0};
    ForFootprint(old, [i](int x, int y) { RemoveFromSquare(SquareIndex(x, y), i, x, y); });
  }
  for (int i = 0; i < upTo; ++i) {
    const Stamp now = CurrentStamp(i);
    if (SameStamp(now, Stamps[i])) continue;
    Stamps[i] = now;
    ForFootprint(now, [i](int x, int y) { AddToSquare(SquareIndex(x, y), i); });
  }
  StampedEntries = count;
}

void FollowOnlyCreature(int creature) {
  if (FollowDepth++ > 0) {
    if (creature != Followed) Followed = -1;  // a second creature: follow everyone
    return;
  }
  SyncCombatantGrid();
  Followed = creature;
  FollowedCount = 0;
  for (int i = 0; i < StampedEntries; ++i)
    if (TurnOrder[i].creature == creature) FollowedEntries[FollowedCount++] = static_cast<int16_t>(i);
}

int CombatantCountOn(int x, int y) {
  SyncCombatantGrid();
  return CombatantCountOnSynced(x, y);
}

int OtherCombatantOn(int x, int y, int except1, int except2) {
  SyncCombatantGrid();
  return OtherCombatantOnSynced(x, y, except1, except2);
}

uint32_t CombatantGridChanges() { return Changes; }

void FollowAllCreatures() {
  if (FollowDepth > 0 && --FollowDepth == 0) Followed = -1;
}

int OtherCombatantOnCovered(int x, int y, int except1, int except2) {
  const SquareOccupants& s = Occupants[SquareIndex(x, y)];
  const int count = CombatantCountGrid[SquareIndex(x, y)];
  const int kept = count < kKept ? count : kKept;
  for (int k = 0; k < kept; ++k) {
    const int id = Stamps[s.entry[k]].creature;
    if (id != except1 && id != except2) return id;
  }
  if (count <= kKept) return -1;
  // More entries than kept: the rest are found in turn order.
  for (int i = s.entry[kKept - 1] + 1; i < StampedEntries; ++i) {
    const Stamp& t = Stamps[i];
    if (t.creature < 0 || t.creature == except1 || t.creature == except2) continue;
    if (x >= t.x && x < t.x + t.w && y >= t.y && y < t.y + t.h) return t.creature;
  }
  return -1;
}

void ResetCombatantGridState() {
  std::memset(Occupants, 0, sizeof Occupants);
  std::memset(CombatantCountGrid, 0, sizeof CombatantCountGrid);
  for (Stamp& s : Stamps) s = {-1, 0, 0, 0, 0};
  StampedEntries = 0;
  Initialised = true;
  ++Changes;
  FollowDepth = 0;
  Followed = -1;
}
