// The open list of the path searches: a 1-based binary min-heap of open
// squares on F = G + H, and the work words of each square (G, parent, list
// stamp). Its tie rules are part of the game's behaviour (they decide which of
// two equally short paths is walked), so the sift steps compare exactly as
// the movers have always been routed:
//   - a new square rises while its F is smaller than or equal to its parent's;
//   - a re-priced square rises only while its parent's F is greater;
//   - the entry moved to the top sinks toward a child whose F is <= its own,
//     preferring the right child when it is <= the left.
// One search runs at a time over these words (see path_finding.h).
#pragma once
#include <cstdint>
#include <cstring>

#include "map/path_finding.h"

namespace openlist {

// The list stamps (PathStampStore) keep a guard row of work squares before
// and after the grid; their work index is offset by this much.
constexpr int kStampGuard = kPathStride + 1;
extern int32_t PathStampStore[kStampGuard + kPathWorkSquares + kStampGuard];

constexpr int kMaxItems = kMapSquares + 2;

// Per square (stride 61): G cost and the work index of the square it was
// reached from, kept together for the search's sake. An open square's H is
// not kept: its F in the heap is G + H.
struct SquareWork {
  int32_t g;
  int32_t parent;
};
extern SquareWork Work[kPathWorkSquares];
// Each open square's place in the heap, apart from the rest of its work words
// so that the heap's moves touch one small array.
extern int16_t HeapPos[kPathWorkSquares];
// The open list: a 1-based min-heap on F, heap[1] the smallest, each entry
// carrying its F and its square (an open square stands in it once, so its
// stored place finds what a scan from index 1 would find).
struct HeapEntry {
  int32_t f;
  int32_t square;
};
extern HeapEntry Heap[2 * kMaxItems + 4];  // past the end: what the sift-down reads ahead

// The work index of a square.
inline int W(int x, int y) { return x * kPathStride + y; }

// The list stamp of a work square, read straight from the guarded store.
inline int32_t& StampAt(int wi) { return PathStampStore[kStampGuard + wi]; }

// A new search: its closed stamp (PathOnClosed) and open stamp (one less),
// the stamps started afresh when they run out.
void NewStamps();

// The entry put at the top (where a hole stands) sinks, by the rule above.
void SiftDown(int count, HeapEntry sinking);

inline void MoveEntry(int to, int from) {
  Heap[to] = Heap[from];
  HeapPos[Heap[to].square] = static_cast<int16_t>(to);
}

inline void Settle(int m, const HeapEntry& e) {
  Heap[m] = e;
  HeapPos[e.square] = static_cast<int16_t>(m);
}

// The entry placed at m (a hole) rises while its parent's F is above its own
// (kPastEqual: also while it is equal); each parent passed moves down into
// its place.
// Entries are moved as words (F in the low half, the square in the high).
// Heap[0] holds the least F of all, so that no entry rises past the top.
template <bool kPastEqual>
[[gnu::always_inline]] inline void Rise(unsigned m, const HeapEntry rising) {
  for (;;) {
    const unsigned up = m >> 1;
    uint64_t parent;
    std::memcpy(&parent, &Heap[up], sizeof parent);
    const int32_t parentF = static_cast<int32_t>(parent);
    if (kPastEqual ? rising.f > parentF : rising.f >= parentF) break;
    std::memcpy(&Heap[m], &parent, sizeof parent);
    HeapPos[parent >> 32] = static_cast<int16_t>(m);
    m = up;
  }
  Settle(static_cast<int>(m), rising);
}

// A new entry rises past parents of equal F.
[[gnu::always_inline]] inline void RiseNew(int m, const HeapEntry e) { Rise<true>(static_cast<unsigned>(m), e); }

// A re-priced entry rises only past parents of greater F.
inline void RiseRepriced(int m, const HeapEntry e) { Rise<false>(static_cast<unsigned>(m), e); }

// A cheaper way into an open square: new parent and cost, and it rises.
inline void RepriceOpenSquare(int wi, int parent, int32_t g) {
  SquareWork& w = Work[wi];
  const int m = HeapPos[wi];
  const HeapEntry e{Heap[m].f + g - w.g, wi};  // the same H over the new G
  w.parent = parent;
  w.g = g;
  RiseRepriced(m, e);
}

// A square reached for the first time joins the open list at its end.
[[gnu::always_inline]] inline void OpenNewSquare(int wi, int32_t h, int32_t g, int parent, int32_t openStamp,
                                                 int* count) {
  Work[wi] = {g, parent};
  RiseNew(++*count, {h + g, wi});
  StampAt(wi) = openStamp;
}

// The start square becomes the only entry of the open list.
inline void OpenStartSquare(int fromX, int fromY, int32_t openStamp) {
  const int wi = W(fromX, fromY);
  Work[wi].g = 0;
  Heap[0] = {INT32_MIN, 0};
  Settle(1, {0, wi});
  StampAt(wi) = openStamp;
}

// Takes heap[1] off: the last entry moves to the top and sinks. Returns the
// square taken.
inline int PopTop(int* count) {
  const int square = Heap[1].square;
  const HeapEntry last = Heap[*count];
  --*count;
  SiftDown(*count, last);
  return square;
}

// The open square of least F taken off the list and closed: its work index,
// its place on the grid and its G.
struct ClosedSquare {
  int wi, x, y;
  int32_t g;
};
[[gnu::always_inline]] inline ClosedSquare CloseLeastSquare(int* count, int32_t closedStamp) {
  const int wi = PopTop(count);
  StampAt(wi) = closedStamp;
  return {wi, wi / kPathStride, wi % kPathStride, Work[wi].g};
}

}  // namespace openlist
