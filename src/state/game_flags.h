// The adventure flags that scripts set and test.
#pragma once
#include <cstdint>

constexpr int kGameFlagCount = 500;
extern uint32_t GameFlags[kGameFlagCount];
