#include "engine/random.h"

#include "platform/system.h"

namespace {

constexpr int kStateWords = 624;
constexpr int kMiddle = 397;
uint32_t g_state[kStateWords];
int g_left = 0;   // outputs left before the next regeneration
int g_next = 0;   // index of the next word
uint32_t g_mixCounter = 0;
uint64_t g_wordsUsed = 0;

uint32_t HashBytes(uint32_t x) {
  const uint32_t x0 = x & 255, x1 = (x >> 8) & 255, x2 = (x >> 16) & 255, x3 = x >> 24;
  return ((x0 * 257u + x1) * 257u + x2) * 257u + x3;
}

// Seeds the generator when the program loads.
struct ClockSeeder {
  ClockSeeder() { SeedRandomFromClock(); }
} g_clockSeeder;

}  // namespace

uint32_t MixSeed(uint32_t a, uint32_t b, uint32_t c) {
  const uint32_t a0 = a & 255, a1 = (a >> 8) & 255, a2 = (a >> 16) & 255, a3 = a >> 24;
  const uint32_t r = (HashBytes(b) + a0 * 0x23150701u + a1 * 0x140F0601u + a2 * 0x0A0A0501u +
                      a3 * 0x04060401u + g_mixCounter) ^
                     HashBytes(c);
  ++g_mixCounter;
  return r;
}

void SeedRandom(uint32_t seed) {
  g_state[0] = seed;
  for (int i = 1; i < kStateWords; ++i)
    g_state[i] = 1812433253u * (g_state[i - 1] ^ (g_state[i - 1] >> 30)) + static_cast<uint32_t>(i);
}

void RegenerateRandomState() {
  for (int i = 0; i < kStateWords; ++i) {
    const uint32_t y = (g_state[i] & 0x80000000u) | (g_state[(i + 1) % kStateWords] & 0x7FFFFFFFu);
    g_state[i] = g_state[(i + kMiddle) % kStateWords] ^ (y >> 1) ^ ((y & 1u) ? 0x9908B0DFu : 0u);
  }
  g_left = kStateWords;
  g_next = 0;
}

uint32_t RandomUpTo(uint32_t n) {
  uint32_t mask = n;
  mask |= mask >> 1;
  mask |= mask >> 2;
  mask |= mask >> 4;
  mask |= mask >> 8;
  mask |= mask >> 16;
  uint32_t r;
  do {
    if (g_left == 0) RegenerateRandomState();
    uint32_t y = g_state[g_next++];
    --g_left;
    ++g_wordsUsed;
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    r = y & mask;
  } while (r > n);
  return r;
}

void SeedRandomFromClock() {
  const int64_t t = platform::CalendarTime();
  const uint32_t seed = MixSeed(static_cast<uint32_t>(t), static_cast<uint32_t>(static_cast<uint64_t>(t) >> 32),
                                platform::ProcessorClock());
  SeedRandom(seed);
  RegenerateRandomState();
}

void SeedRandomForTests(uint32_t seed) {
  SeedRandom(seed);
  RegenerateRandomState();
}

uint64_t RandomWordsUsed() { return g_wordsUsed; }
