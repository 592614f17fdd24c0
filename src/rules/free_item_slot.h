// Finding a free row of the crafted item table.
#pragma once
#include <cstdint>

// The pool of crafted rows that new items are made in: codes 1 to 120. The
// forge, the party's start, its starting equipment and the map switch take
// their rows from it, and an item of these codes that ceases to exist frees
// its row again; rows above it hold only what the game's tables bring.
constexpr uint32_t kLastPooledCraftedCode = 120;

// The first crafted row of the pool whose name is empty; -1 when all are in use.
int FindFreeItemSlot();
