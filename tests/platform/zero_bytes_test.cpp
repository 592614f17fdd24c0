// Zeroing a large table hands its whole pages back: it reads as zeros, its
// edges shared with neighbours are written, and its pages cost no memory.
// Filling one past the caches copies as a plain copy does.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
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

TEST(StreamBytes, CopiesAsAPlainCopyAtAnyPlaceAndLength) {
  std::vector<uint8_t> from(1000), to(1100), want(1100);
  for (size_t i = 0; i < from.size(); ++i) from[i] = static_cast<uint8_t>(i * 13 + 1);
  for (size_t at : {0u, 1u, 63u, 64u, 65u})
    for (size_t length : {0u, 1u, 63u, 64u, 200u, 999u}) {
      std::fill(to.begin(), to.end(), 0xAB);
      want = to;
      std::memcpy(want.data() + at, from.data() + 1, length);
      platform::StreamBytes(to.data() + at, from.data() + 1, length);
      ASSERT_EQ(to, want) << at << " " << length;
    }
}

}  // namespace
