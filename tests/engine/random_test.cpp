// The random generator: the published MT19937 sequence, the mask rejection of
// RandomUpTo and the seed mixing.
#include <gtest/gtest.h>

#include <random>

#include "engine/random.h"

namespace {

TEST(Random, Seed5489GivesThePublishedSequence) {
  SeedRandomForTests(5489);
  const uint32_t published[] = {3499211612u, 581869302u, 3890346734u, 3586334585u, 545404204u};
  for (uint32_t expected : published) EXPECT_EQ(RandomUpTo(0xFFFFFFFFu), expected);
  // And on through several regenerations, word for word with the standard generator.
  std::mt19937 reference(5489);
  for (int i = 0; i < 5; ++i) reference();
  for (int i = 5; i < 2000; ++i) ASSERT_EQ(RandomUpTo(0xFFFFFFFFu), reference()) << "word " << i;
}

TEST(Random, TenThousandthWordOfSeed5489) {
  SeedRandomForTests(5489);
  uint32_t last = 0;
  for (int i = 0; i < 10000; ++i) last = RandomUpTo(0xFFFFFFFFu);
  EXPECT_EQ(last, 4123659995u);
}

// The words consumed and the value returned, against the raw tempered words.
TEST(Random, RandomUpToMasksAndRejects) {
  struct Case {
    uint32_t n, mask;
  } cases[] = {{0, 0}, {1, 1}, {5, 7}, {6, 7}, {7, 7}, {8, 15}, {19, 31}, {99, 127}, {0x80000000u, 0xFFFFFFFFu}};
  for (const Case& c : cases) {
    SeedRandomForTests(1234);
    std::mt19937 reference;
    reference.seed(1234);
    for (int draw = 0; draw < 50; ++draw) {
      const uint64_t before = RandomWordsUsed();
      const uint32_t r = RandomUpTo(c.n);
      // Replays the rejection on the reference words.
      uint32_t expected, words = 0;
      do {
        expected = reference() & c.mask;
        ++words;
      } while (expected > c.n);
      ASSERT_EQ(r, expected) << "n " << c.n;
      ASSERT_EQ(RandomWordsUsed() - before, words) << "n " << c.n;
      ASSERT_LE(r, c.n);
    }
  }
}

TEST(Random, ZeroConsumesOneWordAndFullRangeNeverRejects) {
  SeedRandomForTests(77);
  for (int i = 0; i < 100; ++i) {
    const uint64_t before = RandomWordsUsed();
    EXPECT_EQ(RandomUpTo(0), 0u);
    EXPECT_EQ(RandomWordsUsed() - before, 1u);
  }
  for (int i = 0; i < 100; ++i) {
    const uint64_t before = RandomWordsUsed();
    RandomUpTo(0xFFFFFFFFu);
    EXPECT_EQ(RandomWordsUsed() - before, 1u);
  }
}

TEST(Random, FiveTakesEveryValueAndRejectsSixAndSeven) {
  SeedRandomForTests(42);
  int seen[8] = {};
  for (int i = 0; i < 6000; ++i) ++seen[RandomUpTo(5)];
  for (int v = 0; v <= 5; ++v) EXPECT_GT(seen[v], 800) << v;
  EXPECT_EQ(seen[6], 0);
  EXPECT_EQ(seen[7], 0);
}

TEST(Random, MixSeedHashesBytesAndCountsCalls) {
  auto h = [](uint32_t x) {
    return ((((x & 255) * 257u + ((x >> 8) & 255)) * 257u + ((x >> 16) & 255)) * 257u) + (x >> 24);
  };
  const uint32_t a = 0x04030201u, b = 0xA1B2C3D4u, c = 0x0badf00du;
  const uint32_t first = MixSeed(a, b, c);
  const uint32_t second = MixSeed(a, b, c);
  // The call counter makes the second result differ by exactly one before the XOR.
  EXPECT_EQ((first ^ h(c)) + 1, second ^ h(c));
  const uint32_t sum = 1 * 0x23150701u + 2 * 0x140F0601u + 3 * 0x0A0A0501u + 4 * 0x04060401u;
  EXPECT_EQ((first ^ h(c)) - h(b) - sum, (second ^ h(c)) - h(b) - sum - 1);
}

}  // namespace
