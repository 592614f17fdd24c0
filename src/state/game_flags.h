// The adventure flags that scripts set and test.
#pragma once
#include <cstdint>

constexpr int kGameFlagCount = 500;
extern uint32_t GameFlags[kGameFlagCount];

// Puts the words above back to their start-up values (a new game, and tests).
void ResetGameFlagsState();
