#include "map/open_list.h"

#include <bit>
#include <climits>
#include <cstring>

namespace openlist {

// The list stamps with a guard row of work squares before and after them (x
// -1 and 60), so that the eight neighbours of any square of the grid have a
// stamp to read. The guards and the spare square of each row (y 60) hold
// kGuardStamp, above every search's closed stamp: a combat search takes them
// for closed squares and so never steps off the grid.
int32_t PathStampStore[kStampGuard + kPathWorkSquares + kStampGuard];
SquareWork Work[kPathWorkSquares];
int16_t HeapPos[kPathWorkSquares];
alignas(64) HeapEntry Heap[2 * kMaxItems + 4];

namespace {
constexpr int32_t kGuardStamp = INT32_MAX;
bool GuardsStamped = false;

}  // namespace

void NewStamps() {
  if (PathOnClosed > kPathStampLimit) {
    std::memset(PathStamp, 0, sizeof PathStamp);
    PathOnClosed = 10;
    GuardsStamped = false;
  }
  if (!GuardsStamped) {
    for (int k = 0; k < kStampGuard; ++k)
      PathStampStore[k] = PathStampStore[kStampGuard + kPathWorkSquares + k] = kGuardStamp;
    for (int x = 0; x < kMapSide; ++x) PathStamp[x * kPathStride + kMapSide] = kGuardStamp;
    GuardsStamped = true;
  }
  PathOnClosed += 2;
}

// The entry put at the top (where a hole stands) sinks. The exchange rule
// (the left child when its F is <= the sinking F, then the right when its F
// is <= the one chosen so far; one child: taken when its F is <= the sinking
// F) walks down the path that
// takes the right child when its F is <= the left's, else the left, and stops
// at the first entry of that path whose F is greater than the sinking F. The
// path's F never falls, so the hole is moved down the whole path first and
// then climbs back past the entries greater than the sinking F: the same heap
// with fewer branches that depend on F. Entries move instead of being swapped.
// An entry placed in the heap is passed by value, never stored and read back
// at once: a read of the two words just stored would wait for the stores.
[[gnu::aligned(64)]] void SiftDown(int count, const HeapEntry sinking) {
  if (count < 1) return;
  int u = 1;
  if (2 < count) {
    // The two children of the hole, and their four children read ahead (the
    // heap has room past its end for them), so that each level waits only on
    // the choice of the level before.
    // Entries as words (F in the low half). Either child is as likely, so
    // the choice is a conditional move, never a branch: each level then waits
    // one comparison and one move on the level before.
    auto word = [](const HeapEntry& e) { return std::bit_cast<uint64_t>(e); };
    uint64_t left = word(Heap[2]), right = word(Heap[3]);
    for (int l = 2;;) {
      const HeapEntry* below = &Heap[2 * l];
      const uint64_t ll = word(below[0]), lr = word(below[1]), rl = word(below[2]), rr = word(below[3]);
      uint64_t moved = left, nextLeft = ll, nextRight = lr;
      uint32_t takeRight = 0;
#if defined(__x86_64__)
      // The compiler would branch here whatever it is told of the odds.
      asm("cmpl %k[left], %k[right]\n\t"
          "setle %b[take]\n\t"
          "cmovle %[right], %[moved]\n\t"
          "cmovle %[rl], %[nl]\n\t"
          "cmovle %[rr], %[nr]"
          : [moved] "+r"(moved), [nl] "+r"(nextLeft), [nr] "+r"(nextRight), [take] "+q"(takeRight)
          : [left] "r"(left), [right] "r"(right), [rl] "r"(rl), [rr] "r"(rr)
          : "cc");
#else
      takeRight = static_cast<int32_t>(right) <= static_cast<int32_t>(left) ? 1 : 0;
      if (takeRight) {
        moved = right;
        nextLeft = rl;
        nextRight = rr;
      }
#endif
      Heap[u] = std::bit_cast<HeapEntry>(moved);
      HeapPos[moved >> 32] = static_cast<int16_t>(u);
      u = l + static_cast<int>(takeRight);
      l = 2 * u;
      if (l >= count) break;
      left = nextLeft;
      right = nextRight;
    }
  }
  if (2 * u == count) {
    MoveEntry(u, count);
    u = count;
  }
  while (Heap[u / 2].f > sinking.f) {  // Heap[0] stops the climb at the top
    MoveEntry(u, u / 2);
    u /= 2;
  }
  Settle(u, sinking);
}

}  // namespace openlist

int32_t (&PathStamp)[kPathWorkSquares] =
    *reinterpret_cast<int32_t (*)[kPathWorkSquares]>(openlist::PathStampStore + openlist::kStampGuard);
