// The square a computer fighter walks to this turn, read from the filled
// valuation grid, and the path to it left in its fighter slot.
#pragma once
#include <cstdint>

// The result when there is no square.
constexpr int64_t kNoSquare = -1;

// Packs a square as x in the low and y in the high 32 bits.
inline int64_t PackSquare(int x, int y) {
  return static_cast<int64_t>(static_cast<uint32_t>(x)) | (static_cast<int64_t>(y) << 32);
}
inline int SquareXOf(int64_t packed) { return static_cast<int32_t>(packed & 0xFFFFFFFF); }
inline int SquareYOf(int64_t packed) { return static_cast<int32_t>(packed >> 32); }

// The best square of the grid; when it cannot be reached this turn, the last
// square worth stopping on along the path to it. With squareOnly 1 the best
// square itself, with no path work. pathKept (may be null) is set to 1 when a
// path to the returned square has been left in the fighter slot, else 0.
// kNoSquare when there is none.
int64_t ExtractBestSquare(int creature, uint8_t squareOnly, uint8_t* pathKept);

// The search to the best square made while the squares of the best value were
// compared is kept for the direct walk when it was the last made (true, the
// game's way), or made again (false); both leave the same path. A switch for
// tests.
extern bool BestSquareSearchKept;
