// Experience and levels: a character of level L has gathered at least
// 500 x L x (L - 1) experience points, so the next level is due at
// 500 x (L + 1) x L.
#pragma once
#include <cstdint>

// The experience a creature holds on reaching a level (0 at level 1 and below).
constexpr int64_t ExperienceForLevel(int64_t level) { return level > 1 ? 500 * level * (level - 1) : 0; }

static_assert(ExperienceForLevel(1) == 0 && ExperienceForLevel(2) == 1000 && ExperienceForLevel(20) == 190000);
