// Zeroing a large table hands its whole pages back: it reads as zeros, its
// edges shared with neighbours are written, and its pages cost no memory.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/system.h"

namespace {

constexpr size_t kTableBytes = 4 << 20;
uint8_t Table[kTableBytes];

size_t ResidentPages(const void* at, size_t bytes) {
  const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const uintptr_t first = reinterpret_cast<uintptr_t>(at) / page * page;
  const size_t pages = (reinterpret_cast<uintptr_t>(at) + bytes - first + page - 1) / page;
  std::vector<unsigned char> in(pages);
  if (mincore(reinterpret_cast<void*>(first), pages * page, in.data()) != 0) return pages;
  return static_cast<size_t>(std::count_if(in.begin(), in.end(), [](unsigned char p) { return p & 1; }));
}

TEST(ZeroBytes, ALargeTableReadsAsZerosAndItsPagesAreHandedBack) {
  std::fill(Table, Table + kTableBytes, 0x5A);
  ASSERT_GT(ResidentPages(Table, kTableBytes), kTableBytes / 4096 / 2);
  // An unaligned middle part: the bytes either side stay.
  platform::ZeroBytes(Table + 100, kTableBytes - 200);
  EXPECT_LE(ResidentPages(Table, kTableBytes), 4u);  // (reading maps the zero page: counted before)
  EXPECT_EQ(Table[99], 0x5A);
  EXPECT_EQ(Table[kTableBytes - 100], 0x5A);
  EXPECT_TRUE(std::all_of(Table + 100, Table + kTableBytes - 100, [](uint8_t b) { return b == 0; }));

  // A small run is simply written; so is memory on the heap.
  std::vector<uint8_t> heap(kTableBytes, 0x33);
  platform::ZeroBytes(heap.data() + 1, 10);
  EXPECT_EQ(heap[0], 0x33);
  EXPECT_EQ(heap[11], 0x33);
  EXPECT_TRUE(std::all_of(heap.begin() + 1, heap.begin() + 11, [](uint8_t b) { return b == 0; }));
  platform::ZeroBytes(heap.data(), heap.size());
  EXPECT_TRUE(std::all_of(heap.begin(), heap.end(), [](uint8_t b) { return b == 0; }));
}

}  // namespace
