// Rooms and doorways: a doorway is an open square with four walled corners
// (a junction of passages); a small area that one doorway closes off is a room.
#include <cstring>

#include "engine/frame.h"
#include "engine/message_log.h"
#include "engine/reset_words.h"
#include "map/square_grids.h"
#include "platform/system.h"

int32_t RegionGrid[kMapSquares];
int32_t RegionShares[kMaxDoorways + 1];
int32_t RegionCount = 0;

namespace {

// A room may hold at most this share of the open squares, per mille.
constexpr int32_t kRoomShareLimit = 251;

struct Doorway {
  int x, y, type;
};
Doorway Doorways[kMaxDoorways];

bool Blocked(int x, int y) { return BlockedGrid[SquareIndex(x, y)] == kSquareBlocked; }

// The four sides in their trial order: y - 1, x + 1, y + 1, x - 1.
constexpr int kSideDx[4] = {0, 1, 0, -1};
constexpr int kSideDy[4] = {-1, 0, 1, 0};

int32_t ShareOf(int count) {
  if (OpenSquareCount == 0) return 0;
  return static_cast<int32_t>(static_cast<int64_t>(count) * 1000 / OpenSquareCount);
}

void DivisionByZeroTrace(int number) {
  if (DebugMode != 1) return;
  platform::Beep();
  LogMessage("DEBUG - division by zero #%i\r", number);
}

// Spreads id from the seed over the squares holding less than id, through
// open squares other than the doorway. A square holding an older room r
// becomes r + id (a merge). Returns whether any merge happened.
bool SpreadRegion(int32_t id, int seedX, int seedY, int doorX, int doorY) {
  static int queue[kMapSquares];
  bool merged = false;
  int head = 0, tail = 0;
  RegionGrid[SquareIndex(seedX, seedY)] = id;
  queue[tail++] = SquareIndex(seedX, seedY);
  while (head < tail) {
    const int i = queue[head++];
    const int x = i / kMapSide, y = i % kMapSide;
    for (int k = 0; k < 4; ++k) {
      const int nx = x + kSideDx[k], ny = y + kSideDy[k];
      if (nx < 0 || ny < 0 || nx >= kMapSide || ny >= kMapSide) continue;
      if (nx == doorX && ny == doorY) continue;
      const int j = SquareIndex(nx, ny);
      if (RegionGrid[j] >= id || BlockedGrid[j] == kSquareBlocked) continue;
      if (RegionGrid[j] == -1) {
        RegionGrid[j] = id;
      } else {
        RegionGrid[j] += id;
        merged = true;
      }
      queue[tail++] = j;
    }
  }
  return merged;
}

void UndoRegion(int32_t id) {
  for (int i = 0; i < kMapSquares; ++i) {
    if (RegionGrid[i] > id)
      RegionGrid[i] -= id;
    else if (RegionGrid[i] == id)
      RegionGrid[i] = -1;
  }
}

}  // namespace

int32_t RegionShare(int32_t id) {
  if (OpenSquareCount == 0) {
    DivisionByZeroTrace(26);
    return 0;
  }
  int count = 0;
  for (int i = 0; i < kMapSquares; ++i)
    if (RegionGrid[i] >= id) ++count;
  return ShareOf(count);
}

void ComputeRegionShares() {
  std::memset(RegionShares, 0, sizeof RegionShares);
  if (OpenSquareCount == 0) {
    DivisionByZeroTrace(25);
    return;
  }
  // The table holds each room's own share.
  for (int id = 1; id <= RegionCount && id <= kMaxDoorways; ++id) {
    int count = 0;
    for (int i = 0; i < kMapSquares; ++i)
      if (RegionGrid[i] == id) ++count;
    RegionShares[id] = ShareOf(count);
  }
}

void RenumberRegions() {
  int32_t id = 1;
  while (id <= RegionCount) {
    bool used = false;
    for (int i = 0; i < kMapSquares && !used; ++i) used = RegionGrid[i] == id;
    if (used) {
      ++id;
      continue;
    }
    for (int i = 0; i < kMapSquares; ++i)
      if (RegionGrid[i] > id) --RegionGrid[i];
    --RegionCount;
  }
}

void BuildRegionGrid() {
  for (int i = 0; i < kMapSquares; ++i) RegionGrid[i] = -1;
  RegionCount = 0;

  int doorways = 0;
  for (int x = 1; x <= 58 && doorways < kMaxDoorways; ++x) {
    for (int y = 1; y <= 58 && doorways < kMaxDoorways; ++y) {
      if (Blocked(x, y)) continue;
      if (!Blocked(x - 1, y - 1) || !Blocked(x + 1, y - 1) || !Blocked(x - 1, y + 1) || !Blocked(x + 1, y + 1))
        continue;
      const bool n = Blocked(x, y - 1), s = Blocked(x, y + 1), w = Blocked(x - 1, y), e = Blocked(x + 1, y);
      if (n + s + w + e > 1) continue;
      const int type = n ? 2 : s ? 3 : w ? 4 : e ? 5 : 1;
      Doorways[doorways++] = {x, y, type};
    }
  }

  for (int d = 0; d < doorways; ++d) {
    const Doorway& door = Doorways[d];
    const int32_t id = RegionCount + 1;
    // The first side without a wall or a room: from y - 1 (x + 1 for type 2) in order.
    int seed = -1;
    const int first = door.type == 2 ? 1 : 0;
    for (int k = 0; k < 4; ++k) {
      const int side = (first + k) % 4;
      const int sx = door.x + kSideDx[side], sy = door.y + kSideDy[side];
      if (Blocked(sx, sy) || RegionGrid[SquareIndex(sx, sy)] != -1) continue;
      seed = side;
      break;
    }
    if (seed < 0) continue;
    const bool merged = SpreadRegion(id, door.x + kSideDx[seed], door.y + kSideDy[seed], door.x, door.y);
    // The doorway separates nothing when the spread came round to every other open side.
    bool reachedAll = true;
    for (int side = 0; side < 4; ++side) {
      if (side == seed) continue;
      const int sx = door.x + kSideDx[side], sy = door.y + kSideDy[side];
      if (Blocked(sx, sy)) continue;
      if (RegionGrid[SquareIndex(sx, sy)] < id) reachedAll = false;
    }
    if (reachedAll || RegionShare(id) >= kRoomShareLimit) {
      UndoRegion(id);
      continue;
    }
    ++RegionCount;
    if (merged) {
      for (int i = 0; i < kMapSquares; ++i)
        if (RegionGrid[i] > id) RegionGrid[i] = id;
      RenumberRegions();
    }
  }

  ComputeRegionShares();
  for (int d = 0; d < doorways; ++d) RegionGrid[SquareIndex(Doorways[d].x, Doorways[d].y)] = kDoorwayRegion;
}

void ResetRegionsState() {
  ResetWords(RegionGrid);
  ResetWords(RegionShares);
  RegionCount = 0;
}
