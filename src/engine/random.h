// The game's one random generator (MT19937) and the two small record
// constructors the dice and breakdown code rely on.
#pragma once
#include <cstdint>

struct ModifierList;

// A uniform integer from 0 to n inclusive.
uint32_t RandomUpTo(uint32_t n);
void SeedRandom(uint32_t seed);
void RegenerateRandomState();
uint32_t MixSeed(uint32_t a, uint32_t b, uint32_t c);
// Seeds from the clock, as the program does before start-up.
void SeedRandomFromClock();
// For tests: seed and regenerate, so that a run repeats exactly.
void SeedRandomForTests(uint32_t seed);
// Words taken from the generator so far (for tests).
uint64_t RandomWordsUsed();
